// The drawing surface: scales, layers and every drawing call, checked on the
// pixels it produces.
#include "platform/canvas.h"
#include "platform/vb.h"

#include "support/named_pipe.h"

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

using platform::Canvas;

namespace {
constexpr platform::VbColor kRed = vb::RGB(255, 0, 0);
constexpr platform::VbColor kGreen = vb::RGB(0, 255, 0);
constexpr platform::VbColor kBlue = vb::RGB(0, 0, 255);
constexpr platform::VbColor kWhite = vb::RGB(255, 255, 255);
constexpr platform::VbColor kBlack = 0;

platform::VbColor px(const QImage& img, int x, int y)
{
    return vb::fromQColor(QColor(img.pixel(x, y)));
}

// The colour at (x, y) or at one of its eight neighbours (curves land within a pixel).
bool near(const QImage& img, int x, int y, platform::VbColor c)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (px(img, x + dx, y + dy) == c)
                return true;
    return false;
}

int countColour(const QImage& img, platform::VbColor c)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += px(img, x, y) == c;
    return n;
}

// A canvas whose user units are its pixels, y downward.
void pixelScale(Canvas& c)
{
    c.Scale(0, 0, c.pixelSize().width(), c.pixelSize().height());
}
} // namespace

TEST(CanvasScale, TwipsByDefaultAndUserWindowsWithYUp)
{
    Canvas c(QSize(360, 180));
    EXPECT_EQ(c.scaleMode(), Canvas::Twips);
    EXPECT_DOUBLE_EQ(c.scaleWidth(), 360 * 15.0);
    EXPECT_DOUBLE_EQ(c.width(), 5400.0);
    EXPECT_DOUBLE_EQ(c.height(), 2700.0);

    c.Scale(-180, 90, 180, -90);
    EXPECT_DOUBLE_EQ(c.scaleHeight(), -180.0);
    EXPECT_EQ(c.toDevice({-180, 90}), QPointF(0, 0));
    EXPECT_EQ(c.toDevice({0, 0}), QPointF(180, 90));
    EXPECT_EQ(c.toDevice({90, -45}), QPointF(270, 135));
    EXPECT_EQ(c.toUser({270, 135}), QPointF(90, -45));

    c.Line(-170, 45, 170, 45, kRed); // y up: 45 north is the upper half
    EXPECT_EQ(px(c.image(), 100, 45), kRed);
    EXPECT_EQ(px(c.image(), 100, 135), kWhite);
    EXPECT_EQ(c.Point(0, 45), qint64(kRed));
    EXPECT_EQ(c.Point(0, -45), qint64(kWhite));
    EXPECT_EQ(c.Point(200, 0), -1); // outside
    EXPECT_DOUBLE_EQ(c.currentX(), 170.0);
    EXPECT_DOUBLE_EQ(c.currentY(), 45.0);

    // Only the horizontal extent changes; the box now spans 100 units across.
    c.setScaleWidth(100);
    c.setScaleLeft(0);
    EXPECT_EQ(c.toDevice({50, 90}), QPointF(180, 0));

    // A user scale keeps its window when the canvas grows; twips do not.
    c.resize(QSize(720, 360));
    EXPECT_DOUBLE_EQ(c.scaleWidth(), 100.0);
    c.Scale();
    EXPECT_DOUBLE_EQ(c.scaleWidth(), 720 * 15.0);
    c.setScaleMode(Canvas::Pixels);
    EXPECT_DOUBLE_EQ(c.scaleHeight(), 360.0);
}

