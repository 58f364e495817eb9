// SPDX-License-Identifier: MIT
#pragma once
// Small helpers shared by the record interface, the report builder and the windows.

#include "automation/Variant.h"

#include <QString>

#include <cstdint>

namespace vxRecInfo {

// IsArrayDimensioned is declared with Variant (automation/Variant.h).

// A date-time as the user's short date, two blanks and the user's long time.
QString FormatDateTimeText(Date value);
// The same appended to out.
void AppendDateTimeText(QString& out, Date value);

// A reading rounded to the resolution of its kind, in single precision, halves to even:
// temperature (kind 1) to 0.2 in Fahrenheit (TScale 0) and 0.1 in Celsius or Kelvin,
// humidity (kind 2) to 0.1, anything else 0. The second argument is not read. Error 6 when
// the scaled value does not fit a Long.
float RoundToResolution(float value, const Variant& unused, std::int32_t kind);

// "F", "C" or "K" for a temperature (kind 1) in scale 0, 1 or 2; "%" for humidity (kind 2);
// otherwise the empty string.
QString UnitSymbol(std::int16_t scale, std::int32_t kind);

} // namespace vxRecInfo
