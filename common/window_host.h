#pragma once
// Showing a window as a child of the main window's workspace when there is
// one (the running program), else as a window of its own (tests, tools);
// closing the program's windows all at once (Close all, a change of language,
// the end of the program) through each window's own close handling, after
// the long task that may be running has stopped.
#include <QWidget>

#include <functional>

class QMdiArea;

namespace database {

// Shows `w` modeless: inside the main window's workspace when the program's
// main window is up, else as a top-level window. Brings it to the front.
void Mostra_Figlia(QWidget* w);

// Puts `w` in the main window's workspace without showing it, when the
// program's main window is up; true when it did.
bool Aggiungi_Figlia(QWidget* w);

// Closes `w` together with the workspace frame that holds it, or `w` alone
// when it stands as a window of its own.
void Chiudi_Figlia(QWidget* w);

// The program's main window, or null.
QWidget* Finestra_Principale();

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

// ---------------------------------------------------------------- unloading

// True while windows are unloaded for good (Close all, a change of language,
// the end of the program): a window whose close box only hides it lets this
// close go through.
bool Scaricamento_In_Corso();

// Unloads every window of the workspace `area`, hidden ones included, from
// the last opened to the first, then the other top-level windows owned by
// `principale`, all but `tenere`: each is closed through its own close
// handling (so that it keeps its placement and lets its resources go) and
// then deleted, also when its handling would only hide it. Run it when no
// long task runs (see Dopo_Le_Attivita).
void Scarica_Finestre(QMdiArea* area, QWidget* principale, QWidget* tenere = nullptr);

} // namespace database
