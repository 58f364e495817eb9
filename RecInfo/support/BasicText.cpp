#include "BasicText.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>

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

// The locale's long time without a zone name: the unquoted 't' fields go, with their blanks.
QString longTimePattern(const QLocale& locale)
{
    const QString pattern = locale.timeFormat(QLocale::LongFormat);
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

QString basicNumberText(double value, int significantDigits)
{
    if (value == 0.0)
        return QStringLiteral("0");
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("1.#INF") : QStringLiteral("-1.#INF");

    // Mantissa digits and decimal exponent of the value rounded to the significant digits.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", significantDigits - 1, std::fabs(value));
    const QString scientific = QString::fromLatin1(buffer);
    const qsizetype ePos = scientific.indexOf(QLatin1Char('e'));
    const int exponent = scientific.mid(ePos + 1).toInt();
    QString digits = scientific.left(ePos);
    digits.remove(QLatin1Char('.'));
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);

    const QString point = QLocale().decimalPoint();
    QString text;
    if (exponent >= significantDigits || exponent < -4) {
        text = digits.left(1);
        if (digits.size() > 1)
            text += point + digits.mid(1);
        text += QString(QLatin1Char('E')) + QLatin1Char(exponent < 0 ? '-' : '+')
                + QString::number(std::abs(exponent)).rightJustified(2, QLatin1Char('0'));
    } else if (exponent < 0) {
        text = QLatin1Char('0') + point + QString(-exponent - 1, QLatin1Char('0')) + digits;
    } else if (digits.size() <= exponent + 1) {
        text = digits + QString(exponent + 1 - digits.size(), QLatin1Char('0'));
    } else {
        text = digits.left(exponent + 1) + point + digits.mid(exponent + 1);
    }
    return value < 0 ? QLatin1Char('-') + text : text;
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
    if (const QDateTime dt = QDateTime::fromString(trimmed, Qt::ISODate); dt.isValid()) {
        *date = Date::fromQDateTime(dt);
        return true;
    }
    if (const QDate d = QDate::fromString(trimmed, Qt::ISODate); d.isValid()) {
        *date = Date::fromDateTime(d, QTime(0, 0));
        return true;
    }
    const QLocale locale;
    const QString shortDate = widenYear(locale.dateFormat(QLocale::ShortFormat));
    const QStringList dateTimePatterns{
        shortDate + QLatin1Char(' ') + longTimePattern(locale),
        shortDate + QLatin1Char(' ') + locale.timeFormat(QLocale::ShortFormat),
        locale.dateFormat(QLocale::ShortFormat) + QLatin1Char(' ') + locale.timeFormat(QLocale::ShortFormat),
    };
    for (const QString& pattern : dateTimePatterns) {
        const QDateTime dt = locale.toDateTime(trimmed, pattern);
        if (dt.isValid()) {
            *date = Date::fromQDateTime(dt);
            return true;
        }
    }
    for (const QString& pattern : {shortDate, locale.dateFormat(QLocale::ShortFormat)}) {
        const QDate d = locale.toDate(trimmed, pattern);
        if (d.isValid()) {
            *date = Date::fromDateTime(d, QTime(0, 0));
            return true;
        }
    }
    const QTime t = locale.toTime(trimmed, longTimePattern(locale));
    if (t.isValid()) {
        *date = Date::fromDateTime(QDate(1899, 12, 30), t);
        return true;
    }
    return false;
}

} // namespace vxRecInfo
