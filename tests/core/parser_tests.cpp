// The element-set parser against the element sets of the SGP4 verification
// file as python-sgp4 reads them (tests/data/parser_reference.json), and its
// column rules, tables and refusals.
#include "core/element_parser.h"
#include "core/data_files.h"
#include "core/globals_orbit.h"
#include "core/mlang.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <cmath>

namespace {

const std::vector<std::string> kNoMagnitudes;
const std::vector<RigaDati> kNoFrequencies(1);

// A real set (the verification file's near-earth drag case) to vary.
const std::string kLine1 = "1 06251U 62025E   06176.82412014  .00008885  00000-0  12808-3 0  3985";
const std::string kLine2 = "2 06251  58.0579  54.0425 0030035 139.1568 221.1854 15.56387291  6774";

std::string withColumns(std::string line, int column, const std::string& text)
{
    line.replace(std::size_t(column - 1), text.size(), text);
    return line;
}

Satelement parse(const std::string& l0, const std::string& l1, const std::string& l2,
                 const std::vector<std::string>& mags = kNoMagnitudes,
                 const std::vector<RigaDati>& freqs = kNoFrequencies)
{
    Satelement e;
    EXPECT_EQ(core::Analizza_Elementi(l0, l1, l2, mags, freqs, e), core::ErroreElementi::Nessuno);
    return e;
}

} // namespace

