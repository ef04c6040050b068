// A listing of five million lines (an ephemeris of 58 days at a 1 s step, the
// observer's view): generated, shown, scrolled to its end and saved, with the
// peak memory of the process. The listing keeps each line as its figures and
// the view formats only the lines in sight, so the peak stays well below what
// five million texts would take and the end of the listing shows at once.
#include "common/progress_window.h"
#include "core/element_parser.h"
#include "core/globals_orbit.h"
#include "core/globals_time.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "listings/listing_model.h"
#include "listings/listing_window.h"
#include "platform/fakes.h"
#include "platform/services.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QListView>
#include <QScrollBar>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <memory>

namespace {

// The peak resident memory of the process so far, MB.
double Picco_MB()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) / 1024.0;
}

struct Applicazione {
    int argc = 1;
    char name[14] = "bench_listing";
    char* argv[2] = {name, nullptr};
    std::unique_ptr<QApplication> app;
    Applicazione()
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    }
};

// The program's settings with an observer in Milan (SGP4) and the ISS in the
// scratch slot, as both listings start from.
void Prepara_Elenco()
{
    Impostazioni_default();
    gintPropagatore = 3;
    gsngLatitudine = 45.464f;
    gsngLongitudine = 9.19f;
    gsngFusoOrario = 1;
    mLang::Imposta_Cartella_Programma(QStringLiteral(ASTROVELA_PROGRAM_DIR));
    mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_PROGRAM_DIR "/english.ini"));
    Estrai_Dati_Satellite(kSlotScratch, "ISS (ZARYA)",
                          "1 25544U 98067A   13330.58127943  .00000814  00000-0  21834-4 0  1064",
                          "2 25544  51.6484  23.7537 0001246  74.1647  18.7420 15.50540527859894");
}

void BM_Listing5MillionLines(benchmark::State& state)
{
    Applicazione applicazione;
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    QTemporaryDir cartella;
    Prepara_Elenco();
    const qint64 righe = state.range(0);
    const QDateTime inizio(QDate(2013, 11, 26), QTime(15, 0), Qt::UTC);
    const QDateTime fine = inizio.addSecs(righe - 1);
    const double base = Picco_MB();

    for (auto _ : state) {
        auto d = std::make_unique<frmDetails>();
        d->resize(900, 600);
        d->show();
        QApplication::processEvents();

        QElapsedTimer t;
        t.start();
        double passo = 1;
        d->Genera_elenco(kSlotScratch, inizio, fine, passo, 1);
        const double genera = t.elapsed() / 1000.0;

        t.restart();
        QApplication::processEvents();
        d->List1->viewport()->repaint();
        const double mostra = t.elapsed();

        t.restart();
        d->List1->scrollToBottom();
        d->List1->viewport()->repaint();
        QApplication::processEvents();
        const double scorri = t.nsecsElapsed() / 1e6;
        const bool allaFine =
            d->List1->verticalScrollBar()->value() == d->List1->verticalScrollBar()->maximum();

        const QString file = cartella.filePath(QStringLiteral("listing.txt"));
        fakes.files.fileAnswers = {file};
        t.restart();
        const bool salvato = d->Salva();
        const double salva = t.elapsed() / 1000.0;

        state.counters["lines"] = double(d->numeroRighe());
        state.counters["generate_s"] = genera;
        state.counters["show_ms"] = mostra;
        state.counters["scroll_to_end_ms"] = scorri;
        state.counters["save_s"] = salva;
        state.counters["file_MB"] = double(QFileInfo(file).size()) / (1024.0 * 1024.0);
        state.counters["cells_MB"] = double(d->Elenco()->Memoria()) / (1024.0 * 1024.0);
        state.counters["peak_MB"] = Picco_MB();
        state.counters["start_MB"] = base;
        if (!salvato || !allaFine)
            state.SkipWithError("the listing was not saved or not scrolled to its end");
        d.reset();
        frmProgress::Unload();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_Listing5MillionLines)->Arg(500'000)->Arg(5'000'000)->Iterations(1)->Unit(benchmark::kSecond);

// Generation alone, per listing type: the ephemeris of types 1 to 4 (ISS) and
// the relative motion of types 1 to 4 (ISS and a rocket body's debris),
// 200,000 lines at a 1 s step; ns_per_line is the figure to compare.
void BM_ListingGenerate(benchmark::State& state)
{
    Applicazione applicazione;
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    Prepara_Elenco();
    Estrai_Dati_Satellite(kSlotSecondo, "DELTA 1 DEB",
                          "1 06251U 62025E   13330.50000000  .00008885  00000-0  12808-3 0  3985",
                          "2 06251  58.0579  54.0425 0030035 139.1568 221.1854 15.56387291  6774");
    const int tipo = int(state.range(0));
    const bool relativo = state.range(1) != 0;
    const qint64 righe = 200'000;
    const QDateTime inizio(QDate(2013, 11, 26), QTime(15, 0), Qt::UTC);
    const QDateTime fine = inizio.addSecs(righe - 1);
    for (auto _ : state) {
        auto d = std::make_unique<frmDetails>();
        QElapsedTimer t;
        t.start();
        double passo = 1;
        const bool fatto = relativo ? d->Genera_relativo(inizio, fine, passo, tipo)
                                    : d->Genera_elenco(kSlotScratch, inizio, fine, passo, tipo);
        const double ns = double(t.nsecsElapsed());
        state.counters["lines"] = double(d->numeroRighe());
        state.counters["ns_per_line"] = ns / double(righe);
        if (!fatto || d->numeroRighe() < righe)
            state.SkipWithError("the listing was not generated whole");
        d.reset();
        frmProgress::Unload();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ListingGenerate)
    ->ArgNames({"type", "relative"})
    ->ArgsProduct({{1, 2, 3, 4}, {0, 1}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
