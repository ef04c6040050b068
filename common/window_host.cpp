#include "common/window_host.h"

#include "core/clock.h"
#include "core/database.h"
#include "core/mglobal.h"

#include <QApplication>
#include <QChildEvent>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QLayout>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>
#include <vector>

namespace common {

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
// layout's minimum, so that no control overlaps another. A dialog of fixed
// layout has no maximise button.
void dimensiona(QMdiSubWindow* sub)
{
    if (Dimensione_Fissa(sub->widget()))
        sub->setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                            | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                            | Qt::WindowCloseButtonHint);
    sub->adjustSize();
    sub->resize(sub->size().expandedTo(sub->minimumSizeHint()));
}

} // namespace

bool Dimensione_Fissa(const QWidget* w)
{
    if (!w)
        return false;
    // The program's dialogs made of plain widgets: forms of controls that do
    // not grow with their window.
    static const QStringList dialoghi = {
        QStringLiteral("frmTime"),     QStringLiteral("frmSettings"), QStringLiteral("frmLocation"),
        QStringLiteral("frmCalc"),     QStringLiteral("frmRelative"), QStringLiteral("frmCalendar"),
        QStringLiteral("frmChannel"),  QStringLiteral("frmDatabase"), QStringLiteral("frmRiseSet"),
    };
    const QVariant p = w->property("dimensioneFissa");
    if (p.isValid())
        return p.toBool();
    return w->inherits("QDialog") || dialoghi.contains(w->objectName())
        || (w->minimumSize() == w->maximumSize() && w->maximumWidth() < QWIDGETSIZE_MAX);
}

void Attiva_Cornice(QMdiSubWindow* sub)
{
    if (!sub)
        return;
    QMdiArea* area = sub->mdiArea();
    const bool fissa = Dimensione_Fissa(sub->widget());
    const bool prima = area && area->testOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    if (fissa && area)
        area->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, true);
    if (fissa && sub->isMaximized())
        sub->showNormal();
    if (sub->isMinimized())
        sub->showNormal();
    sub->show();
    if (area)
        area->setActiveSubWindow(sub);
    if (fissa && sub->isMaximized())
        sub->showNormal();
    if (fissa && area)
        area->setOption(QMdiArea::DontMaximizeSubWindowOnActivation, prima);
}

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
        Attiva_Cornice(sub);
        w->show();
        // Shown, the window has its final fonts and texts (a loaded file's
        // figures), which may need more room than the frame was given.
        if (QLayout* l = w->layout())
            l->activate();
        if (QLayout* l = sub->layout())
            l->activate();
        if (!sub->isMaximized())
            sub->resize(sub->size().expandedTo(sub->minimumSizeHint()));
        return;
    }
    w->show();
    w->raise();
    w->activateWindow();
}

QSize Dimensione_Utile(const QMdiSubWindow* sub)
{
    return sub->minimumSizeHint().expandedTo(QSize(240, 180));
}

void Nell_Area_Visibile(QMdiSubWindow* sub)
{
    QMdiArea* area = sub->mdiArea();
    if (!area || sub->isMinimized() || sub->isMaximized())
        return;
    const QRect visibile = area->viewport()->rect();
    if (visibile.width() < 100 || visibile.height() < 100)
        return; // the main window itself is too small to tell
    QRect g = sub->geometry();
    g.setSize(g.size().boundedTo(visibile.size()).expandedTo(Dimensione_Utile(sub)));
    g.moveLeft(std::clamp(g.left(), 0, std::max(0, visibile.width() - g.width())));
    g.moveTop(std::clamp(g.top(), 0, std::max(0, visibile.height() - g.height())));
    if (g != sub->geometry())
        sub->setGeometry(g);
}

namespace {

// Brings each frame inside the workspace once it has been shown and placed
// (the workspace places a new frame as it shows it; the opener may move or
// size it right afterwards).
class Sorvegliante : public QObject {
public:
    explicit Sorvegliante(QMdiArea* area) : QObject(area) { area->viewport()->installEventFilter(this); }

    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::ChildPolished) {
            // (Polished as it is first shown: when added it is not yet a frame.)
            auto* sub = qobject_cast<QMdiSubWindow*>(static_cast<QChildEvent*>(e)->child());
            if (sub && !sub->property(kSeguita).toBool()) {
                sub->setProperty(kSeguita, true);
                sub->installEventFilter(this);
            }
        } else if (e->type() == QEvent::Show) {
            if (auto* sub = qobject_cast<QMdiSubWindow*>(o); sub && !sub->property(kVisto).toBool()) {
                sub->setProperty(kVisto, true);
                QTimer::singleShot(0, sub, [s = QPointer<QMdiSubWindow>(sub)] {
                    if (s && s->isVisible())
                        Nell_Area_Visibile(s);
                });
            }
        }
        return false;
    }

