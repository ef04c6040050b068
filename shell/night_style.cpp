#include "shell/night_style.h"

#include "shell/night_colours.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCache>
#include <QGroupBox>
#include <QHash>
#include <QImage>
#include <QMainWindow>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QProxyStyle>
#include <QStyleOption>
#include <QTabBar>
#include <qdrawutil.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>

namespace mNight {

namespace {

bool gNotte = false;

// Classic system colour elements the style reads from the night table.
enum Element { ScrollBar = 0, ActiveCaption = 2, InactiveCaption = 3, CaptionText = 9, InactiveCaptionText = 19 };

QColor elemento(int e)
{
    const std::uint32_t c = Colore_Notte(e);
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// A small solid triangle pointing one way, the size the style's own arrows
// have (14 by 8 at most, as wide as the place allows), centred in `r`.
void freccia(QPainter* p, const QRect& r, Qt::ArrowType verso, const QColor& colore)
{
    const bool orizzontale = verso == Qt::LeftArrow || verso == Qt::RightArrow;
    const int lato = qMin(8, qMin(r.width(), r.height()));
    const int base = lato, altezza = qMax(1, 8 * lato / 14);
    const int w = orizzontale ? altezza : base, h = orizzontale ? base : altezza;
    const QRectF f(r.x() + (r.width() - w) / 2.0, r.y() + (r.height() - h) / 2.0, w, h);
    QPolygonF t;
    switch (verso) {
    case Qt::UpArrow: t << f.bottomLeft() << f.bottomRight() << QPointF(f.center().x(), f.top()); break;
    case Qt::LeftArrow: t << f.topRight() << f.bottomRight() << QPointF(f.left(), f.center().y()); break;
    case Qt::RightArrow: t << f.topLeft() << f.bottomLeft() << QPointF(f.right(), f.center().y()); break;
    default: t << f.topLeft() << f.topRight() << QPointF(f.center().x(), f.bottom()); break;
    }
    p->save();
    p->setRenderHint(QPainter::Antialiasing, false);
    p->setPen(Qt::NoPen);
    p->setBrush(colore);
    p->drawPolygon(t);
    p->restore();
}

// A picture made on the screen's pixels `pixel` put down on them, one to
// one (`strato` at a pixel ratio of 1).
void metti(QPainter* p, const QTransform& schermo, const QRect& pixel, const QImage& strato)
{
    p->save();
    p->setRenderHint(QPainter::SmoothPixmapTransform, false);
    p->resetTransform();
    const QTransform base = p->deviceTransform();
    if (base.type() <= QTransform::TxScale && base.dx() == std::floor(base.dx()) && base.dy() == std::floor(base.dy())) {
        // In the device's own pixels, where the picture is copied, not
        // scaled to them.
        p->setWorldTransform(QTransform::fromTranslate(base.dx(), base.dy()) * base.inverted());
        p->drawImage(pixel.topLeft() - QPoint(int(base.dx()), int(base.dy())), strato);
    } else {
        p->restore();
        p->save();
        p->setRenderHint(QPainter::SmoothPixmapTransform, false);
        p->drawImage(schermo.inverted().mapRect(QRectF(pixel)), strato);
    }
    p->restore();
}

// Controls' numbers in chiaveDisegno, apart from primitives'.
constexpr int kControllo = 0x10000;

// What the base style's drawing of a part (`elemento`, a primitive or a
// control) depends on: the part's option (state, size, palette, font, and
// what its kind adds) and its widget, with what the base style reads of a
// group box.
// A key made of numbers, each one's bytes as they are.
class Chiave {
public:
    Chiave& operator<<(qint64 n)
    {
        m_byte.append(reinterpret_cast<const char*>(&n), sizeof n);
        return *this;
    }
    Chiave& operator<<(qreal n)
    {
        m_byte.append(reinterpret_cast<const char*>(&n), sizeof n);
        return *this;
    }
    const QByteArray& byte() const { return m_byte; }

private:
    QByteArray m_byte;
};

QByteArray chiaveDisegno(int elemento, const QStyleOption* o, const QWidget* w)
{
    Chiave k;
    k << qint64(elemento) << qint64(o->type) << qint64(o->version) << qint64(o->state) << qint64(o->direction)
      << qint64(o->rect.width()) << qint64(o->rect.height()) << qint64(o->palette.cacheKey())
      << qint64(o->fontMetrics.height()) << qint64(o->fontMetrics.ascent()) << qint64(quintptr(w));
    if (auto* f = qstyleoption_cast<const QStyleOptionFrame*>(o))
        k << qint64(f->lineWidth) << qint64(f->midLineWidth) << qint64(f->features) << qint64(f->frameShape);
    if (auto* h = qstyleoption_cast<const QStyleOptionHeader*>(o))
        k << qint64(h->section) << qint64(h->position) << qint64(h->selectedPosition) << qint64(h->sortIndicator)
          << qint64(h->orientation) << qint64(h->textAlignment);
    if (auto* h = qstyleoption_cast<const QStyleOptionHeaderV2*>(o))
        k << qint64(h->isSectionDragTarget) << qint64(h->textElideMode);
    if (auto* g = qstyleoption_cast<const QStyleOptionSizeGrip*>(o))
        k << qint64(g->corner);
    if (auto* g = qobject_cast<const QGroupBox*>(w))
        k << qint64(g->isCheckable()) << qint64(g->title().isEmpty()) << qint64(g->isFlat());
    return k.byte();
}

// What the base style draws in `r`, drawn apart and put down in two of
// the palette's colours: its dark pixels in `scuro`, its light ones in
// `chiaro`, the faint ones left out. The drawing keeps the base style's
// places to the device pixel at every scale: it is drawn apart on the
// screen's own pixels (a place between two of them at 1.5x falls where
// the screen has it) and as the base style draws it there (its pictures
// smoothed as on the screen), and the faint pixels on the outside of a
// line, where the scaled line only partly covers a pixel, stay with it.
//
// With `soloRighe` the drawing is a face with lines on it (a header's
// section): only the lines are put down, dark or light as they are darker
// or lighter than the face at the middle; the face is the caller's.
//
// A window repainted draws the same parts again and again: what is put
// down is kept, under `chiave` (what the drawing depends on, see
// chiaveDisegno) with the colours, the scale and the place between two
// screen pixels, and put down again as it is. An empty `chiave` keeps
// nothing.
void inDueColori(QPainter* p, const QRect& r, const std::function<void(QPainter*)>& disegna, const QColor& scuro,
                 const QColor& chiaro, const QByteArray& chiave, bool soloRighe = false)
{
    if (r.isEmpty())
        return;
    const qreal dpr = p->device() ? p->device()->devicePixelRatioF() : 1.0;
    const QTransform schermo = p->deviceTransform();
    if (schermo.type() > QTransform::TxScale) {
        // Turned or sheared (no style does it to these parts): as it comes.
        disegna(p);
        return;
    }
    const QRectF esatto = schermo.mapRect(QRectF(r));
    const QRect pixel = esatto.toAlignedRect();
    if (pixel.isEmpty())
        return;
    static QCache<QByteArray, QImage> fatti(24 * 1024); // KB
    QByteArray tutto;
    if (!chiave.isEmpty()) {
        Chiave k;
        k << esatto.x() - pixel.x() << esatto.y() - pixel.y() << esatto.width() << esatto.height() << schermo.m11()
          << schermo.m22() << dpr << qint64(scuro.rgba()) << qint64(chiaro.rgba()) << qint64(soloRighe)
          << qint64(p->renderHints());
        tutto = chiave + k.byte();
        if (const QImage* gia = fatti.object(tutto)) {
            metti(p, schermo, pixel, *gia);
            return;
        }
    }
    QImage strato(pixel.size(), QImage::Format_ARGB32);
    strato.setDevicePixelRatio(dpr);
    strato.fill(Qt::transparent);
    {
        QPainter q(&strato);
        q.setRenderHints(p->renderHints());
        q.setTransform(schermo * QTransform::fromTranslate(-pixel.x(), -pixel.y()) * QTransform::fromScale(1 / dpr, 1 / dpr));
        disegna(&q);
    }
    const QImage fatto = strato.copy();
    const QRgb faccia = fatto.pixel(fatto.width() / 2, fatto.height() / 2);
    const auto staccata = [&](QRgb c) {
        return qAlpha(c) >= 32
            && std::max({std::abs(qRed(c) - qRed(faccia)), std::abs(qGreen(c) - qGreen(faccia)),
                         std::abs(qBlue(c) - qBlue(faccia))}) > 24;
    };
    const auto forte = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < fatto.width() && y < fatto.height() && qAlpha(fatto.pixel(x, y)) >= 32;
    };
    for (int y = 0; y < strato.height(); ++y) {
        auto* riga = reinterpret_cast<QRgb*>(strato.scanLine(y));
        for (int x = 0; x < strato.width(); ++x) {
            const QRgb c = riga[x];
            if (soloRighe) {
                riga[x] = staccata(c) ? (qGray(c) < qGray(faccia) ? scuro : chiaro).rgb() : 0;
                continue;
            }
            bool tiene = qAlpha(c) >= 32;
            if (!tiene && qAlpha(c) >= 8) {
                // A part of a line beside it: the line's own shade,
                // only thinner.
                for (const QPoint v : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
                    if (forte(x + v.x(), y + v.y())
                        && std::abs(qGray(fatto.pixel(x + v.x(), y + v.y())) - qGray(c)) < 24)
                        tiene = true;
            }
            riga[x] = tiene ? (qGray(c) < 200 ? scuro : chiaro).rgb() : 0;
        }
    }
    // Each pixel solid or clear: the same premultiplied, and put down so
    // the fastest.
    strato = std::move(strato).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    strato.setDevicePixelRatio(1);
    metti(p, schermo, pixel, strato);
    if (!tutto.isEmpty())
        fatti.insert(tutto, new QImage(strato), std::max<qsizetype>(1, strato.sizeInBytes() / 1024));
}

// Whether a line of the pen one pixel wide is the strip of pixels under it:
// one device pixel to a pixel of the layout, whole ones, not smoothed.
bool sullaGriglia(const QPainter* p)
{
    const QTransform t = p->deviceTransform();
    return t.type() <= QTransform::TxTranslate && t.dx() == std::floor(t.dx()) && t.dy() == std::floor(t.dy())
        && !p->testRenderHint(QPainter::Antialiasing);
}

// The frames of qdrawutil (qDrawWinButton, qDrawWinPanel, qDrawPlainRect,
// qDrawShadePanel, qDrawShadeLine) draw their lines with the pen, which lays
// a line down pixel by pixel, in the device's own pixels (at a scale the
// painter is scaled back to them, the frame's place and size rounded to
// them, its lines as many pixels wide as the scale makes of one). Where the
// frame then stands on whole device pixels and nothing is smoothed, the
// same lines are filled strips: the same pixels for a small part of the
// cost. Anywhere else qdrawutil draws them, as before.
class InPixel {
public:
    InPixel(QPainter* p, const QRect& r, int spessore = 1) : m_p(p), r(r), spessore(spessore)
    {
        const qreal dpr = p->device() ? p->device()->devicePixelRatio() : 1.0;
        if (qFuzzyCompare(dpr, qreal(1)))
            return;
        m_p->save();
        m_scalato = true;
        m_p->scale(1 / dpr, 1 / dpr);
        this->r = QRect(qRound(dpr * r.x()), qRound(dpr * r.y()), qRound(dpr * r.width()), qRound(dpr * r.height()));
        this->spessore = qRound(dpr * spessore);
        // Between two device pixels (a widget at an odd place at 1.5x),
        // the pen's one-pixel lines fall on the nearer one, the next one
        // at half way: the frame is moved there whole.
        const QTransform t = m_p->deviceTransform();
        if (t.type() <= QTransform::TxTranslate)
            m_p->translate(std::floor(t.dx() + 0.5) - t.dx(), std::floor(t.dy() + 0.5) - t.dy());
    }
    ~InPixel()
    {
        if (m_scalato)
            m_p->restore();
    }
    InPixel(const InPixel&) = delete;
    InPixel& operator=(const InPixel&) = delete;
    // Whether the frame stands on whole device pixels, not smoothed, and
    // is large enough for its lines.
    bool aPixelInteri() const
    {
        return sullaGriglia(m_p) && r.width() > 2 * spessore + 2 && r.height() > 2 * spessore + 2;
    }

private:
    QPainter* m_p;
    bool m_scalato = false;

public:
    QRect r;
    int spessore;
};

// A line across or down from (x1, y1) to (x2, y2), both ends included.
void striscia(QPainter* p, int x1, int y1, int x2, int y2, const QColor& c)
{
    p->fillRect(QRect(QPoint(std::min(x1, x2), std::min(y1, y2)), QPoint(std::max(x1, x2), std::max(y1, y2))), c);
}

// qDrawWinShades: c1 the outer top and left, c2 the outer bottom and right,
// c3 the inner top and left, c4 the inner bottom and right.
void ombreWin(QPainter* p, const QRect& r, const QColor& c1, const QColor& c2, const QColor& c3, const QColor& c4,
              const QBrush* fill)
{
    const int x = r.x(), y = r.y(), w = r.width(), h = r.height();
    striscia(p, x, y + h - 2, x, y, c1);
    striscia(p, x, y, x + w - 2, y, c1);
    striscia(p, x, y + h - 1, x + w - 1, y + h - 1, c2);
    striscia(p, x + w - 1, y + h - 1, x + w - 1, y, c2);
    striscia(p, x + 1, y + h - 3, x + 1, y + 1, c3);
    striscia(p, x + 1, y + 1, x + w - 3, y + 1, c3);
    striscia(p, x + 1, y + h - 2, x + w - 2, y + h - 2, c4);
    striscia(p, x + w - 2, y + h - 2, x + w - 2, y + 1, c4);
    if (fill)
        p->fillRect(QRect(x + 2, y + 2, w - 4, h - 4), *fill);
}

// qDrawWinButton (`pulsante`) or qDrawWinPanel, raised or sunken (`giu`).
void bordoWin(QPainter* p, const QRect& r, const QPalette& pal, bool giu, const QBrush* fill, bool pulsante)
{
    {
        const InPixel d(p, r);
        if (d.aPixelInteri()) {
            const QColor chiaro = pal.light().color(), ombra = pal.shadow().color(), scuro = pal.dark().color(),
                         medio = pulsante ? pal.button().color() : pal.midlight().color();
            if (!giu)
                ombreWin(p, d.r, chiaro, ombra, medio, scuro, fill);
            else if (pulsante)
                ombreWin(p, d.r, ombra, chiaro, scuro, medio, fill);
            else
                ombreWin(p, d.r, scuro, chiaro, ombra, medio, fill);
            return;
        }
    }
    if (pulsante)
        qDrawWinButton(p, r, pal, giu, fill);
    else
        qDrawWinPanel(p, r, pal, giu, fill);
}

void pulsanteWin(QPainter* p, const QRect& r, const QPalette& pal, bool giu, const QBrush* fill)
{
    bordoWin(p, r, pal, giu, fill, true);
}

void pannelloWin(QPainter* p, const QRect& r, const QPalette& pal, bool giu, const QBrush* fill = nullptr)
{
    bordoWin(p, r, pal, giu, fill, false);
}

// qDrawPlainRect with a line one pixel of the layout wide.
void cornice(QPainter* p, const QRect& r, const QColor& c, const QBrush* fill = nullptr)
{
    {
        const InPixel d(p, r);
        if (d.aPixelInteri()) {
            for (int i = 0; i < d.spessore; ++i) {
                const QRect q = d.r.adjusted(i, i, -i, -i);
                striscia(p, q.left(), q.top(), q.right(), q.top(), c);
                striscia(p, q.left(), q.bottom(), q.right(), q.bottom(), c);
                striscia(p, q.left(), q.top(), q.left(), q.bottom(), c);
                striscia(p, q.right(), q.top(), q.right(), q.bottom(), c);
            }
            if (fill)
                p->fillRect(d.r.adjusted(d.spessore, d.spessore, -d.spessore, -d.spessore), *fill);
            return;
        }
    }
    qDrawPlainRect(p, r, c, 1, fill);
}

// qDrawShadePanel with a line one pixel of the layout wide, not filled.
void pannelloOmbra(QPainter* p, const QRect& r, const QPalette& pal, bool giu)
{
    {
        const InPixel d(p, r);
        if (d.aPixelInteri()) {
            const QColor sopra = giu ? pal.dark().color() : pal.light().color();
            const QColor sotto = giu ? pal.light().color() : pal.dark().color();
            const int x = d.r.x(), y = d.r.y(), w = d.r.width(), h = d.r.height(), n = d.spessore;
            for (int i = 0; i < n; ++i) {
                striscia(p, x, y + i, x + w - 2 - i, y + i, sopra);
                striscia(p, x + i, y + h - 2, x + i, y + n - i, sopra);
            }
            for (int i = 0; i < n; ++i) {
                striscia(p, x + i, y + h - 1 - i, x + w - 1, y + h - 1 - i, sotto);
                striscia(p, x + w - 1 - i, y + i, x + w - 1 - i, y + h - n - 1, sotto);
            }
            return;
        }
    }
    qDrawShadePanel(p, r, pal, giu, 1);
}

// A line of the pen one pixel wide from `a` to `b` (across or down), as the
// base style draws its lines: a filled strip where that is the same.
void lineaDellaPenna(QPainter* p, QPoint a, QPoint b, const QColor& c)
{
    if (sullaGriglia(p)) {
        striscia(p, a.x(), a.y(), b.x(), b.y(), c);
        return;
    }
    p->setPen(c);
    p->drawLine(a, b);
}

// qDrawShadeLine across, sunken, one pixel wide each, no middle line: the
// dark line above, the light one below it (the pen leaves out the light
// one's last pixel). As strips at one device pixel to a pixel of the
// layout only.
void lineaIncisa(QPainter* p, int x1, int y, int x2, const QPalette& pal)
{
    if (!sullaGriglia(p) || std::abs(x2 - x1) < 3) {
        qDrawShadeLine(p, x1, y, x2, y, pal, true, 1, 0);
        return;
    }
    if (x1 > x2)
        std::swap(x1, x2);
    --x2;
    striscia(p, x1, y - 1, x2, y - 1, pal.color(QPalette::Dark));
    striscia(p, x1, y, x2 - 1, y, pal.light().color());
}

QPalette::ColorGroup gruppo(bool abilitato)
{
    return abilitato ? QPalette::Active : QPalette::Disabled;
}

// The edge of a control that has the keyboard, where the day draws it in
// its highlight colour (the night's highlight is the page's own colour):
// the palette's lit edge.
QColor coloreFuoco(const QPalette& pal)
{
    return pal.color(QPalette::Light);
}

// The inside of a box held down by the mouse (a check box, a radio
// button), where the day darkens it towards its text: the night table's
// darker red, the scroll bar's.
QColor colorePremuto()
{
    return elemento(ScrollBar);
}

class StileNotte : public QProxyStyle {
public:
    explicit StileNotte(QStyle* base) : QProxyStyle(base) {}

    void drawPrimitive(PrimitiveElement pe, const QStyleOption* o, QPainter* p, const QWidget* w) const override
    {
        if (!gNotte) {
            QProxyStyle::drawPrimitive(pe, o, p, w);
            return;
        }
        const QPalette& pal = o->palette;
        const QRect& r = o->rect;
        switch (pe) {
        case PE_FrameTabWidget:
            pannelloWin(p, r, pal, false, &pal.brush(QPalette::Window));
            return;
        case PE_PanelButtonCommand: {
            auto* b = qstyleoption_cast<const QStyleOptionButton*>(o);
            const bool giu = o->state & (State_Sunken | State_On);
            if (b && (b->features & QStyleOptionButton::Flat) && !giu)
                return;
            QRect f = r;
            if (b && (b->features & QStyleOptionButton::DefaultButton) && (o->state & State_Enabled)) {
                cornice(p, f, pal.color(QPalette::Shadow));
                f.adjust(1, 1, -1, -1);
            }
            pulsanteWin(p, f, pal, giu, &pal.brush(QPalette::Button));
            // Under the mouse (a button, a combo box, a tool button), where
            // the day lightens its face: the face lit along its edge.
            if ((o->state & State_MouseOver) && (o->state & State_Enabled) && !giu)
                illuminato(p, f, pal);
            const bool fuoco = (o->state & State_HasFocus) && (o->state & State_KeyboardFocusChange);
            if (fuoco && f.width() > 8 && f.height() > 8)
                tratteggio(p, f.adjusted(3, 3, -4, -4), pal.color(QPalette::ButtonText));
            return;
        }
        case PE_FrameFocusRect:
            if (o->state & State_KeyboardFocusChange)
                tratteggio(p, r.adjusted(0, 0, -1, -1), pal.color(QPalette::WindowText));
            return;
        case PE_FrameGroupBox:
            // Where the base style puts it: below the title, or at the
            // top of a box without one.
            inDueColori(
                p, r, [&](QPainter* q) { QProxyStyle::drawPrimitive(pe, o, q, w); }, pal.color(QPalette::Dark),
                pal.color(QPalette::Light), chiaveDisegno(pe, o, w));
            return;
        case PE_Frame:
            if (w && w->inherits("QComboBoxPrivateContainer")) {
                drawPrimitive(PE_PanelMenu, o, p, w);
                return;
            }
            [[fallthrough]];
        case PE_FrameLineEdit:
            // A field with the keyboard has its frame lit, as by day it
            // takes the highlight colour.
            cornice(p, r, pe == PE_FrameLineEdit && (o->state & State_HasFocus) ? coloreFuoco(pal) : pal.color(QPalette::Dark));
            return;
        case PE_FrameWindow:
            pannelloWin(p, r, pal, false);
            return;
        case PE_PanelMenu:
            cornice(p, r, pal.color(QPalette::Shadow), &pal.brush(QPalette::Window));
            return;
        case PE_FrameMenu:
            cornice(p, r, pal.color(QPalette::Shadow));
            return;
        case PE_FrameTabBarBase:
            p->save();
            p->setPen(pal.color(QPalette::Light));
            p->drawLine(r.topLeft(), r.topRight());
            p->restore();
            return;
        case PE_IndicatorToolBarSeparator: {
            // A dark line and a light one beside it, 6 pixels short of
            // either end, as the base style has them.
            p->save();
            const bool orizzontale = o->state & State_Horizontal;
            const int x = r.left() + r.width() / 2, y = r.top() + r.height() / 2;
            const QLine linea = orizzontale ? QLine(x, r.top() + 6, x, r.bottom() - 6)
                                            : QLine(r.left() + 6, y, r.right() - 6, y);
            p->setPen(pal.color(QPalette::Dark));
            p->drawLine(linea);
            p->setPen(pal.color(QPalette::Light));
            p->drawLine(linea.translated(orizzontale ? QPoint(1, 0) : QPoint(0, 1)));
            p->restore();
            return;
        }
        case PE_IndicatorArrowUp:
        case PE_IndicatorArrowDown:
        case PE_IndicatorArrowLeft:
        case PE_IndicatorArrowRight: {
            const Qt::ArrowType verso = pe == PE_IndicatorArrowUp     ? Qt::UpArrow
                                      : pe == PE_IndicatorArrowLeft   ? Qt::LeftArrow
                                      : pe == PE_IndicatorArrowRight  ? Qt::RightArrow
                                                                      : Qt::DownArrow;
            freccia(p, r, verso, pal.color(gruppo(o->state & State_Enabled), QPalette::WindowText));
            return;
        }
        case PE_IndicatorCheckBox: {
            const int lato = qMin(r.width(), r.height());
            const QRect f(r.topLeft(), QSize(lato, lato));
            // Held down by the mouse, its inside darker, as by day.
            const QBrush dentro = (o->state & State_Sunken) ? QBrush(colorePremuto()) : pal.brush(QPalette::Base);
            pannelloWin(p, f, pal, true, &dentro);
            // With the keyboard, its box's edge lit, as by day the box's
            // outline takes the highlight colour.
            if ((o->state & State_HasFocus) && (o->state & State_KeyboardFocusChange))
                cornice(p, f, coloreFuoco(pal));
            const QRect d = f.adjusted(3, 3, -4, -4);
            if (o->state & State_NoChange) {
                p->fillRect(d, pal.color(QPalette::Disabled, QPalette::Text));
            } else if (o->state & State_On) {
                p->save();
                p->setRenderHint(QPainter::Antialiasing, false);
                p->setPen(QPen(pal.color(QPalette::Text), 2));
                p->drawPolyline(QPolygon(
                    {QPoint(d.left(), d.center().y()), QPoint(d.left() + d.width() / 3, d.bottom()), d.topRight()}));
                p->restore();
            }
            return;
        }
        case PE_IndicatorRadioButton: {
            // Not smoothed: its edge, its inside and its dot in the
            // palette's colours only, held down or not.
            p->save();
            p->setRenderHint(QPainter::Antialiasing, false);
            const QRectF f = QRectF(r).adjusted(1, 1, -1, -1);
            const bool fuoco = (o->state & State_HasFocus) && (o->state & State_KeyboardFocusChange);
            p->setPen(fuoco ? coloreFuoco(pal) : pal.color(QPalette::Dark));
            p->setBrush((o->state & State_Sunken) ? QBrush(colorePremuto()) : pal.base());
            p->drawEllipse(f);
            if (o->state & State_On) {
                p->setPen(Qt::NoPen);
                p->setBrush(pal.text());
                p->drawEllipse(f.center(), f.width() / 5, f.height() / 5);
            }
            p->restore();
            return;
        }
        default:
            break;
        }
        QProxyStyle::drawPrimitive(pe, o, p, w);
    }

    void drawControl(ControlElement ce, const QStyleOption* o, QPainter* p, const QWidget* w) const override
    {
        if (!gNotte) {
            QProxyStyle::drawControl(ce, o, p, w);
            return;
        }
        const QPalette& pal = o->palette;
        const QRect& r = o->rect;
        switch (ce) {
        case CE_HeaderSection:
            // The face in the button colour, the base style's lines on it
            // where it draws them (the side between two sections, the
            // bottom), pressed or not: drawn apart in the base style's own
            // colours, where its lines stand out from its face as by day.
            p->fillRect(r, pal.button());
            inDueColori(
                p, r,
                [&](QPainter* q) {
                    QStyleOptionHeader v;
                    if (auto* h = qstyleoption_cast<const QStyleOptionHeader*>(o))
                        v = *h;
                    else
                        static_cast<QStyleOption&>(v) = *o;
                    v.palette = baseStyle()->standardPalette();
                    QProxyStyle::drawControl(ce, &v, q, w);
                },
                pal.color(QPalette::Dark), pal.color(QPalette::Light), chiaveDisegno(kControllo + ce, o, w), true);
            return;
        case CE_TabBarTabShape:
            if (auto* t = qstyleoption_cast<const QStyleOptionTab*>(o)) {
                // The tab shown is as tall as the bar and open to its page;
                // the others stand back from the page's side and are closed
                // off from it by the page's edge, as by day.
                const bool mostrata = t->state & State_Selected;
                const int indietro = mostrata ? 0 : 2;
                QRect f = r;
                QLine bordo;
                switch (t->shape) {
                case QTabBar::RoundedSouth: case QTabBar::TriangularSouth:
                    f.adjust(0, -2, 0, -indietro);
                    bordo = QLine(r.topLeft(), r.topRight());
                    break;
                case QTabBar::RoundedWest: case QTabBar::TriangularWest:
                    f.adjust(indietro, 0, 2, 0);
                    bordo = QLine(r.topRight(), r.bottomRight());
                    break;
                case QTabBar::RoundedEast: case QTabBar::TriangularEast:
                    f.adjust(-2, 0, -indietro, 0);
                    bordo = QLine(r.topLeft(), r.bottomLeft());
                    break;
                default:
                    f.adjust(0, indietro, 0, 2);
                    bordo = QLine(r.bottomLeft(), r.bottomRight());
                    break;
                }
                p->save();
                p->setClipRect(r);
                pannelloWin(p, f, pal, false, &pal.brush(QPalette::Window));
                if (!mostrata) {
                    p->setPen(pal.color(QPalette::Light));
                    p->drawLine(bordo);
                }
                p->restore();
            }
            return;
        case CE_MenuItem:
            if (auto* m = qstyleoption_cast<const QStyleOptionMenuItem*>(o)) {
                if (m->menuItemType == QStyleOptionMenuItem::Separator && m->text.isEmpty()) {
                    lineaIncisa(p, r.left() + 5, r.center().y(), r.right() - 5, pal);
                    return;
                }
                if ((m->state & State_Selected) && (m->state & State_Enabled)) {
                    // The item under the keyboard: the highlight colour in a
                    // frame, its text in the highlighted text's colour.
                    cornice(p, r, pal.color(QPalette::Shadow), &pal.brush(QPalette::Highlight));
                    QStyleOptionMenuItem v = *m;
                    v.state &= ~State_Selected;
                    v.palette.setColor(QPalette::Text, pal.color(QPalette::HighlightedText));
                    v.palette.setColor(QPalette::ButtonText, pal.color(QPalette::HighlightedText));
                    v.palette.setColor(QPalette::WindowText, pal.color(QPalette::HighlightedText));
                    QProxyStyle::drawControl(ce, &v, p, w);
                    return;
                }
            }
            break;
        case CE_MenuBarItem:
            if (auto* m = qstyleoption_cast<const QStyleOptionMenuItem*>(o)) {
                p->fillRect(r, pal.window());
                lineaSottoMenu(p, r, pal);
                if (m->state & State_Selected)
                    pannelloOmbra(p, r, pal, m->state & State_Sunken);
                int allinea = Qt::AlignCenter | Qt::TextShowMnemonic | Qt::TextDontClip | Qt::TextSingleLine;
                if (!proxy()->styleHint(SH_UnderlineShortcut, m, w))
                    allinea |= Qt::TextHideMnemonic;
                proxy()->drawItemText(p, r.adjusted(0, 1, 0, -3), allinea, pal, m->state & State_Enabled, m->text,
                                      QPalette::ButtonText);
            }
            return;
        case CE_MenuBarEmptyArea:
            p->fillRect(r, pal.window());
            lineaSottoMenu(p, r, pal);
            return;
        case CE_ToolBar:
            // The base style's lines along a bar (in a main window only),
            // in the palette's edge colours.
            if (auto* t = qstyleoption_cast<const QStyleOptionToolBar*>(o)) {
                p->fillRect(r, pal.window());
                if (!w || qobject_cast<const QMainWindow*>(w->parentWidget()))
                    lineeDellaBarra(p, t, pal.color(QPalette::Light), pal.color(QPalette::Dark));
                return;
            }
            break;
        case CE_Splitter:
        case CE_SizeGrip:
            // The grips: the base style's points, in the palette's edge colours.
            inDueColori(
                p, r, [&](QPainter* q) { QProxyStyle::drawControl(ce, o, q, w); }, pal.color(QPalette::Dark),
                pal.color(QPalette::Light), chiaveDisegno(kControllo + ce, o, w));
            return;
        default:
            break;
        }
        QProxyStyle::drawControl(ce, o, p, w);
    }

    void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* o, QPainter* p,
                            const QWidget* w) const override
    {
        if (!gNotte) {
            QProxyStyle::drawComplexControl(cc, o, p, w);
            return;
        }
        const QPalette& pal = o->palette;
        if (cc == CC_TitleBar) {
            if (auto* t = qstyleoption_cast<const QStyleOptionTitleBar*>(o)) {
                disegnaTitolo(t, p, w);
                return;
            }
        } else if (cc == CC_ScrollBar) {
            if (auto* s = qstyleoption_cast<const QStyleOptionSlider*>(o)) {
                p->fillRect(s->rect, elemento(ScrollBar));
                const bool orizzontale = s->orientation == Qt::Horizontal;
                // An arrow that cannot move the bar further is greyed.
                const bool avanti = s->maximum > s->minimum && s->sliderValue < s->maximum;
                const bool indietro = s->maximum > s->minimum && s->sliderValue > s->minimum;
                pulsanteFreccia(s, SC_ScrollBarSubLine, orizzontale ? Qt::LeftArrow : Qt::UpArrow, indietro, p, w);
                pulsanteFreccia(s, SC_ScrollBarAddLine, orizzontale ? Qt::RightArrow : Qt::DownArrow, avanti, p, w);
                const QRect cursore = proxy()->subControlRect(cc, s, SC_ScrollBarSlider, w);
                if ((s->subControls & SC_ScrollBarSlider) && cursore.isValid() && (s->state & State_Enabled))
                    pulsanteWin(p, cursore, pal, false, &pal.brush(QPalette::Button));
                return;
            }
        } else if (cc == CC_SpinBox) {
            if (auto* s = qstyleoption_cast<const QStyleOptionSpinBox*>(o)) {
                // Its frame where the day has it (a pixel in from the top
                // and the bottom), lit while it has the keyboard, as a line
                // edit's.
                if (s->frame)
                    cornice(p, s->rect.adjusted(0, 1, 0, -1),
                            (s->state & State_HasFocus) ? coloreFuoco(pal) : pal.color(QPalette::Dark),
                            &pal.brush(QPalette::Base));
                if (s->buttonSymbols != QAbstractSpinBox::NoButtons) {
                    // An arrow at its limit is greyed, as by day; under the
                    // mouse the arrows' buttons are lit, as by day.
                    pulsanteFreccia(s, SC_SpinBoxUp, Qt::UpArrow, s->stepEnabled & QAbstractSpinBox::StepUpEnabled,
                                    p, w);
                    pulsanteFreccia(s, SC_SpinBoxDown, Qt::DownArrow,
                                    s->stepEnabled & QAbstractSpinBox::StepDownEnabled, p, w);
                }
                return;
            }
        } else if (cc == CC_ComboBox) {
            if (auto* c = qstyleoption_cast<const QStyleOptionComboBox*>(o)) {
                // The base style's box without its arrow (its face, with
                // the keyboard's mark and the mouse's, is a button of this
                // style), then the arrow in the button text's colour.
                QStyleOptionComboBox v = *c;
                v.subControls &= ~SC_ComboBoxArrow;
                QProxyStyle::drawComplexControl(cc, &v, p, w);
                const QRect a = proxy()->subControlRect(cc, c, SC_ComboBoxArrow, w);
                if ((c->subControls & SC_ComboBoxArrow) && a.isValid())
                    freccia(p, a, Qt::DownArrow, pal.color(gruppo(c->state & State_Enabled), QPalette::ButtonText));
                return;
            }
        }
        QProxyStyle::drawComplexControl(cc, o, p, w);
    }

    int styleHint(StyleHint sh, const QStyleOption* o, const QWidget* w, QStyleHintReturn* r) const override
    {
        // The lines between the cells of a table (the calendar's days).
        if (sh == SH_Table_GridLineColor && o && gNotte)
            return int(o->palette.color(QPalette::Dark).rgba());
        return QProxyStyle::styleHint(sh, o, w, r);
    }

    QPixmap generatedIconPixmap(QIcon::Mode modo, const QPixmap& pm, const QStyleOption* o) const override
    {
        if (!gNotte || modo != QIcon::Disabled || !o)
            return QProxyStyle::generatedIconPixmap(modo, pm, o);
        // A picture that cannot be used keeps its drawing, greyed, as by
        // day, where its dark parts stay dark, its middle ones go a little
        // darker than the ground and its light ones lighter: here its dark
        // parts black, its middle ones the night's darker red, its light
        // ones the grey of disabled text; nothing in between.
        const QRgb tinte[] = {qRgb(0, 0, 0), elemento(ScrollBar).rgb(),
                              o->palette.color(QPalette::Disabled, QPalette::ButtonText).rgb()};
        QImage im = pm.toImage().convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < im.height(); ++y) {
            auto* riga = reinterpret_cast<QRgb*>(im.scanLine(y));
            for (int x = 0; x < im.width(); ++x) {
                const QRgb c = riga[x];
                const int g = qGray(c);
                riga[x] = qAlpha(c) < 128 ? 0 : tinte[g < 64 ? 0 : g < 160 ? 1 : 2];
            }
        }
        QPixmap out = QPixmap::fromImage(im);
        out.setDevicePixelRatio(pm.devicePixelRatio());
        return out;
    }

