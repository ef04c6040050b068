// Loading element files into the database, the list rows and their order,
// and the re-matching of the working list.
#include "core/data_files.h"
#include "core/database.h"
#include "core/element_file.h"

#include "platform/vb.h"
#include "support/elements_sample_ref.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace {

const QString kSample = QStringLiteral(ASTROVELA_TEST_DATA "/elements_sample.txt");
constexpr double kAdesso = 2460000.5; // 24 February 2023, 0h UT

using campione::Riferimento;
using campione::riferimenti;

QByteArray leggiCampione()
{
    QFile f(kSample);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

class DatabaseLoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_magnitudini = gstrMagnitudini;
        vb::setDisplayLocale(QLocale::c());
        // A magnitude table up to catalogue 30000: catalogue 88888 of the
        // sample lies beyond it.
        gstrMagnitudini.assign(30001, "");
        gstrMagnitudini[5] = "11.0";
        gstrMagnitudini[25544] = "-1.3";
        gstrMagnitudini[28057] = "4.2";
        ASSERT_TRUE(m_dir.isValid());
    }
    void TearDown() override { gstrMagnitudini = m_magnitudini; }

    QString scrivi(const QByteArray& testo, const QString& nome = QStringLiteral("f.txt"))
    {
        const QString p = m_dir.filePath(nome);
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(testo);
        return p;
    }

    QTemporaryDir m_dir;
    std::vector<std::string> m_magnitudini;
};

TEST_F(DatabaseLoad, SampleFileLoadsWithAgesAgainstSgp4Epochs)
{
    const auto ref = riferimenti();
    ASSERT_EQ(ref.size(), 34u);
    int passi = 0;
    qsizetype ultimo = -1, totale = 0;
    const auto e = core::Carica_File_Elementi(kSample, kAdesso, [&](qsizetype letti, qsizetype tot) {
        ++passi;
        EXPECT_GT(letti, ultimo);
        ultimo = letti;
        totale = tot;
        return true;
    });
    ASSERT_TRUE(e.ok());
    ASSERT_EQ(e.numero(), 34);
    EXPECT_EQ(passi, 34);
    EXPECT_EQ(ultimo, totale);
    EXPECT_EQ(totale, QFileInfo(kSample).size());
    EXPECT_EQ(e.voci[34].Riga0, "ISS (ZARYA)");
    EXPECT_EQ(e.voci[34].Riga2, "2 25544  51.6484  23.7537 0001246  74.1647  18.7420 15.50540527859894");
    EXPECT_EQ(e.voci[1].Riga1, "1 00005U 58002B   00179.78495062  .00000023  00000-0  28098-4 0  4753");

    double minimo = 1e99, massimo = -1e99, somma = 0;
    for (const auto& r : ref) {
        const double eta = kAdesso - r.epoca;
        minimo = std::min(minimo, eta);
        massimo = std::max(massimo, eta);
        somma += eta;
    }
    EXPECT_NEAR(e.recente, minimo, 1e-6);
    EXPECT_NEAR(e.vecchio, massimo, 1e-6);
    EXPECT_NEAR(e.media(), somma / 34, 1e-6);
    // 5, 25544 and 28057 are known; 88888 lies beyond the table and is
    // simply unknown.
    EXPECT_EQ(e.conMagnitudine, 3);

    // A clock before every epoch: negative ages; the oldest stays at 0 and
    // the newest is the most negative age.
    constexpr double kPrima = 2400000.5; // 1858
    const auto f = core::Carica_File_Elementi(kSample, kPrima);
    ASSERT_TRUE(f.ok());
    double piuNegativa = 1e99;
    for (const auto& r : ref)
        piuNegativa = std::min(piuNegativa, kPrima - r.epoca);
    EXPECT_EQ(f.vecchio, 0.0);
    EXPECT_NEAR(f.recente, piuNegativa, 1e-6);
    EXPECT_LT(f.media(), 0.0);
}

