// Speed of the satellite computation: one state for a low, a Molniya and a
// geostationary orbit (model set-up included, as every clock tick does it
// without a cache), the whole working list of 200 satellites at one instant,
// and the pass solvers over ten days for one low satellite.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "astro/pass_solver.h"
#include "astro/satellite.h"
#include "astro/time.h"
#include "tests/astro/sat_test_support.h"

namespace {

Satelement Da_Righe(const std::string& l1, const std::string& l2)
{
    Satelement s = sattest::Da_Righe("", l1, l2);
    s.MagnitudineStandard = "4.0";
    return s;
}

const Satelement& Leo()
{
    static const Satelement s = Da_Righe("1 06251U 62025E   06176.82412014  .00008885  00000-0  12808-3 0  3985",
                                         "2 06251  58.0579  54.0425 0030035 139.1568 221.1854 15.56387291  6774");
    return s;
}
const Satelement& Molniya()
{
    static const Satelement s = Da_Righe("1 08195U 75081A   06176.33215444  .00000099  00000-0  11873-3 0   813",
                                         "2 08195  64.1586 279.0717 6877146 264.7651  20.2257  2.00491383225656");
    return s;
}
const Satelement& Geo()
{
    static const Satelement s = Da_Righe("1 24208U 96044A   06177.04061740 -.00000094  00000-0  10000-3 0  1600",
                                         "2 24208   3.8536  80.0121 0026640 311.0977  48.3000  1.00778054 36119");
    return s;
}

const astro::Osservatore kOss{41.9, 12.5, 50.0};

astro::OpzioniSatellite Opzioni()
{
    astro::OpzioniSatellite o;
    o.propagatore = astro::PropagatoreSDP4;  // "SGP4 + SDP4"
    return o;
}

// The instants of the clock ticks: one a second through the hour that
// starts at giorni days after the epoch, over and over, so that the cost
// does not drift with the number of iterations (the deep-space resonance
// integration grows with the time from the epoch).
struct Ticks {
    double inizio;
    int k = 0;
    double operator()() { return inizio + (k++ % 3600) / 86400.0; }
};

// One state, set-up included, three days after the epoch.
void Stato(benchmark::State& state, const Satelement& s)
{
    const auto opz = Opzioni();
    Valori v;
    astro::UsciteSatellite u;
    Ticks tick{s.EpocaGiuliana + 3.0};
    for (auto _ : state)
        benchmark::DoNotOptimize(astro::Calcola_Satellite(s, kOss, opz, tick(), v, u));
}
// The same with the slot's set-up kept between ticks, as the working list does.
void Stato_Cache(benchmark::State& state, const Satelement& s)
{
    const auto opz = Opzioni();
    Valori v;
    astro::UsciteSatellite u;
    astro::ModelloSatellite modello;
    Ticks tick{s.EpocaGiuliana + 3.0};
    for (auto _ : state)
        benchmark::DoNotOptimize(astro::Calcola_Satellite(s, kOss, opz, tick(), v, u, &modello));
}
void BM_Calcola_Satellite_LEO_Cache(benchmark::State& st) { Stato_Cache(st, Leo()); }
void BM_Calcola_Satellite_Molniya_Cache(benchmark::State& st) { Stato_Cache(st, Molniya()); }
void BM_Calcola_Satellite_GEO_Cache(benchmark::State& st) { Stato_Cache(st, Geo()); }
BENCHMARK(BM_Calcola_Satellite_LEO_Cache);
BENCHMARK(BM_Calcola_Satellite_Molniya_Cache);
BENCHMARK(BM_Calcola_Satellite_GEO_Cache);

void BM_Calcola_Satellite_LEO(benchmark::State& st) { Stato(st, Leo()); }
void BM_Calcola_Satellite_Molniya(benchmark::State& st) { Stato(st, Molniya()); }
void BM_Calcola_Satellite_GEO(benchmark::State& st) { Stato(st, Geo()); }
BENCHMARK(BM_Calcola_Satellite_LEO);
BENCHMARK(BM_Calcola_Satellite_Molniya);
BENCHMARK(BM_Calcola_Satellite_GEO);

// The geostationary set a month old: the resonance integration restarts at
// the epoch on every call, one step per half day.
void BM_Calcola_Satellite_GEO_30_giorni(benchmark::State& state)
{
    const auto opz = Opzioni();
    Valori v;
    astro::UsciteSatellite u;
    Ticks tick{Geo().EpocaGiuliana + 30.0};
    for (auto _ : state)
        benchmark::DoNotOptimize(astro::Calcola_Satellite(Geo(), kOss, opz, tick(), v, u));
}
BENCHMARK(BM_Calcola_Satellite_GEO_30_giorni);

// A working list of 200: 170 low orbits, 20 Molniya-type, 10 geostationary,
// each a little different, all computed for one clock tick.
std::vector<Satelement> Lista()
{
    std::vector<Satelement> l;
    for (int i = 0; i < 200; ++i) {
        Satelement s = i < 170 ? Leo() : (i < 190 ? Molniya() : Geo());
        s.NodoAscendente = std::fmod(s.NodoAscendente + 7.3 * i, 360.0);
        s.AnomaliaMedia = std::fmod(s.AnomaliaMedia + 13.1 * i, 360.0);
        l.push_back(s);
    }
    return l;
}

void Lista_Tick(benchmark::State& state, bool cache)
{
    const auto lista = Lista();
    const auto opz = Opzioni();
    std::vector<Valori> valori(lista.size());
    std::vector<astro::ModelloSatellite> modelli(lista.size());
    astro::UsciteSatellite u;
    Ticks tick{Leo().EpocaGiuliana + 3.0};
    for (auto _ : state) {
        const double jd = tick();
        for (size_t i = 0; i < lista.size(); ++i)
            astro::Calcola_Satellite(lista[i], kOss, opz, jd, valori[i], u, cache ? &modelli[i] : nullptr);
        benchmark::DoNotOptimize(valori.data());
    }
}
void BM_Lista_200_Satelliti(benchmark::State& st) { Lista_Tick(st, false); }
void BM_Lista_200_Satelliti_Cache(benchmark::State& st) { Lista_Tick(st, true); }
BENCHMARK(BM_Lista_200_Satelliti)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Lista_200_Satelliti_Cache)->Unit(benchmark::kMicrosecond);

