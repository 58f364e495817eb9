#pragma once
// One committed recording: the values of the dataset properties at the moment of AddDataSet.
// The fields keep the declared order of the record; arrays are owned by the record.

#include "automation/SafeArray.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <utility>

namespace vxRecInfo {

struct DataSetRecord {
    QString DataSetDesc;
    QString Author;
    bool Alarm_Status = false;
    QString CommentFinal;
    float CompressEfficiency = 0;
    std::int32_t ConnectionMode = 0;
    bool ContinuousMemory = false;
    Date CMDate;
    QString Description;
    QString DataSource;
    QString DS_Desc;
    QString DS_Host;
    QString DS_Port; // decimal text of the port number
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
    SafeArray SignatureRead{VarType::String}; // two dimensions
    std::int16_t SpecificStopCount = 0;
    std::int32_t Start_Delay = 0;
    Date StartDelayDate;
    bool StartDelayDateMode = false;
    std::int16_t Table = 0;
    QString TrackingNumber;
    QString WinVersion;
    std::int16_t NumChannels = 0;
    std::int16_t NumActiveChannels = 0;
    SafeArray ChannelNumber{VarType::Integer};
    SafeArray AlarmHighEnabled{VarType::Boolean};
    SafeArray AlarmHighValue{VarType::Single};
    SafeArray AlarmHighNumMeas{VarType::Long};
    SafeArray AlarmLowEnabled{VarType::Boolean};
    SafeArray AlarmLowValue{VarType::Single};
    SafeArray AlarmLowNumMeas{VarType::Long};
    SafeArray AlarmMode{VarType::Integer};
    SafeArray AlarmStatusPerChnl{VarType::Boolean};
    SafeArray FirstHiAlarm{VarType::Date};         // only when given
    SafeArray FirstLowAlarm{VarType::Date};        // only when given
    SafeArray AverageVal{VarType::Single};
    SafeArray ChnlDescription{VarType::String};
    SafeArray ProbeNumber{VarType::Long};          // only when ProbeNumber was given
    SafeArray ProbeUserDescription{VarType::String}; // only when ProbeNumber was given
    SafeArray ProbeSensorDetail{VarType::String};  // only when given
    SafeArray MaxVal{VarType::Single};
    SafeArray MinVal{VarType::Single};
    SafeArray MeanVal{VarType::Single};
    SafeArray Meas_Scale{VarType::String};
    SafeArray Meas_Type{VarType::Long};
    SafeArray Meas_Unit{VarType::String};
    SafeArray MKT{VarType::Single};
    SafeArray TimeOverAlarmLimit{VarType::Double};
    SafeArray TimeBelowLoAlarmLimit{VarType::Double};
    SafeArray UserQuery{VarType::String}; // two dimensions
};

// The record's fields in declared order, as (name, value) pairs; for listings and tests.
QList<std::pair<QString, Variant>> fieldsOf(const DataSetRecord& record);

} // namespace vxRecInfo
