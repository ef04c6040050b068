#pragma once
// The computer's time zone as the program's clock needs it.
#include <QDateTime>
#include <optional>

namespace platform {

struct TimeZoneState {
    // Minutes to add to local time to get universal time (positive west of
    // Greenwich), daylight-saving offset included when it is in force.
    double biasMinutes = 0;
    bool daylight = false;
};

class TimeZoneInfo {
public:
    virtual ~TimeZoneInfo() = default;
    // The state now; nothing when the system cannot tell.
    virtual std::optional<TimeZoneState> current() const = 0;
};

class QtTimeZoneInfo : public TimeZoneInfo {
public:
    std::optional<TimeZoneState> current() const override;
    // The state of a given zone at a given instant (tests, and current()).
    static std::optional<TimeZoneState> stateOf(const QTimeZone& zone, const QDateTime& at);
};

} // namespace platform
