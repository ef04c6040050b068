#pragma once
// Element files: NORAD element sets of three lines each (name line, line 1,
// line 2) as the user keeps them on disk.
//
// Line ends: CR LF, a lone CR or a lone LF (an LF right after a CR belongs to
// that line end), so the usual files of Linux read as well as those made on
// Windows or an old Mac. The file ends at its physical end or at the first empty
// name line (a name line of blanks is not empty). A set is a name line, a
// line 1 that begins "1 " and a line 2 that begins "2 ": a line missing or
// added in the middle of a file puts every later set out of step, and is
// found at the first line out of place rather than read as sets of name
// lines and element lines mixed. The loaders convert the fields they need.
//
// Reading never writes the file. The text is taken as UTF-8 when the bytes
// are valid UTF-8, else as Windows-1252, and the lines are handed on as UTF-8.
#include "astro/records.h"

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

namespace core {

// The bytes of an element file, ready to be cut into sets.
class LettoreElementi {
public:
    LettoreElementi() = default;
    explicit LettoreElementi(QByteArray testo);

    // Reads the file at `path` whole. False, with the reason, when it cannot
    // be opened or read.
    bool Apri(const QString& path, QString* errore = nullptr);

    enum class Esito {
        Set,        // a whole set was read into `out`
        Fine,       // end of the file, or an empty name line
        Troncato,   // a name line without its two element lines
        NomeAtteso, // a line 1 or line 2 of a set where a name line belongs
        Riga1Attesa, // the line after a name line does not begin "1 "
        Riga2Attesa, // the line after a line 1 does not begin "2 "
    };
    // Reads the next set. After an Esito other than Set and Fine, riga() is
    // the line at fault.
    Esito Prossimo(RigaDati& out);

    // What blanks have to do with a fault Prossimo has just reported, when
    // it is something Tools > Format file mends (it cuts the text at line
    // feeds and takes the blanks off both ends of every piece): a line 1 or
    // line 2 moved right by blanks at its start, or nothing but lines of
    // blanks left from the set's name line on (made empty, the first of them
    // ends the file). A line missing or out of place it cannot restore.
    enum class Spazi {
        Nessuno,
        Iniziali,      // the line at fault, riga(), is the element line that belongs there after blanks
        RigheBianche,  // only blank lines from the name line, rigaSet(), to the end
    };
    Spazi Spazi_Fuori_Posto(Esito esito) const;

    // Bytes consumed so far and the whole length (for progress bars).
    qsizetype posizione() const { return m_pos; }
    qsizetype dimensione() const { return m_testo.size(); }
    // Line number (from 1) of the last line read.
    int riga() const { return m_riga; }
    // Line number of the name line of the last set begun.
    int rigaSet() const { return m_rigaSet; }

private:
    // The next line without its end; false at the end of the text.
    bool leggiRiga(std::string& out);

    QByteArray m_testo;
    qsizetype m_pos = 0;
    int m_riga = 0;
    qsizetype m_inizioRiga = 0;   // where the last line read begins
    qsizetype m_inizioSet = 0;    // where the name line of the last set begun begins
    int m_rigaSet = 0;
    bool m_testoValido = true;    // no character that could not be decoded
};

// The columns `da` to `a` (1-based, inclusive) of a line as far as it goes.
std::string Colonne(const std::string& riga, int da, int a);

// Whether a line is line `numero` (1 or 2) of an element set: it begins with
// that digit and a blank.
bool Riga_Elementi(const std::string& riga, char numero);

} // namespace core
