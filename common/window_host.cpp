#include "common/window_host.h"
#include "common/window_calls.h"

#include "core/clock.h"
#include "core/database.h"
#include "core/mglobal.h"
#include "platform/keyboard_return.h"
#include "platform/prompt.h"
#include "platform/vb.h"

#include <QApplication>
#include <QChildEvent>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QLayout>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>

#include <algorithm>
#include <vector>

namespace common {

QWidget* Finestra_Principale()
{
    return platform::mainWindow();
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
        Fai_Spazio(sub);
        Nell_Area_Visibile(sub);
        // The window shown takes the keyboard: activated while it was still
        // hidden, it may hold no focus, and Enter and Escape would then reach
        // the main window instead of its buttons. Its frame takes the focus,
        // as after a click on it; Tab goes on to its controls. The focus
        // looked at is the main window's own, which it keeps also while the
        // program is not the active one (a message has just closed), and
        // which it gets back as it is activated again.
        if (area->activeSubWindow() == sub) {
            QWidget* fuoco = sub->window()->focusWidget();
            if (!fuoco || (fuoco != sub && !sub->isAncestorOf(fuoco)))
                sub->setFocus(Qt::ActiveWindowFocusReason);
        }
        return;
    }
    w->show();
    w->raise();
    w->activateWindow();
}

void Davanti_A_Fine_Lavoro(QWidget* w)
{
    if (!w)
        return;
    // Looked at before anything is shown: the program is the active one when
    // the user is in it, also while the window that had the keys (a progress
    // window) has just gone.
    const bool attivo = QGuiApplication::applicationState() == Qt::ApplicationActive;
    if (QMdiArea* area = areaPrincipale()) {
        // In front of the workspace, its frame (or what it holds) with the
        // main window's own focus; the main window is not activated. One the
        // user has minimised meanwhile stays put away.
        const QMdiSubWindow* sub = cornice(area, w);
        if (!sub || !sub->isVisible() || !sub->isMinimized())
            Mostra_Figlia(w);
    } else {
        w->show();
        if (attivo)
            w->raise();
    }
    QWidget* finestra = w->window();
    if (!attivo) {
        QApplication::alert(finestra);
        return;
    }
    // A question waits for its answer: the keys stay with it.
    if (QApplication::activeModalWidget())
        return;
    // Another window of the program that the user is in keeps them; one that
    // has just gone (hidden, the window system not yet told) holds nothing.
    QWidget* attiva = QApplication::activeWindow();
    if (attiva && attiva != finestra && attiva->isVisible())
        return;
    if (attiva != finestra)
        finestra->activateWindow();
}

namespace {
// A window of the program on the screen, which the user can come back to
// (one minimised on the taskbar too).
bool finestraInVista()
{
    const QWidgetList finestre = QApplication::topLevelWidgets();
    return std::any_of(finestre.cbegin(), finestre.cend(), [](const QWidget* w) {
        return w->isVisible() && !(w->windowType() == Qt::ToolTip || w->windowType() == Qt::Popup);
    });
}
} // namespace

void Al_Ritorno(QObject* contesto, std::function<void()> messaggio)
{
    // With no window of the program on the screen there is nothing to come
    // back to: the message is the only way in, and shows at once.
    if (!contesto || QGuiApplication::applicationState() == Qt::ApplicationActive || !finestraInVista()) {
        messaggio();
        return;
    }
    auto* attesa = new QObject(contesto);
    QObject::connect(qGuiApp, &QGuiApplication::applicationStateChanged, attesa,
                     [attesa, messaggio = std::move(messaggio)](Qt::ApplicationState stato) {
                         if (stato != Qt::ApplicationActive || attesa->property("mostrato").toBool())
                             return;
                         attesa->setProperty("mostrato", true);
                         // Once the activation has been handled; not when
                         // the context has gone meanwhile.
                         QTimer::singleShot(0, attesa, [attesa, messaggio] {
                             attesa->deleteLater();
                             messaggio();
                         });
                     });
}

void Tastiera_Al_Contenuto(QWidget* contenuto)
{
    if (!contenuto || !contenuto->isVisible())
        return;
    QMdiSubWindow* sub = nullptr;
    for (QWidget* p = contenuto->parentWidget(); p && !sub; p = p->parentWidget())
        sub = qobject_cast<QMdiSubWindow*>(p);
    // Another window of the workspace is in front: it keeps the keyboard.
    if (sub && sub->mdiArea() && sub->mdiArea()->currentSubWindow() != sub)
        return;
    QWidget* finestra = sub ? sub->widget() : contenuto->window();
    // The window's own focus (the main window's, for a window of the
    // workspace), which it keeps also while another window of the program is
    // the active one (the progress window that has just closed).
    QWidget* fuoco = contenuto->window()->focusWidget();
    if (fuoco == contenuto
        || (fuoco && fuoco != sub && fuoco != finestra && finestra && finestra->isAncestorOf(fuoco)))
        return;
    contenuto->setFocus(Qt::OtherFocusReason);
}

