// The working list: adding, removing, exchanging and rotating satellites,
// and keeping the list in its file across runs.
#include "core/globals_orbit.h"
#include "core/mlang.h"
#include "core/working_list.h"
#include "platform/fakes.h"
#include "support/full_disk.h"
#include "support/named_pipe.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace {

// A plausible element set for catalogue number n (the verification file's
// near-earth drag case with its number changed).
RigaDati set(int n, const std::string& name)
{
    const std::string num = QString::number(n).rightJustified(5, '0').toStdString();
    std::string l1 = "1 06251U 62025E   06176.82412014  .00008885  00000-0  12808-3 0  3985";
    std::string l2 = "2 06251  58.0579  54.0425 0030035 139.1568 221.1854 15.56387291  6774";
    l1.replace(2, 5, num);
    l2.replace(2, 5, num);
    return {name, l1, l2};
}

std::vector<std::string> names()
{
    std::vector<std::string> out;
    for (int k = 1; k <= gintNumSatelliti; ++k)
        out.push_back(gudtSatelementi[k].Nome);
    return out;
}

class WorkingListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        list().setFile({});
        list().Rimuovi_Tutti();
    }
    void TearDown() override
    {
        list().setFile({});
        list().Rimuovi_Tutti();
    }
    static core::WorkingList& list() { return core::WorkingList::instance(); }
    platform::FakeServices fakes;
    platform::ScopedServices scope{fakes.services()};
    void addAll(std::initializer_list<const char*> ns)
    {
        int n = 100;
        for (const char* name : ns)
            ASSERT_EQ(list().Aggiungi(set(++n, name)).esito, core::WorkingList::Esito::Aggiunto);
    }
};

} // namespace

TEST_F(WorkingListTest, AddsAtTheEndRefusingDuplicatesByValueAndBeyond200)
{
    QSignalSpy changed(&list(), &core::WorkingList::changed);
    EXPECT_EQ(list().Aggiungi(set(694, "ATLAS CENTAUR 2")).slot, 1);
    EXPECT_EQ(list().Nome_Principale(), "Atlas Centaur 2");
    EXPECT_EQ(changed.count(), 1);

    // "  694" in another file is the same satellite as "00694".
    RigaDati same = set(694, "OTHER NAME");
    same.Riga1.replace(2, 5, "  694");
    const auto dup = list().Aggiungi(same);
    EXPECT_EQ(dup.esito, core::WorkingList::Esito::Duplicato);
    EXPECT_EQ(dup.slot, 1);

    RigaDati bad = set(5, "BAD");
    bad.Riga1.replace(2, 5, "A0005");
    EXPECT_EQ(list().Aggiungi(bad).esito, core::WorkingList::Esito::NonValido);
    EXPECT_EQ(list().count(), 1);

    {
        core::WorkingList::Modifica batch;
        for (int n = 1; n < 200; ++n)
            list().Aggiungi(set(1000 + n, "S"));
    }
    EXPECT_EQ(changed.count(), 2); // one notice for the whole batch
    EXPECT_EQ(list().count(), 200);
    EXPECT_EQ(list().Aggiungi(set(9999, "ONE TOO MANY")).esito, core::WorkingList::Esito::Pieno);
    EXPECT_EQ(list().count(), 200);
}

TEST_F(WorkingListTest, RemovingKeepsOrderAndLeavesTheScratchSlotsAlone)
{
    addAll({"A", "B", "C", "D", "E", "F", "G", "H", "I", "J"});
    gudtSatelementi[201].Nome = "Scratch";
    gudtRigheAttive[202].Riga0 = "RELATIVE";
    list().Rimuovi({5, 2});
    EXPECT_EQ(names(), (std::vector<std::string>{"A", "C", "D", "F", "G", "H", "I", "J"}));
    EXPECT_EQ(gudtSatelementi[9], Satelement{});
    EXPECT_EQ(gudtSatelementi[201].Nome, "Scratch");
    EXPECT_EQ(gudtRigheAttive[202].Riga0, "RELATIVE");
    list().Rimuovi(1);
    EXPECT_EQ(list().Nome_Principale(), "C");
    list().Rimuovi(99); // not listed: nothing happens
    EXPECT_EQ(list().count(), 7);
}

