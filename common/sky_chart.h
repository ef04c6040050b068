#pragma once
// The chart of the observer's sky that the local sky chart, the pass map and
// their printed pages share: its coordinate system and two projections, the
// chart places of the stars, constellation segments and bodies of one sky,
// and the painter of its layers (sky disc, compass, grid, constellations,
// stars, Sun, Moon, planets, landscape). Each window tells the painter what
// it shows and adds its own satellites.
//
// Chart units: the zenith at the origin, the horizon on the circle of
// radius 90, y growing upwards. The chart is turned so that the
// orientation's point of the horizon lies at the bottom (k: 0 south, 1 east,
// 2 north, 3 west), in the stereographic or in the azimuthal equidistant
// projection.
#include "core/sky_instant.h"

#include <QImage>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

class QPageSize;
class QPrinter;

namespace platform {
class Canvas;
}

namespace common {

// ---------------------------------------------------------------- geometry

// Orientation indices, in the order the charts test their menu items.
inline constexpr int kSud = 0;
inline constexpr int kEst = 1;
inline constexpr int kNord = 2;
inline constexpr int kOvest = 3;

// The scale window of a chart: top-left (sx, sy), bottom-right (dx, dy).
struct Finestra {
    float sx = -200, sy = 100, dx = 200, dy = -100;
};

// The window for a picture box of this width / height: the shorter side
// spans -100..100, so the horizon keeps a margin of 10 units.
Finestra Finestra_Da_Aspetto(double aspetto);

// Azimuth and altitude (degrees) to chart x and y. A step that gives no
// finite number leaves x and y as they were.
void Mappatura(int k, bool stereo, double azimuth, double altitude, float& x, float& y);

// Chart x and y back to azimuth (0 to below 360) and altitude (degrees).
void Mappatura_inversa(int k, bool stereo, float x, float y, double& azimuth, double& altitude);

// Twilight stage of the sky disc by the Sun's elevation: 1 day (above -6),
// 2 civil (-12, -6], 3 nautical (-18, -12], 4 night.
int Stadio_Cielo(double elevazioneSole);

// The twelve compass labels, counter-clockwise from the right of the chart,
// for orientation k (first label "W" for south, "S" east, "E" north, "N" west).
const char* Etichetta_Bussola(int k, int i); // i = 0..11
// Chart positions of the top-left corners of those labels.
void Posizione_Bussola(int i, float& x, float& y);

// The Moon's phase index: 360 minus the phase angle in degrees, rounded
// half to even, remainder of the division by 360 (sign of the dividend).
int Indice_Fase_Carta(double angoloFaseRadianti);

// ---------------------------------------------------------------- pictures

// The satellite icons (16 to 27: four styles of three images, style s uses
// s + 16 sunlit but not visible, s + 17 visible, s + 18 other; styles 0 the
// principal, 3 any other, 6 the space station, 9 the space telescope) and
// the Sun.
QImage Immagine_Satellite(int indice); // a null image outside 16..27
QImage Immagine_Sole();
// The icon index of a satellite of this catalogue number in this
// illumination state, on a chart where it is (or is not) the principal.
int Indice_Satellite(const std::string& numeroCatalogo, int stato, bool principale);

// ---------------------------------------------------------------- one sky

// What a chart shows and how.
struct OpzioniCielo {
    int orientamento = kSud;
    bool stereografica = false;
    int numStelle = 0;            // the brightest stars projected and drawn
    bool griglia = false;
    int grigliaTipo = -1;         // -1 altitude-azimuth, 0 equatorial, any other none
    bool griglia10 = false;       // the altitude circle of 10 degrees too
    bool effettoOrizzonte = false;
    bool lineeCostellazioni = false;
    bool nomiCostellazioni = false;
    bool soleLuna = false;
    bool nomiSoleLuna = false;
    bool pianeti = false;
    bool nomiPianeti = false;
    bool nomiInteri = false;      // whole constellation and planet names (a zoomed chart)
    std::array<std::uint32_t, 4> coloriGriglia{}; // by the sky's stage 1..4
    std::uint32_t coloreLinee = 0;
    std::uint32_t coloreNomi = 0;
    std::uint32_t coloreBussola = 0;
};

// The chart place of one thing of the sky.
struct PuntoCielo {
    float x = 0, y = 0;
    double azimuth = 0, altezza = 0;
};

// Where the things of one sky stand on one chart (1-based, index 0 unused).
struct PosizioniCielo {
    std::vector<PuntoCielo> stelle;                    // 1..numStelle
    std::vector<std::array<PuntoCielo, 2>> linee;      // the constellation segments
    std::array<PuntoCielo, 10> corpi{};                // rows 1..9
};
PosizioniCielo Calcola_Posizioni(const core::CieloIstante& cielo, int k, bool stereo, int numStelle);

// Draws the layers of one sky on a screen canvas whose chart scale is set.
// rapportoCerchio makes a circle of chart units come out round when the
// scale window distorts the proportions.
class PittoreCielo {
public:
    PittoreCielo(platform::Canvas& c, const core::CieloIstante& cielo, const PosizioniCielo& p,
                 const OpzioniCielo& o, double rapportoCerchio = 1);

