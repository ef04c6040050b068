#include "astro/bodies.h"

#include "astro/mate.h"
#include "astro/vector_state.h"

#include <algorithm>
#include <cmath>

namespace mAstro {

namespace {

using mMate::kGiro;
using mMate::kGradiRadianti;
using mMate::kPi;
using mMate::kRadiantiGradi;
using mMate::Modulus;

constexpr double kAnnoTropico = 365.242191;

void Orizzontali(const Istante& ist, CorpoCeleste& c)
{
    Equatoriali_Orizzontali(c.AscensioneRetta, c.Declinazione, ist.Latitudine, ist.TempoSiderale,
                            c.Azimuth, c.Altezza);
}

bool Finito(double x) { return std::isfinite(x); }

bool ElementiValidi(const CorpoCeleste& c)
{
    return Finito(c.PeriodoOrbitale) && c.PeriodoOrbitale != 0 && Finito(c.LongitudineEpoca)
           && Finito(c.LongitudinePerielio) && Finito(c.Eccentricita) && c.Eccentricita >= 0
           && c.Eccentricita < 1;
}

// True anomaly (radians) for a mean anomaly (radians) by Kepler's equation.
// Newton's method from E = M + e sin M settles in a few steps for every
// planet, Mercury's e = 0.2 included. An edited planets.dat may hold any
// eccentricity below 1: there the start at E = +-pi converges whatever M.
double AnomaliaVera(double m, double e)
{
    m = std::remainder(m, 2 * kPi);
    double ecc = e < 0.8 ? m + e * std::sin(m) : std::copysign(kPi, m);
    for (int i = 0; i < 30; ++i) {
        const double passo = (ecc - e * std::sin(ecc) - m) / (1 - e * std::cos(ecc));
        ecc -= passo;
        if (std::fabs(passo) < 1e-12)
            break;
    }
    return 2 * std::atan2(std::sqrt(1 + e) * std::sin(ecc / 2), std::sqrt(1 - e) * std::cos(ecc / 2));
}

// Heliocentric longitude (degrees) and true anomaly (radians) of a body of
// the planet table, d days from J2000.
void Longitudine_Eliocentrica(const CorpoCeleste& c, double d, double& longitudine, double& anomaliaVera)
{
    const double n = Modulus(360 * d / (kAnnoTropico * c.PeriodoOrbitale), 360);
    const double m = (n + c.LongitudineEpoca - c.LongitudinePerielio) * kGradiRadianti;
    anomaliaVera = AnomaliaVera(m, c.Eccentricita);
    longitudine = Modulus(anomaliaVera * kRadiantiGradi + c.LongitudinePerielio, 360);
}

// The angle Sun - planet - Earth (degrees) from the planet's distances from
// the Sun (r) and the Earth (rho) and the Earth's from the Sun (R), in AU.
double Angolo_Fase(double r, double rho, double R)
{
    const double c = (r * r + rho * rho - R * R) / (2 * r * rho);
    return std::acos(std::clamp(c, -1.0, 1.0)) * kRadiantiGradi;
}

// The planet's own phase law: what its magnitude at phase angle i (degrees)
// adds to the magnitude at full phase, as the Explanatory Supplement to the
// Astronomical Almanac (1992) gives it for rows 1 to 7 (Mercury to
// Neptune). Real planets do not scatter light like the lit part of a disc:
// Mercury's crescent fades far faster than its lit fraction, Venus's far
// slower. Saturn adds its rings, seen at the angle b (radians) to their plane.
double Correzione_Fase(int riga, double i, double b)
{
    switch (riga) {
    case kMercurio: return i * (3.80e-2 + i * (-2.73e-4 + i * 2.0e-6));
    case kVenere: return i * (9.0e-4 + i * (2.39e-4 - i * 6.5e-7));
    case kMarte: return 1.6e-2 * i;
    case kGiove: return 5.0e-3 * i;
    case kSaturno: {
        const double s = std::fabs(std::sin(b));
        return 4.4e-2 * i - 2.60 * s + 1.25 * s * s;
    }
    case kUrano: return 2.8e-3 * i;
    default: return 0;
    }
}

// Saturn's rings: the angle (radians) between the Earth's direction and
// their plane, from the planet's geocentric ecliptic longitude (degrees) and
// latitude (radians) of J2000, the rings' pole at inclination 28.0752 and
// node 169.5085 degrees on that ecliptic. 0 for the other planets.
double Inclinazione_Anelli(int riga, double lambda, double beta)
{
    if (riga != kSaturno)
        return 0;
    const double i = 28.0752 * kGradiRadianti;
    const double nodo = 169.5085;
    return std::asin(std::clamp(std::sin(i) * std::cos(beta) * std::sin((lambda - nodo) * kGradiRadianti)
                                    - std::cos(i) * std::sin(beta),
                                -1.0, 1.0));
}

} // namespace

DatiSole Calcola_Sole(const Istante& ist, CorpoCeleste& sole)
{
    astro::Azzera_Meta_Alte();
    const double t = (ist.GiornoGiuliano0h - 2415020.0) / 36525.0;
    const double l = 279.6966778 + 36000.76892 * t + 0.0003025 * t * t;
    const double perigeo = 281.2208444 + 1.719175 * t + 0.000452778 * t * t;
    const double e = 0.01675104 - 4.18e-5 * t - 1.26e-7 * t * t;

    const double giorni = ist.GiornoGiuliano - ist.GiornoGiuliano0h;
    const double n = Modulus(360 * giorni / kAnnoTropico, 360);
    double m = n + l - perigeo;
    if (m < 0)
        m += 360;
    m *= kGradiRadianti;

    const double nu = AnomaliaVera(m, e) * kRadiantiGradi;
    const double lambda = Modulus(perigeo + nu, 360);
    const double cosNu = std::cos(nu * kGradiRadianti);

    DatiSole out;
    out.AnomaliaMedia = m;
    out.Longitudine = lambda * kGradiRadianti;
    sole.Distanza = 149598500 * (1 - e * e) / (1 + e * cosNu);
    sole.Diametro = 3600 * sole.DiametroUnitario * (1 + e * cosNu) / (1 - e * e);
    Eclittiche_Equatoriali(0, out.Longitudine, kObliquita, sole.AscensioneRetta, sole.Declinazione);
    Orizzontali(ist, sole);
    out.AscensioneRetta = sole.AscensioneRetta;
    out.Declinazione = sole.Declinazione;
    return out;
}

bool Calcola_Luna(const Istante& ist, const DatiSole& sole, CorpoCeleste& luna)
{
    astro::Azzera_Meta_Alte();
    // Elements that give no orbit (an eccentricity of 1 or more makes the
    // distance 0 or negative and the diameter infinite) are refused.
    const double e = luna.Eccentricita;
    if (!Finito(luna.LongitudineEpoca) || !Finito(luna.LongitudinePerielio) || !Finito(luna.LongitudineNodo)
        || !Finito(luna.Inclinazione) || !Finito(e) || e < 0 || e >= 1 || !Finito(ist.GiornoGiuliano)
        || !Finito(sole.Longitudine) || !Finito(sole.AnomaliaMedia))
        return false;
    const double d = ist.GiornoGiuliano - 2447891.5;
    const double l = Modulus(13.1763966 * d + luna.LongitudineEpoca, 360) * kGradiRadianti;
    const double mm = Modulus(l * kRadiantiGradi - 0.1114041 * d - luna.LongitudinePerielio, 360) * kGradiRadianti;
    const double nodo = Modulus(luna.LongitudineNodo - 0.0529539 * d, 360);

    const double lambdaSole = sole.Longitudine;
    const double mSole = sole.AnomaliaMedia;
    const double evezione = 1.2739 * std::sin(2 * (l - lambdaSole) - mm) * kGradiRadianti;
    const double equazioneAnnua = 0.1858 * std::sin(mSole) * kGradiRadianti;
    const double a3 = 0.37 * std::sin(mSole) * kGradiRadianti;

    const double mCorretta = mm + evezione - equazioneAnnua - a3;
    const double centro = 6.2886 * std::sin(mCorretta) * kGradiRadianti;

    const double rho = (1 - e * e) / (1 + e * std::cos(mCorretta + centro));
    const double distanza = 384401 * rho;
    const double diametro = (0.00904255084425 / rho) * kRadiantiGradi * 3600;

    // The annual equation lowers the longitude as it lowers the anomaly.
    const double a4 = 0.214 * std::sin(2 * mCorretta) * kGradiRadianti;
    const double lCorretta = l + evezione + centro - equazioneAnnua + a4;

    const double variazione = 0.6583 * std::sin(2 * (lCorretta - lambdaSole)) * kGradiRadianti;
    const double lVera = lCorretta + variazione;

    const double nodoCorretto = (nodo - 0.16 * std::sin(mSole)) * kGradiRadianti;
    const double i = luna.Inclinazione * kGradiRadianti;

    const double x = lVera - nodoCorretto;
    const double lambdaLuna = mMate::Atan2_360(std::sin(x) * std::cos(i), std::cos(x)) + nodoCorretto;
    const double betaLuna = mMate::ArcoSeno(std::sin(x) * std::sin(i));

    double ra = 0;
    double dec = 0;
    Eclittiche_Equatoriali(betaLuna, lambdaLuna, kObliquita, ra, dec);
    if (!Finito(ra) || !Finito(dec) || !Finito(distanza) || !Finito(diametro))
        return false;

    // Azimuth, elevation and distance as the observer sees them.
    double raTopo = ra, decTopo = dec, distanzaTopo = distanza;
    Parallasse_Topocentrica(ist.Latitudine, ist.Quota, ist.TempoSiderale, raTopo, decTopo, distanzaTopo);
    luna.AscensioneRetta = raTopo;
    luna.Declinazione = decTopo;
    Orizzontali(ist, luna);
    luna.AscensioneRetta = ra;
    luna.Declinazione = dec;
    luna.Distanza = distanzaTopo;
    luna.Diametro = diametro;
    luna.Fase = mMate::FMod2p(lVera - lambdaSole);
    luna.MagnitudineUnitaria = 0;
    return true;
}

bool Calcola_Pianeta(const Istante& ist, const CorpoCeleste& terra, int riga, CorpoCeleste& p)
{
    astro::Azzera_Meta_Alte();
    const bool interno = riga < kMarte;
    if (!ElementiValidi(terra) || !ElementiValidi(p) || !(p.SemiasseMaggiore > 0)
        || !Finito(p.Inclinazione) || !Finito(p.LongitudineNodo) || !Finito(p.DiametroUnitario)
        || !Finito(p.MagnitudineUnitaria) || !Finito(ist.GiornoGiuliano))
        return false;

    const double d = ist.GiornoGiuliano - 2451545.0;

    // The Earth and the planet in their orbits. The true anomaly comes from
    // Kepler's equation: the equation of the centre to first order alone,
    // 2e sin M, is 5/4 e^2 sin 2M short (3 degrees for Mercury, 0.6 for Mars,
    // 0.2 for Saturn in heliocentric longitude).
    double lt = 0, nut = 0;
    Longitudine_Eliocentrica(terra, d, lt, nut);
    const double et = terra.Eccentricita;
    const double rt = (1 - et * et) / (1 + et * std::cos(nut));

    double lp = 0, nup = 0;
    Longitudine_Eliocentrica(p, d, lp, nup);
    const double ep = p.Eccentricita;
    const double r = p.SemiasseMaggiore * (1 - ep * ep) / (1 + ep * std::cos(nup));

    const double i = p.Inclinazione * kGradiRadianti;
    const double u = (lp - p.LongitudineNodo) * kGradiRadianti;
    const double psi = mMate::ArcoSeno(std::sin(u) * std::sin(i));
    const double lProiettata = (mMate::Atan2_360(std::sin(u) * std::cos(i), std::cos(u)) * kRadiantiGradi)
                               + p.LongitudineNodo;
    const double rProiettato = r * std::cos(psi);

    // Geocentric ecliptic longitude and latitude.
    const double dl = (lt - lProiettata) * kGradiRadianti; // L - l'
    double lambda;
    if (interno)
        lambda = 180 + lt
                 + std::atan(rProiettato * std::sin(dl) / (rt - rProiettato * std::cos(dl))) * kRadiantiGradi;
    else
        lambda = lProiettata
                 + std::atan(rt * std::sin(-dl) / (rProiettato - rt * std::cos(-dl))) * kRadiantiGradi;
    lambda = Modulus(lambda, 360);

    const double denominatore = rt * std::sin(-dl);
    double beta;
    if (std::fabs(denominatore) > 1e-9) {
        beta = std::atan(rProiettato * std::tan(psi) * std::sin((lambda - lProiettata) * kGradiRadianti)
                         / denominatore);
    } else {
        // Exactly at conjunction or opposition the ratio above is 0/0; the
        // latitude is then the planet's height over its distance in the
        // ecliptic plane.
        const double pianoDistanza = std::fabs(rt - rProiettato * std::cos(dl));
        beta = std::atan2(r * std::sin(psi), pianoDistanza);
    }

    const double rho = std::sqrt(rt * rt + r * r - 2 * rt * r * std::cos((lp - lt) * kGradiRadianti));
    const double fase = (1 + std::cos((lambda - lp) * kGradiRadianti)) / 2;
    const double magnitudine =
        p.MagnitudineUnitaria + 5 * std::log10(r * rho)
        + Correzione_Fase(riga, Angolo_Fase(r, rho, rt), Inclinazione_Anelli(riga, lambda, beta));

    double ra = 0;
    double dec = 0;
    Eclittiche_Equatoriali(beta, lambda * kGradiRadianti, kObliquita, ra, dec);
    if (!Finito(ra) || !Finito(dec) || !Finito(rho) || !Finito(magnitudine) || !(rho > 0))
        return false;

    // Azimuth and elevation from the place of the date.
    double raData = ra, decData = dec;
    Precessione_Da_J2000(ist.GiornoGiuliano, raData, decData);
    Equatoriali_Orizzontali(raData, decData, ist.Latitudine, ist.TempoSiderale, p.Azimuth, p.Altezza);
    p.AscensioneRetta = ra;
    p.Declinazione = dec;
    p.Distanza = rho;
    p.Diametro = p.DiametroUnitario / rho;
    p.Fase = fase;
    p.Magnitudine = magnitudine;
    return true;
}

int Calcola_Pianeti(const Istante& ist, TabellaCorpi& corpi)
{
    int falliti = 0;
    for (int k = kMercurio; k <= kNettuno; ++k)
        if (!Calcola_Pianeta(ist, corpi[kTerra], k, corpi[k]))
            ++falliti;
    return falliti;
}

} // namespace mAstro
