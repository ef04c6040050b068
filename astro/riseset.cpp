#include "astro/riseset.h"

#include "astro/mate.h"
#include "astro/vector_state.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace mAstro {

namespace {

constexpr double P2 = 6.2831853;            // one turn
constexpr double R1 = 0.0174532925;         // one degree
constexpr double K1 = 0.2625161680430363;   // sidereal angle of one hour of mean solar time

struct Posizione {
    double a = 0; // right ascension, radians
    double d = 0; // declination, radians
    double r = 0; // distance: AU for the Sun, Earth radii for the Moon
};

double Frazione(double x) { return x - std::floor(x); }

double Sgn(double x) { return x > 0 ? 1.0 : (x < 0 ? -1.0 : 0.0); }

Posizione Da_Serie(double l, double u, double v, double w, double fattoreDistanza)
{
    Posizione p;
    double s = w / std::sqrt(u - v * v);
    p.a = l + mMate::ArcoSeno(s);
    s = v / std::sqrt(u);
    p.d = mMate::ArcoSeno(s);
    p.r = fattoreDistanza * std::sqrt(u);
    return p;
}

Posizione Posizione_Sole(double t, double tt)
{
    const double l = Frazione(0.779072 + 0.00273790931 * t) * P2;
    const double g = Frazione(0.993126 + 0.0027377785 * t) * P2;
    const double v = 0.39785 * std::sin(l) - 0.01 * std::sin(l - g) + 0.00333 * std::sin(l + g)
                     - 0.00021 * tt * std::sin(l);
    const double u = 1 - 0.03349 * std::cos(g) - 0.00014 * std::cos(2 * l) + 0.00008 * std::cos(l);
    const double w = -0.0001 - 0.04129 * std::sin(2 * l) + 0.03211 * std::sin(g) + 0.00104 * std::sin(2 * l - g)
                     - 0.00035 * std::sin(2 * l + g) - 0.00008 * tt * std::sin(g);
    return Da_Serie(l, u, v, w, 1.00021);
}

Posizione Posizione_Luna(double t)
{
    const double l = Frazione(0.606434 + 0.03660110129 * t) * P2;
    const double m = Frazione(0.374897 + 0.03629164709 * t) * P2;
    const double f = Frazione(0.259091 + 0.0367481952 * t) * P2;
    const double d = Frazione(0.827362 + 0.03386319198 * t) * P2;
    const double n = Frazione(0.347343 - 0.00014709391 * t) * P2;
    const double g = Frazione(0.993126 + 0.0027377785 * t) * P2;
    using std::cos;
    using std::sin;
    const double v = 0.39558 * sin(f + n) + 0.082 * sin(f) + 0.03257 * sin(m - f - n) + 0.01092 * sin(m + f + n)
                     + 0.00666 * sin(m - f) - 0.00644 * sin(m + f - 2 * d + n) - 0.00331 * sin(f - 2 * d + n)
                     - 0.00304 * sin(f - 2 * d) - 0.0024 * sin(m - f - 2 * d - n) + 0.00226 * sin(m + f)
                     - 0.00108 * sin(m + f - 2 * d) - 0.00079 * sin(f - n) + 0.00078 * sin(f + 2 * d + n);
    const double u = 1 - 0.10828 * cos(m) - 0.0188 * cos(m - 2 * d) - 0.01479 * cos(2 * d)
                     + 0.00181 * cos(2 * m - 2 * d) - 0.00147 * cos(2 * m) - 0.00105 * cos(2 * d - g)
                     - 0.00075 * cos(m - 2 * d + g);
    const double w = 0.10478 * sin(m) - 0.04105 * sin(2 * f + 2 * n) - 0.0213 * sin(m - 2 * d)
                     - 0.01779 * sin(2 * f + n) + 0.01774 * sin(n) + 0.00987 * sin(2 * d)
                     - 0.00338 * sin(m - 2 * f - 2 * n) - 0.00309 * sin(g) - 0.0019 * sin(2 * f)
                     - 0.00144 * sin(m + n) - 0.00144 * sin(m - 2 * f - n) - 0.00113 * sin(m + 2 * f + 2 * n)
                     - 0.00094 * sin(m - 2 * d + g) - 0.00092 * sin(2 * m - 2 * d);
    return Da_Serie(l, u, v, w, 60.40974);
}

} // namespace

