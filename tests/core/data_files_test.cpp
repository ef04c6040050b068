// The fixed data loader on small folders made here, one fault at a time.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "core/data_files.h"
#include "core/globals_time.h"
#include "core/mlang.h"
#include "platform/vb.h"

namespace {

// One 35-byte record of the star catalogue, built byte by byte.
QByteArray Record(float ar, float dec, qint16 mag, const char* spettro, const char* lettera, const char* cost,
                  const char* nome)
{
    QByteArray r(kLunghezzaRecordStella, ' ');
    quint32 bits;
    std::memcpy(&bits, &ar, 4);
    qToLittleEndian(bits, r.data());
    std::memcpy(&bits, &dec, 4);
    qToLittleEndian(bits, r.data() + 4);
    qToLittleEndian(mag, r.data() + 8);
    std::memcpy(r.data() + 12, spettro, std::min<size_t>(2, std::strlen(spettro)));
    std::memcpy(r.data() + 14, lettera, std::min<size_t>(2, std::strlen(lettera)));
    std::memcpy(r.data() + 16, cost, std::min<size_t>(3, std::strlen(cost)));
    std::memcpy(r.data() + 19, nome, std::min<size_t>(16, std::strlen(nome)));
    return r;
}

// A program folder with six valid data files; each test spoils one of them.
class CartellaDati {
public:
    CartellaDati()
    {
        QByteArray stelle;
        stelle += Record(6.7525f, -16.7161f, -146, "A1", "\xce\xb1", "CMa", "Sirius");
        for (int n = 2; n <= kNumStelle; ++n)
            stelle += Record(float(n % 24), float(n % 90) - 45.0f, qint16(n / 10), "G2", "  ", "Ori", "");
        Scrivi("stars.bin", stelle);
        Scrivi("clines.dat", Linee(kMinLineeCostellazioni));
        QByteArray nomi;
        nomi += "10500,-5000,\"Crater\",\"Crt\"\r\n";
        nomi += "15000,2500,Serpens Caput,Se\r\n";
        for (int i = 3; i <= kNumNomiCostellazioni; ++i)
            nomi += QByteArray::number(i * 100) + "," + QByteArray::number(i) + ",Name" + QByteArray::number(i)
                    + ",N" + QByteArray::number(i % 10) + "x\r\n";
        Scrivi("cnames.dat", nomi);
        QByteArray pianeti;
        const char* chiavi[] = {"mercurio", "venere", "marte", "giove", "saturno",
                                "urano", "nettuno", "sole", "luna", "terra"};
        for (int i = 0; i < kNumCorpi; ++i)
            pianeti += QByteArray("\"") + chiavi[i] + "\"," + QByteArray::number(0.24 * (i + 1)) + ",252.25,77.45,"
                       + "0.2056,0.387,7.0,48.33,6.74,-0.42\r\n";
        Scrivi("planets.dat", pianeti);
        Scrivi("magnitud.dat", "5,4.0\r\n25544,-1.3\r\n");
        Scrivi("frequen.dat", "25544,145.990,437.800,FM voice\r\n7530,432.1250,145.9750,Mode B\r\n");
    }

    static QByteArray Linee(int n)
    {
        QByteArray t;
        for (int i = 1; i <= n; ++i)
            t += "Ori," + QByteArray::number(5000 + i) + "," + QByteArray::number(-i) + ",6000,750\r\n";
        return t;
    }

