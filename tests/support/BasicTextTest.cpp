// SPDX-License-Identifier: MIT
#include "support/BasicFormat.h"
#include "automation/BasicText.h"
#include "automation/RuntimeError.h"

#include "CaseTable.h"

#include <QLocale>

#include <cmath>

#include <gtest/gtest.h>

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

// Sets the user's locale for one test.
class LocaleScope
{
public:
    explicit LocaleScope(const char* name) { QLocale::setDefault(QLocale(QString::fromLatin1(name))); }
    ~LocaleScope() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
};

} // namespace

TEST(BasicFormat, PatternsOfTheReport)
{
    LocaleScope english("en_US");
    for (const CaseRow& c : caseTable("basic-format-en-US.tsv", 3))
        EXPECT_EQ(basicFormat(c.number(0), c[1]).toStdString(), c.text(2)) << c.where;
}

TEST(BasicFormat, SinglesRoundAtTheirOwnPrecision)
{
    LocaleScope english("en_US");
    EXPECT_EQ(basicFormat(72.45f, QStringLiteral("0.0")), QStringLiteral("72.5"))
        << "a Single 72.45 is 72.45 to the user, not 72.4499969";
    EXPECT_EQ(basicFormat(double(72.45f), QStringLiteral("0.0")), QStringLiteral("72.4"));
    EXPECT_EQ(basicFormat(72.4f, QStringLiteral("#0.#")), QStringLiteral("72.4"));
    EXPECT_EQ(basicFormat(72.45f, QStringLiteral("0.00E+00")), QStringLiteral("7.25E+01"));
    EXPECT_EQ(basicFormat(72.4f, QStringLiteral("General Number")), QStringLiteral("72.4"));
}

// Patterns of zeros are laid out apart from the rest; an empty literal ("") sends the same
// pattern the general way, which must come out the same for every value.
TEST(BasicFormat, PatternsOfZerosAsTheGeneralLayout)
{
    LocaleScope english("en_US");
    std::vector<double> values{0.0, -0.0, 0.05, 0.15, 0.25, 2.5, 9.95, 99.95, 999.5, -0.04, -0.05, 0.0004999, 1e300,
                               -1e300, 1e-300, 5e-324, 3.4028234663852886e38, 1e15, 123456789012345678.0};
    std::uint64_t state = 26;
    for (int n = 0; n < 20000; ++n) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        const double mantissa = double(state >> 11) / double(1ull << 53);
        const int exponent = int((state >> 3) % 40) - 20;
        values.push_back((state & 1 ? -1 : 1) * mantissa * std::pow(10.0, exponent));
        values.push_back(std::round(mantissa * 2000.0) / 20.0 - 50.0); // halves of the last digit
    }
    for (const char* zeros : {"0", "0.0", "0.00", "00.000", "000", "0.0000000000"}) {
        const QString pattern = QString::fromLatin1(zeros);
        const QString general = QStringLiteral("\"\"") + pattern;
        for (const double v : values) {
            ASSERT_EQ(basicFormat(v, pattern), basicFormat(v, general)) << zeros << " " << v;
            ASSERT_EQ(basicFormat(float(v), pattern), basicFormat(float(v), general)) << zeros << " " << float(v);
        }
    }
}

TEST(BasicFormat, CommaDecimalLocale)
{
    // "0.0" and "#0.#" of values with decimals, and the margins' basicNumberText, show in the French golden reports.
    LocaleScope french("fr_CA");
    EXPECT_EQ(basicFormat(12.0, QStringLiteral("#0.#")), QStringLiteral("12,"));
    double n = 0;
    EXPECT_TRUE(parseBasicNumber(QStringLiteral("2,5"), &n));
    EXPECT_DOUBLE_EQ(n, 2.5);
    EXPECT_EQ(basicFormat(1234.5, QStringLiteral("#,##0.0")), QString::fromUtf16(u"1\u00a0234,5"));
    EXPECT_EQ(basicFormat(1234.5, QStringLiteral("0.0E+00")), QStringLiteral("1,2E+03"));
    EXPECT_EQ(basicFormat(-1234.5, QStringLiteral("Currency")), QString::fromUtf16(u"(1\u00a0234,50\u00a0$)"));
}

