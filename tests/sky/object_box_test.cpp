// The object details box: its figures for the Sun, the Moon and the planets
// against PyEphem (tests/data/ref_general_sky.csv, tools/ref_general_sky.py),
// the rows it hides or re-labels, and its number texts.
#include "sky/object_box.h"
#include "sky/object_box_texts.h"
#include "core/clock.h"
#include "core/data_files.h"
#include "core/globals_time.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "platform/canvas_widget.h"
#include "platform/fakes.h"
#include "platform/services.h"
#include "platform/vb.h"

#include "support/fixed_time.h"
#include "support/ref_magnitudes.h"
#include "support/observer.h"
#include "support/ref_rows.h"
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTextStream>
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cmath>
#include <map>

namespace {

using testsupport::FixedTime;

struct RifCorpo {
    int riga;
    double ra, dec, alt, az, distanza, mag, fase, diametro;
};

std::vector<RifCorpo> Leggi_Corpi(QDateTime& istante)
{
    std::vector<RifCorpo> v;
    testsupport::Righe_Riferimento("ref_general_sky.csv", istante, [&](const QStringList& c) {
        if (c[0] == QLatin1String("body"))
            v.push_back({c[1].toInt(), c[2].toDouble(), c[3].toDouble(), c[4].toDouble(), c[5].toDouble(),
                         c[6].toDouble(), c[7].toDouble(), c[8].toDouble(), c[9].toDouble()});
    });
    return v;
}

using testsupport::Magnitudini_Modello;

// " 06h 45m 08s" -> hours; "-16° 42'" -> degrees; "4h10m19s" / "08m19s" / "1.2s" -> seconds.
double Ore(const QString& t)
{
    const auto m = QRegularExpression(QStringLiteral("^ (\\d\\d)h (\\d\\d)m (\\d\\d)s$")).match(t);
    EXPECT_TRUE(m.hasMatch()) << t.toStdString();
    return m.captured(1).toInt() + m.captured(2).toInt() / 60.0 + m.captured(3).toInt() / 3600.0;
}
double Gradi(const QString& t)
{
    const auto m = QRegularExpression(QStringLiteral("^([-+])(\\d\\d)° (\\d\\d)'$")).match(t);
    EXPECT_TRUE(m.hasMatch()) << t.toStdString();
    const double v = m.captured(2).toInt() + m.captured(3).toInt() / 60.0;
    return m.captured(1) == QLatin1String("-") ? -v : v;
}
double Secondi(const QString& t)
{
    const auto m = QRegularExpression(QStringLiteral("^(?:(\\d+)h)?(?:(\\d+)m)?([\\d.]+)s$")).match(t);
    EXPECT_TRUE(m.hasMatch()) << t.toStdString();
    return m.captured(1).toDouble() * 3600 + m.captured(2).toDouble() * 60 + m.captured(3).toDouble();
}
double Arco(const QString& t)   // "32'19''" -> arc seconds
{
    const auto m = QRegularExpression(QStringLiteral("^(\\d+)'(\\d\\d)''$")).match(t);
    EXPECT_TRUE(m.hasMatch()) << t.toStdString();
    return m.captured(1).toInt() * 60 + m.captured(2).toInt();
}

class ObjectBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
        vb::setDisplayLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
        ASSERT_TRUE(Carica_dati(QStringLiteral(ASTROVELA_PROGRAM_DIR)));
        testsupport::Osservatore(45.4642f, 9.19f, 120.0f);
        rif = Leggi_Corpi(istante);
        core::CentralClock::instance().reset();
        core::CentralClock::instance().setTimeSource(&tempo);
        tempo.now = istante;
        pflgCentrale = true;
        core::CentralClock::instance().tmrCentrale_Timer();
    }
    void TearDown() override
    {
        core::CentralClock::instance().setTimeSource(nullptr);
        core::CentralClock::instance().reset();
        pflgCentrale = pflgSatellite = false;
        gdatDataCorrente = QDateTime();
        frmObject::gintOggetto = 0;
        mLang::Usa_File_Lingua({});
        vb::setDisplayLocale(QLocale::system());
    }
    FixedTime tempo;
    QDateTime istante;
    std::vector<RifCorpo> rif;
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
};

} // namespace

