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

#include "bench_program.h"

namespace {

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
    bench::Riempi_Lista();
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
