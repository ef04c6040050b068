// The world map's view menu and the Earth menu's openers: which items act
// only with the map open or a principal listed, what each redraws, the
// pop-up over a satellite with its remove command.
#include "world_map_fixture.h"

#include "core/mglobal.h"

#include <QApplication>
#include <QFile>
#include <QSet>
#include <QGroupBox>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTimer>

#include <cmath>

namespace {

using wmtest::WorldMap;

constexpr QRgb kGriglia = 0x828282;     // "Griglia mappamondo" 8553090
constexpr QRgb kTerminatore = 0x414141; // RGB(65, 65, 65)

int conta(const QImage& img, QRgb colore)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += (img.pixel(x, y) & 0xFFFFFF) == colore ? 1 : 0;
    return n;
}

// The meridian of 30 degrees east at the equator, on the rectangular map.
bool meridiano30(const QImage& img)
{
    const int x = int(std::lround(210.0 / 360 * img.width()));
    const int y = img.height() / 2 + 3;
    for (int dx = -1; dx <= 1; ++dx)
        if ((img.pixel(x + dx, y) & 0xFFFFFF) == kGriglia)
            return true;
    return false;
}

TEST_F(WorldMap, LayerItemsActOnlyWithTheMapOpenAndRedrawTheirLayer)
{
    // Closed map: the grid, the track and the Sun keep their marks.
    voce("mnuWorldmapGriglia")->setChecked(true);
    voce("mnuWorldmapGriglia")->trigger();
    EXPECT_TRUE(voce("mnuWorldmapGriglia")->isChecked());
    voce("mnuWorldmapTracciatoOrbita")->setChecked(false);
    voce("mnuWorldmapTracciatoOrbita")->trigger();
    EXPECT_FALSE(voce("mnuWorldmapTracciatoOrbita")->isChecked());
    const bool sole = voce("mnuWorldmapSole")->isChecked();
    voce("mnuWorldmapSole")->trigger();
    EXPECT_EQ(voce("mnuWorldmapSole")->isChecked(), sole);

    frmWorldMap* w = apri("mnuTerraMappaRettangolare");
    ASSERT_NE(w, nullptr);
    platform::Canvas& c = w->Picture1->canvas();
    ASSERT_TRUE(voce("mnuWorldmapGriglia")->isChecked());
    EXPECT_TRUE(meridiano30(c.persistentImage()));
    voce("mnuWorldmapGriglia")->trigger(); // off: drawn again without it
    EXPECT_FALSE(voce("mnuWorldmapGriglia")->isChecked());
    EXPECT_FALSE(meridiano30(c.persistentImage()));
    voce("mnuWorldmapGriglia")->trigger(); // on: drawn over the kept map
    EXPECT_TRUE(meridiano30(c.persistentImage()));

    // With an empty working list the grid does not change either.
    core::WorkingList::instance().Rimuovi_Tutti();
    voce("mnuWorldmapGriglia")->trigger();
    EXPECT_TRUE(voce("mnuWorldmapGriglia")->isChecked());
}

