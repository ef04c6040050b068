#include "controls/graph_button.h"


#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>

#include <algorithm>

using controls::OleColor;
using controls::resolveColour;
using controls::systemColour;

namespace {

constexpr int kGap = 4; // between picture and caption
constexpr int kTextFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic;

bool isEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// The one-pixel outline of the rectangle with corners (x1, y1) and (x2, y2),
// both included; sides outside the surface are simply not seen.
void outline(QPainter& p, int x1, int y1, int x2, int y2, const QColor& c)
{
    p.fillRect(x1, y1, x2 - x1 + 1, 1, c);
    p.fillRect(x1, y2, x2 - x1 + 1, 1, c);
    p.fillRect(x1, y1, 1, y2 - y1 + 1, c);
    p.fillRect(x2, y1, 1, y2 - y1 + 1, c);
}

// Dotted rectangle on every other pixel of the edges of r (right and bottom exclusive).
void focusRectangle(QPainter& p, const GraphButton::Rect& r, const QColor& c)
{
    if (r.right - r.left < 1 || r.bottom - r.top < 1)
        return;
    for (int x = r.left; x < r.right; x += 2) {
        p.fillRect(x, r.top, 1, 1, c);
        p.fillRect(x, r.bottom - 1, 1, 1, c);
    }
    for (int y = r.top; y < r.bottom; y += 2) {
        p.fillRect(r.left, y, 1, 1, c);
        p.fillRect(r.right - 1, y, 1, 1, c);
    }
}

// The greyed picture: its dark, opaque pixels drawn in the highlight colour one
// pixel right and down, then in the shadow colour in place.
QImage embossed(const QImage& source, const QColor& background, const QColor& highlight,
                const QColor& shadow)
{
    const QImage src = source.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(background);
    auto ink = [&](int x, int y) {
        const QRgb px = src.pixel(x, y);
        return qAlpha(px) >= 128 && qGray(px) < 192;
    };
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            if (ink(x, y) && x + 1 < out.width() && y + 1 < out.height())
                out.setPixelColor(x + 1, y + 1, highlight);
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            if (ink(x, y))
                out.setPixelColor(x, y, shadow);
    return out;
}

} // namespace

GraphButton::GraphButton(QWidget* parent) : QAbstractButton(parent) { init(); }

GraphButton::GraphButton(const QString& caption, QWidget* parent) : QAbstractButton(parent)
{
    init();
    setText(caption);
}

GraphButton::~GraphButton()
{
    if (m_keyForm)
        m_keyForm->removeEventFilter(this);
    if (m_keyFrame)
        m_keyFrame->removeEventFilter(this);
}

void GraphButton::init()
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true); // MouseMove is raised for every move over the button
    setMinimumSize(10, 10);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Every click, ours or QAbstractButton::click(), reaches Click.
    connect(this, &QAbstractButton::clicked, this, &GraphButton::Click);
    m_rcFocus = {3, 3, width() - 3, height() - 3};
}

// ---- properties ----

void GraphButton::setMousePointer(int pointer)
{
    m_mousePointer = pointer;
    controls::applyMousePointer(this, m_mousePointer, m_mouseIcon);
    emit PropertyChanged(QStringLiteral("MousePointer"));
}

void GraphButton::setMouseIcon(const QPixmap& icon)
{
    m_mouseIcon = icon;
    controls::applyMousePointer(this, m_mousePointer, m_mouseIcon);
    emit PropertyChanged(QStringLiteral("MouseIcon"));
}

void GraphButton::setCaption(const QString& caption)
{
    setText(caption); // also takes the access key marked by "&"
    updateGeometry();
    emit PropertyChanged(QStringLiteral("Caption"));
    update();
}

void GraphButton::setPicturePosition(int position)
{
    m_picturePosition = position;
    emit PropertyChanged(QStringLiteral("PicturePosition"));
    update();
}

void GraphButton::setPicture(const QPixmap& picture)
{
    m_picture = picture;
    emit PropertyChanged(QStringLiteral("Picture"));
    if (m_pictureSize == SizeOwn && !m_picture.isNull()) {
        const QSize own = m_picture.deviceIndependentSize().toSize();
        m_pictureWidth = own.width();
        m_pictureHeight = own.height();
    }
    updateGeometry();
    update();
}

