// Test main for the Qt layers: one QApplication for the whole program,
// on the offscreen platform unless the caller chose another, in the C
// locale whatever the desktop's (the display locale and the C library's;
// tests that want another set it themselves). Started as the other program
// of a test on an X display, it is that program instead.
#include "x_input.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LC_ALL", "C.UTF-8");
    qunsetenv("LANGUAGE");
    QApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(testsupport::kAltroProgramma))
        return testsupport::Altro_Programma();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
