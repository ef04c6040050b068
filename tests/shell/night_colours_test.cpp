// Night colours: the palette put on, and the user's colours put back exactly;
// every surface the style paints (the options' pages, frames, group boxes,
// buttons, title bars) in the palette's own colours, and the day's look
// back pixel for pixel.
#include "shell/night_colours.h"

#include "core/mlang.h"
#include "core/settings.h"
#include "platform/fakes.h"
#include "settings/settings_dialog.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

QPalette userPalette()
{
    QPalette p = QApplication::palette();
    p.setColor(QPalette::Window, QColor(10, 20, 30));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(1, 2, 3));
    p.setColor(QPalette::Inactive, QPalette::Highlight, QColor(200, 100, 50));
    return p;
}

class NightTest : public ::testing::Test {
protected:
    void SetUp() override { before = QApplication::palette(); }
    void TearDown() override { QApplication::setPalette(before); }
    QPalette before;
};

// Every colour of every group and role, for an exact comparison.
void expectSamePalette(const QPalette& a, const QPalette& b)
{
    for (int g = 0; g < QPalette::NColorGroups; ++g)
        for (int r = 0; r < QPalette::NColorRoles; ++r) {
            const auto group = QPalette::ColorGroup(g);
            const auto role = QPalette::ColorRole(r);
            EXPECT_EQ(a.color(group, role), b.color(group, role)) << "group " << g << " role " << r;
        }
}

TEST_F(NightTest, NightPaletteFollowsTheTable)
{
    // The night table itself: R64 scroll bar, grey 128 disabled text, R255 window text.
    EXPECT_EQ(mNight::Colore_Notte(0), 64u);
    EXPECT_EQ(mNight::Colore_Notte(1), 0u);
    EXPECT_EQ(mNight::Colore_Notte(8), 255u);
    EXPECT_EQ(mNight::Colore_Notte(17), 0x808080u);
    EXPECT_EQ(mNight::Colore_Notte(28), 0u);
    EXPECT_EQ(mNight::Colore_Notte(27), 64u);

    QApplication::setPalette(userPalette());
    mNight::Prepara_Colori_Notte();
    mNight::Applica_Colori_Notte();
    const QPalette night = QApplication::palette();
    EXPECT_EQ(night.color(QPalette::Window), QColor(128, 0, 0));
    EXPECT_EQ(night.color(QPalette::Base), QColor(128, 0, 0));
    EXPECT_EQ(night.color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(night.color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(night.color(QPalette::ButtonText), QColor(0, 0, 0));
    EXPECT_EQ(night.color(QPalette::Disabled, QPalette::Text), QColor(128, 128, 128));
    EXPECT_EQ(night.color(QPalette::Inactive, QPalette::Highlight), QColor(128, 0, 0));
    // A link in a page (the manual's contents) can be read: not in the
    // page's own colour, in the text's.
    EXPECT_EQ(night.color(QPalette::Link), QColor(255, 0, 0));
    EXPECT_EQ(night.color(QPalette::LinkVisited), QColor(255, 0, 0));
    // No colour of the night palette has green or blue in it, except the grey.
    for (int r = 0; r < QPalette::NColorRoles; ++r) {
        const QColor c = night.color(QPalette::Active, QPalette::ColorRole(r));
        if (r != QPalette::PlaceholderText && r != QPalette::NoRole) {
            EXPECT_TRUE(c.green() == 0 && c.blue() == 0) << "role " << r;
        }
    }
    // The saved table holds the user's window colour (button face element 15).
    EXPECT_EQ(mNight::Colore_Salvato(15), 10u + 256u * 20u + 65536u * 30u);
    mNight::Ripristina_Colori();
}

TEST_F(NightTest, OnOffOnOffPutsTheUsersColoursBackEachTime)
{
    QApplication::setPalette(userPalette());
    const QPalette user = QApplication::palette();
    mNight::Prepara_Colori_Notte();
    mNight::Applica_Colori_Notte();
    mNight::Ripristina_Colori();
    expectSamePalette(QApplication::palette(), user);

    // The user changes colours between two night sessions.
    QPalette changed = user;
    changed.setColor(QPalette::Base, QColor(250, 250, 200));
    QApplication::setPalette(changed);
    mNight::Prepara_Colori_Notte();
    mNight::Applica_Colori_Notte();
    EXPECT_NE(QApplication::palette().color(QPalette::Base), QColor(250, 250, 200));
    mNight::Chiusura(); // closing while the night mode is on
    expectSamePalette(QApplication::palette(), changed);
}

TEST_F(NightTest, WorkspaceBehindChildWindowsTurnsBlackAndBack)
{
    QMdiArea area;
    const QBrush dayBrush(QColor(90, 90, 160));
    area.setBackground(dayBrush);
    mNight::Prepara_Colori_Notte();
    mNight::Applica_Colori_Notte();
    EXPECT_EQ(area.background().color(), QColor(0, 0, 0));
    mNight::Ripristina_Colori();
    EXPECT_EQ(area.background(), dayBrush);
}

// The colours the night palette names: pure reds 64, 128 and 255, black
// and the grey of disabled text.
bool coloreDellaNotte(QRgb c)
{
    return (qGreen(c) == 0 && qBlue(c) == 0 && (qRed(c) == 0 || qRed(c) == 64 || qRed(c) == 128 || qRed(c) == 255))
        || c == qRgb(128, 128, 128);
}

// The pixels of `immagine` (a grab of `radice`) outside `escluse` whose
// colour the palette does not name: the first few, with their place.
std::string fuoriPalette(const QImage& immagine, const QRegion& escluse, const char* dove)
{
    std::string out;
    int quanti = 0;
    for (int y = 0; y < immagine.height(); ++y)
        for (int x = 0; x < immagine.width(); ++x) {
            const QRgb c = immagine.pixel(x, y);
            if (coloreDellaNotte(c) || escluse.contains(QPoint(x, y)))
                continue;
            if (++quanti <= 5)
                out += QStringLiteral(" (%1,%2)=%3,%4,%5")
                           .arg(x).arg(y).arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c))
                           .toStdString();
        }
    return quanti ? dove + (": " + std::to_string(quanti) + " pixels, e.g." + out) : std::string();
}

