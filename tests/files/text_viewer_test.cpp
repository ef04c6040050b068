// The text-file viewer and the File menu's document commands: reading and
// saving in the file's own encoding and line ends, the closing question,
// Save As for new documents, printing the selection, the line-end repair.
#include "core/mlang.h"
#include "core/settings.h"
#include "files/file_menu.h"
#include "files/text_viewer.h"
#include "common/file_messages.h"
#include "common/window_calls.h"
#include "common/window_links.h"
#include "database/menu_links.h"
#include "platform/fakes.h"
#include "platform/file_chooser.h"
#include "platform/prompt.h"
#include "platform/vb.h"
#include "shell/main_window.h"
#include "support/ordinary_user.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMessageBox>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FileViewer : public ::testing::Test {
protected:
    void SetUp() override { mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini")); }
    void TearDown() override { mLang::Usa_File_Lingua({}); }
    QString Scrivi(const QString& nome, const QByteArray& b)
    {
        const QString p = dir.filePath(nome);
        QFile f(p);
        f.open(QIODevice::WriteOnly);
        f.write(b);
        return p;
    }
    QByteArray Leggi(const QString& p)
    {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    QTemporaryDir dir;
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
};

TEST_F(FileViewer, SavesBackInTheEncodingAndLineEndsRead)
{
    // Windows-1252 bytes (0xB0 is the degree sign) with CR LF line ends.
    const QByteArray ansi("ISS (ZARYA)\r\n1 25544U 98067A\r\nLat 45\xB0\r\n");
    const QString p = Scrivi(QStringLiteral("iss.txt"), ansi);
    auto* f = new frmFile;
    ASSERT_TRUE(f->Leggi(p));
    EXPECT_EQ(f->windowTitle(), p);
    EXPECT_EQ(f->fileName(), p);
    EXPECT_FALSE(f->modificato());
    EXPECT_EQ(f->txtFile->toPlainText(), QStringLiteral("ISS (ZARYA)\n1 25544U 98067A\nLat 45°\n"));
    f->txtFile->moveCursor(QTextCursor::End);
    f->txtFile->insertPlainText(QStringLiteral("2 25544\n"));
    EXPECT_TRUE(f->modificato());
    ASSERT_TRUE(f->Salva());
    EXPECT_TRUE(fakes.files.calls.isEmpty());  // a loaded document saves over its file
    EXPECT_EQ(Leggi(p), ansi + QByteArray("2 25544\r\n"));
    EXPECT_FALSE(f->modificato());
    delete f;

    // LF files stay LF; a second document saving writes only its own file.
    const QString p2 = Scrivi(QStringLiteral("lf.txt"), QByteArray("a\nb\n"));
    const QString p3 = Scrivi(QStringLiteral("other.txt"), QByteArray("keep\r\n"));
    frmFile a;
    frmFile b;
    ASSERT_TRUE(a.Leggi(p2));
    ASSERT_TRUE(b.Leggi(p3));
    a.txtFile->setPlainText(QStringLiteral("a\nc\n"));
    b.txtFile->setPlainText(QStringLiteral("changed\n"));
    ASSERT_TRUE(a.Salva());
    EXPECT_EQ(Leggi(p2), QByteArray("a\nc\n"));
    EXPECT_EQ(Leggi(p3), QByteArray("keep\r\n"));
}

TEST_F(FileViewer, AFileNamedWithBidiControlsShowsBlanksInTheTitlesOfEditAndView)
{
    // "orbit" U+202E "txt.exe" would read "orbitexe.txt": the text window of
    // File > Edit and the listing of File > View name it with a blank there,
    // on their frames and beside the main window's title while maximised.
    const QString p = Scrivi(QStringLiteral("orbit") + QChar(0x202E) + QStringLiteral("txt.exe"),
                             "SGP4-VER 00005\r\n"
                             "1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753\r\n"
                             "2 00005  34.2682 348.7242 1859667 331.7664  19.3264 10.82419157413667\r\n");
    const QString visto = QFileInfo(p).path() + QStringLiteral("/orbit txt.exe");
    MDIForm1 w;
    files::Collega_File(w);
    listings::Collega_Elenchi(w);
    w.resize(1000, 700);
    w.show();
    fakes.files.fileAnswers = {p, p};
    w.menuItem("mnuFileModifica")->trigger();
    w.menuItem("mnuFileVisualizza")->trigger();
    QApplication::processEvents();
    const auto cornici = w.mdiArea()->subWindowList(QMdiArea::CreationOrder);
    ASSERT_EQ(cornici.size(), 2);
    EXPECT_EQ(cornici[0]->windowTitle().toStdString(), visto.toStdString());
    EXPECT_EQ(cornici[1]->windowTitle().toStdString(), "View element file - " + visto.toStdString());
    // The viewer keeps the path it read, and saves to it.
    ASSERT_TRUE(qobject_cast<frmFile*>(cornici[0]->widget()));
    EXPECT_EQ(qobject_cast<frmFile*>(cornici[0]->widget())->fileName(), p);
    for (QMdiSubWindow* c : cornici) {
        c->showMaximized();
        QApplication::processEvents();
        EXPECT_FALSE(vb::hasControlCharacters(w.windowTitle())) << w.windowTitle().toStdString();
        c->showNormal();
    }
    // A title that changes later is followed and cleaned as well.
    cornici[0]->widget()->setWindowTitle(QStringLiteral("a") + QChar(0x2067) + QStringLiteral("b"));
    EXPECT_EQ(cornici[0]->windowTitle().toStdString(), "a b");
    cornici[0]->widget()->setWindowTitle(QStringLiteral("plain"));
    EXPECT_EQ(cornici[0]->windowTitle().toStdString(), "plain");
    w.closeChildren();
}

TEST_F(FileViewer, SavingKeepsEveryCharacterOfTheFile)
{
    // Non-breaking spaces (0xA0 in Windows-1252, U+00A0 in UTF-8) and tabs
    // are text like any other: a save after an edit elsewhere keeps them.
    const QByteArray ansi("NOAA\xA0" "15\r\n1\t25338U\r\n");
    const QByteArray utf8("NOAA\xC2\xA0" "18\n");
    const QString p = Scrivi(QStringLiteral("ansi.txt"), ansi);
    const QString q = Scrivi(QStringLiteral("utf8.txt"), utf8);
    for (const auto& [percorso, byte] : {std::pair{p, ansi}, std::pair{q, utf8}}) {
        frmFile f;
        ASSERT_TRUE(f.Leggi(percorso));
        EXPECT_FALSE(f.modificato());
        f.txtFile->moveCursor(QTextCursor::End);
        f.txtFile->insertPlainText(QStringLiteral("x"));
        ASSERT_TRUE(f.Salva());
        EXPECT_EQ(Leggi(percorso), byte + "x");
        EXPECT_FALSE(f.modificato());
    }
}

TEST_F(FileViewer, CharactersOutsideWindows1252AreNotSavedAsQuestionMarks)
{
    const QString p = Scrivi(QStringLiteral("ansi.txt"), QByteArray("Lat 45\xB0\r\n"));
    frmFile f;
    ASSERT_TRUE(f.Leggi(p));
    f.txtFile->moveCursor(QTextCursor::End);
    f.txtFile->insertPlainText(QStringLiteral("Łódź\n"));
    ASSERT_TRUE(f.Salva());
    EXPECT_EQ(Leggi(p), QStringLiteral("Lat 45°\r\nŁódź\r\n").toUtf8());
}

TEST_F(FileViewer, UnreadableFileTellsWhyAndLeavesNoWindow)
{
    // Told as File > View tells it: a file not there is not found; one too
    // large or not an ordinary file gets the reader's reason, titled with it.
    const QString assente = dir.filePath(QStringLiteral("missing.txt"));
    const QString grande = dir.filePath(QStringLiteral("big.txt"));
    {
        QFile g(grande);
        ASSERT_TRUE(g.open(QIODevice::WriteOnly));
        ASSERT_TRUE(g.resize(vb::kMaxTextFileBytes + 1));   // sparse
    }
    const QString tubo = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(tubo).constData(), 0600), 0);
    const struct {
        QString percorso, testo, titolo;
    } casi[] = {
        {assente, "The file " + assente + " was not found.", platform::applicationTitle()},
        {grande, "The file " + grande + " is larger than 64 MB: it has not been read.", grande},
        {tubo, tubo + " is not an ordinary file (it is a named pipe, a device or a folder): it has not been read.",
         tubo},
    };
    for (const auto& c : casi) {
        fakes.prompt.calls.clear();
        QPointer<frmFile> f = new frmFile;
        EXPECT_FALSE(f->Leggi(c.percorso));
        ASSERT_EQ(fakes.prompt.calls.size(), 1);
        EXPECT_EQ(fakes.prompt.calls[0].text.toStdString(), c.testo.toStdString());
        EXPECT_EQ(fakes.prompt.calls[0].title.toStdString(), c.titolo.toStdString());
        EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbExclamation);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(f.isNull());
    }

    // A file the user may not read, and one in a folder the user may not
    // look into: there, not "not found": the system's reason, titled with it.
    const QString chiuso = Scrivi(QStringLiteral("closed.txt"), QByteArray("x"));
    ASSERT_TRUE(QFile::setPermissions(chiuso, {}));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("private")));
    const QString nascosto = Scrivi(QStringLiteral("private/hidden.txt"), QByteArray("x"));
    // (Closed to its owner too, so that it is closed to the user running the
    // tests, whoever that is; opened again below, to be removed.)
    ASSERT_TRUE(QFile::setPermissions(dir.filePath(QStringLiteral("private")), {}));
    ASSERT_TRUE(UtenteOrdinario::Passabile(dir.path()));
    fakes.prompt.calls.clear();
    {
        UtenteOrdinario utente;
        ASSERT_TRUE(utente.attivo());
        QPointer<frmFile> f = new frmFile;
        EXPECT_FALSE(f->Leggi(chiuso));
    }
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text.toStdString(), "Permission denied");
    EXPECT_EQ(fakes.prompt.calls[0].title.toStdString(), chiuso.toStdString());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The user in full (the file's existence is asked as the real user):
    // what the viewer tells of the reason its reader gave.
    EXPECT_TRUE(UtenteOrdinario::Esegui([&] {
        fakes.prompt.calls.clear();
        QString motivo;
        if (vb::readTextFile(nascosto, &motivo))
            return false;
        common::Avvisa_File_Non_Letto(nascosto, motivo);
        return fakes.prompt.calls.size() == 1 && fakes.prompt.calls[0].text == QLatin1String("Permission denied")
            && fakes.prompt.calls[0].title == nascosto;
    }));
    ASSERT_TRUE(QFile::setPermissions(dir.filePath(QStringLiteral("private")),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    // The Edit command opens no viewer for an empty file or a cancel.
    fakes.prompt.calls.clear();
    const QString vuoto = Scrivi(QStringLiteral("empty.txt"), QByteArray());
    fakes.files.fileAnswers = {vuoto, std::nullopt};
    EXPECT_EQ(files::File_Modifica(nullptr), nullptr);
    EXPECT_EQ(files::File_Modifica(nullptr), nullptr);
    ASSERT_EQ(fakes.files.calls.size(), 2);
    EXPECT_EQ(fakes.files.calls[0].request.title, mLang::Testo_Lingua("Dialogs", "modificatle"));
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
}

TEST_F(FileViewer, AFileInAFolderTheUserMayNotEnterIsToldWithTheReasonThroughTheRealDialog)
{
    // As an ordinary user (root enters any folder), the path of a file in a
    // folder of mode 000 typed into the real open dialog of File > View,
    // Edit and Open, and Enter: the program names the file and gives the
    // system's reason in the user's language, and opens no window. A file
    // that is really not there is still refused by the dialog as not found.
    // Then where the dialogs start: never in a folder the user may not list
    // (File > View) or, to save, not write (a summary's and a new
    // document's Save with the documents folder closed).
    //
    // Qt's dialog asks with the real user whether a file is there, and root
    // enters any folder: run by root, the test runs once more in a process
    // of its own as the user nobody, and its result is this test's.
    if (::geteuid() == 0) {
        const QByteArray programma = QFile::encodeName(QCoreApplication::applicationFilePath());
        const QByteArray lingua = QFile::encodeName(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/italiano.ini"));
        if (!UtenteOrdinario::Esegui([&] {
                return ::access(programma.constData(), X_OK) == 0 && ::access(lingua.constData(), R_OK) == 0;
            }))
            GTEST_SKIP() << "the build or the source folder cannot be reached by the user nobody";
        QTemporaryDir casa;
        ASSERT_TRUE(QFile::setPermissions(casa.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                           | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther));
        const auto* prova = ::testing::UnitTest::GetInstance()->current_test_info();
        QProcess figlio;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("HOME"), casa.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), casa.filePath(QStringLiteral(".config")));
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        figlio.setProcessEnvironment(env);
        figlio.setProcessChannelMode(QProcess::MergedChannels);
        figlio.setChildProcessModifier([] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(127);
        });
        figlio.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--gtest_filter=%1.%2").arg(prova->test_suite_name(), prova->name())});
        const bool finito = figlio.waitForFinished(120000);
        if (!finito)
            figlio.kill();
        const QByteArray uscita = figlio.readAll();
        EXPECT_TRUE(finito && figlio.exitCode() == 0 && uscita.contains("[  PASSED  ] 1 test"))
            << uscita.toStdString();
        return;
    }
    platform::QtFileChooser dialoghi;
    platform::Services servizi = fakes.services();
    servizi.files = &dialoghi;
    platform::ScopedServices conDialoghi{servizi};
    const QByteArray elementi("SGP4-VER 00005\r\n"
                              "1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753\r\n"
                              "2 00005  34.2682 348.7242 1859667 331.7664  19.3264 10.82419157413667\r\n");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("closed")));
    const QString dentro = Scrivi(QStringLiteral("closed/inner.txt"), elementi);
    const QString cartella = dir.filePath(QStringLiteral("closed"));
    struct Riapri {
        QString cartella;
        ~Riapri() { QFile::setPermissions(cartella, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner); }
    } riapri{cartella};
    ASSERT_TRUE(QFile::setPermissions(cartella, {}));
    ASSERT_TRUE(UtenteOrdinario::Passabile(dir.path()));
    const QString principale = gstrDatabasePrimario;
    gstrDatabasePrimario = Scrivi(QStringLiteral("sets.txt"), elementi);

    MDIForm1 w;
    files::Collega_File(w);
    listings::Collega_Elenchi(w);
    database::Collega_Finestre(w);
    w.resize(1000, 700);
    w.show();

    // Types `percorso` into the dialog's name box and presses Enter (with
    // none, cancels); any box of Qt's own is noted and closed, and a dialog
    // still open after that is cancelled. The folder the dialog started in
    // and the name it proposed are noted.
    QStringList scatoleQt;
    QString cartellaDialogo, nomeDialogo;
    const auto scegli = [&](const QString& percorso, const std::function<void()>& comando) {
        bool scritto = false;
        QTimer timer;
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            for (QWidget* t : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(t); box && box->isVisible()) {
                    scatoleQt << box->text();
                    box->done(QMessageBox::Ok);
                    return;
                }
            }
            for (QWidget* t : QApplication::topLevelWidgets()) {
                auto* d = qobject_cast<QFileDialog*>(t);
                if (!d || !d->isVisible())
                    continue;
                if (scritto) {
                    d->reject();
                    return;
                }
                cartellaDialogo = d->directory().absolutePath();
                nomeDialogo = QFileInfo(d->selectedFiles().value(0)).fileName();
                scritto = true;
                if (percorso.isEmpty()) {
                    d->reject();
                    return;
                }
                auto* nome = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                ASSERT_NE(nome, nullptr);
                // Typed from the event loop, not from this timer's own
                // call, so that the timer goes on while Enter is handled.
                QTimer::singleShot(0, nome, [nome, percorso] {
                    nome->clear();
                    QTest::keyClicks(nome, percorso);
                    QTest::keyClick(nome, Qt::Key_Return);
                });
                return;
            }
        });
        timer.start();
        comando();
        QApplication::processEvents();
        EXPECT_TRUE(scritto);
    };
    const struct {
        const char* comando;
        const char* lingua;
        std::string testo;
    } casi[] = {
        {"mnuFileVisualizza", "english.ini",
         "The file " + QDir::toNativeSeparators(dentro).toStdString() + " could not be read: Permission denied."},
        {"mnuFileModifica", "italiano.ini",
         "Impossibile leggere il file " + QDir::toNativeSeparators(dentro).toStdString() + ": Permesso negato."},
        {"mnuFileApri", "english.ini",
         "The file " + QDir::toNativeSeparators(dentro).toStdString() + " could not be read: Permission denied."},
        {"mnuStrumentiFormattazione", "italiano.ini",
         "Impossibile leggere il file " + QDir::toNativeSeparators(dentro).toStdString() + ": Permesso negato."},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.comando);
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/") + QLatin1String(c.lingua));
        fakes.prompt.calls.clear();
        scatoleQt.clear();
        {
            UtenteOrdinario utente;
            ASSERT_TRUE(utente.attivo());
            scegli(dentro, [&] { w.menuItem(QLatin1String(c.comando))->trigger(); });
        }
        EXPECT_EQ(scatoleQt.join(QLatin1Char('|')).toStdString(), "");
        // Format file tells what it does before its dialog.
        if (QLatin1String(c.comando) == QLatin1String("mnuStrumentiFormattazione")) {
            ASSERT_FALSE(fakes.prompt.calls.isEmpty());
            EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbInformation);
            fakes.prompt.calls.removeFirst();
        }
        ASSERT_EQ(fakes.prompt.calls.size(), 1);
        EXPECT_EQ(fakes.prompt.calls[0].text.toStdString(), c.testo);
        EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbExclamation);
        EXPECT_TRUE(w.mdiArea()->subWindowList().isEmpty());
    }

    // Not there: the dialog's own "not found", and nothing from the program.
    // (The dialog does not open in the folder the user may not enter.)
    mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
    fakes.prompt.calls.clear();
    scatoleQt.clear();
    {
        UtenteOrdinario utente;
        scegli(dir.filePath(QStringLiteral("missing.txt")), [&] { w.menuItem("mnuFileVisualizza")->trigger(); });
    }
    EXPECT_NE(cartellaDialogo.toStdString(), QDir(cartella).absolutePath().toStdString());
    ASSERT_EQ(scatoleQt.size(), 1);
    EXPECT_TRUE(scatoleQt[0].contains(QStringLiteral("missing.txt"))) << scatoleQt[0].toStdString();
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
    EXPECT_TRUE(w.mdiArea()->subWindowList().isEmpty());

    // Every folder a dialog may start in is one the user may enter and list
    // and, to save, write. A file in a folder the user may enter but not
    // list (mode 100), viewed by its typed path: the next File > View does
    // not start there (it would show the folder empty), nor one offering a
    // principal element file there, by its name.
    const QByteArray casaPrima = qgetenv("HOME"), configPrima = qgetenv("XDG_CONFIG_HOME");
    const QString casa = dir.filePath(QStringLiteral("home"));
    const QString documenti = casa + QStringLiteral("/Documents");
    ASSERT_TRUE(QDir().mkpath(documenti));
    qputenv("HOME", QFile::encodeName(casa));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(casa + QStringLiteral("/.config")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("listonly")));
    const QString soloPassaggio = dir.filePath(QStringLiteral("listonly"));
    const QString elencato = Scrivi(QStringLiteral("listonly/sets.txt"), elementi);
    Riapri riapriPassaggio{soloPassaggio}, riapriDocumenti{documenti};
    ASSERT_TRUE(QFile::setPermissions(soloPassaggio, QFile::ExeOwner));
    gstrDatabasePrimario.clear();
    fakes.prompt.calls.clear();
    scatoleQt.clear();
    scegli(elencato, [&] { w.menuItem("mnuFileVisualizza")->trigger(); });
    EXPECT_EQ(scatoleQt.join(QLatin1Char('|')).toStdString(), "");
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
    ASSERT_EQ(w.mdiArea()->subWindowList().size(), 1);
    auto* sommario = dynamic_cast<common::Salvabile*>(w.mdiArea()->subWindowList().first()->widget());
    ASSERT_NE(sommario, nullptr);
    scegli({}, [&] { w.menuItem("mnuFileVisualizza")->trigger(); });
    EXPECT_EQ(cartellaDialogo.toStdString(), documenti.toStdString());
    gstrDatabasePrimario = elencato;
    scegli({}, [&] { w.menuItem("mnuFileVisualizza")->trigger(); });
    EXPECT_EQ(cartellaDialogo.toStdString(), documenti.toStdString());
    EXPECT_EQ(nomeDialogo, QStringLiteral("sets.txt"));

    // The documents folder at mode 555 or 000: the summary's Save and a new
    // document's Save start in the home folder, with the name they propose
    // (which, taken as it is, saves there); a documents folder the user may
    // write is where they start, as before.
    const struct {
        QFileDevice::Permissions modo;
        const char* nome;
    } documentiChiusi[] = {{QFile::ReadOwner | QFile::ExeOwner, "555"}, {{}, "000"}};
    for (const auto& d : documentiChiusi) {
        SCOPED_TRACE(std::string("documents folder at mode ") + d.nome);
        ASSERT_TRUE(QFile::setPermissions(documenti, d.modo));
        scegli({}, [&] { sommario->Comando_Salva(); });
        EXPECT_EQ(cartellaDialogo.toStdString(), casa.toStdString());
        EXPECT_TRUE(nomeDialogo.endsWith(QStringLiteral(".txt"))) << nomeDialogo.toStdString();
        w.menuItem("mnuFileNuovo")->trigger();
        auto* nuovo = qobject_cast<frmFile*>(w.mdiArea()->activeSubWindow()->widget());
        ASSERT_NE(nuovo, nullptr);
        nuovo->txtFile->setPlainText(QStringLiteral("note"));
        // Cancelled the first time, so that no folder saved in is
        // remembered; taken the last.
        const bool prendi = &d == &documentiChiusi[std::size(documentiChiusi) - 1];
        fakes.prompt.calls.clear();
        scegli(prendi ? nuovo->windowTitle() : QString(), [&] { nuovo->Comando_Salva(); });
        EXPECT_EQ(cartellaDialogo.toStdString(), casa.toStdString());
        EXPECT_EQ(nomeDialogo, nuovo->windowTitle());
        EXPECT_TRUE(fakes.prompt.calls.isEmpty()) << fakes.prompt.texts().join('|').toStdString();
        if (prendi) {
            EXPECT_EQ(Leggi(casa + u'/' + nuovo->windowTitle()), QByteArray("note"));
        }
    }
    ASSERT_TRUE(QFile::setPermissions(documenti, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    scegli({}, [&] { sommario->Comando_Salva(); });
    EXPECT_EQ(cartellaDialogo.toStdString(), documenti.toStdString());
    qputenv("HOME", casaPrima);
    if (configPrima.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", configPrima);
    gstrDatabasePrimario = principale;
}

TEST_F(FileViewer, ClosingQuestionOnlyWhenTheTextDiffers)
{
    const QString p = Scrivi(QStringLiteral("t.txt"), QByteArray("abc\r\n"));
    frmFile f;
    ASSERT_TRUE(f.Leggi(p));
    EXPECT_TRUE(f.Form_QueryUnload());
    // One character changed and changed back: no question.
    f.txtFile->setPlainText(QStringLiteral("abd\n"));
    f.txtFile->setPlainText(QStringLiteral("abc\n"));
    EXPECT_TRUE(f.Form_QueryUnload());
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());

    f.txtFile->setPlainText(QStringLiteral("xyz\n"));
    fakes.prompt.answers = {platform::vbCancel, platform::vbNo, platform::vbYes};
    EXPECT_FALSE(f.Form_QueryUnload());   // Cancel: stays
    EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbYesNoCancel | platform::vbQuestion);
    EXPECT_EQ(fakes.prompt.calls[0].title, p);
    EXPECT_TRUE(f.Form_QueryUnload());    // No: closes, file unchanged
    EXPECT_EQ(Leggi(p), QByteArray("abc\r\n"));
    EXPECT_TRUE(f.Form_QueryUnload());    // Yes: saved, closes
    EXPECT_EQ(Leggi(p), QByteArray("xyz\r\n"));
}

