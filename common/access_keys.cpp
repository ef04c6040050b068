#include "common/access_keys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QList>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QShortcutEvent>

namespace common {

namespace {

class TastiDavanti : public QObject {
public:
    explicit TastiDavanti(QMdiArea* area) : QObject(area), m_area(area)
    {
        setObjectName(QLatin1String(kNome));
        qApp->installEventFilter(this);
    }
    static constexpr const char* kNome = "tastiAccessoDavanti";

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        // Before a key goes to the shortcuts (the menu bar's letters among
        // them) the focused control may keep it: the letter of a button in
        // front is kept that way, and pressed when the key comes.
        if (e->type() != QEvent::ShortcutOverride && e->type() != QEvent::KeyPress)
            return false;
        auto* ke = static_cast<QKeyEvent*>(e);
        if ((ke->modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier || ke->isAutoRepeat())
            return false;
        const QKeySequence tasto(QKeyCombination(Qt::AltModifier, Qt::Key(ke->key())));
        const QList<QAbstractButton*> pulsanti = chiedono(tasto);
        if (pulsanti.isEmpty())
            return false;
        ke->accept();
        if (e->type() == QEvent::KeyPress)
            premi(pulsanti);
        return true;
    }

private:
    // The buttons of the window in front that carry this access key.
    QList<QAbstractButton*> chiedono(const QKeySequence& tasto) const
    {
        QList<QAbstractButton*> out;
        if (!m_area || QApplication::activePopupWidget() || QApplication::activeModalWidget()
            || QApplication::activeWindow() != m_area->window())
            return out;
        QMdiSubWindow* davanti = m_area->activeSubWindow();
        if (!davanti || !davanti->isVisible() || davanti->isMinimized())
            return out;
        for (QAbstractButton* b : davanti->findChildren<QAbstractButton*>())
            if (b->isVisible() && b->isEnabled() && b->shortcut() == tasto)
                out << b;
        return out;
    }

    // As the buttons' own shortcut would: one button is pressed; among
    // several, the keyboard moves on to the one after the focused one.
    static void premi(const QList<QAbstractButton*>& pulsanti)
    {
        const bool ambiguo = pulsanti.size() > 1;
        QAbstractButton* b = pulsanti.first();
        if (ambiguo) {
            const qsizetype i = pulsanti.indexOf(QApplication::focusWidget());
            b = pulsanti.at((i + 1) % pulsanti.size());
        }
        // A button of ours takes it as its access key; a standard one knows
        // only the shortcut it registered itself, so it is pressed (or
        // focused) here as it would do.
        QShortcutEvent se(b->shortcut(), 0, ambiguo);
        if (QCoreApplication::sendEvent(b, &se))
            return;
        if (ambiguo)
            b->setFocus(Qt::ShortcutFocusReason);
        else
            b->animateClick();
    }

    QPointer<QMdiArea> m_area;
};

} // namespace

void Tasti_Accesso_Finestra_Davanti(QMdiArea* area)
{
    if (area && !area->findChild<QObject*>(QLatin1String(TastiDavanti::kNome), Qt::FindDirectChildrenOnly))
        new TastiDavanti(area);
}

} // namespace common
