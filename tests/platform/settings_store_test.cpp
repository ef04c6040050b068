// The settings file keeps every text exactly and never loses the old file.
#include "platform/settings_store.h"
#include "platform/vb.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "support/full_disk.h"
#include "support/named_pipe.h"
#include "support/ordinary_user.h"
#include "support/file_replacements.h"

using platform::IniSettingsStore;
using platform::MemorySettingsStore;

namespace {
QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}
} // namespace

TEST(IniSettingsStoreTest, TextsComeBackExactlyAfterAReload)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cfg/Astrovela/Astrovela.conf"));
    const QList<QPair<QString, QString>> values = {
        {QStringLiteral("Empty"), QString()},
        {QStringLiteral("Blanks"), QStringLiteral("  two around  ")},
        {QStringLiteral("Only blanks"), QStringLiteral("   ")},
        {QStringLiteral("Equals"), QStringLiteral("a=b==c")},
        {QStringLiteral("Key=with=equals"), QStringLiteral("x")},
        {QStringLiteral("[bracket key]"), QStringLiteral("[not a section]")},
        {QStringLiteral(";semicolon"), QStringLiteral(";not a comment")},
        {QStringLiteral("Lines"), QStringLiteral("first\nsecond\r\nthird\rfourth\n")},
        {QStringLiteral("Backslashes"), QStringLiteral("C:\\Program Files\\n\\\\")},
        {QStringLiteral("Accents"), QString::fromUtf8("Città – 東京 °")},
        {QStringLiteral(""), QStringLiteral("empty key")},
        {QStringLiteral("Fuso"), QStringLiteral("5.5")},
        // What a line of the file may not hold raw still goes in and out.
        {QStringLiteral("Controls"), QString::fromUtf8("a\x01" "b\x1B[2J\x7F\xC2\x85\tc") + QChar(0) + u'd'},
        {QStringLiteral("Tab\tkey\x02"), QStringLiteral("\\u0041 \\x41")},
        {QChar(0xFEFF) + QStringLiteral("Marked key"), QChar(0xFEFF) + QStringLiteral("marked")},
    };
    {
        IniSettingsStore store(path);
        for (const auto& [k, v] : values) {
            QString error;
            ASSERT_TRUE(store.setValue(QStringLiteral("Sezione [1]\nx"), k, v, &error)) << error.toStdString();
        }
        ASSERT_TRUE(store.setValue(QStringLiteral("Other"), QStringLiteral("Fuso"), QStringLiteral("1")));
        // Overwriting keeps one entry.
        ASSERT_TRUE(store.setValue(QStringLiteral("Other"), QStringLiteral("Fuso"), QStringLiteral("2")));
    }
    IniSettingsStore reread(path);
    EXPECT_TRUE(reread.loadError().isEmpty());
    for (const auto& [k, v] : values) {
        const auto got = reread.value(QStringLiteral("Sezione [1]\nx"), k);
        ASSERT_TRUE(got.has_value()) << k.toStdString();
        EXPECT_EQ(*got, v) << k.toStdString();
    }
    EXPECT_EQ(reread.value(QStringLiteral("Other"), QStringLiteral("Fuso")), QStringLiteral("2"));
    EXPECT_EQ(fileBytes(path).count("Fuso=2"), 1);
    EXPECT_EQ(reread.lineaScartata(), 0);
    for (const char c : fileBytes(path))
        EXPECT_TRUE(c == '\t' || c == '\n' || (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F)) << int(c);
    // Missing keys and sections are told apart from empty texts.
    EXPECT_FALSE(reread.value(QStringLiteral("Other"), QStringLiteral("Missing")));
    EXPECT_FALSE(reread.value(QStringLiteral("Missing"), QStringLiteral("Fuso")));
    EXPECT_TRUE(reread.hasSection(QStringLiteral("Other")));
    EXPECT_FALSE(reread.hasSection(QStringLiteral("other"))); // names are exact
}

