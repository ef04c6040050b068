// The element-set viewer's figures for a parsed set.
#include "core/element_parser.h"
#include "database/element_set_texts.h"
#include "platform/vb.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

// The ISS set of Skyfield's tests, as the element-set parser fills the record.
Satelement iss()
{
    Satelement e;
    e.AnnoEpoca = 2013;
    e.GiornoEpoca = 330.58127943;
    e.Inclinazione = 51.6484;
    e.NodoAscendente = 23.7537;
    e.Eccentricita = 0.0001246;
    e.ArgomentoPerigeo = 74.1647;
    e.AnomaliaMedia = 18.7420;
    e.MotoMedio = 15.50540527;
    e.DerivataPrima = 0.00000814;
    e.NumeroRivoluzione = 85989;
    e.NumeroCatalogo = "25544";
    e.AnnoLancio = 1998;
    e.NumeroLancio = 67;
    e.PezzoLancio = "A";
    e.Nome = "Iss (Zarya)";
    e.BStarMantissa = 0.21834;
    e.BStarEsponente = -4;
    e.EpocaGiuliana = 2456623.08127943; // python3-sgp4: jdsatepoch + jdsatepochF
    return e;
}

const RigaDati kIss{"ISS (ZARYA)", "1 25544U 98067A   13330.58127943  .00000814  00000-0  21834-4 0  1064",
                    "2 25544  51.6484  23.7537 0001246  74.1647  18.7420 15.50540527859894"};

class ElementSetTexts : public ::testing::Test {
protected:
    void SetUp() override { vb::setDisplayLocale(QLocale::c()); }
};

TEST_F(ElementSetTexts, FiguresOfTheIssSet)
{
    const auto t = database::Testi_Elementi(iss(), kIss, 2456623.08127943 + 10.25);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->lblEpochTime, "330.58127943@2013");
    EXPECT_EQ(t->lblDate, "26 Nov 2013 - 13:57:03"); // Skyfield: epoch 2013-11-26 13:57:03 UTC
    EXPECT_EQ(t->lblInclination, "51.6484");
    EXPECT_EQ(t->lblEccentricity, "0.0001246");
    EXPECT_EQ(t->lblMeanMotion, "15.50540527");
    EXPECT_EQ(t->lblBStar, "0.00002183");
    EXPECT_EQ(t->lblOrbitNumberEpoch, "85989");
    EXPECT_EQ(t->lblNoradNumber, "25544");
    EXPECT_EQ(t->lblInternational, "98067A");
    EXPECT_EQ(t->lblLaunchYear, "1998");
    EXPECT_EQ(t->lblLaunchNumber, "67A");
    EXPECT_EQ(t->lblAge, "10.3");
    EXPECT_EQ(t->lblSet, " 106"); // set number 106, check digit 4
    EXPECT_EQ(t->lblMagStd, "???");
    EXPECT_EQ(t->lblFirstLine, QString::fromStdString(kIss.Riga1));
    // Period 1440 / 15.50540527 = 92.87 minutes; size against python3-sgp4's
    // mean elements (a 6793.8 km, apogee 416.5 km, perigee 414.8 km), which
    // use the unkozaied mean motion: a few km apart.
    EXPECT_EQ(t->lblOrbitalPeriod, "92.9");
    EXPECT_NEAR(t->periodo, 1440.0 / 15.50540527, 1e-4);
    EXPECT_NEAR(t->semiasseMaggiore, 6793.79, 10);
    EXPECT_NEAR(t->apogeo, 416.50, 10);
    EXPECT_NEAR(t->perigeo, 414.81, 10);
    EXPECT_NEAR(t->apogeo - t->perigeo, 2 * 0.0001246 * t->semiasseMaggiore, 1e-6);
}

TEST_F(ElementSetTexts, DeepSpaceOrbitAgainstSgp4)
{
    Satelement e = iss();
    e.Eccentricita = 0.1450506;
    e.MotoMedio = 1.20231981;
    const auto t = database::Testi_Elementi(e, kIss, e.EpocaGiuliana);
    ASSERT_TRUE(t);
    EXPECT_NEAR(t->semiasseMaggiore, 37359.58, 20);
    EXPECT_NEAR(t->apogeo, 36400.47, 20);
    EXPECT_NEAR(t->perigeo, 25562.41, 20);
    EXPECT_EQ(t->lblAge, "0.0");
}

TEST_F(ElementSetTexts, EdgesOfTheDisplay)
{
    Satelement e = iss();
    e.GiornoEpoca = 123.5;
    e.AnnoEpoca = 2024;
    e.Eccentricita = 0;
    e.MotoMedio = 15.5;
    e.MagnitudineStandard = "4";
    e.PezzoLancio = "JD";
    RigaDati r = kIss;
    r.Riga1.replace(9, 8, "98067JD ");
    const auto t = database::Testi_Elementi(e, r, e.EpocaGiuliana - 2);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->lblEpochTime, "123.50000000@2024");
    EXPECT_EQ(t->lblDate, "02 May 2024 - 12:00:00");
    EXPECT_EQ(t->lblApogee, t->lblPerigee);
    EXPECT_EQ(t->lblSemiMaj, t->lblSemiMin);
    EXPECT_EQ(t->lblOrbitalPeriod, "92.9");
    EXPECT_EQ(t->lblMagStd, "4");
    EXPECT_EQ(t->lblAge, "-2.0");
    // The designator whole, with a piece of two letters.
    EXPECT_EQ(t->lblInternational, "98067JD");
    EXPECT_EQ(t->lblLaunchNumber, "67JD");

    // A fraction that rounds to a whole day moves the date on.
    e.GiornoEpoca = 31.999999999;
    EXPECT_EQ(database::Testi_Elementi(e, r, 0)->lblDate, "01 Feb 2024 - 00:00:00");

    // An empty scratch slot and impossible orbits show the placeholders.
    EXPECT_FALSE(database::Testi_Elementi(Satelement{}, RigaDati{}, 0));
    e.Eccentricita = 1.0;
    EXPECT_FALSE(database::Testi_Elementi(e, r, 0));
    const auto p = database::Testi_Segnaposto();
    EXPECT_EQ(p.lblZeroLine, "N");
    EXPECT_EQ(p.lblSecondLine, "2");
    EXPECT_EQ(p.lblApogee, "0.0");
    EXPECT_EQ(p.lblNoradNumber, "0");
    EXPECT_TRUE(p.lblDate.isEmpty());
}

TEST_F(ElementSetTexts, UnderItalianNumbersTheMagnitudeHasTheDecimalCommaAndTheRecordThePoint)
{
    // Parsed with Italian number settings the record keeps "-2.5", which
    // the magnitude computation reads back; the viewer shows "-2,5" like
    // its other figures.
    vb::setDisplayLocale(QLocale(QLocale::Italian, QLocale::Italy));
    std::vector<std::string> magnitudini(25545);
    magnitudini[25544] = "-2.50";
    Satelement e;
    ASSERT_EQ(core::Analizza_Elementi(kIss.Riga0, kIss.Riga1, kIss.Riga2, magnitudini, TabellaFrequenze{}, e),
              core::ErroreElementi::Nessuno);
    EXPECT_EQ(e.MagnitudineStandard, "-2.5");
    const auto t = database::Testi_Elementi(e, kIss, e.EpocaGiuliana);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->lblMagStd.toStdString(), "-2,5");
    EXPECT_EQ(t->lblInclination, "51,6484");
    EXPECT_EQ(e.MagnitudineStandard, "-2.5");
    vb::setDisplayLocale(QLocale::c());
}

} // namespace
