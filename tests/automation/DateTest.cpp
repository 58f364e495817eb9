// SPDX-License-Identifier: MIT
#include "CaseTable.h"
#include "ErrorOf.h"
#include "automation/Date.h"

#include <cmath>

#include <gtest/gtest.h>

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

TEST(AutomationDate, KnownValuesBothWays)
{
    for (const CaseRow& c : caseTable("automation-dates.tsv", 3)) {
        const QDate date = QDate::fromString(c[1], Qt::ISODate);
        const QTime time = QTime::fromString(c[2], Qt::ISODate);
        const Date d(c.number(0));
        EXPECT_EQ(d.date(), date) << c.where;
        EXPECT_EQ(d.time(), time) << c.where;
        EXPECT_DOUBLE_EQ(Date::fromDateTime(date, time).value(), c.number(0)) << c.where;
        const QDateTime utc(date, time, Qt::UTC);
        EXPECT_EQ(d.toQDateTime(), utc) << c.where;
        EXPECT_DOUBLE_EQ(Date::fromQDateTime(utc).value(), c.number(0)) << c.where;
    }
}

TEST(AutomationDate, FractionsRoundToTheNearestSecond)
{
    EXPECT_EQ(Date(0.9999999999).toQDateTime(), QDateTime(QDate(1899, 12, 31), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(Date(-1.9999999999).toQDateTime(), QDateTime(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(Date::fromDateTime(QDate(2000, 1, 1), QTime(10, 0, 0, 600)).time(), QTime(10, 0, 1));
}

TEST(AutomationDate, OutOfRangeValuesOverflowBeforeTheyAreSplit)
{
    for (const double value : {1e300, -1e300, Date::MaxValue + 1, Date::MinValue - 1, std::nan(""), HUGE_VAL})
        for (const auto& split : {+[](Date d) { d.date(); }, +[](Date d) { d.time(); }})
            EXPECT_EQ(errorOf([&] { split(Date(value)); }), Err::Overflow) << value << " became a calendar date";
}
