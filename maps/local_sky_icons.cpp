#include "maps/local_sky_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace views::cielo {

QImage Immagine_Satellite(int indice)
{
    if (indice < 16 || indice > 27)
        return {};
    const int stile = (indice - 16) / 3 * 3; // 0 principal, 3 other, 6 station, 9 telescope
    const int stato = (indice - 16) % 3;     // 0 sunlit not visible, 1 visible, 2 other
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    QColor corpo = stato == 1 ? QColor(255, 255, 0) : stato == 0 ? QColor(200, 200, 200) : QColor(200, 40, 40);
    QColor pannelli = stile == 0 ? QColor(80, 160, 255) : stile == 6 ? QColor(255, 255, 255)
                      : stile == 9 ? QColor(255, 140, 0) : QColor(120, 200, 120);
    p.setPen(QPen(Qt::black, 1));
    if (stile == 9) {
        // A tube with its aperture.
        p.setBrush(corpo);
        p.drawRect(QRectF(3.5, 5.5, 9, 5));
        p.setBrush(pannelli);
        p.drawRect(QRectF(12.5, 4.5, 2, 7));
        p.drawRect(QRectF(6.5, 1.5, 3, 3));
        p.drawRect(QRectF(6.5, 11.5, 3, 3));
    } else {
        p.setBrush(pannelli);
        const double lungo = stile == 6 ? 1.5 : 0.5;
        p.drawRect(QRectF(lungo, 5.5, 5 - lungo, 5));
        p.drawRect(QRectF(10.5, 5.5, 5 - lungo, 5));
        p.setBrush(corpo);
        p.drawRect(QRectF(5.5, 4.5, 5, 7));
        if (stile == 6)
            p.drawLine(QPointF(8, 1), QPointF(8, 15));
        if (stile == 0) {
            p.setPen(QPen(QColor(255, 255, 255), 1));
            p.setBrush(Qt::NoBrush);
            p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
        }
    }
    return img;
}

QImage Immagine_Sole()
{
    QImage img(20, 20, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(255, 200, 0), 1.5));
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(10, 10);
        p.rotate(45 * i);
        p.drawLine(QPointF(6, 0), QPointF(9.5, 0));
        p.restore();
    }
    QRadialGradient g(QPointF(9, 9), 6);
    g.setColorAt(0, QColor(255, 255, 200));
    g.setColorAt(1, QColor(255, 210, 0));
    p.setBrush(g);
    p.setPen(QPen(QColor(230, 160, 0), 1));
    p.drawEllipse(QPointF(10, 10), 5.5, 5.5);
    return img;
}

QCursor Puntatore(int immagine)
{
    if (immagine == 2) {
        QPixmap pm(32, 32);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(Qt::white, 1));
        p.drawLine(0, 16, 11, 16);
        p.drawLine(21, 16, 31, 16);
        p.drawLine(16, 0, 16, 11);
        p.drawLine(16, 21, 16, 31);
        p.drawEllipse(QPointF(23, 7), 5, 5);
        p.drawLine(QPointF(23, 7), QPointF(23, 4));
        p.drawLine(QPointF(23, 7), QPointF(25, 7));
        return QCursor(pm, 16, 16);
    }
    if (immagine == 3) {
        QPixmap pm(32, 32);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(Qt::white, 2));
        p.drawEllipse(QPointF(12, 12), 8, 8);
        p.drawLine(QPointF(18, 18), QPointF(28, 28));
        p.drawLine(QPointF(8, 12), QPointF(16, 12));
        p.drawLine(QPointF(12, 8), QPointF(12, 16));
        return QCursor(pm, 12, 12);
    }
    return QCursor(Qt::CrossCursor);
}

} // namespace views::cielo