TEST(CanvasLayers, ClsClearsOnlyTheTransientLayerWhenPersistentDrawingIsOff)
{
    Canvas c(QSize(100, 100));
    pixelScale(c);
    c.setAutoRedraw(true);
    c.Line(10, 10, 30, 30, kBlue, Canvas::FilledBox);
    c.setAutoRedraw(false);
    c.Line(0, 50, 99, 50, kRed);
    EXPECT_EQ(px(c.image(), 20, 20), kBlue);
    EXPECT_EQ(px(c.image(), 60, 50), kRed);
    EXPECT_EQ(px(c.persistentImage(), 60, 50), kWhite);

    c.setCurrentX(40);
    c.Cls();
    EXPECT_EQ(px(c.image(), 60, 50), kWhite); // transient gone
    EXPECT_EQ(px(c.image(), 20, 20), kBlue);  // persistent stays
    EXPECT_DOUBLE_EQ(c.currentX(), 0.0);

    c.setAutoRedraw(true);
    c.Cls();
    EXPECT_EQ(px(c.image(), 20, 20), kWhite);

    // The background picture survives a clear; a new background colour clears the drawing.
    QImage pic(10, 10, QImage::Format_RGB32);
    pic.fill(Qt::green);
    c.setPicture(pic);
    c.Line(50, 50, 60, 60, kBlue, Canvas::FilledBox);
    c.Cls();
    EXPECT_EQ(px(c.image(), 5, 5), kGreen);
    EXPECT_EQ(px(c.image(), 55, 55), kWhite);
    c.setPicture({});
    c.Line(50, 50, 60, 60, kBlue, Canvas::FilledBox);
    c.setBackColor(kBlack);
    EXPECT_EQ(countColour(c.image(), kBlack), 100 * 100);

    // Growing keeps the drawing at the top left and fills the rest with the background.
    c.setBackColor(kWhite);
    c.Line(0, 0, 9, 9, kRed, Canvas::FilledBox);
    c.resize(QSize(200, 150));
    EXPECT_EQ(px(c.image(), 5, 5), kRed);
    EXPECT_EQ(px(c.image(), 150, 120), kWhite);
}

TEST(CanvasLines, BoxesFillsWidthsAndDashes)
{
    Canvas c(QSize(200, 100));
    pixelScale(c);
    c.setAutoRedraw(true);
    c.setFillStyle(Canvas::FillSolid);
    c.setFillColor(kGreen);
    c.Line(10, 10, 50, 50, kRed, Canvas::Box);
    const QImage a = c.image();
    EXPECT_EQ(px(a, 10, 30), kRed);   // outline
    EXPECT_EQ(px(a, 30, 30), kGreen); // filled with the fill colour
    EXPECT_EQ(px(a, 60, 30), kWhite);

    c.Line(60, 10, 100, 50, kBlue, Canvas::FilledBox); // BF fills with the line colour
    EXPECT_EQ(px(c.image(), 80, 30), kBlue);
    EXPECT_EQ(px(c.image(), 60, 10), kBlue);
    EXPECT_EQ(px(c.image(), 100, 50), kBlue);

    c.Cls();
    c.setFillStyle(Canvas::FillTransparent);
    c.Line(10, 10, 50, 50, kRed, Canvas::Box);
    EXPECT_EQ(px(c.image(), 30, 30), kWhite); // transparent fill

    // Line -(x, y) continues from the pen.
    c.Cls();
    c.setCurrentX(10);
    c.setCurrentY(80);
    c.LineTo(190, 80, kBlue);
    EXPECT_EQ(px(c.image(), 100, 80), kBlue);

    // Draw width: a 5-pixel line covers two pixels either side.
    c.Cls();
    c.setDrawWidth(5);
    c.Line(20, 50, 180, 50, kRed);
    EXPECT_EQ(px(c.image(), 100, 48), kRed);
    EXPECT_EQ(px(c.image(), 100, 52), kRed);
    EXPECT_EQ(px(c.image(), 100, 55), kWhite);
    c.setDrawWidth(1);

    // Dashes leave gaps (18 on, 6 off: three quarters drawn), dots half.
    c.Cls();
    c.setDrawStyle(Canvas::Dash);
    c.Line(0, 20, 192, 20, kRed);
    const int dashed = countColour(c.image(), kRed);
    EXPECT_GT(dashed, 130);
    EXPECT_LT(dashed, 160);
    c.Cls();
    c.setDrawStyle(Canvas::Dot);
    c.Line(0, 20, 192, 20, kRed);
    const int dotted = countColour(c.image(), kRed);
    EXPECT_GT(dotted, 80);
    EXPECT_LT(dotted, 112);

    // A zero-length dashed line draws nothing; a zero-length solid one a point.
    c.Cls();
    c.setDrawStyle(Canvas::Dash);
    c.Line(50, 50, 50, 50, kRed);
    EXPECT_EQ(countColour(c.image(), kRed), 0);
    c.setDrawStyle(Canvas::Solid);
    c.Line(50, 50, 50, 50, kRed);
    EXPECT_EQ(px(c.image(), 50, 50), kRed);
    c.setDrawStyle(Canvas::Transparent);
    c.Line(0, 0, 199, 99, kBlue);
    EXPECT_EQ(countColour(c.image(), kBlue), 0);
}

