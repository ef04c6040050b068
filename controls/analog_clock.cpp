#include "controls/analog_clock.h"

#include <QPainter>
#include <cmath>

namespace {

constexpr double kRadiansPerDegree = 0.0174532925;
constexpr double kMarginTwips = 50.0; // between the dial and the shorter side
constexpr double kHubTwips = 10.0;
const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);

// The point at angle a (degrees) and distance d from the centre. With
// a = 180 - 30 x hour the point is at the top for 0 and turns clockwise, since
// y grows downwards.
QPointF at(double cx, double cy, double angle, double d)
{
    // One direction, one angle: 12:00 (-180) and 0:00 (180) draw alike.
    angle = std::fmod(angle, 360.0);
    if (angle < 0)
        angle += 360.0;
    return QPointF(cx + std::sin(angle * kRadiansPerDegree) * d, cy + std::cos(angle * kRadiansPerDegree) * d);
}

} // namespace

AnalogClock::AnalogClock(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize AnalogClock::sizeHint() const { return QSize(120, 120); }

void AnalogClock::setValue(const QDateTime& when) { setValue(when.isValid() ? when.time() : QTime()); }

void AnalogClock::setValue(const QTime& time)
{
    m_time = time;
    update();
}

AnalogClock::Geometry AnalogClock::faceGeometry() const
{
    const double cx = width() / 2.0;
    const double cy = height() / 2.0;
    return {cx, cy, std::min(cx, cy) - kMarginTwips / controls::kTwipsPerPixel};
}

void AnalogClock::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), controls::resolveColour(controls::systemColour(controls::ScButtonFace), palette()));
    const Geometry g = faceGeometry();
    if (g.radius <= 0)
        return;
    // Pixel (x, y) is the square around (x + 0.5, y + 0.5): lines along the
    // axes stay one pixel crisp.
    p.translate(0.5, 0.5);
    Disegna_quadrante(p, g);
    if (m_time.isValid())
        Disegna_lancette(p, g, m_time);
}

void AnalogClock::Disegna_quadrante(QPainter& p, const Geometry& g)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QColor face = controls::resolveColour(controls::systemColour(controls::ScButtonFace), palette());
    p.setPen(QPen(kBlack, 1));
    p.setBrush(face);
    p.drawEllipse(QPointF(g.cx, g.cy), g.radius, g.radius);
    const double hub = kHubTwips / controls::kTwipsPerPixel;
    p.setBrush(kBlack);
    p.drawEllipse(QPointF(g.cx, g.cy), hub, hub);

    p.setFont(font());
    const QFontMetricsF fm(font());
    const double d = fm.horizontalAdvance(QStringLiteral("00")) / 1.3;
    for (int n = 1; n <= 12; ++n) {
        const QString text = QString::number(n);
        const QPointF centre = at(g.cx, g.cy, 180.0 - 30.0 * n, g.radius - d);
        const double left = centre.x() - fm.horizontalAdvance(text) / 2.0;
        const double top = centre.y() - fm.height() / 2.0;
        p.drawText(QPointF(left, top + fm.ascent()), text);
    }
    p.restore();
}

void AnalogClock::Disegna_lancette(QPainter& p, const Geometry& g, const QTime& t)
{
    const int S = 3600 * t.hour() + 60 * t.minute() + t.second();
    double H = S / 3600.0;
    const double M = (S - 3600 * std::floor(H)) / 60.0;
    const double seconds = S - 3600 * std::floor(H) - 60 * std::floor(M);
    if (H >= 13)
        H -= 12;
    const double R = g.radius;
    const QPointF hour = at(g.cx, g.cy, 180.0 - 30.0 * H, R - 0.5 * R);
    const QPointF minute = at(g.cx, g.cy, 180.0 - 6.0 * M, R - 0.25 * R);
    const QPointF second = at(g.cx, g.cy, 180.0 - 6.0 * seconds, R - 0.15 * R);
    Disegna_lancetta(p, g.cx, g.cy, hour.x(), hour.y(), 3, kBlack);
    Disegna_lancetta(p, g.cx, g.cy, minute.x(), minute.y(), 2, kBlack);
    Disegna_lancetta(p, g.cx, g.cy, second.x(), second.y(), 1, kRed);
}

void AnalogClock::Disegna_lancetta(QPainter& p, double x1, double y1, double x2, double y2, double width,
                                   const QColor& colour)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour, std::round(width), Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    p.restore();
}
