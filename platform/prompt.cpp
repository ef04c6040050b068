#include "platform/prompt.h"

#include "platform/help_window.h"
#include "platform/keyboard_return.h"
#include "platform/services.h"
#include "platform/vb.h"

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace platform {

namespace {
QString& titleStore()
{
    static QString t;
    return t;
}
} // namespace

QString applicationTitle()
{
    if (!titleStore().isEmpty())
        return titleStore();
    if (qApp) {
        const QString d = QGuiApplication::applicationDisplayName();
        if (!d.isEmpty())
            return d;
    }
    return QStringLiteral("Astrovela");
}

void setApplicationTitle(const QString& title)
{
    titleStore() = title;
}

QList<int> msgBoxButtons(int flags)
{
    switch (flags & 7) {
    case vbOKCancel: return {vbOK, vbCancel};
    case vbAbortRetryIgnore: return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel: return {vbYes, vbNo, vbCancel};
    case vbYesNo: return {vbYes, vbNo};
    case vbRetryCancel: return {vbRetry, vbCancel};
    default: return {vbOK};
    }
}

int msgBoxDefaultAnswer(int flags)
{
    const QList<int> buttons = msgBoxButtons(flags);
    const int index = (flags & 0x300) >> 8;
    return buttons.value(index < buttons.size() ? index : 0);
}

int msgBoxEscapeAnswer(int flags)
{
    const QList<int> buttons = msgBoxButtons(flags);
    if (buttons.contains(vbCancel))
        return vbCancel;
    if ((flags & 7) == vbYesNo)
        return vbNo;
    if ((flags & 7) == vbOKOnly)
        return vbOK;
    return 0;
}

QString msgBoxText(const QString& text)
{
    // A lone carriage return was a line break in the old boxes.
    return vb::displayableLines(text).join(u'\n');
}

QWidget* mainWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(w))
            return w;
    return nullptr;
}

QWidget* messageOwner()
{
    QWidget* attiva = QApplication::activeWindow();
    if (!qobject_cast<HelpWindow*>(attiva))
        return attiva;
    QWidget* inAttesa = QApplication::activeModalWidget();
    return inAttesa ? inAttesa : mainWindow();
}

int MsgBox(const QString& text, int flags, const QString& title)
{
    Prompt* p = services().prompt;
    if (!p) {
        static QtPrompt fallback;
        p = &fallback;
    }
    return p->MsgBox(text, flags, title);
}

int QtPrompt::MsgBox(const QString& text, int flags, const QString& title)
{
    const QPointer<QWidget> doveEra = QApplication::activeWindow();
    QPointer<QWidget> sopra = messageOwner();
    const QList<int> answers = msgBoxButtons(flags);
    const int def = msgBoxDefaultAnswer(flags);
    const int esc = msgBoxEscapeAnswer(flags);
    for (;;) {
        // On the heap, not on this stack: a window that goes while its
        // message waits takes the message with it.
        QPointer<QMessageBox> box = new QMessageBox(sopra);
        // Answered, it gives the keys back to the window the user was in.
        if (doveEra && doveEra != box->parentWidget())
            Ritorno_Tastiera_A(box, doveEra);
        // Names and file names from outside may carry NUL bytes or the controls
        // of bidirectional text: shown as blanks, never as boxes or reversed.
        box->setWindowTitle(title.isEmpty() ? applicationTitle() : vb::displayable(title));
        // Messages carry names and file names from outside: never markup.
        box->setTextFormat(Qt::PlainText);
        box->setText(msgBoxText(text));
        switch (flags & 0x70) {
        case vbCritical: box->setIcon(QMessageBox::Critical); break;
        case vbQuestion: box->setIcon(QMessageBox::Question); break;
        case vbExclamation: box->setIcon(QMessageBox::Warning); break;
        case vbInformation: box->setIcon(QMessageBox::Information); break;
        default: box->setIcon(QMessageBox::NoIcon); break;
        }
        QList<QAbstractButton*> buttons;
        for (int a : answers) {
            QMessageBox::StandardButton sb = QMessageBox::Ok;
            switch (a) {
            case vbOK: sb = QMessageBox::Ok; break;
            case vbCancel: sb = QMessageBox::Cancel; break;
            case vbAbort: sb = QMessageBox::Abort; break;
            case vbRetry: sb = QMessageBox::Retry; break;
            case vbIgnore: sb = QMessageBox::Ignore; break;
            case vbYes: sb = QMessageBox::Yes; break;
            case vbNo: sb = QMessageBox::No; break;
            }
            buttons << box->addButton(sb);
        }
        box->setDefaultButton(static_cast<QPushButton*>(buttons.value(answers.indexOf(def))));
        if (esc)
            box->setEscapeButton(buttons.value(answers.indexOf(esc)));
        box->exec();
        if (box) {
            const int idx = buttons.indexOf(box->clickedButton());
            delete box;
            return idx >= 0 ? answers[idx] : (esc ? esc : def);
        }
        // The window it stood over went before the answer: the question
        // still waits for it, over the main window (with none left, the
        // answer Escape would give).
        QWidget* principale = mainWindow();
        if (!principale || principale == sopra)
            return esc ? esc : def;
        sopra = principale;
    }
}

} // namespace platform
