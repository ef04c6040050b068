#include "astro/mate.h"

#include <cmath>
#include <limits>

namespace mMate {

namespace {

double Sgn(double x) { return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0); }

// Rounds a non-negative value to a whole number, a half up (the "00" picture).
double ArrotondaPositivo(double x) { return std::floor(x + 0.5); }

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// How far beyond +-1 an argument of the arc functions may stray through
// rounding and still be taken as +-1.
constexpr double kTolleranzaUno = 1e-12;

} // namespace

double Modulus(double x, double y)
{
    if (y == 0 || !std::isfinite(y) || !std::isfinite(x))
        return kNaN;
    double r = x - std::trunc(x / y) * y;
    if (r < 0)
        r += y;
    return r;
}

double Atan2_360(double a, double b)
{
    if (std::fabs(a) < 1e-8)
        return (1 - Sgn(b)) * kMezzoPi;
    const double t = (2 - Sgn(a)) * kMezzoPi;
    if (std::fabs(b) < 1e-8)
        return t;
    return (std::fabs(std::atan(a / b)) - kMezzoPi) * Sgn(a) * Sgn(b) + t;
}

double FMod2p(double x)
{
    double r = x - std::trunc(x / kGiro) * kGiro;
    if (r < 0)
        r += kGiro;
    if (r == kGiro)
        r = 0;
    return r;
}

double ArcoSeno(double x)
{
    if (std::isnan(x) || std::fabs(x) > 1 + kTolleranzaUno)
        return kNaN;
    if (x >= 1)
        return kMezzoPi;
    if (x <= -1)
        return -kMezzoPi;
    return std::atan(x / std::sqrt(1 - x * x));
}

double ArcoCoseno(double x)
{
    if (std::isnan(x) || std::fabs(x) > 1 + kTolleranzaUno)
        return kNaN;
    if (x >= 1)
        return 0;
    if (x <= -1)
        return 2 * kMezzoPi;
    return std::atan(-x / std::sqrt(1 - x * x)) + 2 * std::atan(1.0);
}

double Gradi_Decimali(double gradi, double minuti, double secondi)
{
    return gradi + (minuti + secondi / 60) / 60;
}

void Decimali_GMS(double x, double& gradi, double& minuti, double& secondi)
{
    // The magnitude is split; the sign goes back on every part at the end.
    const double segno = x < 0 ? -1.0 : 1.0;
    const double v = std::fabs(x);
    double g = std::floor(v);
    double m = std::floor((v - g) * 60);
    double s = ArrotondaPositivo(((v - g) * 60 - m) * 60);
    if (s >= 60) {
        s = 0;
        m += 1;
    }
    if (m >= 60) {
        m = 0;
        g += 1;
    }
    gradi = segno * g;
    minuti = segno * m;
    secondi = segno * s;
}

void Decimali_GM(double x, double& gradi, double& minuti)
{
    const double segno = x < 0 ? -1.0 : 1.0;
    const double v = std::fabs(x);
    double g = std::floor(v);
    double m = ArrotondaPositivo((v - g) * 60);
    if (m >= 60) {
        m = 0;
        g += 1;
    }
    gradi = segno * g;
    minuti = segno * m;
}

double Altezza_Geodetica(double r, double phi)
{
    const double a = 6378.135;
    const double fMezzi = 0.0016763897270837525;
    const double fQuadro = 1.1241130068287752e-5;
    return r + a * (fMezzi * (1 - std::cos(2 * phi))
                    + fQuadro * (a / (4 * r) - 1.0 / 16) * (1 - std::cos(4 * phi)) - 1);
}

bool Interseca_Orizzonte(double x1, double y1, double& x2, double& y2)
{
    // Points of the segment: P(t) = P1 + t (P2 - P1), 0 <= t <= 1. The crossings
    // with the circle solve a t^2 + b t + c = 0.
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    const double a = dx * dx + dy * dy;
    if (!(a > 0))
        return false;
    const double b = 2 * (x1 * dx + y1 * dy);
    const double c = x1 * x1 + y1 * y1 - 8100;
    const double d = b * b - 4 * a * c;
    if (!(d >= 0))
        return false; // the line misses the circle
    const double rd = std::sqrt(d);
    const double tVicino = (-b - rd) / (2 * a);
    const double tLontano = (-b + rd) / (2 * a);
    double t;
    if (tVicino > 0 && tVicino < 1)
        t = tVicino;
    else if (tLontano > 0 && tLontano < 1)
        t = tLontano;
    else
        return false;
    x2 = x1 + t * dx;
    y2 = y1 + t * dy;
    return true;
}

