// One clock tick's sky work: time quantities, Sun, Moon and the seven
// planets for one observer; and a day's rise and set of the Sun and the Moon.
#include "astro/bodies.h"
#include "astro/riseset.h"
#include "astro/time.h"
#include "tests/astro/bodies_fixture.h"

#include <benchmark/benchmark.h>

namespace {

void BM_TickSunMoonPlanets(benchmark::State& state)
{
    mAstro::TabellaCorpi corpi = fixture::Tabella();
    mAstro::DataOra locale;
    locale.Anno = 2026;
    locale.Mese = 12;
    locale.Giorno = 7;
    locale.Ora = 21;
    int secondo = 0;
    for (auto _ : state) {
        locale.Secondo = secondo;
        secondo = (secondo + 1) % 60;
        const mAstro::Tempi t = mAstro::Calcola_Tempi(locale, 1, 0, 12.5);
        mAstro::Istante i;
        i.GiornoGiuliano = t.GiornoGiuliano;
        i.GiornoGiuliano0h = t.GiornoGiuliano0h;
        i.Latitudine = 41.9;
        i.TempoSiderale = t.TempoSiderale;
        const mAstro::DatiSole s = mAstro::Calcola_Sole(i, corpi[mAstro::kSole]);
        mAstro::Calcola_Luna(i, s, corpi[mAstro::kLuna]);
        benchmark::DoNotOptimize(mAstro::Calcola_Pianeti(i, corpi));
        benchmark::DoNotOptimize(corpi);
    }
}
BENCHMARK(BM_TickSunMoonPlanets);

void BM_RiseSetSunAndMoon(benchmark::State& state)
{
    int giorno = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(mAstro::Calcola_Sorgere_Tramonto_Sole(41.9, 12.5, -1, 2026, 3, giorno));
        benchmark::DoNotOptimize(mAstro::Calcola_Sorgere_Tramonto_Luna(41.9, 12.5, -1, 2026, 3, giorno));
        giorno = giorno % 28 + 1;
    }
}
BENCHMARK(BM_RiseSetSunAndMoon);

} // namespace
