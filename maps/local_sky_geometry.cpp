#include "maps/local_sky_geometry.h"

#include "astro/mate.h"

#include <cmath>

namespace views::cielo {

namespace {
constexpr double kPi = 3.14159265;
constexpr double kRad = 0.0174532925;
constexpr double kGradi = 57.295779513;

const char* const kSequenza[12] = {"N", " 30°", " 60°", "E", "120°", "150°",
                                   "S", "210°", "240°", "W", "300°", "330°"};
const float kPosizioni[12][2] = {{95, 2},    {78, 52},   {45, 86},  {-2, 98},  {-56, 85}, {-89, 53},
                                 {-100, 2}, {-92, -45}, {-59, -78}, {-2, -92}, {45, -78}, {78, -45}};
} // namespace

Finestra Finestra_Da_Aspetto(double aspetto)
{
    Finestra f;
    if (!(aspetto > 0) || !std::isfinite(aspetto))
        aspetto = 1;
    if (aspetto < 1) {
        f.sx = -100;
        f.dx = 100;
        f.sy = float(100 / aspetto);
        f.dy = float(-100 / aspetto);
    } else {
        f.sx = float(-100 * aspetto);
        f.dx = float(100 * aspetto);
        f.sy = 100;
        f.dy = -100;
    }
    return f;
}

void Mappatura(int k, bool stereo, double azimuth, double altitude, float& x, float& y)
{
    double nx, ny;
    if (stereo) {
        const double a = mMate::Modulus(90.0 * k + azimuth, 360) * kRad;
        const double h = altitude * kRad;
        const double t = kPi / 4 - h / 2;
        const double r = 90 * std::sin(t) / std::cos(t);
        nx = r * std::sin(2 * kPi - a);
        ny = r * std::cos(2 * kPi - a);
    } else {
        const double a = mMate::Modulus(90.0 * k + azimuth + 90, 360) * kRad;
        nx = (90 - altitude) * std::cos(a);
        ny = (90 - altitude) * std::sin(a);
    }
    if (std::isfinite(nx) && std::isfinite(float(nx)))
        x = float(nx);
    if (std::isfinite(ny) && std::isfinite(float(ny)))
        y = float(ny);
}

void Mappatura_inversa(int k, bool stereo, float x, float y, double& azimuth, double& altitude)
{
    const double theta = mMate::Atan2_360(y, x);
    const double r = std::sqrt(double(x) * x + double(y) * y);
    // The stereographic radius is 90 tan(45 - altitude / 2); read back from
    // the distance to the zenith, which also holds on the chart's vertical
    // axis, where the angle's sine is zero.
    const double alt = stereo ? (kPi - 4 * std::atan(r / 90)) / 2 * kGradi : 90 - r;
    if (std::isfinite(alt))
        altitude = alt;
    const double az = mMate::Modulus(theta * kGradi - 90.0 * k - 90, 360);
    if (std::isfinite(az))
        azimuth = az >= 360 ? az - 360 : az;
}

int Stadio_Cielo(double e)
{
    if (e > -6)
        return 1;
    if (e > -12)
        return 2;
    if (e > -18)
        return 3;
    return 4;
}

const char* Etichetta_Bussola(int k, int i)
{
    // The first position holds W (index 9) for south, S (6) east, E (3) north, N (0) west.
    static const int inizio[4] = {9, 6, 3, 0};
    const int s = inizio[(k >= 0 && k <= 3) ? k : 0];
    return kSequenza[(s + i) % 12];
}

void Posizione_Bussola(int i, float& x, float& y)
{
    x = kPosizioni[i % 12][0];
    y = kPosizioni[i % 12][1];
}

int Indice_Fase_Luna(double angolo)
{
    const double v = 360 - angolo * kGradi;
    if (!std::isfinite(v))
        return -1;
    const long long n = std::llrint(v); // the default rounding mode rounds halves to even
    return int(n % 360);
}

} // namespace views::cielo
