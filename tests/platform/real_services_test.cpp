// The real services, where a test can run them without touching the
// computer's state: message boxes, dialog filters, help file look-up,
// program start, time zones and the single-instance lock.
#include "platform/file_chooser.h"
#include "platform/help_service.h"
#include "platform/launcher.h"
#include "platform/prompt.h"
#include "platform/single_instance.h"
#include "platform/time_zone_info.h"
#include "support/ordinary_user.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QLockFile>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

#include <functional>

using namespace platform;

namespace {
// Runs `action` on the message box once it is shown.
void onNextBox(std::function<void(QMessageBox*)> action)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                timer->stop();
                timer->deleteLater();
                action(box);
                return;
            }
        }
    });
    timer->start();
}
} // namespace

TEST(QtPromptTest, ButtonsIconTitleAndAnswers)
{
    setApplicationTitle(QStringLiteral("Astrovela"));
    QtPrompt prompt;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    QString defaultText;
    onNextBox([&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = int(box->buttons().size());
        defaultText = box->defaultButton() ? box->defaultButton()->text() : QString();
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(prompt.MsgBox(QStringLiteral("limit reached\rsecond line"), vbYesNo | vbQuestion | vbDefaultButton2),
              vbNo);
    EXPECT_EQ(title, "Astrovela");
    EXPECT_EQ(text, "limit reached\nsecond line"); // a lone CR starts a new line
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(buttons, 2);
    EXPECT_EQ(defaultText, QMessageBox(QMessageBox::NoIcon, {}, {}, QMessageBox::No).button(QMessageBox::No)->text());

    onNextBox([&](QMessageBox* box) {
        title = box->windowTitle();
        icon = box->icon();
        box->reject(); // Escape on OK/Cancel
    });
    EXPECT_EQ(prompt.MsgBox(QStringLiteral("Save?"), vbOKCancel | vbExclamation, QStringLiteral("orbit.txt")),
              vbCancel);
    EXPECT_EQ(title, "orbit.txt");
    EXPECT_EQ(icon, QMessageBox::Warning);

    // A satellite's or a file's name with a NUL byte and the controls of
    // bidirectional text (a file named "orbit<RLO>txt.exe" would read as
    // "orbitexe.txt"): blanks in their places, in the title and the text.
    onNextBox([&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        box->button(QMessageBox::Ok)->click();
    });
    const QString name = QStringLiteral("orbit") + QChar(0x202E) + QStringLiteral("txt.exe") + QChar(0)
        + QChar(0x2067) + QStringLiteral("x") + QChar(0x2069);
    EXPECT_EQ(prompt.MsgBox(QStringLiteral("Cannot read\r\n") + name, vbOKOnly, name), vbOK);
    EXPECT_EQ(title, "orbit txt.exe  x ");
    EXPECT_EQ(text, "Cannot read\norbit txt.exe  x ");

    onNextBox([&](QMessageBox* box) {
        icon = box->icon();
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(prompt.MsgBox(QStringLiteral("Stop"), vbCritical), vbOK);
    EXPECT_EQ(icon, QMessageBox::Critical);
}

// A message shown over a window that goes while it waits (closed by its own
// code, destroyed) goes with it: the program lives on, and the question is
// asked again over the main window, whose answer is the one returned.
TEST(QtPromptTest, AMessageWhoseWindowGoesIsAskedAgainOverTheMainWindow)
{
    QMainWindow principale;
    principale.show();
    auto* finestra = new QDialog(&principale);
    finestra->show();
    finestra->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([finestra] { return QApplication::activeWindow() == finestra; }, 2000));
    QtPrompt prompt;
    bool sopraLaFinestra = false;
    QPointer<QWidget> secondoSopra;
    onNextBox([&](QMessageBox* box) {
        sopraLaFinestra = box->parentWidget() == finestra;
        delete finestra;
        onNextBox([&](QMessageBox* box) {
            secondoSopra = box->parentWidget();
            box->button(QMessageBox::Yes)->click();
        });
    });
    EXPECT_EQ(prompt.MsgBox(QStringLiteral("Replace the file?"), vbYesNo | vbQuestion | vbDefaultButton2), vbYes);
    EXPECT_TRUE(sopraLaFinestra) << "the first message was not over the window that went";
    EXPECT_EQ(secondoSopra, &principale);
}

TEST(FileChooserTest, ClassicFiltersBecomeQtFilters)
{
    EXPECT_EQ(qtNameFilters(QStringLiteral("Element files (*.txt)|*.txt;*.tle|All files (*.*)|*.*")),
              "Element files (*.txt *.tle);;All files (*.*)");
    EXPECT_EQ(qtNameFilters(QStringLiteral("Text|*.txt")), "Text (*.txt)");
    EXPECT_EQ(qtNameFilterAt(QStringLiteral("A|*.a|B|*.b"), 2), "B (*.b)");
    EXPECT_EQ(qtNameFilterAt(QStringLiteral("A|*.a"), 3), "");
    EXPECT_EQ(qtNameFilters(QString()), "");
}

TEST(FileChooserTest, DialogsOpenInTheUsersFoldersNotWhereTheProgramWasStarted)
{
    // Started from a folder of its own (often one the user may not write):
    // Open with no element file yet and a download's Save as open in the
    // user's documents folder (the home when there is none), then in the
    // folder of the file last chosen to open, or to save (a folder only
    // read from is not offered for saving); a request's own folder is kept.
    QTemporaryDir casa, partenza, altrove;
    const QByteArray casaPrima = qgetenv("HOME"), configPrima = qgetenv("XDG_CONFIG_HOME");
    const QString cartellaPrima = QDir::currentPath();
    qputenv("HOME", QFile::encodeName(casa.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(casa.filePath(QStringLiteral(".config"))));
    ASSERT_TRUE(QDir::setCurrent(partenza.path()));
    QFile scelto(altrove.filePath(QStringLiteral("sets.txt")));
    ASSERT_TRUE(scelto.open(QIODevice::WriteOnly));
    scelto.close();

    // The folder each dialog shows; Cancel, or `scegli` chosen.
    QtFileChooser chooser;
    QString cartella, nome;
    const auto apri = [&](const FileDialogRequest& r, bool salva, const QString& scegli = {}) {
        cartella.clear();
        nome.clear();
        QTimer timer;
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible()) {
                    timer.stop();
                    cartella = d->directory().absolutePath();
                    nome = d->selectedFiles().value(0);
                    if (scegli.isEmpty()) {
                        d->reject();
                    } else {
                        // As typed into the dialog, without waiting for it
                        // to list the file's folder.
                        d->setDirectory(QFileInfo(scegli).absolutePath());
                        d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QFileInfo(scegli).fileName());
                        static_cast<QDialog*>(d)->done(QDialog::Accepted);
                    }
                    return;
                }
            }
        });
        timer.start();
        return salva ? chooser.saveFile(r) : chooser.openFile(r);
    };
    FileDialogRequest apertura;
    apertura.filter = QStringLiteral("Element files|*.txt|All files|*");
    FileDialogRequest download = apertura;
    download.fileName = QStringLiteral("stations.txt");

    EXPECT_FALSE(apri(apertura, false));
    EXPECT_EQ(cartella.toStdString(), QDir(casa.path()).absolutePath().toStdString());
    ASSERT_TRUE(QDir(casa.path()).mkdir(QStringLiteral("Documents")));
    EXPECT_FALSE(apri(apertura, false));
    EXPECT_EQ(cartella.toStdString(), QDir(casa.filePath(QStringLiteral("Documents"))).absolutePath().toStdString());
    EXPECT_FALSE(apri(download, true));
    EXPECT_EQ(cartella.toStdString(), QDir(casa.filePath(QStringLiteral("Documents"))).absolutePath().toStdString());
    EXPECT_EQ(QFileInfo(nome).fileName(), QStringLiteral("stations.txt"));

    // A file opened elsewhere: the next Open opens there, Save as not.
    EXPECT_EQ(apri(apertura, false, scelto.fileName()), std::optional<QString>(scelto.fileName()));
    EXPECT_FALSE(apri(apertura, false));
    EXPECT_EQ(cartella.toStdString(), QDir(altrove.path()).absolutePath().toStdString());
    EXPECT_FALSE(apri(download, true));
    EXPECT_EQ(cartella.toStdString(), QDir(casa.filePath(QStringLiteral("Documents"))).absolutePath().toStdString());
    // A file saved elsewhere: the next Save as opens there.
    const QString salvato = partenza.filePath(QStringLiteral("stations.txt"));
    EXPECT_EQ(apri(download, true, salvato), std::optional<QString>(salvato));
    EXPECT_FALSE(apri(download, true));
    EXPECT_EQ(cartella.toStdString(), QDir(partenza.path()).absolutePath().toStdString());
    // As an ordinary user: a file saved where that user may not enter, or
    // not write (the save then fails and says so), leaves the next Save as
    // where it was, never in that folder; a folder remembered that can no
    // longer be entered is not offered either.
    {
        QTemporaryDir prove;
        ASSERT_TRUE(UtenteOrdinario::Passabile(prove.path()));
        QDir radice(prove.path());
        ASSERT_TRUE(radice.mkdir(QStringLiteral("open")) && radice.mkdir(QStringLiteral("closed"))
                    && radice.mkdir(QStringLiteral("readonly")));
        const QString aperta = radice.filePath(QStringLiteral("open"));
        const QString chiusa = radice.filePath(QStringLiteral("closed"));
        const QString solaLettura = radice.filePath(QStringLiteral("readonly"));
        const auto modo = [](const QString& cartella, mode_t m) {
            return ::chmod(QFile::encodeName(cartella).constData(), m) == 0;
        };
        ASSERT_TRUE(modo(aperta, 0777) && modo(chiusa, 0) && modo(solaLettura, 0555));
        {
            UtenteOrdinario utente;
            ASSERT_TRUE(utente.attivo());
            const QString buono = aperta + QStringLiteral("/stations.txt");
            EXPECT_EQ(apri(download, true, buono), std::optional<QString>(buono));
            for (const QString& cartellaVietata : {chiusa, solaLettura}) {
                SCOPED_TRACE(cartellaVietata.toStdString());
                const QString vietato = cartellaVietata + QStringLiteral("/stations.txt");
                EXPECT_EQ(apri(download, true, vietato), std::optional<QString>(vietato));
                EXPECT_FALSE(apri(download, true));
                EXPECT_EQ(cartella.toStdString(), aperta.toStdString());
            }
        }
        ASSERT_TRUE(modo(aperta, 0));
        // Nor a folder a request names (an element file's, a listing's
        // documents folder) that the user may not enter.
        FileDialogRequest nellaChiusa = apertura;
        nellaChiusa.fileName = chiusa + QStringLiteral("/sets.txt");
        FileDialogRequest cartellaChiusa = download;
        cartellaChiusa.initialFolder = chiusa;
        {
            UtenteOrdinario utente;
            EXPECT_FALSE(apri(download, true));
            EXPECT_NE(cartella.toStdString(), aperta.toStdString());
            EXPECT_FALSE(apri(nellaChiusa, false));
            EXPECT_NE(cartella.toStdString(), chiusa.toStdString());
            EXPECT_EQ(QFileInfo(nome).fileName(), QStringLiteral("sets.txt"));
            EXPECT_FALSE(apri(cartellaChiusa, true));
            EXPECT_NE(cartella.toStdString(), chiusa.toStdString());
        }

        // One rule for every folder a dialog may start in (the remembered
        // one, the request's own, an absolute file name's, the documents
        // folder): the user may enter it and list it (one that cannot be
        // listed shows empty) and, to save, write it; else the next, the
        // home last. The file name proposed stays the same.
        // (The folders remembered, for opening and saving, closed first.)
        ASSERT_TRUE(modo(altrove.path(), 0));
        ASSERT_TRUE(UtenteOrdinario::Passabile(casa.path()));
        ASSERT_TRUE(UtenteOrdinario::Proprio(casa.filePath(QStringLiteral("Documents"))));
        const std::string home = QDir(casa.path()).absolutePath().toStdString();
        const QString documenti = QDir(casa.filePath(QStringLiteral("Documents"))).absolutePath();
        for (const mode_t m : {0555, 0, 0100}) {
            SCOPED_TRACE("documents folder at mode " + std::to_string(m));
            ASSERT_TRUE(modo(documenti, m));
            UtenteOrdinario utente;
            EXPECT_FALSE(apri(download, true));
            EXPECT_EQ(cartella.toStdString(), home);
            EXPECT_EQ(QFileInfo(nome).fileName(), QStringLiteral("stations.txt"));
            EXPECT_FALSE(apri(apertura, false));
            EXPECT_EQ(cartella.toStdString(), m == 0555 ? documenti.toStdString() : home);
        }
        ASSERT_TRUE(modo(documenti, 0755));
        ASSERT_TRUE(radice.mkdir(QStringLiteral("listonly")));
        const QString soloPassaggio = radice.filePath(QStringLiteral("listonly"));
        QFile dentro(soloPassaggio + QStringLiteral("/sets.txt"));
        ASSERT_TRUE(dentro.open(QIODevice::WriteOnly));
        dentro.close();
        ASSERT_TRUE(UtenteOrdinario::Proprio(soloPassaggio) && modo(soloPassaggio, 0100));
        FileDialogRequest salvaInSolaLettura = download, salvaCartellaSolaLettura = download;
        salvaInSolaLettura.fileName = solaLettura + QStringLiteral("/stations.txt");
        salvaCartellaSolaLettura.initialFolder = solaLettura;
        FileDialogRequest apriCartellaSolaLettura = apertura, apriNelPassaggio = apertura;
        apriCartellaSolaLettura.initialFolder = solaLettura;
        apriNelPassaggio.fileName = dentro.fileName();
        {
            UtenteOrdinario utente;
            // A folder the user may list but not write: for opening only.
            EXPECT_FALSE(apri(salvaCartellaSolaLettura, true));
            EXPECT_EQ(cartella.toStdString(), documenti.toStdString());
            EXPECT_FALSE(apri(salvaInSolaLettura, true));
            EXPECT_EQ(cartella.toStdString(), documenti.toStdString());
            EXPECT_EQ(QFileInfo(nome).fileName(), QStringLiteral("stations.txt"));
            EXPECT_FALSE(apri(apriCartellaSolaLettura, false));
            EXPECT_EQ(cartella.toStdString(), solaLettura.toStdString());
            // A folder the user may enter but not list: its file is opened
            // by its typed name, and no dialog starts there.
            EXPECT_FALSE(apri(apriNelPassaggio, false));
            EXPECT_EQ(cartella.toStdString(), documenti.toStdString());
            EXPECT_EQ(QFileInfo(nome).fileName(), QStringLiteral("sets.txt"));
            EXPECT_EQ(apri(apertura, false, dentro.fileName()), std::optional<QString>(dentro.fileName()));
            EXPECT_FALSE(apri(apertura, false));
            EXPECT_EQ(cartella.toStdString(), documenti.toStdString());
        }
        modo(soloPassaggio, 0755);
        modo(altrove.path(), 0700);
        modo(aperta, 0755);
        modo(chiusa, 0755);
        modo(solaLettura, 0755);
    }

    // A request that names its folder opens there.
    FileDialogRequest propria = download;
    propria.initialFolder = casa.path();
    EXPECT_FALSE(apri(propria, true));
    EXPECT_EQ(cartella.toStdString(), QDir(casa.path()).absolutePath().toStdString());

    QDir::setCurrent(cartellaPrima);
    qputenv("HOME", casaPrima);
    if (configPrima.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", configPrima);
}

