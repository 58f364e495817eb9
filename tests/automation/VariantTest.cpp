#include "ErrorOf.h"
#include "automation/SafeArray.h"
#include "automation/Variant.h"

#include <QLocale>

#include <ctime>
#include <limits>

#include <gtest/gtest.h>

using namespace vxRecInfo;
using vxRecInfo::testing::errorOf;

// Integers of Python's values (halves to even, True, None, dates, text, overflow) show in tests/python's
// test_python_values_reach_the_declared_type_by_the_classic_rules and its table of errors.
TEST(VariantConversion, IntegerAndLongRoundHalfToEvenAndCheckTheirRange)
{
    struct Case {
        Variant input;
        bool toLong;           // else toInteger
        std::int32_t expected; // ignored when error != 0
        int error;
    };
    const Case cases[] = {
        {-2.5, false, -2, 0},
        {32767.4, false, 32767, 0},
        {32767.5, false, 0, Err::Overflow},
        {-32768.5, false, -32768, 0},
        {std::int32_t(-40000), false, 0, Err::Overflow},
        {Variant(" 12 "), false, 12, 0},
        {Variant("2.5"), false, 2, 0},
        {Variant("&HFFFF"), false, -1, 0},
        {false, false, 0, 0},
        {Variant::null(), false, 0, Err::InvalidUseOfNull},
        {40000, true, 40000, 0},
        {2147483647.0, true, 2147483647, 0},
        {2147483647.5, true, 0, Err::Overflow},
        {-2147483648.5, true, -2147483648, 0},
        {Variant("1E3"), true, 1000, 0},
        {Variant("-17"), true, -17, 0},
        {Variant("&HFFFFFFFF"), true, -1, 0},
        {Variant("12abc"), true, 0, Err::TypeMismatch},
        {std::int16_t(-7), true, -7, 0},
        {502.0f, true, 502, 0},
    };
    for (const Case& c : cases) {
        std::int32_t got = 0;
        const int error = errorOf([&] { got = c.toLong ? c.input.toLong() : c.input.toInteger(); });
        EXPECT_EQ(error, c.error) << (c.toLong ? "Long of " : "Integer of ") << c.input.toString().toStdString();
        if (c.error == 0) {
            EXPECT_EQ(got, c.expected) << (c.toLong ? "Long of " : "Integer of ") << c.input.toString().toStdString();
        }
    }
}

TEST(VariantConversion, BooleanIsNotZeroAndReadsTheWords)
{
    const std::pair<Variant, bool> cases[] = {{0.0, false},   {0.1, true},  {std::int32_t(-5), true}, {"False", false},
                                              {"true", true}, {"0", false}, {"2", true},              {{}, false}};
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(input.toBool(), expected) << input.toString().toStdString();
    EXPECT_EQ(errorOf([] { (void)Variant("maybe").toBool(); }), Err::TypeMismatch);
}

TEST(VariantConversion, SingleAndDoubleOverflowAndNoNumbers)
{
    EXPECT_EQ(errorOf([] { (void)Variant(1e39).toSingle(); }), Err::Overflow);
    // Not a number is refused as infinity is, whatever type holds it and whatever it becomes.
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    for (const Variant& v : {Variant(nan), Variant(float(nan)), Variant(inf), Variant(float(-inf))})
        for (const VarType t : {VarType::Single, VarType::Double, VarType::Integer, VarType::Long, VarType::Date,
                                VarType::Boolean})
            EXPECT_EQ(errorOf([&] { (void)v.convertTo(t); }), Err::Overflow) << v.toString().toStdString() << " to "
                                                                              << typeName(t).toStdString();
    EXPECT_FLOAT_EQ(Variant("72.4").toSingle(), 72.4f);
    EXPECT_EQ(errorOf([] { (void)Variant("7 2").toDouble(); }), Err::TypeMismatch);
    EXPECT_EQ(errorOf([] { (void)Variant(Variant::nothing()).toDouble(); }), Err::TypeMismatch);
    EXPECT_DOUBLE_EQ(Variant(Date(1.25)).toDouble(), 1.25);
}

