#pragma once
// The member table of _RecordInfo: every member in slot order with its kind, DISPID and
// parameters. Hosts that bind late find members here; the slot order and DISPIDs are fixed.

#include "automation/Dispatch.h"

namespace vxRecInfo {

const TypeInfo& recordInfoTypeInfo();

} // namespace vxRecInfo
