#pragma once
// Message boxes with the classic button and icon codes.
//
//   int answer = platform::MsgBox(text, platform::vbYesNo | platform::vbQuestion);
//   if (answer == platform::vbYes) ...
//
// The caption is the application's title unless the caller names another.
// A lone carriage return in the text starts a new line, as it always did.
#include <QList>
#include <QString>

class QWidget;

namespace platform {

// Buttons (flags & 7).
inline constexpr int vbOKOnly = 0;
inline constexpr int vbOKCancel = 1;
inline constexpr int vbAbortRetryIgnore = 2;
inline constexpr int vbYesNoCancel = 3;
inline constexpr int vbYesNo = 4;
inline constexpr int vbRetryCancel = 5;
// Icons (flags & 0x70).
inline constexpr int vbCritical = 16;
inline constexpr int vbQuestion = 32;
inline constexpr int vbExclamation = 48;
inline constexpr int vbInformation = 64;
// Default button (flags & 0x300): the first unless one of these is given.
inline constexpr int vbDefaultButton1 = 0;
inline constexpr int vbDefaultButton2 = 256;
inline constexpr int vbDefaultButton3 = 512;
// Answers.
inline constexpr int vbOK = 1;
inline constexpr int vbCancel = 2;
inline constexpr int vbAbort = 3;
inline constexpr int vbRetry = 4;
inline constexpr int vbIgnore = 5;
inline constexpr int vbYes = 6;
inline constexpr int vbNo = 7;

class Prompt {
public:
    virtual ~Prompt() = default;
    // Shows the box modally and returns the answer code (vbOK, vbYes, ...).
    // An empty title means the application's title.
    virtual int MsgBox(const QString& text, int flags, const QString& title = {}) = 0;
};

// The title of the program's message boxes and progress window.
QString applicationTitle();
void setApplicationTitle(const QString& title);

// The answers a box with these flags can give, in button order (vbOK... codes).
QList<int> msgBoxButtons(int flags);
// The answer given by the default button of a box with these flags.
int msgBoxDefaultAnswer(int flags);
// The answer given when the box is closed without a button (Escape, close
// box): Cancel, or No for a Yes/No box, or OK for an OK-only box. Abort/
// Retry/Ignore has no such answer and returns 0.
int msgBoxEscapeAnswer(int flags);

// A message's text as it is shown: CR LF and a lone CR break lines as LF
// does, and within each line the control characters of names and file names
// from outside (escapes, NUL, bidirectional controls) are blanks.
QString msgBoxText(const QString& text);

// The program's main window (its QMainWindow), or none before it is made.
QWidget* mainWindow();

// The window a message asked for now belongs to and shows over: the window
// the user is in, unless that is the manual, which stands beside the windows
// that wait for their answer and owns none (closed, it would take a message
// of its own with it while that still waits): then the window that waits
// (the one the manual stands beside, whose code asks), else the main window.
QWidget* messageOwner();

// Shortcut: services().prompt->MsgBox(...).
int MsgBox(const QString& text, int flags, const QString& title = {});

// The real message boxes, over the window messageOwner() gives.
class QtPrompt : public Prompt {
public:
    int MsgBox(const QString& text, int flags, const QString& title = {}) override;
};

} // namespace platform
