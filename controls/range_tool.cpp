#include "controls/range_tool.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

using controls::resolveColour;
using controls::systemColour;

namespace {

constexpr int kThumb = 15; // thumbs are 15 x 15 pixels

struct Segment {
    int x1, y1, x2, y2;
    char colour; // 's' shadow, 'h' 3-D highlight, 'd' 3-D dark shadow
};

// Outlines of the thumbs, drawn in this order.
constexpr Segment kUpperEtched[] = {{1, 1, 13, 1, 'h'},  {1, 0, 7, 12, 'h'}, {13, 0, 7, 13, 's'},
                                    {14, 0, 7, 14, 'h'}, {0, 0, 14, 0, 's'}, {0, 0, 7, 14, 's'}};
constexpr Segment kLowerEtched[] = {{1, 13, 13, 13, 's'}, {7, 1, 13, 13, 'h'}, {0, 14, 14, 14, 'h'},
                                    {2, 13, 8, 1, 'h'},   {7, 2, 13, 13, 's'}, {0, 14, 7, 0, 's'}};
constexpr Segment kUpperSunken[] = {{13, 0, 7, 13, 's'}, {14, 0, 7, 14, 'h'}, {1, 1, 13, 1, 's'},
                                    {1, 1, 7, 13, 's'},  {0, 0, 14, 0, 'd'},  {0, 0, 7, 14, 'd'}};
constexpr Segment kLowerSunken[] = {{0, 14, 7, 0, 'd'},   {1, 13, 7, 1, 's'},  {7, 2, 13, 13, 's'},
                                    {1, 13, 13, 13, 's'}, {7, 0, 14, 14, 'h'}, {0, 14, 14, 14, 'h'}};
constexpr Segment kUpperRaised[] = {{14, 0, 7, 14, 'd'}, {13, 0, 7, 13, 's'}, {0, 0, 14, 0, 'h'}, {0, 0, 7, 14, 'h'}};
constexpr Segment kLowerRaised[] = {{7, 0, 14, 14, 'd'}, {0, 14, 14, 14, 'd'}, {7, 1, 13, 13, 's'},
                                    {1, 13, 13, 13, 's'}, {0, 14, 7, 0, 'h'},  {1, 13, 7, 1, 'h'}};

// An edge of a rectangle (right and bottom exclusive) in the manner of the
// system's 3-D edges: outer and inner line, each lit at the top and left.
void drawEdge(QPainter& p, QRect r, const QColor& outerTL, const QColor& outerBR, const QColor& innerTL,
              const QColor& innerBR)
{
    auto line = [&](const QRect& q, const QColor& tl, const QColor& br) {
        const int l = q.left(), t = q.top(), rr = q.left() + q.width(), b = q.top() + q.height();
        if (rr - l < 1 || b - t < 1)
            return;
        p.fillRect(l, t, rr - l - 1, 1, tl);
        p.fillRect(l, t, 1, b - t - 1, tl);
        p.fillRect(l, b - 1, rr - l, 1, br);
        p.fillRect(rr - 1, t, 1, b - t, br);
    };
    line(r, outerTL, outerBR);
    line(r.adjusted(1, 1, -1, -1), innerTL, innerBR);
}

} // namespace

// One thumb: a picture box of 15 x 15 pixels drawn by the control.
class RangeThumb : public QWidget {
public:
    RangeThumb(RangeTool* owner, RangeTool::Which which) : QWidget(owner), m_owner(owner), m_which(which)
    {
        resize(kThumb, kThumb);
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::PointingHandCursor);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const QPalette& pal = m_owner->palette();
        const QColor back = pal.color(QPalette::Active, QPalette::Window);
        const QColor face = resolveColour(systemColour(controls::ScButtonFace), pal);
        const QColor shadow = resolveColour(systemColour(controls::ScButtonShadow), pal);
        const QColor highlight = resolveColour(systemColour(controls::Sc3DHighlight), pal);
        const QColor dark = resolveColour(systemColour(controls::Sc3DDarkShadow), pal);
        const bool upper = m_which == RangeTool::Upper;

