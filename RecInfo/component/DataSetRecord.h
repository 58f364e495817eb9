// SPDX-License-Identifier: MIT
#pragma once
// One committed recording: the values of the dataset properties at the moment of AddDataSet.
// The fields keep the declared order of the record; arrays are owned by the record.

#include "DataSetFields.h"

#include "automation/SafeArray.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <utility>

namespace vxRecInfo {

struct DataSetRecord {
#define VX_RECORD_SCALAR(name, slot, dispId, type, pending, record, after) record name{};
#define VX_RECORD_ARRAY(name, slot, dispId, element, copied, after) SafeArray name{VarType::element};
    VX_DATASET_FIELDS(VX_RECORD_SCALAR, VX_RECORD_ARRAY)
#undef VX_RECORD_SCALAR
#undef VX_RECORD_ARRAY
};

// The record's fields in declared order, as (name, value) pairs; for listings and tests.
QList<std::pair<QString, Variant>> fieldsOf(const DataSetRecord& record);

} // namespace vxRecInfo
