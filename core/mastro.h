#pragma once
// The program's time and sky procedures over the shared globals: each reads
// the observer settings and the time globals, calls the pure computation of
// astro/ and writes its results into the globals of core/globals_time.h.
//
// The pure functions of astro/time.h, astro/mate.h, astro/bodies.h and
// astro/riseset.h share this namespace; those that need no global
// (Giorno_Giuliano, Eclittiche_Equatoriali ...) are used directly.
#include "astro/bodies.h"
#include "astro/mate.h"
#include "astro/riseset.h"
#include "astro/time.h"

#include <QDate>
#include <QDateTime>
#include <QString>

namespace mAstro {

// The calendar fields of a program date (whole seconds; its time spec is not
// looked at) and back (a QDateTime in Qt::UTC holding those fields).
DataOra Da_QDateTime(const QDateTime& d);
QDateTime A_QDateTime(const DataOra& d);

// Rewrites every time global (gdatDataLocale ... gdblTempoSiderale) for the
// local date-time `locale`, with the observer's zone gsngFusoOrario, daylight
// saving gbytOraLegale and longitude gsngLongitudine. False, with every
// global left as it was, when the date is not valid or its universal time
// falls outside the years 100 to 9999.
bool Aggiorna_Tempo(const QDateTime& locale);

// The local date-time (observer's zone and daylight saving) of the Julian
// date jd (UT), to the whole second. An invalid QDateTime when jd is not a
// finite date within the years 100 to 9999.
QDateTime Data_Da_Giuliano(double jd);

// Sun, Moon and planets for the instant of the last Aggiorna_Tempo and the
// observer latitude gsngLatitudine: rows of gudtCorpi and, for the Sun, the
// four Sun globals. Run the Sun first: the Moon reads the Sun globals.
void Calcola_Sole();
// False when the Moon's elements give no position (its row keeps its
// previous values).
bool Calcola_Luna();
// False when some planet could not be computed from its elements (its row
// keeps its previous position).
bool Calcola_Pianeta();

// Azimuth and elevation (degrees) of right ascension ra (hours) and
// declination dec (degrees) of J2000 (the star catalogue, the constellation
// tables, the charts' equatorial grid) for the observer latitude and the
// local sidereal time of the last Aggiorna_Tempo: the place is precessed to
// that date first.
void Equatoriali_Orizzontali(double ra, double dec, double& azimuth, double& altezza);

// Right ascension (hours, minutes, seconds) and declination (absolute
// degrees and minutes, sign "-" or "+") of azimuth az and elevation h
// (radians), for the observer latitude and the local sidereal time; every
// part truncated.
void Orizzontali_Equatoriali(double az, double h, double& oreAR, double& minutiAR, double& secondiAR,
                             double& gradiDec, double& minutiDec, QString& segno);

// Rise and set of the Sun and the Moon on the local date `data` for an
// observer at latitude and longitude (degrees, north and east positive) whose
// local time plus `zona` hours is universal time. Each output is written only
// when its event or condition occurs: rise and set times "hh:mm", azimuths
// "000.0", and the message (section "frmRiseSet" of the language file) when a
// rise or a set, or both, are missing.
void Calcola_Sorgere_Tramonto_Sole(double latitudine, double longitudine, double& zona, const QDate& data,
                                   QString& oraSorgere, QString& oraTramonto, QString& azimuthSorgere,
                                   QString& azimuthTramonto, QString& messaggio);
void Calcola_Sorgere_Tramonto_Luna(double latitudine, double longitudine, double& zona, const QDate& data,
                                   QString& oraSorgere, QString& oraTramonto, QString& azimuthSorgere,
                                   QString& azimuthTramonto, QString& messaggio);
// The same for a program date: only its year, month and day are used.
void Calcola_Sorgere_Tramonto_Sole(double latitudine, double longitudine, double& zona, const QDateTime& data,
                                   QString& oraSorgere, QString& oraTramonto, QString& azimuthSorgere,
                                   QString& azimuthTramonto, QString& messaggio);
void Calcola_Sorgere_Tramonto_Luna(double latitudine, double longitudine, double& zona, const QDateTime& data,
                                   QString& oraSorgere, QString& oraTramonto, QString& azimuthSorgere,
                                   QString& azimuthTramonto, QString& messaggio);

} // namespace mAstro
