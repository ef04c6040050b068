#include "core/pass_search.h"

#include "astro/pass_solver.h"
#include "astro/time.h"
#include "astro/vector_state.h"
#include "core/clock.h"
#include "core/element_parser.h"
#include "core/mastro.h"
#include "platform/vb.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

namespace core {

namespace {

QString Testo_Altezza(double h) { return vb::RSet(vb::Format(h, u"#0.0"), 4); }

} // namespace

bool Passa_Filtri(const Passaggio& p, const FiltriPassaggio& filtri)
{
    const bool pm = !p.mattino;
    if (!((filtri.pm && pm) || (filtri.am && !pm)))
        return false;
    if (filtri.soloVisibili)
        return p.sorgere.v.Stato == StatoVisibile || p.culmine.v.Stato == StatoVisibile
            || p.tramonto.v.Stato == StatoVisibile;
    const double az = p.culmine.v.Azimuth;
    return filtri.azimuthMin < az && az < filtri.azimuthMax;
}

QString Testo_Magnitudine(const MagnitudineVisuale& m)
{
    if (m.isNumber())
        return vb::RSet(vb::Format(m.valore, u"#0.0"), 4);
    if (m.isUnknown())
        return vb::RSet(QStringLiteral("???"), 4);
    return QString(4, QLatin1Char(' '));
}

QString Riga_Evento(const EventoPassaggio& e)
{
    const QString blank = QStringLiteral(" ");
    QString r = vb::Format(e.locale, u"dd mmm yyyy  hh:mm:ss");
    r += QString(18, QLatin1Char(' '));
    r += Testo_Altezza(e.v.Altezza);
    r += blank.repeated(3);
    r += vb::Format(e.v.Azimuth, u"000.0");
    r += blank.repeated(3);
    r += vb::LSet(Stato2Stringa(e.v.Stato), 8);
    r += blank.repeated(2);
    r += Testo_Magnitudine(e.v.Magnitudine);
    r += blank.repeated(3);
    r += vb::RSet(vb::Format(e.altezzaSole, u"00.0"), 5);
    r += blank.repeated(2);
    r += vb::RSet(vb::Format(e.v.Distanza, u"0.0"), 8);
    return r;
}

QString Testo_Durata(qint64 s)
{
    const qint64 ore = s / 3600;
    const qint64 minuti = (s - 3600 * ore) / 60;
    const qint64 secondi = s - 3600 * ore - 60 * minuti;
    return vb::Format(double(ore), u"00") + QLatin1Char(':') + vb::Format(double(minuti), u"00")
        + QLatin1Char(':') + vb::Format(double(secondi), u"00");
}

RigaRisultato Riga_Risultato(const Passaggio& p, const QString& nome, int indice)
{
    RigaRisultato r;
    const EventoPassaggio& c = p.culmine;
    r.testo = vb::Format(c.locale, u"dd mmm yyyy hh:mm:ss");
    const double magnitudine = c.v.Magnitudine.isNumber() ? c.v.Magnitudine.valore : 99.0;
    r.sottovoci << nome << Testo_Altezza(c.v.Altezza) << vb::RSet(vb::Format(c.v.Azimuth, u"##0"), 4)
                << vb::LSet(Stato2Stringa(c.v.Stato), 8).left(3) << Testo_Magnitudine(c.v.Magnitudine)
                << Testo_Durata(p.durata) << vb::Format(c.locale, u"yyyymmdd hh:mm:ss")
                << vb::FormatC(magnitudine + 99.0, u"000.00");
    r.tag = QString::number(indice) + QLatin1Char(';') + Riga_Evento(p.sorgere) + QLatin1Char(';')
        + Riga_Evento(c) + QLatin1Char(';') + Riga_Evento(p.tramonto);
    return r;
}

bool Satellite_Escluso(double n, double e)
{
    const double a = std::fabs(n - 1.0027);
    return a < 0.001 || (a < 1.0 && e < 0.1);
}

// Near the observer the scan steps a thirtieth of a turn: a maximum of the
// elevation is told by the change of sign of its rate between two points,
// and a pass has one in that while.
constexpr double kPartiGiro = 30.0;

double Passo_Scansione(double n)
{
    if (!(n > 0) || !std::isfinite(n))
        return kPassoPiccolo;
    return std::max(kPassoPiccolo, std::min(1.0 / n / kPartiGiro, 20.0 / 1440.0));
}

// ------------------------------------------------------------ the search

namespace {

constexpr double kGM = astro::kGM;                   // km^3/s^2
constexpr double kRaggioTerra = 6378.135;           // km
constexpr double kRotazione = 6.300388099 / 86400.0; // rad/s
constexpr double kGradRad = M_PI / 180.0;
// The cone of the scan is widened by a degree below the limit: it holds
// the difference between the geodetic and the geocentric vertical (0.2
// degrees at most) and the refraction at the horizon (0.6).
constexpr double kMargineCono = 1.0 * kGradRad;
// Precision of the events (days): rise and set to 0.05 s, culmination to
// 0.2 s; every time shown is a whole second.
constexpr double kTolleranzaLimite = 0.05 / 86400.0;
constexpr double kTolleranzaCulmine = 0.2 / 86400.0;
constexpr double kUnMinuto = 60.0 / 86400.0;
// How often a search looks at the stop request between culminations.
constexpr auto kIntervalloControllo = std::chrono::milliseconds(50);

} // namespace

// The stretch above the minimum height being followed, with the highest
// point found in it so far.
struct RicercaPassaggi::Tratto {
    bool aperto = false;
    double sorgere = 0;
    bool conCulmine = false;
    double culmine = 0, altezzaCulmine = -1e9;
    void candidato(double t, double e)
    {
        if (!conCulmine || e > altezzaCulmine) {
            conCulmine = true;
            culmine = t;
            altezzaCulmine = e;
        }
    }
};

RicercaPassaggi::RicercaPassaggi(const Satelement& s, const astro::Osservatore& oss,
                                 const astro::OpzioniSatellite& opz, double altezzaMinima, double fusoOrario,
                                 int oraLegale)
    : m_sat(s), m_oss(oss), m_opz(opz), m_altezzaMinima(altezzaMinima), m_fuso(fusoOrario), m_oraLegale(oraLegale),
      m_altezza(s, oss, opz)
{
}

// One light evaluation, counted; a failure marks the satellite as one
// that cannot be computed.
bool RicercaPassaggi::vista(double t, astro::VistaSatellite& v)
{
    ++m_valutazioni;
    if (m_altezza.Calcola(t, v))
        return true;
    m_nonCalcolabile = true;
    return false;
}

double RicercaPassaggi::f(double t)
{
    astro::VistaSatellite v;
    if (!vista(t, v))
        return std::numeric_limits<double>::quiet_NaN();
    return m_altezzaMinima - v.altezza;
}

bool RicercaPassaggi::campiona(double t, Campione& c)
{
    ++m_campioni;
    astro::VistaSatellite v;
    if (!vista(t, v))
        return false;
    c.t = t;
    c.e = v.altezza;
    c.d = v.variazione;
    c.w = v.velocitaAngolare;
    c.g = -1;
    // The figures of the cone serve the steps and the checks between points
    // below the limit only.
    if (m_conoValido && v.distanzaCentro > m_cosCono && c.e < m_altezzaMinima) {
        const double* o = m_altezza.geometria().pos;
        const double cosPsi = (v.r[0] * o[0] + v.r[1] * o[1] + v.r[2] * o[2]) / (v.distanzaCentro * m_distanzaOss);
        const double psi = std::acos(std::clamp(cosPsi, -1.0, 1.0));
        c.g = psi - (std::acos(m_cosCono / v.distanzaCentro) - m_limiteCono);
        // The secular prediction of an SGP4 orbit steps farther than the
        // bounds below.
        if (m_sgp4) {
            c.previsto = c.g > 0 ? previsione(v, t) : 0;
            return true;
        }
        // The satellite stays in its orbit's plane: the observer's angle
        // from that plane is a lower bound of its angle from the satellite.
        const double seno = (v.normale[0] * o[0] + v.normale[1] * o[1] + v.normale[2] * o[2]) / m_distanzaOss;
        const double senoBeta = std::min(1.0, std::fabs(seno));
        c.beta = std::asin(senoBeta);
        c.cosBeta = std::sqrt(1.0 - senoBeta * senoBeta);
        c.gPiano = c.beta - m_conoMassimo;
        c.psi = psi;
        // The satellite's phase in its orbit from the observer's foot on
        // the plane, in the direction it moves (0 to 2 pi).
        const double* n = v.normale;
        const double px = o[0] / m_distanzaOss - seno * n[0], py = o[1] / m_distanzaOss - seno * n[1],
                     pz = o[2] / m_distanzaOss - seno * n[2];
        const double coseno = px * v.r[0] + py * v.r[1] + pz * v.r[2];
        const double sinus = n[0] * (py * v.r[2] - pz * v.r[1]) + n[1] * (pz * v.r[0] - px * v.r[2])
            + n[2] * (px * v.r[1] - py * v.r[0]);
        c.fase = std::atan2(sinus, coseno);
        if (c.fase < 0)
            c.fase += 2 * M_PI;
    }
    return true;
}

// The rate h / r^2 + dpsiMax/dr |dr/dt| over the orbit is even in the true
// anomaly and, from the perigee to the apogee, r grows while both h / r^2
// and dpsiMax/dr = c / (r sqrt(r^2 - c^2)) shrink: over a stretch of true
// anomaly [nu0, nu1] of that half, neither term exceeds its value at r(nu0)
// with the largest |sin nu| of the stretch in |dr/dt| = sqrt(GM / p) e
// |sin nu|. Those bounds over 24 stretches, the stretches whose bound stands
// above the highest rate seen at their ends cut in eight, give a bound that
// no point of the orbit exceeds, within a percent or two of the highest.
double Velocita_Massima_Cono(double p, double e, double c)
{
    const double h = std::sqrt(kGM * p), ke = std::sqrt(kGM / p) * e;
    auto termini = [&](double coseno, double& radiale) {
        const double r = p / (1.0 + e * coseno);
        radiale = c / (r * std::sqrt(r * r - c * c)) * ke;
        return h / (r * r);
    };
    // The bound of one stretch starting at (cos, sin) nu0 with the largest
    // sine smax in it.
    auto limite = [&](double coseno, double smax) {
        double radiale = 0;
        const double angolare = termini(coseno, radiale);
        return angolare + radiale * smax;
    };
    constexpr int kTratti = 24, kParti = 8;
    const double passo = M_PI / kTratti;
    const double cp = std::cos(passo), sp = std::sin(passo);
    double co[kTratti + 1], si[kTratti + 1], superiore[kTratti];
    double visto = 0;
    co[0] = 1;
    si[0] = 0;
    for (int k = 1; k <= kTratti; ++k) {
        co[k] = co[k - 1] * cp - si[k - 1] * sp;
        si[k] = std::max(0.0, si[k - 1] * cp + co[k - 1] * sp);
    }
    for (int k = 0; k <= kTratti; ++k) {
        double radiale = 0;
        const double angolare = termini(co[k], radiale);
        visto = std::max(visto, angolare + radiale * si[k]);
        if (k < kTratti) {
            const bool colmo = 2 * k <= kTratti && 2 * (k + 1) >= kTratti;
            superiore[k] = angolare + radiale * (colmo ? 1.0 : std::max(si[k], si[k + 1]));
        }
    }
    double massimo = visto;
    for (int k = 0; k < kTratti; ++k) {
        if (superiore[k] <= visto * 1.005) {
            massimo = std::max(massimo, superiore[k]);
            continue;
        }
        for (int j = 0; j < kParti; ++j) {
            const double nu0 = (k + double(j) / kParti) * passo, nu1 = (k + double(j + 1) / kParti) * passo;
            const double s0 = std::sin(nu0), s1 = std::sin(nu1);
            const double smax = (nu0 <= M_PI / 2 && nu1 >= M_PI / 2) ? 1.0 : std::max(s0, s1);
            massimo = std::max(massimo, limite(std::cos(nu0), smax));
        }
    }
    // Rounding in the recurrences above is far below this.
    return massimo * (1.0 + 1e-9);
}

// The bound of the far steps. The satellite is above the limit only inside
// the observer's visibility cone: seen from the Earth's centre, within
// psiMax(r) = acos(rho cos h / r) - h of the observer (h the limit less the
// margin, rho the observer's distance from the centre, r the satellite's).
// The angle to that cone shrinks at most at the satellite's angular rate
// (h / r^2 on its orbit) plus the observer's (the Earth's rotation) plus
// the cone's own widening as r grows (dpsiMax/dr times the radial speed):
// the fastest of these over the whole orbit, with a quarter more for what
// the perturbations and the drag over the span add, bounds how soon the
// satellite can reach the cone.
void RicercaPassaggi::preparaLimiti(double ti, double tf)
{
    m_conoValido = false;
    m_sgp4 = nullptr;
    const double* o = m_altezza.geometria().pos;
    m_distanzaOss = std::sqrt(o[0] * o[0] + o[1] * o[1] + o[2] * o[2]);
    m_limiteCono = m_altezzaMinima * kGradRad - kMargineCono;
    if (!(m_limiteCono > -M_PI / 2 + 0.01 && m_limiteCono < M_PI / 2 - 0.01))
        return;
    m_cosCono = m_distanzaOss * std::cos(m_limiteCono);
    // The orbit's size and shape over the span. SGP4's drag changes both in
    // its own way (before the epoch a decaying orbit was the larger, and
    // the eccentricity moves with the drag): there they are bounded from
    // the model's own terms, and an orbit they cannot bound is scanned at
    // the near step throughout. The other models: the mean motion moved by
    // its derivative either way over the span, the eccentricity by half a
    // hundredth.
    const astro::ImpostazioneSGP4* s4 = m_altezza.modello().SGP4();
    astro::sgp::LimitiPeriodiche lim;
    double aMinimo = 0, aMassimo = 0, e = 0;
    if (s4) {
        const double epoca = m_altezza.registri().epoch;
        if (!astro::sgp::Limiti_Periodiche(*s4, (std::min(ti, tf) - epoca) * 1440.0,
                                           (std::max(ti, tf) - epoca) * 1440.0, lim))
            return;
        aMinimo = lim.asseMinimo * astro::sgp::xkmper;
        aMassimo = lim.asseMassimo * astro::sgp::xkmper;
        e = std::min(0.99, lim.eccentricita + 0.005);
    } else {
        const double giorni = std::max(std::fabs(ti - m_sat.EpocaGiuliana), std::fabs(tf - m_sat.EpocaGiuliana));
        const double variazione = 2.0 * std::fabs(m_sat.DerivataPrima) * giorni;
        const double veloce = (m_sat.MotoMedio + variazione) * 2.0 * M_PI / 86400.0;  // rad/s
        const double lento = (m_sat.MotoMedio - variazione) * 2.0 * M_PI / 86400.0;
        if (!(lento > 0) || !std::isfinite(veloce))
            return;
        aMinimo = std::cbrt(kGM / (veloce * veloce));
        aMassimo = std::cbrt(kGM / (lento * lento));
        e = std::min(0.99, m_sat.Eccentricita + 0.005);
    }
    const double p = aMinimo * (1.0 - e * e);
    // A perigee near the cone's own foot leaves the bound without meaning:
    // such a satellite is scanned at the near step throughout.
    if (!(aMinimo * (1.0 - e) > m_cosCono + 20.0))
        return;
    const double massimo = Velocita_Massima_Cono(p, e, m_cosCono);
    m_velocitaMax = 1.25 * massimo + kRotazione;
    // The satellite's phase in its plane grows at h / r^2 at most (below
    // massimo), with what the perturbations add to that rate: of the order
    // of J2, a thousandth, near the Earth on a round orbit (the drag's rise
    // is in the smallest orbit already); the Moon and the Sun move the
    // perigee of an eccentric or distant orbit over the days, there the
    // margin of m_velocitaMax.
    const bool lontana = m_sat.MotoMedio < 6.4 || m_sat.Eccentricita > 0.1;
    m_velocitaFase = (lontana ? 1.25 : 1.1) * massimo;
    const double rMassimo = 1.02 * aMassimo * (1.0 + e);
    m_conoMassimo = std::acos(m_cosCono / rMassimo) - m_limiteCono;
    m_conoValido = std::isfinite(m_velocitaMax) && m_velocitaMax > 0 && std::isfinite(m_conoMassimo);
    if (m_conoValido && s4)
        preparaPrevisione(*s4, lim, ti, tf);
}

// The secular prediction. Over the span SGP4 moves the satellite's
// direction from the centre by its secular motion (the argument of
// latitude along the plane, the node about the pole) and by periodic terms
// bounded by Limiti_Periodiche. Taken from a computed point (its direction
// and its plane), the secular motion alone puts the satellite within four
// times that bound of where SGP4 puts it: twice the bound for the point
// and the target, twice for the plane the motion turns about. The cone is
// widened by that much.
void RicercaPassaggi::preparaPrevisione(const astro::ImpostazioneSGP4& s4, const astro::sgp::LimitiPeriodiche& lim,
                                        double ti, double tf)
{
    m_conoPrevisto = m_conoMassimo + 4.0 * lim.angolo + 0.002;
    if (!(m_conoPrevisto < 0.5 * M_PI))
        return;
    m_senoPrevisto = std::sin(m_conoPrevisto);
    m_cosPrevisto = std::cos(m_conoPrevisto);
    const double epoca = m_altezza.registri().epoch;
    const double T = std::max(std::fabs(ti - epoca), std::fabs(tf - epoca)) * 1440.0;
    const double dl = s4.xnodp
        * (2 * std::fabs(s4.t2cof) * T
           + (s4.isimp ? 0.0
                       : 3 * std::fabs(s4.t3cof) * T * T + 4 * std::fabs(s4.t4cof) * T * T * T
                   + 5 * std::fabs(s4.t5cof) * T * T * T * T));
    m_velocitaArgomento = 1440.0 * (std::fabs(s4.xmdot + s4.omgdot) + dl) * 1.000001;
    m_velocitaArgominima = 1440.0 * (s4.xmdot + s4.omgdot - dl) * 0.999999;
    m_velocitaTerra = (6.300388099 + 1440.0 * (std::fabs(s4.xnodot) + 2 * std::fabs(s4.xnodcf) * T)) * 1.000001;
    const double* o = m_altezza.geometria().pos;
    for (int k = 0; k < 3; ++k)
        m_direzioneOss[k] = o[k] / m_distanzaOss;
    m_fine = tf;
    if (std::isfinite(m_velocitaArgomento) && m_velocitaArgomento > 0 && std::isfinite(m_velocitaTerra))
        m_sgp4 = &s4;
}

// Days from t, at which the satellite computed as v stands, before it can
// come inside the cone, by the secular motion from there (up to the span's
// end). In the Earth-fixed frame the plane turns about the pole by gamma
// (the Earth's rotation less the node's drift) and the satellite turns in
// it by phi. The observer's angle beta from the plane is a sinusoid of
// gamma: where |beta| exceeds the cone C the satellite cannot be inside it,
// and the next stretch where it does not is solved for. Inside such a
// stretch the satellite's phase x from the observer's foot on the plane
// has to come round to within C of it (psi is at least |x|): while |beta|
// stays below B the foot moves no faster than the Earth's turn over cos B,
// which bounds how soon. Near the foot, psi itself changes no faster than
// the two rates together.
double RicercaPassaggi::previsione(const astro::VistaSatellite& v, double t) const
{
    const astro::ImpostazioneSGP4& s4 = *m_sgp4;
    const double epoca = m_altezza.registri().epoch;
    const double* o = m_direzioneOss;
    const double* N = v.normale;
    const double P[3] = {v.r[0] / v.distanzaCentro, v.r[1] / v.distanzaCentro, v.r[2] / v.distanzaCentro};
    const double Q[3] = {N[1] * P[2] - N[2] * P[1], N[2] * P[0] - N[0] * P[2], N[0] * P[1] - N[1] * P[0]};
    // X . Rz(gamma) o = cos(gamma) xc + sin(gamma) xs + xz.
    auto componenti = [&](const double* X, double& xc, double& xs, double& xz) {
        xc = X[0] * o[0] + X[1] * o[1];
        xs = X[1] * o[0] - X[0] * o[1];
        xz = X[2] * o[2];
    };
    double pc, ps, pz, qc, qs, qz, nc, ns, nz;
    componenti(P, pc, ps, pz);
    componenti(Q, qc, qs, qz);
    componenti(N, nc, ns, nz);
    // sin beta = R cos(y) + nz, y = gamma - gamma0.
    const double R = std::hypot(nc, ns), gamma0 = std::atan2(ns, nc);
    const double C = m_conoPrevisto, B = std::min(C + 0.4, 1.35);
    const double veloceFase = m_velocitaArgomento + m_velocitaTerra / std::cos(B);
    const double veloce = m_velocitaArgomento + m_velocitaTerra;
    // Should the foot be able to outrun the satellite, the phase may also
    // fall back to C.
    const double indietro = m_velocitaTerra / std::cos(B) - m_velocitaArgominima;
    constexpr double k2Pi = 2 * M_PI;
    // The stretches of y (0 to 2 pi) where |sin beta| <= sin A: [a1, a2]
    // and [2 pi - a2, 2 pi - a1]; false when there are none.
    auto tratti = [&](double A, double& a1, double& a2) {
        a1 = 0;
        a2 = M_PI;
        const double S = std::sin(A);
        if (R < 1e-12)
            return std::fabs(nz) <= S;
        const double hi = (S - nz) / R, lo = (-S - nz) / R;
        if (hi < -1.0 || lo > 1.0)
            return false;
        a1 = std::acos(std::min(1.0, hi));
        a2 = std::acos(std::max(-1.0, lo));
        return true;
    };
    double c1, c2, b1 = -1, b2 = 0;
    if (!tratti(C, c1, c2))
        return m_fine - t;  // the plane never comes near the observer
    const double ts0 = (t - epoca) * 1440.0;
    const double u0 = astro::sgp::Argomento_Secolare(s4, ts0), nodo0 = astro::sgp::Nodo_Secolare(s4, ts0);
    double dt = 0;
    for (int k = 0; k < 24; ++k) {
        if (t + dt >= m_fine)
            return m_fine - t;
        const double ts = ts0 + dt * 1440.0;
        const double gamma = 6.300388099 * dt - (astro::sgp::Nodo_Secolare(s4, ts) - nodo0);
        double y = std::fmod(gamma - gamma0, k2Pi);
        if (y < 0)
            y += k2Pi;
        // Outside the stretches: on to the next one at the fastest turn.
        double avanti = 0;
        if (y < c1)
            avanti = c1 - y;
        else if (y > c2 && y < k2Pi - c2)
            avanti = k2Pi - c2 - y;
        else if (y > k2Pi - c1)
            avanti = k2Pi + c1 - y;
        if (avanti > 1e-9) {
            dt += avanti / m_velocitaTerra;
            continue;
        }
        // (At the point itself the model is the point.)
        double cg = 1, sg = 0, cf = 1, sf = 0;
        if (dt > 0) {
            cg = std::cos(gamma);
            sg = std::sin(gamma);
            const double phi = astro::sgp::Argomento_Secolare(s4, ts) - u0;
            cf = std::cos(phi);
            sf = std::sin(phi);
        }
        const double p = cg * pc + sg * ps + pz, q = cg * qc + sg * qs + qz;
        const double cosPsi = p * cf + q * sf;
        if (cosPsi >= m_cosPrevisto)
            return dt;
        const double psi = std::acos(std::max(-1.0, cosPsi));
        if (psi <= C + 1e-3)
            return dt;
        double passo = (psi - C) / veloce;
        // The phase from the foot: the satellite's angle in the plane less
        // the foot's, 0 to 2 pi in the direction of motion.
        double x = std::atan2(sf * p - cf * q, cf * p + sf * q);
        if (x < 0)
            x += k2Pi;
        if (x > C && x < k2Pi - C) {
            // How long |beta| surely stays below B.
            if (b1 < 0)
                tratti(B, b1, b2);
            double resta = HUGE_VAL;
            if (!(b1 == 0 && b2 == M_PI)) {
                if (b1 == 0)
                    resta = y <= b2 ? b2 - y : k2Pi + b2 - y;
                else if (b2 == M_PI)
                    resta = k2Pi - b1 - y;
                else
                    resta = y <= b2 ? b2 - y : k2Pi - b1 - y;
            }
            double avanza = (k2Pi - C - x) / veloceFase;
            if (indietro > 0)
                avanza = std::min(avanza, (x - C) / indietro);
            passo = std::max(passo, std::min(avanza, std::max(0.0, resta) / m_velocitaTerra));
        }
        dt += passo;
    }
    return dt;
}

// How far (days) the scan may step from c without the satellite reaching
// the widened cone; 0 when it may be near it already.
double RicercaPassaggi::passoLontano(const Campione& c) const
{
    if (!m_conoValido || !(c.g > 0) || c.e >= m_altezzaMinima)
        return 0;
    // The plane turns with the Earth under the observer, and slowly in
    // space (the node's drift and the perturbations' wobble).
    constexpr double kVelocitaPiano = 1.1 * kRotazione + 5e-6;
    const double secondi = std::max({c.g / m_velocitaMax, c.gPiano / kVelocitaPiano, passoFase(c, kVelocitaPiano)});
    return std::max(secondi / 86400.0, c.previsto);
}

// The time the satellite needs to come round its orbit to the observer.
// It moves forward in its plane only, at no more than m_velocitaFase; the
// observer (with the plane's drift) at no more than `piano`. At phase x
// from the observer's foot on the plane the satellite lies at psi with cos
// psi = cos beta cos x, so within tau it can be inside the cone widened by
// the observer's motion, c(tau) = widest cone + piano tau, only at a phase
// within D(tau) = acos(cos c(tau) / cos beta) of the foot. The step must
// keep the phases it sweeps, [fase, fase + rate tau], outside that zone,
// and the zone, growing, from reaching the satellite where it stands.
double RicercaPassaggi::passoFase(const Campione& c, double piano) const
{
    constexpr double kMargine = 0.002;  // rad: the plane's own small wobble
    if (!(c.psi >= 0) || !(m_velocitaFase > 0))
        return 0;
    const double cono0 = m_conoMassimo + kMargine;
    // The zone reaching the satellite where it stands.
    double tau = (c.psi - cono0) / piano;
    if (!(tau > 0))
        return 0;
    const double cosBeta = c.cosBeta;
    for (int k = 0; k < 2; ++k) {
        // Within tau the zone is at most D(tau) wide.
        const double cono = cono0 + piano * tau;
        const double zona = cono >= M_PI ? M_PI : std::acos(std::clamp(std::cos(cono) / cosBeta, -1.0, 1.0));
        if (!(c.fase > zona && c.fase < 2 * M_PI - zona))
            return 0;
        tau = std::min(tau, (2 * M_PI - zona - c.fase) / m_velocitaFase);
    }
    return std::max(0.0, tau);
}

// Whether the satellite may come inside the widened cone between two points
// of the scan: it has to close on the cone from a and leave it again by b,
// at no more than the fastest rate, so the two angles to the cone cannot
// add up to more than that rate allows in the time between.
bool RicercaPassaggi::puoEntrare(const Campione& a, const Campione& b) const
{
    if (!m_conoValido || !(a.g > 0) || !(b.g > 0))
        return true;
    return a.g + b.g <= (b.t - a.t) * 86400.0 * m_velocitaMax;
}

// The crossing of the minimum height inside [a, b].
bool RicercaPassaggi::radice(double a, double b, double& t)
{
    const astro::FunzionePassaggio fn = [this](double x) { return f(x); };
    double froot = 0;
    if (astro::Trova_Zero_Passaggio(fn, a, b, t, froot, kTolleranzaLimite) == astro::EsitoSolutore::Ok)
        return true;
    if (!m_nonCalcolabile && erroreSolutore)
        erroreSolutore();
    return false;
}

// The crossing of the minimum height between two points of the scan, from
// their elevations and rates; Brent's method on what is left of the bracket
// should the rates lead nowhere.
bool RicercaPassaggi::radice(const Campione& a, const Campione& b, double& t)
{
    const astro::EsitoSolutore esito =
        astro::Trova_Zero_Hermite(conPendenza(), punto(a), punto(b), kTolleranzaLimite, t);
    if (esito == astro::EsitoSolutore::Ok)
        return true;
    if (m_nonCalcolabile)
        return false;
    return radice(a.t, b.t, t);
}

astro::PuntoPassaggio RicercaPassaggi::punto(const Campione& c) const
{
    return {c.t, m_altezzaMinima - c.e, -c.d * 86400.0};
}

astro::FunzioneConPendenza RicercaPassaggi::conPendenza()
{
    return [this](double x, astro::PuntoPassaggio& p) {
        astro::VistaSatellite v;
        if (!vista(x, v))
            return false;
        p.t = x;
        p.f = m_altezzaMinima - v.altezza;
        p.df = -v.variazione * 86400.0;
        return true;
    };
}

bool RicercaPassaggi::evento(double jd, EventoPassaggio& e)
{
    ++m_completi;
    astro::UsciteSatellite u;
    if (!astro::Calcola_Satellite(m_sat, m_oss, m_opz, jd, e.v, u, &m_altezza.modello())) {
        m_nonCalcolabile = true;
        return false;
    }
    e.jd = jd;
    e.altezzaSole = u.altezzaSole;
    try {
        // A plain calendar date-time (time spec UTC, as the program clock's),
        // held in the object itself: a date-time with a zone object would
        // take memory and count references on the one zone all the workers
        // share, for every event.
        const mAstro::DataOra d = mAstro::Data_Da_Giuliano(jd, m_fuso, m_oraLegale);
        e.locale = QDateTime(QDate(d.Anno, d.Mese, d.Giorno), QTime(d.Ora, d.Minuto, d.Secondo), Qt::UTC);
    } catch (...) {
        return false;
    }
    return e.locale.isValid();
}

// The crossing of the minimum height next to the culmination tc, backwards
// (verso -1) or forwards (+1), widening from a minute and doubling. A
// satellite that stays above the minimum height through the whole widening
// has its crossing beyond the span: it is clamped to `estremo`, the span's
// end on that side.
bool RicercaPassaggi::limite(double tc, double verso, double estremo, double& t)
{
    const astro::FunzionePassaggio fn = [this](double x) { return f(x); };
    double t2 = tc + verso * kUnMinuto;
    const astro::EsitoSolutore allarga = astro::Espandi_Intervallo(fn, tc, t2);
    if (allarga == astro::EsitoSolutore::NessunCambioSegno) {
        t = estremo;
        return true;
    }
    if (allarga != astro::EsitoSolutore::Ok)
        return false;
    return radice(tc, t2, t);
}

// One pass from its three times: the stop request, the satellite at the
// three events, the progress, the report.
EsitoRicerca RicercaPassaggi::completa(double dblTI, double dblTF, double tRise, double tc, double tSet)
{
    if (continua && !continua())
        return EsitoRicerca::Arrestata;
    Passaggio p;
    const double max = dblTF - dblTI;
    tRise = std::max(tRise, dblTI);
    tSet = std::min(tSet, dblTF);
    // The rise and the set stand on the minimum height to within the
    // solver's tolerance, on either side of it. Each takes the limit's
    // elevation and the state the satellite has just inside the pass, so
    // that whether a pass seen at its rise or set is listed does not hang
    // on the sign of the solver's residual.
    auto sulLimite = [this](EventoPassaggio& e) {
        if (e.v.Altezza > m_altezzaMinima)
            return;
        e.v.Altezza = m_altezzaMinima;
        if (e.v.Stato != StatoEclisse)
            e.v.Stato = astro::Stato_Illuminazione(true, e.altezzaSole, m_opz.sogliaSole,
                                                   std::nextafter(m_altezzaMinima, HUGE_VAL));
    };
    if (!evento(tRise, p.sorgere))
        return EsitoRicerca::Completa;
    sulLimite(p.sorgere);
    if (progresso)
        progresso(std::max(0.0, max - (dblTF - dblTI)));
    if (!evento(tc, p.culmine))
        return EsitoRicerca::Completa;
    if (progresso)
        progresso(std::clamp(max - (dblTF - tc), 0.0, max));
    p.mattino = p.culmine.locale.time() <= QTime(12, 0, 0);
    if (!evento(tSet, p.tramonto))
        return EsitoRicerca::Completa;
    sulLimite(p.tramonto);
    if (progresso)
        progresso(std::clamp(max - (dblTF - tSet), 0.0, max));
    p.durata = p.sorgere.locale.secsTo(p.tramonto.locale);
    if (passaggio)
        passaggio(p);
    return EsitoRicerca::Completa;
}

EsitoRicerca RicercaPassaggi::EVENTI(double dblTI, double dblTF, double dblTOPT)
{
    if (continua && !continua())
        return EsitoRicerca::Arrestata;
    // The caller's yield may have painted: see vector_state.h.
    astro::Azzera_Meta_Alte();
    auto prima = std::move(continua);
    double tRise = 0, tSet = 0;
    const bool ok = limite(dblTOPT, -1.0, dblTI, tRise) && limite(dblTOPT, 1.0, dblTF, tSet);
    EsitoRicerca esito = EsitoRicerca::Completa;
    if (ok)
        esito = completa(dblTI, dblTF, tRise, dblTOPT, tSet);
    continua = std::move(prima);
    return esito;
}

// One near step [a, b]: the maximum inside it (the elevation rising at a
// and sinking at b), a dip below the limit inside a stretch, and the
// crossings of the limit, in time order.
EsitoRicerca RicercaPassaggi::intervallo(const Campione& a, const Campione& b, Tratto& tr, double ti, double tf)
{
    const double lim = m_altezzaMinima;
    const astro::FunzionePassaggio fn = [this](double x) { return f(x); };
    Campione punti[3] = {a, b, b};
    int n = 2;
    if (a.d > 0 && b.d <= 0 && (a.e >= lim || b.e >= lim || puoEntrare(a, b))) {
        // A maximum, bracketed on both sides by the scan, where the
        // satellite may come inside the cone. Near-earth SGP4 gives the
        // velocity as the exact rate of its positions: there the
        // culmination is the root of the elevation's rate, found from the
        // elevations and rates of the points computed. The other models
        // leave slow terms out of the velocity, which would move a flat
        // maximum by seconds: there Brent's minimiser works on the
        // elevation itself.
        double tm = 0, fm = 0;
        astro::EsitoSolutore esito;
        if (m_altezza.modello().Modello() == astro::PropagatoreSGP4 && !m_altezza.modello().Deep()) {
            esito = astro::Trova_Minimo_Hermite(conPendenza(), punto(a), punto(b), kTolleranzaCulmine, tm, fm);
        } else {
            // A velocity that is not quite the rate of the positions can put
            // the change of sign a little beside the maximum: a result at an
            // end of the bracket widens it on that side, within the span.
            double da = a.t, db = b.t;
            for (int k = 0; k < 4; ++k) {
                esito = astro::Trova_Massimo_Passaggio(fn, da, db, tm, fm, kTolleranzaCulmine);
                if (esito != astro::EsitoSolutore::Ok || m_nonCalcolabile)
                    break;
                const double largo = db - da, bordo = 4 * kTolleranzaCulmine;
                if (tm - da < bordo && da > ti)
                    da = std::max(ti, da - largo);
                else if (db - tm < bordo && db < tf)
                    db = std::min(tf, db + largo);
                else
                    break;
            }
        }
        if (m_nonCalcolabile)
            return EsitoRicerca::NonCalcolabile;
        if (esito == astro::EsitoSolutore::Ok) {
            Campione m{tm, lim - fm, 0, 0};
            // An end of the step may still be the higher.
            if (a.e > m.e)
                m = a;
            if (b.e > m.e)
                m = b;
            punti[1] = m;
            punti[2] = b;
            n = 3;
        } else if (erroreSolutore) {
            erroreSolutore();
        }
    } else if (a.d < 0 && b.d >= 0 && a.e >= lim && b.e >= lim) {
        // A minimum inside a stretch: it splits the stretch only when it
        // dips below the limit.
        const astro::FunzionePassaggio meno = [this](double x) { return -f(x); };
        double tm = 0, fm = 0;
        const auto esito = astro::Trova_Massimo_Passaggio(meno, a.t, b.t, tm, fm, kTolleranzaCulmine);
        if (m_nonCalcolabile)
            return EsitoRicerca::NonCalcolabile;
        if (esito == astro::EsitoSolutore::Ok && lim + fm < lim) {
            punti[1] = Campione{tm, lim + fm, 0, 0};
            punti[2] = b;
            n = 3;
        }
    }
    for (int i = 1; i < n; ++i) {
        const Campione& p = punti[i - 1];
        const Campione& q = punti[i];
        if (p.e < lim && q.e >= lim) {
            double t = q.t;
            if (!radice(p, q, t))
                t = q.t;  // the solver gave up: the first point above stands for the rise
            if (m_nonCalcolabile)
                return EsitoRicerca::NonCalcolabile;
            tr = Tratto{};
            tr.aperto = true;
            tr.sorgere = t;
        } else if (p.e >= lim && q.e < lim && tr.aperto) {
            double t = p.t;
            if (!radice(p, q, t))
                t = p.t;
            if (m_nonCalcolabile)
                return EsitoRicerca::NonCalcolabile;
            tr.candidato(p.t, p.e);  // stands only when no maximum was refined
            tr.aperto = false;
            const EsitoRicerca e = completa(ti, tf, tr.sorgere, tr.culmine, t);
            if (e != EsitoRicerca::Completa)
                return e;
        }
        // The highest point of the stretch: a refined maximum, or a point of
        // the scan when the rate did not show one.
        if (tr.aperto && q.e >= lim)
            tr.candidato(q.t, q.e);
    }
    return EsitoRicerca::Completa;
}

EsitoRicerca RicercaPassaggi::PREDICI(double dblTI, double dblTF, double dblDT, double dblDTSML)
{
    // Whatever ran before (the window's painting, the thread that started
    // this one) must not slow the search down: see vector_state.h.
    astro::Azzera_Meta_Alte();
    m_nonCalcolabile = false;
    if (!(dblDT > 0) || !(dblDTSML > 0) || !(dblTF > dblTI) || !std::isfinite(dblDT) || !std::isfinite(dblTI)
        || !std::isfinite(dblTF))
        return EsitoRicerca::Completa;
    // An orbit whose perigee lies inside the Earth (a mean motion no
    // satellite can have) has no passes to find.
    {
        const double moto = m_sat.MotoMedio * 2.0 * M_PI / 86400.0;
        const double a = moto > 0 ? std::cbrt(kGM / (moto * moto)) : 0;
        if (!(a * (1.0 - m_sat.Eccentricita) > kRaggioTerra))
            return EsitoRicerca::NonCalcolabile;
    }
    const double passoVicino = std::max(dblDT, dblDTSML);
    preparaLimiti(dblTI, dblTF);

    auto ultimoControllo = std::chrono::steady_clock::now();
    int daControllare = 0;
    const double lim = m_altezzaMinima;

    Campione a;
    if (!campiona(dblTI, a))
        return EsitoRicerca::NonCalcolabile;
    Tratto tr;
    if (a.e >= lim) {
        // Above the limit at the start: the rise is the start, and so is the
        // culmination when the satellite is sinking.
        tr.aperto = true;
        tr.sorgere = dblTI;
        if (a.d <= 0)
            tr.candidato(dblTI, a.e);
    }
    while (a.t < dblTF) {
        if (++daControllare >= 16) {
            daControllare = 0;
            const auto adesso = std::chrono::steady_clock::now();
            if (adesso - ultimoControllo >= kIntervalloControllo) {
                ultimoControllo = adesso;
                if (progresso)
                    progresso(a.t - dblTI);
                if (controllo && !controllo())
                    return EsitoRicerca::Arrestata;
            }
        }
        // Near the observer the step sweeps at most a thirtieth of a turn at
        // the satellite's present angular rate (short at the perigee of an
        // eccentric orbit), and never more than dblDT.
        double vicinoQui = passoVicino;
        if (a.w > 0)
            vicinoQui = std::clamp(2.0 * M_PI / kPartiGiro / a.w / 86400.0, dblDTSML, passoVicino);
        const double lontano = passoLontano(a);
        const bool vicino = lontano <= vicinoQui;
        double tb = a.t + (vicino ? vicinoQui : lontano);
        // Never a step the dates cannot hold.
        tb = std::max(tb, std::nextafter(a.t, HUGE_VAL));
        tb = std::min(tb, dblTF);
        Campione b;
        if (!campiona(tb, b))
            return EsitoRicerca::NonCalcolabile;
        if (vicino || b.e >= lim) {
            const EsitoRicerca e = intervallo(a, b, tr, dblTI, dblTF);
            if (e != EsitoRicerca::Completa)
                return e;
        }
        a = b;
    }
    if (tr.aperto) {
        // Still above the limit at the end: the set is the end, and so is
        // the culmination when the satellite is still rising.
        if (a.d > 0 || !tr.conCulmine)
            tr.candidato(dblTF, a.e);
        return completa(dblTI, dblTF, tr.sorgere, tr.culmine, dblTF);
    }
    return EsitoRicerca::Completa;
}

// ------------------------------------------------------------ many satellites

RicercaMultipla::RicercaMultipla(std::vector<Voce> voci, const astro::Osservatore& oss,
                                 const astro::OpzioniSatellite& opz, double altezzaMinima, double fusoOrario,
                                 int oraLegale, double ti, double tf, bool soloSopraOrizzonte, int fili,
                                 std::vector<std::string> magnitudini, TabellaFrequenze frequenze)
    : m_voci(std::move(voci)), m_oss(oss), m_opz(opz), m_altezzaMinima(altezzaMinima), m_fuso(fusoOrario),
      m_oraLegale(oraLegale), m_ti(ti), m_tf(tf), m_soloSopra(soloSopraOrizzonte),
      m_magnitudini(std::move(magnitudini)), m_frequenze(std::move(frequenze)), m_risultati(m_voci.size()),
      m_pronti(new std::atomic<bool>[m_voci.size()])
{
    for (size_t i = 0; i < m_voci.size(); ++i)
        m_pronti[i].store(false, std::memory_order_relaxed);
    if (fili <= 0)
        fili = int(std::max(1u, std::thread::hardware_concurrency()));
    fili = std::max(1, std::min(fili, int(m_voci.size())));
    m_numeroFili = fili;
    for (int i = 0; i < fili && !m_voci.empty(); ++i)
        m_fili.emplace_back([this] { lavora(); });
}

RicercaMultipla::~RicercaMultipla()
{
    Arresta();
    for (std::thread& t : m_fili)
        t.join();
}

void RicercaMultipla::Arresta()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_arresto = true;
    }
    m_pronto.notify_all();
}

