// What a repaint costs by day and in the night colours: the main window (its
// menu bar, toolbar, status bar and the empty workspace) and the Options
// dialog in it page by page (all 14 pages, each made current and repainted),
// offscreen, each measured by day before the night colours were ever on, at
// night, and by day again after them. A window repainted at night must cost
// no more than the same window by day. No caret blinks, so that a repaint
// holds nothing but itself.
#include "core/mlang.h"
#include "core/settings.h"
#include "platform/fakes.h"
#include "platform/services.h"
#include "settings/settings_dialog.h"
#include "shell/main_window.h"
#include "shell/night_colours.h"

#include <QApplication>
#include <QTabWidget>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Banco {
    int argc = 1;
    char name[20] = "bench_night_repaint";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
    std::unique_ptr<platform::FakeServices> fakes;
    std::unique_ptr<platform::ScopedServices> scope;
    std::unique_ptr<MDIForm1> principale;
    frmSettings* opzioni = nullptr;

    Banco()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
        QApplication::setCursorFlashTime(0);
        fakes = std::make_unique<platform::FakeServices>();
        scope = std::make_unique<platform::ScopedServices>(fakes->services());
        mLang::Imposta_Cartella_Programma(QStringLiteral(ASTROVELA_PROGRAM_DIR));
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_PROGRAM_DIR "/english.ini"));
        Leggi_impostazioni();
        principale = std::make_unique<MDIForm1>();
        principale->Lingua();
        principale->resize(1100, 800);
        principale->show();
        opzioni = frmSettings::Mostra(0);
        QApplication::processEvents();
    }
};

Banco& banco()
{
    static Banco b;
    return b;
}

enum Luce { Giorno, Notte, GiornoDopo };

void Metti(Luce luce)
{
    if (luce == Notte) {
        mNight::Prepara_Colori_Notte();
        mNight::Applica_Colori_Notte();
    } else if (luce == GiornoDopo) {
        mNight::Ripristina_Colori();
    }
    QApplication::processEvents();
}

void BM_MainWindow(benchmark::State& state, Luce luce)
{
    Banco& b = banco();
    Metti(luce);
    b.opzioni->parentWidget()->hide();
    QApplication::processEvents();
    for (auto _ : state)
        b.principale->repaint();
    b.opzioni->parentWidget()->show();
    QApplication::processEvents();
}

void BM_Options(benchmark::State& state, Luce luce)
{
    Banco& b = banco();
    Metti(luce);
    QTabWidget* pagine = b.opzioni->SSTab1;
    for (auto _ : state) {
        for (int p = 0; p < pagine->count(); ++p) {
            state.PauseTiming();
            pagine->setCurrentIndex(p);
            QApplication::processEvents();
            state.ResumeTiming();
            b.opzioni->repaint();
        }
    }
    state.counters["pages"] = pagine->count();
}


// In this order: by day, at night, by day again. ASTROVELA_BENCH_ITERATIONS
// fixes the number of repaints (for counting instructions under callgrind).
const int registrati = [] {
    const int n = qEnvironmentVariableIntValue("ASTROVELA_BENCH_ITERATIONS");
    const struct {
        const char* nome;
        Luce luce;
    } luci[] = {{"day", Giorno}, {"night", Notte}, {"day_after_night", GiornoDopo}};
    for (const auto& l : luci)
        for (const auto& [finestra, misura] : {std::pair{"BM_MainWindow/", &BM_MainWindow}, std::pair{"BM_Options/", &BM_Options}}) {
            auto* b = benchmark::RegisterBenchmark((std::string(finestra) + l.nome).c_str(), misura, l.luce);
            b->Unit(benchmark::kMicrosecond);
            if (n > 0)
                b->Iterations(n);
        }
    return 0;
}();

} // namespace
