#include "maps/world_map_geometry.h"

#include "astro/mate.h"
#include "platform/vb.h"

#include <algorithm>
#include <cmath>

namespace maps::mappa {

QString File_Rettangolare()
{
    return QStringLiteral("\\MapEarth.dat");
}

Vista Scegli_Vista(double lat, double lon360)
{
    if (lat > 70)
        return {QStringLiteral("\\MapNorth.dat"), 0, 90};
    if (lat < -70)
        return {QStringLiteral("\\MapSouth.dat"), 0, -90};
    int settore = 0;
    if (lon360 >= 45 && lon360 < 135)
        settore = 90;
    else if (lon360 >= 135 && lon360 < 225)
        settore = 180;
    else if (lon360 >= 225 && lon360 < 315)
        settore = 270;
    QString nome = QStringLiteral("\\Map") + QString::number(settore);
    float centro = 0;
    if (lat < -30) {
        nome += QStringLiteral("S45");
        centro = -45;
    } else if (lat > 30) {
        nome += QStringLiteral("N45");
        centro = 45;
    }
    return {nome + QStringLiteral(".dat"), float(settore), centro};
}

QString Percorso_Immagine(const QString& cartella, const QString& file)
{
    QString nome = file;
    if (nome.startsWith(QLatin1Char('\\')))
        nome.remove(0, 1);
    return cartella + QLatin1Char('/') + nome;
}

bool Proiezione_ortografica(float lon0, float lat0, double lon, double lat, double& x, double& y)
{
    const double f0 = double(lat0) * kGradiRadianti;
    const double l0 = double(lon0) * kGradiRadianti;
    const double f = lat * kGradiRadianti;
    const double l = lon * kGradiRadianti;
    const double cosc = std::sin(f0) * std::sin(f) + std::cos(f0) * std::cos(f) * std::cos(l - l0);
    if (cosc <= 0 && std::fabs(cosc) > 1e-7)
        return false;
    x = kRaggioGlobo * std::cos(f) * std::sin(l - l0);
    y = kRaggioGlobo * (std::cos(f0) * std::sin(f) - std::sin(f0) * std::cos(f) * std::cos(l - l0));
    return true;
}

bool Coordinate_Globo(double x, double y, float lon0, float lat0, double& lon, double& lat)
{
    // The pointer is read on the globe as drawn (radius 142), so that the
    // figures name the place under the pointer.
    const double u = x / kRaggioGlobo;
    const double v = y / kRaggioGlobo;
    const double rho = std::sqrt(u * u + v * v);
    if (rho > 1)
        return false;
    const double f0 = double(lat0) * kGradiRadianti;
    const double l0 = double(lon0) * kGradiRadianti;
    if (rho == 0) {
        lat = double(lat0);
        lon = double(lon0);
    } else {
        const double c = mMate::ArcoSeno(rho);
        const double s = std::sin(c);
        const double k = std::cos(c);
        double seno = k * std::sin(f0) + v * s * std::cos(f0) / rho;
        seno = std::clamp(seno, -1.0, 1.0);
        lat = mMate::ArcoSeno(seno) * kRadiantiGradi;
        // The quadrant matters across the pole of a tilted view.
        lon = (l0 + std::atan2(u * s, rho * std::cos(f0) * k - v * std::sin(f0) * s)) * kRadiantiGradi;
    }
    while (lon > 180)
        lon -= 360;
    while (lon <= -180)
        lon += 360;
    return true;
}

double Angolo_Orario(double tempoSiderale, double ascensione)
{
    const double h = mMate::Modulus(tempoSiderale - ascensione, 24.0);
    return h * 360.0 / 24.0;
}

double Angolo_Terminatore(double a)
{
    if (a < 180)
        return a;
    if (a == 180)
        return -180;
    return a - 360;
}

double Longitudine_Subsolare(double a)
{
    if (a < 180)
        return -a;
    if (a == 180)
        return 180;
    return 360 - a;
}

Tabella_Terminatore Terminatore(double H, double declinazione)
{
    const double d = declinazione == 0 ? 0.5 : declinazione;
    Tabella_Terminatore t;
    const double td = std::tan(d * kGradiRadianti);
    for (int k = 0; k <= 720; ++k) {
        const double lon = -180.0 + 0.5 * k;
        const double lat = std::atan(-std::cos((H + lon) * kGradiRadianti) / td) / kGradiRadianti;
        t[size_t(k)] = {lon, std::round(lat * 100.0) / 100.0};
    }
    return t;
}

double Latitudine_Terminatore(double H, double declinazione, double lon)
{
    const double d = declinazione == 0 ? 0.5 : declinazione;
    return std::atan(-std::cos((H + lon) * kGradiRadianti) / std::tan(d * kGradiRadianti)) / kGradiRadianti;
}

bool Lato_Notte(double H, double declinazione, double lon, double lat)
{
    const double d = declinazione == 0 ? 0.5 : declinazione;
    const double t = Latitudine_Terminatore(H, d, lon);
    return d >= 0 ? lat < t : lat > t;
}

bool Angolo_Impronta(double distanza, double& c)
{
    const double r = std::floor(distanza);
    if (!(r > kRaggioTerra))
        return false;
    const double rho = kRaggioTerra / r;
    c = 1.57079633 - mMate::Atan2_360(rho, std::sqrt(1 - rho * rho));
    return true;
}

Punto Bordo_Impronta(double c, double latS, double lonS, double A)
{
    const double a = std::sin(A) * std::sin(c);
    const double b = std::cos(A) * std::sin(c);
    const double t = std::cos(c) * std::cos(latS) - b * std::sin(latS);
    const double z = std::cos(c) * std::sin(latS) + b * std::cos(latS);
    const double X = t * std::cos(lonS) - a * std::sin(lonS);
    const double Y = t * std::sin(lonS) + a * std::cos(lonS);
    double lon = mMate::Atan2_360(Y, X) * kRadiantiGradi;
    if (lon > 180)
        lon -= 360;
    const double lat = mMate::ArcoSeno(std::clamp(z, -1.0, 1.0)) * kRadiantiGradi;
    return {lon, lat};
}

int Tratti_Bordo(double px, double py, double lon, double lat, std::array<Tratto, 2>& pezzi)
{
    if (std::fabs(lon - px) <= 320) {
        pezzi[0] = {px, py, lon, lat};
        return 1;
    }
    if (lon > px) {
        pezzi[0] = {px, py, lon - 360, lat};
        pezzi[1] = {px + 360, py, lon, lat};
    } else {
        pezzi[0] = {px, py, lon + 360, lat};
        pezzi[1] = {px - 360, py, lon, lat};
    }
    return 2;
}

QString Etichetta_Griglia(int valore, bool longitudine)
{
    QString suffisso = QStringLiteral("  ");
    if (valore < 0)
        suffisso = longitudine ? QStringLiteral("°W") : QStringLiteral("°S");
    else if (valore > 0)
        suffisso = longitudine ? QStringLiteral("°E") : QStringLiteral("°N");
    return QLatin1Char(' ') + QString::number(std::abs(valore)) + suffisso;
}

double Semiampiezza_Parallelo(double lat, double lat0)
{
    const double f = lat * kGradiRadianti;
    const double f0 = lat0 * kGradiRadianti;
    const double c = -(std::sin(f0) * std::sin(f)) / (std::cos(f0) * std::cos(f));
    double lh = 0;
    if (c > -1 && c < 1) {
        if (c * c <= 0.001)
            lh = -90;
        else
            lh = std::atan(std::sqrt(1 - c * c) / c) * kRadiantiGradi;
    }
    return lh > 0 ? -lh : -180 - lh;
}

PuntoGriglia Punto_Griglia(double phi, double lam, double phi0)
{
    PuntoGriglia p;
    p.x = kRaggioGlobo * std::cos(phi) * std::sin(lam);
    p.y = kRaggioGlobo * (std::cos(phi0) * std::sin(phi) - std::sin(phi0) * std::cos(phi) * std::cos(lam));
    p.d = kRaggioGlobo * (std::sin(phi0) * std::sin(phi) + std::cos(phi0) * std::cos(phi) * std::cos(lam));
    return p;
}

int Icona_Satellite(QStringView catalogo, int slot, int precedente)
{
    if (catalogo == u"20580")
        return 13;
    if (catalogo == u"25544")
        return 14;
    if (slot == 1)
        return 15;
    if (slot > 1)
        return 11;
    return precedente;
}

QString Testo_Coordinate(const QString& titolo, const QString& titoloLon, const QString& titoloLat,
                         double lon, double lat, bool globo)
{
    const QString segnoLat = lat < 0 ? QStringLiteral("-") : QStringLiteral("+");
    const QString segnoLon = lon < 0 ? QStringLiteral("-") : QStringLiteral("+");
    const double gradiLat = std::fabs(vb::Fix(lat));
    const double gradiLon = std::fabs(vb::Fix(lon));
    const double minutiLat = vb::Int(std::fabs(lat - vb::Fix(lat)) * 60);
    const double minutiLon = vb::Int(std::fabs(lon - vb::Fix(lon)) * 60);
    const QString separatore = globo ? QStringLiteral("  ") : QStringLiteral(" ");
    return titolo + QStringLiteral(" - ") + titoloLon + QLatin1Char(' ') + segnoLon
           + vb::Format(gradiLon, u"#00° ") + vb::Format(minutiLon, u"00m ") + separatore + titoloLat
           + QLatin1Char(' ') + segnoLat + vb::Format(gradiLat, u"00° ") + vb::Format(minutiLat, u"00m ");
}

} // namespace maps::mappa
