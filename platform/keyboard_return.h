#pragma once
// Where the keyboard goes when a window of its own closes: the one rule for
// every window of the program (a message, a dialog that waits for its answer,
// a file dialog, the progress window, the manual).

class QWidget;

namespace platform {

// Installs the rule once (calling it again is harmless): a window of its own
// that goes while the program has the keyboard leaves it with the program.
// When no window of the program is active once the window's own code has
// gone on, the question still up takes it (a dialog beside which the manual
// was read), else the window it was over (or, when that one has gone
// meanwhile, the one under it, down to the main window). A window manager
// does that; on a display without one (the virtual display of run.sh, a test
// display) no window of the program would be active afterwards, and the keys
// would reach none. One that goes while the user works in another program
// (closed from a taskbar) leaves the keyboard where it is.
void Installa_Ritorno_Tastiera();

// When `finestra` goes, the keys go back to `doveEra` (while it is on the
// screen) before any other: the window the user was in when it came up,
// where that is not the window it belongs to (a message that comes up while
// the user reads the manual belongs to another window), and also where the
// window manager gives them to the window it belongs to.
void Ritorno_Tastiera_A(QWidget* finestra, QWidget* doveEra);

} // namespace platform
