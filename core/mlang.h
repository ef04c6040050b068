#pragma once
// The language texts: every caption, tooltip and message of the program comes
// from one language file chosen by the user (a text file of "[section]" headers
// and "key=value" lines, named after its language, in the program folder).
//
// The chosen file is read once into memory; a lookup is a hash search.
// Section and key names match without regard to case; a text the chosen file
// lacks is taken from the English file beside it, and is the empty text (or
// the caller's default) only when that one lacks it too; never an error.
#include <QString>
#include <QStringList>

namespace mLang {

// The name of the English language file, the one every other is made from.
inline constexpr char kFileLinguaInglese[] = "english.ini";

// The text of `key` in `section` of the language file in use; when the file
// lacks it, the English file's text; empty when both lack it. The file in use is the one given to Usa_File_Lingua, else
// Cartella_Programma() + "/" + gstrFileLingua.
QString Testo_Lingua(const QString& section, const QString& key);

// The value of `key` in `section` of `file`, or `def`. A section or key that
// holds "[", "]" or "=" is never looked up and gives `def`. Loads `file` when
// it is not the file in memory or the loaded flag was cleared.
QString Leggi_Chiave_Lingua(const QString& section, const QString& key, const QString& def,
                            const QString& file);

// The keys, as "[section] key" in the order of `riferimento`, that
// `riferimento` holds and `file` lacks (the keys Testo_Lingua takes from the
// English file when `file` is in use).
QStringList Chiavi_Mancanti(const QString& file, const QString& riferimento);
// The English file beside the file in use ("" when that is the English file
// or there is none).
QString File_Lingua_Inglese();
// For the start-up log: which texts the file in use lacks ("" when none, or
// when the English file is in use).
QString Rapporto_Chiavi_Mancanti();

// Reads `file` into memory unless it is already loaded (gblnLinguaCaricata
// set for that same file). True when the file is in memory after the call.
// A file that cannot be opened leaves the table empty and the flag clear.
bool Carica_File_Lingua(const QString& file);

// The language file in use when it gave no texts at all (empty, not a
// language file, unreadable or too large) and the program's own English
// texts, built in, stand in for it; "" otherwise.
QString File_Senza_Testi();

// A language file chosen in the picker that the settings could not keep (a
// full or read-only settings folder): the start-up uses it for this run.
// "" when there is none (the choice was kept, or none was made).
void Imposta_Lingua_Non_Salvata(const QString& file);
QString Lingua_Non_Salvata();

// Scans the non-empty lines of the loaded file (gstrRigheLingua, index 1 is
// the first line) from index + 1 for a line that begins with `text` (without
// regard to case). With stopAtSection a line beginning with "[" ends the scan
// with False. On True, index holds the line found.
bool Cerca_Riga(qsizetype& index, const QString& text, bool stopAtSection);

// Uses the language file at `path` for Testo_Lingua from now on, whatever
// gstrFileLingua says, and loads it. An empty path goes back to the program
// folder and gstrFileLingua. True when the file could be read.
bool Usa_File_Lingua(const QString& path);

// The program folder where language files live (MyPath). By default the
// folder of the executable.
QString Cartella_Programma();
void Imposta_Cartella_Programma(const QString& folder);

// The full path of the file Testo_Lingua reads.
QString File_Lingua_Corrente();

} // namespace mLang

// True once the current language file has been read completely. The language
// picker clears it so that the next lookup reads the newly chosen file.
extern bool gblnLinguaCaricata;
// The non-empty lines of the loaded language file in file order (index 0 is
// the first line; Cerca_Riga counts from 1).
extern QStringList gstrRigheLingua;