TEST_F(DatabaseLoad, KeyTextsAgreeWithSgp4Reading)
{
    const auto ref = riferimenti();
    const auto e = core::Carica_File_Elementi(kSample, kAdesso);
    ASSERT_TRUE(e.ok());
    for (int i = 1; i <= e.numero(); ++i) {
        const RigaDati& s = e.voci[size_t(i)];
        const Riferimento& r = ref[size_t(i - 1)];
        SCOPED_TRACE(s.Riga0);
        EXPECT_EQ(core::Testo_Chiave(s, core::OrdineInclinazione), QString::asprintf("%05.1f", r.inclinazione));
        EXPECT_EQ(core::Testo_Chiave(s, core::OrdineNodo), QString::asprintf("%05.1f", r.nodo));
        EXPECT_EQ(core::Testo_Chiave(s, core::OrdinePerigeo), QString::asprintf("%05.1f", r.perigeo));
        EXPECT_EQ(core::Testo_Chiave(s, core::OrdineEccentricita), QString::asprintf("%.4f", r.eccentricita));
        EXPECT_EQ(core::Testo_Chiave(s, core::OrdinePeriodo), QString::asprintf("%06.1f", r.periodo));
        EXPECT_EQ(core::Testo_Chiave(s, core::OrdineMotoMedio), QString::asprintf("%04.1f", r.giri));
        EXPECT_EQ(core::Testo_Chiave(s, core::OrdineCatalogo).toLong(), r.catalogo);
        EXPECT_EQ(core::Testo_Riga(s, core::OrdineNome), QString::fromStdString(s.Riga0).left(24));
    }
    // A blank international designator gives the year 2000; 58002B is 1958.
    EXPECT_EQ(core::Testo_Chiave(e.voci[7], core::OrdineAnnoLancio), "2000");
    EXPECT_EQ(core::Testo_Riga(e.voci[1], core::OrdineAnnoLancio), "1958  SGP4-VER 00005");
    EXPECT_EQ(core::Testo_Riga(e.voci[34], core::OrdineMagnitudine), "-1.3  ISS (ZARYA)");
    EXPECT_EQ(core::Testo_Chiave(e.voci[29], core::OrdineMagnitudine), "???"); // 88888
}

TEST_F(DatabaseLoad, LineEndsAndTheEndOfTheFile)
{
    const QByteArray crlf = leggiCampione();
    // Lone CR line ends read the same sets.
    QByteArray cr = crlf;
    cr.replace("\r\n", "\r");
    auto e = core::Carica_File_Elementi(scrivi(cr), kAdesso);
    ASSERT_TRUE(e.ok());
    EXPECT_EQ(e.numero(), 34);
    EXPECT_EQ(e.voci[34].Riga0, "ISS (ZARYA)");

    // An empty fourth name line ends the file.
    QByteArray vuota = crlf;
    vuota.insert(crlf.indexOf("MOLNIYA 2-14"), "\r\n");
    e = core::Carica_File_Elementi(scrivi(vuota), kAdesso);
    ASSERT_TRUE(e.ok());
    EXPECT_EQ(e.numero(), 3);

    // LF-only line ends (the usual form on Linux), lone CRs, and a mix of
    // the three read the same sets as CR LF.
    const core::EsitoCaricamento atteso = core::Carica_File_Elementi(scrivi(crlf), kAdesso);
    ASSERT_TRUE(atteso.ok());
    QByteArray lf = crlf;
    lf.replace("\r\n", "\n");
    QByteArray misto = crlf;
    for (qsizetype i = misto.indexOf("\r\n"), k = 0; i >= 0; i = misto.indexOf("\r\n", i + 1), ++k)
        if (k % 3 == 1)
            misto.remove(i, 1); // every third line end a lone LF
    for (const QByteArray& testo : {lf, cr, misto}) {
        e = core::Carica_File_Elementi(scrivi(testo), kAdesso);
        ASSERT_TRUE(e.ok());
        ASSERT_EQ(e.numero(), atteso.numero());
        for (int i = 1; i <= e.numero(); ++i) {
            EXPECT_EQ(e.voci[std::size_t(i)].Riga1, atteso.voci[std::size_t(i)].Riga1);
            EXPECT_EQ(e.voci[std::size_t(i)].Riga2, atteso.voci[std::size_t(i)].Riga2);
        }
    }
    // An empty name line ends an LF file too.
    lf.insert(lf.indexOf("MOLNIYA 2-14"), "\n");
    EXPECT_EQ(core::Carica_File_Elementi(scrivi(lf), kAdesso).numero(), 3);

    // A last line of blanks starts a set without element lines (lines of
    // blanks Format file makes empty, and so the end of the file).
    e = core::Carica_File_Elementi(scrivi(crlf + "   \r\n"), kAdesso);
    EXPECT_EQ(e.stato, core::EsitoCaricamento::Stato::RigheBianche);
    EXPECT_EQ(e.riga, 103);
    EXPECT_TRUE(e.riparabile());

    // A file cut inside a set.
    e = core::Carica_File_Elementi(scrivi(crlf.left(crlf.indexOf("2 25544"))), kAdesso);
    EXPECT_EQ(e.stato, core::EsitoCaricamento::Stato::Troncato);

    // Nothing at all, or an empty first line.
    EXPECT_EQ(core::Carica_File_Elementi(scrivi(""), kAdesso).stato, core::EsitoCaricamento::Stato::Vuoto);
    EXPECT_EQ(core::Carica_File_Elementi(scrivi("\r\n" + crlf), kAdesso).stato,
              core::EsitoCaricamento::Stato::Vuoto);
    EXPECT_EQ(core::Carica_File_Elementi(m_dir.filePath("missing.txt"), kAdesso).stato,
              core::EsitoCaricamento::Stato::NonApribile);
}

