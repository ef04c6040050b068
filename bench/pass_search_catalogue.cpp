// The "all satellites" pass search over a whole catalogue: 20,000 distinct
// element sets with the public catalogue's mix of orbits (bench_sets.h) over
// one day from Milan, minimum height 10 degrees, on one worker, on four and
// on every core; beside it, in the same program, the plain reference finder
// (a 60 s scan on the light elevation-only evaluation) over the same sets.
//
// BM_CatalogueCheckAgainstDenseScan looks at what the search found rather
// than at its time: every pass a 10 s scan sees must be among the search's
// ("missed" counts those that are not). With ASTROVELA_PASSES_OUT set it
// writes every pass found (set, rise, culmination, set, in whole
// milliseconds) to that file; with ASTROVELA_PASSES_BEFORE it compares them
// with such a file written earlier ("differing" counts the sets whose passes
// are not the same within 0.5 s).
#include "core/element_parser.h"
#include "core/pass_search.h"

#include <benchmark/benchmark.h>

#include "bench_sets.h"
#include "pass_reference.h"

#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace {

constexpr int kInsiemi = 20000;
using bench::kInizio, bench::kLimite, bench::kMilano, bench::Opzioni;
constexpr double kFine = kInizio + 1;

std::vector<core::RicercaMultipla::Voce> Catalogo()
{
    std::vector<core::RicercaMultipla::Voce> voci;
    for (int n = 1; n <= kInsiemi; ++n)
        voci.push_back({n, {}, bench::Catalogo_Prova(n)});
    return voci;
}

// Every set's passes as the search gives them.
std::vector<core::RisultatiSatellite> Cerca_Tutti(const std::vector<core::RicercaMultipla::Voce>& voci, int fili)
{
    std::vector<core::RisultatiSatellite> out;
    out.reserve(voci.size());
    core::RicercaMultipla m(voci, kMilano, Opzioni(), kLimite, 1.0, 0, kInizio, kFine, false, fili);
    core::RisultatiSatellite r;
    while (!m.Finita())
        if (m.Prossimo(r, std::chrono::milliseconds(50)))
            out.push_back(std::move(r));
    return out;
}

void Catalogo_Intero(benchmark::State& state, int fili)
{
    const std::vector<core::RicercaMultipla::Voce> voci = Catalogo();
    long passaggi = 0, satelliti = 0;
    for (auto _ : state) {
        passaggi = 0;
        satelliti = 0;
        // The results taken one by one as the window takes them.
        core::RicercaMultipla m(voci, kMilano, Opzioni(), kLimite, 1.0, 0, kInizio, kFine, false, fili);
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
void BM_Catalogue20000OneDayFourCores(benchmark::State& s) { Catalogo_Intero(s, 4); }
void BM_Catalogue20000OneDayAllCores(benchmark::State& s)
{
    Catalogo_Intero(s, int(std::max(1u, std::thread::hardware_concurrency())));
}
BENCHMARK(BM_Catalogue20000OneDayOneCore)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Catalogue20000OneDayFourCores)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Catalogue20000OneDayAllCores)->Unit(benchmark::kMillisecond)->UseRealTime();

// The reference finder over the catalogue on the light evaluation, each set
// parsed as the search parses it and left out by the same skip rule.
template <typename Fai>
void Per_Ogni_Insieme(int fili, Fai&& fai)
{
    std::atomic<int> prossimo{1};
    std::vector<std::thread> lavoratori;
    for (int k = 0; k < fili; ++k)
        lavoratori.emplace_back([&] {
            for (int n; (n = prossimo.fetch_add(1)) <= kInsiemi;) {
                const RigaDati r = bench::Catalogo_Prova(n);
                Satelement s;
                if (core::Analizza_Elementi(r.Riga0, r.Riga1, r.Riga2, {}, {}, s) != core::ErroreElementi::Nessuno
                    || core::Satellite_Escluso(s.MotoMedio, s.Eccentricita))
                    continue;
                fai(n, s);
            }
        });
    for (auto& t : lavoratori)
        t.join();
}

