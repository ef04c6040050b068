#include "astro/plan13.h"

#include <cmath>

namespace astro {

EsitoPropagazione Propaga_Plan13(const RegistriElementi& r, double tsince, StatoOrbitale& out)
{
    if (!Registri_Validi(r) || !std::isfinite(tsince))
        return EsitoPropagazione::ElementiNonValidi;
    const double t = tsince;
    const double e = r.eo;
    const double i = r.xincl;

    // Mean motion per second, semi-major and semi-minor axes.
    const double n = r.xno / 60.0;
    const double a = std::pow(398600.8 / (n * n), 1.0 / 3.0);
    const double b = a * std::sqrt(1.0 - e * e);
    const double si = std::sin(i), ci = std::cos(i);

    // Precession of node and perigee (rad/min).
    const double re = 6378.135;
    const double kp0 = re * a / (b * b);
    const double kp = 0.001623924 * kp0 * kp0 * r.xno;
    const double qd = -kp * ci;
    const double wd = kp * (5.0 * ci * ci - 1.0) / 2.0;

    // Drag.
    const double dc = -2.0 * r.xndt2o / r.xno / 3.0;
    const double dt = dc * t / 2.0;
    const double kd = 1.0 + 4.0 * dt;
    const double kdp = 1.0 - 7.0 * dt;

    // Mean anomaly reduced to one turn.
    double m = r.xno * t * (1.0 - 3.0 * dt) + r.xmo;
    const double dr = std::floor(m / 6.2831853);
    m = m - dr * 6.2831853;

    // Kepler's equation by Newton's method from E = M. Above an
    // eccentricity of about 0.98 that start can leave the steps cycling near
    // perigee; they then start again from Danby's E = M + 0.85 e toward
    // apocentre, from which Newton's method converges for every eccentricity
    // below 1. The step count is bounded so that a bad number can never hang
    // the caller.
    double ea = m, c = 0, s = 0, dnom = 0, d = 0;
    bool converge = false;
    for (int tentativo = 0; tentativo < 2 && !converge; ++tentativo) {
        ea = tentativo == 0 ? m : m + (std::sin(m) >= 0 ? 0.85 : -0.85) * e;
        for (int k = 0; k < 50; ++k) {
            c = std::cos(ea);
            s = std::sin(ea);
            dnom = 1.0 - e * c;
            d = (ea - e * s - m) / dnom;
            ea = ea - d;
            if (std::fabs(d) < 1e-5) {
                converge = true;
                break;
            }
        }
    }
    if (!converge)
        return EsitoPropagazione::KeplerNonConvergente;
    // The position and velocity are those of the settled E: the values of
    // the step before, within 1e-5 rad, put a highly eccentric satellite
    // kilometres off near perigee, a different distance at each instant.
    c = std::cos(ea);
    s = std::sin(ea);
    dnom = 1.0 - e * c;

    // In the orbit plane.
    const double aa = a * kd, bb = b * kd;
    const double sx = aa * (c - e), sy = bb * s;
    const double vx = -aa * s / dnom * n, vy = bb * c / dnom * n;

    // Orientation.
    const double ap = r.omegao + wd * t * kdp;
    const double raan = r.xnodeo + qd * t * kdp;
    const double cw = std::cos(ap), sw = std::sin(ap);
    const double cq = std::cos(raan), sq = std::sin(raan);
    const double cxx = cw * cq - ci * sw * sq, cxy = -sw * cq - ci * cw * sq;
    const double cyx = ci * sw * cq + cw * sq, cyy = ci * cw * cq - sw * sq;
    const double czx = si * sw, czy = si * cw;

    StatoOrbitale o;
    o.posizione = {sx * cxx + sy * cxy, sx * cyx + sy * cyy, sx * czx + sy * czy};
    o.velocita = {vx * cxx + vy * cxy, vx * cyx + vy * cyy, vx * czx + vy * czy};
    if (!sgp::Stato_Finito(o))
        return EsitoPropagazione::RisultatoNonFinito;
    o.ao = out.ao;
    o.xnodp = out.xnodp;
    out = o;
    return EsitoPropagazione::Ok;
}

}  // namespace astro
