// Night colours: the palette put on, and the user's colours put back exactly.
#include "shell/night_colours.h"

#include <QApplication>
#include <QMdiArea>
#include <QPalette>
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