void GraphButton::setPictureWidth(int width)
{
    m_pictureWidth = width;
    emit PropertyChanged(QStringLiteral("PictureWidth"));
    update();
}

void GraphButton::setPictureHeight(int height)
{
    m_pictureHeight = height;
    emit PropertyChanged(QStringLiteral("PictureHeight"));
    update();
}

void GraphButton::setPictureSize(int sizeClass)
{
    m_pictureSize = sizeClass;
    emit PropertyChanged(QStringLiteral("PictureSize"));
    static constexpr int sides[4] = {16, 24, 32, 48};
    if (sizeClass >= Size16 && sizeClass <= Size48) {
        m_pictureWidth = m_pictureHeight = sides[sizeClass];
    } else if (sizeClass == SizeOwn) {
        if (m_picture.isNull()) {
            m_pictureWidth = m_pictureHeight = 32;
        } else {
            const QSize own = m_picture.deviceIndependentSize().toSize();
            m_pictureWidth = own.width();
            m_pictureHeight = own.height();
        }
    }
    updateGeometry();
    update();
}

void GraphButton::setForeColor(OleColor colour)
{
    m_foreColor = colour;
    emit PropertyChanged(QStringLiteral("ForeColor"));
    update();
}

void GraphButton::setBackColor(OleColor colour)
{
    m_backColor = colour;
    emit PropertyChanged(QStringLiteral("BackColor"));
    update();
}

void GraphButton::setDefault(bool on)
{
    m_default = on;
    if (on) {
        QWidget* f = form();
        for (GraphButton* other : f->findChildren<GraphButton*>())
            if (other != this && other->m_default && other->form() == f)
                other->setDefault(false);
    }
    updateFormKeys();
    update();
}

void GraphButton::setCancel(bool on)
{
    m_cancel = on;
    if (on) {
        QWidget* f = form();
        for (GraphButton* other : f->findChildren<GraphButton*>())
            if (other != this && other->m_cancel && other->form() == f)
                other->setCancel(false);
    }
    updateFormKeys();
}

QSize GraphButton::sizeHint() const
{
    const QFontMetrics fm(font());
    const int margin = fm.averageCharWidth();
    const QRect measured = fm.boundingRect(QRect(0, 0, 400, 1000), kTextFlags, text());
    int w = measured.width() + 2 * margin;
    int h = measured.height();
    if (!m_picture.isNull()) {
        if (m_picturePosition == PictureAbove || m_picturePosition == PictureBelow) {
            w = qMax(w, m_pictureWidth);
            h += m_pictureHeight + kGap;
        } else {
            w += m_pictureWidth + kGap;
            h = qMax(h, m_pictureHeight);
        }
    }
    return QSize(qMax(81, w + 16), qMax(25, h + 12));
}

QSize GraphButton::minimumSizeHint() const { return QSize(10, 10); }

// ---- keyboard and mouse ----

void GraphButton::raiseClick()
{
    emit clicked(false); // forwarded to Click
}

void GraphButton::setPressed(bool on)
{
    m_pressed = on;
    setDown(on);
    update();
}

bool GraphButton::event(QEvent* e)
{
    switch (e->type()) {
    case QEvent::ShortcutOverride: {
        // Enter and Space belong to the focused button, not to the form's
        // default button or any other shortcut.
        auto* ke = static_cast<QKeyEvent*>(e);
        const auto mods = ke->modifiers() & ~Qt::KeypadModifier;
        if ((isEnterKey(ke->key()) || ke->key() == Qt::Key_Space) && mods == Qt::NoModifier) {
            e->accept();
            return true;
        }
        break;
    }
    case QEvent::Shortcut: // the caption's access key
        if (!isEnabled())
            return true;
        if (static_cast<QShortcutEvent*>(e)->isAmbiguous()) {
            // Several buttons of the window share the key: each press moves
            // the focus on to the next of them and clicks none.
            setFocus(Qt::ShortcutFocusReason);
            return true;
        }
        raiseClick();
        return true;
    default:
        break;
    }
    return QAbstractButton::event(e);
}

