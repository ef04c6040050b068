#pragma once
// The picture box: a drawing surface with a user coordinate window, a pen
// position, persistent and transient layers, and the classic drawing calls.
//
// Two kinds of canvas:
//  - an image canvas (Canvas(QSize)): a persistent layer (a QImage with the
//    background colour and picture) and a transient layer on top of it.
//    With autoRedraw on, drawing goes to the persistent layer; with it off,
//    to the transient layer, which Cls() clears while the persistent picture
//    stays. render() paints both onto any QPainter (a widget, an image, a
//    printer page). CanvasWidget shows one on screen.
//  - a painter canvas (Canvas(QPainter*, ...)): every call draws straight
//    onto the painter (a printer page), so the same chart code prints.
//
// Coordinates are in the canvas's scale: twips by default (15 a pixel),
// or a user window set with Scale(x1, y1, x2, y2) in which y may grow upward.
// Colours are classic values R + 256 G + 65536 B.
#include <QFont>
#include <QImage>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QTransform>
#include <cstdint>
#include <memory>
#include <optional>

class QPainter;

namespace platform {

using VbColor = std::uint32_t;

class Canvas : public QObject {
    Q_OBJECT
public:
    enum ScaleMode { User = 0, Twips = 1, Points = 2, Pixels = 3, Inches = 5, Millimetres = 6, Centimetres = 7 };
    enum DrawStyle { Solid = 0, Dash = 1, Dot = 2, DashDot = 3, DashDotDot = 4, Transparent = 5, InsideSolid = 6 };
    enum FillStyle { FillSolid = 0, FillTransparent = 1, HorizontalLine = 2, VerticalLine = 3,
                     UpwardDiagonal = 4, DownwardDiagonal = 5, Cross = 6, DiagonalCross = 7 };
    // Drawing modes in use: copy pen (default), not-xor pen, xor pen, invert.
    enum DrawMode { Invert = 6, XorPen = 7, NotXorPen = 10, CopyPen = 13 };
    enum LineKind { PlainLine, Box, FilledBox };

    // Keeps one painter open on the layer being drawn for the drawing calls
    // made while it lives, so that many small shapes (a second's satellites,
    // a shaded night side) cost far less. What is drawn is the same; clearing,
    // resizing, reading pixels or painting the canvas closes the painter and
    // the next drawing call opens it again. Batches nest.
    class Batch {
    public:
        explicit Batch(Canvas& canvas);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        Canvas& m_canvas;
    };

    explicit Canvas(QSize pixels = QSize(1, 1), QObject* parent = nullptr);
    // Draws onto `painter`, whose device area is `deviceSize` pixels at `dpi`
    // dots per inch (a printer page: painter->device()'s size and resolution).
    // Line widths are scaled so that one pixel is 1/96 inch.
    Canvas(QPainter* painter, QSizeF deviceSize, double dpi, QObject* parent = nullptr);
    ~Canvas() override;

    bool isPainterCanvas() const { return m_painter != nullptr; }

    // ---------------------------------------------------------------- size
    QSize pixelSize() const { return m_size.toSize(); }
    // Resizes the layers, keeping their contents at the top left (new area
    // in the background colour). A user scale keeps its window; other scale
    // modes keep their unit.
    void resize(QSize pixels);
    // The same, the layers held at `devicePixelRatio` device pixels to a
    // pixel (the screen's density): sizes, scales, pen widths and fonts stay
    // in pixels, while lines, discs and text are drawn as sharp as the screen
    // shows them.
    void resize(QSize pixels, double devicePixelRatio);
    void setDevicePixelRatio(double ratio);
    double devicePixelRatio() const { return m_dpr; }
    // The outer size in twips (Width and Height of the old box).
    double width() const;
    double height() const;

