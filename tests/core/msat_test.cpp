// The working-list wrappers of the satellite computation: they read the
// observer and options from the settings, write the slot and the module
// values, refuse bad slots without writing, and drive the pass solvers.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "astro/sat_test_support.h"
#include "core/globals_orbit.h"
#include "core/msat.h"
#include "core/settings.h"

namespace {

const char* kLeo1 = "1 06251U 62025E   06176.82412014  .00008885  00000-0  12808-3 0  3985";
const char* kLeo2 = "2 06251  58.0579  54.0425 0030035 139.1568 221.1854 15.56387291  6774";
const char* kGeo1 = "1 24208U 96044A   06177.04061740 -.00000094  00000-0  10000-3 0  1600";
const char* kGeo2 = "2 24208   3.8536  80.0121 0026640 311.0977  48.3000  1.00778054 36119";

// Settings and slots restored after each test.
class MSat : public ::testing::Test {
protected:
    void SetUp() override
    {
        lat = gsngLatitudine;
        lon = gsngLongitudine;
        quota = gsngQuota;
        prop = gintPropagatore;
        rifr = gblnRifrazione;
        gsngLatitudine = 41.9028f;
        gsngLongitudine = 12.4964f;
        gsngQuota = 50.0f;
        gintPropagatore = 3;
        gblnRifrazione = false;
    }
    void TearDown() override
    {
        gsngLatitudine = lat;
        gsngLongitudine = lon;
        gsngQuota = quota;
        gintPropagatore = prop;
        gblnRifrazione = rifr;
        for (int i = 0; i < kSlotArray; ++i) {
            gudtSatelementi[i] = {};
            gudtValori[i] = {};
        }
    }
    float lat = 0, lon = 0, quota = 0;
    int prop = 0;
    bool rifr = false;
};

TEST_F(MSat, ComputesTheSlotLikeSkyfield)
{
    // First rows of the Skyfield reference: the low satellite over Rome.
    std::ifstream f(ASTROVELA_TEST_DATA "/ref_satellite_look.csv");
    std::string riga;
    std::getline(f, riga);
    int controllate = 0;
    while (std::getline(f, riga) && controllate < 20) {
        std::vector<std::string> c;
        std::stringstream ss(riga);
        std::string campo;
        while (std::getline(ss, campo, ','))
            c.push_back(campo);
        if (c[0] != "DELTA 1 DEB" || c[3] != "41.9028")
            continue;
        gudtSatelementi[5] = sattest::Da_Righe(c[0], c[1], c[2]);
        const double jd = std::stod(c[6]);
        ASSERT_TRUE(mSat::Calcola_Satellite(5, jd));
        const Valori& v = gudtValori[5];
        EXPECT_NEAR(v.Altezza, std::stod(c[7]), 0.1);
        EXPECT_NEAR(v.Distanza, std::stod(c[9]), 1.0);
        EXPECT_NEAR(v.VelocitaRadiale, std::stod(c[10]), 0.01);
        EXPECT_NEAR(gdblAltezzaSole, std::stod(c[14]), 0.1);
        // The module values are those of this computation.
        EXPECT_NEAR(std::hypot(gdblPosizione[0], gdblPosizione[1], gdblPosizione[2]), v.DistanzaGeocentrica, 1e-9);
        EXPECT_NEAR(std::hypot(gdblVelocita[0], gdblVelocita[1], gdblVelocita[2]), v.Velocita, 1e-12);
        ++controllate;
    }
    EXPECT_EQ(controllate, 20);
}

TEST_F(MSat, RefusesBadSlotsAndEmptySetsWithoutWriting)
{
    gudtSatelementi[1] = sattest::Da_Righe("", kLeo1, kLeo2);
    const double jd = gudtSatelementi[1].EpocaGiuliana + 0.1;
    ASSERT_TRUE(mSat::Calcola_Satellite(1, jd));
    const auto pos = gdblPosizione;
    const double sole = gdblAltezzaSole;
    for (int slot : {0, -1, 203, 1000})
        EXPECT_FALSE(mSat::Calcola_Satellite(slot, jd)) << slot;
    // An empty slot (a cleared element set).
    gudtValori[7].Altezza = 12.5;
    gudtValori[7].Stato = 3;
    astro::EsitoPropagazione esito = astro::EsitoPropagazione::Ok;
    EXPECT_FALSE(mSat::Calcola_Satellite(7, jd, &esito));
    EXPECT_EQ(esito, astro::EsitoPropagazione::ElementiNonValidi);
    EXPECT_EQ(gudtValori[7].Altezza, 12.5);
    EXPECT_EQ(gudtValori[7].Stato, 3);
    EXPECT_EQ(gdblPosizione, pos);
    EXPECT_EQ(gdblAltezzaSole, sole);
}

TEST_F(MSat, FollowsTheSettingsAndTheSlotsContents)
{
    gudtSatelementi[2] = sattest::Da_Righe("", kLeo1, kLeo2);
    const double jd = gudtSatelementi[2].EpocaGiuliana + 0.25;
    ASSERT_TRUE(mSat::Calcola_Satellite(2, jd));
    const Valori sgp4 = gudtValori[2];
    gintPropagatore = 0;  // Plan 13
    ASSERT_TRUE(mSat::Calcola_Satellite(2, jd));
    EXPECT_NE(gudtValori[2].Distanza, sgp4.Distanza);
    gintPropagatore = 3;
    ASSERT_TRUE(mSat::Calcola_Satellite(2, jd));
    EXPECT_EQ(gudtValori[2], sgp4);
    // The observer is read afresh.
    gsngLatitudine = -33.8688f;
    ASSERT_TRUE(mSat::Calcola_Satellite(2, jd));
    EXPECT_NE(gudtValori[2].Altezza, sgp4.Altezza);
    gsngLatitudine = 41.9028f;
    // Another element set copied into the slot replaces the old one at once.
    gudtSatelementi[2] = sattest::Da_Righe("", kGeo1, kGeo2);
    ASSERT_TRUE(mSat::Calcola_Satellite(2, jd));
    EXPECT_GT(gudtValori[2].DistanzaGeocentrica, 40000.0);
    // An unknown model number computes nothing.
    gintPropagatore = 9;
    EXPECT_FALSE(mSat::Calcola_Satellite(2, jd));
}

TEST_F(MSat, PassSolversOnTheWorkingList)
{
    gudtSatelementi[201] = sattest::Da_Righe("", kLeo1, kLeo2);
    gintSatelliteCalcolo = 201;
    gdblAltezzaMinima = 0.0;
    // A pass over Rome that Skyfield puts at culmination 2453912.9105403130,
    // 27.5926 degrees, rise 2453912.9070362165, set 2453912.9140120219.
    double tc = 0, fc = 0;
    ASSERT_TRUE(mMate::Trova_Massimo_Passaggio(2453912.9070, 2453912.9141, tc, fc));
    EXPECT_NEAR(tc, 2453912.9105403130, 20.0 / 86400);
    EXPECT_NEAR(-fc, 27.5926, 0.1);
    double t2 = tc - 1.0 / 1440, tr = 0, fr = 0;
    ASSERT_TRUE(mMate::Espandi_Intervallo(tc, t2));
    ASSERT_TRUE(mMate::Trova_Zero_Passaggio(t2, tc, tr, fr));
    EXPECT_NEAR(tr, 2453912.9070362165, 10.0 / 86400);
    // The slot holds the state at the last time evaluated.
    EXPECT_NEAR(gudtValori[201].Altezza, gdblAltezzaMinima - fr, 1e-3);

    // A geostationary satellite never crosses: the widening gives up.
    gudtSatelementi[201] = sattest::Da_Righe("", kGeo1, kGeo2);
    double t3 = tc + 0.01;
    EXPECT_FALSE(mMate::Espandi_Intervallo(tc, t3));
    EXPECT_EQ(t3, tc + 0.01);
}

// The one-argument models on the element registers that the slot's
// computation leaves, against the sample output printed in Spacetrack
// Report No. 3 (km, km/s).
TEST_F(MSat, ModelsOnTheElementRegisters)
{
    const char* k88888_1 = "1 88888U          80275.98708465  .00073094  13844-3  66816-4 0     8";
    const char* k88888_2 = "2 88888  72.8435 115.9689 0086731  52.6988 110.5714 16.05824518   105";
    const char* k11801_1 = "1 11801U          80230.29629788  .01431103  00000-0  14311-1      13";
    const char* k11801_2 = "2 11801  46.7916 230.4354 7318036  47.4722  10.4117  2.28537848    13";
    auto vicino = [](std::array<double, 3> p, std::array<double, 3> v, double x, double y, double z, double vx,
                     double vy, double vz) {
        EXPECT_LT(std::hypot(p[0] - x, p[1] - y, p[2] - z), 0.015);
        EXPECT_LT(std::hypot(v[0] - vx, v[1] - vy, v[2] - vz), 2e-5);
    };

    gintPropagatore = 2;
    gudtSatelementi[3] = sattest::Da_Righe("", k88888_1, k88888_2);
    ASSERT_TRUE(mSat::Calcola_Satellite(3, gudtSatelementi[3].EpocaGiuliana));
    // The registers hold the set in model units.
    EXPECT_NEAR(mSat::xincl, 72.8435 * M_PI / 180, 1e-8);
    EXPECT_NEAR(mSat::xnodeo, 115.9689 * M_PI / 180, 1e-8);
    EXPECT_NEAR(mSat::omegao, 52.6988 * M_PI / 180, 1e-8);
    EXPECT_NEAR(mSat::xmo, 110.5714 * M_PI / 180, 1e-8);
    EXPECT_EQ(mSat::eo, 0.0086731);
    EXPECT_NEAR(mSat::xno, 16.05824518 * 2 * M_PI / 1440, 1e-10);
    EXPECT_NEAR(mSat::xndt2o, 0.00073094 * 2 * M_PI / 1440 / 1440, 1e-15);
    EXPECT_NEAR(mSat::xndd6o, 0.13844e-3 * 2 * M_PI / 1440 / 1440 / 1440, 1e-18);
    EXPECT_NEAR(mSat::bstar, 0.66816e-4, 1e-15);
    EXPECT_EQ(mSat::epoch, gudtSatelementi[3].EpocaGiuliana);
    // SGP4 leaves its semi-major axis (Kepler's third law for 16.058 rev/day:
    // 6637.7 km) and its mean motion, a few parts in 10,000 off the set's.
    EXPECT_NEAR(mSat::ao * 6378.135, 6637.7, 5.0);
    EXPECT_NEAR(mSat::xnodp, mSat::xno, 1e-3 * mSat::xno);
    EXPECT_NE(mSat::xnodp, mSat::xno);

    ASSERT_TRUE(mSat::Propaga_SGP4(360.0));
    vicino(gdblPosizione, gdblVelocita, 2456.10705566, -6071.93853760, 1222.89727783, 2.67938992, -0.44829041,
           -7.22879231);
    ASSERT_TRUE(mSat::Propaga_SGP(720.0));
    vicino(gdblPosizione, gdblVelocita, 2567.39477539, -6112.49725342, 713.97710419, 2.43952477, 0.09884824,
           -7.31889641);
    // Plan 13 stays close to them over a few hours.
    ASSERT_TRUE(mSat::Propaga_Plan13(360.0));
    EXPECT_LT(std::hypot(gdblPosizione[0] - 2456.107, gdblPosizione[1] + 6071.939, gdblPosizione[2] - 1222.897), 60.0);

    gintPropagatore = 3;
    gudtSatelementi[3] = sattest::Da_Righe("", k11801_1, k11801_2);
    ASSERT_TRUE(mSat::Calcola_Satellite(3, gudtSatelementi[3].EpocaGiuliana + 0.5));
    ASSERT_TRUE(mSat::Propaga_SDP4(1080.0));
    vicino(gdblPosizione, gdblVelocita, -9990.05883789, 22717.35522461, -23616.89062501, -1.01667246, -2.29026759,
           0.72892364);

    // Registers that give no orbit: every model refuses and leaves the vectors.
    const auto pos = gdblPosizione, vel = gdblVelocita;
    const double aoPrima = mSat::ao;
    mSat::eo = 1.0;
    EXPECT_FALSE(mSat::Propaga_Plan13(0.0));
    EXPECT_FALSE(mSat::Propaga_SGP(0.0));
    EXPECT_FALSE(mSat::Propaga_SGP4(0.0));
    EXPECT_FALSE(mSat::Propaga_SDP4(0.0));
    mSat::eo = 0.5;
    mSat::xno = 0.0;
    EXPECT_FALSE(mSat::Propaga_SGP4(0.0));
    EXPECT_EQ(gdblPosizione, pos);
    EXPECT_EQ(gdblVelocita, vel);
    EXPECT_EQ(mSat::ao, aoPrima);
}

// The deep-space routine in its three modes on the registers, and ThetaG.
TEST_F(MSat, DeepModesAndThetaG)
{
    // IAU 1982 mean sidereal time: at 1950 January 0.0 the report's
    // 1.72944494 within 3e-6 rad; at 2000 January 1, 12h UT 280.46061837
    // degrees (Meeus 12.4), which the report's linear form missed by 0.0003.
    EXPECT_NEAR(mSat::ThetaG(2433281.5), 1.72944494, 3e-6);
    EXPECT_EQ(mSat::gdblDs50, 0.0);
    EXPECT_NEAR(mSat::ThetaG(2451545.0) * 180 / M_PI, 280.46061837, 1e-7);

    // A geostationary set of 0.0019 degrees inclination.
    gudtSatelementi[4] = sattest::Da_Righe("", "1 28626U 05008A   06176.46683397 -.00000205  00000-0  10000-3 0  2190",
                                           "2 28626   0.0019 286.9433 0000335  13.7918  55.6504  1.00270176  4891");
    gintPropagatore = 3;
    ASSERT_TRUE(mSat::Calcola_Satellite(4, gudtSatelementi[4].EpocaGiuliana));
    const astro::ElementiMedi iniziali{mSat::xmo, mSat::omegao, mSat::xnodeo, 0.0, 0.0, mSat::xnodp};
    auto uguali = [](const astro::ElementiMedi& a, const astro::ElementiMedi& b) {
        return a.xll == b.xll && a.omgadf == b.omgadf && a.xnode == b.xnode && a.em == b.em && a.xinc == b.xinc &&
               a.xn == b.xn;
    };
    mSat::Deep(1);
    EXPECT_EQ(mSat::gdblDs50, mSat::epoch - 2433281.5);
    mSat::gudtElementiDeep = iniziali;
    mSat::gdblTempoDeep = 1e5;
    for (int modo : {0, 4, -1, 99}) {
        mSat::Deep(modo);
        EXPECT_TRUE(uguali(mSat::gudtElementiDeep, iniziali)) << modo;
        EXPECT_EQ(mSat::gdblTempoDeep, 1e5);
    }
    // Some 70 days on, the lunar-solar secular rate has carried the tiny
    // inclination through zero: the secular terms leave it negative (the
    // propagation turns it, with the node, after the periodics).
    mSat::Deep(2);
    const astro::ElementiMedi m = mSat::gudtElementiDeep;
    EXPECT_LT(m.xinc, 0.0);
    EXPECT_GT(m.xinc, -1.0 * M_PI / 180);
    EXPECT_NEAR(std::remainder(m.xnode - mSat::xnodeo, 2 * M_PI), 0.0, 0.05);
    // The synchronous resonance keeps the mean motion at one turn a sidereal day.
    EXPECT_NEAR(m.xn, 2 * M_PI / 1436.07, 2e-6);
    EXPECT_NEAR(m.em, mSat::eo, 1e-3);
    mSat::Deep(3);
    EXPECT_FALSE(uguali(mSat::gudtElementiDeep, m));
    EXPECT_NEAR(mSat::gudtElementiDeep.em, m.em, 1e-3);
    EXPECT_NEAR(mSat::gudtElementiDeep.xinc, m.xinc, 1e-3);
}

}  // namespace
