// The world map's view menu and the Earth menu's openers: which items act
// only with the map open or a principal listed, what each redraws, the
// pop-up over a satellite with its remove command.
#include "world_map_fixture.h"

#include "core/mglobal.h"

#include <QApplication>
#include <QGroupBox>
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

TEST_F(WorldMap, TerminatorAndNightSide)
{
    frmWorldMap* w = apri("mnuTerraMappaRettangolare");
    ASSERT_NE(w, nullptr);
    platform::Canvas& c = w->Picture1->canvas();
    voce("mnuWorldmapGriglia")->setChecked(false);
    voce("mnuWorldmapTracciatoOrbita")->setChecked(false);

    // The terminator off takes the night side with it.
    voce("mnuWorldmapTerminatore")->setChecked(true);
    voce("mnuWorldmapOmbra")->setChecked(true);
    voce("mnuWorldmapTerminatore")->trigger();
    EXPECT_FALSE(voce("mnuWorldmapTerminatore")->isChecked());
    EXPECT_FALSE(voce("mnuWorldmapOmbra")->isChecked());
    EXPECT_EQ(conta(c.persistentImage(), kTerminatore), 0);

    // The terminator alone is drawn without the shade.
    voce("mnuWorldmapTerminatore")->trigger();
    EXPECT_TRUE(voce("mnuWorldmapTerminatore")->isChecked());
    EXPECT_GT(conta(c.persistentImage(), kTerminatore), 300);
    EXPECT_EQ(conta(c.persistentImage(), 0x696969), 0);
    // The night side on: in November the Sun stands south of the equator,
    // so the shade runs from the terminator up to the north pole.
    voce("mnuWorldmapOmbra")->trigger();
    const QImage img = c.persistentImage();
    EXPECT_GT(conta(img, 0x696969), 1000);
    int nord = 0, sud = 0;
    for (int x = 0; x < img.width(); ++x) {
        nord += (img.pixel(x, 2) & 0xFFFFFF) == 0x696969 ? 1 : 0;
        sud += (img.pixel(x, img.height() - 3) & 0xFFFFFF) == 0x696969 ? 1 : 0;
    }
    EXPECT_GT(nord, img.width() / 4);
    EXPECT_EQ(sud, 0);
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