TEST(CanvasCircles, FullArcsRadiusLinesPiesAndAspect)
{
    Canvas c(QSize(200, 200));
    c.Scale(-100, 100, 100, -100); // y up, one unit a pixel
    c.setAutoRedraw(true);
    c.Circle(0, 0, 50, kRed);
    QImage img = c.image();
    EXPECT_EQ(px(img, 150, 100), kRed);   // right edge
    EXPECT_EQ(px(img, 100, 50), kRed);    // top edge
    EXPECT_EQ(px(img, 100, 100), kWhite); // not filled by default
    EXPECT_EQ(px(img, 160, 100), kWhite);

    c.Cls();
    c.setFillStyle(Canvas::FillSolid);
    c.setFillColor(kBlue);
    c.Circle(0, 0, 50, kRed);
    EXPECT_EQ(px(c.image(), 100, 100), kBlue);
    c.setFillStyle(Canvas::FillTransparent);

    // Aspect 0.5: the horizontal radius is 50, the vertical 25.
    c.Cls();
    c.Circle(0, 0, 50, kRed, std::nullopt, std::nullopt, 0.5);
    img = c.image();
    EXPECT_EQ(px(img, 150, 100), kRed);
    EXPECT_EQ(px(img, 100, 75), kRed);
    EXPECT_EQ(px(img, 100, 50), kWhite);
    // Aspect 2: the radius is the vertical one, the horizontal is half of it.
    c.Cls();
    c.Circle(0, 0, 50, kRed, std::nullopt, std::nullopt, 2.0);
    img = c.image();
    EXPECT_EQ(px(img, 100, 50), kRed);
    EXPECT_EQ(px(img, 125, 100), kRed);
    EXPECT_EQ(px(img, 150, 100), kWhite);

    // An arc from 0 to a right angle is the upper right quarter on screen.
    c.Cls();
    c.Circle(0, 0, 50, kRed, 0.0, M_PI / 2);
    img = c.image();
    EXPECT_TRUE(near(img, 135, 65, kRed)); // 45 degrees
    EXPECT_FALSE(near(img, 65, 135, kRed)); // 225 degrees: not on the arc
    EXPECT_EQ(px(img, 100, 80), kWhite);   // no radius lines

    // A negative end also draws the radius to it.
    c.Cls();
    c.Circle(0, 0, 50, kRed, 0.0, -M_PI / 2);
    img = c.image();
    EXPECT_EQ(px(img, 100, 80), kRed);     // on the vertical radius
    EXPECT_EQ(px(img, 120, 100), kWhite);  // no radius at the start

    // Both negative: a pie, filled by the fill style.
    c.Cls();
    c.setFillStyle(Canvas::FillSolid);
    c.setFillColor(kGreen);
    c.Circle(0, 0, 50, kRed, -M_PI, -(3 * M_PI / 2));
    img = c.image();
    EXPECT_EQ(px(img, 80, 120), kGreen);   // lower left quarter filled
    EXPECT_EQ(px(img, 120, 80), kWhite);   // upper right untouched
}

TEST(CanvasPoints, PSetAndDrawWidth)
{
    Canvas c(QSize(50, 50));
    pixelScale(c);
    c.PSet(10, 10, kRed);
    QImage img = c.image();
    EXPECT_EQ(px(img, 10, 10), kRed);
    EXPECT_EQ(countColour(img, kRed), 1);
    EXPECT_DOUBLE_EQ(c.currentX(), 10.0);

    c.setDrawWidth(5);
    c.PSet(30, 30, kBlue);
    img = c.image();
    EXPECT_EQ(px(img, 32, 30), kBlue);
    EXPECT_EQ(px(img, 28, 30), kBlue);
    EXPECT_EQ(px(img, 34, 30), kWhite);
}

