// One tick of the central clock with 200 satellites and the world map open
// (every satellite drawn with its name, the principal's footprint, its data
// box), in both projections; and the regeneration of the map that the tick
// runs every 61 ticks (background, night side, grid, Sun, observer, ground
// track).
#include "core/clock.h"
#include "core/data_files.h"
#include "core/globals_orbit.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "core/working_list.h"
#include "platform/fakes.h"
#include "platform/services.h"
#include "shell/main_window.h"
#include "common/window_links.h"
#include "maps/world_map_window.h"

#include <QAction>
#include <QApplication>

#include <benchmark/benchmark.h>

#include "bench_program.h"

#include <memory>

namespace {

// The program with its main window, 200 satellites and the map open in one
// projection ("mnuTerraMappaRettangolare" or "mnuTerraMappaOrtografica").
struct Programma {
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    std::unique_ptr<MDIForm1> main;
    frmWorldMap* mappa = nullptr;

    explicit Programma(const char* comando)
    {
        bench::Prepara_Programma();
        core::clockViews() = core::ClockViews{};
        pflgSatellite = true;
        pflgRicerca = true; // keep the list whole whatever the orbits do
        core::CentralClock& clock = core::CentralClock::instance();
        clock.Avvia_Simulazione(core::Data_Orologio(QDate(2026, 12, 7), QTime(21, 0, 0)));
        clock.tmrCentrale_Timer();
        main = std::make_unique<MDIForm1>();
        maps::Collega_Mappa_Mondo(*main);
        main->resize(1200, 820);
        main->show();
        main->menuItem(QString::fromLatin1(comando))->trigger();
        mappa = frmWorldMap::instance(false);
        // The map's option marks as the default settings give them.
        QApplication::processEvents();
    }
    ~Programma()
    {
        frmWorldMap::Unload();
        main.reset();
        core::clockViews() = core::ClockViews{};
    }
};

// One application object per benchmark, on the offscreen platform unless
// another was chosen.
struct Applicazione {
    int argc = 1;
    char name[21] = "bench_tick_world_map";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
    Applicazione()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    }
};

// A tick without the regeneration: the clock's immediate refresh does the
// tick's whole work except moving the clock on and counting to 61.
void tick(benchmark::State& state, const char* comando)
{
    Applicazione applicazione;
    Programma p(comando);
    if (!p.mappa || gintNumSatelliti != 200) {
        state.SkipWithError("the map did not open with 200 satellites");
        return;
    }
    core::CentralClock& clock = core::CentralClock::instance();
    for (auto _ : state) {
        clock.Aggiorna();
        benchmark::DoNotOptimize(gudtValori[200].Altezza);
    }
    state.counters["satellites"] = gintNumSatelliti;
}

// The same tick with the map closed, for comparison.
void BM_TickWithoutMap(benchmark::State& state)
{
    Applicazione applicazione;
    Programma p("mnuTerraMappaRettangolare");
    core::clockViews().worldMap = nullptr;
    core::CentralClock& clock = core::CentralClock::instance();
    for (auto _ : state)
        clock.Aggiorna();
    core::clockViews().worldMap = p.mappa;
}
BENCHMARK(BM_TickWithoutMap)->Unit(benchmark::kMillisecond);

void rigenerazione(benchmark::State& state, const char* comando)
{
    Applicazione applicazione;
    Programma p(comando);
    if (!p.mappa) {
        state.SkipWithError("the map did not open");
        return;
    }
    for (auto _ : state)
        p.mappa->Genera_mappa();
}

void BM_TickWorldMapRecta(benchmark::State& s) { tick(s, "mnuTerraMappaRettangolare"); }
void BM_TickWorldMapOrtho(benchmark::State& s) { tick(s, "mnuTerraMappaOrtografica"); }
void BM_RegenerationRecta(benchmark::State& s) { rigenerazione(s, "mnuTerraMappaRettangolare"); }
void BM_RegenerationOrtho(benchmark::State& s) { rigenerazione(s, "mnuTerraMappaOrtografica"); }

BENCHMARK(BM_TickWorldMapRecta)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TickWorldMapOrtho)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegenerationRecta)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegenerationOrtho)->Unit(benchmark::kMillisecond);

} // namespace
