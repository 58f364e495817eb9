#pragma once
// The dataset the host is filling: one slot per dataset property, typed as the property, plus
// the pending note. AddDataSet copies it into the store.

#include "automation/Variant.h"

#include <QString>

#include <cstdint>

namespace vxRecInfo {

struct PendingDataSet {
    QString DataSetDesc;
    QString Author;
    bool Alarm_Status = false;
    QString CommentFinal;
    float CompressEfficiency = 0;
    std::int32_t ConnectionMode = 0; // the property's Single, rounded half to even when set
    bool ContinuousMemory = false;
    Date CMDate;
    QString Description;
    QString DataSource;
    QString DS_Desc;
    QString DS_Host;
    std::int32_t DS_Port = 0;
    bool EnableSpecificStop = false;
    bool EnableStop = false;
    float FirmWareVersion = 0;
    Date FirstReadDate;
    bool Imported = false;
    QString Logger_Type;
    Date LoggerTime;
    std::int32_t MeasInterval = 0;
    QString MiscField;
    std::int32_t Model_Number = 0;
    std::int32_t NumOfMeas = 0;
    Date LoggerReadDate;
    Date RecordStartTime;
    Date RecordStopTime;
    bool RF_IsRFLogger = false;
    std::int32_t RF_Model = 0;
    QString RF_Desc;
    std::int32_t RF_Chnl = 0;
    std::int32_t RF_RFID = 0;
    QString SerialNumber;
    Variant SignatureRead;
    std::int16_t SpecificStopCount = 0;
    std::int32_t Start_Delay = 0;
    Date StartDelayDate;
    bool StartDelayDateMode = false;
    std::int16_t Table = 0;
    QString TrackingNumber;
    QString WinVersion;
    std::int16_t NumChannels = 0;
    std::int16_t NumActiveChannels = 0;
    Variant ChannelNumber;
    Variant AlarmHighEnabled;
    Variant AlarmHighValue;
    Variant AlarmHighNumMeas;
    Variant AlarmLowEnabled;
    Variant AlarmLowValue;
    Variant AlarmLowNumMeas;
    Variant AlarmMode;
    Variant AlarmStatusPerChnl;
    Variant FirstHiAlarm;
    Variant FirstLowAlarm;
    Variant AverageVal;
    Variant ChnlDescription;
    Variant ProbeNumber;
    Variant ProbeUserDescription;
    Variant ProbeSensorDetail;
    Variant MaxVal;
    Variant MinVal;
    Variant MeanVal;
    Variant Meas_Scale;
    Variant Meas_Type;
    Variant Meas_Unit;
    Variant MKT;
    Variant TimeOverAlarmLimit;
    Variant TimeBelowLoAlarmLimit;
    Variant UserQuery;

    QString Note;
};

} // namespace vxRecInfo
