// Near-earth propagation: the SGP and SGP4 models of Spacetrack Report No. 3
// with the WGS-72 constants the program has always used.
//
// Every function here is pure: the element registers come in, the state
// vector comes out, nothing is kept between calls. A model that cannot give a
// meaningful state (mean motion not positive, eccentricity outside [0, 1),
// an orbit that has decayed past what the model can follow, a non-finite
// number anywhere) says so through its result and leaves the output alone.
#pragma once

#include <array>

namespace astro {

// The element registers in model units, as the satellite computation unpacks
// them from an element set: angles in radians, mean motion in radians per
// minute and its derivatives per minute^2 and minute^3, B* per Earth radius,
// epoch as Julian date.
struct RegistriElementi {
    double xincl = 0;   // inclination
    double xnodeo = 0;  // right ascension of the ascending node
    double omegao = 0;  // argument of perigee
    double xmo = 0;     // mean anomaly
    double eo = 0;      // eccentricity
    double xno = 0;     // mean motion, rad/min
    double xndt2o = 0;  // first derivative / 2, rad/min^2
    double xndd6o = 0;  // second derivative / 6, rad/min^3
    double bstar = 0;   // drag term, 1/Earth radii
    double epoch = 0;   // Julian date
};

// What a model gives: inertial position (km) and velocity (km/s) in the
// frame of the element set, and the derived semi-major axis (Earth radii)
// and mean motion (rad/min) of the model.
struct StatoOrbitale {
    std::array<double, 3> posizione{};
    std::array<double, 3> velocita{};
    double ao = 0;
    double xnodp = 0;
};

enum class EsitoPropagazione {
    Ok,
    ElementiNonValidi,      // mean motion <= 0, eccentricity outside [0, 1), non-finite register
    OrbitaNonSeguibile,     // during propagation the orbit left the model's range (decay)
    KeplerNonConvergente,   // Kepler's equation did not converge
    RisultatoNonFinito,     // a non-finite number reached the output
};

// True when the registers can be given to a model at all.
bool Registri_Validi(const RegistriElementi& r);

// The report's SGP model. tsince in minutes from the epoch.
EsitoPropagazione Propaga_SGP(const RegistriElementi& r, double tsince, StatoOrbitale& out);

// The report's SGP4 model: its set-up from the registers, then the state at
// any time. Propaga_SGP4 does both in one call; a caller that propagates one
// element set many times may keep the set-up (the results are identical).
struct ImpostazioneSGP4 {
    RegistriElementi reg;
    bool valida = false;
    bool isimp = false;  // simple drag (perigee under 220 km)
    double s4 = 0, qoms24 = 0;  // atmosphere parameters (Earth radii), lowered for perigees under 156 km
    double ao = 0, aodp = 0, xnodp = 0;
    double cosio = 0, sinio = 0, x3thm1 = 0, x1mth2 = 0, x7thm1 = 0;
    double c1 = 0, c4 = 0, c5 = 0, d2 = 0, d3 = 0, d4 = 0;
    double eta = 0, delmo = 0, sinmo = 0;
    double xmdot = 0, omgdot = 0, xnodot = 0, omgcof = 0, xmcof = 0, xnodcf = 0;
    double t2cof = 0, t3cof = 0, t4cof = 0, t5cof = 0, xlcof = 0, aycof = 0;
};
ImpostazioneSGP4 Imposta_SGP4(const RegistriElementi& r);
EsitoPropagazione Calcola_SGP4(const ImpostazioneSGP4& s, double tsince, StatoOrbitale& out);
EsitoPropagazione Propaga_SGP4(const RegistriElementi& r, double tsince, StatoOrbitale& out);

namespace sgp {
// The report's constants, as written.
inline constexpr double xke = 0.0743669161;
inline constexpr double ck2 = 0.000541308;
inline constexpr double ck4_125 = 7.762359375e-07;  // 1.25 * ck4
inline constexpr double xj3 = -2.53881e-6;
inline constexpr double qoms2t = 1.88027916e-9;
inline constexpr double s = 1.01222928;
inline constexpr double xkmper = 6378.135;
inline constexpr double ae = 1.0;
inline constexpr double e6a = 1e-6;
inline constexpr double tothrd = 0.6666666666666666;
inline constexpr double xmnpda = 1440.0;
inline constexpr double secday = 86400.0;
inline constexpr double twopi = 6.2831853;
inline constexpr double pi = 3.14159265;

// x (radians) reduced to [0, 2 pi) with pi to full precision. Angles that
// have turned thousands of times (the Greenwich angle since 1950, the mean
// anomaly of a month's propagation) would drift by the turns times 7e-9 rad
// if reduced by the seven-digit 2 pi: 2e-4 rad of the Greenwich angle by
// 2026, 200 m along a geostationary orbit after a month.
double Riduci_Giro(double x);

// The semi-major axis and the Kozai-corrected mean motion of the report's
// SGP4/SDP4 initialisation, shared by both models and by the deep-space test.
struct Derivazione {
    double cosio, theta2, x3thm1, eosq, betao2, betao, ao, aodp, xnodp;
};
Derivazione Deriva_Moto_Medio(double xno, double eo, double xincl);

// The set-up SGP4 and SDP4 share once the mean motion is derived: the
// atmosphere of low perigees, the drag coefficients C1 and C4, the secular
// rates and the long-period coefficients. cos2w is cos 2 omega as the
// calling model forms it.
struct ImpostazioneComune {
    double s4, qoms24;  // atmosphere parameters (Earth radii)
    double tsi, eta, etasq, eeta, coef, coef1;
    double sinio, a3ovk2, x1mth2, x7thm1;
    double c1, c4;
    double xmdot, omgdot, xnodot, xhdot1, xnodcf, t2cof, xlcof, aycof;
};
ImpostazioneComune Imposta_Comune(const RegistriElementi& r, const Derivazione& d, double cos2w);

// Output scaling of every model: Earth radii and radii per minute to km and km/s.
void Scala_Uscita(double rk, double uk, double xnodek, double xinck, double rdotk, double rfdotk,
                  StatoOrbitale& out);

// The secular terms of SGP4 at tsince (minutes), as Calcola_SGP4 forms
// them: the drag's factor of the semi-major axis (tempa) and its along-track
// term (templ); the secular argument of latitude (mean anomaly plus
// argument of perigee plus that term) and the secular node, radians.
double Ritardo_Asse(const ImpostazioneSGP4& s, double tsince);
double Ritardo_Lungo(const ImpostazioneSGP4& s, double tsince);
double Argomento_Secolare(const ImpostazioneSGP4& s, double tsince);
double Nodo_Secolare(const ImpostazioneSGP4& s, double tsince);

// How far the periodic terms can take SGP4's position from the secular
// one over tsince in [t0, t1] (minutes): angolo bounds the angle (radians)
// between the direction the model gives and the direction at the secular
// argument of latitude in the plane of the secular node and the epoch's
// inclination (equation of the centre, long- and short-period terms);
// raggioMassimo and raggioMinimo bound the distance, asseMinimo and
// asseMassimo the semi-major axis (Earth radii), eccentricita the
// eccentricity Kepler's equation is solved with. The angle is pi when the
// orbit is too eccentric for it to be of use; false when the orbit decays
// too far in the span for any bound (its axis below a quarter of the
// epoch's).
struct LimitiPeriodiche {
    double angolo = 0;
    double raggioMassimo = 0, raggioMinimo = 0;
    double asseMinimo = 0, asseMassimo = 0, eccentricita = 0;
};
bool Limiti_Periodiche(const ImpostazioneSGP4& s, double t0, double t1, LimitiPeriodiche& out);

// True when all six components are finite.
bool Stato_Finito(const StatoOrbitale& o);

// Long-period periodics, Kepler's equation, short periodics and output from
// the secular values (shared by SGP4 and SDP4). The functions of the
// inclination are those of the epoch, as in the report. out.ao and out.xnodp
// are carried over; out is written only on success.
EsitoPropagazione Completa_Periodiche(double cosio, double sinio, double x3thm1, double x1mth2, double x7thm1,
                                      double xlcof, double aycof, double a, double e, double xl, double omega,
                                      double xnode, double xinc, StatoOrbitale& out);
}  // namespace sgp

}  // namespace astro
