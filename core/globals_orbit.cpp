#include "core/globals_orbit.h"

std::array<Satelement, kSlotArray> gudtSatelementi{};
std::array<RigaDati, kSlotArray> gudtRigheAttive{};
std::array<Valori, kSlotArray> gudtValori{};
int gintNumSatelliti = 0;

std::array<double, 3> gdblPosizione{};
std::array<double, 3> gdblVelocita{};
double gdblAltezzaSole = 0;

int gintSatelliteCalcolo = 1;
double gdblAltezzaMinima = 0;
