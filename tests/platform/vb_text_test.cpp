// Text helpers, the two sequential readers, encodings and line ends.
#include "platform/vb.h"

#include "support/full_disk.h"
#include "support/named_pipe.h"
#include "support/ordinary_user.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdio>

TEST(VbText, TrimProperCaseAndFields)
{
    EXPECT_EQ(vb::Trim(u"  ISS (ZARYA)  "), "ISS (ZARYA)");
    EXPECT_EQ(vb::Trim(u"\tA "), "\tA");                // only spaces are blanks
    EXPECT_EQ(vb::LTrim(u"  a "), "a ");
    EXPECT_EQ(vb::RTrim(u"  a "), "  a");
    EXPECT_EQ(vb::ProperCase(u"iSS zARYA o'neil-smith"), "Iss Zarya O'neil-smith");
    EXPECT_EQ(vb::ProperCase(u"  two  blanks"), "  Two  Blanks");
    EXPECT_EQ(vb::Mid(u"1 25544U", 3, 5), "25544");
    EXPECT_EQ(vb::Mid(u"abc", 5, 2), "");
    EXPECT_EQ(vb::Mid(u"abc", 2), "bc");
    EXPECT_EQ(vb::Columns(u"1 25544U 98067A", 3, 7), "25544");
    EXPECT_EQ(vb::Columns(u"short", 3, 70), "ort");
    EXPECT_EQ(vb::Left(u"abc", 5), "abc");
    EXPECT_EQ(vb::Right(u"abc", 2), "bc");
    EXPECT_EQ(vb::LSet(u"Name", 6), "Name  ");
    EXPECT_EQ(vb::RSet(u"12.5", 6), "  12.5");
    EXPECT_EQ(vb::RSet(u"1234567", 4), "1234");         // leftmost characters kept
    EXPECT_EQ(vb::LSet(u"1234567", 4), "1234");
}

TEST(VbUnits, TwipsAndColours)
{
    EXPECT_EQ(vb::TwipsToPixels(15), 1);
    EXPECT_EQ(vb::TwipsToPixels(1440), 96);
    EXPECT_EQ(vb::TwipsToPixels(255), 17);
    EXPECT_EQ(vb::TwipsToPixels(1440, 120), 120);
    EXPECT_DOUBLE_EQ(vb::PixelsToTwips(10), 150.0);
    EXPECT_EQ(vb::RGB(255, 255, 0), 0x00FFFFu);
    EXPECT_EQ(vb::toQColor(0xC00000), QColor(0, 0, 0xC0)); // blue sits in the top byte
    EXPECT_EQ(vb::fromQColor(QColor(1, 2, 3)), 1u + 2u * 256u + 3u * 65536u);
}

TEST(VbDates, SerialNumbers)
{
    // 1 January 2000 is day 36526 of the classic calendar.
    EXPECT_DOUBLE_EQ(vb::toDateSerial(QDateTime(QDate(2000, 1, 1), QTime(0, 0))), 36526.0);
    EXPECT_DOUBLE_EQ(vb::toDateSerial(QDateTime(QDate(2000, 1, 1), QTime(18, 0))), 36526.75);
    EXPECT_EQ(vb::fromDateSerial(36526.5), QDateTime(QDate(2000, 1, 1), QTime(12, 0)));
    EXPECT_EQ(vb::fromDateSerial(0), QDateTime(QDate(1899, 12, 30), QTime(0, 0)));
}

TEST(VbLineReader, CrLfAndLoneCrEndLinesLoneLfDoesNot)
{
    vb::LineReader r(QStringLiteral("ISS\r\n1 25544\r2 25544\nx\r\n\r\nlast"));
    EXPECT_EQ(r.readLine(), "ISS");
    EXPECT_EQ(r.readLine(), "1 25544");
    EXPECT_EQ(r.readLine(), "2 25544\nx");
    EXPECT_EQ(r.readLine(), "");
    EXPECT_EQ(r.readLine(), "last");
    EXPECT_TRUE(r.atEnd());
    EXPECT_THROW(r.readLine(), vb::Error);

    vb::LineReader endsWithBreak(QStringLiteral("a\r\nb\r\n"));
    EXPECT_EQ(endsWithBreak.readLine(), "a");
    EXPECT_EQ(endsWithBreak.readLine(), "b");
    EXPECT_TRUE(endsWithBreak.atEnd()); // no extra empty line

    vb::LineReader empty(QString{});
    EXPECT_TRUE(empty.atEnd());
}

