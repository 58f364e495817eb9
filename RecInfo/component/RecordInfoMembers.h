// SPDX-License-Identifier: MIT
#pragma once
// The member table of _RecordInfo: every member in slot order with its kind, DISPID and
// parameters. Hosts that bind late find members here; the slot order and DISPIDs are fixed.

#include "automation/Dispatch.h"

namespace vxRecInfo {

// Slots 1 to RecordInfoSlotCount: the dataset properties' from DataSetFields.h, the rest here.
inline constexpr int RecordInfoSlotCount = 87;

const TypeInfo& recordInfoTypeInfo();

} // namespace vxRecInfo
