// Pointer handling of the chart: zoom box, time labels on the principal's
// pass, object picking and the coordinates in the caption.
#include "local_sky_fixture.h"

#include <QDateTime>
#include <QImage>

#include <climits>
#include <QRegularExpression>
#include <QTimeZone>

namespace {

using skytest::LocalSky;

class LocalSkyPointer : public LocalSky {
protected:
    void SetUp() override
    {
        LocalSky::SetUp();
        f = maps::cielo::mnuCieloMappaLocale_Click();
        f->setLarghezzaRiquadro(0);
        f->resize(703, 352); // the chart (less the margins) twice as wide as high: scale width 400
        f->Form_Resize();
        frmLocalSky::mostraOggetto() = [this](int o) { scelti.push_back(o); };
    }
    void TearDown() override
    {
        frmLocalSky::mostraOggetto() = nullptr;
        LocalSky::TearDown();
    }
    frmLocalSky* f = nullptr;
    std::vector<int> scelti;
};

TEST_F(LocalSkyPointer, ZoomBoxIsClampedAndLeavesZoomMode)
{
    ASSERT_FLOAT_EQ(f->Picture1->canvas().scaleWidth(), 400);
    clic("mnuLocalSkyZoom");
    ASSERT_TRUE(spunta("mnuLocalSkyZoom"));
    // A click without a drag neither zooms nor picks, also where the chart
    // position is no number a float holds exactly (next to Jupiter, so that
    // a pick would show).
    const CorpoCeleste& giove = gudtCorpi[mAstro::kGiove];
    for (const QPointF p : {QPointF(10, 10), QPointF(10.3, -7.7), QPointF(giove.XMappa + 0.1, giove.YMappa + 0.1)}) {
        f->Picture1_MouseDown(1, 0, p.x(), p.y());
        f->Picture1_MouseUp(1, 0, p.x(), p.y());
        EXPECT_FALSE(f->gblnZoom) << p.x();
        EXPECT_FLOAT_EQ(f->Picture1->canvas().scaleWidth(), 400) << p.x();
        EXPECT_TRUE(spunta("mnuLocalSkyZoom"));
    }
    EXPECT_TRUE(scelti.empty());
    f->Picture1_MouseDown(1, 0, -50, 50);
    f->Picture1_MouseMove(1, 0, 100, -20);
    EXPECT_FALSE(pflgSatellite); // the tick leaves the rubber box alone
    f->Picture1_MouseUp(1, 0, 300, -150);
    EXPECT_TRUE(f->gblnZoom);
    EXPECT_FLOAT_EQ(f->gsngLatoSx, -50);
    EXPECT_FLOAT_EQ(f->gsngLatoSy, 50);
    EXPECT_FLOAT_EQ(f->gsngLatoDx, 200);
    EXPECT_FLOAT_EQ(f->gsngLatoDy, -100);
    EXPECT_TRUE(pflgSatellite);
    EXPECT_FALSE(spunta("mnuLocalSkyZoom"));
    EXPECT_TRUE(main->menuItem("mnuLocalSkyRipristina")->isEnabled());
    // The zoom window stays when the window is resized.
    f->resize(500, 500);
    EXPECT_FLOAT_EQ(f->Picture1->canvas().scaleLeft(), -50);
    clic("mnuLocalSkyRipristina");
    EXPECT_FALSE(f->gblnZoom);
    EXPECT_FALSE(main->menuItem("mnuLocalSkyRipristina")->isEnabled());
    EXPECT_FALSE(spunta("mnuLocalSkyTempi"));
}

TEST_F(LocalSkyPointer, AZoomBoxDraggedAnyWayShowsTheSameRegionTheRightWayRound)
{
    // Jupiter, up in the east at 21:00, inside every box below.
    const CorpoCeleste& giove = gudtCorpi[mAstro::kGiove];
    ASSERT_GT(giove.Altezza, 0);
    const double gx = giove.XMappa, gy = giove.YMappa;
    const double x1 = gx - 20, x2 = gx + 20, y1 = gy + 10, y2 = gy - 10;
    // From the top left, from the bottom right, from the bottom left, from
    // the top right: one and the same window, x growing to the right and y
    // upwards as on the whole chart.
    const QPointF angoli[][2] = {{{x1, y1}, {x2, y2}}, {{x2, y2}, {x1, y1}}, {{x1, y2}, {x2, y1}}, {{x2, y1}, {x1, y2}}};
    for (const auto& box : angoli) {
        SCOPED_TRACE(testing::Message() << "from " << box[0].x() << "," << box[0].y());
        clic("mnuLocalSkyRipristina");
        clic("mnuLocalSkyZoom");
        f->Picture1_MouseDown(1, 0, box[0].x(), box[0].y());
        f->Picture1_MouseMove(1, 0, box[1].x(), box[1].y());
        f->Picture1_MouseUp(1, 0, box[1].x(), box[1].y());
        ASSERT_TRUE(f->gblnZoom);
        EXPECT_FLOAT_EQ(f->gsngLatoSx, float(x1));
        EXPECT_FLOAT_EQ(f->gsngLatoSy, float(y1));
        EXPECT_FLOAT_EQ(f->gsngLatoDx, float(x2));
        EXPECT_FLOAT_EQ(f->gsngLatoDy, float(y2));
        EXPECT_GT(f->Picture1->canvas().scaleWidth(), 0);
        EXPECT_LT(f->Picture1->canvas().scaleHeight(), 0);
        // Redrawn in the new window, Jupiter is still where a click finds it.
        scelti.clear();
        f->Picture1_MouseDown(1, 0, giove.XMappa + 0.1, giove.YMappa);
        f->Picture1_MouseUp(1, 0, giove.XMappa + 0.1, giove.YMappa);
        ASSERT_EQ(scelti.size(), 1u);
        EXPECT_EQ(scelti[0], mAstro::kGiove);
    }
}

// The compass labels of a zoomed chart: only those whose points lie in the
// zoom window, each whole inside it. Their colour, RGB(212, 208, 200), is
// drawn by nothing else on the chart.
TEST_F(LocalSkyPointer, AZoomedChartShowsTheCompassLabelsWhosePointsItHolds)
{
    auto etichette = [&](int daX, int aX) {
        const QImage img = f->Picture1->canvas().persistentImage();
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = std::max(0, daX); x < std::min(aX, img.width()); ++x)
                n += img.pixel(x, y) == qRgb(212, 208, 200);
        return n;
    };
    auto ingrandisci = [&](QPointF a, QPointF b) {
        clic("mnuLocalSkyRipristina");
        clic("mnuLocalSkyZoom");
        f->Picture1_MouseDown(1, 0, a.x(), a.y());
        f->Picture1_MouseMove(1, 0, b.x(), b.y());
        f->Picture1_MouseUp(1, 0, b.x(), b.y());
        ASSERT_TRUE(f->gblnZoom);
    };
    const int tutte = etichette(0, INT_MAX);
    ASSERT_GT(tutte, 50);
    // A box over the middle holds no label's point: none is drawn, not E or
    // W pulled onto its sides nor 120 and 240 onto its foot.
    ingrandisci({-40, 40}, {40, -40});
    EXPECT_EQ(etichette(0, INT_MAX), 0);
    // A box about the point of the label on the chart's left side (-100, 2):
    // that label alone, whole, clear of the window's right edge.
    ingrandisci({-104, 20}, {-60, -20});
    const int larghezza = f->Picture1->canvas().persistentImage().width();
    EXPECT_GT(etichette(0, larghezza / 2), 10);
    EXPECT_EQ(etichette(larghezza / 2, INT_MAX), 0);
    clic("mnuLocalSkyRipristina");
    EXPECT_EQ(etichette(0, INT_MAX), tutte);
}

