#pragma once
// Rise and set of the Sun and the Moon for one calendar date and one
// observer. Self-contained: own low-precision series for the two bodies, own
// day number and sidereal time. The altitude is sampled hour by hour over the
// local day and each sign change is located by a quadratic through the hour's
// ends and middle.
#include <string>

namespace mAstro {

struct SorgereTramonto {
    bool sorge = false;    // a rise was found in the day
    bool tramonta = false; // a set was found in the day
    // Local time of the event in hours from the local midnight, rounded to
    // the nearest minute (24.0 for a crossing in the last half minute), and
    // azimuth in degrees from north through east. When a day holds two
    // crossings of one kind the later one is given.
    double oraSorgere = 0;
    double oraTramonto = 0;
    double azimuthSorgere = 0;
    double azimuthTramonto = 0;
    // The same as shown: "hh:mm" and "000.0"; empty when there is no event.
    std::string testoOraSorgere;
    std::string testoOraTramonto;
    std::string testoAzimuthSorgere;
    std::string testoAzimuthTramonto;
    // Key of the message in the language section "frmRiseSet": "nonsorge",
    // "nontramonta", "sottoorizzonte", "sopraorizzonte", or empty.
    std::string chiaveMessaggio;
};

// latitudine, longitudine: degrees, north and east positive. zona: hours to
// add to local time to get universal time (minus the zone offset and
// daylight saving). anno, mese, giorno: the local calendar date.
SorgereTramonto Calcola_Sorgere_Tramonto_Sole(double latitudine, double longitudine, double zona,
                                              int anno, int mese, int giorno);
SorgereTramonto Calcola_Sorgere_Tramonto_Luna(double latitudine, double longitudine, double zona,
                                              int anno, int mese, int giorno);

// The crossing within one hour: the root in [0, 1] of a e^2 + b e + c = 0
// when c = f(0) and a + b + c = f(1) have opposite signs. Never divides by
// zero (a line, a = 0, gives -c/b).
double Radice_Nell_Ora(double a, double b, double c);

} // namespace mAstro
