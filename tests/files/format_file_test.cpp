// Tools > Format file on files that are not plain ASCII element files: a
// UTF-16 file is rewritten as UTF-16, a file that is not text is refused and
// left unchanged, and a copy of any file rewritten is kept.
#include "core/mlang.h"
#include "files/file_menu.h"
#include "platform/fakes.h"
#include "platform/vb.h"
#include "support/ordinary_user.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray Leggi(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

void Scrivi(const QString& path, const QByteArray& b)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(b);
}

struct FormatFile : ::testing::Test {
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    QTemporaryDir dir;
    void SetUp() override { mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini")); }
    void TearDown() override { mLang::Usa_File_Lingua({}); }
    // Runs the command on `path`; the text of its last message.
    QString Formatta(const QString& path)
    {
        fakes.prompt.calls.clear();
        fakes.files.fileAnswers = {path};
        files::Formattazione_File(nullptr);
        return fakes.prompt.calls.isEmpty() ? QString() : fakes.prompt.calls.last().text;
    }
};

} // namespace

TEST_F(FormatFile, Utf16IsRewrittenAsUtf16AndACopyIsKept)
{
    const QString testo = QStringLiteral("  ISS (ZARYA)  \n1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927\n"
                                         "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537   \n");
    const QString atteso = QStringLiteral("ISS (ZARYA)\r\n1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927\r\n"
                                          "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537\r\n");
    for (const vb::TextEncoding codifica : {vb::TextEncoding::Utf16LeBom, vb::TextEncoding::Utf16BeBom,
                                            vb::TextEncoding::Utf8}) {
        const QString path = dir.filePath(QStringLiteral("sets.txt"));
        const QByteArray prima = vb::encodeText(testo, codifica);
        Scrivi(path, prima);
        QFile::remove(path + ".bak");
        const QString msg = Formatta(path);
        EXPECT_TRUE(msg.startsWith(mLang::Testo_Lingua("MDIForm1", "conversioneterminata"))) << msg.toStdString();
        EXPECT_TRUE(msg.contains(QDir::toNativeSeparators(path + ".bak"))) << msg.toStdString();
        const QByteArray dopo = Leggi(path);
        EXPECT_EQ(dopo, vb::encodeText(atteso, codifica));
        // No lone carriage returns inserted between the bytes of a character.
        const vb::TextDocument doc = vb::decodeText(dopo);
        EXPECT_TRUE(vb::isPlainText(doc));
        EXPECT_EQ(doc.text, atteso);
        EXPECT_EQ(Leggi(path + ".bak"), prima);
    }
}