// Where text stands inside `radice` (in its coordinates): the controls
// that show text or pictures, and the titles of group boxes. What is left
// is what the style paints: page areas, frames, group boxes, edges.
QRegion testi(QWidget* radice)
{
    QRegion r;
    for (QWidget* c : radice->findChildren<QWidget*>()) {
        if (!c->isVisible())
            continue;
        const QRect dove(c->mapTo(radice, QPoint(0, 0)), c->size());
        if (auto* g = qobject_cast<QGroupBox*>(c)) {
            const QFontMetrics fm = g->fontMetrics();
            r += QRect(dove.topLeft(), QSize(fm.horizontalAdvance(g->title()) + 24, fm.height() + 2));
        } else if (auto* t = qobject_cast<QTabBar*>(c)) {
            for (int i = 0; i < t->count(); ++i)
                r += t->tabRect(i).adjusted(3, 3, -3, -3).translated(dove.topLeft());
        } else if (qobject_cast<QLabel*>(c) || qobject_cast<QAbstractButton*>(c) || qobject_cast<QComboBox*>(c)
                   || qobject_cast<QLineEdit*>(c) || qobject_cast<QAbstractScrollArea*>(c)
                   || qobject_cast<QAbstractSpinBox*>(c) || c->findChildren<QWidget*>().isEmpty()) {
            r += dove;
        }
    }
    return r;
}