// Exactly one root lies in [0, 1]; of the two forms of the roots, q/a and
// c/q, the one that exists and lies nearest to the hour is taken.
double Radice_Nell_Ora(double a, double b, double c)
{
    const double disc = std::sqrt(std::fmax(b * b - 4 * a * c, 0.0));
    const double q = -0.5 * (b + (b < 0 ? -disc : disc));
    double candidati[2] = {-1, -1};
    int n = 0;
    if (a != 0)
        candidati[n++] = q / a;
    if (q != 0)
        candidati[n++] = c / q;
    double migliore = 0.5;
    double distanza = 1e300;
    for (int i = 0; i < n; ++i) {
        const double e = candidati[i];
        if (!std::isfinite(e))
            continue;
        const double fuori = e < 0 ? -e : (e > 1 ? e - 1 : 0);
        if (fuori < distanza) {
            distanza = fuori;
            migliore = e;
        }
    }
    return std::fmin(std::fmax(migliore, 0.0), 1.0);
}

namespace {

std::string Formatta_Ora(double ore)
{
    const double t3 = ore + 1.0 / 120; // to the nearest minute
    const int h3 = static_cast<int>(std::floor(t3));
    const int m3 = static_cast<int>(std::floor((t3 - h3) * 60));
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d", h3, m3);
    return buf;
}

std::string Formatta_Azimuth(double az)
{
    // One decimal, a half away from zero, at least three integer digits.
    // Written without the C library's number locale, whose decimal point
    // may be a comma.
    const double arrotondato = std::floor(az * 10 + 0.5) / 10;
    char buf[400];
    const auto fatto = std::to_chars(buf, buf + sizeof buf, arrotondato, std::chars_format::fixed, 1);
    std::string s(buf, fatto.ptr);
    const size_t segno = !s.empty() && s[0] == '-' ? 1 : 0;
    if (s.size() < 5)
        s.insert(segno, 5 - s.size(), '0');
    return s;
}

// Day number and fraction of the calendar date (the Julian date of its 0h UT
// is j + f with f = 0.5).
void Numero_Giorno(int anno, int mese, double giorno, double& j, double& f)
{
    const double g = anno < 1583 ? 0 : 1;
    const double d1 = std::floor(giorno);
    f = giorno - d1 - 0.5;
    j = -std::floor(7 * (std::floor((mese + 9) / 12.0) + anno) / 4);
    if (g == 1) {
        const double s = Sgn(mese - 9);
        const double a = std::fabs(mese - 9.0);
        double j3 = std::floor(anno + s * std::floor(a / 7));
        j3 = -std::floor((std::floor(j3 / 100) + 1) * 3 / 4);
        j = j + std::floor(275.0 * mese / 9) + d1 + g * j3;
    } else {
        j = j + std::floor(275.0 * mese / 9) + d1;
    }
    j = j + 1721027 + 2 * g + 367.0 * anno;
    if (f < 0) {
        f += 1;
        j -= 1;
    }
}

enum class Corpo { Sole, Luna };

SorgereTramonto Calcola(Corpo corpo, double latitudine, double longitudine, double zona, int anno, int mese,
                        int giorno)
{
    // The almanac asks after its window has painted: see astro/vector_state.h.
    astro::Azzera_Meta_Alte();
    SorgereTramonto out;

    double j = 0;
    double f = 0;
    Numero_Giorno(anno, mese, giorno, j, f);
    double t = j - 2451545 + f;
    const double tt = t / 36525 + 1;

    // Local sidereal angle at local midnight.
    double t0 = t / 36525;
    const double l5 = longitudine / 360;
    const double z0 = zona / 24;
    double s = 24110.5 + 8640184.813 * t0 + 86636.6 * z0 + 86400 * l5;
    s = Frazione(s / 86400);
    t0 = s * 360 * R1;

    t = t + z0; // universal time of the local midnight

    // Positions at the instants, right ascensions made increasing.
    Posizione pos[3];
    if (corpo == Corpo::Sole) {
        pos[0] = Posizione_Sole(t, tt);
        pos[1] = Posizione_Sole(t + 1, tt);
        if (pos[1].a < pos[0].a)
            pos[1].a += P2;
    } else {
        pos[0] = Posizione_Luna(t);
        pos[1] = Posizione_Luna(t + 0.5);
        pos[2] = Posizione_Luna(t + 1);
        if (pos[1].a <= pos[0].a)
            pos[1].a += P2;
        if (pos[2].a <= pos[1].a)
            pos[2].a += P2;
    }

    const double z1 = corpo == Corpo::Sole ? R1 * 90.833 : R1 * (90.567 - 41.685 / pos[1].r);
    const double z = std::cos(z1);
    const double sf = std::sin(latitudine * R1);
    const double cf = std::cos(latitudine * R1);

    double a0 = pos[0].a;
    double d0 = pos[0].d;
    double v0 = 0;
    double v2 = 0;

    for (int c0 = 0; c0 <= 23; ++c0) {
        const double p = (c0 + 1) / 24.0;
        double a2;
        double d2;
        if (corpo == Corpo::Sole) {
            a2 = pos[0].a + p * (pos[1].a - pos[0].a);
            d2 = pos[0].d + p * (pos[1].d - pos[0].d);
        } else {
            auto interpola = [p](double f0, double f1, double f2) {
                const double a = f1 - f0;
                const double b = f2 - f1 - a;
                return f0 + p * (2 * a + b * (2 * p - 1));
            };
            a2 = interpola(pos[0].a, pos[1].a, pos[2].a);
            d2 = interpola(pos[0].d, pos[1].d, pos[2].d);
        }

        // Test one hour.
        const double l0 = t0 + c0 * K1;
        const double l2 = l0 + K1;
        if (corpo == Corpo::Luna && a2 < a0)
            a2 += 2 * 3.14159265;
        const double h0 = l0 - a0;
        const double h2 = l2 - a2;
        const double h1 = (h2 + h0) / 2;
        const double d1 = (d2 + d0) / 2;
        if (c0 == 0)
            v0 = sf * std::sin(d0) + cf * std::cos(d0) * std::cos(h0) - z;
        v2 = sf * std::sin(d2) + cf * std::cos(d2) * std::cos(h2) - z;

        // A crossing that ends exactly on the limit is counted in this hour
        // and not again in the next, which then starts from 0.
        const bool sorge = v0 < 0 && v2 >= 0;
        const bool tramonta = v0 > 0 && v2 <= 0;
        if (sorge || tramonta) {
            const double v1 = sf * std::sin(d1) + cf * std::cos(d1) * std::cos(h1) - z;
            const double qa = 2 * v0 - 4 * v1 + 2 * v2;
            const double qb = 4 * v1 - 3 * v0 - v2;
            const double e = Radice_Nell_Ora(qa, qb, v0);

            const double ora = std::floor((c0 + e + 1.0 / 120) * 60) / 60; // nearest minute
            const std::string testoOra = Formatta_Ora(c0 + e);

            const double h7 = h0 + e * (h2 - h0);
            const double n7 = -std::cos(d1) * std::sin(h7);
            const double d7 = cf * std::sin(d1) - sf * std::cos(d1) * std::cos(h7);
            double az = d7 != 0 ? std::atan(n7 / d7) / R1 : 90 * Sgn(n7);
            if (d7 < 0)
                az += 180;
            if (az < 0)
                az += 360;
            if (az > 360)
                az -= 360;

            if (sorge) {
                out.sorge = true;
                out.oraSorgere = ora;
                out.testoOraSorgere = testoOra;
                out.azimuthSorgere = az;
                out.testoAzimuthSorgere = Formatta_Azimuth(az);
            } else {
                out.tramonta = true;
                out.oraTramonto = ora;
                out.testoOraTramonto = testoOra;
                out.azimuthTramonto = az;
                out.testoAzimuthTramonto = Formatta_Azimuth(az);
            }
        }

        a0 = a2;
        d0 = d2;
        v0 = v2;
    }

    if (!out.sorge && !out.tramonta) {
        if (v2 < 0)
            out.chiaveMessaggio = "sottoorizzonte";
        else if (v2 > 0)
            out.chiaveMessaggio = "sopraorizzonte";
    } else if (!out.sorge) {
        out.chiaveMessaggio = "nonsorge";
    } else if (!out.tramonta) {
        out.chiaveMessaggio = "nontramonta";
    }
    return out;
}

} // namespace

SorgereTramonto Calcola_Sorgere_Tramonto_Sole(double latitudine, double longitudine, double zona, int anno,
                                              int mese, int giorno)
{
    return Calcola(Corpo::Sole, latitudine, longitudine, zona, anno, mese, giorno);
}

SorgereTramonto Calcola_Sorgere_Tramonto_Luna(double latitudine, double longitudine, double zona, int anno,
                                              int mese, int giorno)
{
    return Calcola(Corpo::Luna, latitudine, longitudine, zona, anno, mese, giorno);
}

} // namespace mAstro
