// One tick of the central clock with 200 satellites in the working list and
// no view open: the simulated clock steps one second, the time quantities,
// every satellite, the principal's panel texts, the status-bar date, the Sun,
// the Moon and the planets.
#include "core/clock.h"
#include "core/data_files.h"
#include "core/globals_orbit.h"
#include "core/settings.h"
#include "core/working_list.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {

// 200 plausible element sets: low orbits of many inclinations and heights,
// some eccentric twelve-hour orbits and some geostationary ones.
void riempiLista()
{
    core::WorkingList& lista = core::WorkingList::instance();
    lista.setFile({});
    lista.Rimuovi_Tutti();
    core::WorkingList::Modifica insieme;
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
        lista.Aggiungi({QStringLiteral("SAT %1").arg(n).toStdString(), l1.toStdString(), l2.toStdString()});
    }
}

void BM_TickWith200Satellites(benchmark::State& state)
{
    int argc = 1;
    char name[] = "bench_tick";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    Impostazioni_default();
    gintPropagatore = 3;
    gsngLatitudine = 45.47f;
    gsngLongitudine = 9.19f;
    gsngFusoOrario = 1;
    Carica_dati(QStringLiteral(ASTROVELA_PROGRAM_DIR));
    riempiLista();
    if (gintNumSatelliti != 200) {
        state.SkipWithError("the working list did not fill");
        return;
    }
    core::clockViews() = core::ClockViews{};
    core::CentralClock& clock = core::CentralClock::instance();
    pflgSatellite = true;
    pflgRicerca = true; // keep the list whole whatever the orbits do
    clock.Avvia_Simulazione(core::Data_Orologio(QDate(2026, 12, 7), QTime(21, 0, 0)));
    for (auto _ : state) {
        clock.tmrCentrale_Timer();
        benchmark::DoNotOptimize(gudtValori[200].Altezza);
    }
    int calcolati = 0;
    for (int k = 1; k <= gintNumSatelliti; ++k)
        calcolati += gudtValori[k].Periodo > 0 ? 1 : 0;
    state.counters["satellites"] = gintNumSatelliti;
    state.counters["computed"] = calcolati;
}
BENCHMARK(BM_TickWith200Satellites)->Unit(benchmark::kMillisecond);

} // namespace