void GraphButton::keyPressEvent(QKeyEvent* e)
{
    QPointer<GraphButton> self(this);
    const int key = e->key();
    const bool firstDown = !e->isAutoRepeat() && !m_heldKeys.contains(key);
    m_heldKeys.insert(key);
    bool handled = false;
    if (isEnterKey(key)) {
        handled = true;
        if (firstDown)
            raiseClick();
    } else if (key == Qt::Key_Space) {
        handled = true;
        if (firstDown) {
            setPressed(true);
            raiseClick();
        }
    }
    if (!self)
        return;
    emit KeyDown(controls::virtualKeyCode(key), controls::shiftState(e->modifiers()));
    if (!self)
        return;
    if (!e->text().isEmpty())
        emit KeyPress(e->text().at(0).unicode());
    if (handled)
        e->accept();
    else
        e->ignore();
}

void GraphButton::keyReleaseEvent(QKeyEvent* e)
{
    if (e->isAutoRepeat()) { // the key is still down
        e->accept();
        return;
    }
    const int key = e->key();
    if (key == Qt::Key_Space && m_pressed)
        setPressed(false);
    m_heldKeys.remove(key);
    emit KeyUp(controls::virtualKeyCode(key), controls::shiftState(e->modifiers()));
    if (isEnterKey(key) || key == Qt::Key_Space)
        e->accept();
    else
        e->ignore();
}

void GraphButton::press(int button, int shift, float x, float y)
{
    m_pressButton = button;
    m_pressShift = shift;
    m_pressX = x;
    m_pressY = y;
    if (button != 2)
        setPressed(true);
    emit MouseDown(button, shift, x, y);
}

void GraphButton::mousePressEvent(QMouseEvent* e)
{
    const QPointF pos = e->position();
    press(controls::mouseButtonCode(e->button()), controls::shiftState(e->modifiers()), float(pos.x()),
          float(pos.y()));
    e->accept();
}

void GraphButton::mouseDoubleClickEvent(QMouseEvent* e)
{
    // The second press of a double click is a press like the first.
    press(m_pressButton, m_pressShift, m_pressX, m_pressY);
    e->accept();
}

void GraphButton::mouseReleaseEvent(QMouseEvent* e)
{
    QPointer<GraphButton> self(this);
    const int button = controls::mouseButtonCode(e->button());
    const int shift = controls::shiftState(e->modifiers());
    const float x = float(e->position().x());
    const float y = float(e->position().y());
    const bool wasPressed = m_pressed;
    m_pressed = false;
    setDown(false);
    if (button != 2) {
        update();
        if (x >= 0 && x < width() && y >= 0 && y < height())
            raiseClick();
    } else if (wasPressed) {
        update();
    }
    if (!self)
        return;
    emit MouseUp(button, shift, x, y);
    e->accept();
}

void GraphButton::mouseMoveEvent(QMouseEvent* e)
{
    emit MouseMove(controls::mouseButtonCode(e->buttons()), controls::shiftState(e->modifiers()),
                   float(e->position().x()), float(e->position().y()));
    e->accept();
}

void GraphButton::focusInEvent(QFocusEvent* e)
{
    m_hasFocus = true;
    QWidget::focusInEvent(e);
    update();
}

void GraphButton::focusOutEvent(QFocusEvent* e)
{
    // A key that goes up elsewhere must not block this button's next key-down.
    m_heldKeys.clear();
    m_hasFocus = false;
    m_pressed = false;
    setDown(false);
    QWidget::focusOutEvent(e);
    update();
}

void GraphButton::resizeEvent(QResizeEvent* e)
{
    QAbstractButton::resizeEvent(e);
    m_rcFocus = {3, 3, width() - 3, height() - 3};
    update();
}

