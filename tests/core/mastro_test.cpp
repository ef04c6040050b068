// The time and sky procedures over the program's globals: what they read
// (observer settings, time globals) and what they write, checked against
// PyEphem (tests/data/ref_bodies_positions.csv) and the language file.
#include "astro/bodies_fixture.h"
#include "core/globals_time.h"
#include "core/mastro.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "platform/vb.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <cmath>
#include <gtest/gtest.h>

namespace {

constexpr double kDeg = 3.14159265358979323846 / 180;

class MAstroTest : public ::testing::Test {
protected:
    float lat = gsngLatitudine, lon = gsngLongitudine, fuso = gsngFusoOrario;
    std::uint8_t legale = gbytOraLegale;
    mAstro::TabellaCorpi corpi = gudtCorpi;

    void Osservatore(float la, float lo, float fu, std::uint8_t le)
    {
        gsngLatitudine = la;
        gsngLongitudine = lo;
        gsngFusoOrario = fu;
        gbytOraLegale = le;
    }
    void TearDown() override
    {
        Osservatore(lat, lon, fuso, legale);
        gudtCorpi = corpi;
        mLang::Usa_File_Lingua({});
    }
};

QDateTime Locale(int y, int mo, int d, int h, int mi, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), QTimeZone::utc());
}

double Separazione(double ra1, double dec1, double ra2, double dec2)
{
    const double c = std::sin(dec1 * kDeg) * std::sin(dec2 * kDeg)
                     + std::cos(dec1 * kDeg) * std::cos(dec2 * kDeg) * std::cos((ra1 - ra2) * 15 * kDeg);
    return std::acos(std::fmin(1.0, c)) / kDeg;
}

} // namespace

TEST_F(MAstroTest, AggiornaTempoWritesTheWholeSet)
{
    Osservatore(45, 9.19f, 1, 1);
    ASSERT_TRUE(mAstro::Aggiorna_Tempo(Locale(2024, 3, 1, 1, 30)));
    EXPECT_EQ(gdatDataLocale, Locale(2024, 3, 1, 1, 30));
    EXPECT_EQ(gdatDataUT.date(), QDate(2024, 2, 29));
    EXPECT_EQ(gdatDataUT.time(), QTime(23, 30));
    EXPECT_EQ(gdblAnnoUT, 2024);
    EXPECT_EQ(gdblMeseUT, 2);
    EXPECT_EQ(gdblGiornoUT, 29);
    EXPECT_EQ(gdblAnnoLocale, 2024);
    EXPECT_EQ(gdblMeseLocale, 3);
    EXPECT_EQ(gdblGiornoLocale, 1);
    EXPECT_EQ(gintGiornoAnnoUT, 60);
    EXPECT_EQ(gintGiornoAnnoLocale, 61);
    EXPECT_DOUBLE_EQ(gdblOraUT, 23.5);
    EXPECT_DOUBLE_EQ(gdblOraLocale, 1.5);
    EXPECT_NEAR(gdblGiornoGiuliano, 2460370.5 - 0.5 / 24, 1e-8);
    EXPECT_DOUBLE_EQ(gdblGiornoGiuliano0h, 2460369.5);
    // Local sidereal time: Greenwich plus 9.19 deg east.
    EXPECT_NEAR(std::remainder(gdblTempoSiderale - gdblTempoSideraleGreenwich - 9.19 / 15, 24), 0, 1e-6);

    // A date the program cannot hold leaves every global as it was.
    const double jd = gdblGiornoGiuliano;
    EXPECT_FALSE(mAstro::Aggiorna_Tempo(QDateTime()));
    EXPECT_FALSE(mAstro::Aggiorna_Tempo(Locale(100, 1, 1, 0, 30))); // UT falls in the year 99
    EXPECT_EQ(gdblGiornoGiuliano, jd);
    EXPECT_EQ(gdatDataLocale, Locale(2024, 3, 1, 1, 30));
}

