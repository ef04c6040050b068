#pragma once
// What the whole-sky chart computes from the mouse and the tables: the
// right ascension and declination readout, the constellation segments split
// at 0 h, and the object nearest to a click.
#include <QString>

namespace sky {

// The mouse readout's work record.
struct CoordinateMouse {
    QString Segno = QStringLiteral("+"); // "+" or "-"
    float DecAssoluta = 0;                // absolute declination, degrees
    int Ore = 0, Minuti = 0, Secondi = 0; // right ascension, whole units
    int Gradi = 0, Primi = 0;             // absolute declination, whole units
};

// The readout of chart point (x hours, y degrees).
CoordinateMouse Calcola_Coordinate(double x, double y);

// The readout part of the caption: ar & " 05h 30m 00s " & " " & dec & " -12° 15' ".
QString Testo_Coordinate(const CoordinateMouse& c, const QString& ar, const QString& dec);

// A constellation segment as drawn on the chart: one piece, or two pieces
// (one at each edge) when the ends are more than 16 h apart.
struct PezzoLinea {
    double x1, y1, x2, y2;
};
int Pezzi_Linea(double a1, double d1, double a2, double d2, PezzoLinea pezzi[2]);

// Where the chart draws body row n (1 to 9): its J2000 right ascension
// (hours) and declination (degrees). The planets' places are J2000 already;
// the Sun's and the Moon's, of the date, are precessed back to J2000 with
// the stars'.
void Posizione_Carta(int n, double& ra, double& dec);

// The object nearest to a click at (x, y) on a chart of scale width sw and
// height sh (chart units, signed), among the first numStelle stars and the
// body rows 1 to 9.
struct Identificazione {
    int stella = 0;          // best star rank (0: none)
    double dStella = 99999;
    int corpo = 0;           // best body row (0: none)
    double dCorpo = 99999;
    double soglia = 0;       // the distance below which an object is picked
    // -1: nothing picked; 0: the star `stella`; 1..9: the body row.
    int oggetto = -1;
};
Identificazione Identifica(double x, double y, double sw, double sh, int numStelle);

} // namespace sky