TEST(VariantConversion, StringOfNumbersBooleansAndEmpty)
{
    // A Single shows its 7 digits, not its binary tail.
    const std::pair<Variant, const char*> cases[] = {
        {72.4f, "72.4"}, {1.0 / 3.0, "0.333333333333333"}, {std::int32_t(-5), "-5"}, {12.0, "12"}, {1e15, "1E+15"},
        {123456789012345.0, "123456789012345"}, {0.000015, "1.5E-05"}, {-0.5, "-0.5"}, {true, "True"},
        {false, "False"}, {{}, ""}};
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(input.toString().toStdString(), expected);
    EXPECT_EQ(errorOf([] { (void)Variant::null().toString(); }), Err::InvalidUseOfNull);
}

TEST(VariantConversion, DateFromTextAndNumbers)
{
    EXPECT_EQ(Variant(45000.5).toDate(), Date(45000.5));
    EXPECT_EQ(errorOf([] { (void)Variant(1e9).toDate(); }), Err::Overflow);

    const QLocale saved;
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    // A zone with a daylight-saving gap: an automation date has no zone, so 2:30 AM exists.
    const QByteArray savedZone = qgetenv("TZ");
    qputenv("TZ", "America/New_York");
    tzset();
    struct Case { const char* text; QDateTime expected; int error; };
    // ISO dates, near misses and their range are BasicText.IsoDatesExactlyAsWritten's: here the user's patterns.
    const Case cases[] = {
        {"3/8/2026 2:30:00 AM", QDateTime(QDate(2026, 3, 8), QTime(2, 30), Qt::UTC), 0},
        {"12/31/9999 11:59 PM", QDateTime(QDate(9999, 12, 31), QTime(23, 59), Qt::UTC), 0},
        {"3/1/29", QDateTime(QDate(2029, 3, 1), QTime(0, 0), Qt::UTC), 0},
        {"3/1/30", QDateTime(QDate(1930, 3, 1), QTime(0, 0), Qt::UTC), 0},
        {"2026-03-01T09:30:15+01:00", {}, Err::TypeMismatch},
        {"2026-03-01 trailing", {}, Err::TypeMismatch},
        {"3/1/2026 9:00:00 AM xyz", {}, Err::TypeMismatch},
        {"9:00:00 AM", {}, Err::TypeMismatch},
        {"not a date", {}, Err::TypeMismatch},
        {"12/31/0099", {}, Err::Overflow},
    };
    for (const Case& c : cases) {
        Date got;
        EXPECT_EQ(errorOf([&] { got = Variant(c.text).toDate(); }), c.error) << c.text;
        if (c.error == 0) {
            EXPECT_EQ(got.toQDateTime().toString(Qt::ISODate).toStdString(),
                      c.expected.toString(Qt::ISODate).toStdString()) << c.text;
        }
    }
    savedZone.isNull() ? qunsetenv("TZ") : qputenv("TZ", savedZone);
    tzset();
    QLocale::setDefault(saved);
}

TEST(VariantConversion, ArraysConvertOnlyToTheirOwnType)
{
    const Variant integers(SafeArray::fromValues(VarType::Integer, {std::int16_t(1), std::int16_t(2)}));
    EXPECT_EQ(integers.convertTo(arrayOf(VarType::Integer)), integers);
    EXPECT_EQ(errorOf([&] { (void)integers.convertTo(arrayOf(VarType::Long)); }), Err::TypeMismatch);
    EXPECT_EQ(errorOf([&] { (void)integers.toLong(); }), Err::TypeMismatch);
    EXPECT_EQ(errorOf([] { (void)Variant(std::int16_t(1)).convertTo(arrayOf(VarType::Integer)); }),
              Err::TypeMismatch);
}

TEST(VariantValue, ArrayCopiesAreIndependent)
{
    Variant original(SafeArray::fromValues(VarType::String, {"a", "b"}));
    Variant copy = original;
    copy.array().set(0, "changed");
    EXPECT_EQ(original.array().at(0).toString(), QStringLiteral("a"))
        << "a host's later change would reach a committed record";
    EXPECT_EQ(copy.array().at(0).toString(), QStringLiteral("changed"));
}