TEST_F(ObjectBoxTest, BodyFiguresAgreeWithPyEphem)
{
    ASSERT_EQ(rif.size(), 9u);
    // The planets come from mean J2000 elements (within 0.2 degrees); their
    // right ascension and declination are J2000 places (PyEphem's
    // astrometric ones), their elevation and azimuth of the date. The Moon's
    // right ascension and declination are geocentric (PyEphem's topocentric:
    // the parallax reaches a degree); its elevation and azimuth are the
    // observer's.
    const double tol[10] = {0, 0.2, 0.2, 0.2, 0.2, 0.2, 0.2, 0.2, 0.1, 1.2};
    const double tolOrizzontali[10] = {0, 0.2, 0.2, 0.2, 0.2, 0.2, 0.2, 0.2, 0.1, 0.3};
    // Each planet's own phase law, as PyEphem's: Mercury, a third lit, within
    // half a magnitude (the lit fraction alone made it two magnitudes too
    // bright).
    const double tolMag[8] = {0, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5};
    const std::map<int, double> magnitudini = Magnitudini_Modello(istante);
    ASSERT_EQ(magnitudini.size(), 7u);
    const char* nomi[10] = {"", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Sun", "Moon"};
    for (const RifCorpo& r : rif) {
        frmObject::gintOggetto = r.riga;
        frmObject box;
        box.Form_Paint();
        const std::string chi = nomi[r.riga];
        EXPECT_EQ(box.windowTitle(), QString::fromLatin1(nomi[r.riga]));
        const double t = tol[r.riga];
        EXPECT_NEAR(std::remainder(Ore(box.lblRa->text()) - r.ra, 24.0) * 15 * std::cos(r.dec * M_PI / 180), 0, t + 0.1)
            << chi;
        EXPECT_NEAR(Gradi(box.lblDec->text()), r.dec, t + 1 / 60.0) << chi;
        EXPECT_NEAR(vb::Val(box.lblAlt->text()), r.alt, tolOrizzontali[r.riga] + 0.06) << chi;
        EXPECT_NEAR(std::remainder(vb::Val(box.lblAz->text()) - r.az, 360.0) * std::cos(r.alt * M_PI / 180), 0,
                    tolOrizzontali[r.riga] + 0.06)
            << chi;
        EXPECT_NEAR(Arco(box.lblSize->text()), r.diametro, 0.06 * r.diametro + 1.0) << chi;
        if (r.riga <= 7) {
            EXPECT_FALSE(box.lblMag->isHidden()) << chi;
            const double ua = vb::Val(box.lblDist->text());
            EXPECT_TRUE(box.lblDist->text().endsWith(" AU"));
            EXPECT_NEAR(ua, r.distanza, 0.05 * r.distanza) << chi;
            // Light time: 499.005 s an AU.
            EXPECT_NEAR(Secondi(box.lblLight->text()), r.distanza * 499.005, 0.05 * r.distanza * 499.005) << chi;
            EXPECT_NEAR(vb::Val(box.lblPhase->text()), r.fase, 0.05) << chi;
            EXPECT_NEAR(vb::Val(box.lblMag->text()), r.mag, tolMag[r.riga]) << chi;
            // The program's own magnitude model, worked independently: to 0.005, and the
            // one-decimal text within its rounding of that.
            const double propria = magnitudini.at(r.riga);
            EXPECT_NEAR(gudtCorpi[r.riga].Magnitudine, propria, 0.005) << chi;
            EXPECT_NEAR(vb::Val(box.lblMag->text()), propria, 0.06) << chi;
        } else if (r.riga == mAstro::kSole) {
            EXPECT_TRUE(box.lblMag->isHidden());
            EXPECT_TRUE(box.lblMagnitudine->isHidden());
            EXPECT_EQ(box.lblFase->text(), "Magnitude");
            EXPECT_EQ(box.lblPhase->text(), "-26.4");
            EXPECT_NEAR(vb::Val(QString(box.lblDist->text()).remove(',')), r.distanza, 2e-4 * r.distanza);
            EXPECT_TRUE(box.lblDist->text().endsWith(" km"));
            EXPECT_NEAR(Secondi(box.lblLight->text()), r.distanza / 299792.458, 1.0);
        } else {
            EXPECT_TRUE(box.lblMag->isHidden());
            EXPECT_NEAR(vb::Val(QString(box.lblDist->text()).remove(',')), r.distanza, 0.02 * r.distanza);
            EXPECT_NEAR(vb::Val(box.lblPhase->text()), 100 * r.fase, 3.0);
            EXPECT_TRUE(box.lblPhase->text().endsWith('%'));
            EXPECT_NEAR(Secondi(box.lblLight->text()), r.distanza / 299792.458, 0.06);
        }
    }
}

TEST_F(ObjectBoxTest, NumberTexts)
{
    using namespace sky::dettagli;
    EXPECT_EQ(Testo_AR(6.7524), " 06h 45m 08s");
    EXPECT_EQ(Testo_Dec(-16.7f), "-16° 42'");   // a star record's single-precision declination
    EXPECT_EQ(Testo_Dec(-0.5), "-00° 30'");
    EXPECT_EQ(Testo_Dec(0.0), "+00° 00'");
    EXPECT_EQ(Testo_Altezza(-5.04), "-5.0°");
    EXPECT_EQ(Testo_Azimuth(7.25), "7.3°");
    EXPECT_EQ(Testo_Diametro(1865), "31'05''");
    EXPECT_EQ(Testo_Diametro(43.4), "0'43''");
    // Light: 0.2 AU is 99.8 s, 30.1 AU 4 h 10 min 19 s, 0.71 AU 5.904 min.
    EXPECT_EQ(Tempo_Luce_Pianeta(0.2), "1m40s");
    EXPECT_EQ(Tempo_Luce_Pianeta(30.1), "4h10m19s");
    EXPECT_EQ(Tempo_Luce_Pianeta(0.71), "5m54s");
    // 119.7 s show as two minutes, not one minute and 60 seconds.
    EXPECT_EQ(Tempo_Luce_Pianeta(119.7 / 3600 / 0.1386), "2m00s");
    EXPECT_EQ(Tempo_Luce_Sole(499.0 * 299792.0), "08m19s");
    EXPECT_EQ(Tempo_Luce_Sole(479.6 * 299792.0), "08m00s");
    EXPECT_EQ(Tempo_Luce_Luna(384400), "1.3s");
    EXPECT_EQ(Fase_Luna(0), "0%");
    EXPECT_EQ(Fase_Luna(M_PI), "100%");
    EXPECT_EQ(Fase_Luna(M_PI / 2), "50%");
}

TEST_F(ObjectBoxTest, MoonPictureAndStarRows)
{
    auto pixel = [](frmObject& b, int dx) {
        const QImage img = b.PicObject->canvas().image();
        return img.pixel(img.width() / 2 + dx, img.height() / 2) & 0xFFFFFF;
    };
    frmObject::gintOggetto = mAstro::kLuna;
    gudtCorpi[mAstro::kLuna].Fase = 0;
    {
        frmObject b;
        b.Form_Paint();
        EXPECT_EQ(b.lblPhase->text(), "0%");
        EXPECT_EQ(pixel(b, -8), 0u);
        EXPECT_EQ(pixel(b, 8), 0u);
    }
    gudtCorpi[mAstro::kLuna].Fase = M_PI / 2;   // first quarter: lit on the right
    {
        frmObject b;
        b.Form_Paint();
        EXPECT_EQ(pixel(b, -8), 0u);
        EXPECT_EQ(pixel(b, 8), 0xFFFFFFu);
        // A later paint follows the table.
        gudtCorpi[mAstro::kLuna].Fase = M_PI;
        b.Form_Paint();
        EXPECT_EQ(b.lblPhase->text(), "100%");
        EXPECT_EQ(pixel(b, -8), 0xFFFFFFu);
    }

    // A star: its record's rows in place of the body's, twice the same.
    ASSERT_TRUE(Leggi_Record_Stella(QStringLiteral(ASTROVELA_PROGRAM_DIR), 1));
    frmObject::gintOggetto = 0;
    frmObject b;
    b.Form_Paint();
    const QString dec = b.lblDec->text();
    b.Form_Paint();
    EXPECT_EQ(b.lblDec->text(), dec);
    EXPECT_TRUE(dec.startsWith('-'));
    EXPECT_EQ(b.windowTitle(), "Sirius");
    EXPECT_EQ(b.lblDiametro->text(), "Constellation");
    EXPECT_EQ(b.lblFase->text(), "Bayer letter");
    EXPECT_EQ(b.lblDistanza->text(), "Spectral class");
    EXPECT_EQ(b.lblMag->text(), "-1.46");
    EXPECT_TRUE(b.lblLight->text().isEmpty());
    EXPECT_TRUE(b.lblTempoLuce->text().isEmpty());
    EXPECT_TRUE(b.lblDist->text().startsWith('A'));

    b.cmdHelp_Click();
    ASSERT_EQ(fakes.help.calls.size(), 1u);
    EXPECT_EQ(fakes.help.calls[0].context, 130);
    frmObject::gintOggetto = 4;
    b.cmdOK_Click();
    EXPECT_EQ(frmObject::gintOggetto, 0);
}

TEST_F(ObjectBoxTest, EveryUnitComesFromTheLanguageFile)
{
    // A language file whose units are all unlike the English ones.
    QFile en(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
    ASSERT_TRUE(en.open(QIODevice::ReadOnly));
    QString testo = QString::fromUtf8(en.readAll());
    const std::pair<const char*, const char*> unita[] = {
        {"ua=AU", "ua=UAx"}, {"km=km", "km=chil"}, {"ore=h", "ore=o"}, {"minuti=m", "minuti=p"}, {"secondi=s", "secondi=z"}};
    for (const auto& [da, a] : unita) {
        ASSERT_TRUE(testo.contains(QLatin1String(da))) << da;
        testo.replace(QRegularExpression(QStringLiteral("(?m)^") + QRegularExpression::escape(QLatin1String(da)) + QStringLiteral("\\r?$")),
                      QLatin1String(a));
    }
    QTemporaryDir dir;
    QFile prova(dir.filePath(QStringLiteral("prova.ini")));
    ASSERT_TRUE(prova.open(QIODevice::WriteOnly));
    prova.write(testo.toUtf8());
    prova.close();
    mLang::Usa_File_Lingua(prova.fileName());

    frmObject::gintOggetto = 5; // Saturn, about 10 AU: light time over an hour
    {
        frmObject box;
        box.Form_Paint();
        EXPECT_TRUE(box.lblDist->text().endsWith(QStringLiteral(" UAx"))) << box.lblDist->text().toStdString();
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+o\\d\\dp\\d\\dz$")).match(box.lblLight->text()).hasMatch())
            << box.lblLight->text().toStdString();
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^ \\d\\do \\d\\dp \\d\\dz$")).match(box.lblRa->text()).hasMatch())
            << box.lblRa->text().toStdString();
    }
    frmObject::gintOggetto = mAstro::kSole;
    {
        frmObject box;
        box.Form_Paint();
        EXPECT_TRUE(box.lblDist->text().endsWith(QStringLiteral(" chil")));
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\dp\\d\\dz$")).match(box.lblLight->text()).hasMatch());
    }
    frmObject::gintOggetto = mAstro::kLuna;
    {
        frmObject box;
        box.Form_Paint();
        EXPECT_TRUE(box.lblDist->text().endsWith(QStringLiteral(" chil")));
        EXPECT_TRUE(box.lblLight->text().endsWith(QLatin1Char('z')));
    }
    // In Italian the astronomical unit reads "UA".
    mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/italiano.ini"));
    frmObject::gintOggetto = 5;
    frmObject box;
    box.Form_Paint();
    EXPECT_TRUE(box.lblDist->text().endsWith(QStringLiteral(" UA")));
}
