// Drawing helpers of the charts (gradient, arrow, transparent copy) and the
// open-window query over real widgets.
#include "core/mglobal.h"
#include "platform/canvas.h"
#include "common/window_helpers.h"
#include "common/window_host.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr std::uint32_t kRed = 0x0000FF;
constexpr std::uint32_t kGreen = 0x00FF00;
constexpr std::uint32_t kBlue = 0xFF0000;

QRgb pixel(const platform::Canvas& c, int x, int y)
{
    return c.image().pixel(x, y) & 0xFFFFFF;
}

// `size` pixels square, chart units -100..100 with y upward, as the sky charts use.
std::unique_ptr<platform::Canvas> chart(std::uint32_t back, int size = 200)
{
    auto c = std::make_unique<platform::Canvas>(QSize(size, size));
    c->setAutoRedraw(true);
    c->setBackColor(back);
    c->Scale(-100, 100, 100, -100);
    return c;
}

TEST(GuiHelpersTest, GradientGoesFromTheRimColourToTheCentreColour)
{
    // Ten pixels a unit, so that even the last band (0.35 units) covers pixels.
    auto c = chart(kBlue, 2000);
    c->setFillColor(kRed);
    c->setFillStyle(platform::Canvas::FillTransparent);
    mGlobal::Riempi_Sfumato(*c, 0x000000, 0xFFFFFF, 0, 0, 90, 1, 256);
    // Last band: 0 + (255 - 0) * 255 \ 256 = 254 in each component.
    EXPECT_EQ(pixel(*c, 1000, 1000), qRgb(254, 254, 254) & 0xFFFFFF);
    // Two units inside the rim lies band 5 at most: 255 * 5 \ 256 = 4.
    const QRgb nearRim = pixel(*c, 1000 + 880, 1000);
    EXPECT_LE(qRed(nearRim), 5);
    EXPECT_EQ(qRed(nearRim), qBlue(nearRim));
    // Halfway out: band 128 of 256, 255 * 128 \ 256 = 127 (give or take the band edge).
    EXPECT_NEAR(qRed(pixel(*c, 1000, 1000 - 450)), 127, 1);
    // Outside the disc the picture is untouched.
    EXPECT_EQ(pixel(*c, 1000 + 950, 1000), QRgb(0x0000FF)); // blue as a QRgb
    EXPECT_EQ(pixel(*c, 2, 2), QRgb(0x0000FF));
    // Fill settings put back.
    EXPECT_EQ(c->fillColor(), kRed);
    EXPECT_EQ(c->fillStyle(), int(platform::Canvas::FillTransparent));
}

TEST(GuiHelpersTest, ArrowHeadPointsAlongTheLine)
{
    platform::Canvas c(QSize(200, 200));
    c.setAutoRedraw(true);
    c.setBackColor(0xFFFFFF);
    c.Scale(0, 0, 200, 200);
    c.setForeColor(0x000000);
    mGlobal::Disegna_Linea_Tratteggiata(c, 20, 100, 180, 100, 20, true, 0, 0);
    // Barbs from (180, 100) to (160, 120) and (160, 80): behind the head.
    EXPECT_EQ(pixel(c, 170, 110), 0u);
    EXPECT_EQ(pixel(c, 170, 90), 0u);
    EXPECT_EQ(pixel(c, 100, 100), 0u);
    EXPECT_EQ(pixel(c, 190, 110), 0xFFFFFFu);
    EXPECT_EQ(pixel(c, 185, 100), 0xFFFFFFu);
    // No marks asked for: nothing at the start.
    EXPECT_EQ(pixel(c, 10, 110), 0xFFFFFFu);

    platform::Canvas marks(QSize(200, 200));
    marks.setAutoRedraw(true);
    marks.setBackColor(0xFFFFFF);
    marks.Scale(0, 0, 200, 200);
    mGlobal::Disegna_Linea_Tratteggiata(marks, 20, 100, 180, 100, 10, false, 3, 50);
    // Chevrons at x = 20, 70, 120, none at the end.
    EXPECT_EQ(pixel(marks, 15, 105), 0u);
    EXPECT_EQ(pixel(marks, 65, 95), 0u);
    EXPECT_EQ(pixel(marks, 115, 105), 0u);
    EXPECT_EQ(pixel(marks, 175, 105), 0xFFFFFFu);
}

