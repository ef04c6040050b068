// Start-up checks against a temporary program folder with fake message
// boxes and an in-memory settings store: the language file, the second copy,
// the fixed files, the user's working list, the daylight-saving question.
#include "core/globals_orbit.h"
#include "core/mlang.h"
#include "core/settings.h"
#include "core/startup.h"
#include "core/working_list.h"
#include "platform/fakes.h"
#include "platform/settings_store.h"
#include "platform/single_instance.h"
#include "platform/vb.h"
#include "support/full_disk.h"
#include "support/named_pipe.h"
#include "support/ordinary_user.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <optional>

namespace {

// One set of a working list (Delta 1 Deb), its two lines.
const QByteArray kRiga1 = "1 06251U 62025E   06176.82412014  .00008885  00000-0  12808-3 0  3985";
const QByteArray kRiga2 = "2 06251  58.0579  54.0425 0030035 139.1568 221.1854 15.56387291  6774";

void write(const QString& path, const QByteArray& text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(program.isValid() && user.isValid());
        for (const QString& f : core::File_Fissi())
            write(program.filePath(f), "x");
        write(program.filePath("english.ini"),
              "[MDIForm1]\r\nprogrammainesecuzione=Already running\r\n"
              "verificainstallazione1=Files are missing\r\nverificainstallazione2=Install again\r\n"
              "filemancante=Missing:\r\ncartellecercate=Looked in:\r\n"
              "cambiareoralegale1=Daylight saving differs\r\ncambiareoralegale2=Change it?\r\n"
              "listanonletta=The working list could not be read\r\n"
              "elementinonvalidi=Element set not valid\r\n"
              "satelliteripetuto=Listed twice\r\nrimossiconservati=Kept in\r\n"
              "listanonsalvera=Not saved in this run\r\n"
              "listanonsalvata=The working list was not saved; the previous file is kept:\r\n"
              "listanonsalvatanuova=The working list was not saved:\r\n"
              "bloccononcreato=No lock, running all the same:\r\nfilenoncreato=Not made:\r\n");
        avvio.cartellaProgramma = program.path();
        avvio.cartellaUtente = user.filePath("data");
        gstrFileLingua.clear();
    }
    void TearDown() override
    {
        mLang::Imposta_Cartella_Programma({});
        gstrFileLingua.clear();
        gblnLinguaCaricata = false;
    }
    void setLanguage(const QString& name) { fakes.settings.setValue("Generali", "Lingua", name); }

    QTemporaryDir program;
    QTemporaryDir user;
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    core::Avvio avvio;
};

} // namespace

TEST_F(StartupTest, NoLanguageFileAtAllEndsWithTheFixedEnglishMessage)
{
    QFile::remove(program.filePath("english.ini"));
    write(program.filePath("Astrovela.ini"), "");
    bool pickerShown = false;
    avvio.scegliLingua = [&] { pickerShown = true; };
    avvio.cartelleCercate = {program.path(), "/opt/nowhere/share/astrovela"};
    EXPECT_FALSE(core::MDIForm_Initialize(avvio));
    EXPECT_FALSE(pickerShown);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    // Every folder looked in is named, one a line.
    EXPECT_EQ(fakes.prompt.calls[0].text,
              "No language file available!\r\nPlease, check the installation\r\n\r\n"
              "Folders searched:\r\n" + program.path() + "\r\n/opt/nowhere/share/astrovela");
    EXPECT_EQ(fakes.prompt.calls[0].flags & 0x70, platform::vbCritical);
}

