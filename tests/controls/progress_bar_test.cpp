#include "controls/progress_bar.h"
#include "paint_helpers.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace testing_controls;

namespace {

const QColor kBlue(0, 0, 0xC0);
const QColor kWhite(255, 255, 255);

class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* e) override
    {
        paints += e->type() == QEvent::Paint;
        return false;
    }
};

} // namespace

TEST(ProgressBarPaint, FillAndPercentageText)
{
    ProgressBar bar;
    bar.resize(200, 20);
    bar.setMax(100);

    bar.setValue(0);
    EXPECT_EQ(bar.shownText(), "%");
    QImage img = render(&bar);
    EXPECT_EQ(px(img, 1, 1), kWhite) << "empty bar";
    EXPECT_EQ(countOf(img, kBlue, QRect(0, 0, 90, 20)), 0);
    EXPECT_GT(countNear(img, kBlue, 100, QRect(90, 0, 20, 20)), 0) << "the percent sign alone, in the middle";

    bar.setValue(45.6); // 91.2 of 200 pixels, "46%"
    EXPECT_EQ(bar.shownText(), "46%");
    img = render(&bar);
    EXPECT_EQ(px(img, 0, 1), kBlue);
    EXPECT_EQ(px(img, 90, 1), kBlue);
    EXPECT_EQ(px(img, 92, 1), kWhite);
    EXPECT_EQ(px(img, 199, 18), kWhite);
    // The text straddles the fill's edge: white over the fill, blue past it.
    EXPECT_GT(countNear(img, kWhite, 60, QRect(80, 3, 11, 14)), 0);
    EXPECT_GT(countNear(img, kBlue, 100, QRect(92, 3, 20, 14)), 0);

    bar.setValue(100);
    EXPECT_EQ(bar.shownText(), "100%");
    img = render(&bar);
    EXPECT_EQ(px(img, 199, 1), kBlue);
    EXPECT_EQ(px(img, 0, 19), kBlue);
    EXPECT_GT(countNear(img, kWhite, 60), 5) << "white text on the fill";

    bar.setValue(150); // tolerated: full strip, larger percentage
    EXPECT_EQ(bar.shownText(), "150%");
    img = render(&bar);
    EXPECT_EQ(px(img, 199, 1), kBlue);
    EXPECT_EQ(px(img, 0, 1), kBlue);
}

TEST(ProgressBarPaint, NightAndDisabledKeepTheBarColours)
{
    ProgressBar bar;
    bar.resize(100, 20);
    bar.setMax(4);
    bar.setValue(1);
    const QImage day = render(&bar);
    bar.setPalette(nightPalette());
    bar.setEnabled(false);
    EXPECT_EQ(render(&bar), day);
    EXPECT_EQ(px(day, 10, 1), kBlue);
    EXPECT_EQ(px(day, 30, 1), kWhite);
}

TEST(ProgressBarValue, MaxAloneDoesNotRedrawAndZeroMaxIsSafe)
{
    ProgressBar bar;
    bar.resize(100, 20);
    bar.setValue(5); // before any Max: no division by zero, an empty bar
    EXPECT_EQ(bar.shownText(), "%");
    EXPECT_EQ(px(render(&bar), 1, 1), kWhite);

    bar.setMax(10);
    bar.setValue(5);
    const QImage half = render(&bar);
    EXPECT_EQ(bar.shownText(), "50%");
    bar.setMax(20);
    EXPECT_DOUBLE_EQ(bar.Max(), 20.0);
    EXPECT_EQ(render(&bar), half) << "changing Max alone does not redraw";
    bar.setValue(15);
    EXPECT_EQ(bar.shownText(), "75%");

    bar.setMax(0);
    bar.setValue(3);
    EXPECT_EQ(bar.shownText(), "%");
    bar.setMax(100);
    bar.setValue(std::nan(""));
    EXPECT_EQ(bar.shownText(), "%");

    bar.resize(100, 5);
    EXPECT_EQ(bar.height(), 17) << "never lower than 255 twips";
}

TEST(ProgressBarValue, RepaintsOnlyWhenThePercentageChanges)
{
    ProgressBar bar;
    bar.resize(300, 20);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    QCoreApplication::processEvents();
    PaintCounter counter;
    bar.installEventFilter(&counter);

    // A loader reporting every element set of a 30,000-set file.
    bar.setMax(30000);
    for (int i = 0; i <= 30000; ++i) {
        bar.setValue(i);
        if (i % 50 == 0)
            QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(bar.shownText(), "100%");
    // 101 distinct percentages ("%", "1%" ... "100%"): at most one paint each.
    EXPECT_GE(counter.paints, 50);
    EXPECT_LE(counter.paints, 101);
}