void GraphButton::changeEvent(QEvent* e)
{
    switch (e->type()) {
    case QEvent::EnabledChange:
        if (!isEnabled()) {
            m_heldKeys.clear();
            m_pressed = false;
            setDown(false);
        }
        emit PropertyChanged(QStringLiteral("Enabled"));
        update();
        break;
    case QEvent::FontChange:
        updateGeometry();
        emit PropertyChanged(QStringLiteral("Font"));
        update();
        break;
    case QEvent::ParentChange:
        updateFormKeys();
        break;
    default:
        break;
    }
    QAbstractButton::changeEvent(e);
}

void GraphButton::showEvent(QShowEvent* e)
{
    // The form may have been put together (or moved into an MDI window) since
    // the keys were set up.
    updateFormKeys();
    QAbstractButton::showEvent(e);
}

// ---- default and cancel keys ----

QWidget* GraphButton::form() const
{
    QWidget* w = const_cast<GraphButton*>(this);
    while (w) {
        if (w->isWindow())
            return w;
        QWidget* parent = w->parentWidget();
        if (qobject_cast<QMdiSubWindow*>(parent))
            return w;
        w = parent;
    }
    return const_cast<GraphButton*>(this);
}

void GraphButton::updateFormKeys()
{
    // Every button of a form watches the keys that reach the form itself:
    // Enter and Escape come there only when the focused control did not use
    // them, so an open drop-down list, an item being edited or a calendar
    // popup keeps its own Enter and Escape, and so does a focused button.
    // A form in the main window's workspace is watched through its frame as
    // well: a click on a part of the form that takes no focus (a blank part
    // of a page, a tool button) leaves the focus on the frame, and the keys
    // then reach the frame and not the form.
    QWidget* f = form();
    if (f == this)
        f = nullptr;
    QWidget* cornice = f ? qobject_cast<QMdiSubWindow*>(f->parentWidget()) : nullptr;
    if (m_keyForm == f && m_keyFrame == cornice)
        return;
    if (m_keyForm)
        m_keyForm->removeEventFilter(this);
    if (m_keyFrame)
        m_keyFrame->removeEventFilter(this);
    m_keyForm = f;
    m_keyFrame = cornice;
    if (f)
        f->installEventFilter(this);
    if (cornice)
        cornice->installEventFilter(this);
}

namespace {
bool isNamed(const GraphButton* b, const char* name)
{
    return b->objectName().compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}
} // namespace

GraphButton* GraphButton::formButton(bool enterKey) const
{
    // The form's own Default (Enter) or Cancel (Escape) button; a form that
    // names none has its accepting button "cmdOK" take Enter and its
    // "cmdCancel" (or, without one, the "cmdOK" that closes it) take Escape.
    // A form with one OK a tab answers with the OK of the tab shown: the
    // buttons the form shows come before those on pages it does not show.
    QWidget* f = form();
    QList<GraphButton*> own;
    for (GraphButton* b : f->findChildren<GraphButton*>())
        if (b->form() == f)
            own << b;
    std::stable_partition(own.begin(), own.end(), [f](const GraphButton* b) { return b->isVisibleTo(f); });
    for (GraphButton* b : own)
        if (enterKey ? b->m_default : b->m_cancel)
            return b;
    auto named = [&own](const char* nome) -> GraphButton* {
        for (GraphButton* b : own)
            if (isNamed(b, nome))
                return b;
        return nullptr;
    };
    if (enterKey)
        return named("cmdOK");
    if (GraphButton* annulla = named("cmdCancel"))
        return annulla;
    return named("cmdOK");
}

bool GraphButton::eventFilter(QObject* watched, QEvent* e)
{
    if ((watched != m_keyForm && watched != m_keyFrame) || e->type() != QEvent::KeyPress)
        return QAbstractButton::eventFilter(watched, e);
    auto* k = static_cast<QKeyEvent*>(e);
    // Through the frame, only the keys pressed on the frame itself: those
    // that come up from the form have been seen there.
    if (watched == m_keyFrame && QApplication::focusWidget() != m_keyFrame)
        return false;
    const Qt::KeyboardModifiers mods = k->modifiers() & ~Qt::KeypadModifier;
    const bool enter = isEnterKey(k->key());
    if ((!enter && k->key() != Qt::Key_Escape) || mods != Qt::NoModifier)
        return false;
    if (formButton(enter) != this)
        return false;
    // Held down: one click only, on the first key-down.
    if (!k->isAutoRepeat())
        formKeyActivated(enter);
    return true;
}

