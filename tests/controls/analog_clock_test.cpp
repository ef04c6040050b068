#include "controls/analog_clock.h"
#include "paint_helpers.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace testing_controls;

namespace {

bool dark(const QColor& c) { return c.red() < 90 && c.green() < 90 && c.blue() < 90; }
bool reddish(const QColor& c) { return c.red() > 150 && c.green() < 110 && c.blue() < 110; }
bool hand(const QColor& c) { return dark(c) || c.red() - c.green() > 60; }

// Whether some pixel within 1 of (x, y) passes the test.
template <class Test>
bool near(const QImage& img, double x, double y, Test test)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (test(img.pixelColor(int(std::lround(x)) + dx, int(std::lround(y)) + dy)))
                return true;
    return false;
}

// A point of the face: clock angle in degrees from 12 o'clock, clockwise, at a
// fraction of the dial radius. Screen y grows downwards.
QPointF facePoint(const QSize& size, double clockDegrees, double fraction)
{
    const double cx = size.width() / 2.0, cy = size.height() / 2.0;
    const double r = std::min(cx, cy) - 50.0 / 15.0;
    const double a = clockDegrees * M_PI / 180.0;
    return {cx + std::sin(a) * r * fraction, cy - std::cos(a) * r * fraction};
}

QImage clockAt(AnalogClock& c, QTime t)
{
    c.setValue(t);
    return render(&c);
}

} // namespace

TEST(AnalogClockHands, ThreeOClockAndHalfPastSix)
{
    AnalogClock c;
    c.resize(200, 200);
    c.setPalette(dayPalette());
    QImage img = clockAt(c, QTime(3, 0, 0));
    const QSize s = c.size();
    QPointF p = facePoint(s, 90, 0.35);
    EXPECT_TRUE(near(img, p.x(), p.y(), dark)) << "hour hand to the right";
    p = facePoint(s, 270, 0.35);
    EXPECT_FALSE(near(img, p.x(), p.y(), dark));
    p = facePoint(s, 0, 0.6);
    EXPECT_TRUE(near(img, p.x(), p.y(), hand)) << "minute hand up";
    p = facePoint(s, 0, 0.8); // past the minute hand (0.75 R), within the second hand (0.85 R)
    EXPECT_TRUE(near(img, p.x(), p.y(), reddish)) << "red second hand up";
    p = facePoint(s, 0, 0.45);
    EXPECT_FALSE(near(img, p.x() - 6, p.y(), dark));

    // 18:30: the hour hand halfway between the 6 and the 7 (195 degrees),
    // the minute hand straight down.
    img = clockAt(c, QTime(18, 30, 0));
    p = facePoint(s, 195, 0.4);
    EXPECT_TRUE(near(img, p.x(), p.y(), dark));
    p = facePoint(s, 165, 0.4);
    EXPECT_FALSE(near(img, p.x(), p.y(), dark));
    p = facePoint(s, 180, 0.65);
    EXPECT_TRUE(near(img, p.x(), p.y(), dark));
}

TEST(AnalogClockHands, NoonEqualsMidnightAndFractionalMinutes)
{
    AnalogClock c;
    c.resize(400, 400);
    EXPECT_EQ(clockAt(c, QTime(12, 0, 0)), clockAt(c, QTime(0, 0, 0)));
    EXPECT_EQ(clockAt(c, QTime(0, 0, 10, 0)), clockAt(c, QTime(0, 0, 10, 700))) << "whole seconds";

    // 00:10:30: the minute hand at 63 degrees, not at 60.
    const QImage img = clockAt(c, QTime(0, 10, 30));
    const QPointF at63 = facePoint(c.size(), 63, 0.6);
    const QPointF at60 = facePoint(c.size(), 60, 0.6);
    EXPECT_TRUE(near(img, at63.x(), at63.y(), dark));
    EXPECT_FALSE(near(img, at60.x(), at60.y(), dark));
}

TEST(AnalogClockFace, FitsTheShorterSideAndFollowsResize)
{
    AnalogClock c;
    c.resize(300, 150);
    c.setPalette(dayPalette());
    QImage img = render(&c); // no Value yet: face only
    const double r = 75 - 50.0 / 15.0;
    EXPECT_TRUE(near(img, 150 - r, 75, dark)) << "dial outline on the left";
    EXPECT_TRUE(near(img, 150, 75 - r, dark)) << "dial outline at the top";
    EXPECT_FALSE(near(img, 150 - r - 10, 75, dark));
    EXPECT_EQ(px(img, 150 + int(r / 3), 75 - 5), dayPalette().color(QPalette::Button)) << "no hands yet";
    EXPECT_GT(countOf(img, QColor(0, 0, 0), QRect(140, 5, 20, 20)), 0) << "the 12 at the top";

    c.resize(200, 200);
    EXPECT_EQ(c.geometry().size(), QSize(200, 200)) << "the widget's own geometry stays reachable";
    c.setValue(QTime(9, 0, 0));
    img = render(&c);
    EXPECT_TRUE(near(img, 100 - (100 - 50.0 / 15.0), 100, dark)) << "face redrawn for the new size";
    const QPointF p = facePoint(c.size(), 270, 0.35);
    EXPECT_TRUE(near(img, p.x(), p.y(), dark)) << "hour hand to the left at nine";
}

TEST(AnalogClockFace, NightAndDisabledPalettes)
{
    AnalogClock c;
    c.resize(120, 120);
    c.setValue(QTime(3, 0, 0));
    c.setPalette(nightPalette());
    QImage img = render(&c);
    EXPECT_EQ(px(img, 60 - 20, 60 + 20), QColor(128, 0, 0)) << "face in the night button colour";
    EXPECT_EQ(px(img, 2, 2), QColor(128, 0, 0));
    const QPointF p = facePoint(c.size(), 90, 0.3);
    EXPECT_TRUE(near(img, p.x(), p.y(), dark));
    c.setEnabled(false);
    EXPECT_EQ(render(&c), img) << "a disabled clock looks the same";
}
