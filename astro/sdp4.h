// Deep-space propagation: the SDP4 model of Spacetrack Report No. 3 with its
// deep-space routine (lunar-solar secular and periodic terms, the one-day and
// half-day geopotential resonances) for orbits of 225 minutes or more, with
// the lunar-solar periodics and the Greenwich angle of the 2006 revision of
// the report ("Revisiting Spacetrack Report #3").
//
// Pure like the near-earth models: the set-up is computed from the registers
// into an object the caller owns, and each propagation starts the resonance
// integration afresh at the epoch, so results never depend on earlier calls.
#pragma once

#include "astro/sgp4.h"

namespace astro {

// Greenwich angle (radians, 0 to below 2 pi) at the Julian date jd, the
// IAU 1982 mean sidereal time the 2006 revision of the report uses in place
// of the report's THETAG; ds50 receives the days from 1950 January 0.0 UT.
double ThetaG(double jd, double& ds50);

// Everything the deep-space routine computes once per element set.
struct DatiDeep {
    // Secular rates of the lunar-solar terms.
    double sse = 0, ssi = 0, ssl = 0, ssg = 0, ssh = 0;
    // Coefficients of the solar and lunar periodics.
    double se2 = 0, si2 = 0, sl2 = 0, sgh2 = 0, sh2 = 0, se3 = 0, si3 = 0, sl3 = 0, sgh3 = 0, sh3 = 0,
           sl4 = 0, sgh4 = 0;
    double ee2 = 0, e3 = 0, xi2 = 0, xi3 = 0, xl2 = 0, xl3 = 0, xl4 = 0, xgh2 = 0, xgh3 = 0, xgh4 = 0,
           xh2 = 0, xh3 = 0;
    double zmos = 0, zmol = 0;
    // Resonance.
    bool iresfl = false;  // resonance flag
    bool isynfl = false;  // synchronous (one-day) resonance
    double d2201 = 0, d2211 = 0, d3210 = 0, d3222 = 0, d4410 = 0, d4422 = 0, d5220 = 0, d5232 = 0,
           d5421 = 0, d5433 = 0;
    double del1 = 0, del2 = 0, del3 = 0;
    double xlamo = 0, xfact = 0, xnq = 0, omegaq = 0, omgdt = 0, thgr = 0;
    // Epoch values the periodics use.
    double siniq = 0, cosiq = 0, xqncl = 0;
};

struct ImpostazioneSDP4 {
    RegistriElementi reg;
    bool valida = false;
    double ao = 0, aodp = 0, xnodp = 0;
    double cosio = 0, sinio = 0, x3thm1 = 0, x1mth2 = 0, x7thm1 = 0;
    double c1 = 0, c4 = 0;
    double xmdot = 0, omgdot = 0, xnodot = 0, xnodcf = 0, t2cof = 0, xlcof = 0, aycof = 0;
    DatiDeep deep;
};

// Where the resonance integration last stood (the report keeps it between
// calls). Continuing from it gives bit for bit what a restart at the epoch
// gives, since the steps always fall on the same 720-minute grid; it only
// saves the steps already taken. Owned by the caller, one per element set.
struct StatoIntegratore {
    bool valido = false;
    double atime = 0, xli = 0, xni = 0;
    double so = 0, co = 1;  // sine and cosine of the half-day terms' argument of perigee at atime
};

ImpostazioneSDP4 Imposta_SDP4(const RegistriElementi& r);
EsitoPropagazione Calcola_SDP4(const ImpostazioneSDP4& s, double tsince, StatoOrbitale& out,
                               StatoIntegratore* integratore = nullptr);
EsitoPropagazione Propaga_SDP4(const RegistriElementi& r, double tsince, StatoOrbitale& out);

// The mean elements after the lunar-solar secular terms and the resonance
// integration (the report's DPSEC), and after the lunar-solar periodics
// (DPPER) in the form of the 2006 revision: perturbed inclination in the
// periodics and in the choice of their low-inclination (Lyddane) form, an
// inclination driven below zero turned only after the periodics, by the
// propagation. Exposed so the steering values can be checked on their own.
struct ElementiMedi {
    double xll = 0, omgadf = 0, xnode = 0, em = 0, xinc = 0, xn = 0;
};
void Deep_Secolari(const ImpostazioneSDP4& s, double t, ElementiMedi& m, StatoIntegratore* integratore = nullptr);
void Deep_Periodiche(const ImpostazioneSDP4& s, double t, ElementiMedi& m);

}  // namespace astro