TEST(IniSettingsStoreTest, AFailedWriteLeavesTheOldFileAndSaysSo)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Astrovela.conf"));
    IniSettingsStore store(path);
    ASSERT_TRUE(store.setValue(QStringLiteral("Observer"), QStringLiteral("Name"), QStringLiteral("Milano")));
    const QByteArray before = fileBytes(path);
    ASSERT_FALSE(before.isEmpty());

    QString error;
    bool written = true;
    {
        FullDisk full(before.size()); // no room for a longer file
        ASSERT_TRUE(full.active());
        written = store.setValue(QStringLiteral("Observer"), QStringLiteral("Name"), QString(500, u'x'),
                                 &error);
    }
    EXPECT_FALSE(written);
    // The file and the system's reason, not "Unknown error" from a write
    // that stopped part-way.
    EXPECT_EQ(error.toStdString(), ("The settings file " + QDir::toNativeSeparators(path) + " could not be written: "
                                    + QString::fromLocal8Bit(std::strerror(EFBIG)) + ".")
                                       .toStdString());
    EXPECT_EQ(fileBytes(path), before);
    // Memory agrees with the file.
    EXPECT_EQ(store.value(QStringLiteral("Observer"), QStringLiteral("Name")), QStringLiteral("Milano"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Astrovela.conf")});

    // Several values at once: none of them is kept, in the file or in memory.
    {
        FullDisk full(before.size());
        ASSERT_TRUE(full.active());
        written = store.setValues({{QStringLiteral("Observer"), QStringLiteral("Name"), QStringLiteral("Roma")},
                                   {QStringLiteral("New"), QStringLiteral("Key"), QString(500, u'y')}},
                                  &error);
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(store.value(QStringLiteral("Observer"), QStringLiteral("Name")), QStringLiteral("Milano"));
    EXPECT_FALSE(store.hasSection(QStringLiteral("New")));

    // A folder the user may not write, the file being the user's own (as an
    // ordinary user: root may write anywhere): the file, and the folder that
    // refused its new copy with the system's own reason.
    ASSERT_TRUE(UtenteOrdinario::Proprio(path));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                      | QFile::ExeOther));
    {
        UtenteOrdinario utente;
        ASSERT_TRUE(utente.attivo());
        written = store.setValue(QStringLiteral("Observer"), QStringLiteral("Name"), QStringLiteral("Roma"), &error);
    }
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    EXPECT_FALSE(written);
    EXPECT_EQ(error.toStdString(),
              ("The settings file " + QDir::toNativeSeparators(path) + " could not be written: Permission denied in "
               "the folder " + QDir::toNativeSeparators(dir.path()) + ", where no new file may be made (a file is "
               "saved by writing its new copy beside it, which then takes its place).")
                  .toStdString());
    EXPECT_EQ(fileBytes(path), before);
}

TEST(IniSettingsStoreTest, SeveralValuesAreWrittenInOneGo)
{
    // One save of the settings replaces the file once, not once a value.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Astrovela.conf"));
    IniSettingsStore store(path);
    QList<platform::SettingsStore::Voce> voci;
    for (int i = 0; i < 20; ++i)
        voci.append({QStringLiteral("S%1").arg(i % 3), QStringLiteral("K%1").arg(i), QString::number(i)});
    SostituzioniFile sostituzioni(path);
    ASSERT_TRUE(sostituzioni.attivo());
    QString error;
    ASSERT_TRUE(store.setValues(voci, &error)) << error.toStdString();
    EXPECT_EQ(sostituzioni.conta(), 1);
    // Nothing new: nothing written.
    ASSERT_TRUE(store.setValues(voci, &error));
    EXPECT_EQ(sostituzioni.conta(), 1);
    IniSettingsStore reread(path);
    for (const auto& v : voci)
        EXPECT_EQ(reread.value(v.section, v.key), v.text);
}

