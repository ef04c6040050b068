// The local sky window: loading from the settings, layout, redraw, the live
// satellites, closing.
#include "local_sky_fixture.h"

#include <QGroupBox>
#include <QImage>
#include <QLabel>

namespace {

using skytest::LocalSky;

TEST_F(LocalSky, OpensFromTheMenuAndDrawsTheSatellites)
{
    elenca(skytest::sets());
    ASSERT_GT(gintNumSatelliti, 10);
    main->show();
    frmLocalSky* f = views::cielo::mnuCieloMappaLocale_Click();
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(core::clockViews().localSky, f);
    // Sets the sample's old sets may have decayed by 2013: each tick removes one.
    for (int i = 0; i < 40; ++i) {
        const int prima = gintNumSatelliti;
        tick();
        if (gintNumSatelliti == prima)
            break;
    }
    f->Genera_mappa();
    tick();
    QCoreApplication::processEvents();
    // Every satellite still listed was computed and the principal's figures reached the data box.
    EXPECT_FALSE(f->lblOrbitNumber->text().isEmpty());
    EXPECT_EQ(f->lblOrbitNumber->text(), core::Testi_Principale(gudtValori[1], gudtSatelementi[1], 1,
                                                                 gsngLatitudine, gdblTempoSiderale).lblOrbitNumber);
    if (qEnvironmentVariableIsSet("ASTROVELA_SHOTS")) {
        f->Picture1->canvas().image().save(qEnvironmentVariable("ASTROVELA_SHOTS") + "/localsky_chart.png");
        main->grab().save(qEnvironmentVariable("ASTROVELA_SHOTS") + "/localsky_window.png");
    }
}

} // namespace

namespace {

TEST_F(LocalSky, LoadSetsTheMenuFromTheSettingsAndClosingSavesThePlacement)
{
    gintLocaleOrientamento = 2;         // west
    gblnLocaleProiezioneStereo = false; // normal projection
    gblnLocaleCoordinateAltazimutali = false;
    gblnLocaleGriglia = true;
    gblnLocaleRiquadroDati = false;
    gintLocaleStelle = 50000;           // beyond the table: held to it
    main->show();
    frmLocalSky* f = views::cielo::mnuCieloMappaLocale_Click();
    EXPECT_TRUE(spunta("mnuLocalSkyOrientamentoOvest"));
    EXPECT_FALSE(spunta("mnuLocalSkyOrientamentoSud"));
    EXPECT_TRUE(spunta("mnuLocalSkyProiezNormale"));
    EXPECT_FALSE(spunta("mnuLocalSkyProiezStereo"));
    EXPECT_TRUE(spunta("mnuLocalSkyCoordEquat"));
    EXPECT_TRUE(spunta("mnuLocalSkyGriglia"));
    EXPECT_EQ(f->gintNumStelle, int(gudtStelle.size()) - 1);
    EXPECT_EQ(f->orientamento(), views::cielo::kOvest);
    // Without the data box the chart takes the whole window but for the margins.
    EXPECT_EQ(f->Picture1->width(), f->width() - 1);
    EXPECT_FALSE(f->fraSatellitePrincipale->isVisible());
    EXPECT_FALSE(main->menuItem("mnuLocalSkyRipristina")->isEnabled());

    // A zoom, the pass times and the transit are off again after a reopening.
    clic("mnuLocalSkyZoom");
    EXPECT_TRUE(main->menuItem("mnuLocalSkyRipristina")->isEnabled());
    EXPECT_TRUE(spunta("mnuLocalSkyZoom"));
    f->gblnZoom = true;
    f->parentWidget()->setGeometry(30, 40, 600, 420);
    clic("mnuLocalSkyChiudi");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmLocalSky::instance(), nullptr);
    EXPECT_EQ(core::clockViews().localSky, nullptr);
    EXPECT_FALSE(spunta("mnuLocalSkyZoom"));
    EXPECT_EQ(fakes.settings.value("Cielo locale", "Window_Left").value_or("?"), " 450");
    EXPECT_EQ(fakes.settings.value("Cielo locale", "Window_Width").value_or("?"), " 9000");

    // Any other stored orientation leaves the four items as they are.
    gintLocaleOrientamento = 7;
    f = views::cielo::mnuCieloMappaLocale_Click();
    EXPECT_TRUE(spunta("mnuLocalSkyOrientamentoOvest"));
    EXPECT_FALSE(f->gblnZoom);
    EXPECT_FLOAT_EQ(f->gsngLatoSy, 100);
}

TEST_F(LocalSky, SkyStageAndLayersFollowTheSunAndTheMenu)
{
    frmLocalSky* f = views::cielo::mnuCieloMappaLocale_Click();
    f->resize(500, 400);
    gblnLocaleEffettoOrizzonte = false;
    f->Genera_mappa();
    // Night at 21:00 in November: the disc is filled with stage 4's blue.
    const QImage notte = f->Picture1->canvas().image();
    const QPoint centro = f->Picture1->canvas().toDevice({40, 40}).toPoint();
    EXPECT_EQ(notte.pixelColor(centro).blue(), 71);
    // Noon: stage 1.
    Orologio(QDate(2013, 11, 26), QTime(12, 0, 0));
    f->Genera_mappa();
    EXPECT_EQ(f->Picture1->canvas().image().pixelColor(centro).blue(), 196);
    EXPECT_TRUE(f->windowTitle().startsWith("Local sky - 26 Nov 2013 12:00"));
    EXPECT_TRUE(f->windowTitle().endsWith("Local time"));
    // The redraw gives the satellites back to the tick.
    EXPECT_TRUE(pflgSatellite);

    // The principal below the horizon switches the pass display off and drops the labels.
    spunta("mnuLocalSkyTransitoPrincipale");
    main->menuItem("mnuLocalSkyTransitoPrincipale")->setChecked(true);
    main->menuItem("mnuLocalSkyTempi")->setChecked(true);
    gudtEtichettePassaggio.push_back({1, 1, 2, 2, 1});
    gudtValori[1].Altezza = 0;
    f->Genera_mappa();
    EXPECT_FALSE(spunta("mnuLocalSkyTransitoPrincipale"));
    EXPECT_FALSE(spunta("mnuLocalSkyTempi"));
    EXPECT_EQ(core::Ultima_Etichetta(), 0);
}

TEST_F(LocalSky, SatellitesOnTheTransientLayer)
{
    elenca({skytest::sets().back()}); // the ISS
    frmLocalSky* f = views::cielo::mnuCieloMappaLocale_Click();
    f->resize(500, 400);
    f->Genera_mappa();
    platform::Canvas& c = f->Picture1->canvas();
    const QImage vuota = c.image();
    // A satellite at the zenith is drawn over the chart...
    gudtValori[1].Altezza = 90;
    gudtValori[1].Stato = StatoVisibile;
    f->Disegna_satellite_in_cielo(1);
    EXPECT_NE(c.image(), vuota);
    EXPECT_EQ(c.persistentImage(), vuota);
    // ...and one exactly on the horizon is not; slot 1 still clears the last tick's drawing.
    gudtValori[1].Altezza = 0;
    f->Disegna_satellite_in_cielo(1);
    EXPECT_EQ(c.image(), vuota);
}

} // namespace
