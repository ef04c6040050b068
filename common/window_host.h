#pragma once
// Showing a window as a child of the main window's workspace when there is
// one (the running program), else as a window of its own (tests, tools);
// closing the program's windows all at once (Close all, a change of language,
// the end of the program) through each window's own close handling, after
// the long task that may be running has stopped.
#include <QSize>
#include <QWidget>

#include <functional>

class QMdiArea;
class QMdiSubWindow;

namespace common {

// Shows `w` modeless: inside the main window's workspace when the program's
// main window is up, else as a top-level window. Brings it to the front.
void Mostra_Figlia(QWidget* w);

// Brings `w` forward at the end of some work the program did while the user
// waited or went elsewhere (a pass search, a summary, a database load): every
// window the program brings forward on its own goes through here. It shows in
// front of the workspace (a window of its own: in front of the program's
// windows), and takes the keyboard only where the user is in the program: the
// program becomes the active one only when it already is, and a window of the
// program that holds the keys (the manual, a dialog that waits) keeps them.
// While another program has the keyboard the main window asks for attention,
// as a desktop shows it, and takes nothing.
void Davanti_A_Fine_Lavoro(QWidget* w);

// A message at the end of such work (a search that found nothing): shown at
// once while the program is the active one; while the user works in another
// program, once the user comes back to this one, so that the message, which
// waits for its answer, takes no keys typed elsewhere. Dropped when
// `contesto` goes first. With no window of the program on the screen (none
// to come back to) it shows at once.
void Al_Ritorno(QObject* contesto, std::function<void()> messaggio);

// Puts `w` in the main window's workspace without showing it, when the
// program's main window is up; true when it did.
bool Aggiungi_Figlia(QWidget* w);

// Closes `w` together with the workspace frame that holds it, or `w` alone
// when it stands as a window of its own.
void Chiudi_Figlia(QWidget* w);

// A window whose content is one list, table or text (a listing, a summary)
// gives it the keyboard once it shows, so that the arrows and Page Down move
// through it at once: when the window is the one in front and nothing in it
// but its frame holds the keyboard (the user has not put it on another of
// its controls meanwhile).
void Tastiera_Al_Contenuto(QWidget* contenuto);

// Hides `w` with the workspace frame that holds it (a window kept for its
// next showing), or `w` alone when it stands as a window of its own. The
// keyboard leaves it: to the workspace's active window if one shows, else to
// the frame then in front, which becomes the active one.
void Nascondi_Figlia(QWidget* w);

// The program's main window, or null.
QWidget* Finestra_Principale();

// ---------------------------------------------------------------- arranging

// The least size a frame of the workspace keeps whatever arranges it: what
// its window needs, and never less than a small window that can be used.
QSize Dimensione_Utile(const QMdiSubWindow* sub);

// Makes room for a frame larger than the visible workspace: the main window
// grows as far as the screen allows (a maximised one stays as it is); the
// rest is reached by scrolling the workspace, so no window is ever cut.
void Fai_Spazio(QMdiSubWindow* sub);

// Puts a frame inside the visible workspace: moved back from the edges and,
// when larger than the workspace, shrunk to it (never below its usable size).
void Nell_Area_Visibile(QMdiSubWindow* sub);

// What every window of the program follows, installed once as the program
// starts (the main window does it as it is made; calling it again is
// harmless): every window's title shows with its control characters as
// blanks (a frame's title follows its window's, cleaned); a window of its own
// that closes while it has the keyboard (a message, a dialog, the manual)
// gives it back to the question still up or the window it was over, also on
// a display without a window manager, and never takes it from another
// program (the rule of platform/keyboard_return.h, which the manual shares).
void Installa_Regole_Finestre();

// Watches the workspace: every frame, once shown and placed, gets the room
// it needs (Fai_Spazio) and is brought inside the visible
// workspace; a frame still larger than the workspace makes it scroll. A
// frame that closes while it is in front brings back the one that was in
// front before it.
void Sorveglia_Area(QMdiArea* area);

// Runs `disponi` (Windows > Cascade or a tile) on the workspace, then gives
// every frame at least its usable size (a window that gives no size hint
// would be cascaded down to a title bar) and keeps it inside the workspace.
void Disponi_Finestre(QMdiArea* area, const std::function<void()>& disponi);

// A dialog of fixed layout (a QDialog, a window of fixed size, one of the
// program's dialogs named here, or one whose "dimensioneFissa" property is
// true): it always shows at its own size, never stretched across the
// workspace, also while another window is maximised.
bool Dimensione_Fissa(const QWidget* w);
// Shows the workspace frame `sub` and makes it the active one; a frame that
// holds a dialog of fixed layout opens at its own size (a maximised window
// stays maximised behind it).
void Attiva_Cornice(QMdiSubWindow* sub);

// ---------------------------------------------------------------- long tasks

// Held for the length of a long task that lets window events run between its
// steps (reading an element file, building a summary, a pass search): the
// progress window holds one while it is shown. While one is held, a window
// must not be pulled from under the task's code.
class Attivita {
public:
    Attivita();
    ~Attivita();
    Attivita(const Attivita&) = delete;
    Attivita& operator=(const Attivita&) = delete;
};
bool Attivita_In_Corso();

// Runs `azione` at once when no long task runs. Otherwise asks the running
// task to stop (pflgArresta, as its Stop button does) and runs `azione` from
// the event loop once the task has ended and its code has returned.
void Dopo_Le_Attivita(std::function<void()> azione);
// True while something waits for the running task to stop (the task that
// follows it in the same run is asked to stop as well).
bool Chiusura_In_Attesa();

// ---------------------------------------------------------------- unloading

// True while windows are unloaded for good (Close all, a change of language,
// the end of the program): a window whose close box only hides it lets this
// close go through.
bool Scaricamento_In_Corso();

// Unloads every window of the workspace `area`, hidden ones included, from
// the last opened to the first, then the other top-level windows owned by
// `principale`, all but `tenere`: each is closed through its own close
// handling (so that it keeps its placement and lets its resources go) and
// then deleted, also when its handling would only hide it. A window with a
// closing question (ChiusuraConDomanda) that calls the closing off stays,
// and the result is false. Run it when no long task runs (see
// Dopo_Le_Attivita).
bool Scarica_Finestre(QMdiArea* area, QWidget* principale, QWidget* tenere = nullptr);

} // namespace common

namespace mGlobal {

// Lets Form_Aperta find every live window of the program (top-level windows
// and the children of the main window's workspace) by class or object name.
// Installed when the application object is made (every window links this
// file, so the installer is always part of the program); calling it again
// is harmless.
void Installa_Elenco_Finestre();

} // namespace mGlobal
