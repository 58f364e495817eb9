#pragma once
// The dataset properties, once: each row gives what the pending slot, the committed record, the
// commit and the reset after it are made of. In declared order (listings, the order a commit
// checks arrays in).
//
//   SCALAR(name, pending type, record type, after the commit)
//   ARRAY(name, element type, when the commit copies it, after the commit)
//
// A scalar is copied as it is; a port number (Long) is kept as its decimal text. An array must
// hold exactly its element type; SignatureRead and UserQuery have two dimensions. An array is
// copied Always, IfGiven (not Empty), IfDimensioned, or IfProbes (with the probe numbers, when
// those are dimensioned). After the commit a value is Cleared to its default, Kept for the
// next dataset, or set to Zero ("0").

#define VX_DATASET_FIELDS(SCALAR, ARRAY) \
    SCALAR(DataSetDesc, QString, QString, Cleared) \
    SCALAR(Author, QString, QString, Kept) \
    SCALAR(Alarm_Status, bool, bool, Cleared) \
    SCALAR(CommentFinal, QString, QString, Cleared) \
    SCALAR(CompressEfficiency, float, float, Cleared) \
    SCALAR(ConnectionMode, std::int32_t, std::int32_t, Cleared) \
    SCALAR(ContinuousMemory, bool, bool, Cleared) \
    SCALAR(CMDate, Date, Date, Kept) \
    SCALAR(Description, QString, QString, Cleared) \
    SCALAR(DataSource, QString, QString, Cleared) \
    SCALAR(DS_Desc, QString, QString, Cleared) \
    SCALAR(DS_Host, QString, QString, Cleared) \
    SCALAR(DS_Port, std::int32_t, QString, Cleared) \
    SCALAR(EnableSpecificStop, bool, bool, Cleared) \
    SCALAR(EnableStop, bool, bool, Cleared) \
    SCALAR(FirmWareVersion, float, float, Cleared) \
    SCALAR(FirstReadDate, Date, Date, Cleared) \
    SCALAR(Imported, bool, bool, Cleared) \
    SCALAR(Logger_Type, QString, QString, Cleared) \
    SCALAR(LoggerTime, Date, Date, Cleared) \
    SCALAR(MeasInterval, std::int32_t, std::int32_t, Cleared) \
    SCALAR(MiscField, QString, QString, Kept) \
    SCALAR(Model_Number, std::int32_t, std::int32_t, Cleared) \
    SCALAR(NumOfMeas, std::int32_t, std::int32_t, Cleared) \
    SCALAR(LoggerReadDate, Date, Date, Cleared) \
    SCALAR(RecordStartTime, Date, Date, Cleared) \
    SCALAR(RecordStopTime, Date, Date, Cleared) \
    SCALAR(RF_IsRFLogger, bool, bool, Cleared) \
    SCALAR(RF_Model, std::int32_t, std::int32_t, Kept) \
    SCALAR(RF_Desc, QString, QString, Cleared) \
    SCALAR(RF_Chnl, std::int32_t, std::int32_t, Cleared) \
    SCALAR(RF_RFID, std::int32_t, std::int32_t, Cleared) \
    SCALAR(SerialNumber, QString, QString, Zero) \
    ARRAY(SignatureRead, String, Always, Cleared) \
    SCALAR(SpecificStopCount, std::int16_t, std::int16_t, Cleared) \
    SCALAR(Start_Delay, std::int32_t, std::int32_t, Cleared) \
    SCALAR(StartDelayDate, Date, Date, Cleared) \
    SCALAR(StartDelayDateMode, bool, bool, Cleared) \
    SCALAR(Table, std::int16_t, std::int16_t, Cleared) \
    SCALAR(TrackingNumber, QString, QString, Zero) \
    SCALAR(WinVersion, QString, QString, Cleared) \
    SCALAR(NumChannels, std::int16_t, std::int16_t, Cleared) \
    SCALAR(NumActiveChannels, std::int16_t, std::int16_t, Cleared) \
    ARRAY(ChannelNumber, Integer, Always, Cleared) \
    ARRAY(AlarmHighEnabled, Boolean, Always, Cleared) \
    ARRAY(AlarmHighValue, Single, Always, Cleared) \
    ARRAY(AlarmHighNumMeas, Long, Always, Cleared) \
    ARRAY(AlarmLowEnabled, Boolean, Always, Cleared) \
    ARRAY(AlarmLowValue, Single, Always, Cleared) \
    ARRAY(AlarmLowNumMeas, Long, Always, Cleared) \
    ARRAY(AlarmMode, Integer, Always, Kept) \
    ARRAY(AlarmStatusPerChnl, Boolean, Always, Cleared) \
    ARRAY(FirstHiAlarm, Date, IfGiven, Kept) \
    ARRAY(FirstLowAlarm, Date, IfGiven, Kept) \
    ARRAY(AverageVal, Single, Always, Cleared) \
    ARRAY(ChnlDescription, String, Always, Cleared) \
    ARRAY(ProbeNumber, Long, IfProbes, Cleared) \
    ARRAY(ProbeUserDescription, String, IfProbes, Cleared) \
    ARRAY(ProbeSensorDetail, String, IfDimensioned, Kept) \
    ARRAY(MaxVal, Single, Always, Cleared) \
    ARRAY(MinVal, Single, Always, Cleared) \
    ARRAY(MeanVal, Single, Always, Cleared) \
    ARRAY(Meas_Scale, String, Always, Cleared) \
    ARRAY(Meas_Type, Long, Always, Cleared) \
    ARRAY(Meas_Unit, String, Always, Cleared) \
    ARRAY(MKT, Single, Always, Cleared) \
    ARRAY(TimeOverAlarmLimit, Double, Always, Cleared) \
    ARRAY(TimeBelowLoAlarmLimit, Double, Always, Cleared) \
    ARRAY(UserQuery, String, Always, Cleared)
