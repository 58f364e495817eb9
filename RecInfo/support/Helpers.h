#pragma once
// Small helpers shared by the record interface, the report builder and the windows.

#include "automation/Variant.h"

namespace vxRecInfo {

// True when v holds an array whose first dimension's upper bound can be read; False for
// anything else, an array that was declared but never dimensioned included.
bool IsArrayDimensioned(const Variant& v);

} // namespace vxRecInfo
