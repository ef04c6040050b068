#include "controls/surface_helpers.h"

#include <QWidget>

namespace controls {

bool paletteRoleForSystemColour(int index, QPalette::ColorRole* role)
{
    static constexpr QPalette::ColorRole roles[29] = {
        QPalette::Base,            // 0 scroll bar
        QPalette::Window,          // 1 desktop
        QPalette::Highlight,       // 2 active caption
        QPalette::Mid,             // 3 inactive caption
        QPalette::Window,          // 4 menu
        QPalette::Base,            // 5 window
        QPalette::Shadow,          // 6 window frame
        QPalette::WindowText,      // 7 menu text
        QPalette::Text,            // 8 window text
        QPalette::HighlightedText, // 9 caption text
        QPalette::Mid,             // 10 active border
        QPalette::Mid,             // 11 inactive border
        QPalette::Dark,            // 12 MDI workspace
        QPalette::Highlight,       // 13 selection
        QPalette::HighlightedText, // 14 selected text
        QPalette::Button,          // 15 button face
        QPalette::Dark,            // 16 button shadow
        QPalette::Text,            // 17 grey text (disabled group)
        QPalette::ButtonText,      // 18 button text
        QPalette::HighlightedText, // 19 inactive caption text (inactive group)
        QPalette::Light,           // 20 3-D highlight
        QPalette::Shadow,          // 21 3-D dark shadow
        QPalette::Midlight,        // 22 3-D light
        QPalette::ToolTipText,     // 23 tooltip text
        QPalette::ToolTipBase,     // 24 tooltip background
        QPalette::Button,          // 25 unused
        QPalette::Link,            // 26 hot tracking
        QPalette::Highlight,       // 27 caption gradient
        QPalette::Mid,             // 28 inactive caption gradient
    };
    if (index < 0 || index > 28)
        return false;
    if (role)
        *role = roles[index];
    return true;
}

QColor resolveColour(OleColor value, const QPalette& palette)
{
    if (isSystemColour(value)) {
        QPalette::ColorRole role;
        if (!paletteRoleForSystemColour(int(value & 0x7FFFFFFFu), &role))
            return QColor(0, 0, 0);
        const int index = int(value & 0x7FFFFFFFu);
        if (index == 17)
            return palette.color(QPalette::Disabled, QPalette::Text);
        if (index == 19)
            return palette.color(QPalette::Inactive, QPalette::HighlightedText);
        return palette.color(QPalette::Active, role);
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

OleColor toOleColor(const QColor& c)
{
    return OleColor(c.red()) | (OleColor(c.green()) << 8) | (OleColor(c.blue()) << 16);
}

void applyMousePointer(QWidget* widget, int pointer, const QPixmap& icon)
{
    Qt::CursorShape shape;
    switch (pointer) {
    case 1: shape = Qt::ArrowCursor; break;
    case 2: shape = Qt::CrossCursor; break;
    case 3: shape = Qt::IBeamCursor; break;
    case 4: shape = Qt::ArrowCursor; break;
    case 5: shape = Qt::SizeAllCursor; break;
    case 6: shape = Qt::SizeBDiagCursor; break;
    case 7: shape = Qt::SizeVerCursor; break;
    case 8: shape = Qt::SizeFDiagCursor; break;
    case 9: shape = Qt::SizeHorCursor; break;
    case 10: shape = Qt::UpArrowCursor; break;
    case 11: shape = Qt::WaitCursor; break;
    case 12: shape = Qt::ForbiddenCursor; break;
    case 13: shape = Qt::BusyCursor; break;
    case 14: shape = Qt::WhatsThisCursor; break;
    case 15: shape = Qt::SizeAllCursor; break;
    case 99:
        if (!icon.isNull()) {
            widget->setCursor(QCursor(icon));
            return;
        }
        widget->unsetCursor();
        return;
    default:
        widget->unsetCursor();
        return;
    }
    widget->setCursor(QCursor(shape));
}

int virtualKeyCode(int qtKey)
{
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey; // same codes
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 9;
    case Qt::Key_Clear: return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_CapsLock: return 20;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Print: return 44;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    case Qt::Key_Help: return 47;
    case Qt::Key_Asterisk: return 106;
    case Qt::Key_Plus: return 107;
    case Qt::Key_Minus: return 109;
    case Qt::Key_Slash: return 111;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    case Qt::Key_Semicolon: return 186;
    case Qt::Key_Equal: return 187;
    case Qt::Key_Comma: return 188;
    case Qt::Key_Period: return 190;
    default: return 0;
    }
}

int shiftState(Qt::KeyboardModifiers modifiers)
{
    int s = 0;
    if (modifiers & Qt::ShiftModifier)
        s |= 1;
    if (modifiers & Qt::ControlModifier)
        s |= 2;
    if (modifiers & Qt::AltModifier)
        s |= 4;
    return s;
}

int mouseButtonCode(Qt::MouseButtons buttons)
{
    int b = 0;
    if (buttons & Qt::LeftButton)
        b |= 1;
    if (buttons & Qt::RightButton)
        b |= 2;
    if (buttons & Qt::MiddleButton)
        b |= 4;
    return b;
}

} // namespace controls
