#pragma once
// Sets the computer's clock. The operating system usually refuses unless the
// program has the right to do it; the refusal is reported, never hidden.
#include <QDateTime>
#include <QString>

namespace platform {

class ClockSetter {
public:
    virtual ~ClockSetter() = default;
    // Sets the system clock to `utc` (universal time). False with the
    // system's reason in *error when it refuses.
    virtual bool setSystemClock(const QDateTime& utc, QString* error = nullptr) = 0;
};

// The real one. Tests never construct it.
class SystemClockSetter : public ClockSetter {
public:
    bool setSystemClock(const QDateTime& utc, QString* error = nullptr) override;
};

} // namespace platform