RisultatiSatellite RicercaMultipla::cerca(const Voce& voce)
{
    astro::Azzera_Meta_Alte();
    RisultatiSatellite r;
    r.indice = voce.indice;
    Satelement analizzato;
    if (voce.righe) {
        const RigaDati& l = *voce.righe;
        if (Analizza_Elementi(l.Riga0, l.Riga1, l.Riga2, m_magnitudini, m_frequenze, analizzato)
            != ErroreElementi::Nessuno) {
            r.saltato = true;
            return r;
        }
    }
    const Satelement& s = voce.righe ? analizzato : voce.s;
    r.nome = s.Nome;
    if (Satellite_Escluso(s.MotoMedio, s.Eccentricita)) {
        r.saltato = true;
        return r;
    }
    if (m_soloSopra) {
        astro::AltezzaSatellite luce(s, m_oss, m_opz);
        astro::VistaSatellite vista;
        if (!luce.Calcola(m_ti, vista) || vista.altezza < 0) {
            r.saltato = true;
            return r;
        }
    }
    RicercaPassaggi ricerca(s, m_oss, m_opz, m_altezzaMinima, m_fuso, m_oraLegale);
    ricerca.continua = [this] { return !m_arresto.load(std::memory_order_relaxed); };
    ricerca.controllo = ricerca.continua;
    ricerca.erroreSolutore = [&r] { r.erroreSolutore = true; };
    ricerca.passaggio = [&r](const Passaggio& p) { r.passaggi.push_back(p); };
    // About one pass a revolution at most: room for them at once.
    r.passaggi.reserve(size_t(std::clamp(s.MotoMedio * (m_tf - m_ti) + 2.0, 2.0, 32.0)));
    r.esito = ricerca.PREDICI(m_ti, m_tf, Passo_Scansione(s.MotoMedio), kPassoPiccolo);
    return r;
}

