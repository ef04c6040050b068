#include "astro/pass_solver.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace astro {

namespace {

double Sgn(double x)
{
    return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0);
}

constexpr double kOro = 0.38196601125;  // golden-section fraction

}  // namespace

EsitoSolutore Trova_Massimo_Passaggio(const FunzionePassaggio& f, double a, double b, double& tMin, double& fMin,
                                      double tolleranza)
{
    if (!std::isfinite(a) || !std::isfinite(b))
        return EsitoSolutore::ValutazioneFallita;
    if (a > b)
        std::swap(a, b);
    double x = a + kOro * (b - a);
    double w = x, v = x;
    double fx = f(x);
    if (!std::isfinite(fx))
        return EsitoSolutore::ValutazioneFallita;
    double fw = fx, fv = fx;
    double e = 0.0, d = 0.0;
    for (int iter = 1; iter <= kIterazioniSolutore; ++iter) {
        const double xm = 0.5 * (a + b);
        const double tol1 = tolleranza > 0 ? 0.5 * tolleranza : 1e-14 * std::fabs(x) + 2.23e-16;
        const double tol2 = 2.0 * tol1;
        if (std::fabs(x - xm) <= tol2 - 0.5 * (b - a)) {
            tMin = x;
            fMin = fx;
            return EsitoSolutore::Ok;
        }
        bool parabola = false;
        if (std::fabs(e) > tol1) {
            const double r = (x - w) * (fx - fv);
            double q = (x - v) * (fx - fw);
            double p = (x - v) * q - (x - w) * r;
            q = 2.0 * (q - r);
            if (q > 0.0)
                p = -p;
            q = std::fabs(q);
            const double etemp = e;
            e = d;
            if (std::fabs(p) < std::fabs(0.5 * q * etemp) && p > q * (a - x) && p < q * (b - x)) {
                d = p / q;
                const double u = x + d;
                if (u - a < tol2 || b - u < tol2)
                    d = Sgn(xm - x) * tol1;
                parabola = true;
            }
        }
        if (!parabola) {
            e = (x >= xm) ? a - x : b - x;
            d = kOro * e;
        }
        const double u = (std::fabs(d) >= tol1) ? x + d : x + Sgn(d) * tol1;
        const double fu = f(u);
        if (!std::isfinite(fu))
            return EsitoSolutore::ValutazioneFallita;
        if (fu <= fx) {
            if (u >= x)
                a = x;
            else
                b = x;
            v = w;
            w = x;
            x = u;
            fv = fw;
            fw = fx;
            fx = fu;
        } else {
            if (u < x)
                a = u;
            else
                b = u;
            if (fu <= fw || w == x) {
                v = w;
                w = u;
                fv = fw;
                fw = fu;
            } else if (fu <= fv || v == x || v == w) {
                v = u;
                fv = fu;
            }
        }
    }
    return EsitoSolutore::LimiteIterazioni;
}

EsitoSolutore Espandi_Intervallo(const FunzionePassaggio& f, double t1, double& t2)
{
    if (!std::isfinite(t1) || !std::isfinite(t2) || t1 == t2)
        return EsitoSolutore::NessunCambioSegno;
    const double f1 = f(t1);
    if (!std::isfinite(f1))
        return EsitoSolutore::ValutazioneFallita;
    if (f1 == 0.0)
        return EsitoSolutore::Ok;  // t1 is the crossing itself
    double t = t2;
    for (int k = 0; k < kMassimoAllargamenti; ++k) {
        t = t + (t - t1);
        if (std::fabs(t - t1) > kMassimoIntervalloGiorni)
            break;
        const double f2 = f(t);
        if (!std::isfinite(f2))
            return EsitoSolutore::ValutazioneFallita;
        if (f1 * f2 < 0.0 || f2 == 0.0) {
            t2 = t;
            return EsitoSolutore::Ok;
        }
    }
    return EsitoSolutore::NessunCambioSegno;
}

