// SPDX-License-Identifier: MIT
#include "DataSetRecord.h"

namespace vxRecInfo {

QList<std::pair<QString, Variant>> fieldsOf(const DataSetRecord& r)
{
#define VX_FIELD(name, ...) {QStringLiteral(#name), r.name},
    return {VX_DATASET_FIELDS(VX_FIELD, VX_FIELD)};
#undef VX_FIELD
}

} // namespace vxRecInfo
