// Time-zone boxes, globe pictures and coordinate forms of the location
// dialogs, against values worked by hand (and the projection against an
// independent evaluation in Python).
#include "locations/location_logic.h"

#include <gtest/gtest.h>

using namespace locations;

TEST(LocationOffset, BoxesAndBack)
{
    FusoBoxes b = Scomponi_Fuso(-3.5);
    EXPECT_EQ(b.lato, 1);
    EXPECT_EQ(b.ore, 3);
    EXPECT_EQ(b.minuti, 1);
    EXPECT_DOUBLE_EQ(Fuso_Da_Boxes(b.lato, b.ore, b.minuti), -3.5);

    b = Scomponi_Fuso(5.75);
    EXPECT_EQ(b.lato, 0);
    EXPECT_EQ(b.ore, 5);
    EXPECT_EQ(b.minuti, 2);
    EXPECT_DOUBLE_EQ(Fuso_Da_Boxes(0, 5, 2), 5.75);

    // 12 minutes: the minutes box is left alone.
    b = Scomponi_Fuso(5.2f);
    EXPECT_EQ(b.ore, 5);
    EXPECT_EQ(b.minuti, -1);

    b = Scomponi_Fuso(-12.75);
    EXPECT_EQ(b.lato, 1);
    EXPECT_EQ(b.ore, 12);
    EXPECT_EQ(b.minuti, 2);
    b = Scomponi_Fuso(14);
    EXPECT_EQ(b.ore, 14);
    EXPECT_EQ(b.minuti, 0);
    EXPECT_DOUBLE_EQ(Fuso_Da_Boxes(0, 0, 0), 0.0);
    EXPECT_DOUBLE_EQ(Fuso_Da_Minuti(1, 9, 30), -9.5);
    EXPECT_DOUBLE_EQ(Fuso_Da_Minuti(0, 8, 45), 8.75);
}

TEST(LocationGlobe, PictureByLongitudeAndProjection)
{
    EXPECT_EQ(Scegli_Globo(-180).immagine, 1);
    EXPECT_EQ(Scegli_Globo(-160).immagine, 2);
    EXPECT_EQ(Scegli_Globo(-160.0001).immagine, 1);
    EXPECT_EQ(Scegli_Globo(-0.0001).immagine, 5);
    EXPECT_EQ(Scegli_Globo(0).immagine, 6);
    EXPECT_EQ(Scegli_Globo(19.99).immagine, 6);
    EXPECT_EQ(Scegli_Globo(20).immagine, 7);
    EXPECT_EQ(Scegli_Globo(20).centro, 20);
    EXPECT_EQ(Scegli_Globo(159.9).immagine, 10);
    EXPECT_EQ(Scegli_Globo(160).immagine, 11);
    EXPECT_EQ(Scegli_Globo(180).centro, 160);

    // The centre of the view, a point on the rim, the pole.
    QPointF p = Proietta_Globo(15, 60, 60);
    EXPECT_NEAR(p.x(), 0, 1e-9);
    EXPECT_NEAR(p.y(), 0, 1e-9);
    p = Proietta_Globo(0, 90, 0);
    EXPECT_NEAR(p.x(), 1, 1e-8);
    EXPECT_NEAR(p.y(), 0, 1e-8);
    p = Proietta_Globo(90, 0, 0);
    EXPECT_NEAR(p.y(), 0.9659258, 1e-7);  // cos 15
    // Milano (45.47, 9.19) on picture 6; Sydney on picture 10; a point on
    // the far side of its centre (python: math.cos/sin).
    p = Proietta_Globo(45.47, 9.19, 0);
    EXPECT_NEAR(p.x(), 0.1120011, 1e-6);
    EXPECT_NEAR(p.y(), 0.5094169, 1e-6);
    p = Proietta_Globo(-33.8688, 151.2093, 140);
    EXPECT_NEAR(p.x(), 0.1614081, 1e-6);
    EXPECT_NEAR(p.y(), -0.7491058, 1e-6);
    p = Proietta_Globo(0, -70, -60);
    EXPECT_NEAR(p.x(), -0.1736482, 1e-6);
    EXPECT_NEAR(p.y(), -0.2548870, 1e-6);
}

