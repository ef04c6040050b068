// The long-running check (not a test, not a timing of one thing): 200
// satellites in the working list with every live view open (world map,
// local sky chart, tracking table, planet table, time window, status bar),
// the simulated clock ticking as fast as the program can draw, for
// SOAK_SECONDS of wall-clock time (default 60; an hour is 3600). Reports the
// resident memory after the first minute's warm-up and at the end, and the
// tick time. Progress lines go to stderr every SOAK_REPORT seconds.
//   SOAK_SECONDS=3600 build/bench/bench_soak_live_views
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
#include <QElapsedTimer>
#include <QFile>

#include <benchmark/benchmark.h>

#include "bench_program.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

// Resident memory of the process in MB (VmRSS of /proc/self/status).
double memoriaMb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& riga : f.readAll().split('\n'))
        if (riga.startsWith("VmRSS:"))
            return riga.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

double secondiDaAmbiente(const char* nome, double predefinito)
{
    bool ok = false;
    const double v = qEnvironmentVariable(nome).toDouble(&ok);
    return ok && v > 0 ? v : predefinito;
}

void BM_SoakLiveViews(benchmark::State& state)
{
    int argc = 1;
    char nome[] = "bench_soak_live_views";
    char* argv[] = {nome, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};

    bench::Prepara_Programma();
    core::clockViews() = core::ClockViews{};
    pflgSatellite = true;
    pflgRicerca = true; // keep the list whole whatever the orbits do
    core::CentralClock& clock = core::CentralClock::instance();
    clock.Avvia_Simulazione(core::Data_Orologio(QDate(2026, 12, 7), QTime(18, 0, 0)));

    auto main = std::make_unique<MDIForm1>();
    maps::Collega_Mappa_Mondo(*main);
    maps::Collega_Cielo_Locale(*main);
    tables::Collega_Tabelle(*main);
    main->resize(1280, 900);
    main->show();
    for (const char* comando : {"mnuTerraMappaRettangolare", "mnuCieloMappaLocale", "mnuEffemeridiSatelliti",
                                "mnuEffemeridiPianeti", "mnuOpzioniData"}) {
        if (QAction* a = main->menuItem(QString::fromLatin1(comando)))
            a->trigger();
        QApplication::processEvents();
    }
    const core::ClockViews& viste = core::clockViews();
    if (gintNumSatelliti != 200 || !viste.worldMap || !viste.localSky || !viste.track || !viste.planets
        || !viste.time || !viste.status) {
        state.SkipWithError("the list or a live view did not open");
        return;
    }

    const double durata = secondiDaAmbiente("SOAK_SECONDS", 60);
    const double rapporto = secondiDaAmbiente("SOAK_REPORT", 300);
    const double riscaldamento = std::min(60.0, durata / 4);
    const double memoriaInizio = memoriaMb();
    double memoriaDopoRiscaldamento = 0;
    double tickMassimo = 0;
    long ticks = 0;
    QElapsedTimer orologio;
    for (auto _ : state) {
        orologio.start();
        double prossimoRapporto = rapporto;
        QElapsedTimer tick;
        while (orologio.elapsed() < durata * 1000) {
            tick.start();
            clock.tmrCentrale_Timer();
            QApplication::processEvents();
            tickMassimo = std::max(tickMassimo, tick.nsecsElapsed() / 1e6);
            ++ticks;
            const double s = orologio.elapsed() / 1000.0;
            if (memoriaDopoRiscaldamento == 0 && s >= riscaldamento)
                memoriaDopoRiscaldamento = memoriaMb();
            if (s >= prossimoRapporto) {
                std::fprintf(stderr, "soak: %6.0f s  %8ld ticks  %7.1f MB  %d satellites\n", s, ticks, memoriaMb(),
                             gintNumSatelliti);
                prossimoRapporto += rapporto;
            }
        }
    }
    const double secondi = orologio.elapsed() / 1000.0;
    state.counters["ticks"] = double(ticks);
    state.counters["tick_ms_mean"] = ticks ? secondi * 1000.0 / double(ticks) : 0;
    state.counters["tick_ms_max"] = tickMassimo;
    state.counters["rss_start_mb"] = memoriaInizio;
    state.counters["rss_warm_mb"] = memoriaDopoRiscaldamento;
    state.counters["rss_end_mb"] = memoriaMb();
    state.counters["satellites"] = gintNumSatelliti;
    main.reset();
    core::clockViews() = core::ClockViews{};
}
BENCHMARK(BM_SoakLiveViews)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