    void drawItemPixmap(QPainter* p, const QRect& r, int allinea, const QPixmap& pm) const override
    {
        // A picture that cannot be used, made above in the night's black,
        // darker red and grey: at 1.5x and 2x it is scaled to the screen's
        // pixels, and smoothing would mix its colours with each other and
        // with the ground into shades the palette does not name. Each of
        // its pixels goes there as a block.
        if (gNotte && !unoAUno(p, r, allinea, pm) && inTinteSpente(pm)) {
            p->save();
            p->setRenderHint(QPainter::SmoothPixmapTransform, false);
            QProxyStyle::drawItemPixmap(p, r, allinea, pm);
            p->restore();
            return;
        }
        QProxyStyle::drawItemPixmap(p, r, allinea, pm);
    }

private:
    // Whether the base style puts `pm` down on the screen's pixels one to
    // one (at a whole device pixel, as large as it is): then nothing is
    // smoothed whatever the painter says.
    static bool unoAUno(const QPainter* p, const QRect& r, int allinea, const QPixmap& pm)
    {
        const qreal scala = pm.devicePixelRatio();
        const QRect allineato = alignedRect(QGuiApplication::layoutDirection(), QFlag(allinea), pm.size() / scala, r);
        const QTransform t = p->deviceTransform();
        const QPointF dove = t.map(QPointF(allineato.intersected(r).topLeft()));
        return t.type() <= QTransform::TxScale && qFuzzyCompare(t.m11(), scala) && qFuzzyCompare(t.m22(), scala)
            && dove.x() == std::floor(dove.x()) && dove.y() == std::floor(dove.y());
    }

