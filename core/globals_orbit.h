#pragma once
// The working list and the satellite values every window reads.
//
// Three parallel arrays of 203 entries; index 0 is unused so that the slots
// keep their numbering: 1 to gintNumSatelliti hold the working list in order
// (slot 1 is the principal satellite), 201 is the scratch slot for a
// satellite shown, tested or predicted without being listed (and the
// temporary of the working-list editor's exchanges), 202 the second
// satellite of a relative listing.
//
// Written on the user-interface thread only.
#include <array>

#include "astro/records.h"

inline constexpr int kSlotArray = 203;     // entries of the working-list arrays (0 unused)
inline constexpr int kMaxSatelliti = 200;  // satellites the working list can hold
inline constexpr int kSlotScratch = 201;
inline constexpr int kSlotSecondo = 202;

extern std::array<Satelement, kSlotArray> gudtSatelementi;  // parsed element sets
extern std::array<RigaDati, kSlotArray> gudtRigheAttive;    // their three text lines
extern std::array<Valori, kSlotArray> gudtValori;           // computed states (mSat::Calcola_Satellite only)
extern int gintNumSatelliti;                                // satellites in the working list, 0 to 200

// Left by the last successful mSat::Calcola_Satellite, for the caller to read
// right after its own call: the satellite's inertial position (km) and
// velocity (km/s) in the frame of the element set, and the Sun's elevation
// at the observer (degrees).
extern std::array<double, 3> gdblPosizione;
extern std::array<double, 3> gdblVelocita;
extern double gdblAltezzaSole;

// The pass solvers' subject: the slot being solved and the limit elevation
// (degrees; 0 when the pass search has no elevation filter). Set by the
// caller before the first solver call.
extern int gintSatelliteCalcolo;
extern double gdblAltezzaMinima;
