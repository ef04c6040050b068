#pragma once
// Sun, Moon and planet positions from low-precision analytic models: the Sun
// from Keplerian elements of the Earth's orbit referred to 1900, the Moon from
// mean elements of epoch 1990 January 0.0 with its main periodic terms, the
// planets from Keplerian elements of epoch J2000 (the table read from
// planets.dat). Pure and re-entrant: the instant, the observer and the
// elements come in, the body rows go out.
#include <array>
#include <string>

namespace mAstro {

// One row of the body table: planets 1 to 7 (Mercury to Neptune), Sun 8,
// Moon 9, Earth 10 (orbital elements only).
struct CorpoCeleste {
    double AscensioneRetta = 0; // hours
    double Declinazione = 0;    // degrees
    double Azimuth = 0;         // degrees from north through east
    double Altezza = 0;         // elevation, degrees
    float XMappa = 0;           // position on the chart being drawn (set by the chart)
    float YMappa = 0;
    double Distanza = 0;        // planets: AU from the Earth; Sun and Moon: km
    double Fase = 0;            // planets: illuminated fraction 0..1; Moon: phase angle, radians [0, 2 pi)
    double Magnitudine = 0;     // planets: visual magnitude
    double Diametro = 0;        // apparent diameter, arc seconds
    // Elements, loaded from planets.dat and never written by the computations
    // (but for the Moon's MagnitudineUnitaria, set to 0).
    double PeriodoOrbitale = 0;     // tropical years
    double LongitudineEpoca = 0;    // mean longitude at the epoch, degrees
    double LongitudinePerielio = 0; // longitude of perihelion (Moon: perigee), degrees
    double Eccentricita = 0;
    double SemiasseMaggiore = 0;    // AU
    double Inclinazione = 0;        // degrees
    double LongitudineNodo = 0;     // degrees
    double DiametroUnitario = 0;    // at 1 AU: arc seconds for the planets, degrees for the Sun
    double MagnitudineUnitaria = 0; // at 1 AU from the Sun and the Earth
    std::string Nome;               // key of the body's name in the language section "Planets"
};

// Rows of the body table (index 0 unused).
inline constexpr int kMercurio = 1;
inline constexpr int kVenere = 2;
inline constexpr int kMarte = 3;
inline constexpr int kGiove = 4;
inline constexpr int kSaturno = 5;
inline constexpr int kUrano = 6;
inline constexpr int kNettuno = 7;
inline constexpr int kSole = 8;
inline constexpr int kLuna = 9;
inline constexpr int kTerra = 10;
using TabellaCorpi = std::array<CorpoCeleste, 11>;

// Fixed obliquity of the ecliptic used by every model, radians.
inline constexpr double kObliquita = 0.40909281926890995;

// The instant and the observer a computation is for.
struct Istante {
    double GiornoGiuliano = 0;   // Julian date (UT)
    double GiornoGiuliano0h = 0; // Julian date of the preceding 0h UT
    double Latitudine = 0;       // observer latitude, degrees, north positive
    double TempoSiderale = 0;    // local mean sidereal time, hours
    double Quota = 0;            // observer height, metres (the Moon's parallax)
};

// What the Moon needs of the Sun computed for the same instant.
struct DatiSole {
    double Declinazione = 0;    // degrees
    double AscensioneRetta = 0; // hours
    double Longitudine = 0;     // geocentric ecliptic longitude, radians, [0, 2 pi)
    double AnomaliaMedia = 0;   // mean anomaly, radians, not reduced to one turn
};

// The Sun: writes AscensioneRetta, Declinazione, Azimuth, Altezza, Distanza
// and Diametro of the Sun's row (reading its DiametroUnitario).
DatiSole Calcola_Sole(const Istante& istante, CorpoCeleste& sole);

// The Moon, for the Sun computed at the same instant: writes
// AscensioneRetta, Declinazione, Azimuth, Altezza, Distanza, Fase, Diametro,
// and MagnitudineUnitaria := 0 of the Moon's row (reading its elements).
// Right ascension, declination and diameter are geocentric; azimuth,
// elevation and distance are where the observer sees the Moon (the parallax
// of the observer's place moves it by up to a degree, two of its diameters).
// Returns false, leaving the row as it was, when the elements give no finite
// position (an eccentricity outside [0, 1), a number that is not finite).
bool Calcola_Luna(const Istante& istante, const DatiSole& sole, CorpoCeleste& luna);

// One planet of the elements in its row and the Earth's: writes
// AscensioneRetta, Declinazione, Azimuth, Altezza, Distanza, Fase,
// Magnitudine and Diametro. The elements are of J2000 and so are right
// ascension and declination (the charts drawn in them are J2000 charts);
// azimuth and elevation are of the place precessed to the date. riga: the
// planet's row, 1 Mercury to 7 Neptune, which tells the inner planets and
// each planet's own phase law for its magnitude (MagnitudineUnitaria at full
// phase, 1 AU from the Sun and the Earth). Returns false, leaving the row as
// it was, when the elements give no finite position (a zero period, an
// eccentricity outside [0, 1) ...).
bool Calcola_Pianeta(const Istante& istante, const CorpoCeleste& terra, int riga, CorpoCeleste& pianeta);

// The seven planets, rows 1 to 7 in order. Returns the number of rows that
// could not be computed (0 when all went well).
int Calcola_Pianeti(const Istante& istante, TabellaCorpi& corpi);

} // namespace mAstro

// The record is shared with the layers above under its plain name, as the
// other records are.
using CorpoCeleste = mAstro::CorpoCeleste;
