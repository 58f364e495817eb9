#include "RecordInfo.h"

#include "DataSetStore.h"
#include "HostObjects.h"
#include "Identity.h"
#include "ModuleState.h"
#include "RecordInfoMembers.h"
#include "RecordServices.h"

#include "automation/SafeArray.h"

namespace vxRecInfo {

namespace {

template <class Slot, class Value>
HResult store(Slot& slot, const Value& value)
{
    slot = value;
    return S_OK;
}

template <class T>
HResult read(T* out, const T& value)
{
    if (!out)
        return E_POINTER;
    *out = value;
    return S_OK;
}

// A module array as a Variant array of its own (not dimensioned when the store never was).
template <class T>
Variant copyOf(const BasicArray<T>& items, VarType element)
{
    SafeArray copy(element);
    if (items.isDimensioned()) {
        copy.redim({{0, items.upperBound()}});
        for (std::int32_t i = 0; i <= items.upperBound(); ++i)
            copy.set(i, items.at(i));
    }
    return Variant(std::move(copy));
}

} // namespace

const QUuid& _RecordInfo::iid()
{
    return Identity::RecordInfoIid;
}

RecordInfo::RecordInfo()
{
    lateCall(hostSettings(), QStringLiteral("RestoreParameters"));
    ReleaseTimeZoneService(true);
    renewFontSettings();
}

RecordInfo::~RecordInfo()
{
    if (m_thread == std::this_thread::get_id())
        ReleaseTimeZoneService(false);
}

ComPtr<RecordInfo> RecordInfo::create()
{
    return makeObject<RecordInfo>();
}

const TypeInfo& RecordInfo::GetTypeInfo() const
{
    return recordInfoTypeInfo();
}

// Dataset properties: the pending value of the field of the same name.
HResult RecordInfo::put_CMDate(Date value) { return store(m_pending.CMDate, value); }
HResult RecordInfo::put_DS_Host(const QString& value) { return store(m_pending.DS_Host, value); }
HResult RecordInfo::put_DS_Desc(const QString& value) { return store(m_pending.DS_Desc, value); }
HResult RecordInfo::put_AlarmMode(const Variant& value) { return store(m_pending.AlarmMode, value); }
HResult RecordInfo::put_RF_RFID(std::int32_t value) { return store(m_pending.RF_RFID, value); }
HResult RecordInfo::put_RF_Model(std::int32_t value) { return store(m_pending.RF_Model, value); }
HResult RecordInfo::put_RF_Chnl(std::int32_t value) { return store(m_pending.RF_Chnl, value); }
HResult RecordInfo::put_RF_Desc(const QString& value) { return store(m_pending.RF_Desc, value); }
HResult RecordInfo::put_RF_IsRFLogger(bool value) { return store(m_pending.RF_IsRFLogger, value); }
HResult RecordInfo::put_DataSource(const QString& value) { return store(m_pending.DataSource, value); }
HResult RecordInfo::put_DataSetDesc(const QString& value) { return store(m_pending.DataSetDesc, value); }
HResult RecordInfo::put_AlarmStatusPerChnl(const Variant& value) { return store(m_pending.AlarmStatusPerChnl, value); }
HResult RecordInfo::put_UserQuery(const Variant& value) { return store(m_pending.UserQuery, value); }
HResult RecordInfo::put_TimeOverAlarmLimit(const Variant& value) { return store(m_pending.TimeOverAlarmLimit, value); }
HResult RecordInfo::put_TimeBelowLoAlarmLimit(const Variant& value) { return store(m_pending.TimeBelowLoAlarmLimit, value); }
HResult RecordInfo::put_MKT(const Variant& value) { return store(m_pending.MKT, value); }
HResult RecordInfo::put_MinVal(const Variant& value) { return store(m_pending.MinVal, value); }
HResult RecordInfo::put_Meas_Unit(const Variant& value) { return store(m_pending.Meas_Unit, value); }
HResult RecordInfo::put_Meas_Type(const Variant& value) { return store(m_pending.Meas_Type, value); }
HResult RecordInfo::put_Meas_Scale(const Variant& value) { return store(m_pending.Meas_Scale, value); }
HResult RecordInfo::put_MeanVal(const Variant& value) { return store(m_pending.MeanVal, value); }
HResult RecordInfo::put_MaxVal(const Variant& value) { return store(m_pending.MaxVal, value); }
HResult RecordInfo::put_ChnlDescription(const Variant& value) { return store(m_pending.ChnlDescription, value); }
HResult RecordInfo::put_AverageVal(const Variant& value) { return store(m_pending.AverageVal, value); }
HResult RecordInfo::put_AlarmLowValue(const Variant& value) { return store(m_pending.AlarmLowValue, value); }
HResult RecordInfo::put_AlarmLowNumMeas(const Variant& value) { return store(m_pending.AlarmLowNumMeas, value); }
HResult RecordInfo::put_AlarmLowEnabled(const Variant& value) { return store(m_pending.AlarmLowEnabled, value); }
HResult RecordInfo::put_AlarmHighValue(const Variant& value) { return store(m_pending.AlarmHighValue, value); }
HResult RecordInfo::put_AlarmHighNumMeas(const Variant& value) { return store(m_pending.AlarmHighNumMeas, value); }
HResult RecordInfo::put_AlarmHighEnabled(const Variant& value) { return store(m_pending.AlarmHighEnabled, value); }
HResult RecordInfo::put_ChannelNumber(const Variant& value) { return store(m_pending.ChannelNumber, value); }
HResult RecordInfo::put_NumActiveChannels(std::int16_t value) { return store(m_pending.NumActiveChannels, value); }
HResult RecordInfo::put_NumChannels(std::int16_t value) { return store(m_pending.NumChannels, value); }
HResult RecordInfo::put_WinVersion(const QString& value) { return store(m_pending.WinVersion, value); }
HResult RecordInfo::put_TrackingNumber(const QString& value) { return store(m_pending.TrackingNumber, value); }
HResult RecordInfo::put_Table(std::int16_t value) { return store(m_pending.Table, value); }
HResult RecordInfo::put_StartDelayDateMode(bool value) { return store(m_pending.StartDelayDateMode, value); }
HResult RecordInfo::put_StartDelayDate(Date value) { return store(m_pending.StartDelayDate, value); }
HResult RecordInfo::put_Start_Delay(std::int32_t value) { return store(m_pending.Start_Delay, value); }
HResult RecordInfo::put_SpecificStopCount(std::int16_t value) { return store(m_pending.SpecificStopCount, value); }
HResult RecordInfo::put_SignatureRead(const Variant& value) { return store(m_pending.SignatureRead, value); }
HResult RecordInfo::put_Author(const QString& value) { return store(m_pending.Author, value); }
HResult RecordInfo::put_SerialNumber(const QString& value) { return store(m_pending.SerialNumber, value); }
HResult RecordInfo::put_RecordStopTime(Date value) { return store(m_pending.RecordStopTime, value); }
HResult RecordInfo::put_RecordStartTime(Date value) { return store(m_pending.RecordStartTime, value); }
HResult RecordInfo::put_LoggerReadDate(Date value) { return store(m_pending.LoggerReadDate, value); }
HResult RecordInfo::put_NumOfMeas(std::int32_t value) { return store(m_pending.NumOfMeas, value); }
HResult RecordInfo::put_Model_Number(std::int32_t value) { return store(m_pending.Model_Number, value); }
HResult RecordInfo::put_MeasInterval(std::int32_t value) { return store(m_pending.MeasInterval, value); }
HResult RecordInfo::put_LoggerTime(Date value) { return store(m_pending.LoggerTime, value); }
HResult RecordInfo::put_Logger_Type(const QString& value) { return store(m_pending.Logger_Type, value); }
HResult RecordInfo::put_MiscField(const QString& value) { return store(m_pending.MiscField, value); }
HResult RecordInfo::put_Imported(bool value) { return store(m_pending.Imported, value); }
HResult RecordInfo::put_FirstReadDate(Date value) { return store(m_pending.FirstReadDate, value); }
HResult RecordInfo::put_FirmWareVersion(float value) { return store(m_pending.FirmWareVersion, value); }
HResult RecordInfo::put_EnableStop(bool value) { return store(m_pending.EnableStop, value); }
HResult RecordInfo::put_EnableSpecificStop(bool value) { return store(m_pending.EnableSpecificStop, value); }
HResult RecordInfo::put_Description(const QString& value) { return store(m_pending.Description, value); }
HResult RecordInfo::put_ContinuousMemory(bool value) { return store(m_pending.ContinuousMemory, value); }
HResult RecordInfo::put_CompressEfficiency(float value) { return store(m_pending.CompressEfficiency, value); }
HResult RecordInfo::put_CommentFinal(const QString& value) { return store(m_pending.CommentFinal, value); }
HResult RecordInfo::put_Alarm_Status(bool value) { return store(m_pending.Alarm_Status, value); }
HResult RecordInfo::put_ProbeNumber(const Variant& value) { return store(m_pending.ProbeNumber, value); }
HResult RecordInfo::put_ProbeUserDescription(const Variant& value) { return store(m_pending.ProbeUserDescription, value); }
HResult RecordInfo::put_FirstHiAlarm(const Variant& value) { return store(m_pending.FirstHiAlarm, value); }
HResult RecordInfo::put_FirstLowAlarm(const Variant& value) { return store(m_pending.FirstLowAlarm, value); }
HResult RecordInfo::put_ProbeSensorDetail(const Variant& value) { return store(m_pending.ProbeSensorDetail, value); }
HResult RecordInfo::put_DS_Port(std::int32_t value) { return store(m_pending.DS_Port, value); }
HResult RecordInfo::put_Note(const QString& value) { return store(m_pending.Note, value); }

HResult RecordInfo::put_ConnectionMode(float value)
{
    return guarded([&] { m_pending.ConnectionMode = Variant(value).toLong(); });
}

// Module state.
HResult RecordInfo::put_UserSettings(const Variant& value) { return store(ModuleState::current().UserSettings, value); }
HResult RecordInfo::put_TimeZone(std::int16_t value) { return store(ModuleState::current().TimeZone, value); }
HResult RecordInfo::get_TimeZone(std::int16_t* value) { return read(value, ModuleState::current().TimeZone); }
HResult RecordInfo::put_NoteChangeAllowed(bool value) { return store(ModuleState::current().NoteChangeAllowed, value); }
HResult RecordInfo::get_NoteChangeAllowed(bool* value) { return read(value, ModuleState::current().NoteChangeAllowed); }
HResult RecordInfo::get_ImportFileSelected(bool* value) { return read(value, ModuleState::current().ImportFileSelected); }

HResult RecordInfo::get_ImportUserSelectedTimeZone(std::int16_t* value)
{
    return read(value, ModuleState::current().ImportUserSelectedTimeZone);
}

HResult RecordInfo::get_NoteArray(Variant* value)
{
    return guarded([&] { checkHResult(read(value, copyOf(ModuleState::current().NoteArray, VarType::String))); });
}

HResult RecordInfo::get_NoteChanged(Variant* value)
{
    return guarded([&] { checkHResult(read(value, copyOf(ModuleState::current().NoteChanged, VarType::Boolean))); });
}

// The dataset store.
HResult RecordInfo::AddDataSet()
{
    return guarded([&] { commitDataSet(m_pending, m_dataSetCount); });
}

HResult RecordInfo::ClearAllDataSets()
{
    return guarded([&] { clearAllDataSets(m_dataSetCount); });
}

// Services: the windows do the work.
namespace {

RecordServices& services(const char* service)
{
    RecordServices* installed = recordServices();
    if (!installed)
        throw RuntimeError(Err::ActionNotSupported,
                           QStringLiteral("%1 is not available: the windows it needs are not part of this build")
                               .arg(QString::fromLatin1(service)),
                           QStringLiteral("RecordInfo.%1").arg(QString::fromLatin1(service)));
    return *installed;
}

} // namespace

HResult RecordInfo::ShowInfo(std::int16_t* ListIndexPointer)
{
    return guarded([&] { services("ShowInfo").ShowInfo(ListIndexPointer ? *ListIndexPointer : std::int16_t(0)); });
}

HResult RecordInfo::ShowImport(SafeArray* ClassicFileFlag)
{
    return guarded([&] {
        if (!ClassicFileFlag)
            throw RuntimeError(Err::ArgumentNotOptional);
        services("ShowImport").ShowImport(*ClassicFileFlag);
    });
}

HResult RecordInfo::ShowNote()
{
    return guarded([&] { services("ShowNote").ShowNote(m_pending.Note); });
}

HResult RecordInfo::PrintAll(double* PJob, std::int16_t* StartPageNum, std::int16_t* TotalPages, QString* PrinterName)
{
    return guarded([&] {
        if (!PJob || !StartPageNum || !TotalPages || !PrinterName)
            throw RuntimeError(Err::ArgumentNotOptional);
        services("PrintAll").PrintAll(*PJob, *StartPageNum, *TotalPages, *PrinterName);
    });
}

HResult RecordInfo::RTF_All(double* PJob, std::int16_t* StartPageNum, std::int16_t* TotalPages, QString* PrinterName,
                            QString* RTF_Text, bool* EnablePageNumbering)
{
    return guarded([&] {
        if (!PJob || !StartPageNum || !TotalPages || !PrinterName || !RTF_Text)
            throw RuntimeError(Err::ArgumentNotOptional);
        services("RTF_All").RTF_All(*PJob, *StartPageNum, *TotalPages, *PrinterName, *RTF_Text,
                                    EnablePageNumbering ? *EnablePageNumbering : true);
    });
}

HResult RecordInfo::RTF_NT(QString* RTF_Text)
{
    return guarded([&] {
        if (!RTF_Text)
            throw RuntimeError(Err::ArgumentNotOptional);
        services("RTF_NT").RTF_NT(*RTF_Text);
    });
}

} // namespace vxRecInfo
