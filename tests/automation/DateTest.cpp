#include "ErrorOf.h"
#include "automation/Date.h"

#include <cmath>

#include <gtest/gtest.h>

using namespace vxRecInfo;
using vxRecInfo::testing::errorOf;

TEST(AutomationDate, KnownValuesBothWays)
{
    struct Case {
        double value;
        QDate date;
        QTime time;
    };
    const Case cases[] = {
        {0.0, {1899, 12, 30}, {0, 0}},
        {1.75, {1899, 12, 31}, {18, 0}},
        {-1.25, {1899, 12, 29}, {6, 0}},
        {-1.75, {1899, 12, 29}, {18, 0}},
        {-2.0, {1899, 12, 28}, {0, 0}},
        {-36522.0, {1800, 1, 1}, {0, 0}},
        {2.5, {1900, 1, 1}, {12, 0}},
        {46361.5, {2026, 12, 5}, {12, 0}},
        {-657434.0, {100, 1, 1}, {0, 0}},
        {2958465.0, {9999, 12, 31}, {0, 0}},
    };
    for (const Case& c : cases) {
        const Date d(c.value);
        EXPECT_EQ(d.date(), c.date) << c.value;
        EXPECT_EQ(d.time(), c.time) << c.value;
        EXPECT_DOUBLE_EQ(Date::fromDateTime(c.date, c.time).value(), c.value) << c.date.toString().toStdString();
    }
}

TEST(AutomationDate, RoundTripsAtSecondPrecisionAroundTheEpoch)
{
    const QDateTime samples[] = {
        QDateTime(QDate(1899, 12, 29), QTime(23, 59, 59), Qt::UTC),
        QDateTime(QDate(1899, 12, 30), QTime(0, 0, 1), Qt::UTC),
        QDateTime(QDate(1850, 6, 15), QTime(13, 14, 15), Qt::UTC),
        QDateTime(QDate(2026, 3, 29), QTime(2, 30, 0), Qt::UTC),
        QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC),
        QDateTime(QDate(100, 1, 1), QTime(0, 0, 1), Qt::UTC),
    };
    for (const QDateTime& dt : samples) {
        const Date d = Date::fromQDateTime(dt);
        EXPECT_EQ(d.toQDateTime(), dt) << dt.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(d.value() < 0, dt.date() < QDate(1899, 12, 30)) << "sign follows the day";
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
