// The computation runs with the vector registers' upper halves clear
// whatever ran before it (astro/vector_state.h): each entry point clears
// them where the processor has them, so the code that follows does not pay
// the penalty of legacy SSE instructions in that state. Checked by reading
// the register state inside each entry point, at the first C maths function
// it calls, after the test has left the halves in use (no timing).
#include "astro/bodies.h"
#include "astro/riseset.h"
#include "astro/satellite.h"
#include "core/clock.h"
#include "core/element_parser.h"
#include "core/globals_orbit.h"
#include "core/mastro.h"
#include "core/pass_search.h"
#include "core/settings.h"
#include "core/working_list.h"

#include "support/vector_state.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

const char* kIss[3] = {"ISS (ZARYA)", "1 25544U 98067A   13330.58127943  .00000814  00000-0  21834-4 0  1064",
                       "2 25544  51.6484  23.7537 0001246  74.1647  18.7420 15.50540527859894"};
const astro::Osservatore kMilano{45.47, 9.19, 120};

Satelement Set(const char* const s[3])
{
    Satelement e;
    EXPECT_EQ(core::Analizza_Elementi(s[0], s[1], s[2], {}, TabellaFrequenze{}, e), core::ErroreElementi::Nessuno);
    return e;
}

using testsupport::In_Uso_Entrando;
constexpr std::optional<bool> kChiare = false;

class StatoVettori : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!testsupport::Stato_Visibile())
            GTEST_SKIP() << "this processor has no upper halves to leave in use, or does not show their state";
    }
};

} // namespace

TEST_F(StatoVettori, EveryEntryPointStartsWithTheUpperHalvesClear)
{
    const Satelement iss = Set(kIss);
    const astro::OpzioniSatellite opz;
    const double jd = iss.EpocaGiuliana + 0.3;

    Valori v;
    astro::UsciteSatellite u;
    bool ok = false;
    EXPECT_EQ(In_Uso_Entrando([&] { ok = astro::Calcola_Satellite(iss, kMilano, opz, jd, v, u); }), kChiare)
        << "satellite state";
    EXPECT_TRUE(ok);
    ok = false;
    EXPECT_EQ(In_Uso_Entrando([&] { ok = astro::Calcola_Posizione_Satellite(iss, kMilano, opz, jd, v, u); }), kChiare)
        << "satellite place";
    EXPECT_TRUE(ok);

    std::optional<astro::AltezzaSatellite> luce;
    EXPECT_EQ(In_Uso_Entrando([&] { luce.emplace(iss, kMilano, opz); }), kChiare) << "light evaluation set-up";
    astro::VistaSatellite vista;
    ok = false;
    EXPECT_EQ(In_Uso_Entrando([&] { ok = luce->Calcola(jd, vista); }), kChiare) << "light evaluation";
    EXPECT_TRUE(ok);

    mAstro::Istante ist;
    ist.GiornoGiuliano0h = 2461381.5;
    ist.GiornoGiuliano = 2461381.75;
    ist.Latitudine = 45.47;
    ist.TempoSiderale = 3.2;
    mAstro::CorpoCeleste sole, luna, terra, marte;
    mAstro::DatiSole ds;
    EXPECT_EQ(In_Uso_Entrando([&] { ds = mAstro::Calcola_Sole(ist, sole); }), kChiare) << "Sun";
    EXPECT_EQ(In_Uso_Entrando([&] { mAstro::Calcola_Luna(ist, ds, luna); }), kChiare) << "Moon";
    // Mean elements of J2000 for the Earth and Mars.
    terra.PeriodoOrbitale = 1.00004;
    terra.LongitudineEpoca = 100.46;
    terra.LongitudinePerielio = 102.94;
    terra.Eccentricita = 0.0167;
    terra.SemiasseMaggiore = 1.0;
    marte.PeriodoOrbitale = 1.8807;
    marte.LongitudineEpoca = 355.45;
    marte.LongitudinePerielio = 336.04;
    marte.Eccentricita = 0.0934;
    marte.SemiasseMaggiore = 1.5237;
    marte.Inclinazione = 1.85;
    marte.LongitudineNodo = 49.56;
    marte.DiametroUnitario = 9.36;
    marte.MagnitudineUnitaria = -1.52;
    ok = false;
    EXPECT_EQ(In_Uso_Entrando([&] { ok = mAstro::Calcola_Pianeta(ist, terra, mAstro::kMarte, marte); }), kChiare)
        << "planet";
    EXPECT_TRUE(ok);

    // The almanac's rise and set, called after its window has painted.
    mAstro::SorgereTramonto alba, lunare;
    EXPECT_EQ(In_Uso_Entrando([&] { alba = mAstro::Calcola_Sorgere_Tramonto_Sole(45.47, 9.19, -1, 2026, 12, 7); }),
              kChiare)
        << "sunrise and sunset";
    EXPECT_EQ(In_Uso_Entrando([&] { lunare = mAstro::Calcola_Sorgere_Tramonto_Luna(45.47, 9.19, -1, 2026, 12, 7); }),
              kChiare)
        << "moonrise and moonset";
    EXPECT_TRUE(alba.sorge && alba.tramonta);
    EXPECT_TRUE(lunare.sorge || lunare.tramonta);

    // The search, from its start, and at each culmination after the
    // caller's yield (which may paint).
    {
        core::RicercaPassaggi ricerca(iss, kMilano, opz, 10, 0, 0);
        int passaggi = 0;
        ricerca.passaggio = [&](const core::Passaggio&) { ++passaggi; };
        EXPECT_EQ(In_Uso_Entrando([&] {
                      ricerca.PREDICI(iss.EpocaGiuliana, iss.EpocaGiuliana + 1, core::Passo_Scansione(iss.MotoMedio),
                                      core::kPassoPiccolo);
                  }),
                  kChiare)
            << "pass search";
        EXPECT_GT(passaggi, 0);
    }
    {
        core::RicercaPassaggi ricerca(iss, kMilano, opz, 10, 0, 0);
        testsupport::Sonda sonda;
        ricerca.continua = [&] {
            sonda.Prossima();
            testsupport::Occupa_Meta_Alte();
            return true;
        };
        ricerca.PREDICI(iss.EpocaGiuliana, iss.EpocaGiuliana + 1, core::Passo_Scansione(iss.MotoMedio),
                        core::kPassoPiccolo);
        ASSERT_GT(sonda.note().size(), 2u);
        EXPECT_EQ(sonda.note(), std::vector<bool>(sonda.note().size(), false)) << "culminations after the yield";
    }

    // The clock tick, with an empty working list.
    Impostazioni_default();
    core::WorkingList::instance().Rimuovi_Tutti();
    const core::ClockViews prima = core::clockViews();
    core::clockViews() = core::ClockViews{};
    const bool centrale = pflgCentrale, satellite = pflgSatellite;
    pflgCentrale = pflgSatellite = true;
    core::CentralClock::instance().Avvia_Simulazione(core::Data_Orologio(QDate(2026, 12, 7), QTime(21, 0, 0)));
    EXPECT_EQ(In_Uso_Entrando([] { core::CentralClock::instance().tmrCentrale_Timer(); }), kChiare) << "clock tick";
    core::CentralClock::instance().Arresta();
    core::clockViews() = prima;
    pflgCentrale = centrale;
    pflgSatellite = satellite;
}
