#pragma once
// The hourglass pointer for the length of a long command:
//   { platform::BusyCursor busy; ...long work... }
// Nested uses stack; the pointer comes back when the last one ends, also
// when the work throws.
#include <QGuiApplication>

namespace platform {

class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace platform
