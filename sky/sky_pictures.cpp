#include "sky/sky_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace sky {

namespace {

QImage vuota(int lato)
{
    QImage img(lato, lato, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

// A cross-hair pointer: white lines with a black border, a gap in the middle.
QImage croce(bool lente)
{
    QImage img = vuota(32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    auto tratto = [&](QLineF l) {
        p.setPen(QPen(Qt::black, 3));
        p.drawLine(l);
        p.setPen(QPen(Qt::white, 1));
        p.drawLine(l);
    };
    tratto(QLineF(16, 2, 16, 12));
    tratto(QLineF(16, 20, 16, 30));
    tratto(QLineF(2, 16, 12, 16));
    tratto(QLineF(20, 16, 30, 16));
    if (lente) {
        // A small magnifier in the corner marks the zoom mode.
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(Qt::black, 3));
        p.drawEllipse(QPointF(24, 6), 4.5, 4.5);
        p.drawLine(QPointF(21, 9), QPointF(18, 12));
        p.setPen(QPen(Qt::yellow, 1.5));
        p.drawEllipse(QPointF(24, 6), 4.5, 4.5);
        p.drawLine(QPointF(21, 9), QPointF(18, 12));
    }
    return img;
}

QImage sole(int lato)
{
    QImage img = vuota(lato);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF c(lato / 2.0, lato / 2.0);
    const double r = lato * 0.27;
    p.setPen(QPen(QColor(255, 200, 0), std::max(1.0, lato / 16.0)));
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * (r * 1.25),
                   c + QPointF(std::cos(a), std::sin(a)) * (lato * 0.48));
    }
    QRadialGradient g(c, r);
    g.setColorAt(0, QColor(255, 255, 200));
    g.setColorAt(1, QColor(255, 190, 0));
    p.setBrush(g);
    p.setPen(QPen(QColor(230, 140, 0), 1));
    p.drawEllipse(c, r, r);
    return img;
}

QImage pianeta(QColor chiaro, QColor scuro, double raggio, bool anelli, bool bande)
{
    QImage img = vuota(48);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillRect(img.rect(), Qt::black);
    const QPointF c(24, 24);
    if (anelli) {
        p.setPen(QPen(QColor(210, 190, 140), 2.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, raggio * 1.9, raggio * 0.55);
    }
    QRadialGradient g(c - QPointF(raggio / 3, raggio / 3), raggio * 1.4);
    g.setColorAt(0, chiaro);
    g.setColorAt(1, scuro);
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawEllipse(c, raggio, raggio);
    if (bande) {
        p.setClipRegion(QRegion(QRect(int(24 - raggio), int(24 - raggio), int(2 * raggio), int(2 * raggio)),
                                QRegion::Ellipse));
        p.setPen(QPen(scuro.darker(130), 1.5));
        for (double dy : {-0.45, -0.15, 0.2, 0.5})
            p.drawLine(QPointF(0, 24 + dy * raggio), QPointF(48, 24 + dy * raggio));
        p.setClipping(false);
    }
    if (anelli) {
        // The front of the ring passes over the globe.
        p.setPen(QPen(QColor(210, 190, 140), 2.5));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(c.x() - raggio * 1.9, c.y() - raggio * 0.55, raggio * 3.8, raggio * 1.1), 180 * 16,
                  180 * 16);
    }
    return img;
}

QImage stella()
{
    QImage img = vuota(48);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillRect(img.rect(), Qt::black);
    QPainterPath path;
    const QPointF c(24, 24);
    for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5;
        const double r = (i % 2) ? 8.0 : 21.0;
        const QPointF q = c + QPointF(std::cos(a), std::sin(a)) * r;
        if (i == 0)
            path.moveTo(q);
        else
            path.lineTo(q);
    }
    path.closeSubpath();
    QRadialGradient g(c, 21);
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, QColor(180, 200, 255));
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawPath(path);
    return img;
}

} // namespace

QImage Immagine_Mouse(int n)
{
    switch (n) {
    case 1: return croce(false);
    case 3: return croce(true);
    case 6: return sole(24);
    default: return {};
    }
}

QCursor Puntatore_Mouse(int n)
{
    const QImage img = Immagine_Mouse(n == 3 ? 3 : 1);
    return QCursor(QPixmap::fromImage(img), 16, 16);
}

QImage Immagine_Oggetto(int n)
{
    switch (n) {
    case 1: return pianeta(QColor(200, 190, 180), QColor(90, 80, 75), 12, false, false);   // Mercury
    case 2: return pianeta(QColor(255, 250, 220), QColor(200, 170, 90), 16, false, false); // Venus
    case 3: return pianeta(QColor(255, 160, 110), QColor(150, 50, 20), 13, false, false);  // Mars
    case 4: return pianeta(QColor(250, 230, 200), QColor(190, 130, 80), 20, false, true);  // Jupiter
    case 5: return pianeta(QColor(250, 235, 180), QColor(190, 160, 90), 12, true, true);   // Saturn
    case 6: return pianeta(QColor(210, 255, 255), QColor(90, 170, 190), 14, false, false); // Uranus
    case 7: return pianeta(QColor(150, 180, 255), QColor(30, 60, 170), 14, false, false);  // Neptune
    case 8: {
        QImage img = vuota(48);
        QPainter p(&img);
        p.fillRect(img.rect(), Qt::black);
        p.drawImage(0, 0, sole(48));
        return img;
    }
    case 9: return stella();
    default: return {};
    }
}

} // namespace sky
