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

const astro::Osservatore kMilano{45.47, 9.19, 120};
constexpr double kInizio = 2461380.0, kFine = kInizio + 10;
constexpr double kLimite = 10.0;

astro::OpzioniSatellite Opzioni()
{
    astro::OpzioniSatellite opz;
    opz.propagatore = astro::PropagatoreSDP4;
    return opz;
}

void BM_PassSearch200Satellites10Days(benchmark::State& state)
{
    const std::vector<Satelement> sats = Satelliti();
    if (sats.size() != 200) {
        state.SkipWithError("the element sets did not parse");
        return;
    }
    const astro::OpzioniSatellite opz = Opzioni();
    long passaggi = 0, valutazioni = 0, campioni = 0, completi = 0;
    for (auto _ : state) {
        passaggi = 0;
        valutazioni = 0;
        campioni = 0;
        completi = 0;
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
        }
    }
    state.counters["passes"] = double(passaggi);
    state.counters["evaluations"] = double(valutazioni);
    state.counters["scan"] = double(campioni);
    state.counters["full"] = double(completi);
}
BENCHMARK(BM_PassSearch200Satellites10Days)->Unit(benchmark::kMillisecond);

// The plain finder: a stretch above the limit seen by the 60 s scan is a
// pass; its rise and set bisected to 1 s, its culmination by golden section
// to 1 s around the highest sample, then the three events computed in full.
template <typename Altezza>
long Cerca_Riferimento(Altezza&& altezza, double ti, double tf, long& valutazioni)
{
    const double passo = 60.0 / 86400.0, secondo = 1.0 / 86400.0;
    auto e = [&](double t) {
        ++valutazioni;
        return altezza(t);
    };
    auto bisezione = [&](double a, double b) {
        const bool sopraA = e(a) >= kLimite;
        while (b - a > secondo) {
            const double m = 0.5 * (a + b);
            ((e(m) >= kLimite) == sopraA ? a : b) = m;
        }
        return 0.5 * (a + b);
    };
    auto aurea = [&](double a, double b) {
        const double r = 0.6180339887498949;
        double c = b - r * (b - a), d = a + r * (b - a), fc = e(c), fd = e(d);
        while (b - a > secondo) {
            if (fc > fd) {
                b = d, d = c, fd = fc, c = b - r * (b - a), fc = e(c);
            } else {
                a = c, c = d, fc = fd, d = a + r * (b - a), fd = e(d);
            }
        }
        return 0.5 * (a + b);
    };
    long passaggi = 0;
    double tPrec = ti, ePrec = e(ti);
    bool sopra = ePrec >= kLimite;
    double sorgere = ti, tMax = ti, eMax = ePrec;
    for (double t = ti + passo; tPrec < tf; t += passo) {
        t = std::min(t, tf);
        const double et = e(t);
        if (!sopra && et >= kLimite) {
            sopra = true;
            sorgere = bisezione(tPrec, t);
            tMax = t, eMax = et;
        } else if (sopra && et >= kLimite && et > eMax) {
            tMax = t, eMax = et;
        } else if (sopra && et < kLimite) {
            sopra = false;
            const double tramonto = bisezione(tPrec, t);
            const double culmine = aurea(std::max(ti, tMax - passo), std::min(tf, tMax + passo));
            benchmark::DoNotOptimize(sorgere + culmine + tramonto);
            ++passaggi;
        }
        tPrec = t, ePrec = et;
    }
    if (sopra)
        ++passaggi;
    return passaggi;
}

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
                passaggi += Cerca_Riferimento(altezza, kInizio, kFine, valutazioni);
            } else {
                astro::AltezzaSatellite luce(s, kMilano, opz);
                auto altezza = [&](double t) {
                    astro::VistaSatellite v;
                    luce.Calcola(t, v);
                    return v.altezza;
                };
                passaggi += Cerca_Riferimento(altezza, kInizio, kFine, valutazioni);
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
