#include "BasicFormat.h"

#include "automation/BasicText.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace vxRecInfo {

namespace {

// One section of a pattern, taken apart.
struct Section {
    QString text;             // the section as written
    int integerPlaces = 0;    // digit placeholders before the decimal point
    int integerZeros = 0;     // digits always shown before the point
    int fractionPlaces = 0;   // digit placeholders after the decimal point
    int fractionZeros = 0;    // digits always shown after the point
    bool grouping = false;    // a separator between integer placeholders
    int scaleThousands = 0;   // separators right after the last integer placeholder
    bool percent = false;
    bool scientific = false;  // an E+, E-, e+ or e- code
    int exponentZeros = 0;    // exponent digits always shown
    bool understood = true;
};

bool isPlaceholder(QChar c) { return c == QLatin1Char('0') || c == QLatin1Char('#'); }

// Length of the scientific code at i: E+, E-, e+ or e- and the exponent's digit placeholders;
// 0 when there is none (an E without placeholders after its sign is just a letter).
qsizetype exponentCodeLength(const QString& t, qsizetype i)
{
    if (t[i] != QLatin1Char('E') && t[i] != QLatin1Char('e'))
        return 0;
    if (i + 1 >= t.size() || (t[i + 1] != QLatin1Char('+') && t[i + 1] != QLatin1Char('-')))
        return 0;
    qsizetype end = i + 2;
    while (end < t.size() && isPlaceholder(t[end]))
        ++end;
    return end > i + 2 ? end - i : 0;
}

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

// A section is not understood when it holds an unquoted, unescaped letter that is no
// scientific code: letters are date and time codes in the classic Format, and a number shown
// through them would only spill digits into the text. Quoted text, \x escapes and the other
// characters ($ - + ( ) blanks %) stand as literals.
Section analyse(const QString& text)
{
    Section s;
    s.text = text;
    bool quoted = false;
    bool afterPoint = false;
    bool afterExponent = false; // placeholders and separators there are the exponent's or nothing
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
        if (const qsizetype code = afterExponent ? 0 : exponentCodeLength(text, i); code > 0) {
            s.scientific = afterExponent = true;
            s.exponentZeros = int(text.mid(i + 2, code - 2).count(QLatin1Char('0')));
            i += code - 1;
        } else if (c.isLetter()) {
            s.understood = false;
        } else if (c == QLatin1Char('%')) {
            s.percent = true;
        } else if (afterExponent) {
            // literals only
        } else if (c == QLatin1Char('.') && !afterPoint) {
            afterPoint = true;
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
    if (s.scientific && s.integerPlaces + s.fractionPlaces == 0)
        s.understood = false;
    return s;
}

// Shown digits: integer digits (no leading zeros), fraction digits, and the exponent of a
// scientific section.
struct Digits {
    QString integer;
    QString fraction;
    bool zero = true;
    int exponent = 0;
};

// Mantissa digits of |value| at `significant` digits, and its decimal exponent.
QString significantDigits(double value, int significant, int* exponent)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", significant - 1, std::fabs(value));
    const QString text = QString::fromLatin1(buffer);
    const qsizetype ePos = text.indexOf(QLatin1Char('e'));
    *exponent = text.mid(ePos + 1).toInt();
    QString mantissa = text.left(ePos);
    mantissa.remove(QLatin1Char('.'));
    return mantissa;
}

// The first `keep` of `digits` (0s after their end), rounded half up on the next digit, which
// is half away from zero for a magnitude. *carried: the rounding ran past the first digit
// (999 became 000).
QString roundedDigits(QString digits, qsizetype keep, bool* carried)
{
    if (digits.size() < keep + 1)
        digits += QString(keep + 1 - digits.size(), QLatin1Char('0'));
    QString kept = digits.left(keep);
    *carried = false;
    if (digits[keep] < QLatin1Char('5'))
        return kept;
    for (qsizetype i = keep - 1; i >= 0; --i) {
        if (kept[i] != QLatin1Char('9')) {
            kept[i] = QChar(kept[i].unicode() + 1);
            return kept;
        }
        kept[i] = QLatin1Char('0');
    }
    *carried = true;
    return kept;
}

Digits splitAtPoint(const QString& kept, qsizetype pointAt)
{
    Digits d;
    d.integer = kept.left(pointAt);
    d.fraction = kept.mid(pointAt);
    while (d.integer.startsWith(QLatin1Char('0')))
        d.integer.remove(0, 1);
    d.zero = d.integer.isEmpty()
        && std::all_of(d.fraction.cbegin(), d.fraction.cend(), [](QChar c) { return c == QLatin1Char('0'); });
    return d;
}

// |value| rounded to `decimals` places, starting from its text at `significant` digits.
Digits roundDecimal(double value, int decimals, int significant)
{
    int exponent = 0;
    QString all = significantDigits(value, significant, &exponent);
    // All digits with the point after position `pointAt`.
    int pointAt = exponent + 1;
    if (pointAt <= 0) {
        all = QString(-pointAt + 1, QLatin1Char('0')) + all;
        pointAt = 1;
    }
    bool carried = false;
    QString kept = roundedDigits(all, pointAt + decimals, &carried);
    if (carried) {
        kept.prepend(QLatin1Char('1'));
        ++pointAt;
    }
    return splitAtPoint(kept, pointAt);
}

// |value| as a mantissa of `integerPlaces` integer digits (the first one not 0) and
// `fractionPlaces` fraction digits, and the exponent that goes with it: more integer
// placeholders move the point to the right (1234.5 with "00.0E+00" is 12.3E+02).
Digits roundScientific(double value, int integerPlaces, int fractionPlaces, int significant)
{
    const int places = integerPlaces + fractionPlaces;
    if (value == 0.0)
        return splitAtPoint(QString(places, QLatin1Char('0')), integerPlaces);
    int exponent = 0;
    bool carried = false;
    QString kept = roundedDigits(significantDigits(value, significant, &exponent), places, &carried);
    if (carried) {
        kept = QLatin1Char('1') + kept.left(places - 1);
        ++exponent;
    }
    Digits d = splitAtPoint(kept, integerPlaces);
    d.exponent = exponent - integerPlaces + 1;
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
    const Digits d = s.scientific ? roundScientific(v, s.integerPlaces, s.fractionPlaces, significant)
                                  : roundDecimal(v, s.fractionPlaces, significant);
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
    bool afterExponent = false;
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
        if (const qsizetype code = afterExponent ? 0 : exponentCodeLength(t, i); code > 0) {
            // E- shows a sign only for a negative exponent; the 0s are the fewest digits.
            afterExponent = true;
            out += c;
            if (d.exponent < 0 || t[i + 1] == QLatin1Char('+'))
                out += QLatin1Char(d.exponent < 0 ? '-' : '+');
            out += QString::number(std::abs(d.exponent)).rightJustified(std::max(s.exponentZeros, 1), QLatin1Char('0'));
            i += code - 1;
        } else if (afterExponent && (isPlaceholder(c) || c == QLatin1Char('.') || c == QLatin1Char(','))) {
            if (!isPlaceholder(c))
                out += c;
        } else if (isPlaceholder(c)) {
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

QString format(double value, const QString& pattern, int significant);

// Currency: the locale's currency decimals, symbol and sign placement, read off Qt's currency
// texts of 1 and -1; the digits are rounded and grouped as in every other pattern.
QString currencyText(double value, int significant)
{
    const QLocale locale;
    const QString one = locale.toCurrencyString(1.0);
    int decimals = 0;
    while (decimals < 4 && one.contains(locale.toString(1.0, 'f', decimals + 1)))
        ++decimals;
    QString pattern = QStringLiteral("#,##0");
    if (decimals > 0)
        pattern += QLatin1Char('.') + QString(decimals, QLatin1Char('0'));
    bool shownZero = false;
    const QString digits = render(analyse(pattern), std::fabs(value), significant, &shownZero);
    const QString sample = locale.toCurrencyString(value < 0 && !shownZero ? -1.0 : 1.0);
    const QString sampleDigits = locale.toString(1.0, 'f', decimals);
    const qsizetype at = sample.indexOf(sampleDigits);
    if (at < 0)
        return locale.toCurrencyString(value);
    return sample.left(at) + digits + sample.mid(at + sampleDigits.size());
}

// The named formats, matched case-insensitively; nothing for any other pattern.
std::optional<QString> namedFormat(double value, const QString& name, int significant)
{
    const auto is = [&](const char* named) { return name.compare(QLatin1String(named), Qt::CaseInsensitive) == 0; };
    if (is("General Number"))
        return basicNumberText(value, significant);
    if (is("Currency"))
        return currencyText(value, significant);
    static const std::pair<const char*, const char*> patterns[] = {
        {"Fixed", "0.00"}, {"Standard", "#,##0.00"}, {"Percent", "0.00%"}, {"Scientific", "0.00E+00"}};
    for (const auto& [named, pattern] : patterns)
        if (is(named))
            return format(value, QLatin1String(pattern), significant);
    struct Words { const char* name; const char* other; const char* zero; };
    static const Words words[] = {{"Yes/No", "Yes", "No"}, {"True/False", "True", "False"}, {"On/Off", "On", "Off"}};
    for (const Words& w : words)
        if (is(w.name))
            return QLatin1String(value == 0 ? w.zero : w.other);
    return std::nullopt;
}

QString format(double value, const QString& pattern, int significant)
{
    // A NaN or infinite reading has no digits to lay out.
    if (pattern.isEmpty() || !std::isfinite(value))
        return basicNumberText(value, significant);
    if (const auto named = namedFormat(value, pattern, significant))
        return *named;
    QList<Section> sections;
    for (const QString& text : splitSections(pattern).mid(0, 3))
        sections.append(analyse(text));
    // Without a digit placeholder in the first section there is no number to show; the
    // negative and zero sections may be literals alone ("zero").
    const bool understood = sections[0].integerPlaces + sections[0].fractionPlaces > 0
        && std::all_of(sections.cbegin(), sections.cend(), [](const Section& s) { return s.understood; });
    if (!understood)
        return basicNumberText(value, significant);
    const bool negative = value < 0;
    const Section* section = &sections[0];
    if (value == 0 && sections.size() >= 3 && !sections[2].text.isEmpty())
        section = &sections[2];
    else if (negative && sections.size() >= 2 && !sections[1].text.isEmpty())
        section = &sections[1];
    bool shownZero = false;
    const QString text = render(*section, std::fabs(value), significant, &shownZero);
    // The negative section writes its own sign; a negative value that rounds to nothing shows none.
    return section == &sections[0] && negative && !shownZero ? QLatin1Char('-') + text : text;
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