TEST(HelpServiceTest, FindsTheHelpFileOrSaysThereIsNone)
{
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("Astrovela.html")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("<html></html>");
    f.close();

    QtHelpService help(dir.path());
    EXPECT_TRUE(help.resolvedUrl().isEmpty()); // no file named yet
    EXPECT_FALSE(help.showContents());
    help.setHelpFile(QStringLiteral("\\Astrovela.html")); // the old leading backslash
    EXPECT_EQ(help.resolvedUrl(), QUrl::fromLocalFile(f.fileName()).toString());
    help.setHelpFile(f.fileName());
    EXPECT_EQ(help.resolvedUrl(), QUrl::fromLocalFile(f.fileName()).toString());
    help.setHelpFile(QStringLiteral("Astrovela.hlp")); // not there
    EXPECT_TRUE(help.resolvedUrl().isEmpty());
    EXPECT_FALSE(help.showContext(80));
    EXPECT_FALSE(help.searchKeyword());
    help.setHelpFile(QStringLiteral("https://example.org/help/"));
    EXPECT_EQ(help.resolvedUrl(), "https://example.org/help/");
}

TEST(LauncherTest, ArgumentsAreSplitAsAShellSplitsThemWithoutAShell)
{
    // Expected lists as /bin/sh gives them (printf '[%s]' ...), nothing expanded.
    EXPECT_EQ(splitArguments(QStringLiteral("  -f  \"my file.txt\" $HOME;rm x *.txt ")),
              (QStringList{"-f", "my file.txt", "$HOME;rm", "x", "*.txt"}));
    EXPECT_EQ(splitArguments(QStringLiteral("'two words' \"it's\" 'say \"hi\"' a\\ b '' \"\" x''y")),
              (QStringList{"two words", "it's", "say \"hi\"", "a b", "", "", "xy"}));
    EXPECT_EQ(splitArguments(QStringLiteral("a\"b c\"d \"q\\\"q\" \"c:\\dir\" 'c:\\dir' \\'")),
              (QStringList{"ab cd", "q\"q", "c:\\dir", "c:\\dir", "'"}));
    EXPECT_TRUE(splitArguments(QStringLiteral("   ")).isEmpty());
}

