#pragma once
// The Moon's phase figure shared by the sky charts and the object box: a
// disc, a half-disc over it and an ellipse, chosen by the phase angle.
#include "platform/canvas.h"

namespace charts {

struct FiguraLuna {
    int p = 0;                       // 360 - phase in degrees, rounded half to even, mod 360
    platform::VbColor disco = 0;     // colour of the full disc
    bool metaDestra = false;         // the half-disc is the 3 o'clock (right) half
    platform::VbColor colore = 0;    // colour of the half-disc and of the ellipse
    double k = 0;                    // ellipse horizontal semi-axis / radius (0: none)
};

// The figure for a phase angle in radians (0 new Moon, pi full Moon, growing
// while the Moon waxes). An angle outside 0..2 pi is taken modulo one turn.
FiguraLuna Figura_Luna(double faseRadianti);

// Draws the figure centred on (x, y) with radius r (horizontal units of the
// canvas), then its black outline. The fill is left transparent.
void Disegna_Figura_Luna(platform::Canvas& c, double x, double y, double r, double faseRadianti);

} // namespace charts