    void Scrivi(const char* nome, const QByteArray& testo)
    {
        QFile f(QDir(m_dir.path()).filePath(QString::fromLatin1(nome)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(testo);
    }

    void Rimuovi(const char* nome) { QDir(m_dir.path()).remove(QString::fromLatin1(nome)); }

    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
};

// Loads a folder and expects it to fail on `file`.
void Fallisce(const CartellaDati& c, const char* file)
{
    const EsitoCaricaDati e = Carica_dati(c.path());
    EXPECT_FALSE(e.ok);
    EXPECT_EQ(e.file, QString::fromLatin1(file)) << e.dettaglio.toStdString();
    EXPECT_FALSE(e.dettaglio.isEmpty());
    EXPECT_TRUE(Testo_Errore_Dati(e).contains(QString::fromLatin1(file)));
}

} // namespace

TEST(DataFiles, ValidFolderFillsEveryTable)
{
    CartellaDati c;
    const EsitoCaricaDati e = Carica_dati(c.path());
    ASSERT_TRUE(e.ok) << e.file.toStdString() << ": " << e.dettaglio.toStdString();

    ASSERT_EQ(gudtStelle.size(), size_t(kNumStelle + 1));
    EXPECT_FLOAT_EQ(gudtStelle[1].AscensioneRetta, 6.7525f);
    EXPECT_FLOAT_EQ(gudtStelle[1].Declinazione, -16.7161f);
    EXPECT_FLOAT_EQ(gudtStelle[kNumStelle].AscensioneRetta, float(kNumStelle % 24));
    EXPECT_FLOAT_EQ(gudtStelle[kNumStelle].Declinazione, float(kNumStelle % 90) - 45.0f);

    // Segment ends are stored as thousandths of an hour and hundredths of a degree.
    ASSERT_EQ(Numero_Linee_Costellazioni(), kMinLineeCostellazioni);
    EXPECT_FLOAT_EQ(gudtLineeCostellazioni[1].AscensioneRetta1, 5.001f);
    EXPECT_FLOAT_EQ(gudtLineeCostellazioni[1].Declinazione1, -0.01f);
    EXPECT_FLOAT_EQ(gudtLineeCostellazioni[646].AscensioneRetta1, 5.646f);
    EXPECT_FLOAT_EQ(gudtLineeCostellazioni[646].AscensioneRetta2, 6.0f);
    EXPECT_FLOAT_EQ(gudtLineeCostellazioni[646].Declinazione2, 7.5f);

    // Quoted and bare texts; the abbreviation is always three characters.
    ASSERT_EQ(gudtNomiCostellazioni.size(), size_t(kNumNomiCostellazioni + 1));
    EXPECT_DOUBLE_EQ(gudtNomiCostellazioni[1].AscensioneRetta, 10.5);
    EXPECT_DOUBLE_EQ(gudtNomiCostellazioni[1].Declinazione, -50.0);
    EXPECT_EQ(gudtNomiCostellazioni[1].Nome, QStringLiteral("Crater"));
    EXPECT_EQ(gudtNomiCostellazioni[1].Sigla, QStringLiteral("Crt"));
    EXPECT_EQ(gudtNomiCostellazioni[2].Nome, QStringLiteral("Serpens Caput"));
    EXPECT_EQ(gudtNomiCostellazioni[2].Sigla, QStringLiteral("Se "));
    EXPECT_EQ(gudtNomiCostellazioni[89].Sigla, QStringLiteral("N9x"));

    EXPECT_EQ(gudtCorpi[1].Nome, "mercurio");
    EXPECT_EQ(gudtCorpi[10].Nome, "terra");
    EXPECT_DOUBLE_EQ(gudtCorpi[1].PeriodoOrbitale, 0.24);
    EXPECT_DOUBLE_EQ(gudtCorpi[10].PeriodoOrbitale, 2.4);
    EXPECT_DOUBLE_EQ(gudtCorpi[3].LongitudineEpoca, 252.25);
    EXPECT_DOUBLE_EQ(gudtCorpi[3].LongitudinePerielio, 77.45);
    EXPECT_DOUBLE_EQ(gudtCorpi[3].Eccentricita, 0.2056);
    EXPECT_DOUBLE_EQ(gudtCorpi[3].SemiasseMaggiore, 0.387);
    EXPECT_DOUBLE_EQ(gudtCorpi[3].Inclinazione, 7.0);
    EXPECT_DOUBLE_EQ(gudtCorpi[3].LongitudineNodo, 48.33);
    EXPECT_DOUBLE_EQ(gudtCorpi[3].DiametroUnitario, 6.74);
    EXPECT_DOUBLE_EQ(gudtCorpi[3].MagnitudineUnitaria, -0.42);

    // The last row read was the last record; its fixed-width texts are whole.
    EXPECT_EQ(gudtRecordStella.Costellazione, "Ori");
    EXPECT_EQ(gudtRecordStella.Nome, std::string(16, ' '));
    EXPECT_EQ(gudtRecordStella.Magnitudine, kNumStelle / 10);

    // The magnitude table ends at the last catalogue number; other entries are empty.
    ASSERT_EQ(gstrMagnitudini.size(), size_t(25545));
    EXPECT_EQ(gstrMagnitudini[5], "4.0");
    EXPECT_EQ(gstrMagnitudini[25544], "-1.3");
    EXPECT_EQ(gstrMagnitudini[6], "");

    ASSERT_EQ(Numero_Frequenze(), 2);
    EXPECT_EQ(gudtFrequenze[1].Riga0, "25544");
    EXPECT_EQ(gudtFrequenze[1].Riga1, "145.990");
    EXPECT_EQ(gudtFrequenze[1].Riga2, "437.800");
    EXPECT_EQ(gudtFrequenze[2].Riga0, "7530");
}

TEST(DataFiles, StarRecordReadBackForAPickedStar)
{
    CartellaDati c;
    ASSERT_TRUE(Carica_dati(c.path()).ok);
    ASSERT_TRUE(Leggi_Record_Stella(c.path(), 1));
    EXPECT_FLOAT_EQ(gudtRecordStella.AscensioneRetta, 6.7525f);
    EXPECT_EQ(gudtRecordStella.Magnitudine, -146);
    EXPECT_EQ(gudtRecordStella.Spettro, "A1");
    EXPECT_EQ(Testo_Campo_Stella(gudtRecordStella.Lettera), QString::fromUtf8("\u03b1"));
    EXPECT_EQ(Testo_Campo_Stella(gudtRecordStella.Nome), QStringLiteral("Sirius"));
    EXPECT_EQ(gudtRecordStella.Costellazione, "CMa");
    EXPECT_EQ(gudtRecordStella.Nome, "Sirius          ");

    // No record 0 and none past the end: the record in memory stays as it was.
    EXPECT_FALSE(Leggi_Record_Stella(c.path(), 0));
    EXPECT_FALSE(Leggi_Record_Stella(c.path(), kNumStelle + 1));
    EXPECT_EQ(gudtRecordStella.Costellazione, "CMa");
}

TEST(DataFiles, MagnitudeTableOnlyGrows)
{
    CartellaDati c;
    // Rows out of order keep every entry read so far.
    c.Scrivi("magnitud.dat", "5,3.5\r\n12,1.0\r\n9,6.2\r\n");
    ASSERT_TRUE(Carica_dati(c.path()).ok);
    ASSERT_EQ(gstrMagnitudini.size(), size_t(13));
    EXPECT_EQ(gstrMagnitudini[5], "3.5");
    EXPECT_EQ(gstrMagnitudini[9], "6.2");
    EXPECT_EQ(gstrMagnitudini[12], "1.0");

    // An empty catalogue field ends the table even if rows follow.
    c.Scrivi("magnitud.dat", "20,2.0\r\n\r\n30,3.0\r\n");
    ASSERT_TRUE(Carica_dati(c.path()).ok);
    EXPECT_EQ(gstrMagnitudini.size(), size_t(21));

    // An empty file gives an empty table: every magnitude is unknown.
    c.Scrivi("magnitud.dat", "");
    ASSERT_TRUE(Carica_dati(c.path()).ok);
    EXPECT_TRUE(gstrMagnitudini.empty());
}

TEST(DataFiles, FrequenciesKeepTheirTextInFileOrder)
{
    CartellaDati c;
    // Three channels of one satellite; the fourth decimal above 1 GHz survives;
    // a row may continue on the next line; blank fields around commas are skipped.
    c.Scrivi("frequen.dat",
             "25544, 145.200 ,145.800,A\r\n"
             "25544,1269.1234,2401.1234,B\r\n"
             "25544,\"435.0500\"\r\n10489.5505,C\r\n"
             "43017,0,145.960,\"no uplink\"\r\n"
             ",,,\r\n"
             "99999,1,2,ignored\r\n");
    ASSERT_TRUE(Carica_dati(c.path()).ok);
    ASSERT_EQ(Numero_Frequenze(), 4);
    EXPECT_EQ(gudtFrequenze[1].Riga1, "145.200");
    EXPECT_EQ(gudtFrequenze[2].Riga1, "1269.1234");
    EXPECT_EQ(gudtFrequenze[2].Riga2, "2401.1234");
    EXPECT_EQ(gudtFrequenze[3].Riga1, "435.0500");
    EXPECT_EQ(gudtFrequenze[3].Riga2, "10489.5505");
    EXPECT_EQ(gudtFrequenze[4].Riga0, "43017");
    EXPECT_EQ(gudtFrequenze[4].Riga1, "0");

    // A frequency that is not a number is a broken file.
    c.Scrivi("frequen.dat", "25544,145.8x,437.8,A\r\n");
    Fallisce(c, "frequen.dat");
}

TEST(DataFiles, LineEndsAndEncodings)
{
    CartellaDati c;
    // Lone CR line ends, a row spread over lines and a Windows-1252 name.
    QByteArray nomi = "10500,-5000,Cr\xe0ter,Crt\r150\r\n0,Serp,Ser\r";
    for (int i = 3; i <= kNumNomiCostellazioni; ++i)
        nomi += "0,0,X,XXX\n";
    c.Scrivi("cnames.dat", nomi);
    ASSERT_TRUE(Carica_dati(c.path()).ok);
    EXPECT_EQ(gudtNomiCostellazioni[1].Nome, QString::fromUtf8("Cr\xc3\xa0ter"));
    EXPECT_DOUBLE_EQ(gudtNomiCostellazioni[2].AscensioneRetta, 0.15);
    EXPECT_DOUBLE_EQ(gudtNomiCostellazioni[2].Declinazione, 0.0);
    EXPECT_EQ(gudtNomiCostellazioni[2].Nome, QStringLiteral("Serp"));
    EXPECT_EQ(gudtNomiCostellazioni[3].Nome, QStringLiteral("X"));
}

TEST(DataFiles, ExtraConstellationSegmentsAreKept)
{
    CartellaDati c;
    c.Scrivi("clines.dat", CartellaDati::Linee(700) + "\r\n\r\n");
    ASSERT_TRUE(Carica_dati(c.path()).ok);
    ASSERT_EQ(Numero_Linee_Costellazioni(), 700);
    EXPECT_FLOAT_EQ(gudtLineeCostellazioni[700].AscensioneRetta1, 5.7f);
}

TEST(DataFiles, BrokenFilesFailAndLeaveTheTablesWhole)
{
    CartellaDati c;
    ASSERT_TRUE(Carica_dati(c.path()).ok);

    c.Scrivi("clines.dat", CartellaDati::Linee(645));
    Fallisce(c, "clines.dat");
    c.Scrivi("clines.dat", CartellaDati::Linee(646) + "Ori,1,2,3\r\n");   // last row cut short
    Fallisce(c, "clines.dat");
    c.Scrivi("clines.dat", CartellaDati::Linee(646));

    c.Scrivi("cnames.dat", "12a,0,X,XXX\r\n");
    const EsitoCaricaDati e = Carica_dati(c.path());
    EXPECT_FALSE(e.ok);
    EXPECT_EQ(e.file, QStringLiteral("cnames.dat"));
    EXPECT_EQ(e.riga, 1);
    c.Scrivi("cnames.dat", "0,0,X,XXX\r\n");   // 88 rows missing
    Fallisce(c, "cnames.dat");

    CartellaDati c2;
    QFile::resize(QDir(c2.path()).filePath("stars.bin"), qint64(kNumStelle) * kLunghezzaRecordStella - 1);
    Fallisce(c2, "stars.bin");

    CartellaDati c3;
    c3.Scrivi("planets.dat", "\"sole\",1,2,3,4,5,6,7,8,9\r\n");
    Fallisce(c3, "planets.dat");

    CartellaDati c4;
    c4.Rimuovi("magnitud.dat");
    Fallisce(c4, "magnitud.dat");

    // A huge or negative catalogue number is refused, not allocated.
    CartellaDati c5;
    c5.Scrivi("magnitud.dat", "5,1.0\r\n99999999999,2.0\r\n");
    Fallisce(c5, "magnitud.dat");
    c5.Scrivi("magnitud.dat", "-3,2.0\r\n");
    Fallisce(c5, "magnitud.dat");
    c5.Scrivi("magnitud.dat", "99999,2.0\r\n");
    ASSERT_TRUE(Carica_dati(c5.path()).ok);
    EXPECT_EQ(gstrMagnitudini.size(), size_t(100000));

    // A failed load after a good one changes nothing (c still has a short cnames.dat).
    EXPECT_FALSE(Carica_dati(c.path()).ok);
    EXPECT_EQ(gstrMagnitudini.size(), size_t(100000));
    EXPECT_EQ(Numero_Frequenze(), 2);
    EXPECT_EQ(gudtNomiCostellazioni[2].Nome, QStringLiteral("Serpens Caput"));
}

// ---------------------------------------------------------------------------
// The data files the program ships, against published star positions.

namespace {

QString Cartella_Dati_Distribuiti()
{
    return QDir(QStringLiteral(ASTROVELA_SOURCE_DIR)).filePath(QStringLiteral("data"));
}

struct StellaRiferimento {
    QString nome;
    double ar = 0, dec = 0, mag = 0;
};

// PyEphem's catalogue of named bright stars (tools/ref_stars.py).
QList<StellaRiferimento> Stelle_Riferimento()
{
    QList<StellaRiferimento> out;
    QFile f(QStringLiteral(ASTROVELA_TEST_DATA "/ref_stars.csv"));
    if (!f.open(QIODevice::ReadOnly))
        return out;
    for (const QByteArray& riga : f.readAll().split('\n')) {
        const QList<QByteArray> c = riga.trimmed().split(',');
        if (riga.startsWith('#') || c.size() != 4)
            continue;
        out.append({QString::fromUtf8(c[0]), c[1].toDouble(), c[2].toDouble(), c[3].toDouble()});
    }
    return out;
}

// Angular separation in degrees of two points given in hours and degrees.
double Distanza_Angolare(double ar1, double dec1, double ar2, double dec2)
{
    constexpr double rad = 3.14159265358979323846 / 180.0;
    const double a = (ar1 - ar2) * 15.0 * rad;
    const double c = std::sin(dec1 * rad) * std::sin(dec2 * rad) + std::cos(dec1 * rad) * std::cos(dec2 * rad) * std::cos(a);
    return std::acos(std::clamp(c, -1.0, 1.0)) / rad;
}

} // namespace

TEST(ShippedData, LoadsWithTheCountsTheProgramNeeds)
{
    const QString dir = Cartella_Dati_Distribuiti();
    if (!QFile::exists(QDir(dir).filePath("stars.bin")))
        GTEST_SKIP() << "no data files in " << dir.toStdString();
    const EsitoCaricaDati e = Carica_dati(dir);
    ASSERT_TRUE(e.ok) << e.file.toStdString() << " line " << e.riga << ": " << e.dettaglio.toStdString();

    ASSERT_EQ(gudtStelle.size(), size_t(kNumStelle + 1));
    EXPECT_GE(Numero_Linee_Costellazioni(), kMinLineeCostellazioni);
    ASSERT_EQ(gudtNomiCostellazioni.size(), size_t(kNumNomiCostellazioni + 1));
    EXPECT_GT(gstrMagnitudini.size(), size_t(1));
    EXPECT_GT(Numero_Frequenze(), 0);

    // Brightest first, as the charts' rank rules assume; positions in range.
    qint16 precedente = -32768;
    int fuoriOrdine = 0;
    for (int n = 1; n <= kNumStelle; ++n) {
        ASSERT_TRUE(Leggi_Record_Stella(dir, n));
        const RecordStella& r = gudtRecordStella;
        ASSERT_TRUE(r.AscensioneRetta >= 0.0f && r.AscensioneRetta < 24.0f) << "record " << n;
        ASSERT_TRUE(r.Declinazione >= -90.0f && r.Declinazione <= 90.0f) << "record " << n;
        fuoriOrdine += r.Magnitudine < precedente;
        precedente = r.Magnitudine;
    }
    EXPECT_EQ(fuoriOrdine, 0);
    // The faintest of the 9010 is about the naked-eye limit.
    EXPECT_GT(gudtRecordStella.Magnitudine, 600);
    EXPECT_LT(gudtRecordStella.Magnitudine, 800);

    QSet<QString> sigle;
    for (int i = 1; i <= kNumNomiCostellazioni; ++i) {
        const NomeCostellazione& n = gudtNomiCostellazioni[i];
        EXPECT_FALSE(n.Nome.trimmed().isEmpty()) << i;
        EXPECT_EQ(n.Sigla.size(), 3) << i;
        EXPECT_TRUE(n.AscensioneRetta >= 0 && n.AscensioneRetta < 24 && std::abs(n.Declinazione) <= 90) << i;
        sigle.insert(n.Sigla);
    }
    EXPECT_GE(sigle.size(), 88);   // 88 constellations, Serpens may share its label

    // Constellation figures join stars: nearly every segment end lies on a
    // catalogue star (within the rounding of the file, 0.001 h and 0.01 deg).
    int lontani = 0;
    const int estremi = 2 * Numero_Linee_Costellazioni();
    for (int i = 1; i <= Numero_Linee_Costellazioni(); ++i) {
        const LineaCostellazione& s = gudtLineeCostellazioni[i];
        for (auto [ar, dec] : {std::pair{s.AscensioneRetta1, s.Declinazione1}, std::pair{s.AscensioneRetta2, s.Declinazione2}}) {
            double migliore = 180.0;
            for (int n = 1; n <= kNumStelle && migliore > 0.05; ++n)
                migliore = std::min(migliore, Distanza_Angolare(ar, dec, gudtStelle[n].AscensioneRetta, gudtStelle[n].Declinazione));
            lontani += migliore > 0.05;
        }
    }
    EXPECT_LT(lontani, estremi / 50) << lontani << " of " << estremi << " segment ends are off every star";

    // Every magnitude is a number; every body has elements and a name key.
    for (size_t c = 0; c < gstrMagnitudini.size(); ++c) {
        if (gstrMagnitudini[c].empty())
            continue;
        const auto v = vb::StrictValue(gstrMagnitudini[c]);
        EXPECT_TRUE(v && *v > -5 && *v < 15) << "catalogue " << c << ": " << gstrMagnitudini[c];
    }
    // Frequencies are MHz of real links, and no satellite has more rows than
    // the ten channels an element set can take.
    QHash<QString, int> canali;
    for (int i = 1; i <= Numero_Frequenze(); ++i) {
        const RigaDati& r = gudtFrequenze[i];
        for (const std::string& f : {r.Riga1, r.Riga2}) {
            const auto v = vb::StrictValue(f);
            EXPECT_TRUE(v && *v >= 0 && *v <= 30000) << "row " << i << ": " << f;
        }
        EXPECT_LE(++canali[QString::fromStdString(r.Riga0)], 10) << r.Riga0;
    }
    // Each body's name key has its text in every language file.
    const QString assente = QStringLiteral("\x01missing\x01");
    for (int i = 1; i <= kNumCorpi; ++i) {
        const QString chiave = QString::fromStdString(gudtCorpi[i].Nome);
        EXPECT_FALSE(chiave.isEmpty()) << "body row " << i;
        for (const char* lingua : {"english.ini", "italiano.ini"}) {
            const QString file = QDir(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang")).filePath(QString::fromLatin1(lingua));
            EXPECT_NE(mLang::Leggi_Chiave_Lingua(QStringLiteral("Planets"), chiave, assente, file), assente)
                << lingua << " has no [Planets] " << chiave.toStdString();
        }
    }
    EXPECT_GT(gudtCorpi[mAstro::kTerra].PeriodoOrbitale, 0.99);
    EXPECT_LT(gudtCorpi[mAstro::kTerra].PeriodoOrbitale, 1.01);
    EXPECT_GT(gudtCorpi[mAstro::kGiove].SemiasseMaggiore, 5.1);
    EXPECT_LT(gudtCorpi[mAstro::kGiove].SemiasseMaggiore, 5.3);
}

TEST(ShippedData, BrightestStarsAreWhereThePublishedCatalogueHasThem)
{
    const QString dir = Cartella_Dati_Distribuiti();
    if (!QFile::exists(QDir(dir).filePath("stars.bin")))
        GTEST_SKIP() << "no data files in " << dir.toStdString();
    ASSERT_TRUE(Carica_dati(dir).ok);
    const QList<StellaRiferimento> rif = Stelle_Riferimento();
    ASSERT_GT(rif.size(), 100);

    int confrontate = 0;
    for (const StellaRiferimento& s : rif) {
        if (s.mag > 2.0)
            continue;
        // The nearest of the 100 brightest records.
        int trovata = 0;
        double migliore = 180.0;
        for (int n = 1; n <= 100; ++n) {
            const double d = Distanza_Angolare(s.ar, s.dec, gudtStelle[n].AscensioneRetta, gudtStelle[n].Declinazione);
            if (d < migliore) {
                migliore = d;
                trovata = n;
            }
        }
        EXPECT_LT(migliore * 3600.0, 60.0) << s.nome.toStdString() << " is " << migliore << " deg from record " << trovata;
        // The catalogue lists the parts of a close double apart, and the
        // reference gives either the joint light or the brighter part: its
        // magnitude lies between the two within 0.25.
        double flusso = 0.0, piuBrillante = 99.0;
        for (int n = 1; n <= kNumStelle; ++n) {
            if (Distanza_Angolare(s.ar, s.dec, gudtStelle[n].AscensioneRetta, gudtStelle[n].Declinazione) < 1.0 / 60.0) {
                ASSERT_TRUE(Leggi_Record_Stella(dir, n));
                const double m = gudtRecordStella.Magnitudine / 100.0;
                flusso += std::pow(10.0, -0.4 * m);
                piuBrillante = std::min(piuBrillante, m);
            }
        }
        ASSERT_GT(flusso, 0.0) << s.nome.toStdString();
        EXPECT_GE(s.mag, -2.5 * std::log10(flusso) - 0.25) << s.nome.toStdString();
        EXPECT_LE(s.mag, piuBrillante + 0.25) << s.nome.toStdString();
        ++confrontate;
    }
    EXPECT_GE(confrontate, 30);

    // The order and the texts of the first records, as any almanac lists them.
    struct Atteso { int record; const char* cost; const char* nome; };
    for (const Atteso& a : {Atteso{1, "CMa", "Sirius"}, Atteso{2, "Car", "Canopus"}}) {
        ASSERT_TRUE(Leggi_Record_Stella(dir, a.record));
        EXPECT_EQ(gudtRecordStella.Costellazione, a.cost);
        EXPECT_EQ(Testo_Campo_Stella(gudtRecordStella.Nome).toStdString(), a.nome);
        EXPECT_EQ(Testo_Campo_Stella(gudtRecordStella.Lettera), QString::fromUtf8("\u03b1")) << a.nome;
    }
    // Arcturus, Rigil Kentaurus and Vega follow within the next few records.
    for (const char* cost : {"Boo", "Cen", "Lyr"}) {
        bool visto = false;
        for (int n = 3; n <= 6 && !visto; ++n) {
            ASSERT_TRUE(Leggi_Record_Stella(dir, n));
            visto = gudtRecordStella.Costellazione == cost;
        }
        EXPECT_TRUE(visto) << cost;
    }
}

TEST(ShippedData, ProgramFolderHoldsEveryFileTheStartUpChecks)
{
    // The folder the build lays out beside the executable.
    const QDir dir(QStringLiteral(ASTROVELA_PROGRAM_DIR));
    for (const char* nome : {"MapEarth.dat", "Map0.dat", "Map0N45.dat", "Map0S45.dat", "Map90.dat", "Map90N45.dat",
                             "Map90S45.dat", "Map180.dat", "Map180N45.dat", "Map180S45.dat", "Map270.dat",
                             "Map270N45.dat", "Map270S45.dat", "MapNorth.dat", "MapSouth.dat", "stars.bin",
                             "cities.dat", "clines.dat", "cnames.dat", "planets.dat", "frequen.dat",
                             "magnitud.dat", "landscape.dat"})
        EXPECT_TRUE(QFileInfo(dir.filePath(QString::fromLatin1(nome))).isFile()) << nome;
    // A language file other than the working-list file.
    const QStringList lingue = dir.entryList({QStringLiteral("*.ini")}, QDir::Files)
                                   .filter(QRegularExpression(QStringLiteral("^(?!astrovela\\.ini$)"),
                                                              QRegularExpression::CaseInsensitiveOption));
    EXPECT_GE(lingue.size(), 2) << lingue.join(u' ').toStdString();
    // And the six data files load from there.
    const EsitoCaricaDati e = Carica_dati(dir.path());
    EXPECT_TRUE(e.ok) << e.file.toStdString() << ": " << e.dettaglio.toStdString();
}
