// The pass search over 200 satellites and 10 days, as the prediction window
// runs it for the secondary satellites: low orbits of many inclinations and
// heights, some eccentric twelve-hour orbits and some geostationary ones
// (left out by the skip rule), from Milan, minimum height 10 degrees.
#include "core/element_parser.h"
#include "core/pass_search.h"

#include <QString>

#include <benchmark/benchmark.h>

#include "bench_sets.h"

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

void BM_PassSearch200Satellites10Days(benchmark::State& state)
{
    const std::vector<Satelement> sats = Satelliti();
    if (sats.size() != 200) {
        state.SkipWithError("the element sets did not parse");
        return;
    }
    astro::OpzioniSatellite opz;
    opz.propagatore = astro::PropagatoreSDP4;
    const astro::Osservatore milano{45.47, 9.19, 120};
    const double ti = 2461380.0, tf = ti + 10;
    long passaggi = 0, valutazioni = 0;
    for (auto _ : state) {
        passaggi = 0;
        valutazioni = 0;
        for (const Satelement& s : sats) {
            if (core::Satellite_Escluso(s.MotoMedio, s.Eccentricita))
                continue;
            core::RicercaPassaggi r(s, milano, opz, 10.0, 1.0, 0);
            r.continua = [] { return true; };
            r.passaggio = [&](const core::Passaggio& p) {
                benchmark::DoNotOptimize(p.culmine.jd);
                ++passaggi;
            };
            r.PREDICI(ti, tf, core::Passo_Scansione(s.MotoMedio), core::kPassoPiccolo);
            valutazioni += r.valutazioni();
        }
    }
    state.counters["passes"] = double(passaggi);
    state.counters["evaluations"] = double(valutazioni);
}
BENCHMARK(BM_PassSearch200Satellites10Days)->Unit(benchmark::kMillisecond);

} // namespace
