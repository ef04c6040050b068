#pragma once
// The satellite computation on the working list: thin wrappers that read
// the observer and the options from the settings globals and write the
// slot's state and the module values of core/globals_orbit.h.
#include "astro/pass_solver.h"
#include "astro/satellite.h"

namespace mSat {

// Computes the satellite of working-list slot (1 to 202) at the Julian date
// jd (UT) into gudtValori(slot), gdblPosizione, gdblVelocita and
// gdblAltezzaSole. Returns false, and writes nothing, for a slot outside 1 to
// 202 or a satellite whose state cannot be computed at jd (an empty or
// malformed element set, an orbit that has decayed past what the model can
// follow, an unknown model number); astro::EsitoPropagazione of the failure
// in *esito when given. A listed satellite that fails is best treated as
// decayed.
// sole, when given for jd, is the Sun computed once for every satellite of
// a tick.
bool Calcola_Satellite(int slot, double jd, astro::EsitoPropagazione* esito = nullptr,
                       const astro::SoleSatelliti* sole = nullptr);

// The observer and the options the computation uses, from the settings.
astro::Osservatore Osservatore_Corrente();
astro::OpzioniSatellite Opzioni_Correnti();

}  // namespace mSat
