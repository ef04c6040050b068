#include "common/moon_phase.h"

#include "platform/vb.h"

#include <cmath>

namespace common {

namespace {

constexpr double kPi = 3.14159265358979;
constexpr platform::VbColor kBianco = vb::RGB(255, 255, 255);
constexpr platform::VbColor kNero = vb::RGB(0, 0, 0);

} // namespace

int Indice_Fase_Luna(double angoloFaseRadianti)
{
    if (!std::isfinite(angoloFaseRadianti))
        return 0;
    const float gradi = float(angoloFaseRadianti * 57.295779513);
    // Halves to even, as the classic rounding did.
    const double p = std::nearbyint(360.0 - double(gradi));
    long q = std::lround(std::fmod(p, 360.0));
    if (q < 0)
        q += 360;
    return int(q % 360);
}

FiguraFase Figura_Fase(int p)
{
    p %= 360;
    if (p < 0)
        p += 360;
    FiguraFase f;
    if (p < 90) {
        f = {kBianco, kNero, true, kNero, 1.0 - p / 90.0};
    } else if (p < 180) {
        f = {kNero, kBianco, false, kBianco, (p - 90) / 90.0};
    } else if (p < 270) {
        f = {kNero, kBianco, true, kBianco, 1.0 - (p - 180) / 90.0};
    } else {
        f = {kBianco, kNero, false, kNero, (p - 270) / 90.0};
    }
    return f;
}

void Disegna_Fase(platform::Canvas& canvas, double x, double y, double r, double angoloFaseRadianti)
{
    const FiguraFase f = Figura_Fase(Indice_Fase_Luna(angoloFaseRadianti));
    const int stileRiempimento = canvas.fillStyle();
    const platform::VbColor coloreRiempimento = canvas.fillColor();
    const int stileLinea = canvas.drawStyle();
    canvas.setDrawStyle(platform::Canvas::Solid);
    canvas.setFillStyle(platform::Canvas::FillSolid);

    canvas.setFillColor(f.disco);
    canvas.Circle(x, y, r, f.disco);
    // The right half runs from the bottom through 3 o'clock to the top, the
    // left half from the top through 9 o'clock to the bottom.
    canvas.setFillColor(f.mezzoDisco);
    if (f.mezzoDestro)
        canvas.Circle(x, y, r, f.mezzoDisco, -1.5 * kPi, -0.5 * kPi);
    else
        canvas.Circle(x, y, r, f.mezzoDisco, -0.5 * kPi, -1.5 * kPi);
    if (f.k > 0) {
        canvas.setFillColor(f.ellisse);
        // Vertical semi-axis r, horizontal k r.
        canvas.Circle(x, y, r, f.ellisse, std::nullopt, std::nullopt, 1.0 / f.k);
    }
    canvas.setFillStyle(platform::Canvas::FillTransparent);
    canvas.Circle(x, y, r, kNero);

    canvas.setFillStyle(stileRiempimento);
    canvas.setFillColor(coloreRiempimento);
    canvas.setDrawStyle(stileLinea);
}

void Disegna_Fase_Riquadro(platform::Canvas& picture, double angoloFaseRadianti)
{
    const double w = picture.scaleWidth();
    const double h = picture.scaleHeight();
    picture.setAutoRedraw(true);
    Disegna_Fase(picture, picture.scaleLeft() + w / 2.0, picture.scaleTop() + h / 2.0, std::fabs(w) / 3.0,
                 angoloFaseRadianti);
    picture.setAutoRedraw(false);
}

} // namespace common
