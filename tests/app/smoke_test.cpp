// Starts the real program offscreen against an empty configuration folder
// and checks that it comes up and closes cleanly.
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(Smoke, MainWindowOpensAndClosesCleanly)
{
    QTemporaryDir config;
    QTemporaryDir home;
    ASSERT_TRUE(config.isValid() && home.isValid());
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", config.path());
    env.insert("XDG_DATA_HOME", home.path() + "/data");
    env.insert("HOME", home.path());
    // Asks the program to close its main window by itself after a while.
    env.insert("ASTROVELA_SMOKE_QUIT_MS", "1500");
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ASTROVELA_PROGRAM_DIR "/astrovela"), {});
    ASSERT_TRUE(p.waitForStarted(10000)) << p.errorString().toStdString();
    const bool finished = p.waitForFinished(30000);
    if (!finished)
        p.kill();
    ASSERT_TRUE(finished) << "the program did not close by itself";
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
}
