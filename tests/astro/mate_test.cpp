// Numeric helpers and coordinate transforms. Reference values come from the
// standard library's own functions, plain geometry and the worked examples of
// Meeus, Astronomical Algorithms, chapter 13.
#include "astro/mate.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace mMate;

namespace {
constexpr double kPI = 3.14159265358979323846;
}

TEST(Modulus, FoldsIntoRange)
{
    EXPECT_DOUBLE_EQ(Modulus(-1, 24), 23);
    EXPECT_DOUBLE_EQ(Modulus(48, 24), 0);
    EXPECT_DOUBLE_EQ(Modulus(-24, 24), 0);
    EXPECT_DOUBLE_EQ(Modulus(725.5, 360), 5.5);
    EXPECT_DOUBLE_EQ(Modulus(-370, 360), 350);
    EXPECT_TRUE(std::isnan(Modulus(5, 0)));
}

TEST(Atan2_360, AgreesWithLibraryOverTheCircle)
{
    EXPECT_NEAR(Atan2_360(1, 0), kPI / 2, 1e-8);
    EXPECT_NEAR(Atan2_360(-1, 0), 3 * kPI / 2, 1e-8);
    EXPECT_NEAR(Atan2_360(0, -1), kPI, 1e-8);
    EXPECT_NEAR(Atan2_360(0, 0), kPI / 2, 1e-8);
    EXPECT_NEAR(Atan2_360(-1, 1), 7 * kPI / 4, 5e-8);
    EXPECT_NEAR(Atan2_360(0, 1), 0, 1e-12);
    for (int deg = 1; deg < 360; deg += 7) {
        const double a = deg * kPI / 180;
        const double expected = std::fmod(std::atan2(std::sin(a), std::cos(a)) + 2 * kPI, 2 * kPI);
        EXPECT_NEAR(Atan2_360(3 * std::sin(a), 3 * std::cos(a)), expected, 5e-8) << deg;
    }
}

TEST(FMod2p, ReducesToOneTurn)
{
    EXPECT_NEAR(FMod2p(-0.1), 6.2831853 - 0.1, 1e-12);
    EXPECT_EQ(FMod2p(6.2831853), 0);
    EXPECT_NEAR(FMod2p(100.0), 100.0 - 15 * 6.2831853, 1e-12);
}

TEST(ArcoSenoCoseno, AgreeWithLibraryAndHoldAtTheLimits)
{
    for (double x = -0.999; x < 1; x += 0.037) {
        EXPECT_NEAR(ArcoSeno(x), std::asin(x), 1e-8) << x;
        EXPECT_NEAR(ArcoCoseno(x), std::acos(x), 1e-8) << x;
    }
    // Exactly +-1 and rounding noise beyond give the limits, not a fault.
    EXPECT_NEAR(ArcoSeno(1), kPI / 2, 1e-8);
    EXPECT_NEAR(ArcoSeno(-1), -kPI / 2, 1e-8);
    EXPECT_NEAR(ArcoSeno(1 + 2e-16), kPI / 2, 1e-8);
    EXPECT_NEAR(ArcoCoseno(1), 0, 1e-12);
    EXPECT_NEAR(ArcoCoseno(-1), kPI, 1e-8);
    // A true domain error is reported as NaN for the caller to test.
    EXPECT_TRUE(std::isnan(ArcoSeno(1.01)));
    EXPECT_TRUE(std::isnan(ArcoCoseno(-1.5)));
    EXPECT_TRUE(std::isnan(ArcoSeno(std::nan(""))));
}

TEST(Sexagesimal, SplitsRoundsAndCarries)
{
    double g, m, s;
    Decimali_GMS(45.999999, g, m, s); // 59.9964 s rounds to 60 and carries twice
    EXPECT_EQ(g, 46);
    EXPECT_EQ(m, 0);
    EXPECT_EQ(s, 0);
    Decimali_GMS(12.5822, g, m, s); // 12 34' 55.92"
    EXPECT_EQ(g, 12);
    EXPECT_EQ(m, 34);
    EXPECT_EQ(s, 56);
    Decimali_GM(9.19, g, m);
    EXPECT_EQ(g, 9);
    EXPECT_EQ(m, 11);
    Decimali_GM(9.9999, g, m);
    EXPECT_EQ(g, 10);
    EXPECT_EQ(m, 0);
    EXPECT_DOUBLE_EQ(Gradi_Decimali(12, 34, 56), 12 + 34 / 60.0 + 56 / 3600.0);
}

