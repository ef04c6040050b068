#pragma once
// Showing a window as a child of the main window's workspace when there is
// one (the running program), else as a window of its own (tests, tools).
#include <QWidget>

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

} // namespace database
