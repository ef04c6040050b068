// Helpers shared by the custom controls: colour values as the program stores
// them, system colour indices resolved through the application palette, and
// the mouse-pointer codes of the controls' MousePointer property.
#pragma once

#include <QColor>
#include <QCursor>
#include <QPalette>
#include <QPixmap>
#include <QtGlobal>

class QWidget;

namespace controls {

// A colour value: R + 256 G + 65536 B (red in the lowest byte), or a system
// colour given as its index with the top bit set (0x8000000F = button face).
using OleColor = quint32;

inline constexpr OleColor kSystemColourFlag = 0x80000000u;

// System colour indices the controls use.
enum SystemColour : int {
    ScActiveCaption = 2,
    ScButtonFace = 15,
    ScButtonShadow = 16,
    ScButtonText = 18,
    Sc3DHighlight = 20,
    Sc3DDarkShadow = 21,
    Sc3DLight = 22,
};

constexpr OleColor systemColour(int index) { return kSystemColourFlag | OleColor(index); }
constexpr bool isSystemColour(OleColor c) { return (c & kSystemColourFlag) != 0; }

// The palette role that stands for a system colour index (0 to 28), the same
// reading as vb::toQColor and the night colours, but taken from the widget's
// own palette, so a window with a palette of its own is honoured too:
//   0 scroll bar            Base         15 button face        Button
//   1 desktop               Window       16 button shadow      Dark
//   2 active caption        Highlight    17 grey text          Text (disabled group)
//   3 inactive caption      Mid          18 button text        ButtonText
//   4 menu                  Window       19 inactive cap. text HighlightedText (inactive)
//   5 window                Base         20 3-D highlight      Light
//   6 window frame          Shadow       21 3-D dark shadow    Shadow
//   7 menu text             WindowText   22 3-D light          Midlight
//   8 window text           Text         23 tooltip text       ToolTipText
//   9 caption text          HighlightedText 24 tooltip back    ToolTipBase
//  10 active border         Mid          25 (unused)           Button
//  11 inactive border       Mid          26 hot tracking       Link
//  12 MDI workspace         Dark         27 caption gradient   Highlight
//  13 selection             Highlight    28 inactive gradient  Mid
//  14 selected text         HighlightedText
// The container's ambient background is the Window role (the night colours
// give it the button face colour, as a form has).
// Returns false for an index outside 0 to 28.
bool paletteRoleForSystemColour(int index, QPalette::ColorRole* role);

// The colour a value stands for, read from the palette now (active group).
// An unknown system index gives black, as the system does.
QColor resolveColour(OleColor value, const QPalette& palette);

// A plain colour as a stored value (no system bit).
OleColor toOleColor(const QColor& c);

// Applies a MousePointer code (0 default, 1 arrow, 2 cross, 3 I-beam, 4 icon,
// 5 size, 6 size NE-SW, 7 size N-S, 8 size NW-SE, 9 size W-E, 10 up arrow,
// 11 hourglass, 12 no drop, 13 arrow and hourglass, 14 arrow and question,
// 15 size all, 99 custom = the given icon) to a widget. An unknown code, or 99
// without an icon, gives the default pointer.
void applyMousePointer(QWidget* widget, int pointer, const QPixmap& icon);

// Key code of the controls' KeyDown and KeyUp events (the system's virtual
// key numbering: Enter 13, Escape 27, Space 32, 'A' 65...); 0 when unknown.
int virtualKeyCode(int qtKey);
// Shift argument of key and mouse events: 1 Shift, 2 Ctrl, 4 Alt.
int shiftState(Qt::KeyboardModifiers modifiers);
// Button argument of mouse events: 1 left, 2 right, 4 middle (or-ed).
int mouseButtonCode(Qt::MouseButtons buttons);

// Pixel size of twips at the normal resolution (15 twips to a pixel).
inline constexpr double kTwipsPerPixel = 15.0;

} // namespace controls