// A zoom window wider than the chart's proportions (200 x 30 units on a chart
// twice as wide as high) over the southern horizon: the sky disc still ends
// at the horizon, and the 10 degree circle of the grid runs at its altitude,
// with the horizon effect and with the plain fill.
TEST_F(LocalSkyPointer, AWideZoomWindowKeepsTheHorizonAndTheGridCirclesInPlace)
{
    main->menuItem("mnuLocalSkyPaesaggio")->setChecked(false);
    main->menuItem("mnuLocalSkyGriglia")->setChecked(true);
    clic("mnuLocalSkyProiezStereo");
    const bool effetto = gblnLocaleEffettoOrizzonte, dieci = gblnLocaleGriglia10;
    gblnLocaleGriglia10 = true;
    for (bool sfumato : {true, false}) {
        SCOPED_TRACE(sfumato ? "horizon effect" : "plain fill");
        gblnLocaleEffettoOrizzonte = sfumato;
        clic("mnuLocalSkyRipristina");
        clic("mnuLocalSkyZoom");
        f->Picture1_MouseDown(1, 0, -100, -65);
        f->Picture1_MouseMove(1, 0, 100, -95);
        f->Picture1_MouseUp(1, 0, 100, -95);
        ASSERT_TRUE(f->gblnZoom);
        const platform::Canvas& c = f->Picture1->canvas();
        const QImage img = c.persistentImage();
        // The pixel of the point at x on the lower half of the circle of
        // radius r about the zenith, dy pixels below it.
        auto pixel = [&](double r, double x, int dy = 0) {
            const double y = -std::sqrt(r * r - x * x);
            return img.pixel(int((x - c.scaleLeft()) / c.scaleWidth() * img.width()),
                             int((y - c.scaleTop()) / c.scaleHeight() * img.height()) + dy);
        };
        // Sky: blue and dark; outside the horizon the chart's black.
        auto cielo = [](QRgb p) { return qBlue(p) >= 60 && qRed(p) < 40 && qGreen(p) < 40; };
        int dentro = 0, fuori = 0, punti = 0;
        for (double x = -54; x <= 54; x += 6) {
            if (std::abs(x) < 10)
                continue; // the S label stands below the horizon there
            ++punti;
            dentro += cielo(pixel(88.5, x));
            fuori += qGray(pixel(91.5, x)) > 20 || qBlue(pixel(91.5, x)) > 20;
        }
        EXPECT_GE(dentro, punti - 2); // a star may fall on a point or two
        EXPECT_EQ(fuori, 0);
        // Altitude 10 degrees on the stereographic chart: 90 tan(40 deg),
        // drawn in the grey of the grid.
        const double r10 = 90 * std::tan(40 * M_PI / 180);
        int griglia = 0;
        for (double x = -30; x <= 30; x += 10) {
            bool g = false;
            for (int dy = -1; dy <= 1; ++dy)
                g = g || (qRed(pixel(r10, x, dy)) > 60 && qGreen(pixel(r10, x, dy)) > 60);
            griglia += g;
        }
        EXPECT_EQ(griglia, 7);
    }
    gblnLocaleEffettoOrizzonte = effetto;
    gblnLocaleGriglia10 = dieci;
    clic("mnuLocalSkyRipristina");
}