    // Whether `pm` holds only the colours of a disabled picture at night,
    // each pixel either clear or solid: a picture made by
    // generatedIconPixmap.
    static bool inTinteSpente(const QPixmap& pm)
    {
        if (pm.isNull() || pm.width() * pm.height() > 256 * 256)
            return false;
        // A toolbar draws the same pictures at every repaint: each one is
        // looked at once, known by its key or, when it comes again as a new
        // copy (at a scale the icon puts its pixel ratio on one), by what
        // it holds.
        static QCache<qint64, bool> perChiave(1024);
        static QCache<size_t, bool> perContenuto(1024);
        if (const bool* gia = perChiave.object(pm.cacheKey()))
            return *gia;
        const QImage im = pm.toImage();
        const size_t impronta = qHashBits(im.constBits(), size_t(im.sizeInBytes()),
                                          qHashMulti(0, im.width(), im.height(), int(im.format())));
        bool si = false;
        if (const bool* gia = perContenuto.object(impronta)) {
            si = *gia;
        } else {
            si = soloTinteSpente(im);
            perContenuto.insert(impronta, new bool(si));
        }
        perChiave.insert(pm.cacheKey(), new bool(si));
        return si;
    }

    static bool soloTinteSpente(QImage im)
    {
        const QRgb grigio = QApplication::palette().color(QPalette::Disabled, QPalette::ButtonText).rgb();
        const QRgb rosso = elemento(ScrollBar).rgb();
        // Solid pixels read the same premultiplied or not.
        if (im.format() != QImage::Format_ARGB32 && im.format() != QImage::Format_ARGB32_Premultiplied)
            im = std::move(im).convertToFormat(QImage::Format_ARGB32);
        bool qualcosa = false;
        const int largo = im.width(), alto = im.height();
        for (int y = 0; y < alto; ++y) {
            const auto* riga = reinterpret_cast<const QRgb*>(im.constScanLine(y));
            for (int x = 0; x < largo; ++x) {
                const QRgb c = riga[x];
                if (qAlpha(c) == 0)
                    continue;
                if (c != grigio && c != rosso && c != qRgb(0, 0, 0))
                    return false;
                qualcosa = true;
            }
        }
        return qualcosa;
    }

