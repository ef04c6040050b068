#include "shell/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace shell {

namespace {

constexpr int kLato = 24;

const QColor kMare(40, 90, 180);
const QColor kTerra(60, 150, 70);
const QColor kNotte(20, 24, 60);
const QColor kInchiostro(40, 40, 40);

void stelle(QPainter& p, const QRectF& r)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 210));
    const QPointF punti[] = {{0.25, 0.3}, {0.6, 0.2}, {0.75, 0.55}, {0.35, 0.7}, {0.5, 0.45}};
    for (const QPointF& q : punti)
        p.drawEllipse(QPointF(r.left() + q.x() * r.width(), r.top() + q.y() * r.height()), 1.1, 1.1);
}

void globo(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(kInchiostro, 1));
    p.setBrush(kMare);
    p.drawEllipse(r);
    p.setBrush(kTerra);
    p.setPen(Qt::NoPen);
    QPainterPath terra;
    terra.addEllipse(r.adjusted(r.width() * 0.2, r.height() * 0.2, -r.width() * 0.45, -r.height() * 0.4));
    terra.addEllipse(r.adjusted(r.width() * 0.5, r.height() * 0.5, -r.width() * 0.15, -r.height() * 0.15));
    p.drawPath(terra);
}

void orologio(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(kInchiostro, 1.5));
    p.setBrush(Qt::white);
    p.drawEllipse(r);
    const QPointF c = r.center();
    p.drawLine(c, c + QPointF(0, -r.height() * 0.35));
    p.drawLine(c, c + QPointF(r.width() * 0.25, 0));
}

