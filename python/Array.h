// SPDX-License-Identifier: MIT
#pragma once
// vxrecinfo.Array: a safe array as a Python sequence. Scripts make typed arrays with it
// (Array("Single", [21.5], lbound=1)); arrays that come back from a call arrive as one.
// Indexes are the array's own: a[1] is the first element of an array with lower bound 1, and
// a[i, j] an element of a two-dimensional one, whose a[i] is row i as a list.

#include "automation/SafeArray.h"

#include <pybind11/pybind11.h>

namespace vxpy {

struct Array {
    vxRecInfo::SafeArray value;
};

// An array of element type from a list, or from a list of rows for two dimensions; lbound is
// None, an int for every dimension or a tuple with one per dimension. Every value is converted
// to the element type by the classic rules (errors 13 and 6).
vxRecInfo::SafeArray arrayFromList(vxRecInfo::VarType element, pybind11::handle values, pybind11::handle lbound);

void defineArray(pybind11::module_& module);

} // namespace vxpy