bool GraphButton::focusNextPrevChild(bool next)
{
    // Asked for the next control because it has just been disabled while it
    // held its window's focus (Play, a transfer's OK: also while a dialog it
    // opened still holds the keyboard). The keyboard goes to the form's Enter
    // button, whose Enter the user expects, and not to whatever control comes
    // next (Synchronise would set the computer's clock, Cancel would stop the
    // transfer). Without a usable Enter button the form itself takes the
    // keys: Enter there presses nothing, Escape its Cancel button.
    QWidget* f = form();
    if (isEnabled() || f == this)
        return QAbstractButton::focusNextPrevChild(next);
    QWidget* destinazione = formButton(true);
    if (!destinazione || destinazione == this || !destinazione->isEnabled() || !destinazione->isVisibleTo(f))
        destinazione = m_keyFrame ? m_keyFrame.data() : f;
    if (!destinazione->isEnabled() || !destinazione->isVisible())
        return QAbstractButton::focusNextPrevChild(next);
    destinazione->setFocus(Qt::OtherFocusReason);
    return true;
}

void GraphButton::formKeyActivated(bool)
{
    if (!isEnabled() || !isVisibleTo(form()))
        return;
    raiseClick();
}

// ---- painting ----

void GraphButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), resolveColour(m_backColor, palette()));
    const QFontMetrics fm(font());
    Calcola_posizioni(fm);
    Disegna_immagine(p);
    if (m_hasFocus)
        focusRectangle(p, m_rcFocus, resolveColour(m_foreColor, palette()));
    Disegna_testo(p);
    Disegna_bordi(p);
}

void GraphButton::Calcola_posizioni(const QFontMetrics& fm)
{
    const int W = width();
    const int H = height();
    m_rcContent = {4, 4, W - 4, H - 4};
    const Rect& C = m_rcContent;
    const int CW = C.width();
    const int CH = C.height();
    const int PW = m_pictureWidth;
    const int PH = m_pictureHeight;
    Rect& P = m_rcPicture;
    Rect& T = m_rcCaption;

    if (m_picture.isNull()) {
        T = C;
        Misura_testo(fm);
        return;
    }
    if (text().isEmpty()) {
        P.left = C.left + (CW - PW) / 2;
        P.top = C.top + (CH - PH) / 2;
        P.right = P.left + PW;
        P.bottom = P.top + PH;
        return;
    }
    T = C;
    Misura_testo(fm);
    const int TW = T.width();
    const int TH = T.height();
    switch (m_picturePosition) {
    case PictureAbove:
        P.top = C.top + (CH - (PH + kGap + TH)) / 2;
        P.left = C.left + (CW - PW) / 2;
        T.top = P.top + PH + kGap;
        T.left = C.left + (CW - TW) / 2;
        break;
    case PictureLeft:
        P.top = C.top + (CH - PH) / 2;
        P.left = C.left + (CW - (PW + kGap + TW)) / 2;
        T.top = C.top + (CH - TH) / 2;
        T.left = P.left + PW + kGap;
        break;
    case PictureRight:
        T.top = C.top + (CH - TH) / 2;
        T.left = C.left + (CW - (PW + kGap + TW)) / 2;
        P.top = C.top + (CH - PH) / 2;
        P.left = T.left + TW + kGap;
        break;
    case PictureBelow:
        T.top = C.top + (CH - (PH + kGap + TH)) / 2;
        T.left = C.left + (CW - TW) / 2;
        P.top = T.top + TH + kGap;
        P.left = C.left + (CW - PW) / 2;
        break;
    default:
        return; // T as measured, P as the last layout left it
    }
    P.right = P.left + PW;
    P.bottom = P.top + PH;
    T.right = T.left + TW;
    T.bottom = T.top + TH;
}

