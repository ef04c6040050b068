// The program in Italian shows only Italian: the reasons of the start-up
// data-file message, the failures of the calculator and of the user's own
// program, the reasons windows give for a refused element set, and the
// manual window's buttons. Every word of each message must be a word of the
// Italian language file (or a name the message quotes: a file, a program).
// Also the manual's window: Escape closes it, and it closes with the program.
#include "core/data_files.h"
#include "core/element_parser.h"
#include "core/mlang.h"
#include "core/working_list.h"
#include "files/file_menu.h"
#include "platform/fakes.h"
#include "platform/help_service.h"
#include "platform/help_window.h"
#include "platform/launcher.h"
#include "platform/print_job.h"
#include "platform/settings_store.h"
#include "shell/main_window.h"
#include "shell/window_wiring.h"
#include "support/ordinary_user.h"

#include <QAction>
#include <QApplication>
#include <QPrinter>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

const QString kLingue = QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/");

QSet<QString> parole(const QString& testo)
{
    static const QRegularExpression parola(QStringLiteral("\\p{L}+"));
    QSet<QString> out;
    for (auto it = parola.globalMatch(testo); it.hasNext();)
        out.insert(it.next().captured(0).toLower());
    return out;
}

// The words of the Italian language file's texts.
const QSet<QString>& paroleItaliane()
{
    static const QSet<QString> p = [] {
        QFile f(kLingue + QStringLiteral("italiano.ini"));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        QString valori;
        for (const QString& riga : QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n")))
            if (!riga.startsWith(u';') && !riga.startsWith(u'[') && riga.contains(u'='))
                valori += riga.section(u'=', 1) + u' ';
        return parole(valori);
    }();
    return p;
}

// The words of `messaggio` (of three letters or more) that are not Italian
// and not among the names it quotes.
QStringList nonItaliane(const QString& messaggio, const QString& nomi = {})
{
    const QSet<QString> citate = parole(nomi);
    QStringList out;
    for (const QString& w : parole(messaggio))
        if (w.size() >= 3 && !paroleItaliane().contains(w) && !citate.contains(w))
            out << w;
    out.sort();
    return out;
}

#define EXPECT_ITALIANO(messaggio, nomi)                                                                  \
    do {                                                                                               \
        const QString m_ = (messaggio);                                                                \
        EXPECT_FALSE(m_.trimmed().isEmpty());                                                          \
        EXPECT_EQ(nonItaliane(m_, (nomi)).join(u' ').toStdString(), "") << m_.toStdString();           \
    } while (0)

class InItaliano : public ::testing::Test {
protected:
    void SetUp() override
    {
        mLang::Usa_File_Lingua(kLingue + QStringLiteral("italiano.ini"));
        mLang::Imposta_Cartella_Programma(QStringLiteral(ASTROVELA_PROGRAM_DIR));
    }
    void TearDown() override
    {
        mLang::Imposta_Cartella_Programma(QString());
        mLang::Usa_File_Lingua({});
    }
};

QByteArray leggi(const QString& percorso)
{
    QFile f(percorso);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << percorso.toStdString();
    return f.readAll();
}

} // namespace

TEST_F(InItaliano, TheDataFileMessageGivesItsReasonsInItalian)
{
    const QDir programma(QStringLiteral(ASTROVELA_PROGRAM_DIR));
    const QString nomiFile = QStringLiteral("stars bin clines cnames planets magnitud frequen dat");
    struct Guasto {
        const char* file;
        QByteArray contenuto;   // empty: the file is missing
    };
    const QByteArray linee = leggi(programma.filePath(QStringLiteral("clines.dat")));
    const QByteArray pianeti = leggi(programma.filePath(QStringLiteral("planets.dat")));
    const QByteArray nomi = leggi(programma.filePath(QStringLiteral("cnames.dat")));
    const Guasto guasti[] = {
        {"stars.bin", {}},                                                 // missing
        {"stars.bin", leggi(programma.filePath(QStringLiteral("stars.bin"))).left(35 * 100)}, // short
        {"clines.dat", linee.left(linee.indexOf('\n', 2000) + 1)},         // too few segments
        {"clines.dat", QByteArray("\"x\",12ab,100,200,300\r\n") + linee},   // not a number
        {"cnames.dat", nomi.left(nomi.size() / 2) + "\"Sagitta\",12"},      // ends mid-row
        {"planets.dat", QByteArray(pianeti).replace("0.20563593", "abcd")}, // not a number (a field name)
        {"magnitud.dat", "\"5\",\"4.0\"\r\n\"123456\",\"3.0\"\r\n"},        // catalogue number out of range
        {"frequen.dat", "\"7530\",\"145.9\",\"abc\",\"\"\r\n"},           // frequency not a number
    };
    int messaggi = 0;
    for (const Guasto& g : guasti) {
        SCOPED_TRACE(g.file);
        const QString nome = QString::fromLatin1(g.file);
        EsitoCaricaDati esito = g.contenuto.isEmpty() ? Verifica_File_Dati(nome, QByteArray())
                                                       : Verifica_File_Dati(nome, g.contenuto);
        if (g.contenuto.isEmpty()) {
            // A missing file, as the loader finds it in a folder without it.
            QTemporaryDir vuota;
            esito = Carica_dati(vuota.path());
        }
        ASSERT_FALSE(esito.ok);
        ++messaggi;
        EXPECT_ITALIANO(Testo_Errore_Dati(esito), nomiFile + QStringLiteral(" 12ab abcd abc Sagitta"));
    }
    const EsitoCaricaDati ignoto = Verifica_File_Dati(QStringLiteral("other.dat"), QByteArray("1"));
    EXPECT_ITALIANO(Testo_Errore_Dati(ignoto), QStringLiteral("other dat"));
    EXPECT_EQ(messaggi, 8);
}

