// SPDX-License-Identifier: MIT
#pragma once
// Python values and automation Variants, both ways:
//   None <-> Empty (Null comes back as None too), bool <-> Boolean, int -> Long (a whole number
//   beyond the Long range travels as a Double), float -> Double, Integer, Long -> int,
//   Single, Double -> float, str <-> String, datetime.datetime and datetime.date -> Date,
//   Date -> datetime.datetime, a Dispatch <-> an Object, a list (or tuple) -> a Variant array
//   with lower bound 0, a list of equally long lists -> a two-dimensional one, Array <-> array.
// Strings keep every UTF-16 code unit; half a surrogate pair goes to Python as it is, but from
// Python it is refused (error 0, as a recordings file holding one is). Lists nest at most 1000
// levels deep; deeper, or a list that contains itself, is error 28 (out of stack space).

#include "automation/Variant.h"

#include <pybind11/pybind11.h>

#include <QString>

namespace vxpy {

// Imports what the date conversions need; once, when the module loads.
void initConversions();

pybind11::str toPython(const QString& text);
// A Python str; TypeError for anything else, error 0 for half a surrogate pair.
QString toQString(pybind11::handle text);
// A path (str, bytes or os.PathLike) as os.fsdecode gives it.
QString pathText(pybind11::handle path);

// Error 13 for a Python value that has no automation type, 6 for a number or date outside
// what a Variant holds.
vxRecInfo::Variant toVariant(pybind11::handle value);
pybind11::object fromVariant(const vxRecInfo::Variant& value);

} // namespace vxpy
