// The deep-space model against python3-sgp4 (the 2006 revision of the
// report, WGS-72 old constants, improved mode) on element sets of every
// deep-space class over 30 days: tests/data/ref_deep_space.csv, written by
// tools/ref_deep_space.py; and near-earth SGP4 on re-entering satellites,
// every ten minutes and then minute by minute to the last minute the
// reference can compute: tests/data/ref_decay.csv, tools/ref_decay.py.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "astro/satellite.h"
#include "sat_test_support.h"
#include "support/csv_fields.h"

namespace {

struct Campione {
    double t;
    double r[3];
    double v[3];
    int errore;  // python3-sgp4's error code (6: perigee below the surface, position still given)
};

struct Insieme {
    std::string l1, l2;
    std::vector<Campione> campioni;
    double fine = 0;     // the first minute the reference cannot compute (re-entry reference)
    int erroreFine = 0;  // and why (1: eccentricity out of range, 6: below the surface)
};

std::map<std::string, Insieme> Leggi_Riferimento(const std::string& file = "ref_deep_space.csv")
{
    std::map<std::string, Insieme> out;
    std::ifstream f(ASTROVELA_TEST_DATA "/" + file);
    std::string riga;
    while (std::getline(f, riga)) {
        if (riga.empty() || riga[0] == '#')
            continue;
        std::vector<std::string> c = testsupport::Campi(riga);
        if (c.size() == 4 && c[0] == "SET") {
            out[c[1]].l1 = c[2];
            out[c[1]].l2 = c[3];
        } else if (c.size() == 4 && c[0] == "END") {
            out[c[1]].fine = std::stod(c[2]);
            out[c[1]].erroreFine = std::stoi(c[3]);
        } else if (c.size() == 9) {
            Campione k;
            k.t = std::stod(c[1]);
            for (int i = 0; i < 3; ++i) {
                k.r[i] = std::stod(c[2 + i]);
                k.v[i] = std::stod(c[5 + i]);
            }
            k.errore = std::stoi(c[8]);
            out[c[0]].campioni.push_back(k);
        }
    }
    return out;
}

struct Esito {
    double pos = 0, vel = 0, tPeggiore = 0;
    int falliti = 0, confrontati = 0;
};

Esito Confronta(const Insieme& ins, int modello = astro::PropagatoreSDP4)
{
    astro::ModelloSatellite m;
    m.Imposta(astro::Registri_Da_Satelement(sattest::Da_Righe("", ins.l1, ins.l2)), modello);
    Esito e;
    for (const Campione& k : ins.campioni) {
        astro::StatoOrbitale o;
        if (m.Propaga(k.t, o) != astro::EsitoPropagazione::Ok) {
            ++e.falliti;
            continue;
        }
        if (!std::isfinite(k.r[0]))
            continue;
        double dp = 0, dv = 0;
        for (int i = 0; i < 3; ++i) {
            dp += (o.posizione[i] - k.r[i]) * (o.posizione[i] - k.r[i]);
            dv += (o.velocita[i] - k.v[i]) * (o.velocita[i] - k.v[i]);
        }
        ++e.confrontati;
        if (std::sqrt(dp) > e.pos) {
            e.pos = std::sqrt(dp);
            e.tPeggiore = k.t;
        }
        e.vel = std::max(e.vel, std::sqrt(dv));
    }
    return e;
}

// Every class within 50 m and 5 cm/s of the revision over 30 days: the
// geostationary sets of low inclination were 1 to 100 km off while the
// periodics kept the report's form (epoch inclination in the periodics, the
// Lyddane branch chosen by the epoch inclination).
TEST(SatDeepSpace, EveryClassFollowsTheRevisionOverThirtyDays)
{
    const auto rif = Leggi_Riferimento();
    ASSERT_EQ(rif.size(), 12u);
    for (const auto& [nome, ins] : rif) {
        SCOPED_TRACE(nome);
        ASSERT_FALSE(ins.campioni.empty());
        astro::ModelloSatellite m;
        m.Imposta(astro::Registri_Da_Satelement(sattest::Da_Righe("", ins.l1, ins.l2)), astro::PropagatoreSDP4);
        EXPECT_EQ(m.Modello(), astro::PropagatoreSDP4);
        const Esito e = Confronta(ins);
        EXPECT_EQ(e.falliti, 0);
        EXPECT_EQ(e.confrontati, static_cast<int>(ins.campioni.size()));
        EXPECT_LT(e.pos, 0.050) << "worst at tsince " << e.tPeggiore;
        EXPECT_LT(e.vel, 5e-5);
        std::printf("%-10s worst %.4f km at %.0f min, %.2e km/s\n", nome.c_str(), e.pos, e.tPeggiore, e.vel);
    }
}

// Each set follows the reference within 50 m and 10 cm/s at every sample to
// its last computable minute (the sets of the deep-space reference hold the
// same bound over 30 days), also after drag has driven the mean eccentricity
// to zero, where the report's e = eo - tempe went on below zero and drifted
// kilometres away; where the reference gives up because the eccentricity
// left its range, the model gives up too.
TEST(SatDecay, ReEnteringSetsFollowTheRevisionToTheirLastMinute)
{
    const auto rif = Leggi_Riferimento("ref_decay.csv");
    ASSERT_EQ(rif.size(), 4u);
    for (const auto& [nome, ins] : rif) {
        SCOPED_TRACE(nome);
        ASSERT_GT(ins.campioni.size(), 100u);
        const Esito e = Confronta(ins, astro::PropagatoreSGP4);
        EXPECT_EQ(e.falliti, 0);
        EXPECT_EQ(e.confrontati, int(ins.campioni.size()));
        EXPECT_LT(e.pos, 0.050) << "worst at tsince " << e.tPeggiore;
        EXPECT_LT(e.vel, 1e-4);
        // The last minute is in the fixture.
        EXPECT_EQ(ins.campioni.back().t + 1.0, ins.fine);
        if (ins.erroreFine == 1) {
            astro::ModelloSatellite m;
            m.Imposta(astro::Registri_Da_Satelement(sattest::Da_Righe("", ins.l1, ins.l2)), astro::PropagatoreSGP4);
            ASSERT_EQ(m.Modello(), astro::PropagatoreSGP4);
            astro::StatoOrbitale o;
            EXPECT_NE(m.Propaga(ins.fine, o), astro::EsitoPropagazione::Ok);
        }
    }
}

}  // namespace
