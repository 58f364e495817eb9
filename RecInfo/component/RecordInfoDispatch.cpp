#include "RecordInfo.h"

#include "automation/SafeArray.h"

#include <array>

// Late binding of _RecordInfo: each slot of the member table calls the C++ member of the same
// name with the arguments Invoke has already converted, and writes by-reference arguments back.

namespace vxRecInfo {

namespace {

using Args = std::vector<Variant>;
using Binding = Variant (*)(RecordInfo&, Args&);

Variant done(HResult hr)
{
    checkHResult(hr);
    return {};
}

template <class T>
Variant result(HResult hr, const T& value)
{
    checkHResult(hr);
    return Variant(value);
}

// Slot n of the table is element n - 1.
const std::array<Binding, 87> bindings = {
        /*  1 */ [](RecordInfo& o, Args& a) { return done(o.put_CMDate(a[0].toDate())); },
        /*  2 */ [](RecordInfo& o, Args& a) { return done(o.put_UserSettings(a[0])); },
        /*  3 */ [](RecordInfo& o, Args& a) { return done(o.put_DS_Port(a[0].toLong())); },
        /*  4 */ [](RecordInfo& o, Args& a) { return done(o.put_DS_Host(a[0].toString())); },
        /*  5 */ [](RecordInfo& o, Args& a) { return done(o.put_DS_Desc(a[0].toString())); },
        /*  6 */ [](RecordInfo& o, Args& a) { return done(o.put_AlarmMode(a[0])); },
        /*  7 */ [](RecordInfo& o, Args& a) {
            double job = a[0].toDouble();
            std::int16_t start = a[1].toInteger(), total = a[2].toInteger();
            QString printer = a[3].toString();
            const HResult hr = o.PrintAll(&job, &start, &total, &printer);
            a = {job, start, total, printer};
            return done(hr);
        },
        /*  8 */ [](RecordInfo& o, Args& a) {
            double job = a[0].toDouble();
            std::int16_t start = a[1].toInteger(), total = a[2].toInteger();
            QString printer = a[3].toString(), text = a[4].toString();
            bool numbering = a[5].toBool();
            const HResult hr = o.RTF_All(&job, &start, &total, &printer, &text, &numbering);
            a = {job, start, total, printer, text, numbering};
            return done(hr);
        },
        /*  9 */ [](RecordInfo& o, Args&) { std::int16_t v{}; return result(o.get_ImportUserSelectedTimeZone(&v), v); },
        /* 10 */ [](RecordInfo& o, Args&) { return done(o.ClearAllDataSets()); },
        /* 11 */ [](RecordInfo& o, Args&) { return done(o.AddDataSet()); },
        /* 12 */ [](RecordInfo& o, Args& a) { return done(o.put_RF_RFID(a[0].toLong())); },
        /* 13 */ [](RecordInfo& o, Args& a) { return done(o.put_RF_Model(a[0].toLong())); },
        /* 14 */ [](RecordInfo& o, Args& a) { return done(o.put_RF_Chnl(a[0].toLong())); },
        /* 15 */ [](RecordInfo& o, Args& a) { return done(o.put_RF_Desc(a[0].toString())); },
        /* 16 */ [](RecordInfo& o, Args& a) { return done(o.put_RF_IsRFLogger(a[0].toBool())); },
        /* 17 */ [](RecordInfo& o, Args& a) { return done(o.put_DataSource(a[0].toString())); },
        /* 18 */ [](RecordInfo& o, Args&) { std::int16_t v{}; return result(o.get_TimeZone(&v), v); },
        /* 19 */ [](RecordInfo& o, Args& a) { return done(o.put_TimeZone(a[0].toInteger())); },
        /* 20 */ [](RecordInfo& o, Args& a) { return done(o.put_DataSetDesc(a[0].toString())); },
        /* 21 */ [](RecordInfo& o, Args& a) {
            SafeArray flags = a[0].array();
            const HResult hr = o.ShowImport(&flags);
            a[0] = std::move(flags);
            return done(hr);
        },
        /* 22 */ [](RecordInfo& o, Args&) { bool v{}; return result(o.get_ImportFileSelected(&v), v); },
        /* 23 */ [](RecordInfo& o, Args& a) {
            std::int16_t index = a[0].toInteger();
            const HResult hr = o.ShowInfo(&index);
            a[0] = index;
            return done(hr);
        },
        /* 24 */ [](RecordInfo& o, Args&) { return done(o.ShowNote()); },
        /* 25 */ [](RecordInfo& o, Args& a) { return done(o.put_AlarmStatusPerChnl(a[0])); },
        /* 26 */ [](RecordInfo& o, Args& a) { return done(o.put_UserQuery(a[0])); },
        /* 27 */ [](RecordInfo& o, Args& a) { return done(o.put_TimeOverAlarmLimit(a[0])); },
        /* 28 */ [](RecordInfo& o, Args& a) { return done(o.put_TimeBelowLoAlarmLimit(a[0])); },
        /* 29 */ [](RecordInfo& o, Args& a) { return done(o.put_MKT(a[0])); },
        /* 30 */ [](RecordInfo& o, Args& a) { return done(o.put_MinVal(a[0])); },
        /* 31 */ [](RecordInfo& o, Args& a) { return done(o.put_Meas_Unit(a[0])); },
        /* 32 */ [](RecordInfo& o, Args& a) { return done(o.put_Meas_Type(a[0])); },
        /* 33 */ [](RecordInfo& o, Args& a) { return done(o.put_Meas_Scale(a[0])); },
        /* 34 */ [](RecordInfo& o, Args& a) { return done(o.put_MeanVal(a[0])); },
        /* 35 */ [](RecordInfo& o, Args& a) { return done(o.put_MaxVal(a[0])); },
        /* 36 */ [](RecordInfo& o, Args& a) { return done(o.put_ChnlDescription(a[0])); },
        /* 37 */ [](RecordInfo& o, Args& a) { return done(o.put_AverageVal(a[0])); },
        /* 38 */ [](RecordInfo& o, Args& a) { return done(o.put_AlarmLowValue(a[0])); },
        /* 39 */ [](RecordInfo& o, Args& a) { return done(o.put_AlarmLowNumMeas(a[0])); },
        /* 40 */ [](RecordInfo& o, Args& a) { return done(o.put_AlarmLowEnabled(a[0])); },
        /* 41 */ [](RecordInfo& o, Args& a) { return done(o.put_AlarmHighValue(a[0])); },
        /* 42 */ [](RecordInfo& o, Args& a) { return done(o.put_AlarmHighNumMeas(a[0])); },
        /* 43 */ [](RecordInfo& o, Args& a) { return done(o.put_AlarmHighEnabled(a[0])); },
        /* 44 */ [](RecordInfo& o, Args& a) { return done(o.put_ChannelNumber(a[0])); },
        /* 45 */ [](RecordInfo& o, Args& a) { return done(o.put_NumActiveChannels(a[0].toInteger())); },
        /* 46 */ [](RecordInfo& o, Args& a) { return done(o.put_NumChannels(a[0].toInteger())); },
        /* 47 */ [](RecordInfo& o, Args& a) { return done(o.put_WinVersion(a[0].toString())); },
        /* 48 */ [](RecordInfo& o, Args& a) { return done(o.put_TrackingNumber(a[0].toString())); },
        /* 49 */ [](RecordInfo& o, Args& a) { return done(o.put_Table(a[0].toInteger())); },
        /* 50 */ [](RecordInfo& o, Args& a) { return done(o.put_StartDelayDateMode(a[0].toBool())); },
        /* 51 */ [](RecordInfo& o, Args& a) { return done(o.put_StartDelayDate(a[0].toDate())); },
        /* 52 */ [](RecordInfo& o, Args& a) { return done(o.put_Start_Delay(a[0].toLong())); },
        /* 53 */ [](RecordInfo& o, Args& a) { return done(o.put_SpecificStopCount(a[0].toInteger())); },
        /* 54 */ [](RecordInfo& o, Args& a) { return done(o.put_SignatureRead(a[0])); },
        /* 55 */ [](RecordInfo& o, Args& a) { return done(o.put_Author(a[0].toString())); },
        /* 56 */ [](RecordInfo& o, Args& a) { return done(o.put_SerialNumber(a[0].toString())); },
        /* 57 */ [](RecordInfo& o, Args& a) { return done(o.put_RecordStopTime(a[0].toDate())); },
        /* 58 */ [](RecordInfo& o, Args& a) { return done(o.put_RecordStartTime(a[0].toDate())); },
        /* 59 */ [](RecordInfo& o, Args& a) { return done(o.put_LoggerReadDate(a[0].toDate())); },
        /* 60 */ [](RecordInfo& o, Args& a) { return done(o.put_NumOfMeas(a[0].toLong())); },
        /* 61 */ [](RecordInfo& o, Args&) { Variant v; return result(o.get_NoteArray(&v), v); },
        /* 62 */ [](RecordInfo& o, Args& a) { return done(o.put_Note(a[0].toString())); },
        /* 63 */ [](RecordInfo& o, Args&) { bool v{}; return result(o.get_NoteChangeAllowed(&v), v); },
        /* 64 */ [](RecordInfo& o, Args& a) { return done(o.put_NoteChangeAllowed(a[0].toBool())); },
        /* 65 */ [](RecordInfo& o, Args&) { Variant v; return result(o.get_NoteChanged(&v), v); },
        /* 66 */ [](RecordInfo& o, Args& a) { return done(o.put_Model_Number(a[0].toLong())); },
        /* 67 */ [](RecordInfo& o, Args& a) { return done(o.put_MeasInterval(a[0].toLong())); },
        /* 68 */ [](RecordInfo& o, Args& a) { return done(o.put_LoggerTime(a[0].toDate())); },
        /* 69 */ [](RecordInfo& o, Args& a) { return done(o.put_Logger_Type(a[0].toString())); },
        /* 70 */ [](RecordInfo& o, Args& a) { return done(o.put_MiscField(a[0].toString())); },
        /* 71 */ [](RecordInfo& o, Args& a) { return done(o.put_Imported(a[0].toBool())); },
        /* 72 */ [](RecordInfo& o, Args& a) { return done(o.put_FirstReadDate(a[0].toDate())); },
        /* 73 */ [](RecordInfo& o, Args& a) { return done(o.put_FirmWareVersion(a[0].toSingle())); },
        /* 74 */ [](RecordInfo& o, Args& a) { return done(o.put_EnableStop(a[0].toBool())); },
        /* 75 */ [](RecordInfo& o, Args& a) { return done(o.put_EnableSpecificStop(a[0].toBool())); },
        /* 76 */ [](RecordInfo& o, Args& a) { return done(o.put_Description(a[0].toString())); },
        /* 77 */ [](RecordInfo& o, Args& a) { return done(o.put_ContinuousMemory(a[0].toBool())); },
        /* 78 */ [](RecordInfo& o, Args& a) { return done(o.put_CompressEfficiency(a[0].toSingle())); },
        /* 79 */ [](RecordInfo& o, Args& a) { return done(o.put_ConnectionMode(a[0].toSingle())); },
        /* 80 */ [](RecordInfo& o, Args& a) { return done(o.put_CommentFinal(a[0].toString())); },
        /* 81 */ [](RecordInfo& o, Args& a) { return done(o.put_Alarm_Status(a[0].toBool())); },
        /* 82 */ [](RecordInfo& o, Args& a) { return done(o.put_ProbeNumber(a[0])); },
        /* 83 */ [](RecordInfo& o, Args& a) { return done(o.put_ProbeUserDescription(a[0])); },
        /* 84 */ [](RecordInfo& o, Args& a) { return done(o.put_FirstHiAlarm(a[0])); },
        /* 85 */ [](RecordInfo& o, Args& a) { return done(o.put_FirstLowAlarm(a[0])); },
        /* 86 */ [](RecordInfo& o, Args& a) { return done(o.put_ProbeSensorDetail(a[0])); },
        /* 87 */ [](RecordInfo& o, Args& a) {
            QString text = a[0].toString();
            const HResult hr = o.RTF_NT(&text);
            a[0] = std::move(text);
            return done(hr);
        },
};

} // namespace

Variant RecordInfo::invokeMember(const MemberInfo& member, std::vector<Variant>& args)
{
    return bindings.at(std::size_t(member.slot - 1))(*this, args);
}

} // namespace vxRecInfo
