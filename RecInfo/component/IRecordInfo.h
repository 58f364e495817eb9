#pragma once
// _RecordInfo: the dual interface of RecordInfo. C++ hosts call these members directly (each
// returns an HResult; error information of a failure is in lastErrorInfo()); late-bound hosts
// reach the same members through IDispatch. Members are in slot order.

#include "automation/IDispatch.h"
#include "automation/SafeArray.h"

namespace vxRecInfo {

class _RecordInfo : public IDispatch
{
public:
    static const QUuid& iid();
    static bool implements(const QUuid& id) { return id == iid() || IDispatch::implements(id); }

    // Optional by-reference arguments (RTF_All's EnablePageNumbering, ShowInfo's
    // ListIndexPointer) may be null: omitted, they take their defaults (True and 0).
    virtual HResult put_CMDate(Date value) = 0;
    virtual HResult put_UserSettings(const Variant& value) = 0;
    virtual HResult put_DS_Port(std::int32_t value) = 0;
    virtual HResult put_DS_Host(const QString& value) = 0;
    virtual HResult put_DS_Desc(const QString& value) = 0;
    virtual HResult put_AlarmMode(const Variant& value) = 0;
    virtual HResult PrintAll(double* PJob, std::int16_t* StartPageNum, std::int16_t* TotalPages,
                             QString* PrinterName) = 0;
    virtual HResult RTF_All(double* PJob, std::int16_t* StartPageNum, std::int16_t* TotalPages, QString* PrinterName,
                            QString* RTF_Text, bool* EnablePageNumbering) = 0;
    virtual HResult get_ImportUserSelectedTimeZone(std::int16_t* value) = 0;
    virtual HResult ClearAllDataSets() = 0;
    virtual HResult AddDataSet() = 0;
    virtual HResult put_RF_RFID(std::int32_t value) = 0;
    virtual HResult put_RF_Model(std::int32_t value) = 0;
    virtual HResult put_RF_Chnl(std::int32_t value) = 0;
    virtual HResult put_RF_Desc(const QString& value) = 0;
    virtual HResult put_RF_IsRFLogger(bool value) = 0;
    virtual HResult put_DataSource(const QString& value) = 0;
    virtual HResult get_TimeZone(std::int16_t* value) = 0;
    virtual HResult put_TimeZone(std::int16_t value) = 0;
    virtual HResult put_DataSetDesc(const QString& value) = 0;
    virtual HResult ShowImport(SafeArray* ClassicFileFlag) = 0;
    virtual HResult get_ImportFileSelected(bool* value) = 0;
    virtual HResult ShowInfo(std::int16_t* ListIndexPointer) = 0;
    virtual HResult ShowNote() = 0;
    virtual HResult put_AlarmStatusPerChnl(const Variant& value) = 0;
    virtual HResult put_UserQuery(const Variant& value) = 0;
    virtual HResult put_TimeOverAlarmLimit(const Variant& value) = 0;
    virtual HResult put_TimeBelowLoAlarmLimit(const Variant& value) = 0;
    virtual HResult put_MKT(const Variant& value) = 0;
    virtual HResult put_MinVal(const Variant& value) = 0;
    virtual HResult put_Meas_Unit(const Variant& value) = 0;
    virtual HResult put_Meas_Type(const Variant& value) = 0;
    virtual HResult put_Meas_Scale(const Variant& value) = 0;
    virtual HResult put_MeanVal(const Variant& value) = 0;
    virtual HResult put_MaxVal(const Variant& value) = 0;
    virtual HResult put_ChnlDescription(const Variant& value) = 0;
    virtual HResult put_AverageVal(const Variant& value) = 0;
    virtual HResult put_AlarmLowValue(const Variant& value) = 0;
    virtual HResult put_AlarmLowNumMeas(const Variant& value) = 0;
    virtual HResult put_AlarmLowEnabled(const Variant& value) = 0;
    virtual HResult put_AlarmHighValue(const Variant& value) = 0;
    virtual HResult put_AlarmHighNumMeas(const Variant& value) = 0;
    virtual HResult put_AlarmHighEnabled(const Variant& value) = 0;
    virtual HResult put_ChannelNumber(const Variant& value) = 0;
    virtual HResult put_NumActiveChannels(std::int16_t value) = 0;
    virtual HResult put_NumChannels(std::int16_t value) = 0;
    virtual HResult put_WinVersion(const QString& value) = 0;
    virtual HResult put_TrackingNumber(const QString& value) = 0;
    virtual HResult put_Table(std::int16_t value) = 0;
    virtual HResult put_StartDelayDateMode(bool value) = 0;
    virtual HResult put_StartDelayDate(Date value) = 0;
    virtual HResult put_Start_Delay(std::int32_t value) = 0;
    virtual HResult put_SpecificStopCount(std::int16_t value) = 0;
    virtual HResult put_SignatureRead(const Variant& value) = 0;
    virtual HResult put_Author(const QString& value) = 0;
    virtual HResult put_SerialNumber(const QString& value) = 0;
    virtual HResult put_RecordStopTime(Date value) = 0;
    virtual HResult put_RecordStartTime(Date value) = 0;
    virtual HResult put_LoggerReadDate(Date value) = 0;
    virtual HResult put_NumOfMeas(std::int32_t value) = 0;
    virtual HResult get_NoteArray(Variant* value) = 0;
    virtual HResult put_Note(const QString& value) = 0;
    virtual HResult get_NoteChangeAllowed(bool* value) = 0;
    virtual HResult put_NoteChangeAllowed(bool value) = 0;
    virtual HResult get_NoteChanged(Variant* value) = 0;
    virtual HResult put_Model_Number(std::int32_t value) = 0;
    virtual HResult put_MeasInterval(std::int32_t value) = 0;
    virtual HResult put_LoggerTime(Date value) = 0;
    virtual HResult put_Logger_Type(const QString& value) = 0;
    virtual HResult put_MiscField(const QString& value) = 0;
    virtual HResult put_Imported(bool value) = 0;
    virtual HResult put_FirstReadDate(Date value) = 0;
    virtual HResult put_FirmWareVersion(float value) = 0;
    virtual HResult put_EnableStop(bool value) = 0;
    virtual HResult put_EnableSpecificStop(bool value) = 0;
    virtual HResult put_Description(const QString& value) = 0;
    virtual HResult put_ContinuousMemory(bool value) = 0;
    virtual HResult put_CompressEfficiency(float value) = 0;
    virtual HResult put_ConnectionMode(float value) = 0;
    virtual HResult put_CommentFinal(const QString& value) = 0;
    virtual HResult put_Alarm_Status(bool value) = 0;
    virtual HResult put_ProbeNumber(const Variant& value) = 0;
    virtual HResult put_ProbeUserDescription(const Variant& value) = 0;
    virtual HResult put_FirstHiAlarm(const Variant& value) = 0;
    virtual HResult put_FirstLowAlarm(const Variant& value) = 0;
    virtual HResult put_ProbeSensorDetail(const Variant& value) = 0;
    virtual HResult RTF_NT(QString* RTF_Text) = 0;
protected:
    ~_RecordInfo() override = default;
};

} // namespace vxRecInfo
