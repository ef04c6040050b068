#pragma once
// Start-up and shut-down of the program, the parts that decide whether it
// may run and that keep the user's files: the second-copy check, the language
// file check (with the language picker), the user's own files, the fixed files
// of the program folder, the working list and the daylight-saving question.
#include <QString>
#include <QStringList>
#include <functional>

namespace platform {
class SingleInstance;
}

namespace core {

// The program's version.
inline constexpr int kVersioneMaggiore = 0;
inline constexpr int kVersioneMinore = 1;
inline constexpr int kVersioneRevisione = 0;

// "Astrovela 0.1": the main window's caption.
QString Titolo_Finestra();
// "0.1.0": the about box's version numbers.
QString Versione_Completa();

// The fixed files that must be in the program folder, in the order tested.
const QStringList& File_Fissi();

// The user's data folder (the working list and the city list live there):
// the application data location, created when missing.
QString Cartella_Dati_Utente();

// Where the program's own files (MyPath) were looked for and found.
struct CartellaProgramma {
    QString scelta;          // the folder used
    QStringList cercate;     // the folders looked in, in order (all of them when none held the files)
};

// The program folder: the executable's own folder when it holds any of the
// program's files (a build, or a program folder copied whole), else the
// installation's data folder `datiInstallati` taken from the executable's
// folder ("../share/astrovela"); the executable's folder when neither does.
CartellaProgramma Trova_Cartella_Programma(const QString& cartellaEseguibile,
                                           const QString& datiInstallati);

// The name under which `name` exists in `folder`, compared without regard to
// case; empty when there is none, and for a name holding a path ("../x.ini",
// "/etc/x"): only files of the folder itself are found.
QString Trova_File(const QString& folder, const QString& name);

// The language files of a folder: every "*.ini" but the working list's.
QStringList File_Lingua(const QString& folder);

// Makes sure the user's copy of a file exists: copied from the program
// folder when missing there, or created empty when `creaVuoto` and the
// program folder has none either. False when it could not be made, with the
// system's reason in `errore` (left empty when there was nothing to copy).
bool Prepara_File_Utente(const QString& name, const QString& programFolder,
                         const QString& userFolder, bool creaVuoto, QString* errore = nullptr);

struct Avvio {
    QString cartellaProgramma;       // MyPath
    QStringList cartelleCercate;     // where MyPath was looked for (named when files are missing)
    QString cartellaUtente;          // where Astrovela.ini and cities.dat live
    platform::SingleInstance* istanza = nullptr;  // null: no second-copy check
    // Shows the language picker modally (the start-up reads the setting again
    // after it returns).
    std::function<void()> scegliLingua;
};

// The checks before the main window loads. Ends with false when the program
// must end (the message, if any, was shown). In this order: the second-copy
// check (before anything is written, so a second copy changes nothing of the
// running one), the language file (with the picker when it is missing), the
// user's working-list and city files, the fixed files of the program folder.
bool MDIForm_Initialize(const Avvio& avvio);

// Puts the language file name read from the settings in the case the folder
// holds it (the settings may spell it otherwise); settings that hold none
// because they could not be written take the picker's choice for this run.
void Risolvi_File_Lingua();

// The first ten of `voci` joined by `separatore`, then "(+N)" for the rest:
// one message for an operation that concerns many satellites.
QString Elenco_Breve(const QStringList& voci, const QString& separatore);

// Reads the working list of the last run from the user's folder; what cannot
// be read is left out with one message, and kept (WorkingList::
// Conserva_Rimossi: the file as read as "Astrovela.ini.bak", the lines left
// out added to the file of removed sets, which the message names). From now
// on the list is saved there after every change, and a failed save is told.
// A file that exists but cannot be read is never saved over in this run.
void Carica_Lista_Lavoro(const QString& cartellaUtente = Cartella_Dati_Utente());
// Saves the working list (shut-down); a failure is told. False when it failed.
bool Salva_Lista_Lavoro();
// Tells that the working list could not be saved, and why (`errore` names
// the file); that the previous file is kept only where there is one.
void Avvisa_Lista_Non_Salvata(const QString& errore);

// Compares the computer's daylight-saving state with the observer's and,
// when they differ, offers to take the computer's: Yes takes (and writes to
// the settings) the state the computer is in when the answer is given, which
// is not the one asked about when summer time began or ended meanwhile.
void Verifica_Ora_Legale();

} // namespace core
