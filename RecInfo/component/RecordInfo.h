#pragma once
// RecordInfo: the class a host creates. The host sets a recording's properties one at a time,
// commits datasets and asks for the services; late-bound hosts reach every member through
// IDispatch by name or DISPID, C++ hosts through _RecordInfo.

#include "IRecordInfo.h"
#include "PendingDataSet.h"

#include "automation/Dispatch.h"

#include <thread>

namespace vxRecInfo {

class RecordInfo final : public DispatchObject<_RecordInfo>
{
public:
    // Makes sure the apartment's HostSettings exists and restores it, then makes and reloads a
    // new FontSettings; a failure of either raises the error, so creation fails.
    RecordInfo();
    ~RecordInfo() override;

    // Creates a RecordInfo, as the class factory does; raises creation errors.
    static ComPtr<RecordInfo> create();

    const TypeInfo& GetTypeInfo() const override;

    // The committed count of this object and its pending dataset, for tests and listings.
    std::int16_t dataSetCount() const { return m_dataSetCount; }
    const PendingDataSet& pending() const { return m_pending; }

    HResult put_CMDate(Date value) override;
    HResult put_UserSettings(const Variant& value) override;
    HResult put_DS_Port(std::int32_t value) override;
    HResult put_DS_Host(const QString& value) override;
    HResult put_DS_Desc(const QString& value) override;
    HResult put_AlarmMode(const Variant& value) override;
    HResult PrintAll(double* PJob, std::int16_t* StartPageNum, std::int16_t* TotalPages,
                     QString* PrinterName) override;
    HResult RTF_All(double* PJob, std::int16_t* StartPageNum, std::int16_t* TotalPages, QString* PrinterName,
                    QString* RTF_Text, bool* EnablePageNumbering) override;
    HResult get_ImportUserSelectedTimeZone(std::int16_t* value) override;
    HResult ClearAllDataSets() override;
    HResult AddDataSet() override;
    HResult put_RF_RFID(std::int32_t value) override;
    HResult put_RF_Model(std::int32_t value) override;
    HResult put_RF_Chnl(std::int32_t value) override;
    HResult put_RF_Desc(const QString& value) override;
    HResult put_RF_IsRFLogger(bool value) override;
    HResult put_DataSource(const QString& value) override;
    HResult get_TimeZone(std::int16_t* value) override;
    HResult put_TimeZone(std::int16_t value) override;
    HResult put_DataSetDesc(const QString& value) override;
    HResult ShowImport(SafeArray* ClassicFileFlag) override;
    HResult get_ImportFileSelected(bool* value) override;
    HResult ShowInfo(std::int16_t* ListIndexPointer) override;
    HResult ShowNote() override;
    HResult put_AlarmStatusPerChnl(const Variant& value) override;
    HResult put_UserQuery(const Variant& value) override;
    HResult put_TimeOverAlarmLimit(const Variant& value) override;
    HResult put_TimeBelowLoAlarmLimit(const Variant& value) override;
    HResult put_MKT(const Variant& value) override;
    HResult put_MinVal(const Variant& value) override;
    HResult put_Meas_Unit(const Variant& value) override;
    HResult put_Meas_Type(const Variant& value) override;
    HResult put_Meas_Scale(const Variant& value) override;
    HResult put_MeanVal(const Variant& value) override;
    HResult put_MaxVal(const Variant& value) override;
    HResult put_ChnlDescription(const Variant& value) override;
    HResult put_AverageVal(const Variant& value) override;
    HResult put_AlarmLowValue(const Variant& value) override;
    HResult put_AlarmLowNumMeas(const Variant& value) override;
    HResult put_AlarmLowEnabled(const Variant& value) override;
    HResult put_AlarmHighValue(const Variant& value) override;
    HResult put_AlarmHighNumMeas(const Variant& value) override;
    HResult put_AlarmHighEnabled(const Variant& value) override;
    HResult put_ChannelNumber(const Variant& value) override;
    HResult put_NumActiveChannels(std::int16_t value) override;
    HResult put_NumChannels(std::int16_t value) override;
    HResult put_WinVersion(const QString& value) override;
    HResult put_TrackingNumber(const QString& value) override;
    HResult put_Table(std::int16_t value) override;
    HResult put_StartDelayDateMode(bool value) override;
    HResult put_StartDelayDate(Date value) override;
    HResult put_Start_Delay(std::int32_t value) override;
    HResult put_SpecificStopCount(std::int16_t value) override;
    HResult put_SignatureRead(const Variant& value) override;
    HResult put_Author(const QString& value) override;
    HResult put_SerialNumber(const QString& value) override;
    HResult put_RecordStopTime(Date value) override;
    HResult put_RecordStartTime(Date value) override;
    HResult put_LoggerReadDate(Date value) override;
    HResult put_NumOfMeas(std::int32_t value) override;
    HResult get_NoteArray(Variant* value) override;
    HResult put_Note(const QString& value) override;
    HResult get_NoteChangeAllowed(bool* value) override;
    HResult put_NoteChangeAllowed(bool value) override;
    HResult get_NoteChanged(Variant* value) override;
    HResult put_Model_Number(std::int32_t value) override;
    HResult put_MeasInterval(std::int32_t value) override;
    HResult put_LoggerTime(Date value) override;
    HResult put_Logger_Type(const QString& value) override;
    HResult put_MiscField(const QString& value) override;
    HResult put_Imported(bool value) override;
    HResult put_FirstReadDate(Date value) override;
    HResult put_FirmWareVersion(float value) override;
    HResult put_EnableStop(bool value) override;
    HResult put_EnableSpecificStop(bool value) override;
    HResult put_Description(const QString& value) override;
    HResult put_ContinuousMemory(bool value) override;
    HResult put_CompressEfficiency(float value) override;
    HResult put_ConnectionMode(float value) override;
    HResult put_CommentFinal(const QString& value) override;
    HResult put_Alarm_Status(bool value) override;
    HResult put_ProbeNumber(const Variant& value) override;
    HResult put_ProbeUserDescription(const Variant& value) override;
    HResult put_FirstHiAlarm(const Variant& value) override;
    HResult put_FirstLowAlarm(const Variant& value) override;
    HResult put_ProbeSensorDetail(const Variant& value) override;
    HResult RTF_NT(QString* RTF_Text) override;
protected:
    Variant invokeMember(const MemberInfo& member, std::vector<Variant>& args) override;

private:
    PendingDataSet m_pending;
    std::int16_t m_dataSetCount = 0;
    // The apartment's thread: released on any other, the object leaves that one's state alone.
    std::thread::id m_thread = std::this_thread::get_id();
};

} // namespace vxRecInfo
