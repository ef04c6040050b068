// Language file reading and text lookup.
#include "core/mlang.h"
#include "core/settings.h"
#include "platform/vb.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class LanguageTest : public ::testing::Test {
protected:
    QTemporaryDir dir;

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    void use(const QByteArray& bytes) { ASSERT_TRUE(mLang::Usa_File_Lingua(write("test.ini", bytes))); }

    void TearDown() override
    {
        mLang::Usa_File_Lingua({});
        mLang::Imposta_Cartella_Programma({});
        gstrFileLingua.clear();
    }
};

const QByteArray kSample =
    "stray=before any header\r\n"
    "[MDIForm1] captions of the main window\r\n"
    "ok=Main OK\r\n"
    "spaced =never found\r\n"
    "empty=\r\n"
    "formula=a=b+c\r\n"
    "padded=  two blanks  \r\n"
    "; a comment line\r\n"
    "\r\n"
    "[Buttons]\r\n"
    "Ok=OK\r\n"
    "cancel=Cancel\r\n"
    "[MDIForm1]\r\n"
    "later=second header\r\n"
    "[frmAbout]\r\n"
    "title=About\r\n";

TEST_F(LanguageTest, SectionsAndKeysMatchWithoutCase)
{
    use(kSample);
    EXPECT_EQ(mLang::Testo_Lingua("MDIform1", "OK"), "Main OK");
    EXPECT_EQ(mLang::Testo_Lingua("buttons", "ok"), "OK");
    EXPECT_EQ(mLang::Testo_Lingua("FRMABOUT", "Title"), "About");
}

TEST_F(LanguageTest, ValuesAreTakenWholeAfterTheFirstEquals)
{
    use(kSample);
    EXPECT_EQ(mLang::Testo_Lingua("MDIForm1", "formula"), "a=b+c");
    EXPECT_EQ(mLang::Testo_Lingua("MDIForm1", "padded"), "  two blanks  ");
    EXPECT_EQ(mLang::Leggi_Chiave_Lingua("MDIForm1", "empty", "dflt", mLang::File_Lingua_Corrente()),
              "");
}

TEST_F(LanguageTest, EntriesThatDoNotBelongAreNotFound)
{
    use(kSample);
    const QString file = mLang::File_Lingua_Corrente();
    // Blank between key and "=".
    EXPECT_EQ(mLang::Leggi_Chiave_Lingua("MDIForm1", "spaced", "dflt", file), "dflt");
    // Only in the following section.
    EXPECT_EQ(mLang::Testo_Lingua("MDIForm1", "cancel"), "");
    // Under a repeated header: only the first header of a name counts.
    EXPECT_EQ(mLang::Testo_Lingua("MDIForm1", "later"), "");
    // Above the first header.
    EXPECT_EQ(mLang::Testo_Lingua("", "stray"), "");
    // Names with markup are never looked up.
    EXPECT_EQ(mLang::Leggi_Chiave_Lingua("MDIForm1", "formula=a", "dflt", file), "dflt");
    EXPECT_EQ(mLang::Leggi_Chiave_Lingua("[MDIForm1]", "ok", "dflt", file), "dflt");
    EXPECT_EQ(mLang::Testo_Lingua("Nowhere", "ok"), "");
}

TEST_F(LanguageTest, EncodingsAndLineEnds)
{
    // Windows-1252: a grave a and the euro sign, lines ended by a lone CR.
    use("[Planets]\rluna=Luna \xe0 \x80\rsole=Sole\r");
    EXPECT_EQ(mLang::Testo_Lingua("Planets", "luna"), QString::fromUtf8("Luna à €"));
    EXPECT_EQ(mLang::Testo_Lingua("Planets", "sole"), "Sole");
    // UTF-8 with a byte-order mark and Unix line ends.
    use("\xef\xbb\xbf[Planets]\nluna=Luna \xc3\xa0 \xe2\x82\xac\nsole=Sun\n");
    EXPECT_EQ(mLang::Testo_Lingua("Planets", "luna"), QString::fromUtf8("Luna à €"));
    EXPECT_EQ(mLang::Testo_Lingua("Planets", "sole"), "Sun");
}

TEST_F(LanguageTest, MissingFileGivesEmptyTextsAndIsRetried)
{
    mLang::Imposta_Cartella_Programma(dir.path());
    gstrFileLingua = "english.ini";
    mLang::Usa_File_Lingua({});
    EXPECT_FALSE(gblnLinguaCaricata);
    EXPECT_EQ(mLang::Testo_Lingua("Buttons", "ok"), "");
    // The file appears later (the user copied it): the next lookup reads it.
    write("english.ini", "[Buttons]\r\nok=OK\r\n");
    EXPECT_EQ(mLang::Testo_Lingua("Buttons", "ok"), "OK");
    EXPECT_TRUE(gblnLinguaCaricata);
}

TEST_F(LanguageTest, ChoosingAnotherLanguageReadsTheNewFile)
{
    mLang::Imposta_Cartella_Programma(dir.path());
    write("english.ini", "[Buttons]\r\nclose=Close\r\n");
    write("italiano.ini", "[Buttons]\r\nclose=Chiudi\r\n");
    gstrFileLingua = "english.ini";
    mLang::Usa_File_Lingua({});
    EXPECT_EQ(mLang::Testo_Lingua("Buttons", "close"), "Close");
    // What the language picker does.
    gstrFileLingua = "italiano.ini";
    gblnLinguaCaricata = false;
    EXPECT_EQ(mLang::Testo_Lingua("Buttons", "close"), "Chiudi");
}

