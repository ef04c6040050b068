// The whole-sky chart: where it draws the bodies and stars against PyEphem
// (tests/data/ref_general_sky.csv, tools/ref_general_sky.py), its layers,
// the mouse readout, the zoom and the identification of a clicked object.
#include "sky/sky_chart_window.h"
#include "sky/object_box.h"
#include "sky/sky_chart_logic.h"
#include "core/clock.h"
#include "core/data_files.h"
#include "core/globals_time.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "platform/canvas_widget.h"
#include "platform/fakes.h"
#include "platform/services.h"
#include "platform/vb.h"
#include "shell/main_window.h"
#include "common/window_links.h"
#include "maps/local_sky_window.h"
#include "maps/local_sky_menu.h"

#include "support/fixed_time.h"
#include "support/observer.h"
#include "support/ref_rows.h"
#include <QAction>
#include <QApplication>
#include <QMdiSubWindow>
#include <QMdiArea>
#include <QMenu>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTextStream>
#include <QTimer>
#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

using testsupport::FixedTime;

struct Rif {
    QString tipo, nome;
    std::vector<double> v;   // the numbers of the row
    QString costellazione;
};

std::vector<Rif> Leggi_Riferimenti(QDateTime& istante)
{
    std::vector<Rif> righe;
    testsupport::Righe_Riferimento("ref_general_sky.csv", istante, [&](const QStringList& c) {
        if (c[0] == QLatin1String("body") || c[0] == QLatin1String("j2000")) {
            Rif r{c[0], c[1], {}, {}};
            for (int i = 2; i < c.size(); ++i)
                r.v.push_back(c[i].toDouble());
            righe.push_back(r);
        } else if (c[0] == QLatin1String("star")) {
            righe.push_back({c[0], c[1], {c[2].toDouble(), c[3].toDouble(), c[4].toDouble(), c[6].toDouble(),
                                         c[7].toDouble()}, c[5]});
        }
    });
    return righe;
}

class GeneralSkyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
        mLang::Imposta_Cartella_Programma(QStringLiteral(ASTROVELA_PROGRAM_DIR));
        vb::setDisplayLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
        ASSERT_TRUE(Carica_dati(QStringLiteral(ASTROVELA_PROGRAM_DIR)));
        testsupport::Osservatore(45.4642f, 9.19f, 120.0f);
        rif = Leggi_Riferimenti(istante);
        core::CentralClock::instance().reset();
        core::CentralClock::instance().setTimeSource(&tempo);
        tempo.now = istante;
        pflgCentrale = true;
        core::CentralClock::instance().tmrCentrale_Timer();
        gintGeneraleStelle = 5146;
        gblnGeneraleGriglia = true;
        gblnGeneraleCostellazioniLinee = false;
        gblnGeneraleCostellazioniNomi = false;
        gblnGeneralePianeti = true;
        gblnGeneraleSoleLuna = true;
        gblnGeneralePianetiNomi = false;
        gblnGeneraleSoleLunaNomi = false;
        glngColoreGrigliaGenerale = 6579300;
    }
    void TearDown() override
    {
        delete frmGeneralSky::instance(false);
        core::CentralClock::instance().setTimeSource(nullptr);
        core::CentralClock::instance().reset();
        pflgCentrale = pflgSatellite = false;
        gdatDataCorrente = QDateTime();
        mLang::Usa_File_Lingua({});
        mLang::Imposta_Cartella_Programma({});
        vb::setDisplayLocale(QLocale::system());
    }

    // A chart whose surface is exactly w by h pixels, drawn once.
    frmGeneralSky* Carta(int w = 960, int h = 540)
    {
        pflgSatellite = true;
        frmGeneralSky* c = frmGeneralSky::instance();
        c->show();
        c->resize(w, h);
        QApplication::processEvents();
        EXPECT_EQ(c->Picture1->canvas().pixelSize(), QSize(w, h));
        c->Genera_mappa();
        return c;
    }

    // True when a pixel of colour `colore` lies within `raggio` pixels of
    // the point of right ascension ra and declination dec on a full-view chart.
    static bool Colore_Vicino(const QImage& img, double ra, double dec, QRgb colore, int raggio)
    {
        const int x0 = int(std::lround((24.0 - ra) / 24.0 * img.width()));
        const int y0 = int(std::lround((90.0 - dec) / 180.0 * img.height()));
        for (int y = y0 - raggio; y <= y0 + raggio; ++y)
            for (int x = x0 - raggio; x <= x0 + raggio; ++x)
                if (img.rect().contains(x, y) && (img.pixel(x, y) & 0xFFFFFF) == (colore & 0xFFFFFF))
                    return true;
        return false;
    }

    FixedTime tempo;
    QDateTime istante;
    std::vector<Rif> rif;
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
};

} // namespace

