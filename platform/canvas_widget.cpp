#include "platform/canvas_widget.h"

#include <QMouseEvent>
#include <QPainter>

namespace platform {

CanvasWidget::CanvasWidget(QWidget* parent) : QWidget(parent), m_canvas(QSize(1, 1))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    connect(&m_canvas, &Canvas::changed, this, qOverload<>(&QWidget::update));
}

void CanvasWidget::Refresh()
{
    repaint();
}

int CanvasWidget::buttonCode(Qt::MouseButtons buttons)
{
    int code = 0;
    if (buttons & Qt::LeftButton)
        code |= 1;
    if (buttons & Qt::RightButton)
        code |= 2;
    if (buttons & Qt::MiddleButton)
        code |= 4;
    return code;
}

int CanvasWidget::shiftCode(Qt::KeyboardModifiers modifiers)
{
    int code = 0;
    if (modifiers & Qt::ShiftModifier)
        code |= 1;
    if (modifiers & Qt::ControlModifier)
        code |= 2;
    if (modifiers & Qt::AltModifier)
        code |= 4;
    return code;
}

void CanvasWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    m_canvas.render(p, QRectF(QPointF(0, 0), QSizeF(m_canvas.pixelSize())));
}

void CanvasWidget::resizeEvent(QResizeEvent* event)
{
    // The surface at the screen's pixel density: sharp lines, discs and
    // text on a high-resolution screen, in the same pixel units as ever.
    m_canvas.resize(event->size(), devicePixelRatioF());
    emit Resize();
}

bool CanvasWidget::event(QEvent* event)
{
    const bool r = QWidget::event(event);
    // Moved to a screen of another density (or the density changed): the
    // surface follows, and whoever draws on it draws again.
    if ((event->type() == QEvent::ScreenChangeInternal || event->type() == QEvent::Show)
        && devicePixelRatioF() != m_canvas.devicePixelRatio()) {
        m_canvas.setDevicePixelRatio(devicePixelRatioF());
        emit Resize();
    }
    return r;
}

void CanvasWidget::mousePressEvent(QMouseEvent* event)
{
    const QPointF u = m_canvas.toUser(event->position());
    emit MouseDown(buttonCode(event->button()), shiftCode(event->modifiers()), u.x(), u.y());
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF u = m_canvas.toUser(event->position());
    emit MouseMove(buttonCode(event->buttons()), shiftCode(event->modifiers()), u.x(), u.y());
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF u = m_canvas.toUser(event->position());
    emit MouseUp(buttonCode(event->button()), shiftCode(event->modifiers()), u.x(), u.y());
    if (rect().contains(event->position().toPoint()))
        emit Click();
}

void CanvasWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit DblClick();
    QWidget::mouseDoubleClickEvent(event);
}

} // namespace platform