TEST_F(DatabaseLoad, MalformedNumbersFailWithTheirLine)
{
    QByteArray b = leggiCampione();
    QByteArray anno = b;
    anno.replace("1 06251U 62025E   06176", "1 06251U 62025E   X6176");
    auto e = core::Carica_File_Elementi(scrivi(anno), kAdesso);
    EXPECT_EQ(e.stato, core::EsitoCaricamento::Stato::AnnoNonValido);
    EXPECT_EQ(e.riga, 8);

    QByteArray cat = b;
    cat.replace("1 06251U", "1 06X51U");
    e = core::Carica_File_Elementi(scrivi(cat), kAdesso);
    EXPECT_EQ(e.stato, core::EsitoCaricamento::Stato::CatalogoNonValido);
    EXPECT_EQ(e.riga, 8);

    // A letter or a NUL byte inside the epoch day or a number of line 2: the
    // file loads (the set is refused when it is used), but no figure is read
    // from the digits before it. The ages are those of the other 33 sets.
    QList<QByteArray> righe = b.split('\n');
    ASSERT_TRUE(righe[7].startsWith("1 06251U"));
    righe.remove(6, 3);
    const QByteArray senza = righe.join('\n');
    const auto altri = core::Carica_File_Elementi(scrivi(senza, QStringLiteral("senza.txt")), kAdesso);
    ASSERT_TRUE(altri.ok());
    ASSERT_EQ(altri.numero(), 33);
    QByteArray giorno = b;
    giorno.replace("1 06251U 62025E   06176", QByteArray("1 06251U 62025E   06\x00""76", 23));
    e = core::Carica_File_Elementi(scrivi(giorno), kAdesso);
    ASSERT_TRUE(e.ok());
    EXPECT_EQ(e.numero(), 34);
    EXPECT_DOUBLE_EQ(e.recente, altri.recente);
    EXPECT_DOUBLE_EQ(e.vecchio, altri.vecchio);
    EXPECT_DOUBLE_EQ(e.media(), altri.media());
    RigaDati danneggiato = e.voci[3];
    ASSERT_EQ(danneggiato.Riga1.substr(2, 5), "06251");
    danneggiato.Riga2.replace(10, 1, "x");   // inclination " 5x.0..."
    danneggiato.Riga2.replace(28, 1, "#");   // eccentricity
    danneggiato.Riga2.replace(54, 1, "Z");   // mean motion
    for (int chiave : {core::OrdineInclinazione, core::OrdineEccentricita, core::OrdineMotoMedio,
                       core::OrdinePeriodo}) {
        EXPECT_EQ(core::Testo_Chiave(danneggiato, chiave), "???") << chiave;
    }

    // The file itself is never touched by reading.
    const QString p = scrivi(cat, QStringLiteral("kept.txt"));
    core::Carica_File_Elementi(p, kAdesso);
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), cat);
}

