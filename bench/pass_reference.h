#pragma once
// A plain reference finder for the pass benchmarks: a stretch above the
// limit seen by a scan at a fixed step is a pass; its rise and set bisected
// to 1 s, its culmination by golden section to 1 s around the highest
// sample. It works on any elevation function of the Julian date.
#include <benchmark/benchmark.h>

#include "astro/satellite.h"

#include <algorithm>
#include <vector>

namespace bench {

// Where and from when both pass benchmarks search: Milan, minimum height 10
// degrees, from 2026 December 6.5 (UT), with SDP4 for deep-space sets.
const astro::Osservatore kMilano{45.47, 9.19, 120};
constexpr double kInizio = 2461380.0;
constexpr double kLimite = 10.0;

inline astro::OpzioniSatellite Opzioni()
{
    astro::OpzioniSatellite opz;
    opz.propagatore = astro::PropagatoreSDP4;
    return opz;
}

struct PassaggioRif {
    double sorgere = 0, culmine = 0, tramonto = 0;
};

template <typename Altezza>
long Cerca_Riferimento(Altezza&& altezza, double ti, double tf, double limite, double passoSecondi,
                       long& valutazioni, std::vector<PassaggioRif>* uscita = nullptr)
{
    const double passo = passoSecondi / 86400.0, secondo = 1.0 / 86400.0;
    auto e = [&](double t) {
        ++valutazioni;
        return altezza(t);
    };
    auto bisezione = [&](double a, double b) {
        const bool sopraA = e(a) >= limite;
        while (b - a > secondo) {
            const double m = 0.5 * (a + b);
            ((e(m) >= limite) == sopraA ? a : b) = m;
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
    bool sopra = ePrec >= limite;
    double sorgere = ti, tMax = ti, eMax = ePrec;
    for (double t = ti + passo; tPrec < tf; t += passo) {
        t = std::min(t, tf);
        const double et = e(t);
        if (!sopra && et >= limite) {
            sopra = true;
            sorgere = bisezione(tPrec, t);
            tMax = t, eMax = et;
        } else if (sopra && et >= limite && et > eMax) {
            tMax = t, eMax = et;
        } else if (sopra && et < limite) {
            sopra = false;
            const double tramonto = bisezione(tPrec, t);
            const double culmine = aurea(std::max(ti, tMax - passo), std::min(tf, tMax + passo));
            benchmark::DoNotOptimize(sorgere + culmine + tramonto);
            if (uscita)
                uscita->push_back({sorgere, culmine, tramonto});
            ++passaggi;
        }
        tPrec = t, ePrec = et;
    }
    if (sopra) {
        if (uscita)
            uscita->push_back({sorgere, tMax, tf});
        ++passaggi;
    }
    return passaggi;
}

// The reference finder on one satellite with the light elevation-only
// computation at every point (a 60 s scan): the passes it finds.
inline long Riferimento_Solo_Altezza(const Satelement& s, const astro::Osservatore& oss,
                                     const astro::OpzioniSatellite& opz, double ti, double tf, double limite,
                                     long& valutazioni)
{
    astro::AltezzaSatellite luce(s, oss, opz);
    auto altezza = [&](double t) {
        astro::VistaSatellite v;
        luce.Calcola(t, v);
        return v.altezza;
    };
    return Cerca_Riferimento(altezza, ti, tf, limite, 60, valutazioni);
}

} // namespace bench