TEST_F(GeneralSkyTest, BodiesAndStarsStandWherePyEphemSeesThem)
{
    frmGeneralSky* c = Carta();
    EXPECT_TRUE(pflgSatellite) << "the clock's satellite section runs again after the drawing";
    EXPECT_TRUE(c->tmrGeneralSky->isActive());
    EXPECT_EQ(c->tmrGeneralSky->interval(), 60000);
    EXPECT_EQ(c->windowTitle(), "Whole-sky chart - 23 Feb 2026 21:00 Local time");
    const QImage img = c->Picture1->canvas().image();

    // Planet colours within the models' errors of PyEphem's places (the
    // planets from mean elements: Mercury and Mars within a few degrees).
    const QRgb colori[8] = {0, qRgb(255, 0, 255), qRgb(0, 255, 0), qRgb(255, 0, 0), qRgb(128, 0, 0),
                            qRgb(255, 255, 0), qRgb(0, 255, 255), qRgb(0, 0, 255)};
    const int tolleranza[8] = {0, 12, 4, 12, 4, 4, 4, 4};   // pixels: 40 px an hour, 3 px a degree
    for (const Rif& r : rif) {
        if (r.tipo != QLatin1String("body"))
            continue;
        const int n = r.nome.toInt();
        if (n <= 7)
            EXPECT_TRUE(Colore_Vicino(img, r.v[0], r.v[1], colori[n], tolleranza[n])) << "planet " << n;
        else if (n == mAstro::kLuna) {
            // The Moon's black outline, radius 24/140 h (7 px), about its place.
            EXPECT_TRUE(Colore_Vicino(img, r.v[0], r.v[1], qRgb(0, 0, 0), 10));
            EXPECT_TRUE(Colore_Vicino(img, r.v[0], r.v[1], qRgb(255, 255, 255), 6));
        }
    }
    // The Sun and the Moon, computed for the date, stand at their J2000
    // places like everything else on the chart (0.36 degrees apart in 2026):
    // the Sun within its model's 0.01 degree, the Moon within its 0.25.
    int j2000 = 0;
    for (const Rif& r : rif) {
        if (r.tipo != QLatin1String("j2000"))
            continue;
        const int n = r.nome.toInt();
        double a = 0, d = 0;
        sky::Posizione_Carta(n, a, d);
        const double limite = n == mAstro::kSole ? 0.02 : 0.25;
        EXPECT_NEAR(std::remainder(a - r.v[0], 24.0) * 15 * std::cos(d * M_PI / 180), 0, limite) << n;
        EXPECT_NEAR(d, r.v[1], limite) << n;
        ++j2000;
    }
    EXPECT_EQ(j2000, 2);

    // Bright stars are white discs at their catalogue places.
    for (const Rif& r : rif) {
        if (r.tipo == QLatin1String("star") && r.v[2] < 1.5) {
            EXPECT_TRUE(Colore_Vicino(img, r.v[0], r.v[1], qRgb(255, 255, 255), 1)) << r.nome.toStdString();
        }
    }

    // Grid: meridians every 4 h (12 h in the middle), none at 0 h; parallels every 30 degrees.
    const QRgb griglia = vb::toQColor(6579300).rgb();
    EXPECT_EQ(img.pixel(480, 20) & 0xFFFFFF, griglia & 0xFFFFFF);
    EXPECT_EQ(img.pixel(100, 270) & 0xFFFFFF, griglia & 0xFFFFFF);   // the equator
    EXPECT_NE(img.pixel(img.width() - 1, 20) & 0xFFFFFF, griglia & 0xFFFFFF);
    EXPECT_EQ(img.pixel(700, 5) & 0xFFFFFF, qRgb(0, 0, 71) & 0xFFFFFF);

    // Unchecking the planets and the Sun and Moon removes them at the next redraw.
    c->voce("mnuGeneralSkyOggettiPianeti")->setChecked(true);
    c->Inverti_Voce("mnuGeneralSkyOggettiPianeti");
    c->Inverti_Voce("mnuGeneralSkyOggettiSoleLuna");
    const QImage senza = c->Picture1->canvas().image();
    for (const Rif& r : rif) {
        if (r.tipo == QLatin1String("body") && r.nome.toInt() == mAstro::kGiove) {
            EXPECT_FALSE(Colore_Vicino(senza, r.v[0], r.v[1], colori[4], 6));
        }
    }
    const mAstro::CorpoCeleste& luna = gudtCorpi[mAstro::kLuna];
    EXPECT_FALSE(Colore_Vicino(senza, luna.AscensioneRetta, luna.Declinazione, qRgb(0, 0, 0), 10));
}