EsitoSolutore Trova_Zero_Passaggio(const FunzionePassaggio& f, double a, double b, double& tZero, double& fZero,
                                   double tolleranza)
{
    const double assoluta = tolleranza > 0 ? 0.5 * tolleranza : 5e-11;
    if (!std::isfinite(a) || !std::isfinite(b))
        return EsitoSolutore::ValutazioneFallita;
    double fa = f(a);
    double fb = f(b);
    if (!std::isfinite(fa) || !std::isfinite(fb))
        return EsitoSolutore::ValutazioneFallita;
    // Without a sign change there is nothing to bracket: the method would
    // wander and return a point that is no crossing.
    if (fa * fb > 0.0)
        return EsitoSolutore::NessunCambioSegno;
    double c = b, fc = fb;
    double d = b - a, e = d;
    for (int iter = 1; iter <= kIterazioniSolutore; ++iter) {
        if (fb * fc > 0.0) {
            c = a;
            fc = fa;
            d = b - a;
            e = d;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b;
            b = c;
            c = a;
            fa = fb;
            fb = fc;
            fc = fa;
        }
        const double tol1 = 4.46e-16 * std::fabs(b) + assoluta;
        const double xm = 0.5 * (c - b);
        if (std::fabs(xm) <= tol1 || fb == 0.0) {
            tZero = b;
            fZero = fb;
            return EsitoSolutore::Ok;
        }
        if (std::fabs(e) >= tol1 && std::fabs(fa) > std::fabs(fb)) {
            const double s = fb / fa;
            double p, q;
            if (a == c) {
                p = 2.0 * xm * s;
                q = 1.0 - s;
            } else {
                q = fa / fc;
                const double r = fb / fc;
                p = s * (2.0 * xm * q * (q - r) - (b - a) * (r - 1.0));
                q = (q - 1.0) * (r - 1.0) * (s - 1.0);
            }
            if (p > 0.0)
                q = -q;
            p = std::fabs(p);
            const double min1 = 3.0 * xm * q - std::fabs(tol1 * q);
            const double min2 = std::fabs(e * q);
            // Interpolate only when the step stays well inside the bracket
            // and shrinks fast enough; otherwise bisect.
            if (2.0 * p < (min1 < min2 ? min1 : min2)) {
                e = d;
                d = p / q;
            } else {
                d = xm;
                e = d;
            }
        } else {
            d = xm;
            e = d;
        }
        a = b;
        fa = fb;
        if (std::fabs(d) > tol1)
            b = b + d;
        else
            b = b + Sgn(xm) * tol1;
        fb = f(b);
        if (!std::isfinite(fb))
            return EsitoSolutore::ValutazioneFallita;
    }
    return EsitoSolutore::LimiteIterazioni;
}

