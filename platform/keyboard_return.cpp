#include "platform/keyboard_return.h"
#include "platform/prompt.h"

#include <QApplication>
#include <QEvent>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QWidget>

namespace platform {

namespace {

// Where the user was when a window came up, when that is not the window it
// belongs to (see Ritorno_Tastiera_A).
constexpr char kDoveEra[] = "platform_tastieraDoveEra";

class RitornoTastiera : public QObject {
public:
    RitornoTastiera() : QObject(QCoreApplication::instance())
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Hide && !e->spontaneous() && o->isWidgetType()) {
            auto* w = static_cast<QWidget*>(o);
            if (lasciaTastiera(w))
                tastieraDopo(w);
        }
        return false;
    }

private:
    // A window of its own (not a menu, a tooltip or the main window) that
    // goes while the program has the keyboard. (Hidden by a minimise, it is
    // not gone.) The program has it while its state is the active one: on a
    // window of its own (the one going, or a popup of it such as a file
    // dialog's list of completions), or on none yet when the window that
    // had it has just been destroyed (the file dialog, a message) and the
    // keyboard has gone to no other program since. Once another program
    // takes the keyboard, the program's state is the inactive one.
    static bool lasciaTastiera(const QWidget* w)
    {
        if (!w->isWindow() || !w->windowHandle() || w == mainWindow()
            || QGuiApplication::applicationState() != Qt::ApplicationActive)
            return false;
        const Qt::WindowType tipo = w->windowType();
        return tipo == Qt::Window || tipo == Qt::Dialog || tipo == Qt::Sheet;
    }

    void tastieraDopo(QWidget* andata)
    {
        // The windows it was over, nearest first, then the main window.
        QList<QPointer<QWidget>> sotto;
        for (QWidget* p = andata->parentWidget(); p; p = p->parentWidget()) {
            p = p->window();
            sotto.append(p);
        }
        sotto.append(mainWindow());
        const QPointer<QWidget> doveEra = andata->property(kDoveEra).value<QPointer<QWidget>>();
        // Once the window's own code has gone on (it may open the next
        // window, ask the next question, or close the window it was over).
        QTimer::singleShot(0, this, [sotto, doveEra] {
            // Back where the user was, whether nobody took the keys or the
            // window manager gave them to a window it was over.
            QWidget* attiva = QApplication::activeWindow();
            if (doveEra && doveEra->isVisible() && !doveEra->isMinimized()
                && (!attiva || sotto.contains(attiva))) {
                doveEra->activateWindow();
                return;
            }
            // A window of the program has the keyboard (given back by the
            // window manager, or by the code to the window it opened).
            if (attiva)
                return;
            // A question is up: it is the only window the keys may reach.
            QWidget* davanti = QApplication::activeModalWidget();
            for (qsizetype i = 0; !davanti && i < sotto.size(); ++i)
                if (QWidget* p = sotto[i]; p && p->isVisible() && !p->isMinimized())
                    davanti = p;
            if (davanti)
                davanti->activateWindow();
        });
    }
};

} // namespace

void Ritorno_Tastiera_A(QWidget* finestra, QWidget* doveEra)
{
    finestra->setProperty(kDoveEra, QVariant::fromValue(QPointer<QWidget>(doveEra)));
}

void Installa_Ritorno_Tastiera()
{
    static QPointer<RitornoTastiera> regola;
    if (!regola && QCoreApplication::instance())
        regola = new RitornoTastiera;
}

} // namespace platform
