// The pass map chart: projection, track schedule, the track and the sky
// against Skyfield and PyEphem, what a drawing leaves of the shared state.
#include "pass_map_fixture.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include "passes/pass_map_symbols.h"
#include "support/vector_state.h"

#include <QApplication>
#include <cmath>

namespace {

using skysattest::PassMap;

frmSkySat* orienta(frmSkySat& m, int k, bool stereo)
{
    m.impmnuSkySatOrientamentoSud = k == 0;
    m.impmnuSkySatOrientamentoEst = k == 1;
    m.impmnuSkySatOrientamentoNord = k == 2;
    m.impmnuSkySatOrientamentoOvest = k == 3;
    m.impmnuSkySatProiezStereo = stereo;
    m.impmnuSkySatProiezNormale = !stereo;
    return &m;
}

TEST(PassMapProjection, KnownPointsAndInverse)
{
    frmSkySat m;
    float x = 0, y = 0;
    for (bool stereo : {false, true}) {
        orienta(m, 0, stereo);
        m.Mappatura(0, 90, x, y);
        EXPECT_NEAR(x, 0, 1e-4);
        EXPECT_NEAR(y, 0, 1e-4);
        m.Mappatura(0, 0, x, y);
        EXPECT_NEAR(x, 0, 1e-3);
        EXPECT_NEAR(y, 90, 1e-3);
        orienta(m, 2, stereo);
        m.Mappatura(0, 0, x, y);
        EXPECT_NEAR(x, 0, 1e-3);
        EXPECT_NEAR(y, -90, 1e-3);
    }
    // Linear: 50 units from the zenith at 30 degrees left of north;
    // stereographic: 90 tan(25 deg) = 41.967 at the same angle.
    orienta(m, 0, false);
    m.Mappatura(30, 40, x, y);
    EXPECT_NEAR(x, -25.0, 1e-3);
    EXPECT_NEAR(y, 43.301, 1e-3);
    orienta(m, 0, true);
    m.Mappatura(30, 40, x, y);
    EXPECT_NEAR(x, -20.984, 1e-3);
    EXPECT_NEAR(y, 36.345, 1e-3);

    for (bool stereo : {false, true})
        for (int k = 0; k < 4; ++k) {
            orienta(m, k, stereo);
            for (double az : {0.0, 30.0, 135.0, 359.0})
                for (double h : {1.0, 40.0, 89.0}) {
                    m.Mappatura(az, h, x, y);
                    double a2 = 0, h2 = 0;
                    m.Mappatura_inversa(x, y, a2, h2);
                    EXPECT_NEAR(std::remainder(a2 - az, 360.0), 0, 1e-3) << stereo << k << az << h;
                    EXPECT_NEAR(h2, h, 1e-3) << stereo << k << az << h;
                }
        }
}

TEST(PassMapTrack, QuarterMinuteStartAndStep)
{
    auto t = [](int h, int m, int s) { return QDateTime(QDate(2013, 11, 26), QTime(h, m, s), Qt::UTC); };
    EXPECT_EQ(frmSkySat::Inizio_Traccia(t(12, 0, 7)), t(11, 59, 45));
    EXPECT_EQ(frmSkySat::Inizio_Traccia(t(12, 0, 30)), t(12, 0, 0));
    EXPECT_EQ(frmSkySat::Inizio_Traccia(t(12, 0, 31)), t(12, 0, 15));
    EXPECT_EQ(frmSkySat::Inizio_Traccia(t(12, 0, 0)), t(11, 59, 30)); // :45 goes back a quarter
    EXPECT_EQ(frmSkySat::Inizio_Traccia(t(12, 1, 14)), t(12, 0, 45));
    EXPECT_EQ(frmSkySat::Passo_Traccia(9), 15);
    EXPECT_EQ(frmSkySat::Passo_Traccia(10), 30);
    EXPECT_EQ(frmSkySat::Passo_Traccia(20), 60);
    EXPECT_EQ(frmSkySat::Passo_Traccia(60), 120);
    EXPECT_EQ(frmSkySat::Passo_Traccia(720), 120); // a step even on the boundary
    EXPECT_EQ(frmSkySat::Passo_Traccia(721), 180);
}

TEST_F(PassMap, TrackMatchesSkyfield)
{
    auto m = mappa();
    const auto& p = m->puntiTraccia();
    // 22:59:28 to 23:09:56: from 22:59:00 ten whole minutes, so 30 s steps;
    // the last point is the first at or after the end.
    ASSERT_GE(p.size(), 20u);
    const QDateTime inizio = frmSkySat::Inizio_Traccia(skysattest::locale(ref.alzata));
    EXPECT_EQ(inizio.time(), QTime(23, 59, 0));
    EXPECT_EQ(p[1].Tempo, inizio.addSecs(30));
    EXPECT_EQ(p[2].Tempo, inizio.addSecs(60));
    EXPECT_GE(p.back().Tempo, skysattest::locale(ref.tramonto));
    EXPECT_LT(p.back().Tempo.addSecs(-30), skysattest::locale(ref.tramonto));
    int confrontati = 0;
    for (std::size_t i = 1; i < p.size(); ++i) {
        const QDateTime u = p[i].Tempo.addSecs(-3600);
        const auto it = ref.traccia.find(u);
        ASSERT_NE(it, ref.traccia.end()) << u.toString(Qt::ISODate).toStdString();
        EXPECT_NEAR(p[i].Altezza, it->second.altezza, 0.05) << i;
        EXPECT_NEAR(std::remainder(p[i].Azimuth - it->second.azimuth, 360.0), 0, 0.1) << i;
        EXPECT_EQ(p[i].Stato == StatoEclisse, it->second.eclisse) << i;
        EXPECT_EQ(p[i].Magnitudine.isEmpty(), p[i].Stato == StatoEclisse) << i;
        // The chart position is the projection of that sky position.
        float x = 0, y = 0;
        m->Mappatura(it->second.azimuth, it->second.altezza, x, y);
        EXPECT_NEAR(p[i].X, x, 0.1);
        EXPECT_NEAR(p[i].Y, y, 0.1);
        ++confrontati;
    }
    EXPECT_EQ(confrontati, static_cast<int>(p.size()) - 1);
}

TEST_F(PassMap, SkyAtTheMapTimeMatchesPyEphem)
{
    auto m = mappa();
    // Bodies: their chart positions read back as altitude and azimuth.
    // The planets come from mean elements: within a degree. The Moon is
    // placed where the observer sees it, as PyEphem's topocentric Moon.
    for (int n = 1; n <= 9; ++n) {
        double az = 0, h = 0;
        if (std::abs(ref.corpi[n].first) > 85)
            continue;
        m->Mappatura_inversa(m->posizioni().corpi[n].x, m->posizioni().corpi[n].y, az, h);
        const double toll = n <= 7 ? 1.0 : 0.3;
        EXPECT_NEAR(h, ref.corpi[n].first, toll) << n;
        EXPECT_NEAR(std::remainder(az - ref.corpi[n].second, 360.0) * std::cos(h * 0.01745329), 0, toll) << n;
    }
    // Stars of the catalogue near the reference places.
    int trovate = 0;
    for (const auto& r : ref.stelle) {
        for (int i = 1; i <= m->gintNumStelle; ++i) {
            const Stella& s = gudtStelle[i];
            const common::PuntoCielo& q = m->posizioni().stelle[i];
            if (std::abs(s.AscensioneRetta - r.ra) * 15 < 0.1 && std::abs(s.Declinazione - r.dec) < 0.1) {
                EXPECT_NEAR(q.altezza, r.altezza, 0.1) << r.ra;
                EXPECT_NEAR(std::remainder(q.azimuth - r.azimuth, 360.0) * std::cos(r.altezza * 0.01745329), 0, 0.1);
                ++trovate;
                break;
            }
        }
    }
    EXPECT_EQ(trovate, static_cast<int>(ref.stelle.size()));
}

// The places are made with the vector registers' upper halves clear,
// whatever ran before them (a window's painting leaves them in use).
TEST_F(PassMap, SkyPlacesAreMadeWithTheUpperHalvesClear)
{
    if (!testsupport::Stato_Visibile())
        GTEST_SKIP() << "this processor has no upper halves to leave in use, or does not show their state";
    auto m = mappa();
    const core::CieloIstante cielo = core::Cielo_Corrente();
    common::PosizioniCielo posizioni;
    EXPECT_EQ(testsupport::In_Uso_Entrando(
                  [&] { posizioni = common::Calcola_Posizioni(cielo, 0, false, m->gintNumStelle); }),
              std::optional<bool>(false));
    EXPECT_GT(posizioni.stelle.size(), 100u);
}

TEST_F(PassMap, DrawingAndPrintingWriteNothingShared)
{
    // Another satellite is in slot 201 now, the clock is stopped, and the
    // shared tables hold the program clock's sky and the local chart's places.
    auto m = mappa();
    metti(skysattest::set("00005"));
    const Satelement elementi = gudtSatelementi[kSlotScratch];
    const RigaDati righe = gudtRigheAttive[kSlotScratch];
    const mAstro::TabellaCorpi corpi = gudtCorpi;
    const std::vector<Stella> stelle = gudtStelle;
    const std::vector<LineaCostellazione> linee = gudtLineeCostellazioni;
    const double jd = gdblGiornoGiuliano;
    pflgCentrale = false;
    m->impmnuSkySatOrientamentoSud = false;
    m->impmnuSkySatOrientamentoNord = true;
    m->Genera_mappa(true);
    QTemporaryDir dir;
    fakes.files.printerAnswers = {dir.filePath(QStringLiteral("foglio.pdf"))};
    m->Stampa();
    ASSERT_TRUE(QFile::exists(dir.filePath(QStringLiteral("foglio.pdf"))));
    EXPECT_FALSE(pflgCentrale);
    EXPECT_TRUE(pflgSatellite);
    EXPECT_EQ(gudtSatelementi[kSlotScratch], elementi);
    EXPECT_EQ(gudtRigheAttive[kSlotScratch].Riga1, righe.Riga1);
    EXPECT_EQ(gdblGiornoGiuliano, jd);
    for (int b = 1; b <= 9; ++b) {
        EXPECT_EQ(gudtCorpi[b].Altezza, corpi[b].Altezza) << b;
        EXPECT_EQ(gudtCorpi[b].XMappa, corpi[b].XMappa) << b;
        EXPECT_EQ(gudtCorpi[b].YMappa, corpi[b].YMappa) << b;
    }
    for (std::size_t i = 1; i < stelle.size(); i += 7) {
        EXPECT_EQ(gudtStelle[i].XMappa, stelle[i].XMappa) << i;
        EXPECT_EQ(gudtStelle[i].Altezza, stelle[i].Altezza) << i;
    }
    for (std::size_t j = 1; j < linee.size(); j += 5)
        EXPECT_EQ(gudtLineeCostellazioni[j].XMappa2, linee[j].XMappa2) << j;
    // ... and the map still charts its own satellite, where Skyfield sees it.
    EXPECT_EQ(m->satellite().NumeroCatalogo, "25544");
    const auto& p = m->puntiTraccia();
    const auto it = ref.traccia.find(p[5].Tempo.addSecs(-3600));
    ASSERT_NE(it, ref.traccia.end());
    EXPECT_NEAR(p[5].Altezza, it->second.altezza, 0.05);
}

TEST_F(PassMap, LoadTakesTheOptionsAndAnOrientationOutOfRange)
{
    gintAnteprimaOrientamento = 7;
    gblnAnteprimaProiezioneStereo = true;
    gblnAnteprimaGriglia = false;
    frmSkySat m;
    m.gvarTempoMappa = QDateTime(QDate(2013, 11, 27), QTime(0, 4, 41), Qt::UTC);
    m.Form_Load();
    EXPECT_TRUE(m.impmnuSkySatOrientamentoSud);
    EXPECT_FALSE(m.impmnuSkySatOrientamentoNord || m.impmnuSkySatOrientamentoEst || m.impmnuSkySatOrientamentoOvest);
    EXPECT_TRUE(m.impmnuSkySatProiezStereo);
    EXPECT_FALSE(m.impmnuSkySatProiezNormale);
    EXPECT_FALSE(m.impmnuSkySatGriglia);
    EXPECT_EQ(m.gintNumStelle, 1639);
    EXPECT_EQ(m.windowTitle(), QString::fromStdString(gudtSatelementi[kSlotScratch].Nome) +
                                   QStringLiteral(" - 27 Nov 2013 00:04:41 Local time"));
}

TEST_F(PassMap, ShownWithoutLoadingFirstStillDraws)
{
    const auto punti = [&] {
        frmSkySat m;
        m.setAttribute(Qt::WA_DeleteOnClose, false);
        m.gvarTempoInizio = skysattest::locale(ref.alzata);
        m.gvarTempoFine = skysattest::locale(ref.tramonto);
        m.gvarTempoMappa = skysattest::locale(ref.culmine);
        m.show();
        QApplication::sendPostedEvents();
        return m.puntiTraccia().size();
    };
    EXPECT_GE(punti(), 20u);
    // A satellite whose name line is blank has its track all the same.
    RigaDati iss = skysattest::set("25544");
    iss.Riga0 = std::string(24, ' ');
    metti(iss);
    ASSERT_TRUE(gudtSatelementi[kSlotScratch].Nome.empty());
    EXPECT_GE(punti(), 20u);
}

TEST_F(PassMap, FlatWindowKeepsTheChartSquareAndCentred)
{
    auto m = mappa();
    m->resize(800, 300);
    QApplication::sendPostedEvents();
    EXPECT_EQ(m->Picture1()->geometry(), QRect(250, 0, 300, 300));
    EXPECT_EQ(m->Picture1()->canvas().pixelSize(), QSize(300, 300));
}

TEST_F(PassMap, TrackColoursAndSkyBackground)
{
    auto m = mappa();
    const platform::Canvas& c = m->Picture1()->canvas();
    // The whole pass is in the Earth's shadow: points in red.
    const auto& p = m->puntiTraccia();
    const PuntoPassaggio& q = p[p.size() / 2];
    ASSERT_EQ(q.Stato, StatoEclisse);
    EXPECT_EQ(c.Point(q.X, q.Y), vb::RGB(255, 0, 0));
    // The Sun 65 degrees below: a night sky, black beyond the horizon.
    EXPECT_EQ(c.Point(-98, -98), 0);

    // The compass labels in the colour of button faces as the palette has
    // it now: a map already drawn follows a change of palette (the night
    // colours switched on, then off) at once.
    // "N" stands with its top left corner at (-2, 98), outside the horizon
    // on black; its letter's pixels (smoothed) are near the label's colour.
    const QSize lato = c.pixelSize();
    const QRect nord(lato.width() * 98 / 200, 0, lato.width() * 8 / 200, lato.height() * 10 / 200);
    const auto quanti = [&](const QColor& colore) {
        const QImage img = c.persistentImage().convertToFormat(QImage::Format_RGB32);
        int n = 0;
        for (int y = nord.top(); y <= nord.bottom(); ++y)
            for (int x = nord.left(); x <= nord.right(); ++x) {
                const QColor p = img.pixelColor(x, y);
                n += std::abs(p.red() - colore.red()) < 60 && std::abs(p.green() - colore.green()) < 60
                    && std::abs(p.blue() - colore.blue()) < 60;
            }
        return n;
    };
    const QPalette giorno = QApplication::palette();
    const QColor facce = giorno.color(QPalette::Button);
    ASSERT_GT(quanti(facce), 3);
    QPalette notte = giorno;
    notte.setColor(QPalette::Button, QColor(128, 0, 0));
    QApplication::setPalette(notte);
    QApplication::processEvents();
    EXPECT_GT(quanti(QColor(128, 0, 0)), 3) << "night colours on";
    QApplication::setPalette(giorno);
    QApplication::processEvents();
    EXPECT_EQ(quanti(QColor(128, 0, 0)), 0) << "night colours off: the labels keep the night's colour";
    EXPECT_GT(quanti(facce), 3);
}

} // namespace