// The pass search's solver work for one low satellite over ten days: step a
// quarter of the period at a time; where the elevation peaks between steps,
// the culmination by the minimiser and, for passes above the horizon, rise
// and set by widening and root finding.
void BM_Passaggi_LEO_10_giorni(benchmark::State& state)
{
    const Satelement& s = Leo();
    const auto opz = Opzioni();
    int passaggi = 0;
    for (auto _ : state) {
        astro::ModelloSatellite modello;
        Valori ultimo;
        const auto f = astro::Funzione_Passaggio(s, kOss, opz, 0.0, modello, &ultimo);
        const double passo = 1.0 / s.MotoMedio / 4.0;  // a quarter of the period, days
        const double inizio = s.EpocaGiuliana, fine = inizio + 10.0;
        passaggi = 0;
        double t = inizio;
        double fa = f(t), fb = f(t + passo);
        while (t + 2 * passo < fine) {
            const double fc = f(t + 2 * passo);
            if (fb < fa && fb < fc) {
                double tMin = 0, fMin = 0;
                if (astro::Trova_Massimo_Passaggio(f, t, t + 2 * passo, tMin, fMin) == astro::EsitoSolutore::Ok &&
                    fMin < 0) {
                    double t1 = tMin - passo / 8, tz = 0, fz = 0;
                    if (astro::Espandi_Intervallo(f, tMin, t1) == astro::EsitoSolutore::Ok)
                        astro::Trova_Zero_Passaggio(f, t1, tMin, tz, fz);
                    double t2 = tMin + passo / 8;
                    if (astro::Espandi_Intervallo(f, tMin, t2) == astro::EsitoSolutore::Ok)
                        astro::Trova_Zero_Passaggio(f, tMin, t2, tz, fz);
                    ++passaggi;
                }
            }
            t += passo;
            fa = fb;
            fb = fc;
        }
        benchmark::DoNotOptimize(passaggi);
    }
    state.counters["passaggi"] = passaggi;
}
BENCHMARK(BM_Passaggi_LEO_10_giorni)->Unit(benchmark::kMillisecond);

}  // namespace
