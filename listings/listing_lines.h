#pragma once
// The text of the ephemeris and relative-motion listings: the header lines,
// the automatic step and one fixed-width line per instant. Pure formatting of
// values already computed; the listing window runs the loop.
#include "astro/records.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <array>

namespace listings {

// Coordinate types of a listing.
enum TipoCoordinate : int { TipoOBS = 1, TipoECI = 2, TipoLLA = 3, TipoRAD = 4 };

// A language text of the listing window (section "frmDetails") forced to
// exactly `larghezza` characters (blanks after it, or cut).
QString Etichetta(const char* chiave, int larghezza);
// A text right-aligned in exactly w characters; a longer text keeps its
// leftmost w characters.
QString R(int w, const QString& testo);

// The step (seconds) of an automatic listing over m calendar minutes.
// Exactly 720 minutes takes 120 s.
double Passo_Automatico(qint64 minuti);
// The first instant of an automatic listing: 15 s before the start, then back
// to the quarter minute strictly before it.
QDateTime Inizio_Automatico(const QDateTime& inizio);
// Minutes from a to b counted as calendar-minute boundaries.
qint64 Minuti_Calendario(const QDateTime& a, const QDateTime& b);

// The header lines for one satellite (name, catalogue number, launch,
// epoch), with the label width of the listing (9 or 11).
QStringList Intestazione_Satellite(const Satelement& e, const RigaDati& r, const char* chiaveNome,
                                   int larghezza);
// The whole header of an ephemeris listing of type `opzione`.
QStringList Intestazione_Effemeride(const Satelement& e, const RigaDati& r, int opzione);
// The whole header of a relative-motion listing of A and B.
QStringList Intestazione_Relativo(const Satelement& a, const RigaDati& ra, const Satelement& b,
                                  const RigaDati& rb, int opzione);

// Right ascension and declination of a direction as the observer sees it,
// split for the listings.
struct Equatoriali {
    double ore = 0, minuti = 0, secondi = 0;   // right ascension
    double gradi = 0, primi = 0;               // |declination|
    QString segno;                             // "+" or "-"
    QString testoAR() const;                   // "05h07m09s"
    QString testoDec() const;                  // "+12°34'"
    double arDecimale() const;                 // hours
    double decDecimale() const;                // degrees, signed
};

// What one instant of a listing needs of one satellite.
struct Istante {
    Valori v;
    std::array<double, 3> posizione{};   // km
    std::array<double, 3> velocita{};    // km/s
    double altezzaSole = 0;              // degrees
    Equatoriali eq;                      // for type RAD
};

// D, the instant as the listing shows it.
QString Testo_Istante(const QDateTime& t);

// A listing keeps each line as its figures, rounded to the places the line
// shows them with, in a few 32-bit cells; the text is made only when the
// line is shown, saved or printed. The same figures give the same text.
// The number of cells of one ephemeris line of type `opzione`.
int Celle_Effemeride(int opzione);
// Puts the figures of one ephemeris line in `c` (Celle_Effemeride cells).
void Riempi_Effemeride(int opzione, const Istante& s, qint32* c);
// The line of instant t from its cells.
QString Testo_Effemeride(int opzione, const QDateTime& t, const qint32* c);

// Distance (km) and the angles at the Earth's centre and at the observer
// (degrees) between two satellites.
struct Relazione {
    double distanza = 0;
    double alfa = 0;
    double beta = 0;
};
Relazione Calcola_Relazione(const Istante& a, const Istante& b);

// One line of a relative-motion listing, kept as cells (see Celle_Effemeride).
int Celle_Relativo(int opzione);
void Riempi_Relativo(int opzione, const Istante& a, const Istante& b, qint32* c);
QString Testo_Relativo(int opzione, const QDateTime& t, const qint32* c);

} // namespace listings
