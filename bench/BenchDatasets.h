#pragma once
// The datasets the batch benchmarks commit: count four-channel recordings of an "A" logger,
// put through RecordInfo as a host would.

#include "automation/ClassRegistry.h"
#include "automation/Dispatch.h"
#include "automation/SafeArray.h"
#include "component/IRecordInfo.h"
#include "component/Identity.h"

#include <cstdlib>

namespace vxRecInfo::bench {

inline ComPtr<_RecordInfo> commitDatasets(int count)
{
    auto record = ClassRegistry::instance().createInstance(Identity::RecordInfoClsid).as<_RecordInfo>();
    record->put_UserSettings(Variant(SafeArray::fromValues(VarType::Variant, {0, 0, 0, 0, 0, 0, true})));
    const int channels = 4;
    const auto perChannel = [channels](VarType type) {
        return Variant(SafeArray::fromValues(type, std::vector<Variant>(std::size_t(channels), Variant(1).convertTo(type)), 1));
    };
    const std::pair<VarType, std::vector<const char*>> arrays[] = {
        {VarType::Single, {"AlarmHighValue", "AlarmLowValue", "AverageVal", "MaxVal", "MinVal", "MeanVal", "MKT"}},
        {VarType::Boolean, {"AlarmHighEnabled", "AlarmLowEnabled", "AlarmStatusPerChnl"}},
        {VarType::Long, {"AlarmHighNumMeas", "AlarmLowNumMeas", "Meas_Type"}},
        {VarType::Integer, {"ChannelNumber", "AlarmMode"}},
        {VarType::String, {"ChnlDescription", "Meas_Scale", "Meas_Unit"}},
        {VarType::Double, {"TimeOverAlarmLimit", "TimeBelowLoAlarmLimit"}},
    };
    const Variant noRows(SafeArray(VarType::String, {{0, 2}, {0, 0}}));
    for (int n = 0; n < count; ++n) {
        record->put_DataSetDesc(QStringLiteral("Cold room %1").arg(n));
        record->put_SerialNumber(QStringLiteral("A%1").arg(n));
        record->put_Logger_Type(QStringLiteral("A"));
        record->put_NumActiveChannels(channels);
        record->put_MeasInterval(300);
        for (const auto& [type, names] : arrays)
            for (const char* name : names)
                latePut(record.get(), QString::fromLatin1(name), perChannel(type));
        record->put_SignatureRead(noRows);
        record->put_UserQuery(noRows);
        if (failed(record->AddDataSet()))
            std::abort();
    }
    return record;
}

} // namespace vxRecInfo::bench