// What the screen shows of `w` (not a fresh drawing of it): a window that
// was not drawn again after a change still shows the old colours there.
QImage schermo(QWidget* w)
{
    QWidget* finestra = w->window();
    const QPoint o = w->mapTo(finestra, QPoint(0, 0));
    return finestra->screen()
        ->grabWindow(finestra->winId(), o.x(), o.y(), w->width(), w->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// A button's own face, its text left out.
QRegion testoDelPulsante(QAbstractButton* b)
{
    const QRect t = b->style()->itemTextRect(b->fontMetrics(), b->rect(), Qt::AlignCenter | Qt::TextShowMnemonic, true,
                                             b->text());
    return QRegion(t.adjusted(-2, -2, 2, 2));
}

struct NightOptionsTest : NightTest {
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    void SetUp() override
    {
        NightTest::SetUp();
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
        Leggi_impostazioni();
    }
    void TearDown() override
    {
        delete frmSettings::instance(false);
        mLang::Usa_File_Lingua(QString());
        NightTest::TearDown();
    }
};

// Options in night colours, in the workspace as the user has it: on every
// page the page area, its frames and group boxes, the page buttons, the
// title bar of the window in front are painted in the palette's colours
// only (the style would otherwise shade them from it, about red 162, green
// 41, blue 41 under the page's red text). Night colours off: every pixel as
// before they were on.
TEST_F(NightOptionsTest, OptionsPagesAreInThePalettesColoursAndTheDayComesBackWhole)
{
    QMainWindow principale;
    auto* area = new QMdiArea(&principale);
    principale.setCentralWidget(area);
    principale.resize(1100, 800);
    principale.show();
    frmSettings* d = frmSettings::Mostra(0);
    ASSERT_NE(d, nullptr);
    QMdiSubWindow* cornice = area->activeSubWindow();
    ASSERT_TRUE(cornice && cornice->widget() == d);
    QTest::qWait(300);  // the frame placed and drawn, as the user sees it
    const QImage giorno = schermo(&principale);

    mNight::Prepara_Colori_Notte();
    mNight::Applica_Colori_Notte();
    QTest::qWait(300);
    for (int pagina = 0; pagina < d->SSTab1->count(); ++pagina) {
        d->SSTab1->setCurrentIndex(pagina);
        QApplication::processEvents();
        SCOPED_TRACE(d->schede[size_t(pagina)]->text().toStdString());
        const QImage area = schermo(d->SSTab1);
        EXPECT_EQ(fuoriPalette(area, testi(d->SSTab1), "page area"), "");
        // A blank corner of the page is the window's colour of the palette.
        EXPECT_EQ(QColor(area.pixel(area.width() - 8, area.height() - 8)).name().toStdString(), "#800000");
    }
    for (QToolButton* b : d->schede)
        EXPECT_EQ(fuoriPalette(schermo(b), testoDelPulsante(b), "page button"), "") << b->text().toStdString();
    // The window in front: its title bar in the active caption's colour,
    // the title and the picture of the window left out.
    const int alto = cornice->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, cornice);
    const QImage titolo = schermo(cornice).copy(0, 0, cornice->width(), alto);
    const QFontMetrics fm(QApplication::font("QMdiSubWindowTitleBar"));
    const int largo = fm.horizontalAdvance(cornice->windowTitle()) * 3 / 2 + 16;
    QRegion nomeEIcona(QRect((titolo.width() - largo) / 2, 0, largo, alto));
    nomeEIcona += QRect(0, 0, alto + 4, alto);
    EXPECT_EQ(fuoriPalette(titolo, nomeEIcona, "title bar"), "");
    EXPECT_EQ(QColor(titolo.pixel(alto + 10, alto / 2)).name().toStdString(), "#400000");

    mNight::Ripristina_Colori();
    d->SSTab1->setCurrentIndex(0);
    QTest::qWait(300);
    EXPECT_TRUE(schermo(&principale) == giorno) << "the day's look did not come back whole";
}

TEST(NightDesktopTest, TaskbarAndDesktopAreLeftToTheSession)
{
    EXPECT_EQ(mNight::Trova_Barra_Applicazioni(), 0);
    EXPECT_EQ(mNight::Trova_Desktop(), 0);
    const QPalette before = QApplication::palette();
    mNight::Mostra_Barra_Applicazioni(false);
    mNight::Mostra_Desktop(false);
    expectSamePalette(QApplication::palette(), before);
}

} // namespace
