#include "ui/mdiform1.h"

#include <QMdiArea>

MDIForm1::MDIForm1(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Astrovela"));
    m_mdi = new QMdiArea(this);
    setCentralWidget(m_mdi);
    resize(1024, 700);
}

MDIForm1::~MDIForm1() = default;