TEST_F(MAstroTest, DataDaGiulianoUsesTheObserverZone)
{
    Osservatore(45, 9, 1, 0);
    EXPECT_EQ(mAstro::Data_Da_Giuliano(2451545.0), Locale(2000, 1, 1, 13, 0));
    Osservatore(45, 9, 1, 1);
    EXPECT_EQ(mAstro::Data_Da_Giuliano(2451545.0), Locale(2000, 1, 1, 14, 0));
    EXPECT_FALSE(mAstro::Data_Da_Giuliano(std::nan("")).isValid());
}

TEST_F(MAstroTest, BodiesOfOneTickAgainstPyEphem)
{
    gudtCorpi = fixture::Tabella();
    // The first instant of the reference file, seen from Rome (UT clock).
    const auto righe = fixture::Righe("ref_bodies_positions.csv");
    ASSERT_GE(righe.size(), 9u);
    const double jd = std::stod(righe[0][1]);
    Osservatore(std::stof(righe[0][3]), std::stof(righe[0][4]), 0, 0);
    const QDateTime locale = mAstro::Data_Da_Giuliano(jd);
    ASSERT_TRUE(mAstro::Aggiorna_Tempo(locale));
    mAstro::Calcola_Sole();
    mAstro::Calcola_Luna();
    EXPECT_TRUE(mAstro::Calcola_Pianeta());

    for (const auto& r : righe) {
        if (std::stod(r[1]) != jd)
            break;
        const std::string& corpo = r[0];
        const double gRa = std::stod(r[7]), gDec = std::stod(r[8]), aRa = std::stod(r[5]), aDec = std::stod(r[6]);
        if (corpo == "sole") {
            const auto& s = gudtCorpi[mAstro::kSole];
            EXPECT_LT(Separazione(s.AscensioneRetta, s.Declinazione, gRa, gDec), 0.02);
            EXPECT_NEAR(s.Altezza, std::stod(r[10]), 0.03);
            EXPECT_EQ(gdblAscensioneSole, s.AscensioneRetta);
            EXPECT_EQ(gdblDeclinazioneSole, s.Declinazione);
        } else if (corpo == "luna") {
            const auto& l = gudtCorpi[mAstro::kLuna];
            EXPECT_LT(Separazione(l.AscensioneRetta, l.Declinazione, gRa, gDec), 0.3);
            EXPECT_EQ(l.MagnitudineUnitaria, 0);
        } else if (corpo == "giove") {
            const auto& g = gudtCorpi[mAstro::kGiove];
            EXPECT_LT(Separazione(g.AscensioneRetta, g.Declinazione, aRa, aDec), 0.3);
        }
    }
    // The Earth's row holds elements only.
    EXPECT_EQ(gudtCorpi[mAstro::kTerra].AscensioneRetta, 0);
    EXPECT_EQ(gudtCorpi[mAstro::kTerra].Distanza, 0);
    EXPECT_GE(gdblLongitudineSole, 0);
    EXPECT_LT(gdblLongitudineSole, 6.2831853);
}

TEST_F(MAstroTest, TransformsReadLatitudeAndSiderealTime)
{
    Osservatore(45, 0, 0, 0);
    ASSERT_TRUE(mAstro::Aggiorna_Tempo(Locale(2026, 12, 7, 21, 0)));
    // The charts' places are J2000 ones: the place that the precession of
    // 27 years carries onto the meridian at declination 10 is seen there.
    double ra = gdblTempoSiderale, dec = 10;
    mAstro::Precessione_A_J2000(gdblGiornoGiuliano, ra, dec);
    EXPECT_GT(std::fabs(ra - gdblTempoSiderale) * 15 + std::fabs(dec - 10), 0.1); // a real shift
    double az = 0, alt = 0;
    mAstro::Equatoriali_Orizzontali(ra, dec, az, alt); // on the meridian
    EXPECT_NEAR(az, 180, 1e-5);
    EXPECT_NEAR(alt, 55, 1e-5);
    double h, m, s, gd, md;
    QString segno;
    mAstro::Orizzontali_Equatoriali(180 * kDeg, 55.52 * kDeg, h, m, s, gd, md, segno);
    EXPECT_NEAR(h + m / 60 + s / 3600, gdblTempoSiderale, 1.0 / 3600 + 1e-6);
    EXPECT_EQ(segno, "+");
    EXPECT_EQ(gd, 10);
    EXPECT_EQ(md, 31); // 10.52 deg, minutes truncated
}

