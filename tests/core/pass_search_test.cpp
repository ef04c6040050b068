// The pass search: predicted passes against Skyfield's find_events and
// PyEphem's shadow flag (tests/data/ref_passes.csv, tools/ref_passes.py),
// the passes cut by the ends of the span, the stop request, a satellite that
// never sets, and the texts of the result row and the event lines.
#include <gtest/gtest.h>

#include <QLocale>

#include <chrono>
#include <cmath>
#include <optional>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "core/element_parser.h"
#include "core/mastro.h"
#include "core/pass_search.h"
#include "platform/vb.h"
#include "support/csv_fields.h"

namespace {

const char* kIss[3] = {"ISS (ZARYA)", "1 25544U 98067A   13330.58127943  .00000814  00000-0  21834-4 0  1064",
                       "2 25544  51.6484  23.7537 0001246  74.1647  18.7420 15.50540527859894"};
const char* kCbers[3] = {"CBERS 2", "1 28057U 03049A   06177.78615833  .00000060  00000-0  35940-4 0  1836",
                         "2 28057  98.4283 247.6961 0000884  88.1964 271.9322 14.35478080140550"};
const char* kMolniya[3] = {"MOLNIYA 2-14", "1 08195U 75081A   06176.33215444  .00000099  00000-0  11873-3 0   813",
                           "2 08195  64.1586 279.0717 6877146 264.7651  20.2257  2.00491383225656"};
const char* kGeo[3] = {"GEO", "1 24208U 96044A   06177.04061740 -.00000094  00000-0  10000-3 0  1600",
                       "2 24208   3.8536  80.0121 0026640 311.0977  48.3000  1.00778054 36119"};

constexpr double kSecondo = 1.0 / 86400.0;
constexpr int kSogliaSole = -6;

Satelement Set(const char* const s[3])
{
    Satelement e;
    const TabellaFrequenze nessuna;
    EXPECT_EQ(core::Analizza_Elementi(s[0], s[1], s[2], {}, nessuna, e), core::ErroreElementi::Nessuno);
    return e;
}

astro::OpzioniSatellite Opzioni()
{
    astro::OpzioniSatellite o;
    o.propagatore = astro::PropagatoreSDP4;
    o.rifrazione = false;
    o.sogliaSole = kSogliaSole;
    return o;
}

struct Esito {
    core::EsitoRicerca esito;
    std::vector<core::Passaggio> passaggi;
    long valutazioni = 0;
};

Esito Cerca(const Satelement& s, astro::Osservatore oss, double limite, double ti, double tf, double fuso = 0,
            int fermaDopo = -1)
{
    Esito r;
    core::RicercaPassaggi ricerca(s, oss, Opzioni(), limite, fuso, 0);
    int culmini = 0;
    ricerca.continua = [&] { return fermaDopo < 0 || culmini++ < fermaDopo; };
    ricerca.passaggio = [&](const core::Passaggio& p) { r.passaggi.push_back(p); };
    r.esito = ricerca.PREDICI(ti, tf, core::Passo_Scansione(s.MotoMedio), core::kPassoPiccolo);
    r.valutazioni = ricerca.valutazioni();
    return r;
}

struct EventoRif {
    std::string evento;
    double jd, altezza, azimuth, sole;
    int eclisse, prima, dopo;
};
struct Gruppo {
    std::string nome;
    double lat, lon, quota, limite, ti, tf;
    std::vector<EventoRif> eventi;
};

std::vector<Gruppo> Leggi_Riferimento()
{
    std::ifstream in(std::string(ASTROVELA_TEST_DATA) + "/ref_passes.csv");
    EXPECT_TRUE(in.good());
    std::string riga;
    std::getline(in, riga);
    std::vector<Gruppo> gruppi;
    while (std::getline(in, riga)) {
        std::vector<std::string> c = testsupport::Campi(riga);
        if (c.size() != 15)
            continue;
        const double lat = std::stod(c[1]), lon = std::stod(c[2]), lim = std::stod(c[4]);
        if (gruppi.empty() || gruppi.back().nome != c[0] || gruppi.back().lat != lat || gruppi.back().limite != lim)
            gruppi.push_back({c[0], lat, lon, std::stod(c[3]), lim, std::stod(c[5]), std::stod(c[6]), {}});
        gruppi.back().eventi.push_back({c[7], std::stod(c[8]), std::stod(c[9]), std::stod(c[10]), std::stod(c[11]),
                                        std::stoi(c[12]), std::stoi(c[13]), std::stoi(c[14])});
    }
    return gruppi;
}

Satelement Set_Per_Nome(const std::string& nome)
{
    if (nome == kIss[0])
        return Set(kIss);
    if (nome == kCbers[0])
        return Set(kCbers);
    return Set(kMolniya);
}

// The illumination state the reference gives, or 0 when the event lies at
// the edge of the shadow or of the Sun's threshold. A rise or a set lies on
// the limit: its state is the one just inside the pass (above the horizon),
// whichever side of the limit the solver's crossing fell.
int Stato_Atteso(const EventoRif& e)
{
    if (e.eclisse != e.prima || e.eclisse != e.dopo || std::fabs(e.sole - kSogliaSole) < 0.3)
        return 0;
    if (e.eclisse)
        return StatoEclisse;
    const bool sopra = e.evento != "culmination" || e.altezza > 0;
    return e.sole < kSogliaSole && sopra ? StatoVisibile : StatoNonVisibile;
}

TEST(PassSearch, MatchesSkyfieldAndPyEphem)
{
    const auto gruppi = Leggi_Riferimento();
    ASSERT_EQ(gruppi.size(), 17u);
    int culminiConfrontati = 0, limitiConfrontati = 0, statiConfrontati = 0;
    for (const Gruppo& g : gruppi) {
        SCOPED_TRACE(g.nome + " at " + std::to_string(g.lat) + " limit " + std::to_string(g.limite));
        const Satelement s = Set_Per_Nome(g.nome);
        // Every orbit class to 3 s at rise and set, 5 s at culmination.
        const bool lento = s.MotoMedio < 3;
        const double tolTempo = 3.0 * kSecondo;
        const Esito r = Cerca(s, {g.lat, g.lon, g.quota}, g.limite, g.ti, g.tf);
        ASSERT_EQ(r.esito, core::EsitoRicerca::Completa);

        // Every reference culmination well inside the span is one of ours,
        // with its rise and set when the reference has them.
        for (size_t i = 0; i < g.eventi.size(); ++i) {
            const EventoRif& c = g.eventi[i];
            if (c.evento != "culmination" || c.jd < g.ti + 0.02 || c.jd > g.tf - 0.02)
                continue;
            const core::Passaggio* trovato = nullptr;
            for (const auto& p : r.passaggi)
                if (std::fabs(p.culmine.jd - c.jd) < (lento ? 600 : 30) * kSecondo)
                    trovato = &p;
            ASSERT_NE(trovato, nullptr) << "culmination at JD " << c.jd;
            ++culminiConfrontati;
            EXPECT_NEAR(trovato->culmine.v.Altezza, c.altezza, 0.08);
            EXPECT_NEAR(trovato->culmine.jd, c.jd, 5 * kSecondo);
            {
                const double dAz = std::remainder(trovato->culmine.v.Azimuth - c.azimuth, 360.0);
                // As an angle on the sky: near the top of a high pass the
                // satellite moves up to a degree a second across a flat maximum.
                EXPECT_NEAR(dAz * std::cos(c.altezza * M_PI / 180), 0.0, lento ? 0.5 : 4.0);
            }
            if (i > 0 && g.eventi[i - 1].evento == "rise") {
                EXPECT_NEAR(trovato->sorgere.jd, g.eventi[i - 1].jd, tolTempo);
                EXPECT_NEAR(trovato->sorgere.v.Altezza, g.limite, 0.01);
                // The limit itself, never a hair below it ("-0.0" at the horizon).
                EXPECT_GE(trovato->sorgere.v.Altezza, g.limite);
                EXPECT_GE(trovato->tramonto.v.Altezza, g.limite);
                ++limitiConfrontati;
            }
            if (i + 1 < g.eventi.size() && g.eventi[i + 1].evento == "set") {
                EXPECT_NEAR(trovato->tramonto.jd, g.eventi[i + 1].jd, tolTempo);
                ++limitiConfrontati;
            }
            // Illumination at the three events, where the reference is sharp.
            const std::tuple<const core::EventoPassaggio*, const EventoRif*> coppie[] = {
                {&trovato->culmine, &c},
                {&trovato->sorgere, i > 0 && g.eventi[i - 1].evento == "rise" ? &g.eventi[i - 1] : nullptr},
                {&trovato->tramonto,
                 i + 1 < g.eventi.size() && g.eventi[i + 1].evento == "set" ? &g.eventi[i + 1] : nullptr}};
            for (const auto& [nostro, rif] : coppie) {
                if (!rif || Stato_Atteso(*rif) == 0)
                    continue;
                EXPECT_EQ(nostro->v.Stato, Stato_Atteso(*rif)) << "event at JD " << rif->jd;
                EXPECT_NEAR(nostro->altezzaSole, rif->sole, 0.1);
                ++statiConfrontati;
            }
            EXPECT_EQ(trovato->durata, trovato->sorgere.locale.secsTo(trovato->tramonto.locale));
        }
        // And none of ours is missing from the reference (a maximum below
        // the limit gives no pass).
        for (const auto& p : r.passaggi) {
            if (p.culmine.jd <= g.ti + 1e-9 || p.culmine.jd >= g.tf - 1e-9)
                continue;  // cut by the span; the reference has no culmination there
            bool presente = false;
            for (const auto& e : g.eventi)
                presente = presente
                    || (e.evento == "culmination" && std::fabs(e.jd - p.culmine.jd) < (lento ? 600 : 30) * kSecondo);
            EXPECT_TRUE(presente) << "extra pass culminating at JD " << p.culmine.jd;
            EXPECT_GT(p.culmine.v.Altezza, g.limite);
        }
    }
    EXPECT_GT(culminiConfrontati, 200);
    EXPECT_GT(limitiConfrontati, 380);
    EXPECT_GT(statiConfrontati, 300);
}

// The passes cut by the ends of the span, from one real ISS pass over Rome.
TEST(PassSearch, PassesCutByTheSpan)
{
    const Satelement s = Set(kIss);
    const astro::Osservatore roma{41.9028, 12.4964, 50.0};
    const double ti = 2456623.33127943, tf = ti + 1.0;
    const Esito tutto = Cerca(s, roma, 0, ti, tf);
    ASSERT_GE(tutto.passaggi.size(), 3u);
    const core::Passaggio& p = tutto.passaggi[1];
    const double sorge = p.sorgere.jd, culmina = p.culmine.jd, tramonta = p.tramonto.jd;

    // Above the horizon and sinking at the start: rise and culmination are the start.
    const double dopo = culmina + 60 * kSecondo;
    Esito r = Cerca(s, roma, 0, dopo, tf);
    ASSERT_FALSE(r.passaggi.empty());
    EXPECT_EQ(r.passaggi[0].sorgere.jd, dopo);
    EXPECT_EQ(r.passaggi[0].culmine.jd, dopo);
    EXPECT_NEAR(r.passaggi[0].tramonto.jd, tramonta, 0.5 * kSecondo);

    // Rising at the start: the rise is the start, the culmination the true one.
    const double prima = sorge + 60 * kSecondo;
    r = Cerca(s, roma, 0, prima, tf);
    ASSERT_FALSE(r.passaggi.empty());
    EXPECT_EQ(r.passaggi[0].sorgere.jd, prima);
    EXPECT_NEAR(r.passaggi[0].culmine.jd, culmina, 1 * kSecondo);

    // Still rising at the end: culmination and set are the end.
    const double fine = culmina - 60 * kSecondo;
    r = Cerca(s, roma, 0, ti, fine);
    ASSERT_EQ(r.passaggi.size(), 2u);
    EXPECT_NEAR(r.passaggi[1].sorgere.jd, sorge, 0.5 * kSecondo);
    EXPECT_EQ(r.passaggi[1].culmine.jd, fine);
    EXPECT_EQ(r.passaggi[1].tramonto.jd, fine);

    // Past the culmination but before the set at the end: the maximum
    // between the last scan step and the end is refined once.
    const double quasi = tramonta - 60 * kSecondo;
    r = Cerca(s, roma, 0, ti, quasi);
    ASSERT_EQ(r.passaggi.size(), 2u);
    EXPECT_NEAR(r.passaggi[1].culmine.jd, culmina, 1 * kSecondo);
    EXPECT_EQ(r.passaggi[1].tramonto.jd, quasi);
}

TEST(PassSearch, StopRequestEndsAtTheNextCulmination)
{
    const Satelement s = Set(kIss);
    const double ti = 2456623.33127943;
    const Esito r = Cerca(s, {41.9028, 12.4964, 50.0}, 0, ti, ti + 2, 0, 2);
    EXPECT_EQ(r.esito, core::EsitoRicerca::Arrestata);
    EXPECT_EQ(r.passaggi.size(), 2u);  // the third culmination asked to stop, and nothing of it is kept
}

TEST(PassSearch, SatelliteThatNeverSetsEndsSoundly)
{
    // A geostationary satellite seen from under it stays up: the search
    // still ends, with a pass clamped to the span.
    const Satelement s = Set(kGeo);
    EXPECT_TRUE(core::Satellite_Escluso(s.MotoMedio, s.Eccentricita));
    const double ti = s.EpocaGiuliana + 0.1;
    const Esito r = Cerca(s, {0.0, 80.0, 0.0}, 0, ti, ti + 2);
    EXPECT_EQ(r.esito, core::EsitoRicerca::Completa);
    // One stretch above the horizon is one pass, however the elevation
    // wobbles within it (the skip rule bypassed).
    ASSERT_EQ(r.passaggi.size(), 1u);
    EXPECT_EQ(r.passaggi[0].sorgere.jd, ti);
    EXPECT_EQ(r.passaggi[0].tramonto.jd, ti + 2);
    // Its culmination is the highest point of the two days.
    double piuAlta = -90;
    for (double t = ti; t <= ti + 2; t += 300 * kSecondo) {
        Valori v;
        astro::UsciteSatellite u;
        ASSERT_TRUE(astro::Calcola_Satellite(s, {0.0, 80.0, 0.0}, Opzioni(), t, v, u));
        piuAlta = std::max(piuAlta, v.Altezza);
    }
    EXPECT_GE(r.passaggi[0].culmine.v.Altezza, piuAlta - 1e-6);
    EXPECT_LT(r.valutazioni, 20000);

    // The skip rule: geostationary, slow circular orbits out; slightly more
    // than two revolutions a day, or eccentric, in.
    EXPECT_TRUE(core::Satellite_Escluso(1.0027, 0.0));
    EXPECT_TRUE(core::Satellite_Escluso(1.5, 0.0));
    EXPECT_FALSE(core::Satellite_Escluso(2.01, 0.0));
    EXPECT_FALSE(core::Satellite_Escluso(1.5, 0.7));
    EXPECT_FALSE(core::Satellite_Escluso(15.5, 0.001));
}

TEST(PassSearch, CulminationAtNoonIsMorning)
{
    // A pass in progress and sinking at the start culminates at the start:
    // a start on a whole minute of universal time, in a zone that makes it
    // 12:00:00 local, then one minute later.
    const Satelement s = Set(kIss);
    const astro::Osservatore roma{41.9028, 12.4964, 50.0};
    const double t0 = 2456623.33127943;
    const Esito r0 = Cerca(s, roma, 0, t0, t0 + 0.3);
    ASSERT_FALSE(r0.passaggi.empty());
    const double minuti = std::ceil((r0.passaggi[0].culmine.jd + 30 * kSecondo - 2456623.5) * 1440);
    const double ti = 2456623.5 + minuti / 1440 + 0.45 * kSecondo;
    const double fuso = (720 - minuti) / 60;
    Esito r = Cerca(s, roma, 0, ti, ti + 0.1, fuso);
    ASSERT_FALSE(r.passaggi.empty());
    EXPECT_EQ(r.passaggi[0].culmine.jd, ti);
    ASSERT_EQ(r.passaggi[0].culmine.locale.time(), QTime(12, 0, 0));
    EXPECT_TRUE(r.passaggi[0].mattino);
    r = Cerca(s, roma, 0, ti + 60 * kSecondo, ti + 0.1, fuso);
    ASSERT_FALSE(r.passaggi.empty());
    ASSERT_EQ(r.passaggi[0].culmine.locale.time(), QTime(12, 1, 0));
    EXPECT_FALSE(r.passaggi[0].mattino);
}

// An element set that cannot be a satellite (a line shifted by a few
// columns reads 47,885 revolutions a day) and the longest search the
// window allows over a satellite without drag: both end, and the stop
// request is answered within 0.2 s whatever the satellite.
TEST(PassSearch, EndsAndAnswersStopPromptly)
{
    Satelement assurdo = Set(kIss);
    assurdo.MotoMedio = 47885.0;
    const double ti = assurdo.EpocaGiuliana;
    const auto t0 = std::chrono::steady_clock::now();
    const Esito r = Cerca(assurdo, {41.9, 12.5, 50.0}, 0, ti, ti + 28);
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(200));
    EXPECT_TRUE(r.passaggi.empty());
    EXPECT_EQ(r.esito, core::EsitoRicerca::NonCalcolabile);

