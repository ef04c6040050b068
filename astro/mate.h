#pragma once
// Small numeric routines shared by every computation (real modulus, full-circle
// arc tangent, reduction to one turn, arc sine and cosine, sexagesimal
// conversions, height above the ellipsoid, clipping of a chart line at the
// horizon circle) and the three coordinate transforms between equatorial,
// horizontal and ecliptic coordinates for an observer.
//
// Everything here is pure and re-entrant: inputs in, results out. The
// constants are written with the precision the program has always used
// (0.0174532925 for one degree, 3.14159265 for pi ...); they are not to be
// replaced by more precise ones, since published figures depend on them.
#include <string>

namespace mMate {

inline constexpr double kGradiRadianti = 0.0174532925;   // degrees to radians
inline constexpr double kRadiantiGradi = 57.295779513;   // radians to degrees
inline constexpr double kPi = 3.14159265;
inline constexpr double kMezzoPi = 1.57079633;
inline constexpr double kGiro = 6.2831853;                // one turn, radians

// x modulo y into [0, y) for y > 0 (a result equal to y through rounding is
// not folded). y = 0 gives NaN.
double Modulus(double x, double y);

// Angle of the direction (b, a) in radians, 0 to below 2 pi; a is the
// sine-like and b the cosine-like component. Both 0 gives pi/2.
double Atan2_360(double a, double b);

// x (radians) reduced to [0, 2 pi).
double FMod2p(double x);

// Arc sine and arc cosine in radians. Exactly +-1 (and values beyond by no
// more than rounding noise, 1e-12) give the limits +-pi/2, and 0 or pi; an
// argument truly outside [-1, 1] or NaN gives NaN, which the caller tests.
double ArcoSeno(double x);
double ArcoCoseno(double x);

// Decimal degrees (or hours) from degrees, minutes, seconds; a negative angle
// carries the sign on every part (-9, -30, 0 is -9.5).
double Gradi_Decimali(double gradi, double minuti, double secondi);

// Whole degrees, minutes and seconds of x, seconds rounded to the nearest
// whole second (a half up), 60 seconds carried into the minutes and 60
// minutes into the degrees. A negative angle is split as its magnitude and
// every part carries the sign, the inverse of Gradi_Decimali: -9.5 gives
// -9, -30, 0 (it reads -9 deg 30 min).
void Decimali_GMS(double x, double& gradi, double& minuti, double& secondi);

// Whole degrees and minutes of x, minutes rounded to the nearest whole minute
// (a half up), 60 minutes carried into the degrees. Negative angles as for
// Decimali_GMS: -9.5 gives -9, -30.
void Decimali_GM(double x, double& gradi, double& minuti);

// Height above the reference ellipsoid (a = 6378.135 km, f = 1/298.26), km,
// of a point at geocentric distance r (km) and geocentric latitude phi
// (radians).
double Altezza_Geodetica(double r, double phi);

// The horizon of the polar sky charts is the circle x^2 + y^2 = 8100 about
// the chart origin. When the segment from (x1, y1) to (x2, y2) crosses that
// circle strictly between its ends, (x2, y2) is moved to the crossing nearest
// to (x1, y1); otherwise (no crossing, a line that misses the circle, a
// segment of zero length) nothing changes. (x1, y1) is never changed.
// Returns whether the end point was moved.
bool Interseca_Orizzonte(double x1, double y1, double& x2, double& y2);
bool Interseca_Orizzonte(float x1, float y1, float& x2, float& y2);

} // namespace mMate

namespace mAstro {

// Horizontal position of an object of right ascension ra (hours) and
// declination dec (degrees) for an observer at latitude (degrees, north
// positive) when the local sidereal time is lst (hours). Azimuth from north
// through east, 0 to below 360, and elevation, both in degrees.
void Equatoriali_Orizzontali(double ra, double dec, double latitudine, double lst,
                             double& azimuth, double& altezza);

// Equatorial coordinates of ecliptic latitude beta and longitude lambda for
// the obliquity eps (all radians): right ascension in hours, declination in
// degrees.
void Eclittiche_Equatoriali(double beta, double lambda, double eps,
                            double& ascensioneRetta, double& declinazione);

// Equatorial coordinates, split for display, of the direction of azimuth az
// and elevation h (radians) seen from latitude (degrees) at local sidereal
// time lst (hours). Every part is truncated, none rounded. The declination is
// given as its sign ("-" or "+") and the absolute whole degrees and minutes.
struct CoordinateEquatoriali {
    double oreAR = 0;
    double minutiAR = 0;
    double secondiAR = 0;
    double gradiDec = 0;
    double minutiDec = 0;
    std::string segno = "+";
    double ascensioneRetta = 0; // hours, 0 to below 24 (unsplit)
    double declinazione = 0;    // degrees (unsplit)
};
CoordinateEquatoriali Orizzontali_Equatoriali(double az, double h, double latitudine, double lst);

// Precession (IAU 1976) of right ascension ra (hours) and declination dec
// (degrees) between the mean equator and equinox of J2000 and those of the
// Julian date jd. The star catalogue, the constellation tables and the
// planet model give J2000 places, while the sidereal time that turns a place
// into azimuth and elevation is of the date: unprecessed, a J2000 place
// stands 0.4 to 0.8 degrees off in the observer's sky by 2026, and more
// every year.
void Precessione_Da_J2000(double jd, double& ra, double& dec);
void Precessione_A_J2000(double jd, double& ra, double& dec);

// The topocentric place of a near body (the Moon) for an observer at
// geodetic latitude (degrees) and height (metres) at local sidereal time lst
// (hours): its geocentric right ascension ra (hours), declination dec
// (degrees) and distance (km) become those seen from the observer.
void Parallasse_Topocentrica(double latitudine, double quota, double lst, double& ra, double& dec,
                             double& distanza);

} // namespace mAstro