TEST_F(StartupTest, ProgramFolderIsBesideTheExecutableElseTheInstalledDataFolder)
{
    QTemporaryDir root;
    const QString base = root.path();
    const QString shared = "../share/astrovela";
    for (const char* d : {"build/bin", "usr/bin", "usr/share/astrovela", "alone/bin", "maps/bin"})
        ASSERT_TRUE(QDir().mkpath(base + "/" + d));

    // A build: the files beside the executable, nothing looked for elsewhere.
    write(base + "/build/bin/english.ini", "");
    core::CartellaProgramma c = core::Trova_Cartella_Programma(base + "/build/bin", shared);
    EXPECT_EQ(c.scelta, base + "/build/bin");
    EXPECT_EQ(c.cercate, QStringList{base + "/build/bin"});

    // A fixed file alone marks the program's folder as well, and it comes
    // before an installation's.
    write(base + "/maps/bin/MapEarth.dat", "x");
    ASSERT_TRUE(QDir().mkpath(base + "/maps/share/astrovela"));
    write(base + "/maps/share/astrovela/english.ini", "");
    EXPECT_EQ(core::Trova_Cartella_Programma(base + "/maps/bin/", shared).scelta, base + "/maps/bin");

    // Installed: the executable alone in bin/, its files in share/astrovela.
    write(base + "/usr/share/astrovela/italiano.ini", "");
    c = core::Trova_Cartella_Programma(base + "/usr/bin", shared);
    EXPECT_EQ(c.scelta, base + "/usr/share/astrovela");
    EXPECT_EQ(c.cercate, (QStringList{base + "/usr/bin", base + "/usr/share/astrovela"}));

    // Copied on its own: neither folder holds anything; its own folder is
    // used and both are named by the check that then fails.
    c = core::Trova_Cartella_Programma(base + "/alone/bin", shared);
    EXPECT_EQ(c.scelta, base + "/alone/bin");
    EXPECT_EQ(c.cercate, (QStringList{base + "/alone/bin", base + "/alone/share/astrovela"}));

    // The installed layout passes the start-up check and uses the files
    // where they are; with one removed the message names the file and both
    // folders.
    for (const QString& f : core::File_Fissi())
        write(base + "/usr/share/astrovela/" + f, "x");
    write(base + "/usr/share/astrovela/english.ini",
          "[MDIForm1]\r\nverificainstallazione1=Files are missing\r\n"
          "verificainstallazione2=Install again\r\nfilemancante=Missing:\r\n"
          "cartellecercate=Looked in:\r\n");
    setLanguage("english.ini");
    c = core::Trova_Cartella_Programma(base + "/usr/bin", shared);
    avvio.cartellaProgramma = c.scelta;
    avvio.cartelleCercate = c.cercate;
    EXPECT_TRUE(core::MDIForm_Initialize(avvio));
    EXPECT_EQ(mLang::Cartella_Programma(), base + "/usr/share/astrovela");
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
    QFile::remove(base + "/usr/share/astrovela/stars.bin");
    EXPECT_FALSE(core::MDIForm_Initialize(avvio));
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text,
              "Files are missing\r\nInstall again\r\n\r\nMissing: stars.bin\r\nLooked in:\r\n"
                  + base + "/usr/bin\r\n" + base + "/usr/share/astrovela");
}

TEST_F(StartupTest, MissingLanguageOpensThePickerAndItsChoiceIsUsed)
{
    write(program.filePath("Astrovela.ini"), "");
    int shown = 0;
    // Cancelled: the program ends without a message.
    avvio.scegliLingua = [&] { ++shown; };
    EXPECT_FALSE(core::MDIForm_Initialize(avvio));
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());

    // A choice written in another case than the file's is found all the same.
    avvio.scegliLingua = [&] { ++shown; setLanguage("English.ini"); };
    EXPECT_TRUE(core::MDIForm_Initialize(avvio));
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(gstrFileLingua, "english.ini");

    // A setting naming a file that is gone is emptied and the picker shown.
    setLanguage("klingon.ini");
    avvio.scegliLingua = [&] { ++shown; };
    EXPECT_FALSE(core::MDIForm_Initialize(avvio));
    EXPECT_EQ(shown, 3);
    EXPECT_EQ(fakes.settings.value("Generali", "Lingua"), QString());
}

TEST_F(StartupTest, SecondCopyEndsBeforeWritingAnything)
{
    QTemporaryDir locks;
    platform::SingleInstance first(locks.filePath("astrovela.lock"));
    ASSERT_TRUE(first.tryAcquire());
    platform::SingleInstance second(locks.filePath("astrovela.lock"));
    avvio.istanza = &second;
    bool pickerShown = false;
    avvio.scegliLingua = [&] { pickerShown = true; };

    // The running copy's missing language setting is not touched.
    EXPECT_FALSE(core::MDIForm_Initialize(avvio));
    EXPECT_FALSE(pickerShown);
    EXPECT_FALSE(fakes.settings.hasSection("Generali"));
    EXPECT_FALSE(QDir(avvio.cartellaUtente).exists("Astrovela.ini"));
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].flags & 0x70, platform::vbInformation);

    // With a language set, the message is in that language.
    setLanguage("english.ini");
    EXPECT_FALSE(core::MDIForm_Initialize(avvio));
    EXPECT_EQ(fakes.prompt.calls.last().text, "Already running");
}