    // The face of a raised button lit along its edge, just inside its two
    // edge lines: the mark of the mouse over it.
    static void illuminato(QPainter* p, const QRect& r, const QPalette& pal)
    {
        if (r.width() > 6 && r.height() > 6)
            cornice(p, r.adjusted(2, 2, -2, -2), pal.color(QPalette::Light));
    }

    // The lines the base style draws along a tool bar, by where the bar
    // stands in its main window: a light one at the top of a bar at the
    // top, a double one at the bottom of the last of them, and so on.
    static void lineeDellaBarra(QPainter* p, const QStyleOptionToolBar* t, const QColor& chiaro, const QColor& scuro)
    {
        const QRect& r = t->rect;
        const auto linea = [p](QPoint a, QPoint b, const QColor& c) { lineaDellaPenna(p, a, b, c); };
        const auto riga = t->positionOfLine;
        using O = QStyleOptionToolBar;
        p->save();
        switch (t->toolBarArea) {
        case Qt::TopToolBarArea:
            if (riga == O::End || riga == O::OnlyOne) {
                linea(r.bottomLeft(), r.bottomRight(), chiaro);
                linea({r.left(), r.bottom() - 1}, {r.right(), r.bottom() - 1}, scuro);
            } else {
                linea(r.bottomLeft(), r.bottomRight(), scuro);
            }
            linea(r.topLeft(), r.topRight(), chiaro);
            break;
        case Qt::BottomToolBarArea:
            if (riga == O::End || riga == O::Middle)
                linea(r.bottomLeft(), r.bottomRight(), scuro);
            if (riga == O::Beginning || riga == O::OnlyOne) {
                linea({r.left(), r.bottom() - 1}, {r.right(), r.bottom() - 1}, scuro);
                linea(r.bottomLeft(), r.bottomRight(), chiaro);
            }
            if (riga == O::End) {
                linea(r.topLeft(), r.topRight(), scuro);
                linea({r.left(), r.top() + 1}, {r.right(), r.top() + 1}, chiaro);
            } else {
                linea(r.topLeft(), r.topRight(), chiaro);
            }
            break;
        case Qt::LeftToolBarArea:
            if (riga == O::Middle || riga == O::End)
                linea(r.topLeft(), r.bottomLeft(), chiaro);
            if (riga == O::End) {
                linea({r.right() - 1, r.top()}, {r.right() - 1, r.bottom()}, scuro);
                linea(r.topRight(), r.bottomRight(), chiaro);
            } else {
                linea(r.topRight(), r.bottomRight(), scuro);
            }
            break;
        case Qt::RightToolBarArea:
            if (riga == O::Middle || riga == O::End)
                linea(r.topRight(), r.bottomRight(), scuro);
            if (riga == O::End || riga == O::OnlyOne) {
                linea(r.topLeft(), r.bottomLeft(), scuro);
                linea({r.left() + 1, r.top()}, {r.left() + 1, r.bottom()}, chiaro);
            } else {
                linea(r.topLeft(), r.bottomLeft(), chiaro);
            }
            break;
        default:
            break;
        }
        p->restore();
    }

