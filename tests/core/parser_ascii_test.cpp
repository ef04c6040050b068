// The element-set parser reads plain ASCII lines straight from their bytes
// and every other line through Qt's strings: both readings must give the
// same record, or the same refusal, for any text. Sets of the verification
// file with their fields overwritten at random (digits, signs, points,
// exponent letters, blanks and tabs, letters, symbols, NUL bytes) are read
// both ways: as they
// are, and with a character outside ASCII added past the last column, which
// no field reads.
#include "core/element_parser.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

void Uguali(const Satelement& a, const Satelement& b)
{
    auto stessoNumero = [](double x, double y) { return std::memcmp(&x, &y, sizeof x) == 0; };
    EXPECT_TRUE(stessoNumero(a.AnnoEpoca, b.AnnoEpoca));
    EXPECT_TRUE(stessoNumero(a.GiornoEpoca, b.GiornoEpoca)) << a.GiornoEpoca << " " << b.GiornoEpoca;
    EXPECT_TRUE(stessoNumero(a.Inclinazione, b.Inclinazione)) << a.Inclinazione << " " << b.Inclinazione;
    EXPECT_TRUE(stessoNumero(a.NodoAscendente, b.NodoAscendente));
    EXPECT_TRUE(stessoNumero(a.Eccentricita, b.Eccentricita));
    EXPECT_TRUE(stessoNumero(a.ArgomentoPerigeo, b.ArgomentoPerigeo));
    EXPECT_TRUE(stessoNumero(a.AnomaliaMedia, b.AnomaliaMedia));
    EXPECT_TRUE(stessoNumero(a.MotoMedio, b.MotoMedio));
    EXPECT_TRUE(stessoNumero(a.DerivataPrima, b.DerivataPrima));
    EXPECT_TRUE(stessoNumero(a.NumeroRivoluzione, b.NumeroRivoluzione));
    EXPECT_TRUE(stessoNumero(a.DerivataSecondaMantissa, b.DerivataSecondaMantissa));
    EXPECT_TRUE(stessoNumero(a.DerivataSecondaEsponente, b.DerivataSecondaEsponente));
    EXPECT_TRUE(stessoNumero(a.BStarMantissa, b.BStarMantissa));
    EXPECT_TRUE(stessoNumero(a.BStarEsponente, b.BStarEsponente));
    EXPECT_TRUE(stessoNumero(a.EpocaGiuliana, b.EpocaGiuliana));
    EXPECT_TRUE(stessoNumero(a.AnnoLancio, b.AnnoLancio));
    EXPECT_TRUE(stessoNumero(a.NumeroLancio, b.NumeroLancio));
    EXPECT_EQ(a.NumeroCatalogo, b.NumeroCatalogo);
    EXPECT_EQ(a.PezzoLancio, b.PezzoLancio);
    EXPECT_EQ(a.Nome, b.Nome);
    EXPECT_EQ(a.MagnitudineStandard, b.MagnitudineStandard);
    EXPECT_EQ(a.FrequenzaSalita, b.FrequenzaSalita);
    EXPECT_EQ(a.FrequenzaDiscesa, b.FrequenzaDiscesa);
}

TEST(ParserAscii, PlainAndQtReadingsAgreeOnAnyText)
{
    const std::string l1 = "1 06251U 62025E   06176.82412014  .00008885  00000-0  12808-3 0  3985";
    const std::string l2 = "2 06251  58.0579  54.0425 0030035 139.1568 221.1854 15.56387291  6774";
    const std::string nome = "delta 1 deb (X-ray)\tpart two";
    // Magnitudes and frequencies for catalogue numbers up to 9999.
    std::vector<std::string> magnitudini(10000);
    for (size_t i = 0; i < magnitudini.size(); i += 7)
        magnitudini[i] = i % 2 ? "4.5" : " -1.25e0";
    std::vector<RigaDati> righe(1);
    for (int c = 6240; c < 6260; ++c)
        righe.push_back({std::to_string(c), "145.8" + std::to_string(c % 10), "435.1"});
    const TabellaFrequenze frequenze(righe);

    const char alfabeto[] = "0123456789000000+-..eEdD  \t\tx#\0";
    std::mt19937 caso(20261207);
    int accettati = 0, rifiutati = 0;
    for (int prova = 0; prova < 20000; ++prova) {
        std::string a = l1, b = l2, n = nome;
        const int cambi = 1 + int(caso() % 6);
        for (int k = 0; k < cambi; ++k) {
            std::string& riga = (caso() % 2) ? a : b;
            riga[2 + caso() % 66] = alfabeto[caso() % (sizeof alfabeto - 1)];
        }
        if (prova % 5 == 0)
            n[caso() % n.size()] = char(caso() % 128);
        // Now and then a catalogue number that has a magnitude and channels.
        if (prova % 3 == 0) {
            const std::string numero = std::to_string(6240 + caso() % 20);
            a.replace(2, 5, "0" + numero);
            b.replace(2, 5, "0" + numero);
        }
        Satelement ascii, qt;
        ascii.Nome = qt.Nome = "untouched";
        const core::ErroreElementi ea = core::Analizza_Elementi(n, a, b, magnitudini, frequenze, ascii);
        const core::ErroreElementi eq =
            core::Analizza_Elementi(n, a, b + "\xc3\xa9", magnitudini, frequenze, qt);
        SCOPED_TRACE(n + "\n" + a + "\n" + b);
        ASSERT_EQ(ea, eq);
        Uguali(ascii, qt);
        (ea == core::ErroreElementi::Nessuno ? accettati : rifiutati) += 1;
        if (HasFailure())
            return;
    }
    // Both kinds of outcome were seen many times.
    EXPECT_GT(accettati, 3000);
    EXPECT_GT(rifiutati, 3000);
}

} // namespace