TEST_F(MAstroTest, RiseSetWritesOnlyWhatHappens)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("test.ini");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[frmRiseSet]\r\nnonsorge=No rise\r\nnontramonta=No set\r\n"
                "sottoorizzonte=Below all day\r\nsopraorizzonte=Above all day\r\n");
    }
    ASSERT_TRUE(mLang::Usa_File_Lingua(path));

    // Midnight Sun at Tromso: only the message is written.
    QString sorge = "x", tramonta = "y", azS = "", azT = "z", msg = "m";
    double zona = -2;
    mAstro::Calcola_Sorgere_Tramonto_Sole(69.6492, 18.9553, zona, QDate(2026, 6, 21), sorge, tramonta, azS, azT,
                                          msg);
    EXPECT_EQ(sorge, "x");
    EXPECT_EQ(tramonta, "y");
    EXPECT_EQ(azS, "");
    EXPECT_EQ(azT, "z");
    EXPECT_EQ(msg, "Above all day");
    EXPECT_EQ(zona, -2);

    // 25 July 2025 at Tromso on standard time (UTC+1): a set at 23:28
    // (PyEphem), no rise.
    sorge = tramonta = azS = azT = msg = "";
    zona = -1;
    mAstro::Calcola_Sorgere_Tramonto_Sole(69.6492, 18.9553, zona, QDate(2025, 7, 25), sorge, tramonta, azS, azT,
                                          msg);
    EXPECT_EQ(sorge, "");
    EXPECT_EQ(azS, "");
    EXPECT_TRUE(tramonta.startsWith("23:2") || tramonta.startsWith("23:3")) << tramonta.toStdString();
    EXPECT_EQ(azT.size(), 5);
    EXPECT_EQ(msg, "No rise");

    // Rome: both events, the message keeps what was passed in.
    sorge = tramonta = azS = azT = "";
    msg = "keep";
    zona = -2;
    mAstro::Calcola_Sorgere_Tramonto_Sole(41.9028, 12.4964, zona, QDate(2026, 6, 21), sorge, tramonta, azS, azT,
                                          msg);
    EXPECT_TRUE(sorge.startsWith("05:3")) << sorge.toStdString();
    EXPECT_TRUE(tramonta.startsWith("20:4")) << tramonta.toStdString();
    EXPECT_TRUE(azS.startsWith("056")) << azS.toStdString();
    EXPECT_EQ(msg, "keep");
    // The azimuth is read with the display locale's decimal point.
    EXPECT_EQ(azS.mid(3, 1), ".");
    vb::setDisplayLocale(QLocale(QLocale::Italian, QLocale::Italy));
    QString azItaliano;
    mAstro::Calcola_Sorgere_Tramonto_Sole(41.9028, 12.4964, zona, QDate(2026, 6, 21), sorge, tramonta, azItaliano,
                                          azT, msg);
    vb::setDisplayLocale(QLocale::c());
    EXPECT_EQ(azItaliano, QString(azS).replace(u'.', u','));

    // The Moon over Rome on 21 June 2026 (PyEphem: rise 12:48, set 00:39).
    sorge = tramonta = azS = azT = msg = "";
    mAstro::Calcola_Sorgere_Tramonto_Luna(41.9028, 12.4964, zona, QDate(2026, 6, 21), sorge, tramonta, azS, azT,
                                          msg);
    EXPECT_TRUE(sorge.startsWith("12:4") || sorge.startsWith("12:5")) << sorge.toStdString();
    EXPECT_TRUE(tramonta.startsWith("00:3") || tramonta.startsWith("00:4")) << tramonta.toStdString();

    // Only the calendar date of a date-time counts, whatever its time.
    for (const QTime ora : {QTime(0, 0), QTime(13, 17, 5), QTime(23, 59, 59)}) {
        QString s2, t2, a2, b2, m2;
        mAstro::Calcola_Sorgere_Tramonto_Luna(41.9028, 12.4964, zona, QDateTime(QDate(2026, 6, 21), ora), s2, t2,
                                              a2, b2, m2);
        EXPECT_EQ(s2, sorge);
        EXPECT_EQ(t2, tramonta);
        EXPECT_EQ(a2, azS);
    }
}
