// SPDX-License-Identifier: MIT
#pragma once
// Text of numbers, booleans and dates as the classic Basic run-time writes and reads them,
// in the user's locale (QLocale()).

#include "Date.h"
#include "DatePattern.h"

#include <QLocale>
#include <QString>

#include <string>

namespace vxRecInfo {

// Parses a number: blanks around it, a sign, the locale's decimal point and digit grouping,
// an exponent (E or D), &H and &O prefixes. Returns false when the text is no number.
bool parseBasicNumber(const QString& text, double* value);

// Text of a number as CStr gives it: at most significantDigits significant digits (15 for a
// Double, 7 for a Single), no leading blank, the locale's decimal point, exponent form
// (1E+15, 1.5E-05) outside the fixed range.
QString basicNumberText(double value, int significantDigits = 15);

QString basicBooleanText(bool value);

// The digits of |value| rounded to `significant` significant digits, as printf's %.*e writes
// them, and its decimal exponent: 1234.5 at 5 digits is "12345" and 3.
std::string mantissaDigits(double value, int significant, int* exponent);

// The user's decimal point (QLocale().decimalPoint()), asked of the locale once for as long as
// it stays the same one: numbers in reports ask for it many times.
const QString& userDecimalPoint();

// General date: short date, one blank, long time; the date alone at midnight, the time alone
// when the date part is 0.
QString generalDateText(Date date);
QString shortDateText(QDate date);
QString longTimeText(QTime time);

// The short date and long time patterns those texts use, read once for as long as the user's
// locale stays the same one (a caller that writes many dates keeps one).
class DatePatterns
{
public:
    // shortDateText + two blanks + longTimeText, appended to out.
    void appendDateAndTime(QString& out, Date value);

private:
    QLocale m_locale;
    bool m_ready = false;
    DatePattern m_date, m_time;
};

// Trim: blanks (spaces only) removed at both ends.
QString basicTrim(const QString& text);

// Val: the number at the start of text, read with "." as the decimal point whatever the
// locale, blanks ignored; 0 when there is none.
double basicVal(const QString& text);

// Parses a whole date text: "YYYY-MM-DD", "YYYY-MM-DDThh:mm:ss", or the locale's short date
// with an optional long or short time; blanks around it are ignored. Returns false when the
// text is no date (a time alone, a zone, any text after it); fails with Overflow (6) for a
// date outside 1 January 100 to 31 December 9999.
bool parseBasicDate(const QString& text, Date* date);

} // namespace vxRecInfo
