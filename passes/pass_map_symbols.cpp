#include "passes/pass_map_symbols.h"

#include "common/moon_phase.h"
#include "platform/canvas.h"
#include "platform/vb.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace skysat {

QString Data_Generale(const QDateTime& d)
{
    return vb::displayLocale().toString(d.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           vb::Format(d, u"Long Time");
}

QString Testo_Azimut(int azimuth)
{
    switch (azimuth) {
    case 0: return QStringLiteral("N");
    case 90: return QStringLiteral("E");
    case 180: return QStringLiteral("S");
    case 270: return QStringLiteral("W");
    default: break;
    }
    return QString::number(azimuth).rightJustified(3, QLatin1Char(' ')) + QChar(0x00B0);
}

int Fase_Lunare(double angoloFase)
{
    return charts::Indice_Fase_Luna(angoloFase);
}

void Disegna_Fase_Lunare(platform::Canvas& c, double x, double y, double r, int fase)
{
    constexpr double kMezzoPi = 1.5707963;
    constexpr double kTrePiMezzi = 4.712389;
    const charts::FiguraFase f = charts::Figura_Fase(fase);
    c.setFillStyle(platform::Canvas::FillSolid);
    c.setFillColor(f.disco);
    c.Circle(x, y, r, f.disco);
    c.setFillColor(f.mezzoDisco);
    if (f.mezzoDestro)
        c.Circle(x, y, r, f.mezzoDisco, -kTrePiMezzi, -kMezzoPi);
    else
        c.Circle(x, y, r, f.mezzoDisco, -kMezzoPi, -kTrePiMezzi);
    if (f.k != 0) {
        c.setFillColor(f.ellisse);
        c.Circle(x, y, r, f.ellisse, std::nullopt, std::nullopt, 1.0 / f.k);
    }
}

QImage Simbolo_Sole()
{
    QImage img(21, 21, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 220, 0), 1.5));
    for (int i = 0; i < 8; ++i) {
        const double a = i * 3.14159265 / 4;
        p.drawLine(QPointF(10.5 + 6 * std::cos(a), 10.5 + 6 * std::sin(a)),
                   QPointF(10.5 + 10 * std::cos(a), 10.5 + 10 * std::sin(a)));
    }
    p.setBrush(QColor(255, 255, 0));
    p.setPen(QPen(QColor(255, 160, 0), 1));
    p.drawEllipse(QPointF(10.5, 10.5), 5, 5);
    return img;
}

QImage Simbolo_Satellite(const QString& numeroCatalogo, int stato)
{
    const QColor colore = stato == 2 ? QColor(255, 255, 0) : stato == 3 ? QColor(200, 200, 200) : QColor(255, 60, 60);
    const QColor pannello = colore.darker(140);
    QImage img(17, 17, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setPen(QPen(Qt::black, 1));
    const QString n = numeroCatalogo.trimmed();
    if (n == QLatin1String("25544")) {
        // The station: a long truss with four wings and the modules across.
        p.setBrush(colore);
        p.drawRect(1, 7, 15, 2);
        p.drawRect(7, 4, 2, 9);
        p.setBrush(pannello);
        for (int x : {1, 4, 10, 13}) {
            p.drawRect(x, 1, 2, 5);
            p.drawRect(x, 10, 2, 5);
        }
    } else if (n == QLatin1String("20580")) {
        // The telescope: a tube with two wings.
        p.setBrush(colore);
        p.drawRect(5, 2, 6, 13);
        p.setBrush(pannello);
        p.drawRect(0, 6, 4, 5);
        p.drawRect(12, 6, 4, 5);
    } else {
        p.setBrush(pannello);
        p.drawRect(0, 6, 5, 4);
        p.drawRect(11, 6, 5, 4);
        p.setBrush(colore);
        p.drawEllipse(QPoint(8, 8), 3, 3);
    }
    return img;
}

} // namespace skysat
