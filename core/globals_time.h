#pragma once
// The time globals of the program clock, the Sun globals and the body table.
// The time set is written whole, and only, by mAstro::Aggiorna_Tempo; the
// last call wins (a window that computes for an instant of its own leaves
// them at that instant until the next clock tick). The Sun globals are
// written by mAstro::Calcola_Sole, the body rows by Calcola_Sole,
// Calcola_Luna and Calcola_Pianeta; the elements of the rows are loaded once
// at start from planets.dat.
#include "astro/bodies.h"

#include <QDateTime>

// Dates hold the calendar fields of a local or universal date-time, whole
// seconds, as the program shows them; only their fields count. gdatDataUT is
// made with Qt::UTC so that no system zone rule shifts it; gdatDataLocale is
// the argument of Aggiorna_Tempo exactly as given (read its date() and
// time(), not the instant it stands for in the system's zone).
extern QDateTime gdatDataLocale;      // the local date-time last given to Aggiorna_Tempo
extern QDateTime gdatDataUT;          // the same in universal time
extern double gdblAnnoUT;             // year, month 1..12, day 1..31 of gdatDataUT
extern double gdblMeseUT;
extern double gdblGiornoUT;
extern double gdblAnnoLocale;         // the same of gdatDataLocale
extern double gdblMeseLocale;
extern double gdblGiornoLocale;
extern double gdblOraUT;              // time of day of gdatDataUT, decimal hours [0, 24)
extern double gdblOraLocale;          // the same of gdatDataLocale
extern int gintGiornoAnnoUT;          // day of the year of the UT date, 1 for 1 January
extern int gintGiornoAnnoLocale;      // the same of the local date
extern double gdblGiornoGiuliano;     // Julian date (UT) of the instant
extern double gdblGiornoGiuliano0h;   // Julian date of the preceding 0h UT (ends in .5)
extern double gdblTempoSideraleGreenwich; // Greenwich mean sidereal time, hours [0, 24)
extern double gdblTempoSiderale;      // local mean sidereal time, hours [0, 24)

// Sun.
extern double gdblDeclinazioneSole;   // declination, degrees
extern double gdblAscensioneSole;     // right ascension, hours
extern double gdblLongitudineSole;    // geocentric ecliptic longitude, radians [0, 2 pi)
extern double gdblAnomaliaMediaSole;  // mean anomaly, radians, not reduced to one turn

// The body table, rows 1 to 10 (index 0 unused): planets 1 to 7 from Mercury
// to Neptune, Sun 8, Moon 9, Earth 10 (elements only). Row numbers:
// mAstro::kMercurio ... mAstro::kTerra.
extern mAstro::TabellaCorpi gudtCorpi;
