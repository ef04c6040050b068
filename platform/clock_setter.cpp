#include "platform/clock_setter.h"

#include <cerrno>
#include <cstring>
#include <ctime>

namespace platform {

bool SystemClockSetter::setSystemClock(const QDateTime& utc, QString* error)
{
    if (!utc.isValid()) {
        if (error)
            *error = QStringLiteral("The time to set is not valid.");
        return false;
    }
    const qint64 ms = utc.toMSecsSinceEpoch();
    timespec ts{};
    ts.tv_sec = time_t(ms / 1000);
    ts.tv_nsec = long(ms % 1000) * 1000000L;
    if (clock_settime(CLOCK_REALTIME, &ts) != 0) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

} // namespace platform
