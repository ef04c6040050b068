#pragma once
// The main window's commands of the listing dialogs and of Save and Print
// on a listing.
class MDIForm1;
class QWidget;

namespace predictions {

// The principal database is loaded, or the user agreed to load it and it
// now holds sets (the database window is hidden again). False otherwise.
bool Database_Necessario(MDIForm1& main);
// The window of the main window's active child frame, or null.
QWidget* Finestra_Attiva(MDIForm1& main);
// The window shows a list that Save and Print act on: a listing window
// showing its text list, or any window whose focused control is a list box.
bool Lista_Attiva(QWidget* finestra);
// Runs the public procedure `metodo` (no arguments) of a window by its name;
// false when the window has none.
bool Chiama_Per_Nome(QWidget* finestra, const char* metodo);

} // namespace predictions
