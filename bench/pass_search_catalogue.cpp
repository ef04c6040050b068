// The "all satellites" pass search over a whole catalogue: 20,000 element
// sets (the benchmark sets' mix of low, twelve-hour eccentric and
// geostationary orbits, spread over planes and phases) over one day from
// Milan, minimum height 10 degrees, on one core and on all of them.
#include "core/pass_search.h"

#include <benchmark/benchmark.h>

#include "bench_sets.h"

#include <thread>
#include <vector>

namespace {

std::vector<core::RicercaMultipla::Voce> Catalogo()
{
    std::vector<core::RicercaMultipla::Voce> voci;
    for (int n = 1; n <= 20000; ++n)
        voci.push_back({n, {}, bench::Insieme_Prova(n)});
    return voci;
}

void Catalogo_Intero(benchmark::State& state, int fili)
{
    const std::vector<core::RicercaMultipla::Voce> voci = Catalogo();
    astro::OpzioniSatellite opz;
    opz.propagatore = astro::PropagatoreSDP4;
    const astro::Osservatore milano{45.47, 9.19, 120};
    const double ti = 2461380.0, tf = ti + 1;
    long passaggi = 0, satelliti = 0;
    for (auto _ : state) {
        passaggi = 0;
        satelliti = 0;
        core::RicercaMultipla m(voci, milano, opz, 10.0, 1.0, 0, ti, tf, false, fili);
        core::RisultatiSatellite r;
        while (!m.Finita()) {
            if (m.Prossimo(r, std::chrono::milliseconds(50))) {
                passaggi += long(r.passaggi.size());
                satelliti += r.saltato ? 0 : 1;
            }
        }
    }
    state.counters["threads"] = fili;
    state.counters["satellites"] = double(satelliti);
    state.counters["passes"] = double(passaggi);
}

void BM_Catalogue20000OneDayOneCore(benchmark::State& s) { Catalogo_Intero(s, 1); }
void BM_Catalogue20000OneDayAllCores(benchmark::State& s)
{
    Catalogo_Intero(s, int(std::max(1u, std::thread::hardware_concurrency())));
}
BENCHMARK(BM_Catalogue20000OneDayOneCore)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Catalogue20000OneDayAllCores)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
