#pragma once
// Reading the reference fixtures of the body tests (see tools/ref_bodies.py).
#include "astro/bodies.h"
#include "../support/csv_fields.h"

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fixture {

using testsupport::Campi;

// Rows of a comma-separated fixture, comment lines skipped.
inline std::vector<std::vector<std::string>> Righe(const std::string& nome)
{
    std::ifstream f(std::string(ASTROVELA_TEST_DATA) + "/" + nome);
    std::vector<std::vector<std::string>> out;
    std::string riga;
    while (std::getline(f, riga)) {
        if (!riga.empty() && riga.back() == '\r')
            riga.pop_back();
        if (riga.empty() || riga[0] == '#')
            continue;
        out.push_back(Campi(riga));
    }
    return out;
}

// The body table with the elements of planets_j2000_test.dat, or of another
// file of the layout of planets.dat (name key and nine numbers per row, rows
// 1 to 10; "../../data/planets.dat" is the shipped one).
inline mAstro::TabellaCorpi Tabella(const std::string& file = "planets_j2000_test.dat")
{
    mAstro::TabellaCorpi t{};
    const auto righe = Righe(file);
    for (size_t i = 0; i < righe.size() && i < 10; ++i) {
        const auto& r = righe[i];
        auto& c = t[i + 1];
        c.Nome = r[0].substr(1, r[0].size() - 2);
        c.PeriodoOrbitale = std::stod(r[1]);
        c.LongitudineEpoca = std::stod(r[2]);
        c.LongitudinePerielio = std::stod(r[3]);
        c.Eccentricita = std::stod(r[4]);
        c.SemiasseMaggiore = std::stod(r[5]);
        c.Inclinazione = std::stod(r[6]);
        c.LongitudineNodo = std::stod(r[7]);
        c.DiametroUnitario = std::stod(r[8]);
        c.MagnitudineUnitaria = std::stod(r[9]);
    }
    return t;
}

} // namespace fixture
