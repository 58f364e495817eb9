#pragma once
// Python values and automation Variants, both ways:
//   None <-> Empty (Null comes back as None too), bool <-> Boolean, int -> Long (a whole number
//   beyond the Long range travels as a Double), float -> Double, Integer, Long -> int,
//   Single, Double -> float, str <-> String, datetime.datetime and datetime.date -> Date,
//   Date -> datetime.datetime, a Dispatch <-> an Object, a list (or tuple) -> a Variant array
//   with lower bound 0, a list of equally long lists -> a two-dimensional one, Array <-> array.
// Strings keep every UTF-16 code unit, unpaired surrogates included.

#include "automation/Variant.h"

#include <pybind11/pybind11.h>

#include <QString>

namespace vxpy {

// Imports what the date conversions need; once, when the module loads.
void initConversions();

pybind11::str toPython(const QString& text);
// A Python str; TypeError for anything else.
QString toQString(pybind11::handle text);

// Error 13 for a Python value that has no automation type, 6 for a number or date outside
// what a Variant holds.
vxRecInfo::Variant toVariant(pybind11::handle value);
pybind11::object fromVariant(const vxRecInfo::Variant& value);

} // namespace vxpy