TEST_F(StartupTest, AStartOnAFullDiskOrAReadOnlyHomeSaysWhatItCouldNotMakeAndWhy)
{
    // A full runtime folder and home: a lock that cannot be made is no
    // second copy. The start says so with the lock file and the system's
    // reason and goes on; the city list it could not copy is told once, with
    // its file and reason, and no half copy is left.
    setLanguage("english.ini");
    QTemporaryDir locks;
    const QString lock = locks.filePath("run/astrovela.lock");
    platform::SingleInstance istanza(lock);
    avvio.istanza = &istanza;
    const QString citta = QDir(avvio.cartellaUtente).filePath("cities.dat");
    {
        FullDisk pieno(0);
        ASSERT_TRUE(pieno.active());
        EXPECT_TRUE(core::MDIForm_Initialize(avvio));
    }
    const QString motivo = QString::fromLocal8Bit(std::strerror(EFBIG));   // "File too large"
    ASSERT_EQ(fakes.prompt.calls.size(), 2) << fakes.prompt.texts().join("\n--\n").toStdString();
    EXPECT_EQ(fakes.prompt.calls[0].text,
              "No lock, running all the same:\r\n" + QDir::toNativeSeparators(lock) + "\r\n" + motivo);
    EXPECT_EQ(fakes.prompt.calls[0].flags & 0x70, platform::vbExclamation);
    EXPECT_FALSE(istanza.isHeld());
    EXPECT_FALSE(istanza.heldElsewhere());
    EXPECT_EQ(fakes.prompt.calls[1].text, "Not made:\r\n\r\n" + QDir::toNativeSeparators(citta) + "\r\n" + motivo);
    EXPECT_FALSE(QFileInfo::exists(citta));
    EXPECT_TRUE(QFileInfo::exists(QDir(avvio.cartellaUtente).filePath("Astrovela.ini")));
    EXPECT_EQ(QDir(locks.filePath("run")).entryList(QDir::Files | QDir::Hidden), QStringList());

    // With room again: the lock is taken and the list copied, silently; only
    // a copy that holds the lock makes another one "already running".
    fakes.prompt.calls.clear();
    EXPECT_TRUE(core::MDIForm_Initialize(avvio));
    EXPECT_TRUE(fakes.prompt.calls.isEmpty()) << fakes.prompt.texts().join("\n--\n").toStdString();
    EXPECT_TRUE(istanza.isHeld());
    QFile copia(citta);
    ASSERT_TRUE(copia.open(QIODevice::ReadOnly));
    EXPECT_EQ(copia.readAll(), "x");
    platform::SingleInstance seconda(lock);
    avvio.istanza = &seconda;
    EXPECT_FALSE(core::MDIForm_Initialize(avvio));
    EXPECT_TRUE(seconda.heldElsewhere());
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text, "Already running");
}

