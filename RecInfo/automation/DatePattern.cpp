// SPDX-License-Identifier: MIT
#include "DatePattern.h"

#include <array>

namespace vxRecInfo {

namespace {

qsizetype repeatCount(QStringView text, qsizetype at)
{
    qsizetype end = at + 1;
    while (end < text.size() && text[end] == text[at])
        ++end;
    return end - at;
}

// Quoted text as QLocale reads it from the quote at i: '' is a quote, inside quotes as well;
// i moves past the closing quote.
QString quotedText(QStringView pattern, qsizetype& i)
{
    ++i;
    if (i < pattern.size() && pattern[i] == u'\'') {
        ++i;
        return QStringLiteral("'");
    }
    QString text;
    while (i < pattern.size()) {
        if (pattern[i] == u'\'') {
            if (i + 1 < pattern.size() && pattern[i + 1] == u'\'') {
                text += u'\'';
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        text += pattern[i++];
    }
    return text;
}

// Whether hours count to twelve: an unquoted a or A anywhere.
bool hasAmPm(QStringView pattern)
{
    for (qsizetype i = 0; i < pattern.size();) {
        if (pattern[i] == u'\'') {
            quotedText(pattern, i);
            continue;
        }
        if (pattern[i] == u'a' || pattern[i] == u'A')
            return true;
        ++i;
    }
    return false;
}

// Values whose texts must come out as QLocale writes them before the pattern is trusted:
// one- and two-digit fields, years of three and four digits, both halves of the day.
const std::array<QDate, 6> ProbeDates{QDate(100, 1, 1), QDate(999, 12, 31), QDate(1999, 9, 9),
                                      QDate(2024, 10, 5), QDate(2025, 2, 28), QDate(9999, 12, 31)};
const std::array<QTime, 7> ProbeTimes{QTime(0, 0, 0),    QTime(1, 2, 3),   QTime(11, 59, 59), QTime(12, 0, 0),
                                      QTime(12, 30, 5), QTime(13, 5, 9), QTime(23, 59, 59)};

} // namespace

DatePattern::DatePattern(const QString& pattern, Of of, const QLocale& locale)
    : m_pattern(pattern), m_of(of), m_locale(locale)
{
    m_read = read(pattern);
    if (!m_read)
        return;
    QString text;
    if (of == Of::Date) {
        for (const QDate date : ProbeDates) {
            text.clear();
            append(text, date);
            m_read = m_read && text == locale.toString(date, pattern);
        }
    } else {
        for (const QTime time : ProbeTimes) {
            text.clear();
            append(text, time);
            m_read = m_read && text == locale.toString(time, pattern);
        }
    }
}

bool DatePattern::read(QStringView pattern)
{
    const bool twelveHours = m_of == Of::Time && hasAmPm(pattern);
    const auto text = [this](const QString& literal) {
        m_pieces.push_back({Field::Text, 0, std::uint16_t(m_texts.size()), std::uint16_t(literal.size())});
        m_texts += literal;
    };
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        if (c == u'\'') {
            text(quotedText(pattern, i));
            continue;
        }
        qsizetype repeat = repeatCount(pattern, i);
        const auto number = [&](Field field, qsizetype most) {
            repeat = std::min(repeat, most);
            m_pieces.push_back({field, std::uint8_t(repeat), 0, 0});
        };
        // Names of months and days as QLocale writes them alone, twelve or seven from m_names.
        const auto names = [&](Field kind, qsizetype width) {
            repeat = width;
            const QString format(width, c);
            m_pieces.push_back({kind, std::uint8_t(width), std::uint16_t(m_names.size()), 0});
            if (kind == Field::MonthName) {
                for (int month = 1; month <= 12; ++month)
                    m_names.push_back(m_locale.toString(QDate(2001, month, 1), format));
            } else {
                for (int day = 1; day <= 7; ++day) // 1 January 2001 was a Monday
                    m_names.push_back(m_locale.toString(QDate(2001, 1, day), format));
            }
        };
        bool field = true;
        if (m_of == Of::Date) {
            switch (c.unicode()) {
            case u'd':
            case u'M':
                if (repeat <= 2)
                    number(c == u'd' ? Field::Day : Field::Month, 2);
                else
                    names(c == u'd' ? Field::DayName : Field::MonthName, std::min<qsizetype>(repeat, 4));
                break;
            case u'y':
                if (repeat == 1)
                    field = false;
                else
                    number(Field::Year, repeat >= 4 ? 4 : 2);
                break;
            default: field = false;
            }
        } else {
            switch (c.unicode()) {
            case u'h': number(twelveHours ? Field::Hour12 : Field::Hour, 2); break;
            case u'H': number(Field::Hour, 2); break;
            case u'm': number(Field::Minute, 2); break;
            case u's': number(Field::Second, 2); break;
            case u'a':
            case u'A': {
                if (i + 1 >= pattern.size() || (pattern[i + 1] != u'p' && pattern[i + 1] != u'P'))
                    return false;
                const bool upper = c == u'A';
                const QString am = upper ? m_locale.amText().toUpper() : m_locale.amText().toLower();
                const QString pm = upper ? m_locale.pmText().toUpper() : m_locale.pmText().toLower();
                m_pieces.push_back({Field::AmPm, std::uint8_t(pm.size()), std::uint16_t(m_texts.size()),
                                    std::uint16_t(am.size())});
                m_texts += am + pm;
                repeat = 2;
                break;
            }
            case u'z':
            case u't': return false; // milliseconds, zones
            default: field = false;
            }
        }
        if (!field)
            text(QString(repeat, c));
        i += repeat;
        if (m_texts.size() > 0xFFFF)
            return false;
    }
    return true;
}

void DatePattern::appendNumber(QString& out, int value, int width) const
{
    std::array<char16_t, 8> digits{};
    qsizetype n = 0;
    do {
        digits[std::size_t(n++)] = char16_t(u'0' + value % 10);
        value /= 10;
    } while (value > 0);
    for (qsizetype pad = n; pad < width; ++pad)
        out += u'0';
    while (n > 0)
        out += QChar(digits[std::size_t(--n)]);
}

void DatePattern::appendText(QString& out, const Piece& piece) const
{
    out += QStringView(m_texts).mid(piece.from, piece.length);
}

void DatePattern::append(QString& out, QDate value) const
{
    if (!m_read) {
        out += m_locale.toString(value, m_pattern);
        return;
    }
    for (const Piece& piece : m_pieces) {
        switch (piece.field) {
        case Field::Day: appendNumber(out, value.day(), piece.width); break;
        case Field::Month: appendNumber(out, value.month(), piece.width); break;
        case Field::MonthName: out += m_names[std::size_t(piece.from + value.month() - 1)]; break;
        case Field::DayName: out += m_names[std::size_t(piece.from + value.dayOfWeek() - 1)]; break;
        case Field::Year: appendNumber(out, piece.width == 2 ? value.year() % 100 : value.year(), piece.width); break;
        default: appendText(out, piece);
        }
    }
}

void DatePattern::append(QString& out, QTime value) const
{
    if (!m_read) {
        out += m_locale.toString(value, m_pattern);
        return;
    }
    for (const Piece& piece : m_pieces) {
        switch (piece.field) {
        case Field::Hour: appendNumber(out, value.hour(), piece.width); break;
        case Field::Hour12: appendNumber(out, value.hour() % 12 == 0 ? 12 : value.hour() % 12, piece.width); break;
        case Field::Minute: appendNumber(out, value.minute(), piece.width); break;
        case Field::Second: appendNumber(out, value.second(), piece.width); break;
        case Field::AmPm:
            if (value.hour() < 12)
                out += QStringView(m_texts).mid(piece.from, piece.length);
            else
                out += QStringView(m_texts).mid(piece.from + piece.length, piece.width);
            break;
        default: appendText(out, piece);
        }
    }
}

} // namespace vxRecInfo
