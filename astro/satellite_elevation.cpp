#include "astro/satellite.h"
#include "astro/vector_state.h"

#include <cmath>

namespace astro {

namespace {
// The Earth's rotation, radians per second, as Rotazione_Terra counts it.
constexpr double kRotazioneSecondo = 6.300388099 / 86400.0;
constexpr double kRadGrad = 57.295779513;
}  // namespace

AltezzaSatellite::AltezzaSatellite(const Satelement& s, const Osservatore& oss, const OpzioniSatellite& opz)
    : rifrazione_(opz.rifrazione)
{
    // Cleared before any of the set-up's own arithmetic: the unpacking and
    // the observer's geometry are computation too.
    Azzera_Meta_Alte();
    reg_ = Registri_Da_Satelement(s);
    geo_ = Geometria(oss);
    modello_.Imposta(reg_, opz.propagatore);
    validi_ = Registri_Validi(reg_);
}

bool AltezzaSatellite::Calcola(double jd, VistaSatellite& out)
{
    Azzera_Meta_Alte();
    if (!validi_ || !std::isfinite(jd)) {
        esito_ = EsitoPropagazione::ElementiNonValidi;
        return false;
    }
    const double D = jd - reg_.epoch;
    StatoOrbitale st;
    st.ao = modello_.Ao();
    st.xnodp = modello_.Xnodp();
    esito_ = modello_.Propaga(D * 1440.0, st);
    if (esito_ != EsitoPropagazione::Ok)
        return false;
    const double* r = st.posizione.data();
    const double* vel = st.velocita.data();

    // Into the Earth-fixed frame, as the full computation does.
    const double theta = Rotazione_Terra(reg_.epoch, D);
    const double ct = std::cos(theta), sn = std::sin(theta);
    const double xf = r[0] * ct + r[1] * sn, yf = -r[0] * sn + r[1] * ct, zf = r[2];
    const double vxf = vel[0] * ct + vel[1] * sn, vyf = -vel[0] * sn + vel[1] * ct, vzf = vel[2];

    const double rx = xf - geo_.pos[0], ry = yf - geo_.pos[1], rz = zf - geo_.pos[2];
    const double distanza = std::sqrt(rx * rx + ry * ry + rz * rz);
    if (!(distanza > 0)) {
        esito_ = EsitoPropagazione::OrbitaNonSeguibile;
        return false;
    }
    const double ux = rx / distanza, uy = ry / distanza, uz = rz / distanza;
    const double* up = geo_.up;
    const double vz = ux * up[0] + uy * up[1] + uz * up[2];
    double altezza = Altezza_Gradi(vz);
    if (rifrazione_)
        altezza += Correzione_Rifrazione(altezza);

    // The rate: the satellite's velocity seen from the turning Earth.
    const double wx = vxf + kRotazioneSecondo * yf, wy = vyf - kRotazioneSecondo * xf, wz = vzf;
    const double radiale = wx * ux + wy * uy + wz * uz;
    const double dvz = ((wx * up[0] + wy * up[1] + wz * up[2]) - radiale * vz) / distanza;
    const double coseno = std::sqrt(std::max(1e-12, 1.0 - vz * vz));
    const double variazione = dvz / coseno * kRadGrad;
    if (!std::isfinite(altezza) || !std::isfinite(variazione)) {
        esito_ = EsitoPropagazione::RisultatoNonFinito;
        return false;
    }
    out.altezza = altezza;
    out.variazione = variazione;
    out.r[0] = xf;
    out.r[1] = yf;
    out.r[2] = zf;
    out.distanzaCentro = std::sqrt(xf * xf + yf * yf + zf * zf);
    const double hx = r[1] * vel[2] - r[2] * vel[1];
    const double hy = r[2] * vel[0] - r[0] * vel[2];
    const double hz = r[0] * vel[1] - r[1] * vel[0];
    const double h = std::sqrt(hx * hx + hy * hy + hz * hz);
    out.velocitaAngolare = h / (out.distanzaCentro * out.distanzaCentro);
    if (h > 0) {
        out.normale[0] = (hx * ct + hy * sn) / h;
        out.normale[1] = (-hx * sn + hy * ct) / h;
        out.normale[2] = hz / h;
    }
    return true;
}

}  // namespace astro