TEST(VbListReader, QuotedTextsNumbersAndLineEnds)
{
    vb::ListReader r(QStringLiteral("\"Italy: Milano\",45.4642, 9.19 ,1\r\n"
                                    "  \"A, with comma\" , -.5,\r\n2.75\n"
                                    "\"Brazil\",-23.5,-46.6,-3\r"
                                    "\"\",0,0,0\r\n"));
    EXPECT_EQ(r.readString(), "Italy: Milano");
    EXPECT_EQ(r.readNumber(), 45.4642);
    EXPECT_EQ(r.readNumber(), 9.19);
    EXPECT_EQ(r.readNumber(), 1.0);
    EXPECT_EQ(r.readString(), "A, with comma");
    EXPECT_EQ(r.readNumber(), -0.5);
    EXPECT_EQ(r.readNumber(), 0.0);        // a comma then the line end: an empty field
    EXPECT_EQ(r.readNumber(), 2.75);       // rows may be spread over lines
    EXPECT_EQ(r.readString(), "Brazil");
    EXPECT_EQ(r.readNumber(), -23.5);
    EXPECT_EQ(r.readNumber(), -46.6);
    EXPECT_EQ(r.readNumber(), -3.0);       // a lone CR ends the field too
    EXPECT_EQ(r.readString(), "");         // the empty name that ends a list
    r.readString();
    r.readString();
    r.readString();
    EXPECT_TRUE(r.atEnd());
    EXPECT_THROW(r.readString(), vb::Error);

    vb::ListReader bad(QStringLiteral("\"X\",north,1\r\n"));
    bad.readString();
    EXPECT_FALSE(bad.readNumber());
    vb::ListReader bad2(QStringLiteral("north"));
    EXPECT_THROW(bad2.readDouble(), vb::Error);

    // What the writer puts out reads back the same.
    const QString line = vb::WriteField(QStringLiteral("Japan: Tokyo")) + u',' + vb::CStrC(35.6895f) +
                         u',' + vb::CStrC(139.6917) + u',' + vb::CStrC(9.0) + QStringLiteral("\r\n");
    vb::ListReader back(line);
    EXPECT_EQ(back.readString(), "Japan: Tokyo");
    EXPECT_EQ(float(*back.readNumber()), 35.6895f);
    EXPECT_EQ(back.readNumber(), 139.6917);
    EXPECT_EQ(back.readNumber(), 9.0);
    EXPECT_TRUE(back.atEnd());
}

