// The canvas widget follows its size and reports the mouse in user units.
#include "platform/canvas_widget.h"
#include "platform/vb.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using platform::CanvasWidget;

TEST(CanvasWidgetTest, MouseInUserUnitsAndPaintingTheCanvas)
{
    CanvasWidget w;
    w.resize(360, 180);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_EQ(w.canvas().pixelSize(), QSize(360, 180));
    w.canvas().Scale(-180, 90, 180, -90);

    QSignalSpy down(&w, &CanvasWidget::MouseDown);
    QSignalSpy up(&w, &CanvasWidget::MouseUp);
    QSignalSpy click(&w, &CanvasWidget::Click);
    QTest::mousePress(&w, Qt::RightButton, Qt::ShiftModifier, QPoint(270, 45));
    QTest::mouseRelease(&w, Qt::RightButton, Qt::ShiftModifier, QPoint(270, 45));
    ASSERT_EQ(down.size(), 1);
    EXPECT_EQ(down[0][0].toInt(), 2); // right button
    EXPECT_EQ(down[0][1].toInt(), 1); // Shift
    EXPECT_DOUBLE_EQ(down[0][2].toDouble(), 90.0);
    EXPECT_DOUBLE_EQ(down[0][3].toDouble(), 45.0);
    ASSERT_EQ(up.size(), 1);
    EXPECT_EQ(click.size(), 1);

    w.canvas().setBackColor(vb::RGB(0, 0, 0));
    w.canvas().Line(-180, 0, 180, 0, vb::RGB(255, 255, 0));
    const QImage shot = w.grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(100, 90)), QColor(255, 255, 0));
    EXPECT_EQ(QColor(shot.pixel(100, 40)), QColor(0, 0, 0));

    // A user scale survives a resize; the canvas takes the new size.
    w.resize(720, 360);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.canvas().pixelSize(), QSize(720, 360));
    EXPECT_EQ(w.canvas().toDevice({90, 45}), QPointF(540, 90));
}
