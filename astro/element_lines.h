// Where the numbers of a NORAD element set stand in its two lines and how
// each becomes a register of a Satelement: one table for every reader of
// element lines. The program's parser reads the fields with its own number
// rules and checks the set; the tests and benchmarks feed the propagators
// through a plain reader of their own.
#pragma once

#include "astro/records.h"
#include "astro/time.h"

namespace astro {

// Two-digit years: below 57 is 20YY, otherwise 19YY.
inline int Anno_Da_Due_Cifre(double yy)
{
    const int y = int(yy);
    return y < 57 ? 2000 + y : 1900 + y;
}

// Fills the epoch, the orbit, the derivatives and drag terms and the Julian
// epoch of e from line 1 (l1) and line 2 (l2); numero(line, column, length)
// reads the field at that 1-based column. The two mantissas carry an implied
// leading point before their five digits. The catalogue number, the launch
// and the name are the caller's.
template <class Riga, class Numero>
void Registri_Da_Righe(const Riga& l1, const Riga& l2, Numero&& numero, Satelement& e)
{
    e.AnnoEpoca = Anno_Da_Due_Cifre(numero(l1, 19, 2));
    e.GiornoEpoca = numero(l1, 21, 12);
    e.Inclinazione = numero(l2, 9, 8);
    e.NodoAscendente = numero(l2, 18, 8);
    e.Eccentricita = numero(l2, 27, 7) * 1e-7;
    e.ArgomentoPerigeo = numero(l2, 35, 8);
    e.AnomaliaMedia = numero(l2, 44, 8);
    e.MotoMedio = numero(l2, 53, 11);
    e.DerivataPrima = numero(l1, 34, 10);
    e.NumeroRivoluzione = numero(l2, 64, 5);
    e.DerivataSecondaMantissa = numero(l1, 45, 6) * 1e-5;
    e.DerivataSecondaEsponente = numero(l1, 51, 2);
    e.BStarMantissa = numero(l1, 54, 6) * 1e-5;
    e.BStarEsponente = numero(l1, 60, 2);
    e.EpocaGiuliana = mAstro::Giorno_Giuliano(e.AnnoEpoca, 1, 0.0) + e.GiornoEpoca;
}

}  // namespace astro