// PyEphem's sub-solar point at a map test's instant (ref_world_map.csv).
QPointF soleDiRiferimento(double jd)
{
    QFile f(QStringLiteral(ASTROVELA_TEST_DATA "/ref_world_map.csv"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    for (const QByteArray& riga : f.readAll().split('\n')) {
        const QList<QByteArray> c = riga.trimmed().split(',');
        if (c.size() == 5 && c[0] == "sunmap" && std::fabs(c[1].toDouble() - jd) < 1e-5)
            return {c[2].toDouble(), c[3].toDouble()};
    }
    ADD_FAILURE() << jd;
    return {};
}

// Degrees of arc between two places.
double arco(double lon1, double lat1, double lon2, double lat2)
{
    const double g = M_PI / 180;
    const double c = std::sin(lat1 * g) * std::sin(lat2 * g)
                     + std::cos(lat1 * g) * std::cos(lat2 * g) * std::cos((lon1 - lon2) * g);
    return std::acos(std::clamp(c, -1.0, 1.0)) / g;
}

// The place under a pixel's centre of the rectangular map.
QPointF luogo(const QImage& img, int x, int y)
{
    return {(x + 0.5) / img.width() * 360 - 180, 90 - (y + 0.5) / img.height() * 180};
}

int luminanza(QRgb c)
{
    return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000;
}

TEST_F(WorldMap, TerminatorAndNightSide)
{
    frmWorldMap* w = apri("mnuTerraMappaRettangolare");
    ASSERT_NE(w, nullptr);
    platform::Canvas& c = w->Picture1->canvas();
    for (const char* v : {"mnuWorldmapGriglia", "mnuWorldmapTracciatoOrbita", "mnuWorldmapSole",
                          "mnuWorldmapNomeCitta"})
        voce(v)->setChecked(false);

    // The terminator off takes the night side with it.
    voce("mnuWorldmapTerminatore")->setChecked(true);
    voce("mnuWorldmapOmbra")->setChecked(true);
    voce("mnuWorldmapTerminatore")->trigger();
    EXPECT_FALSE(voce("mnuWorldmapTerminatore")->isChecked());
    EXPECT_FALSE(voce("mnuWorldmapOmbra")->isChecked());
    EXPECT_EQ(conta(c.persistentImage(), kTerminatore), 0);
    const QImage giorno = c.persistentImage();

    // The terminator alone: the land is untouched away from the line.
    voce("mnuWorldmapTerminatore")->trigger();
    EXPECT_TRUE(voce("mnuWorldmapTerminatore")->isChecked());
    EXPECT_GT(conta(c.persistentImage(), kTerminatore), 300);
    const QPointF sole = soleDiRiferimento(2456623.0833333);
    auto lontano = [&](const QImage& img, int x, int y) {
        const QPointF p = luogo(img, x, y);
        const double margine = 6 * 360.0 / img.width();
        return std::fabs(arco(p.x(), p.y(), sole.x(), sole.y()) - 90) > margine
               && std::hypot(p.x() - 9.19, p.y() - 45.46) > margine;
    };
    {
        const QImage solo = c.persistentImage();
        int diversi = 0;
        for (int y = 0; y < solo.height(); y += 3)
            for (int x = 0; x < solo.width(); x += 3)
                diversi += lontano(solo, x, y) && solo.pixel(x, y) != giorno.pixel(x, y) ? 1 : 0;
        EXPECT_EQ(diversi, 0);
    }

    // The night side, at three sizes of the window: every pixel of it (the
    // places more than 90 degrees from PyEphem's sub-solar point) takes the
    // shade colour at one opacity over the map, every day pixel stays as it
    // was; the land stays readable under it and the terminator stands out
    // from the dark Pacific where it crosses the equator (longitude -123).
    voce("mnuWorldmapOmbra")->trigger();
    ASSERT_TRUE(voce("mnuWorldmapOmbra")->isChecked());
    const int a = maps::kOpacitaNotte;
    for (const QSize dimensione : {QSize(711, 458), QSize(330, 220), QSize(1400, 900)}) {
        w->cornice()->resize(dimensione);
        voce("mnuWorldmapOmbra")->trigger();
        const QImage fondo = c.persistentImage();
        voce("mnuWorldmapOmbra")->trigger();
        const QImage img = c.persistentImage();
        ASSERT_EQ(img.size(), fondo.size());
        int notte = 0, sbagliati = 0;
        QSet<QRgb> colori;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                if (!lontano(img, x, y))
                    continue;
                const QPointF p = luogo(img, x, y);
                const QRgb b = fondo.pixel(x, y), v = img.pixel(x, y);
                if (arco(p.x(), p.y(), sole.x(), sole.y()) > 90) {
                    ++notte;
                    colori.insert(v);
                    auto mescola = [a](int f) { return (f * (255 - a) + 105 * a) / 255; };
                    sbagliati += std::abs(qRed(v) - mescola(qRed(b))) > 2 || std::abs(qGreen(v) - mescola(qGreen(b))) > 2
                                         || std::abs(qBlue(v) - mescola(qBlue(b))) > 2
                                     ? 1
                                     : 0;
                } else {
                    sbagliati += v != b ? 1 : 0;
                }
            }
        EXPECT_GT(notte, img.width() * img.height() / 5) << dimensione.width();
        EXPECT_EQ(sbagliati, 0) << dimensione.width();
        EXPECT_GT(colori.size(), 50) << dimensione.width();
        // Where the terminator crosses the equator over the Pacific.
        const int tx = int((sole.x() - 90 + 180) / 360 * img.width());
        const int ty = img.height() / 2;
        int oceano = 255, linea = 0;
        for (int dy = -12; dy <= 12; ++dy) {
            oceano = std::min(oceano, luminanza(fondo.pixel(tx, ty + dy)));
            if (std::abs(dy) <= 3)
                linea = std::max(linea, luminanza(img.pixel(tx, ty + dy)));
        }
        EXPECT_LT(oceano, 40);
        EXPECT_GT(linea, oceano + 80) << dimensione.width();
    }

    // A new simulated time moves the night at the next tick: six hours on,
    // the Pacific at 150 W lies in the day.
    const QImage prima = c.persistentImage();
    const QPoint pacifico(int((-150.0 + 180) / 360 * prima.width()), int((90 + 21.0) / 180 * prima.height()));
    const QPointF sole20 = soleDiRiferimento(2456623.3333333);
    ASSERT_GT(arco(-150, -21, sole.x(), sole.y()), 95);
    ASSERT_LT(arco(-150, -21, sole20.x(), sole20.y()), 85);
    core::CentralClock::instance().Avvia_Simulazione(core::Data_Orologio(QDate(2013, 11, 26), QTime(20, 0, 0)));
    core::CentralClock::instance().tmrCentrale_Timer();
    voce("mnuWorldmapOmbra")->setChecked(false);
    w->Genera_mappa();
    const QImage chiaro = c.persistentImage();
    voce("mnuWorldmapOmbra")->setChecked(true);
    core::CentralClock::instance().Avvia_Simulazione(core::Data_Orologio(QDate(2013, 11, 26), QTime(14, 0, 0)));
    core::CentralClock::instance().tmrCentrale_Timer();
    EXPECT_EQ(c.persistentImage().pixel(pacifico), prima.pixel(pacifico));
    EXPECT_NE(c.persistentImage().pixel(pacifico), chiaro.pixel(pacifico));
    core::CentralClock::instance().Avvia_Simulazione(core::Data_Orologio(QDate(2013, 11, 26), QTime(20, 0, 0)));
    core::CentralClock::instance().tmrCentrale_Timer();
    EXPECT_EQ(c.persistentImage().pixel(pacifico), chiaro.pixel(pacifico));
}

TEST_F(WorldMap, TheFlatMapKeepsItsProportionsAndTheCaptionForgetsALeavingPointer)
{
    frmWorldMap* w = apri("mnuTerraMappaRettangolare");
    ASSERT_NE(w, nullptr);
    // Maximised on a wide screen and in a tall window: a degree is as many
    // pixels across as down, the map centred in the room it has.
    for (const QSize dimensione : {QSize(1400, 900), QSize(700, 800), QSize(1500, 500)}) {
        w->cornice()->resize(dimensione);
        const platform::Canvas& c = w->Picture1->canvas();
        EXPECT_NEAR(c.xPixels(1) / c.yPixels(1), 1.0, 0.01) << dimensione.width();
        EXPECT_NEAR(double(w->Picture1->width()) / w->Picture1->height(), 2.0, 0.01) << dimensione.width();
        EXPECT_GE(w->Picture1->x(), 1);
        EXPECT_LE(w->Picture1->x() + w->Picture1->width(), w->width() - 129);
    }
    // The globe keeps the whole room (its units are square already).
    voce("mnuTerraMappaOrtografica")->trigger();
    EXPECT_EQ(w->Picture1->height(), w->height() - 1);

    // The pointer's coordinates go from the caption when it leaves the map.
    voce("mnuWorldmapCoordinateMouse")->setChecked(true);
    w->Picture1_MouseMove(0, 0, 10, 10);
    EXPECT_TRUE(w->windowTitle().startsWith("World map - orthographic - Lon. "));
    QEvent uscita(QEvent::Leave);
    QCoreApplication::sendEvent(w->Picture1, &uscita);
    EXPECT_EQ(w->windowTitle(), "World map - orthographic");
}

TEST_F(WorldMap, PopupRemovesThePickedSatelliteAndNothingElse)
{
    frmWorldMap* w = apri("mnuTerraMappaRettangolare");
    ASSERT_NE(w, nullptr);
    const int n = gintNumSatelliti;
    const Valori v = gudtValori[3];
    w->Picture1_MouseMove(0, 0, v.Longitudine, v.Latitudine);
    const int k = w->mintSelezione();
    ASSERT_GE(k, 3);
    EXPECT_FALSE(voce("mnuWorldmapRimuovi")->isEnabled());
    const std::string tolto = gudtSatelementi[size_t(k)].Nome;
    const std::string dopo = gudtSatelementi[size_t(k + 1)].Nome;
    const std::string principale = gudtSatelementi[1].Nome;
    bool abilitato = false;
    QTimer::singleShot(0, [&] {
        abilitato = voce("mnuWorldmapRimuovi")->isEnabled();
        voce("mnuWorldmapRimuovi")->trigger();
        if (QWidget* m = QApplication::activePopupWidget())
            m->close();
    });
    w->Picture1_MouseDown(2, 0, v.Longitudine, v.Latitudine);
    EXPECT_TRUE(abilitato);
    EXPECT_EQ(gintNumSatelliti, n - 1);
    EXPECT_EQ(gudtSatelementi[size_t(k)].Nome, dopo);
    for (int i = 1; i <= gintNumSatelliti; ++i)
        EXPECT_NE(gudtSatelementi[size_t(i)].Nome, tolto);
    // The release that closed the menu changes no principal.
    EXPECT_EQ(gudtSatelementi[1].Nome, principale);
    EXPECT_EQ(w->mintSelezione(), 0);

    // The pop-up closed without a choice: the release over a satellite makes
    // it the principal.
    w->Picture1_MouseMove(0, 0, gudtValori[2].Longitudine, gudtValori[2].Latitudine);
    const int s = w->mintSelezione();
    ASSERT_GE(s, 2);
    const std::string nuovo = gudtSatelementi[size_t(s)].Nome;
    QTimer::singleShot(0, [] {
        if (QWidget* m = QApplication::activePopupWidget())
            m->close();
    });
    w->Picture1_MouseDown(2, 0, gudtValori[2].Longitudine, gudtValori[2].Latitudine);
    EXPECT_EQ(gudtSatelementi[1].Nome, nuovo);

    // Removing the principal: the next satellite becomes the principal.
    const std::string secondo = gudtSatelementi[2].Nome;
    w->setMintSelezione(1);
    voce("mnuWorldmapRimuovi")->setEnabled(true);
    voce("mnuWorldmapRimuovi")->trigger();
    EXPECT_EQ(gudtSatelementi[1].Nome, secondo);
    EXPECT_EQ(gintNumSatelliti, n - 2);
}

TEST_F(WorldMap, CoordinatesDataBoxAndClosing)
{
    voce("mnuWorldmapCoordinateMouse")->setChecked(false);
    frmWorldMap* w = apri("mnuTerraMappaOrtografica");
    ASSERT_NE(w, nullptr);
    voce("mnuWorldmapCoordinateMouse")->trigger();
    EXPECT_EQ(w->Picture1->cursor().shape(), Qt::CrossCursor);
    w->Picture1_MouseMove(0, 0, 10, 10);
    EXPECT_TRUE(w->windowTitle().startsWith("World map - orthographic - "));
    // A regeneration keeps the user's choice.
    w->Genera_mappa();
    EXPECT_TRUE(voce("mnuWorldmapCoordinateMouse")->isChecked());
    voce("mnuWorldmapCoordinateMouse")->trigger();
    EXPECT_EQ(w->windowTitle(), "World map - orthographic");
    EXPECT_EQ(w->Picture1->cursor().shape(), Qt::ArrowCursor);

    const int larga = w->Picture1->width();
    // The item's mark follows the box the settings gave.
    EXPECT_TRUE(voce("mnuWorldmapRiquadroDati")->isChecked());
    voce("mnuWorldmapRiquadroDati")->trigger();
    EXPECT_FALSE(w->fraSatellitePrincipale->isVisible());
    EXPECT_EQ(w->Picture1->width(), larga + 129);
    voce("mnuWorldmapRiquadroDati")->trigger();
    EXPECT_EQ(w->Picture1->width(), larga);

    voce("mnuWorldmapChiudi")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmWorldMap::instance(false), nullptr);
    EXPECT_EQ(core::clockViews().worldMap, nullptr);
    EXPECT_FALSE(mGlobal::Form_Aperta("frmWorldMap"));
    EXPECT_FALSE(main->menu("mnuWorldmap")->menuAction()->isVisible());
}

TEST_F(WorldMap, NoPrincipalNoMap)
{
    core::WorkingList::instance().Rimuovi_Tutti();
    gstrDatabasePrimario.clear();
    // The database asks for a file; the user cancels: no map opens.
    voce("mnuTerraMappaOrtografica")->trigger();
    EXPECT_EQ(frmWorldMap::instance(false), nullptr);
    EXPECT_FALSE(fakes.files.calls.isEmpty());
}

} // namespace