TEST(IniSettingsStoreTest, AFileThatCannotBeReadIsNeverOverwritten)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Astrovela.conf"));
    ASSERT_TRUE(QDir().mkpath(path)); // something that is not a readable file
    IniSettingsStore store(path);
    EXPECT_FALSE(store.loadError().isEmpty());
    QString error;
    EXPECT_FALSE(store.setValue(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), &error));
    // Named once, in a message that reads as one.
    EXPECT_EQ(error.count(QDir::toNativeSeparators(path)), 1) << error.toStdString();
    EXPECT_FALSE(error.contains(QStringLiteral(".)"))) << error.toStdString();
    EXPECT_TRUE(QFileInfo(path).isDir());

    // A named pipe in its place: refused at once (no wait for a writer),
    // named, and left a pipe.
    {
        NamedPipe pipe(dir.filePath(QStringLiteral("pipe.conf")));
        ASSERT_TRUE(pipe.made());
        IniSettingsStore piped(pipe.path());
        EXPECT_FALSE(pipe.waited());
        EXPECT_TRUE(piped.loadError().contains(QDir::toNativeSeparators(pipe.path()))) << piped.loadError().toStdString();
        EXPECT_FALSE(piped.setValue(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), &error));
        EXPECT_EQ(error.count(QDir::toNativeSeparators(pipe.path())), 1) << error.toStdString();
        EXPECT_FALSE(QFileInfo(pipe.path()).isFile());
    }

    // A folder that cannot be made is reported too.
    QFile blocker(dir.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    IniSettingsStore nowhere(dir.filePath(QStringLiteral("blocker/sub/Astrovela.conf")));
    EXPECT_FALSE(nowhere.setValue(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(IniSettingsStoreTest, ReadsAHandEditedFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Astrovela.conf"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("; comment\r\nstray=before any section\r\n[Osservatore]\r\nNome=Citt\xE0\r\nno equals sign\r\nLat=45.4\r\n"
            " [Colori] \t\r\nSatellite=255\r\n");
    f.close();
    IniSettingsStore store(path);
    // A heading with blanks around it is still one.
    EXPECT_EQ(store.value(QStringLiteral("Colori"), QStringLiteral("Satellite")), QStringLiteral("255"));
    EXPECT_FALSE(store.value(QStringLiteral("Osservatore"), QStringLiteral("Satellite")));
    EXPECT_EQ(store.value(QStringLiteral("Osservatore"), QStringLiteral("Nome")), QString::fromUtf8("Città"));
    EXPECT_EQ(store.value(QStringLiteral("Osservatore"), QStringLiteral("Lat")), QStringLiteral("45.4"));
    EXPECT_FALSE(store.value(QString(), QStringLiteral("stray")));
    EXPECT_EQ(store.lineaScartata(), 1);

    // The lines that are not settings are not written back: the first save
    // keeps the file as it was beside the new one, and only once.
    const QByteArray hand = fileBytes(path);
    ASSERT_TRUE(store.setValue(QStringLiteral("Osservatore"), QStringLiteral("Lat"), QStringLiteral("46")));
    EXPECT_EQ(fileBytes(path + QStringLiteral(".bak")), hand);
    ASSERT_TRUE(store.setValue(QStringLiteral("Osservatore"), QStringLiteral("Lat"), QStringLiteral("47")));
    EXPECT_EQ(fileBytes(path + QStringLiteral(".bak")), hand);
    EXPECT_FALSE(fileBytes(path).contains("comment"));

    // A file of settings only leaves no copy.
    const QString clean = dir.filePath(QStringLiteral("clean.conf"));
    IniSettingsStore(clean).setValue(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"));
    IniSettingsStore again(clean);
    EXPECT_EQ(again.lineaScartata(), 0);
    ASSERT_TRUE(again.setValue(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("D")));
    EXPECT_FALSE(QFile::exists(clean + QStringLiteral(".bak")));
}

TEST(IniSettingsStoreTest, ReadsEveryEncodingAndLineEndAnotherEditorLeaves)
{
    // As other editors save it: UTF-8 with or without a byte-order mark (at
    // the start, or before a section where two files were joined),
    // Windows-1252, UTF-16; LF, CR LF, CR; the last line ended or not. ì, à
    // and ò lead a UTF-8 sequence: at the end of a value and within it.
    const QStringList righe = {QStringLiteral("[Generali]"), QStringLiteral("Barra stato=0"),
                               QStringLiteral("[Osservatore]"), QString::fromUtf8("Localita=Italy: Forlì"),
                               QStringLiteral("[Esegui]"), QString::fromUtf8("Programma=/opt/Città di Castello"),
                               QString::fromUtf8("Parametri=Cantò")};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Astrovela.conf"));
    for (const QByteArray tipo : {"UTF-8", "UTF-8, mark at the start", "UTF-8, mark before a section",
                                  "Windows-1252", "Windows-1252, mark before a section", "UTF-16"}) {
        for (const char* fine : {"\n", "\r\n", "\r"}) {
            for (const bool aperta : {false, true}) {
                SCOPED_TRACE((tipo + ", line end " + QByteArray(fine).toHex() + (aperta ? ", last line open" : "")).constData());
                QByteArray file;
                for (const QString& r : righe)
                    file += QByteArray(r == u"[Osservatore]" && tipo.contains("before") ? "\xEF\xBB\xBF" : "")
                        + (tipo.startsWith("Windows") ? vb::encodeWindows1252(r) : r.toUtf8()) + fine;
                file.chop(aperta ? qstrlen(fine) : 0);
                file.prepend(tipo.contains("start") ? "\xEF\xBB\xBF" : "");
                if (tipo == "UTF-16")
                    file = vb::encodeText(QString::fromUtf8(file), vb::TextEncoding::Utf16LeBom);
                writeBytes(path, file);
                // Read, saved back as the program saves its own file, read again.
                for (const bool salvato : {false, true}) {
                    IniSettingsStore store(path);
                    EXPECT_EQ(store.lineaScartata(), 0);
                    QString sezione;
                    for (const QString& r : righe) {
                        if (r.startsWith(u'[')) {
                            sezione = r.mid(1, r.size() - 2);
                            continue;
                        }
                        EXPECT_EQ(store.value(sezione, r.section(u'=', 0, 0)).value_or(QStringLiteral("(missing)")).toStdString(),
                                  r.section(u'=', 1).toStdString());
                    }
                    if (!salvato) {
                        ASSERT_TRUE(store.setValue(QStringLiteral("Generali"), QStringLiteral("Nuova"), QStringLiteral("1")));
                    }
                }
                EXPECT_FALSE(QFile::exists(path + QStringLiteral(".bak")));
                EXPECT_TRUE(fileBytes(path).contains("Localita=Italy: Forl\xC3\xAC\n"));
            }
        }
    }
}

TEST(IniSettingsStoreTest, ASpoiledFileIsToldOnceAndKeptBesideTheUsersOwnCopy)
{
    // Our own file, with bytes another program has left after the language
    // line (as a crash can leave it), beside a copy the user keeps.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Astrovela.conf"));
    static const char bytes[] = "\x8F\xFF\xFE\x00\x01\x1B[2J\xE2\x80\xAEspoiled\x9D\xC3(\n\xE2\x82\r\n";
    const QByteArray spoiled = QByteArray("[Osservatore]\nLocalita=Italy: Forl\xC3\xAC\nOra legale=1\n\n"
                                          "[Generali]\nLingua=italiano.ini\n")
        + QByteArray(bytes, sizeof bytes - 1) + QByteArray("\n[Colori]\nSatellite=65535\n");
    const QByteArray own = "[Osservatore]\nLocalita=Italy: Roma\n";
    const auto scrivi = [](const QString& p, const QByteArray& b) {
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(b), b.size());
    };
    scrivi(path, spoiled);
    scrivi(path + QStringLiteral(".bak"), own);
    const QString copia = path + QStringLiteral(".1.bak");
    {
        IniSettingsStore store(path);
        // What could be read is used, the accents of the lines that are
        // whole included.
        EXPECT_EQ(store.value(QStringLiteral("Osservatore"), QStringLiteral("Localita")), QString::fromUtf8("Italy: Forlì"));
        EXPECT_EQ(store.value(QStringLiteral("Generali"), QStringLiteral("Lingua")), QStringLiteral("italiano.ini"));
        EXPECT_EQ(store.value(QStringLiteral("Colori"), QStringLiteral("Satellite")), QStringLiteral("65535"));
        EXPECT_EQ(store.lineaScartata(), 7);
        EXPECT_TRUE(store.readFailure().isEmpty());

        // Told once: the file, the first line that is not a setting (shown
        // without its control characters), and the copy, under a free name.
        const QString avviso = store.keepUnreadLines();
        EXPECT_TRUE(avviso.startsWith("The settings file " + QDir::toNativeSeparators(path)
                                      + " holds lines that are not settings, the first of them line 7 (\""))
            << avviso.toStdString();
        EXPECT_TRUE(avviso.endsWith("The file as it was is kept as " + QDir::toNativeSeparators(copia) + "."))
            << avviso.toStdString();
        EXPECT_FALSE(vb::hasControlCharacters(avviso)) << avviso.toStdString();
        EXPECT_TRUE(store.keepUnreadLines().isEmpty());
        EXPECT_EQ(fileBytes(copia), spoiled);
        EXPECT_EQ(fileBytes(path + QStringLiteral(".bak")), own);

        // The first save leaves those lines out, and writes over no copy.
        ASSERT_TRUE(store.setValue(QStringLiteral("Osservatore"), QStringLiteral("Ora legale"), QStringLiteral("0")));
        EXPECT_FALSE(fileBytes(path).contains("spoiled"));
        EXPECT_TRUE(fileBytes(path).contains("Localita=Italy: Forl\xC3\xAC\n"));
        EXPECT_EQ(fileBytes(path + QStringLiteral(".bak")), own);
        EXPECT_EQ(fileBytes(copia), spoiled);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);

    // Saved before the user was told (the language picker writes first):
    // the copy is made then, under the next free name, and named when told.
    scrivi(path, spoiled + "; a note of my own\n");
    {
        IniSettingsStore store(path);
        ASSERT_TRUE(store.setValue(QStringLiteral("Generali"), QStringLiteral("Lingua"), QStringLiteral("english.ini")));
        const QString seconda = path + QStringLiteral(".2.bak");
        EXPECT_EQ(fileBytes(seconda), spoiled + "; a note of my own\n");
        EXPECT_TRUE(store.keepUnreadLines().endsWith(QDir::toNativeSeparators(seconda) + ".")) << store.copia().toStdString();
    }
    // The same spoiled file at the next start (nothing saved meanwhile):
    // the copy already there is named again, not made once more. The save
    // the user asks for leaves those lines out as told, with no value
    // changed; once.
    scrivi(path, spoiled);
    {
        IniSettingsStore store(path);
        EXPECT_TRUE(store.keepUnreadLines().endsWith(QDir::toNativeSeparators(copia) + "."));
        SostituzioniFile sostituzioni(path);
        ASSERT_TRUE(sostituzioni.attivo());
        for (int volta = 1; volta <= 2; ++volta) {
            ASSERT_TRUE(store.setValue(QStringLiteral("Generali"), QStringLiteral("Lingua"), QStringLiteral("italiano.ini")));
            EXPECT_EQ(sostituzioni.conta(), 1);
        }
        EXPECT_FALSE(fileBytes(path).contains("spoiled"));
        EXPECT_EQ(IniSettingsStore(path).lineaScartata(), 0);
        EXPECT_EQ(fileBytes(copia), spoiled);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4);
    EXPECT_EQ(fileBytes(path + QStringLiteral(".bak")), own);

    // No copy can be made (a folder the user may not write): told with the
    // system's reason, and the file is not saved over.
    scrivi(path, spoiled + "[");
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                      | QFile::ExeOther));
    QString avviso, errore;
    bool scritto = true;
    {
        IniSettingsStore store(path);
        UtenteOrdinario utente;
        ASSERT_TRUE(utente.attivo());
        avviso = store.keepUnreadLines();
        scritto = store.setValue(QStringLiteral("Osservatore"), QStringLiteral("Ora legale"), QStringLiteral("0"), &errore);
    }
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString terza = QDir::toNativeSeparators(path + QStringLiteral(".3.bak"));
    EXPECT_EQ(avviso.toStdString(),
              ("The settings file " + QDir::toNativeSeparators(path)
               + " holds lines that are not settings (line 7) and no copy of it could be kept; it was left as it "
                 "is.\r\nThe copy "
               + terza + " could not be written: Permission denied in the folder " + QDir::toNativeSeparators(dir.path())
               + ", where no new file may be made (a file is saved by writing its new copy beside it, which then takes "
                 "its place).")
                  .toStdString());
    EXPECT_FALSE(scritto);
    EXPECT_EQ(errore, avviso);
    EXPECT_EQ(fileBytes(path), spoiled + "[");
}