TEST_F(WorkingListTest, ExchangesAndRotation)
{
    addAll({"A", "B", "C", "D", "E", "F"});
    list().Rendi_Principale(4);
    EXPECT_EQ(names(), (std::vector<std::string>{"D", "B", "C", "A", "E", "F"}));
    EXPECT_EQ(gudtSatelementi[201], Satelement{});
    list().Scambia(2, 3);
    EXPECT_EQ(names(), (std::vector<std::string>{"D", "C", "B", "A", "E", "F"}));
    EXPECT_EQ(gudtRigheAttive[2].Riga0, "C"); // the text moves with the elements

    list().Rimuovi_Tutti();
    addAll({"A", "B", "C"});
    list().Ruota();
    EXPECT_EQ(names(), (std::vector<std::string>{"B", "C", "A"}));
    EXPECT_EQ(gudtSatelementi[4], Satelement{});
}

TEST_F(WorkingListTest, FileRoundTripAndBadSetsSkipped)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Astrovela.ini");
    addAll({"ISS (ZARYA)", "NOAA 19", "HUBBLE"});
    const std::string l1of2 = gudtRigheAttive[2].Riga1;
    ASSERT_TRUE(list().Salva_Ini(path));

    list().Rimuovi_Tutti();
    QStringList errors;
    ASSERT_TRUE(list().Leggi_Ini(path, &errors));
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(names(), (std::vector<std::string>{"Iss (zarya)", "Noaa 19", "Hubble"}));
    EXPECT_EQ(gudtRigheAttive[1].Riga0, "Iss (zarya)"); // the name as parsed is what is kept
    EXPECT_EQ(gudtRigheAttive[2].Riga1, l1of2);

    // A broken set in the middle is left out with a message, and so is one
    // whose drag term has been overwritten with NUL bytes (once read as no
    // drag at all); a set cut short at the end of the file is dropped and
    // told too.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray text = f.readAll();
    f.close();
    const QByteArray good2 = QByteArray::fromStdString(gudtRigheAttive[2].Riga1);
    QByteArray broken = good2;
    broken.replace(2, 5, "XXXXX");
    text.replace(good2, broken);
    const QByteArray good3 = QByteArray::fromStdString(gudtRigheAttive[3].Riga1);
    QByteArray senzaAttrito = good3;
    senzaAttrito.replace(53, 8, QByteArray(8, '\0'));
    text.replace(good3, senzaAttrito);
    text += "TRUNCATED\r\n" + QByteArray::fromStdString(set(7, "T").Riga1) + "\r\n";
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
    f.close();
    mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
    ASSERT_TRUE(list().Leggi_Ini(path, &errors));
    mLang::Usa_File_Lingua({});
    EXPECT_EQ(names(), (std::vector<std::string>{"Iss (zarya)"}));
    ASSERT_EQ(errors.size(), 3);
    EXPECT_TRUE(errors[0].contains("Noaa 19"));
    EXPECT_TRUE(errors[1].contains("\r\nHubble\r\n") && errors[1].endsWith("(line 1, columns 54-59)"))
        << errors[1].toStdString();
    EXPECT_TRUE(errors[2].contains("10-11: TRUNCATED")) << errors[2].toStdString();

    // A file made longer than 200 sets by hand: the first 200 load, the
    // others are told one by one.
    auto scrivi = [&](int quanti) {
        QString lunga;
        for (int n = 1; n <= quanti; ++n) {
            const RigaDati r = set(2000 + n, "SAT " + std::to_string(n));
            lunga += QString::fromStdString(r.Riga0 + "\r\n" + r.Riga1 + "\r\n" + r.Riga2 + "\r\n");
        }
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(lunga.toLatin1());
        f.close();
        errors.clear();
        return lunga;
    };
    scrivi(203);
    ASSERT_TRUE(list().Leggi_Ini(path, &errors));
    EXPECT_EQ(list().count(), 200);
    EXPECT_EQ(gudtSatelementi[200].Nome, "Sat 200");
    ASSERT_EQ(errors.size(), 3);
    EXPECT_TRUE(errors[0].contains("SAT 201"));
    EXPECT_TRUE(errors[2].contains("SAT 203"));

    // Thousands of sets past the 200th: the first few are named, the rest
    // only counted (no message is built for each), and every one of them is
    // among the lines handed back as left out, as they stand.
    const QString lunga = scrivi(5000);
    QString fuori;
    ASSERT_TRUE(list().Leggi_Ini(path, &errors, nullptr, &fuori));
    EXPECT_EQ(list().count(), 200);
    ASSERT_EQ(errors.size(), 11);
    EXPECT_TRUE(errors[9].contains("SAT 210"));
    EXPECT_EQ(errors[10], "(+4790)");
    EXPECT_EQ(fuori, lunga.mid(lunga.indexOf("SAT 201")));

    // A missing file is reported and the list kept.
    QString why;
    EXPECT_FALSE(list().Leggi_Ini(dir.filePath("none.ini"), nullptr, &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_EQ(list().count(), 200);
}

TEST_F(WorkingListTest, SavedOnEveryChangeAndAFailedSaveKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Astrovela.ini");
    list().setFile(path);
    addAll({"A", "B"});
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray saved = f.readAll();
    f.close();
    EXPECT_EQ(saved.count("\r\n"), 6);
    EXPECT_TRUE(saved.startsWith("A\r\n1 00101U"));

    // A place that cannot be written (its folder is a file): the change stays
    // in memory, the failure is told, and the file kept before is untouched.
    const QString notAFolder = dir.filePath("plain");
    QFile plain(notAFolder);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    list().setFile(notAFolder + "/Astrovela.ini");
    QSignalSpy failed(&list(), &core::WorkingList::saveFailed);
    list().Rimuovi(1);
    EXPECT_EQ(failed.count(), 1);
    EXPECT_EQ(list().count(), 1);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), saved);
}

