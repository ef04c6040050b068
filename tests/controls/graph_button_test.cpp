#include "controls/graph_button.h"
#include "paint_helpers.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDialog>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace testing_controls;

namespace {

void key(QWidget* w, QEvent::Type type, int k, const QString& text, bool autoRepeat = false)
{
    QKeyEvent e(type, k, Qt::NoModifier, text, autoRepeat);
    QApplication::sendEvent(w, &e);
}

void focusIn(QWidget* w)
{
    QFocusEvent e(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(w, &e);
}

void focusOut(QWidget* w)
{
    QFocusEvent e(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(w, &e);
}

QPixmap solid(int w, int h, const QColor& c)
{
    QPixmap p(w, h);
    p.fill(c);
    return p;
}

} // namespace

TEST(GraphButtonKeys, EnterClicksOnceOnKeyDownAndRepeatsOnlyKeyDown)
{
    GraphButton b("OK");
    QSignalSpy click(&b, &GraphButton::Click);
    QSignalSpy down(&b, &GraphButton::KeyDown);
    QSignalSpy up(&b, &GraphButton::KeyUp);

    key(&b, QEvent::KeyPress, Qt::Key_Return, "\r");
    EXPECT_EQ(click.count(), 1) << "Enter clicks on key-down";
    key(&b, QEvent::KeyPress, Qt::Key_Return, "\r", true);
    key(&b, QEvent::KeyPress, Qt::Key_Return, "\r", true);
    EXPECT_EQ(click.count(), 1) << "auto-repeat raises no further Click";
    EXPECT_EQ(down.count(), 3);
    EXPECT_EQ(down.at(0).at(0).toInt(), 13);
    key(&b, QEvent::KeyRelease, Qt::Key_Return, "\r");
    EXPECT_EQ(up.count(), 1);
    EXPECT_EQ(up.at(0).at(0).toInt(), 13);

    // A repeat that the platform does not mark as such is still no new click.
    key(&b, QEvent::KeyPress, Qt::Key_Enter, "\r");
    key(&b, QEvent::KeyPress, Qt::Key_Enter, "\r");
    EXPECT_EQ(click.count(), 2);
}

TEST(GraphButtonKeys, SpaceShowsPressedUntilReleaseOrFocusLoss)
{
    GraphButton b("Go");
    b.resize(80, 26);
    QSignalSpy click(&b, &GraphButton::Click);
    QSignalSpy press(&b, &GraphButton::KeyPress);

    key(&b, QEvent::KeyPress, Qt::Key_Space, " ");
    EXPECT_EQ(click.count(), 1);
    EXPECT_TRUE(b.Pressed());
    ASSERT_EQ(press.count(), 1);
    EXPECT_EQ(press.at(0).at(0).toInt(), 32);
    key(&b, QEvent::KeyPress, Qt::Key_Space, " ", true);
    EXPECT_EQ(click.count(), 1);
    EXPECT_TRUE(b.Pressed());
    key(&b, QEvent::KeyRelease, Qt::Key_Space, " ");
    EXPECT_FALSE(b.Pressed());

    key(&b, QEvent::KeyPress, Qt::Key_Space, " ");
    EXPECT_TRUE(b.Pressed());
    focusOut(&b);
    EXPECT_FALSE(b.Pressed()) << "focus loss ends the pressed look";
    // The Space that went up elsewhere does not block the next one.
    focusIn(&b);
    key(&b, QEvent::KeyPress, Qt::Key_Space, " ");
    EXPECT_EQ(click.count(), 3);
}

TEST(GraphButtonMouse, LeftClickAndLeavingWithButtonHeld)
{
    GraphButton b("OK");
    b.resize(80, 26);
    QStringList order;
    QObject::connect(&b, &GraphButton::Click, [&] { order << "Click"; });
    QObject::connect(&b, &GraphButton::MouseDown, [&](int button, int, float x, float y) {
        order << QString("Down %1 %2 %3").arg(button).arg(x).arg(y);
    });
    QObject::connect(&b, &GraphButton::MouseUp, [&](int button, int, float, float) {
        order << QString("Up %1").arg(button);
    });

    mouse(&b, QEvent::MouseButtonPress, Qt::LeftButton, {10, 12}, Qt::LeftButton);
    EXPECT_TRUE(b.Pressed());
    mouse(&b, QEvent::MouseButtonRelease, Qt::LeftButton, {10, 12});
    EXPECT_FALSE(b.Pressed());
    EXPECT_EQ(order, QStringList({"Down 1 10 12", "Click", "Up 1"}));

    // Press, leave with the button held: the pressed look stays; the release
    // outside raises MouseUp but no Click.
    order.clear();
    mouse(&b, QEvent::MouseButtonPress, Qt::LeftButton, {10, 12}, Qt::LeftButton);
    mouse(&b, QEvent::MouseMove, Qt::NoButton, {120, 12}, Qt::LeftButton);
    EXPECT_TRUE(b.Pressed());
    mouse(&b, QEvent::MouseButtonRelease, Qt::LeftButton, {120, 12});
    EXPECT_FALSE(b.Pressed());
    EXPECT_EQ(order, QStringList({"Down 1 10 12", "Up 1"}));

    // The right edge is outside: x = width.
    order.clear();
    mouse(&b, QEvent::MouseButtonPress, Qt::LeftButton, {79, 12}, Qt::LeftButton);
    mouse(&b, QEvent::MouseButtonRelease, Qt::LeftButton, {80, 12});
    EXPECT_FALSE(order.contains("Click"));
}

TEST(GraphButtonMouse, RightButtonNeverPressesAndMiddleClicks)
{
    GraphButton b("OK");
    b.resize(80, 26);
    QSignalSpy click(&b, &GraphButton::Click);
    QSignalSpy down(&b, &GraphButton::MouseDown);
    QSignalSpy up(&b, &GraphButton::MouseUp);
    const QImage before = render(&b);

    mouse(&b, QEvent::MouseButtonPress, Qt::RightButton, {10, 10}, Qt::RightButton);
    EXPECT_FALSE(b.Pressed());
    EXPECT_EQ(render(&b), before) << "the look never changes for the right button";
    mouse(&b, QEvent::MouseButtonRelease, Qt::RightButton, {10, 10});
    EXPECT_EQ(click.count(), 0);
    EXPECT_EQ(down.count(), 1);
    EXPECT_EQ(up.count(), 1);
    EXPECT_EQ(down.at(0).at(0).toInt(), 2);

    mouse(&b, QEvent::MouseButtonPress, Qt::MiddleButton, {10, 10}, Qt::MiddleButton);
    EXPECT_TRUE(b.Pressed());
    mouse(&b, QEvent::MouseButtonRelease, Qt::MiddleButton, {10, 10});
    EXPECT_EQ(click.count(), 1);
    EXPECT_EQ(down.at(1).at(0).toInt(), 4);
}

TEST(GraphButtonMouse, DoubleClickGivesTwoClicks)
{
    GraphButton b("OK");
    b.resize(80, 26);
    QSignalSpy click(&b, &GraphButton::Click);
    QSignalSpy down(&b, &GraphButton::MouseDown);
    mouse(&b, QEvent::MouseButtonPress, Qt::LeftButton, {10, 10}, Qt::LeftButton);
    mouse(&b, QEvent::MouseButtonRelease, Qt::LeftButton, {10, 10});
    mouse(&b, QEvent::MouseButtonDblClick, Qt::LeftButton, {10, 10}, Qt::LeftButton);
    EXPECT_TRUE(b.Pressed()) << "the second press of a double click looks pressed";
    mouse(&b, QEvent::MouseButtonRelease, Qt::LeftButton, {10, 10});
    EXPECT_EQ(click.count(), 2);
    EXPECT_EQ(down.count(), 2);
}

TEST(GraphButtonMouse, DisabledButtonRaisesNothing)
{
    QWidget form;
    auto* b = new GraphButton("OK", &form);
    b->resize(80, 26);
    b->setEnabled(false);
    QSignalSpy click(b, &GraphButton::Click);
    b->click(); // programmatic clicks respect Enabled too
    EXPECT_EQ(click.count(), 0);
    b->setEnabled(true);
    b->click();
    EXPECT_EQ(click.count(), 1);
}

TEST(GraphButtonProperties, PictureSizeClassesAndMinimumSize)
{
    GraphButton b;
    EXPECT_TRUE(b.isEnabled()) << "a new button is usable";
    EXPECT_EQ(b.PicturePosition(), 1);
    EXPECT_EQ(b.PictureWidth(), 16);
    EXPECT_EQ(b.BackColor(), 0x8000000Fu);
    EXPECT_EQ(b.ForeColor(), 0x80000012u);

    b.setPictureSize(4);
    EXPECT_EQ(b.PictureWidth(), 32) << "own size without a picture gives 32 x 32";
    EXPECT_EQ(b.PictureHeight(), 32);
    b.setPicture(solid(20, 12, Qt::red));
    EXPECT_EQ(b.PictureWidth(), 20);
    EXPECT_EQ(b.PictureHeight(), 12);
    b.setPictureSize(3);
    EXPECT_EQ(b.PictureWidth(), 48);
    b.setPictureSize(1);
    EXPECT_EQ(b.PictureHeight(), 24);
    b.setPictureSize(9);
    EXPECT_EQ(b.PictureSize(), 9);
    EXPECT_EQ(b.PictureWidth(), 24) << "an unknown size class changes nothing else";

    QSignalSpy changed(&b, &GraphButton::PropertyChanged);
    b.setCaption("&Help");
    b.setEnabled(false);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.at(0).at(0).toString(), "Caption");
    EXPECT_EQ(changed.at(1).at(0).toString(), "Enabled");

    b.resize(5, 40);
    EXPECT_EQ(b.width(), 10) << "a button narrower than 10 pixels springs back";
    EXPECT_EQ(b.height(), 40);
}

TEST(GraphButtonLayout, PictureLeftOfCaptionAndCentredAsAGroup)
{
    GraphButton b("Load");
    b.resize(108, 40); // content rectangle 100 wide
    b.setPicture(solid(16, 16, QColor(255, 0, 0)));
    b.setPalette(dayPalette());
    const QImage img = render(&b);
    const GraphButton::Rect C = b.contentRect();
    const GraphButton::Rect P = b.pictureRect();
    const GraphButton::Rect T = b.captionRect();
    ASSERT_EQ(C.width(), 100);
    // The group picture + 4 + caption is centred in C, picture first.
    const int group = 16 + 4 + T.width();
    EXPECT_LE(std::abs((P.left - C.left) - (C.right - T.right)), 1);
    EXPECT_EQ(T.left, P.right + 4);
    EXPECT_EQ(T.right - P.left, group);
    EXPECT_EQ(P.top, C.top + (C.height() - 16) / 2);
    // What is painted agrees with the layout.
    EXPECT_EQ(boxOf(img, QColor(255, 0, 0)), P.toQRect());
    const QRect ink = boxOf(img, QColor(0, 0, 16));
    ASSERT_FALSE(ink.isNull());
    EXPECT_GE(ink.left(), T.left);
    EXPECT_LE(ink.right(), T.right);
}

TEST(GraphButtonLayout, PicturePositionsAboveRightBelow)
{
    GraphButton b("Save");
    b.resize(100, 80);
    b.setPicture(solid(16, 16, QColor(255, 0, 0)));
    b.setPicturePosition(0);
    render(&b);
    EXPECT_EQ(b.captionRect().top, b.pictureRect().bottom + 4);
    b.setPicturePosition(2);
    render(&b);
    EXPECT_EQ(b.pictureRect().left, b.captionRect().right + 4);
    b.setPicturePosition(3);
    render(&b);
    EXPECT_EQ(b.pictureRect().top, b.captionRect().bottom + 4);
    const GraphButton::Rect keep = b.pictureRect();
    b.setPicturePosition(7); // out of range: the picture stays where it was
    render(&b);
    EXPECT_EQ(b.pictureRect(), keep);

    // A picture larger than the button is squeezed into its rectangle; with
    // no caption it is centred in C = (4, 4, 36, 26): left 4 + (32 - 16) / 2,
    // top 4 + (22 - 16) / 2.
    GraphButton big;
    big.resize(40, 30);
    big.setPicture(solid(64, 64, QColor(0, 255, 0)));
    const QImage img = render(&big);
    EXPECT_EQ(big.pictureRect(), (GraphButton::Rect{12, 7, 28, 23}));
    EXPECT_EQ(boxOf(img, QColor(0, 255, 0)), big.pictureRect().toQRect());
}

TEST(GraphButtonLayout, LongCaptionWrapsAsACentredBlock)
{
    GraphButton b("Download the element files now");
    b.resize(90, 60);
    render(&b);
    const QFontMetrics fm(b.font());
    const GraphButton::Rect T = b.captionRect();
    EXPECT_GE(T.height(), 2 * fm.lineSpacing() - fm.leading()) << "wrapped to several lines";
    EXPECT_LE(T.width(), b.contentRect().width());
    EXPECT_LE(std::abs((T.left - 4) - (86 - T.right)), 1);
    EXPECT_LE(std::abs((T.top - 4) - (56 - T.bottom)), 1);
}

TEST(GraphButtonPaint, RaisedPressedFocusedFrames)
{
    GraphButton b("OK");
    b.resize(60, 24);
    b.setPalette(dayPalette());
    const QPalette pal = dayPalette();
    const QColor light = pal.color(QPalette::Light), midlight = pal.color(QPalette::Midlight),
                 dark = pal.color(QPalette::Dark), shadow = pal.color(QPalette::Shadow),
                 face = pal.color(QPalette::Button), text = pal.color(QPalette::ButtonText);

    QImage img = render(&b);
    EXPECT_EQ(px(img, 0, 0), light);
    EXPECT_EQ(px(img, 30, 0), light);
    EXPECT_EQ(px(img, 1, 1), midlight);
    EXPECT_EQ(px(img, 59, 12), shadow);
    EXPECT_EQ(px(img, 58, 12), dark);
    EXPECT_EQ(px(img, 30, 23), shadow);
    EXPECT_EQ(px(img, 30, 22), dark);
    EXPECT_EQ(px(img, 5, 5), face);
    EXPECT_EQ(countOf(img, text, QRect(3, 3, 54, 18)) > 0, true);
    const QRect upText = boxOf(img, text);

    mouse(&b, QEvent::MouseButtonPress, Qt::LeftButton, {5, 5}, Qt::LeftButton);
    img = render(&b);
    EXPECT_EQ(px(img, 0, 0), shadow) << "pressed: dark outline all round";
    EXPECT_EQ(px(img, 59, 23), shadow);
    EXPECT_EQ(px(img, 1, 5), dark);
    EXPECT_EQ(px(img, 5, 1), dark);
    EXPECT_EQ(boxOf(img, text), upText.translated(1, 1)) << "caption one pixel right and down";
    mouse(&b, QEvent::MouseButtonRelease, Qt::LeftButton, {-3, 5});
    EXPECT_EQ(boxOf(render(&b), text), upText) << "the stored layout is the unshifted one";

    focusIn(&b);
    img = render(&b);
    EXPECT_EQ(px(img, 0, 0), shadow) << "focused: dark outline round the raised look";
    EXPECT_EQ(px(img, 1, 1), light);
    EXPECT_EQ(px(img, 58, 12), shadow);
    EXPECT_EQ(px(img, 3, 3), text) << "focus rectangle three pixels inside";
    EXPECT_EQ(px(img, 4, 3), face);
    EXPECT_EQ(px(img, 5, 3), text);

    // The default button keeps its raised frame while pressed.
    b.setDefault(true);
    mouse(&b, QEvent::MouseButtonPress, Qt::LeftButton, {5, 5}, Qt::LeftButton);
    img = render(&b);
    EXPECT_EQ(px(img, 0, 0), light);
    EXPECT_EQ(boxOf(img, text, QRect(6, 6, 48, 12)), upText.translated(1, 1));
}

TEST(GraphButtonPaint, DisabledLookIsEmbossed)
{
    GraphButton b("Cancel");
    b.resize(80, 26);
    QPixmap pic(16, 16);
    pic.fill(Qt::white);
    {
        QPainter p(&pic);
        p.fillRect(4, 4, 8, 8, QColor(0, 0, 255));
    }
    b.setPicture(pic);
    b.setPalette(dayPalette());
    b.setEnabled(false);
    const QPalette pal = dayPalette();
    const QColor light = pal.color(QPalette::Light), dark = pal.color(QPalette::Dark);
    const QImage img = render(&b);
    const QRect inner(3, 3, 74, 20);
    EXPECT_EQ(countOf(img, pal.color(QPalette::ButtonText), inner), 0) << "no text colour when disabled";
    EXPECT_EQ(countOf(img, QColor(0, 0, 255)), 0) << "the picture is not drawn in its colours";

    // Picture: the dark square in the shadow colour, its highlight copy one
    // pixel right and down showing along the right and bottom.
    const GraphButton::Rect P = b.pictureRect();
    EXPECT_EQ(boxOf(img, dark, P.toQRect()), QRect(P.left + 4, P.top + 4, 8, 8));
    EXPECT_EQ(px(img, P.left + 12, P.top + 8), light);
    EXPECT_EQ(px(img, P.left + 8, P.top + 12), light);
    EXPECT_EQ(px(img, P.left + 2, P.top + 2), pal.color(QPalette::Button)) << "white became face";

    // Caption: shadow-coloured strokes with highlight-coloured ones beside them.
    const QRect T = b.captionRect().toQRect();
    int nearLight = 0, nearDark = 0;
    for (int y = T.top(); y <= T.bottom(); ++y)
        for (int x = T.left(); x <= T.right(); ++x) {
            const QColor c = img.pixelColor(x, y);
            nearLight += c.red() > 235 && c.green() > 235;
            nearDark += std::abs(c.red() - 128) < 12 && std::abs(c.blue() - 128) < 12;
        }
    EXPECT_GT(nearLight, 5);
    EXPECT_GT(nearDark, 20);
}

TEST(GraphButtonPaint, NightPaletteRecoloursAtPaintTime)
{
    QWidget top;
    GraphButton& b = *new GraphButton("OK", &top);
    b.resize(60, 24);
    const QPalette saved = QApplication::palette();
    QApplication::setPalette(nightPalette()); // switched by someone else, no call to the button
    QCoreApplication::processEvents();
    const QImage img = render(&b);
    QApplication::setPalette(saved);
    EXPECT_EQ(px(img, 5, 5), QColor(128, 0, 0)) << "button face";
    EXPECT_EQ(px(img, 0, 0), QColor(255, 0, 0)) << "3-D highlight";
    EXPECT_EQ(px(img, 59, 12), QColor(0, 0, 0));
    EXPECT_GT(countOf(img, QColor(0, 0, 0), QRect(3, 3, 54, 18)), 0) << "black caption";
    // An explicit colour stays what it is.
    b.setBackColor(0x00FF00);
    EXPECT_EQ(px(render(&b), 5, 5), QColor(0, 255, 0));
}

class FormKeys : public ::testing::Test {
protected:
    static void activate(QWidget* w)
    {
        w->show();
        QApplication::setActiveWindow(w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    }
};

TEST_F(FormKeys, DialogEnterAndEscapeReachDefaultAndCancel)
{
    QDialog dlg;
    auto* edit = new QLineEdit(&dlg);
    auto* ok = new GraphButton("&OK", &dlg);
    auto* cancel = new GraphButton("Cancel", &dlg);
    auto* other = new GraphButton("Other", &dlg);
    auto* lay = new QVBoxLayout(&dlg);
    lay->addWidget(edit);
    lay->addWidget(ok);
    lay->addWidget(cancel);
    lay->addWidget(other);
    ok->setDefault(true);
    cancel->setCancel(true);
    QSignalSpy okClick(ok, &GraphButton::Click);
    QSignalSpy cancelClick(cancel, &GraphButton::Click);
    QSignalSpy otherClick(other, &GraphButton::Click);
    QSignalSpy rejected(&dlg, &QDialog::rejected);
    activate(&dlg);
    edit->setFocus();
    ASSERT_TRUE(edit->hasFocus());

    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(okClick.count(), 1);
    QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(okClick.count(), 2);
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(cancelClick.count(), 1);
    EXPECT_EQ(rejected.count(), 0) << "Escape goes to the cancel button, not past it";
    QTest::keyClick(edit, Qt::Key_O, Qt::AltModifier);
    EXPECT_EQ(okClick.count(), 3) << "the caption's access key";
    okClick.clear();

    // Enter on another focused button clicks that button only.
    other->setFocus();
    QTest::keyClick(other, Qt::Key_Return);
    EXPECT_EQ(otherClick.count(), 1);
    EXPECT_EQ(okClick.count(), 0);

    // A disabled default button ignores Enter; only one default per form.
    edit->setFocus();
    ok->setEnabled(false);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(okClick.count(), 0);
    ok->setEnabled(true);
    other->setDefault(true);
    EXPECT_FALSE(ok->Default());
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(okClick.count(), 0);
    EXPECT_EQ(otherClick.count(), 2);
}

TEST_F(FormKeys, MdiChildrenEachHaveTheirOwnDefaultButton)
{
    QMainWindow main;
    auto* area = new QMdiArea;
    main.setCentralWidget(area);
    GraphButton* oks[2];
    QLineEdit* edits[2];
    QMdiSubWindow* subs[2];
    for (int i = 0; i < 2; ++i) {
        auto* form = new QWidget;
        edits[i] = new QLineEdit(form);
        oks[i] = new GraphButton("OK", form);
        auto* lay = new QVBoxLayout(form);
        lay->addWidget(edits[i]);
        lay->addWidget(oks[i]);
        oks[i]->setDefault(true);
        oks[i]->setCancel(true);
        subs[i] = area->addSubWindow(form);
    }
    main.resize(600, 400);
    activate(&main);
    QSignalSpy first(oks[0], &GraphButton::Click);
    QSignalSpy second(oks[1], &GraphButton::Click);

    area->setActiveSubWindow(subs[1]);
    edits[1]->setFocus();
    QTest::keyClick(edits[1], Qt::Key_Return);
    EXPECT_EQ(second.count(), 1);
    EXPECT_EQ(first.count(), 0);
    area->setActiveSubWindow(subs[0]);
    edits[0]->setFocus();
    QTest::keyClick(edits[0], Qt::Key_Escape);
    EXPECT_EQ(first.count(), 1);
    EXPECT_EQ(second.count(), 1);
}

TEST_F(FormKeys, EveryDialogTakesEnterAndEscapeButNeverFromAnOpenList)
{
    // A form of an MDI workspace that names no default or cancel button:
    // its OK takes Enter and its Cancel takes Escape. An open drop-down list
    // keeps both keys for itself: Return picks the entry typed, Escape
    // closes the list, and neither presses a button or closes the form.
    QMainWindow main;
    auto* area = new QMdiArea;
    main.setCentralWidget(area);
    auto* form = new QWidget;
    auto* combo = new QComboBox(form);
    combo->addItems({QStringLiteral("AO-07"), QStringLiteral("ISS (ZARYA)"), QStringLiteral("NOAA 15"),
                     QStringLiteral("NOAA 18"), QStringLiteral("NOAA 19")});
    auto* edit = new QLineEdit(form);
    auto* ok = new GraphButton("OK", form);
    ok->setObjectName(QStringLiteral("cmdOK"));
    auto* cancel = new GraphButton("Cancel", form);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    auto* lay = new QVBoxLayout(form);
    lay->addWidget(combo);
    lay->addWidget(edit);
    lay->addWidget(ok);
    lay->addWidget(cancel);
    QMdiSubWindow* sub = area->addSubWindow(form);
    main.resize(600, 400);
    activate(&main);
    area->setActiveSubWindow(sub);
    QSignalSpy okClick(ok, &GraphButton::Click);
    QSignalSpy cancelClick(cancel, &GraphButton::Click);

    // The list open: typing picks an entry, Return takes it and closes the list.
    combo->setFocus();
    combo->showPopup();
    QWidget* lista = combo->view();
    ASSERT_TRUE(lista->isVisible());
    QTest::keyClicks(lista, QStringLiteral("NOAA 18"));
    QTest::keyClick(lista, Qt::Key_Return);
    EXPECT_FALSE(lista->isVisible());
    EXPECT_EQ(combo->currentText(), QStringLiteral("NOAA 18"));
    EXPECT_EQ(okClick.count(), 0) << "Return in an open list only picks the entry";
    // Escape in the open list closes the list, not the form.
    combo->showPopup();
    ASSERT_TRUE(lista->isVisible());
    QTest::keyClick(lista, Qt::Key_Escape);
    EXPECT_FALSE(lista->isVisible());
    EXPECT_EQ(cancelClick.count(), 0) << "Escape in an open list only closes the list";
    EXPECT_EQ(combo->currentText(), QStringLiteral("NOAA 18"));

    // The list closed: the form's keys act.
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(okClick.count(), 1);
    QTest::keyClick(combo, Qt::Key_Escape);
    EXPECT_EQ(cancelClick.count(), 1);
    // Held down, Enter presses once.
    QKeyEvent giu(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
    QApplication::sendEvent(edit, &giu);
    EXPECT_EQ(okClick.count(), 1);

    // A window whose only button is the OK that closes it: Escape presses OK.
    auto* viewer = new QWidget;
    auto* chiudi = new GraphButton("OK", viewer);
    chiudi->setObjectName(QStringLiteral("cmdOK"));
    auto* campo = new QLineEdit(viewer);
    auto* lay2 = new QVBoxLayout(viewer);
    lay2->addWidget(campo);
    lay2->addWidget(chiudi);
    QMdiSubWindow* sub2 = area->addSubWindow(viewer);
    sub2->show();
    area->setActiveSubWindow(sub2);
    QSignalSpy chiudiClick(chiudi, &GraphButton::Click);
    campo->setFocus();
    QTest::keyClick(campo, Qt::Key_Escape);
    EXPECT_EQ(chiudiClick.count(), 1);
    EXPECT_EQ(okClick.count(), 1) << "each form keeps its own keys";
    EXPECT_EQ(cancelClick.count(), 1);
}

TEST_F(FormKeys, ADisabledButtonHandsTheKeysToTheEnterButtonOrTheForm)
{
    // A button disabled while it holds the focus (Play once pressed) hands
    // it to the form's Enter button, never to the next control in the tab
    // order (Synchronise, whose Enter would set the clock). When the Enter
    // button cannot take it, disabled or hidden, the form itself does:
    // Enter there presses nothing, Escape presses Cancel. In the main
    // window's workspace the form's frame takes the keys.
    QMainWindow main;
    auto* area = new QMdiArea;
    main.setCentralWidget(area);
    main.resize(600, 400);
    auto* dlg = new QDialog(&main);
    auto* form = new QWidget;
    QMdiSubWindow* sub = nullptr;
    for (QWidget* f : {static_cast<QWidget*>(dlg), form}) {
        SCOPED_TRACE(f == dlg ? "dialog" : "workspace");
        auto* play = new GraphButton("Play", f);
        auto* sync = new GraphButton("Synchronise", f);
        auto* ok = new GraphButton("OK", f);
        ok->setObjectName(QStringLiteral("cmdOK"));
        auto* cancel = new GraphButton("Cancel", f);
        cancel->setObjectName(QStringLiteral("cmdCancel"));
        auto* lay = new QVBoxLayout(f);
        for (GraphButton* b : {play, sync, ok, cancel})
            lay->addWidget(b);
        QWidget* finestra = f;
        if (f == dlg) {
            activate(dlg);
        } else {
            dlg->hide();
            sub = area->addSubWindow(form);
            activate(&main);
            area->setActiveSubWindow(sub);
            finestra = sub;
        }
        QSignalSpy syncClick(sync, &GraphButton::Click);
        QSignalSpy okClick(ok, &GraphButton::Click);
        QSignalSpy cancelClick(cancel, &GraphButton::Click);
        const auto tasto = [](Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); };

        play->setFocus();
        ASSERT_TRUE(play->hasFocus());
        play->setEnabled(false);
        EXPECT_TRUE(ok->hasFocus()) << "Play hands the keys to OK";
        tasto(Qt::Key_Return);
        EXPECT_EQ(okClick.count(), 1);
        EXPECT_EQ(syncClick.count(), 0);

        // OK disabled while it holds the focus: the form takes the keys.
        ok->setEnabled(false);
        EXPECT_EQ(QApplication::focusWidget(), finestra);
        tasto(Qt::Key_Return);
        EXPECT_EQ(okClick.count() + syncClick.count() + cancelClick.count(), 1) << "Enter presses nothing";
        tasto(Qt::Key_Escape);
        EXPECT_EQ(cancelClick.count(), 1);
        EXPECT_TRUE(f->isVisible()) << "Escape pressed Cancel, and only it";

        // OK hidden: Play disabled hands the keys to the form as well.
        ok->setEnabled(true);
        ok->hide();
        play->setEnabled(true);
        play->setFocus();
        play->setEnabled(false);
        EXPECT_EQ(QApplication::focusWidget(), finestra);
        tasto(Qt::Key_Return);
        EXPECT_EQ(okClick.count() + syncClick.count(), 1);
        tasto(Qt::Key_Escape);
        EXPECT_EQ(cancelClick.count(), 2);
    }
}

TEST_F(FormKeys, SharedAccessKeyMovesTheFocusAndClicksNothing)
{
    // "&Open" and "&OK" share Alt+O, as a translated caption may: the key
    // moves the focus between them, it does not press either.
    QDialog dlg;
    auto* open = new GraphButton("&Open", &dlg);
    auto* ok = new GraphButton("&OK", &dlg);
    auto* help = new GraphButton("&Help", &dlg);
    auto* lay = new QVBoxLayout(&dlg);
    lay->addWidget(open);
    lay->addWidget(ok);
    lay->addWidget(help);
    QSignalSpy openClick(open, &GraphButton::Click);
    QSignalSpy okClick(ok, &GraphButton::Click);
    QSignalSpy helpClick(help, &GraphButton::Click);
    activate(&dlg);
    help->setFocus();

    QTest::keyClick(help, Qt::Key_O, Qt::AltModifier);
    EXPECT_TRUE(open->hasFocus() || ok->hasFocus());
    QWidget* first = QApplication::focusWidget();
    QTest::keyClick(first, Qt::Key_O, Qt::AltModifier);
    EXPECT_NE(QApplication::focusWidget(), first) << "the next button of the key";
    EXPECT_TRUE(open->hasFocus() || ok->hasFocus());
    EXPECT_EQ(openClick.count() + okClick.count(), 0);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_H, Qt::AltModifier);
    EXPECT_EQ(helpClick.count(), 1) << "a key of one button still clicks it";
}
