#pragma once
// A widget that shows a Canvas, held at the screen's pixel density, and
// reports the mouse in the canvas's user units, with the classic button (1 left, 2 right, 4 middle) and shift
// (1 Shift, 2 Ctrl, 4 Alt) codes.
//
//   platform::CanvasWidget* Picture1 = new platform::CanvasWidget(this);
//   Picture1->canvas().Scale(-180, 90, 180, -90);
//   connect(Picture1, &platform::CanvasWidget::MouseMove, this, &frmWorldMap::Picture1_MouseMove);
#include "platform/canvas.h"

#include <QWidget>

namespace platform {

class CanvasWidget : public QWidget {
    Q_OBJECT
public:
    explicit CanvasWidget(QWidget* parent = nullptr);
    Canvas& canvas() { return m_canvas; }
    const Canvas& canvas() const { return m_canvas; }
    // Repaints at once.
    void Refresh();

    // Classic codes of a mouse event.
    static int buttonCode(Qt::MouseButtons buttons);
    static int shiftCode(Qt::KeyboardModifiers modifiers);

signals:
    void MouseDown(int button, int shift, double x, double y);
    void MouseMove(int button, int shift, double x, double y);
    void MouseUp(int button, int shift, double x, double y);
    void Click();
    void DblClick();
    // The canvas took the widget's new size.
    void Resize();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    Canvas m_canvas;
};

} // namespace platform
