#include "controls/progress_bar.h"

#include "platform/vb.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
const QColor kBack(255, 255, 255);
const QColor kBar(0, 0, 0xC0); // stored as 0xC00000: a dark blue
} // namespace

ProgressBar::ProgressBar(QWidget* parent) : QWidget(parent)
{
    setMinimumHeight(17); // 255 twips
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ProgressBar::setMax(double max)
{
    m_max = max;
    emit PropertyChanged(QStringLiteral("Max"));
}

void ProgressBar::setValue(double value)
{
    Disegna_barra(value);
    m_value = value;
    emit PropertyChanged(QStringLiteral("Value"));
}

void ProgressBar::Disegna_barra(double v)
{
    QString text;
    double share = 0;
    if (m_max > 0 && std::isfinite(v)) {
        const double percent = v / m_max * 100.0;
        text = vb::Format(percent, u"###") + QLatin1Char('%');
        share = std::clamp(percent / 100.0, 0.0, 1.0);
    } else {
        // No whole to measure against yet: an empty bar, not a division by zero.
        text = QStringLiteral("%");
    }
    if (m_drawn && text == m_shownText)
        return;
    m_drawn = true;
    m_shownText = text;
    m_shownShare = share;
    update();
}

void ProgressBar::setMousePointer(int pointer)
{
    m_mousePointer = pointer;
    controls::applyMousePointer(this, m_mousePointer, m_mouseIcon);
    emit PropertyChanged(QStringLiteral("MousePointer"));
}

void ProgressBar::setMouseIcon(const QPixmap& icon)
{
    m_mouseIcon = icon;
    controls::applyMousePointer(this, m_mousePointer, m_mouseIcon);
    emit PropertyChanged(QStringLiteral("MouseIcon"));
}

QSize ProgressBar::sizeHint() const
{
    return QSize(200, qMax(17, fontMetrics().height() + 4));
}

void ProgressBar::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::EnabledChange)
        emit PropertyChanged(QStringLiteral("Enabled"));
    if (e->type() == QEvent::FontChange)
        update();
    QWidget::changeEvent(e);
}

void ProgressBar::paintEvent(QPaintEvent*)
{
    // Text first in the bar colour, then the fill under "not xor": on white
    // the fill shows in the bar colour, over the text the text turns white.
    QImage strip(size(), QImage::Format_RGB32);
    strip.fill(kBack);
    if (m_drawn) {
        QPainter p(&strip);
        p.setFont(font());
        const QFontMetricsF fm(font());
        const double x = width() / 2.0 - fm.horizontalAdvance(m_shownText) / 2.0;
        const double y = (height() - fm.height()) / 2.0;
        p.setPen(kBar);
        p.drawText(QPointF(x, y + fm.ascent()), m_shownText);
        const int filled = int(std::lround(m_shownShare * width()));
        if (filled > 0) {
            p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
            p.fillRect(QRect(0, 0, filled, height()), kBar);
        }
    }
    QPainter(this).drawImage(0, 0, strip);
}
