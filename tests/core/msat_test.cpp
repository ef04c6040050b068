// The working-list wrappers of the satellite computation: they read the
// observer and options from the settings, write the slot and the module
// values, and refuse bad slots without writing.
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
#include "support/csv_fields.h"
#include "support/observer.h"

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
        testsupport::Osservatore(41.9028f, 12.4964f, 50.0f);
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
        std::vector<std::string> c = testsupport::Campi(riga);
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

}  // namespace
