// SPDX-License-Identifier: MIT
#pragma once
// The classic Format function for numbers: digit placeholders 0 and #, decimal point,
// thousands separator, percent, scientific codes (E+ E- e+ e-), literal text ("quoted", \x, or
// any other character but a letter) and up to three sections (positive;negative;zero), or one
// of the named formats (General Number, Currency, Fixed, Standard, Percent, Scientific, Yes/No,
// True/False, On/Off). Shown digits round half away from zero; the decimal point, the separator
// and the currency are the locale's (QLocale()). A pattern it does not understand shows the
// general number, as CStr writes it.

#include <QString>

namespace vxRecInfo {

// A Double value, taken at its 15 significant digits.
QString basicFormat(double value, const QString& pattern);
// A Single value, taken at its 7 significant digits (a Single 72.45 shows as 72.5 with "0.0").
QString basicFormat(float value, const QString& pattern);

} // namespace vxRecInfo