TEST(VbTextFiles, EncodingAndLineEndsSurviveARoundTrip)
{
    // "Città" in Windows-1252 (0xE0) with the euro sign (0x80) and CR LF.
    const QByteArray ansi("Citt\xE0 \x80\r\nb\r\n");
    vb::TextDocument doc = vb::decodeText(ansi);
    EXPECT_EQ(doc.encoding, vb::TextEncoding::Windows1252);
    EXPECT_EQ(doc.lineEnding, vb::LineEnding::CrLf);
    EXPECT_EQ(doc.text, QString::fromUtf8("Città €\r\nb\r\n"));
    EXPECT_EQ(vb::encodeText(doc.text, doc.encoding), ansi);

    const QByteArray utf8("Citt\xC3\xA0\nb\n");
    doc = vb::decodeText(utf8);
    EXPECT_EQ(doc.encoding, vb::TextEncoding::Utf8);
    EXPECT_EQ(doc.lineEnding, vb::LineEnding::Lf);
    EXPECT_EQ(doc.text, QString::fromUtf8("Città\nb\n"));

    doc = vb::decodeText(QByteArray("\xEF\xBB\xBFx\ry"));
    EXPECT_EQ(doc.encoding, vb::TextEncoding::Utf8Bom);
    EXPECT_EQ(doc.lineEnding, vb::LineEnding::Cr);
    EXPECT_EQ(doc.text, "x\ry");
    EXPECT_EQ(vb::encodeText(doc.text, doc.encoding), QByteArray("\xEF\xBB\xBFx\ry"));

    EXPECT_EQ(vb::encodeWindows1252(QString::fromUtf8("a\u4e2d")), QByteArray("a?"));
    EXPECT_EQ(vb::withLineEndings(QStringLiteral("a\nb\r\nc\rd"), vb::LineEnding::CrLf),
              "a\r\nb\r\nc\r\nd");

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cities.dat"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(ansi);
    }
    QString error;
    auto read = vb::readTextFile(path, &error);
    ASSERT_TRUE(read);
    read->text = vb::withLineEndings(read->text + QStringLiteral("new line\n"), vb::LineEnding::Lf);
    ASSERT_TRUE(vb::writeTextFile(path, *read, &error)) << error.toStdString();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("Citt\xE0 \x80\r\nb\r\nnew line\r\n"));

    // A full disk: the old file stays whole and the failure is reported.
    const QByteArray saved = QByteArray("Citt\xE0 \x80\r\nb\r\nnew line\r\n");
    {
        FullDisk full(saved.size());
        ASSERT_TRUE(full.active());
        EXPECT_FALSE(vb::writeTextFile(path, QString(1000, u'x'), vb::TextEncoding::Utf8, &error));
    }
    QFile again(path);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), saved);

    EXPECT_FALSE(vb::readTextFile(dir.filePath(QStringLiteral("missing")), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(vb::writeTextFile(dir.filePath(QStringLiteral("no/such/folder/x.txt")),
                                   QStringLiteral("x"), vb::TextEncoding::Utf8, &error));

    // As an ordinary user through and through: a file of the user's own
    // that the user may write, in a folder where the user may make no file,
    // is refused for its folder, which is named; a file the user may not
    // write, in a folder the user may, for itself (not in Qt's English).
    // Neither is touched.
    ASSERT_TRUE(UtenteOrdinario::Passabile(dir.path()));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("readonly")) && QDir(dir.path()).mkdir(QStringLiteral("own")));
    const QString solaLettura = dir.filePath(QStringLiteral("readonly"));
    const QString nellaSolaLettura = solaLettura + QStringLiteral("/kept.txt");
    const QString bloccato = dir.filePath(QStringLiteral("own/locked.txt"));
    for (const QString& p : {nellaSolaLettura, bloccato}) {
        QFile g(p);
        ASSERT_TRUE(g.open(QIODevice::WriteOnly) && g.write("old") == 3);
        g.close();
        ASSERT_TRUE(UtenteOrdinario::Proprio(p));
    }
    ASSERT_TRUE(UtenteOrdinario::Proprio(dir.filePath(QStringLiteral("own"))));
    ASSERT_TRUE(QFile::setPermissions(solaLettura, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther
                                                       | QFile::ExeOther));
    ASSERT_TRUE(QFile::setPermissions(bloccato, QFile::ReadOwner | QFile::ReadOther));
    const auto rifiutato = [](const QString& p, const QString& atteso) {
        return UtenteOrdinario::Esegui([&] {
            QString motivo;
            const bool scritto = vb::writeTextFile(p, QStringLiteral("new"), vb::TextEncoding::Utf8, &motivo);
            if (scritto || motivo != atteso)
                std::fprintf(stderr, "%s: %s\n", qPrintable(p), qPrintable(motivo));
            return !scritto && motivo == atteso;
        });
    };
    EXPECT_TRUE(rifiutato(nellaSolaLettura, QStringLiteral("Permission denied in the folder ")
                                                + QDir::toNativeSeparators(solaLettura)
                                                + QStringLiteral(", where no new file may be made (a file is saved "
                                                                 "by writing its new copy beside it, which then "
                                                                 "takes its place)")));
    EXPECT_TRUE(rifiutato(bloccato, QStringLiteral("Permission denied")));
    for (const QString& p : {nellaSolaLettura, bloccato}) {
        QFile g(p);
        ASSERT_TRUE(g.open(QIODevice::ReadOnly));
        EXPECT_EQ(g.readAll(), QByteArray("old"));
    }
    EXPECT_EQ(QDir(solaLettura).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{QStringLiteral("kept.txt")});
    ASSERT_TRUE(QFile::setPermissions(solaLettura, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

// UTF-16 files with their byte-order mark are read as text and written back
// the same; bytes that are not text are told apart.
TEST(VbTextFiles, Utf16WithAByteOrderMarkIsTextNulAndBrokenUtf16AreNot)
{
    const QString text = QString::fromUtf8("ISS (ZARYA) \u00e8 \U0001F680\r\n1 25544U\r\n");
    const QByteArray le = QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QByteArray be = QByteArray("\xFE\xFF");
    for (QChar c : text) {
        be += char(c.unicode() >> 8);
        be += char(c.unicode() & 0xFF);
    }
    for (const auto& [bytes, encoding] : {std::pair{le, vb::TextEncoding::Utf16LeBom}, std::pair{be, vb::TextEncoding::Utf16BeBom}}) {
        const vb::TextDocument doc = vb::decodeText(bytes);
        EXPECT_EQ(doc.text, text);
        EXPECT_EQ(doc.encoding, encoding);
        EXPECT_EQ(doc.lineEnding, vb::LineEnding::CrLf);
        EXPECT_TRUE(vb::isPlainText(doc));
        EXPECT_EQ(vb::encodeText(doc.text, doc.encoding), bytes);
    }
    // A second mark is text (a zero-width no-break space) and is written back.
    const QByteArray zwnbsp("\xFE\xFF\xFE\xFF\x00\x41", 6);
    EXPECT_EQ(vb::decodeText(zwnbsp).text, QString(QChar(0xFEFF)) + u'A');
    EXPECT_EQ(vb::encodeText(vb::decodeText(zwnbsp).text, vb::TextEncoding::Utf16BeBom), zwnbsp);
    // Cut in the middle of a character, or a lone surrogate: not text.
    EXPECT_FALSE(vb::isPlainText(vb::decodeText(le.left(le.size() - 1))));
    EXPECT_FALSE(vb::isPlainText(vb::decodeText(QByteArray("\xFF\xFE\x3D\xD8\x41\x00", 6))));
    // NUL bytes: a picture, an archive, UTF-16 without its mark.
    EXPECT_FALSE(vb::isPlainText(vb::decodeText(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16))));
    EXPECT_FALSE(vb::isPlainText(vb::decodeText(QByteArray("I\0S\0S\0", 6))));
    EXPECT_TRUE(vb::isPlainText(vb::decodeText(QByteArray("Citt\xE0\r\n"))));
}

// Every file is read up to a limit: a larger file, a device that never
// ends, is refused with a reason that names it.
TEST(VbTextFiles, ReadsStopAtTheLimitAndNameTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.txt"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(vb::kMaxTextFileBytes + 1));   // sparse: takes no room
    }
    QString error;
    EXPECT_FALSE(vb::readTextFile(path, &error));
    EXPECT_TRUE(error.contains(QDir::toNativeSeparators(path))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("64 MB"))) << error.toStdString();
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.resize(3));
        ASSERT_TRUE(f.write("abc") == 3);
    }
    const auto small = vb::readFileBytes(path, 3, &error);
    ASSERT_TRUE(small);
    EXPECT_EQ(*small, "abc");
    EXPECT_FALSE(vb::readFileBytes(path, 2, &error));
    // A link to a device with no end.
    if (QFileInfo::exists(QStringLiteral("/dev/zero"))) {
        const QString link = dir.filePath(QStringLiteral("Astrovela.ini"));
        ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), link));
        error.clear();
        EXPECT_FALSE(vb::readTextFile(link, &error));
        EXPECT_TRUE(error.contains(QDir::toNativeSeparators(link))) << error.toStdString();
        EXPECT_FALSE(vb::readFileBytes(QStringLiteral("/dev/zero"), 1 << 20, &error));
    }
    // A named pipe (and a link to one), a folder: refused at once, without
    // waiting for a writer, with a reason naming what was asked for; an
    // ordinary file through a link reads.
    NamedPipe pipe(dir.filePath(QStringLiteral("settings.conf")));
    ASSERT_TRUE(pipe.made());
    const QString pipeLink = dir.filePath(QStringLiteral("link.conf"));
    ASSERT_TRUE(QFile::link(pipe.path(), pipeLink));
    for (const QString& p : {pipe.path(), pipeLink, dir.path()}) {
        error.clear();
        EXPECT_FALSE(vb::readFileBytes(p, 1 << 20, &error)) << p.toStdString();
        EXPECT_EQ(error, QStringLiteral("%1 is not an ordinary file (it is a named pipe, a device or a folder): "
                                        "it has not been read.")
                             .arg(QDir::toNativeSeparators(p)));
        EXPECT_EQ(vb::notRegularFile(p), error);
    }
    EXPECT_FALSE(pipe.waited());
    const QString fileLink = dir.filePath(QStringLiteral("small.txt"));
    ASSERT_TRUE(QFile::link(path, fileLink));
    EXPECT_EQ(vb::readFileBytes(fileLink, 3, &error), QByteArray("abc"));
    EXPECT_FALSE(vb::notRegularFile(fileLink));
    EXPECT_FALSE(vb::notRegularFile(dir.filePath(QStringLiteral("missing.txt"))));
}

