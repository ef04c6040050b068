#pragma once
// The Moon's phase figure shared by every window that draws the Moon: a
// full disc, a half disc over it and an ellipse centred on it, chosen by the
// phase angle, then a black outline. A waxing Moon is lit on the right.
#include "platform/canvas.h"

namespace common {

// The figure's whole-degree phase index: 360 minus the phase angle in
// degrees (the angle as a single-precision number), rounded to the nearest
// whole number with halves to the even neighbour, folded into 0 to 359.
// 0 new Moon, 270 first quarter, 180 full Moon, 90 last quarter. An angle
// that is not a finite number counts as 0.
int Indice_Fase_Luna(double angoloFaseRadianti);

// What the figure is made of for phase index p (0 to 359): the colour of
// the full disc, of the half disc drawn over it and of the ellipse, whether
// the half disc is the right one, and the ellipse's horizontal semi-axis as
// a fraction k of the radius (no ellipse when k is 0).
struct FiguraFase {
    platform::VbColor disco = 0;
    platform::VbColor mezzoDisco = 0;
    bool mezzoDestro = false;
    platform::VbColor ellisse = 0;
    double k = 0;
};
FiguraFase Figura_Fase(int p);

// Draws the figure of phase angle `angoloFaseRadianti` (0 at new Moon, pi at
// full Moon, growing while the Moon waxes) centred at (x, y) with radius r
// in the canvas's units, filled solid. The canvas's fill style, fill colour
// and draw style are put back afterwards; the layer drawn on is the one the
// canvas's autoRedraw chooses.
void Disegna_Fase(platform::Canvas& canvas, double x, double y, double r, double angoloFaseRadianti);

// The figure as a picture box shows it: centred in the canvas's scale, with
// radius a third of the scale width, drawn on the persistent layer (which it
// leaves off again afterwards), nothing cleared first.
void Disegna_Fase_Riquadro(platform::Canvas& picture, double angoloFaseRadianti);

} // namespace common
