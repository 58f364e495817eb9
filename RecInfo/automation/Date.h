// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The automation date: days since 30 December 1899 as a double; the fraction is the time of day.
/// Dates before the epoch count the day back but keep a positive time fraction
/// (-1.25 is 29 December 1899, 06:00).

#include "Export.h"
#include <QDateTime>

namespace vxRecInfo {

/// A date and time of day as automation passes it: days since 30 December 1899.
class VXRECINFO_EXPORT Date
{
public:
    static constexpr double MinValue = -657434.0;            //!< 1 January 100
    static constexpr double MaxValue = 2958465.999988426;    //!< 31 December 9999, 23:59:59

    /// The epoch, 30 December 1899, 00:00.
    constexpr Date() = default;
    /// The date of a day count, taken as it is (date() and time() check the range).
    constexpr explicit Date(double value) : m_value(value) {}

    /// The day count.
    constexpr double value() const { return m_value; }

    /// Builds the date of a calendar date and time of day, rounded to the second. An invalid
    /// time counts as midnight.
    static Date fromDateTime(QDate date, QTime time);
    /// Takes the date and time fields as they stand (no zone conversion), rounded to the second.
    static Date fromQDateTime(const QDateTime& dateTime);

    /// Calendar date, rounded to the second; Overflow (6) outside the range.
    /// @throws RuntimeError 6 when the value is not inRange()
    QDate date() const;
    /// Time of day, rounded to the second.
    /// @throws RuntimeError 6 when the value is not inRange()
    QTime time() const;
    /// The fields as a zone-less date-time (Qt::UTC, so no daylight-saving gap can move it).
    /// @throws RuntimeError 6 when the value is not inRange()
    QDateTime toQDateTime() const;

    /// Whether value has a calendar date. Before the epoch the time of day counts down from the
    /// day: the last second of 1 January 100 is MinValue - 0.999988426. NaN is in no range.
    static constexpr bool inRange(double value)
    {
        return value >= MinValue - (MaxValue - 2958465.0) && value <= MaxValue;
    }

    /// Whether both hold the same day count exactly.
    friend constexpr bool operator==(Date a, Date b) { return a.m_value == b.m_value; }

private:
    double m_value = 0.0;
};

} // namespace vxRecInfo