namespace {

// The cubic through a and b with their rates, at s = (t - a.t) / (b.t - a.t).
struct Cubica {
    double fa, fb, ma, mb;  // values, and rates times the width
    Cubica(const PuntoPassaggio& a, const PuntoPassaggio& b)
        : fa(a.f), fb(b.f), ma(a.df * (b.t - a.t)), mb(b.df * (b.t - a.t))
    {
    }
    double valore(double s) const
    {
        const double s2 = s * s, s3 = s2 * s;
        return (2 * s3 - 3 * s2 + 1) * fa + (s3 - 2 * s2 + s) * ma + (-2 * s3 + 3 * s2) * fb + (s3 - s2) * mb;
    }
    double pendenza(double s) const
    {
        const double s2 = s * s;
        return (6 * s2 - 6 * s) * (fa - fb) + (3 * s2 - 4 * s + 1) * ma + (3 * s2 - 2 * s) * mb;
    }
    // A root in [0, 1] (f of opposite signs at the ends): Newton on the
    // cubic from the secant's root, the secant's root when Newton strays.
    double radice() const
    {
        const double secante = fa / (fa - fb);
        double s = secante;
        for (int k = 0; k < 6; ++k) {
            const double d = pendenza(s);
            if (!(d != 0))
                return secante;
            const double nuovo = s - valore(s) / d;
            if (!(nuovo >= 0 && nuovo <= 1))
                return secante;
            if (std::fabs(nuovo - s) < 1e-12) {
                s = nuovo;
                break;
            }
            s = nuovo;
        }
        return s;
    }
    // Where the rate changes sign from negative (at 0) to not negative (at
    // 1): the lowest point of the cubic in [0, 1].
    double minimo() const
    {
        // pendenza(s) = A s^2 + B s + C
        const double A = 6 * (fa - fb) + 3 * ma + 3 * mb;
        const double B = -6 * (fa - fb) - 4 * ma - 2 * mb;
        const double C = ma;
        const double secante = ma / (ma - mb);
        double s = secante;
        if (std::fabs(A) <= 1e-12 * (std::fabs(B) + std::fabs(C))) {
            if (B != 0)
                s = -C / B;
        } else {
            const double disc = B * B - 4 * A * C;
            if (disc >= 0) {
                const double q = -0.5 * (B + std::copysign(std::sqrt(disc), B));
                const double r1 = q / A, r2 = q != 0 ? C / q : r1;
                // The root where the rate goes up through zero.
                const double r = (2 * A * r1 + B > 0) ? r1 : r2;
                if (r >= 0 && r <= 1)
                    s = r;
                else if (r1 >= 0 && r1 <= 1)
                    s = r1;
                else if (r2 >= 0 && r2 <= 1)
                    s = r2;
            }
        }
        return std::isfinite(s) ? std::clamp(s, 0.0, 1.0) : 0.5;
    }
};

// The next point to evaluate inside [lo, hi] from the estimate x: moved by
// `spinta` away from the nearer end (never past the middle), so that when
// the estimate is good the point falls just beyond the answer and the
// bracket closes from the far side too.
double Prossimo_Punto(double lo, double hi, double x, double spinta)
{
    const double medio = 0.5 * (lo + hi);
    if (!(x >= lo && x <= hi))
        return medio;
    x = (x - lo < hi - x) ? std::min(x + spinta, medio) : std::max(x - spinta, medio);
    if (!(x > lo && x < hi))
        return medio;
    return x;
}

}  // namespace

EsitoSolutore Trova_Zero_Hermite(const FunzioneConPendenza& f, PuntoPassaggio a, PuntoPassaggio b,
                                 double tolleranza, double& tZero)
{
    if (!std::isfinite(a.t) || !std::isfinite(b.t) || !std::isfinite(a.f) || !std::isfinite(b.f))
        return EsitoSolutore::ValutazioneFallita;
    if (a.t > b.t)
        std::swap(a, b);
    if (a.f == 0.0) {
        tZero = a.t;
        return EsitoSolutore::Ok;
    }
    if (b.f == 0.0) {
        tZero = b.t;
        return EsitoSolutore::Ok;
    }
    if (a.f * b.f > 0.0)
        return EsitoSolutore::NessunCambioSegno;
    if (!std::isfinite(a.df) || !std::isfinite(b.df))
        a.df = b.df = (b.f - a.f) / (b.t - a.t);
    double prima = HUGE_VAL, primaAncora = HUGE_VAL;
    for (int iter = 1; iter <= kIterazioniSolutore; ++iter) {
        const double largo = b.t - a.t;
        const double stima = a.t + largo * Cubica(a, b).radice();
        if (largo <= tolleranza) {
            tZero = stima;
            return EsitoSolutore::Ok;
        }
        const double x = largo > 0.5 * primaAncora
            ? 0.5 * (a.t + b.t)
            : Prossimo_Punto(a.t, b.t, stima, iter > 2 ? 0.4 * tolleranza : 0.0);
        PuntoPassaggio p;
        if (!f(x, p) || !std::isfinite(p.f))
            return EsitoSolutore::ValutazioneFallita;
        p.t = x;
        if (!std::isfinite(p.df))
            p.df = (b.f - a.f) / largo;
        if (p.f == 0.0) {
            tZero = x;
            return EsitoSolutore::Ok;
        }
        ((p.f > 0) == (a.f > 0) ? a : b) = p;
        // The point just computed, with its rate, puts the crossing within
        // a quarter of the tolerance of itself: the step that remains is
        // the answer (its error goes with the square of that step).
        const double nuova = a.t + (b.t - a.t) * Cubica(a, b).radice();
        if (std::fabs(nuova - x) <= 0.25 * tolleranza) {
            tZero = nuova;
            return EsitoSolutore::Ok;
        }
        primaAncora = prima;
        prima = largo;
    }
    return EsitoSolutore::LimiteIterazioni;
}

