#pragma once
// The figures behind the location dialogs: the time-zone offset as the three
// boxes show it, the globe picture of a longitude, the place on the globe,
// and the checks and conversions of typed coordinates.
#include <QPointF>
#include <QString>

namespace locations {

// Hours offered by the offset boxes: 0 to 14 (Kiribati is 14 hours east).
inline constexpr int kOreMassime = 14;

// An offset as the boxes show it: side (0 east of Greenwich, 1 west), whole
// hours, and the minutes box index (0 for 0, 1 for 30, 2 for 45; -1 when the
// minutes are none of these and the box is left as it was).
struct FusoBoxes {
    int lato = 0;
    int ore = 0;
    int minuti = 0;
};
FusoBoxes Scomponi_Fuso(double fuso);
// The minutes box index of a whole number of minutes, -1 for any other.
int Indice_Minuti(int minuti);
// The minutes a box index stands for (0, 30, 45).
int Minuti_Indice(int indice);
// The location dialog's reading: the hours, a point and minutes x 10 / 6
// read as one number (30 min gives h.50), negated west of Greenwich.
double Fuso_Da_Boxes(int lato, int ore, int indiceMinuti);
// The new-place dialog's reading: minutes / 60 + hours, negated west.
double Fuso_Da_Minuti(int lato, int ore, int minuti);

// The globe picture (1 to 11) for a longitude and the longitude at its centre.
struct Globo {
    int immagine = 6;
    double centro = 0;
};
Globo Scegli_Globo(double longitudine);
// The place on the globe picture: orthographic view centred on latitude 15
// and the picture's centre longitude, in (-1..1, -1..1) with y up.
QPointF Proietta_Globo(double latitudine, double longitudine, double centro);

// The two coordinate forms of the new-place dialog, as magnitudes (the sign
// is given by the hemisphere boxes).
struct Sessagesimale {
    double gradi = 0, minuti = 0, secondi = 0;
};
struct Decimale {
    double gradi = 0;     // whole degrees
    double decimi = 0;    // four decimals as a whole number (4700 is .47)
};
// Fields of the new-place dialog in the order they are checked.
enum class Campo {
    Nessuno,
    Nome,
    GradiLat, FrazLat, GradiLon, FrazLon,                     // decimal tab
    GmsGradiLat, GmsMinLat, GmsSecLat, GmsGradiLon, GmsMinLon, GmsSecLon, // sexagesimal tab
};
struct Verifica {
    Campo campo = Campo::Nessuno;   // the field to focus (Nessuno: none)
    QString chiave;                 // message key; empty when all is valid
    bool ok() const { return chiave.isEmpty(); }
};
// The range checks of each tab, first failing field first.
Verifica Verifica_Decimale(const Decimale& lat, const Decimale& lon);
Verifica Verifica_Sessagesimale(const Sessagesimale& lat, const Sessagesimale& lon);
// The tab switch's extra limits: 90 degrees of latitude (180 of longitude)
// with anything beyond ("valorelaterrato", "valorelongerrato"; no field).
Verifica Limiti_Decimale(const Decimale& lat, const Decimale& lon);
Verifica Limiti_Sessagesimale(const Sessagesimale& lat, const Sessagesimale& lon);

// Conversions of a magnitude between the forms. Decimale_Da_Gms rounds the
// four decimals half away from zero (a rounding up to 10000 carries into
// the degrees).
Sessagesimale Gms_Da_Decimale(const Decimale& d);
Decimale Decimale_Da_Gms(const Sessagesimale& s);
// The decimal angle of a sexagesimal magnitude.
double Gradi_Da_Gms(const Sessagesimale& s);
// The confirmation question of a new or edited place.
QString Testo_Conferma(const QString& nome, double lat, double lon, double fuso);
// The decimal form of a coordinate as the edit command fills the boxes.
Decimale Decimale_Da_Valore(double x);
// The coordinate OK stores: the value rounded to four decimals through its
// text with `picture` ("#0.000#" or "##0.000#").
double Arrotonda_Coordinata(double x, const QString& picture);

} // namespace locations