TEST_F(FileViewer, NewDocumentAsksSaveAsEveryTimeAndKeepsItsTitle)
{
    frmFile* f = files::File_Nuovo(nullptr);
    frmFile* g = files::File_Nuovo(nullptr);
    const QString nuovo = mLang::Testo_Lingua("MDIForm1", "nuovo");
    const QString numero = f->windowTitle().mid(nuovo.size());
    EXPECT_TRUE(f->windowTitle().startsWith(nuovo));
    EXPECT_EQ(g->windowTitle(), nuovo + QString::number(numero.toInt() + 1));
    EXPECT_TRUE(f->pflgNuovo);
    f->txtFile->setPlainText(QStringLiteral("line 1\nline 2"));
    const QString p = dir.filePath(QStringLiteral("new.txt"));
    fakes.files.fileAnswers = {p, p, std::nullopt};
    ASSERT_TRUE(f->Salva());
    EXPECT_EQ(Leggi(p), QByteArray("line 1\r\nline 2"));
    ASSERT_TRUE(f->Salva());
    ASSERT_EQ(fakes.files.calls.size(), 2);
    EXPECT_EQ(fakes.files.calls[1].kind, platform::FakeFileChooser::Kind::Save);
    EXPECT_EQ(fakes.files.calls[1].request.fileName, f->windowTitle());
    EXPECT_EQ(fakes.files.calls[1].request.flags, platform::fileOverwritePrompt);
    EXPECT_TRUE(f->pflgNuovo);
    // A cancelled Save As saves nothing; the closing question then keeps the
    // window (the text would be lost otherwise).
    f->txtFile->setPlainText(QStringLiteral("more"));
    EXPECT_FALSE(f->Salva());
    fakes.prompt.answers = {platform::vbYes};
    EXPECT_FALSE(f->Form_QueryUnload());
    EXPECT_EQ(Leggi(p), QByteArray("line 1\r\nline 2"));
    delete f;
    delete g;
}

