// AnalogClock: a round clock face with the numerals 1 to 12 and hour, minute
// and second hands. The time window sets Value to the program time on every
// tick. The face fits the shorter side of the control and is drawn from its
// present size on every paint, so it follows a resize and comes back whole
// when the window is uncovered, hands included.
#pragma once

#include "controls/surface_helpers.h"

#include <QDateTime>
#include <QTime>
#include <QWidget>

class QPainter;

class AnalogClock : public QWidget {
    Q_OBJECT

public:
    explicit AnalogClock(QWidget* parent = nullptr);

    // Write only: shows the hands for this time of day. An invalid time
    // removes the hands.
    void setValue(const QDateTime& when);
    void setValue(const QTime& time);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    struct Geometry {
        double cx, cy, radius;
    };
    Geometry faceGeometry() const;
    void Disegna_quadrante(QPainter& p, const Geometry& g);
    void Disegna_lancette(QPainter& p, const Geometry& g, const QTime& t);
    void Disegna_lancetta(QPainter& p, double x1, double y1, double x2, double y2, double width,
                          const QColor& colour);

    QTime m_time; // the hands shown; invalid = none yet
};
