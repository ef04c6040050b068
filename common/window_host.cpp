#include "common/window_host.h"

#include <QApplication>
#include <QLayout>
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

// A new frame: the size its window's layout asks for, never less than the
// layout's minimum, so that no control overlaps another.
void dimensiona(QMdiSubWindow* sub)
{
    sub->adjustSize();
    sub->resize(sub->size().expandedTo(sub->minimumSizeHint()));
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
        dimensiona(sub);
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
            dimensiona(sub);
        }
        sub->show();
        w->show();
        // Shown, the window has its final fonts and texts (a loaded file's
        // figures), which may need more room than the frame was given.
        if (QLayout* l = w->layout())
            l->activate();
        if (QLayout* l = sub->layout())
            l->activate();
        sub->resize(sub->size().expandedTo(sub->minimumSizeHint()));
        area->setActiveSubWindow(sub);
        return;
    }
    w->show();
    w->raise();
    w->activateWindow();
}

void Chiudi_Figlia(QWidget* w)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget()))
        sub->close();
    else
        w->close();
}

} // namespace database
