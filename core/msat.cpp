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

bool Calcola_Satellite(int slot, double jd, astro::EsitoPropagazione* esito)
{
    if (slot < 1 || slot >= kSlotArray) {
        if (esito)
            *esito = astro::EsitoPropagazione::ElementiNonValidi;
        return false;
    }
    astro::UsciteSatellite u;
    const bool ok = astro::Calcola_Satellite(gudtSatelementi[slot], Osservatore_Corrente(), Opzioni_Correnti(), jd,
                                             gudtValori[slot], u, &Modelli()[slot]);
    if (esito)
        *esito = u.esito;
    if (!ok)
        return false;
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