TEST_F(GeneralSkyTest, StarCountsAndBrightnessClasses)
{
    frmGeneralSky* c = Carta();
    auto conta = [](const QImage& img, QRgb colore) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += (img.pixel(x, y) & 0xFFFFFF) == (colore & 0xFFFFFF);
        return n;
    };
    c->Inverti_Voce("mnuGeneralSkyGriglia");
    EXPECT_GT(conta(c->Picture1->canvas().image(), qRgb(140, 140, 140)), 1000);
    c->gintNumStelle = 1639;
    c->Genera_mappa();
    EXPECT_EQ(conta(c->Picture1->canvas().image(), qRgb(140, 140, 140)), 0);
    EXPECT_GT(conta(c->Picture1->canvas().image(), qRgb(220, 220, 220)), 500);
    c->gintNumStelle = 0;
    c->voce("mnuGeneralSkyOggettiSoleLuna")->setChecked(false);
    c->voce("mnuGeneralSkyOggettiPianeti")->setChecked(false);
    c->Genera_mappa();
    EXPECT_EQ(conta(c->Picture1->canvas().image(), qRgb(0, 0, 71)), 960 * 540);
}

TEST_F(GeneralSkyTest, ReadoutOfTheMouse)
{
    sky::CoordinateMouse m = sky::Calcola_Coordinate(5.5, -12.25);
    EXPECT_EQ(sky::Testo_Coordinate(m, "R.A.", "Dec."), "R.A. 05h 30m 00s  Dec. -12° 15' ");
    m = sky::Calcola_Coordinate(23.9999, 0.0);
    EXPECT_EQ(m.Segno, "+");
    EXPECT_EQ(m.Ore, 23);
    EXPECT_EQ(m.Minuti, 59);
    EXPECT_EQ(m.Secondi, 59);
    m = sky::Calcola_Coordinate(12.0, -0.01);
    EXPECT_EQ(sky::Testo_Coordinate(m, "a", "d"), "a 12h 00m 00s  d -00° 00' ");

    frmGeneralSky* c = Carta();
    c->Picture1_MouseMove(0, 0, 5.5, -12.25);
    EXPECT_EQ(c->windowTitle(), "Whole-sky chart - 23 Feb 2026 21:00 Local time -  R.A. 05h 30m 00s  Dec. -12° 15' ");
}