// Outside text on screen: control characters become blanks.
TEST(VbText, OutsideTextIsDisplayableWithoutControlCharacters)
{
    const QString nome = QString::fromUtf8("ISS\x1b[31m\x07 (ZARYA)\r\n\t\u0085x\u2028y\x7f");
    EXPECT_TRUE(vb::hasControlCharacters(nome));
    const QString shown = vb::displayable(nome);
    EXPECT_EQ(shown, QString::fromUtf8("ISS [31m  (ZARYA)    x y "));
    EXPECT_FALSE(vb::hasControlCharacters(shown));
    EXPECT_EQ(vb::displayable(QStringLiteral("<h1>BIG</h1>")), QStringLiteral("<h1>BIG</h1>"));
    // The embeddings, overrides and isolates of bidirectional text would
    // show a name reversed; right-to-left letters, the marks, joiners and
    // the characters just beside those ranges stay.
    const QString bidi = QStringLiteral("\u202A\u202B\u202C\u202D\u202E|\u2066\u2067\u2068\u2069|"
                                        "\u05E9\u05DC\u200D\u200E\u200F\u202F\u206A");
    EXPECT_TRUE(vb::hasControlCharacters(bidi.left(5)));
    EXPECT_EQ(vb::displayable(bidi),
              QStringLiteral("     |    |\u05E9\u05DC\u200D\u200E\u200F\u202F\u206A"));
}