void disegna(QPainter& p, const QString& key)
{
    const QRectF tutto(2, 2, kLato - 4, kLato - 4);
    p.setRenderHint(QPainter::Antialiasing);
    if (key == QLatin1String("Open")) {
        p.setPen(QPen(QColor(150, 110, 20), 1));
        p.setBrush(QColor(240, 200, 80));
        p.drawRect(QRectF(2, 7, 18, 13));
        p.drawRect(QRectF(2, 5, 8, 3));
        p.setBrush(QColor(250, 220, 120));
        p.drawPolygon(QPolygonF({QPointF(5, 11), QPointF(22, 11), QPointF(19, 20), QPointF(2, 20)}));
    } else if (key == QLatin1String("Save")) {
        p.setPen(QPen(kInchiostro, 1));
        p.setBrush(QColor(60, 80, 160));
        p.drawRect(QRectF(3, 3, 18, 18));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 3, 12, 7));
        p.setBrush(QColor(190, 190, 190));
        p.drawRect(QRectF(7, 14, 10, 7));
    } else if (key == QLatin1String("Location")) {
        p.setPen(QPen(QColor(120, 0, 0), 1));
        p.setBrush(QColor(220, 30, 30));
        QPainterPath pin;
        pin.moveTo(12, 22);
        pin.cubicTo(5, 13, 5, 3, 12, 3);
        pin.cubicTo(19, 3, 19, 13, 12, 22);
        p.drawPath(pin);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(12, 9), 2.5, 2.5);
    } else if (key == QLatin1String("Time") || key == QLatin1String("Sincro")) {
        orologio(p, tutto.adjusted(1, 1, -1, -1));
        if (key == QLatin1String("Sincro")) {
            p.setPen(QPen(QColor(0, 140, 0), 2));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(0.5, 0.5, 23, 23), 30 * 16, 120 * 16);
            p.drawArc(QRectF(0.5, 0.5, 23, 23), 210 * 16, 120 * 16);
        }
    } else if (key == QLatin1String("Recta")) {
        p.setPen(QPen(kInchiostro, 1));
        p.setBrush(kMare);
        p.drawRect(QRectF(2, 5, 20, 14));
        p.setPen(Qt::NoPen);
        p.setBrush(kTerra);
        p.drawEllipse(QRectF(4, 7, 6, 6));
        p.drawEllipse(QRectF(12, 9, 7, 8));
    } else if (key == QLatin1String("Ortho")) {
        globo(p, tutto);
        p.setPen(QPen(QColor(255, 255, 255, 160), 1));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(tutto.adjusted(6, 0, -6, 0));
    } else if (key == QLatin1String("Griglia")) {
        p.setPen(QPen(kMare, 1.2));
        for (int i = 0; i <= 4; ++i) {
            p.drawLine(QPointF(3 + i * 4.5, 3), QPointF(3 + i * 4.5, 21));
            p.drawLine(QPointF(3, 3 + i * 4.5), QPointF(21, 3 + i * 4.5));
        }
    } else if (key == QLatin1String("Terminatore") || key == QLatin1String("Ombra")) {
        p.setPen(QPen(kInchiostro, 1));
        p.setBrush(kMare);
        p.drawRect(QRectF(2, 5, 20, 14));
        p.setBrush(key == QLatin1String("Ombra") ? QColor(0, 0, 0, 140) : Qt::NoBrush);
        p.setPen(QPen(QColor(250, 200, 0), 1.6));
        QPainterPath t;
        t.moveTo(9, 5);
        t.cubicTo(15, 9, 5, 15, 12, 19);
        t.lineTo(22, 19);
        t.lineTo(22, 5);
        t.closeSubpath();
        p.drawPath(t);
    } else if (key == QLatin1String("SatOrbit")) {
        p.setPen(QPen(kInchiostro, 1));
        p.setBrush(kMare);
        p.drawRect(QRectF(2, 5, 20, 14));
        p.setPen(QPen(QColor(255, 60, 60), 1.6));
        QPainterPath s;
        s.moveTo(2, 12);
        for (int x = 2; x <= 22; ++x)
            s.lineTo(x, 12 - 5 * qSin((x - 2) * M_PI / 10));
        p.drawPath(s);
    } else if (key == QLatin1String("LocalSky") || key == QLatin1String("Transit")) {
        p.setPen(QPen(kInchiostro, 1));
        p.setBrush(kNotte);
        p.drawEllipse(tutto);
        stelle(p, tutto);
        if (key == QLatin1String("Transit")) {
            p.setPen(QPen(QColor(255, 220, 0), 1.6));
            p.setBrush(Qt::NoBrush);
            p.drawArc(tutto.adjusted(3, 5, -3, 10), 20 * 16, 140 * 16);
        }
    } else if (key == QLatin1String("Planets")) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(230, 180, 90));
        p.drawEllipse(QPointF(12, 12), 6, 6);
        p.setPen(QPen(QColor(120, 80, 30), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(12, 12), 11, 3.5);
    } else if (key == QLatin1String("SkyMap")) {
        p.setPen(QPen(kInchiostro, 1));
        p.setBrush(kNotte);
        p.drawRect(QRectF(2, 4, 20, 16));
        stelle(p, QRectF(2, 4, 20, 16));
        p.setPen(QPen(QColor(120, 160, 255), 1));
        p.drawLine(QPointF(6, 8), QPointF(12, 13));
        p.drawLine(QPointF(12, 13), QPointF(17, 9));
    } else if (key == QLatin1String("Satellite")) {
        p.setPen(QPen(kInchiostro, 1));
        p.setBrush(QColor(60, 90, 200));
        p.drawRect(QRectF(1, 9, 7, 6));
        p.drawRect(QRectF(16, 9, 7, 6));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(9, 7, 6, 10));
        p.drawLine(QPointF(8, 12), QPointF(9, 12));
        p.drawLine(QPointF(15, 12), QPointF(16, 12));
    } else if (key == QLatin1String("Elements") || key == QLatin1String("Track")
               || key == QLatin1String("Calcolo")) {
        p.setPen(QPen(kInchiostro, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4, 2, 16, 20));
        p.setPen(QPen(key == QLatin1String("Track") ? QColor(0, 120, 0) : kMare, 1));
        for (int i = 0; i < 5; ++i)
            p.drawLine(QPointF(7, 6 + i * 3.5), QPointF(key == QLatin1String("Calcolo") ? 12 : 17, 6 + i * 3.5));
        if (key == QLatin1String("Calcolo"))
            for (int i = 0; i < 5; ++i)
                p.drawLine(QPointF(14, 6 + i * 3.5), QPointF(17, 6 + i * 3.5));
    } else if (key == QLatin1String("Relativo")) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 40, 40));
        p.drawEllipse(QPointF(6, 17), 3, 3);
        p.setBrush(QColor(40, 40, 200));
        p.drawEllipse(QPointF(18, 7), 3, 3);
        p.setPen(QPen(kInchiostro, 1.3, Qt::DashLine));
        p.drawLine(QPointF(8, 15), QPointF(16, 9));
    } else if (key == QLatin1String("Find")) {
        p.setPen(QPen(kInchiostro, 2.2));
        p.setBrush(QColor(200, 230, 255));
        p.drawEllipse(QPointF(10, 10), 6, 6);
        p.drawLine(QPointF(14.5, 14.5), QPointF(21, 21));
    } else if (key == QLatin1String("Stampa")) {
        p.setPen(QPen(kInchiostro, 1));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 2, 12, 8));
        p.setBrush(QColor(170, 170, 170));
        p.drawRect(QRectF(2, 9, 20, 9));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(6, 15, 12, 7));
    } else if (key == QLatin1String("Rete")) {
        globo(p, QRectF(2, 2, 16, 16));
        p.setPen(QPen(QColor(0, 140, 0), 2.2));
        p.drawLine(QPointF(18, 11), QPointF(18, 21));
        p.drawLine(QPointF(14, 17), QPointF(18, 21));
        p.drawLine(QPointF(22, 17), QPointF(18, 21));
    } else if (key == QLatin1String("Impostazioni")) {
        p.setPen(QPen(kInchiostro, 1));
        p.setBrush(QColor(150, 150, 160));
        QPainterPath g;
        for (int i = 0; i < 16; ++i) {
            const double a = i * M_PI / 8;
            const double r = (i % 2 == 0) ? 10.5 : 7.5;
            const QPointF q(12 + r * qCos(a), 12 + r * qSin(a));
            i == 0 ? g.moveTo(q) : g.lineTo(q);
        }
        g.closeSubpath();
        g.addEllipse(QPointF(12, 12), 3, 3);
        p.drawPath(g);
    }
}

} // namespace

QIcon Icona_Pulsante(const QString& key)
{
    QPixmap pm(kLato, kLato);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    disegna(p, key);
    p.end();
    return QIcon(pm);
}

QPixmap Immagine_Informazioni(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kNotte);
    p.drawRoundedRect(QRectF(0, 0, size, size), size * 0.1, size * 0.1);
    stelle(p, QRectF(0, 0, size, size * 0.6));
    globo(p, QRectF(size * 0.1, size * 0.45, size * 0.8, size * 0.8));
    p.setPen(QPen(QColor(255, 220, 0), size / 48.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(size * 0.05, size * 0.3, size * 0.9, size * 0.35));
    p.scale(size / 24.0, size / 24.0);
    p.translate(11, 0);
    p.scale(0.5, 0.5);
    disegna(p, QStringLiteral("Satellite"));
    return pm;
}

} // namespace shell
