// Shared helpers of the control tests: painting into an image, palettes,
// synthetic input.
#pragma once

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPalette>
#include <QWidget>

namespace testing_controls {

// A day palette with distinct colours for every role the controls read, so a
// pixel tells which role painted it.
inline QPalette dayPalette()
{
    QPalette p;
    p.setColor(QPalette::Window, QColor(210, 210, 200));
    p.setColor(QPalette::Button, QColor(192, 192, 192));
    p.setColor(QPalette::ButtonText, QColor(0, 0, 16));
    p.setColor(QPalette::Light, QColor(255, 255, 255));
    p.setColor(QPalette::Midlight, QColor(224, 224, 224));
    p.setColor(QPalette::Dark, QColor(128, 128, 128));
    p.setColor(QPalette::Shadow, QColor(32, 32, 32));
    p.setColor(QPalette::Highlight, QColor(0, 0, 160));
    return p;
}

// The night colours of the program (dark red): button face R128, 3-D highlight
// R255, shadows, 3-D light and button text black, active caption R64.
inline QPalette nightPalette()
{
    QPalette p;
    const QColor black(0, 0, 0);
    p.setColor(QPalette::Window, QColor(128, 0, 0));
    p.setColor(QPalette::Button, QColor(128, 0, 0));
    p.setColor(QPalette::ButtonText, black);
    p.setColor(QPalette::Light, QColor(255, 0, 0));
    p.setColor(QPalette::Midlight, black);
    p.setColor(QPalette::Dark, black);
    p.setColor(QPalette::Shadow, black);
    p.setColor(QPalette::Highlight, QColor(64, 0, 0));
    return p;
}

inline QImage render(QWidget* w) { return w->grab().toImage().convertToFormat(QImage::Format_RGB32); }

inline QColor px(const QImage& img, int x, int y) { return img.pixelColor(x, y); }

// Bounding box of the pixels of one colour (empty rect when none).
inline QRect boxOf(const QImage& img, const QColor& c, const QRect& within = QRect())
{
    const QRect area = within.isNull() ? img.rect() : within;
    int l = INT_MAX, t = INT_MAX, r = INT_MIN, b = INT_MIN;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (img.pixelColor(x, y) == c) {
                l = std::min(l, x);
                t = std::min(t, y);
                r = std::max(r, x);
                b = std::max(b, y);
            }
    return l == INT_MAX ? QRect() : QRect(QPoint(l, t), QPoint(r, b));
}

inline int countOf(const QImage& img, const QColor& c, const QRect& within = QRect())
{
    const QRect area = within.isNull() ? img.rect() : within;
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += img.pixelColor(x, y) == c;
    return n;
}

// Pixels within tol of a colour in every channel (antialiased text).
inline int countNear(const QImage& img, const QColor& c, int tol, const QRect& within = QRect())
{
    const QRect area = within.isNull() ? img.rect() : within;
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor p = img.pixelColor(x, y);
            n += std::abs(p.red() - c.red()) <= tol && std::abs(p.green() - c.green()) <= tol &&
                 std::abs(p.blue() - c.blue()) <= tol;
        }
    return n;
}

inline void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPointF pos,
                  Qt::MouseButtons held = Qt::NoButton)
{
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace testing_controls