// Each worker takes a run of satellites at a time (shorter as the list
// runs out, so the workers end together), puts each result in its own slot
// without a lock, and wakes the caller only with the very result it is
// waiting for: at the end of the run or after a few milliseconds (at once
// when its satellites take a millisecond or more), rather than for every
// satellite, so a caller taking the results of one worker is not woken for
// each of them.
void RicercaMultipla::lavora()
{
    using Orologio = std::chrono::steady_clock;
    constexpr auto kRitardoMassimo = std::chrono::milliseconds(5);
    const int totale = int(m_voci.size());
    bool dasvegliare = false;
    Orologio::time_point pronto{};
    auto sveglia = [&] {
        if (dasvegliare) {
            // Under the lock: the caller is then either before its last look
            // or asleep, never in between.
            std::lock_guard<std::mutex> lock(m_mutex);
            m_pronto.notify_all();
        }
        dasvegliare = false;
    };
    for (;;) {
        int i = m_prossimo.load(std::memory_order_relaxed);
        int fine = 0;
        do {
            if (i >= totale || m_arresto.load(std::memory_order_relaxed)) {
                sveglia();
                return;
            }
            fine = i + std::clamp((totale - i) / (8 * m_numeroFili), 1, kBloccoMassimo);
        } while (!m_prossimo.compare_exchange_weak(i, fine, std::memory_order_relaxed));
        for (; i < fine; ++i) {
            if (m_arresto.load(std::memory_order_relaxed)) {
                sveglia();
                return;
            }
            const Orologio::time_point inizio = Orologio::now();
            RisultatiSatellite r = cerca(m_voci[size_t(i)]);
            const Orologio::time_point adesso = Orologio::now();
            if (r.esito == EsitoRicerca::Arrestata) {
                sveglia();
                return;
            }
            // The slot is this worker's alone until it is marked ready; the
            // caller marks what it waits for before it looks (both in one
            // order of all the threads), so one of the two sees the other.
            m_risultati[size_t(i)] = std::move(r);
            m_pronti[size_t(i)].store(true);
            if (!dasvegliare && m_atteso.load() == i) {
                dasvegliare = true;
                pronto = adesso;
            }
            // The next satellite would keep the caller waiting too long.
            if (dasvegliare
                && (i + 1 == fine || adesso - pronto >= kRitardoMassimo || adesso - inizio >= kRitardoMassimo / 5))
                sveglia();
        }
    }
}

bool RicercaMultipla::Prossimo(RisultatiSatellite& out, std::chrono::milliseconds attesa)
{
    if (Finita())
        return false;
    const size_t k = size_t(m_consegnati);
    if (!m_pronti[k].load(std::memory_order_acquire)) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_atteso.store(int(k));
        const bool pronto = m_pronto.wait_for(lock, attesa, [&] { return m_pronti[k].load() || m_arresto.load(); });
        m_atteso.store(-1);
        if (!pronto || !m_pronti[k].load())
            return false;
    }
    RisultatiSatellite r = std::move(*m_risultati[k]);
    m_risultati[k].reset();
    ++m_consegnati;
    // What the caller held before goes here, with no lock held.
    out = std::move(r);
    return true;
}

} // namespace core