    // Thirty years of a low orbit: the search looks at the stop request at
    // least every 50 ms between culminations, and stops when asked.
    Satelement s = Set(kIss);
    s.DerivataPrima = 0;
    s.BStarMantissa = 0;
    core::RicercaPassaggi ricerca(s, {41.9, 12.5, 50.0}, Opzioni(), 0, 0, 0);
    using Orologio = std::chrono::steady_clock;
    const Orologio::time_point inizio = Orologio::now();
    Orologio::time_point richiesta{}, ultimo = inizio;
    Orologio::duration intervalloMassimo{};
    ricerca.continua = [] { return true; };
    ricerca.controllo = [&] {
        const auto adesso = Orologio::now();
        intervalloMassimo = std::max(intervalloMassimo, adesso - ultimo);
        ultimo = adesso;
        if (adesso - inizio < std::chrono::milliseconds(300))
            return true;
        richiesta = adesso;
        return false;
    };
    EXPECT_EQ(ricerca.PREDICI(ti, ti + 365.25 * 30, core::Passo_Scansione(s.MotoMedio), core::kPassoPiccolo),
              core::EsitoRicerca::Arrestata);
    EXPECT_NE(richiesta, Orologio::time_point{});
    EXPECT_LT(Orologio::now() - richiesta, std::chrono::milliseconds(200));
    EXPECT_LT(intervalloMassimo, std::chrono::milliseconds(200));
}

