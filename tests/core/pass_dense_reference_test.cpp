// The pass search against a dense scan on the same propagator: the
// elevation sampled every 20 seconds by the full satellite computation, each
// crossing of the limit bisected, each culmination refined by golden section
// around the highest sample. Low, sun-synchronous, twelve-hour eccentric,
// Molniya and highly eccentric orbits from observers at several latitudes,
// with each of the four models: no pass missed, none doubled, rise and set
// within 2 s, culmination within 3 s.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "astro/satellite.h"
#include "core/element_parser.h"
#include "core/pass_search.h"

namespace {

constexpr double kSecondo = 1.0 / 86400.0;

struct PassoRif {
    double sorgere, culmine, tramonto, altezza;
};

class ScansioneDensa {
public:
    ScansioneDensa(const Satelement& s, const astro::Osservatore& oss, const astro::OpzioniSatellite& opz,
                   double limite)
        : m_s(s), m_oss(oss), m_opz(opz), m_lim(limite)
    {
    }

    double altezza(double t)
    {
        Valori v;
        astro::UsciteSatellite u;
        EXPECT_TRUE(astro::Calcola_Satellite(m_s, m_oss, m_opz, t, v, u, &m_modello));
        return v.Altezza;
    }

    std::vector<PassoRif> passaggi(double ti, double tf)
    {
        const double passo = 20 * kSecondo;
        std::vector<double> t, e;
        for (double x = ti;; x += passo) {
            x = std::min(x, tf);
            t.push_back(x);
            e.push_back(altezza(x));
            if (x >= tf)
                break;
        }
        std::vector<PassoRif> out;
        size_t i = 0;
        while (i < t.size()) {
            if (e[i] < m_lim) {
                ++i;
                continue;
            }
            const size_t primo = i;
            while (i + 1 < t.size() && e[i + 1] >= m_lim)
                ++i;
            const size_t ultimo = i;
            PassoRif p{};
            p.sorgere = primo == 0 ? ti : bisezione(t[primo - 1], t[primo]);
            p.tramonto = ultimo + 1 == t.size() ? tf : bisezione(t[ultimo], t[ultimo + 1]);
            size_t best = primo;
            for (size_t k = primo; k <= ultimo; ++k)
                if (e[k] > e[best])
                    best = k;
            p.culmine = sezioneAurea(std::max(ti, t[best] - passo), std::min(tf, t[best] + passo));
            p.altezza = altezza(p.culmine);
            if (e[best] > p.altezza) {
                p.culmine = t[best];
                p.altezza = e[best];
            }
            out.push_back(p);
            ++i;
        }
        return out;
    }

private:
    double bisezione(double a, double b)
    {
        const bool sopraA = altezza(a) >= m_lim;
        while (b - a > 0.005 * kSecondo) {
            const double m = 0.5 * (a + b);
            if ((altezza(m) >= m_lim) == sopraA)
                a = m;
            else
                b = m;
        }
        return 0.5 * (a + b);
    }
    double sezioneAurea(double a, double b)
    {
        const double r = 0.6180339887498949;
        double c = b - r * (b - a), d = a + r * (b - a);
        double fc = altezza(c), fd = altezza(d);
        while (b - a > 0.01 * kSecondo) {
            if (fc > fd) {
                b = d;
                d = c;
                fd = fc;
                c = b - r * (b - a);
                fc = altezza(c);
            } else {
                a = c;
                c = d;
                fc = fd;
                d = a + r * (b - a);
                fd = altezza(d);
            }
        }
        return 0.5 * (a + b);
    }

