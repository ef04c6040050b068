#include "database/window_host.h"

#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace database {

QWidget* Finestra_Principale()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(w))
            return w;
    return nullptr;
}

namespace {

QMdiArea* areaPrincipale()
{
    auto* main = qobject_cast<QMainWindow*>(Finestra_Principale());
    return main ? qobject_cast<QMdiArea*>(main->centralWidget()) : nullptr;
}

QMdiSubWindow* cornice(QMdiArea* area, QWidget* w)
{
    for (QMdiSubWindow* s : area->subWindowList())
        if (s->widget() == w)
            return s;
    return nullptr;
}

} // namespace

bool Aggiungi_Figlia(QWidget* w)
{
    QMdiArea* area = areaPrincipale();
    if (!area)
        return false;
    if (!cornice(area, w)) {
        QMdiSubWindow* sub = area->addSubWindow(w);
        sub->setAttribute(Qt::WA_DeleteOnClose, w->testAttribute(Qt::WA_DeleteOnClose));
        sub->adjustSize();
        sub->hide();
    }
    return true;
}

void Mostra_Figlia(QWidget* w)
{
    QMdiArea* area = areaPrincipale();
    if (area) {
        QMdiSubWindow* sub = cornice(area, w);
        if (!sub) {
            sub = area->addSubWindow(w);
            sub->setAttribute(Qt::WA_DeleteOnClose, w->testAttribute(Qt::WA_DeleteOnClose));
            sub->adjustSize();
        }
        sub->show();
        w->show();
        area->setActiveSubWindow(sub);
        return;
    }
    w->show();
    w->raise();
    w->activateWindow();
}

} // namespace database
