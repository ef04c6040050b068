// The world map window: opening from the Earth menu, the layers drawn where
// the geography puts them, the satellites on the live layer, the pointer.
#include "world_map_fixture.h"

#include <QDir>
#include <QImage>

namespace {

using wmtest::WorldMap;

void salva(const QImage& img, const char* nome)
{
    const QByteArray dir = qgetenv("ASTROVELA_SHOT_DIR");
    if (!dir.isEmpty())
        img.save(QDir(QString::fromLocal8Bit(dir)).filePath(QLatin1String(nome)));
}

TEST_F(WorldMap, OpensBothProjectionsAndDrawsTheSatellites)
{
    frmWorldMap* w = apri("mnuTerraMappaRettangolare");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Tag(), "Recta");
    EXPECT_EQ(core::clockViews().worldMap, w);
    EXPECT_EQ(w->Picture1Tag(), "\\MapEarth.dat");
    salva(main->grab().toImage(), "world_map_recta.png");

    w = apri("mnuTerraMappaOrtografica");
    EXPECT_EQ(w->Tag(), "Ortho");
    salva(main->grab().toImage(), "world_map_ortho.png");
}

} // namespace