// The search of many satellites across threads gives what one search
// after another gives, in the same order, on two cores as on eight; a stop
// ends it within 0.2 s.
TEST(PassSearch, ManySatellitesAcrossCores)
{
    std::vector<core::RicercaMultipla::Voce> voci;
    const Satelement base[] = {Set(kIss), Set(kCbers), Set(kMolniya), Set(kGeo)};
    for (int i = 1; i <= 24; ++i) {
        Satelement s = base[(i - 1) % 4];
        s.AnomaliaMedia = std::fmod(s.AnomaliaMedia + 37.0 * i, 360.0);
        s.NodoAscendente = std::fmod(s.NodoAscendente + 11.0 * i, 360.0);
        voci.push_back({100 + i, s, std::nullopt});
    }
    const astro::Osservatore oss{45.47, 9.19, 120};
    const double ti = 2453917.0, tf = ti + 2;
    // Every figure of a pass, with its three event lines.
    auto figure = [](const std::vector<core::Passaggio>& passaggi) {
        std::vector<std::string> f;
        for (const auto& p : passaggi) {
            f.push_back(std::to_string(p.culmine.jd) + " " + std::to_string(p.durata) + (p.mattino ? " am" : " pm"));
            for (const core::EventoPassaggio* e : {&p.sorgere, &p.culmine, &p.tramonto}) {
                f.push_back(core::Riga_Evento(*e).toStdString());
                // The event's local date-time is the one the program's
                // conversion of its Julian date gives.
                EXPECT_EQ(e->locale, mAstro::A_QDateTime(mAstro::Data_Da_Giuliano(e->jd, 0, 0)));
            }
        }
        return f;
    };
    // One after another.
    std::vector<std::vector<std::string>> attesi;
    for (const auto& v : voci) {
        std::vector<std::string> culmini;
        if (!core::Satellite_Escluso(v.s.MotoMedio, v.s.Eccentricita))
            culmini = figure(Cerca(v.s, oss, 10, ti, tf).passaggi);
        attesi.push_back(culmini);
    }
    for (const int fili : {1, 2, 8}) {
        SCOPED_TRACE(fili);
        core::RicercaMultipla m(voci, oss, Opzioni(), 10, 0, 0, ti, tf, false, fili);
        EXPECT_EQ(m.Fili(), fili);
        size_t k = 0;
        core::RisultatiSatellite r;
        while (!m.Finita()) {
            if (!m.Prossimo(r, std::chrono::milliseconds(20)))
                continue;
            ASSERT_LT(k, voci.size());
            EXPECT_EQ(r.indice, voci[k].indice);
            EXPECT_EQ(r.saltato, (k % 4) == 3);  // the geostationary ones
            EXPECT_EQ(figure(r.passaggi), attesi[k]);
            ++k;
        }
        EXPECT_EQ(k, voci.size());
    }

    // Thirty years of every satellite: stopped after 100 ms, the workers are
    // gone within 0.2 s.
    {
        const auto inizio = std::chrono::steady_clock::now();
        std::optional<core::RicercaMultipla> m;
        m.emplace(voci, oss, Opzioni(), 10, 0, 0, ti, ti + 365.25 * 30, false, 2);
        core::RisultatiSatellite r;
        while (std::chrono::steady_clock::now() - inizio < std::chrono::milliseconds(100))
            m->Prossimo(r, std::chrono::milliseconds(10));
        const auto arresto = std::chrono::steady_clock::now();
        m.reset();
        EXPECT_LT(std::chrono::steady_clock::now() - arresto, std::chrono::milliseconds(200));
    }
}

