#include "BasicFormat.h"

#include "BasicText.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vxRecInfo {

namespace {

// One section of a pattern, taken apart.
struct Section {
    QString text;             // the section as written
    int integerPlaces = 0;    // digit placeholders before the decimal point
    int integerZeros = 0;     // digits always shown before the point
    int fractionPlaces = 0;   // digit placeholders after the decimal point
    int fractionZeros = 0;    // digits always shown after the point
    bool hasPoint = false;
    bool grouping = false;    // a separator between integer placeholders
    int scaleThousands = 0;   // separators right after the last integer placeholder
    bool percent = false;
};

bool isPlaceholder(QChar c) { return c == QLatin1Char('0') || c == QLatin1Char('#'); }

// Splits at ';' outside quotes and escapes.
QStringList splitSections(const QString& pattern)
{
    QStringList sections{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('\\') && i + 1 < pattern.size()) {
            sections.last() += c;
            sections.last() += pattern[++i];
            continue;
        }
        if (!quoted && c == QLatin1Char(';')) {
            sections.append(QString());
            continue;
        }
        sections.last() += c;
    }
    return sections;
}

Section analyse(const QString& text)
{
    Section s;
    s.text = text;
    bool quoted = false;
    bool afterPoint = false;
    int pendingSeparators = 0;
    int firstZero = -1; // integer placeholder index of the first 0
    int lastFractionZero = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            continue;
        }
        if (quoted)
            continue;
        if (c == QLatin1Char('\\')) {
            ++i;
            continue;
        }
        if (c == QLatin1Char('%')) {
            s.percent = true;
        } else if (c == QLatin1Char('.') && !afterPoint) {
            afterPoint = true;
            s.hasPoint = true;
            s.scaleThousands += pendingSeparators;
            pendingSeparators = 0;
        } else if (c == QLatin1Char(',') && !afterPoint && s.integerPlaces > 0) {
            ++pendingSeparators;
        } else if (isPlaceholder(c)) {
            if (afterPoint) {
                if (c == QLatin1Char('0'))
                    lastFractionZero = s.fractionPlaces;
                ++s.fractionPlaces;
            } else {
                if (pendingSeparators > 0)
                    s.grouping = true;
                pendingSeparators = 0;
                if (c == QLatin1Char('0') && firstZero < 0)
                    firstZero = s.integerPlaces;
                ++s.integerPlaces;
            }
        }
    }
    s.scaleThousands += pendingSeparators;
    s.integerZeros = firstZero < 0 ? 0 : s.integerPlaces - firstZero;
    s.fractionZeros = lastFractionZero + 1;
    return s;
}

// Decimal digits of |value| rounded half away from zero to `decimals` places, starting from
// its text at `significant` digits: integer digits and fraction digits.
struct Digits {
    QString integer;
    QString fraction;
    bool zero = true;
};

Digits roundDecimal(double value, int decimals, int significant)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, std::fabs(value));
    const QString text = QString::fromLatin1(buffer);
    const qsizetype ePos = text.indexOf(QLatin1Char('e'));
    int exponent = text.mid(ePos + 1).toInt();
    QString mantissa = text.left(ePos);
    mantissa.remove(QLatin1Char('.'));

    // All digits with the point after position `pointAt`.
    QString all = mantissa;
    int pointAt = exponent + 1;
    if (pointAt <= 0) {
        all = QString(-pointAt + 1, QLatin1Char('0')) + all;
        pointAt = 1;
    }
    if (all.size() < pointAt + decimals + 1)
        all += QString(pointAt + decimals + 1 - all.size(), QLatin1Char('0'));

    QString kept = all.left(pointAt + decimals);
    const bool roundUp = all[pointAt + decimals] >= QLatin1Char('5');
    if (roundUp) {
        qsizetype i = kept.size() - 1;
        for (; i >= 0; --i) {
            if (kept[i] == QLatin1Char('9')) {
                kept[i] = QLatin1Char('0');
            } else {
                kept[i] = QChar(kept[i].unicode() + 1);
                break;
            }
        }
        if (i < 0) {
            kept.prepend(QLatin1Char('1'));
            ++pointAt;
        }
    }
    Digits d;
    d.integer = kept.left(pointAt);
    d.fraction = kept.mid(pointAt);
    while (d.integer.size() > 1 && d.integer.startsWith(QLatin1Char('0')))
        d.integer.remove(0, 1);
    if (d.integer == QLatin1String("0"))
        d.integer.clear();
    d.zero = d.integer.isEmpty()
        && std::all_of(d.fraction.cbegin(), d.fraction.cend(), [](QChar c) { return c == QLatin1Char('0'); });
    return d;
}

QString grouped(const QString& digits, const QString& separator)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out += digits[i];
    }
    return out;
}

QString render(const Section& s, double magnitude, int significant, bool* shownZero)
{
    double v = magnitude;
    if (s.percent)
        v *= 100.0;
    for (int k = 0; k < s.scaleThousands; ++k)
        v /= 1000.0;
    const Digits d = roundDecimal(v, s.fractionPlaces, significant);
    *shownZero = d.zero;

    const QLocale locale;
    QString integer = d.integer;
    if (integer.size() < s.integerZeros)
        integer = QString(s.integerZeros - integer.size(), QLatin1Char('0')) + integer;
    if (s.grouping)
        integer = grouped(integer, locale.groupSeparator());
    QString fraction = d.fraction;
    while (fraction.size() > s.fractionZeros && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);

    // Walk the section: the whole integer text at the first integer placeholder, fraction
    // digits one per placeholder, literals as they stand.
    QString out;
    bool quoted = false;
    bool afterPoint = false;
    bool integerDone = false;
    int fractionIndex = 0;
    const QString& t = s.text;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            continue;
        }
        if (quoted) {
            out += c;
            continue;
        }
        if (c == QLatin1Char('\\')) {
            if (i + 1 < t.size())
                out += t[++i];
            continue;
        }
        if (isPlaceholder(c)) {
            if (!afterPoint) {
                if (!integerDone)
                    out += integer;
                integerDone = true;
            } else {
                if (fractionIndex < fraction.size())
                    out += fraction[fractionIndex];
                ++fractionIndex;
            }
        } else if (c == QLatin1Char('.') && !afterPoint) {
            if (!integerDone)
                out += integer;
            integerDone = true;
            afterPoint = true;
            out += locale.decimalPoint();
        } else if (c == QLatin1Char(',') && !afterPoint) {
            // separators only steer grouping and scaling
        } else {
            out += c;
        }
    }
    return out;
}

QString format(double value, const QString& pattern, int significant)
{
    if (pattern.isEmpty())
        return basicNumberText(value, significant);
    const QStringList sections = splitSections(pattern);
    const bool negative = value < 0;
    if (value == 0 && sections.size() >= 3 && !sections[2].isEmpty()) {
        bool zero = false;
        return render(analyse(sections[2]), 0.0, significant, &zero);
    }
    if (negative && sections.size() >= 2 && !sections[1].isEmpty()) {
        bool zero = false;
        return render(analyse(sections[1]), -value, significant, &zero);
    }
    bool shownZero = false;
    const QString text = render(analyse(sections[0]), std::fabs(value), significant, &shownZero);
    // A negative value that rounds to nothing shows no sign.
    return negative && !shownZero ? QLatin1Char('-') + text : text;
}

} // namespace

QString basicFormat(double value, const QString& pattern)
{
    return format(value, pattern, 15);
}

QString basicFormat(float value, const QString& pattern)
{
    return format(static_cast<double>(value), pattern, 7);
}

} // namespace vxRecInfo
