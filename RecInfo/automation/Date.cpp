// SPDX-License-Identifier: MIT
#include "Date.h"

#include "RuntimeError.h"

#include <cmath>

namespace vxRecInfo {

namespace {

constexpr qint64 SecondsPerDay = 86400;

QDate epoch() { return QDate(1899, 12, 30); }

// Whole days from the epoch and seconds into that day.
struct DaySeconds {
    qint64 days;
    qint64 seconds;
};

// Checked first: outside the range a value has no calendar date, and the conversions below
// would not be defined for it (1e300 does not fit a day count).
DaySeconds split(double value)
{
    if (!Date::inRange(value))
        throw RuntimeError(Err::Overflow);
    const double dayPart = std::trunc(value);
    const double fraction = std::fabs(value - dayPart);
    auto days = static_cast<qint64>(dayPart);
    auto seconds = static_cast<qint64>(std::llround(fraction * SecondsPerDay));
    // The time of day runs forward from the day's start, before and after the epoch alike.
    if (seconds >= SecondsPerDay) {
        seconds -= SecondsPerDay;
        days += 1;
    }
    return {days, seconds};
}

} // namespace

Date Date::fromDateTime(QDate date, QTime time)
{
    const qint64 ms = time.isValid() ? time.msecsSinceStartOfDay() : 0;
    const qint64 total = epoch().daysTo(date) * SecondsPerDay + (ms + 500) / 1000;
    qint64 days = total / SecondsPerDay;
    qint64 seconds = total % SecondsPerDay;
    if (seconds < 0) {
        seconds += SecondsPerDay;
        days -= 1;
    }
    const double fraction = static_cast<double>(seconds) / SecondsPerDay;
    if (days < 0)
        return Date(static_cast<double>(days) - fraction);
    return Date(static_cast<double>(days) + fraction);
}

Date Date::fromQDateTime(const QDateTime& dateTime)
{
    return fromDateTime(dateTime.date(), dateTime.time());
}

QDate Date::date() const
{
    return epoch().addDays(split(m_value).days);
}

QTime Date::time() const
{
    return QTime(0, 0).addSecs(static_cast<int>(split(m_value).seconds));
}

QDateTime Date::toQDateTime() const
{
    return QDateTime(date(), time(), Qt::UTC);
}

} // namespace vxRecInfo