EsitoSolutore Trova_Minimo_Hermite(const FunzioneConPendenza& f, PuntoPassaggio a, PuntoPassaggio b,
                                   double tolleranza, double& tMin, double& fMin)
{
    if (!std::isfinite(a.t) || !std::isfinite(b.t) || !(a.t < b.t) || !std::isfinite(a.f) || !std::isfinite(b.f)
        || !std::isfinite(a.df) || !std::isfinite(b.df))
        return EsitoSolutore::ValutazioneFallita;
    if (!(a.df < 0 && b.df >= 0))
        return EsitoSolutore::NessunCambioSegno;
    double prima = HUGE_VAL, primaAncora = HUGE_VAL;
    // The lowest point of the cubic through the ends of [a, b].
    auto fine = [&](const PuntoPassaggio& lo, const PuntoPassaggio& hi) {
        const Cubica c(lo, hi);
        const double s = c.minimo();
        tMin = lo.t + (hi.t - lo.t) * s;
        fMin = c.valore(s);
        if (lo.f <= fMin) {
            tMin = lo.t;
            fMin = lo.f;
        }
        if (hi.f < fMin) {
            tMin = hi.t;
            fMin = hi.f;
        }
    };
    for (int iter = 1; iter <= kIterazioniSolutore; ++iter) {
        const double largo = b.t - a.t;
        if (largo <= tolleranza) {
            fine(a, b);
            return EsitoSolutore::Ok;
        }
        const double stima = a.t + largo * Cubica(a, b).minimo();
        const double x = largo > 0.5 * primaAncora
            ? 0.5 * (a.t + b.t)
            : Prossimo_Punto(a.t, b.t, stima, iter > 2 ? 0.4 * tolleranza : 0.0);
        PuntoPassaggio p;
        if (!f(x, p) || !std::isfinite(p.f) || !std::isfinite(p.df))
            return EsitoSolutore::ValutazioneFallita;
        p.t = x;
        (p.df < 0 ? a : b) = p;
        // As for a crossing: the point just computed puts the lowest point
        // within a quarter of the tolerance of itself.
        const double nuova = a.t + (b.t - a.t) * Cubica(a, b).minimo();
        if (std::fabs(nuova - x) <= 0.25 * tolleranza) {
            fine(a, b);
            return EsitoSolutore::Ok;
        }
        primaAncora = prima;
        prima = largo;
    }
    return EsitoSolutore::LimiteIterazioni;
}

FunzionePassaggio Funzione_Passaggio(const Satelement& s, const Osservatore& oss, const OpzioniSatellite& opz,
                                     double altezzaMinima, ModelloSatellite& modello, Valori* ultimo,
                                     UsciteSatellite* uscite)
{
    return [&s, &oss, &opz, altezzaMinima, &modello, ultimo, uscite](double t) {
        Valori locale;
        Valori& v = ultimo ? *ultimo : locale;
        UsciteSatellite ul;
        UsciteSatellite& u = uscite ? *uscite : ul;
        if (!Calcola_Satellite(s, oss, opz, t, v, u, &modello))
            return std::numeric_limits<double>::quiet_NaN();
        return altezzaMinima - v.Altezza;
    };
}

}  // namespace astro
