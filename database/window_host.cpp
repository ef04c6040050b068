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

void Mostra_Figlia(QWidget* w)
{
    auto* main = qobject_cast<QMainWindow*>(Finestra_Principale());
    auto* area = main ? qobject_cast<QMdiArea*>(main->centralWidget()) : nullptr;
    if (area) {
        QMdiSubWindow* sub = nullptr;
        for (QMdiSubWindow* s : area->subWindowList())
            if (s->widget() == w)
                sub = s;
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
