// The chart's coordinate system: scale window, the two projections in the
// four orientations and their inverse, twilight stages, compass labels and
// the Moon's phase index.
#include "common/sky_chart.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace common;

TEST(LocalSkyGeometry, ScaleWindowFollowsTheBoxShape)
{
    Finestra f = Finestra_Da_Aspetto(1.0);
    EXPECT_FLOAT_EQ(f.sx, -100);
    EXPECT_FLOAT_EQ(f.sy, 100);
    EXPECT_FLOAT_EQ(f.dx, 100);
    EXPECT_FLOAT_EQ(f.dy, -100);
    f = Finestra_Da_Aspetto(2.0);
    EXPECT_FLOAT_EQ(f.sx, -200);
    EXPECT_FLOAT_EQ(f.sy, 100);
    EXPECT_FLOAT_EQ(f.dx, 200);
    EXPECT_FLOAT_EQ(f.dy, -100);
    f = Finestra_Da_Aspetto(0.5);
    EXPECT_FLOAT_EQ(f.sx, -100);
    EXPECT_FLOAT_EQ(f.sy, 200);
    EXPECT_FLOAT_EQ(f.dx, 100);
    EXPECT_FLOAT_EQ(f.dy, -200);
}

// x = -r sin(90k + az), y = r cos(90k + az): the layout table of the four
// orientations, with r from the projection's own formula.
TEST(LocalSkyGeometry, BothProjectionsPlaceTheCompassPointsByOrientation)
{
    for (bool stereo : {true, false}) {
        float x = 1, y = 1;
        Mappatura(kSud, stereo, 180, 0, x, y); // south at the bottom
        EXPECT_NEAR(x, 0, 1e-4);
        EXPECT_NEAR(y, -90, 1e-4);
        Mappatura(kSud, stereo, 90, 0, x, y); // east on the left
        EXPECT_NEAR(x, -90, 1e-4);
        EXPECT_NEAR(y, 0, 1e-4);
        Mappatura(kNord, stereo, 0, 0, x, y); // north at the bottom
        EXPECT_NEAR(y, -90, 1e-4);
        Mappatura(kNord, stereo, 90, 0, x, y); // east on the right
        EXPECT_NEAR(x, 90, 1e-4);
        Mappatura(kEst, stereo, 90, 0, x, y); // east at the bottom, north on the left
        EXPECT_NEAR(y, -90, 1e-4);
        Mappatura(kEst, stereo, 0, 0, x, y);
        EXPECT_NEAR(x, -90, 1e-4);
        Mappatura(kOvest, stereo, 270, 0, x, y); // west at the bottom, south on the left
        EXPECT_NEAR(y, -90, 1e-4);
        Mappatura(kOvest, stereo, 180, 0, x, y);
        EXPECT_NEAR(x, -90, 1e-4);
        for (int k = 0; k < 4; ++k)
            for (double az : {0.0, 37.0, 200.0}) {
                Mappatura(k, stereo, az, 90, x, y);
                EXPECT_NEAR(std::hypot(x, y), 0, 1e-4);
            }
    }
    // Radii: 90 tan(45 - alt/2) and 90 - alt.
    float x = 0, y = 0;
    Mappatura(kSud, true, 180, 30, x, y);
    EXPECT_NEAR(-y, 90 * std::tan((45 - 15) * M_PI / 180), 1e-3);
    Mappatura(kSud, false, 180, 30, x, y);
    EXPECT_NEAR(-y, 60, 1e-3);
}

TEST(LocalSkyGeometry, InverseGivesBackAzimuthAndAltitude)
{
    for (bool stereo : {true, false})
        for (int k = 0; k < 4; ++k)
            for (double az = 0; az < 360; az += 22.5)
                for (double alt : {0.5, 10.0, 45.0, 80.0, 89.0}) {
                    float x = 0, y = 0;
                    Mappatura(k, stereo, az, alt, x, y);
                    double a2 = -1, h2 = -1;
                    Mappatura_inversa(k, stereo, x, y, a2, h2);
                    EXPECT_NEAR(h2, alt, 1e-3) << stereo << k << " " << az << " " << alt;
                    const double d = std::remainder(a2 - az, 360.0);
                    EXPECT_NEAR(d, 0, 1e-3) << stereo << k << " " << az << " " << alt;
                    EXPECT_GE(a2, 0);
                    EXPECT_LT(a2, 360);
                }
}

TEST(LocalSkyGeometry, FailedProjectionStepsLeaveTheOutputs)
{
    // The nadir has no stereographic image: the outputs keep their values.
    float x = 7, y = 8;
    Mappatura(kSud, true, 0, -90, x, y);
    EXPECT_TRUE(std::isfinite(x));
    EXPECT_TRUE(std::isfinite(y));
    // The vertical axis of the chart reads back its altitude (a sine of zero there).
    double az = -1, alt = -1;
    Mappatura_inversa(kSud, true, 0, -30, az, alt);
    EXPECT_NEAR(az, 180, 1e-4);
    EXPECT_NEAR(alt, 90 - 2 * std::atan(30.0 / 90) * 180 / M_PI, 1e-4);
}

TEST(LocalSkyGeometry, TwilightStagesAtTheirEdges)
{
    EXPECT_EQ(Stadio_Cielo(-5.99), 1);
    EXPECT_EQ(Stadio_Cielo(-6), 2);
    EXPECT_EQ(Stadio_Cielo(-12), 3);
    EXPECT_EQ(Stadio_Cielo(-18), 4);
    EXPECT_EQ(Stadio_Cielo(-60), 4);
}

TEST(LocalSkyGeometry, CompassLabelsTurnWithTheOrientation)
{
    EXPECT_STREQ(Etichetta_Bussola(kSud, 0), "W");
    EXPECT_STREQ(Etichetta_Bussola(kSud, 3), "N");
    EXPECT_STREQ(Etichetta_Bussola(kSud, 9), "S");
    EXPECT_STREQ(Etichetta_Bussola(kEst, 0), "S");
    EXPECT_STREQ(Etichetta_Bussola(kNord, 0), "E");
    EXPECT_STREQ(Etichetta_Bussola(kNord, 11), " 60°");
    EXPECT_STREQ(Etichetta_Bussola(kOvest, 0), "N");
    // The label at the bottom position names the point the chart's mapping puts there.
    float x, y;
    Posizione_Bussola(9, x, y);
    EXPECT_FLOAT_EQ(x, -2);
    EXPECT_FLOAT_EQ(y, -92);
}

TEST(LocalSkyGeometry, MoonPhaseIndexIsTheRoundedComplementOfThePhaseAngle)
{
    const double g = M_PI / 180;
    EXPECT_EQ(Indice_Fase_Carta(0), 0);
    EXPECT_EQ(Indice_Fase_Carta(180 * g), 180);
    EXPECT_EQ(Indice_Fase_Carta(90 * g), 270);
    EXPECT_EQ(Indice_Fase_Carta(269.6 * g), 90);  // 90.4
    EXPECT_EQ(Indice_Fase_Carta(268.4 * g), 92);  // 91.6
    EXPECT_EQ(Indice_Fase_Carta(400 * g), -40);   // the remainder keeps the sign
}

} // namespace