TEST_F(FormatFile, AFileThatIsNotTextIsRefusedAndLeftUnchanged)
{
    static const char kPng[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10  \r\n";
    const QByteArray png(kPng, sizeof kPng - 1);
    const QByteArray utf16Rotto = QByteArray("\xFF\xFE") + QByteArray("I\0S\0S\0\r\0\n\0\x3D\xD8", 12);
    const QByteArray senzaMarca("I\0S\0S\0\r\0\n\0", 10);
    for (const QByteArray& b : {png, utf16Rotto, senzaMarca}) {
        const QString path = dir.filePath(QStringLiteral("not_text.bin"));
        Scrivi(path, b);
        const QString msg = Formatta(path);
        EXPECT_TRUE(msg.startsWith(mLang::Testo_Lingua("MDIForm1", "conversionenontesto"))) << msg.toStdString();
        EXPECT_TRUE(msg.contains(QDir::toNativeSeparators(path)));
        EXPECT_EQ(fakes.prompt.calls.last().flags & 0x70, platform::vbExclamation);
        EXPECT_EQ(Leggi(path), b);
        EXPECT_FALSE(QFile::exists(path + ".bak"));
    }
}

TEST_F(FormatFile, AFileThatNeedsNoChangeIsSaidSoAndLeftAlone)
{
    // Already CR LF after every line and no blanks at the ends: the message
    // says nothing needed changing (not that it was converted), the file
    // keeps its bytes and date, and no copy is made. Repaired once, a file
    // needs nothing the second time.
    const QByteArray pulito = "ISS (ZARYA)\r\n1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927\r\n"
                              "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537\r\n";
    const QString path = dir.filePath(QStringLiteral("clean.txt"));
    Scrivi(path, pulito);
    const QDateTime data = QFileInfo(path).lastModified();
    const QString atteso = mLang::Testo_Lingua("MDIForm1", "conversionenonnecessaria") + QStringLiteral("\r\n")
        + QDir::toNativeSeparators(path);
    EXPECT_EQ(Formatta(path), atteso);
    EXPECT_EQ(fakes.prompt.calls.last().flags & 0x70, platform::vbInformation);
    EXPECT_EQ(Leggi(path), pulito);
    EXPECT_EQ(QFileInfo(path).lastModified(), data);
    EXPECT_FALSE(QFile::exists(path + ".bak"));

    Scrivi(path, "  ISS (ZARYA)\n" + pulito.mid(13));
    EXPECT_TRUE(Formatta(path).startsWith(mLang::Testo_Lingua("MDIForm1", "conversioneterminata")));
    EXPECT_EQ(Leggi(path), pulito);
    QFile::remove(path + ".bak");
    EXPECT_EQ(Formatta(path), atteso);
    EXPECT_FALSE(QFile::exists(path + ".bak"));
}

TEST_F(FormatFile, TheUsersOwnBackupIsNeverWrittenOver)
{
    // dirty.txt.bak is the user's: the copy goes to the next free name, the
    // message names that one, and a second repair takes the name after it.
    const QByteArray sporco = "  ISS (ZARYA)\n1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927\n"
                              "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537   \n";
    const QString path = dir.filePath(QStringLiteral("dirty.txt"));
    Scrivi(path, sporco);
    Scrivi(path + ".bak", "MY OWN BACKUP");
    QString msg = Formatta(path);
    EXPECT_TRUE(msg.startsWith(mLang::Testo_Lingua("MDIForm1", "conversioneterminata"))) << msg.toStdString();
    EXPECT_TRUE(msg.endsWith(QDir::toNativeSeparators(path + ".1.bak"))) << msg.toStdString();
    EXPECT_EQ(Leggi(path + ".bak").toStdString(), "MY OWN BACKUP");
    EXPECT_EQ(Leggi(path + ".1.bak"), sporco);

    // A dangling link in the way counts as taken too.
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("nowhere")), path + ".2.bak"));
    Scrivi(path, sporco + "  ");
    msg = Formatta(path);
    EXPECT_TRUE(msg.endsWith(QDir::toNativeSeparators(path + ".3.bak"))) << msg.toStdString();
    EXPECT_EQ(Leggi(path + ".3.bak"), sporco + "  ");
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("nowhere"))));
    EXPECT_EQ(Leggi(path + ".bak").toStdString(), "MY OWN BACKUP");
    EXPECT_EQ(Leggi(path + ".1.bak"), sporco);
}

TEST_F(FormatFile, AFileInAFolderThatMayNotBeWrittenIsLeftAsItWasAndTheCopyNamed)
{
    // The copy of the file as it was is made first; where it cannot be (a
    // folder the user may not write), the message names that copy and the
    // system's reason, and the file is not touched.
    const QByteArray sporco = "  ISS (ZARYA)\n1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927\n"
                              "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537   \n";
    // The file is the user's own, and the user may write it: the folder is
    // what refuses, and is named, in the user's language.
    const QString path = dir.filePath(QStringLiteral("sets.txt"));
    Scrivi(path, sporco);
    ASSERT_TRUE(UtenteOrdinario::Proprio(path));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                      | QFile::ExeOther));
    const QString cartella = QDir::toNativeSeparators(dir.path());
    const QString copia = QDir::toNativeSeparators(path + ".bak");
    const struct {
        const char* lingua;
        QString testo;
    } casi[] = {
        {"english.ini", "The file could not be converted; it has been left as it was.\rThe copy " + copia
                            + " that would keep the file as it was could not be made: Permission denied in the "
                              "folder " + cartella + ", where no new file may be made (a file is saved by writing "
                              "its new copy beside it, which then takes its place)."},
        {"italiano.ini", "Impossibile convertire il file; è stato lasciato com'era.\rImpossibile fare la copia " + copia
                             + " che conserverebbe il file com'era: Permesso negato nella cartella " + cartella
                             + ", dove non si possono creare nuovi file (un file si salva scrivendone la nuova copia "
                               "accanto, che poi prende il suo posto)."},
    };
    for (const auto& c : casi) {
        SCOPED_TRACE(c.lingua);
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/") + QLatin1String(c.lingua));
        QString msg;
        {
            UtenteOrdinario utente;
            ASSERT_TRUE(utente.attivo());
            msg = Formatta(path);
        }
        EXPECT_EQ(msg.toStdString(), c.testo.toStdString());
        EXPECT_EQ(fakes.prompt.calls.last().flags & 0x70, platform::vbExclamation);
    }
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    EXPECT_EQ(Leggi(path), sporco);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("sets.txt")});
}
