// SPDX-License-Identifier: MIT
#pragma once
// Committing datasets into the apartment's store and starting a new batch.

#include "PendingDataSet.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace vxRecInfo {

// AddDataSet: copies the pending dataset into DataSets(count) and its note into
// NoteArray(count), clears every NoteChanged flag, increments count and resets the pending
// values. A field of the wrong kind stops the commit with error 13, leaving the fields copied
// so far in the slot and count and pending values unchanged; the commit past 32767 fills its
// slot and then fails with error 6.
void commitDataSet(PendingDataSet& pending, std::int16_t& count);

// The pending values a commit keeps for the next dataset; SerialNumber and TrackingNumber
// start over at "0", every other value at its default.
#define VX_KEPT_Kept(name) std::string_view(#name),
#define VX_KEPT_Cleared(name)
#define VX_KEPT_Zero(name)
#define VX_KEPT_SCALAR(name, slot, dispId, type, pending, record, after) VX_KEPT_##after(name)
#define VX_KEPT_ARRAY(name, slot, dispId, element, copied, after) VX_KEPT_##after(name)
inline constexpr std::array KeptForNextDataSet{VX_DATASET_FIELDS(VX_KEPT_SCALAR, VX_KEPT_ARRAY)};
#undef VX_KEPT_SCALAR
#undef VX_KEPT_ARRAY
#undef VX_KEPT_Kept
#undef VX_KEPT_Cleared
#undef VX_KEPT_Zero

// ClearAllDataSets: one blank record, count 0, one False flag; notes and pending values stay.
void clearAllDataSets(std::int16_t& count);

} // namespace vxRecInfo
