#pragma once
// The satellite database: the principal and the secondary element file read
// into memory, the rows of their sorted lists, the age statistics, and the
// re-matching of the working list against a newly read principal file.
//
// A load reads the whole file into a temporary array; the database arrays,
// the lists and the working list change only when the load succeeds. A load
// that fails or is stopped leaves everything as it was.
#include "astro/records.h"

#include <QString>

#include <functional>
#include <string>
#include <vector>

// The element sets of the principal and of the secondary file in file order,
// entries 1 .. size()-1 (entry 0 exists and is never filled); empty while no
// file is loaded. Riga0 name line, Riga1 line 1, Riga2 line 2, as read.
extern std::vector<RigaDati> gudtDatabasePrimario;
extern std::vector<RigaDati> gudtDatabaseSecondario;

namespace core {

// Number of entries of a database array (0 when empty).
inline int Numero_Voci(const std::vector<RigaDati>& db)
{
    return db.size() > 1 ? static_cast<int>(db.size() - 1) : 0;
}
// The array of database index 0 (principal) or 1 (secondary).
std::vector<RigaDati>& Database(int indice);

// ------------------------------------------------------------ list rows

// The ten sort keys of the database lists, in the order of their choice.
enum ChiaveOrdine : int {
    OrdineNome = 0,
    OrdineAnnoLancio = 1,
    OrdineInclinazione = 2,
    OrdineNodo = 3,
    OrdinePeriodo = 4,
    OrdineCatalogo = 5,
    OrdineMagnitudine = 6,
    OrdineEccentricita = 7,
    OrdinePerigeo = 8,
    OrdineMotoMedio = 9,
};
inline constexpr int kNumeroChiavi = 10;
// The language keys (section "frmDatabase") of the ten sort choices.
extern const char* const kTestiChiavi[kNumeroChiavi];

// Two-digit years: below 57 is 20YY, otherwise 19YY.
int Anno_Quattro_Cifre(double yy);

// The text of a sort key for one element set: the quantity written with its
// picture (launch year 1998, inclination "098.6", period "0101.2",
// catalogue number as written, magnitude "4.0" or "???", ...). Key 0 has no
// key text. A quantity that cannot be formed (period of a zero mean motion,
// a magnitude not in the table) is "???".
QString Testo_Chiave(const RigaDati& set, int chiave);
// The row text: key text, two blanks and the first 24 characters of the
// name line; for key 0 the 24 characters alone.
QString Testo_Riga(const RigaDati& set, int chiave);

// One row of a database list: its text and the number of its entry.
struct RigaLista {
    QString testo;
    int voce = 0;
};
// The rows of every entry of `db` for a sort key, in list order: by name
// (without regard to case) for key 0; by the number for the numeric keys,
// quantities that cannot be formed ("???") after all numbers; rows of equal
// key by their text, then by file order.
std::vector<RigaLista> Righe_Ordinate(const std::vector<RigaDati>& db, int chiave);

// ------------------------------------------------------------ loading

struct EsitoCaricamento {
    enum class Stato {
        Ok,
        Annullato,          // stopped by the user; nothing is to change
        NonApribile,        // the file could not be opened or read
        Troncato,           // a name line without its two element lines
        NomeAtteso,         // an element line where a name line belongs
        Riga1Attesa,        // no line 1 ("1 ...") after a name line
        Riga2Attesa,        // no line 2 ("2 ...") after a line 1
        AnnoNonValido,      // epoch year (line 1, columns 19-20) not a number
        CatalogoNonValido,  // catalogue number (line 1, columns 3-7) not a number
        CatalogoDiverso,    // line 2 carries another catalogue number than line 1
        Vuoto,              // no element set at all
        // Faults of blanks, which Tools > Format file mends:
        SpaziIniziali,      // a line 1 or line 2 begins with blanks
        RigheBianche,       // only lines of blanks from a name line to the end
    };
    Stato stato = Stato::Ok;
    int riga = 0;                  // line of the file where the failure was found
    QString errore;                // the system's reason for NonApribile
    std::vector<RigaDati> voci;    // entries 1..N as for the database arrays
    // Age statistics in days (program clock minus epoch), over the sets read.
    double recente = 0;            // newest (smallest age)
    double vecchio = 0;            // oldest (largest age; 0 when every age is negative)
    double somma = 0;
    int conEta = 0;                // sets with an age (an epoch day that is a number)
    int conMagnitudine = 0;        // sets whose standard magnitude is known

    bool ok() const { return stato == Stato::Ok; }
    // Whether Tools > Format file mends what is wrong.
    bool riparabile() const { return stato == Stato::SpaziIniziali || stato == Stato::RigheBianche; }
    int numero() const { return Numero_Voci(voci); }
    double media() const { return conEta > 0 ? somma / conEta : 0; }
};

// Called after each set read with the bytes read so far and the whole
// length; returns false to stop the load.
using PassoCaricamento = std::function<bool(qsizetype letti, qsizetype totale)>;

// Reads the element file at `path`. `adesso` is the program clock's Julian
// date. Every set is a name line, a line 1 ("1 ...") and a line 2 ("2 ...")
// of the same catalogue number, with an epoch year and a catalogue number
// that read as numbers; the first line that breaks this fails the load. A
// set whose catalogue number lies beyond the magnitude table has an unknown
// magnitude. The file is never written.
EsitoCaricamento Carica_File_Elementi(const QString& path, double adesso,
                                      const PassoCaricamento& passo = {});

// The standard magnitude text of a catalogue number ("" when unknown or
// outside the table).
std::string Magnitudine_Catalogo(double numero);

// ------------------------------------------------------------ working list

struct EsitoAbbinamento {
    std::vector<RigaDati> lista;   // the new working list in slot order (from slot 1)
    int richiesti = 0;             // satellites listed before
    bool principaleTrovato = false;
    int trovati() const { return static_cast<int>(lista.size()); }
};
// Matches the working list (the catalogue number texts of slots 1..C, in
// order) against a database: every listed satellite whose catalogue number
// (compared as written, columns 3-7 of line 1) is in the file takes that
// file's elements, the first entry of that number in file order. The list
// keeps its order and never passes 200 satellites.
EsitoAbbinamento Abbina_Lista_Lavoro(const std::vector<std::string>& catalogoSlot,
                                     const std::vector<RigaDati>& db);

// ------------------------------------------------------------ long runs

// One long run at a time (element-file load, summary, listing, pass search):
// a run holds a LavoroLungo for its whole length; a second one made while
// the first is held is not acquired, and its caller refuses to start.
class LavoroLungo {
public:
    LavoroLungo();
    ~LavoroLungo();
    LavoroLungo(const LavoroLungo&) = delete;
    LavoroLungo& operator=(const LavoroLungo&) = delete;
    bool acquisito() const { return m_acquisito; }
    static bool inCorso();

private:
    bool m_acquisito = false;
};

} // namespace core