    // The line that closes the menu bar off from what is below it, along
    // its bottom, where the day has it: the palette's dark edge.
    static void lineaSottoMenu(QPainter* p, const QRect& r, const QPalette& pal)
    {
        p->save();
        lineaDellaPenna(p, r.bottomLeft(), r.bottomRight(), pal.color(QPalette::Dark));
        p->restore();
    }

    static void tratteggio(QPainter* p, const QRect& r, const QColor& colore)
    {
        p->save();
        p->setRenderHint(QPainter::Antialiasing, false);
        p->setPen(QPen(colore, 1, Qt::DotLine));
        p->setBrush(Qt::NoBrush);
        p->drawRect(r);
        p->restore();
    }

    // A button of a scroll bar or a spin box: raised, pressed while held,
    // its arrow greyed when it cannot be used.
    void pulsanteFreccia(const QStyleOptionComplex* o, SubControl sc, Qt::ArrowType verso, bool usabile, QPainter* p,
                         const QWidget* w) const
    {
        const ComplexControl cc = o->type == QStyleOption::SO_SpinBox ? CC_SpinBox : CC_ScrollBar;
        const QRect r = proxy()->subControlRect(cc, o, sc, w);
        if (!(o->subControls & sc) || !r.isValid())
            return;
        const bool abilitato = usabile && (o->state & State_Enabled);
        const bool premuto = abilitato && (o->activeSubControls & sc) && (o->state & State_Sunken);
        pulsanteWin(p, r, o->palette, premuto, &o->palette.brush(QPalette::Button));
        if (cc == CC_SpinBox && (o->state & State_MouseOver) && (o->state & State_Enabled) && !premuto)
            illuminato(p, r, o->palette);
        const QRect dentro = r.translated(premuto ? 1 : 0, premuto ? 1 : 0);
        freccia(p, dentro, verso, o->palette.color(gruppo(abilitato), QPalette::ButtonText));
    }