TEST_F(GeneralSkyTest, ZoomAndReset)
{
    frmGeneralSky* c = Carta();
    QAction* zoom = c->voce("mnuGeneralSkyZoom");
    QAction* ripristina = c->voce("mnuGeneralSkyRipristina");
    EXPECT_FALSE(ripristina->isEnabled());
    c->mnuGeneralSkyZoom_Click();
    EXPECT_TRUE(zoom->isChecked());
    EXPECT_EQ(c->puntatore(), 3);
    EXPECT_TRUE(ripristina->isEnabled());

    // A drag along one axis only keeps the zoom mode and the view.
    c->Picture1_MouseDown(1, 0, 12, 60);
    c->Picture1_MouseUp(1, 0, 12, 0);
    EXPECT_TRUE(zoom->isChecked());
    EXPECT_EQ(c->gsngLatoSx, 24);

    // A drag from top left to bottom right is the new window; the release
    // point is clamped, the press point is not.
    c->Picture1_MouseDown(1, 0, 12, 60);
    c->Picture1_MouseMove(1, 0, 6, 0);
    c->Picture1_MouseUp(1, 0, -3, -100);
    EXPECT_FLOAT_EQ(c->gsngLatoSx, 12);
    EXPECT_FLOAT_EQ(c->gsngLatoSy, 60);
    EXPECT_FLOAT_EQ(c->gsngLatoDx, 0);
    EXPECT_FLOAT_EQ(c->gsngLatoDy, -90);
    EXPECT_FALSE(zoom->isChecked());
    EXPECT_EQ(c->puntatore(), 1);
    EXPECT_DOUBLE_EQ(c->Picture1->canvas().scaleWidth(), -12);
    // Sirius (6.75 h, -16.7) now sits at x = (12 - 6.75) / 12 of the width.
    const QImage img = c->Picture1->canvas().image();
    const int x = int(std::lround((12 - 6.7522) / 12 * 960));
    const int y = int(std::lround((60 + 16.725) / 150 * 540));
    bool bianco = false;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx)
            bianco |= (img.pixel(x + dx, y + dy) & 0xFFFFFF) == 0xFFFFFF;
    EXPECT_TRUE(bianco);

    // A resize redraws at the same window.
    c->resize(800, 500);
    QApplication::processEvents();
    EXPECT_FLOAT_EQ(c->gsngLatoSx, 12);
    EXPECT_DOUBLE_EQ(c->Picture1->canvas().scaleHeight(), -150);

    // A box dragged from its bottom right to its top left zooms the same,
    // the right way round (not turned by half a turn), and so does one
    // dragged from bottom left to top right.
    for (const auto& [xa, ya, xb, yb] : {std::array<double, 4>{3, -30, 9, 30}, std::array<double, 4>{9, -30, 3, 30}}) {
        c->mnuGeneralSkyRipristina_Click();
        c->mnuGeneralSkyZoom_Click();
        c->Picture1_MouseDown(1, 0, xa, ya);
        c->Picture1_MouseUp(1, 0, xb, yb);
        EXPECT_FLOAT_EQ(c->gsngLatoSx, 9);
        EXPECT_FLOAT_EQ(c->gsngLatoSy, 30);
        EXPECT_FLOAT_EQ(c->gsngLatoDx, 3);
        EXPECT_FLOAT_EQ(c->gsngLatoDy, -30);
        EXPECT_DOUBLE_EQ(c->Picture1->canvas().scaleWidth(), -6);
        EXPECT_DOUBLE_EQ(c->Picture1->canvas().scaleHeight(), -60);
        // A zoom inside the zoom, dragged upwards, keeps the orientation too.
        c->mnuGeneralSkyZoom_Click();
        c->Picture1_MouseDown(1, 0, 5, -10);
        c->Picture1_MouseUp(1, 0, 7, 10);
        EXPECT_FLOAT_EQ(c->gsngLatoSx, 7);
        EXPECT_FLOAT_EQ(c->gsngLatoSy, 10);
        EXPECT_DOUBLE_EQ(c->Picture1->canvas().scaleWidth(), -2);
        EXPECT_DOUBLE_EQ(c->Picture1->canvas().scaleHeight(), -20);
    }

    c->mnuGeneralSkyRipristina_Click();
    EXPECT_FLOAT_EQ(c->gsngLatoSx, 24);
    EXPECT_FLOAT_EQ(c->gsngLatoDy, -90);
    EXPECT_FALSE(ripristina->isEnabled());
    EXPECT_FALSE(zoom->isChecked());
}