TEST_F(InItaliano, ProgramsThatCannotStartAreReportedInItalian)
{
    platform::QtLauncher launcher;
    QString errore;
    const struct {
        QString programma;
        QString nomi;
    } casi[] = {
        {QStringLiteral("/no/such/program"), QStringLiteral("no such program")},
        {QStringLiteral("astrovela-no-such-program"), QStringLiteral("astrovela no such program")},
        {QDir::tempPath(), QDir::tempPath()},   // a folder
        {QStringLiteral("   "), {}},
    };
    for (const auto& c : casi) {
        errore.clear();
        EXPECT_FALSE(launcher.startProgram(c.programma, {}, &errore)) << c.programma.toStdString();
        EXPECT_ITALIANO(errore, c.nomi);
    }
    // No calculator anywhere on the search path.
    const QByteArray percorso = qgetenv("PATH");
    qputenv("PATH", QDir::tempPath().toUtf8() + "/astrovela-no-such-folder");
    errore.clear();
    const bool calcolatrice = launcher.openCalculator(&errore);
    qputenv("PATH", percorso);
    EXPECT_FALSE(calcolatrice);
    EXPECT_ITALIANO(errore, QString());
}

TEST_F(InItaliano, PrintingAndSettingsFailuresAreReportedInItalian)
{
    // Printing into a folder that does not exist.
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = dir.filePath(QStringLiteral("no-such-folder/sheet.pdf"));
    printer.setOutputFileName(pdf);
    {
        platform::PrintJob job(&printer);
        EXPECT_FALSE(job.isActive());
        EXPECT_ITALIANO(job.errorString(), pdf);
    }
    // Settings that cannot be written: a folder in the way of the file, a
    // store that refuses every write.
    QFile ostacolo(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(ostacolo.open(QIODevice::WriteOnly));
    ostacolo.close();
    const QString percorso = dir.filePath(QStringLiteral("file/Astrovela/Astrovela.conf"));
    platform::IniSettingsStore ini(percorso);
    QString errore;
    EXPECT_FALSE(ini.setValue(QStringLiteral("Generali"), QStringLiteral("Lingua"), QStringLiteral("x"), &errore));
    EXPECT_ITALIANO(errore, QFileInfo(percorso).absolutePath());
    platform::MemorySettingsStore memoria;
    memoria.setFailWrites(true);
    errore.clear();
    EXPECT_FALSE(memoria.setValue(QStringLiteral("Generali"), QStringLiteral("Lingua"), QStringLiteral("x"), &errore));
    EXPECT_ITALIANO(errore, QString());
}

TEST_F(InItaliano, FilesAnOrdinaryUserMayNotWriteAreReportedInItalian)
{
    // A folder the user may not write (as an ordinary user; root may write
    // anywhere): the settings that cannot be saved there, a working list
    // that cannot be saved, Format file that cannot keep its copy. The
    // system's reason is Italian too.
    QTemporaryDir dir;
    ASSERT_TRUE(UtenteOrdinario::Passabile(dir.path()));
    const QString file = dir.filePath(QStringLiteral("sets.txt"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("  ISS (ZARYA)\n1 25544U\n2 25544\n");
    }
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                      | QFile::ExeOther));
    platform::FakeServices fakes;
    platform::ScopedServices scope(fakes.services());
    platform::IniSettingsStore ini(dir.filePath(QStringLiteral("Astrovela.conf")));
    QString errore;
    QString lista;
    {
        UtenteOrdinario utente;
        ASSERT_TRUE(utente.attivo());
        EXPECT_FALSE(ini.setValue(QStringLiteral("Generali"), QStringLiteral("Lingua"), QStringLiteral("x"), &errore));
        EXPECT_FALSE(core::WorkingList::instance().Salva_Ini(dir.filePath(QStringLiteral("Astrovela.ini")), &lista));
        fakes.files.fileAnswers = {file};
        files::Formattazione_File(nullptr);
    }
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    EXPECT_ITALIANO(errore, dir.path() + QStringLiteral(" Astrovela conf"));
    EXPECT_TRUE(errore.contains(QStringLiteral("Permesso negato"))) << errore.toStdString();
    EXPECT_ITALIANO(lista, dir.path() + QStringLiteral(" Astrovela ini"));
    // The folder that refused the new copy is named, with why.
    EXPECT_EQ(lista.toStdString(),
              (QDir::toNativeSeparators(dir.filePath(QStringLiteral("Astrovela.ini"))) + ": Permesso negato nella cartella "
               + QDir::toNativeSeparators(dir.path())
               + ", dove non si possono creare nuovi file (un file si salva scrivendone la nuova copia accanto, che poi "
                 "prende il suo posto)")
                  .toStdString());
    ASSERT_EQ(fakes.prompt.calls.size(), 2);
    EXPECT_ITALIANO(fakes.prompt.calls[1].text, file + QStringLiteral(" bak"));
}

