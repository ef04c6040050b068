#include "maps/world_map_icons.h"

#include <QPainter>
#include <QPainterPath>

namespace maps {

namespace {

QImage vuota(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

// A body with two solar panels, in the given colours.
QImage satellite(QColor corpo, QColor pannelli)
{
    QImage img = vuota(16, 16);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(20, 20, 20), 1));
    p.setBrush(pannelli);
    p.drawRect(QRectF(0.5, 5.5, 5, 5));
    p.drawRect(QRectF(10.5, 5.5, 5, 5));
    p.setBrush(corpo);
    p.drawRect(QRectF(5.5, 4.5, 5, 7));
    return img;
}

QImage stazione()
{
    QImage img = vuota(20, 14);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(20, 20, 20), 1));
    p.setBrush(QColor(40, 90, 200));
    for (double x : {0.5, 4.5, 12.5, 16.5}) {
        p.drawRect(QRectF(x, 0.5, 3, 5));
        p.drawRect(QRectF(x, 8.5, 3, 5));
    }
    p.setBrush(QColor(230, 230, 230));
    p.drawRect(QRectF(0.5, 5.5, 19, 3));
    p.drawRect(QRectF(8.5, 3.5, 3, 7));
    return img;
}

QImage telescopio()
{
    QImage img = vuota(16, 16);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(20, 20, 20), 1));
    p.setBrush(QColor(40, 90, 200));
    p.drawRect(QRectF(0.5, 6.5, 4, 3));
    p.drawRect(QRectF(11.5, 6.5, 4, 3));
    p.setBrush(QColor(210, 210, 210));
    p.drawRoundedRect(QRectF(5.5, 1.5, 5, 13), 2, 2);
    p.setBrush(QColor(30, 30, 30));
    p.drawEllipse(QRectF(6.5, 1.5, 3, 2));
    return img;
}

QImage sole()
{
    QImage img = vuota(20, 20);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(255, 200, 0), 1.5));
    for (int k = 0; k < 8; ++k) {
        p.save();
        p.translate(10, 10);
        p.rotate(45.0 * k);
        p.drawLine(QPointF(0, 6.5), QPointF(0, 9.5));
        p.restore();
    }
    p.setPen(QPen(QColor(200, 120, 0), 1));
    p.setBrush(QColor(255, 230, 40));
    p.drawEllipse(QPointF(10, 10), 5, 5);
    return img;
}

} // namespace

const QImage& Icona_Mappa(int numero)
{
    static const QImage elencato = satellite(QColor(230, 230, 230), QColor(40, 90, 200));
    static const QImage principale = satellite(QColor(255, 60, 40), QColor(255, 200, 0));
    static const QImage iss = stazione();
    static const QImage hst = telescopio();
    static const QImage nessuna;
    switch (numero) {
    case 11: return elencato;
    case 13: return hst;
    case 14: return iss;
    case 15: return principale;
    default: return nessuna;
    }
}

const QImage& Simbolo_Sole()
{
    static const QImage s = sole();
    return s;
}

double Larghezza_HiMetric(const QImage& picture)
{
    return picture.width() * 2540.0 / 96.0;
}

double Altezza_HiMetric(const QImage& picture)
{
    return picture.height() * 2540.0 / 96.0;
}

} // namespace maps