TEST(CanvasText, PrintAtThePenAndMeasureInUserUnits)
{
    Canvas c(QSize(300, 100));
    c.setForeColor(kBlack);
    const double w1 = c.TextWidth(QStringLiteral("W"));
    const double w5 = c.TextWidth(QStringLiteral("WWWWW"));
    EXPECT_GT(w1, 0);
    EXPECT_NEAR(w5, 5 * w1, 15.0 * 1.5);
    // Twips: every pixel is 15 units.
    const double h = c.TextHeight(QStringLiteral("Ag"));
    EXPECT_GT(h, 8 * 15.0);
    EXPECT_LT(h, 20 * 15.0);
    EXPECT_DOUBLE_EQ(c.TextHeight(QStringLiteral("a\r\nb")), 2 * h);

    pixelScale(c);
    const double hp = c.TextHeight(QStringLiteral("Ag"));
    EXPECT_NEAR(hp * 15.0, h, 1e-9);
    c.setCurrentX(20);
    c.setCurrentY(30);
    c.Print(QStringLiteral("Satellite"), false);
    EXPECT_NEAR(c.currentX(), 20 + c.TextWidth(QStringLiteral("Satellite")), 1e-9);
    EXPECT_DOUBLE_EQ(c.currentY(), 30.0);
    c.Print(QStringLiteral("!"));
    EXPECT_DOUBLE_EQ(c.currentX(), 0.0);
    EXPECT_NEAR(c.currentY(), 30 + hp, 1e-9);

    // Ink only inside the text's box.
    const QImage img = c.image();
    int inside = 0, outside = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            if (px(img, x, y) == kWhite)
                continue;
            const bool in = x >= 20 && y >= 30 && y < 30 + hp + 1;
            (in ? inside : outside)++;
        }
    EXPECT_GT(inside, 20);
    EXPECT_EQ(outside, 0);

    // With y growing upward the next line is still below on screen.
    Canvas up(QSize(100, 100));
    up.Scale(0, 100, 100, 0);
    up.setCurrentY(80);
    up.Print(QStringLiteral("x"));
    EXPECT_LT(up.currentY(), 80);
    EXPECT_GT(up.TextHeight(), 0);

    // A name read from a file with a NUL byte and the controls of
    // bidirectional text (an override, an isolate) is drawn and measured as
    // the same name with blanks in their places: no box, nothing reversed.
    const QString letto = QStringLiteral("ABC") + QChar(0x202E) + QStringLiteral("DEF G") + QChar(0)
        + QStringLiteral("H ") + QChar(0x2067) + QStringLiteral("IJ") + QChar(0x2069);
    const QString piano = QStringLiteral("ABC DEF G H  IJ ");
    const auto disegna = [](const QString& t) {
        Canvas d(QSize(260, 30));
        d.setForeColor(kBlack);
        d.setCurrentX(15);
        d.setCurrentY(15);
        d.Print(t, false);
        return std::pair{d.image(), d.currentX()};
    };
    const auto [immagineLetta, fineLetta] = disegna(letto);
    const auto [immaginePiana, finePiana] = disegna(piano);
    EXPECT_TRUE(immagineLetta == immaginePiana);
    EXPECT_DOUBLE_EQ(fineLetta, finePiana);
    EXPECT_DOUBLE_EQ(c.TextWidth(letto), c.TextWidth(piano));
}

TEST(CanvasPictures, APictureIsReadAndAPipeOrFolderInItsPlaceRefusedAtOnce)
{
    // The landscape behind the sky charts is read when the window opens: a
    // named pipe there must not hold the window until a writer comes.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage pic(3, 2, QImage::Format_RGB32);
    pic.fill(qRgb(10, 200, 30));
    const QString file = dir.filePath(QStringLiteral("landscape.dat"));
    ASSERT_TRUE(pic.save(file, "BMP"));
    QString error;
    const QImage read = platform::loadPicture(file, &error);
    ASSERT_EQ(read.size(), QSize(3, 2));
    EXPECT_EQ(read.pixel(2, 1), qRgb(10, 200, 30));

    NamedPipe pipe(dir.filePath(QStringLiteral("pipe.dat")));
    ASSERT_TRUE(pipe.made());
    for (const QString& p : {pipe.path(), dir.path()}) {
        error.clear();
        EXPECT_TRUE(platform::loadPicture(p, &error).isNull()) << p.toStdString();
        EXPECT_TRUE(error.contains(QDir::toNativeSeparators(p))) << error.toStdString();
    }
    EXPECT_FALSE(pipe.waited());
}