    // The sky disc by the Sun's elevation; chooses the grid colour.
    void Disegna_sfondo();
    void Disegna_punti_cardinali();
    void Disegna_griglia();
    void Disegna_linee_costellazioni();
    void Disegna_nomi_costellazioni();
    void Disegna_stelle();
    // A planet (rows 1..7) or the Sun (8) and its label.
    void Disegna_pianeta(float size, std::uint32_t colour, int k);
    void Disegna_luna();
    // The landscape over the horizon circle; its pure green lets the sky show through.
    void Disegna_paesaggio(const QImage& paesaggio);
    void setRapportoCerchio(double r) { rapporto = r; }

    // The palette colours of the planets, rows 1..7.
    static std::uint32_t Colore_Pianeta(int k);

private:
    void Segmento(const PuntoCielo& a, const PuntoCielo& b, std::uint32_t colour);
    // The radius to give the canvas for a circle about the zenith of r chart
    // units (the horizon, the altitude circles).
    double Raggio_Carta(double r) const;

    platform::Canvas& c;
    const core::CieloIstante& cielo;
    const PosizioniCielo& pos;
    const OpzioniCielo& o;
    double rapporto;
    std::uint32_t coloreGriglia = 0;
};

// ---------------------------------------------------------------- printed page

// The page of a printed chart, in twips from the top left of the printable
// area (A4 layout: 11904 x 16836): the frame, the chart in black on white in
// its upper part; each window prints its own text below the divider.
inline constexpr double kLarghezzaPagina = 11904;
inline constexpr double kAltezzaPagina = 16836;
inline constexpr double kMargine = 1200;
inline constexpr double kDiametro = 8000;
inline constexpr double kScala = 44; // twips per chart unit
inline constexpr double kXCentro = kLarghezzaPagina / 2;
inline constexpr double kYCentro = kDiametro / 2 + kMargine + 300;

// How a window prints its chart.
struct OpzioniPagina {
    bool letter = false;          // Letter paper: the frame ends higher
    // Pen widths in the page's units for widths given in printer dots.
    int (*penna)(int punti) = nullptr; // null: as given
    bool stelleDischi = true;     // stars as filled discs (else pen dots)
    bool lineeTagliate = false;   // constellation segments cut at the horizon
    bool puntinatoFinoAiPianeti = false; // the dotted pen of those segments stays on for the stars and the Moon
};

// The bottom line of the frame: 14600 on Letter paper, else 15636.
double Fondo_Cornice(bool letter);
// Letter paper, told by its size: 8.5 x 11 inches to a millimetre, either
// way up, whatever the printer calls it ("Letter", "Letter Small", a size
// of its own).
bool Carta_Letter(const QPageSize& carta);
// Readies the printer for a chart page, drawn upright on its paper whatever
// orientation was chosen in the printer's properties before; true on Letter
// paper.
bool Prepara_Pagina(QPrinter& stampante);
// The step of the text lines under the chart: one Courier New 10 line.
inline constexpr double kPassoRiga = 225;
// Radius (twips) of the disc of star i of the brightness-ordered table.
double Raggio_Stella(int i);
// Draws the frame, the horizon, the grid, the compass labels, the
// constellations, the stars, the Moon, the planets and the Sun.
void Disegna_Pagina_Cielo(platform::Canvas& p, const core::CieloIstante& cielo, const PosizioniCielo& pos,
                          const OpzioniCielo& o, const OpzioniPagina& pagina);

} // namespace common
