#include "common/window_helpers.h"

#include "platform/canvas.h"

#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace mGlobal {

void Riempi_Sfumato(platform::Canvas& picture, std::uint32_t c1, std::uint32_t c2, float x,
                    float y, float radius, float aspect, int bands)
{
    const auto fillColour = picture.fillColor();
    const int fillStyle = picture.fillStyle();
    picture.GradientCircles(c1, c2, x, y, radius, aspect, bands);
    picture.setFillColor(fillColour);
    picture.setFillStyle(fillStyle);
}

void Disegna_Linea_Tratteggiata(platform::Canvas& surface, float x1, float y1, float x2, float y2,
                                float headSize, bool headAtEnd, int marks, float spacing)
{
    const double dx = double(x2) - x1;
    const double dy = double(y2) - y1;
    const double length = std::hypot(dx, dy);
    if (!(length > 0) || !std::isfinite(length))
        return; // no direction to point along
    surface.Line(x1, y1, x2, y2);
    const double ux = dx / length;
    const double uy = dy / length;
    // With a single mark there is no step: the mark sits at the start.
    const double sx = marks >= 2 ? ux * spacing : 0.0;
    const double sy = marks >= 2 ? uy * spacing : 0.0;
    const double barbs[2][2] = {{(-uy - ux) * headSize, (ux - uy) * headSize},
                                {(uy - ux) * headSize, (-ux - uy) * headSize}};
    for (const auto& b : barbs) {
        if (headAtEnd)
            surface.Line(x2, y2, x2 + b[0], y2 + b[1]);
        for (int i = 0; i < marks; ++i) {
            const double px = x1 + i * sx;
            const double py = y1 + i * sy;
            surface.Line(px, py, px + b[0], py + b[1]);
        }
    }
}

} // namespace mGlobal

namespace mTrasp {

void Blit_Trasparente(platform::Canvas& destination, const platform::Canvas& source, int x, int y,
                      int width, int height, std::uint32_t transparent)
{
    // Only what the source holds is copied: a size larger than the source
    // (the outer size of a bordered box) leaves the rest of the destination alone.
    const QImage whole = source.image();
    width = std::min(width, whole.width());
    height = std::min(height, whole.height());
    if (width <= 0 || height <= 0)
        return;
    const QImage part = whole.copy(0, 0, width, height);
    if (part.isNull())
        return;
    // Pixel position and size in the destination's own units.
    const QPointF a = destination.toUser(QPointF(x, y));
    const QPointF b = destination.toUser(QPointF(x + width, y + height));
    const double penX = destination.currentX();
    const double penY = destination.currentY();
    destination.TransparentCopy(part, a.x(), a.y(), transparent, b.x() - a.x(), b.y() - a.y());
    destination.setCurrentX(penX);
    destination.setCurrentY(penY);
}

} // namespace mTrasp