TEST_F(WorkingListTest, AFullDiskKeepsTheListFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Astrovela.ini");
    list().setFile(path);
    addAll({"A", "B", "C"});
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray saved = f.readAll();
    f.close();
    ASSERT_GT(saved.size(), 300);

    // The next list no longer fits: the save fails, is told, and the file
    // written before stays whole (not emptied by a flush that failed).
    QSignalSpy failed(&list(), &core::WorkingList::saveFailed);
    {
        FullDisk disk(200);
        ASSERT_TRUE(disk.active());
        EXPECT_EQ(list().Aggiungi(set(150, "D")).esito, core::WorkingList::Esito::Aggiunto);
    }
    ASSERT_EQ(failed.count(), 1);
    EXPECT_TRUE(failed[0][0].toString().contains(QString::fromLocal8Bit(std::strerror(EFBIG))))
        << failed[0][0].toString().toStdString();
    EXPECT_EQ(list().count(), 4);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), saved);
}

TEST_F(WorkingListTest, EverySetComesBackFromTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Astrovela.ini");
    // A blank name line, and a lone LF inside a name and inside line 1 (element
    // files end lines only at CR, so an LF can stay inside a line).
    RigaDati conLf = set(103, "THIRD");
    conLf.Riga1.replace(32, 1, "\n"); // the blank before the first derivative
    ASSERT_EQ(list().Aggiungi(set(101, "   ")).esito, core::WorkingList::Esito::Aggiunto);
    ASSERT_EQ(list().Aggiungi(set(102, "SECOND\nPART")).esito, core::WorkingList::Esito::Aggiunto);
    ASSERT_EQ(list().Aggiungi(conLf).esito, core::WorkingList::Esito::Aggiunto);
    ASSERT_EQ(list().Aggiungi(set(104, "FOURTH")).esito, core::WorkingList::Esito::Aggiunto);
    const Satelement terzo = gudtSatelementi[3];
    ASSERT_TRUE(list().Salva_Ini(path));

    list().Rimuovi_Tutti();
    QStringList errors;
    ASSERT_TRUE(list().Leggi_Ini(path, &errors));
    EXPECT_TRUE(errors.isEmpty()) << errors.join("|").toStdString();
    ASSERT_EQ(list().count(), 4);
    EXPECT_EQ(names(), (std::vector<std::string>{"", "Second Part", "Third", "Fourth"}));
    EXPECT_EQ(gudtSatelementi[3].DerivataPrima, terzo.DerivataPrima);
    EXPECT_EQ(gudtSatelementi[4].NumeroCatalogo, "00104");

    // A file written before, with the LF as it was: the split name is told
    // in one message and every set after it still loads.
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    for (const RigaDati& r : {set(101, "FIRST"), set(102, "SECOND\nPART"), set(103, "THIRD"), set(104, "FOURTH")})
        f.write(QByteArray::fromStdString(r.Riga0 + "\r\n" + r.Riga1 + "\r\n" + r.Riga2 + "\r\n"));
    f.close();
    errors.clear();
    ASSERT_TRUE(list().Leggi_Ini(path, &errors));
    EXPECT_EQ(names(), (std::vector<std::string>{"First", "Part", "Third", "Fourth"}));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].endsWith("4: SECOND")) << errors[0].toStdString();
}

