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

namespace {

constexpr double kPiPreciso = 3.141592653589793;
constexpr double kGradoPreciso = kPiPreciso / 180.0;

// The three angles of the IAU 1976 precession from J2000 to jd (radians).
void Angoli_Precessione(double jd, double& zeta, double& z, double& theta)
{
    const double t = (jd - 2451545.0) / 36525.0;
    const double secondo = kGradoPreciso / 3600.0;
    zeta = (2306.2181 + (0.30188 + 0.017998 * t) * t) * t * secondo;
    z = (2306.2181 + (1.09468 + 0.018203 * t) * t) * t * secondo;
    theta = (2004.3109 - (0.42665 + 0.041833 * t) * t) * t * secondo;
}

// Hours reduced to 0 to below 24.
double Ore_24(double ore)
{
    ore = std::fmod(ore, 24.0);
    if (ore < 0)
        ore += 24.0;
    return ore >= 24.0 ? 0.0 : ore;
}

// ra (hours, not reduced) and dec (degrees) from the direction's components.
void Da_Componenti(double a, double b, double c, double& ra, double& dec)
{
    ra = std::atan2(a, b) / kGradoPreciso / 15.0;
    dec = std::atan2(c, std::sqrt(a * a + b * b)) / kGradoPreciso;
}

} // namespace

void Precessione_Da_J2000(double jd, double& ra, double& dec)
{
    double zeta, z, theta;
    Angoli_Precessione(jd, zeta, z, theta);
    const double a0 = ra * 15.0 * kGradoPreciso + zeta;
    const double d0 = dec * kGradoPreciso;
    const double a = std::cos(d0) * std::sin(a0);
    const double b = std::cos(theta) * std::cos(d0) * std::cos(a0) - std::sin(theta) * std::sin(d0);
    const double c = std::sin(theta) * std::cos(d0) * std::cos(a0) + std::cos(theta) * std::sin(d0);
    Da_Componenti(a, b, c, ra, dec);
    ra = Ore_24(ra + z / kGradoPreciso / 15.0);
}

void Precessione_A_J2000(double jd, double& ra, double& dec)
{
    double zeta, z, theta;
    Angoli_Precessione(jd, zeta, z, theta);
    const double a1 = ra * 15.0 * kGradoPreciso - z;
    const double d1 = dec * kGradoPreciso;
    const double a = std::cos(d1) * std::sin(a1);
    const double b = std::cos(theta) * std::cos(d1) * std::cos(a1) + std::sin(theta) * std::sin(d1);
    const double c = -std::sin(theta) * std::cos(d1) * std::cos(a1) + std::cos(theta) * std::sin(d1);
    Da_Componenti(a, b, c, ra, dec);
    ra = Ore_24(ra - zeta / kGradoPreciso / 15.0);
}

void Parallasse_Topocentrica(double latitudine, double quota, double lst, double& ra, double& dec,
                             double& distanza)
{
    // The observer on the reference ellipsoid of the satellite computation.
    constexpr double a = 6378.135;
    constexpr double f = 0.003352779454167505;
    const double phi = latitudine * kGradoPreciso;
    const double h = quota / 1000.0;
    const double cphi = std::cos(phi), sphi = std::sin(phi);
    const double S = 1.0 / std::sqrt(cphi * cphi + (1 - f) * (1 - f) * sphi * sphi);
    const double rhoCos = (a * S + h) * cphi;                   // km from the axis
    const double rhoSin = (a * (1 - f) * (1 - f) * S + h) * sphi;  // km from the equator's plane
    // The body in the frame of the observer's meridian: x toward the hour
    // angle 0, y toward the west (hour angle 6h), z toward the pole.
    const double hora = (lst - ra) * 15.0 * kGradoPreciso;
    const double d = dec * kGradoPreciso;
    const double x = distanza * std::cos(d) * std::cos(hora) - rhoCos;
    const double y = distanza * std::cos(d) * std::sin(hora);
    const double z = distanza * std::sin(d) - rhoSin;
    const double r = std::sqrt(x * x + y * y + z * z);
    if (!(r > 0) || !std::isfinite(r))
        return;
    ra = Ore_24(lst - std::atan2(y, x) / kGradoPreciso / 15.0);
    dec = std::atan2(z, std::sqrt(x * x + y * y)) / kGradoPreciso;
    distanza = r;
}

} // namespace mAstro
