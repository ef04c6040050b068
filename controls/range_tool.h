// RangeTool: the program's own two-thumb range slider. It chooses a whole
// interval [LowerValue, UpperValue] inside [Min, Max] on a horizontal track:
// the upper thumb (a triangle pointing down) rides the top edge, the lower
// thumb (pointing up) the bottom edge, and a coloured bar joins them. A thumb
// can be locked (it cannot be moved and the other one cannot pass it) or
// hidden.
//
// Mouse: drag a thumb; Scroll on every move, Change on release. Keyboard (a
// thumb takes the focus by Tab or a click): arrows move it by one, Page Up and
// Page Down by a tenth of the range, Home and End to the ends, under the same
// rules as a drag; Scroll on every step, Change when the key comes up.
// Setting LowerValue or UpperValue raises Scroll once; a Scroll handler that
// sets a value again gets no second Scroll.
#pragma once

#include "controls/surface_helpers.h"

#include <QWidget>

class RangeThumb;

class RangeTool : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int BorderStyle READ BorderStyle WRITE setBorderStyle)
    Q_PROPERTY(quint32 Color READ Color WRITE setColor)
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(int Min READ Min WRITE setMin)
    Q_PROPERTY(bool LowerLocked READ LowerLocked WRITE setLowerLocked)
    Q_PROPERTY(bool LowerVisible READ LowerVisible WRITE setLowerVisible)
    Q_PROPERTY(int Max READ Max WRITE setMax)
    Q_PROPERTY(bool UpperLocked READ UpperLocked WRITE setUpperLocked)
    Q_PROPERTY(bool UpperVisible READ UpperVisible WRITE setUpperVisible)
    Q_PROPERTY(int UpperValue READ UpperValue WRITE setUpperValue)
    Q_PROPERTY(int LowerValue READ LowerValue WRITE setLowerValue)

public:
    explicit RangeTool(QWidget* parent = nullptr);
    ~RangeTool() override;

    // Track edge: 1 raised, 2 sunken (both on button face), 3 bump, 4 etched;
    // other values draw no edge.
    int BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(int style);
    controls::OleColor Color() const { return m_color; }
    void setColor(controls::OleColor colour);

    int Min() const { return m_min; }
    void setMin(int v);
    int Max() const { return m_max; }
    void setMax(int v);
    int LowerValue() const { return m_lowerValue; }
    void setLowerValue(int v);
    int UpperValue() const { return m_upperValue; }
    void setUpperValue(int v);

    bool LowerLocked() const { return m_lowerLocked; }
    void setLowerLocked(bool on);
    bool UpperLocked() const { return m_upperLocked; }
    void setUpperLocked(bool on);
    bool LowerVisible() const { return m_lowerVisible; }
    void setLowerVisible(bool on);
    bool UpperVisible() const { return m_upperVisible; }
    void setUpperVisible(bool on);

    // Places both thumbs and the fill bar for the current values.
    void UpdatePosition();

    // The thumbs and the fill bar as placed by the last UpdatePosition.
    QWidget* picTop() const;
    QWidget* picBottom() const;
    QRect shpFill() const { return m_fill; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void Change();
    void Scroll();
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    friend class RangeThumb;
    enum Which { Lower, Upper };

    int trackLength() const { return width() - 17; }
    bool locked(Which t) const { return t == Lower ? m_lowerLocked : m_upperLocked; }
    RangeThumb* thumb(Which t) const { return t == Lower ? m_picBottom : m_picTop; }
    void moveThumbTo(Which t, int value, int otherAtStart);
    void raiseScroll();
    void applyLock(Which t);

    void thumbPressed(Which t, double x);
    void thumbMoved(Which t, double x);
    void thumbReleased(Which t);
    void endDrag(Which t);
    bool thumbKey(Which t, int key);
    void thumbKeyUp(Which t);

    int m_min = 0, m_max = 100;
    int m_lowerValue = 25, m_upperValue = 75;
    controls::OleColor m_color = controls::systemColour(controls::ScActiveCaption);
    bool m_lowerVisible = true, m_upperVisible = true;
    bool m_lowerLocked = false, m_upperLocked = false;
    int m_borderStyle = 4;

    RangeThumb* m_picTop = nullptr;
    RangeThumb* m_picBottom = nullptr;
    QRect m_fill;
    float m_unitsPerPixel = 0.5f;

    bool m_dragging[2] = {false, false};
    int m_grabOffset = 0;
    int m_otherAtStart = 0;
    bool m_inScroll = false;
};