TEST_F(DatabaseLoad, StopAfterTenSets)
{
    int passi = 0;
    const auto e = core::Carica_File_Elementi(kSample, kAdesso, [&](qsizetype, qsizetype) { return ++passi < 10; });
    EXPECT_EQ(e.stato, core::EsitoCaricamento::Stato::Annullato);
    EXPECT_EQ(passi, 10);
}

TEST_F(DatabaseLoad, MoreThan32767SetsLoad)
{
    const QByteArray b = leggiCampione();
    const qsizetype fine = b.indexOf("SGP4-VER 04632");
    const QByteArray set = b.left(fine); // catalogue 5
    QByteArray grande;
    grande.reserve(set.size() * 33000);
    for (int i = 0; i < 33000; ++i)
        grande += set;
    const auto e = core::Carica_File_Elementi(scrivi(grande), kAdesso);
    ASSERT_TRUE(e.ok());
    EXPECT_EQ(e.numero(), 33000);
    EXPECT_EQ(e.conMagnitudine, 33000);
}

TEST_F(DatabaseLoad, RowsSortByNumberAndKeepTheirEntries)
{
    auto e = core::Carica_File_Elementi(kSample, kAdesso);
    ASSERT_TRUE(e.ok());
    // A satellite of zero mean motion: its period cannot be formed.
    RigaDati ferma = e.voci[3];
    ferma.Riga0 = "STILL";
    ferma.Riga2.replace(52, 11, " 0.00000000");
    e.voci.push_back(ferma);
    const int n = e.numero();

    for (int chiave = 0; chiave < core::kNumeroChiavi; ++chiave) {
        SCOPED_TRACE(chiave);
        const auto righe = core::Righe_Ordinate(e.voci, chiave);
        ASSERT_EQ(int(righe.size()), n);
        std::set<int> voci;
        for (const auto& r : righe) {
            voci.insert(r.voce);
            EXPECT_EQ(r.testo, core::Testo_Riga(e.voci[size_t(r.voce)], chiave));
        }
        EXPECT_EQ(int(voci.size()), n);
    }

    // With a comma as the user's decimal point the rows show it too.
    vb::setDisplayLocale(QLocale(QLocale::Italian, QLocale::Italy));
    for (const auto& r : core::Righe_Ordinate(e.voci, core::OrdineInclinazione))
        EXPECT_EQ(r.testo, core::Testo_Riga(e.voci[size_t(r.voce)], core::OrdineInclinazione));
    EXPECT_TRUE(core::Testo_Chiave(e.voci[1], core::OrdineInclinazione).contains(u','));
    vb::setDisplayLocale(QLocale::c());

    // By period: the deep-space orbits (over 1440 minutes, even 10000 and
    // more) come after the low ones; the period that cannot be formed last.
    const auto periodo = core::Righe_Ordinate(e.voci, core::OrdinePeriodo);
    EXPECT_TRUE(periodo.back().testo.startsWith("???  STILL"));
    double prima = -1;
    for (size_t i = 0; i + 1 < periodo.size(); ++i) {
        const double p = periodo[i].testo.section(' ', 0, 0).toDouble();
        EXPECT_GE(p, prima) << periodo[i].testo.toStdString();
        prima = p;
    }
    EXPECT_GT(prima, 10000.0); // 33334 with 0.00001 rev/day

    // By magnitude: -1.3 before 4.2 before 11.0, unknown ones after.
    const auto mag = core::Righe_Ordinate(e.voci, core::OrdineMagnitudine);
    EXPECT_EQ(mag[0].testo, "-1.3  ISS (ZARYA)");
    EXPECT_TRUE(mag[1].testo.startsWith("4.2  "));
    EXPECT_TRUE(mag[2].testo.startsWith("11.0  "));
    EXPECT_TRUE(mag[3].testo.startsWith("???  "));

    // By name without regard to case; equal names keep file order.
    RigaDati minuscolo = e.voci[1];
    minuscolo.Riga0 = "aaa first";
    e.voci.push_back(minuscolo);
    const auto nomi = core::Righe_Ordinate(e.voci, core::OrdineNome);
    EXPECT_EQ(nomi[0].testo, "aaa first");
    EXPECT_EQ(nomi[1].testo, "AMC-4");
    std::vector<int> sl6;
    for (const auto& r : nomi)
        if (r.testo == "SL-6 R/B(2)")
            sl6.push_back(r.voce);
    ASSERT_EQ(sl6.size(), 3u);
    EXPECT_TRUE(std::is_sorted(sl6.begin(), sl6.end()));

    EXPECT_TRUE(core::Righe_Ordinate({}, core::OrdineNome).empty());
}

