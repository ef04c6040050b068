// The Sun, Moon and planet table: its figures against PyEphem for one
// instant over Milan (tests/data/ref_tables.csv, tools/ref_tables.py), the
// refresh by the clock tick, and the texts of its pictures.
#include "tables/planet_table.h"
#include "core/clock.h"
#include "core/data_files.h"
#include "core/globals_time.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "platform/fakes.h"
#include "platform/services.h"
#include "platform/vb.h"

#include "support/fixed_time.h"
#include "support/ref_magnitudes.h"
#include "support/observer.h"
#include "support/ref_rows.h"
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTextStream>
#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {

using testsupport::FixedTime;

struct RifCorpo {
    int riga;
    double alt, az, ra, dec, distanza, mag;
};

QDateTime g_istante;

std::vector<RifCorpo> Leggi_Corpi()
{
    std::vector<RifCorpo> v;
    testsupport::Righe_Riferimento("ref_tables.csv", g_istante, [&](const QStringList& c) {
        if (c[0] == QLatin1String("body"))
            v.push_back({c[1].toInt(), c[2].toDouble(), c[3].toDouble(), c[4].toDouble(), c[5].toDouble(),
                         c[6].toDouble(), c[7].toDouble()});
    });
    return v;
}

using testsupport::Magnitudini_Modello;

// "6h45m" -> hours; "-16°45'" -> degrees.
double Ore(const QString& t)
{
    const auto m = QRegularExpression(QStringLiteral("^(\\d+)h(\\d\\d)m$")).match(t);
    EXPECT_TRUE(m.hasMatch()) << t.toStdString();
    return m.captured(1).toInt() + m.captured(2).toInt() / 60.0;
}
double Gradi(const QString& t)
{
    const auto m = QRegularExpression(QStringLiteral("^(-?)(\\d+)°(\\d\\d)'$")).match(t);
    EXPECT_TRUE(m.hasMatch()) << t.toStdString();
    const double v = m.captured(2).toInt() + m.captured(3).toInt() / 60.0;
    return m.captured(1).isEmpty() ? v : -v;
}
double Numero(const QLabel* l)
{
    return vb::Val(QString(l->text()).remove(QLatin1Char(',')));
}

class PlanetsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
        vb::setDisplayLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
        ASSERT_TRUE(Carica_dati(QStringLiteral(ASTROVELA_PROGRAM_DIR)));
        testsupport::Osservatore(45.4642f, 9.19f, 120.0f);
        core::CentralClock::instance().reset();
        core::CentralClock::instance().setTimeSource(&tempo);
    }
    void TearDown() override
    {
        delete frmPlanets::instance();
        core::CentralClock::instance().setTimeSource(nullptr);
        core::CentralClock::instance().reset();
        pflgCentrale = pflgSatellite = false;
        gdatDataCorrente = QDateTime();
        mLang::Usa_File_Lingua({});
        vb::setDisplayLocale(QLocale::system());
    }
    FixedTime tempo;
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
};

} // namespace

