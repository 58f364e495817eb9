// SPDX-License-Identifier: MIT
#include "CaseTable.h"
#include "ErrorOf.h"
#include "automation/SafeArray.h"
#include "automation/Variant.h"

#include <QLocale>

#include <ctime>
#include <limits>

#include <gtest/gtest.h>

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

// The Variant of a table's row: a VarType name in column i, its value in the next; Null for any other name.
Variant variantOf(const CaseRow& c, qsizetype i)
{
    const QString& t = c[i];
    const QString& v = c[i + 1];
    return t == QLatin1String("Double")    ? Variant(v.toDouble())
           : t == QLatin1String("Single")  ? Variant(v.toFloat())
           : t == QLatin1String("Long")    ? Variant(std::int32_t(v.toInt()))
           : t == QLatin1String("Integer") ? Variant(std::int16_t(v.toShort()))
           : t == QLatin1String("Boolean") ? Variant(v == QLatin1String("True"))
           : t == QLatin1String("String")  ? Variant(v)
                                           : Variant::null();
}

} // namespace

// Integers of Python's values (halves to even, True, None, dates, text, overflow) show in tests/python's
// test_python_values_reach_the_declared_type_by_the_classic_rules and its table of errors.
TEST(VariantConversion, IntegerAndLongRoundHalfToEvenAndCheckTheirRange)
{
    for (const CaseRow& c : caseTable("variant-integer-long.tsv", 5)) {
        const Variant input = variantOf(c, 0);
        std::int32_t got = 0;
        const int error = errorOf([&] { got = c[2] == QLatin1String("Long") ? input.toLong() : input.toInteger(); });
        EXPECT_EQ(error, c.integer(4)) << c.where;
        if (c.integer(4) == 0) {
            EXPECT_EQ(got, c.integer(3)) << c.where;
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
    // ISO dates, near misses and their range are BasicText.IsoDatesExactlyAsWritten's: here the user's patterns.
    for (const CaseRow& c : caseTable("variant-dates-en-US.tsv", 3)) {
        Date got;
        EXPECT_EQ(errorOf([&] { got = Variant(c[0]).toDate(); }), c.integer(2)) << c.where;
        if (c.integer(2) == 0) {
            EXPECT_EQ(got.toQDateTime().toString(Qt::ISODate).toStdString(),
                      QDateTime::fromString(c[1], Qt::ISODate).toString(Qt::ISODate).toStdString()) << c.where;
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