TEST_F(StartupTest, AReadOnlyHomeIsToldAsTheFolderThatCannotBeMadeAtStartAndAtTheEnd)
{
    // The data folder cannot be made where the home may not be written: the
    // start names each file and gives that folder's reason (not "No such
    // file or directory"); at the end the list is said not to be saved,
    // without a previous file said to be kept where there was none.
    setLanguage("english.ini");
    QTemporaryDir casa;
    avvio.cartellaUtente = casa.filePath("home/.local/share/Astrovela");
    ASSERT_TRUE(QDir().mkpath(casa.filePath("home")));
    ASSERT_TRUE(UtenteOrdinario::Passabile(program.path()) && UtenteOrdinario::Passabile(casa.path()));
    ASSERT_TRUE(QFile::setPermissions(casa.filePath("home"), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                                  | QFile::ExeOther));
    const QString lista = QDir(avvio.cartellaUtente).filePath("Astrovela.ini");
    const QString citta = QDir(avvio.cartellaUtente).filePath("cities.dat");
    const QString motivo = "The folder " + QDir::toNativeSeparators(casa.filePath("home/.local"))
        + " could not be made: Permission denied.";
    {
        UtenteOrdinario utente;
        ASSERT_TRUE(utente.attivo());
        EXPECT_TRUE(core::MDIForm_Initialize(avvio));
        core::Carica_Lista_Lavoro(avvio.cartellaUtente);
        EXPECT_FALSE(core::Salva_Lista_Lavoro());
    }
    ASSERT_EQ(fakes.prompt.calls.size(), 2) << fakes.prompt.texts().join("\n--\n").toStdString();
    EXPECT_EQ(fakes.prompt.calls[0].text.toStdString(),
              ("Not made:\r\n\r\n" + QDir::toNativeSeparators(lista) + "\r\n" + motivo + "\r\n\r\n"
               + QDir::toNativeSeparators(citta) + "\r\n" + motivo)
                  .toStdString());
    EXPECT_EQ(fakes.prompt.calls[1].text.toStdString(),
              ("The working list was not saved:\r\n" + QDir::toNativeSeparators(lista) + ": " + motivo).toStdString());
    EXPECT_EQ(fakes.prompt.calls[1].flags & 0x70, platform::vbExclamation);
    EXPECT_EQ(QDir(casa.filePath("home")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList());
    core::WorkingList::instance().setFile({});
    ASSERT_TRUE(QFile::setPermissions(casa.filePath("home"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

TEST_F(StartupTest, MissingFixedFileEndsWithTheInstallationMessage)
{
    setLanguage("english.ini");
    QFile::remove(program.filePath("frequen.dat"));
    EXPECT_FALSE(core::MDIForm_Initialize(avvio));
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text, "Files are missing\r\nInstall again\r\n\r\n"
                                          "Missing: frequen.dat\r\nLooked in:\r\n" + program.path());
    EXPECT_EQ(fakes.prompt.calls[0].flags & 0x70, platform::vbCritical);

    // The magnitude table is not among the files tested here.
    write(program.filePath("frequen.dat"), "x");
    fakes.prompt.calls.clear();
    EXPECT_TRUE(core::MDIForm_Initialize(avvio));
    EXPECT_TRUE(fakes.prompt.calls.isEmpty());
}

TEST_F(StartupTest, UserFilesAreCreatedOrCopiedButNeverOverwritten)
{
    setLanguage("english.ini");
    write(program.filePath("cities.dat"), "\"Italy: Milano\",45470,9190,133,1\r\n");
    ASSERT_TRUE(core::MDIForm_Initialize(avvio));
    QFile list(QDir(avvio.cartellaUtente).filePath("Astrovela.ini"));
    ASSERT_TRUE(list.exists());
    EXPECT_EQ(list.size(), 0);
    QFile cities(QDir(avvio.cartellaUtente).filePath("cities.dat"));
    ASSERT_TRUE(cities.open(QIODevice::ReadOnly));
    EXPECT_TRUE(cities.readAll().startsWith("\"Italy: Milano\""));
    cities.close();

    write(list.fileName(), "kept");
    write(program.filePath("cities.dat"), "changed");
    ASSERT_TRUE(core::MDIForm_Initialize(avvio));
    ASSERT_TRUE(list.open(QIODevice::ReadOnly));
    EXPECT_EQ(list.readAll(), "kept");
    ASSERT_TRUE(cities.open(QIODevice::ReadOnly));
    EXPECT_TRUE(cities.readAll().startsWith("\"Italy: Milano\""));
}

TEST_F(StartupTest, WorkingListOfTheLastRunIsLoadedAndBadSetsReported)
{
    setLanguage("english.ini");
    ASSERT_TRUE(core::MDIForm_Initialize(avvio));
    const QByteArray &good1 = kRiga1, &good2 = kRiga2;
    QByteArray bad2 = good2;
    bad2.replace(52, 11, " 0.00000000");
    write(QDir(avvio.cartellaUtente).filePath("Astrovela.ini"),
          "Delta 1 Deb\r\n" + good1 + "\r\n" + good2 + "\r\nDead\r\n" + good1 + "\r\n" + bad2 + "\r\n");
    core::Carica_Lista_Lavoro(avvio.cartellaUtente);
    EXPECT_EQ(gintNumSatelliti, 1);
    EXPECT_EQ(gudtSatelementi[1].Nome, "Delta 1 Deb");
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_TRUE(fakes.prompt.calls[0].text.startsWith("Element set not valid\r\nDead"));
    EXPECT_EQ(core::WorkingList::instance().file(),
              QDir(avvio.cartellaUtente).filePath("Astrovela.ini"));
    // The set left out is still in the copy kept of the file as read, also
    // after the list has been saved without it.
    core::WorkingList::instance().Ruota();
    QFile kept(QDir(avvio.cartellaUtente).filePath("Astrovela.ini.bak"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_TRUE(kept.readAll().contains("Dead\r\n" + good1));
    core::WorkingList::instance().setFile({});
    core::WorkingList::instance().Rimuovi_Tutti();
}

TEST_F(StartupTest, ManyBadSetsGiveOneMessage)
{
    setLanguage("english.ini");
    ASSERT_TRUE(core::MDIForm_Initialize(avvio));
    QByteArray text;
    for (int k = 0; k < 500; ++k)
        text += "Junk " + QByteArray::number(k) + "\r\n1 not a line\r\n2 nor this\r\n";
    write(QDir(avvio.cartellaUtente).filePath("Astrovela.ini"), text);
    core::Carica_Lista_Lavoro(avvio.cartellaUtente);
    EXPECT_EQ(gintNumSatelliti, 0);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_TRUE(fakes.prompt.calls[0].text.contains("Junk 0"));
    EXPECT_TRUE(fakes.prompt.calls[0].text.contains("Junk 9"));
    EXPECT_FALSE(fakes.prompt.calls[0].text.contains("Junk 10\r"));
    EXPECT_TRUE(fakes.prompt.calls[0].text.contains("(+490)\r\n\r\nKept in\r\n"));
    core::WorkingList::instance().setFile({});
    core::WorkingList::instance().Rimuovi_Tutti();
}

TEST_F(StartupTest, DaylightSavingQuestion)
{
    setLanguage("english.ini");
    ASSERT_TRUE(core::MDIForm_Initialize(avvio));
    fakes.settings.setValue("Osservatore", "Fuso", "1");
    Leggi_impostazioni();
    ASSERT_FALSE(Impostazioni_modificate());
    gbytOraLegale = 0;
    gsngFusoOrario = 1;
    fakes.timeZone.state = platform::TimeZoneState{-120, true};
    fakes.prompt.answers = {platform::vbNo};
    core::Verifica_Ora_Legale();
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_EQ(fakes.prompt.calls[0].text, "Daylight saving differs\r\nChange it?");
    EXPECT_EQ(fakes.prompt.calls[0].flags, platform::vbYesNo | platform::vbQuestion);
    EXPECT_EQ(gbytOraLegale, 0);
    EXPECT_FALSE(fakes.settings.value("Osservatore", "Ora legale").has_value());

    fakes.prompt.answers = {platform::vbYes};
    core::Verifica_Ora_Legale();
    EXPECT_EQ(gbytOraLegale, 1);
    EXPECT_EQ(fakes.settings.value("Osservatore", "Ora legale"), QString("1"));
    // What was written is what the exit check compares with: nothing has
    // changed since the settings were read, and exit does not ask.
    EXPECT_FALSE(Impostazioni_modificate());

    // Same state, or a zone the system cannot tell: no question.
    core::Verifica_Ora_Legale();
    fakes.timeZone.state.reset();
    gbytOraLegale = 0;
    core::Verifica_Ora_Legale();
    EXPECT_EQ(fakes.prompt.calls.size(), 2);

    // A computer kept in universal time, or in New York's summer time, says
    // nothing about Milan's: no question, and the observer's setting stays.
    gbytOraLegale = 1;
    fakes.timeZone.state = platform::TimeZoneState{0, false};
    core::Verifica_Ora_Legale();
    fakes.timeZone.state = platform::TimeZoneState{240, true};
    core::Verifica_Ora_Legale();
    EXPECT_EQ(fakes.prompt.calls.size(), 2);
    EXPECT_EQ(gbytOraLegale, 1);
    // Kolkata's computer for a Kolkata observer, both in standard time: no question either.
    gsngFusoOrario = 5.5f;
    gbytOraLegale = 0;
    fakes.timeZone.state = platform::TimeZoneState{-330, false};
    core::Verifica_Ora_Legale();
    EXPECT_EQ(fakes.prompt.calls.size(), 2);
    gsngFusoOrario = 1;
}

// The language setting names a file of the program folder and nothing else;
// a file there that gives no texts is named, and the built-in English texts
// are used so that the main window still has its menus.
TEST_F(StartupTest, LanguageSettingIsAFileOfTheProgramFolderAndAnEmptyOneIsReplaced)
{
    write(program.filePath("Astrovela.ini"), "");
    // Outside the folder, through it, or absolute: not a language file of
    // the program; the picker is asked, and cancelled ends the start.
    QTemporaryDir outside;
    write(outside.filePath("evil.ini"), "[MDIForm1]\r\nmnuFile=Owned\r\n");
    const QString relative = QDir(program.path()).relativeFilePath(outside.filePath("evil.ini"));
    ASSERT_TRUE(relative.startsWith("../"));
    for (const QString& setting : {relative, outside.filePath("evil.ini"), QStringLiteral("../../../../etc/passwd"),
                                   QStringLiteral("./english.ini")}) {
        SCOPED_TRACE(setting.toStdString());
        setLanguage(setting);
        int shown = 0;
        avvio.scegliLingua = [&] { ++shown; };
        EXPECT_FALSE(core::MDIForm_Initialize(avvio));
        EXPECT_EQ(shown, 1);
        EXPECT_TRUE(gstrFileLingua.isEmpty());
        EXPECT_NE(mLang::Testo_Lingua("MDIForm1", "mnuFile"), "Owned");
    }

    // An empty english.ini (and a file that is not a language file at all)
    // is named in one message; the program's own English texts stand in.
    for (const QByteArray& contents : {QByteArray(), QByteArray("root:x:0:0:root:/root:/bin/bash\n")}) {
        fakes.prompt.calls.clear();
        write(program.filePath("english.ini"), contents);
        setLanguage("english.ini");
        gblnLinguaCaricata = false;
        EXPECT_TRUE(core::MDIForm_Initialize(avvio));
        EXPECT_EQ(gstrFileLingua, "english.ini");
        ASSERT_EQ(fakes.prompt.calls.size(), 1);
        EXPECT_TRUE(fakes.prompt.calls[0].text.contains(QDir::toNativeSeparators(program.filePath("english.ini"))))
            << fakes.prompt.calls[0].text.toStdString();
        EXPECT_TRUE(fakes.prompt.calls[0].text.startsWith("The language file gives no texts"));
        EXPECT_EQ(mLang::Testo_Lingua("MDIForm1", "mnuFileEsci"), "E&xit");
        EXPECT_EQ(mLang::Testo_Lingua("Buttons", "ok"), "OK");
    }
}

// A working list that is a link to a device without end, or a named pipe
// (which would wait for a writer for ever), is refused at once with its
// name; the start goes on with an empty list, no copy of it is attempted
// and nothing is saved over it.
TEST_F(StartupTest, AWorkingListThatIsNoOrdinaryFileIsRefusedAndTheStartGoesOn)
{
    setLanguage("english.ini");
    ASSERT_TRUE(core::MDIForm_Initialize(avvio));
    const QString file = QDir(avvio.cartellaUtente).filePath("Astrovela.ini");
    for (const bool pipa : {false, true}) {
        SCOPED_TRACE(pipa ? "named pipe" : "/dev/zero");
        fakes.prompt.calls.clear();
        QFile::remove(file);
        std::optional<NamedPipe> pipe;
        if (pipa) {
            ASSERT_TRUE(pipe.emplace(file).made());
        } else {
            ASSERT_TRUE(QFile::link("/dev/zero", file));
        }
        core::Carica_Lista_Lavoro(avvio.cartellaUtente);
        EXPECT_EQ(gintNumSatelliti, 0);
        ASSERT_EQ(fakes.prompt.calls.size(), 1);
        EXPECT_TRUE(fakes.prompt.calls[0].text.startsWith("The working list could not be read"));
        EXPECT_TRUE(fakes.prompt.calls[0].text.contains(QDir::toNativeSeparators(file) + " is not an ordinary file"))
            << fakes.prompt.calls[0].text.toStdString();
        EXPECT_FALSE(QFileInfo::exists(file + ".bak"));
        EXPECT_TRUE(core::WorkingList::instance().file().isEmpty());
        if (pipe) {
            EXPECT_FALSE(pipe->waited());
        }
        core::WorkingList::instance().setFile({});
        core::WorkingList::instance().Rimuovi_Tutti();
    }
}

TEST_F(StartupTest, SettingsWithLinesThatAreNotSettingsAreToldOnceInTheLanguageChosen)
{
    // Bytes another program has left after the language line: the start
    // goes on with what could be read, and says so once, in that language,
    // naming the file, the line (as read, its control characters blanks)
    // and the copy kept (beside the user's own).
    ASSERT_TRUE(QFile::copy(ASTROVELA_SOURCE_DIR "/lang/italiano.ini", program.filePath("italiano.ini")));
    const QString file = user.filePath("Astrovela.conf");
    const QByteArray guasto = "[Generali]\nLingua=italiano.ini\n\x8F\xFF\x01\xC3(rovinato\n";
    write(file, guasto);
    write(file + ".bak", "la mia copia");
    platform::IniSettingsStore ini(file);
    platform::Services servizi = fakes.services();
    servizi.settings = &ini;
    platform::ScopedServices conFile(servizi);
    EXPECT_TRUE(core::MDIForm_Initialize(avvio));
    ASSERT_EQ(fakes.prompt.calls.size(), 1) << fakes.prompt.texts().join("\n--\n").toStdString();
    const QString testo = fakes.prompt.calls[0].text;
    EXPECT_EQ(testo.toStdString(),
              ("Il file delle impostazioni " + QDir::toNativeSeparators(file)
               + " contiene righe che non sono impostazioni, la prima alla riga 3 (\"" + QString::fromUtf8("ÿ Ã")
               + "(rovinato\"). Si usano le impostazioni che è stato possibile leggere, e il prossimo salvataggio "
                 "tralascia quelle righe. Il file com'era è conservato come "
               + QDir::toNativeSeparators(file + ".1.bak") + ".")
                  .toStdString());
    EXPECT_EQ(fakes.prompt.calls[0].flags & 0x70, platform::vbExclamation);
    QFile copia(file + ".1.bak"), propria(file + ".bak");
    ASSERT_TRUE(copia.open(QIODevice::ReadOnly) && propria.open(QIODevice::ReadOnly));
    EXPECT_EQ(copia.readAll(), guasto);
    EXPECT_EQ(propria.readAll(), "la mia copia");
    // Once in a run.
    fakes.prompt.calls.clear();
    EXPECT_TRUE(core::MDIForm_Initialize(avvio));
    EXPECT_TRUE(fakes.prompt.calls.isEmpty()) << fakes.prompt.texts().join("\n--\n").toStdString();
}

TEST_F(StartupTest, SettingsThatCannotBeReadAreToldBeforeThePickerAsksAnything)
{
    // A named pipe in place of the settings file: no language can be read,
    // and the start says so at once, naming the file and why, before the
    // language picker asks anything; nothing waits for a writer.
    NamedPipe pipe(user.filePath("Astrovela.conf"));
    ASSERT_TRUE(pipe.made());
    platform::IniSettingsStore ini(pipe.path());
    platform::Services servizi = fakes.services();
    servizi.settings = &ini;
    platform::ScopedServices conPipa(servizi);
    qsizetype dettiPrima = -1;
    avvio.scegliLingua = [&] { dettiPrima = fakes.prompt.calls.size(); };
    EXPECT_FALSE(core::MDIForm_Initialize(avvio));   // the picker chose nothing
    EXPECT_EQ(dettiPrima, 1);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    const QString testo = fakes.prompt.calls[0].text;
    EXPECT_TRUE(testo.startsWith("The settings cannot be read")) << testo.toStdString();
    EXPECT_TRUE(testo.contains(QDir::toNativeSeparators(pipe.path()) + " is not an ordinary file")) << testo.toStdString();
    EXPECT_TRUE(testo.endsWith("it has not been read. The settings file was left as it is.")) << testo.toStdString();
    EXPECT_EQ(fakes.prompt.calls[0].flags & 0x70, platform::vbExclamation);
    EXPECT_FALSE(pipe.waited());
    EXPECT_FALSE(QFileInfo(pipe.path()).isFile());

    // Settings that were read say nothing.
    fakes.prompt.calls.clear();
    platform::IniSettingsStore letto(user.filePath("letto.conf"));
    servizi.settings = &letto;
    platform::ScopedServices conFile(servizi);
    ASSERT_TRUE(letto.setValue("Generali", "Lingua", "english.ini"));
    EXPECT_TRUE(core::MDIForm_Initialize(avvio));
    EXPECT_TRUE(fakes.prompt.calls.isEmpty()) << fakes.prompt.texts().join("\n--\n").toStdString();
}

TEST_F(StartupTest, ARepeatedSatelliteIsToldAndKept)
{
    // The same catalogue number twice in the list's file: the first set
    // loads, the repeated one is named in the start-up message, and it is
    // kept (the file as read beside it, the set in the file of removed sets)
    // before the next save writes the list without it.
    setLanguage("english.ini");
    ASSERT_TRUE(core::MDIForm_Initialize(avvio));
    const QByteArray &l1 = kRiga1, &l2 = kRiga2;
    QByteArray l1b = l1;
    l1b.replace(18, 14, "06177.00000000");
    const QString file = QDir(avvio.cartellaUtente).filePath("Astrovela.ini");
    const QByteArray testo = "Delta 1 Deb\r\n" + l1 + "\r\n" + l2 + "\r\nDelta Again\r\n" + l1b + "\r\n" + l2 + "\r\n";
    write(file, testo);
    core::Carica_Lista_Lavoro(avvio.cartellaUtente);
    EXPECT_EQ(gintNumSatelliti, 1);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    const QString t = fakes.prompt.calls[0].text;
    EXPECT_TRUE(t.startsWith("Listed twice\r\nDelta Again\r\n")) << t.toStdString();
    EXPECT_TRUE(t.endsWith("Kept in\r\n" + QDir::toNativeSeparators(file + ".removed"))) << t.toStdString();
    core::WorkingList::instance().Ruota();   // saved without it
    QFile bak(file + ".bak"), removed(file + ".removed");
    ASSERT_TRUE(bak.open(QIODevice::ReadOnly) && removed.open(QIODevice::ReadOnly));
    EXPECT_EQ(bak.readAll(), testo);
    EXPECT_EQ(removed.readAll(), "Delta Again\r\n" + l1b + "\r\n" + l2 + "\r\n");
    core::WorkingList::instance().setFile({});
    core::WorkingList::instance().Rimuovi_Tutti();
}

// A working list saved as UTF-16 (either byte order, with its mark) is read
// as the same list.
TEST_F(StartupTest, AWorkingListSavedAsUtf16IsRead)
{
    setLanguage("english.ini");
    ASSERT_TRUE(core::MDIForm_Initialize(avvio));
    const QString testo = QString::fromLatin1("Delta 1 Deb\r\n" + kRiga1 + "\r\n" + kRiga2 + "\r\n");
    for (const vb::TextEncoding codifica : {vb::TextEncoding::Utf16LeBom, vb::TextEncoding::Utf16BeBom}) {
        fakes.prompt.calls.clear();
        write(QDir(avvio.cartellaUtente).filePath("Astrovela.ini"), vb::encodeText(testo, codifica));
        core::Carica_Lista_Lavoro(avvio.cartellaUtente);
        EXPECT_TRUE(fakes.prompt.calls.isEmpty()) << fakes.prompt.calls.value(0).text.toStdString();
        EXPECT_EQ(gintNumSatelliti, 1);
        EXPECT_EQ(gudtSatelementi[1].Nome, "Delta 1 Deb");
        core::WorkingList::instance().setFile({});
        core::WorkingList::instance().Rimuovi_Tutti();
    }
}

TEST_F(StartupTest, AListThatCannotBeReadLeavesTheBackupAloneAndIsNotSavedOver)
{
    // A folder where the list's file should be: the message says why, the
    // backup of an earlier run stays as it was, and the list of this run is
    // not saved over what could not be read.
    setLanguage("english.ini");
    ASSERT_TRUE(core::MDIForm_Initialize(avvio));
    const QString file = QDir(avvio.cartellaUtente).filePath("Astrovela.ini");
    QFile::remove(file);
    ASSERT_TRUE(QDir().mkpath(file));
    write(file + ".bak", "an earlier backup");
    core::Carica_Lista_Lavoro(avvio.cartellaUtente);
    ASSERT_EQ(fakes.prompt.calls.size(), 1);
    EXPECT_TRUE(fakes.prompt.calls[0].text.startsWith("The working list could not be read\r\n"));
    EXPECT_TRUE(fakes.prompt.calls[0].text.endsWith("Not saved in this run"));
    QFile bak(file + ".bak");
    ASSERT_TRUE(bak.open(QIODevice::ReadOnly));
    EXPECT_EQ(bak.readAll(), "an earlier backup");
    EXPECT_TRUE(core::WorkingList::instance().file().isEmpty());
    EXPECT_TRUE(core::Salva_Lista_Lavoro());
    EXPECT_TRUE(QFileInfo(file).isDir());
    core::WorkingList::instance().Rimuovi_Tutti();
}
