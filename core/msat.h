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

// The element registers in model units (angles in radians, mean motion in
// radians per minute, its derivatives per minute^2 and minute^3, B* per
// Earth radius, epoch as Julian date). Calcola_Satellite writes them for
// the slot it computes (also when the state itself cannot be computed),
// and the Propaga_* procedures below read them. ao (Earth radii) and xnodp
// (rad/min) come from the deep-space test; SGP, SGP4 and SDP4 replace them
// with their own.
extern double xincl, xnodeo, omegao, xmo, eo, xno, xndt2o, xndd6o, bstar, epoch;
extern double ao, xnodp;

// The registers as one record, and back.
astro::RegistriElementi Registri_Correnti();
void Imposta_Registri(const astro::RegistriElementi& r);

// The four models on the element registers, tsince minutes from the epoch:
// each writes gdblPosizione (km) and gdblVelocita (km/s) and returns true,
// or returns false and leaves both (and ao, xnodp) as they were when the
// registers cannot be propagated to that time.
bool Propaga_Plan13(double tsince);
bool Propaga_SGP(double tsince);
bool Propaga_SGP4(double tsince);
bool Propaga_SDP4(double tsince);

// The deep-space routine of SDP4 on the registers, as three steps over the
// shared mean elements gudtElementiDeep at the time gdblTempoDeep (minutes
// from the epoch): mode 1 sets the lunar-solar and resonance terms up from
// the registers; mode 2 adds the secular terms and the resonance to the
// mean elements (inclination, eccentricity and node from the registers,
// mean anomaly, perigee, node and mean motion updated); mode 3 adds the
// lunar-solar periodics. Any other mode does nothing. Modes 2 and 3 before
// a mode 1 do nothing either.
void Deep(int mode);
extern astro::ElementiMedi gudtElementiDeep;
extern double gdblTempoDeep;

// Greenwich angle (radians, 0 to below 2 pi) at the Julian date jd; also
// keeps the days from 1950 January 0.0 UT in gdblDs50.
double ThetaG(double jd);
extern double gdblDs50;

}  // namespace mSat

namespace mMate {

// The pass solvers on the pass function of slot gintSatelliteCalcolo:
// f(t) = gdblAltezzaMinima - elevation at t. Every evaluation runs
// mSat::Calcola_Satellite, so gudtValori(gintSatelliteCalcolo) holds the
// state at the last time evaluated when they return. Each returns false,
// leaving its outputs as they were, when it reaches its iteration limit, the
// interval never brackets a crossing or the satellite cannot be computed;
// the caller may then show astro::kMessaggioErrorePassaggi.
bool Trova_Massimo_Passaggio(double a, double b, double& tMin, double& fMin);
bool Espandi_Intervallo(double t1, double& t2);
bool Trova_Zero_Passaggio(double a, double b, double& tZero, double& fZero);

}  // namespace mMate