TEST_F(WorkingListTest, WhatTheProgramDropsIsKeptWhateverFollows)
{
    // The first drop of a run copies the list's file as it stands; later
    // drops of the same run leave that copy alone and add their sets to the
    // file of removed sets, which keeps what earlier runs put there.
    QTemporaryDir dir;
    const QString path = dir.filePath("Astrovela.ini");
    const auto leggi = [](const QString& p) {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    list().setFile(path);
    addAll({"A", "B", "C", "D"});
    const QByteArray tutti = leggi(path);
    const QString testoB = core::WorkingList::Testo_Slot({2});
    EXPECT_TRUE(testoB.startsWith("B\r\n1 00102U"));
    ASSERT_TRUE(list().Conserva_Rimossi(testoB));
    list().Rimuovi(2);
    const QString testoCD = core::WorkingList::Testo_Slot({2, 3});
    ASSERT_TRUE(list().Conserva_Rimossi(testoCD));
    list().Rimuovi({2, 3});
    EXPECT_EQ(names(), (std::vector<std::string>{"A"}));
    EXPECT_EQ(leggi(path + ".bak"), tutti);
    EXPECT_EQ(leggi(list().File_Rimossi()), (testoB + testoCD).toUtf8());
    EXPECT_EQ(list().File_Rimossi(), path + ".removed");

    // A new run: a new copy, the file of removed sets only grows.
    list().setFile(path);
    const QString testoA = core::WorkingList::Testo_Slot({1});
    ASSERT_TRUE(list().Conserva_Rimossi(testoA));
    EXPECT_EQ(leggi(path + ".bak"), leggi(path));
    EXPECT_EQ(leggi(list().File_Rimossi()), (testoB + testoCD + testoA).toUtf8());

    // What is kept there already is not added again (a run ended while its
    // message was open drops the same sets at the next start), alone or
    // beside something new; lines that are no set are kept once too.
    list().setFile(path);
    ASSERT_TRUE(list().Conserva_Rimossi(testoA + testoCD));
    EXPECT_EQ(leggi(list().File_Rimossi()), (testoB + testoCD + testoA).toUtf8());
    const RigaDati e = set(150, "E");
    const QString testoE = QString::fromStdString(e.Riga0 + "\r\n" + e.Riga1 + "\r\n" + e.Riga2 + "\r\n");
    const QString sciolta = QStringLiteral("a stray line\r\n");
    ASSERT_TRUE(list().Conserva_Rimossi(testoB + testoE + sciolta));
    ASSERT_TRUE(list().Conserva_Rimossi(sciolta + testoE));
    EXPECT_EQ(leggi(list().File_Rimossi()), (testoB + testoCD + testoA + testoE + sciolta).toUtf8());

    // Nothing can be written: false, and the files stay as they were. The
    // reason says what could not be done, to which file, and why.
    list().setFile(path);
    ASSERT_TRUE(QFile::remove(path + ".bak"));
    ASSERT_TRUE(QDir().mkpath(path + ".bak"));
    QString why;
    EXPECT_FALSE(list().Conserva_Rimossi(testoA, &why));
    const QString copia = "The working list file could not be copied to " + QDir::toNativeSeparators(path) + ".bak: ";
    EXPECT_TRUE(why.startsWith(copia) && why.size() > copia.size() + 1) << why.toStdString();
    EXPECT_EQ(leggi(list().File_Rimossi()), (testoB + testoCD + testoA + testoE + sciolta).toUtf8());

    // The file of removed sets is not one that can take them (a named pipe):
    // they could not be added to it, not "it has not been read".
    const QByteArray rimossi = leggi(list().File_Rimossi());
    ASSERT_TRUE(QFile::rename(list().File_Rimossi(), path + ".kept"));
    {
        NamedPipe tubo(list().File_Rimossi());
        ASSERT_TRUE(tubo.made());
        list().setFile(path);
        ASSERT_TRUE(QDir(path + ".bak").removeRecursively());
        EXPECT_FALSE(list().Conserva_Rimossi(testoE, &why));
        EXPECT_FALSE(tubo.waited());
        EXPECT_EQ(why.toStdString(), ("They could not be added to the file " + QDir::toNativeSeparators(tubo.path())
                                      + ": it is not an ordinary file (it is a named pipe, a device or a folder).")
                                         .toStdString());
    }
    EXPECT_EQ(leggi(path + ".kept"), rimossi);
}
