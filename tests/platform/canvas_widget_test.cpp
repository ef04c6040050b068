// The canvas widget follows its size and reports the mouse in user units.
#include "platform/canvas_widget.h"
#include "platform/vb.h"

#include <QApplication>
#include <QProcess>
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

// Run by the test below in a copy of this program started at QT_SCALE_FACTOR
// 2 (skipped in the ordinary run): on a screen of twice the pixel density
// the surface holds twice the pixels each way, so a disc drawn on it has a
// smooth edge, while sizes, scales and the mouse stay in the same units.
TEST(CanvasWidgetTest, SurfaceAtTheScreensPixelDensityChild)
{
    if (qgetenv("ASTROVELA_DPR_CHILD") != "1")
        GTEST_SKIP() << "run by SurfaceFollowsTheScreensPixelDensity";
    CanvasWidget w;
    w.resize(200, 100);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    ASSERT_DOUBLE_EQ(w.devicePixelRatioF(), 2.0);
    EXPECT_DOUBLE_EQ(w.canvas().devicePixelRatio(), 2.0);
    EXPECT_EQ(w.canvas().pixelSize(), QSize(200, 100));
    EXPECT_EQ(w.canvas().persistentImage().size(), QSize(400, 200));
    w.canvas().Scale(0, 0, 200, 100);
    w.canvas().setAutoRedraw(true);
    w.canvas().setBackColor(vb::RGB(0, 0, 0));
    w.canvas().setFillStyle(platform::Canvas::FillSolid);
    w.canvas().setFillColor(vb::RGB(255, 255, 255));
    w.canvas().Circle(100, 50, 20.3, vb::RGB(255, 255, 255));
    // The colour under a point is read where it is drawn.
    EXPECT_EQ(w.canvas().Point(100, 50), qint64(vb::RGB(255, 255, 255)));
    EXPECT_EQ(w.canvas().Point(150, 50), qint64(vb::RGB(0, 0, 0)));
    // The disc's edge has steps of one device pixel: a surface of one
    // pixel a pixel, stretched to the screen, shows only 2 x 2 blocks of one
    // colour. The widget shows the sharp surface as it is.
    auto gradiniFini = [](const QImage& img) {
        int n = 0;
        for (int y = 0; y + 1 < img.height(); y += 2)
            for (int x = 0; x + 1 < img.width(); x += 2) {
                const QRgb c = img.pixel(x, y);
                if (img.pixel(x + 1, y) != c || img.pixel(x, y + 1) != c || img.pixel(x + 1, y + 1) != c)
                    ++n;
            }
        return n;
    };
    EXPECT_GT(gradiniFini(w.canvas().persistentImage()), 20);
    const QImage shot = w.grab().toImage();
    EXPECT_EQ(shot.size(), QSize(400, 200));
    EXPECT_GT(gradiniFini(shot.convertToFormat(QImage::Format_RGB32)), 20);
    // A resize keeps the density.
    w.resize(300, 150);
    QApplication::processEvents();
    EXPECT_EQ(w.canvas().persistentImage().size(), QSize(600, 300));
}

TEST(CanvasWidgetTest, SurfaceFollowsTheScreensPixelDensity)
{
    if (qgetenv("ASTROVELA_DPR_CHILD") == "1")
        GTEST_SKIP();
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ASTROVELA_DPR_CHILD"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QCoreApplication::applicationFilePath(),
            {QStringLiteral("--gtest_filter=CanvasWidgetTest.SurfaceAtTheScreensPixelDensityChild")});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString out = QString::fromLocal8Bit(p.readAll());
    EXPECT_EQ(p.exitCode(), 0) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("[  PASSED  ] 1 test"))) << out.toStdString();
}