TEST(Sexagesimal, NegativeAnglesKeepTheirMagnitude)
{
    // -9.5 is -9 deg 30', not -10 deg 30'; every part carries the sign so
    // that Gradi_Decimali gives the angle back.
    double g, m, s;
    Decimali_GMS(-9.5, g, m, s);
    EXPECT_EQ(g, -9);
    EXPECT_EQ(m, -30);
    EXPECT_EQ(s, 0);
    EXPECT_DOUBLE_EQ(Gradi_Decimali(g, m, s), -9.5);
    Decimali_GMS(-0.2575, g, m, s); // -0 15' 27"
    EXPECT_EQ(g, 0);
    EXPECT_EQ(m, -15);
    EXPECT_EQ(s, -27);
    EXPECT_NEAR(Gradi_Decimali(g, m, s), -0.2575, 1e-12);
    Decimali_GM(-9.5, g, m);
    EXPECT_EQ(g, -9);
    EXPECT_EQ(m, -30);
    Decimali_GM(-45.99999, g, m);
    EXPECT_EQ(g, -46);
    EXPECT_EQ(m, 0);
}

TEST(AltezzaGeodetica, ZeroOnTheEllipsoid)
{
    const double a = 6378.135;
    const double f = 1 / 298.26;
    EXPECT_NEAR(Altezza_Geodetica(a, 0), 0, 1e-9);
    EXPECT_NEAR(Altezza_Geodetica(a * (1 - f), kPI / 2), 0, 0.001);
    EXPECT_NEAR(Altezza_Geodetica(a + 400, 0), 400, 1e-9);
    // At 45 deg geocentric latitude a point on the ellipsoid lies at
    // r = a b / sqrt(b^2 cos^2 + a^2 sin^2).
    const double b = a * (1 - f);
    const double phi = kPI / 4;
    const double r = a * b / std::sqrt(b * b * std::cos(phi) * std::cos(phi) + a * a * std::sin(phi) * std::sin(phi));
    EXPECT_NEAR(Altezza_Geodetica(r + 800, phi), 800, 0.01);
}

TEST(IntersecaOrizzonte, MovesTheOuterEndToTheCircle)
{
    double x = 100, y = 100;
    EXPECT_TRUE(Interseca_Orizzonte(0.0, 0.0, x, y));
    EXPECT_NEAR(x, 63.64, 0.005);
    EXPECT_NEAR(y, 63.64, 0.005);
    // The inner end second: the end point still becomes the crossing.
    x = 10;
    y = -20;
    EXPECT_TRUE(Interseca_Orizzonte(120.0, -20.0, x, y));
    EXPECT_NEAR(x, std::sqrt(8100.0 - 400), 1e-9);
    EXPECT_NEAR(y, -20, 1e-9);
    // Single-precision chart coordinates.
    float fx = -50, fy = 120;
    EXPECT_TRUE(Interseca_Orizzonte(-50.0f, 0.0f, fx, fy));
    EXPECT_NEAR(fx, -50, 1e-4);
    EXPECT_NEAR(fy, std::sqrt(8100.0 - 2500), 1e-4);
}

TEST(IntersecaOrizzonte, AxisParallelSegmentsAreClipped)
{
    double x = 0, y = 100; // vertical
    EXPECT_TRUE(Interseca_Orizzonte(0.0, 0.0, x, y));
    EXPECT_NEAR(x, 0, 1e-12);
    EXPECT_NEAR(y, 90, 1e-9);
    x = -150;
    y = 30; // horizontal
    EXPECT_TRUE(Interseca_Orizzonte(10.0, 30.0, x, y));
    EXPECT_NEAR(x, -std::sqrt(8100.0 - 900), 1e-9);
    EXPECT_NEAR(y, 30, 1e-12);
}

TEST(IntersecaOrizzonte, LeavesSegmentsThatDoNotCross)
{
    double x = 200, y = 100; // the line y = 100 misses the circle
    EXPECT_FALSE(Interseca_Orizzonte(100.0, 100.0, x, y));
    EXPECT_EQ(x, 200);
    EXPECT_EQ(y, 100);
    x = 20; // both ends inside
    y = 30;
    EXPECT_FALSE(Interseca_Orizzonte(-10.0, 5.0, x, y));
    EXPECT_EQ(x, 20);
    EXPECT_EQ(y, 30);
    x = 100; // vertical line outside the circle
    y = 100;
    EXPECT_FALSE(Interseca_Orizzonte(100.0, -100.0, x, y));
    EXPECT_EQ(y, 100);
    x = 5; // zero length
    y = 5;
    EXPECT_FALSE(Interseca_Orizzonte(5.0, 5.0, x, y));
}

