// One tick of the central clock with 200 satellites and the three live
// views open at once: the world map, the local sky chart and the tracking
// table, as the program runs them every second.
#include "common/window_links.h"
#include "core/clock.h"
#include "core/data_files.h"
#include "core/globals_orbit.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "core/working_list.h"
#include "platform/fakes.h"
#include "platform/services.h"
#include "shell/main_window.h"

#include <QAction>
#include <QApplication>

#include <benchmark/benchmark.h>

#include "bench_program.h"

#include <memory>

namespace {

void BM_TickWorldMapLocalSkyTrackingTable(benchmark::State& state)
{
    int argc = 1;
    char name[] = "bench_tick_live_views";
    char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    bench::Prepara_Programma();
    core::clockViews() = core::ClockViews{};
    pflgSatellite = true;
    pflgRicerca = true;  // keep the list whole whatever the orbits do
    core::CentralClock& clock = core::CentralClock::instance();
    clock.Avvia_Simulazione(core::Data_Orologio(QDate(2026, 12, 7), QTime(21, 0, 0)));
    clock.tmrCentrale_Timer();
    auto main = std::make_unique<MDIForm1>();
    maps::Collega_Mappa_Mondo(*main);
    maps::Collega_Cielo_Locale(*main);
    tables::Collega_Tabelle(*main);
    main->resize(1280, 900);
    main->show();
    for (const char* comando : {"mnuTerraMappaRettangolare", "mnuCieloMappaLocale", "mnuEffemeridiSatelliti"}) {
        if (QAction* a = main->menuItem(QString::fromLatin1(comando)))
            a->trigger();
        QApplication::processEvents();
    }
    const core::ClockViews& viste = core::clockViews();
    if (!viste.worldMap || !viste.localSky || !viste.track || gintNumSatelliti != 200) {
        state.SkipWithError("the three views did not open with 200 satellites");
        return;
    }
    for (auto _ : state) {
        clock.Aggiorna();
        benchmark::DoNotOptimize(gudtValori[200].Altezza);
    }
    state.counters["satellites"] = gintNumSatelliti;
    main.reset();
    core::clockViews() = core::ClockViews{};
}
BENCHMARK(BM_TickWorldMapLocalSkyTrackingTable)->Unit(benchmark::kMillisecond);

} // namespace
