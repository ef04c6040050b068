#pragma once
// The main window's Save and Print commands on a listing.
class MainWindowLink;
class QWidget;

namespace listings {

// The window of the main window's active child frame, or null.
QWidget* Finestra_Attiva(MainWindowLink& main);
// The window shows a list that Save and Print act on: a listing window
// showing its text listing or its summary rows, or any window whose focused
// control is a list box.
bool Lista_Attiva(QWidget* finestra);

} // namespace listings
