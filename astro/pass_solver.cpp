#include "astro/pass_solver.h"

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
