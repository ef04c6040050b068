#pragma once
// The 200 element sets every benchmark of a full working list uses (low
// orbits of many inclinations and heights, some eccentric twelve-hour orbits
// and some geostationary ones), and a whole catalogue of distinct sets.
#include "astro/records.h"

#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace bench {

inline RigaDati Insieme_Prova(int n)
{
    const QString num = QString::number(10000 + n);
    double moto = 14.0 + (n % 30) * 0.05;
    double ecc = 0.0001 * (n % 20);
    if (n % 25 == 0) {
        moto = 2.00561;
        ecc = 0.7;
    } else if (n % 40 == 0) {
        moto = 1.00273;
        ecc = 0.0002;
    }
    const QString l1 =
        QStringLiteral("1 %1U 20001A   26340.50000000  .00000100  00000-0  10000-4 0  9990").arg(num);
    const QString l2 = QStringLiteral("2 %1 %2 %3 %4 %5 %6 %7    10")
                           .arg(num)
                           .arg((n * 7) % 180 + 0.1234, 8, 'f', 4)
                           .arg((n * 37) % 360 + 0.5, 8, 'f', 4)
                           .arg(QString::number(qRound(ecc * 1e7)).rightJustified(7, '0'))
                           .arg((n * 53) % 360 + 0.25, 8, 'f', 4)
                           .arg((n * 91) % 360 + 0.75, 8, 'f', 4)
                           .arg(moto, 11, 'f', 8);
    return {QStringLiteral("SAT %1").arg(n).toStdString(), l1.toStdString(), l2.toStdString()};
}

// ------------------------------------------------------------ a whole catalogue

// A catalogue of distinct element sets with the mix of orbits of the public
// catalogue (about 28,000 objects in orbit; about one in eight of them, the
// "deep-space" sets with periods of 225 minutes and more, computed by
// SDP4): low orbits of every inclination, sun-synchronous ones, low
// eccentric debris, decaying objects, Molniya and transfer orbits, the
// navigation constellations and the geostationary belt. Set n (from 1) is a
// function of n alone through a mixing hash, so the catalogue is the same in
// every run and never repeats; the epochs lie in the days before 2026 day
// 340.5 as in a catalogue fetched that day.
namespace catalogo {

// One uniform number in [0, 1) from set n and a draw number k.
inline double Uniforme(int n, int k)
{
    std::uint64_t z = std::uint64_t(n) * 0x9E3779B97F4A7C15ull + std::uint64_t(k) * 0xD1B54A32D192ED03ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return double(z >> 11) * 0x1.0p-53;
}

// Mean motion (revolutions a day) of a circular orbit at height km.
inline double Moto_Altezza(double km)
{
    const double a = 6378.135 + km;
    return std::sqrt(398600.8 / (a * a * a)) * 86400.0 / (2.0 * M_PI);
}

// A mantissa-exponent field of line 1 (" 12345-4"): x written to five digits.
inline std::string Campo_Esponente(double x)
{
    char buf[48];
    if (x == 0)
        return " 00000-0";
    const char segno = x < 0 ? '-' : ' ';
    x = std::fabs(x);
    int esponente = int(std::floor(std::log10(x))) + 1;
    long mantissa = std::lround(x / std::pow(10.0, esponente) * 1e5);
    if (mantissa >= 100000) {
        mantissa /= 10;
        ++esponente;
    }
    std::snprintf(buf, sizeof buf, "%c%05ld%c%d", segno, mantissa, esponente < 0 ? '-' : '+', std::abs(esponente));
    return buf;
}

enum Famiglia { Bassa, Eliosincrona, Eccentrica, InDecadimento, Molniya, Trasferimento, Navigazione, Geostazionaria,
                AltaEccentrica };

// The family of set n, in the catalogue's shares.
inline Famiglia Famiglia_Di(int n)
{
    const double u = Uniforme(n, 0);
    if (u < 0.47) return Bassa;           // low orbits, 300-1500 km, every inclination
    if (u < 0.71) return Eliosincrona;    // 97-99 degrees, 450-900 km
    if (u < 0.84) return Eccentrica;      // low debris, eccentricity 0.005-0.08
    if (u < 0.875) return InDecadimento;  // 150-300 km, heavy drag
    if (u < 0.885) return Molniya;
    if (u < 0.92) return Trasferimento;   // transfer orbits and their stages
    if (u < 0.94) return Navigazione;     // GPS, GLONASS, Galileo, BeiDou
    if (u < 0.995) return Geostazionaria; // the belt and its graveyard
    return AltaEccentrica;                // high eccentric orbits of one to four days
}

} // namespace catalogo

