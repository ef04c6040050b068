#pragma once
// The element-set parser: turns the three lines of a NORAD element set (name
// line, line 1, line 2) into a Satelement, with the satellite's standard
// magnitude and radio channels taken from the fixed data tables.
//
// Columns are 1-based character positions. Number fields are read with the
// leading-number rule (a field of blanks reads 0); blanks may pad a field's
// number but not stand inside it, and a field holding anything else than
// its number (a letter, a symbol, a NUL byte) is refused rather than read as
// 0 or as its first digits. The catalogue number must be a whole
// number, and the orbit one the models can follow (mean motion, eccentricity,
// drag terms and epoch within the bounds below), else the set is refused
// whole with the reason and nothing is changed: no later computation loops
// or divides by an absurd value.
#include "astro/element_lines.h"
#include "astro/records.h"
#include "core/frequency_table.h"

#include <QString>
#include <string>
#include <vector>

namespace core {

enum class ErroreElementi {
    Nessuno,             // parsed
    CatalogoNonValido,   // the catalogue number is not a whole number
    MotoMedioNonValido,  // the mean motion is not above 0 and at most 20 revolutions a day
    CampoNonValido,      // a number field holds a blank inside its number, or not a number
    EccentricitaNonValida, // the eccentricity is not from 0 to below 1
    ResistenzaNonValida, // the drag term or a derivative of the mean motion is 1 or more in size
    EpocaNonValida,      // the epoch year is not two digits or the day not from 1 to below 367
    SlotNonValido,       // the working-list slot is not 1 to 202
};

// Where a number field stands: line 1 or 2, columns da to a (1-based).
struct CampoElementi {
    int riga = 0;
    int da = 0;
    int a = 0;
    bool spazio = false;  // a blank inside its number (else: not a number)
    explicit operator bool() const { return riga != 0; }
};
// The first number field of the two lines with a blank inside its number or
// something that is not a number (riga 0 when there is none).
CampoElementi Campo_Non_Valido(const std::string& riga1, const std::string& riga2);

// Two-digit years: below 57 is 20YY, otherwise 19YY.
using astro::Anno_Da_Due_Cifre;

// The catalogue number of a text as a whole number, or -1 when the text is
// not one ("00694" and "  694" are both 694).
long Numero_Catalogo(const std::string& testo);

// Parses the set into `out`, which is first reset whole. magnitudini is the
// standard-magnitude table by catalogue number, frequenze the frequency
// table (entries from 1, entry 0 unused; a plain list of rows is indexed on
// the way in, so pass a TabellaFrequenze when parsing many sets). On an error
// `out` is untouched.
ErroreElementi Analizza_Elementi(const std::string& riga0, const std::string& riga1,
                                 const std::string& riga2,
                                 const std::vector<std::string>& magnitudini,
                                 const TabellaFrequenze& frequenze, Satelement& out);

// The message for a refused set, in the user's language, naming the set by
// its name line, with the line and columns of a field that holds a blank
// inside its number or something that is not a number.
QString Testo_Errore_Elementi(ErroreElementi errore, const RigaDati& set);

// The standard magnitude as the user reads it: the record keeps it with a
// point for the code that reads it back, shown it takes the user's decimal
// separator like every other figure. Empty when the set has none.
QString Magnitudine_Mostrata(const Satelement& e);

} // namespace core

// The working-list procedures on one slot (1 to 202) of the shared arrays.

// Stores the three texts in gudtRigheAttive(slot) and parses them into
// gudtSatelementi(slot), with the magnitude and frequency tables loaded at
// start. A refused set (see ErroreElementi) leaves both records of the slot
// as they were and returns the reason.
core::ErroreElementi Estrai_Dati_Satellite(int slot, const std::string& riga0,
                                           const std::string& riga1, const std::string& riga2);

// Clear one slot's record of the named kind (numbers 0, texts empty).
void Azzera_Satelement(int slot);
void Azzera_RigaDati(int slot);
void Azzera_Valori(int slot);