TEST_F(GeneralSkyTest, NearestObjectOnScreenIsPicked)
{
    // The full view (24 h by 180 degrees) shown 800 by 600 pixels: an hour
    // is 33.3 pixels across, a degree 3.33 pixels up.
    const double W = 800, H = 600;
    // Sirius alone among the stars, every body far away.
    for (int n = 1; n <= 9; ++n) {
        gudtCorpi[n].AscensioneRetta = 20;
        gudtCorpi[n].Declinazione = 80;
    }
    const double a = gudtStelle[1].AscensioneRetta;
    const double d = gudtStelle[1].Declinazione;
    // Reach: a hundredth of the width, 8 pixels (0.24 h across).
    sky::Identificazione id = sky::Identifica(a + 0.2, d, -24, -180, W, H, 1);
    EXPECT_NEAR(id.dStella, std::pow(0.2 * W / 24, 2), 1e-6);
    EXPECT_DOUBLE_EQ(id.soglia, 64.0);
    EXPECT_EQ(id.oggetto, 0);
    EXPECT_EQ(id.stella, 1);
    EXPECT_EQ(sky::Identifica(a + 0.25, d, -24, -180, W, H, 1).oggetto, -1);
    // A pixel up counts as a pixel across: 2.1 degrees (7 pixels) is in
    // reach, 2.7 degrees (9 pixels) is not.
    EXPECT_EQ(sky::Identifica(a, d + 2.1, -24, -180, W, H, 1).oggetto, 0);
    EXPECT_EQ(sky::Identifica(a, d + 2.7, -24, -180, W, H, 1).oggetto, -1);
    // A body at the same place as the star wins the tie.
    gudtCorpi[mAstro::kMarte].AscensioneRetta = a;
    gudtCorpi[mAstro::kMarte].Declinazione = d;
    EXPECT_EQ(sky::Identifica(a + 0.1, d, -24, -180, W, H, 1).oggetto, mAstro::kMarte);
    // No stars drawn: only the bodies can be picked.
    gudtCorpi[mAstro::kMarte].Declinazione = 80;
    gudtCorpi[mAstro::kSole].AscensioneRetta = a;
    gudtCorpi[mAstro::kSole].Declinazione = d;
    EXPECT_EQ(sky::Identifica(a, d, -24, -180, W, H, 0).oggetto, mAstro::kSole);
    gudtCorpi[mAstro::kSole].Declinazione = 80;

    // A click one pixel above Venus, with a star 1.2 degrees away across
    // (0.08 h, 2.7 pixels): Venus is nearer on screen and opens. (Weighing
    // declination by the chart's aspect ratio alone counted the one pixel
    // up twenty times a pixel across and opened the star.)
    gudtCorpi[mAstro::kVenere].AscensioneRetta = a - 0.08;
    gudtCorpi[mAstro::kVenere].Declinazione = d;
    const double unPixelSu = 180.0 / H;
    id = sky::Identifica(a - 0.08, d + unPixelSu, -24, -180, W, H, 1);
    EXPECT_EQ(id.oggetto, mAstro::kVenere);
    EXPECT_NEAR(id.dCorpo, 1.0, 1e-6);
    // The same on a zoomed view (2 h by 30 degrees, 400 by 300 pixels): the
    // reach is still a hundredth of the width on screen.
    id = sky::Identifica(a - 0.08, d + 30.0 / 300, -2, -30, 400, 300, 1);
    EXPECT_EQ(id.oggetto, mAstro::kVenere);
    EXPECT_DOUBLE_EQ(id.soglia, 16.0);
}

