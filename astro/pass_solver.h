// The solvers of the pass search: Brent's minimisation for the culmination,
// the widening of a search interval until it brackets a crossing, and
// Brent's root finding for the moments the satellite crosses the limit
// elevation. They work on any pass function f(t) (t a Julian date), usually
// f(t) = limit elevation - elevation of the satellite at t, negative while
// the satellite is above the limit.
//
// Pure and re-entrant: all state is local to one call. Every solver is
// bounded and says whether it succeeded; on failure it writes no output.
#pragma once

#include <functional>

#include "astro/records.h"
#include "astro/satellite.h"

namespace astro {

// The pass function: the value at t, or NaN when it cannot be evaluated
// there (the solvers then stop and report it).
using FunzionePassaggio = std::function<double(double)>;

enum class EsitoSolutore {
    Ok,
    LimiteIterazioni,     // 50 iterations without reaching the tolerance
    NessunCambioSegno,    // the interval never came to bracket a crossing
    ValutazioneFallita,   // f could not be evaluated at some point
};

// The fixed text the program shows when a solver gives up.
inline constexpr const char* kMessaggioErrorePassaggi = "Errore nella routine di previsione passaggi!";

// Iterations of each Brent procedure, and widenings of Espandi_Intervallo.
inline constexpr int kIterazioniSolutore = 50;
inline constexpr int kMassimoAllargamenti = 40;
// Widest interval Espandi_Intervallo opens, days: a crossing further than
// this from the culmination is no crossing of this pass.
inline constexpr double kMassimoIntervalloGiorni = 30.0;

// The minimum of f inside [a, b] (a < b): its time in tMin and f there in
// fMin. Brent's method with golden-section steps. tolleranza (days), when
// given, is the absolute precision wanted of tMin, in place of the
// default 1e-14 |t| (a few milliseconds at present-day Julian dates).
EsitoSolutore Trova_Massimo_Passaggio(const FunzionePassaggio& f, double a, double b, double& tMin, double& fMin,
                                      double tolleranza = 0);

// Leaves t1 alone and moves t2 away from it, doubling the interval each
// time, until f(t1) and f(t2) have opposite signs. When f(t1) is exactly 0,
// t1 is itself the crossing and t2 is left where it is. Gives up, with t2
// unchanged, after kMassimoAllargamenti widenings or once the interval is
// wider than kMassimoIntervalloGiorni (a satellite that never crosses the
// limit, such as a geostationary one).
EsitoSolutore Espandi_Intervallo(const FunzionePassaggio& f, double t1, double& t2);

// With f(a) and f(b) of opposite signs (or one of them 0), the crossing time
// in tZero and f there in fZero, to 4.46e-16 |t| + 5e-11 days (or to
// tolleranza days when given). Brent's method with inverse quadratic
// interpolation.
EsitoSolutore Trova_Zero_Passaggio(const FunzionePassaggio& f, double a, double b, double& tZero, double& fZero,
                                   double tolleranza = 0);

// ------------------------------------------------------------ with the rate

// One point of a pass function with its rate: f at t and df/dt (per day).
struct PuntoPassaggio {
    double t = 0, f = 0, df = 0;
};
// Evaluates f and its rate at t into p (p.t = t); false when it cannot.
using FunzioneConPendenza = std::function<bool(double t, PuntoPassaggio& p)>;

// With f(a) and f(b) of opposite signs (or one of them 0), a < b, the
// crossing inside [a, b] to within tolleranza days. Every step takes the
// root of the cubic through the two ends of the bracket with their rates
// and goes a little beyond it, so that the bracket closes from both sides;
// a bracket that does not halve in two steps is bisected. The answer is
// always bracketed by points where f was evaluated (or is one of them);
// rates that are not quite the derivative of f only slow it down. At most
// kIterazioniSolutore evaluations.
EsitoSolutore Trova_Zero_Hermite(const FunzioneConPendenza& f, PuntoPassaggio a, PuntoPassaggio b,
                                 double tolleranza, double& tZero);

// With the rate of f negative at a and not negative at b (a < b), where the
// rate is the exact derivative of f: the minimum of f inside [a, b] to
// within tolleranza days, bracketed by the change of sign of the rate as
// Trova_Zero_Hermite brackets a crossing; each step takes the lowest point
// of the cubic through the two ends. fMin is f there by that cubic.
EsitoSolutore Trova_Minimo_Hermite(const FunzioneConPendenza& f, PuntoPassaggio a, PuntoPassaggio b,
                                   double tolleranza, double& tMin, double& fMin);

// The pass function of one satellite for one observer: altezzaMinima minus
// the elevation (degrees, with refraction when the options say so). Each
// evaluation writes the satellite's state into *ultimo (when given), so
// after a solver returns it holds the state at the last time evaluated.
// modello is the caller's set-up cache for the element set; s, oss, opz,
// modello and ultimo must outlive the function.
FunzionePassaggio Funzione_Passaggio(const Satelement& s, const Osservatore& oss, const OpzioniSatellite& opz,
                                     double altezzaMinima, ModelloSatellite& modello, Valori* ultimo = nullptr,
                                     UsciteSatellite* uscite = nullptr);

}  // namespace astro
