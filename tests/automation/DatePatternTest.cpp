// SPDX-License-Identifier: MIT
#include "CaseTable.h"
#include "automation/DatePattern.h"

#include <gtest/gtest.h>

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

// The first sample whose text differs from QLocale's, both texts; empty when none does. The
// samples hold every date once and every time (24 hours of three minutes and seconds) at least once.
QString firstDifference(const DatePattern& pattern, const QString& source, DatePattern::Of of, const QLocale& locale)
{
    const int minutes[] = {0, 5, 59}, seconds[] = {0, 9, 59};
    int n = 0;
    for (const int year : {100, 999, 2009, 2024, 9999})
        for (int month = 1; month <= 12; ++month)
            for (const int day : {1, 9, 10, 28}) {
                const QDate date(year, month, day);
                const QTime time(n / 3 % 24, minutes[n % 3], seconds[n % 3]);
                ++n;
                QString text;
                const bool ofDate = of == DatePattern::Of::Date;
                ofDate ? pattern.append(text, date) : pattern.append(text, time);
                const QString expected = ofDate ? locale.toString(date, source) : locale.toString(time, source);
                if (text != expected)
                    return text + QStringLiteral(" for ") + expected;
            }
    return {};
}

} // namespace

TEST(DatePattern, WritesFieldsItselfAndLeavesMillisecondsZonesAndOtherDigitsToQLocale)
{
    for (const CaseRow& c : caseTable("date-patterns.tsv", 4)) {
        const QLocale locale(c[0]);
        const DatePattern::Of of = c[2] == QLatin1String("Time") ? DatePattern::Of::Time : DatePattern::Of::Date;
        const DatePattern pattern(c[1], of, locale);
        EXPECT_EQ(pattern.isRead(), c.integer(3) == 1) << c.where;
        EXPECT_EQ(firstDifference(pattern, c[1], of, locale), QString()) << c.where;
    }
}

// Whatever the locale, a date written here reads as QLocale writes it; the languages of the
// string table are written here.
TEST(DatePattern, EveryLocalesOwnPatternsComeOutAsQLocaleWritesThem)
{
    const QList<QLocale> locales = QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    ASSERT_GT(locales.size(), 100);
    for (const QLocale& locale : locales) {
        for (const auto& [source, of] :
             {std::pair{locale.dateFormat(QLocale::ShortFormat), DatePattern::Of::Date},
              {locale.dateFormat(QLocale::LongFormat), DatePattern::Of::Date},
              {locale.timeFormat(QLocale::ShortFormat), DatePattern::Of::Time},
              {locale.timeFormat(QLocale::LongFormat), DatePattern::Of::Time}}) {
            const DatePattern pattern(source, of, locale);
            ASSERT_EQ(firstDifference(pattern, source, of, locale), QString())
                << locale.name().toStdString() << " " << source.toStdString();
        }
    }
    for (const char* name : {"C", "en_US", "ja_JP", "zh_CN", "es_MX", "fr_CA", "pt_BR", "de_DE"}) {
        const QLocale locale(QString::fromLatin1(name));
        EXPECT_TRUE(DatePattern(locale.dateFormat(QLocale::ShortFormat), DatePattern::Of::Date, locale).isRead()) << name;
        EXPECT_TRUE(DatePattern(locale.timeFormat(QLocale::ShortFormat), DatePattern::Of::Time, locale).isRead()) << name;
    }
}
