// Starts the real program offscreen against empty configuration and data
// folders and checks that it comes up and closes cleanly.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Esecuzione {
    bool finished = false;
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QString errors;
};

Esecuzione runProgram(const QString& config, const QString& home, int quitMs)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", config);
    env.insert("XDG_DATA_HOME", home + "/data");
    env.insert("XDG_RUNTIME_DIR", home + "/run");
    env.insert("HOME", home);
    // Asks the program to close its main window by itself after a while.
    env.insert("ASTROVELA_SMOKE_QUIT_MS", QString::number(quitMs));
    // A runtime folder of its own (private, as Qt wants it): the program's
    // single-instance lock lives there, so parallel runs do not meet.
    QDir().mkpath(home + "/run");
    QFile::setPermissions(home + "/run", QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                             | QFileDevice::ExeOwner);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(ASTROVELA_PROGRAM_DIR "/astrovela"), {});
    Esecuzione r;
    if (!p.waitForStarted(10000))
        return r;
    r.finished = p.waitForFinished(30000);
    if (!r.finished)
        p.kill();
    r.exitCode = p.exitCode();
    r.status = p.exitStatus();
    r.errors = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

} // namespace

TEST(Smoke, MainWindowOpensAndClosesCleanly)
{
    QTemporaryDir config;
    QTemporaryDir home;
    ASSERT_TRUE(config.isValid() && home.isValid());
    ASSERT_TRUE(QDir().mkpath(config.path() + "/Astrovela"));
    QFile settings(config.path() + "/Astrovela/Astrovela.conf");
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Generali]\nLingua=english.ini\n");
    settings.close();

    const Esecuzione r = runProgram(config.path(), home.path(), 2500);
    ASSERT_TRUE(r.finished) << "the program did not close by itself";
    EXPECT_EQ(r.status, QProcess::NormalExit);
    EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();
    // The working list was created in the user's data folder and saved at
    // shut-down; the city list was copied there.
    EXPECT_TRUE(QFile::exists(home.path() + "/data/Astrovela/Astrovela.ini"));
    EXPECT_TRUE(QFile::exists(home.path() + "/data/Astrovela/cities.dat"));
}

TEST(Smoke, FirstStartWithoutALanguageShowsThePickerAndEndsWhenItCloses)
{
    QTemporaryDir config;
    QTemporaryDir home;
    ASSERT_TRUE(config.isValid() && home.isValid());
    const Esecuzione r = runProgram(config.path(), home.path(), 1500);
    ASSERT_TRUE(r.finished) << "the program did not close by itself";
    EXPECT_EQ(r.status, QProcess::NormalExit);
    EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();
    // Nothing of the user's was made for a program that never started.
    EXPECT_FALSE(QFile::exists(home.path() + "/data/Astrovela/Astrovela.ini"));
}