TEST(LocationCoordinates, SexagesimalAndDecimalForms)
{
    // 45 deg 28' 12" = 45 + 28/60 + 12/3600 = 45.47.
    Decimale d = Decimale_Da_Gms({45, 28, 12});
    EXPECT_EQ(d.gradi, 45);
    EXPECT_EQ(d.decimi, 4700);
    Sessagesimale s = Gms_Da_Decimale(d);
    EXPECT_EQ(s.gradi, 45);
    EXPECT_EQ(s.minuti, 28);
    EXPECT_EQ(s.secondi, 12);

    d = Decimale_Da_Gms({0, 30, 0});
    EXPECT_EQ(d.gradi, 0);
    EXPECT_EQ(d.decimi, 5000);

    // 0.9999 deg = 59' 59.64": the seconds round to 60 and carry to 1 deg.
    s = Gms_Da_Decimale({0, 9999});
    EXPECT_EQ(s.gradi, 1);
    EXPECT_EQ(s.minuti, 0);
    EXPECT_EQ(s.secondi, 0);
    // Decimals typed as 47 mean .0047 deg = 16.92" -> 17".
    s = Gms_Da_Decimale({0, 47});
    EXPECT_EQ(s.minuti, 0);
    EXPECT_EQ(s.secondi, 17);
    // 12 deg 34' 56" = 12.582222... -> 12 and 5822.
    d = Decimale_Da_Gms({12, 34, 56});
    EXPECT_EQ(d.gradi, 12);
    EXPECT_EQ(d.decimi, 5822);
    // 179 59' 59" = 179.99972 -> 179 and 9997.
    d = Decimale_Da_Gms({179, 59, 59});
    EXPECT_EQ(d.gradi, 179);
    EXPECT_EQ(d.decimi, 9997);

    // Edit fills the boxes from magnitudes: -33.8688 -> 33 and 8688.
    d = Decimale_Da_Valore(-33.8688f);
    EXPECT_EQ(d.gradi, 33);
    EXPECT_EQ(d.decimi, 8688);
    d = Decimale_Da_Valore(45.47f);
    EXPECT_EQ(d.decimi, 4700);

    // OK rounds to four decimals: 90 0' 1" = 90.000278 -> 90.0003 (> 90).
    EXPECT_DOUBLE_EQ(Arrotonda_Coordinata(Gradi_Da_Gms({90, 0, 1}), QStringLiteral("#0.000#")), 90.0003);
    EXPECT_DOUBLE_EQ(Arrotonda_Coordinata(Gradi_Da_Gms({45, 28, 12}), QStringLiteral("#0.000#")), 45.47);
    EXPECT_DOUBLE_EQ(Arrotonda_Coordinata(12.58222222, QStringLiteral("##0.000#")), 12.5822);
}

TEST(LocationCoordinates, ChecksInOrderWithInclusiveBounds)
{
    EXPECT_TRUE(Verifica_Sessagesimale({90, 0, 0}, {180, 0, 0}).ok());
    EXPECT_TRUE(Limiti_Sessagesimale({90, 0, 0}, {180, 0, 0}).ok());
    EXPECT_TRUE(Verifica_Sessagesimale({90, 0, 1}, {0, 0, 0}).ok());
    EXPECT_EQ(Limiti_Sessagesimale({90, 0, 1}, {0, 0, 0}).chiave, QStringLiteral("valorelaterrato"));
    EXPECT_EQ(Limiti_Sessagesimale({10, 0, 0}, {180, 1, 0}).chiave, QStringLiteral("valorelongerrato"));
    EXPECT_EQ(Limiti_Decimale({90, 1}, {0, 0}).chiave, QStringLiteral("valorelaterrato"));
    EXPECT_EQ(Limiti_Decimale({0, 0}, {180, 1}).chiave, QStringLiteral("valorelongerrato"));

    Verifica v = Verifica_Sessagesimale({91, 60, 0}, {0, 0, 0});
    EXPECT_EQ(v.chiave, QStringLiteral("valorecompreso0-90"));
    EXPECT_EQ(v.campo, Campo::GmsGradiLat);
    v = Verifica_Sessagesimale({10, 60, 0}, {181, 0, 0});
    EXPECT_EQ(v.chiave, QStringLiteral("valorecompreso0-59"));
    EXPECT_EQ(v.campo, Campo::GmsMinLat);
    v = Verifica_Sessagesimale({10, 0, 0}, {0, 0, 60});
    EXPECT_EQ(v.campo, Campo::GmsSecLon);
    v = Verifica_Decimale({10, 10000}, {0, 0});
    EXPECT_EQ(v.chiave, QStringLiteral("valorecompreso0-9999"));
    EXPECT_EQ(v.campo, Campo::FrazLat);
    v = Verifica_Decimale({10, 0}, {181, 0});
    EXPECT_EQ(v.chiave, QStringLiteral("valorecompreso0-180"));
    EXPECT_EQ(v.campo, Campo::GradiLon);
    EXPECT_TRUE(Verifica_Decimale({90, 0}, {180, 9999}).ok());
}
