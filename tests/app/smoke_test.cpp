// Starts the real program offscreen against empty configuration and data
// folders and checks that it comes up and closes cleanly.
#include "platform/vb.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

struct Esecuzione {
    bool finished = false;
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QString errors;
};

QProcessEnvironment ambiente(const QString& config, const QString& home, int quitMs);

Esecuzione runProgram(const QString& config, const QString& home, int quitMs,
                      const QProcessEnvironment& extra = {})
{
    QProcess p;
    QProcessEnvironment env = ambiente(config, home, quitMs);
    for (const QString& k : extra.keys())
        env.insert(k, extra.value(k));
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

// The program's environment: its own folders, and (quitMs > 0) a request to
// close itself after that many milliseconds.
QProcessEnvironment ambiente(const QString& config, const QString& home, int quitMs)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", config);
    env.insert("XDG_DATA_HOME", home + "/data");
    env.insert("XDG_RUNTIME_DIR", home + "/run");
    env.insert("HOME", home);
    // Asks the program to close its main window by itself after a while.
    env.remove("ASTROVELA_VIRTUAL_DISPLAY");
    if (quitMs > 0)
        env.insert("ASTROVELA_SMOKE_QUIT_MS", QString::number(quitMs));
    else
        env.remove("ASTROVELA_SMOKE_QUIT_MS");
    // A runtime folder of its own (private, as Qt wants it): the program's
    // single-instance lock lives there, so parallel runs do not meet.
    QDir().mkpath(home + "/run");
    QFile::setPermissions(home + "/run", QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                             | QFileDevice::ExeOwner);
    return env;
}

void scriviLingua(const QString& config)
{
    ASSERT_TRUE(QDir().mkpath(config + "/Astrovela"));
    QFile settings(config + "/Astrovela/Astrovela.conf");
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Generali]\nLingua=english.ini\n");
}

} // namespace

TEST(Smoke, MainWindowOpensAndClosesCleanly)
{
    QTemporaryDir config;
    QTemporaryDir home;
    ASSERT_TRUE(config.isValid() && home.isValid());
    scriviLingua(config.path());

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

TEST(Smoke, OnAVirtualDisplayMessagesGoToTheTerminalAndWaitForNobody)
{
    // run.sh without a display: the program runs on a virtual one that
    // nobody sees. A second copy's "already running" must not wait there
    // for an OK nobody can give: it is written on the standard error, with
    // the display the windows are on, and the copy ends.
    QTemporaryDir config;
    QTemporaryDir home;
    ASSERT_TRUE(config.isValid() && home.isValid());
    scriviLingua(config.path());
    QProcess primo;
    primo.setProcessEnvironment(ambiente(config.path(), home.path(), 25000));
    primo.start(QStringLiteral(ASTROVELA_PROGRAM_DIR "/astrovela"), {});
    ASSERT_TRUE(primo.waitForStarted(10000));
    // Up when its working list exists.
    for (int i = 0; i < 200 && !QFile::exists(home.path() + "/data/Astrovela/Astrovela.ini"); ++i)
        QThread::msleep(50);
    ASSERT_TRUE(QFile::exists(home.path() + "/data/Astrovela/Astrovela.ini"));

    QProcessEnvironment virtuale;
    virtuale.insert("ASTROVELA_VIRTUAL_DISPLAY", "1");
    virtuale.insert("DISPLAY", ":77");
    const Esecuzione r = runProgram(config.path(), home.path(), 0, virtuale);
    primo.kill();
    primo.waitForFinished(10000);
    ASSERT_TRUE(r.finished) << "the second copy waited for an answer nobody can give";
    EXPECT_EQ(r.status, QProcess::NormalExit);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.errors.contains("Astrovela is already running.")) << r.errors.toStdString();
    EXPECT_TRUE(r.errors.contains("virtual display :77")) << r.errors.toStdString();
}

TEST(Smoke, OnAVirtualDisplayMessagesReachTheTerminalWithoutItsControls)
{
    // A working list holding the same satellite twice, the second under a
    // name that carries terminal escapes (a title to set, a colour), a bell
    // and a right-to-left override. The message that leaves it out goes to
    // the standard error with blanks in their places, its lines kept.
    QTemporaryDir config;
    QTemporaryDir home;
    ASSERT_TRUE(config.isValid() && home.isValid());
    scriviLingua(config.path());
    ASSERT_TRUE(QDir().mkpath(home.path() + "/data/Astrovela"));
    QFile lista(home.path() + "/data/Astrovela/Astrovela.ini");
    ASSERT_TRUE(lista.open(QIODevice::WriteOnly));
    const QByteArray righe = "1 25544U 98067A   13330.58127943  .00000814  00000-0  21834-4 0  1064\r\n"
                             "2 25544  51.6484  23.7537 0001246  74.1647  18.7420 15.50540527859894\r\n";
    lista.write("ISS (ZARYA)\r\n" + righe + "EVIL\x1b]0;owned\x07\x1b[31mRED\xE2\x80\xAEX\r\n" + righe);
    lista.close();

    QProcessEnvironment virtuale;
    virtuale.insert("ASTROVELA_VIRTUAL_DISPLAY", "1");
    const Esecuzione r = runProgram(config.path(), home.path(), 2500, virtuale);
    ASSERT_TRUE(r.finished) << "the program did not close by itself";
    EXPECT_EQ(r.exitCode, 0) << r.errors.toStdString();
    const QStringList linee = r.errors.split(u'\n');
    EXPECT_TRUE(linee.contains("EVIL ]0;owned  [31mRED X")) << r.errors.toStdString();
    EXPECT_TRUE(r.errors.contains("more than once; the repeated set has been left out:\nEVIL"))
        << r.errors.toStdString();
    QString controlli;
    for (const QChar c : r.errors)
        if (c != u'\n' && vb::hasControlCharacters(QString(c)))
            controlli += QStringLiteral("U+%1 ").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    EXPECT_TRUE(controlli.isEmpty()) << controlli.toStdString();
}
