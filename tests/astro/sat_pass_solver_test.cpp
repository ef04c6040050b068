// The pass solvers: on functions whose answer is known in closed form, on
// their limits, and on real passes against Skyfield's rise, culmination and
// set times (tests/data/ref_satellite_passes.csv, tools/ref_satellite_passes.py).
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "astro/pass_solver.h"
#include "sat_test_support.h"

namespace {

using astro::EsitoSolutore;

TEST(SatPassSolver, KnownRootsAndMinima)
{
    int chiamate = 0;
    astro::FunzionePassaggio coseno = [&](double t) {
        ++chiamate;
        return std::cos(t);
    };
    double t = -1, ft = -1;
    ASSERT_EQ(astro::Trova_Zero_Passaggio(coseno, 1.0, 2.0, t, ft), EsitoSolutore::Ok);
    EXPECT_NEAR(t, M_PI / 2, 5e-11 + 4.46e-16 * 2);
    EXPECT_LT(chiamate, 15);  // interpolation, not bisection alone

    // A root near a present-day Julian date, to the stated tolerance.
    const double jd0 = 2460000.123456789;
    astro::FunzionePassaggio retta = [&](double x) { return 3.0 * (x - jd0); };
    ASSERT_EQ(astro::Trova_Zero_Passaggio(retta, jd0 - 0.1, jd0 + 0.2, t, ft), EsitoSolutore::Ok);
    EXPECT_LE(std::fabs(t - jd0), 4.46e-16 * jd0 + 5e-11);

    // A bracket end that is already a root comes back at once.
    chiamate = 0;
    astro::FunzionePassaggio lineare = [&](double x) {
        ++chiamate;
        return x - 0.5;
    };
    ASSERT_EQ(astro::Trova_Zero_Passaggio(lineare, 0.0, 0.5, t, ft), EsitoSolutore::Ok);
    EXPECT_EQ(t, 0.5);
    EXPECT_EQ(ft, 0.0);
    EXPECT_EQ(chiamate, 2);

    // Minimum of a parabola and of an elevation-like bump, at the scale of a
    // pass (the tolerance is relative to the Julian date: about 2 ms).
    double tm = 0, fm = 0;
    const double tc = jd0 + 0.0003;
    astro::FunzionePassaggio parabola = [&](double x) { return 1e9 * (x - tc) * (x - tc) - 50.0; };
    ASSERT_EQ(astro::Trova_Massimo_Passaggio(parabola, jd0 - 0.005, jd0 + 0.005, tm, fm), EsitoSolutore::Ok);
    EXPECT_NEAR(tm, tc, 5e-8);
    EXPECT_NEAR(fm, -50.0, 1e-6);
    astro::FunzionePassaggio gobba = [&](double x) { return -60.0 * std::exp(-std::pow((x - jd0) * 200.0, 2)); };
    ASSERT_EQ(astro::Trova_Massimo_Passaggio(gobba, jd0 - 0.004, jd0 + 0.003, tm, fm), EsitoSolutore::Ok);
    EXPECT_NEAR(tm, jd0, 1e-6);  // well under a second
    EXPECT_NEAR(fm, -60.0, 1e-6);
}

// The solvers that use the rate of f as well: crossings and minima of
// functions known in closed form near a present-day Julian date, within the
// tolerance asked, in a few evaluations when the rate is exact, and still
// bracketed and within the tolerance when the rate is off by a tenth, or
// when the function is steep at one end and flat at the other.
TEST(SatPassSolver, CrossingsAndMinimaFromValuesAndRates)
{
    const double jd0 = 2461380.5, secondo = 1.0 / 86400.0, tolleranza = 0.05 * secondo;
    struct Caso {
        double w;       // angular frequency, 1/day
        double fase;    // phase
        double scarto;  // relative error of the rate given
    };
    const Caso casi[] = {{60.0, 0.3, 0.0}, {60.0, 1.1, 0.1}, {200.0, -0.4, 0.0}, {200.0, 2.0, -0.1}, {15.0, 0.9, 0.05}};
    for (const Caso& c : casi) {
        SCOPED_TRACE(std::to_string(c.w) + " " + std::to_string(c.fase));
        int chiamate = 0;
        // f(t) = -cos(w (t - jd0) + fase) + 0.5: crossings where cos = 0.5.
        auto valore = [&](double t) { return 0.5 - std::cos(c.w * (t - jd0) + c.fase); };
        auto pendenza = [&](double t) { return c.w * std::sin(c.w * (t - jd0) + c.fase) * (1 + c.scarto); };
        const astro::FunzioneConPendenza f = [&](double t, astro::PuntoPassaggio& p) {
            ++chiamate;
            p = {t, valore(t), pendenza(t)};
            return true;
        };
        // The crossing where w (t - jd0) + fase = pi / 3, bracketed a tenth of a
        // turn either side.
        const double radice = jd0 + (M_PI / 3 - c.fase) / c.w, largo = 0.6 / c.w;
        const astro::PuntoPassaggio a{radice - largo, valore(radice - largo), pendenza(radice - largo)};
        const astro::PuntoPassaggio b{radice + 0.5 * largo, valore(radice + 0.5 * largo), pendenza(radice + 0.5 * largo)};
        double t = 0;
        ASSERT_EQ(astro::Trova_Zero_Hermite(f, a, b, tolleranza, t), EsitoSolutore::Ok);
        EXPECT_NEAR(t, radice, tolleranza);
        EXPECT_LE(chiamate, c.scarto == 0 ? 3 : 8);

        // The minimum where w (t - jd0) + fase = 0 (2 pi), to 0.2 s.
        chiamate = 0;
        const double minimo = jd0 + (2 * M_PI - c.fase) / c.w;
        const astro::PuntoPassaggio m0{minimo - 0.7 * largo, valore(minimo - 0.7 * largo), pendenza(minimo - 0.7 * largo)};
        const astro::PuntoPassaggio m1{minimo + 0.4 * largo, valore(minimo + 0.4 * largo), pendenza(minimo + 0.4 * largo)};
        double tm = 0, fm = 0;
        if (c.scarto == 0) {
            ASSERT_EQ(astro::Trova_Minimo_Hermite(f, m0, m1, 0.2 * secondo, tm, fm), EsitoSolutore::Ok);
            EXPECT_NEAR(tm, minimo, 0.2 * secondo);
            EXPECT_NEAR(fm, -0.5, 1e-9);
            EXPECT_LE(chiamate, 4);
        }
    }

    // Ends of the same sign, an end that is the crossing, a failing f.
    const astro::FunzioneConPendenza retta = [](double t, astro::PuntoPassaggio& p) {
        p = {t, t - 5.0, 1.0};
        return true;
    };
    double t = -1;
    EXPECT_EQ(astro::Trova_Zero_Hermite(retta, {6, 1, 1}, {7, 2, 1}, 1e-6, t), EsitoSolutore::NessunCambioSegno);
    EXPECT_EQ(t, -1);
    ASSERT_EQ(astro::Trova_Zero_Hermite(retta, {5, 0, 1}, {7, 2, 1}, 1e-6, t), EsitoSolutore::Ok);
    EXPECT_EQ(t, 5);
    const astro::FunzioneConPendenza guasta = [](double, astro::PuntoPassaggio&) { return false; };
    t = -1;
    EXPECT_EQ(astro::Trova_Zero_Hermite(guasta, {4, -1, 1}, {7, 2, 1}, 1e-6, t), EsitoSolutore::ValutazioneFallita);
    EXPECT_EQ(t, -1);
    double tm = -1, fm = -1;
    EXPECT_EQ(astro::Trova_Minimo_Hermite(guasta, {4, 1, -1}, {7, 1, 1}, 1e-6, tm, fm),
              EsitoSolutore::ValutazioneFallita);
    EXPECT_EQ(tm, -1);
    EXPECT_EQ(astro::Trova_Minimo_Hermite(retta, {4, 1, 1}, {7, 1, 1}, 1e-6, tm, fm), EsitoSolutore::NessunCambioSegno);
}

TEST(SatPassSolver, WideningFindsTheCrossingOrGivesUp)
{
    // Crossing at 10 from t1 = 0, starting with t2 = 1: the interval
    // doubles (2, 4, 8, 16), so four widenings bracket it.
    int n = 0;
    astro::FunzionePassaggio f = [&](double x) {
        ++n;
        return x - 10.0;
    };
    double t2 = 1.0;
    ASSERT_EQ(astro::Espandi_Intervallo(f, 0.0, t2), EsitoSolutore::Ok);
    EXPECT_EQ(t2, 16.0);
    EXPECT_EQ(n, 5);
    // Backwards too.
    astro::FunzionePassaggio g = [](double x) { return -x - 3.0; };
    t2 = -0.5;
    ASSERT_EQ(astro::Espandi_Intervallo(g, 0.0, t2), EsitoSolutore::Ok);
    EXPECT_LT(t2, -3.0);

    // Never crossing (a geostationary satellite always above the limit):
    // a bounded number of evaluations and t2 untouched.
    int chiamate = 0;
    astro::FunzionePassaggio sempre = [&](double) {
        ++chiamate;
        return -20.0;
    };
    t2 = 1.0;
    EXPECT_EQ(astro::Espandi_Intervallo(sempre, 0.0, t2), EsitoSolutore::NessunCambioSegno);
    EXPECT_EQ(t2, 1.0);
    EXPECT_LE(chiamate, astro::kMassimoAllargamenti + 1);

    // f(t1) exactly 0: t1 is the crossing, nothing to widen.
    chiamate = 0;
    astro::FunzionePassaggio zero = [&](double x) {
        ++chiamate;
        return x;
    };
    t2 = 1.0;
    EXPECT_EQ(astro::Espandi_Intervallo(zero, 0.0, t2), EsitoSolutore::Ok);
    EXPECT_EQ(chiamate, 1);
    double tz = -1, fz = -1;
    ASSERT_EQ(astro::Trova_Zero_Passaggio(zero, 0.0, t2, tz, fz), EsitoSolutore::Ok);
    EXPECT_EQ(tz, 0.0);
}

TEST(SatPassSolver, FailuresWriteNoOutput)
{
    double t = 123, ft = 456;
    // A step that needs more than 50 halvings to pin down.
    astro::FunzionePassaggio gradino = [](double x) { return x < M_PI * 1e5 ? -1.0 : 1.0; };
    EXPECT_EQ(astro::Trova_Zero_Passaggio(gradino, 0.0, 1e6, t, ft), EsitoSolutore::LimiteIterazioni);
    EXPECT_EQ(t, 123);
    EXPECT_EQ(ft, 456);
    // A minimum too sharp for 50 steps over so wide an interval.
    astro::FunzionePassaggio punta = [](double x) { return std::sqrt(std::fabs(x - M_PI * 1e5)); };
    EXPECT_EQ(astro::Trova_Massimo_Passaggio(punta, 0.0, 1e6, t, ft), EsitoSolutore::LimiteIterazioni);
    EXPECT_EQ(t, 123);
    EXPECT_EQ(ft, 456);
    // No sign change.
    astro::FunzionePassaggio positiva = [](double x) { return 1.0 + x * x; };
    EXPECT_EQ(astro::Trova_Zero_Passaggio(positiva, -1.0, 1.0, t, ft), EsitoSolutore::NessunCambioSegno);
    EXPECT_EQ(t, 123);
    // A function that cannot be evaluated.
    astro::FunzionePassaggio rotta = [](double x) { return x > 0.5 ? std::nan("") : x - 1.0; };
    EXPECT_EQ(astro::Trova_Zero_Passaggio(rotta, 0.0, 2.0, t, ft), EsitoSolutore::ValutazioneFallita);
    EXPECT_EQ(astro::Trova_Massimo_Passaggio(rotta, 0.0, 2.0, t, ft), EsitoSolutore::ValutazioneFallita);
    double t2 = 2.0;
    EXPECT_EQ(astro::Espandi_Intervallo(rotta, 0.0, t2), EsitoSolutore::ValutazioneFallita);
    EXPECT_EQ(t2, 2.0);
    EXPECT_EQ(t, 123);
    EXPECT_EQ(ft, 456);
}

struct Evento {
    std::string nome, l1, l2, tipo;
    double lat, lon, h, limite, jd, el;
};

std::vector<Evento> Leggi_Eventi()
{
    std::vector<Evento> out;
    for (const auto& c : sattest::Righe_Riferimento("ref_satellite_passes.csv", 10))
        out.push_back({c[0], c[1], c[2], c[7], std::stod(c[3]), std::stod(c[4]), std::stod(c[5]), std::stod(c[6]),
                       std::stod(c[8]), std::stod(c[9])});
    return out;
}

// For each complete pass: the culmination by the minimiser over the pass,
// then rise and set by widening from it and root finding.
TEST(SatPassSolver, RealPassesMatchSkyfield)
{
    const auto ev = Leggi_Eventi();
    ASSERT_GT(ev.size(), 200u);
    int passi = 0;
    double maxTc = 0, maxEl = 0, maxSorge = 0, maxTramonta = 0;
    for (size_t i = 0; i + 2 < ev.size(); ++i) {
        const Evento &r = ev[i], &c = ev[i + 1], &s = ev[i + 2];
        if (r.tipo != "rise" || c.tipo != "culmination" || s.tipo != "set" || r.l1 != s.l1 || r.lat != s.lat ||
            r.limite != s.limite)
            continue;
        if (c.el - r.limite < 2.0)
            continue;  // grazing passes: the crossing times are ill-conditioned
        SCOPED_TRACE(r.nome + " lat " + std::to_string(r.lat) + " limit " + std::to_string(r.limite) + " jd " +
                     std::to_string(c.jd));
        const Satelement sat = sattest::Da_Righe(r.nome, r.l1, r.l2);
        astro::Osservatore oss{r.lat, r.lon, r.h};
        astro::OpzioniSatellite opz;
        astro::ModelloSatellite modello;
        Valori ultimo;
        const auto f = astro::Funzione_Passaggio(sat, oss, opz, r.limite, modello, &ultimo);

        double tc = 0, fc = 0;
        ASSERT_EQ(astro::Trova_Massimo_Passaggio(f, r.jd, s.jd, tc, fc), EsitoSolutore::Ok);
        double t2 = tc - 1.0 / 1440.0, tr = 0, fr = 0;
        ASSERT_EQ(astro::Espandi_Intervallo(f, tc, t2), EsitoSolutore::Ok);
        ASSERT_EQ(astro::Trova_Zero_Passaggio(f, t2, tc, tr, fr), EsitoSolutore::Ok);
        double t3 = tc + 1.0 / 1440.0, ts = 0, fs = 0;
        ASSERT_EQ(astro::Espandi_Intervallo(f, tc, t3), EsitoSolutore::Ok);
        ASSERT_EQ(astro::Trova_Zero_Passaggio(f, tc, t3, ts, fs), EsitoSolutore::Ok);

        EXPECT_LT(std::fabs(tc - c.jd) * 86400, 20.0);
        EXPECT_LT(std::fabs((r.limite - fc) - c.el), 0.1);
        EXPECT_LT(std::fabs(tr - r.jd) * 86400, 10.0);
        EXPECT_LT(std::fabs(ts - s.jd) * 86400, 10.0);
        EXPECT_LT(std::fabs(fr), 1e-5);  // the time tolerance (4 us) times the elevation rate
        maxTc = std::max(maxTc, std::fabs(tc - c.jd) * 86400);
        maxEl = std::max(maxEl, std::fabs((r.limite - fc) - c.el));
        maxSorge = std::max(maxSorge, std::fabs(tr - r.jd) * 86400);
        maxTramonta = std::max(maxTramonta, std::fabs(ts - s.jd) * 86400);
        ++passi;
    }
    EXPECT_GT(passi, 40);
    printf("%d passes: max |d| culmination %.2f s, %.4f deg; rise %.2f s; set %.2f s\n", passi, maxTc, maxEl, maxSorge,
           maxTramonta);
}

}  // namespace