TEST_F(PlanetsTest, FiguresFollowTheClockAndAgreeWithPyEphem)
{
    const std::vector<RifCorpo> rif = Leggi_Corpi();
    ASSERT_EQ(rif.size(), 9u);
    frmPlanets* p = frmPlanets::Mostra();
    EXPECT_EQ(core::clockViews().planets, p);
    EXPECT_EQ(p->windowTitle(), mLang::Testo_Lingua("frmPlanets", "effemeridipianeti"));

    tempo.now = g_istante;
    pflgCentrale = true;
    core::CentralClock::instance().tmrCentrale_Timer();

    const std::map<int, double> modello = Magnitudini_Modello(g_istante);
    ASSERT_EQ(modello.size(), 7u);

    // The planets come from mean J2000 elements (within 0.2 degrees),
    // distances within their models' errors. The Moon's elevation and
    // azimuth are the observer's, its right ascension and declination
    // geocentric (PyEphem's are topocentric: the parallax is up to a degree).
    const double tolPosizione[10] = {0, 0.2, 0.2, 0.2, 0.2, 0.2, 0.2, 0.2, 0.1, 1.2};
    const double tolOrizzontali[10] = {0, 0.2, 0.2, 0.2, 0.2, 0.2, 0.2, 0.2, 0.1, 0.3};
    for (const RifCorpo& r : rif) {
        const size_t i = size_t(r.riga - 1);
        const double tol = tolPosizione[r.riga];
        const std::string chi = std::to_string(r.riga);
        const double alt = vb::Val(p->lblAlt[i]->text());
        EXPECT_NEAR(alt, r.alt, tolOrizzontali[r.riga] + 0.05) << chi;
        EXPECT_EQ(p->lblAlt[i]->palette().color(QPalette::WindowText),
                  r.alt < 0 ? QColor(255, 0, 0) : QColor(0, 0, 255)) << chi;
        EXPECT_NEAR(std::remainder(vb::Val(p->lblAz[i]->text()) - r.az, 360.0) * std::cos(r.alt * M_PI / 180), 0,
                    tolOrizzontali[r.riga] + 0.05) << chi;
        EXPECT_NEAR(std::remainder(Ore(p->lblRa[i]->text()) - r.ra, 24.0) * 15 * std::cos(r.dec * M_PI / 180), 0,
                    tol + 0.25) << chi;
        EXPECT_NEAR(Gradi(p->lblDec[i]->text()), r.dec, tol + 1 / 60.0) << chi;
        if (r.riga <= 7) {
            EXPECT_NEAR(Numero(p->lblDist[i]), r.distanza, 0.05 * r.distanza + 0.05) << chi;
            // Each planet's own phase law, as PyEphem's, within half a
            // magnitude and the text's rounding (the lit fraction alone put
            // Venus, a third lit, over a magnitude too bright).
            EXPECT_NEAR(Numero(p->lblMag[i]), r.mag, 0.5 + 0.05) << chi;
            // Against the program's own model worked independently: the one-decimal
            // text within 0.05 of it after its own rounding.
            EXPECT_NEAR(Numero(p->lblMag[i]), modello.at(r.riga), 0.05 + 0.05) << chi;
            EXPECT_NEAR(gudtCorpi[i + 1].Magnitudine, modello.at(r.riga), 0.005) << chi;
        }
    }
    EXPECT_NEAR(Numero(p->lblDistSun), rif[7].distanza, 2e-4 * rif[7].distanza);
    EXPECT_NEAR(Numero(p->lblDistMoon), rif[8].distanza, 0.025 * rif[8].distanza);
    EXPECT_EQ(p->lblDistSun->text().size(), 11);   // 147,65x,xxx
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\.\\ds$")).match(p->lblLight[8]->text()).hasMatch());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^8m\\d\\ds$")).match(p->lblLight[7]->text()).hasMatch());

    // A tick an hour later moves the figures; a stopped clock leaves them.
    const QString prima = p->lblAz[7]->text();
    tempo.now = g_istante.addSecs(3600);
    core::CentralClock::instance().tmrCentrale_Timer();
    EXPECT_NE(p->lblAz[7]->text(), prima);
    const std::map<int, double> dopoUnOra = Magnitudini_Modello(g_istante.addSecs(3600));
    ASSERT_EQ(dopoUnOra.size(), 7u);
    for (int n = 1; n <= 7; ++n)
        EXPECT_NEAR(gudtCorpi[size_t(n)].Magnitudine, dopoUnOra.at(n), 0.005) << n;
    const QString dopo = p->lblAz[7]->text();
    core::CentralClock::instance().Arresta();
    core::CentralClock::instance().tmrCentrale_Timer();
    EXPECT_EQ(p->lblAz[7]->text(), dopo);

    p->cmdHelp_Click();
    ASSERT_EQ(fakes.help.calls.size(), 1);
    EXPECT_EQ(fakes.help.calls[0].context, 180);
    p->cmdOK_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(core::clockViews().planets, nullptr);
}

TEST_F(PlanetsTest, TextsOfAnglesAndLightTimes)
{
    // Right ascension and declination truncated to the minute; the sign of a
    // negative declination stands in front also at 0 degrees.
    EXPECT_EQ(tables::Testo_AR(6.7524), "6h45m");
    EXPECT_EQ(tables::Testo_AR(23.999), "23h59m");
    EXPECT_EQ(tables::Testo_Dec(-0.5), "-0°30'");
    EXPECT_EQ(tables::Testo_Dec(0.5), "0°30'");
    EXPECT_EQ(tables::Testo_Dec(-16.75), "-16°45'");
    // Light: 0.71 AU is 5.904 minutes, 30.1 AU 4 h 10 min 19 s (at 0.1386 h
    // an AU), the Sun at 499.0 s 8 min 19 s.
    EXPECT_EQ(tables::Tempo_Luce_Pianeta(0.71), "5m54s");
    EXPECT_EQ(tables::Tempo_Luce_Pianeta(30.1), "4h10m19s");
    EXPECT_EQ(tables::Tempo_Luce_Sole(499.0 * 299792.0), "8m19s");
    // Seconds that round up to 60 carry into the minutes: 0.5 AU is
    // 4.158 min (4m09s); 8.2 AU is 1.13652 h = 1 h 8 min 11.47 s; 59.7 s of
    // a minute becomes the next minute.
    EXPECT_EQ(tables::Tempo_Luce_Pianeta(0.5), "4m09s");
    EXPECT_EQ(tables::Tempo_Luce_Pianeta(8.2), "1h08m11s");
    EXPECT_EQ(tables::Tempo_Luce_Pianeta(59.7 / 60.0 / 60.0 / 0.1386 + 2.0 / 60.0 / 0.1386), "3m00s");
    EXPECT_EQ(tables::Tempo_Luce_Sole(539.7 * 299792.0), "9m00s");

    // Elevation colours: exactly 0 is blue, any amount below red; the Moon's
    // light time with one decimal.
    gudtCorpi[mAstro::kSole].Altezza = 0.0;
    gudtCorpi[mAstro::kLuna].Altezza = -0.01;
    gudtCorpi[mAstro::kLuna].Distanza = 384400;
    gudtCorpi[mAstro::kSole].Distanza = 149597871;
    frmPlanets* p = frmPlanets::Mostra();
    EXPECT_EQ(p->lblAlt[7]->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(p->lblAlt[7]->text(), "0.0°");
    EXPECT_EQ(p->lblAlt[8]->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(p->lblLight[8]->text(), "1.3s");
    EXPECT_EQ(p->lblDistMoon->text(), "384,400");
    EXPECT_EQ(p->lblDistSun->text(), "149,597,871");
    EXPECT_EQ(p->lblLight[7]->text(), "8m19s");
}
