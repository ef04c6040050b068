// Plan 13: a Kepler ellipse whose node and perigee drift under the Earth's
// oblateness and whose size and mean motion change with the first
// derivative of the mean motion. The fastest and least accurate model.
#pragma once

#include "astro/sgp4.h"

namespace astro {

// Inertial position (km) and velocity (km/s) tsince minutes after the epoch.
// Uses xincl, xnodeo, omegao, xmo, eo, xno and xndt2o of the registers.
// Fails (leaving out alone) for registers that cannot describe an ellipse or
// when Kepler's equation does not converge.
EsitoPropagazione Propaga_Plan13(const RegistriElementi& r, double tsince, StatoOrbitale& out);

}  // namespace astro
