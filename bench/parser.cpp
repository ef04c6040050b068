// Parsing a full catalogue: 30,000 element sets (the sample sets of the tests
// with catalogue numbers 1 to 30000) read into the scratch slot, with the
// magnitude and frequency tables of the program folder loaded, as the
// database window's horizon selection and the working-list loads do.
#include "core/data_files.h"
#include "core/element_parser.h"
#include "astro/satellite.h"

#include <QFile>
#include <QList>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int kSets = 30000;
constexpr int kScratchSlot = 201;

struct Set {
    std::string riga0, riga1, riga2;
};

const std::vector<Set>& catalogue()
{
    static const std::vector<Set> sets = [] {
        std::vector<Set> out;
        QFile in(QStringLiteral(ASTROVELA_TEST_DATA "/elements_sample.txt"));
        if (!in.open(QIODevice::ReadOnly))
            return out;
        const QList<QByteArray> lines = in.readAll().split('\n');
        const int samples = int(lines.size() / 3);
        out.reserve(kSets);
        for (int i = 0; i < kSets; ++i) {
            const int c = i % samples;
            QByteArray r1 = lines[3 * c + 1].trimmed();
            QByteArray r2 = lines[3 * c + 2].trimmed();
            const QByteArray number = QByteArray::number(i + 1).rightJustified(5, '0');
            r1.replace(2, 5, number);
            r2.replace(2, 5, number);
            out.push_back({lines[3 * c].trimmed().toStdString(), r1.toStdString(), r2.toStdString()});
        }
        return out;
    }();
    return sets;
}

bool loadTables(benchmark::State& state)
{
    if (!Carica_dati(QStringLiteral(ASTROVELA_PROGRAM_DIR)) || Numero_Frequenze() < 100) {
        state.SkipWithError("the data files of the program folder did not load");
        return false;
    }
    if (catalogue().size() != std::size_t(kSets)) {
        state.SkipWithError("the sample sets did not load");
        return false;
    }
    return true;
}

void BM_ParseCatalogueIntoSlot(benchmark::State& state)
{
    if (!loadTables(state))
        return;
    for (auto _ : state) {
        for (const Set& s : catalogue())
            benchmark::DoNotOptimize(Estrai_Dati_Satellite(kScratchSlot, s.riga0, s.riga1, s.riga2));
    }
    state.SetItemsProcessed(state.iterations() * kSets);
}
BENCHMARK(BM_ParseCatalogueIntoSlot)->Unit(benchmark::kMillisecond);

void BM_ParseCatalogue(benchmark::State& state)
{
    if (!loadTables(state))
        return;
    Satelement e;
    for (auto _ : state) {
        for (const Set& s : catalogue()) {
            benchmark::DoNotOptimize(core::Analizza_Elementi(s.riga0, s.riga1, s.riga2, gstrMagnitudini,
                                                             gudtFrequenze, e));
        }
    }
    state.SetItemsProcessed(state.iterations() * kSets);
}
BENCHMARK(BM_ParseCatalogue)->Unit(benchmark::kMillisecond);

// Each set parsed and its elevation evaluation set up, as the search of
// every satellite of a file does for each one.
void BM_ParseAndSetUp(benchmark::State& state)
{
    if (!loadTables(state))
        return;
    const astro::Osservatore milano{45.47, 9.19, 120};
    astro::OpzioniSatellite opz;
    opz.propagatore = astro::PropagatoreSDP4;
    Satelement e;
    for (auto _ : state) {
        for (const Set& s : catalogue()) {
            if (core::Analizza_Elementi(s.riga0, s.riga1, s.riga2, gstrMagnitudini, gudtFrequenze, e)
                == core::ErroreElementi::Nessuno) {
                astro::AltezzaSatellite luce(e, milano, opz);
                benchmark::DoNotOptimize(&luce);
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * kSets);
}
BENCHMARK(BM_ParseAndSetUp)->Unit(benchmark::kMillisecond);

} // namespace