private:
    static constexpr const char* kSeguita = "astrovelaSeguita";
    static constexpr const char* kVisto = "astrovelaGiaMostrata";
};

} // namespace

void Sorveglia_Area(QMdiArea* area)
{
    if (area && !area->property("astrovelaSorvegliata").toBool()) {
        area->setProperty("astrovelaSorvegliata", true);
        new Sorvegliante(area);
    }
}

void Disponi_Finestre(QMdiArea* area, const std::function<void()>& disponi)
{
    disponi();
    for (QMdiSubWindow* sub : area->subWindowList()) {
        if (!sub->isVisible() || sub->isMinimized() || sub->isMaximized())
            continue;
        const QSize utile = Dimensione_Utile(sub);
        if (sub->width() < utile.width() || sub->height() < utile.height())
            sub->resize(sub->size().expandedTo(utile));
        Nell_Area_Visibile(sub);
    }
}

void Chiudi_Figlia(QWidget* w)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget()))
        sub->close();
    else
        w->close();
}

// ---------------------------------------------------------------- long tasks

namespace {

int g_attivita = 0;
int g_scaricamento = 0;
std::vector<std::function<void()>>& inAttesa()
{
    static std::vector<std::function<void()>> v;
    return v;
}

void eseguiInAttesa();

void programma(int ms = 0)
{
    QTimer::singleShot(ms, qApp, [] { eseguiInAttesa(); });
}

void eseguiInAttesa()
{
    if (inAttesa().empty())
        return;
    if (Attivita_In_Corso()) {
        // Still running, or another task began in the meantime: it is asked
        // to stop as well, and the closing looks again shortly.
        pflgArresta = true;
        programma(50);
        return;
    }
    std::vector<std::function<void()>> azioni;
    azioni.swap(inAttesa());
    for (auto& a : azioni)
        if (a)
            a();
}

} // namespace

Attivita::Attivita()
{
    ++g_attivita;
}

Attivita::~Attivita()
{
    if (--g_attivita == 0 && !inAttesa().empty())
        programma();
}

bool Attivita_In_Corso()
{
    // A pass search and a database load count from their first step, also
    // before their progress window shows.
    return g_attivita > 0 || pflgRicerca || core::LavoroLungo::inCorso();
}

bool Chiusura_In_Attesa()
{
    return !inAttesa().empty();
}

void Dopo_Le_Attivita(std::function<void()> azione)
{
    if (!Attivita_In_Corso()) {
        azione();
        return;
    }
    inAttesa().push_back(std::move(azione));
    pflgArresta = true;
    programma(50);
}

// ---------------------------------------------------------------- unloading

bool Scaricamento_In_Corso()
{
    return g_scaricamento > 0;
}

void Scarica_Finestre(QMdiArea* area, QWidget* principale, QWidget* tenere)
{
    ++g_scaricamento;
    struct Fine {
        ~Fine() { --g_scaricamento; }
    } fine;
    if (area) {
        const auto subs = area->subWindowList(QMdiArea::CreationOrder);
        for (auto it = subs.crbegin(); it != subs.crend(); ++it) {
            QPointer<QMdiSubWindow> sub = *it;
            if (!sub || (tenere && sub->widget() == tenere))
                continue;
            // The frame passes the close to its window, whose handling
            // saves its placement and lets its work go.
            sub->close();
            if (sub)
                delete sub.data();
        }
    }
    if (principale) {
        const auto tops = principale->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
        for (auto it = tops.crbegin(); it != tops.crend(); ++it) {
            QPointer<QWidget> w = *it;
            if (!w || w == tenere || !w->isWindow() || qobject_cast<QMenu*>(w.data()))
                continue;
            w->close();
            if (w)
                w->deleteLater();
        }
    }
}

} // namespace common

namespace mGlobal {

namespace {

// The windows of the program: top-level windows, MDI child frames and the
// forms they hold.
QList<QObject*> liveWindows()
{
    QList<QObject*> out;
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return out;
    for (QWidget* w : QApplication::allWidgets()) {
        if (w->isWindow() || qobject_cast<QMdiSubWindow*>(w) ||
            qobject_cast<QMdiSubWindow*>(w->parentWidget()))
            out.append(w);
    }
    return out;
}

} // namespace

void Installa_Elenco_Finestre()
{
    Imposta_Elenco_Finestre(liveWindows);
}

// Whenever this file is part of the program, its windows are visible to
// Form_Aperta from the start.
Q_COREAPP_STARTUP_FUNCTION(Installa_Elenco_Finestre)

} // namespace mGlobal