        p.fillRect(rect(), back);
        for (int i = 0; i < kThumb; ++i) {
            const double y = upper ? i : 14 - i;
            p.setPen(back);
            p.drawLine(QPointF(0, y), QPointF(15, y));
            p.setPen(face);
            p.drawLine(QPointF(i / 2.0, y), QPointF(14 - i / 2.0, y));
        }

        const Segment* segs;
        int n;
        if (!m_owner->isEnabled() || m_owner->locked(m_which)) {
            segs = upper ? kUpperEtched : kLowerEtched;
            n = upper ? std::size(kUpperEtched) : std::size(kLowerEtched);
        } else if (m_owner->m_dragging[m_which]) {
            segs = upper ? kUpperSunken : kLowerSunken;
            n = upper ? std::size(kUpperSunken) : std::size(kLowerSunken);
        } else {
            segs = upper ? kUpperRaised : kLowerRaised;
            n = upper ? std::size(kUpperRaised) : std::size(kLowerRaised);
        }
        for (int k = 0; k < n; ++k) {
            const Segment& s = segs[k];
            p.setPen(s.colour == 's' ? shadow : s.colour == 'h' ? highlight : dark);
            p.drawLine(QPoint(s.x1, s.y1), QPoint(s.x2, s.y2));
        }

        if (hasFocus()) {
            // Dotted marks in the free corners beside the triangle.
            const QColor mark = resolveColour(systemColour(controls::ScButtonText), pal);
            for (int k = 4; k < kThumb; k += 2) {
                const int y = upper ? k : 14 - k;
                p.fillRect(0, y, 1, 1, mark);
                p.fillRect(14, y, 1, 1, mark);
            }
        }
    }

    void mousePressEvent(QMouseEvent* e) override
    {
        m_owner->thumbPressed(m_which, e->position().x());
        e->accept();
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override { mousePressEvent(e); }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        m_owner->thumbMoved(m_which, e->position().x());
        e->accept();
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        m_owner->thumbReleased(m_which);
        e->accept();
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        if (m_owner->thumbKey(m_which, e->key()))
            e->accept();
        else
            QWidget::keyPressEvent(e);
    }
    void keyReleaseEvent(QKeyEvent* e) override
    {
        switch (e->key()) {
        case Qt::Key_Left: case Qt::Key_Right: case Qt::Key_Up: case Qt::Key_Down:
        case Qt::Key_PageUp: case Qt::Key_PageDown: case Qt::Key_Home: case Qt::Key_End:
            if (!e->isAutoRepeat())
                m_owner->thumbKeyUp(m_which);
            e->accept();
            return;
        default:
            QWidget::keyReleaseEvent(e);
        }
    }
    void focusInEvent(QFocusEvent* e) override
    {
        QWidget::focusInEvent(e);
        update();
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        QWidget::focusOutEvent(e);
        update();
    }

private:
    RangeTool* m_owner;
    RangeTool::Which m_which;
};

RangeTool::RangeTool(QWidget* parent) : QWidget(parent)
{
    // Tab order: lower thumb, then upper.
    m_picBottom = new RangeThumb(this, Lower);
    m_picTop = new RangeThumb(this, Upper);
    setMinimumSize(40, 40);
    resize(sizeHint());
    UpdatePosition();
}

RangeTool::~RangeTool() = default;

QWidget* RangeTool::picTop() const { return m_picTop; }
QWidget* RangeTool::picBottom() const { return m_picBottom; }

QSize RangeTool::sizeHint() const { return QSize(217, 40); }
QSize RangeTool::minimumSizeHint() const { return QSize(40, 40); }

// ---- properties ----

void RangeTool::setBorderStyle(int style)
{
    m_borderStyle = style;
    update();
    emit PropertyChanged(QStringLiteral("BorderStyle"));
}

void RangeTool::setColor(controls::OleColor colour)
{
    m_color = colour;
    update();
    emit PropertyChanged(QStringLiteral("Color"));
}