TEST(CanvasPictures, StretchedAndTransparentCopies)
{
    QImage pic(2, 2, QImage::Format_RGB32);
    pic.setPixel(0, 0, qRgb(255, 0, 0));
    pic.setPixel(1, 0, qRgb(0, 255, 0));
    pic.setPixel(0, 1, qRgb(0, 0, 255));
    pic.setPixel(1, 1, qRgb(0, 0, 0));

    Canvas c(QSize(100, 100));
    c.Scale(0, 0, 10, 10);
    c.PaintPicture(pic, 0, 0, 10.0, 10.0);
    QImage img = c.image();
    EXPECT_EQ(px(img, 25, 25), kRed);
    EXPECT_EQ(px(img, 75, 25), kGreen);
    EXPECT_EQ(px(img, 25, 75), kBlue);
    EXPECT_EQ(px(img, 75, 75), kBlack);

    // At its own size, and a part of it.
    c.Cls();
    c.PaintPicture(pic, 5, 5);
    img = c.image();
    EXPECT_EQ(px(img, 50, 50), kRed);
    EXPECT_EQ(px(img, 51, 51), kBlack);
    EXPECT_EQ(px(img, 52, 52), kWhite);
    c.Cls();
    c.PaintPicture(pic, 0, 0, 10.0, 10.0, QRectF(1, 1, 1, 1));
    EXPECT_EQ(countColour(c.image(), kBlack), 100 * 100);

    // Transparent copy keyed on green: the green quarter keeps the destination.
    c.Cls();
    c.setAutoRedraw(true);
    c.Line(0, 0, 10, 10, vb::RGB(128, 128, 128), Canvas::FilledBox);
    c.TransparentCopy(pic, 0, 0, kGreen, 10.0, 10.0);
    img = c.image();
    EXPECT_EQ(px(img, 25, 25), kRed);
    EXPECT_EQ(px(img, 75, 25), vb::RGB(128, 128, 128));
    EXPECT_EQ(px(img, 75, 75), kBlack);

    // A picture all in the key colour leaves the destination unchanged.
    const QImage before = c.image();
    QImage allKey(5, 5, QImage::Format_RGB32);
    allKey.fill(qRgb(255, 0, 255));
    c.TransparentCopy(allKey, 2, 2, vb::RGB(255, 0, 255), 5.0, 5.0);
    EXPECT_EQ(c.image(), before);
}

TEST(CanvasGradients, BandColoursUseWholeNumberDivision)
{
    // 256 bands from black to white end at 255 * 255 \ 256 = 254.
    EXPECT_EQ(Canvas::bandColor(kBlack, kWhite, 255, 256), vb::RGB(254, 254, 254));
    EXPECT_EQ(Canvas::bandColor(kBlack, kWhite, 0, 256), kBlack);
    // Per component, truncating: red 200 -> 0 over 3 bands, band 1: 200 + (-200 * 1) \ 3 = 134.
    EXPECT_EQ(Canvas::bandColor(vb::RGB(200, 0, 10), vb::RGB(0, 90, 10), 1, 3), vb::RGB(134, 30, 10));

    Canvas c(QSize(100, 20));
    pixelScale(c);
    c.setAutoRedraw(true);
    c.setFillColor(kRed);
    c.setFillStyle(Canvas::FillTransparent);
    c.GradientBoxes(kBlack, kWhite, 0, 0, 99, 19, 4, Qt::Horizontal);
    const QImage img = c.image();
    EXPECT_EQ(px(img, 90, 10), kBlack);                              // far end: first colour
    EXPECT_EQ(px(img, 10, 10), Canvas::bandColor(kBlack, kWhite, 3, 4)); // near the corner: last band
    EXPECT_EQ(px(img, 40, 10), Canvas::bandColor(kBlack, kWhite, 2, 4));
    EXPECT_EQ(c.fillColor(), kRed); // fill settings put back
    EXPECT_EQ(c.fillStyle(), int(Canvas::FillTransparent));

    Canvas r(QSize(100, 100));
    r.Scale(-50, 50, 50, -50);
    r.setAutoRedraw(true);
    r.GradientCircles(kBlack, kWhite, 0, 0, 40, 1.0, 4);
    const QImage ri = r.image();
    EXPECT_EQ(px(ri, 50 + 35, 50), kBlack);                              // outer ring
    EXPECT_EQ(px(ri, 50, 50), Canvas::bandColor(kBlack, kWhite, 3, 4)); // centre
    EXPECT_EQ(px(ri, 50 + 45, 50), kWhite);                              // outside: background
}

