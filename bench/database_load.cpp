// Loading and sorting a full catalogue: 30,000 element sets (about 5 MB),
// made from the sample sets of the tests with catalogue numbers 1 to 30000.
// The window's redraw is not part of it.
#include "core/data_files.h"
#include "core/database.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kSets = 30000;
constexpr double kAdesso = 2460000.5;

const QString& catalogo()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        QFile in(QStringLiteral(ASTROVELA_TEST_DATA "/elements_sample.txt"));
        if (!in.open(QIODevice::ReadOnly))
            return QString();
        const QList<QByteArray> righe = in.readAll().split('\n');
        QByteArray out;
        out.reserve(kSets * 170);
        const int campioni = int(righe.size() / 3);
        for (int i = 0; i < kSets; ++i) {
            const int c = i % campioni;
            QByteArray r0 = righe[3 * c].trimmed() + ' ' + QByteArray::number(i / campioni);
            QByteArray r1 = righe[3 * c + 1].trimmed();
            QByteArray r2 = righe[3 * c + 2].trimmed();
            const QByteArray numero = QByteArray::number(i + 1).rightJustified(5, '0');
            r1.replace(2, 5, numero);
            r2.replace(2, 5, numero);
            out += r0.leftJustified(24, ' ') + "\r\n" + r1 + "\r\n" + r2 + "\r\n";
        }
        const QString p = dir.filePath(QStringLiteral("catalogue.txt"));
        QFile f(p);
        if (!f.open(QIODevice::WriteOnly) || f.write(out) != out.size())
            return QString();
        return p;
    }();
    return path;
}

void preparaMagnitudini()
{
    gstrMagnitudini.assign(25545, "");
    for (size_t i = 1; i < gstrMagnitudini.size(); i += 7)
        gstrMagnitudini[i] = "5.0";
}

void BM_LoadAndSortByName(benchmark::State& state)
{
    preparaMagnitudini();
    const QString& path = catalogo();
    for (auto _ : state) {
        auto e = core::Carica_File_Elementi(path, kAdesso, [](qsizetype, qsizetype) { return true; });
        if (!e.ok() || e.numero() != kSets) {
            state.SkipWithError("the catalogue did not load");
            break;
        }
        auto righe = core::Righe_Ordinate(e.voci, core::OrdineNome);
        benchmark::DoNotOptimize(righe.data());
    }
    state.SetItemsProcessed(state.iterations() * kSets);
}
BENCHMARK(BM_LoadAndSortByName)->Unit(benchmark::kMillisecond);

void BM_LoadAndSortByPeriod(benchmark::State& state)
{
    preparaMagnitudini();
    const QString& path = catalogo();
    for (auto _ : state) {
        auto e = core::Carica_File_Elementi(path, kAdesso, [](qsizetype, qsizetype) { return true; });
        auto righe = core::Righe_Ordinate(e.voci, core::OrdinePeriodo);
        benchmark::DoNotOptimize(righe.data());
    }
    state.SetItemsProcessed(state.iterations() * kSets);
}
BENCHMARK(BM_LoadAndSortByPeriod)->Unit(benchmark::kMillisecond);

void BM_ResortByMagnitude(benchmark::State& state)
{
    preparaMagnitudini();
    const auto e = core::Carica_File_Elementi(catalogo(), kAdesso);
    for (auto _ : state) {
        auto righe = core::Righe_Ordinate(e.voci, core::OrdineMagnitudine);
        benchmark::DoNotOptimize(righe.data());
    }
}
BENCHMARK(BM_ResortByMagnitude)->Unit(benchmark::kMillisecond);

} // namespace