namespace {

TEST_F(PassMap, EquatorialGridStopsAtTheHorizon)
{
    gblnAnteprimaGrigliaTipo = 0;
    gblnAnteprimaPaesaggio = false;
    auto m = mappa();
    m->impmnuSkySatOggettiCostellazioni = false;
    m->impmnuSkySatEtichetteCostellazioni = false;
    const platform::Canvas& c = m->Picture1()->canvas();
    const qint64 grigio = vb::RGB(100, 100, 100); // the Sun far below: night grid
    // Grid-grey pixels inside the horizon and in the ring outside it (where
    // the azimuth labels' smoothed edges may hold that grey too).
    auto conta = [&](double r0, double r1) {
        int n = 0;
        for (int a = 0; a < 720; ++a) {
            const double t = a * 3.14159265 / 360;
            for (double r = r0; r < r1; r += 0.5)
                n += c.Point(r * std::cos(t), r * std::sin(t)) == grigio;
        }
        return n;
    };
    m->impmnuSkySatGriglia = false;
    m->Genera_mappa(true);
    const int fuoriSenza = conta(92, 99);
    m->impmnuSkySatGriglia = true;
    m->Genera_mappa(true);
    EXPECT_GT(conta(2, 88), 100);
    EXPECT_EQ(conta(92, 99), fuoriSenza);
}

} // namespace