TEST_F(DatabaseLoad, WorkingListMatching)
{
    const auto e = core::Carica_File_Elementi(kSample, kAdesso);
    ASSERT_TRUE(e.ok());
    // Five listed, three in the file; the principal is missing.
    auto m = core::Abbina_Lista_Lavoro({"99999", "25544", "00005", "12345", "28057"}, e.voci);
    EXPECT_EQ(m.richiesti, 5);
    ASSERT_EQ(m.trovati(), 3);
    EXPECT_FALSE(m.principaleTrovato);
    EXPECT_EQ(m.lista[0].Riga0, "ISS (ZARYA)");
    EXPECT_EQ(m.lista[1].Riga0, "SGP4-VER 00005");
    EXPECT_EQ(m.lista[2].Riga1.substr(2, 5), "28057");
    // Numbers compare as written: "  694" is not "00694".
    m = core::Abbina_Lista_Lavoro({"25544", " 5   "}, e.voci);
    EXPECT_TRUE(m.principaleTrovato);
    EXPECT_EQ(m.trovati(), 1);

    // A file that holds every listed number twice gives each satellite once,
    // with the first set of the file, and never more than 200.
    std::vector<RigaDati> doppio(1);
    std::vector<std::string> lista;
    for (int k = 1; k <= 200; ++k) {
        RigaDati s = e.voci[1];
        const std::string c = QString::asprintf("%05d", k).toStdString();
        s.Riga1.replace(2, 5, c);
        s.Riga0 = "FIRST " + c;
        doppio.push_back(s);
        s.Riga0 = "SECOND " + c;
        doppio.push_back(s);
        lista.push_back(c);
    }
    m = core::Abbina_Lista_Lavoro(lista, doppio);
    ASSERT_EQ(m.trovati(), 200);
    EXPECT_EQ(m.lista[0].Riga0, "FIRST 00001");
    EXPECT_EQ(m.lista[199].Riga0, "FIRST 00200");
    lista.push_back("00001"); // a list that already holds a number twice
    m = core::Abbina_Lista_Lavoro(lista, doppio);
    EXPECT_EQ(m.trovati(), 200);
}

TEST(DatabaseLongRun, OneAtATime)
{
    EXPECT_FALSE(core::LavoroLungo::inCorso());
    {
        core::LavoroLungo primo;
        ASSERT_TRUE(primo.acquisito());
        core::LavoroLungo secondo;
        EXPECT_FALSE(secondo.acquisito());
        EXPECT_TRUE(core::LavoroLungo::inCorso());
    }
    EXPECT_FALSE(core::LavoroLungo::inCorso());
    core::LavoroLungo terzo;
    EXPECT_TRUE(terzo.acquisito());
}

} // namespace
