// SPDX-License-Identifier: MIT
// The C++ host example of the README, built against an installed component by
// tests/install/install-and-use.sh: if it stops working, the README lies.

#include <vxRecInfo/vxRecInfo.h>

#include <QTextStream>

using namespace vxRecInfo;

// --- README example begins
QString exportOneRecording()
{
    auto record = ClassRegistry::instance().createInstance(Identity::RecordInfoClsid).as<_RecordInfo>();
    record->put_UserSettings(Variant(SafeArray::fromValues(VarType::Variant, {0, 0, 0, 0, 0, 0, true})));
    record->put_DataSetDesc(QStringLiteral("Cold room 1"));
    record->put_SerialNumber(QStringLiteral("A1029384"));
    record->put_Logger_Type(QStringLiteral("A"));
    record->put_NumActiveChannels(1);
    // Array properties hold one element per channel, channel 1 at index 1.
    auto perChannel = [](VarType type, Variant value) { return Variant(SafeArray::fromValues(type, {value}, 1)); };
    const std::pair<VarType, std::vector<const char*>> arrays[] = {
        {VarType::Single, {"AlarmHighValue", "AlarmLowValue", "AverageVal", "MaxVal", "MinVal", "MeanVal", "MKT"}},
        {VarType::Boolean, {"AlarmHighEnabled", "AlarmLowEnabled", "AlarmStatusPerChnl"}},
        {VarType::Long, {"AlarmHighNumMeas", "AlarmLowNumMeas", "Meas_Type"}},
        {VarType::Integer, {"ChannelNumber", "AlarmMode"}},
        {VarType::String, {"ChnlDescription", "Meas_Scale", "Meas_Unit"}},
        {VarType::Double, {"TimeOverAlarmLimit", "TimeBelowLoAlarmLimit"}},
    };
    for (const auto& [type, names] : arrays)
        for (const char* name : names)
            latePut(record.get(), QString::fromLatin1(name), perChannel(type, Variant(1).convertTo(type)));
    const Variant noRows(SafeArray(VarType::String, {{0, 2}, {0, 0}}));
    record->put_SignatureRead(noRows);
    record->put_UserQuery(noRows);
    if (failed(record->AddDataSet()))
        throw RuntimeError(lastErrorInfo().number, lastErrorInfo().description);
    double job = 0;
    std::int16_t page = 0, pages = 1;
    QString printer, rtf;
    if (failed(record->RTF_All(&job, &page, &pages, &printer, &rtf, nullptr)))
        throw RuntimeError(lastErrorInfo().number, lastErrorInfo().description);
    return rtf;
}
// --- README example ends

int main()
{
    try {
        QTextStream(stdout) << exportOneRecording();
        return 0;
    } catch (const RuntimeError& e) {
        QTextStream(stderr) << "error " << e.number() << ": " << e.description() << '\n';
        return 1;
    }
}