// Track points in given places, as no real pass puts one exactly on an axis.
struct PassMapProbe {
    static std::vector<PuntoPassaggio>& punti(frmSkySat& m) { return m.mudtPuntiTraccia; }
};

namespace {

TEST_F(PassMap, GridTypeOtherThanMinusOneAndZeroDrawsNoGrid)
{
    gblnAnteprimaPaesaggio = false;
    auto m = mappa();
    const platform::Canvas& c = m->Picture1()->canvas();
    m->impmnuSkySatGriglia = false;
    m->Genera_mappa(true);
    const QImage senza = c.image();
    m->impmnuSkySatGriglia = true;
    for (int tipo : {2, 1, -2}) {
        gblnAnteprimaGrigliaTipo = tipo;
        m->Genera_mappa(true);
        EXPECT_EQ(c.image(), senza) << tipo;
    }
    gblnAnteprimaGrigliaTipo = -1;
    m->Genera_mappa(true);
    EXPECT_NE(c.image(), senza);
}

TEST_F(PassMap, FarEndTimeBoundsTheTrack)
{
    auto m = mappa();
    m->gvarTempoFine = m->gvarTempoInizio.addYears(2);
    m->Genera_mappa(false);
    const auto& p = m->puntiTraccia();
    ASSERT_GT(p.size(), 1u);
    EXPECT_LE(static_cast<int>(p.size()) - 1, frmSkySat::kMaxPuntiTraccia);
    // 180 s steps from the quarter minute before the start.
    EXPECT_EQ(p[2].Tempo.toSecsSinceEpoch() - p[1].Tempo.toSecsSinceEpoch(), 180);
}

TEST_F(PassMap, PressesPickOnTheAxesButNotWithTheRightButton)
{
    auto m = mappa();
    auto& punti = PassMapProbe::punti(*m);
    ASSERT_GE(punti.size(), 10u);

    // A right press on a track point shows the menu and pins nothing.
    const PuntoPassaggio p = punti[5];
    m->Picture1_MouseDown(2, 0, p.X, p.Y);
    m->Picture1_MouseMove(1, 0, p.X + 20, p.Y + 20);
    m->Picture1_MouseUp(2, 0, p.X + 20, p.Y + 20);
    m->Picture1_MouseUp(1, 0, p.X + 20, p.Y + 20);
    EXPECT_EQ(m->etichette().size(), 1u);

    // Points on the vertical and on the horizontal axis are picked like any other.
    punti[3].X = 0;
    punti[7].Y = 0;
    m->Picture1_MouseDown(1, 0, 0.5, punti[3].Y);
    m->Picture1_MouseUp(1, 0, 30, 30);
    ASSERT_EQ(m->etichette().size(), 2u);
    EXPECT_EQ(m->etichette()[1].Punto, 3);
    m->Picture1_MouseDown(1, 0, punti[7].X, -0.5);
    m->Picture1_MouseUp(1, 0, -30, -30);
    ASSERT_EQ(m->etichette().size(), 3u);
    EXPECT_EQ(m->etichette()[2].Punto, 7);
}

} // namespace

