// Helpers of the satellite tests: a minimal reader of NORAD element lines
// (columns only, no checks) so the propagators can be fed the published
// verification sets without the program's own parser.
#pragma once

#include <cmath>
#include <string>

#include "astro/records.h"
#include "astro/time.h"

namespace sattest {

inline double Campo(const std::string& riga, int colonna, int lunghezza)
{
    if (static_cast<int>(riga.size()) < colonna)
        return 0.0;
    std::string t = riga.substr(colonna - 1, lunghezza);
    try {
        return std::stod(t);
    } catch (...) {
        return 0.0;
    }
}

// Mantissa with an implied leading point and its sign, e.g. " 12345" or "-12345".
inline double Mantissa(const std::string& riga, int colonna)
{
    std::string t = riga.substr(colonna - 1, 6);
    double segno = 1.0;
    std::string cifre;
    for (char c : t) {
        if (c == '-')
            segno = -1.0;
        else if (c >= '0' && c <= '9')
            cifre += c;
    }
    if (cifre.empty())
        return 0.0;
    return segno * std::stod(cifre) * std::pow(10.0, -static_cast<double>(cifre.size()));
}

inline Satelement Da_Righe(const std::string& nome, const std::string& l1, const std::string& l2)
{
    Satelement s;
    double anno = Campo(l1, 19, 2);
    s.AnnoEpoca = anno < 57 ? 2000 + anno : 1900 + anno;
    s.GiornoEpoca = Campo(l1, 21, 12);
    s.Inclinazione = Campo(l2, 9, 8);
    s.NodoAscendente = Campo(l2, 18, 8);
    s.Eccentricita = Campo(l2, 27, 7) * 1e-7;
    s.ArgomentoPerigeo = Campo(l2, 35, 8);
    s.AnomaliaMedia = Campo(l2, 44, 8);
    s.MotoMedio = Campo(l2, 53, 11);
    s.DerivataPrima = Campo(l1, 34, 10);
    s.NumeroRivoluzione = Campo(l2, 64, 5);
    s.NumeroCatalogo = l1.substr(2, 5);
    s.Nome = nome;
    s.DerivataSecondaMantissa = Mantissa(l1, 45);
    s.DerivataSecondaEsponente = Campo(l1, 51, 2);
    s.BStarMantissa = Mantissa(l1, 54);
    s.BStarEsponente = Campo(l1, 60, 2);
    s.EpocaGiuliana = mAstro::Giorno_Giuliano(s.AnnoEpoca, 1, 0.0) + s.GiornoEpoca;
    return s;
}

}  // namespace sattest
