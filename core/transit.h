#pragma once
// The principal satellite's current pass as the local sky chart draws it:
// the points from the program clock until the satellite sets (at most one
// orbital period ahead), and the time labels the user attaches to them.
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace core {

// One point of the drawn pass.
struct PuntoPassaggio {
    float XMappa = 0;        // chart position
    float YMappa = 0;
    QString Orario;          // local date-time "yyyy-MM-dd hh:mm:ss"; empty for the horizon point
    QString Magnitudine;     // visual magnitude text; empty in the Earth's shadow and for the horizon point
    double Azimuth = 0;      // degrees (0 for the horizon point)
    double Altezza = 0;      // elevation, degrees (0 for the horizon point)
    std::uint32_t Colore = 0; // yellow sunlit, red eclipsed (not read by the chart)
};

// One time label the user attached to a pass point.
struct EtichettaPassaggio {
    float XPunto = 0;        // chart position of the pass point
    float YPunto = 0;
    float XEtichetta = 0;    // where the label was dropped
    float YEtichetta = 0;
    int Punto = 0;           // index of the pass point
};

} // namespace core

// Both arrays keep element 0 empty; entries 1 .. size()-1 are in use.
extern std::vector<core::PuntoPassaggio> gudtPuntiPassaggio;
extern std::vector<core::EtichettaPassaggio> gudtEtichettePassaggio;

namespace core {

// Upper bound of each array (0 when only element 0 is there).
int Ultimo_Punto();
int Ultima_Etichetta();
// Empties the labels, or the points and the labels (element 0 only).
void Svuota_Etichette();
void Svuota_Passaggio();

// The text a pass point shows as a label: its time "hh:mm:ss", then, when
// it carries a magnitude, a blank, `parolaMag` in lower case and the
// magnitude with the picture "#0.0".
QString Testo_Etichetta(const PuntoPassaggio& p, const QString& parolaMag);

// Projects a direction (azimuth, elevation in degrees) to chart x and y.
using Proiezione = std::function<void(double azimuth, double altezza, float& x, float& y)>;

// Rebuilds gudtPuntiPassaggio for the principal satellite (slot 1) from the
// program clock gdatDataCorrente: one point every period / 180 (whole
// seconds), starting at the clock itself, while the satellite stays above
// the horizon and for at most one period; a pass that ends gets a last
// point where the track meets the horizon circle, with empty texts. The
// clock tick is held meanwhile, and the time globals and slot 1 describe the
// program clock again afterwards. Returns the number of points (0 when the
// principal has no usable period or cannot be computed).
int Calcola_Passaggio(const Proiezione& mappatura);

} // namespace core
