// The computation runs with the vector registers' upper halves clear
// whatever ran before it (astro/vector_state.h): each entry point clears
// them where the processor has them, so the code that follows does not pay
// the penalty of legacy SSE instructions in that state. Checked by reading
// the register state (no timing), and the passes found are the same either
// way, after a window's painting or foreign AVX code as from a clear state.
#include "astro/bodies.h"
#include "astro/riseset.h"
#include "astro/satellite.h"
#include "astro/vector_state.h"
#include "core/clock.h"
#include "core/element_parser.h"
#include "core/globals_orbit.h"
#include "core/mastro.h"
#include "core/pass_search.h"
#include "core/settings.h"
#include "core/working_list.h"

#include "support/vector_state.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <thread>
#include <vector>

namespace {

const char* kIss[3] = {"ISS (ZARYA)", "1 25544U 98067A   13330.58127943  .00000814  00000-0  21834-4 0  1064",
                       "2 25544  51.6484  23.7537 0001246  74.1647  18.7420 15.50540527859894"};
const char* kMolniya[3] = {"MOLNIYA 2-14", "1 08195U 75081A   06176.33215444  .00000099  00000-0  11873-3 0   813",
                           "2 08195  64.1586 279.0717 6877146 264.7651  20.2257  2.00491383225656"};
const astro::Osservatore kMilano{45.47, 9.19, 120};

Satelement Set(const char* const s[3])
{
    Satelement e;
    EXPECT_EQ(core::Analizza_Elementi(s[0], s[1], s[2], {}, TabellaFrequenze{}, e), core::ErroreElementi::Nessuno);
    return e;
}

using testsupport::Occupa_Meta_Alte;
bool Occupa() { return Occupa_Meta_Alte(); }
bool In_Uso() { return testsupport::Meta_Alte_In_Uso(); }

class StatoVettori : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!Occupa())
            GTEST_SKIP() << "this processor has no upper halves to leave in use, or does not show their state";
    }
};

class StatoBarra : public core::StatusView {
public:
    void Mostra_data(const QString&) override { inUso.push_back(In_Uso()); }
    std::vector<bool> inUso;
};

} // namespace

TEST_F(StatoVettori, EveryEntryPointStartsWithTheUpperHalvesClear)
{
    const Satelement iss = Set(kIss);
    const astro::OpzioniSatellite opz;
    const double jd = iss.EpocaGiuliana + 0.3;

    Valori v;
    astro::UsciteSatellite u;
    ASSERT_TRUE(Occupa());
    ASSERT_TRUE(astro::Calcola_Satellite(iss, kMilano, opz, jd, v, u));
    EXPECT_FALSE(In_Uso()) << "satellite state";

    astro::AltezzaSatellite luce(iss, kMilano, opz);
    astro::VistaSatellite vista;
    ASSERT_TRUE(Occupa());
    ASSERT_TRUE(luce.Calcola(jd, vista));
    EXPECT_FALSE(In_Uso()) << "light evaluation";

    mAstro::Istante ist;
    ist.GiornoGiuliano0h = 2461381.5;
    ist.GiornoGiuliano = 2461381.75;
    mAstro::CorpoCeleste sole, luna;
    ASSERT_TRUE(Occupa());
    const mAstro::DatiSole ds = mAstro::Calcola_Sole(ist, sole);
    EXPECT_FALSE(In_Uso()) << "Sun";
    ASSERT_TRUE(Occupa());
    mAstro::Calcola_Luna(ist, ds, luna);
    EXPECT_FALSE(In_Uso()) << "Moon";

    // The almanac's rise and set, called after its window has painted.
    ASSERT_TRUE(Occupa());
    const mAstro::SorgereTramonto alba = mAstro::Calcola_Sorgere_Tramonto_Sole(45.47, 9.19, -1, 2026, 12, 7);
    EXPECT_FALSE(In_Uso()) << "sunrise and sunset";
    ASSERT_TRUE(Occupa());
    const mAstro::SorgereTramonto lunare = mAstro::Calcola_Sorgere_Tramonto_Luna(45.47, 9.19, -1, 2026, 12, 7);
    EXPECT_FALSE(In_Uso()) << "moonrise and moonset";
    EXPECT_TRUE(alba.sorge && alba.tramonta);
    EXPECT_TRUE(lunare.sorge || lunare.tramonta);

    // The search, from its start: a pass reported while the search runs
    // finds the halves clear though they were in use when it began, and
    // again after the caller's yield at each culmination.
    core::RicercaPassaggi ricerca(iss, kMilano, opz, 10, 0, 0);
    std::vector<bool> aiPassaggi;
    ricerca.continua = [] { return Occupa(); };
    ricerca.passaggio = [&](const core::Passaggio&) { aiPassaggi.push_back(In_Uso()); };
    ASSERT_TRUE(Occupa());
    ricerca.PREDICI(iss.EpocaGiuliana, iss.EpocaGiuliana + 1, core::Passo_Scansione(iss.MotoMedio),
                    core::kPassoPiccolo);
    ASSERT_FALSE(aiPassaggi.empty());
    EXPECT_EQ(aiPassaggi, std::vector<bool>(aiPassaggi.size(), false));

    // The clock tick, with an empty working list: the status bar's date
    // comes after the tick's own start, before any satellite or body.
    Impostazioni_default();
    core::WorkingList::instance().Rimuovi_Tutti();
    StatoBarra barra;
    const core::ClockViews prima = core::clockViews();
    core::clockViews() = core::ClockViews{};
    core::clockViews().status = &barra;
    const bool centrale = pflgCentrale, satellite = pflgSatellite;
    pflgCentrale = pflgSatellite = true;
    core::CentralClock::instance().Avvia_Simulazione(core::Data_Orologio(QDate(2026, 12, 7), QTime(21, 0, 0)));
    ASSERT_TRUE(Occupa());
    core::CentralClock::instance().tmrCentrale_Timer();
    core::CentralClock::instance().Arresta();
    core::clockViews() = prima;
    pflgCentrale = centrale;
    pflgSatellite = satellite;
    ASSERT_EQ(barra.inUso.size(), 1u);
    EXPECT_FALSE(barra.inUso[0]) << "clock tick";
}

