// The state of one satellite at one instant as the observer sees it: look
// angles, range and range rate, sub-satellite point, orbit shape, orbit
// number, illumination, visibility and visual magnitude.
//
// Pure and re-entrant: the element set, the observer, the options and the
// instant come in; the Valori record and the propagated vectors come out.
// The only state a caller may keep is a ModelloSatellite, the set-up of the
// propagation model for one element set, which gives exactly the results of
// a fresh set-up and spares repeating it.
#pragma once

#include "astro/plan13.h"
#include "astro/records.h"
#include "astro/sdp4.h"
#include "astro/sgp4.h"

#include <limits>

namespace astro {

// The observer: geodetic latitude (degrees, north positive), longitude
// (degrees, east positive) and height (metres).
struct Osservatore {
    double latitudine = 0;
    double longitudine = 0;
    double quota = 0;
};

// Model numbers of the options ("Plan 13", "SGP", "SGP4", "SGP4 + SDP4").
enum Propagatore : int {
    PropagatorePlan13 = 0,
    PropagatoreSGP = 1,
    PropagatoreSGP4 = 2,
    PropagatoreSDP4 = 3,  // SDP4 for periods of 225 minutes or more, SGP4 below
};

struct OpzioniSatellite {
    int propagatore = PropagatoreSDP4;  // "SGP4 + SDP4", the default of the options
    bool rifrazione = false;           // add atmospheric refraction to the elevation
    bool magnitudineLambert = false;   // diffuse-sphere phase law instead of (1 + cos psi) / 2
    int sogliaSole = -10;              // Sun elevation (degrees) below which a sunlit satellite is visible
};

// Step 1: the element registers in model units from a parsed element set.
RegistriElementi Registri_Da_Satelement(const Satelement& s);

// Step 2: the deep-space test (period of 225 minutes or more) with the
// derived semi-major axis (Earth radii) and mean motion (rad/min).
bool Deep_Space(const RegistriElementi& r, double* ao = nullptr, double* xnodp = nullptr);

// The model set-up for one element set and one model choice. One object
// belongs to one caller (one working-list slot) at a time: it is not to be
// shared between threads.
class ModelloSatellite {
public:
    ModelloSatellite() = default;
    // Sets the model up for these registers and this model number; does
    // nothing when both are what it already holds.
    void Imposta(const RegistriElementi& r, int propagatore);
    // The state tsince minutes after the epoch.
    EsitoPropagazione Propaga(double tsince, StatoOrbitale& out) const;
    bool Deep() const { return deep_; }
    int Modello() const { return modelloUsato_; }
    // The SGP4 set-up when SGP4 is the model run, else null.
    const ImpostazioneSGP4* SGP4() const
    {
        return modelloUsato_ == PropagatoreSGP4 && sgp4_.valida ? &sgp4_ : nullptr;
    }
    // The semi-major axis (Earth radii) and mean motion (rad/min) of the
    // deep-space test, which SGP, SGP4 and SDP4 replace with their own.
    double Ao() const { return aoDeep_; }
    double Xnodp() const { return xnodpDeep_; }

private:
    bool impostato_ = false;
    RegistriElementi reg_{};
    int propagatore_ = -1;
    int modelloUsato_ = -1;  // the model actually run (3 only when deep)
    bool deep_ = false;
    double aoDeep_ = 0, xnodpDeep_ = 0;
    ImpostazioneSGP4 sgp4_{};
    ImpostazioneSDP4 sdp4_{};
    mutable StatoIntegratore integratore_{};  // where the resonance integration last stood
};

// The observer's place in the Earth-fixed frame (km) and its local axes
// (zenith, east, north; unit vectors), on the reference ellipsoid.
struct GeometriaOsservatore {
    double latitudine = std::numeric_limits<double>::quiet_NaN(), longitudine = 0, quota = 0;
    double pos[3], up[3], est[3], nord[3];
};
// The geometry of an observer (kept per thread for the next call at the
// same place).
const GeometriaOsservatore& Geometria(const Osservatore& oss);

// The look angles (degrees) from the components of the unit vector toward
// the satellite: elevation from the zenith component, azimuth 0 to below
// 360 from the east and north components.
double Altezza_Gradi(double zenit);
double Azimuth_Gradi(double est, double nord);

// Refraction (degrees) added to an apparent elevation h (degrees) when
// that option is on; 0 below -0.6 degrees.
double Correzione_Rifrazione(double altezza);

// Visual magnitude from the standard magnitude m0 (at 1000 km and half
// phase), the range (km) and the phase angle psi (radians) by the default
// law (1 + cos psi) / 2 or the diffuse-sphere law.
double Magnitudine_Visuale(double m0, double distanza, double psi, bool lambert);

// Whether a satellite at r (km, inertial) is sunlit, s the unit vector
// toward the Sun: the Earth's shadow is a cylinder of radius 6378.135 km
// behind it. A satellite exactly on the cylinder is in the shadow.
bool Illuminato(const std::array<double, 3>& s, const std::array<double, 3>& r);

// The illumination state of a computed satellite: StatoEclisse when not
// lit, else StatoNonVisibile when the Sun is at or above the threshold
// (degrees) or the satellite at or below the horizon, else StatoVisibile.
int Stato_Illuminazione(bool illuminato, double altezzaSole, int sogliaSole, double altezza);

// The sub-satellite point fields of v from the longitude L (degrees east,
// 0 to below 360) and the latitude B (degrees): signed, absolute and map
// values and the hemisphere letters; 180 exactly is east.
void Punto_Subsatellite(double L, double B, Valori& v);

// The Earth's gravitational parameter of the orbit figures, km^3/s^2.
inline constexpr double kGM = 398600.8;

// The period (seconds) of an orbit of semi-major axis a (km).
double Periodo_Orbitale(double a);

// The angle of the Earth's rotation (radians, not reduced) at the Julian date
// jd; it equals 99.4033 degrees at 2447891.5. The computation of a
// satellite forms it from the element set's epoch and the days since it.
double Rotazione_Terra(double jd);
double Rotazione_Terra(double epoca, double giorni);

// What one computation gives besides the Valori record.
struct UsciteSatellite {
    RegistriElementi registri{};  // the element registers of this computation
    StatoOrbitale stato{};        // inertial position (km) and velocity (km/s) of the model,
                                  // with the ao and xnodp it leaves (the deep-space test's when it has none)
    double altezzaSole = 0;       // Sun elevation at the observer, degrees
    bool deep = false;            // the element set is a deep-space one
    EsitoPropagazione esito = EsitoPropagazione::Ok;
};

// The Sun's direction (unit vector, in the frame of the propagators) at the
// Julian date jd, as the satellite computation takes it for the shadow, the
// visibility and the phase. A clock tick computes it once for all its
// satellites.
struct SoleSatelliti {
    double jd = std::numeric_limits<double>::quiet_NaN();
    std::array<double, 3> s{};
};
SoleSatelliti Sole_Satelliti(double jd);

// Computes the state of the satellite of element set s at the Julian date
// jd (UT) for the observer with the options. On success fills v and u and
// returns true. When the state cannot be computed (element set that cannot
// be propagated, an unknown model number, a model that fails at that time)
// returns false, leaves v untouched and says why in u.esito; no field of v
// ever receives a NaN or an infinity.
// modello, when given, is the caller's set-up cache for this element set;
// sole, when given for this jd, the Sun it takes instead of computing it.
bool Calcola_Satellite(const Satelement& s, const Osservatore& oss, const OpzioniSatellite& opz, double jd,
                       Valori& v, UsciteSatellite& u, ModelloSatellite* modello = nullptr,
                       const SoleSatelliti* sole = nullptr);

// The satellite's place alone, for callers that show nothing else (the
// relative-motion listing): of Valori only the look angles and their unit
// vector (Altezza, Azimuth, VersoreZenit, VersoreEst, VersoreNord), the
// range, range rate, height, geocentric distance and the sub-satellite
// point, each exactly as Calcola_Satellite gives it, and the inertial
// vectors in u; it fails where Calcola_Satellite fails for them. No Sun,
// illumination, magnitude, orbit number or orbit figures: those fields and
// u.altezzaSole stay as they were.
bool Calcola_Posizione_Satellite(const Satelement& s, const Osservatore& oss, const OpzioniSatellite& opz, double jd,
                                 Valori& v, UsciteSatellite& u, ModelloSatellite* modello = nullptr);

// ---------------------------------------------------------------- light evaluation

// What the pass search needs of one instant, and nothing more: the
// elevation (degrees, with refraction when the options say so, exactly as
// Calcola_Satellite gives it), its rate of change (degrees per second, from
// the model's velocity) and the satellite's place in the Earth-fixed frame.
struct VistaSatellite {
    double altezza = 0;
    double variazione = 0;   // d(elevation)/dt, degrees per second
    double r[3] = {0, 0, 0}; // Earth-fixed position, km
    double distanzaCentro = 0; // from the Earth's centre, km
    double velocitaAngolare = 0; // about the Earth's centre, rad/s (inertial)
    double normale[3] = {0, 0, 1}; // unit normal of the orbit's plane, Earth-fixed frame
};

// The light evaluation of one satellite for one observer: the model is set
// up once, and each Calcola propagates and forms the look angle only (no
// Sun, shadow, magnitude, orbit shape or sub-point). One object belongs to
// one caller (one thread).
class AltezzaSatellite {
public:
    AltezzaSatellite(const Satelement& s, const Osservatore& oss, const OpzioniSatellite& opz);
    // False when the state cannot be computed at jd (the reason in esito()).
    bool Calcola(double jd, VistaSatellite& out);
    EsitoPropagazione esito() const { return esito_; }
    const GeometriaOsservatore& geometria() const { return geo_; }
    const RegistriElementi& registri() const { return reg_; }
    ModelloSatellite& modello() { return modello_; }

private:
    RegistriElementi reg_{};
    ModelloSatellite modello_;
    GeometriaOsservatore geo_;
    bool rifrazione_ = false;
    bool validi_ = false;
    EsitoPropagazione esito_ = EsitoPropagazione::Ok;
};

}  // namespace astro