namespace {

using skysattest::PassMapSunlit;

TEST_F(PassMapSunlit, LeavingTheShadowTheTrackTurnsYellowWithMagnitudes)
{
    gblnAnteprimaEffettoOrizzonte = false;
    gblnAnteprimaPaesaggio = false;
    auto m = mappa();
    const platform::Canvas& c = m->Picture1()->canvas();
    const auto& p = m->puntiTraccia();
    ASSERT_GE(p.size(), 20u);
    int ombra = 0, luce = 0, cambi = 0;
    for (std::size_t i = 1; i < p.size(); ++i) {
        const QDateTime u = p[i].Tempo.addSecs(-3600);
        const auto it = ref.traccia.find(u);
        ASSERT_NE(it, ref.traccia.end()) << u.toString(Qt::ISODate).toStdString();
        EXPECT_NEAR(p[i].Altezza, it->second.altezza, 0.05) << i;
        EXPECT_NEAR(std::remainder(p[i].Azimuth - it->second.azimuth, 360.0), 0, 0.1) << i;
        // The shadow's edge may fall a step apart from PyEphem's.
        const bool eclisse = p[i].Stato == StatoEclisse;
        if (eclisse != it->second.eclisse) {
            const auto vicino = [&](int s) {
                const auto j = ref.traccia.find(u.addSecs(s));
                return j != ref.traccia.end() && j->second.eclisse == eclisse;
            };
            EXPECT_TRUE(vicino(-15) || vicino(15)) << i;
        }
        if (i > 1 && (p[i - 1].Stato == StatoEclisse) != eclisse)
            ++cambi;
        // In the shadow: no magnitude, red; sunlit: a magnitude, yellow.
        EXPECT_EQ(p[i].Magnitudine.isEmpty(), eclisse) << i;
        // (The satellite's picture at the first point may cover the second,
        // 15 s on; a point's centre is under the next segment, drawn in the
        // next point's colour.)
        const bool seguente = i + 1 < p.size() && (p[i + 1].Stato == StatoEclisse) != eclisse;
        if (i > 2 && !seguente) {
            EXPECT_EQ(c.Point(p[i].X, p[i].Y), eclisse ? vb::RGB(255, 0, 0) : vb::RGB(255, 255, 0)) << i;
        }
        (eclisse ? ombra : luce)++;
        if (!eclisse) {
            // The Sun 11 degrees down: the observer in the dark, the satellite
            // visible while above the horizon.
            EXPECT_EQ(p[i].Stato, p[i].Altezza > 0 ? StatoVisibile : StatoNonVisibile) << i;
            EXPECT_GT(vb::Val(p[i].Magnitudine), -4.0) << i;
            EXPECT_LT(vb::Val(p[i].Magnitudine), 6.0) << i;
            EXPECT_EQ(m->Testo_Etichetta(static_cast<int>(i)),
                      vb::Format(p[i].Tempo, u"hh:mm:ss") + QStringLiteral(" mag.") +
                          vb::Format(p[i].Magnitudine, u"#0.0"));
        }
    }
    if (!qEnvironmentVariableIsEmpty("ASTROVELA_SHOTS"))
        m->grab().save(qEnvironmentVariable("ASTROVELA_SHOTS") + QStringLiteral("/passmap_sunlit.png"));
    EXPECT_GE(ombra, 5);
    EXPECT_GE(luce, 5);
    EXPECT_EQ(cambi, 1); // out of the shadow once, not back in
    // The segment leading to the first sunlit point is yellow half way.
    std::size_t k = 1;
    while (p[k].Stato == StatoEclisse)
        ++k;
    EXPECT_EQ(c.Point((p[k - 1].X + p[k].X) / 2, (p[k - 1].Y + p[k].Y) / 2), vb::RGB(255, 255, 0));
    // On an Italian desk the magnitude reads with one decimal and the comma.
    const QString inglese = m->Testo_Etichetta(int(k));
    ASSERT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d mag\\.-?\\d+\\.\\d$")).match(inglese).hasMatch())
        << inglese.toStdString();
    vb::setDisplayLocale(QLocale(QLocale::Italian, QLocale::Italy));
    m->Genera_mappa(false);
    EXPECT_EQ(m->Testo_Etichetta(int(k)).toStdString(), QString(inglese).replace(u'.', u',').replace(
                                                            QStringLiteral("mag,"), QStringLiteral("mag.")).toStdString());
    vb::setDisplayLocale(QLocale::c());

    // The Sun between -6 and -12 degrees: the (0, 0, 148) disc and the
    // (120, 120, 120) grid.
    m->impmnuSkySatOggettiCostellazioni = false;
    m->impmnuSkySatEtichetteCostellazioni = false;
    m->gintNumStelle = 0;
    m->Genera_mappa(false);
    EXPECT_EQ(c.Point(20, -70), vb::RGB(0, 0, 148));
    EXPECT_EQ(c.Point(-60, 0.0), vb::RGB(120, 120, 120));
    EXPECT_EQ(c.Point(0.0, -50), vb::RGB(120, 120, 120));
}

} // namespace