TEST_F(LanguageTest, ManyLinesAreAllReachable)
{
    // More lines than the old 32,767-entry table could hold.
    QByteArray big;
    for (int s = 0; s < 200; ++s) {
        big += "[frm" + QByteArray::number(s) + "]\r\n";
        for (int k = 0; k < 200; ++k)
            big += "key" + QByteArray::number(k) + "=v" + QByteArray::number(s * 1000 + k) + "\r\n";
    }
    use(big);
    EXPECT_EQ(mLang::Testo_Lingua("frm199", "key199"), "v199199");
    EXPECT_EQ(mLang::Testo_Lingua("FRM0", "KEY0"), "v0");
}

TEST_F(LanguageTest, LineScanStopsAtTheNextHeader)
{
    use(kSample);
    qsizetype i = 0;
    ASSERT_TRUE(mLang::Cerca_Riga(i, "[buttons]", false));
    EXPECT_EQ(gstrRigheLingua.at(i - 1), "[Buttons]");
    const qsizetype header = i;
    EXPECT_TRUE(mLang::Cerca_Riga(i, "CANCEL=", true));
    EXPECT_EQ(i, header + 2);
    EXPECT_FALSE(mLang::Cerca_Riga(i, "later=", true));
    i = header;
    EXPECT_TRUE(mLang::Cerca_Riga(i, "later=", false));
}

} // namespace

TEST_F(LanguageTest, ATextTheFileLacksIsTakenFromTheEnglishFile)
{
    mLang::Imposta_Cartella_Programma(dir.path());
    write("english.ini", "[MDIForm1]\r\nmnuFile=&File\r\nmnuTerra=&Earth\r\n[Dialogs]\r\nerrore=Something failed\r\n");
    write("italiano.ini", "[MDIForm1]\r\nmnuFile=&File (it)\r\nvuoto=\r\n");
    gstrFileLingua = "italiano.ini";
    mLang::Usa_File_Lingua({});
    EXPECT_EQ(mLang::Testo_Lingua("mdiform1", "MNUFILE"), "&File (it)");
    // A menu without a caption would vanish, an error box would show nothing.
    EXPECT_EQ(mLang::Testo_Lingua("MDIForm1", "mnuTerra"), "&Earth");
    EXPECT_EQ(mLang::Testo_Lingua("Dialogs", "errore"), "Something failed");
    // A text left empty on purpose stays empty; one neither file holds is empty.
    EXPECT_EQ(mLang::Testo_Lingua("MDIForm1", "vuoto"), "");
    EXPECT_EQ(mLang::Testo_Lingua("MDIForm1", "nessuno"), "");

    // What start-up reports: the missing keys in the English file's order.
    EXPECT_EQ(mLang::Chiavi_Mancanti(dir.filePath("italiano.ini"), dir.filePath("english.ini")),
              (QStringList{"[MDIForm1] mnuTerra", "[Dialogs] errore"}));
    const QString rapporto = mLang::Rapporto_Chiavi_Mancanti();
    EXPECT_TRUE(rapporto.contains("italiano.ini") && rapporto.contains("lacks 2 texts")
                && rapporto.contains("[Dialogs] errore"))
        << rapporto.toStdString();

    // With the English file in use there is nothing to fall back on or report.
    gstrFileLingua = "english.ini";
    mLang::Usa_File_Lingua({});
    EXPECT_EQ(mLang::Testo_Lingua("MDIForm1", "vuoto"), "");
    EXPECT_TRUE(mLang::Rapporto_Chiavi_Mancanti().isEmpty());
}

// The reasons the file layer gives (a missing folder, a file too large to
// read) are in the user's language like every other text.
TEST(LayerTexts, FileFailuresAreInTheChosenLanguage)
{
    QTemporaryDir dir;
    const QString big = dir.filePath("big.txt");
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(vb::kMaxTextFileBytes + 10));   // sparse
    }
    const QString cartella = dir.filePath("no/such");
    for (const char* lingua : {"italiano.ini", "english.ini"}) {
        SCOPED_TRACE(lingua);
        mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/") + lingua);
        QString errore;
        EXPECT_FALSE(vb::writeTextFile(cartella + "/x.txt", "x", vb::TextEncoding::Utf8, &errore));
        EXPECT_EQ(errore, mLang::Testo_Lingua("frmFile", "cartellainesistente").arg(QDir::toNativeSeparators(cartella)));
        EXPECT_FALSE(vb::readTextFile(big, &errore));
        EXPECT_EQ(errore, mLang::Testo_Lingua("frmFile", "filetroppogrande").arg(QDir::toNativeSeparators(big)).arg(64));
        if (qstrcmp(lingua, "italiano.ini") == 0) {
            EXPECT_TRUE(errore.startsWith("Il file")) << errore.toStdString();
            EXPECT_TRUE(mLang::Testo_Lingua("frmFile", "nonscrittointero").startsWith("Impossibile"));
        }
    }
    mLang::Usa_File_Lingua({});
}
