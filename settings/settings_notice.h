#pragma once
// What Options > OK tells the open windows. Each window's wiring fills its
// entry once; frmSettings::Applica calls them in this order, each right
// after the settings of its pages are stored. An entry does its window's
// part (its view menu's marks, its toolbar buttons, its redraw) only while
// that window is open. An empty entry is skipped.
#include <functional>

namespace settings {

struct AvvisiOpzioni {
    std::function<void()> mappaMondo;     // after page 2: the world map
    std::function<void()> cieloLocale;    // after pages 3 and 4: the local sky chart
    std::function<void()> cieloGenerale;  // after page 5: the whole-sky chart
    std::function<void()> barre;          // after page 0: the main window's toolbar and status bar
};

AvvisiOpzioni& avvisiOpzioni();

} // namespace settings
