// SPDX-License-Identifier: MIT
#pragma once
// A date or time pattern of QLocale's, read once so that writing many dates costs little:
// reports write several per dataset, and QLocale reads its pattern and asks the locale for
// each field every time.

#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

#include <cstdint>
#include <vector>

namespace vxRecInfo {

class DatePattern
{
public:
    enum class Of : std::uint8_t { Date, Time };

    DatePattern() = default;
    // Reads pattern as QLocale reads it for a date (or a time). Numbers, names of months and
    // days and the AM/PM text are written here; a pattern with any other field (milliseconds,
    // a zone) or one whose texts come out other than QLocale writes them (another set of
    // digits, say) is left to QLocale.
    DatePattern(const QString& pattern, Of of, const QLocale& locale);

    // As QLocale::toString(value, pattern) gives it, appended to out.
    void append(QString& out, QDate value) const;
    void append(QString& out, QTime value) const;

    // Whether the fields are written here rather than by QLocale.
    bool isRead() const { return m_read; }

private:
    enum class Field : std::uint8_t { Text, Day, DayName, Month, MonthName, Year, Hour, Hour12, Minute, Second, AmPm };
    struct Piece {
        Field field;
        std::uint8_t width; // digits with leading zeros: 1 (none) or 2; a year 2 or 4
        std::uint16_t from; // text: where in m_texts; AM/PM: where its AM text is, PM follows;
                            // names: the first in m_names
        std::uint16_t length;
    };

    bool read(QStringView pattern);
    void appendText(QString& out, const Piece& piece) const;
    void appendNumber(QString& out, int value, int width) const;

    QString m_pattern;
    Of m_of = Of::Date;
    QLocale m_locale;
    QString m_texts;
    std::vector<QString> m_names;
    std::vector<Piece> m_pieces;
    bool m_read = false;
};

} // namespace vxRecInfo