    // A title bar of the workspace: the caption colours of the palette
    // (the window in front, the others), its buttons as buttons. All from
    // the night table: a frame keeps the palette its title bar had for a
    // moment after a change.
    void disegnaTitolo(const QStyleOptionTitleBar* t, QPainter* p, const QWidget* w) const
    {
        const QPalette pal = Tavolozza_Notte(t->palette);
        const bool attiva = t->titleBarState & State_Active;
        const Qt::WindowFlags f = t->titleBarFlags;
        const auto stato = t->titleBarState;
        p->save();
        p->fillRect(t->rect, elemento(attiva ? ActiveCaption : InactiveCaption));
        const QRect icona = proxy()->subControlRect(CC_TitleBar, t, SC_TitleBarSysMenu, w);
        const bool conIcona = (t->subControls & SC_TitleBarSysMenu) && (f & Qt::WindowSystemMenuHint);
        if (conIcona && icona.isValid() && !t->icon.isNull())
            t->icon.paint(p, icona);
        const QRect testo = proxy()->subControlRect(CC_TitleBar, t, SC_TitleBarLabel, w);
        p->setPen(elemento(attiva ? CaptionText : InactiveCaptionText));
        p->drawText(testo, Qt::AlignCenter, p->fontMetrics().elidedText(t->text, Qt::ElideRight, testo.width() - 14));
        const struct {
            SubControl sc;
            bool mostra;
        } pulsanti[] = {
            {SC_TitleBarMinButton, (f & Qt::WindowMinimizeButtonHint) && !(stato & Qt::WindowMinimized)},
            {SC_TitleBarMaxButton, (f & Qt::WindowMaximizeButtonHint) && !(stato & Qt::WindowMaximized)},
            {SC_TitleBarCloseButton, bool(f & Qt::WindowSystemMenuHint)},
            {SC_TitleBarNormalButton, ((f & Qt::WindowMinimizeButtonHint) && (stato & Qt::WindowMinimized))
                                          || ((f & Qt::WindowMaximizeButtonHint) && (stato & Qt::WindowMaximized))},
            {SC_TitleBarContextHelpButton, bool(f & Qt::WindowContextHelpButtonHint)},
            {SC_TitleBarShadeButton, bool(f & Qt::WindowShadeButtonHint)},
            {SC_TitleBarUnshadeButton, bool(f & Qt::WindowShadeButtonHint)},
        };
        p->setRenderHint(QPainter::Antialiasing, false);
        for (const auto& b : pulsanti) {
            const QRect r = proxy()->subControlRect(CC_TitleBar, t, b.sc, w);
            if (!(t->subControls & b.sc) || !b.mostra || !r.isValid())
                continue;
            const bool premuto = (t->activeSubControls & b.sc) && (t->state & State_Sunken);
            pulsanteWin(p, r, pal, premuto, &pal.brush(QPalette::Button));
            const QRect g = r.adjusted(4, 4, -5, -5).translated(premuto ? 1 : 0, premuto ? 1 : 0);
            const QColor segno = pal.color(QPalette::ButtonText);
            p->setPen(QPen(segno, 1));
            switch (b.sc) {
            case SC_TitleBarMinButton: p->fillRect(g.left(), g.bottom() - 1, g.width(), 2, segno); break;
            case SC_TitleBarMaxButton:
                p->drawRect(g);
                p->fillRect(g.left(), g.top(), g.width(), 2, segno);
                break;
            case SC_TitleBarNormalButton:
                p->drawRect(g.adjusted(g.width() / 3, 0, 0, -g.height() / 3));
                p->fillRect(g.adjusted(0, g.height() / 3, -g.width() / 3, 0), pal.button());
                p->drawRect(g.adjusted(0, g.height() / 3, -g.width() / 3, 0));
                break;
            case SC_TitleBarCloseButton:
                p->setPen(QPen(segno, 2));
                p->drawLine(g.topLeft(), g.bottomRight());
                p->drawLine(g.bottomLeft(), g.topRight());
                break;
            case SC_TitleBarContextHelpButton: p->drawText(r, Qt::AlignCenter, QStringLiteral("?")); break;
            case SC_TitleBarShadeButton: freccia(p, r, Qt::UpArrow, segno); break;
            default: freccia(p, r, Qt::DownArrow, segno); break;
            }
        }
        p->restore();
    }
};

} // namespace

QStyle* Crea_Stile_Notte(QStyle* base)
{
    return new StileNotte(base);
}

bool E_Stile_Notte(const QStyle* style)
{
    return dynamic_cast<const StileNotte*>(style) != nullptr;
}

void Stile_Di_Notte(bool notte)
{
    gNotte = notte;
}

} // namespace mNight
