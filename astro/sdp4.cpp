// SDP4 and its deep-space routine as Spacetrack Report No. 3 gives them
// (DPINIT, DPSEC, DPPER, THETAG), with the report's names.
#include "astro/sdp4.h"

#include <cmath>
#include <limits>

#include "astro/mate.h"

namespace astro {

using namespace sgp;

namespace {
// Lunar-solar constants of the report.
constexpr double zns = 1.19459e-5;
constexpr double c1ss = 2.9864797e-6;
constexpr double zes = 0.01675;
constexpr double znl = 1.5835218e-4;
constexpr double c1l = 4.7968065e-7;
constexpr double zel = 0.05490;
constexpr double zcosis = 0.91744867;
constexpr double zsinis = 0.39785416;
constexpr double zsings = -0.98088458;
constexpr double zcosgs = 0.1945905;
constexpr double q22 = 1.7891679e-6;
constexpr double q31 = 2.1460748e-6;
constexpr double q33 = 2.2123015e-7;
constexpr double g22 = 5.7686396;
constexpr double g32 = 0.95240898;
constexpr double g44 = 1.8014998;
constexpr double g52 = 1.050833;
constexpr double g54 = 4.4108898;
constexpr double root22 = 1.7891679e-6;
constexpr double root32 = 3.7393792e-7;
constexpr double root44 = 7.3636953e-9;
constexpr double root52 = 1.1428639e-7;
constexpr double root54 = 2.1765803e-9;
constexpr double thdt = 4.3752691e-3;
constexpr double fasx2 = 0.13130908;
constexpr double fasx4 = 2.8843198;
constexpr double fasx6 = 0.37448087;
constexpr double stepp = 720.0;
constexpr double stepn = -720.0;
// The revision reduces the angles of the periodics with pi to full precision.
constexpr double kPiEsatto = 3.141592653589793;
constexpr double kDuePiEsatto = 2.0 * kPiEsatto;
constexpr double step2 = 259200.0;
}  // namespace

double ThetaG(double jd, double& ds50)
{
    ds50 = jd - 2433281.5;
    // Greenwich mean sidereal time of IAU 1982, as the 2006 revision of the
    // report takes it. The report's linear formula 1.72944494 + 6.3003880987
    // ds50 falls behind it by 1e-5 rad in 2026, which the resonance terms of
    // twelve-hour orbits turn into tens of metres within a month.
    const double tut1 = (jd - 2451545.0) / 36525.0;
    const double secondi = -6.2e-6 * tut1 * tut1 * tut1 + 0.093104 * tut1 * tut1 +
                           (876600.0 * 3600.0 + 8640184.812866) * tut1 + 67310.54841;
    return Riduci_Giro(secondi * (kPiEsatto / 180.0) / 240.0);
}

namespace {

// DPINIT: the lunar-solar terms and the resonance set-up.
void Deep_Inizializza(const RegistriElementi& r, double eosq, double sinio, double cosio, double betao,
                      double aodp, double theta2, double sing, double cosg, double betao2, double xmdot,
                      double omgdot, double xnodot, double xnodp, DatiDeep& dd)
{
    double ds50 = 0;
    const double thgr = ThetaG(r.epoch, ds50);
    const double eq = r.eo;
    const double xnq = xnodp;
    const double aqnv = 1.0 / aodp;
    const double xqncl = r.xincl;
    const double xmao = r.xmo;
    const double xpidot = omgdot + xnodot;
    const double sinq = std::sin(r.xnodeo);
    const double cosq = std::cos(r.xnodeo);
    const double omegaq = r.omegao;
    const double siniq = sinio, cosiq = cosio, eqsq = eosq, rteqsq = betao, bsq = betao2;
    const double sinomo = sing, cosomo = cosg, cosq2 = theta2;

    // Lunar terms that depend on the day only. As the report does, they are
    // kept for the next set-up of the same day (most element sets of a file
    // share a few epochs' days); kept per thread, so the set-up stays
    // re-entrant, and always equal to a fresh computation.
    const double day = ds50 + 18261.5;
    struct TerminiLunari {
        double day = std::numeric_limits<double>::quiet_NaN();
        double xnodce, stem, ctem, zcosil, zsinil, zsinhl, zcoshl, zmol, zcosgl, zsingl, zmos;
    };
    thread_local TerminiLunari lun;
    if (!(lun.day == day)) {
        lun.xnodce = 4.5236020 - 9.2422029e-4 * day;
        lun.stem = std::sin(lun.xnodce);
        lun.ctem = std::cos(lun.xnodce);
        lun.zcosil = 0.91375164 - 0.03568096 * lun.ctem;
        lun.zsinil = std::sqrt(1.0 - lun.zcosil * lun.zcosil);
        lun.zsinhl = 0.089683511 * lun.stem / lun.zsinil;
        lun.zcoshl = std::sqrt(1.0 - lun.zsinhl * lun.zsinhl);
        const double c = 4.7199672 + 0.22997150 * day;
        const double gam = 5.8351514 + 0.0019443680 * day;
        lun.zmol = Riduci_Giro(c - gam);
        double zx = 0.39785416 * lun.stem / lun.zsinil;
        const double zy = lun.zcoshl * lun.ctem + 0.91744867 * lun.zsinhl * lun.stem;
        zx = mMate::Atan2_360(zx, zy);
        zx = gam + zx - lun.xnodce;
        lun.zcosgl = std::cos(zx);
        lun.zsingl = std::sin(zx);
        lun.zmos = Riduci_Giro(6.2565837 + 0.017201977 * day);
        lun.day = day;
    }
    const double zcosil = lun.zcosil, zsinil = lun.zsinil, zsinhl = lun.zsinhl, zcoshl = lun.zcoshl;
    const double zmol = lun.zmol, zcosgl = lun.zcosgl, zsingl = lun.zsingl, zmos = lun.zmos;

    // Solar terms first, then lunar.
    double zcosg = zcosgs, zsing = zsings, zcosi = zcosis, zsini = zsinis, zcosh = cosq, zsinh = sinq;
    double cc = c1ss, zn = zns, ze = zes;
    const double xnoi = 1.0 / xnq;
    double se = 0, si = 0, sl = 0, sgh = 0, sh = 0;
    double ee2 = 0, e3 = 0, xi2 = 0, xi3 = 0, xl2 = 0, xl3 = 0, xl4 = 0, xgh2 = 0, xgh3 = 0, xgh4 = 0,
           xh2 = 0, xh3 = 0;
    for (int pass = 0; pass < 2; ++pass) {
        const double a1 = zcosg * zcosh + zsing * zcosi * zsinh;
        const double a3 = -zsing * zcosh + zcosg * zcosi * zsinh;
        const double a7 = -zcosg * zsinh + zsing * zcosi * zcosh;
        const double a8 = zsing * zsini;
        const double a9 = zsing * zsinh + zcosg * zcosi * zcosh;
        const double a10 = zcosg * zsini;
        const double a2 = cosiq * a7 + siniq * a8;
        const double a4 = cosiq * a9 + siniq * a10;
        const double a5 = -siniq * a7 + cosiq * a8;
        const double a6 = -siniq * a9 + cosiq * a10;
        const double x1 = a1 * cosomo + a2 * sinomo;
        const double x2 = a3 * cosomo + a4 * sinomo;
        const double x3 = -a1 * sinomo + a2 * cosomo;
        const double x4 = -a3 * sinomo + a4 * cosomo;
        const double x5 = a5 * sinomo;
        const double x6 = a6 * sinomo;
        const double x7 = a5 * cosomo;
        const double x8 = a6 * cosomo;
        const double z31 = 12.0 * x1 * x1 - 3.0 * x3 * x3;
        const double z32 = 24.0 * x1 * x2 - 6.0 * x3 * x4;
        const double z33 = 12.0 * x2 * x2 - 3.0 * x4 * x4;
        double z1 = 3.0 * (a1 * a1 + a2 * a2) + z31 * eqsq;
        double z2 = 6.0 * (a1 * a3 + a2 * a4) + z32 * eqsq;
        double z3 = 3.0 * (a3 * a3 + a4 * a4) + z33 * eqsq;
        const double z11 = -6.0 * a1 * a5 + eqsq * (-24.0 * x1 * x7 - 6.0 * x3 * x5);
        const double z12 = -6.0 * (a1 * a6 + a3 * a5) + eqsq * (-24.0 * (x2 * x7 + x1 * x8) - 6.0 * (x3 * x6 + x4 * x5));
        const double z13 = -6.0 * a3 * a6 + eqsq * (-24.0 * x2 * x8 - 6.0 * x4 * x6);
        const double z21 = 6.0 * a2 * a5 + eqsq * (24.0 * x1 * x5 - 6.0 * x3 * x7);
        const double z22 = 6.0 * (a4 * a5 + a2 * a6) + eqsq * (24.0 * (x2 * x5 + x1 * x6) - 6.0 * (x4 * x7 + x3 * x8));
        const double z23 = 6.0 * a4 * a6 + eqsq * (24.0 * x2 * x6 - 6.0 * x4 * x8);
        z1 = z1 + z1 + bsq * z31;
        z2 = z2 + z2 + bsq * z32;
        z3 = z3 + z3 + bsq * z33;
        const double s3 = cc * xnoi;
        const double s2 = -0.5 * s3 / rteqsq;
        const double s4 = s3 * rteqsq;
        const double s1 = -15.0 * eq * s4;
        const double s5 = x1 * x3 + x2 * x4;
        const double s6 = x2 * x3 + x1 * x4;
        const double s7 = x2 * x4 - x1 * x3;
        se = s1 * zn * s5;
        si = s2 * zn * (z11 + z13);
        sl = -zn * s3 * (z1 + z3 - 14.0 - 6.0 * eqsq);
        sgh = s4 * zn * (z31 + z33 - 6.0);
        sh = -zn * s2 * (z21 + z23);
        if (xqncl < 5.2359877e-2)
            sh = 0.0;
        ee2 = 2.0 * s1 * s6;
        e3 = 2.0 * s1 * s7;
        xi2 = 2.0 * s2 * z12;
        xi3 = 2.0 * s2 * (z13 - z11);
        xl2 = -2.0 * s3 * z2;
        xl3 = -2.0 * s3 * (z3 - z1);
        xl4 = -2.0 * s3 * (-21.0 - 9.0 * eqsq) * ze;
        xgh2 = 2.0 * s4 * z32;
        xgh3 = 2.0 * s4 * (z33 - z31);
        xgh4 = -18.0 * s4 * ze;
        xh2 = -2.0 * s2 * z22;
        xh3 = -2.0 * s2 * (z23 - z21);
        if (pass == 1)
            break;
        // Keep the solar terms, set up the lunar pass.
        dd.sse = se;
        dd.ssi = si;
        dd.ssl = sl;
        dd.ssh = sh / siniq;
        dd.ssg = sgh - cosiq * dd.ssh;
        dd.se2 = ee2;
        dd.si2 = xi2;
        dd.sl2 = xl2;
        dd.sgh2 = xgh2;
        dd.sh2 = xh2;
        dd.se3 = e3;
        dd.si3 = xi3;
        dd.sl3 = xl3;
        dd.sgh3 = xgh3;
        dd.sh3 = xh3;
        dd.sl4 = xl4;
        dd.sgh4 = xgh4;
        zcosg = zcosgl;
        zsing = zsingl;
        zcosi = zcosil;
        zsini = zsinil;
        zcosh = zcoshl * cosq + zsinhl * sinq;
        zsinh = sinq * zcoshl - cosq * zsinhl;
        zn = znl;
        cc = c1l;
        ze = zel;
    }
    dd.ee2 = ee2;
    dd.e3 = e3;
    dd.xi2 = xi2;
    dd.xi3 = xi3;
    dd.xl2 = xl2;
    dd.xl3 = xl3;
    dd.xl4 = xl4;
    dd.xgh2 = xgh2;
    dd.xgh3 = xgh3;
    dd.xgh4 = xgh4;
    dd.xh2 = xh2;
    dd.xh3 = xh3;
    dd.sse = dd.sse + se;
    dd.ssi = dd.ssi + si;
    dd.ssl = dd.ssl + sl;
    dd.ssg = dd.ssg + sgh - cosiq / siniq * sh;
    dd.ssh = dd.ssh + sh / siniq;
    dd.zmos = zmos;
    dd.zmol = zmol;
    dd.siniq = siniq;
    dd.cosiq = cosiq;
    dd.xqncl = xqncl;
    dd.xnq = xnq;
    dd.omegaq = omegaq;
    dd.omgdt = omgdot;
    dd.thgr = thgr;

    // Geopotential resonance.
    dd.iresfl = false;
    dd.isynfl = false;
    double bfact = 0;
    if (xnq < 0.0052359877 && xnq > 0.0034906585) {
        // Synchronous (one-day) resonance.
        dd.iresfl = true;
        dd.isynfl = true;
        const double g200 = 1.0 + eqsq * (-2.5 + 0.8125 * eqsq);
        const double g310 = 1.0 + 2.0 * eqsq;
        const double g300 = 1.0 + eqsq * (-6.0 + 6.60937 * eqsq);
        const double f220 = 0.75 * (1.0 + cosiq) * (1.0 + cosiq);
        const double f311 = 0.9375 * siniq * siniq * (1.0 + 3.0 * cosiq) - 0.75 * (1.0 + cosiq);
        double f330 = 1.0 + cosiq;
        f330 = 1.875 * f330 * f330 * f330;
        double del1 = 3.0 * xnq * xnq * aqnv * aqnv;
        dd.del2 = 2.0 * del1 * f220 * g200 * q22;
        dd.del3 = 3.0 * del1 * f330 * g300 * q33 * aqnv;
        dd.del1 = del1 * f311 * g310 * q31 * aqnv;
        dd.xlamo = xmao + r.xnodeo + r.omegao - thgr;
        bfact = xmdot + xpidot - thdt;
        bfact = bfact + dd.ssl + dd.ssg + dd.ssh;
    } else {
        if (xnq < 0.00826 || xnq > 0.00924)
            return;
        if (eq < 0.5)
            return;
        // Half-day resonance.
        dd.iresfl = true;
        const double eoc = eq * eqsq;
        const double g201 = -0.306 - (eq - 0.64) * 0.440;
        double g211, g310, g322, g410, g422, g520, g533, g521, g532;
        if (eq <= 0.65) {
            g211 = 3.616 - 13.247 * eq + 16.290 * eqsq;
            g310 = -19.302 + 117.390 * eq - 228.419 * eqsq + 156.591 * eoc;
            g322 = -18.9068 + 109.7927 * eq - 214.6334 * eqsq + 146.5816 * eoc;
            g410 = -41.122 + 242.694 * eq - 471.094 * eqsq + 313.953 * eoc;
            g422 = -146.407 + 841.880 * eq - 1629.014 * eqsq + 1083.435 * eoc;
            g520 = -532.114 + 3017.977 * eq - 5740.0 * eqsq + 3708.276 * eoc;
        } else {
            g211 = -72.099 + 331.819 * eq - 508.738 * eqsq + 266.724 * eoc;
            g310 = -346.844 + 1582.851 * eq - 2415.925 * eqsq + 1246.113 * eoc;
            g322 = -342.585 + 1554.908 * eq - 2366.899 * eqsq + 1215.972 * eoc;
            g410 = -1052.797 + 4758.686 * eq - 7193.992 * eqsq + 3651.957 * eoc;
            g422 = -3581.69 + 16178.11 * eq - 24462.77 * eqsq + 12422.52 * eoc;
            if (eq <= 0.715)
                g520 = 1464.74 - 4664.75 * eq + 3763.64 * eqsq;
            else
                g520 = -5149.66 + 29936.92 * eq - 54087.36 * eqsq + 31324.56 * eoc;
        }
        if (eq < 0.7) {
            g533 = -919.2277 + 4988.61 * eq - 9064.77 * eqsq + 5542.21 * eoc;
            g521 = -822.71072 + 4568.6173 * eq - 8491.4146 * eqsq + 5337.524 * eoc;
            g532 = -853.666 + 4690.25 * eq - 8624.77 * eqsq + 5341.4 * eoc;
        } else {
            g533 = -37995.78 + 161616.52 * eq - 229838.2 * eqsq + 109377.94 * eoc;
            g521 = -51752.104 + 218913.95 * eq - 309468.16 * eqsq + 146349.42 * eoc;
            g532 = -40023.88 + 170470.89 * eq - 242699.48 * eqsq + 115605.82 * eoc;
        }
        const double sini2 = siniq * siniq;
        const double f220 = 0.75 * (1.0 + 2.0 * cosiq + cosq2);
        const double f221 = 1.5 * sini2;
        const double f321 = 1.875 * siniq * (1.0 - 2.0 * cosiq - 3.0 * cosq2);
        const double f322 = -1.875 * siniq * (1.0 + 2.0 * cosiq - 3.0 * cosq2);
        const double f441 = 35.0 * sini2 * f220;
        const double f442 = 39.3750 * sini2 * sini2;
        const double f522 = 9.84375 * siniq * (sini2 * (1.0 - 2.0 * cosiq - 5.0 * cosq2) +
                                               0.33333333 * (-2.0 + 4.0 * cosiq + 6.0 * cosq2));
        const double f523 = siniq * (4.92187512 * sini2 * (-2.0 - 4.0 * cosiq + 10.0 * cosq2) +
                                     6.56250012 * (1.0 + 2.0 * cosiq - 3.0 * cosq2));
        const double f542 = 29.53125 * siniq * (2.0 - 8.0 * cosiq + cosq2 * (-12.0 + 8.0 * cosiq + 10.0 * cosq2));
        const double f543 = 29.53125 * siniq * (-2.0 - 8.0 * cosiq + cosq2 * (12.0 + 8.0 * cosiq - 10.0 * cosq2));
        const double xno2 = xnq * xnq;
        const double ainv2 = aqnv * aqnv;
        double temp1 = 3.0 * xno2 * ainv2;
        double temp = temp1 * root22;
        dd.d2201 = temp * f220 * g201;
        dd.d2211 = temp * f221 * g211;
        temp1 = temp1 * aqnv;
        temp = temp1 * root32;
        dd.d3210 = temp * f321 * g310;
        dd.d3222 = temp * f322 * g322;
        temp1 = temp1 * aqnv;
        temp = 2.0 * temp1 * root44;
        dd.d4410 = temp * f441 * g410;
        dd.d4422 = temp * f442 * g422;
        temp1 = temp1 * aqnv;
        temp = temp1 * root52;
        dd.d5220 = temp * f522 * g520;
        dd.d5232 = temp * f523 * g532;
        temp = 2.0 * temp1 * root54;
        dd.d5421 = temp * f542 * g521;
        dd.d5433 = temp * f543 * g533;
        dd.xlamo = xmao + r.xnodeo + r.xnodeo - thgr - thgr;
        bfact = xmdot + xnodot + xnodot - thdt - thdt;
        bfact = bfact + dd.ssl + dd.ssh + dd.ssh;
    }
    dd.xfact = bfact - xnq;
}

// Sines and cosines of the constant phases of the resonance terms, so that
// each step of the integration needs the sine and cosine of two angles only.
struct FasiRisonanza {
    double sg22, cg22, sg32, cg32, sg44, cg44, sg52, cg52, sg54, cg54;
    double sfx2, cfx2, sfx4, cfx4, sfx6, cfx6;  // of fasx2, 2 fasx4, 3 fasx6
    FasiRisonanza()
    {
        sg22 = std::sin(g22), cg22 = std::cos(g22);
        sg32 = std::sin(g32), cg32 = std::cos(g32);
        sg44 = std::sin(g44), cg44 = std::cos(g44);
        sg52 = std::sin(g52), cg52 = std::cos(g52);
        sg54 = std::sin(g54), cg54 = std::cos(g54);
        sfx2 = std::sin(fasx2), cfx2 = std::cos(fasx2);
        sfx4 = std::sin(2.0 * fasx4), cfx4 = std::cos(2.0 * fasx4);
        sfx6 = std::sin(3.0 * fasx6), cfx6 = std::cos(3.0 * fasx6);
    }
};
const FasiRisonanza kFasi;

// The derivatives of the resonance integrator at the state (xli, xni) and
// time atime. The report's sines and cosines of sums of angles are formed
// from those of the angles by the addition formulas (the same values to a
// few units of the last place, at a fraction of the cost).
// so and co are the sine and cosine of the argument of perigee at atime,
// omegaq + omgdt atime (used by the half-day terms only).
void Derivate_Risonanza(const DatiDeep& dd, double xli, double xni, double so, double co, double& xldot,
                        double& xndot, double& xnddt)
{
    const FasiRisonanza& k = kFasi;
    const double sl = std::sin(xli), cl = std::cos(xli);
    const double s2l = 2.0 * sl * cl, c2l = cl * cl - sl * sl;
    if (dd.isynfl) {
        // xli - fasx2, 2 (xli - fasx4), 3 (xli - fasx6).
        const double s3l = sl * (3.0 - 4.0 * sl * sl), c3l = cl * (4.0 * cl * cl - 3.0);
        const double sa = sl * k.cfx2 - cl * k.sfx2, ca = cl * k.cfx2 + sl * k.sfx2;
        const double sb = s2l * k.cfx4 - c2l * k.sfx4, cb = c2l * k.cfx4 + s2l * k.sfx4;
        const double sc = s3l * k.cfx6 - c3l * k.sfx6, cc = c3l * k.cfx6 + s3l * k.sfx6;
        xndot = dd.del1 * sa + dd.del2 * sb + dd.del3 * sc;
        xnddt = dd.del1 * ca + 2.0 * dd.del2 * cb + 3.0 * dd.del3 * cc;
    } else {
        const double s2o = 2.0 * so * co, c2o = co * co - so * so;
        // The sums of angles the terms need.
        const double s_2o_l = s2o * cl + c2o * sl, c_2o_l = c2o * cl - s2o * sl;     // 2 omega + l
        const double s_o_l = so * cl + co * sl, c_o_l = co * cl - so * sl;           // omega + l
        const double s_l_o = sl * co - cl * so, c_l_o = cl * co + sl * so;           // l - omega
        const double s_2o_2l = 2.0 * s_o_l * c_o_l, c_2o_2l = c_o_l * c_o_l - s_o_l * s_o_l;  // 2 omega + 2 l
        const double s_o_2l = so * c2l + co * s2l, c_o_2l = co * c2l - so * s2l;     // omega + 2 l
        const double s_2l_o = s2l * co - c2l * so, c_2l_o = c2l * co + s2l * so;     // 2 l - omega
        // sin and cos of x - g from those of x.
        auto sen = [](double sx, double cx, double sg, double cg) { return sx * cg - cx * sg; };
        auto cosen = [](double sx, double cx, double sg, double cg) { return cx * cg + sx * sg; };
        xndot = dd.d2201 * sen(s_2o_l, c_2o_l, k.sg22, k.cg22) + dd.d2211 * sen(sl, cl, k.sg22, k.cg22) +
                dd.d3210 * sen(s_o_l, c_o_l, k.sg32, k.cg32) + dd.d3222 * sen(s_l_o, c_l_o, k.sg32, k.cg32) +
                dd.d4410 * sen(s_2o_2l, c_2o_2l, k.sg44, k.cg44) + dd.d4422 * sen(s2l, c2l, k.sg44, k.cg44) +
                dd.d5220 * sen(s_o_l, c_o_l, k.sg52, k.cg52) + dd.d5232 * sen(s_l_o, c_l_o, k.sg52, k.cg52) +
                dd.d5421 * sen(s_o_2l, c_o_2l, k.sg54, k.cg54) + dd.d5433 * sen(s_2l_o, c_2l_o, k.sg54, k.cg54);
        xnddt = dd.d2201 * cosen(s_2o_l, c_2o_l, k.sg22, k.cg22) + dd.d2211 * cosen(sl, cl, k.sg22, k.cg22) +
                dd.d3210 * cosen(s_o_l, c_o_l, k.sg32, k.cg32) + dd.d3222 * cosen(s_l_o, c_l_o, k.sg32, k.cg32) +
                dd.d5220 * cosen(s_o_l, c_o_l, k.sg52, k.cg52) + dd.d5232 * cosen(s_l_o, c_l_o, k.sg52, k.cg52) +
                2.0 * (dd.d4410 * cosen(s_2o_2l, c_2o_2l, k.sg44, k.cg44) + dd.d4422 * cosen(s2l, c2l, k.sg44, k.cg44) +
                       dd.d5421 * cosen(s_o_2l, c_o_2l, k.sg54, k.cg54) +
                       dd.d5433 * cosen(s_2l_o, c_2l_o, k.sg54, k.cg54));
    }
    xldot = xni + dd.xfact;
    xnddt = xnddt * xldot;
}

}  // namespace

void Deep_Secolari(const ImpostazioneSDP4& s, double t, ElementiMedi& m, StatoIntegratore* integratore)
{
    const DatiDeep& dd = s.deep;
    m.xll = m.xll + dd.ssl * t;
    m.omgadf = m.omgadf + dd.ssg * t;
    m.xnode = m.xnode + dd.ssh * t;
    m.em = s.reg.eo + dd.sse * t;
    // An inclination driven below zero is left negative here: the periodics
    // are added to it as it is and the sign is turned after them.
    m.xinc = s.reg.xincl + dd.ssi * t;
    if (!dd.iresfl)
        return;

    // Resonance: fixed-step integration from the epoch to t. The argument
    // of perigee of the half-day terms turns by the same angle every step:
    // its sine and cosine are carried along by that rotation.
    double atime = 0.0;
    double xni = dd.xnq;
    double xli = dd.xlamo;
    double so = 0.0, co = 1.0;
    const double delt = t >= 0.0 ? stepp : stepn;
    if (!dd.isynfl) {
        so = std::sin(dd.omegaq);
        co = std::cos(dd.omegaq);
    }
    // Resume from the last grid point reached when it lies between the epoch
    // and t: the steps from the epoch to it would repeat exactly.
    if (integratore && integratore->valido &&
        ((t >= 0.0 && integratore->atime >= 0.0 && integratore->atime <= t) ||
         (t < 0.0 && integratore->atime < 0.0 && integratore->atime >= t))) {
        atime = integratore->atime;
        xli = integratore->xli;
        xni = integratore->xni;
        so = integratore->so;
        co = integratore->co;
    }
    double sd = 0.0, cd = 1.0;
    if (!dd.isynfl && std::fabs(t - atime) >= stepp) {
        sd = std::sin(dd.omgdt * delt);
        cd = std::cos(dd.omgdt * delt);
    }
    double xldot = 0, xndot = 0, xnddt = 0;
    // The step count is bounded by |t| / 720; a non-finite t never gets here.
    while (std::fabs(t - atime) >= stepp) {
        Derivate_Risonanza(dd, xli, xni, so, co, xldot, xndot, xnddt);
        xli = xli + xldot * delt + xndot * step2;
        xni = xni + xndot * delt + xnddt * step2;
        atime = atime + delt;
        const double so1 = so * cd + co * sd;
        co = co * cd - so * sd;
        so = so1;
    }
    if (integratore)
        *integratore = {true, atime, xli, xni, so, co};
    Derivate_Risonanza(dd, xli, xni, so, co, xldot, xndot, xnddt);
    const double ft = t - atime;
    m.xn = xni + xndot * ft + xnddt * ft * ft * 0.5;
    const double xl = xli + xldot * ft + xndot * ft * ft * 0.5;
    const double temp = -m.xnode + dd.thgr + t * thdt;
    m.xll = xl - m.omgadf + temp;
    if (!dd.isynfl)
        m.xll = xl + temp + temp;
}

void Deep_Periodiche(const ImpostazioneSDP4& s, double t, ElementiMedi& m)
{
    const DatiDeep& dd = s.deep;
    // Solar periodics.
    double zm = dd.zmos + zns * t;
    double zf = zm + 0.0335 * std::sin(zm);
    double sinzf = std::sin(zf);
    double f2 = 0.5 * sinzf * sinzf - 0.25;
    double f3 = -0.5 * sinzf * std::cos(zf);
    const double ses = dd.se2 * f2 + dd.se3 * f3;
    const double sis = dd.si2 * f2 + dd.si3 * f3;
    const double sls = dd.sl2 * f2 + dd.sl3 * f3 + dd.sl4 * sinzf;
    const double sghs = dd.sgh2 * f2 + dd.sgh3 * f3 + dd.sgh4 * sinzf;
    const double shs = dd.sh2 * f2 + dd.sh3 * f3;
    // Lunar periodics.
    zm = dd.zmol + znl * t;
    zf = zm + 0.1098 * std::sin(zm);
    sinzf = std::sin(zf);
    f2 = 0.5 * sinzf * sinzf - 0.25;
    f3 = -0.5 * sinzf * std::cos(zf);
    const double sel = dd.ee2 * f2 + dd.e3 * f3;
    const double sil = dd.xi2 * f2 + dd.xi3 * f3;
    const double sll = dd.xl2 * f2 + dd.xl3 * f3 + dd.xl4 * sinzf;
    const double sghl = dd.xgh2 * f2 + dd.xgh3 * f3 + dd.xgh4 * sinzf;
    const double shl = dd.xh2 * f2 + dd.xh3 * f3;
    const double pe = ses + sel;
    const double pinc = sis + sil;
    const double pl = sls + sll;
    double pgh = sghs + sghl;
    double ph = shs + shl;

    // The 2006 revision of the report: the periodics are weighted by the
    // perturbed inclination, and it is the perturbed inclination that picks
    // their form. The report used the inclination of the epoch for both,
    // which puts low-inclination orbits (geostationary ones above all) one
    // to a hundred kilometres off within a month.
    m.xinc = m.xinc + pinc;
    m.em = m.em + pe;
    const double sinip = std::sin(m.xinc);
    const double cosip = std::cos(m.xinc);
    if (m.xinc >= 0.2) {
        // Apply the periodics directly.
        ph = ph / sinip;
        pgh = pgh - cosip * ph;
        m.omgadf = m.omgadf + pgh;
        m.xnode = m.xnode + ph;
        m.xll = m.xll + pl;
    } else {
        // Lyddane's form for low inclinations. The node comes in reduced to
        // less than a turn with its sign kept (as the secular node is never
        // more than a turn from the epoch's, between 0 and 2 pi, the result
        // moves smoothly); the new node is kept on the turn of the old one.
        const double sinop = std::sin(m.xnode);
        const double cosop = std::cos(m.xnode);
        double alfdp = sinip * sinop;
        double betdp = sinip * cosop;
        const double dalf = ph * cosop + pinc * cosip * sinop;
        const double dbet = -ph * sinop + pinc * cosip * cosop;
        alfdp = alfdp + dalf;
        betdp = betdp + dbet;
        double xnode = std::fmod(m.xnode, kDuePiEsatto);
        const double xls = m.xll + m.omgadf + pl + pgh + (cosip - pinc * sinip) * xnode;
        const double xnoh = xnode;
        xnode = std::atan2(alfdp, betdp);
        if (std::fabs(xnoh - xnode) > kPiEsatto)
            xnode = xnode < xnoh ? xnode + kDuePiEsatto : xnode - kDuePiEsatto;
        m.xnode = xnode;
        m.xll = m.xll + pl;
        m.omgadf = xls - m.xll - cosip * m.xnode;
    }
}

ImpostazioneSDP4 Imposta_SDP4(const RegistriElementi& registri)
{
    ImpostazioneSDP4 s4{};
    s4.reg = registri;
    if (!Registri_Validi(registri))
        return s4;
    // The low-inclination periodics depend on the node's turn: a node
    // written a turn or two away from 0 to 360 degrees is the same orbit.
    RegistriElementi r = registri;
    r.xnodeo = std::fmod(r.xnodeo, kDuePiEsatto);
    if (r.xnodeo < 0.0)
        r.xnodeo += kDuePiEsatto;
    s4.reg = r;
    const Derivazione d = Deriva_Moto_Medio(r.xno, r.eo, r.xincl);
    const double theta2 = d.theta2, betao = d.betao, betao2 = d.betao2, aodp = d.aodp, xnodp = d.xnodp;
    const double cosio = d.cosio;
    s4.ao = d.ao;
    s4.aodp = aodp;
    s4.xnodp = xnodp;
    s4.cosio = cosio;
    s4.x3thm1 = d.x3thm1;

    const double sing = std::sin(r.omegao);
    const double cosg = std::cos(r.omegao);
    const ImpostazioneComune k = Imposta_Comune(r, d, cosg * cosg - sing * sing);  // cos 2 omega
    s4.c1 = k.c1;
    s4.x1mth2 = k.x1mth2;
    s4.c4 = k.c4;
    s4.xmdot = k.xmdot;
    s4.omgdot = k.omgdot;
    s4.xnodot = k.xnodot;
    s4.xnodcf = k.xnodcf;
    s4.t2cof = k.t2cof;
    s4.xlcof = k.xlcof;
    s4.aycof = k.aycof;
    s4.x7thm1 = k.x7thm1;
    const double sinio = k.sinio;
    s4.sinio = sinio;

    // The deep-space terms divide by sin i; an equatorial orbit is kept a
    // hair away from it rather than dividing by zero.
    double siniq = sinio;
    if (std::fabs(siniq) < 1e-12)
        siniq = siniq < 0 ? -1e-12 : 1e-12;
    Deep_Inizializza(r, d.eosq, siniq, cosio, betao, aodp, theta2, sing, cosg, betao2, s4.xmdot, s4.omgdot,
                     s4.xnodot, xnodp, s4.deep);
    const DatiDeep& dd = s4.deep;
    s4.valida = std::isfinite(s4.xmdot) && std::isfinite(s4.omgdot) && std::isfinite(s4.xnodot) &&
                std::isfinite(s4.c1) && std::isfinite(s4.c4) && std::isfinite(dd.sse) && std::isfinite(dd.ssi) &&
                std::isfinite(dd.ssl) && std::isfinite(dd.ssg) && std::isfinite(dd.ssh) && std::isfinite(dd.xfact) &&
                std::isfinite(dd.xlamo);
    return s4;
}

EsitoPropagazione Calcola_SDP4(const ImpostazioneSDP4& s4, double tsince, StatoOrbitale& out,
                               StatoIntegratore* integratore)
{
    if (!s4.valida || !std::isfinite(tsince))
        return EsitoPropagazione::ElementiNonValidi;
    const RegistriElementi& r = s4.reg;

    // Secular gravity and drag.
    ElementiMedi m;
    m.xll = r.xmo + s4.xmdot * tsince;  // xmdf
    m.omgadf = r.omegao + s4.omgdot * tsince;
    const double xnoddf = r.xnodeo + s4.xnodot * tsince;
    const double tsq = tsince * tsince;
    m.xnode = xnoddf + s4.xnodcf * tsq;
    const double tempa = 1.0 - s4.c1 * tsince;
    const double tempe = r.bstar * s4.c4 * tsince;
    const double templ = s4.t2cof * tsq;
    m.xn = s4.xnodp;
    Deep_Secolari(s4, tsince, m, integratore);
    if (!(m.xn > 0))
        return EsitoPropagazione::OrbitaNonSeguibile;
    // Drag has shrunk the orbit to nothing: past this the square would make
    // it grow again, a satellite that never decays.
    if (!(tempa > 0))
        return EsitoPropagazione::OrbitaNonSeguibile;
    const double a = std::pow(xke / m.xn, tothrd) * tempa * tempa;
    m.em = m.em - tempe;
    // The revision's limits: an eccentricity the secular terms drive to 1
    // or beyond has left the model; one driven a hair below zero is held at
    // 1e-6, as for a circular orbit.
    if (!(m.em < 1.0) || m.em < -0.001)
        return EsitoPropagazione::OrbitaNonSeguibile;
    if (m.em < 1.0e-6)
        m.em = 1.0e-6;
    m.xll = m.xll + s4.xnodp * templ;  // xmam
    // Node, perigee and mean longitude reduced as the revision reduces them
    // (the node keeps its sign, which the low-inclination periodics see).
    const double xlm = m.xll + m.omgadf + m.xnode;
    m.xnode = std::fmod(m.xnode, kDuePiEsatto);
    m.omgadf = std::fmod(m.omgadf, kDuePiEsatto);
    m.xll = std::fmod(std::fmod(xlm, kDuePiEsatto) - m.omgadf - m.xnode, kDuePiEsatto);
    Deep_Periodiche(s4, tsince, m);
    if (m.xinc < 0.0) {
        m.xinc = -m.xinc;
        m.xnode = m.xnode + pi;
        m.omgadf = m.omgadf - pi;
    }
    if (m.em < 0.0 || m.em > 1.0)
        return EsitoPropagazione::OrbitaNonSeguibile;
    const double xl = m.xll + m.omgadf + m.xnode;

    // The long- and short-period terms with the functions of the perturbed
    // inclination (the report used those of the epoch).
    const double sinip = std::sin(m.xinc);
    const double cosip = std::cos(m.xinc);
    const double cosisq = cosip * cosip;
    double opc = 1.0 + cosip;
    if (std::fabs(opc) < 1.5e-12)
        opc = 1.5e-12;
    const double a3ovk2 = 2.53881e-6 / 0.000541308;  // -xj3/ck2
    const double xlcof = 0.125 * a3ovk2 * sinip * (3.0 + 5.0 * cosip) / opc;
    const double aycof = 0.25 * a3ovk2 * sinip;

    StatoOrbitale o;
    o.ao = s4.ao;
    o.xnodp = s4.xnodp;
    const EsitoPropagazione esito =
        Completa_Periodiche(cosip, sinip, 3.0 * cosisq - 1.0, 1.0 - cosisq, 7.0 * cosisq - 1.0, xlcof, aycof, a,
                            m.em, xl, m.omgadf, m.xnode, m.xinc, o);
    if (esito == EsitoPropagazione::Ok)
        out = o;
    return esito;
}

EsitoPropagazione Propaga_SDP4(const RegistriElementi& r, double tsince, StatoOrbitale& out)
{
    if (!Registri_Validi(r))
        return EsitoPropagazione::ElementiNonValidi;
    return Calcola_SDP4(Imposta_SDP4(r), tsince, out);
}

}  // namespace astro