namespace {

// What a search found, every figure a pass shows.
std::vector<double> Figure(const std::vector<core::Passaggio>& passaggi)
{
    std::vector<double> f;
    for (const core::Passaggio& p : passaggi)
        for (const core::EventoPassaggio* e : {&p.sorgere, &p.culmine, &p.tramonto}) {
            f.insert(f.end(), {e->jd, e->v.Altezza, e->v.Azimuth, e->v.Distanza, double(e->v.Stato), e->altezzaSole,
                               e->v.Magnitudine.isNumber() ? e->v.Magnitudine.valore : -1.0});
            f.push_back(double(e->locale.toSecsSinceEpoch()));
        }
    return f;
}

// Every satellite's passes from the workers, one list after another.
std::vector<std::vector<double>> Cerca_Molti(const std::vector<core::RicercaMultipla::Voce>& voci, double ti,
                                             double tf)
{
    std::vector<std::vector<double>> out;
    core::RicercaMultipla m(voci, kMilano, astro::OpzioniSatellite{}, 10, 1, 0, ti, tf, false, 4);
    core::RisultatiSatellite r;
    while (!m.Finita())
        if (m.Prossimo(r, std::chrono::milliseconds(50)))
            out.push_back(Figure(r.passaggi));
    return out;
}

} // namespace

TEST(StatoVettoriRicerca, SamePassesAfterPaintingOrForeignCodeAsFromAClearState)
{
    const Satelement iss = Set(kIss), molniya = Set(kMolniya);
    std::vector<core::RicercaMultipla::Voce> voci;
    for (int i = 0; i < 12; ++i) {
        Satelement s = i % 2 ? molniya : iss;
        s.AnomaliaMedia = std::fmod(s.AnomaliaMedia + 29.0 * i, 360.0);
        voci.push_back({i + 1, s, std::nullopt});
    }
    const double ti = iss.EpocaGiuliana, tf = ti + 2;
    auto una = [&](const Satelement& s) {
        std::vector<core::Passaggio> p;
        core::RicercaPassaggi r(s, kMilano, astro::OpzioniSatellite{}, 10, 1, 0);
        r.passaggio = [&](const core::Passaggio& x) { p.push_back(x); };
        r.PREDICI(ti, tf, core::Passo_Scansione(s.MotoMedio), core::kPassoPiccolo);
        return Figure(p);
    };
    struct Esiti {
        std::vector<double> iss, molniya, inUnFilo;
        std::vector<std::vector<double>> molti;
    };
    auto tutto = [&](const std::function<void()>& prepara) {
        Esiti e;
        prepara();
        e.iss = una(iss);
        prepara();
        e.molniya = una(molniya);
        prepara();
        std::thread t([&] { e.inUnFilo = una(iss); });
        t.join();
        prepara();
        e.molti = Cerca_Molti(voci, ti, tf);
        return e;
    };

    const Esiti chiaro = tutto([] { astro::Azzera_Meta_Alte(); });
    ASSERT_GT(chiaro.iss.size(), 8u * 3 * 4);
    ASSERT_FALSE(chiaro.molniya.empty());
    ASSERT_EQ(chiaro.molti.size(), voci.size());
    EXPECT_EQ(chiaro.inUnFilo, chiaro.iss);

    QWidget finestra;
    finestra.resize(300, 200);
    const Esiti dopoPittura = tutto([&] {
        finestra.show();
        finestra.repaint();
        QApplication::processEvents();
    });
    const Esiti dopoAvx = tutto([] { astro::Occupa_Meta_Alte(); });
    for (const Esiti* e : {&dopoPittura, &dopoAvx}) {
        EXPECT_EQ(e->iss, chiaro.iss);
        EXPECT_EQ(e->molniya, chiaro.molniya);
        EXPECT_EQ(e->inUnFilo, chiaro.inUnFilo);
        EXPECT_EQ(e->molti, chiaro.molti);
    }
}
