#include "locations/location_globe.h"

#include "core/mlang.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <cmath>

namespace locations {

namespace {

const double kCentri[11] = {-180, -140, -100, -60, -20, 0, 20, 60, 100, 140, 160};

QImage Mappa()
{
    static QImage mappa = [] {
        QImage img(QDir(mLang::Cartella_Programma()).filePath(QStringLiteral("MapEarth.dat")), "PNG");
        return img.isNull() ? img : img.convertToFormat(QImage::Format_RGB32);
    }();
    return mappa;
}

QPixmap Crea(int n)
{
    const int lato = kLatoGlobo;
    QImage out(lato, lato, QImage::Format_ARGB32);
    out.fill(Qt::black);
    const QImage mappa = Mappa();
    const double rad = M_PI / 180.0;
    const double phi0 = 15.0 * rad;
    const double lam0 = kCentri[n - 1] * rad;
    const double r = lato / 2.0 - 1;
    for (int py = 0; py < lato; ++py) {
        for (int px = 0; px < lato; ++px) {
            const double x = (px + 0.5 - lato / 2.0) / r;
            const double y = (lato / 2.0 - py - 0.5) / r;
            const double rho = std::hypot(x, y);
            if (rho > 1.0)
                continue;
            // Inverse orthographic projection.
            const double c = std::asin(rho);
            double phi = phi0;
            double lam = lam0;
            if (rho > 0) {
                phi = std::asin(std::cos(c) * std::sin(phi0) + y * std::sin(c) * std::cos(phi0) / rho);
                lam = lam0 + std::atan2(x * std::sin(c),
                                        rho * std::cos(phi0) * std::cos(c) - y * std::sin(phi0) * std::sin(c));
            }
            double lon = std::fmod(lam / rad + 540.0, 360.0) - 180.0;
            const double lat = phi / rad;
            QRgb colore;
            if (!mappa.isNull()) {
                const int mx = std::clamp(int((lon + 180.0) / 360.0 * mappa.width()), 0, mappa.width() - 1);
                const int my = std::clamp(int((90.0 - lat) / 180.0 * mappa.height()), 0, mappa.height() - 1);
                colore = mappa.pixel(mx, my);
            } else {
                const bool griglia = std::fmod(std::fabs(lat), 30.0) < 1.5 || std::fmod(lon + 360.0, 30.0) < 1.5;
                colore = griglia ? qRgb(90, 140, 200) : qRgb(30, 70, 150);
            }
            // A little shading towards the limb.
            const double luce = 0.55 + 0.45 * std::sqrt(std::max(0.0, 1.0 - rho * rho));
            out.setPixel(px, py, qRgb(int(qRed(colore) * luce), int(qGreen(colore) * luce),
                                      int(qBlue(colore) * luce)));
        }
    }
    return QPixmap::fromImage(out);
}

} // namespace

QPixmap Immagine_Globo(int n)
{
    static QPixmap cache[11];
    if (n < 1 || n > 11)
        return {};
    if (cache[n - 1].isNull())
        cache[n - 1] = Crea(n);
    return cache[n - 1];
}

} // namespace locations