TEST_F(InItaliano, RefusedElementSetsAreExplainedInItalian)
{
    // What the windows show for a set they refuse, for every reason a set
    // can be refused for.
    const RigaDati set{"ISS (ZARYA)",
                       "1 25544U 98067A   13330.50000000  .00016717  00000-0  10270-3 0  9005",
                       "2 25544  51.6 4 247.4627 0006703 130.5360 325.0288 15.72125391563537"};
    for (core::ErroreElementi e :
         {core::ErroreElementi::CatalogoNonValido, core::ErroreElementi::MotoMedioNonValido,
          core::ErroreElementi::CampoNonValido, core::ErroreElementi::EccentricitaNonValida,
          core::ErroreElementi::ResistenzaNonValida, core::ErroreElementi::EpocaNonValida}) {
        SCOPED_TRACE(int(e));
        EXPECT_ITALIANO(core::Testo_Errore_Elementi(e, set), QStringLiteral("ISS ZARYA"));
    }
}

TEST_F(InItaliano, TheManualsButtonsAreItalianAndEscapeClosesIt)
{
    platform::QtHelpService help(QStringLiteral(ASTROVELA_SOURCE_DIR));
    help.setHelpFile(mLang::Testo_Lingua(QStringLiteral("Help"), QStringLiteral("file")));
    ASSERT_TRUE(help.showContents());
    platform::HelpWindow* w = platform::HelpWindow::instance(false);
    ASSERT_NE(w, nullptr);
    const QList<QAction*> azioni = w->findChild<QToolBar*>()->actions();
    ASSERT_EQ(azioni.size(), 3);
    for (QAction* a : azioni) {
        EXPECT_ITALIANO(a->text(), QString());
        EXPECT_ITALIANO(a->toolTip(), QString());
    }
    EXPECT_EQ(azioni[0]->toolTip(), QStringLiteral("Indietro"));
    EXPECT_EQ(azioni[2]->toolTip(), QStringLiteral("Sommario"));
    if (!qEnvironmentVariableIsEmpty("ASTROVELA_SHOTS")) {
        QApplication::processEvents();
        w->grab().save(qEnvironmentVariable("ASTROVELA_SHOTS") + QStringLiteral("/manuale.png"));
    }

    // Escape in the manual (in its page or its index box) closes it.
    QPointer<platform::HelpWindow> manuale(w);
    QTest::keyClick(w->browser(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(manuale.isNull() || !manuale->isVisible());
}

TEST_F(InItaliano, TheManualClosesWithTheProgram)
{
    platform::FakeServices fakes;
    platform::QtHelpService help(QStringLiteral(ASTROVELA_SOURCE_DIR));
    platform::Services s = fakes.services();
    s.help = &help;
    platform::ScopedServices scope(s);
    {
        MDIForm1 w;
        Collega_Tutte_Le_Finestre(w);
        w.Lingua();
        help.setHelpFile(mLang::Testo_Lingua(QStringLiteral("Help"), QStringLiteral("file")));
        w.show();
        w.menuItem(QStringLiteral("mnuAiutoSommario"))->trigger();
        QPointer<platform::HelpWindow> manuale(platform::HelpWindow::instance(false));
        ASSERT_FALSE(manuale.isNull());
        ASSERT_TRUE(manuale->isVisible());
        // File > Exit: nothing of the program stays on the screen, so the
        // process ends with its main window.
        w.menuItem(QStringLiteral("mnuFileEsci"))->trigger();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(manuale.isNull() || !manuale->isVisible());
        for (QWidget* t : QApplication::topLevelWidgets())
            EXPECT_FALSE(t->isVisible() && t->testAttribute(Qt::WA_QuitOnClose)) << t->objectName().toStdString();
    }
}
