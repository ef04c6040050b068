// ProgressBar: the program's own progress bar. A white strip that fills from
// the left in dark blue as Value approaches Max, with the percentage in its
// middle; where the fill passes under the text the text turns white.
//
// Callers set Max first (the whole job), then Value after each step. The bar
// is drawn again only when the percentage it shows changes, so a loader may
// set Value for every element set of a large file at no cost.
#pragma once

#include "controls/surface_helpers.h"

#include <QWidget>

class ProgressBar : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(double Max READ Max WRITE setMax)
    Q_PROPERTY(int MousePointer READ MousePointer WRITE setMousePointer)
    Q_PROPERTY(QPixmap MouseIcon READ MouseIcon WRITE setMouseIcon)

public:
    explicit ProgressBar(QWidget* parent = nullptr);

    WId hwnd() const { return winId(); }

    // The value that means 100 %; 0 until set. Changing it alone does not
    // redraw the bar: the next Value does.
    double Max() const { return m_max; }
    void setMax(double max);

    // Write only: draws the bar for the value (Disegna_barra) when the shown
    // percentage changes. Before a positive Max is set the bar stays empty.
    void setValue(double value);

    int MousePointer() const { return m_mousePointer; }
    void setMousePointer(int pointer);
    QPixmap MouseIcon() const { return m_mouseIcon; }
    void setMouseIcon(const QPixmap& icon);

    // The text of the bar as last drawn ("46%"; empty before the first Value).
    QString shownText() const { return m_shownText; }

    QSize sizeHint() const override;

signals:
    void PropertyChanged(const QString& name);

protected:
    void paintEvent(QPaintEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void Disegna_barra(double value);

    double m_max = 0;
    double m_value = 0;
    int m_mousePointer = 0;
    QPixmap m_mouseIcon;

    bool m_drawn = false;     // a Value has been drawn
    QString m_shownText;      // its percentage text
    double m_shownShare = 0;  // its filled share of the width, 0 to 1
};
