// Closing without ever switching the night mode on leaves the colours alone.
// Kept in its own file so that it runs before any other night-colour test
// prepares the colours (tests of a program run in file order).
#include "shell/night_colours.h"

#include <QApplication>
#include <QPalette>
#include <gtest/gtest.h>

namespace {

TEST(NightUnpreparedTest, ShutDownWithoutNightModeTouchesNoColour)
{
    if (mNight::Colori_Preparati())
        GTEST_SKIP() << "another test prepared the night colours first";
    QPalette user = QApplication::palette();
    user.setColor(QPalette::Window, QColor(1, 99, 7));
    QApplication::setPalette(user);
    mNight::Ripristina_Colori();
    mNight::Chiusura();
    EXPECT_EQ(QApplication::palette().color(QPalette::Window), QColor(1, 99, 7));
    EXPECT_FALSE(mNight::Colori_Preparati());
}

} // namespace
