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

    // A folder the user may not write (as an ordinary user: root may write
    // anywhere): the file and the system's own reason.
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
              ("The settings file " + QDir::toNativeSeparators(path) + " could not be written: Permission denied.")
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
    f.write("; comment\r\nstray=before any section\r\n[Osservatore]\r\nNome=Citt\xE0\r\nno equals sign\r\nLat=45.4\r\n");
    f.close();
    IniSettingsStore store(path);
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
    // the copy already there is named again, not made once more.
    scrivi(path, spoiled);
    {
        IniSettingsStore store(path);
        EXPECT_TRUE(store.keepUnreadLines().endsWith(QDir::toNativeSeparators(copia) + "."));
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
               + terza + " could not be written: Permission denied.")
                  .toStdString());
    EXPECT_FALSE(scritto);
    EXPECT_EQ(errore, avviso);
    EXPECT_EQ(fileBytes(path), spoiled + "[");
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
