// SPDX-License-Identifier: MIT
#include "BasicText.h"

#include "RuntimeError.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace vxRecInfo {

namespace {

bool parseRadix(QStringView digits, int radix, double* value)
{
    if (digits.isEmpty())
        return false;
    bool ok = false;
    const qulonglong raw = digits.toULongLong(&ok, radix);
    if (!ok || raw > 0xFFFFFFFFull)
        return false;
    // &HFFFF is an Integer (-1) and &HFFFFFFFF a Long (-1), as the Basic literal rules go.
    const qsizetype shortDigits = radix == 16 ? 4 : 6;
    if (digits.size() <= shortDigits && raw <= 0xFFFFull)
        *value = static_cast<std::int16_t>(static_cast<std::uint16_t>(raw));
    else
        *value = static_cast<std::int32_t>(static_cast<std::uint32_t>(raw));
    return true;
}

// Qt's short patterns carry two-digit years; desktop regional settings show four.
QString widenYear(QString pattern)
{
    if (!pattern.contains(QLatin1String("yyyy")))
        pattern.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return pattern;
}

// A Qt date or time pattern without its unquoted 't' (zone) fields and their blanks.
QString withoutZone(const QString& pattern)
{
    QString out;
    bool quoted = false;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        out += c;
    }
    return out.simplified();
}

// The locale's long time without a zone name.
QString longTimePattern(const QLocale& locale)
{
    return withoutZone(locale.timeFormat(QLocale::LongFormat));
}

// The automation date of a calendar date and time; Overflow outside 1 January 100 to
// 31 December 9999, as CDate gives.
Date dateInRange(QDate date, QTime time)
{
    if (date < QDate(100, 1, 1) || date > QDate(9999, 12, 31))
        throw RuntimeError(Err::Overflow);
    return Date::fromDateTime(date, time);
}

// Two ASCII digits at text[at], or -1.
int twoDigits(QStringView text, qsizetype at)
{
    const char16_t a = text[at].unicode();
    const char16_t b = text[at + 1].unicode();
    if (a < u'0' || a > u'9' || b < u'0' || b > u'9')
        return -1;
    return (a - u'0') * 10 + (b - u'0');
}

// "YYYY-MM-DD" or "YYYY-MM-DDThh:mm:ss" and nothing else: no zone, no fraction of a second,
// no hour 24 (Qt's ISO reader takes all of these, and a date with any text after it). The
// text comes trimmed.
bool parseIsoDate(QStringView text, Date* date)
{
    const qsizetype n = text.size();
    if (n != 10 && n != 19)
        return false;
    const int century = twoDigits(text, 0);
    const int years = twoDigits(text, 2);
    const int month = text[4] == u'-' ? twoDigits(text, 5) : -1;
    const int day = text[7] == u'-' ? twoDigits(text, 8) : -1;
    if (century < 0 || years < 0 || month < 0 || day < 0)
        return false;
    const int year = century * 100 + years;
    int hour = 0, minute = 0, second = 0;
    if (n == 19) {
        if (text[10] != u'T' || text[13] != u':' || text[16] != u':')
            return false;
        hour = twoDigits(text, 11);
        minute = twoDigits(text, 14);
        second = twoDigits(text, 17);
        if (hour < 0 || minute < 0 || second < 0)
            return false;
    }
    // Year 0 is no QDate, but a leap year of the calendar: a real date, outside the range.
    if (!QDate::isValid(year == 0 ? 2000 : year, month, day))
        return false;
    if (!QTime::isValid(hour, minute, second))
        return false;
    if (year == 0)
        throw RuntimeError(Err::Overflow);
    *date = dateInRange(QDate(year, month, day), QTime(hour, minute, second));
    return true;
}

} // namespace

bool parseBasicNumber(const QString& text, double* value)
{
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(QLatin1String("&H"), Qt::CaseInsensitive))
        return parseRadix(QStringView(trimmed).mid(2), 16, value);
    if (trimmed.startsWith(QLatin1String("&O"), Qt::CaseInsensitive))
        return parseRadix(QStringView(trimmed).mid(2), 8, value);

    const QLocale locale;
    QString plain = trimmed;
    const QString group = locale.groupSeparator();
    if (!group.isEmpty() && group != locale.decimalPoint())
        plain.remove(group);
    plain.replace(locale.decimalPoint(), QLatin1String("."));
    plain.replace(QLatin1Char('d'), QLatin1Char('e'));
    plain.replace(QLatin1Char('D'), QLatin1Char('e'));

    static const QRegularExpression number(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    if (!number.match(plain).hasMatch())
        return false;
    bool ok = false;
    const double parsed = plain.toDouble(&ok);
    if (!ok && !std::isinf(parsed))
        return false;
    *value = parsed;
    return true;
}

std::string mantissaDigits(double value, int significant, int* exponent)
{
    // std::to_chars gives the digits printf's %.*e gives, faster.
    char buffer[64];
    const char* const end =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific, significant - 1).ptr;
    const char* const e = std::find(static_cast<const char*>(buffer), end, 'e');
    std::from_chars(e + 2, end, *exponent); // "e+05", "e-12"
    if (e[1] == '-')
        *exponent = -*exponent;
    std::string digits;
    for (const char* p = buffer; p < e; ++p)
        if (*p != '.')
            digits.push_back(*p);
    return digits;
}

