// SPDX-License-Identifier: MIT
#pragma once
// The datasets the batch benchmarks commit: count four-channel recordings of an "A" logger,
// put through RecordInfo as a host would.

#include "automation/ClassRegistry.h"
#include "automation/Dispatch.h"
#include "automation/SafeArray.h"
#include "component/IRecordInfo.h"
#include "component/Identity.h"

#include <cstdlib>
#include <string_view>

namespace vxRecInfo::bench {

inline ComPtr<_RecordInfo> commitDatasets(int count)
{
    auto record = ClassRegistry::instance().createInstance(Identity::RecordInfoClsid).as<_RecordInfo>();
    record->put_UserSettings(Variant(SafeArray::fromValues(VarType::Variant, {0, 0, 0, 0, 0, 0, true})));
    const int channels = 4;
    const auto perChannel = [channels](VarType type) {
        return Variant(SafeArray::fromValues(type, std::vector<Variant>(std::size_t(channels), Variant(1).convertTo(type)), 1));
    };
    const Variant noRows(SafeArray(VarType::String, {{0, 2}, {0, 0}}));
    const auto isTable = [](std::string_view name) { return name == "SignatureRead" || name == "UserQuery"; };
    for (int n = 0; n < count; ++n) {
        record->put_DataSetDesc(QStringLiteral("Cold room %1").arg(n));
        record->put_SerialNumber(QStringLiteral("A%1").arg(n));
        record->put_Logger_Type(QStringLiteral("A"));
        record->put_NumActiveChannels(channels);
        record->put_MeasInterval(300);
        // Every array the commit always copies, by name as a late-bound host sets it; the
        // two tables (signatures, user queries) without rows.
#define VX_NO_SCALAR(...)
#define VX_PER_CHANNEL(name, slot, dispId, element, copied, after)                                                     \
    if (std::string_view(#copied) == "Always")                                                                         \
        latePut(record.get(), QStringLiteral(#name), isTable(#name) ? noRows : perChannel(VarType::element));
        VX_DATASET_FIELDS(VX_NO_SCALAR, VX_PER_CHANNEL)
#undef VX_NO_SCALAR
#undef VX_PER_CHANNEL
        if (failed(record->AddDataSet()))
            std::abort();
    }
    return record;
}

} // namespace vxRecInfo::bench