TEST(LauncherTest, StartsAProgramAndReportsOnesThatCannotStart)
{
    QTemporaryDir dir;
    const QString marker = dir.filePath(QStringLiteral("ran"));
    QtLauncher launcher;
    QString error;
    // touch receives its argument as one word, blanks and all, with no shell.
    ASSERT_TRUE(launcher.startProgram(QStringLiteral("touch"), u'"' + marker + QStringLiteral(" two\""), &error))
        << error.toStdString();
    for (int i = 0; i < 200 && !QFile::exists(marker + QStringLiteral(" two")); ++i)
        QThread::msleep(10);
    EXPECT_TRUE(QFile::exists(marker + QStringLiteral(" two")));
    // Single quotes group the same way (no file named "two'" appears).
    const QString marker3 = dir.filePath(QStringLiteral("single"));
    ASSERT_TRUE(launcher.startProgram(QStringLiteral("touch"), u'\'' + marker3 + QStringLiteral(" two'"), &error));
    for (int i = 0; i < 200 && !QFile::exists(marker3 + QStringLiteral(" two")); ++i)
        QThread::msleep(10);
    EXPECT_TRUE(QFile::exists(marker3 + QStringLiteral(" two")));
    EXPECT_FALSE(QFile::exists(QStringLiteral("two'")));

    // A program setting that carries its own first argument.
    const QString marker2 = dir.filePath(QStringLiteral("second"));
    ASSERT_TRUE(launcher.startProgram(QStringLiteral("touch -c"), u'"' + marker2 + u'"', &error));
    ASSERT_TRUE(launcher.startProgram(QStringLiteral("touch ") + marker2, {}, &error));
    for (int i = 0; i < 200 && !QFile::exists(marker2); ++i)
        QThread::msleep(10);
    EXPECT_TRUE(QFile::exists(marker2));

    EXPECT_FALSE(launcher.startProgram(QStringLiteral("/no/such/program"), {}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("/no/such/program")));
    EXPECT_FALSE(launcher.startProgram(dir.path(), {}, &error)); // a folder
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(launcher.startProgram(QStringLiteral("   "), {}, &error));
    EXPECT_FALSE(launcher.openUrl(QStringLiteral("  ")));
}