QString basicNumberText(double value, int significantDigits)
{
    if (value == 0.0)
        return QStringLiteral("0");
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("1.#INF") : QStringLiteral("-1.#INF");

    int exponent = 0;
    std::string digits = mantissaDigits(value, significantDigits, &exponent);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    const auto latin1 = [](const std::string& d, std::size_t from, std::size_t count = std::string::npos) {
        const std::size_t n = std::min(count, d.size() - std::min(from, d.size()));
        return QLatin1StringView(d.data() + std::min(from, d.size()), qsizetype(n));
    };

    const QString& point = userDecimalPoint();
    QString text;
    text.reserve(qsizetype(digits.size()) + 12);
    if (value < 0)
        text.append(QLatin1Char('-'));
    const int size = int(digits.size());
    if (exponent >= significantDigits || exponent < -4) {
        text.append(latin1(digits, 0, 1));
        if (size > 1)
            text.append(point).append(latin1(digits, 1));
        char tail[16];
        std::snprintf(tail, sizeof tail, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        text.append(QLatin1StringView(tail));
    } else if (exponent < 0) {
        text.append(QLatin1Char('0')).append(point).append(QString(-exponent - 1, QLatin1Char('0'))).append(latin1(digits, 0));
    } else if (size <= exponent + 1) {
        text.append(latin1(digits, 0)).append(QString(exponent + 1 - size, QLatin1Char('0')));
    } else {
        text.append(latin1(digits, 0, std::size_t(exponent + 1))).append(point).append(latin1(digits, std::size_t(exponent + 1)));
    }
    return text;
}

const QString& userDecimalPoint()
{
    struct Kept {
        QLocale locale;
        QString point;
        bool ready = false;
    };
    thread_local Kept kept;
    const QLocale locale;
    if (!kept.ready || locale != kept.locale) {
        kept.point = locale.decimalPoint();
        kept.locale = locale;
        kept.ready = true;
    }
    return kept.point;
}

QString basicBooleanText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString shortDateText(QDate date)
{
    const QLocale locale;
    return locale.toString(date, widenYear(locale.dateFormat(QLocale::ShortFormat)));
}

void DatePatterns::appendDateAndTime(QString& out, Date value)
{
    const QLocale locale;
    if (!m_ready || locale != m_locale) {
        m_date = DatePattern(widenYear(locale.dateFormat(QLocale::ShortFormat)), DatePattern::Of::Date, locale);
        m_time = DatePattern(longTimePattern(locale), DatePattern::Of::Time, locale);
        m_locale = locale;
        m_ready = true;
    }
    m_date.append(out, value.date());
    out.append(QLatin1StringView("  "));
    m_time.append(out, value.time());
}

QString longTimeText(QTime time)
{
    const QLocale locale;
    return locale.toString(time, longTimePattern(locale));
}

QString generalDateText(Date date)
{
    const double whole = std::trunc(date.value());
    const bool hasTime = date.value() != whole && date.time() != QTime(0, 0);
    if (whole == 0.0 && hasTime)
        return longTimeText(date.time());
    if (!hasTime)
        return shortDateText(date.date());
    return shortDateText(date.date()) + QLatin1Char(' ') + longTimeText(date.time());
}

QString basicTrim(const QString& text)
{
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && text[start] == QLatin1Char(' '))
        ++start;
    while (end > start && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.mid(start, end - start);
}

double basicVal(const QString& text)
{
    QString compact = text;
    compact.remove(QLatin1Char(' '));
    compact.remove(QLatin1Char('\t'));
    static const QRegularExpression leadingNumber(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eEdD][+-]?\\d+)?"));
    const QRegularExpressionMatch match = leadingNumber.match(compact);
    if (!match.hasMatch())
        return 0.0;
    QString number = match.captured(0);
    number.replace(QLatin1Char('d'), QLatin1Char('e')).replace(QLatin1Char('D'), QLatin1Char('e'));
    return number.toDouble();
}

bool parseBasicDate(const QString& text, Date* date)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    if (parseIsoDate(trimmed, date))
        return true;
    const QLocale locale;
    const QString qtShortDate = locale.dateFormat(QLocale::ShortFormat);
    const QString shortDate = widenYear(qtShortDate);
    const QString shortTime = withoutZone(locale.timeFormat(QLocale::ShortFormat));
    const QStringList patterns{
        shortDate + QLatin1Char(' ') + longTimePattern(locale),
        shortDate + QLatin1Char(' ') + shortTime,
        qtShortDate + QLatin1Char(' ') + shortTime,
        shortDate,
        qtShortDate,
    };
    // Read as UTC: an automation date has no zone, so a time in the local daylight-saving gap
    // is as real as any other. Qt's reader takes only the whole text, so nothing may follow.
    for (const QString& pattern : patterns) {
        const QDateTime dt = locale.toDateTime(trimmed + QLatin1String(" UTC"), pattern + QLatin1String(" t"));
        if (!dt.isValid())
            continue;
        QDate day = dt.date();
        // Two-digit years run from 1930 to 2029, as the desktop's default window has them.
        if (!pattern.contains(QLatin1String("yyyy")) && day.year() < 1930)
            day = day.addYears(100);
        *date = dateInRange(day, dt.time());
        return true;
    }
    return false;
}

} // namespace vxRecInfo
