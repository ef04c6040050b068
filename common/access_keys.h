#pragma once
// The access keys of the window in front of the workspace. A button's
// underlined letter and a menu of the main window's menu bar may share a
// letter (in Italian "&Nuova..." and "Fi&nestre"), and the menu bar would
// take it. While a window of the workspace is in front, Alt and a letter
// underlined on one of its buttons press that button, as the button's own
// access key does (several buttons with the letter: each press moves the
// keyboard on to the next of them); every letter no button in front claims
// (a disabled or hidden one claims none) still opens its menu.
class QMdiArea;

namespace common {

// Installed once by the main window on its workspace; it lasts as long as
// the workspace.
void Tasti_Accesso_Finestra_Davanti(QMdiArea* area);

} // namespace common
