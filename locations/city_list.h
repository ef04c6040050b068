#pragma once
// The city list: the places the observer can pick in the location dialog.
// It lives in "cities.dat" in the user's data folder (first copied there from
// the program folder) and, while the program runs, in the table gvarCitta.
//
// One city a line: "Country: Place",latitude,longitude,offset with the name
// in double quotes, degrees north and east positive, the time-zone offset in
// hours east of Greenwich; point as decimal separator; CR LF line ends.
#include "platform/vb.h"

#include <QString>
#include <functional>
#include <utility>
#include <vector>

namespace locations {

// One row of the city table. A deleted city stays as a blank row (empty
// name) until the next load; blank rows are never written.
struct RigaCitta {
    QString nome;
    double latitudine = 0;
    double longitudine = 0;
    double fuso = 0;
    // Rows read from the file hold single-precision numbers; rows typed in
    // the new/edit dialog double-precision ones rounded to four decimals.
    bool singola = true;
    // A line of the file that is not a place: not listed, written back as
    // it stands where it was, so that nothing of the file is lost.
    QString grezza;
    bool vuota() const { return nome.isEmpty(); }
};

// The city table: row n (1-based, as the city box's item data) is
// gvarCitta[n - 1]. It grows one row at a time and never shrinks while the
// program runs.
extern std::vector<RigaCitta> gvarCitta;

struct LetturaCitta {
    std::vector<RigaCitta> righe;
    std::vector<int> vuote;    // blank lines (from 1) with cities after them: skipped
    std::vector<int> errate;   // lines (from 1) that are not a city: kept as they stand
    // Those lines' texts, each with the number of places read before it.
    std::vector<std::pair<std::size_t, QString>> conservate;
    bool interrotta = false;   // the stop request ended the reading
    // Whether the rows are the whole file: the places and the lines kept
    // hold everything but blank lines, so writing them back loses nothing.
    bool completa() const { return !interrotta; }
};

// Reads the rows of a city list text, one city a line (CR LF, LF or a lone
// CR ends a line). A blank line is skipped and a line that is not a city
// (a missing field, a field that is not a number, a coordinate out of range,
// no name) is not a place but is kept as it stands; both are noted with
// their line number and the lines after them are read all the same. The stop
// request (when given) is asked before every line; a true answer ends the
// reading with the rows read so far.
LetturaCitta Leggi_Citta(const QString& testo, const std::function<bool()>& arresta = {});
// The city table of a reading: the places and, where they were, the lines
// kept as they stand (rows with `grezza` set and no name).
std::vector<RigaCitta> Tabella_Citta(const LetturaCitta& lettura);

// One row as its line (without the line end): the name in quotes, then the
// three numbers in the shortest form that reads back to the same value.
QString Riga_Citta(const RigaCitta& riga);
// The whole file text: every row whose name is not empty, and every line
// kept as it stood, in row order, each followed by CR LF.
QString Testo_Citta(const std::vector<RigaCitta>& righe);

// Whether a name can be kept in the file: a double quote cannot be written
// and read back, and a line end would split the row.
bool Nome_Citta_Valido(const QString& nome);

// What a change of the table does to a place: for the message when it cannot
// reach the file.
enum class CambioCitta { Nuova, Modificata, Eliminata };

// The city list file in the user's data folder (tests may point it elsewhere;
// an empty path puts back the default).
QString File_Citta();
void Imposta_File_Citta(const QString& path);

// Rewrites the city list file from the table, whole, through a temporary
// file: on failure the old file stays as it was and `errore` says why.
// The file keeps the encoding it was read with.
bool Salva_Citta(const std::vector<RigaCitta>& righe, QString* errore = nullptr);
// The encoding to write the file with (set by the reader).
void Imposta_Codifica_Citta(vb::TextEncoding encoding);

// How the last load of the file went. After a load stopped part-way, or a
// file that is there but could not be read, the table holds only part of
// the file (or nothing), so Salva_Citta leaves the file as it is rather
// than replacing it with that part. (No file at all holds nothing that
// could be lost: that is a whole reading of nothing.)
enum class LetturaFile { Intera, Interrotta, NonLetta };
// `motivo`: the system's reason a file could not be read.
void Imposta_Lettura(LetturaFile esito, const QString& motivo = {});
bool Lettura_Completa();
// Why the file is left as it is, in the user's language, for a message:
// the text that says so, the file and, for a file that could not be read,
// the system's reason, one a line (CR between them). Empty when the last
// load read the file whole.
QString Motivo_File_Non_Scritto();

} // namespace locations
