#pragma once
// The classic Format function for numbers: digit placeholders 0 and #, decimal point,
// thousands separator, percent, literal text ("quoted", \x, or any other character) and up to
// three sections (positive;negative;zero). Shown digits round half away from zero; the decimal
// point and the separator are the locale's (QLocale()).

#include <QString>

namespace vxRecInfo {

// A Double value, taken at its 15 significant digits.
QString basicFormat(double value, const QString& pattern);
// A Single value, taken at its 7 significant digits (a Single 72.45 shows as 72.5 with "0.0").
QString basicFormat(float value, const QString& pattern);

} // namespace vxRecInfo