TEST(Parser, MatchesSgp4ReadingOfTheVerificationSets)
{
    QFile f(QStringLiteral(ASTROVELA_TEST_DATA "/parser_reference.json"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QJsonArray sets = QJsonDocument::fromJson(f.readAll()).object().value("sets").toArray();
    ASSERT_GE(sets.size(), 30);
    for (const QJsonValue& v : sets) {
        const QJsonObject r = v.toObject();
        const std::string l1 = r.value("line1").toString().toStdString();
        const std::string l2 = r.value("line2").toString().toStdString();
        SCOPED_TRACE(l1);
        const Satelement e = parse("TEST SET", l1, l2);
        const int yy = r.value("epochyr").toInt();
        EXPECT_EQ(e.AnnoEpoca, yy < 57 ? 2000 + yy : 1900 + yy);
        EXPECT_NEAR(e.GiornoEpoca, r.value("epochdays").toDouble(), 1e-9);
        EXPECT_NEAR(e.EpocaGiuliana, r.value("jd").toDouble(), 1e-7);
        EXPECT_NEAR(e.Inclinazione, r.value("inclination_deg").toDouble(), 1e-9);
        EXPECT_NEAR(e.NodoAscendente, r.value("node_deg").toDouble(), 1e-9);
        EXPECT_NEAR(e.Eccentricita, r.value("eccentricity").toDouble(), 1e-12);
        EXPECT_NEAR(e.ArgomentoPerigeo, r.value("argp_deg").toDouble(), 1e-9);
        EXPECT_NEAR(e.AnomaliaMedia, r.value("mean_anomaly_deg").toDouble(), 1e-9);
        EXPECT_NEAR(e.MotoMedio, r.value("mean_motion_revday").toDouble(), 1e-9);
        EXPECT_NEAR(e.DerivataPrima, r.value("ndot_half_revday2").toDouble(), 1e-12);
        EXPECT_NEAR(e.DerivataSecondaMantissa * std::pow(10.0, e.DerivataSecondaEsponente),
                    r.value("nddot_sixth_revday3").toDouble(), 1e-15);
        EXPECT_NEAR(e.BStarMantissa * std::pow(10.0, e.BStarEsponente), r.value("bstar").toDouble(),
                    1e-12);
        EXPECT_EQ(e.NumeroRivoluzione, r.value("revnum").toDouble());
        EXPECT_EQ(core::Numero_Catalogo(e.NumeroCatalogo), r.value("satnum").toInt());
    }
}

TEST(Parser, ColumnsNamesAndYears)
{
    Satelement e = parse("ISS (ZARYA)", kLine1, kLine2);
    EXPECT_EQ(e.Nome, "Iss (zarya)");
    EXPECT_EQ(e.NumeroCatalogo, "06251");
    EXPECT_EQ(e.AnnoLancio, 1962);
    EXPECT_EQ(e.NumeroLancio, 25);
    EXPECT_EQ(e.PezzoLancio, "E");
    EXPECT_EQ(e.AnnoEpoca, 2006);
    EXPECT_DOUBLE_EQ(e.Eccentricita, 30035e-7);

    // The year pivot: 56 is 2056, 57 is 1957, launch year 00 is 2000.
    EXPECT_EQ(parse("A", withColumns(kLine1, 19, "56"), kLine2).AnnoEpoca, 2056);
    EXPECT_EQ(parse("A", withColumns(kLine1, 19, "57"), kLine2).AnnoEpoca, 1957);
    EXPECT_EQ(parse("A", withColumns(kLine1, 10, "00"), kLine2).AnnoLancio, 2000);
    // Epoch day 1.5 of 2000 is J2000.0.
    e = parse("A", withColumns(withColumns(kLine1, 19, "00"), 21, "001.50000000"), kLine2);
    EXPECT_DOUBLE_EQ(e.EpocaGiuliana, 2451545.0);

    // A name line longer than 24 characters is cut before the blanks go.
    EXPECT_EQ(parse("  COSMOS 2251 DEB        XYZ", kLine1, kLine2).Nome, "Cosmos 2251 Deb");
    // Second derivative: a minus and five digits, exponent minus one digit.
    e = parse("A", withColumns(kLine1, 45, "-12345-5"), kLine2);
    EXPECT_DOUBLE_EQ(e.DerivataSecondaMantissa, -0.12345);
    EXPECT_EQ(e.DerivataSecondaEsponente, -5);
}

TEST(Parser, StandardMagnitudeFromTheTable)
{
    std::vector<std::string> mags(6252);
    mags[6251] = " 3.50";
    EXPECT_EQ(parse("A", kLine1, kLine2, mags).MagnitudineStandard, "3.5");
    mags[6251].clear();
    EXPECT_EQ(parse("A", kLine1, kLine2, mags).MagnitudineStandard, "");
    // A number beyond the table's last entry is unknown.
    mags.resize(6251);
    EXPECT_EQ(parse("A", kLine1, kLine2, mags).MagnitudineStandard, "");
}

TEST(Parser, RadioChannelsByCatalogueValueInFileOrder)
{
    std::vector<RigaDati> freqs(1);
    for (int i = 1; i <= 11; ++i)
        freqs.push_back({i % 2 ? "06251" : " 6251", std::to_string(100 + i), std::to_string(400 + i)});
    freqs.insert(freqs.begin() + 3, RigaDati{"25544", "145.99", "437.80"});
    const Satelement e = parse("A", kLine1, kLine2, kNoMagnitudes, freqs);
    for (int k = 1; k <= 10; ++k) {
        EXPECT_EQ(e.FrequenzaSalita[std::size_t(k)], std::to_string(100 + k));
        EXPECT_EQ(e.FrequenzaDiscesa[std::size_t(k)], std::to_string(400 + k));
    }
}

TEST(Parser, BadSetsAreRefusedWholeAndTheSlotKept)
{
    Satelement e;
    e.Nome = "Kept";
    auto refuse = [&](const std::string& l1, const std::string& l2) {
        return core::Analizza_Elementi("X", l1, l2, kNoMagnitudes, kNoFrequencies, e);
    };
    EXPECT_EQ(refuse(withColumns(kLine1, 3, "AB12C"), kLine2), core::ErroreElementi::CatalogoNonValido);
    EXPECT_EQ(refuse(withColumns(kLine1, 3, "     "), kLine2), core::ErroreElementi::CatalogoNonValido);
    EXPECT_EQ(refuse(kLine1, withColumns(kLine2, 53, " 0.00000000")),
              core::ErroreElementi::MotoMedioNonValido);
    EXPECT_EQ(refuse(kLine1, withColumns(kLine2, 53, "-1.00000000")),
              core::ErroreElementi::MotoMedioNonValido);
    EXPECT_EQ(refuse(kLine1, kLine2.substr(0, 40)), core::ErroreElementi::MotoMedioNonValido);
    EXPECT_EQ(refuse("", ""), core::ErroreElementi::CatalogoNonValido);

    // Values no model follows. A line 2 shifted by two columns used to read
    // "4.79 12345" as 4.7912345e9... here the mean motion field "  4.79 1234"
    // has a blank inside its number.
    using E = core::ErroreElementi;
    EXPECT_EQ(refuse(kLine1, withColumns(kLine2, 53, "  4.79 1234")), E::CampoNonValido);
    EXPECT_EQ(refuse(kLine1, withColumns(kLine2, 53, "47885.00000")), E::MotoMedioNonValido);
    EXPECT_EQ(refuse(kLine1, withColumns(kLine2, 53, "20.00000001")), E::MotoMedioNonValido);
    EXPECT_EQ(refuse(kLine1, withColumns(kLine2, 27, "-003003")), E::EccentricitaNonValida);
    EXPECT_EQ(refuse(withColumns(kLine1, 54, " 12808+1"), kLine2), E::ResistenzaNonValida); // B* = 1.28
    EXPECT_EQ(refuse(withColumns(kLine1, 45, " 50000+2"), kLine2), E::ResistenzaNonValida);
    EXPECT_EQ(refuse(withColumns(kLine1, 34, "9999999999"), kLine2), E::ResistenzaNonValida);
    EXPECT_EQ(refuse(withColumns(kLine1, 19, "  "), kLine2), E::EpocaNonValida);
    EXPECT_EQ(refuse(withColumns(kLine1, 21, "000.50000000"), kLine2), E::EpocaNonValida);
    EXPECT_EQ(refuse(withColumns(kLine1, 21, "367.00000000"), kLine2), E::EpocaNonValida);
    EXPECT_EQ(refuse(withColumns(kLine1, 21, "06 76.824120"), kLine2), E::CampoNonValido);
    EXPECT_EQ(e.Nome, "Kept");

    // A number field holding anything but its number (a letter, a symbol, a
    // NUL byte) is refused with its place, in every field of both lines,
    // rather than read as 0 or as its first digits: NUL bytes over the drag
    // term once gave an orbit without drag, a letter in the inclination an
    // inclination of 58.0, a letter at the end of the mean motion a wrong one.
    const struct {
        int riga, da, a;
    } campi[] = {{1, 19, 20}, {1, 21, 32}, {1, 34, 43}, {1, 45, 50}, {1, 51, 52}, {1, 54, 59}, {1, 60, 61},
                 {2, 9, 16},  {2, 18, 25}, {2, 27, 33}, {2, 35, 42}, {2, 44, 51}, {2, 53, 63}, {2, 64, 68}};
    for (const auto& c : campi) {
        for (const std::string& intruso : {std::string("O"), std::string("#"), std::string(1, '\0')}) {
            SCOPED_TRACE(std::to_string(c.riga) + ":" + std::to_string(c.da) + " " + std::to_string(int(intruso[0])));
            // The intruder in the field's last column, where a number read
            // from the left ends before it.
            const std::string l1 = c.riga == 1 ? withColumns(kLine1, c.a, intruso) : kLine1;
            const std::string l2 = c.riga == 2 ? withColumns(kLine2, c.a, intruso) : kLine2;
            EXPECT_EQ(refuse(l1, l2), E::CampoNonValido);
            const core::CampoElementi campo = core::Campo_Non_Valido(l1, l2);
            EXPECT_EQ(campo.riga, c.riga);
            EXPECT_EQ(campo.da, c.da);
            EXPECT_EQ(campo.a, c.a);
            EXPECT_FALSE(campo.spazio);
        }
    }
    EXPECT_EQ(refuse(withColumns(kLine1, 54, std::string(8, '\0')), kLine2), E::CampoNonValido);
    EXPECT_EQ(refuse(kLine1, withColumns(kLine2, 9, " 58.0O79")), E::CampoNonValido);
    EXPECT_EQ(refuse(kLine1, withColumns(kLine2, 53, "X5.56387291")), E::CampoNonValido);
    EXPECT_EQ(e.Nome, "Kept");
    // What a number field may hold stays accepted: padding blanks, a sign, a
    // field of blanks (read as 0).
    EXPECT_EQ(parse("A", withColumns(kLine1, 34, "+.00008885"), withColumns(kLine2, 9, "+58.0579")).Inclinazione,
              58.0579);
    EXPECT_EQ(parse("A", withColumns(kLine1, 45, "        "), withColumns(kLine2, 64, "     ")).NumeroRivoluzione, 0);

    // Just inside the bounds: a decaying set, the last day of a leap year,
    // a high eccentricity, a large but real drag term.
    Satelement ok;
    EXPECT_EQ(core::Analizza_Elementi("X", withColumns(kLine1, 19, "04366.99999999"),
                                      withColumns(withColumns(kLine2, 53, "19.99999999"), 27, "9999999"),
                                      kNoMagnitudes, kNoFrequencies, ok),
              E::Nessuno);
    EXPECT_EQ(core::Analizza_Elementi("X", withColumns(kLine1, 54, "-99999-0"), kLine2, kNoMagnitudes,
                                      kNoFrequencies, ok),
              E::Nessuno);

    // The message names the set, the reason and where the field stands.
    const QString m = core::Testo_Errore_Elementi(
        E::CampoNonValido, RigaDati{" SHIFTED ", kLine1, withColumns(kLine2, 53, "  4.79 1234")});
    EXPECT_TRUE(m.contains("SHIFTED")) << m.toStdString();
    EXPECT_TRUE(m.contains("2") && m.contains("53-63")) << m.toStdString();
    mLang::Usa_File_Lingua(QStringLiteral(ASTROVELA_SOURCE_DIR "/lang/english.ini"));
    EXPECT_EQ(core::Testo_Errore_Elementi(E::CampoNonValido,
                                          RigaDati{"DAMAGED", kLine1, withColumns(kLine2, 9, " 58.0O79")}),
              mLang::Testo_Lingua("MDIForm1", "elementinonvalidi") + "\r\nDAMAGED\r\n"
                  + mLang::Testo_Lingua("MDIForm1", "camponumerico") + " (line 2, columns 9-16)");
    EXPECT_TRUE(core::Testo_Errore_Elementi(E::CampoNonValido,
                                            RigaDati{"SHIFTED", kLine1, withColumns(kLine2, 53, "  4.79 1234")})
                    .contains(mLang::Testo_Lingua("MDIForm1", "camponononvalido") + " (line 2, columns 53-63)"));
    mLang::Usa_File_Lingua({});
    const core::CampoElementi c = core::Campo_Non_Valido(kLine1, withColumns(kLine2, 53, "  4.79 1234"));
    EXPECT_EQ(c.riga, 2);
    EXPECT_EQ(c.da, 53);
    EXPECT_EQ(c.a, 63);
    EXPECT_FALSE(core::Campo_Non_Valido(kLine1, kLine2));
}

TEST(Parser, SlotIsResetBeforeFillingAndKeptOnRefusal)
{
    gstrMagnitudini.assign(30000, std::string());
    gstrMagnitudini[6251] = "4.0";
    gudtFrequenze = {RigaDati{}, RigaDati{"6251", "145.8", "437.8"}};

    ASSERT_EQ(Estrai_Dati_Satellite(7, "FIRST", kLine1, kLine2), core::ErroreElementi::Nessuno);
    EXPECT_EQ(gudtSatelementi[7].FrequenzaDiscesa[1], "437.8");
    EXPECT_EQ(gudtSatelementi[7].MagnitudineStandard, "4");
    EXPECT_EQ(gudtRigheAttive[7].Riga0, "FIRST");

    // A new occupant without channels or magnitude leaves none of the old ones.
    const std::string other1 = withColumns(kLine1, 3, "11111");
    ASSERT_EQ(Estrai_Dati_Satellite(7, "SECOND", other1, kLine2), core::ErroreElementi::Nessuno);
    EXPECT_EQ(gudtSatelementi[7].FrequenzaDiscesa[1], "");
    EXPECT_EQ(gudtSatelementi[7].MagnitudineStandard, "");
    EXPECT_EQ(gudtSatelementi[7].Nome, "Second");

    // A refused set changes neither the text nor the elements of the slot.
    EXPECT_EQ(Estrai_Dati_Satellite(7, "BAD", withColumns(kLine1, 3, "X"), kLine2),
              core::ErroreElementi::CatalogoNonValido);
    EXPECT_EQ(gudtRigheAttive[7].Riga0, "SECOND");
    EXPECT_EQ(gudtSatelementi[7].Nome, "Second");
    EXPECT_EQ(Estrai_Dati_Satellite(203, "A", kLine1, kLine2), core::ErroreElementi::SlotNonValido);

    Azzera_Satelement(7);
    Azzera_RigaDati(7);
    EXPECT_EQ(gudtSatelementi[7], Satelement{});
    EXPECT_EQ(gudtRigheAttive[7], RigaDati{});
    gstrMagnitudini.clear();
    gudtFrequenze.assign(1, RigaDati{});
}

TEST(Parser, ChannelsFollowTheFrequencyTableWhenItIsReplaced)
{
    gudtFrequenze = {RigaDati{}, RigaDati{"6251", "145.8", "437.8"}, RigaDati{"ABC", "1", "2"}};
    ASSERT_EQ(Estrai_Dati_Satellite(7, "A", kLine1, kLine2), core::ErroreElementi::Nessuno);
    EXPECT_EQ(gudtSatelementi[7].FrequenzaSalita[1], "145.8");
    EXPECT_EQ(gudtSatelementi[7].FrequenzaSalita[2], "");

    // A new table with other rows in other places: the old rows are gone.
    std::vector<RigaDati> rows(1);
    rows.push_back({"11111", "1.0", "2.0"});
    rows.push_back({"6251.0", "29.4", "435.1"});
    rows.push_back({"06251", "", "10489.55"});
    gudtFrequenze = std::move(rows);
    ASSERT_EQ(Estrai_Dati_Satellite(7, "A", kLine1, kLine2), core::ErroreElementi::Nessuno);
    EXPECT_EQ(gudtSatelementi[7].FrequenzaSalita[1], "29.4");
    EXPECT_EQ(gudtSatelementi[7].FrequenzaDiscesa[2], "10489.55");
    EXPECT_EQ(gudtSatelementi[7].FrequenzaDiscesa[3], "");

    gudtFrequenze.assign(1, RigaDati{});
    ASSERT_EQ(Estrai_Dati_Satellite(7, "A", kLine1, kLine2), core::ErroreElementi::Nessuno);
    EXPECT_EQ(gudtSatelementi[7].FrequenzaSalita[1], "");
    Azzera_Satelement(7);
    Azzera_RigaDati(7);
}
