// GraphButton: the program's owner-drawn push button. Caption, an optional
// picture on one of four sides of it, a raised 3-D frame, a pressed look, a
// focus rectangle and a greyed look when disabled. Click comes from the mouse,
// from Enter and Space (on key-down, never from auto-repeat), from the
// caption's access key, and from Enter or Escape anywhere in the form when the
// button is the form's Default or Cancel button (dialogs and MDI children).
//
// Colours are stored values (see surface_helpers.h) resolved through the
// palette at every paint, so a palette switch recolours the button.
#pragma once

#include "controls/surface_helpers.h"

#include <QAbstractButton>
#include <QPointer>
#include <QSet>

class QShortcut;

class GraphButton : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(QFont Font READ font WRITE setFont)
    Q_PROPERTY(int MousePointer READ MousePointer WRITE setMousePointer)
    Q_PROPERTY(QPixmap MouseIcon READ MouseIcon WRITE setMouseIcon)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(int PicturePosition READ PicturePosition WRITE setPicturePosition)
    Q_PROPERTY(QPixmap Picture READ Picture WRITE setPicture)
    Q_PROPERTY(int PictureWidth READ PictureWidth WRITE setPictureWidth)
    Q_PROPERTY(int PictureHeight READ PictureHeight WRITE setPictureHeight)
    Q_PROPERTY(int PictureSize READ PictureSize WRITE setPictureSize)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(bool Default READ Default WRITE setDefault)
    Q_PROPERTY(bool Cancel READ Cancel WRITE setCancel)

public:
    // Where the picture stands relative to the caption.
    enum PicturePositionValue { PictureAbove = 0, PictureLeft = 1, PictureRight = 2, PictureBelow = 3 };
    // Size classes of PictureSize: 16, 24, 32, 48 pixels square, or the picture's own size.
    enum PictureSizeValue { Size16 = 0, Size24 = 1, Size32 = 2, Size48 = 3, SizeOwn = 4 };

    // A rectangle as the layout computes it: right and bottom exclusive.
    struct Rect {
        int left = 0, top = 0, right = 0, bottom = 0;
        int width() const { return right - left; }
        int height() const { return bottom - top; }
        QRect toQRect() const { return QRect(left, top, right - left, bottom - top); }
        bool operator==(const Rect&) const = default;
    };

    explicit GraphButton(QWidget* parent = nullptr);
    explicit GraphButton(const QString& caption, QWidget* parent = nullptr);
    ~GraphButton() override;

    // Enabled and Font are the widget's own (isEnabled/setEnabled, font/setFont).
    WId hwnd() const { return winId(); }

    int MousePointer() const { return m_mousePointer; }
    void setMousePointer(int pointer);
    QPixmap MouseIcon() const { return m_mouseIcon; }
    void setMouseIcon(const QPixmap& icon);

    QString Caption() const { return text(); }
    void setCaption(const QString& caption);

    int PicturePosition() const { return m_picturePosition; }
    void setPicturePosition(int position); // no range test: other values keep the last layout
    QPixmap Picture() const { return m_picture; }
    void setPicture(const QPixmap& picture);
    int PictureWidth() const { return m_pictureWidth; }
    void setPictureWidth(int width);
    int PictureHeight() const { return m_pictureHeight; }
    void setPictureHeight(int height);
    int PictureSize() const { return m_pictureSize; }
    void setPictureSize(int sizeClass);

    controls::OleColor ForeColor() const { return m_foreColor; }
    void setForeColor(controls::OleColor colour);
    controls::OleColor BackColor() const { return m_backColor; }
    void setBackColor(controls::OleColor colour);

    // The form's default button (Enter) and cancel button (Escape). The form
    // is the dialog or MDI child the button sits in; setting one clears it on
    // the form's other GraphButtons.
    bool Default() const { return m_default; }
    void setDefault(bool on);
    bool Cancel() const { return m_cancel; }
    void setCancel(bool on);

    // State: the pressed look is shown; the button has the focus.
    bool Pressed() const { return m_pressed || isDown(); }
    bool HasFocus() const { return m_hasFocus; }

    // Layout of the last paint (caption and picture rectangles, unshifted).
    Rect contentRect() const { return m_rcContent; }
    Rect pictureRect() const { return m_rcPicture; }
    Rect captionRect() const { return m_rcCaption; }
    Rect focusRect() const { return m_rcFocus; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void Click();
    void KeyDown(int KeyCode, int Shift);
    void KeyPress(int KeyAscii);
    void KeyUp(int KeyCode, int Shift);
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);
    // A property changed (its name), for anyone who keeps the form's design.
    void PropertyChanged(const QString& name);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    // Disabled while focused: the focus goes to the form's Enter button.
    bool focusNextPrevChild(bool next) override;

private:
    void init();
    void raiseClick();
    void press(int button, int shift, float x, float y);
    void setPressed(bool on);

    // Painting, in the order of a paint.
    void Calcola_posizioni(const QFontMetrics& fm);
    void Misura_testo(const QFontMetrics& fm);
    void Disegna_immagine(QPainter& p);
    void Disegna_testo(QPainter& p);
    void Disegna_bordi(QPainter& p);

    // Default and cancel keys.
    QWidget* form() const;
    void updateFormKeys();
    // The button Enter (or Escape) presses on this button's form, if any.
    GraphButton* formButton(bool enterKey) const;
    void formKeyActivated(bool enterKey);
    bool eventFilter(QObject* watched, QEvent* e) override;

    int m_mousePointer = 0;
    QPixmap m_mouseIcon;
    int m_picturePosition = PictureLeft;
    QPixmap m_picture;
    int m_pictureWidth = 16;
    int m_pictureHeight = 16;
    int m_pictureSize = Size16;
    controls::OleColor m_foreColor = controls::systemColour(controls::ScButtonText);
    controls::OleColor m_backColor = controls::systemColour(controls::ScButtonFace);
    bool m_default = false;
    bool m_cancel = false;

    bool m_hasFocus = false;
    bool m_pressed = false;
    QSet<int> m_heldKeys; // keys that went down and have not come up
    int m_pressButton = 0, m_pressShift = 0;
    float m_pressX = 0, m_pressY = 0;

    Rect m_rcContent, m_rcPicture, m_rcCaption, m_rcFocus;

    // The form whose keys this button watches, and its workspace frame.
    QPointer<QWidget> m_keyForm;
    QPointer<QWidget> m_keyFrame;
};
