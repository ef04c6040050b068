// The city list file: reading by the rules of list input, writing back to
// the same lines, blank rows, the stop request and a failed write.
#include "locations/city_list.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace locations;

TEST(CityList, ReadsQuotedNameAndNumbersAndWritesTheSameLine)
{
    const auto r = Leggi_Citta(QStringLiteral("\"Italy: Milano\",45.47,9.19,1\r\n"
                                              "\"Chile: Santiago\", -33.45 , -70.6667,-4\r\n"
                                              "\"India: Mumbai\",18.975,72.8258,5.5\r\n"
                                              "\"Nepal: X\",.5,-.25,5.75\r\n"));
    ASSERT_TRUE(r.completa());
    ASSERT_EQ(r.righe.size(), 4u);
    EXPECT_EQ(r.righe[0].nome, QStringLiteral("Italy: Milano"));
    EXPECT_FLOAT_EQ(float(r.righe[0].latitudine), 45.47f);
    EXPECT_FLOAT_EQ(float(r.righe[0].longitudine), 9.19f);
    EXPECT_EQ(r.righe[0].fuso, 1.0);
    EXPECT_FLOAT_EQ(float(r.righe[1].latitudine), -33.45f);
    EXPECT_EQ(r.righe[1].fuso, -4.0);
    EXPECT_EQ(r.righe[2].fuso, 5.5);
    EXPECT_EQ(r.righe[3].latitudine, 0.5);
    EXPECT_EQ(r.righe[3].longitudine, -0.25);
    EXPECT_EQ(r.righe[3].fuso, 5.75);
    // Single-precision rows are written in the short form that reads back.
    EXPECT_EQ(Riga_Citta(r.righe[0]), QStringLiteral("\"Italy: Milano\",45.47,9.19,1"));
    EXPECT_EQ(Riga_Citta(r.righe[1]), QStringLiteral("\"Chile: Santiago\",-33.45,-70.6667,-4"));
    EXPECT_EQ(Riga_Citta(r.righe[3]), QStringLiteral("\"Nepal: X\",0.5,-0.25,5.75"));
    // A typed row keeps its double value.
    RigaCitta t{QStringLiteral("X: Y"), -12.3456, 100.0001, -9.5, false, {}};
    EXPECT_EQ(Riga_Citta(t), QStringLiteral("\"X: Y\",-12.3456,100.0001,-9.5"));
}

TEST(CityList, BlankAndBadLinesAreNotedByNumberAndTheRestIsRead)
{
    EXPECT_TRUE(Leggi_Citta(QString()).righe.empty());
    EXPECT_TRUE(Leggi_Citta(QString()).completa());
    // A blank line inside the list is skipped and noted; the cities after
    // it are read. Blank lines at the end are no fault. LF line ends too.
    auto r = Leggi_Citta(QStringLiteral("\"A: a\",1,2,3\r\n\r\n  \n\"B: b\",4,5,6\n\"C: c\",7,8,9\r\n\r\n\r\n"));
    EXPECT_TRUE(r.completa());
    ASSERT_EQ(r.righe.size(), 3u);
    EXPECT_EQ(r.righe[2].nome, QStringLiteral("C: c"));
    EXPECT_EQ(r.vuote, (std::vector<int>{2, 3}));
    EXPECT_TRUE(r.errate.empty());
    // Lines that are not a city are noted and kept as they stand, where
    // they were: the table written back is the file, byte for byte.
    const QString testo = QStringLiteral("\"A: a\",1,2,3\r\n"
                                   "\"B: b\",north,5,6\r\n"     // 2: not a number
                                   "\"\",0,0,0\r\n"              // 3: no name
                                   "\"D: d\",1,2\r\n"            // 4: a field missing
                                   "\"E: e\",1,2,3,4\r\n"        // 5: a field too many
                                   "\"F: f\",91,2,3\r\n"         // 6: latitude out of range
                                   "\"G: g\",-1,-181,3\r\n"      // 7: longitude out of range
                                   "<html>\r\n"                  // 8
                                   "\"I: i\",-7,-8,-9.5\r\n"
                                   "\v\"K: k\",1,2,3\r\n"       // 10: a quote inside the name
                                   "\"J: j\",1,2,\r\n");            // 11: cut short
    r = Leggi_Citta(testo);
    EXPECT_TRUE(r.completa());
    EXPECT_EQ(r.errate, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 10, 11}));
    ASSERT_EQ(r.righe.size(), 2u);
    EXPECT_EQ(r.righe[0].nome, QStringLiteral("A: a"));
    EXPECT_EQ(r.righe[1].nome, QStringLiteral("I: i"));
    EXPECT_EQ(r.righe[1].fuso, -9.5);
    const std::vector<RigaCitta> tabella = Tabella_Citta(r);
    ASSERT_EQ(tabella.size(), 11u);
    EXPECT_EQ(tabella[7].grezza, QStringLiteral("<html>"));
    EXPECT_TRUE(tabella[7].vuota());
    EXPECT_EQ(tabella[8].nome, QStringLiteral("I: i"));
    EXPECT_EQ(Testo_Citta(tabella), testo);
}

