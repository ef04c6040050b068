#include "controls/range_tool.h"
#include "paint_helpers.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace testing_controls;

namespace {

// Drags a thumb, grabbed 7 pixels in, so that its left edge lands at p.
void dragTo(QWidget* thumb, int p, bool release = true)
{
    mouse(thumb, QEvent::MouseButtonPress, Qt::LeftButton, {7, 7}, Qt::LeftButton);
    mouse(thumb, QEvent::MouseMove, Qt::NoButton, {double(p - thumb->x() + 7), 7}, Qt::LeftButton);
    if (release)
        mouse(thumb, QEvent::MouseButtonRelease, Qt::LeftButton, {7, 7});
}

void keyTap(QWidget* w, int key)
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(w, &up);
}

} // namespace

TEST(RangeToolPlacement, DefaultsIn217PixelControl)
{
    RangeTool r;
    r.resize(217, 40);
    EXPECT_EQ(r.Min(), 0);
    EXPECT_EQ(r.Max(), 100);
    EXPECT_EQ(r.LowerValue(), 25);
    EXPECT_EQ(r.UpperValue(), 75);
    EXPECT_EQ(r.BorderStyle(), 4);
    EXPECT_EQ(r.Color(), 0x80000002u);
    EXPECT_EQ(r.picBottom()->geometry(), QRect(50, 25, 15, 15));
    EXPECT_EQ(r.picTop()->geometry(), QRect(150, 0, 15, 15));
    EXPECT_EQ(r.shpFill(), QRect(57, 19, 100, 3));

    r.setLowerValue(60);
    r.setUpperValue(60);
    EXPECT_EQ(r.shpFill().width(), 2) << "equal values: a 2-pixel bar";

    r.resize(20, 10);
    EXPECT_EQ(r.size(), QSize(40, 40)) << "never smaller than 40 x 40";
}

TEST(RangeToolPlacement, EmptyRangeIsSafe)
{
    RangeTool r;
    r.resize(217, 40);
    r.setMax(30);
    r.setMin(30); // Max == Min: no division by zero
    EXPECT_EQ(r.LowerValue(), 30);
    EXPECT_EQ(r.UpperValue(), 30);
    EXPECT_EQ(r.picTop()->x(), 0);
    EXPECT_EQ(r.picBottom()->x(), 0);
    dragTo(r.picTop(), 120);
    EXPECT_EQ(r.UpperValue(), 30) << "a drag gives Min";
}

TEST(RangeToolSetters, ClampingPushingAndScrollOncePerSet)
{
    RangeTool r;
    r.resize(217, 40);
    QSignalSpy scroll(&r, &RangeTool::Scroll);
    QSignalSpy change(&r, &RangeTool::Change);

    r.setUpperLocked(true);
    r.setLowerValue(90); // the locks do not restrict the setters
    EXPECT_EQ(r.LowerValue(), 90);
    EXPECT_EQ(r.UpperValue(), 90);
    EXPECT_EQ(scroll.count(), 1);
    r.setUpperValue(10);
    EXPECT_EQ(r.LowerValue(), 10);
    EXPECT_EQ(scroll.count(), 2);
    r.setUpperValue(500);
    EXPECT_EQ(r.UpperValue(), 100);
    r.setLowerValue(-4);
    EXPECT_EQ(r.LowerValue(), 0);

    r.setMax(-20);
    EXPECT_EQ(r.Max(), 0) << "negative values are stored as 0";
    EXPECT_EQ(r.UpperValue(), 0);
    r.setMax(100);
    r.setUpperValue(70);
    r.setLowerValue(20);
    const int before = scroll.count();
    r.setMin(150);
    EXPECT_EQ(r.Max(), 150);
    EXPECT_EQ(r.LowerValue(), 150);
    EXPECT_EQ(r.UpperValue(), 150);
    EXPECT_EQ(scroll.count(), before) << "Min and Max raise no Scroll";
    EXPECT_EQ(change.count(), 0);
}

TEST(RangeToolSetters, ScrollHandlerSettingAValueGetsNoEcho)
{
    RangeTool r;
    r.resize(217, 40);
    int calls = 0;
    QObject::connect(&r, &RangeTool::Scroll, [&] {
        ++calls;
        ASSERT_LT(calls, 10) << "echo loop";
        r.setUpperValue(r.LowerValue() + 5); // a dialog keeping its own rule
    });
    r.setLowerValue(40);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(r.UpperValue(), 45);
}