void GraphButton::Misura_testo(const QFontMetrics& fm)
{
    // Wrapped inside the content rectangle less one average character at each
    // side; the measured block, margins included, is then centred.
    const Rect& C = m_rcContent;
    const int margin = fm.averageCharWidth();
    const int avail = qMax(1, C.width() - 2 * margin);
    const QRect measured = fm.boundingRect(QRect(0, 0, avail, 1 << 20), kTextFlags, text());
    const int TW = measured.width() + 2 * margin;
    const int TH = measured.height();
    Rect& T = m_rcCaption;
    T.left = C.left + (C.width() - TW) / 2;
    T.top = C.top + (C.height() - TH) / 2;
    T.right = T.left + TW;
    T.bottom = T.top + TH;
}

void GraphButton::Disegna_immagine(QPainter& p)
{
    if (m_picture.isNull())
        return;
    Rect P = m_rcPicture;
    if (m_pressed || isDown()) {
        P.left += 1;
        P.top += 1;
        P.right += 1;
        P.bottom += 1;
    }
    const QColor back = resolveColour(m_backColor, palette());
    QImage scratch;
    if (isEnabled()) {
        scratch = QImage(m_picture.deviceIndependentSize().toSize(), QImage::Format_ARGB32_Premultiplied);
        scratch.fill(back);
        QPainter sp(&scratch);
        sp.drawPixmap(QRect(QPoint(0, 0), scratch.size()), m_picture);
    } else {
        const QImage own = m_picture.toImage().scaled(m_picture.deviceIndependentSize().toSize());
        scratch = embossed(own, back, resolveColour(systemColour(controls::Sc3DHighlight), palette()),
                           resolveColour(systemColour(controls::ScButtonShadow), palette()));
    }
    // Squeezed or stretched into the picture rectangle, never clipped.
    p.drawImage(P.toQRect(), scratch);
}

void GraphButton::Disegna_testo(QPainter& p)
{
    if (text().isEmpty())
        return;
    Rect T = m_rcCaption;
    if (m_pressed || isDown()) {
        T.left += 1;
        T.top += 1;
        T.right += 1;
        T.bottom += 1;
    }
    const int margin = QFontMetrics(font()).averageCharWidth();
    const QRect r = T.toQRect().adjusted(margin, 0, -margin, 0);
    p.setFont(font());
    if (isEnabled()) {
        p.setPen(resolveColour(m_foreColor, palette()));
        p.drawText(r, kTextFlags, text());
    } else {
        p.setPen(resolveColour(systemColour(controls::Sc3DHighlight), palette()));
        p.drawText(r.translated(1, 1), kTextFlags, text());
        p.setPen(resolveColour(systemColour(controls::ScButtonShadow), palette()));
        p.drawText(r, kTextFlags, text());
    }
}

void GraphButton::Disegna_bordi(QPainter& p)
{
    const int W = width();
    const int H = height();
    const QPalette& pal = palette();
    const QColor shadow = resolveColour(systemColour(controls::ScButtonShadow), pal);
    const QColor highlight = resolveColour(systemColour(controls::Sc3DHighlight), pal);
    const QColor dark = resolveColour(systemColour(controls::Sc3DDarkShadow), pal);
    const QColor light = resolveColour(systemColour(controls::Sc3DLight), pal);
    const bool pressed = m_pressed || isDown();

    if (pressed) {
        outline(p, 1, 1, W - 1, H - 1, shadow);
        outline(p, 0, 0, W, H, dark);
        outline(p, -1, -1, W - 1, H - 1, dark);
    }
    if (!pressed || m_default) {
        outline(p, 0, 0, W - 2, H - 2, shadow);
        outline(p, 1, 1, W - 2, H - 2, shadow);
        outline(p, 0, 0, W, H, highlight);
        outline(p, 1, 1, W, H, light);
        outline(p, -1, -1, W - 1, H - 1, dark);
    }
    if (!pressed && m_hasFocus) {
        outline(p, 0, 0, W - 2, H - 2, dark);
        outline(p, 1, 1, W, H, highlight);
        outline(p, -1, -1, W - 1, H - 1, dark);
    }
}