void Fai_Spazio(QMdiSubWindow* sub)
{
    QMdiArea* area = sub ? sub->mdiArea() : nullptr;
    if (!area || sub->isMinimized() || sub->isMaximized())
        return;
    QWidget* principale = area->window();
    if (!principale || principale == sub || !principale->isVisible() || principale->isMaximized()
        || principale->isFullScreen() || principale->isMinimized())
        return;
    const QSize visibile = area->viewport()->size();
    // What the window needs at the least (its layout's minimum); a frame
    // opened larger is brought back to the workspace afterwards.
    const QSize serve = Dimensione_Utile(sub);
    const int dx = std::max(0, serve.width() - visibile.width());
    const int dy = std::max(0, serve.height() - visibile.height());
    if (dx == 0 && dy == 0)
        return;
    // The main window grows as far as the screen allows; what still does not
    // fit is reached by scrolling the workspace.
    QSize nuova = principale->size() + QSize(dx, dy);
    const QSize cornice = (principale->frameGeometry().size() - principale->size()).expandedTo(QSize(0, 0));
    QRect schermo;
    if (const QScreen* s = principale->screen()) {
        schermo = s->availableGeometry();
        nuova = nuova.boundedTo(schermo.size() - cornice);
    }
    nuova = nuova.boundedTo(principale->maximumSize()).expandedTo(principale->size());
    if (nuova == principale->size())
        return;
    // Kept on the screen: moved back from its right and bottom edges.
    QPoint dove = principale->frameGeometry().topLeft();
    if (schermo.isValid()) {
        const QSize tutta = nuova + cornice;
        dove.setX(std::clamp(dove.x(), schermo.left(), std::max(schermo.left(), schermo.right() + 1 - tutta.width())));
        dove.setY(std::clamp(dove.y(), schermo.top(), std::max(schermo.top(), schermo.bottom() + 1 - tutta.height())));
    }
    principale->resize(nuova);
    if (dove != principale->frameGeometry().topLeft())
        principale->move(dove);
    if (QLayout* l = principale->layout())
        l->activate();
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
    explicit Sorvegliante(QMdiArea* area) : QObject(area), m_area(area), m_viewport(area->viewport())
    {
        m_viewport->installEventFilter(this);
    }

    bool eventFilter(QObject* o, QEvent* e) override
    {
        // (The frames are watched too; a frame being destroyed sends events
        // while the workspace may be going: only its viewport is compared.)
        if (e->type() == QEvent::ChildRemoved && o == m_viewport) {
            davantiQuelloDiPrima(static_cast<QChildEvent*>(e)->child());
        } else if (e->type() == QEvent::ChildPolished) {
            // (Polished as it is first shown: when added it is not yet a frame.)
            auto* sub = qobject_cast<QMdiSubWindow*>(static_cast<QChildEvent*>(e)->child());
            if (sub && !sub->property(kSeguita).toBool()) {
                sub->setProperty(kSeguita, true);
                sub->installEventFilter(this);
            }
        } else if (e->type() == QEvent::Show) {
            if (auto* sub = qobject_cast<QMdiSubWindow*>(o)) {
                // Placed and sized by its opener: room is made for it, and
                // it is brought inside the workspace.
                QTimer::singleShot(0, sub, [s = QPointer<QMdiSubWindow>(sub)] {
                    if (!s || !s->isVisible())
                        return;
                    Fai_Spazio(s);
                    Nell_Area_Visibile(s);
                });
            }
        }
        return false;
    }

private:
    // A frame goes (a window closed): when it was the one in front, the one
    // that was in front before it and is still on view (neither hidden nor
    // minimised) comes back, as the user left it. Left to itself, the
    // workspace would bring the one after it in the order the windows were
    // made (the first one made, for the last window opened), minimised as it
    // may be. Seen before the workspace's own handling, which then has
    // nothing to choose. When no window is on view, none is active: a
    // minimised one would take the keyboard as a bar with nothing to show.
    void davantiQuelloDiPrima(QObject* andato)
    {
        auto* sub = qobject_cast<QMdiSubWindow*>(andato);
        if (!sub)
            return;
        const auto storia = m_area->subWindowList(QMdiArea::ActivationHistoryOrder);
        if (storia.isEmpty() || storia.last() != sub)
            return;
        for (auto it = storia.crbegin() + 1; it != storia.crend(); ++it) {
            if ((*it)->isHidden() || (*it)->isMinimized())
                continue;
            m_area->setActiveSubWindow(*it);
            return;
        }
        // The workspace makes one active as it handles the frame's going.
        QTimer::singleShot(0, m_area, [area = QPointer<QMdiArea>(m_area)] {
            QMdiSubWindow* attiva = area ? area->activeSubWindow() : nullptr;
            if (!attiva || !attiva->isMinimized())
                return;
            area->setActiveSubWindow(nullptr);
            QWidget* fuoco = area->window()->focusWidget();
            if (fuoco && (fuoco == attiva || attiva->isAncestorOf(fuoco)))
                fuoco->clearFocus();
        });
    }

    QMdiArea* m_area;
    QObject* m_viewport;
    static constexpr const char* kSeguita = "astrovelaSeguita";
};

