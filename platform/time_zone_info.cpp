#include "platform/time_zone_info.h"

#include <QTimeZone>

namespace platform {

std::optional<TimeZoneState> QtTimeZoneInfo::stateOf(const QTimeZone& zone, const QDateTime& at)
{
    if (!zone.isValid() || !at.isValid())
        return std::nullopt;
    TimeZoneState s;
    s.biasMinutes = -zone.offsetFromUtc(at) / 60.0;
    s.daylight = zone.isDaylightTime(at);
    return s;
}

std::optional<TimeZoneState> QtTimeZoneInfo::current() const
{
    return stateOf(QTimeZone::systemTimeZone(), QDateTime::currentDateTimeUtc());
}

} // namespace platform
