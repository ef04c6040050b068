// The local sky window: loading from the settings, layout, redraw, the live
// satellites, closing.
#include "local_sky_fixture.h"

#include <cmath>

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QGroupBox>
#include <QRegularExpression>
#include <QTimeZone>
#include <QToolButton>
#include <QImage>
#include <QLabel>

namespace {

using skytest::LocalSky;

TEST_F(LocalSky, OpensFromTheMenuAndDrawsTheSatellites)
{
    elenca(skytest::sets());
    ASSERT_GT(gintNumSatelliti, 10);
    main->show();
    frmLocalSky* f = maps::cielo::mnuCieloMappaLocale_Click();
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
    // The principal's figures reached the data box (their values: DataBox test below).
    EXPECT_FALSE(f->fraSatellitePrincipale->lblOrbitNumber->text().isEmpty());
    EXPECT_NE(f->fraSatellitePrincipale->lblOrbitNumber->text(), "0");
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
    frmLocalSky* f = maps::cielo::mnuCieloMappaLocale_Click();
    EXPECT_TRUE(spunta("mnuLocalSkyOrientamentoOvest"));
    EXPECT_FALSE(spunta("mnuLocalSkyOrientamentoSud"));
    EXPECT_TRUE(spunta("mnuLocalSkyProiezNormale"));
    EXPECT_FALSE(spunta("mnuLocalSkyProiezStereo"));
    EXPECT_TRUE(spunta("mnuLocalSkyCoordEquat"));
    EXPECT_TRUE(spunta("mnuLocalSkyGriglia"));
    EXPECT_EQ(f->gintNumStelle, int(gudtStelle.size()) - 1);
    EXPECT_EQ(f->orientamento(), common::kOvest);
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
    f = maps::cielo::mnuCieloMappaLocale_Click();
    EXPECT_TRUE(spunta("mnuLocalSkyOrientamentoOvest"));
    EXPECT_FALSE(f->gblnZoom);
    EXPECT_FLOAT_EQ(f->gsngLatoSy, 100);
}

TEST_F(LocalSky, SkyStageAndLayersFollowTheSunAndTheMenu)
{
    frmLocalSky* f = maps::cielo::mnuCieloMappaLocale_Click();
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

// A reference row of ref_local_sky.csv (PyEphem and Skyfield).
QStringList riferimento(const char* tipo, const char* nome = nullptr)
{
    QFile f(QStringLiteral(ASTROVELA_TEST_DATA "/ref_local_sky.csv"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    while (!f.atEnd()) {
        const QStringList c = QString::fromUtf8(f.readLine()).trimmed().split(',');
        if (c.size() >= 6 && c[0] == QLatin1String(tipo) && (!nome || c[1] == QLatin1String(nome)))
            return c;
    }
    ADD_FAILURE() << tipo;
    return QStringList(6);
}

// The local time two minutes after the ISS rises over Rome, the instant of
// the "isslook" reference (local time UT + 1).
QDateTime issDopoIlSorgere()
{
    return QDateTime::fromSecsSinceEpoch(riferimento("isslook")[1].toLongLong(), QTimeZone::utc()).addSecs(3600);
}

// Where a direction lies on the chart: x = -r sin(90k + az), y = r cos(90k + az).
QPointF sulGrafico(int k, bool stereo, double az, double alt)
{
    const double g = M_PI / 180;
    const double r = stereo ? 90 * std::tan((45 - alt / 2) * g) : 90 - alt;
    return {-r * std::sin((90 * k + az) * g), r * std::cos((90 * k + az) * g)};
}

TEST_F(LocalSky, SatellitesOnTheTransientLayer)
{
    elenca({skytest::sets().back()}); // the ISS
    Orologio(issDopoIlSorgere().date(), issDopoIlSorgere().time());
    main->menuItem("mnuLocalSkyPaesaggio")->setChecked(false);
    frmLocalSky* f = maps::cielo::mnuCieloMappaLocale_Click();
    main->show();
    f->parentWidget()->resize(600, 500);
    QCoreApplication::processEvents();
    f->gintNumStelle = 1;
    f->Genera_mappa();
    platform::Canvas& c = f->Picture1->canvas();
    const QImage vuota = c.image();
    gudtSatelementi[1].Nome = " "; // the icon alone
    tick();
    ASSERT_GT(gudtValori[1].Altezza, 0);
    // The icon is drawn about where Skyfield sees the ISS (south at the
    // bottom, stereographic): the middle of the changed pixels within 3
    // pixels of it, nothing changed farther than the icon's size.
    const QStringList r = riferimento("isslook");
    const QPointF atteso = c.toDevice(sulGrafico(0, true, r[5].toDouble(), r[4].toDouble()));
    const QImage viva = c.image();
    EXPECT_EQ(c.persistentImage(), vuota);
    QRect intorno;
    int lontani = 0;
    for (int y = 0; y < viva.height(); ++y)
        for (int x = 0; x < viva.width(); ++x) {
            if (viva.pixel(x, y) == vuota.pixel(x, y))
                continue;
            if (std::abs(x + 0.5 - atteso.x()) <= 14 && std::abs(y + 0.5 - atteso.y()) <= 14)
                intorno |= QRect(x, y, 1, 1);
            else
                ++lontani;
        }
    ASSERT_GE(intorno.width(), 10);
    EXPECT_NEAR(intorno.left() + intorno.width() / 2.0, atteso.x(), 3.0);
    EXPECT_NEAR(intorno.top() + intorno.height() / 2.0, atteso.y(), 3.0);
    EXPECT_EQ(lontani, 0);
    // One exactly on the horizon is not drawn; slot 1 still clears the last tick's drawing.
    gudtValori[1].Altezza = 0;
    f->Disegna_satellite_in_cielo(1);
    EXPECT_EQ(c.image(), vuota);
}

// The data box at the window's first size, in both languages: the figures
// are where Skyfield puts the ISS, and every one shows whole, the longest
// the box can be given too.
TEST_F(LocalSky, DataBoxShowsThePrincipalWholeInBothLanguages)
{
    elenca({skytest::sets().back()});
    Orologio(issDopoIlSorgere().date(), issDopoIlSorgere().time());
    const QStringList look = riferimento("isslook"), sub = riferimento("isssub");
    auto numero = [](const QLabel* l) {
        static const QRegularExpression n(QStringLiteral("-?\\d+(\\.\\d+)?"));
        return n.match(l->text()).captured(0).toDouble();
    };
    const QFont caratteri = QApplication::font();
    struct Caso {
        const char* lingua;
        double punti; // the desktop's font: 9 points here, 10 on many desktops
    };
    for (const Caso caso : {Caso{"english.ini", 9}, Caso{"italiano.ini", 9}, Caso{"english.ini", 10},
                            Caso{"italiano.ini", 10}}) {
        const char* lingua = caso.lingua;
        QFont f9 = caratteri;
        f9.setPointSizeF(caso.punti);
        QApplication::setFont(f9);
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/") + QLatin1String(lingua));
        main->show();
        frmLocalSky* f = maps::cielo::mnuCieloMappaLocale_Click();
        tick();
        QCoreApplication::processEvents();
        EXPECT_NEAR(numero(f->fraSatellitePrincipale->lblAltitude), look[4].toDouble(), 0.05);
        EXPECT_NEAR(numero(f->fraSatellitePrincipale->lblAzimuth), look[5].toDouble(), 0.1);
        EXPECT_NEAR(numero(f->fraSatellitePrincipale->lblLatitude), sub[2].toDouble(), 0.1);
        EXPECT_TRUE(f->fraSatellitePrincipale->lblLatitude->text().endsWith('N'));
        EXPECT_NEAR(numero(f->fraSatellitePrincipale->lblLongitude), sub[3].toDouble(), 0.1);
        EXPECT_TRUE(f->fraSatellitePrincipale->lblLongitude->text().endsWith('E'));
        EXPECT_NEAR(numero(f->fraSatellitePrincipale->lblHeight), sub[4].toDouble(), 1.0);
        EXPECT_NEAR(numero(f->fraSatellitePrincipale->lblRange), sub[5].toDouble(), 1.0);
        // 0.717635 h = 0h 43m 03.5s; -21.918 degrees = -21 55'.
        // Within 10 s of right ascension (the azimuth's 0.1 degree at this altitude).
        const QRegularExpression ar(QStringLiteral("^00h4(2m5[4-9]|3m0\\d|3m1[0-3])s$"));
        EXPECT_TRUE(ar.match(f->fraSatellitePrincipale->lblAscension->text()).hasMatch()) << f->fraSatellitePrincipale->lblAscension->text().toStdString();
        const QRegularExpression dec(QStringLiteral("^-21°5[4-6]'$"));
        EXPECT_TRUE(dec.match(f->fraSatellitePrincipale->lblDeclination->text()).hasMatch()) << f->fraSatellitePrincipale->lblDeclination->text().toStdString();

        auto interi = [&](const char* quando) {
            for (QLabel* l : f->fraSatellitePrincipale->findChildren<QLabel*>()) {
                const int serve = l->fontMetrics().horizontalAdvance(l->text());
                if (l->wordWrap())
                    continue; // a title may break into lines
                EXPECT_LE(serve, l->contentsRect().width())
                    << lingua << " " << caso.punti << " " << quando << " " << l->objectName().toStdString() << " '"
                    << l->text().toStdString() << "'";
                EXPECT_TRUE(l->isVisible()) << l->objectName().toStdString();
            }
        };
        interi("live");
        core::PrincipalTexts lunghi;
        lunghi.lblLatitude = QStringLiteral("89.99°S");
        lunghi.lblLongitude = QStringLiteral("179.99°W");
        lunghi.lblHeight = lunghi.lblRange = lunghi.lblApogee = lunghi.lblPerigee = QStringLiteral("40000.0");
        lunghi.lblRangeRate = QStringLiteral("-10.0");
        lunghi.lblOrbitNumber = QStringLiteral("123456.7");
        lunghi.lblAltitude = QStringLiteral("-89.99°");
        lunghi.lblAzimuth = QStringLiteral("359.99°");
        lunghi.lblPeriod = QStringLiteral("23:56:04");
        lunghi.lblVelocity = QStringLiteral("10.9");
        lunghi.lblAscension = QStringLiteral("15h27m29s");
        lunghi.lblDeclination = QStringLiteral("-89°59'");
        lunghi.lblState = mLang::Testo_Lingua(QStringLiteral("Conditions"), QStringLiteral("nonvisibile"));
        lunghi.lblMagnitude = QStringLiteral("-10.5");
        lunghi.lblRicez = lunghi.lblTrasm = QStringLiteral("2401.1234");
        f->Mostra_dati(lunghi);
        interi("longest");
        if (qEnvironmentVariableIsSet("ASTROVELA_SHOTS"))
            f->grab().save(qEnvironmentVariable("ASTROVELA_SHOTS") + QStringLiteral("/databox_%1_%2.png").arg(QLatin1String(lingua)).arg(caso.punti));
        delete f;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QApplication::setFont(caratteri);
}

// The principal's pass as the chart draws it: each stretch in the colour of
// the point it ends at, the last one (to the horizon) in that of the first
// sample below it, a dot on every point with a time, the present one too.
TEST_F(LocalSky, PassStretchesTakeTheColourOfTheirEnd)
{
    elenca({skytest::sets().back()});
    main->menuItem("mnuLocalSkyPaesaggio")->setChecked(false);
    main->menuItem("mnuLocalSkyOggettiSoleLuna")->setChecked(false);
    main->menuItem("mnuLocalSkyOggettiPianeti")->setChecked(false);
    frmLocalSky* f = maps::cielo::mnuCieloMappaLocale_Click();
    main->resize(1000, 1900); // room for a tall chart: dots of 1600 / 400 = 4 pixels
    main->show();
    f->parentWidget()->resize(800, 1650);
    QCoreApplication::processEvents();
    f->gintNumStelle = 1;
    gblnLocaleEffettoOrizzonte = false;
    const std::uint32_t giallo = vb::RGB(255, 255, 0), rosso = vb::RGB(255, 0, 0);
    auto punto = [](float x, float y, const char* ora, const char* mag, std::uint32_t colore) {
        core::PuntoPassaggio p;
        p.XMappa = x;
        p.YMappa = y;
        p.Orario = QLatin1String(ora);
        p.Magnitudine = QLatin1String(mag);
        p.Colore = colore;
        return p;
    };
    core::Svuota_Passaggio();
    gudtPuntiPassaggio.push_back(punto(0, 0, "2013-11-26 21:00:00", "1.0", giallo));   // sunlit, now
    gudtPuntiPassaggio.push_back(punto(40, 0, "2013-11-26 21:00:31", "", rosso));      // eclipsed
    gudtPuntiPassaggio.push_back(punto(40, 40, "2013-11-26 21:01:02", "2.0", giallo)); // sunlit again
    gudtPuntiPassaggio.push_back(punto(-40, 40, "", "", rosso)); // horizon: the sample below was eclipsed
    gudtValori[1].Altezza = 30;
    main->menuItem("mnuLocalSkyTransitoPrincipale")->setChecked(true);
    f->Genera_mappa();
    const platform::Canvas& c = f->Picture1->canvas();
    const QImage img = c.persistentImage();
    // Whether a pixel of the colour lies within a pixel of a chart point
    // moved by (dx, dy) pixels.
    auto vicino = [&](double x, double y, QRgb colore, int dx = 0, int dy = 0) {
        const QPoint p = c.toDevice({x, y}).toPoint() + QPoint(dx, dy);
        for (int j = -1; j <= 1; ++j)
            for (int i = -1; i <= 1; ++i)
                if ((img.pixel(p.x() + i, p.y() + j) & 0xFFFFFF) == colore)
                    return true;
        return false;
    };
    constexpr QRgb kGiallo = 0xFFFF00, kRosso = 0xFF0000;
    if (qEnvironmentVariableIsSet("ASTROVELA_SHOTS")) {
        const QPoint a = c.toDevice({-45, 45}).toPoint(), b = c.toDevice({45, -5}).toPoint();
        img.copy(QRect(a, b)).scaled(QRect(a, b).size() * 3).save(qEnvironmentVariable("ASTROVELA_SHOTS") + "/pass_colours.png");
        qWarning() << c.pixelSize() << c.scaleHeight() << c.toDevice({0, 0}) << c.toDevice({40, 0});
    }
    EXPECT_TRUE(vicino(20, 0, kRosso));   // ends at the eclipsed point
    EXPECT_FALSE(vicino(20, 0, kGiallo));
    EXPECT_TRUE(vicino(40, 20, kGiallo)); // ends at the sunlit one
    EXPECT_FALSE(vicino(40, 20, kRosso));
    EXPECT_TRUE(vicino(0, 40, kRosso));   // to the horizon: the sample below it
    EXPECT_FALSE(vicino(0, 40, kGiallo));
    // The dots, seen 2 pixels off the stretches: the present place (yellow),
    // the eclipsed point (red), the sunlit one (yellow); none on the horizon point.
    EXPECT_TRUE(vicino(0, 0, kGiallo, -2, 2));
    EXPECT_TRUE(vicino(40, 0, kRosso, 2, 2));
    EXPECT_TRUE(vicino(40, 40, kGiallo, 2, -2));
    EXPECT_FALSE(vicino(-40, 40, kRosso, -2, -2));
    EXPECT_FALSE(vicino(-40, 40, kGiallo, -2, -2));
}

// The Transit button is drawn pressed exactly while the pass is shown, also
// after a click the command refused.
TEST_F(LocalSky, TheTransitButtonShowsWhetherThePassIsDrawn)
{
    elenca({skytest::sets().back()});
    Orologio(issDopoIlSorgere().date(), issDopoIlSorgere().time());
    main->show();
    QToolButton* b = main->toolButton(QStringLiteral("Transit"));
    ASSERT_NE(b, nullptr);
    frmLocalSky* f = maps::cielo::mnuCieloMappaLocale_Click();
    tick();
    ASSERT_TRUE(b->isEnabled());
    b->click();
    EXPECT_TRUE(spunta("mnuLocalSkyTransitoPrincipale"));
    EXPECT_TRUE(b->isCheckable() && b->isChecked());
    b->click();
    EXPECT_FALSE(spunta("mnuLocalSkyTransitoPrincipale"));
    EXPECT_FALSE(b->isChecked());
    // Below the horizon the command refuses: the button stays up.
    gudtValori[1].Altezza = -3;
    b->click();
    EXPECT_FALSE(spunta("mnuLocalSkyTransitoPrincipale"));
    EXPECT_FALSE(b->isChecked());
    // With the chart closed likewise.
    delete f;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    b->click();
    EXPECT_FALSE(b->isChecked());
}

// "Proiezione stereo" and "Griglia tipo" as the settings store holds them:
// only -1 selects the stereographic projection and the alt-azimuth grid, 0
// the equatorial grid, any other value no grid.
TEST_F(LocalSky, StoredProjectionAndGridTypeSelectWhatTheySay)
{
    auto leggi = [this](const char* proiezione, const char* griglia) {
        fakes.settings.setValue(QStringLiteral("Cielo locale"), QStringLiteral("Proiezione stereo"), QLatin1String(proiezione));
        fakes.settings.setValue(QStringLiteral("Cielo locale"), QStringLiteral("Griglia tipo"), QLatin1String(griglia));
        fakes.settings.setValue(QStringLiteral("Cielo locale"), QStringLiteral("Griglia"), QStringLiteral("-1"));
        fakes.settings.setValue(QStringLiteral("Cielo locale"), QStringLiteral("Paesaggio"), QStringLiteral("0"));
        Leggi_impostazioni();
        gblnPosizioniFinestre = false;
    };
    leggi("1", "-1");
    EXPECT_EQ(gblnLocaleProiezioneStereo, 1);
    frmLocalSky* f = maps::cielo::mnuCieloMappaLocale_Click();
    EXPECT_TRUE(spunta("mnuLocalSkyProiezNormale"));
    EXPECT_FALSE(spunta("mnuLocalSkyProiezStereo"));
    EXPECT_FALSE(f->stereografica());
    delete f;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    leggi("-1", "-1");
    f = maps::cielo::mnuCieloMappaLocale_Click();
    EXPECT_TRUE(spunta("mnuLocalSkyProiezStereo"));
    f->resize(500, 500);
    f->gintNumStelle = 1;
    gblnLocaleEffettoOrizzonte = false;
    const platform::Canvas& c = f->Picture1->canvas();
    const std::uint32_t griglia = std::uint32_t(glngColoreGrigliaLocale4) & 0xFFFFFF;
    // Pixels of the grid colour on the circle of altitude 30 (radius
    // 90 tan 30 = 51.96 units in the stereographic projection), at 45 degrees.
    auto cerchio30 = [&] {
        const QImage img = c.persistentImage();
        const double r = 90 * std::tan(30 * M_PI / 180) / std::sqrt(2.0);
        const QPoint p = c.toDevice({r, r}).toPoint();
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if ((img.pixel(p.x() + dx, p.y() + dy) & 0xFFFFFF) == vb::toQColor(griglia).rgb() % 0x1000000)
                    return true;
        return false;
    };
    auto contaGriglia = [&] {
        const QImage img = c.persistentImage();
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += (img.pixel(x, y) & 0xFFFFFF) == (vb::toQColor(griglia).rgb() & 0xFFFFFF) ? 1 : 0;
        return n;
    };
    f->Genera_mappa();
    EXPECT_TRUE(cerchio30());
    const int altaz = contaGriglia();
    EXPECT_GT(altaz, 200);
    gblnLocaleGrigliaTipo = 0; // equatorial: hour circles, no altitude circle
    f->Genera_mappa();
    EXPECT_FALSE(cerchio30());
    EXPECT_GT(contaGriglia(), 200);
    for (const char* altro : {"1", "2"}) {
        leggi("-1", altro);
        EXPECT_EQ(gblnLocaleGrigliaTipo, QByteArray(altro).toInt());
        f->Genera_mappa();
        EXPECT_EQ(contaGriglia(), 0) << altro;
    }
}

// The coordinates under the pointer leave the caption with the pointer.
TEST_F(LocalSky, TheCaptionForgetsAPointerThatLeftTheChart)
{
    frmLocalSky* f = maps::cielo::mnuCieloMappaLocale_Click();
    f->Picture1_MouseMove(0, 0, 0, 0);
    EXPECT_TRUE(f->windowTitle().contains(" -  Az. ")) << f->windowTitle().toStdString();
    QEvent uscita(QEvent::Leave);
    QCoreApplication::sendEvent(f->Picture1, &uscita);
    EXPECT_EQ(f->windowTitle(), "Local sky - 26 Nov 2013 21:00 Local time");
}

} // namespace