void BM_CatalogueReferenceScan60sElevationOnly(benchmark::State& state)
{
    long passaggi = 0, valutazioni = 0;
    for (auto _ : state) {
        passaggi = 0;
        valutazioni = 0;
        Per_Ogni_Insieme(1, [&](int, const Satelement& s) {
            passaggi += bench::Riferimento_Solo_Altezza(s, kMilano, Opzioni(), kInizio, kFine, kLimite, valutazioni);
        });
    }
    state.counters["passes"] = double(passaggi);
    state.counters["evaluations"] = double(valutazioni);
}
BENCHMARK(BM_CatalogueReferenceScan60sElevationOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// What the search found, against a 10 s scan and against an earlier run.
void BM_CatalogueCheckAgainstDenseScan(benchmark::State& state)
{
    const std::vector<core::RicercaMultipla::Voce> voci = Catalogo();
    const int fili = int(std::max(1u, std::thread::hardware_concurrency()));
    long mancati = 0, densi = 0, trovati = 0, diversi = 0;
    for (auto _ : state) {
        const std::vector<core::RisultatiSatellite> risultati = Cerca_Tutti(voci, fili);
        std::vector<std::vector<bench::PassaggioRif>> rif(kInsiemi + 1);
        Per_Ogni_Insieme(fili, [&](int n, const Satelement& s) {
            astro::AltezzaSatellite luce(s, kMilano, Opzioni());
            long valutazioni = 0;
            bench::Cerca_Riferimento(
                [&](double t) {
                    astro::VistaSatellite v;
                    luce.Calcola(t, v);
                    return v.altezza;
                },
                kInizio, kFine, kLimite, 10, valutazioni, &rif[size_t(n)]);
        });
        std::ostringstream testo;
        for (const auto& r : risultati) {
            trovati += long(r.passaggi.size());
            for (const bench::PassaggioRif& a : rif[size_t(r.indice)]) {
                ++densi;
                bool visto = false;
                for (const core::Passaggio& p : r.passaggi)
                    visto = visto || (p.sorgere.jd <= a.tramonto && p.tramonto.jd >= a.sorgere);
                mancati += visto ? 0 : 1;
                if (!visto && mancati <= 20)
                    std::fprintf(stderr, "missed: set %d, rise %.6f, culmination %.6f, set %.6f\n", r.indice,
                                 a.sorgere, a.culmine, a.tramonto);
            }
            testo << r.indice;
            for (const core::Passaggio& p : r.passaggi)
                for (const double t : {p.sorgere.jd, p.culmine.jd, p.tramonto.jd})
                    testo << ' ' << std::llround((t - kInizio) * 86400000.0);
            testo << '\n';
        }
        if (const char* file = std::getenv("ASTROVELA_PASSES_OUT"))
            std::ofstream(file) << testo.str();
        if (const char* file = std::getenv("ASTROVELA_PASSES_BEFORE")) {
            std::ifstream prima(file);
            std::istringstream dopo(testo.str());
            std::string a, b;
            while (std::getline(dopo, b)) {
                if (!std::getline(prima, a)) {
                    ++diversi;
                    continue;
                }
                std::istringstream sa(a), sb(b);
                std::vector<long long> va, vb;
                for (long long x; sa >> x;)
                    va.push_back(x);
                for (long long x; sb >> x;)
                    vb.push_back(x);
                bool uguali = va.size() == vb.size();
                for (size_t k = 1; uguali && k < va.size(); ++k)
                    uguali = std::llabs(va[k] - vb[k]) <= 500;
                diversi += uguali ? 0 : 1;
            }
        }
    }
    state.counters["passes"] = double(trovati);
    state.counters["dense_scan_passes"] = double(densi);
    state.counters["missed"] = double(mancati);
    state.counters["differing"] = double(diversi);
}
BENCHMARK(BM_CatalogueCheckAgainstDenseScan)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
