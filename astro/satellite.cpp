#include "astro/satellite.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <limits>
#include <optional>
#include <string>

#include "astro/mate.h"
#include "astro/vector_state.h"

namespace astro {

namespace {

constexpr double kGradRad = 0.0174532925;
constexpr double kRadGrad = 57.295779513;
constexpr double kDuePi = 6.2831853;
constexpr double kPi = 3.14159265;
constexpr double kRaggio = 6378.135;
constexpr double kAppiattimento = 0.003352779454167505;
constexpr double kOmegaTerra = 7.2922e-5;  // rad/s
constexpr double kEpoca1990 = 2447891.5;

// The standard magnitude text read strictly as a number: blanks around it
// allowed, a comma taken as the decimal point, nothing else.
std::optional<double> Leggi_Magnitudine(const std::string& testo)
{
    std::string t = testo;
    for (char& ch : t)
        if (ch == ',')
            ch = '.';
    const char* p = t.c_str();
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p == '\0')
        return std::nullopt;
    // Read without the C library's number locale (a decimal comma there
    // would stop at the point).
    const char* fine = t.c_str() + t.size();
    const bool meno = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    double v = 0;
    const auto letto = std::from_chars(p, fine, v);
    if (letto.ec != std::errc() || letto.ptr == p)
        return std::nullopt;
    if (meno)
        v = -v;
    fine = letto.ptr;
    while (*fine == ' ' || *fine == '\t')
        ++fine;
    if (*fine != '\0' || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// 10 to the power e. The exponents of an element set are whole numbers of
// one digit: those come from a table of the nearest doubles (what pow gives
// for them), anything else from pow.
double Potenza_Dieci(double e)
{
    static constexpr double kPotenze[] = {1e-9, 1e-8, 1e-7, 1e-6, 1e-5, 1e-4, 1e-3, 1e-2, 1e-1, 1e0,
                                          1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9};
    if (e >= -9.0 && e <= 9.0 && e == std::trunc(e))
        return kPotenze[static_cast<int>(e) + 9];
    return std::pow(10.0, e);
}

bool Finito(std::initializer_list<double> xs)
{
    for (double x : xs)
        if (!std::isfinite(x))
            return false;
    return true;
}

}  // namespace

const GeometriaOsservatore& Geometria(const Osservatore& oss)
{
    // Kept per thread for the next call at the same place (every call of a
    // clock tick, every evaluation of a search is for the same observer).
    thread_local GeometriaOsservatore g;
    if (g.latitudine == oss.latitudine && g.longitudine == oss.longitudine && g.quota == oss.quota)
        return g;
    const double phi = oss.latitudine * kGradRad;
    const double lam = oss.longitudine * kGradRad;
    const double h = oss.quota / 1000.0;
    const double a = kRaggio;
    const double b = (1.0 - kAppiattimento) * a;
    const double cphi = std::cos(phi), sphi = std::sin(phi), clam = std::cos(lam), slam = std::sin(lam);
    const double S = std::sqrt(a * a * cphi * cphi + b * b * sphi * sphi);
    g.pos[0] = (a * a / S + h) * cphi * clam;
    g.pos[1] = (a * a / S + h) * cphi * slam;
    g.pos[2] = (b * b / S + h) * sphi;
    g.up[0] = cphi * clam, g.up[1] = cphi * slam, g.up[2] = sphi;
    g.est[0] = -slam, g.est[1] = clam, g.est[2] = 0.0;
    g.nord[0] = -sphi * clam, g.nord[1] = -sphi * slam, g.nord[2] = cphi;
    g.latitudine = oss.latitudine;
    g.longitudine = oss.longitudine;
    g.quota = oss.quota;
    return g;
}

double Altezza_Gradi(double zenit)
{
    return std::asin(std::clamp(zenit, -1.0, 1.0)) * kRadGrad;
}

double Azimuth_Gradi(double est, double nord)
{
    double a = std::atan2(est, nord);
    if (a < 0)
        a += 2.0 * M_PI;
    a *= kRadGrad;
    return a >= 360.0 ? a - 360.0 : a;
}

double Correzione_Rifrazione(double altezza)
{
    if (!(altezza >= -0.6))
        return 0.0;
    return 1.02 / std::tan((altezza + 10.3 / (altezza + 5.11)) * kGradRad) / 60.0;
}

double Magnitudine_Visuale(double m0, double distanza, double psi, bool lambert)
{
    const double cospsi = std::cos(psi);
    double F = (1.0 + cospsi) / 2.0;
    if (lambert)
        F = (std::sin(psi) + (kPi - psi) * cospsi) / 2.0;
    // At a phase angle of 180 degrees nothing lit faces the observer and the
    // law gives 0 (or a hair below through rounding): the magnitude is then
    // that of the faintest sliver rather than undefined.
    if (!(F > 1e-9))
        F = 1e-9;
    return m0 - 15.75 + 2.5 * (std::log(distanza * distanza / F) / std::log(10.0));
}

double Rotazione_Terra(double jd)
{
    return 99.4033 * kGradRad + 6.300388099 * (jd - kEpoca1990);
}

double Rotazione_Terra(double epoca, double giorni)
{
    return 99.4033 * kGradRad + 6.300388099 * (epoca - kEpoca1990) + 6.300388099 * giorni;
}

bool Illuminato(const std::array<double, 3>& s, const std::array<double, 3>& r)
{
    const double rmod = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
    const double c = -(s[0] * r[0] + s[1] * r[1] + s[2] * r[2]) / rmod;
    return c < 0.0 || rmod * std::sqrt(std::max(0.0, 1.0 - c * c)) / kRaggio > 1.0;
}

int Stato_Illuminazione(bool illuminato, double altezzaSole, int sogliaSole, double altezza)
{
    if (!illuminato)
        return StatoEclisse;
    return (altezzaSole >= sogliaSole || altezza <= 0.0) ? StatoNonVisibile : StatoVisibile;
}

void Punto_Subsatellite(double L, double B, Valori& v)
{
    v.Longitudine360 = L;
    v.Latitudine = B;
    v.LatitudineMappa = B;
    if (B < 0) {
        v.LatitudineAssoluta = -B;
        v.EmisferoNS = "S";
    } else {
        v.LatitudineAssoluta = B;
        v.EmisferoNS = "N";
    }
    if (L <= 180.0) {
        v.LongitudineAssoluta = L;
        v.EmisferoEW = "E";
        v.Longitudine = L;
    } else {
        v.LongitudineAssoluta = 360.0 - L;
        v.EmisferoEW = "W";
        v.Longitudine = L - 360.0;
    }
}

double Periodo_Orbitale(double a)
{
    return kDuePi * a * std::sqrt(a / kGM);
}

RegistriElementi Registri_Da_Satelement(const Satelement& s)
{
    RegistriElementi r;
    r.epoch = s.EpocaGiuliana;
    r.xincl = s.Inclinazione * kGradRad;
    r.xnodeo = s.NodoAscendente * kGradRad;
    r.eo = s.Eccentricita;
    r.omegao = s.ArgomentoPerigeo * kGradRad;
    r.xmo = s.AnomaliaMedia * kGradRad;
    const double k = kDuePi / 1440.0 / 1440.0;
    r.xno = s.MotoMedio * k * 1440.0;
    r.xndt2o = s.DerivataPrima * k;
    r.xndd6o = s.DerivataSecondaMantissa * Potenza_Dieci(s.DerivataSecondaEsponente) * k / 1440.0;
    r.bstar = Potenza_Dieci(s.BStarEsponente) * s.BStarMantissa / 1.0;
    return r;
}

bool Deep_Space(const RegistriElementi& r, double* ao, double* xnodp)
{
    const double a1 = std::pow(0.0743669161 / r.xno, 2.0 / 3.0);
    const double c2 = std::cos(r.xincl) * std::cos(r.xincl);
    const double b2 = 1.0 - r.eo * r.eo;
    const double k2 = 1.5 * 0.000541308 * (3.0 * c2 - 1.0) / (b2 * std::sqrt(b2));  // (1 - e^2)^1.5
    const double d1 = k2 / (a1 * a1);
    const double a0 = a1 * (1.0 - d1 * (0.5 * 2.0 / 3.0 + d1 * (1.0 + 134.0 / 81.0 * d1)));
    const double d0 = k2 / (a0 * a0);
    const double n0 = r.xno / (1.0 + d0);
    if (ao)
        *ao = a0;
    if (xnodp)
        *xnodp = n0;
    return kDuePi / n0 / 1440.0 >= 0.15625;
}

void ModelloSatellite::Imposta(const RegistriElementi& r, int propagatore)
{
    if (impostato_ && propagatore == propagatore_ && std::memcmp(&r, &reg_, sizeof r) == 0)
        return;
    if (impostato_) {
        // A new element set or model: nothing of the old set-up may remain.
        // (A new object holds nothing yet and needs no clearing.)
        modelloUsato_ = -1;
        deep_ = false;
        aoDeep_ = xnodpDeep_ = 0;
        sgp4_ = {};
        sdp4_ = {};
        integratore_ = {};
    }
    impostato_ = true;
    reg_ = r;
    propagatore_ = propagatore;
    if (!Registri_Validi(r))
        return;
    deep_ = Deep_Space(r, &aoDeep_, &xnodpDeep_);
    switch (propagatore) {
    case PropagatorePlan13:
        modelloUsato_ = PropagatorePlan13;
        break;
    case PropagatoreSGP:
        modelloUsato_ = PropagatoreSGP;
        break;
    case PropagatoreSGP4:
        modelloUsato_ = PropagatoreSGP4;
        sgp4_ = Imposta_SGP4(r);
        break;
    case PropagatoreSDP4:
        if (deep_) {
            modelloUsato_ = PropagatoreSDP4;
            sdp4_ = Imposta_SDP4(r);
        } else {
            modelloUsato_ = PropagatoreSGP4;
            sgp4_ = Imposta_SGP4(r);
        }
        break;
    default:
        break;  // unknown model: nothing to run
    }
}

EsitoPropagazione ModelloSatellite::Propaga(double tsince, StatoOrbitale& out) const
{
    switch (modelloUsato_) {
    case PropagatorePlan13:
        return Propaga_Plan13(reg_, tsince, out);
    case PropagatoreSGP:
        return Propaga_SGP(reg_, tsince, out);
    case PropagatoreSGP4:
        return Calcola_SGP4(sgp4_, tsince, out);
    case PropagatoreSDP4:
        return Calcola_SDP4(sdp4_, tsince, out, &integratore_);
    default:
        return EsitoPropagazione::ElementiNonValidi;
    }
}

SoleSatelliti Sole_Satelliti(double jd)
{
    const double N = jd - kEpoca1990;
    const double M = (356.6349 + 0.98560027 * N) * kGradRad;
    const double sinM = std::sin(M), cosM = std::cos(M);
    const double Lambda = 99.4033 * kGradRad + 0.017202791 * N + kPi + 0.03343 * sinM +
                          0.00034 * (2.0 * sinM * cosM);  // sin 2M
    const double eps = 23.4406 * kGradRad;
    SoleSatelliti r;
    r.jd = jd;
    r.s = {std::cos(Lambda), std::sin(Lambda) * std::cos(eps), std::sin(Lambda) * std::sin(eps)};
    return r;
}

namespace {

// The computation of Calcola_Satellite; with `completo` false only the
// satellite's place (Calcola_Posizione_Satellite).
bool Calcola(const Satelement& s, const Osservatore& oss, const OpzioniSatellite& opz, double jd, Valori& v,
             UsciteSatellite& u, ModelloSatellite* modello, const SoleSatelliti* sole, bool completo)
{
    Azzera_Meta_Alte();
    // A set-up of its own only when the caller keeps none: the model is
    // large, and clearing one on every call would cost more than the rest.
    if (!modello) {
        ModelloSatellite locale;
        return Calcola(s, oss, opz, jd, v, u, &locale, sole, completo);
    }
    // 1. Unpacking, 2. deep-space test.
    const RegistriElementi reg = Registri_Da_Satelement(s);
    ModelloSatellite& m = *modello;
    m.Imposta(reg, opz.propagatore);
    u.registri = reg;
    u.deep = m.Deep();
    if (!Registri_Validi(reg) || !std::isfinite(jd)) {
        u.esito = EsitoPropagazione::ElementiNonValidi;
        return false;
    }

    // 4. Model.
    const double D = jd - reg.epoch;
    const double tsince = D * 1440.0;
    StatoOrbitale st;
    st.ao = m.Ao();
    st.xnodp = m.Xnodp();
    u.esito = m.Propaga(tsince, st);
    if (u.esito != EsitoPropagazione::Ok)
        return false;
    const double* r = st.posizione.data();
    const double* vel = st.velocita.data();

    // 3. Observer in the Earth-fixed frame, local axes, velocity.
    const GeometriaOsservatore& g = Geometria(oss);
    const double ox = g.pos[0], oy = g.pos[1], oz = g.pos[2];
    const double* up = g.up;
    const double* est = g.est;
    const double* nord = g.nord;
    const double ovx = -kOmegaTerra * oy, ovy = kOmegaTerra * ox;

    // 5. Earth rotation.
    const double theta = Rotazione_Terra(reg.epoch, D);
    const double ct = std::cos(theta), sn = std::sin(theta);
    const double xf = r[0] * ct + r[1] * sn, yf = -r[0] * sn + r[1] * ct, zf = r[2];
    const double vxf = vel[0] * ct + vel[1] * sn, vyf = -vel[0] * sn + vel[1] * ct, vzf = vel[2];

    // 6. Look angles.
    const double rx = xf - ox, ry = yf - oy, rz = zf - oz;
    const double distanza = std::sqrt(rx * rx + ry * ry + rz * rz);
    if (!(distanza > 0)) {
        u.esito = EsitoPropagazione::OrbitaNonSeguibile;
        return false;
    }
    const double ux = rx / distanza, uy = ry / distanza, uz = rz / distanza;
    const double vz = ux * up[0] + uy * up[1] + uz * up[2];
    const double ve = ux * est[0] + uy * est[1] + uz * est[2];
    const double vn = ux * nord[0] + uy * nord[1] + uz * nord[2];
    const double vrad = (vxf - ovx) * ux + (vyf - ovy) * uy + vzf * uz;

    // 7. Orbit shape from the inertial vectors.
    const double hx = r[1] * vel[2] - r[2] * vel[1];
    const double hy = r[2] * vel[0] - r[0] * vel[2];
    const double hz = r[0] * vel[1] - r[1] * vel[0];
    const double p = (hx * hx + hy * hy + hz * hz) / kGM;
    const double v2 = vel[0] * vel[0] + vel[1] * vel[1] + vel[2] * vel[2];
    const double velocita = std::sqrt(v2);
    const double rmod = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
    const double phis = mMate::ArcoSeno(r[2] / rmod);
    const double quota = mMate::Altezza_Geodetica(rmod, phis);
    const double rv = r[0] * vel[0] + r[1] * vel[1] + r[2] * vel[2];
    const double k1 = v2 - kGM / rmod;
    const double ex = (k1 * r[0] - rv * vel[0]) / kGM;
    const double ey = (k1 * r[1] - rv * vel[1]) / kGM;
    const double ez = (k1 * r[2] - rv * vel[2]) / kGM;
    const double ecc = std::sqrt(ex * ex + ey * ey + ez * ez);
    const double perigeo = p / (1.0 + ecc) - kRaggio;
    // An osculating eccentricity of 1 or more (an orbit escaping or falling
    // through the Earth at this instant) has no apogee or period; the model
    // has left what it can follow.
    if (!(ecc < 1.0)) {
        u.esito = EsitoPropagazione::OrbitaNonSeguibile;
        return false;
    }

    // 9. Sky position; 10. refraction.
    double azimuth = Azimuth_Gradi(ve, vn);
    double altezza = Altezza_Gradi(vz);
    if (opz.rifrazione)
        altezza = altezza + Correzione_Rifrazione(altezza);

    // 11. Sub-satellite point.
    double L = mMate::Atan2_360(yf, xf) * kRadGrad;
    if (L >= 360.0)
        L -= 360.0;
    const double B = mMate::ArcoSeno(zf / rmod) * kRadGrad;

    // The satellite's place into the record, once every figure is known.
    auto scriviLuogo = [&] {
        v.Altezza = altezza;
        v.Azimuth = azimuth;
        v.DistanzaGeocentrica = rmod;
        v.VelocitaRadiale = vrad;
        v.Quota = quota;
        v.Distanza = distanza;
        Punto_Subsatellite(L, B, v);
        v.VersoreZenit = vz;
        v.VersoreEst = ve;
        v.VersoreNord = vn;
        u.stato = st;
        u.esito = EsitoPropagazione::Ok;
    };
    if (!completo) {
        if (!Finito({altezza, azimuth, B, L, rmod, vrad, quota, distanza, vz, ve, vn})) {
            u.esito = EsitoPropagazione::RisultatoNonFinito;
            return false;
        }
        scriviLuogo();
        return true;
    }

    const double apogeo = p / (1.0 - ecc) - kRaggio;
    const double A = p / (1.0 - ecc * ecc);
    const double periodo = Periodo_Orbitale(A);

    // 8. Orbit number.
    const double t = D * 1440.0;
    const double numeroOrbita =
        s.NumeroRivoluzione + (reg.xno * t * (1.0 + (reg.xndt2o / reg.xno) * t) + reg.xmo) / kDuePi;

    // 12. Sun: the caller's, when it computed it for this instant.
    const SoleSatelliti soleQui = sole && sole->jd == jd ? *sole : Sole_Satelliti(jd);
    const double sx = soleQui.s[0], sy = soleQui.s[1], sz = soleQui.s[2];

    // 13. Shadow: a cylinder of the Earth's radius behind the Earth.
    const bool illuminato = Illuminato({sx, sy, sz}, st.posizione);

    // 14. Sun elevation.
    const double sxf = sx * ct + sy * sn, syf = -sx * sn + sy * ct, szf = sz;
    const double altezzaSole = mMate::ArcoSeno(sxf * up[0] + syf * up[1] + szf * up[2]) * kRadGrad;

    // 15. Visibility.
    const int stato = Stato_Illuminazione(illuminato, altezzaSole, opz.sogliaSole, altezza);

    // 16. Phase.
    const double cospsi = -(ux * sxf + uy * syf + uz * szf);
    const double psi = mMate::ArcoCoseno(std::max(-1.0, std::min(1.0, cospsi)));
    const double fase = (1.0 + cospsi) / 2.0;
    const double angoloFase = 180.0 - psi * kRadGrad;

    // 17, 18. Magnitude.
    MagnitudineVisuale magnitudine = v.Magnitudine;
    double faseScritta = fase;
    if (stato == StatoEclisse) {
        faseScritta = 0.0;
        magnitudine = MagnitudineVisuale::vuota();
    } else if (s.MagnitudineStandard.empty()) {
        magnitudine = MagnitudineVisuale::sconosciuta();
    } else if (const auto m0 = Leggi_Magnitudine(s.MagnitudineStandard)) {
        magnitudine = MagnitudineVisuale::numero(Magnitudine_Visuale(*m0, distanza, psi, opz.magnitudineLambert));
    }
    // A standard magnitude that is not a number leaves the magnitude as it was.

    if (!Finito({altezza, azimuth, fase, angoloFase, B, L, rmod, numeroOrbita, vrad, apogeo, perigeo, velocita, quota,
                 distanza, periodo, vz, ve, vn, altezzaSole}) ||
        (magnitudine.isNumber() && !std::isfinite(magnitudine.valore))) {
        u.esito = EsitoPropagazione::RisultatoNonFinito;
        return false;
    }

    // Everything computed: write the record.
    scriviLuogo();
    v.Fase = faseScritta;
    v.AngoloFase = angoloFase;
    v.Stato = stato;
    v.Magnitudine = magnitudine;
    v.NumeroOrbita = numeroOrbita;
    v.Apogeo = apogeo;
    v.Perigeo = perigeo;
    v.Velocita = velocita;
    v.Periodo = periodo;
    u.altezzaSole = altezzaSole;
    return true;
}

}  // namespace

bool Calcola_Satellite(const Satelement& s, const Osservatore& oss, const OpzioniSatellite& opz, double jd,
                       Valori& v, UsciteSatellite& u, ModelloSatellite* modello, const SoleSatelliti* sole)
{
    return Calcola(s, oss, opz, jd, v, u, modello, sole, true);
}

bool Calcola_Posizione_Satellite(const Satelement& s, const Osservatore& oss, const OpzioniSatellite& opz, double jd,
                                 Valori& v, UsciteSatellite& u, ModelloSatellite* modello)
{
    return Calcola(s, oss, opz, jd, v, u, modello, nullptr, false);
}

}  // namespace astro
