// Helpers of the satellite tests and benchmarks: a minimal reader of NORAD
// element lines (the program's column table, plain numbers, no checks) so
// the propagators can be fed the published verification sets without the
// program's own parser.
#pragma once

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "astro/element_lines.h"
#include "astro/records.h"
#include "../support/csv_fields.h"

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

// The element set of two lines, every field read as a plain number.
inline Satelement Da_Righe(const std::string& nome, const std::string& l1, const std::string& l2)
{
    Satelement s;
    astro::Registri_Da_Righe(l1, l2, Campo, s);
    s.NumeroCatalogo = l1.substr(2, 5);
    s.Nome = nome;
    return s;
}

// The rows of a reference fixture of tests/data below its header line, split
// at the commas; rows without `colonne` fields are left out.
inline std::vector<std::vector<std::string>> Righe_Riferimento(const std::string& nome, std::size_t colonne)
{
    std::vector<std::vector<std::string>> out;
    std::ifstream f(std::string(ASTROVELA_TEST_DATA) + "/" + nome);
    std::string riga;
    std::getline(f, riga);  // header
    while (std::getline(f, riga)) {
        std::vector<std::string> c = testsupport::Campi(riga);
        if (c.size() == colonne)
            out.push_back(std::move(c));
    }
    return out;
}

}  // namespace sattest