bool Interseca_Orizzonte(float x1, float y1, float& x2, float& y2)
{
    double xx = x2;
    double yy = y2;
    if (!Interseca_Orizzonte(double(x1), double(y1), xx, yy))
        return false;
    x2 = static_cast<float>(xx);
    y2 = static_cast<float>(yy);
    return true;
}

} // namespace mMate

namespace mAstro {

using mMate::kGradiRadianti;
using mMate::kRadiantiGradi;

void Equatoriali_Orizzontali(double ra, double dec, double latitudine, double lst,
                             double& azimuth, double& altezza)
{
    const double phi = latitudine * kGradiRadianti;
    const double delta = dec * kGradiRadianti;
    double h = lst - ra;
    if (h < 0)
        h += 24;
    h = h * 15 * kGradiRadianti;
    const double s = std::sin(delta) * std::sin(phi) + std::cos(delta) * std::cos(phi) * std::cos(h);
    const double el = mMate::ArcoSeno(s);
    const double az = mMate::Atan2_360(-std::cos(delta) * std::cos(phi) * std::sin(h),
                                       std::sin(delta) - std::sin(phi) * s);
    altezza = el * kRadiantiGradi;
    azimuth = az * kRadiantiGradi;
}

void Eclittiche_Equatoriali(double beta, double lambda, double eps,
                            double& ascensioneRetta, double& declinazione)
{
    const double s = std::sin(beta) * std::cos(eps) + std::cos(beta) * std::sin(eps) * std::sin(lambda);
    double delta = mMate::ArcoSeno(s);
    if (std::isnan(delta))
        delta = 0;
    const double alfa = mMate::Atan2_360(std::sin(lambda) * std::cos(eps) - std::tan(beta) * std::sin(eps),
                                         std::cos(lambda));
    ascensioneRetta = alfa * kRadiantiGradi / 15;
    declinazione = delta * kRadiantiGradi;
}

CoordinateEquatoriali Orizzontali_Equatoriali(double az, double h, double latitudine, double lst)
{
    CoordinateEquatoriali out;
    const double phi = latitudine * kGradiRadianti;
    const double s = std::sin(h) * std::sin(phi) + std::cos(h) * std::cos(phi) * std::cos(az);
    double delta = mMate::ArcoSeno(s);
    if (std::isnan(delta))
        delta = 0;
    const double deltaGradi = delta * kRadiantiGradi;

    // Hour angle: the arc cosine of c, formed through the full-circle arc
    // tangent. At a pole of either system the divisor vanishes; the hour angle
    // is then taken as 0.
    double hGradi = 0;
    const double divisore = std::cos(phi) * std::cos(delta);
    if (divisore != 0 && std::isfinite(divisore)) {
        double c = (std::sin(h) - std::sin(phi) * s) / divisore;
        if (c > 1)
            c = 1;
        if (c < -1)
            c = -1;
        if (std::isfinite(c))
            hGradi = (mMate::kPi / 2 - mMate::Atan2_360(c, std::sqrt(1 - c * c))) * kRadiantiGradi;
    }
    if (std::sin(az) > 0)
        hGradi = 360 - hGradi;
    const double ra = mMate::Modulus(lst - hGradi / 15, 24);

    out.ascensioneRetta = ra;
    out.declinazione = deltaGradi;
    out.segno = deltaGradi < 0 ? "-" : "+";
    const double absDec = std::fabs(deltaGradi);
    out.gradiDec = std::fabs(std::trunc(deltaGradi));
    out.minutiDec = std::floor((absDec - std::floor(absDec)) * 60);
    out.oreAR = std::floor(ra);
    out.minutiAR = std::floor((ra - out.oreAR) * 60);
    out.secondiAR = std::floor(((ra - out.oreAR) * 60 - out.minutiAR) * 60);
    return out;
}

} // namespace mAstro
