// Test main for the Qt layers: one QApplication for the whole program,
// on the offscreen platform unless the caller chose another, in the C
// locale whatever the desktop's (the display locale and the C library's;
// tests that want another set it themselves). Started as the other program
// of a test on an X display, it is that program instead.
//
// Run by root, the tests also act as the user nobody on the files they make
// (ordinary_user.h): where root's own temporary folder is closed to that user
// (TMPDIR=/root/tmp), they keep their files in the system's /tmp instead,
// and say so, rather than fail for that alone.
#include "ordinary_user.h"
#include "x_input.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (::geteuid() == 0) {
        const QByteArray temporanea = qgetenv("TMPDIR");
        const auto entra = [](const QByteArray& cartella) {
            return UtenteOrdinario::Esegui([&] { return ::access(cartella.constData(), W_OK | X_OK) == 0; });
        };
        if (!temporanea.isEmpty() && !entra(temporanea) && entra("/tmp")) {
            std::fprintf(stderr, "The user nobody cannot enter TMPDIR=%s: the tests keep their files in /tmp.\n",
                         temporanea.constData());
            qputenv("TMPDIR", "/tmp");
        }
    }
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
