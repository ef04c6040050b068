// SGP and SGP4 as Spacetrack Report No. 3 gives them. The variable names are
// the report's, so the code can be read beside it.
#include "astro/sgp4.h"

#include <algorithm>
#include <cmath>

#include "astro/mate.h"

namespace astro {

using namespace sgp;

bool Registri_Validi(const RegistriElementi& r)
{
    const double v[] = {r.xincl, r.xnodeo, r.omegao, r.xmo, r.eo, r.xno, r.xndt2o, r.xndd6o, r.bstar, r.epoch};
    for (double x : v)
        if (!std::isfinite(x))
            return false;
    return r.xno > 0 && r.eo >= 0 && r.eo < 1;
}

namespace sgp {

double Riduci_Giro(double x)
{
    constexpr double kDuePi = 2.0 * 3.141592653589793;
    double r = std::fmod(x, kDuePi);
    if (r < 0)
        r += kDuePi;
    return r >= kDuePi ? 0.0 : r;
}

Derivazione Deriva_Moto_Medio(double xno, double eo, double xincl)
{
    Derivazione d{};
    const double a1 = std::pow(xke / xno, tothrd);
    d.cosio = std::cos(xincl);
    d.theta2 = d.cosio * d.cosio;
    d.x3thm1 = 3.0 * d.theta2 - 1.0;
    d.eosq = eo * eo;
    d.betao2 = 1.0 - d.eosq;
    d.betao = std::sqrt(d.betao2);
    const double del1 = 1.5 * ck2 * d.x3thm1 / (a1 * a1 * d.betao * d.betao2);
    d.ao = a1 * (1.0 - del1 * (0.5 * tothrd + del1 * (1.0 + 134.0 / 81.0 * del1)));
    const double delo = 1.5 * ck2 * d.x3thm1 / (d.ao * d.ao * d.betao * d.betao2);
    d.xnodp = xno / (1.0 + delo);
    d.aodp = d.ao / (1.0 - delo);
    return d;
}

ImpostazioneComune Imposta_Comune(const RegistriElementi& r, const Derivazione& d, double cos2w)
{
    ImpostazioneComune k{};
    const double theta2 = d.theta2, betao = d.betao, betao2 = d.betao2, aodp = d.aodp, xnodp = d.xnodp;
    const double cosio = d.cosio;
    const double eo = r.eo;

    // Atmospheric parameters for low perigees.
    double s4v = s;
    double qoms24 = qoms2t;
    const double perige = (aodp * (1.0 - eo) - ae) * xkmper;
    if (perige < 156.0) {
        s4v = perige - 78.0;
        if (perige <= 98.0)
            s4v = 20.0;
        qoms24 = std::pow((120.0 - s4v) * ae / xkmper, 4);
        s4v = s4v / xkmper + ae;
    }
    k.s4 = s4v;
    k.qoms24 = qoms24;
    const double pinvsq = 1.0 / (aodp * aodp * betao2 * betao2);
    const double tsi = 1.0 / (aodp - s4v);
    const double eta = aodp * eo * tsi;
    const double etasq = eta * eta;
    const double eeta = eo * eta;
    const double psisq = std::fabs(1.0 - etasq);
    const double tsi2 = tsi * tsi;
    const double coef = qoms24 * (tsi2 * tsi2);
    const double psisq3 = psisq * psisq * psisq;
    const double coef1 = coef / (psisq3 * std::sqrt(psisq));
    const double c2 = coef1 * xnodp *
                      (aodp * (1.0 + 1.5 * etasq + eeta * (4.0 + etasq)) +
                       0.75 * ck2 * tsi / psisq * d.x3thm1 * (8.0 + 3.0 * etasq * (8.0 + etasq)));
    k.tsi = tsi;
    k.eta = eta;
    k.etasq = etasq;
    k.eeta = eeta;
    k.coef = coef;
    k.coef1 = coef1;
    k.c1 = r.bstar * c2;
    k.sinio = std::sin(r.xincl);
    k.a3ovk2 = 2.53881e-6 / 0.000541308 * ae * ae * ae;  // -xj3/ck2 ae^3
    k.x1mth2 = 1.0 - theta2;
    k.c4 = 2.0 * xnodp * coef1 * aodp * betao2 *
           (eta * (2.0 + 0.5 * etasq) + eo * (0.5 + 2.0 * etasq) -
            2.0 * ck2 * tsi / (aodp * psisq) *
                (-3.0 * d.x3thm1 * (1.0 - 2.0 * eeta + etasq * (1.5 - 0.5 * eeta)) +
                 0.75 * k.x1mth2 * (2.0 * etasq - eeta * (1.0 + etasq)) * cos2w));

    // Secular rates of gravity.
    const double theta4 = theta2 * theta2;
    const double temp1 = 3.0 * ck2 * pinvsq * xnodp;
    const double temp2 = temp1 * ck2 * pinvsq;
    const double temp3 = ck4_125 * pinvsq * pinvsq * xnodp;
    k.xmdot = xnodp + 0.5 * temp1 * betao * d.x3thm1 + 0.0625 * temp2 * betao * (13.0 - 78.0 * theta2 + 137.0 * theta4);
    const double x1m5th = 1.0 - 5.0 * theta2;
    k.omgdot = -0.5 * temp1 * x1m5th + 0.0625 * temp2 * (7.0 - 114.0 * theta2 + 395.0 * theta4) +
               temp3 * (3.0 - 36.0 * theta2 + 49.0 * theta4);
    k.xhdot1 = -temp1 * cosio;
    k.xnodot = k.xhdot1 + (0.5 * temp2 * (4.0 - 19.0 * theta2) + 2.0 * temp3 * (3.0 - 7.0 * theta2)) * cosio;
    k.xnodcf = 3.5 * betao2 * k.xhdot1 * k.c1;
    k.t2cof = 1.5 * k.c1;
    // The report divides by 1 + cos i; kept away from zero for i = 180 deg.
    double opc = 1.0 + cosio;
    if (std::fabs(opc) < 1.5e-12)
        opc = 1.5e-12;
    k.xlcof = 0.125 * k.a3ovk2 * k.sinio * (3.0 + 5.0 * cosio) / opc;
    k.aycof = 0.25 * k.a3ovk2 * k.sinio;
    k.x7thm1 = 7.0 * theta2 - 1.0;
    return k;
}

void Scala_Uscita(double rk, double uk, double xnodek, double xinck, double rdotk, double rfdotk,
                  StatoOrbitale& out)
{
    const double sinuk = std::sin(uk), cosuk = std::cos(uk);
    const double sinik = std::sin(xinck), cosik = std::cos(xinck);
    const double sinnok = std::sin(xnodek), cosnok = std::cos(xnodek);
    const double xmx = -sinnok * cosik;
    const double xmy = cosnok * cosik;
    const double ux = xmx * sinuk + cosnok * cosuk;
    const double uy = xmy * sinuk + sinnok * cosuk;
    const double uz = sinik * sinuk;
    const double vx = xmx * cosuk - cosnok * sinuk;
    const double vy = xmy * cosuk - sinnok * sinuk;
    const double vz = sinik * cosuk;
    const double kr = xkmper / ae;
    const double kv = xkmper / ae * xmnpda / secday;
    out.posizione = {rk * ux * kr, rk * uy * kr, rk * uz * kr};
    out.velocita = {(rdotk * ux + rfdotk * vx) * kv, (rdotk * uy + rfdotk * vy) * kv,
                    (rdotk * uz + rfdotk * vz) * kv};
}

bool Stato_Finito(const StatoOrbitale& o)
{
    for (int i = 0; i < 3; ++i)
        if (!std::isfinite(o.posizione[i]) || !std::isfinite(o.velocita[i]))
            return false;
    return true;
}

}  // namespace sgp

namespace {

// Kepler's equation in the form of the models, E + w - axn sin(E + w) +
// ayn cos(E + w) = capu with axn = e cos w and ayn = e sin w, by Newton's
// method to 1e-12 rad. The report started from capu and took at most ten
// unbounded steps: above an eccentricity of about 0.9 the steps overshoot
// near perigee and never settle, and the satellite was lost for those
// minutes. Above 0.5 the start here is Danby's (the mean anomaly plus
// 0.85 e toward apocentre, from which Newton's method converges for every e
// below 1), and no step exceeds 0.95 rad, as in the 2006 revision. Low
// eccentricities start from capu and reach the same root as before. Gives
// the root and its sine and cosine.
bool Risolvi_Keplero(double capu, double axn, double ayn, double& epw, double& sinepw, double& cosepw)
{
    const double e = std::sqrt(axn * axn + ayn * ayn);
    if (!(e < 1.0) || !std::isfinite(capu))
        return false;
    epw = capu;
    if (e > 0.5) {
        const double w = std::atan2(ayn, axn);
        const double m = std::remainder(capu - w, twopi);  // mean anomaly, -pi to pi
        epw = capu + (m >= 0.0 ? 0.85 : -0.85) * e;
    }
    for (int i = 0; i < 50; ++i) {
        sinepw = std::sin(epw);
        cosepw = std::cos(epw);
        double passo = (capu - ayn * cosepw + axn * sinepw - epw) / (1.0 - axn * cosepw - ayn * sinepw);
        if (std::fabs(passo) > 0.95)
            passo = passo > 0 ? 0.95 : -0.95;
        epw += passo;
        if (std::fabs(passo) < 1e-12) {
            sinepw = std::sin(epw);
            cosepw = std::cos(epw);
            return true;
        }
    }
    // Rounding can keep the last step a few units of 1e-12 from settling.
    const double residuo = epw - axn * std::sin(epw) + ayn * std::cos(epw) - capu;
    sinepw = std::sin(epw);
    cosepw = std::cos(epw);
    return std::fabs(residuo) < 1e-9;
}

}  // namespace

// ---------------------------------------------------------------- SGP

EsitoPropagazione Propaga_SGP(const RegistriElementi& r, double tsince, StatoOrbitale& out)
{
    if (!Registri_Validi(r) || !std::isfinite(tsince))
        return EsitoPropagazione::ElementiNonValidi;

    // Initialisation.
    const double c1 = 0.000811962;          // 1.5 ck2
    const double c2 = ck2 / 4.0;
    const double c3 = ck2 / 2.0;
    const double c4 = xj3 * ae * ae * ae / 0.002165232;  // xj3 ae^3 / (4 ck2)
    const double cosio = std::cos(r.xincl);
    const double sinio = std::sin(r.xincl);
    const double a1 = std::pow(xke / r.xno, tothrd);
    const double d1 = c1 / a1 / a1 * (3.0 * cosio * cosio - 1.0) / std::pow(1.0 - r.eo * r.eo, 1.5);
    const double ao = a1 * (1.0 - 1.0 / 3.0 * d1 - d1 * d1 - 134.0 / 81.0 * d1 * d1 * d1);
    const double po = ao * (1.0 - r.eo * r.eo);
    const double qo = ao * (1.0 - r.eo);
    const double xlo = r.xmo + r.omegao + r.xnodeo;
    const double d1o = c3 * sinio * sinio;
    const double d2o = c2 * (7.0 * cosio * cosio - 1.0);
    const double d3o = c1 * cosio;
    const double d4o = d3o * sinio;
    const double po2no = r.xno / (po * po);
    const double omgdt = c1 * po2no * (5.0 * cosio * cosio - 1.0);
    const double xnodot = -2.0 * d3o * po2no;
    // The report divides by 1 + cos i; an orbit of exactly 180 degrees would
    // divide by zero, so the divisor is kept away from it.
    double opc = 1.0 + cosio;
    if (std::fabs(opc) < 1.5e-12)
        opc = 1.5e-12;
    const double c5 = 0.5 * c4 * sinio * (3.0 + 5.0 * cosio) / opc;
    const double c6 = c4 * sinio;

    // Secular gravity and drag.
    double a = r.xno + (2.0 * r.xndt2o + 3.0 * r.xndd6o * tsince) * tsince;
    if (!(a > 0))
        return EsitoPropagazione::OrbitaNonSeguibile;  // mean motion driven through zero
    a = ao * std::pow(r.xno / a, tothrd);
    double e = e6a;
    if (a > qo)
        e = 1.0 - qo / a;
    const double p = a * (1.0 - e * e);
    const double xnodes = r.xnodeo + xnodot * tsince;
    const double omgas = r.omegao + omgdt * tsince;
    const double xls = mMate::FMod2p(
        xlo + (r.xno + omgdt + xnodot + (r.xndt2o + r.xndd6o * tsince) * tsince) * tsince);

    // Long-period periodics.
    const double axnsl = e * std::cos(omgas);
    const double aynsl = e * std::sin(omgas) - c6 / p;
    const double xl = mMate::FMod2p(xls - c5 / p * axnsl);

    // Kepler's equation: at most ten corrections, each no larger than 1.
    const double u = mMate::FMod2p(xl - xnodes);
    int item3 = 0;
    double eo1 = u;
    double tem5 = 1.0;
    double sineo1 = 0, coseo1 = 0;
    for (;;) {
        sineo1 = std::sin(eo1);
        coseo1 = std::cos(eo1);
        if (std::fabs(tem5) < e6a || item3 >= 10)
            break;
        ++item3;
        tem5 = 1.0 - coseo1 * axnsl - sineo1 * aynsl;
        tem5 = (u - aynsl * coseo1 + axnsl * sineo1 - eo1) / tem5;
        const double tem2 = std::fabs(tem5);
        if (tem2 > 1.0)
            tem5 = tem2 / tem5;
        eo1 = eo1 + tem5;
    }
    // Near perigee of a very eccentric orbit those ten steps do not settle:
    // the solution is then taken from a start that suits it.
    if (!(std::fabs(tem5) < e6a) && !Risolvi_Keplero(u, axnsl, aynsl, eo1, sineo1, coseo1))
        return EsitoPropagazione::KeplerNonConvergente;

    // Short-period preliminary quantities.
    const double ecose = axnsl * coseo1 + aynsl * sineo1;
    const double esine = axnsl * sineo1 - aynsl * coseo1;
    const double el2 = axnsl * axnsl + aynsl * aynsl;
    if (!(el2 < 1.0))
        return EsitoPropagazione::OrbitaNonSeguibile;
    const double pl = a * (1.0 - el2);
    const double pl2 = pl * pl;
    const double rr = a * (1.0 - ecose);
    if (!(rr > 0))
        return EsitoPropagazione::OrbitaNonSeguibile;
    const double rdot = xke * std::sqrt(a) / rr * esine;
    const double rvdot = xke * std::sqrt(pl) / rr;
    const double temp = esine / (1.0 + std::sqrt(1.0 - el2));
    const double sinu = a / rr * (sineo1 - aynsl - axnsl * temp);
    const double cosu = a / rr * (coseo1 - axnsl + aynsl * temp);
    const double su = mMate::Atan2_360(sinu, cosu);

    // Short periodics.
    const double sin2u = (cosu + cosu) * sinu;
    const double cos2u = 1.0 - 2.0 * sinu * sinu;
    const double rk = rr + d1o / pl * cos2u;
    const double uk = su - d2o / pl2 * sin2u;
    const double xnodek = xnodes + d3o * sin2u / pl2;
    const double xinck = r.xincl + d4o / pl2 * cos2u;

    StatoOrbitale o;
    Scala_Uscita(rk, uk, xnodek, xinck, rdot, rvdot, o);
    if (!Stato_Finito(o))
        return EsitoPropagazione::RisultatoNonFinito;
    o.ao = ao;
    o.xnodp = out.xnodp;  // SGP does not derive a mean motion of its own
    out = o;
    return EsitoPropagazione::Ok;
}

// ---------------------------------------------------------------- SGP4

ImpostazioneSGP4 Imposta_SGP4(const RegistriElementi& r)
{
    ImpostazioneSGP4 s4{};
    s4.reg = r;
    if (!Registri_Validi(r))
        return s4;

    const Derivazione d = Deriva_Moto_Medio(r.xno, r.eo, r.xincl);
    s4.ao = d.ao;
    s4.aodp = d.aodp;
    s4.xnodp = d.xnodp;
    s4.cosio = d.cosio;
    s4.x3thm1 = d.x3thm1;
    const double betao2 = d.betao2, aodp = d.aodp, xnodp = d.xnodp;
    const double eo = r.eo;

    // Simple drag for perigees under 220 km.
    s4.isimp = (aodp * (1.0 - eo) / ae) < (220.0 / xkmper + ae);

    const ImpostazioneComune k = Imposta_Comune(r, d, std::cos(2.0 * r.omegao));
    const double s4v = k.s4, tsi = k.tsi, eta = k.eta, etasq = k.etasq, eeta = k.eeta, coef = k.coef;
    const double c1 = k.c1;
    // The report divides by the eccentricity here; a circular orbit would
    // divide by zero, so these drag terms are left out below e = 1e-4.
    double c3 = 0;
    if (eo > 1.0e-4)
        c3 = coef * tsi * k.a3ovk2 * xnodp * ae * k.sinio / eo;
    const double c5 = 2.0 * k.coef1 * aodp * betao2 * (1.0 + 2.75 * (etasq + eeta) + eeta * etasq);
    s4.xmdot = k.xmdot;
    s4.omgdot = k.omgdot;
    s4.xnodot = k.xnodot;
    s4.omgcof = r.bstar * c3 * std::cos(r.omegao);
    s4.xmcof = 0;
    if (eo > 1.0e-4)
        s4.xmcof = -tothrd * coef * r.bstar * ae / eeta;
    s4.xnodcf = k.xnodcf;
    s4.t2cof = k.t2cof;
    s4.xlcof = k.xlcof;
    s4.aycof = k.aycof;
    const double unoetacos = 1.0 + eta * std::cos(r.xmo);
    s4.delmo = unoetacos * unoetacos * unoetacos;
    s4.sinmo = std::sin(r.xmo);
    s4.x7thm1 = k.x7thm1;
    if (!s4.isimp) {
        const double c1sq = c1 * c1;
        s4.d2 = 4.0 * aodp * tsi * c1sq;
        const double temp = s4.d2 * tsi * c1 / 3.0;
        s4.d3 = (17.0 * aodp + s4v) * temp;
        s4.d4 = 0.5 * temp * aodp * tsi * (221.0 * aodp + 31.0 * s4v) * c1;
        s4.t3cof = s4.d2 + 2.0 * c1sq;
        s4.t4cof = 0.25 * (3.0 * s4.d3 + c1 * (12.0 * s4.d2 + 10.0 * c1sq));
        s4.t5cof = 0.2 * (3.0 * s4.d4 + 12.0 * c1 * s4.d3 + 6.0 * s4.d2 * s4.d2 + 15.0 * c1sq * (2.0 * s4.d2 + c1sq));
    }
    s4.s4 = s4v;
    s4.qoms24 = k.qoms24;
    s4.sinio = k.sinio;
    s4.x1mth2 = k.x1mth2;
    s4.c1 = c1;
    s4.c4 = k.c4;
    s4.c5 = c5;
    s4.eta = eta;
    s4.valida = std::isfinite(s4.xmdot) && std::isfinite(s4.omgdot) && std::isfinite(s4.xnodot) &&
                std::isfinite(c1) && std::isfinite(s4.c4) && std::isfinite(c5) && std::isfinite(s4.xmcof) &&
                std::isfinite(s4.d4) && std::isfinite(s4.t5cof);
    return s4;
}

namespace {

// Long-period periodics, Kepler's equation, short periodics and the output,
// common to SGP4 and SDP4 once the secular values are known. The epoch
// values cos i, sin i and the functions of them come from the set-up.
struct Periodiche {
    double cosio, sinio, x3thm1, x1mth2, x7thm1, xlcof, aycof;
};

EsitoPropagazione Completa(const Periodiche& k, double a, double e, double xl, double omega, double xnode,
                           double xinc, StatoOrbitale& out)
{
    if (!(a > 0) || !std::isfinite(a) || !(std::fabs(e) < 1.0))
        return EsitoPropagazione::OrbitaNonSeguibile;
    const double beta = std::sqrt(1.0 - e * e);
    const double xn = xke / (a * std::sqrt(a));

    // Long-period periodics.
    const double axn = e * std::cos(omega);
    double temp = 1.0 / (a * beta * beta);
    const double xll = temp * k.xlcof * axn;
    const double aynl = temp * k.aycof;
    const double xlt = xl + xll;
    const double ayn = e * std::sin(omega) + aynl;

    // Kepler's equation.
    const double capu = mMate::FMod2p(xlt - xnode);
    double temp2 = 0, sinepw = 0, cosepw = 0, temp3 = 0, temp4 = 0, temp5 = 0, temp6 = 0;
    if (!Risolvi_Keplero(capu, axn, ayn, temp2, sinepw, cosepw))
        return EsitoPropagazione::KeplerNonConvergente;
    temp3 = axn * sinepw;
    temp4 = ayn * cosepw;
    temp5 = axn * cosepw;
    temp6 = ayn * sinepw;

    // Short-period preliminary quantities.
    const double ecose = temp5 + temp6;
    const double esine = temp3 - temp4;
    const double elsq = axn * axn + ayn * ayn;
    temp = 1.0 - elsq;
    if (!(temp > 0))
        return EsitoPropagazione::OrbitaNonSeguibile;
    const double pl = a * temp;
    const double r = a * (1.0 - ecose);
    if (!(r > 0))
        return EsitoPropagazione::OrbitaNonSeguibile;
    double temp1 = 1.0 / r;
    const double rdot = xke * std::sqrt(a) * esine * temp1;
    const double rfdot = xke * std::sqrt(pl) * temp1;
    temp2 = a * temp1;
    const double betal = std::sqrt(temp);
    temp3 = 1.0 / (1.0 + betal);
    const double cosu = temp2 * (cosepw - axn + ayn * esine * temp3);
    const double sinu = temp2 * (sinepw - ayn - axn * esine * temp3);
    const double u = mMate::Atan2_360(sinu, cosu);
    const double sin2u = 2.0 * sinu * cosu;
    const double cos2u = 2.0 * cosu * cosu - 1.0;
    temp = 1.0 / pl;
    temp1 = ck2 * temp;
    temp2 = temp1 * temp;

    // Short periodics.
    const double rk = r * (1.0 - 1.5 * temp2 * betal * k.x3thm1) + 0.5 * temp1 * k.x1mth2 * cos2u;
    const double uk = u - 0.25 * temp2 * k.x7thm1 * sin2u;
    const double xnodek = xnode + 1.5 * temp2 * k.cosio * sin2u;
    const double xinck = xinc + 1.5 * temp2 * k.cosio * k.sinio * cos2u;
    const double rdotk = rdot - xn * temp1 * k.x1mth2 * sin2u;
    const double rfdotk = rfdot + xn * temp1 * (k.x1mth2 * cos2u + 1.5 * k.x3thm1);

    StatoOrbitale o;
    Scala_Uscita(rk, uk, xnodek, xinck, rdotk, rfdotk, o);
    if (!Stato_Finito(o))
        return EsitoPropagazione::RisultatoNonFinito;
    o.ao = out.ao;
    o.xnodp = out.xnodp;
    out = o;
    return EsitoPropagazione::Ok;
}

}  // namespace

namespace sgp {
double Ritardo_Asse(const ImpostazioneSGP4& s4, double tsince)
{
    const double tsq = tsince * tsince;
    double tempa = 1.0 - s4.c1 * tsince;
    if (!s4.isimp)
        tempa = tempa - s4.d2 * tsq - s4.d3 * tsq * tsince - s4.d4 * tsq * tsq;
    return tempa;
}

double Ritardo_Lungo(const ImpostazioneSGP4& s4, double tsince)
{
    const double tsq = tsince * tsince;
    double templ = s4.t2cof * tsq;
    if (!s4.isimp) {
        const double tcube = tsq * tsince;
        templ = templ + s4.t3cof * tcube + tsince * tcube * (s4.t4cof + tsince * s4.t5cof);
    }
    return templ;
}

double Argomento_Secolare(const ImpostazioneSGP4& s4, double tsince)
{
    // The drag's share of M and omega (delomg, delm) cancels in the sum.
    return s4.reg.xmo + s4.reg.omegao + (s4.xmdot + s4.omgdot) * tsince + s4.xnodp * Ritardo_Lungo(s4, tsince);
}

double Nodo_Secolare(const ImpostazioneSGP4& s4, double tsince)
{
    return s4.reg.xnodeo + s4.xnodot * tsince + s4.xnodcf * tsince * tsince;
}

bool Limiti_Periodiche(const ImpostazioneSGP4& s4, double t0, double t1, LimitiPeriodiche& out)
{
    if (!s4.valida || !(t1 >= t0) || !std::isfinite(t0) || !std::isfinite(t1))
        return false;
    // The semi-major axis over the span, from the drag's factor at a few
    // points (it is a polynomial of low degree), with a percent either way.
    double amin = HUGE_VAL, amax = 0;
    for (int k = 0; k <= 16; ++k) {
        const double tempa = Ritardo_Asse(s4, t0 + (t1 - t0) * k / 16.0);
        if (!(tempa > 0.5))
            return false;
        amin = std::min(amin, tempa * tempa);
        amax = std::max(amax, tempa * tempa);
    }
    amin *= 0.99 * s4.aodp;
    amax *= 1.01 * s4.aodp;
    // The eccentricity: the epoch's, moved by the drag terms at most.
    const double tmax = std::max(std::fabs(t0), std::fabs(t1));
    const double e = std::max(1.0e-6, s4.reg.eo)
        + std::fabs(s4.reg.bstar) * (std::fabs(s4.c4) * tmax + (s4.isimp ? 0.0 : 2.0 * std::fabs(s4.c5)));
    if (!(e < 0.9))
        return false;
    const double beta2 = 1.0 - e * e;
    // The long-period terms: the along-track one, and the one added to the
    // eccentricity vector that Kepler's equation is solved with.
    const double xll = std::fabs(s4.xlcof) * e / (amin * beta2);
    const double ep = e + std::fabs(s4.aycof) / (amin * beta2);
    if (!(ep < 0.95))
        return false;
    // The true from the mean argument: the equation of the centre (of no
    // use as a bound on an eccentric orbit, where it takes half a turn).
    const double centro = ep < 0.2 ? 2.0 * ep * (1.0 + ep) : M_PI;
    // The short periodics of the argument, the node and the inclination.
    const double pl = amin * (1.0 - ep * ep);
    const double temp2 = ck2 / (pl * pl);
    const double corte = temp2 * (0.25 * std::fabs(s4.x7thm1) + 1.5 * std::fabs(s4.cosio) * (1.0 + std::fabs(s4.sinio)));
    out.angolo = centro + xll + corte;
    out.asseMinimo = amin;
    out.asseMassimo = amax;
    out.eccentricita = ep;
    out.raggioMassimo = amax * (1.0 + ep) + 0.5 * ck2 / pl * std::fabs(s4.x1mth2);
    out.raggioMinimo = amin * (1.0 - ep) - 0.5 * ck2 / pl * std::fabs(s4.x1mth2) - 1.5 * temp2 * amax * (1.0 + ep) * std::fabs(s4.x3thm1);
    return std::isfinite(out.angolo) && std::isfinite(out.raggioMassimo);
}
}  // namespace sgp

EsitoPropagazione Calcola_SGP4(const ImpostazioneSGP4& s4, double tsince, StatoOrbitale& out)
{
    if (!s4.valida || !std::isfinite(tsince))
        return EsitoPropagazione::ElementiNonValidi;
    const RegistriElementi& r = s4.reg;

    // Secular gravity and drag.
    const double xmdf = r.xmo + s4.xmdot * tsince;
    const double omgadf = r.omegao + s4.omgdot * tsince;
    const double xnoddf = r.xnodeo + s4.xnodot * tsince;
    double omega = omgadf;
    double xmp = xmdf;
    const double tsq = tsince * tsince;
    const double xnode = xnoddf + s4.xnodcf * tsq;
    double tempe = r.bstar * s4.c4 * tsince;
    const double templ = sgp::Ritardo_Lungo(s4, tsince);
    if (!s4.isimp) {
        const double delomg = s4.omgcof * tsince;
        const double unoetacos = 1.0 + s4.eta * std::cos(xmdf);
        const double delm = s4.xmcof * (unoetacos * unoetacos * unoetacos - s4.delmo);
        const double temp = delomg + delm;
        xmp = xmdf + temp;
        omega = omgadf - temp;
        tempe = tempe + r.bstar * s4.c5 * (std::sin(xmp) - s4.sinmo);
    }
    const double tempa = sgp::Ritardo_Asse(s4, tsince);
    // Drag has shrunk the orbit to nothing: past this the square would make
    // it grow again, a satellite that never decays.
    if (!(tempa > 0))
        return EsitoPropagazione::OrbitaNonSeguibile;
    const double a = s4.aodp * tempa * tempa;
    // The revision's limits, as in the deep-space model: drag driving the
    // eccentricity to 1 or well below zero has left the model; a hair below
    // 1e-6 is held there, as for a circular orbit (going on below zero turns
    // the perigee half a turn and drifts kilometres a day from the revision).
    double e = r.eo - tempe;
    if (!(e < 1.0) || e < -0.001)
        return EsitoPropagazione::OrbitaNonSeguibile;
    if (e < 1.0e-6)
        e = 1.0e-6;
    const double xl = xmp + omega + xnode + s4.xnodp * templ;

    const Periodiche k{s4.cosio, s4.sinio, s4.x3thm1, s4.x1mth2, s4.x7thm1, s4.xlcof, s4.aycof};
    StatoOrbitale o;
    o.ao = s4.ao;
    o.xnodp = s4.xnodp;
    const EsitoPropagazione esito = Completa(k, a, e, xl, omega, xnode, r.xincl, o);
    if (esito == EsitoPropagazione::Ok)
        out = o;
    return esito;
}

EsitoPropagazione Propaga_SGP4(const RegistriElementi& r, double tsince, StatoOrbitale& out)
{
    if (!Registri_Validi(r))
        return EsitoPropagazione::ElementiNonValidi;
    return Calcola_SGP4(Imposta_SGP4(r), tsince, out);
}

// Exposed for the deep-space model, which shares the periodics.
namespace sgp {
EsitoPropagazione Completa_Periodiche(double cosio, double sinio, double x3thm1, double x1mth2, double x7thm1,
                                      double xlcof, double aycof, double a, double e, double xl, double omega,
                                      double xnode, double xinc, StatoOrbitale& out)
{
    const Periodiche k{cosio, sinio, x3thm1, x1mth2, x7thm1, xlcof, aycof};
    return Completa(k, a, e, xl, omega, xnode, xinc, out);
}
}  // namespace sgp

}  // namespace astro
