// SPDX-License-Identifier: MIT
#pragma once
// The dataset the host is filling: one slot per dataset property, typed as the property (an
// array property as the Variant it was given), plus the pending note. AddDataSet copies it
// into the store.

#include "DataSetFields.h"

#include "automation/Variant.h"

#include <QString>

#include <cstdint>

namespace vxRecInfo {

struct PendingDataSet {
#define VX_PENDING_SCALAR(name, slot, dispId, type, pending, record, after) pending name{};
#define VX_PENDING_ARRAY(name, ...) Variant name;
    VX_DATASET_FIELDS(VX_PENDING_SCALAR, VX_PENDING_ARRAY)
#undef VX_PENDING_SCALAR
#undef VX_PENDING_ARRAY

    QString Note;
};

} // namespace vxRecInfo