TEST(IniSettingsStoreTest, ALineWithControlBytesIsNotASetting)
{
    // Bytes another program's crash can leave in a line that still holds "=":
    // not a setting (its default would stand in for the user's value without
    // a word) but a line told at the start, kept in the copy and left out of
    // the next save. A tab is text.
    const QByteArray nostro = "[Osservatore]\nLocalita=Italy: Forl\xC3\xAC\n[Generali]\nBarra stato=0\nLingua=italiano.ini\n";
    const QByteArray own = "[Osservatore]\nLocalita=Italy: Roma\n";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Astrovela.conf"));
    writeBytes(path + QStringLiteral(".bak"), own);
    for (const QByteArray& riga : {QByteArray("Barra\0 stato=0\0\0", 17), QByteArray("Barra stato=0\x1B[2J"),
                                   QByteArray("Barra stato=\x7F" "0"), QByteArray("Barra stato=0\xC2\x85"),
                                   QByteArray("Barra stato=0\x81\xE0")}) {
        SCOPED_TRACE(riga.toHex().constData());
        QByteArray guastato = nostro;
        writeBytes(path, guastato.replace("Barra stato=0", riga));
        IniSettingsStore store(path);
        EXPECT_EQ(store.lineaScartata(), 4);
        EXPECT_FALSE(store.value(QStringLiteral("Generali"), QStringLiteral("Barra stato")));
        EXPECT_FALSE(store.value(QStringLiteral("Generali"), QString::fromLatin1(riga.left(riga.indexOf('=')))));
        EXPECT_EQ(store.value(QStringLiteral("Generali"), QStringLiteral("Lingua")), QStringLiteral("italiano.ini"));
        if (riga.contains('\0')) {
            EXPECT_TRUE(store.keepUnreadLines().endsWith(QDir::toNativeSeparators(path + ".1.bak") + u'.'));
            EXPECT_EQ(fileBytes(path + QStringLiteral(".1.bak")), guastato);
            ASSERT_TRUE(store.setValue(QStringLiteral("Generali"), QStringLiteral("Lingua"), QStringLiteral("english.ini")));
            EXPECT_FALSE(fileBytes(path).contains("Barra"));
            EXPECT_EQ(fileBytes(path + QStringLiteral(".bak")), own);
        }
    }
    writeBytes(path, nostro + "Nota\tmia=a\tb\n");
    EXPECT_EQ(IniSettingsStore(path).value(QStringLiteral("Generali"), QStringLiteral("Nota\tmia")), QStringLiteral("a\tb"));

    // A section heading spoiled or cut short is none: the lines under it are
    // not taken for the section before (where one chart's "Griglia" would
    // replace another's).
    for (const QByteArray& intestazione : {QByteArray("[Cielo\x01 locale]"), QByteArray("[Cielo locale")}) {
        writeBytes(path, "[Mappamondo]\nGriglia=-1\n" + intestazione + "\nGriglia=0\n[Generali]\nBarra stato=0\n");
        IniSettingsStore store(path);
        EXPECT_EQ(store.value(QStringLiteral("Mappamondo"), QStringLiteral("Griglia")), QStringLiteral("-1"));
        EXPECT_EQ(store.value(QStringLiteral("Generali"), QStringLiteral("Barra stato")), QStringLiteral("0"));
        EXPECT_EQ(store.lineaScartata(), 3);
    }
}

TEST(MemorySettingsStoreTest, KeepsTextsAndFailsWritesOnRequest)
{
    MemorySettingsStore store;
    EXPECT_TRUE(store.setValue(QStringLiteral("S"), QStringLiteral("K"), QString()));
    EXPECT_EQ(store.value(QStringLiteral("S"), QStringLiteral("K")), QString());
    EXPECT_TRUE(store.hasSection(QStringLiteral("S")));
    store.setFailWrites(true);
    QString error;
    EXPECT_FALSE(store.setValue(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(store.value(QStringLiteral("S"), QStringLiteral("K")), QString());
}