core::Passaggio Passaggio_Di_Prova()
{
    core::Passaggio p;
    auto ev = [](int h, int m, int sec, double alt, double az, int stato, MagnitudineVisuale mag, double sole,
                 double dist) {
        core::EventoPassaggio e;
        e.locale = QDateTime(QDate(2026, 3, 5), QTime(h, m, sec), Qt::UTC);
        e.v.Altezza = alt;
        e.v.Azimuth = az;
        e.v.Stato = stato;
        e.v.Magnitudine = mag;
        e.altezzaSole = sole;
        e.v.Distanza = dist;
        return e;
    };
    p.sorgere = ev(4, 58, 7, 10.0, 312.25, StatoEclisse, MagnitudineVisuale::vuota(), -12.34, 1489.06);
    p.culmine = ev(5, 3, 9, 67.35, 41.6, StatoVisibile, MagnitudineVisuale::numero(-2.04), -11.9, 441.2);
    p.tramonto = ev(5, 8, 1, 10.0, 121.0, StatoNonVisibile, MagnitudineVisuale::sconosciuta(), -11.5, 1503.44);
    p.durata = p.sorgere.locale.secsTo(p.tramonto.locale);
    return p;
}

TEST(PassSearch, EventLinesAndResultRow)
{
    vb::setDisplayLocale(QLocale::c());
    const core::Passaggio p = Passaggio_Di_Prova();
    const QString riga = core::Riga_Evento(p.culmine);
    ASSERT_EQ(riga.size(), 86);
    EXPECT_EQ(riga.left(21), QStringLiteral("05 Mar 2026  05:03:09"));
    EXPECT_EQ(riga.mid(21, 18), QString(18, QLatin1Char(' ')));
    EXPECT_EQ(riga.mid(39, 4), QStringLiteral("67.4"));  // columns 40-43
    EXPECT_EQ(riga.mid(46, 5), QStringLiteral("041.6")); // columns 47-51
    EXPECT_EQ(riga.mid(64, 4), QStringLiteral("-2.0")); // columns 65-68
    EXPECT_EQ(riga.mid(71, 5), QStringLiteral("-11.9")); // columns 72-76
    EXPECT_EQ(riga.mid(78, 8), QStringLiteral("   441.2")); // columns 79-86

    const QString sorge = core::Riga_Evento(p.sorgere);
    EXPECT_EQ(sorge.mid(64, 4), QStringLiteral("    "));  // in shadow
    EXPECT_EQ(sorge.mid(71, 5), QStringLiteral("-12.3"));
    EXPECT_EQ(sorge.mid(39, 4), QStringLiteral("10.0"));
    EXPECT_EQ(core::Riga_Evento(p.tramonto).mid(64, 4), QStringLiteral(" ???"));

    const core::RigaRisultato r = core::Riga_Risultato(p, QStringLiteral("Iss (Zarya)"), 17);
    EXPECT_EQ(r.testo, QStringLiteral("05 Mar 2026 05:03:09"));
    ASSERT_EQ(r.sottovoci.size(), 8);
    EXPECT_EQ(r.sottovoci[0], QStringLiteral("Iss (Zarya)"));
    EXPECT_EQ(r.sottovoci[1], QStringLiteral("67.4"));
    EXPECT_EQ(r.sottovoci[2], QStringLiteral("  42"));
    EXPECT_EQ(r.sottovoci[4], QStringLiteral("-2.0"));
    EXPECT_EQ(r.sottovoci[5], QStringLiteral("00:09:54"));
    EXPECT_EQ(r.sottovoci[6], QStringLiteral("20260305 05:03:09"));
    EXPECT_EQ(r.sottovoci[7], QStringLiteral("096.96"));
    const QStringList tag = r.tag.split(QLatin1Char(';'));
    ASSERT_EQ(tag.size(), 4);
    EXPECT_EQ(tag[0], QStringLiteral("17"));
    EXPECT_EQ(tag[2], riga);

    // Unknown or no magnitude at the culmination sorts after every number.
    core::Passaggio q = p;
    q.culmine.v.Magnitudine = MagnitudineVisuale::sconosciuta();
    EXPECT_EQ(core::Riga_Risultato(q, {}, 1).sottovoci[4], QStringLiteral(" ???"));
    EXPECT_EQ(core::Riga_Risultato(q, {}, 1).sottovoci[7], QStringLiteral("198.00"));
    q.culmine.v.Magnitudine = MagnitudineVisuale::vuota();
    EXPECT_EQ(core::Riga_Risultato(q, {}, 1).sottovoci[7], QStringLiteral("198.00"));

    EXPECT_EQ(core::Testo_Durata(100 * 3600 + 61), QStringLiteral("100:01:01"));
}

TEST(PassSearch, Filters)
{
    core::Passaggio p = Passaggio_Di_Prova();  // morning, visible at the culmination, azimuth 41.6
    core::FiltriPassaggio f;
    EXPECT_TRUE(core::Passa_Filtri(p, f));
    f.am = false;
    EXPECT_FALSE(core::Passa_Filtri(p, f));
    p.mattino = false;
    EXPECT_TRUE(core::Passa_Filtri(p, f));
    // Azimuth window with both bounds left out.
    f = {};
    f.azimuthMin = 41.6;
    EXPECT_FALSE(core::Passa_Filtri(p, f));
    f.azimuthMin = 0;
    f.azimuthMax = 41.6;
    EXPECT_FALSE(core::Passa_Filtri(p, f));
    // Only visible passes: the azimuth window does not apply.
    f.soloVisibili = true;
    EXPECT_TRUE(core::Passa_Filtri(p, f));
    p.culmine.v.Stato = StatoNonVisibile;
    EXPECT_FALSE(core::Passa_Filtri(p, f));
    p.tramonto.v.Stato = StatoVisibile;
    EXPECT_TRUE(core::Passa_Filtri(p, f));
}

} // namespace
