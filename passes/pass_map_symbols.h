#pragma once
// Pieces the pass map shares between the screen and the printed sheet: the
// azimuth texts, the Moon's phase figure and the small pictures of the Sun
// and of the satellite.
#include <QDateTime>
#include <QImage>
#include <QString>
#include <cstdint>

namespace platform {
class Canvas;
}

namespace skysat {

// The fourteen options of a pass map, named as the menu items that show
// them; the window's member of each is "imp" followed by the name.
inline constexpr const char* kOpzioni[14] = {
    "mnuSkySatGriglia",
    "mnuSkySatPaesaggio",
    "mnuSkySatEtichettePianeti",
    "mnuSkySatEtichetteSoleLuna",
    "mnuSkySatEtichetteCostellazioni",
    "mnuSkySatOggettiPianeti",
    "mnuSkySatOggettiSoleLuna",
    "mnuSkySatOggettiCostellazioni",
    "mnuSkySatProiezStereo",
    "mnuSkySatProiezNormale",
    "mnuSkySatOrientamentoNord",
    "mnuSkySatOrientamentoSud",
    "mnuSkySatOrientamentoOvest",
    "mnuSkySatOrientamentoEst",
};

// A program date-time as the general date: the display locale's short date
// and long time.
QString Data_Generale(const QDateTime& d);

// The label of an azimuth that is a multiple of 30 degrees: "N", "E", "S",
// "W" for the cardinal points, else three characters (" 30°", "120°").
QString Testo_Azimut(int azimuth);

// The Moon's phase value P (0 new, 90 left half lit, 180 full, 270 right
// half lit) from its phase angle in radians (0 new Moon, pi full, growing
// while it waxes).
int Fase_Lunare(double angoloFase);

// The Moon at phase P as a disc of radius r about (x, y): a disc, a half
// disc and an ellipse, lit parts white and dark parts black (solid fill,
// each outline in its fill colour, no outline of the whole), as the printed
// sheet wants it. The canvas's fill style is left solid.
void Disegna_Fase_Lunare(platform::Canvas& c, double x, double y, double r, int fase);

// The Sun's picture on the charts (transparent around it).
QImage Simbolo_Sole();
// The satellite's picture: the space station ("25544"), the space telescope
// ("20580") or any other satellite, coloured by its illumination state
// (2 visible, 3 sunlit but not visible, otherwise in the Earth's shadow).
QImage Simbolo_Satellite(const QString& numeroCatalogo, int stato);

} // namespace skysat