TEST(TimeZoneInfoTest, BiasAndDaylightFromTheZoneRules)
{
    // Rome: UTC+1 in winter, UTC+2 in summer; New York: UTC-5 and UTC-4;
    // Kolkata: UTC+5:30 all year. Bias = UTC - local, in minutes.
    const QTimeZone rome("Europe/Rome"), ny("America/New_York"), kolkata("Asia/Kolkata");
    ASSERT_TRUE(rome.isValid() && ny.isValid() && kolkata.isValid());
    const QDateTime winter(QDate(2024, 1, 15), QTime(12, 0), Qt::UTC);
    const QDateTime summer(QDate(2024, 7, 15), QTime(12, 0), Qt::UTC);
    auto s = QtTimeZoneInfo::stateOf(rome, winter);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->biasMinutes, -60);
    EXPECT_FALSE(s->daylight);
    s = QtTimeZoneInfo::stateOf(rome, summer);
    EXPECT_EQ(s->biasMinutes, -120);
    EXPECT_TRUE(s->daylight);
    s = QtTimeZoneInfo::stateOf(ny, winter);
    EXPECT_EQ(s->biasMinutes, 300);
    EXPECT_FALSE(s->daylight);
    s = QtTimeZoneInfo::stateOf(ny, summer);
    EXPECT_EQ(s->biasMinutes, 240);
    EXPECT_TRUE(s->daylight);
    s = QtTimeZoneInfo::stateOf(kolkata, summer);
    EXPECT_EQ(s->biasMinutes, -330);
    EXPECT_FALSE(QtTimeZoneInfo::stateOf(QTimeZone("No/Such_Zone"), winter));
}