TEST_F(FileViewer, FailedSaveIsToldAndKeepsTheFile)
{
    const QString p = Scrivi(QStringLiteral("k.txt"), QByteArray("old\r\n"));
    frmFile f;
    ASSERT_TRUE(f.Leggi(p));
    f.txtFile->setPlainText(QStringLiteral("new\n"));
    // The file's folder is replaced by a plain file: the write cannot happen.
    // No file was there, and none is said to be kept.
    f.setFileName(dir.filePath(QStringLiteral("k.txt/sub")));
    EXPECT_FALSE(f.Salva());
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_TRUE(fakes.prompt.calls[0].text.startsWith("The file " + dir.filePath(QStringLiteral("k.txt/sub"))
                                                      + " could not be saved.\r"))
        << fakes.prompt.calls[0].text.toStdString();
    EXPECT_TRUE(f.modificato());
    EXPECT_EQ(Leggi(p), QByteArray("old\r\n"));

    // As an ordinary user: a file of the user's own that the user may
    // write, edited in a folder that user may not write, is kept as it was,
    // and the message says so; a new document saved into a folder that user
    // may not enter finds no file there to keep, and the message speaks of
    // none. Each names the file, and the folder that refused the new copy
    // with the system's reason, in the user's language.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("readonly")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("closed")));
    const QString tenuto = Scrivi(QStringLiteral("readonly/kept.txt"), QByteArray("old\r\n"));
    ASSERT_TRUE(UtenteOrdinario::Proprio(tenuto));
    const QString nuovo = dir.filePath(QStringLiteral("closed/new.txt"));
    const QString solaLettura = dir.filePath(QStringLiteral("readonly"));
    const QString chiusa = dir.filePath(QStringLiteral("closed"));
    const QString inglese = QStringLiteral(", where no new file may be made (a file is saved by writing its new copy "
                                           "beside it, which then takes its place)");
    const QString italiano = QStringLiteral(", dove non si possono creare nuovi file (un file si salva scrivendone "
                                            "la nuova copia accanto, che poi prende il suo posto)");
    struct Riapri {
        QStringList cartelle;
        ~Riapri()
        {
            for (const QString& c : cartelle)
                QFile::setPermissions(c, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    } riapri{{dir.filePath(QStringLiteral("readonly")), dir.filePath(QStringLiteral("closed"))}};
    ASSERT_TRUE(QFile::setPermissions(dir.filePath(QStringLiteral("readonly")),
                                      QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    ASSERT_TRUE(QFile::setPermissions(dir.filePath(QStringLiteral("closed")), {}));
    ASSERT_TRUE(UtenteOrdinario::Passabile(dir.path()));
    frmFile modificato;
    ASSERT_TRUE(modificato.Leggi(tenuto));
    modificato.txtFile->setPlainText(QStringLiteral("new\n"));
    frmFile* documento = files::File_Nuovo(nullptr);
    documento->txtFile->setPlainText(QStringLiteral("new\n"));
    const struct {
        frmFile* finestra;
        const char* lingua;
        QString testo;
    } casi[] = {
        {&modificato, "english.ini",
         "The file " + tenuto + " could not be saved; the previous file is kept.\rPermission denied in the folder "
             + solaLettura + inglese},
        {&modificato, "italiano.ini",
         "Impossibile salvare il file " + tenuto + "; il file precedente è conservato.\rPermesso negato nella "
             "cartella " + solaLettura + italiano},
        {documento, "english.ini",
         "The file " + nuovo + " could not be saved.\rPermission denied in the folder " + chiusa + inglese},
        {documento, "italiano.ini",
         "Impossibile salvare il file " + nuovo + ".\rPermesso negato nella cartella " + chiusa + italiano},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.testo.toStdString());
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/") + QLatin1String(c.lingua));
        fakes.prompt.calls.clear();
        fakes.files.fileAnswers = {nuovo};
        {
            UtenteOrdinario utente;
            ASSERT_TRUE(utente.attivo());
            EXPECT_FALSE(c.finestra->Salva());
        }
        ASSERT_EQ(fakes.prompt.calls.size(), 1);
        EXPECT_EQ(fakes.prompt.calls[0].text.toStdString(), c.testo.toStdString());
        EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbExclamation);
        EXPECT_TRUE(c.finestra->modificato());
    }
    EXPECT_EQ(Leggi(tenuto), QByteArray("old\r\n"));
    delete documento;
}

TEST_F(FileViewer, PrintsSelectionOrWholeText)
{
    if (QProcess::execute(QStringLiteral("which"), {QStringLiteral("pdftotext")}) != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    frmFile f;
    f.txtFile->setPlainText(QStringLiteral("FIRSTLINE\nSECONDLINE\nTHIRDLINE\n"));
    const QString tutto = dir.filePath(QStringLiteral("all.pdf"));
    const QString parte = dir.filePath(QStringLiteral("sel.pdf"));
    fakes.files.printerAnswers = {tutto, parte, std::nullopt};
    f.Stampa();
    QTextCursor c = f.txtFile->textCursor();
    c.setPosition(10);
    c.setPosition(20, QTextCursor::KeepAnchor);
    f.txtFile->setTextCursor(c);
    f.Stampa();
    f.Stampa();  // cancelled: nothing
    // The dialog offers "selection" (chosen) only when text is selected.
    ASSERT_EQ(fakes.files.calls.size(), 3);
    EXPECT_EQ(fakes.files.calls[0].flags & platform::printerSelection, 0);
    EXPECT_EQ(fakes.files.calls[1].flags & platform::printerSelection, platform::printerSelection);
    auto testo = [](const QString& pdf) {
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        p.waitForFinished();
        return QString::fromUtf8(p.readAllStandardOutput());
    };
    const QString a = testo(tutto);
    EXPECT_TRUE(a.contains(QStringLiteral("FIRSTLINE")) && a.contains(QStringLiteral("THIRDLINE"))) << a.toStdString();
    const QString s = testo(parte);
    EXPECT_TRUE(s.contains(QStringLiteral("SECONDLINE"))) << s.toStdString();
    EXPECT_FALSE(s.contains(QStringLiteral("FIRSTLINE")));
    EXPECT_FALSE(s.contains(QStringLiteral("THIRDLINE")));
    EXPECT_EQ(fakes.files.calls.size(), 3);
}

TEST(FileTools, LineEndRepairAndPageLayout)
{
    using files::Ripara_Fine_Righe;
    EXPECT_EQ(Ripara_Fine_Righe(QStringLiteral("a\nb\nc")), QStringLiteral("a\r\nb\r\nc\r\n"));
    EXPECT_EQ(Ripara_Fine_Righe(QStringLiteral("a\r\nb\r\n")), QStringLiteral("a\r\nb\r\n"));
    // Repairing twice changes nothing more.
    const QString una = Ripara_Fine_Righe(QStringLiteral("  x y  \n\tz \r\nw"));
    EXPECT_EQ(una, QStringLiteral("x y\r\n\tz\r\nw\r\n"));
    EXPECT_EQ(Ripara_Fine_Righe(una), una);
    // A lone CR is not a line end.
    EXPECT_EQ(Ripara_Fine_Righe(QStringLiteral("a\rb\n")), QStringLiteral("a\rb\r\n"));
    EXPECT_EQ(Ripara_Fine_Righe(QString()), QStringLiteral("\r\n"));

    EXPECT_EQ(frmFile::Impagina(QStringLiteral("abc\r\ndef\n"), 10), QStringList({"abc", "def"}));
    EXPECT_EQ(frmFile::Impagina(QStringLiteral("aaaa bbbb cc"), 6), QStringList({"aaaa ", "bbbb ", "cc"}));
    EXPECT_EQ(frmFile::Impagina(QStringLiteral("abcdefghij"), 4), QStringList({"abcd", "efgh", "ij"}));
    EXPECT_EQ(frmFile::Impagina(QStringLiteral("a\n\nb"), 4), QStringList({"a", "", "b"}));
    // A page one character wide (or narrower) still lays out, one per line.
    EXPECT_EQ(frmFile::Impagina(QStringLiteral("ab c"), 1), QStringList({"a", "b", " ", "c"}));
    EXPECT_EQ(frmFile::Impagina(QStringLiteral("ab"), 0), QStringList({"a", "b"}));
}

} // namespace