TEST(CanvasArrows, BarbsAndZeroLength)
{
    Canvas c(QSize(200, 200));
    pixelScale(c);
    c.ArrowLine(100, 100, 100, 100, 10, true);
    EXPECT_EQ(countColour(c.image(), kBlack), 0);

    c.ArrowLine(20, 100, 180, 100, 10, true);
    const QImage img = c.image();
    EXPECT_EQ(px(img, 100, 100), kBlack);
    // Barbs at 45 degrees back from the end: (-ux - uy, ux - uy) * 10 = (-10, 10) and (-10, -10).
    EXPECT_EQ(px(img, 175, 105), kBlack);
    EXPECT_EQ(px(img, 175, 95), kBlack);
    EXPECT_EQ(px(img, 25, 95), kWhite); // no marks asked for

    // One mark: a chevron at the start, nowhere else.
    Canvas one(QSize(200, 200));
    pixelScale(one);
    one.ArrowLine(20, 100, 180, 100, 10, false, 1, 50);
    const QImage im1 = one.image();
    EXPECT_EQ(px(im1, 15, 105), kBlack);
    EXPECT_EQ(px(im1, 15, 95), kBlack);
    EXPECT_EQ(px(im1, 65, 105), kWhite);
    EXPECT_EQ(px(im1, 175, 105), kWhite);
}

TEST(CanvasDrawModes, NotXorPenAndXorPen)
{
    Canvas c(QSize(20, 20));
    pixelScale(c);
    c.setAutoRedraw(true);
    c.setDrawMode(Canvas::NotXorPen);
    const platform::VbColor pen = vb::RGB(0, 0, 0xC0);
    // On white: NOT(pen XOR white) = pen.
    c.Line(0, 5, 19, 5, pen);
    EXPECT_EQ(px(c.image(), 10, 5), pen);
    // Twice: NOT(pen XOR pen) = white again.
    c.Line(0, 5, 19, 5, pen);
    EXPECT_EQ(px(c.image(), 10, 5), kWhite);
    c.setBackColor(kBlack);
    c.Line(0, 5, 19, 5, pen); // on black: NOT pen
    EXPECT_EQ(px(c.image(), 10, 5), vb::RGB(255, 255, 0x3F));
    c.setDrawMode(Canvas::XorPen);
    c.Line(0, 8, 19, 8, kRed);
    c.Line(0, 8, 19, 8, kRed);
    EXPECT_EQ(px(c.image(), 10, 8), kBlack);
}

TEST(CanvasPainter, DrawsStraightOntoAnyPainterAndRendersLayers)
{
    QImage page(400, 200, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        Canvas c(&painter, QSizeF(400, 200), 96.0);
        EXPECT_TRUE(c.isPainterCanvas());
        c.setAntialiasing(false);
        c.Scale(0, 100, 200, 0); // y up
        c.Line(10, 90, 50, 60, kRed, Canvas::FilledBox);
        c.Cls(); // nothing to clear on paper
    }
    EXPECT_EQ(px(page, 60, 40), kRed);   // (30, 75) user
    EXPECT_EQ(px(page, 300, 150), kWhite);

    Canvas screen(QSize(10, 10));
    pixelScale(screen);
    screen.setAutoRedraw(true);
    screen.Line(0, 0, 4, 9, kBlue, Canvas::FilledBox);
    screen.setAutoRedraw(false);
    screen.Line(5, 0, 9, 9, kGreen, Canvas::FilledBox);
    QImage big(100, 100, QImage::Format_RGB32);
    big.fill(Qt::white);
    {
        QPainter painter(&big);
        screen.render(painter, QRectF(0, 0, 100, 100));
    }
    EXPECT_EQ(px(big, 20, 50), kBlue);
    EXPECT_EQ(px(big, 80, 50), kGreen);
}
