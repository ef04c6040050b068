// The canvas's batch (one painter kept open for many drawing calls), which
// the world map uses for each second's satellites and for its regeneration:
// it draws exactly what the single calls draw, and clearing or reading the
// canvas in the middle of a batch sees everything drawn so far.
#include "platform/canvas.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

void disegna(platform::Canvas& c)
{
    c.Scale(-180, 90, 180, -90);
    c.setForeColor(0x00FFFF);
    for (int k = 0; k < 40; ++k)
        c.Line(-170 + 8 * k, -80, -160 + 8 * k, 70, k % 2 ? 0xFF : 0xFF00);
    c.setDrawStyle(platform::Canvas::Dash);
    c.Line(-180, 0, 180, 10);
    c.setDrawStyle(platform::Canvas::Solid);
    c.setFillStyle(platform::Canvas::FillSolid);
    c.setFillColor(0xFF00FF);
    c.Circle(20, 20, 15);
    c.setCurrentX(-100);
    c.setCurrentY(40);
    c.Print(QStringLiteral("ISS (ZARYA)"));
}

TEST(WorldMapCanvasBatch, DrawsWhatSingleCallsDrawOnBothLayers)
{
    for (bool persistente : {true, false}) {
        platform::Canvas a(QSize(400, 220)), b(QSize(400, 220));
        a.setAutoRedraw(persistente);
        b.setAutoRedraw(persistente);
        disegna(a);
        {
            platform::Canvas::Batch lotto(b);
            platform::Canvas::Batch annidato(b);
            disegna(b);
        }
        EXPECT_EQ(a.image(), b.image()) << persistente;
        EXPECT_EQ(a.persistentImage(), b.persistentImage()) << persistente;
    }
}

TEST(WorldMapCanvasBatch, ClearingAndReadingInsideABatchSeeTheDrawing)
{
    platform::Canvas c(QSize(200, 100));
    c.Scale(0, 0, 200, 100);
    platform::Canvas::Batch lotto(c);
    c.setAutoRedraw(true);
    c.Line(10, 50, 190, 50, 0xFF);
    EXPECT_EQ(c.Point(100, 50), 0xFF);
    c.setAutoRedraw(false);
    c.Line(100, 10, 100, 90, 0xFF00);
    EXPECT_EQ(c.Point(100, 30), 0xFF00);
    c.Cls(); // the live layer goes, the persistent line stays
    EXPECT_EQ(c.Point(100, 30), 0xFFFFFF);
    EXPECT_EQ(c.Point(50, 50), 0xFF);
    c.Line(100, 10, 100, 90, 0xFF0000);
    EXPECT_EQ(c.image().pixel(100, 20) & 0xFFFFFF, 0x0000FFu);
}

} // namespace