namespace {
// Meeus example 13.b: Venus from the US Naval Observatory, Washington, on
// 1987 April 10 at 19h21m00s UT; apparent sidereal time at Greenwich
// 8h34m56.853s, longitude 77 03' 56" W, latitude 38 55' 17" N.
const double kLatWashington = 38 + 55 / 60.0 + 17 / 3600.0;
const double kLstWashington = 8 + 34 / 60.0 + 56.853 / 3600 - (77 + 3 / 60.0 + 56 / 3600.0) / 15;
const double kRaVenere = 23 + 9 / 60.0 + 16.641 / 3600;
const double kDecVenere = -(6 + 43 / 60.0 + 11.61 / 3600);
} // namespace

TEST(Transforms, EquatorialToHorizontalMeeus13b)
{
    double az, alt;
    mAstro::Equatoriali_Orizzontali(kRaVenere, kDecVenere, kLatWashington, kLstWashington, az, alt);
    EXPECT_NEAR(alt, 15.1249, 1e-4);
    // Meeus counts azimuth from the south and prints 68.0337 from a slightly
    // different hour angle (64.352133 against 64.351994 from these inputs).
    EXPECT_NEAR(az, 68.0337 + 180, 2e-4);
}

TEST(Transforms, MeridianObjectIsDueSouth)
{
    double az, alt;
    mAstro::Equatoriali_Orizzontali(5.5, 10, 45, 5.5, az, alt);
    EXPECT_NEAR(az, 180, 1e-6);
    EXPECT_NEAR(alt, 55, 1e-6);
    // At the zenith and the pole the result stays finite.
    mAstro::Equatoriali_Orizzontali(5.5, 45, 45, 5.5, az, alt);
    EXPECT_NEAR(alt, 90, 1e-6);
    EXPECT_TRUE(std::isfinite(az));
    mAstro::Equatoriali_Orizzontali(3, 90, 45, 5.5, az, alt);
    EXPECT_NEAR(alt, 45, 1e-6);
    EXPECT_NEAR(std::fmod(az + 180, 360) - 180, 0, 1e-5);
}

TEST(Transforms, EclipticToEquatorialMeeus13a)
{
    // Pollux: lambda 113.215630, beta 6.684170, eps 23.4392911 give
    // alpha 7h45m18.946s, delta +28 01' 34.26".
    const double r = kPI / 180;
    double ra, dec;
    mAstro::Eclittiche_Equatoriali(6.684170 * r, 113.215630 * r, 23.4392911 * r, ra, dec);
    EXPECT_NEAR(ra, 7 + 45 / 60.0 + 18.946 / 3600, 2e-6);
    EXPECT_NEAR(dec, 28 + 1 / 60.0 + 34.26 / 3600, 2e-5);
}

TEST(Transforms, HorizontalToEquatorialInvertsMeeus13b)
{
    const double r = kPI / 180;
    const auto e = mAstro::Orizzontali_Equatoriali((68.0337 + 180) * r, 15.1249 * r, kLatWashington, kLstWashington);
    EXPECT_EQ(e.oreAR, 23);
    EXPECT_EQ(e.minutiAR, 9);
    EXPECT_EQ(e.secondiAR, 16); // 16.64 truncated
    EXPECT_EQ(e.segno, "-");
    EXPECT_EQ(e.gradiDec, 6);
    EXPECT_EQ(e.minutiDec, 43);
    EXPECT_NEAR(e.ascensioneRetta, kRaVenere, 2e-5);
    EXPECT_NEAR(e.declinazione, kDecVenere, 2e-4);
    // An object on the meridian gives back the local sidereal time.
    const auto m = mAstro::Orizzontali_Equatoriali(180 * r, 30 * r, 45, 17.25);
    EXPECT_NEAR(m.ascensioneRetta, 17.25, 1e-6);
    EXPECT_NEAR(m.declinazione, -15, 1e-6);
    EXPECT_EQ(m.segno, "-");
}