TEST(GuiHelpersTest, ZeroLengthArrowDrawsNothing)
{
    platform::Canvas c(QSize(50, 50));
    c.setAutoRedraw(true);
    c.setBackColor(0xFFFFFF);
    const QImage before = c.image();
    mGlobal::Disegna_Linea_Tratteggiata(c, 300, 300, 300, 300, 100, true, 3, 60);
    EXPECT_EQ(c.image(), before);
}

TEST(GuiHelpersTest, TransparentCopyKeepsTheDestinationUnderTheKeyColour)
{
    auto dest = chart(kRed);
    platform::Canvas src(QSize(40, 40));
    src.setAutoRedraw(true);
    src.setBackColor(kGreen);
    const QImage untouched = dest->image();
    // All key colour: nothing changes.
    mTrasp::Blit_Trasparente(*dest, src, 10, 10, 40, 40, kGreen);
    EXPECT_EQ(dest->image(), untouched);

    // A blue square in the middle of the source.
    src.setScaleMode(platform::Canvas::Pixels);
    src.setFillStyle(platform::Canvas::FillSolid);
    src.setFillColor(kBlue);
    src.Line(10, 10, 29, 29, kBlue, platform::Canvas::FilledBox);
    mTrasp::Blit_Trasparente(*dest, src, 100, 50, 40, 40, kGreen);
    EXPECT_EQ(pixel(*dest, 100 + 20, 50 + 20), QRgb(0x0000FF));   // blue square copied
    EXPECT_EQ(pixel(*dest, 100 + 2, 50 + 2), QRgb(0xFF0000));     // key: red kept
    EXPECT_EQ(pixel(*dest, 100 + 38, 50 + 38), QRgb(0xFF0000));
    EXPECT_EQ(pixel(*dest, 100 + 9, 50 + 20), QRgb(0xFF0000));
    EXPECT_EQ(pixel(*dest, 100 + 10, 50 + 20), QRgb(0x0000FF));

    // Asked for more than the source holds: beyond it the destination stays.
    auto wide = chart(kRed);
    mTrasp::Blit_Trasparente(*wide, src, 0, 0, 60, 60, kGreen);
    EXPECT_EQ(pixel(*wide, 20, 20), QRgb(0x0000FF));
    EXPECT_EQ(pixel(*wide, 50, 50), QRgb(0xFF0000));
    EXPECT_EQ(pixel(*wide, 45, 10), QRgb(0xFF0000));
}

TEST(GuiHelpersTest, OpenWindowsAreFoundAmongTheWidgets)
{
    mGlobal::Installa_Elenco_Finestre();
    auto map = std::make_unique<QWidget>();
    map->setObjectName("frmWorldMap");
    EXPECT_TRUE(mGlobal::Form_Aperta("FRMWORLDMAP")); // loaded, not even shown

    QMdiArea area;
    auto* form = new QWidget;
    form->setObjectName("frmTrack");
    QMdiSubWindow* sub = area.addSubWindow(form);
    EXPECT_TRUE(mGlobal::Form_Aperta("frmtrack"));
    // A control with a form-like name inside a window is not a window.
    auto* label = new QWidget(map.get());
    label->setObjectName("frmPlanets");
    EXPECT_FALSE(mGlobal::Form_Aperta("frmPlanets"));

    delete sub;
    map.reset();
    EXPECT_FALSE(mGlobal::Form_Aperta("frmTrack"));
    EXPECT_FALSE(mGlobal::Form_Aperta("frmWorldMap"));
    mGlobal::Imposta_Elenco_Finestre({});
}

} // namespace