    // ---------------------------------------------------------------- scale
    void Scale(double x1, double y1, double x2, double y2);
    // Back to twips with the origin at the top left.
    void Scale();
    void setScaleMode(int mode);
    int scaleMode() const { return m_scaleMode; }
    double scaleLeft() const { return m_scaleLeft; }
    double scaleTop() const { return m_scaleTop; }
    double scaleWidth() const { return m_scaleWidth; }
    double scaleHeight() const { return m_scaleHeight; }
    // Setting one of these makes the scale a user scale.
    void setScaleLeft(double v);
    void setScaleTop(double v);
    void setScaleWidth(double v);
    void setScaleHeight(double v);
    // User units to device pixels and back.
    QTransform transform() const;
    QPointF toDevice(QPointF user) const;
    QPointF toUser(QPointF device) const;
    // A horizontal or vertical extent in user units as pixels and back (unsigned).
    double xPixels(double userWidth) const;
    double yPixels(double userHeight) const;
    double xUser(double pixels) const;
    double yUser(double pixels) const;

    // ---------------------------------------------------------------- state
    double currentX() const { return m_currentX; }
    double currentY() const { return m_currentY; }
    void setCurrentX(double x) { m_currentX = x; }
    void setCurrentY(double y) { m_currentY = y; }

    bool autoRedraw() const { return m_autoRedraw; }
    void setAutoRedraw(bool on) { m_autoRedraw = on; }
    VbColor foreColor() const { return m_foreColor; }
    void setForeColor(VbColor c) { m_foreColor = c; }
    VbColor backColor() const { return m_backColor; }
    // Like the old box: setting the background colour clears the drawing.
    void setBackColor(VbColor c);
    VbColor fillColor() const { return m_fillColor; }
    void setFillColor(VbColor c) { m_fillColor = c; }
    int fillStyle() const { return m_fillStyle; }
    void setFillStyle(int s) { m_fillStyle = s; }
    int drawWidth() const { return m_drawWidth; }
    void setDrawWidth(int w) { m_drawWidth = w < 1 ? 1 : w; }
    int drawStyle() const { return m_drawStyle; }
    void setDrawStyle(int s) { m_drawStyle = s; }
    int drawMode() const { return m_drawMode; }
    void setDrawMode(int m) { m_drawMode = m; }
    QFont font() const { return m_font; }
    void setFont(const QFont& f) { m_font = f; }
    bool fontTransparent() const { return m_fontTransparent; }
    void setFontTransparent(bool t) { m_fontTransparent = t; }
    // Smooth edges (off on screen for the crisp old look; on for printing).
    void setAntialiasing(bool on) { m_antialias = on; }

    // The background picture (drawn at the top left at its own size under
    // the persistent drawing). An empty image means none.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }
    bool hasPicture() const { return !m_picture.isNull(); }

    // ---------------------------------------------------------------- drawing
    // With autoRedraw off: clears the transient layer; the persistent picture
    // stays. With it on: clears both layers to the background colour and
    // picture. The pen goes back to the scale's top left.
    void Cls();
    // Line (x1,y1)-(x2,y2), color, B / BF. The pen ends at (x2, y2).
    void Line(double x1, double y1, double x2, double y2, std::optional<VbColor> color = std::nullopt,
              LineKind kind = PlainLine);
    // Line -(x2, y2): from the pen position.
    void LineTo(double x2, double y2, std::optional<VbColor> color = std::nullopt,
                LineKind kind = PlainLine);
    // Circle (x, y), radius, color, start, end, aspect. The radius is in
    // horizontal units; aspect < 1 flattens, > 1 stretches (the radius is
    // then the vertical one). Angles in radians counter-clockwise from 3
    // o'clock as seen on the screen; a negative angle also draws the radius
    // to that end (both negative: a pie, filled by the fill style).
    void Circle(double x, double y, double radius, std::optional<VbColor> color = std::nullopt,
                std::optional<double> start = std::nullopt, std::optional<double> end = std::nullopt,
                double aspect = 1.0);
    // A point in `color`, as wide as the draw width. The pen moves there.
    void PSet(double x, double y, std::optional<VbColor> color = std::nullopt);
    // The colour under (x, y), or -1 outside the canvas (image canvas only).
    qint64 Point(double x, double y) const;
    // Text with its top left at the pen. With newLine the pen goes to the
    // left edge of the next line; otherwise it moves right by the text's width.
    // Line breaks in the text start new lines.
    void Print(const QString& text, bool newLine = true);
    // Extents of the text in the current font, in user units (never negative).
    double TextWidth(const QString& text) const;
    double TextHeight(const QString& text = QStringLiteral("Ag")) const;
    // Copies a picture with its top left at (x, y), stretched to w by h user
    // units (its own size when not given). The source part defaults to the
    // whole picture (in the picture's pixels).
    void PaintPicture(const QImage& picture, double x, double y,
                      std::optional<double> w = std::nullopt, std::optional<double> h = std::nullopt,
                      std::optional<QRectF> sourcePixels = std::nullopt);
    // Copies `picture` to (x, y) at its own size (or to w by h user units),
    // leaving the destination untouched where the picture has the colour `key`.
    void TransparentCopy(const QImage& picture, double x, double y, VbColor key,
                         std::optional<double> w = std::nullopt, std::optional<double> h = std::nullopt);
    // Colour band k of n between c1 and c2: each component c1 + (c2 - c1) * k \ n.
    static VbColor bandColor(VbColor c1, VbColor c2, int k, int bands);
    // Banded gradient of boxes: box k (0 .. bands-1) spans from the corner
    // (x1, y1) to the far corner moved back towards (x1, y1) by k bands along
    // the gradient (horizontal: along x, vertical: along y), filled with
    // bandColor(c1, c2, k, bands). Fill settings are restored afterwards.
    void GradientBoxes(VbColor c1, VbColor c2, double x1, double y1, double x2, double y2,
                       int bands, Qt::Orientation along);
    // Banded gradient of concentric filled ellipses about (x, y): circle k
    // has radius r - k * r / bands and colour bandColor(c1, c2, k, bands).
    void GradientCircles(VbColor c1, VbColor c2, double x, double y, double radius, double aspect,
                         int bands);
    // A line with arrow barbs of `headSize` user units at 45 degrees: at the
    // end when headAtEnd, and at `marks` points from the start `spacing`
    // apart (a single mark at the start). A line of zero length draws nothing.
    void ArrowLine(double x1, double y1, double x2, double y2, double headSize, bool headAtEnd,
                   int marks = 0, double spacing = 0);

