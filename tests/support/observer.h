#pragma once
// The observer most tests compute for: a place, the zone one hour east of
// Greenwich without daylight saving, SGP4/SDP4 (model 3), no refraction.
#include "core/settings.h"

namespace testsupport {

inline void Osservatore(float latitudine, float longitudine, float quota)
{
    gsngLatitudine = latitudine;
    gsngLongitudine = longitudine;
    gsngQuota = quota;
    gsngFusoOrario = 1;
    gbytOraLegale = 0;
    gintPropagatore = 3;
    gblnRifrazione = false;
}

} // namespace testsupport