TEST(RangeToolMouse, DraggingTheLowerThumb)
{
    RangeTool r;
    r.resize(217, 40); // 0.5 units per pixel
    QSignalSpy scroll(&r, &RangeTool::Scroll);
    QSignalSpy change(&r, &RangeTool::Change);

    dragTo(r.picBottom(), 49, false);
    EXPECT_EQ(r.LowerValue(), 24) << "24.5 rounds to even";
    EXPECT_EQ(scroll.count(), 1);
    EXPECT_EQ(change.count(), 0);
    mouse(r.picBottom(), QEvent::MouseMove, Qt::NoButton, {double(180 - r.picBottom()->x() + 7), 7}, Qt::LeftButton);
    EXPECT_EQ(r.LowerValue(), 90);
    EXPECT_EQ(r.UpperValue(), 90) << "pushes the unlocked upper thumb";
    mouse(r.picBottom(), QEvent::MouseMove, Qt::NoButton, {double(100 - r.picBottom()->x() + 7), 7}, Qt::LeftButton);
    EXPECT_EQ(r.LowerValue(), 50);
    EXPECT_EQ(r.UpperValue(), 75) << "the upper value comes back when the lower retreats";
    mouse(r.picBottom(), QEvent::MouseMove, Qt::NoButton, {-500, 7}, Qt::LeftButton);
    EXPECT_EQ(r.LowerValue(), 0) << "limited to the track";
    EXPECT_EQ(r.picBottom()->x(), 0);
    mouse(r.picBottom(), QEvent::MouseButtonRelease, Qt::LeftButton, {7, 7});
    EXPECT_EQ(change.count(), 1);
    EXPECT_EQ(scroll.count(), 4);

    r.setUpperLocked(true);
    dragTo(r.picBottom(), 190);
    EXPECT_EQ(r.LowerValue(), 75) << "stops at a locked upper thumb";
    EXPECT_EQ(r.UpperValue(), 75);
}

TEST(RangeToolMouse, UpperThumbAndLockedThumbs)
{
    RangeTool r;
    r.resize(217, 40);
    r.setLowerLocked(true);
    dragTo(r.picTop(), 20);
    EXPECT_EQ(r.UpperValue(), 25) << "stops at a locked lower thumb";
    EXPECT_EQ(r.LowerValue(), 25);

    r.setLowerLocked(false);
    r.setUpperValue(75);
    dragTo(r.picTop(), 20);
    EXPECT_EQ(r.UpperValue(), 10);
    EXPECT_EQ(r.LowerValue(), 10) << "pushes the lower value down";

    r.setUpperLocked(true);
    QSignalSpy scroll(&r, &RangeTool::Scroll);
    QSignalSpy change(&r, &RangeTool::Change);
    const int before = r.UpperValue();
    dragTo(r.picTop(), 180);
    EXPECT_EQ(r.UpperValue(), before);
    EXPECT_EQ(scroll.count(), 0);
    EXPECT_EQ(change.count(), 1) << "a release on a locked thumb still reports Change";
}

TEST(RangeToolMouse, DragCutShortByDisablingOrHidingEnds)
{
    // The release of a thumb disabled or hidden under the pointer never
    // arrives: the drag still ends, reports Change, and the keys work again.
    RangeTool r;
    r.resize(217, 40);
    r.setPalette(dayPalette());
    QSignalSpy change(&r, &RangeTool::Change);
    dragTo(r.picBottom(), 70, false);
    EXPECT_EQ(r.LowerValue(), 35);
    r.setEnabled(false);
    EXPECT_EQ(change.count(), 1);
    r.setEnabled(true);
    keyTap(r.picBottom(), Qt::Key_Right);
    EXPECT_EQ(r.LowerValue(), 36);
    const QImage raised = render(&r);
    EXPECT_EQ(px(raised, r.picBottom()->x() + 4, 39), dayPalette().color(QPalette::Shadow)) << "raised, not sunken";

    dragTo(r.picTop(), 170, false);
    EXPECT_EQ(r.UpperValue(), 85);
    r.setUpperVisible(false);
    EXPECT_EQ(change.count(), 3);
    r.setUpperVisible(true);
    keyTap(r.picTop(), Qt::Key_Left);
    EXPECT_EQ(r.UpperValue(), 84);
}

TEST(RangeToolKeys, ArrowsPagesAndEndsWithinTheLimits)
{
    RangeTool r;
    r.resize(217, 40);
    QSignalSpy scroll(&r, &RangeTool::Scroll);
    QSignalSpy change(&r, &RangeTool::Change);
    QWidget* lower = r.picBottom();
    QWidget* upper = r.picTop();
    EXPECT_EQ(lower->focusPolicy(), Qt::StrongFocus);

    keyTap(lower, Qt::Key_Right);
    EXPECT_EQ(r.LowerValue(), 26);
    EXPECT_EQ(scroll.count(), 1);
    EXPECT_EQ(change.count(), 1);
    keyTap(lower, Qt::Key_PageDown);
    EXPECT_EQ(r.LowerValue(), 16);
    keyTap(lower, Qt::Key_Home);
    EXPECT_EQ(r.LowerValue(), 0);
    keyTap(lower, Qt::Key_Left);
    EXPECT_EQ(r.LowerValue(), 0) << "not below Min";
    keyTap(lower, Qt::Key_End);
    EXPECT_EQ(r.LowerValue(), 100);
    EXPECT_EQ(r.UpperValue(), 100) << "pushes the unlocked upper thumb";
    keyTap(upper, Qt::Key_Up);
    EXPECT_EQ(r.UpperValue(), 100) << "not above Max";

    r.setUpperValue(60);
    r.setLowerValue(20);
    r.setUpperLocked(true);
    EXPECT_EQ(upper->focusPolicy(), Qt::NoFocus) << "a locked thumb takes no focus";
    keyTap(lower, Qt::Key_End);
    EXPECT_EQ(r.LowerValue(), 60) << "stops at the locked upper thumb";
    EXPECT_EQ(r.UpperValue(), 60);

    r.setUpperLocked(false);
    r.setLowerLocked(true);
    keyTap(upper, Qt::Key_Home);
    EXPECT_EQ(r.UpperValue(), 60) << "stops at the locked lower thumb";
}