TEST_F(LocalSkyPointer, PicksTheNearestBodyOrStarInsideTheChart)
{
    // Jupiter is up in the east at 21:00.
    const CorpoCeleste& giove = gudtCorpi[mAstro::kGiove];
    ASSERT_GT(giove.Altezza, 0);
    f->Picture1_MouseDown(1, 0, giove.XMappa + 0.3, giove.YMappa);
    f->Picture1_MouseUp(1, 0, giove.XMappa + 0.3, giove.YMappa);
    ASSERT_EQ(scelti.size(), 1u);
    EXPECT_EQ(scelti[0], mAstro::kGiove);
    // A star: its catalogue record is read for the details box.
    int indice = 0;
    for (int i = 1; i < 300 && !indice; ++i)
        if (gudtStelle[i].Altezza > 20 && std::abs(gudtStelle[i].XMappa) < 90)
            indice = i;
    ASSERT_GT(indice, 0);
    gudtRecordStella = RecordStella{};
    f->Picture1_MouseUp(1, 0, gudtStelle[indice].XMappa, gudtStelle[indice].YMappa);
    ASSERT_EQ(scelti.size(), 2u);
    EXPECT_EQ(scelti[1], 0);
    EXPECT_NEAR(gudtRecordStella.AscensioneRetta, gudtStelle[indice].AscensioneRetta, 1e-5);
    // With the scale 400 wide only the middle half counts as inside.
    f->Picture1_MouseUp(1, 0, 150, 0);
    EXPECT_EQ(scelti.size(), 2u);
    // Far from everything nothing opens.
    f->Picture1_MouseUp(1, 0, 0, 99);
    EXPECT_EQ(scelti.size(), 2u);
}

TEST_F(LocalSkyPointer, CaptionShowsTheCoordinatesUnderThePointer)
{
    f->Picture1_MouseMove(0, 0, 0, 0);
    // The zenith (read with the chart's 8-digit pi, so a hair under 90 degrees).
    const QRegularExpression zenit(QStringLiteral("^Local sky - 26 Nov 2013 21:00 Local time -  Az\\. \\d\\d\\d° \\d\\d' Elev\\. (89° 59'|90° 00')$"));
    EXPECT_TRUE(zenit.match(f->windowTitle()).hasMatch()) << f->windowTitle().toStdString();
    // South at the bottom: the point below the zenith half way to the horizon (equidistant).
    clic("mnuLocalSkyProiezNormale");
    f->Picture1_MouseMove(0, 0, 0, -45);
    const QRegularExpression sud(QStringLiteral("Az\\. (180° 00'|179° 59') Elev\\. (45° 00'|44° 59')$"));
    EXPECT_TRUE(sud.match(f->windowTitle()).hasMatch()) << f->windowTitle().toStdString();
    // Below the horizon the caption keeps its text.
    const QString prima = f->windowTitle();
    f->Picture1_MouseMove(0, 0, 0, -95);
    EXPECT_EQ(f->windowTitle(), prima);
    // Equatorial read-out at the zenith: declination = latitude, RA = sidereal time.
    clic("mnuLocalSkyCoordEquat");
    f->Picture1_MouseMove(0, 0, 0, 0);
    EXPECT_TRUE(f->windowTitle().contains("Dec. +41° 5")) << f->windowTitle().toStdString();
}

