#pragma once
// A clock source that tells the time the test sets.
#include "core/clock.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace testsupport {

struct FixedTime : core::TimeSource {
    QDateTime now = core::Data_Orologio(QDate(2026, 12, 7), QTime(8, 6, 3));
    QDateTime adesso() const override { return now; }
};

} // namespace testsupport