TEST(CityList, StopRequestEndsReadingWithRowsSoFar)
{
    int chiamate = 0;
    const auto r = Leggi_Citta(QStringLiteral("\"A: a\",1,2,3\r\n\"B: b\",4,5,6\r\n\"C: c\",7,8,9\r\n"),
                               [&] { return ++chiamate == 3; });
    EXPECT_TRUE(r.interrotta);
    EXPECT_FALSE(r.completa());
    EXPECT_EQ(r.righe.size(), 2u);
}

TEST(CityList, WriterSkipsBlankRowsAndKeepsOldFileOnFailure)
{
    std::vector<RigaCitta> righe = {{QStringLiteral("A: a"), 1, 2, 3, true, {}},
                                    {QString(), 0, 0, 0, true, {}},
                                    {QStringLiteral("C: c"), -7, -8, -9.5, true, {}}};
    EXPECT_EQ(Testo_Citta(righe), QStringLiteral("\"A: a\",1,2,3\r\n\"C: c\",-7,-8,-9.5\r\n"));
    EXPECT_EQ(Testo_Citta({{QString(), 0, 0, 0, true, {}}}), QString());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cities.dat"));
    Imposta_File_Citta(path);
    QString errore;
    ASSERT_TRUE(Salva_Citta(righe, &errore)) << errore.toStdString();
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("\"A: a\",1,2,3\r\n\"C: c\",-7,-8,-9.5\r\n"));
    f.close();

    // A path that cannot be written: failure with a reason.
    Imposta_File_Citta(dir.filePath(QStringLiteral("missing/folder/cities.dat")));
    errore.clear();
    EXPECT_FALSE(Salva_Citta(righe, &errore));
    EXPECT_FALSE(errore.isEmpty());
    Imposta_File_Citta(QString());

    EXPECT_FALSE(Nome_Citta_Valido(QStringLiteral("A: \"b\"")));
    EXPECT_TRUE(Nome_Citta_Valido(QStringLiteral("Italy: Milano, centro")));
}

TEST(CityList, NamesOutsideWindows1252AreNotTurnedIntoQuestionMarks)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cities.dat"));
    Imposta_File_Citta(path);
    auto bytes = [&path] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    Imposta_Codifica_Citta(vb::TextEncoding::Windows1252);
    // Windows-1252 holds every letter: the file stays Windows-1252 (0xD6 = Ö).
    ASSERT_TRUE(Salva_Citta({{QStringLiteral("Austria: Öblarn"), 47, 14, 1, true, {}}}));
    EXPECT_EQ(bytes(), QByteArray("\"Austria: \xD6" "blarn\",47,14,1\r\n"));
    // Ł and ź are not in it: the file is written in UTF-8 and reads back whole.
    ASSERT_TRUE(Salva_Citta({{QStringLiteral("Austria: Öblarn"), 47, 14, 1, true, {}},
                             {QStringLiteral("Poland: Łódź"), 51.75, 19.5, 1, true, {}}}));
    const QByteArray b = bytes();
    EXPECT_FALSE(b.contains('?'));
    EXPECT_EQ(b, QStringLiteral("\"Austria: Öblarn\",47,14,1\r\n\"Poland: Łódź\",51.75,19.5,1\r\n").toUtf8());
    const auto doc = vb::readTextFile(path);
    ASSERT_TRUE(doc);
    const LetturaCitta l = Leggi_Citta(doc->text);
    ASSERT_EQ(l.righe.size(), 2u);
    EXPECT_EQ(l.righe[1].nome, QStringLiteral("Poland: Łódź"));
    Imposta_File_Citta(QString());
    Imposta_Codifica_Citta(vb::TextEncoding::Windows1252);
}

TEST(CityList, ShippedListReadsWhole)
{
    QFile f(QStringLiteral(ASTROVELA_SOURCE_DIR "/data/cities.dat"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    const auto r = Leggi_Citta(QString::fromUtf8(bytes));
    ASSERT_TRUE(r.completa());
    EXPECT_TRUE(r.vuote.empty());
    EXPECT_EQ(int(r.righe.size()), int(bytes.count('\n')));
    for (const RigaCitta& c : r.righe) {
        EXPECT_LE(std::abs(c.latitudine), 90.0) << c.nome.toStdString();
        EXPECT_LE(std::abs(c.longitudine), 180.0) << c.nome.toStdString();
        EXPECT_LE(std::abs(c.fuso), 14.0) << c.nome.toStdString();
    }
}