TEST_F(LocalSkyPointer, TimeLabelsAttachToTheNearestPassPoint)
{
    // The ISS at 23:01 local time over Rome (ref_local_sky.csv: rise 22:59:13 UT).
    std::vector<RigaDati> iss = {skytest::sets().back()};
    ASSERT_EQ(iss[0].Riga1.substr(2, 5), "25544");
    elenca(iss);
    Orologio(QDate(2013, 11, 27), QTime(0, 1, 0));
    ASSERT_TRUE(mSat::Calcola_Satellite(1, gdblGiornoGiuliano));
    ASSERT_GT(gudtValori[1].Altezza, 0);
    clic("mnuLocalSkyTransitoPrincipale");
    ASSERT_TRUE(spunta("mnuLocalSkyTempi"));
    ASSERT_GT(core::Ultimo_Punto(), 5);
    const core::PuntoPassaggio p = gudtPuntiPassaggio[3];
    // Dropped above its point: the text is raised by one line.
    f->Picture1_MouseDown(1, 0, p.XMappa + 0.5, p.YMappa);
    f->Picture1_MouseMove(1, 0, p.XMappa + 20, p.YMappa + 10);
    f->Picture1_MouseUp(1, 0, p.XMappa + 20, p.YMappa + 10);
    ASSERT_EQ(core::Ultima_Etichetta(), 1);
    const core::EtichettaPassaggio& e = gudtEtichettePassaggio[1];
    EXPECT_EQ(e.Punto, 3);
    EXPECT_FLOAT_EQ(e.XPunto, p.XMappa);
    EXPECT_FLOAT_EQ(e.YEtichetta, p.YMappa + 10);
    EXPECT_TRUE(pflgSatellite);
    EXPECT_TRUE(pflgCentrale);
    // The label's text: the point's time, and its magnitude when sunlit.
    // The ISS's period is 86400 s / 15.50540527 = 5572.2 s, a step of 31 s:
    // point 3 lies two steps after the clock's 00:01:00.
    const QString testo = core::Testo_Etichetta(p, QStringLiteral("Mag."));
    const QRegularExpression forma(QStringLiteral("^00:02:02( mag\\.-?\\d+\\.\\d)?$"));
    EXPECT_TRUE(forma.match(testo).hasMatch()) << testo.toStdString();
    EXPECT_EQ(testo.contains(" mag."), !p.Magnitudine.isEmpty());
    // Too far from every point: no label.
    const double soglia = std::abs(f->Picture1->canvas().scaleHeight()) / 10;
    double bx = 0, by = 0;
    for (double y = -90; y <= 90 && bx == 0; y += 1)
        for (double x = -90; x <= 90; x += 1) {
            double minimo = 1e9;
            for (int k = 1; k < core::Ultimo_Punto(); ++k)
                minimo = std::min(minimo, std::pow(x - gudtPuntiPassaggio[k].XMappa, 2)
                                              + std::pow(y - gudtPuntiPassaggio[k].YMappa, 2));
            if (minimo > 4 * soglia && minimo < 9 * soglia) {
                bx = x, by = y;
                break;
            }
        }
    ASSERT_NE(bx, 0);
    f->Picture1_MouseDown(1, 0, bx, by);
    f->Picture1_MouseUp(1, 0, bx + 30, by);
    EXPECT_EQ(core::Ultima_Etichetta(), 1);
    // The labels stay through a redraw and go with a new orientation.
    f->Genera_mappa();
    EXPECT_EQ(core::Ultima_Etichetta(), 1);
    if (qEnvironmentVariableIsSet("ASTROVELA_SHOTS")) {
        core::CentralClock::instance().Arresta();
        pflgCentrale = true;
        core::CentralClock::instance().Aggiorna();
        f->Picture1->canvas().image().save(qEnvironmentVariable("ASTROVELA_SHOTS") + "/localsky_pass.png");
    }
    clic("mnuLocalSkyOrientamentoNord");
    EXPECT_EQ(core::Ultima_Etichetta(), 0);
    EXPECT_TRUE(spunta("mnuLocalSkyTransitoPrincipale"));
    EXPECT_GT(core::Ultimo_Punto(), 5);
}

} // namespace