TEST(RangeToolPaint, ThumbLooksTrackAndPalettes)
{
    RangeTool r;
    r.resize(217, 40);
    const QPalette day = dayPalette();
    r.setPalette(day);
    QImage img = render(&r);
    // Raised upper thumb: highlight along its top edge; raised lower: dark base.
    EXPECT_EQ(px(img, 150 + 4, 0), day.color(QPalette::Light));
    EXPECT_EQ(px(img, 50 + 4, 39), day.color(QPalette::Shadow));
    EXPECT_EQ(px(img, 150 + 7, 3), day.color(QPalette::Button)) << "thumb face";
    EXPECT_EQ(px(img, 150 + 1, 12), day.color(QPalette::Window)) << "beside the triangle";
    // Etched track: shadow outer line at top, highlight inner line below it.
    EXPECT_EQ(px(img, 30, 15), day.color(QPalette::Dark));
    EXPECT_EQ(px(img, 30, 16), day.color(QPalette::Light));
    EXPECT_EQ(px(img, 30, 24), day.color(QPalette::Light));
    EXPECT_EQ(px(img, 30, 23), day.color(QPalette::Dark));
    EXPECT_EQ(px(img, 100, 20), day.color(QPalette::Highlight)) << "fill bar in the active caption colour";
    EXPECT_EQ(px(img, 40, 20), day.color(QPalette::Window));

    // Dragged: sunken look (dark shadow along the top edge).
    mouse(r.picTop(), QEvent::MouseButtonPress, Qt::LeftButton, {7, 7}, Qt::LeftButton);
    img = render(&r);
    EXPECT_EQ(px(img, 150 + 4, 0), day.color(QPalette::Shadow));
    mouse(r.picTop(), QEvent::MouseButtonRelease, Qt::LeftButton, {7, 7});

    // Raised track on button face.
    r.setBorderStyle(1);
    img = render(&r);
    EXPECT_EQ(px(img, 30, 20), day.color(QPalette::Button));
    EXPECT_EQ(px(img, 30, 15), day.color(QPalette::Midlight));
    EXPECT_EQ(px(img, 30, 24), day.color(QPalette::Shadow));

    // Disabled: etched track whatever the style, etched thumbs.
    r.setEnabled(false);
    img = render(&r);
    EXPECT_EQ(px(img, 30, 20), day.color(QPalette::Window));
    EXPECT_EQ(px(img, 30, 15), day.color(QPalette::Dark));
    EXPECT_EQ(px(img, 150 + 4, 0), day.color(QPalette::Dark));
    EXPECT_EQ(px(img, 150 + 4, 1), day.color(QPalette::Light));

    // Night colours and an explicit fill colour.
    r.setEnabled(true);
    r.setPalette(nightPalette());
    img = render(&r);
    EXPECT_EQ(px(img, 100, 20), QColor(64, 0, 0));
    EXPECT_EQ(px(img, 150 + 4, 0), QColor(255, 0, 0));
    EXPECT_EQ(px(img, 30, 20), QColor(128, 0, 0));
    r.setColor(0x0000FF);
    EXPECT_EQ(px(render(&r), 100, 20), QColor(255, 0, 0));

    // The focused thumb carries dotted marks beside its triangle.
    r.show();
    QApplication::setActiveWindow(&r);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&r));
    r.picBottom()->setFocus();
    ASSERT_TRUE(r.picBottom()->hasFocus());
    img = render(&r);
    EXPECT_EQ(px(img, r.picBottom()->x(), 25 + 10), QColor(0, 0, 0));
    EXPECT_EQ(px(img, r.picBottom()->x(), 25 + 9), QColor(128, 0, 0));
    EXPECT_EQ(px(img, r.picTop()->x(), 10), QColor(128, 0, 0)) << "only on the focused thumb";

    // A hidden thumb is not drawn.
    r.setUpperVisible(false);
    EXPECT_EQ(px(render(&r), 150 + 7, 3), QColor(128, 0, 0)) << "background where the thumb was";
    EXPECT_FALSE(r.UpperVisible());
}
