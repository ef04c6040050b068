#pragma once
// The File menu's document commands (new, edit, save, print, printer set-up),
// the line-end repair of the Tools menu, and the Tools commands that start
// other programs.
#include <QString>

class MainWindowLink;
class QWidget;
class frmFile;
namespace common {
class Salvabile;
class Stampabile;
}

namespace files {

// New: a fresh empty document titled "Document" and its number of the run.
frmFile* File_Nuovo(MainWindowLink* main);
// Edit: chooses a file and opens it in a new viewer (nothing when cancelled
// or the file is empty).
frmFile* File_Modifica(MainWindowLink* main);
// The window the File menu's Save and Print act on: the active child window
// when its focused control is a list or a text box (or, for Print, when it is
// the local sky chart or a pass map) and it has the command; else null.
common::Salvabile* Finestra_Per_Salva(MainWindowLink* main);
common::Stampabile* Finestra_Per_Stampa(MainWindowLink* main);
// Whether the focused control of a window is a list or a text box.
bool Controllo_Documento(QWidget* finestra);

// The line-end repair of a text: CR LF becomes LF, the text is cut at LF,
// every piece loses its leading and trailing blanks and gets CR LF. The
// empty piece after a final line end is dropped, so a repaired file stays as
// it is when repaired again.
QString Ripara_Fine_Righe(const QString& testo);
// The Tools command: asks for a file and repairs it in place (written whole
// through a temporary file; a failure is told and the file kept).
void Formattazione_File(MainWindowLink* main);

// The user's own external program with its parameters (no shell); a blank
// program name does nothing; a failure is told.
void Esegui_Programma(const QString& programma, const QString& parametri);

} // namespace files
