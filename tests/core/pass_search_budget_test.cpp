// The pass search on sets of the benchmark catalogue (bench/bench_sets.h):
// the passes a fixed mixed set gives against the record kept in
// tests/data/pass_search_record.csv, and the work the search does (scan
// points per satellite-day, solver evaluations per pass), so a bound of the
// scan that went wrong, or a refinement that wanders, shows as a count.
//
// ASTROVELA_RECORD_PASSES=1 writes the record from the present search
// instead of comparing with it.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <optional>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../../bench/bench_sets.h"
#include "core/element_parser.h"
#include "core/pass_search.h"

namespace {

constexpr double kSecondo = 1.0 / 86400.0;
constexpr double kInizio = 2461380.0;

Satelement Analizza(const RigaDati& r)
{
    Satelement e;
    EXPECT_EQ(core::Analizza_Elementi(r.Riga0, r.Riga1, r.Riga2, {}, {}, e), core::ErroreElementi::Nessuno);
    return e;
}

// The mixed set: the first four catalogue sets of every family of orbit.
std::vector<int> Insiemi_Misti()
{
    std::vector<int> scelti;
    int presi[9] = {};
    for (int n = 1; n <= 5000; ++n) {
        const int f = bench::catalogo::Famiglia_Di(n);
        if (presi[f] < 4) {
            ++presi[f];
            scelti.push_back(n);
        }
    }
    return scelti;
}

struct Luogo {
    astro::Osservatore oss;
    double limite;
    int modello;
};
const Luogo kLuoghi[] = {
    {{45.47, 9.19, 120}, 10.0, astro::PropagatoreSDP4},
    {{69.65, 18.96, 100}, 0.0, astro::PropagatoreSDP4},
    {{-33.87, 151.21, 40}, 5.0, astro::PropagatorePlan13},
};

struct PassoRegistrato {
    int insieme = 0, luogo = 0;
    double sorgere = 0, culmine = 0, tramonto = 0, altezza = 0;
};

std::vector<PassoRegistrato> Cerca_Misti()
{
    std::vector<PassoRegistrato> out;
    for (int l = 0; l < 3; ++l) {
        astro::OpzioniSatellite opz;
        opz.propagatore = kLuoghi[l].modello;
        for (const int n : Insiemi_Misti()) {
            const Satelement s = Analizza(bench::Catalogo_Prova(n));
            if (core::Satellite_Escluso(s.MotoMedio, s.Eccentricita))
                continue;
            core::RicercaPassaggi r(s, kLuoghi[l].oss, opz, kLuoghi[l].limite, 1.0, 0);
            r.passaggio = [&](const core::Passaggio& p) {
                out.push_back({n, l, p.sorgere.jd, p.culmine.jd, p.tramonto.jd, p.culmine.v.Altezza});
            };
            EXPECT_EQ(r.PREDICI(kInizio, kInizio + 2, core::Passo_Scansione(s.MotoMedio), core::kPassoPiccolo),
                      core::EsitoRicerca::Completa)
                << n;
        }
    }
    return out;
}

// The passes of the mixed set as the search gave them when the record was
// made: the same passes, the rise and the set within 0.1 s, the culmination
// within 0.5 s and 0.01 degrees.
TEST(PassSearchRecord, MixedSetGivesTheRecordedPasses)
{
    const std::string file = std::string(ASTROVELA_TEST_DATA) + "/pass_search_record.csv";
    const std::vector<PassoRegistrato> trovati = Cerca_Misti();
    if (std::getenv("ASTROVELA_RECORD_PASSES")) {
        std::ofstream out(file);
        out << "set,place,rise_jd,culmination_jd,set_jd,culmination_elevation\n";
        char riga[160];
        for (const PassoRegistrato& p : trovati) {
            std::snprintf(riga, sizeof riga, "%d,%d,%.9f,%.9f,%.9f,%.5f\n", p.insieme, p.luogo, p.sorgere,
                          p.culmine, p.tramonto, p.altezza);
            out << riga;
        }
        GTEST_SKIP() << "record written";
    }
    std::ifstream in(file);
    ASSERT_TRUE(in.good());
    std::string riga;
    std::getline(in, riga);
    std::vector<PassoRegistrato> attesi;
    while (std::getline(in, riga)) {
        PassoRegistrato p;
        if (std::sscanf(riga.c_str(), "%d,%d,%lf,%lf,%lf,%lf", &p.insieme, &p.luogo, &p.sorgere, &p.culmine,
                        &p.tramonto, &p.altezza)
            == 6)
            attesi.push_back(p);
    }
    ASSERT_GT(attesi.size(), 300u);
    ASSERT_EQ(trovati.size(), attesi.size());
    for (size_t i = 0; i < attesi.size(); ++i) {
        const PassoRegistrato &a = attesi[i], &t = trovati[i];
        SCOPED_TRACE("set " + std::to_string(a.insieme) + " place " + std::to_string(a.luogo));
        ASSERT_EQ(t.insieme, a.insieme);
        ASSERT_EQ(t.luogo, a.luogo);
        EXPECT_NEAR(t.sorgere, a.sorgere, 0.1 * kSecondo);
        EXPECT_NEAR(t.tramonto, a.tramonto, 0.1 * kSecondo);
        EXPECT_NEAR(t.culmine, a.culmine, 0.5 * kSecondo);
        EXPECT_NEAR(t.altezza, a.altezza, 0.01);
    }
}

// The work of the search, counted: scan points per satellite-day and solver
// evaluations per pass over the 200 working-list sets of the benchmarks
// (ten days) and the first 2,000 sets of the catalogue (one day), from
// Milan at 10 degrees. A bound of the far steps that came out too large
// shows as fewer scan points (and missed passes), one too small or a
// refinement that wanders as more of them.
TEST(PassSearchBudget, WorkPerSatelliteDayAndPerPass)
{
    astro::OpzioniSatellite opz;
    opz.propagatore = astro::PropagatoreSDP4;
    const astro::Osservatore milano{45.47, 9.19, 120};
    struct Conto {
        long campioni = 0, solutore = 0, completi = 0, passaggi = 0;
        double setGiorni = 0;
    };
    auto cerca = [&](const RigaDati& righe, double giorni, Conto& c) {
        const Satelement s = Analizza(righe);
        if (core::Satellite_Escluso(s.MotoMedio, s.Eccentricita))
            return;
        core::RicercaPassaggi r(s, milano, opz, 10.0, 1.0, 0);
        r.passaggio = [&](const core::Passaggio&) { ++c.passaggi; };
        ASSERT_EQ(r.PREDICI(kInizio, kInizio + giorni, core::Passo_Scansione(s.MotoMedio), core::kPassoPiccolo),
                  core::EsitoRicerca::Completa);
        c.campioni += r.campioni();
        c.solutore += r.valutazioni() - r.campioni();
        c.completi += r.calcoliCompleti();
        c.setGiorni += giorni;
    };
    Conto lista, catalogo;
    for (int n = 1; n <= 200; ++n)
        cerca(bench::Insieme_Prova(n), 10, lista);
    for (int n = 1; n <= 2000; ++n)
        cerca(bench::Catalogo_Prova(n), 1, catalogo);
    for (const Conto* c : {&lista, &catalogo}) {
        SCOPED_TRACE(c == &lista ? "working-list sets" : "catalogue sets");
        ASSERT_GT(c->passaggi, 1000);
        const double perGiorno = double(c->campioni) / c->setGiorni;
        const double perPassaggio = double(c->solutore) / double(c->passaggi);
        std::printf("%s: %.1f scan points a satellite-day, %.2f solver evaluations a pass\n",
                    c == &lista ? "list" : "catalogue", perGiorno, perPassaggio);
        EXPECT_GT(perGiorno, c == &lista ? 55.0 : 72.0);
        EXPECT_LT(perGiorno, c == &lista ? 70.0 : 90.0);
        EXPECT_LE(perPassaggio, 10.0);
        // Three full computations a pass: its rise, culmination and set.
        EXPECT_EQ(c->completi, 3 * c->passaggi);
    }
}

// Every pass a scan every 10 s sees (each stretch above the limit) is
// among the search's, for low and decaying objects whose passes last under
// a minute as for the other families; sets 5346, 8709 and 19587 of the
// catalogue pass almost overhead at 160 km for less than a minute.
TEST(PassSearchBudget, NothingMissedAgainstATenSecondScan)
{
    std::vector<int> insiemi = {5346, 8709, 19587};
    int decadimento = 0;
    for (int n = 1; decadimento < 20; ++n)
        if (bench::catalogo::Famiglia_Di(n) == bench::catalogo::InDecadimento) {
            insiemi.push_back(n);
            ++decadimento;
        }
    for (const int n : Insiemi_Misti())
        insiemi.push_back(n);
    astro::OpzioniSatellite opz;
    opz.propagatore = astro::PropagatoreSDP4;
    const astro::Osservatore milano{45.47, 9.19, 120};
    const double lim = 10.0, tf = kInizio + 1;
    int visti = 0;
    for (const int n : insiemi) {
        const Satelement s = Analizza(bench::Catalogo_Prova(n));
        if (core::Satellite_Escluso(s.MotoMedio, s.Eccentricita))
            continue;
        std::vector<core::Passaggio> trovati;
        core::RicercaPassaggi r(s, milano, opz, lim, 1.0, 0);
        r.passaggio = [&](const core::Passaggio& p) { trovati.push_back(p); };
        r.PREDICI(kInizio, tf, core::Passo_Scansione(s.MotoMedio), core::kPassoPiccolo);
        astro::AltezzaSatellite luce(s, milano, opz);
        bool sopra = false;
        double inizio = 0;
        for (double t = kInizio;; t = std::min(tf, t + 10 * kSecondo)) {
            astro::VistaSatellite v;
            ASSERT_TRUE(luce.Calcola(t, v));
            if (v.altezza >= lim && !sopra) {
                sopra = true;
                inizio = t;
            }
            if ((v.altezza < lim || t >= tf) && sopra) {
                sopra = false;
                ++visti;
                bool trovato = false;
                for (const auto& p : trovati)
                    trovato = trovato || (p.sorgere.jd <= t && p.tramonto.jd >= inizio);
                EXPECT_TRUE(trovato) << "set " << n << ": the pass seen from JD " << std::fixed << inizio
                                     << " to " << t << " was missed";
            }
            if (t >= tf)
                break;
        }
    }
    EXPECT_GT(visti, 60);
}

// The search of many satellites gives the same results, bit for bit, on
// one, two and four workers: the mixed set and a thousand catalogue sets
// parsed by the workers themselves.
TEST(PassSearchBudget, WorkersGiveIdenticalResults)
{
    std::vector<core::RicercaMultipla::Voce> voci;
    for (const int n : Insiemi_Misti())
        voci.push_back({n, Analizza(bench::Catalogo_Prova(n)), std::nullopt});
    for (int n = 1; n <= 1000; ++n)
        voci.push_back({100000 + n, {}, bench::Catalogo_Prova(n)});
    astro::OpzioniSatellite opz;
    opz.propagatore = astro::PropagatoreSDP4;
    const astro::Osservatore milano{45.47, 9.19, 120};
    auto tutti = [&](int fili) {
        core::RicercaMultipla m(voci, milano, opz, 10.0, 1.0, 0, kInizio, kInizio + 1, false, fili);
        EXPECT_EQ(m.Fili(), fili);
        std::vector<core::RisultatiSatellite> out;
        core::RisultatiSatellite r;
        const auto inizio = std::chrono::steady_clock::now();
        while (!m.Finita() && std::chrono::steady_clock::now() - inizio < std::chrono::seconds(60))
            if (m.Prossimo(r, std::chrono::milliseconds(20)))
                out.push_back(std::move(r));
        return out;
    };
    const std::vector<core::RisultatiSatellite> uno = tutti(1);
    ASSERT_EQ(uno.size(), voci.size());
    size_t passaggi = 0;
    for (const auto& r : uno)
        passaggi += r.passaggi.size();
    EXPECT_GT(passaggi, 3000u);
    for (const int fili : {2, 4}) {
        SCOPED_TRACE(fili);
        const std::vector<core::RisultatiSatellite> altri = tutti(fili);
        ASSERT_EQ(altri.size(), uno.size());
        for (size_t i = 0; i < uno.size(); ++i) {
            const auto &a = uno[i], &b = altri[i];
            ASSERT_EQ(a.indice, voci[i].indice);
            ASSERT_EQ(b.indice, a.indice);
            EXPECT_EQ(b.nome, a.nome);
            EXPECT_EQ(b.saltato, a.saltato);
            EXPECT_EQ(b.esito, a.esito);
            EXPECT_EQ(b.erroreSolutore, a.erroreSolutore);
            ASSERT_EQ(b.passaggi.size(), a.passaggi.size()) << a.indice;
            for (size_t k = 0; k < a.passaggi.size(); ++k) {
                const core::Passaggio &p = a.passaggi[k], &q = b.passaggi[k];
                EXPECT_EQ(q.sorgere.jd, p.sorgere.jd);
                EXPECT_EQ(q.culmine.jd, p.culmine.jd);
                EXPECT_EQ(q.tramonto.jd, p.tramonto.jd);
                EXPECT_EQ(q.culmine.v.Altezza, p.culmine.v.Altezza);
                EXPECT_EQ(q.culmine.v.Stato, p.culmine.v.Stato);
                EXPECT_EQ(q.sorgere.locale, p.sorgere.locale);
                EXPECT_EQ(q.durata, p.durata);
            }
        }
    }
}

} // namespace