// What every window of the program gets from one place (installed as the
// program starts, Installa_Regole_Finestre):
// - Its title is cleaned as every other text from outside is: a file name or
//   a satellite's name may carry control characters or the controls of
//   bidirectional text ("orbit" U+202E "txt.exe" would read "orbitexe.txt"),
//   shown as blanks. A window in the workspace keeps its own title as given
//   (a listing names its file after it, a text window is its file's path);
//   its frame, which shows it (and lends it to the main window's title while
//   maximised), follows it cleaned. A window of its own shows its title
//   itself, and is given it cleaned.
// - A window of its own that closes while the program has the keyboard
//   leaves it with the program (platform::Installa_Ritorno_Tastiera, the
//   rule the manual shares from below).
class RegoleFinestre : public QObject {
public:
    RegoleFinestre() : QObject(QCoreApplication::instance())
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::WindowTitleChange && o->isWidgetType())
            titolo(static_cast<QWidget*>(o));
        return false;
    }

private:
    static void titolo(QWidget* w)
    {
        auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
        if (sub && sub->widget() == w) {
            // Seen before the frame's own following of it; as the frame
            // does by itself, an empty title leaves the frame's as it is.
            if (!w->windowTitle().isEmpty())
                sub->setWindowTitle(vb::displayable(w->windowTitle()));
        } else if ((w->isWindow() || qobject_cast<QMdiSubWindow*>(w)) && vb::hasControlCharacters(w->windowTitle())) {
            w->setWindowTitle(vb::displayable(w->windowTitle()));
        }
    }
};

} // namespace

void Installa_Regole_Finestre()
{
    static QPointer<RegoleFinestre> regole;
    if (!regole && QCoreApplication::instance())
        regole = new RegoleFinestre;
    platform::Installa_Ritorno_Tastiera();
}

void Sorveglia_Area(QMdiArea* area)
{
    if (area && !area->property("astrovelaSorvegliata").toBool()) {
        area->setProperty("astrovelaSorvegliata", true);
        new Sorvegliante(area);
        // A window larger than the workspace (a small screen) is reached by
        // scrolling, never cut.
        area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
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

void Nascondi_Figlia(QWidget* w)
{
    auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget());
    QWidget* finestra = sub ? static_cast<QWidget*>(sub) : w;
    finestra->hide();
    QMdiArea* area = sub ? sub->mdiArea() : nullptr;
    if (!area)
        return;
    // The window now in front takes the keyboard, as when a window closes:
    // the workspace's active one, or, when the hidden one was active, the
    // frame on top (the pass window that asked for the database loaded).
    QMdiSubWindow* attiva = area->activeSubWindow();
    if (!attiva || attiva == sub || !attiva->isVisible()) {
        attiva = nullptr;
        const auto pila = area->subWindowList(QMdiArea::StackingOrder);
        for (auto it = pila.crbegin(); it != pila.crend() && !attiva; ++it)
            if (*it != sub && (*it)->isVisible() && !(*it)->isMinimized())
                attiva = *it;
        if (attiva)
            area->setActiveSubWindow(attiva);
    }
    // Hidden, the frame may pass the focus on to one of its own controls;
    // left there, the next key the main window takes (Alt and a menu's
    // letter) hands the focus back and the workspace shows the window again.
    // (The main window's own focus: the program may not be the active one.)
    QWidget* fuoco = sub->window()->focusWidget();
    if (!fuoco || (fuoco != sub && !sub->isAncestorOf(fuoco)))
        return;
    if (attiva)
        attiva->setFocus(Qt::OtherFocusReason);
    else
        fuoco->clearFocus();
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

bool Scarica_Finestre(QMdiArea* area, QWidget* principale, QWidget* tenere)
{
    ++g_scaricamento;
    struct Fine {
        ~Fine() { --g_scaricamento; }
    } fine;
    // Closes a window (a frame passes the close to the form it holds). One
    // with unsaved work whose closing question was answered Cancel stays,
    // with its text (true); one that only hides itself goes all the same.
    const auto trattenuta = [](QWidget* finestra, QWidget* modulo) {
        return !finestra->close() && dynamic_cast<ChiusuraConDomanda*>(modulo) != nullptr;
    };
    bool tutte = true;
    if (area) {
        const auto subs = area->subWindowList(QMdiArea::CreationOrder);
        for (auto it = subs.crbegin(); it != subs.crend(); ++it) {
            QPointer<QMdiSubWindow> sub = *it;
            if (!sub || (tenere && sub->widget() == tenere))
                continue;
            // The frame passes the close to its window, whose handling
            // saves its placement and lets its work go.
            if (trattenuta(sub, sub->widget())) {
                tutte = false;
                continue;
            }
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
            if (trattenuta(w, w)) {
                tutte = false;
                continue;
            }
            if (w)
                w->deleteLater();
        }
    }
    return tutte;
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
