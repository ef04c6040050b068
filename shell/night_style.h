#pragma once
// The style of the night colours: the program's own style, except that
// while the night colours are on, what that style would shade from the
// palette by itself (page areas, buttons, frames, group boxes, tabs, title
// bars, scroll bars, grips, arrows) is drawn in the palette's own colours,
// each part where the day draws it and in every state the day shows (the
// page shown, a limit reached, something that cannot be used, where the keys
// are, what the mouse is over or holds down). In the day it leaves
// everything to the style it stands for.
class QStyle;

namespace mNight {

// A night style standing for `base` (it takes it over).
QStyle* Crea_Stile_Notte(QStyle* base);
// Whether `style` is a night style.
bool E_Stile_Notte(const QStyle* style);
// Night colours on or off for every night style: what it draws from then on.
void Stile_Di_Notte(bool notte);

} // namespace mNight
