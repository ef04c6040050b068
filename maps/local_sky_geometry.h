#pragma once
// The coordinate system of the local sky chart: the zenith at the origin,
// the horizon on the circle of radius 90, y growing upwards. The chart is
// turned so that the orientation's point of the horizon lies at the bottom
// (k: 0 south, 1 east, 2 north, 3 west), in the stereographic or in the
// azimuthal equidistant projection.
namespace views::cielo {

// Orientation indices, in the order the chart tests its menu items.
inline constexpr int kSud = 0;
inline constexpr int kEst = 1;
inline constexpr int kNord = 2;
inline constexpr int kOvest = 3;

// The scale window of the chart: top-left (sx, sy), bottom-right (dx, dy).
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

// The moon's phase index: 360 minus the phase angle in degrees, rounded
// half to even, remainder of the division by 360 (sign of the dividend).
int Indice_Fase_Luna(double angoloFaseRadianti);

} // namespace views::cielo