    // ---------------------------------------------------------------- output
    // The persistent layer (background, picture and persistent drawing).
    const QImage& persistentImage() const { return m_persistent; }
    // Both layers as one image.
    QImage image() const;
    // Paints both layers into `target` (device coordinates of the painter),
    // stretched to fill it.
    void render(QPainter& painter, const QRectF& target) const;

signals:
    // Something was drawn or cleared (a widget showing it repaints).
    void changed();

private:
    struct Target;
    QPainter* begin(Target& t);
    void end(Target& t);
    QPen pen(VbColor color) const;
    QBrush fillBrush() const;
    double pixelScale() const { return m_pixelScale; }
    double unitsPerPixel(int mode) const;
    void recomputeFixedScale();
    void clearPersistent();
    VbColor colorOr(std::optional<VbColor> c) const { return c ? *c : m_foreColor; }
    void closeBatch() const;

    // image canvas
    QImage m_persistent;
    QImage m_transient;
    bool m_transientDirty = false;
    double m_dpr = 1.0;   // device pixels to a pixel of the layers
    // painter canvas
    QPainter* m_painter = nullptr;
    double m_dpi = 96.0;
    double m_pixelScale = 1.0;

    QSizeF m_size;
    int m_scaleMode = Twips;
    double m_scaleLeft = 0, m_scaleTop = 0, m_scaleWidth = 1, m_scaleHeight = 1;
    double m_currentX = 0, m_currentY = 0;
    bool m_autoRedraw = false;
    VbColor m_foreColor = 0x000000;
    VbColor m_backColor = 0xFFFFFF;
    VbColor m_fillColor = 0x000000;
    int m_fillStyle = FillTransparent;
    int m_drawWidth = 1;
    int m_drawStyle = Solid;
    int m_drawMode = CopyPen;
    QFont m_font;
    bool m_fontTransparent = true;
    bool m_antialias = false;
    QImage m_picture;
    // the open painter of a Batch (image canvas only)
    int m_batchDepth = 0;
    mutable std::unique_ptr<QPainter> m_batchPainter;
    mutable QImage* m_batchImage = nullptr;
};

// Reads a picture file by its content, whatever its extension (".dat"
// pictures are ordinary bitmaps). A null image when it cannot be read.
QImage loadPicture(const QString& path, QString* error = nullptr);

} // namespace platform