    Satelement m_s;
    astro::Osservatore m_oss;
    astro::OpzioniSatellite m_opz;
    double m_lim;
    astro::ModelloSatellite m_modello;
};

Satelement Da_Righe(const char* nome, const char* l1, const char* l2)
{
    Satelement e;
    const TabellaFrequenze nessuna;
    EXPECT_EQ(core::Analizza_Elementi(nome, l1, l2, {}, nessuna, e), core::ErroreElementi::Nessuno);
    return e;
}

// An element set from its figures (epoch 2026 day 340.5).
Satelement Orbita(const std::string& nome, double incl, double nodo, double ecc, double argp, double anom, double moto)
{
    char l2[80];
    std::snprintf(l2, sizeof l2, "2 90001 %8.4f %8.4f %07ld %8.4f %8.4f %11.8f    10", incl, nodo,
                  std::lround(ecc * 1e7), argp, anom, moto);
    return Da_Righe(nome.c_str(), "1 90001U 26001A   26340.50000000  .00000000  00000-0  00000-0 0  9990", l2);
}

struct Caso {
    Satelement s;
    double giorni;
};

std::vector<Caso> Casi()
{
    return {
        {Da_Righe("ISS (ZARYA)", "1 25544U 98067A   13330.58127943  .00000814  00000-0  21834-4 0  1064",
                  "2 25544  51.6484  23.7537 0001246  74.1647  18.7420 15.50540527859894"),
         2},
        {Da_Righe("CBERS 2", "1 28057U 03049A   06177.78615833  .00000060  00000-0  35940-4 0  1836",
                  "2 28057  98.4283 247.6961 0000884  88.1964 271.9322 14.35478080140550"),
         2},
        {Da_Righe("MOLNIYA 2-14", "1 08195U 75081A   06176.33215444  .00000099  00000-0  11873-3 0   813",
                  "2 08195  64.1586 279.0717 6877146 264.7651  20.2257  2.00491383225656"),
         8},
        // Eccentric twelve-hour orbits of the kind the old scan stepped over.
        {Orbita("TWELVE A", 175.1234, 205.5, 0.7, 245.25, 115.75, 2.00561), 8},
        {Orbita("TWELVE B", 30.1234, 90.5, 0.6, 10.25, 200.75, 2.00561), 8},
        // Transfer orbit, and a two-day highly eccentric one.
        {Orbita("GTO", 7.0, 120.0, 0.73, 180.0, 0.0, 2.25), 6},
        {Orbita("HEO", 52.0, 300.0, 0.8, 300.0, 45.0, 0.5), 10},
    };
}

TEST(PassSearchDense, NoPassMissedOrDoubled)
{
    const astro::Osservatore osservatori[] = {
        {45.47, 9.19, 120}, {69.65, 18.96, 100}, {-33.87, 151.21, 40}, {-0.18, -78.47, 2850}};
    int confrontati = 0;
    // The default model, and SGP4, SGP and Plan 13 on every set as the options allow.
    for (const int modello :
         {astro::PropagatoreSDP4, astro::PropagatoreSGP4, astro::PropagatoreSGP, astro::PropagatorePlan13}) {
        astro::OpzioniSatellite opz;
        opz.propagatore = modello;
        for (const Caso& c : Casi()) {
            for (const auto& oss : osservatori) {
                for (const double limite : {0.0, 10.0}) {
                    SCOPED_TRACE(c.s.Nome + " at latitude " + std::to_string(oss.latitudine) + " limit "
                                 + std::to_string(limite) + " model " + std::to_string(modello));
                    const double ti = c.s.EpocaGiuliana + 0.25, tf = ti + c.giorni;
                    ScansioneDensa rif(c.s, oss, opz, limite);
                    const std::vector<PassoRif> attesi = rif.passaggi(ti, tf);

                    std::vector<core::Passaggio> trovati;
                    core::RicercaPassaggi r(c.s, oss, opz, limite, 0, 0);
                    r.passaggio = [&](const core::Passaggio& p) { trovati.push_back(p); };
                    ASSERT_EQ(r.PREDICI(ti, tf, core::Passo_Scansione(c.s.MotoMedio), core::kPassoPiccolo),
                              core::EsitoRicerca::Completa);

                    // One of ours for every pass of the dense scan (the one that
                    // overlaps it), and as many of ours as of them.
                    EXPECT_EQ(trovati.size(), attesi.size());
                    for (size_t i = 0; i < attesi.size(); ++i) {
                        const PassoRif& a = attesi[i];
                        const core::Passaggio* trovato = nullptr;
                        for (const auto& q : trovati)
                            if (q.sorgere.jd <= a.tramonto && q.tramonto.jd >= a.sorgere)
                                trovato = &q;
                        if (!trovato) {
                            ADD_FAILURE() << "pass " << i << " culminating at JD " << a.culmine << " missed";
                            continue;
                        }
                        const core::Passaggio& p = *trovato;
                        EXPECT_NEAR(p.sorgere.jd, a.sorgere, 2 * kSecondo) << "pass " << i;
                        EXPECT_NEAR(p.tramonto.jd, a.tramonto, 2 * kSecondo) << "pass " << i;
                        const double dt = std::fabs(p.culmine.jd - a.culmine);
                        EXPECT_TRUE(dt <= 3 * kSecondo)
                            << "pass " << i << ": culmination " << dt / kSecondo << " s from the dense scan's";
                        EXPECT_NEAR(p.culmine.v.Altezza, a.altezza, 0.01) << "pass " << i;
                        ++confrontati;
                    }
                }
            }
        }
    }
    EXPECT_GT(confrontati, 2400);
}

// A scan point just after a culmination: the culmination is still found on
// time and at its height (the refinement is bracketed on both sides).
TEST(PassSearchDense, ScanPointJustAfterTheCulmination)
{
    const Caso iss = Casi()[0];
    const astro::Osservatore roma{41.9028, 12.4964, 50.0};
    astro::OpzioniSatellite opz;
    opz.propagatore = astro::PropagatoreSDP4;
    const double t0 = iss.s.EpocaGiuliana + 0.25;
    ScansioneDensa rif(iss.s, roma, opz, 10.0);
    const std::vector<PassoRif> attesi = rif.passaggi(t0, t0 + 1);
    ASSERT_GE(attesi.size(), 3u);
    const PassoRif& a = attesi[2];
    // Starts that put a scan point (a quarter period, or any step of ours)
    // from 0.5 to 8 s after the culmination.
    const double quarto = 1.0 / iss.s.MotoMedio / 4.0;
    for (const double dopo : {0.5, 1.0, 2.0, 3.0, 5.0, 8.0}) {
        for (const double passo : {quarto, core::Passo_Scansione(iss.s.MotoMedio)}) {
            const double ti = a.culmine + dopo * kSecondo - 3 * passo;
            std::vector<core::Passaggio> trovati;
            core::RicercaPassaggi r(iss.s, roma, opz, 10.0, 0, 0);
            r.passaggio = [&](const core::Passaggio& p) { trovati.push_back(p); };
            r.PREDICI(ti, ti + 0.2, core::Passo_Scansione(iss.s.MotoMedio), core::kPassoPiccolo);
            const core::Passaggio* p = nullptr;
            for (const auto& q : trovati)
                if (q.sorgere.jd <= a.culmine && q.tramonto.jd >= a.culmine)
                    p = &q;
            ASSERT_NE(p, nullptr) << dopo << " s after";
            EXPECT_NEAR(p->culmine.jd, a.culmine, 1 * kSecondo) << dopo << " s after";
            EXPECT_NEAR(p->culmine.v.Altezza, a.altezza, 0.005) << dopo << " s after";
        }
    }
}

} // namespace
