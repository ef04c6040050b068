#pragma once
// The observer's sky and a satellite at one local instant, computed into
// values the caller owns. The program clock's procedures (mAstro::
// Aggiorna_Tempo, Calcola_Sole ..., mSat::Calcola_Satellite) keep writing
// the shared tables for the clock's instant; a chart of another instant
// computes here and writes nothing shared.
#include "astro/bodies.h"
#include "astro/records.h"
#include "astro/satellite.h"
#include "astro/time.h"

#include <QDateTime>

namespace core {

struct CieloIstante {
    bool valido = false;          // false: the date gives no time quantities
    mAstro::Tempi tempi;
    mAstro::TabellaCorpi corpi{}; // rows 1..9 at the instant (planets 1..7, Sun 8, Moon 9)
    double latitudine = 0;        // the observer's, degrees

    // Azimuth and elevation (degrees) of a J2000 place (right ascension in
    // hours, declination in degrees), precessed to the instant.
    void Orizzontali(double ra, double dec, double& azimuth, double& altezza) const;
};

// The sky at a local program date-time for the observer, zone and daylight
// saving of the options; the bodies whose elements give no position keep
// the rows of the shared table.
CieloIstante Calcola_Cielo(const QDateTime& locale);
// The sky of the program clock as its procedures last left the shared tables.
CieloIstante Cielo_Corrente();

// The Julian date (UT) of a local program date-time; false when it has none.
bool Giorno_Giuliano_Locale(const QDateTime& locale, double& jd);

// One satellite at Julian date jd for the observer and the options of the
// program, into v (false: no state at that instant). A model kept by the
// caller spares setting it up again for the same elements.
bool Calcola_Satellite(const Satelement& s, double jd, Valori& v, astro::ModelloSatellite* modello = nullptr);

} // namespace core
