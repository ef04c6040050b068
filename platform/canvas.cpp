#include "platform/canvas.h"

#include "platform/vb.h"

#include <QFontMetricsF>
#include <QImageReader>
#include <QPainter>
#include <QPen>

#include <cmath>

namespace platform {

namespace {
constexpr double kTwoPi = 6.283185307179586;

// A layer of `s` pixels as the drawing code counts them, held at `dpr`
// device pixels to each of them (the screen's pixel density), so that what
// is drawn on it is as sharp as the screen can show.
QSize devicePixels(QSize s, double dpr)
{
    s = s.expandedTo(QSize(1, 1));
    return QSize(qMax(1, qRound(s.width() * dpr)), qMax(1, qRound(s.height() * dpr)));
}

QImage makePersistent(QSize s, double dpr)
{
    QImage img(devicePixels(s, dpr), QImage::Format_RGB32);
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    img.setDevicePixelRatio(dpr);
    return img;
}

QImage makeTransient(QSize s, double dpr)
{
    QImage img(devicePixels(s, dpr), QImage::Format_ARGB32_Premultiplied);
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    img.setDevicePixelRatio(dpr);
    img.fill(Qt::transparent);
    return img;
}

QStringList textLines(const QString& text)
{
    // Names from files (a satellite, a place) may carry NUL bytes or the
    // controls of bidirectional text: drawn as blanks, never as boxes or as a
    // reversed name.
    return vb::displayableLines(text);
}
} // namespace

struct Canvas::Target {
    QPainter own;
    QPainter* p = nullptr;
    bool external = false;
};

Canvas::Canvas(QSize pixels, QObject* parent) : QObject(parent)
{
    m_size = QSizeF(pixels.expandedTo(QSize(1, 1)));
    m_persistent = makePersistent(pixels, m_dpr);
    m_transient = makeTransient(pixels, m_dpr);
    m_font = QFont(QStringLiteral("DejaVu Sans"));
    m_font.setPointSizeF(8.0);
    clearPersistent();
    recomputeFixedScale();
}

Canvas::Canvas(QPainter* painter, QSizeF deviceSize, double dpi, QObject* parent)
    : QObject(parent), m_painter(painter), m_dpi(dpi > 0 ? dpi : 96.0)
{
    m_size = deviceSize;
    m_pixelScale = m_dpi / 96.0;
    m_antialias = true;
    m_font = QFont(QStringLiteral("DejaVu Sans"));
    m_font.setPointSizeF(8.0);
    recomputeFixedScale();
}

Canvas::~Canvas()
{
    closeBatch();
}

Canvas::Batch::Batch(Canvas& canvas) : m_canvas(canvas)
{
    ++m_canvas.m_batchDepth;
}

Canvas::Batch::~Batch()
{
    if (--m_canvas.m_batchDepth == 0)
        m_canvas.closeBatch();
}

void Canvas::closeBatch() const
{
    m_batchPainter.reset();
    m_batchImage = nullptr;
}

// ---------------------------------------------------------------- size and scale

void Canvas::resize(QSize pixels)
{
    resize(pixels, m_dpr);
}

void Canvas::setDevicePixelRatio(double ratio)
{
    resize(m_size.toSize(), ratio);
}

void Canvas::resize(QSize pixels, double ratio)
{
    pixels = pixels.expandedTo(QSize(1, 1));
    if (!(ratio > 0) || !std::isfinite(ratio))
        ratio = 1.0;
    if (m_painter || (pixels == m_size.toSize() && ratio == m_dpr))
        return;
    closeBatch();
    m_dpr = ratio;
    QImage p = makePersistent(pixels, m_dpr);
    p.fill(vb::toQColor(m_backColor));
    {
        QPainter painter(&p);
        painter.drawImage(0, 0, m_persistent);
    }
    QImage t = makeTransient(pixels, m_dpr);
    if (m_transientDirty) {
        QPainter painter(&t);
        painter.drawImage(0, 0, m_transient);
    }
    m_persistent = p;
    m_transient = t;
    m_size = QSizeF(pixels);
    recomputeFixedScale();
    emit changed();
}

double Canvas::width() const
{
    return m_size.width() * vb::kTwipsPerInch / m_dpi;
}

double Canvas::height() const
{
    return m_size.height() * vb::kTwipsPerInch / m_dpi;
}

double Canvas::unitsPerPixel(int mode) const
{
    switch (mode) {
    case Points: return 72.0 / m_dpi;
    case Pixels: return m_painter ? 1.0 / m_pixelScale : 1.0;
    case Inches: return 1.0 / m_dpi;
    case Millimetres: return 25.4 / m_dpi;
    case Centimetres: return 2.54 / m_dpi;
    default: return vb::kTwipsPerInch / m_dpi;
    }
}

void Canvas::recomputeFixedScale()
{
    if (m_scaleMode == User)
        return;
    const double u = unitsPerPixel(m_scaleMode);
    m_scaleLeft = 0;
    m_scaleTop = 0;
    m_scaleWidth = m_size.width() * u;
    m_scaleHeight = m_size.height() * u;
}

void Canvas::Scale(double x1, double y1, double x2, double y2)
{
    m_scaleMode = User;
    m_scaleLeft = x1;
    m_scaleTop = y1;
    m_scaleWidth = (x2 - x1) == 0 ? 1e-9 : x2 - x1;
    m_scaleHeight = (y2 - y1) == 0 ? 1e-9 : y2 - y1;
}

void Canvas::Scale()
{
    setScaleMode(Twips);
}

void Canvas::setScaleMode(int mode)
{
    m_scaleMode = mode;
    if (mode != User)
        recomputeFixedScale();
}

void Canvas::setScaleLeft(double v)
{
    m_scaleMode = User;
    m_scaleLeft = v;
}

void Canvas::setScaleTop(double v)
{
    m_scaleMode = User;
    m_scaleTop = v;
}

void Canvas::setScaleWidth(double v)
{
    m_scaleMode = User;
    m_scaleWidth = v == 0 ? 1e-9 : v;
}

void Canvas::setScaleHeight(double v)
{
    m_scaleMode = User;
    m_scaleHeight = v == 0 ? 1e-9 : v;
}

QTransform Canvas::transform() const
{
    const double sx = m_size.width() / m_scaleWidth;
    const double sy = m_size.height() / m_scaleHeight;
    return QTransform(sx, 0, 0, sy, -m_scaleLeft * sx, -m_scaleTop * sy);
}

QPointF Canvas::toDevice(QPointF user) const
{
    return transform().map(user);
}

QPointF Canvas::toUser(QPointF device) const
{
    return transform().inverted().map(device);
}

double Canvas::xPixels(double w) const
{
    return std::fabs(w * m_size.width() / m_scaleWidth);
}

double Canvas::yPixels(double h) const
{
    return std::fabs(h * m_size.height() / m_scaleHeight);
}

double Canvas::xUser(double px) const
{
    return std::fabs(px * m_scaleWidth / m_size.width());
}

double Canvas::yUser(double px) const
{
    return std::fabs(px * m_scaleHeight / m_size.height());
}

// ---------------------------------------------------------------- painting set-up

QPainter* Canvas::begin(Target& t)
{
    if (m_painter) {
        t.p = m_painter;
        t.external = true;
        m_painter->save();
    } else {
        QImage* img = m_autoRedraw ? &m_persistent : &m_transient;
        if (!m_autoRedraw)
            m_transientDirty = true;
        if (m_batchDepth > 0) {
            if (!m_batchPainter || m_batchImage != img) {
                closeBatch();
                m_batchPainter = std::make_unique<QPainter>(img);
                m_batchImage = img;
            }
            t.p = m_batchPainter.get();
            t.external = true;
            t.p->save();
        } else {
            t.own.begin(img);
            t.p = &t.own;
        }
    }
    t.p->setRenderHint(QPainter::Antialiasing, m_antialias);
    t.p->setRenderHint(QPainter::SmoothPixmapTransform, m_antialias);
    t.p->setRenderHint(QPainter::TextAntialiasing, true);
    switch (m_drawMode) {
    case XorPen: t.p->setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
    case NotXorPen: t.p->setCompositionMode(QPainter::RasterOp_NotSourceXorDestination); break;
    case Invert: t.p->setCompositionMode(QPainter::RasterOp_NotDestination); break;
    default: t.p->setCompositionMode(QPainter::CompositionMode_SourceOver); break;
    }
    t.p->setBackgroundMode(Qt::TransparentMode);
    return t.p;
}

void Canvas::end(Target& t)
{
    if (t.external)
        t.p->restore();
    else
        t.own.end();
    emit changed();
}

QPen Canvas::pen(VbColor color) const
{
    const double w = m_drawWidth * m_pixelScale;
    QPen p(vb::toQColor(color));
    p.setWidthF(w);
    p.setJoinStyle(Qt::RoundJoin);
    p.setCapStyle(Qt::RoundCap);
    switch (m_drawStyle) {
    case Transparent:
        p.setStyle(Qt::NoPen);
        break;
    case Dash:
        p.setCapStyle(Qt::FlatCap);
        p.setDashPattern({18, 6});
        break;
    case Dot:
        p.setCapStyle(Qt::FlatCap);
        p.setDashPattern({3, 3});
        break;
    case DashDot:
        p.setCapStyle(Qt::FlatCap);
        p.setDashPattern({9, 6, 3, 6});
        break;
    case DashDotDot:
        p.setCapStyle(Qt::FlatCap);
        p.setDashPattern({9, 3, 3, 3, 3, 3});
        break;
    default:
        break;
    }
    if (m_drawWidth == 1 && !m_painter && !m_antialias)
        p.setCosmetic(true);
    return p;
}

QBrush Canvas::fillBrush() const
{
    const QColor c = vb::toQColor(m_fillColor);
    switch (m_fillStyle) {
    case FillSolid: return QBrush(c, Qt::SolidPattern);
    case HorizontalLine: return QBrush(c, Qt::HorPattern);
    case VerticalLine: return QBrush(c, Qt::VerPattern);
    case UpwardDiagonal: return QBrush(c, Qt::BDiagPattern);
    case DownwardDiagonal: return QBrush(c, Qt::FDiagPattern);
    case Cross: return QBrush(c, Qt::CrossPattern);
    case DiagonalCross: return QBrush(c, Qt::DiagCrossPattern);
    default: return Qt::NoBrush;
    }
}

void Canvas::clearPersistent()
{
    if (m_painter)
        return;
    closeBatch();
    m_persistent.fill(vb::toQColor(m_backColor));
    if (!m_picture.isNull()) {
        QPainter p(&m_persistent);
        p.drawImage(0, 0, m_picture);
    }
}

// ---------------------------------------------------------------- properties with effects

void Canvas::setBackColor(VbColor c)
{
    m_backColor = c;
    if (m_painter)
        return;
    closeBatch();
    clearPersistent();
    m_transient.fill(Qt::transparent);
    m_transientDirty = false;
    emit changed();
}

void Canvas::setPicture(const QImage& picture)
{
    m_picture = picture;
    clearPersistent();
    emit changed();
}

// ---------------------------------------------------------------- drawing

void Canvas::Cls()
{
    m_currentX = m_scaleLeft;
    m_currentY = m_scaleTop;
    if (m_painter)
        return;
    closeBatch();
    if (m_autoRedraw)
        clearPersistent();
    m_transient.fill(Qt::transparent);
    m_transientDirty = false;
    emit changed();
}

void Canvas::Line(double x1, double y1, double x2, double y2, std::optional<VbColor> color, LineKind kind)
{
    m_currentX = x2;
    m_currentY = y2;
    const VbColor c = colorOr(color);
    const QPointF a = toDevice({x1, y1});
    const QPointF b = toDevice({x2, y2});
    if (kind == PlainLine) {
        const bool dashed = m_drawStyle >= Dash && m_drawStyle <= DashDotDot;
        if (a == b && (dashed || m_drawStyle == Transparent))
            return; // a zero-length dashed line has nothing to show
        Target t;
        QPainter* p = begin(t);
        p->setPen(pen(c));
        if (a == b)
            p->drawPoint(a);
        else
            p->drawLine(a, b);
        end(t);
        return;
    }
    const QRectF r = QRectF(a, b).normalized();
    Target t;
    QPainter* p = begin(t);
    if (kind == FilledBox) {
        p->setPen(Qt::NoPen);
        p->setBrush(vb::toQColor(c));
        // Fill the whole pixel span the outline would cover.
        const double w = m_drawWidth * m_pixelScale;
        if (m_antialias || m_painter)
            p->drawRect(r.adjusted(-w / 2, -w / 2, w / 2, w / 2));
        else
            p->drawRect(QRectF(std::floor(r.left()), std::floor(r.top()),
                               std::floor(r.right()) - std::floor(r.left()) + 1,
                               std::floor(r.bottom()) - std::floor(r.top()) + 1));
    } else {
        p->setPen(pen(c));
        p->setBrush(fillBrush());
        p->drawRect(r);
    }
    end(t);
}

void Canvas::LineTo(double x2, double y2, std::optional<VbColor> color, LineKind kind)
{
    Line(m_currentX, m_currentY, x2, y2, color, kind);
}

void Canvas::Circle(double x, double y, double radius, std::optional<VbColor> color,
                    std::optional<double> start, std::optional<double> end, double aspect)
{
    m_currentX = x;
    m_currentY = y;
    const QPointF c = toDevice({x, y});
    const double r = xPixels(radius);
    if (!(aspect > 0) || !std::isfinite(aspect))
        aspect = 1.0;
    const double rx = aspect < 1.0 ? r : r / aspect;
    const double ry = aspect < 1.0 ? r * aspect : r;
    const QRectF box(c.x() - rx, c.y() - ry, 2 * rx, 2 * ry);
    Target t;
    QPainter* p = begin(t);
    p->setPen(pen(colorOr(color)));
    if (!start && !end) {
        p->setBrush(fillBrush());
        p->drawEllipse(box);
        this->end(t);
        return;
    }
    double s = start.value_or(0.0);
    double e = end.value_or(kTwoPi);
    const bool sLine = s < 0, eLine = e < 0;
    s = std::fabs(s);
    e = std::fabs(e);
    double span = e - s;
    if (span <= 0)
        span += kTwoPi;
    const int a16 = int(std::lround(s * 180.0 / M_PI * 16.0));
    const int span16 = int(std::lround(span * 180.0 / M_PI * 16.0));
    auto edge = [&](double ang) { return QPointF(c.x() + rx * std::cos(ang), c.y() - ry * std::sin(ang)); };
    if (sLine && eLine) {
        p->setBrush(fillBrush());
        p->drawPie(box, a16, span16);
    } else {
        p->drawArc(box, a16, span16);
        if (sLine)
            p->drawLine(c, edge(s));
        if (eLine)
            p->drawLine(c, edge(e));
    }
    this->end(t);
}

void Canvas::PSet(double x, double y, std::optional<VbColor> color)
{
    m_currentX = x;
    m_currentY = y;
    Target t;
    QPainter* p = begin(t);
    const QPointF d = toDevice({x, y});
    if (m_drawWidth > 1) {
        // A dot as wide as the pen, centred on the pixel.
        const double r = m_drawWidth * m_pixelScale / 2.0;
        const double off = m_painter ? 0.0 : 0.5;
        p->setPen(Qt::NoPen);
        p->setBrush(vb::toQColor(colorOr(color)));
        p->drawEllipse(QPointF(d.x() + off, d.y() + off), r, r);
    } else {
        QPen pn = pen(colorOr(color));
        pn.setStyle(Qt::SolidLine);
        pn.setCapStyle(Qt::SquareCap);
        p->setPen(pn);
        p->drawPoint(d);
    }
    end(t);
}

qint64 Canvas::Point(double x, double y) const
{
    if (m_painter)
        return -1;
    closeBatch();
    const QPointF d = toDevice({x, y});
    const int px = int(std::floor(d.x() * m_dpr)), py = int(std::floor(d.y() * m_dpr));
    if (px < 0 || py < 0 || px >= m_persistent.width() || py >= m_persistent.height())
        return -1;
    if (m_transientDirty) {
        const QRgb t = m_transient.pixel(px, py);
        if (qAlpha(t) > 0)
            return vb::fromQColor(QColor::fromRgba(t).toRgb());
    }
    return vb::fromQColor(QColor(m_persistent.pixel(px, py)));
}

void Canvas::Print(const QString& text, bool newLine)
{
    const QStringList lines = textLines(text);
    Target t;
    QPainter* p = begin(t);
    p->setFont(m_font);
    const QFontMetricsF fm(m_font, p->device());
    for (int i = 0; i < lines.size(); ++i) {
        const QPointF at = toDevice({m_currentX, m_currentY});
        const double w = fm.horizontalAdvance(lines[i]);
        if (!m_fontTransparent)
            p->fillRect(QRectF(at.x(), at.y(), w, fm.height()), vb::toQColor(m_backColor));
        p->setPen(vb::toQColor(m_foreColor));
        p->drawText(QPointF(at.x(), at.y() + fm.ascent()), lines[i]);
        const bool last = i == lines.size() - 1;
        if (!last || newLine) {
            m_currentX = m_scaleLeft;
            m_currentY = toUser({at.x(), at.y() + fm.height()}).y();
        } else {
            m_currentX = toUser({at.x() + w, at.y()}).x();
        }
    }
    end(t);
}

double Canvas::TextWidth(const QString& text) const
{
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(3780);
    probe.setDotsPerMeterY(3780);
    const QFontMetricsF fm(m_font, m_painter ? m_painter->device() : static_cast<QPaintDevice*>(&probe));
    double w = 0;
    for (const QString& line : textLines(text))
        w = std::max(w, fm.horizontalAdvance(line));
    return xUser(w);
}

double Canvas::TextHeight(const QString& text) const
{
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(3780);
    probe.setDotsPerMeterY(3780);
    const QFontMetricsF fm(m_font, m_painter ? m_painter->device() : static_cast<QPaintDevice*>(&probe));
    return yUser(fm.height() * textLines(text).size());
}

void Canvas::PaintPicture(const QImage& picture, double x, double y, std::optional<double> w,
                          std::optional<double> h, std::optional<QRectF> sourcePixels)
{
    if (picture.isNull())
        return;
    const QRectF src = sourcePixels ? *sourcePixels : QRectF(picture.rect());
    const QPointF a = toDevice({x, y});
    double dw = w ? (toDevice({x + *w, y}).x() - a.x()) : src.width() * m_pixelScale;
    double dh = h ? (toDevice({x, y + *h}).y() - a.y()) : src.height() * m_pixelScale;
    const QRectF dst = QRectF(a.x(), a.y(), dw, dh).normalized();
    Target t;
    QPainter* p = begin(t);
    p->drawImage(dst, picture, src);
    end(t);
}

void Canvas::TransparentCopy(const QImage& picture, double x, double y, VbColor key,
                             std::optional<double> w, std::optional<double> h)
{
    if (picture.isNull())
        return;
    QImage masked = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb k = vb::toQColor(key).rgb() & 0xFFFFFF;
    for (int row = 0; row < masked.height(); ++row) {
        QRgb* line = reinterpret_cast<QRgb*>(masked.scanLine(row));
        for (int col = 0; col < masked.width(); ++col)
            if ((line[col] & 0xFFFFFF) == k)
                line[col] = 0;
    }
    const int savedMode = m_drawMode;
    m_drawMode = CopyPen;
    const bool savedAa = m_antialias;
    m_antialias = false; // no blending of the key colour into the edges
    PaintPicture(masked, x, y, w, h);
    m_antialias = savedAa;
    m_drawMode = savedMode;
}

VbColor Canvas::bandColor(VbColor c1, VbColor c2, int k, int bands)
{
    if (bands <= 0)
        return c1;
    auto comp = [&](int shift) {
        const int a = int((c1 >> shift) & 0xFF), b = int((c2 >> shift) & 0xFF);
        const int v = (b - a) * k;
        // Whole-number division truncates towards zero.
        return a + v / bands;
    };
    return vb::RGB(comp(0), comp(8), comp(16));
}

void Canvas::GradientBoxes(VbColor c1, VbColor c2, double x1, double y1, double x2, double y2, int bands,
                           Qt::Orientation along)
{
    if (bands <= 0)
        return;
    const VbColor savedFill = m_fillColor;
    const int savedStyle = m_fillStyle;
    m_fillStyle = FillSolid;
    for (int k = 0; k < bands; ++k) {
        const VbColor c = bandColor(c1, c2, k, bands);
        m_fillColor = c;
        if (along == Qt::Horizontal)
            Line(x1, y1, x2 - k * (x2 - x1) / bands, y2, c, FilledBox);
        else
            Line(x1, y1, x2, y2 - k * (y2 - y1) / bands, c, FilledBox);
    }
    m_fillColor = savedFill;
    m_fillStyle = savedStyle;
}

void Canvas::GradientCircles(VbColor c1, VbColor c2, double x, double y, double radius, double aspect,
                             int bands)
{
    if (bands <= 0)
        return;
    const VbColor savedFill = m_fillColor;
    const int savedStyle = m_fillStyle;
    m_fillStyle = FillSolid;
    for (int k = 0; k < bands; ++k) {
        const VbColor c = bandColor(c1, c2, k, bands);
        m_fillColor = c;
        Circle(x, y, radius - k * radius / bands, c, std::nullopt, std::nullopt, aspect);
    }
    m_fillColor = savedFill;
    m_fillStyle = savedStyle;
}

void Canvas::ArrowLine(double x1, double y1, double x2, double y2, double headSize, bool headAtEnd,
                       int marks, double spacing)
{
    const double dx = x2 - x1, dy = y2 - y1;
    const double len = std::hypot(dx, dy);
    if (!(len > 0))
        return;
    Line(x1, y1, x2, y2);
    const double ux = dx / len, uy = dy / len;
    // With a single mark there is no step: it sits at the start.
    const double sx = marks >= 2 ? ux * spacing : 0.0, sy = marks >= 2 ? uy * spacing : 0.0;
    const QPointF barbs[2] = {QPointF((-uy - ux) * headSize, (ux - uy) * headSize),
                              QPointF((uy - ux) * headSize, (-ux - uy) * headSize)};
    for (const QPointF& b : barbs) {
        if (headAtEnd)
            Line(x2, y2, x2 + b.x(), y2 + b.y());
        for (int i = 0; i < marks; ++i)
            Line(x1 + i * sx, y1 + i * sy, x1 + i * sx + b.x(), y1 + i * sy + b.y());
    }
}

// ---------------------------------------------------------------- output

QImage Canvas::image() const
{
    closeBatch();
    QImage out = m_persistent.copy();
    if (m_transientDirty && !m_painter) {
        QPainter p(&out);
        p.drawImage(0, 0, m_transient);
    }
    return out;
}

void Canvas::render(QPainter& painter, const QRectF& target) const
{
    if (m_painter)
        return;
    closeBatch();
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, m_persistent);
    if (m_transientDirty)
        painter.drawImage(target, m_transient);
    painter.restore();
}

QImage loadPicture(const QString& path, QString* error)
{
    // A named pipe in a picture's place would hold the window opening it
    // until a writer came; a device or a folder is no picture either.
    if (const std::optional<QString> motivo = vb::notRegularFile(path)) {
        if (error)
            *error = *motivo;
        return {};
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage img = reader.read();
    if (img.isNull() && error)
        *error = reader.errorString();
    return img;
}

} // namespace platform