void RangeTool::setMin(int v)
{
    v = std::max(v, 0);
    m_min = v;
    if (m_max < v)
        m_max = v;
    m_upperValue = std::clamp(m_upperValue, m_min, m_max);
    m_lowerValue = std::clamp(m_lowerValue, m_min, m_max);
    UpdatePosition();
    emit PropertyChanged(QStringLiteral("Min"));
}

void RangeTool::setMax(int v)
{
    v = std::max(v, 0);
    m_max = v;
    if (m_min > v)
        m_min = v;
    m_upperValue = std::clamp(m_upperValue, m_min, m_max);
    m_lowerValue = std::clamp(m_lowerValue, m_min, m_max);
    UpdatePosition();
    emit PropertyChanged(QStringLiteral("Max"));
}

void RangeTool::setUpperValue(int v)
{
    m_upperValue = std::clamp(v, m_min, m_max);
    if (m_lowerValue > m_upperValue)
        m_lowerValue = m_upperValue;
    UpdatePosition();
    raiseScroll();
    emit PropertyChanged(QStringLiteral("UpperValue"));
}

void RangeTool::setLowerValue(int v)
{
    m_lowerValue = std::clamp(v, m_min, m_max);
    if (m_upperValue < m_lowerValue)
        m_upperValue = m_lowerValue;
    UpdatePosition();
    raiseScroll();
    emit PropertyChanged(QStringLiteral("LowerValue"));
}

void RangeTool::applyLock(Which t)
{
    RangeThumb* th = thumb(t);
    th->setCursor(locked(t) ? Qt::ArrowCursor : Qt::PointingHandCursor);
    th->setFocusPolicy(locked(t) ? Qt::NoFocus : Qt::StrongFocus);
    if (locked(t) && th->hasFocus())
        th->clearFocus();
    th->update();
}

void RangeTool::setLowerLocked(bool on)
{
    m_lowerLocked = on;
    applyLock(Lower);
    emit PropertyChanged(QStringLiteral("LowerLocked"));
}

void RangeTool::setUpperLocked(bool on)
{
    m_upperLocked = on;
    applyLock(Upper);
    emit PropertyChanged(QStringLiteral("UpperLocked"));
}

void RangeTool::setLowerVisible(bool on)
{
    if (!on)
        endDrag(Lower);
    m_picBottom->setVisible(on);
    m_lowerVisible = on;
    emit PropertyChanged(QStringLiteral("LowerVisible"));
}

void RangeTool::setUpperVisible(bool on)
{
    if (!on)
        endDrag(Upper);
    m_picTop->setVisible(on);
    m_upperVisible = on;
    emit PropertyChanged(QStringLiteral("UpperVisible"));
}

void RangeTool::raiseScroll()
{
    // A Scroll handler that sets a value again gets no echo of its own change.
    if (m_inScroll)
        return;
    m_inScroll = true;
    emit Scroll();
    m_inScroll = false;
}

// ---- placement ----

void RangeTool::UpdatePosition()
{
    const int L = trackLength();
    const int R = m_max - m_min;
    int upperLeft = 0;
    int lowerLeft = 0;
    if (R > 0 && L > 0) {
        m_unitsPerPixel = float(R) / float(L);
        upperLeft = int(std::lround(double(m_upperValue - m_min) / R * L));
        lowerLeft = int(std::lround(double(m_lowerValue - m_min) / R * L));
    } else {
        // An empty range: both values are Min, both thumbs at the start.
        m_unitsPerPixel = 0;
    }
    m_picTop->move(upperLeft, 0);
    m_picBottom->move(lowerLeft, height() - m_picBottom->height());
    m_fill = QRect(lowerLeft + 7, m_picTop->height() + 4, std::max(upperLeft - lowerLeft, 2),
                   height() - 2 * m_picBottom->height() - 7);
    update();
}

void RangeTool::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    UpdatePosition();
}

void RangeTool::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            endDrag(Lower);
            endDrag(Upper);
        }
        m_picTop->update();
        m_picBottom->update();
        update();
        emit PropertyChanged(QStringLiteral("Enabled"));
    }
    QWidget::changeEvent(e);
}

// ---- dragging and keys ----