TEST_F(GeneralSkyTest, ClickOnAStarOpensItsDetails)
{
    frmGeneralSky* c = Carta();
    const Rif* sirio = nullptr;
    for (const Rif& r : rif)
        if (r.nome == QLatin1String("Sirius"))
            sirio = &r;
    ASSERT_NE(sirio, nullptr);
    QString titolo, ra, dec, mag, cost, lettera, alt, az;
    int oggetto = -1;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<frmObject*>(QApplication::activeModalWidget());
        if (!box)
            return;
        oggetto = frmObject::gintOggetto;
        box->Form_Paint();
        titolo = box->windowTitle();
        ra = box->lblRa->text();
        dec = box->lblDec->text();
        mag = box->lblMag->text();
        cost = box->lblSize->text();
        lettera = box->lblPhase->text();
        alt = box->lblAlt->text();
        az = box->lblAz->text();
        box->cmdOK_Click();
    });
    // Just beside Sirius (a faint star lies about a pixel and a half away on
    // screen: 0.09 h east and 0.36 degrees south).
    c->Picture1_MouseDown(1, 0, sirio->v[0] + 0.01, sirio->v[1]);
    c->Picture1_MouseUp(1, 0, sirio->v[0] + 0.01, sirio->v[1]);
    EXPECT_EQ(oggetto, 0);
    EXPECT_EQ(frmObject::gintOggetto, 0);
    EXPECT_EQ(titolo, "Sirius");
    // The catalogue place, magnitude and constellation against PyEphem's.
    const QRegularExpression hms(QStringLiteral("^ (\\d\\d)h (\\d\\d)m (\\d\\d)s$"));
    const auto m = hms.match(ra);
    ASSERT_TRUE(m.hasMatch()) << ra.toStdString();
    const double ore = m.captured(1).toInt() + m.captured(2).toInt() / 60.0 + m.captured(3).toInt() / 3600.0;
    EXPECT_NEAR(ore, sirio->v[0], 2.0 / 3600);
    // PyEphem carries the star by its proper motion to 2026 (half a minute).
    const auto md = QRegularExpression(QStringLiteral("^-(\\d\\d)° (\\d\\d)'$")).match(dec);
    ASSERT_TRUE(md.hasMatch()) << dec.toStdString();
    EXPECT_NEAR(-(md.captured(1).toInt() + md.captured(2).toInt() / 60.0), sirio->v[1], 2.0 / 60);   // truncated minutes
    EXPECT_NEAR(vb::Val(mag), sirio->v[2], 0.05);
    EXPECT_EQ(cost, sirio->costellazione);
    EXPECT_EQ(lettera, QString::fromUtf8("α"));
    // Elevation and azimuth of the J2000 place precessed to the date: within
    // nutation, aberration and Sirius's proper motion since 2000 (0.01 deg).
    EXPECT_NEAR(vb::Val(alt), sirio->v[3], 0.05);
    EXPECT_NEAR(vb::Val(az), sirio->v[4], 0.05 / std::cos(sirio->v[3] * M_PI / 180));
}

TEST_F(GeneralSkyTest, ClosingSavesThePlacementUnlessMinimised)
{
    frmGeneralSky* c = Carta(700, 400);
    c->move(30, 45);
    c->close();
    QApplication::processEvents();
    auto valore = [&](const char* k) {
        return fakes.settings.value(QStringLiteral("Cielo generale"), QString::fromLatin1(k)).value_or(QString());
    };
    EXPECT_EQ(valore("Window_Left"), "450");
    EXPECT_EQ(valore("Window_Top"), "675");
    EXPECT_EQ(valore("Window_Width"), "10500");
    EXPECT_EQ(valore("Window_Height"), "6000");

    platform::FakeServices altri;
    platform::ScopedServices nuovo{altri.services()};
    c = Carta();
    c->showMinimized();
    QApplication::processEvents();
    c->close();
    EXPECT_FALSE(altri.settings.value(QStringLiteral("Cielo generale"), QStringLiteral("Window_Left")).has_value());
}

