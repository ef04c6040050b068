#pragma once
// python3-sgp4's reading of the element sets of tests/data/elements_sample.txt
// (tests/data/elements_sample_ref.csv, made by tools/database_samples.py),
// one row per set in file order.
#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace campione {

struct Riferimento {
    long catalogo;
    double epoca, inclinazione, nodo, eccentricita, perigeo, giri, periodo;
};

inline std::vector<Riferimento> riferimenti()
{
    std::ifstream f(ASTROVELA_TEST_DATA "/elements_sample_ref.csv");
    std::string riga;
    std::getline(f, riga);
    std::vector<Riferimento> out;
    while (std::getline(f, riga)) {
        std::replace(riga.begin(), riga.end(), ',', ' ');
        std::istringstream s(riga);
        Riferimento r{};
        s >> r.catalogo >> r.epoca >> r.inclinazione >> r.nodo >> r.eccentricita >> r.perigeo >> r.giri >> r.periodo;
        out.push_back(r);
    }
    return out;
}

} // namespace campione
