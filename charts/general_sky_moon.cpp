#include "charts/general_sky_moon.h"

#include "platform/vb.h"

#include <cmath>

namespace charts {

FiguraLuna Figura_Luna(double faseRadianti)
{
    constexpr platform::VbColor bianco = vb::RGB(255, 255, 255);
    constexpr platform::VbColor nero = vb::RGB(0, 0, 0);
    const float gradi = static_cast<float>(faseRadianti * 57.295779513);
    // Rounded half to even, as the default floating-point rounding does.
    long p = std::lrint(360.0 - static_cast<double>(gradi)) % 360;
    if (p < 0)
        p += 360;
    FiguraLuna f;
    f.p = static_cast<int>(p);
    if (p < 90) {
        f.disco = bianco;
        f.metaDestra = true;
        f.colore = nero;
        f.k = 1.0 - p / 90.0;
    } else if (p < 180) {
        f.disco = nero;
        f.metaDestra = false;
        f.colore = bianco;
        f.k = (p - 90) / 90.0;
    } else if (p < 270) {
        f.disco = nero;
        f.metaDestra = true;
        f.colore = bianco;
        f.k = 1.0 - (p - 180) / 90.0;
    } else {
        f.disco = bianco;
        f.metaDestra = false;
        f.colore = nero;
        f.k = (p - 270) / 90.0;
    }
    return f;
}

void Disegna_Figura_Luna(platform::Canvas& c, double x, double y, double r, double faseRadianti)
{
    const FiguraLuna f = Figura_Luna(faseRadianti);
    constexpr double pi = 3.14159265;
    c.setFillStyle(platform::Canvas::FillSolid);
    c.setFillColor(f.disco);
    c.Circle(x, y, r, f.disco);
    c.setFillColor(f.colore);
    if (f.metaDestra)
        c.Circle(x, y, r, f.colore, -3 * pi / 2, -pi / 2);
    else
        c.Circle(x, y, r, f.colore, -pi / 2, -3 * pi / 2);
    if (f.k != 0)
        c.Circle(x, y, r, f.colore, std::nullopt, std::nullopt, 1.0 / f.k);
    c.setFillStyle(platform::Canvas::FillTransparent);
    c.Circle(x, y, r, vb::RGB(0, 0, 0));
}

} // namespace charts