TEST_F(GeneralSkyTest, MainWindowMenuDrivesTheChart)
{
    MDIForm1 w;
    sky::Collega_Cielo_Generale(w);
    w.resize(1200, 820);
    w.show();
    QAction* apri = w.menuItem("mnuCieloMappaGenerale");
    ASSERT_TRUE(apri->isEnabled());
    apri->trigger();
    frmGeneralSky* c = frmGeneralSky::instance(false);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->parentWidget()->parentWidget()->parentWidget(), w.mdiArea());
    QApplication::processEvents();
    EXPECT_TRUE(w.menu("mnuGeneralSky")->menuAction()->isVisible());
    // The check marks start from the settings.
    QAction* griglia = w.menuItem("mnuGeneralSkyGriglia");
    EXPECT_TRUE(griglia->isChecked());
    EXPECT_FALSE(w.menuItem("mnuGeneralSkyOggettiCostellazioni")->isChecked());
    EXPECT_TRUE(w.menuItem("mnuGeneralSkyOggettiPianeti")->isChecked());
    // Choosing a layer item flips it once and redraws without the layer.
    griglia->trigger();
    EXPECT_FALSE(griglia->isChecked());
    const QImage img = c->Picture1->canvas().image();
    const QRgb colore = vb::toQColor(6579300).rgb() & 0xFFFFFF;
    EXPECT_NE(img.pixel(img.width() / 2, 20) & 0xFFFFFF, colore);

    QAction* zoom = w.menuItem("mnuGeneralSkyZoom");
    QAction* ripristina = w.menuItem("mnuGeneralSkyRipristina");
    EXPECT_FALSE(ripristina->isEnabled());
    zoom->trigger();
    EXPECT_TRUE(zoom->isChecked());
    EXPECT_EQ(c->puntatore(), 3);
    EXPECT_TRUE(ripristina->isEnabled());
    c->Picture1_MouseDown(1, 0, 10, 30);
    c->Picture1_MouseUp(1, 0, 4, -30);
    EXPECT_FALSE(zoom->isChecked());
    EXPECT_FLOAT_EQ(c->gsngLatoDx, 4);
    ripristina->trigger();
    EXPECT_FLOAT_EQ(c->gsngLatoSx, 24);
    EXPECT_FALSE(ripristina->isEnabled());

    // Zoom mode on, then closing: the zoom item is unchecked by the unload.
    zoom->trigger();
    EXPECT_TRUE(zoom->isChecked());
    w.menuItem("mnuGeneralSkyChiudi")->trigger();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmGeneralSky::instance(false), nullptr);
    EXPECT_FALSE(zoom->isChecked());
    EXPECT_TRUE(fakes.settings.value(QStringLiteral("Cielo generale"), QStringLiteral("Window_Width")).has_value());

    // A placement saved on a larger screen opens inside the visible workspace.
    gblnPosizioniFinestre = true;
    fakes.settings.setValue(QStringLiteral("Cielo generale"), QStringLiteral("Window_Left"), QStringLiteral("30000"));
    fakes.settings.setValue(QStringLiteral("Cielo generale"), QStringLiteral("Window_Top"), QStringLiteral("20000"));
    apri->trigger();
    QApplication::processEvents();
    c = frmGeneralSky::instance(false);
    ASSERT_NE(c, nullptr);
    auto* cornice = qobject_cast<QMdiSubWindow*>(c->parentWidget());
    ASSERT_NE(cornice, nullptr);
    EXPECT_TRUE(w.mdiArea()->viewport()->rect().contains(cornice->geometry())) << cornice->geometry().x();
    EXPECT_GE(cornice->width(), cornice->minimumSizeHint().width());
    gblnPosizioniFinestre = false;
    w.mdiArea()->closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
