#pragma once
// The filters of the three pass-search tabs open wide: minimum elevation 10
// degrees, every azimuth, morning and afternoon, visible or not.
#include "core/settings.h"

namespace testsupport {

inline void Filtri_Aperti()
{
    gdblAltezzaMin = {10, 10, 10};
    gdblAzimuthMin = {0, 0, 0};
    gdblAzimuthMax = {360, 360, 360};
    gblnFiltroAM = {true, true, true};
    gblnFiltroPM = {true, true, true};
    gblnSoloVisibili = {false, false, false};
}

} // namespace testsupport
