#include "core/msat.h"

#include <limits>

#include "core/globals_orbit.h"
#include "core/settings.h"

namespace mSat {

namespace {
// The model set-up of each slot, redone only when the slot's element set or
// the model choice changes (a copy of another slot's set is noticed too).
std::array<astro::ModelloSatellite, kSlotArray>& Modelli()
{
    static std::array<astro::ModelloSatellite, kSlotArray> modelli;
    return modelli;
}
}  // namespace

double xincl = 0, xnodeo = 0, omegao = 0, xmo = 0, eo = 0, xno = 0, xndt2o = 0, xndd6o = 0, bstar = 0, epoch = 0;
double ao = 0, xnodp = 0;
astro::ElementiMedi gudtElementiDeep{};
double gdblTempoDeep = 0;
double gdblDs50 = 0;

namespace {
// The deep-space set-up of the last Deep(1).
struct StatoDeep {
    bool impostato = false;
    astro::ImpostazioneSDP4 impostazione{};
};
StatoDeep& Deep_Corrente()
{
    static StatoDeep d;
    return d;
}

bool Scrivi_Stato(astro::EsitoPropagazione esito, const astro::StatoOrbitale& o, bool conAo, bool conXnodp)
{
    if (esito != astro::EsitoPropagazione::Ok)
        return false;
    gdblPosizione = o.posizione;
    gdblVelocita = o.velocita;
    if (conAo)
        ao = o.ao;
    if (conXnodp)
        xnodp = o.xnodp;
    return true;
}
}  // namespace

astro::RegistriElementi Registri_Correnti()
{
    astro::RegistriElementi r;
    r.xincl = xincl;
    r.xnodeo = xnodeo;
    r.omegao = omegao;
    r.xmo = xmo;
    r.eo = eo;
    r.xno = xno;
    r.xndt2o = xndt2o;
    r.xndd6o = xndd6o;
    r.bstar = bstar;
    r.epoch = epoch;
    return r;
}

void Imposta_Registri(const astro::RegistriElementi& r)
{
    xincl = r.xincl;
    xnodeo = r.xnodeo;
    omegao = r.omegao;
    xmo = r.xmo;
    eo = r.eo;
    xno = r.xno;
    xndt2o = r.xndt2o;
    xndd6o = r.xndd6o;
    bstar = r.bstar;
    epoch = r.epoch;
}

bool Propaga_Plan13(double tsince)
{
    astro::StatoOrbitale o;
    return Scrivi_Stato(astro::Propaga_Plan13(Registri_Correnti(), tsince, o), o, false, false);
}

bool Propaga_SGP(double tsince)
{
    astro::StatoOrbitale o;
    return Scrivi_Stato(astro::Propaga_SGP(Registri_Correnti(), tsince, o), o, true, false);
}

bool Propaga_SGP4(double tsince)
{
    astro::StatoOrbitale o;
    return Scrivi_Stato(astro::Propaga_SGP4(Registri_Correnti(), tsince, o), o, true, true);
}

bool Propaga_SDP4(double tsince)
{
    astro::StatoOrbitale o;
    return Scrivi_Stato(astro::Propaga_SDP4(Registri_Correnti(), tsince, o), o, true, true);
}

void Deep(int mode)
{
    StatoDeep& d = Deep_Corrente();
    switch (mode) {
    case 1:
        d.impostazione = astro::Imposta_SDP4(Registri_Correnti());
        d.impostato = true;
        ThetaG(epoch);
        break;
    case 2:
        if (d.impostato)
            astro::Deep_Secolari(d.impostazione, gdblTempoDeep, gudtElementiDeep);
        break;
    case 3:
        if (d.impostato)
            astro::Deep_Periodiche(d.impostazione, gdblTempoDeep, gudtElementiDeep);
        break;
    default:
        break;
    }
}

double ThetaG(double jd)
{
    return astro::ThetaG(jd, gdblDs50);
}

astro::Osservatore Osservatore_Corrente()
{
    return {gsngLatitudine, gsngLongitudine, gsngQuota};
}

astro::OpzioniSatellite Opzioni_Correnti()
{
    astro::OpzioniSatellite o;
    o.propagatore = gintPropagatore;
    o.rifrazione = gblnRifrazione;
    o.magnitudineLambert = gblnMagnitudineLambert;
    o.sogliaSole = gintSogliaSole;
    return o;
}

bool Calcola_Satellite(int slot, double jd, astro::EsitoPropagazione* esito, const astro::SoleSatelliti* sole)
{
    if (slot < 1 || slot >= kSlotArray) {
        if (esito)
            *esito = astro::EsitoPropagazione::ElementiNonValidi;
        return false;
    }
    astro::UsciteSatellite u;
    astro::ModelloSatellite& modello = Modelli()[slot];
    const bool ok = astro::Calcola_Satellite(gudtSatelementi[slot], Osservatore_Corrente(), Opzioni_Correnti(), jd,
                                             gudtValori[slot], u, &modello, sole);
    if (esito)
        *esito = u.esito;
    Imposta_Registri(u.registri);
    if (!ok) {
        ao = modello.Ao();
        xnodp = modello.Xnodp();
        return false;
    }
    ao = u.stato.ao;
    xnodp = u.stato.xnodp;
    gdblPosizione = u.stato.posizione;
    gdblVelocita = u.stato.velocita;
    gdblAltezzaSole = u.altezzaSole;
    return true;
}

}  // namespace mSat

namespace mMate {

namespace {
double Funzione(double t)
{
    if (!mSat::Calcola_Satellite(gintSatelliteCalcolo, t))
        return std::numeric_limits<double>::quiet_NaN();
    return gdblAltezzaMinima - gudtValori[gintSatelliteCalcolo].Altezza;
}
}  // namespace

bool Trova_Massimo_Passaggio(double a, double b, double& tMin, double& fMin)
{
    return astro::Trova_Massimo_Passaggio(Funzione, a, b, tMin, fMin) == astro::EsitoSolutore::Ok;
}

bool Espandi_Intervallo(double t1, double& t2)
{
    return astro::Espandi_Intervallo(Funzione, t1, t2) == astro::EsitoSolutore::Ok;
}

bool Trova_Zero_Passaggio(double a, double b, double& tZero, double& fZero)
{
    return astro::Trova_Zero_Passaggio(Funzione, a, b, tZero, fZero) == astro::EsitoSolutore::Ok;
}

}  // namespace mMate