// Set n (1 to 99,999) of the catalogue.
inline RigaDati Catalogo_Prova(int n)
{
    using namespace catalogo;
    auto u = [n](int k) { return Uniforme(n, k); };
    double incl = 0, ecc = 0, moto = 15, ndot = 0, bstar = 0;
    switch (Famiglia_Di(n)) {
    case Bassa: {
        static constexpr double inclinazioni[] = {51.64, 53.05, 53.2, 43.0, 70.0, 74.0, 82.5, 86.4, 65.0, 28.5, 35.0};
        incl = inclinazioni[int(u(1) * 11)] + (u(2) - 0.5) * 2.0;
        moto = Moto_Altezza(300 + 1200 * u(3) * u(3) + 250 * u(4));
        ecc = 0.00005 + 0.004 * u(5) * u(5);
        ndot = 2e-6 * u(6) * (16.0 - std::min(moto, 16.0));
        bstar = 1e-5 + 4e-4 * u(7) * u(7);
        break;
    }
    case Eliosincrona: {
        const double h = 450 + 450 * u(3);
        moto = Moto_Altezza(h);
        incl = 96.5 + (h - 450) / 450 * 2.5 + (u(1) - 0.5) * 0.4;
        ecc = 0.0001 + 0.003 * u(5) * u(5);
        ndot = 1e-6 * u(6);
        bstar = 1e-5 + 2e-4 * u(7);
        break;
    }
    case Eccentrica: {
        incl = 20 + 90 * u(1);
        const double perigeo = 250 + 700 * u(3);
        ecc = 0.005 + 0.075 * u(5) * u(5);
        const double a = (6378.135 + perigeo) / (1 - ecc);
        moto = std::sqrt(398600.8 / (a * a * a)) * 86400.0 / (2.0 * M_PI);
        ndot = 5e-6 * u(6);
        bstar = 5e-5 + 5e-4 * u(7);
        break;
    }
    case InDecadimento:
        incl = 30 + 70 * u(1);
        moto = Moto_Altezza(160 + 140 * u(3));
        ecc = 0.0002 + 0.002 * u(5);
        ndot = 2e-5 + 8e-4 * u(6) * u(6);
        bstar = 2e-4 + 2e-3 * u(7);
        break;
    case Molniya:
        incl = 62.8 + 1.4 * u(1);
        moto = 2.0055 + 0.0010 * (u(3) - 0.5);
        ecc = 0.68 + 0.06 * u(5);
        ndot = 1e-7 * (u(6) - 0.5);
        bstar = 1e-4 * u(7);
        break;
    case Trasferimento: {
        static constexpr double inclinazioni[] = {6.0, 7.0, 18.0, 20.0, 27.0, 28.5, 51.0};
        incl = inclinazioni[int(u(1) * 7)] + (u(2) - 0.5);
        const double perigeo = 180 + 900 * u(3) * u(3);
        const double apogeo = 20000 + 17000 * u(4);
        const double a = 6378.135 + (perigeo + apogeo) / 2;
        ecc = (apogeo - perigeo) / (2 * a);
        moto = std::sqrt(398600.8 / (a * a * a)) * 86400.0 / (2.0 * M_PI);
        ndot = 2e-5 * u(6);
        bstar = 1e-4 + 1e-3 * u(7);
        break;
    }
    case Navigazione: {
        const int k = int(u(1) * 4);
        static constexpr double moti[] = {2.0056, 2.1315, 1.7047, 1.8621};
        static constexpr double inclinazioni[] = {55.0, 64.8, 56.0, 55.5};
        moto = moti[k] + 0.002 * (u(3) - 0.5);
        incl = inclinazioni[k] + 2.0 * (u(2) - 0.5);
        ecc = 0.0002 + 0.015 * u(5) * u(5);
        ndot = 1e-7 * (u(6) - 0.5);
        break;
    }
    case Geostazionaria:
        moto = u(3) < 0.75 ? 1.0027 + 0.0004 * (u(4) - 0.5) : 0.98 + 0.04 * u(4);
        incl = u(1) < 0.6 ? 0.1 * u(2) : 15.0 * u(2);
        ecc = 0.0001 + 0.002 * u(5);
        ndot = 2e-7 * (u(6) - 0.5);
        break;
    case AltaEccentrica:
        incl = 10 + 80 * u(1);
        moto = 0.25 + 0.9 * u(3);
        ecc = 0.7 + 0.2 * u(5);
        {
            const double w = moto * 2.0 * M_PI / 86400.0, a = std::cbrt(398600.8 / (w * w));
            ecc = std::min(ecc, 1.0 - 7000.0 / a);  // perigee at least 600 km up
        }
        ndot = 1e-7 * (u(6) - 0.5);
        bstar = 1e-4 * u(7);
        break;
    }
    const double nodo = 360 * u(10), argp = 360 * u(11), anomalia = 360 * u(12);
    const double epoca = 26340.5 - 3.0 * u(13) * u(13);
    char l1[96], l2[96], nome[40];
    std::snprintf(l1, sizeof l1, "1 %05dU %02d%03d%-3s %014.8f %c.%08ld %s %s 0  999%d", 20000 + n,
                  int(u(14) * 99), 1 + int(u(15) * 200), "A", epoca, ndot < 0 ? '-' : ' ',
                  std::min(99999999L, std::lround(std::fabs(ndot) * 1e8)), Campo_Esponente(0).c_str(),
                  Campo_Esponente(bstar).c_str(), n % 10);
    std::snprintf(l2, sizeof l2, "2 %05d %8.4f %8.4f %07ld %8.4f %8.4f %11.8f%5d0", 20000 + n, std::min(incl, 179.9),
                  nodo, std::min(9999999L, std::lround(ecc * 1e7)), argp, anomalia, moto, 1 + (n * 37) % 99999);
    std::snprintf(nome, sizeof nome, "OBJECT %d", n);
    return {nome, l1, l2};
}

} // namespace bench