TEST(BasicText, NumbersAsClassicBasicWritesThem)
{
    LocaleScope english("en_US");
    const std::tuple<double, int, const char*> cases[] = {
        {72.4f, 7, "72.4"},        {double(72.4f), 15, "72.4000015258789"}, {0.1 + 0.2, 15, "0.3"},
        {-3.5, 15, "-3.5"},        {0.0, 15, "0"},                          {-0.0, 15, "0"},
        {100.0, 15, "100"},        {1234567.0f, 7, "1234567"},              {12345678.0f, 7, "1.234568E+07"}};
    for (const auto& [value, digits, expected] : cases)
        EXPECT_EQ(basicNumberText(value, digits).toStdString(), expected) << value << " to " << digits << " digits";
}

TEST(BasicText, DatesInTheUsersLocale)
{
    // A date with its time in either form shows in the golden reports of tests/data/reports/time.cases.
    LocaleScope english("en_US");
    EXPECT_EQ(generalDateText(Date::fromDateTime(QDate(2026, 3, 1), QTime(0, 0))), QStringLiteral("3/1/2026"));
    EXPECT_EQ(generalDateText(Date(0.375)), QStringLiteral("9:00:00 AM")) << "date part 0 shows the time alone";
    EXPECT_EQ(generalDateText(Date(0)), QStringLiteral("12/30/1899"));
}

TEST(BasicText, ParsesNumbersAndDatesBack)
{
    LocaleScope english("en_US");
    double n = 0;
    EXPECT_TRUE(parseBasicNumber(QStringLiteral(" 1,234.5 "), &n));
    EXPECT_DOUBLE_EQ(n, 1234.5);
    EXPECT_TRUE(parseBasicNumber(QStringLiteral("1.5D2"), &n));
    EXPECT_DOUBLE_EQ(n, 150);
    EXPECT_FALSE(parseBasicNumber(QStringLiteral("1.2.3"), &n));
    EXPECT_FALSE(parseBasicNumber(QStringLiteral("-"), &n));
    Date d; // a date with its long time: VariantConversion.DateFromTextAndNumbers
    EXPECT_TRUE(parseBasicDate(QStringLiteral("2/2/1990"), &d)) << "the report's date threshold is written so";
    EXPECT_EQ(d.date(), QDate(1990, 2, 2));
    // Val reads the leading number; blanks and tabs inside it count for nothing.
    for (const auto& [text, value] : {std::pair{"\t1 2.5 kg", 12.5}, {" -1.5d2x", -150.0}, {"kg 12", 0.0}})
        EXPECT_DOUBLE_EQ(basicVal(QString::fromLatin1(text)), value) << text;
}

// The ISO forms a recordings file uses, read by hand: what is refused here falls through to
// the user's date patterns, so every near miss must be refused exactly.
TEST(BasicText, IsoDatesExactlyAsWritten)
{
    LocaleScope english("en_US");
    const auto outcome = [](const QString& text, Date* got) { // 1 read, 0 refused, or the error
        try {
            return int(parseBasicDate(text, got));
        } catch (const RuntimeError& e) {
            return e.number();
        }
    };
    for (const CaseRow& c : caseTable("iso-dates-en-US.tsv", 3)) {
        Date got;
        EXPECT_EQ(outcome(c[0], &got), c.integer(1)) << c.where;
        if (c.integer(1) == 1) {
            EXPECT_EQ(got, Date::fromDateTime(QDate::fromString(c[2].left(10), Qt::ISODate),
                                              QTime::fromString(c[2].mid(11), Qt::ISODate))) << c.where;
        }
    }
}
