// SPDX-License-Identifier: MIT
#include "BasicFormat.h"

#include "automation/BasicText.h"

#include <QLocale>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

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
// scientific section. ASCII, short: kept out of the heap.
struct Digits {
    std::string integer;
    std::string fraction;
    bool zero = true;
    int exponent = 0;
};

// The first `keep` of `digits` (0s after their end), rounded half up on the next digit, which
// is half away from zero for a magnitude. *carried: the rounding ran past the first digit
// (999 became 000).
std::string roundedDigits(std::string digits, std::size_t keep, bool* carried)
{
    if (digits.size() < keep + 1)
        digits.append(keep + 1 - digits.size(), '0');
    std::string kept = digits.substr(0, keep);
    *carried = false;
    if (digits[keep] < '5')
        return kept;
    for (std::size_t i = keep; i-- > 0;) {
        if (kept[i] != '9') {
            ++kept[i];
            return kept;
        }
        kept[i] = '0';
    }
    *carried = true;
    return kept;
}

Digits splitAtPoint(const std::string& kept, std::size_t pointAt)
{
    Digits d;
    pointAt = std::min(pointAt, kept.size());
    d.integer = kept.substr(0, pointAt);
    d.fraction = kept.substr(pointAt);
    d.integer.erase(0, std::min(d.integer.find_first_not_of('0'), d.integer.size()));
    d.zero = d.integer.empty() && d.fraction.find_first_not_of('0') == std::string::npos;
    return d;
}

// |value| rounded to `decimals` places, starting from its text at `significant` digits.
Digits roundDecimal(double value, int decimals, int significant)
{
    int exponent = 0;
    std::string all = mantissaDigits(value, significant, &exponent);
    // All digits with the point after position `pointAt`.
    int pointAt = exponent + 1;
    if (pointAt <= 0) {
        all.insert(0, std::size_t(-pointAt + 1), '0');
        pointAt = 1;
    }
    bool carried = false;
    std::string kept = roundedDigits(all, std::size_t(pointAt + decimals), &carried);
    if (carried) {
        kept.insert(kept.begin(), '1');
        ++pointAt;
    }
    return splitAtPoint(kept, std::size_t(pointAt));
}

// |value| as a mantissa of `integerPlaces` integer digits (the first one not 0) and
// `fractionPlaces` fraction digits, and the exponent that goes with it: more integer
// placeholders move the point to the right (1234.5 with "00.0E+00" is 12.3E+02).
Digits roundScientific(double value, int integerPlaces, int fractionPlaces, int significant)
{
    const int places = integerPlaces + fractionPlaces;
    if (value == 0.0)
        return splitAtPoint(std::string(std::size_t(places), '0'), std::size_t(integerPlaces));
    int exponent = 0;
    bool carried = false;
    std::string kept = roundedDigits(mantissaDigits(value, significant, &exponent), std::size_t(places), &carried);
    if (carried) {
        kept = '1' + kept.substr(0, std::size_t(places - 1));
        ++exponent;
    }
    Digits d = splitAtPoint(kept, std::size_t(integerPlaces));
    d.exponent = exponent - integerPlaces + 1;
    return d;
}

QString grouped(const std::string& digits, const QString& separator)
{
    QString out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out += QLatin1Char(digits[i]);
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
    std::string digits = d.integer;
    if (digits.size() < std::size_t(s.integerZeros))
        digits.insert(0, std::size_t(s.integerZeros) - digits.size(), '0');
    // The integer digits as they are shown: grouped with the locale's separator, or as they are.
    const QString groupedDigits = s.grouping ? grouped(digits, locale.groupSeparator()) : QString();
    const auto appendInteger = [&](QString& to) {
        if (s.grouping)
            to += groupedDigits;
        else
            to += QLatin1StringView(digits.data(), qsizetype(digits.size()));
    };
    std::string fraction = d.fraction;
    while (fraction.size() > std::size_t(s.fractionZeros) && fraction.back() == '0')
        fraction.pop_back();

    // Walk the section: the whole integer text at the first integer placeholder, fraction
    // digits one per placeholder, literals as they stand.
    QString out;
    out.reserve(s.text.size() + qsizetype(digits.size()) * 2 + 8);
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
                    appendInteger(out);
                integerDone = true;
            } else {
                if (std::size_t(fractionIndex) < fraction.size())
                    out += QLatin1Char(fraction[std::size_t(fractionIndex)]);
                ++fractionIndex;
            }
        } else if (c == QLatin1Char('.') && !afterPoint) {
            if (!integerDone)
                appendInteger(out);
            integerDone = true;
            afterPoint = true;
            out += userDecimalPoint();
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
    // Every name begins with a letter (and only letters fold to one).
    if (!name.front().isLetter())
        return std::nullopt;
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

// Patterns of zeros with or without a point ("0", "0.0", "00.000"), the readings' own: the
// rounded digits laid out directly, as render lays them out for such a pattern, without its walk
// through the pattern. Nothing for any other pattern.
std::optional<QString> zerosFormat(double value, const QString& pattern, int significant)
{
    const qsizetype n = pattern.size();
    qsizetype i = 0;
    while (i < n && pattern[i] == QLatin1Char('0'))
        ++i;
    const int integerZeros = int(i);
    int decimals = 0;
    const bool point = i < n && pattern[i] == QLatin1Char('.');
    if (point)
        for (++i; i < n && pattern[i] == QLatin1Char('0'); ++i)
            ++decimals;
    if (i != n || integerZeros == 0 || (point && decimals == 0))
        return std::nullopt;

    const Digits d = roundDecimal(value, decimals, significant);
    QString out;
    out.reserve(integerZeros + qsizetype(d.integer.size() + d.fraction.size()) + 3);
    if (value < 0 && !d.zero)
        out += QLatin1Char('-');
    for (std::size_t z = d.integer.size(); z < std::size_t(integerZeros); ++z)
        out += QLatin1Char('0');
    out += QLatin1StringView(d.integer.data(), qsizetype(d.integer.size()));
    if (point) {
        out += userDecimalPoint();
        out += QLatin1StringView(d.fraction.data(), qsizetype(d.fraction.size()));
    }
    return out;
}

QString format(double value, const QString& pattern, int significant)
{
    // A NaN or infinite reading has no digits to lay out.
    if (pattern.isEmpty() || !std::isfinite(value))
        return basicNumberText(value, significant);
    if (auto zeros = zerosFormat(value, pattern, significant))
        return *std::move(zeros);
    if (const auto named = namedFormat(value, pattern, significant))
        return *named;
    QVarLengthArray<Section, 3> sections;
    // Nothing to split at, nothing quoted or escaped: one section, the pattern itself.
    if (std::none_of(pattern.cbegin(), pattern.cend(), [](QChar c) {
            return c == QLatin1Char(';') || c == QLatin1Char('"') || c == QLatin1Char('\\');
        })) {
        sections.append(analyse(pattern));
    } else {
        for (const QString& text : splitSections(pattern).mid(0, 3))
            sections.append(analyse(text));
    }
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