void RangeTool::moveThumbTo(Which t, int value, int other)
{
    if (t == Lower) {
        m_lowerValue = value;
        if (m_upperLocked)
            m_lowerValue = std::min(other, m_lowerValue);
        m_upperValue = std::max(other, m_lowerValue);
    } else {
        m_upperValue = value;
        if (m_lowerLocked)
            m_upperValue = std::max(other, m_upperValue);
        m_lowerValue = std::min(other, m_upperValue);
    }
    UpdatePosition();
    raiseScroll();
    emit PropertyChanged(t == Lower ? QStringLiteral("LowerValue") : QStringLiteral("UpperValue"));
}

void RangeTool::thumbPressed(Which t, double x)
{
    if (locked(t))
        return;
    m_dragging[t] = true;
    m_otherAtStart = t == Lower ? m_upperValue : m_lowerValue;
    m_grabOffset = int(std::lround(x));
    thumb(t)->update();
}

void RangeTool::thumbMoved(Which t, double x)
{
    if (!m_dragging[t])
        return;
    const int p = std::clamp(int(std::lround(thumb(t)->x() + x - m_grabOffset)), 0, std::max(trackLength(), 0));
    const float v = float(m_min) + m_unitsPerPixel * float(p);
    moveThumbTo(t, int(std::nearbyint(v)), m_otherAtStart); // halves to even
}

void RangeTool::thumbReleased(Which t)
{
    m_dragging[t] = false;
    UpdatePosition();
    thumb(t)->update();
    emit Change();
    emit PropertyChanged(t == Lower ? QStringLiteral("LowerValue") : QStringLiteral("UpperValue"));
}

void RangeTool::endDrag(Which t)
{
    // A thumb hidden or disabled under the pointer never sees its release:
    // finish the drag here, or it would stay sunken and deaf to the keys.
    if (m_dragging[t])
        thumbReleased(t);
}

bool RangeTool::thumbKey(Which t, int key)
{
    if (locked(t) || m_dragging[Lower] || m_dragging[Upper])
        return false;
    const int current = t == Lower ? m_lowerValue : m_upperValue;
    const int page = std::max(1, (m_max - m_min) / 10);
    int target;
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Down: target = current - 1; break;
    case Qt::Key_Right:
    case Qt::Key_Up: target = current + 1; break;
    case Qt::Key_PageDown: target = current - page; break;
    case Qt::Key_PageUp: target = current + page; break;
    case Qt::Key_Home: target = m_min; break;
    case Qt::Key_End: target = m_max; break;
    default: return false;
    }
    moveThumbTo(t, std::clamp(target, m_min, m_max), t == Lower ? m_upperValue : m_lowerValue);
    return true;
}

void RangeTool::thumbKeyUp(Which t)
{
    if (locked(t))
        return;
    emit Change();
}

// ---- painting ----

void RangeTool::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Active, QPalette::Window));

    const QRect track(QPoint(4, m_picTop->height()), QPoint(width() - 4 - 1, height() - m_picBottom->height() - 1));
    const QColor face = resolveColour(systemColour(controls::ScButtonFace), pal);
    const QColor shadow = resolveColour(systemColour(controls::ScButtonShadow), pal);
    const QColor highlight = resolveColour(systemColour(controls::Sc3DHighlight), pal);
    const QColor dark = resolveColour(systemColour(controls::Sc3DDarkShadow), pal);
    const QColor light = resolveColour(systemColour(controls::Sc3DLight), pal);
    const int style = isEnabled() ? m_borderStyle : 4;
    switch (style) {
    case 1: // raised
        p.fillRect(track, face);
        drawEdge(p, track, light, dark, highlight, shadow);
        break;
    case 2: // sunken
        p.fillRect(track, face);
        drawEdge(p, track, shadow, highlight, dark, light);
        break;
    case 3: // bump: raised outer, sunken inner
        drawEdge(p, track, light, dark, dark, light);
        break;
    case 4: // etched: sunken outer, raised inner
        drawEdge(p, track, shadow, highlight, highlight, shadow);
        break;
    default:
        break;
    }
    if (m_fill.width() > 0 && m_fill.height() > 0)
        p.fillRect(m_fill, resolveColour(m_color, pal));
}
