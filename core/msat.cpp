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
    if (!ok)
        return false;
    gdblPosizione = u.stato.posizione;
    gdblVelocita = u.stato.velocita;
    gdblAltezzaSole = u.altezzaSole;
    return true;
}

}  // namespace mSat
