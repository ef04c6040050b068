#pragma once
// The arithmetic of the world map: the choice of the globe view, the forward
// orthographic projection and its inverse for the pointer readout, the Sun's
// hour angle and the terminator, the footprint's edge, the splitting of a
// line at the map's east-west edge, the grid's labels and parallels, and the
// texts the pointer shows. No drawing: the window draws with these.
#include <QString>
#include <QStringView>

#include <array>

namespace maps::mappa {

inline constexpr double kGradiRadianti = 0.0174532925;   // degrees to radians
inline constexpr double kRadiantiGradi = 57.295779513;   // radians to degrees
inline constexpr double kRaggioGlobo = 142.0;            // globe radius, map units of "Ortho"
inline constexpr double kRaggioTerra = 6378.135;         // km

// One globe view: its picture file (with the leading backslash, as the
// window keeps it in the box's tag) and the centre of the view in degrees.
struct Vista {
    QString file;
    float lon = 0;
    float lat = 0;
};

// The equirectangular picture.
QString File_Rettangolare();

// The globe view for a sub-satellite point at latitude lat (north positive)
// and longitude lon360 (0 to below 360 east).
Vista Scegli_Vista(double lat, double lon360);

// The program folder path of a picture named as in Vista::file.
QString Percorso_Immagine(const QString& cartella, const QString& file);

// Forward orthographic projection about (lon0, lat0) in degrees: x and y in
// map units (globe radius 142). False, and x, y untouched, when the point
// lies behind the globe (points up to 1e-7 behind the limb count as seen).
bool Proiezione_ortografica(float lon0, float lat0, double lon, double lat, double& x, double& y);

// The pointer readout on the globe: the longitude (-180 to 180) and latitude
// under the map point (x, y) of the view centred on (lon0, lat0). False when
// the point lies off the drawn globe.
bool Coordinate_Globo(double x, double y, float lon0, float lat0, double& lon, double& lat);

// The Sun's Greenwich hour angle in degrees, 0 to below 360, from the
// Greenwich sidereal time and the Sun's right ascension (hours).
double Angolo_Orario(double tempoSiderale, double ascensione);
// The hour angle folded for the terminator: -180 < H < 180, 180 giving -180.
double Angolo_Terminatore(double a);
// The sub-solar longitude, east positive: -a below 180, 180 at 180, 360 - a above.
double Longitudine_Subsolare(double a);

// The terminator: 721 points from longitude -180 to 180 in half degrees,
// latitude rounded to two decimals; a declination of exactly 0 counts as 0.5.
struct Punto {
    double lon = 0;
    double lat = 0;
};
using Tabella_Terminatore = std::array<Punto, 721>;
Tabella_Terminatore Terminatore(double H, double declinazione);

// The terminator's latitude at a longitude (degrees), as the table has it
// but unrounded; a declination of exactly 0 counts as 0.5.
double Latitudine_Terminatore(double H, double declinazione, double lon);
// Whether a place lies on the night side of that terminator: south of it
// while the Sun stands north of the equator, north of it otherwise.
bool Lato_Notte(double H, double declinazione, double lon, double lat);

// The Earth central angle (radians) of the footprint of a satellite at a
// geocentric distance in km (its whole kilometres count). False when the
// distance is not above the Earth's radius.
bool Angolo_Impronta(double distanza, double& c);
// The footprint's edge at azimuth A (radians) about the sub-point (latS,
// lonS in radians): longitude (-180 to 180) and latitude in degrees.
Punto Bordo_Impronta(double c, double latS, double lonS, double A);

// A straight piece of line in map units.
struct Tratto {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
// The rectangular map's edge rule from the pen (px, py) to (lon, lat): one
// piece, or two when the path crosses the map's east-west edge (each half
// running off one edge). Returns the number of pieces.
int Tratti_Bordo(double px, double py, double lon, double lat, std::array<Tratto, 2>& pezzi);

// A grid label: a blank, the absolute value, and "°W", "°E", "°S", "°N" or
// two blanks for 0.
QString Etichetta_Griglia(int valore, bool longitudine);

// The half-width (degrees, from -180 to -90 and up to 0) of the parallel lat
// as seen from a view centred at latitude lat0: the sweep runs from it to its
// opposite.
double Semiampiezza_Parallelo(double lat, double lat0);

// A point of the orthographic grid: x, y and the depth (>= 0 when seen), for
// latitude phi and longitude lam measured from the view's central meridian
// (radians), view centre latitude phi0 (radians).
struct PuntoGriglia {
    double x = 0, y = 0, d = 0;
};
PuntoGriglia Punto_Griglia(double phi, double lam, double phi0);

// The icon of a satellite: 13 for catalogue "20580", 14 for "25544", 15 for
// the principal (slot 1), 11 for the others; `precedente` for a slot below 1.
int Icona_Satellite(QStringView catalogo, int slot, int precedente);

// The caption of the coordinate readout: title, " - ", the longitude and
// latitude titles with sign, degrees and minutes; two blanks between the two
// on the globe, one on the rectangular map.
QString Testo_Coordinate(const QString& titolo, const QString& titoloLon, const QString& titoloLat,
                         double lon, double lat, bool globo);

} // namespace maps::mappa
