// SGP4 and SDP4 against the verification vectors published with
// "Revisiting Spacetrack Report #3" (Vallado, Crawford, Hujsak, Kelso 2006),
// element sets SGP4-VER.TLE and results tcppver.out.
//
// Those vectors come from the revised model; ours is the report's near-earth
// model (the revision differs from it by metres) with the revision's form of
// the deep-space periodics, so small differences are expected and bounded
// below. Element sets are run
// through the program's unpacking of an element set, so the whole path from
// the parsed set to the state vector is checked.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "astro/satellite.h"
#include "sat_test_support.h"

namespace {

struct Riga {
    double t;
    double r[3];
    double v[3];
};

struct Caso {
    std::string l1, l2;
    std::vector<Riga> attese;
};

std::map<int, Caso> Leggi_Casi()
{
    std::map<int, Caso> casi;
    std::ifstream tle(ASTROVELA_TEST_DATA "/SGP4-VER.TLE");
    std::string riga, l1;
    while (std::getline(tle, riga)) {
        if (!riga.empty() && riga.back() == '\r')
            riga.pop_back();
        if (riga.rfind("1 ", 0) == 0)
            l1 = riga;
        else if (riga.rfind("2 ", 0) == 0) {
            const int num = std::stoi(riga.substr(2, 5));
            casi[num].l1 = l1;
            casi[num].l2 = riga;
        }
    }
    std::ifstream out(ASTROVELA_TEST_DATA "/tcppver.out");
    int corrente = -1;
    std::map<int, int> visti;
    while (std::getline(out, riga)) {
        if (riga.find("xx") != std::string::npos) {
            corrente = std::stoi(riga);
            // 20413 appears twice; the second run repeats the first.
            if (visti[corrente]++)
                corrente = -1;
            continue;
        }
        if (corrente < 0)
            continue;
        std::istringstream is(riga);
        Riga r;
        if (is >> r.t >> r.r[0] >> r.r[1] >> r.r[2] >> r.v[0] >> r.v[1] >> r.v[2])
            casi[corrente].attese.push_back(r);
    }
    return casi;
}

struct Scarto {
    double pos = 0, vel = 0;  // km, km/s
    double tPeggiore = 0;
};

// Runs the model the "SGP4 + SDP4" choice would run for this element set.
Scarto Confronta(const Caso& c, int& modello, int& falliti)
{
    const Satelement s = sattest::Da_Righe("", c.l1, c.l2);
    astro::ModelloSatellite m;
    m.Imposta(astro::Registri_Da_Satelement(s), astro::PropagatoreSDP4);
    modello = m.Modello();
    Scarto sc;
    falliti = 0;
    for (const Riga& r : c.attese) {
        astro::StatoOrbitale o;
        if (m.Propaga(r.t, o) != astro::EsitoPropagazione::Ok) {
            ++falliti;
            continue;
        }
        double dp = 0, dv = 0;
        for (int i = 0; i < 3; ++i) {
            dp += (o.posizione[i] - r.r[i]) * (o.posizione[i] - r.r[i]);
            dv += (o.velocita[i] - r.v[i]) * (o.velocita[i] - r.v[i]);
        }
        dp = std::sqrt(dp);
        dv = std::sqrt(dv);
        if (dp > sc.pos) {
            sc.pos = dp;
            sc.tPeggiore = r.t;
        }
        sc.vel = std::max(sc.vel, dv);
    }
    return sc;
}

// Cases the report's model is not expected to follow, by catalogue number.
// Rows after "fino" (minutes) are left out; fino = -1e9 leaves the whole case out.
struct Esclusione {
    int num;
    double fino;
    const char* motivo;
};
const Esclusione kEsclusioni[] = {
    {22312, 360.0, "drag drives the eccentricity negative after 360 min; the revision floors it at 1e-6, the report lets it change sign"},
    {28350, 720.0, "drag drives the eccentricity negative after 720 min (floored at 1e-6 by the revision only)"},
    {33333, -1e9, "eccentricity 0.995 (>= 0.9), outside the report's model"},
    {33334, -1e9, "mean motion 0.00001 rev/day, an orbit far beyond the Moon: the revision's single row is no "
                  "orbit either; the deep-space model refuses it (checked below)"},
};

const Esclusione* Esclusa(int num)
{
    for (const Esclusione& e : kEsclusioni)
        if (e.num == num)
            return &e;
    return nullptr;
}

// Near-earth sets within 2 m, deep-space sets within 5 m of every
// published row, the low-inclination ones included: the deep-space
// periodics take the revision's form (the report's, with the inclination of
// the epoch, was 6 to 1900 km off for the sets near 0.2 rad and up to 30 km
// for the other low-inclination ones), and Kepler's equation is solved to
// convergence (the eccentricity 0.97 of 23333 is followed to the end).
TEST(SatVerification, MatchesPublishedVectors)
{
    const auto casi = Leggi_Casi();
    int confrontati = 0;
    double peggiore[3] = {0, 0, 0};  // near earth, deep >= 11.5 deg, deep below
    for (auto [num, c] : casi) {
        if (c.attese.empty())
            continue;
        const Esclusione* ex = Esclusa(num);
        if (ex) {
            if (ex->fino < -1e8)
                continue;
            std::vector<Riga> tenute;
            for (const Riga& r : c.attese)
                if (r.t <= ex->fino)
                    tenute.push_back(r);
            c.attese = tenute;
        }
        int modello = 0, falliti = 0;
        const Scarto sc = Confronta(c, modello, falliti);
        const Satelement s = sattest::Da_Righe("", c.l1, c.l2);
        double tolPos = 0.005, tolVel = 1e-5;
        int categoria;
        if (modello != astro::PropagatoreSDP4) {
            tolPos = 0.002;
            categoria = 0;
        } else if (s.Inclinazione >= 11.5) {
            categoria = 1;
        } else {
            categoria = 2;
        }
        peggiore[categoria] = std::max(peggiore[categoria], sc.pos);
        SCOPED_TRACE("satellite " + std::to_string(num));
        EXPECT_EQ(falliti, 0);
        EXPECT_LT(sc.pos, tolPos) << "worst at tsince " << sc.tPeggiore;
        EXPECT_LT(sc.vel, tolVel);
        ++confrontati;
    }
    EXPECT_EQ(confrontati, 30);
    printf("worst position difference: near earth %.4f km, deep space >= 11.5 deg %.4f km, below %.4f km\n",
           peggiore[0], peggiore[1], peggiore[2]);
}

TEST(SatVerification, RefusesWhatTheModelCannotFollow)
{
    const auto casi = Leggi_Casi();
    // Mean motion of 0.00001 rev/day.
    {
        const Caso& c = casi.at(33334);
        const Satelement s = sattest::Da_Righe("", c.l1, c.l2);
        astro::StatoOrbitale o;
        o.posizione = {1, 2, 3};
        astro::ModelloSatellite m;
        m.Imposta(astro::Registri_Da_Satelement(s), astro::PropagatoreSDP4);
        EXPECT_NE(m.Propaga(0.0, o), astro::EsitoPropagazione::Ok);
        EXPECT_EQ(o.posizione[0], 1.0);  // untouched on failure
    }
}

}  // namespace
