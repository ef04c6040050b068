#pragma once
// The main window: a multiple-document frame whose children are the views and dialogs.
#include <QMainWindow>

class QMdiArea;

class MDIForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit MDIForm1(QWidget* parent = nullptr);
    ~MDIForm1() override;

    QMdiArea* mdiArea() const { return m_mdi; }

private:
    QMdiArea* m_mdi = nullptr;
};
