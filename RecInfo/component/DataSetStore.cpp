#include "DataSetStore.h"

#include "ModuleState.h"

#include "automation/Variant.h"

#include <limits>

namespace vxRecInfo {

namespace {

// The array a field needs: exactly element type `element`, nothing else.
SafeArray arrayField(const Variant& value, VarType element, const char* field)
{
    if (value.varType() != arrayOf(element))
        throw RuntimeError(Err::TypeMismatch,
                           QStringLiteral("Type mismatch: %1 must hold an array of %2, not %3")
                               .arg(QString::fromLatin1(field), typeName(element), typeName(value.varType())));
    return value.array().compacted();
}

#define ARRAY_FIELD(name, element) record.name = arrayField(pending.name, VarType::element, #name)

void copyFields(const PendingDataSet& pending, DataSetRecord& record)
{
    record.DataSetDesc = pending.DataSetDesc;
    record.Author = pending.Author;
    record.Alarm_Status = pending.Alarm_Status;
    record.CommentFinal = pending.CommentFinal;
    record.CompressEfficiency = pending.CompressEfficiency;
    record.ConnectionMode = pending.ConnectionMode;
    record.ContinuousMemory = pending.ContinuousMemory;
    record.CMDate = pending.CMDate;
    record.Description = pending.Description;
    record.DataSource = pending.DataSource;
    record.DS_Desc = pending.DS_Desc;
    record.DS_Host = pending.DS_Host;
    record.DS_Port = QString::number(pending.DS_Port);
    record.EnableSpecificStop = pending.EnableSpecificStop;
    record.EnableStop = pending.EnableStop;
    record.FirmWareVersion = pending.FirmWareVersion;
    record.FirstReadDate = pending.FirstReadDate;
    record.Imported = pending.Imported;
    record.Logger_Type = pending.Logger_Type;
    record.LoggerTime = pending.LoggerTime;
    record.MeasInterval = pending.MeasInterval;
    record.MiscField = pending.MiscField;
    record.Model_Number = pending.Model_Number;
    record.NumOfMeas = pending.NumOfMeas;
    record.LoggerReadDate = pending.LoggerReadDate;
    record.RecordStartTime = pending.RecordStartTime;
    record.RecordStopTime = pending.RecordStopTime;
    record.RF_IsRFLogger = pending.RF_IsRFLogger;
    record.RF_Model = pending.RF_Model;
    record.RF_Desc = pending.RF_Desc;
    record.RF_Chnl = pending.RF_Chnl;
    record.RF_RFID = pending.RF_RFID;
    record.SerialNumber = pending.SerialNumber;
    ARRAY_FIELD(SignatureRead, String);
    record.SpecificStopCount = pending.SpecificStopCount;
    record.Start_Delay = pending.Start_Delay;
    record.StartDelayDate = pending.StartDelayDate;
    record.StartDelayDateMode = pending.StartDelayDateMode;
    record.Table = pending.Table;
    record.TrackingNumber = pending.TrackingNumber;
    record.WinVersion = pending.WinVersion;
    record.NumChannels = pending.NumChannels;
    record.NumActiveChannels = pending.NumActiveChannels;
    ARRAY_FIELD(ChannelNumber, Integer);
    ARRAY_FIELD(AlarmHighEnabled, Boolean);
    ARRAY_FIELD(AlarmHighValue, Single);
    ARRAY_FIELD(AlarmHighNumMeas, Long);
    ARRAY_FIELD(AlarmLowEnabled, Boolean);
    ARRAY_FIELD(AlarmLowValue, Single);
    ARRAY_FIELD(AlarmLowNumMeas, Long);
    ARRAY_FIELD(AlarmMode, Integer);
    ARRAY_FIELD(AlarmStatusPerChnl, Boolean);
    if (!pending.FirstHiAlarm.isEmpty())
        ARRAY_FIELD(FirstHiAlarm, Date);
    if (!pending.FirstLowAlarm.isEmpty())
        ARRAY_FIELD(FirstLowAlarm, Date);
    ARRAY_FIELD(AverageVal, Single);
    ARRAY_FIELD(ChnlDescription, String);
    // Probe numbers and their descriptions travel together, decided by the numbers alone.
    if (IsArrayDimensioned(pending.ProbeNumber)) {
        ARRAY_FIELD(ProbeNumber, Long);
        ARRAY_FIELD(ProbeUserDescription, String);
    }
    if (IsArrayDimensioned(pending.ProbeSensorDetail))
        ARRAY_FIELD(ProbeSensorDetail, String);
    ARRAY_FIELD(MaxVal, Single);
    ARRAY_FIELD(MinVal, Single);
    ARRAY_FIELD(MeanVal, Single);
    ARRAY_FIELD(Meas_Scale, String);
    ARRAY_FIELD(Meas_Type, Long);
    ARRAY_FIELD(Meas_Unit, String);
    ARRAY_FIELD(MKT, Single);
    ARRAY_FIELD(TimeOverAlarmLimit, Double);
    ARRAY_FIELD(TimeBelowLoAlarmLimit, Double);
    ARRAY_FIELD(UserQuery, String);
}

#undef ARRAY_FIELD

// The pending values after a commit: most start over, those of KeptForNextDataSet
// (DataSetStore.h) are kept for the next recording; change the two together.
PendingDataSet nextPending(PendingDataSet& committed)
{
    PendingDataSet next;
    next.Author = std::move(committed.Author);
    next.CMDate = committed.CMDate;
    next.MiscField = std::move(committed.MiscField);
    next.RF_Model = committed.RF_Model;
    next.AlarmMode = std::move(committed.AlarmMode);
    next.FirstHiAlarm = std::move(committed.FirstHiAlarm);
    next.FirstLowAlarm = std::move(committed.FirstLowAlarm);
    next.ProbeSensorDetail = std::move(committed.ProbeSensorDetail);
    next.SerialNumber = QStringLiteral("0");
    next.TrackingNumber = QStringLiteral("0");
    return next;
}

} // namespace

void commitDataSet(PendingDataSet& pending, std::int16_t& count)
{
    ModuleState& state = ModuleState::current();
    const std::int32_t slot = count;
    state.DataSets.redimPreserve(slot);
    state.NoteArray.redimPreserve(slot);
    state.NoteChanged.redim(slot);

    // The slot may hold a record of an earlier batch or a failed attempt: start it blank, so a
    // field that is not copied stays unallocated.
    DataSetRecord& record = state.DataSets.at(slot);
    record = DataSetRecord{};
    copyFields(pending, record);
    state.NoteArray.at(slot) = pending.Note;

    if (count == std::numeric_limits<std::int16_t>::max())
        throw RuntimeError(Err::Overflow);
    ++count;
    pending = nextPending(pending);
}

void clearAllDataSets(std::int16_t& count)
{
    ModuleState& state = ModuleState::current();
    state.DataSets.redim(0);
    count = 0;
    state.NoteChanged.redim(0);
}

} // namespace vxRecInfo
