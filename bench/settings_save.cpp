// File > Save settings: every setting written to the settings file, as the
// menu command, the options dialog's Save and the question at exit do. The
// file lives in a folder made beside where the benchmark runs (a disk, not
// a memory file system, so that each write's sync to disk counts), or in
// ASTROVELA_BENCH_DIR when that names a folder.
//   NewProfile: a first save, every key new.
//   OneChange:  a save after one option changed.
#include "core/settings.h"
#include "platform/services.h"
#include "platform/settings_store.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QString cartellaBase()
{
    const QString scelta = qEnvironmentVariable("ASTROVELA_BENCH_DIR");
    return !scelta.isEmpty() && QDir(scelta).exists() ? scelta : QDir::currentPath();
}

// The settings of a new profile, the store installed for the program.
struct Profilo {
    QTemporaryDir cartella{cartellaBase() + QStringLiteral("/settings-bench-XXXXXX")};
    QString file = cartella.filePath(QStringLiteral("Astrovela/Astrovela.conf"));
    std::unique_ptr<platform::IniSettingsStore> store;
    std::unique_ptr<platform::ScopedServices> servizi;

    void nuovo()
    {
        servizi.reset();
        store.reset();
        QFile::remove(file);
        store = std::make_unique<platform::IniSettingsStore>(file);
        platform::Services s;
        s.settings = store.get();
        servizi = std::make_unique<platform::ScopedServices>(s);
    }

    // A new profile with the program's settings read: false (the benchmark
    // skipped) when there is no folder for it.
    bool pronto(benchmark::State& state)
    {
        if (!cartella.isValid()) {
            state.SkipWithError("no folder for the settings file");
            return false;
        }
        nuovo();
        Leggi_impostazioni();
        return true;
    }
};

// One File > Save settings; false (the benchmark stopped) when it fails.
bool salva(benchmark::State& state)
{
    QString errore;
    if (Salva_impostazioni(&errore))
        return true;
    state.SkipWithError(errore.toStdString().c_str());
    return false;
}

void NewProfile(benchmark::State& state)
{
    Profilo p;
    if (!p.pronto(state))
        return;
    for (auto _ : state) {
        state.PauseTiming();
        p.nuovo();
        state.ResumeTiming();
        if (!salva(state))
            return;
    }
}
BENCHMARK(NewProfile)->Unit(benchmark::kMillisecond);

void OneChange(benchmark::State& state)
{
    Profilo p;
    if (!p.pronto(state) || !salva(state))
        return;
    for (auto _ : state) {
        gintFormatoOra = gintFormatoOra == 3 ? 4 : 3;
        if (!salva(state))
            return;
    }
}
BENCHMARK(OneChange)->Unit(benchmark::kMillisecond);

} // namespace
