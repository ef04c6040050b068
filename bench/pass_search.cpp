// The pass search over 200 satellites and 10 days, as the prediction window
// runs it for the secondary satellites: low orbits of many inclinations and
// heights, some eccentric twelve-hour orbits and some geostationary ones
// (left out by the skip rule), from Milan, minimum height 10 degrees; beside
// it, in the same program, a plain reference finder on the same propagator
// (a 60 s scan, rise and set bisected to 1 s, culmination by golden
// section), once with the full satellite computation at every point and
// once with the light elevation-only one. Each reports the passes it found.
#include "core/element_parser.h"
#include "core/pass_search.h"

#include <QString>

#include <benchmark/benchmark.h>

#include "bench_sets.h"
#include "pass_reference.h"

#include <algorithm>
#include <vector>

namespace {

std::vector<Satelement> Satelliti()
{
    std::vector<Satelement> sats;
    const TabellaFrequenze nessuna;
    for (int n = 1; n <= 200; ++n) {
        const RigaDati r = bench::Insieme_Prova(n);
        Satelement e;
        if (core::Analizza_Elementi(r.Riga0, r.Riga1, r.Riga2, {}, nessuna, e)
            == core::ErroreElementi::Nessuno)
            sats.push_back(e);
    }
    return sats;
}

using bench::kInizio, bench::kLimite, bench::kMilano, bench::Opzioni;
constexpr double kFine = kInizio + 10;

void BM_PassSearch200Satellites10Days(benchmark::State& state)
{
    const std::vector<Satelement> sats = Satelliti();
    if (sats.size() != 200) {
        state.SkipWithError("the element sets did not parse");
        return;
    }
    const astro::OpzioniSatellite opz = Opzioni();
    long passaggi = 0, valutazioni = 0, campioni = 0, completi = 0, solutori = 0, cercati = 0;
    for (auto _ : state) {
        passaggi = 0;
        valutazioni = 0;
        campioni = 0;
        completi = 0;
        solutori = 0;
        cercati = 0;
        for (const Satelement& s : sats) {
            if (core::Satellite_Escluso(s.MotoMedio, s.Eccentricita))
                continue;
            core::RicercaPassaggi r(s, kMilano, opz, kLimite, 1.0, 0);
            r.continua = [] { return true; };
            r.passaggio = [&](const core::Passaggio& p) {
                benchmark::DoNotOptimize(p.culmine.jd);
                ++passaggi;
            };
            r.PREDICI(kInizio, kFine, core::Passo_Scansione(s.MotoMedio), core::kPassoPiccolo);
            valutazioni += r.valutazioni() + r.calcoliCompleti();
            campioni += r.campioni();
            completi += r.calcoliCompleti();
            solutori += r.valutazioni() - r.campioni();
            ++cercati;
        }
    }
    const double setGiorni = double(cercati) * (kFine - kInizio);
    state.counters["scan_per_set_day"] = double(campioni) / setGiorni;
    state.counters["evals_per_set_day"] = double(valutazioni) / setGiorni;
    state.counters["solver_per_pass"] = double(solutori) / double(std::max(1L, passaggi));
    state.counters["passes"] = double(passaggi);
    state.counters["evaluations"] = double(valutazioni);
    state.counters["scan"] = double(campioni);
    state.counters["full"] = double(completi);
}
BENCHMARK(BM_PassSearch200Satellites10Days)->Unit(benchmark::kMillisecond);

void Riferimento(benchmark::State& state, bool completo)
{
    const std::vector<Satelement> sats = Satelliti();
    const astro::OpzioniSatellite opz = Opzioni();
    long passaggi = 0, valutazioni = 0;
    for (auto _ : state) {
        passaggi = 0;
        valutazioni = 0;
        for (const Satelement& s : sats) {
            if (core::Satellite_Escluso(s.MotoMedio, s.Eccentricita))
                continue;
            if (completo) {
                astro::ModelloSatellite modello;
                auto altezza = [&](double t) {
                    Valori v;
                    astro::UsciteSatellite u;
                    astro::Calcola_Satellite(s, kMilano, opz, t, v, u, &modello);
                    return v.Altezza;
                };
                passaggi += bench::Cerca_Riferimento(altezza, kInizio, kFine, kLimite, 60, valutazioni);
            } else {
                passaggi += bench::Riferimento_Solo_Altezza(s, kMilano, opz, kInizio, kFine, kLimite, valutazioni);
            }
        }
    }
    state.counters["passes"] = double(passaggi);
    state.counters["evaluations"] = double(valutazioni);
}

void BM_ReferenceFinderFullState(benchmark::State& state) { Riferimento(state, true); }
void BM_ReferenceFinderElevationOnly(benchmark::State& state) { Riferimento(state, false); }
BENCHMARK(BM_ReferenceFinderFullState)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReferenceFinderElevationOnly)->Unit(benchmark::kMillisecond);

} // namespace