TEST(SingleInstanceTest, OneCopyAtATimeAndCrashedCopiesDoNotBlock)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("run/astrovela.lock"));
    {
        SingleInstance first(path);
        ASSERT_TRUE(first.tryAcquire());
        EXPECT_TRUE(first.tryAcquire()); // already held
        SingleInstance second(path);
        EXPECT_FALSE(second.tryAcquire());
        EXPECT_FALSE(second.isHeld());
    }
    SingleInstance third(path);
    EXPECT_TRUE(third.tryAcquire());
}

TEST(SingleInstanceTest, OneCopyPerSettingsFolderWithOrWithoutARuntimeFolder)
{
    // Two profiles of one user, each with its own configuration folder, run
    // side by side; a second copy on the same profile is refused. Without
    // XDG_RUNTIME_DIR the runtime location falls back to a folder every
    // profile shares, so the lock must still tell the profiles apart.
    QTemporaryDir dir;
    const QByteArray configPrima = qgetenv("XDG_CONFIG_HOME");
    const QByteArray runtimePrima = qgetenv("XDG_RUNTIME_DIR");
    const bool cera = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
    const bool ceraRuntime = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
    QDir().mkpath(dir.filePath(QStringLiteral("run")));
    QFile::setPermissions(dir.filePath(QStringLiteral("run")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (const bool conRuntime : {false, true}) {
        SCOPED_TRACE(conRuntime ? "with a runtime folder" : "without a runtime folder");
        if (conRuntime)
            qputenv("XDG_RUNTIME_DIR", dir.filePath(QStringLiteral("run")).toUtf8());
        else
            qunsetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("profileA")).toUtf8());
        const QString pathA = SingleInstance::defaultLockPath();
        SingleInstance a;
        ASSERT_TRUE(a.tryAcquire()) << pathA.toStdString();
        SingleInstance a2;
        EXPECT_FALSE(a2.tryAcquire()) << "a second copy on the same profile";

        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("profileB")).toUtf8());
        const QString pathB = SingleInstance::defaultLockPath();
        EXPECT_NE(pathA, pathB);
        SingleInstance b;
        EXPECT_TRUE(b.tryAcquire()) << "another profile runs beside the first: " << pathB.toStdString();
    }
    if (cera)
        qputenv("XDG_CONFIG_HOME", configPrima);
    else
        qunsetenv("XDG_CONFIG_HOME");
    if (ceraRuntime)
        qputenv("XDG_RUNTIME_DIR", runtimePrima);
    else
        qunsetenv("XDG_RUNTIME_DIR");
}

TEST(SingleInstanceTest, ALockLeftByAProcessThatIsGoneIsTakenOver)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("astrovela.lock"));
    // The pid of a process that has ended.
    QProcess p;
    p.start(QStringLiteral("true"));
    ASSERT_TRUE(p.waitForFinished());
    const qint64 deadPid = p.processId() ? p.processId() : 999999;
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray::number(deadPid) + '\n' + QCoreApplication::applicationName().toUtf8() + '\n' +
            QSysInfo::machineHostName().toUtf8() + '\n' + QSysInfo::machineUniqueId() + '\n');
    f.close();
    SingleInstance mine(path);
    EXPECT_TRUE(mine.tryAcquire());
}
