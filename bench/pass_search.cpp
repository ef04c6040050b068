// The pass search over 200 satellites and 10 days, as the prediction window
// runs it for the secondary satellites: low orbits of many inclinations and
// heights, some eccentric twelve-hour orbits and some geostationary ones
// (left out by the skip rule), from Milan, minimum height 10 degrees.
#include "core/element_parser.h"
#include "core/pass_search.h"

#include <QString>

#include <benchmark/benchmark.h>

#include <vector>

namespace {

std::vector<Satelement> Satelliti()
{
    std::vector<Satelement> sats;
    const TabellaFrequenze nessuna;
    for (int n = 1; n <= 200; ++n) {
        const QString num = QString::number(10000 + n);
        double moto = 14.0 + (n % 30) * 0.05;
        double ecc = 0.0001 * (n % 20);
        if (n % 25 == 0) {
            moto = 2.00561;
            ecc = 0.7;
        } else if (n % 40 == 0) {
            moto = 1.00273;
            ecc = 0.0002;
        }
        const QString l1 = QStringLiteral("1 %1U 20001A   26340.50000000  .00000100  00000-0  10000-4 0  9990")
                               .arg(num);
        const QString l2 = QStringLiteral("2 %1 %2 %3 %4 %5 %6 %7    10")
                               .arg(num)
                               .arg((n * 7) % 180 + 0.1234, 8, 'f', 4)
                               .arg((n * 37) % 360 + 0.5, 8, 'f', 4)
                               .arg(QString::number(qRound(ecc * 1e7)).rightJustified(7, '0'))
                               .arg((n * 53) % 360 + 0.25, 8, 'f', 4)
                               .arg((n * 91) % 360 + 0.75, 8, 'f', 4)
                               .arg(moto, 11, 'f', 8);
        Satelement e;
        if (core::Analizza_Elementi(QStringLiteral("SAT %1").arg(n).toStdString(), l1.toStdString(),
                                    l2.toStdString(), {}, nessuna, e)
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
