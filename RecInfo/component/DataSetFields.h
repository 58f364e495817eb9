// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The dataset properties, once: each row gives the property's place in _RecordInfo (slot and
/// DISPID, both fixed), the type the host sets it as, and what the pending slot, the committed
/// record, the commit and the reset after it are made of. In declared order (listings, the
/// order a commit checks arrays in).
///
/// ```
///   SCALAR(name, slot, DISPID, property type, pending type, record type, after the commit)
///   ARRAY(name, slot, DISPID, element type, when the commit copies it, after the commit)
/// ```
///
/// A scalar is copied as it is; a port number (Long) is kept as its decimal text, a connection
/// mode given as a Single is rounded as CLng rounds. An array property is a Variant that must
/// hold exactly its element type; SignatureRead and UserQuery have two dimensions. An array is
/// copied Always, IfGiven (not Empty), IfDimensioned, or IfProbes (with the probe numbers, when
/// those are dimensioned). After the commit a value is Cleared to its default, Kept for the
/// next dataset, or set to Zero ("0").

/// The field table: calls SCALAR or ARRAY once per dataset property, with the columns above.
#define VX_DATASET_FIELDS(SCALAR, ARRAY) \
    SCALAR(DataSetDesc, 20, 0x68030039, String, QString, QString, Cleared) \
    SCALAR(Author, 55, 0x68030019, String, QString, QString, Kept) \
    SCALAR(Alarm_Status, 81, 0x68030000, Boolean, bool, bool, Cleared) \
    SCALAR(CommentFinal, 80, 0x68030001, String, QString, QString, Cleared) \
    SCALAR(CompressEfficiency, 78, 0x68030003, Single, float, float, Cleared) \
    SCALAR(ConnectionMode, 79, 0x68030002, Single, std::int32_t, std::int32_t, Cleared) \
    SCALAR(ContinuousMemory, 77, 0x68030004, Boolean, bool, bool, Cleared) \
    SCALAR(CMDate, 1, 0x68030047, Date, Date, Date, Kept) \
    SCALAR(Description, 76, 0x68030005, String, QString, QString, Cleared) \
    SCALAR(DataSource, 17, 0x6803003B, String, QString, QString, Cleared) \
    SCALAR(DS_Desc, 5, 0x68030043, String, QString, QString, Cleared) \
    SCALAR(DS_Host, 4, 0x68030044, String, QString, QString, Cleared) \
    SCALAR(DS_Port, 3, 0x68030045, Long, std::int32_t, QString, Cleared) \
    SCALAR(EnableSpecificStop, 75, 0x68030006, Boolean, bool, bool, Cleared) \
    SCALAR(EnableStop, 74, 0x68030007, Boolean, bool, bool, Cleared) \
    SCALAR(FirmWareVersion, 73, 0x68030008, Single, float, float, Cleared) \
    SCALAR(FirstReadDate, 72, 0x68030009, Date, Date, Date, Cleared) \
    SCALAR(Imported, 71, 0x6803000A, Boolean, bool, bool, Cleared) \
    SCALAR(Logger_Type, 69, 0x6803000C, String, QString, QString, Cleared) \
    SCALAR(LoggerTime, 68, 0x6803000D, Date, Date, Date, Cleared) \
    SCALAR(MeasInterval, 67, 0x6803000E, Long, std::int32_t, std::int32_t, Cleared) \
    SCALAR(MiscField, 70, 0x6803000B, String, QString, QString, Kept) \
    SCALAR(Model_Number, 66, 0x6803000F, Long, std::int32_t, std::int32_t, Cleared) \
    SCALAR(NumOfMeas, 60, 0x68030014, Long, std::int32_t, std::int32_t, Cleared) \
    SCALAR(LoggerReadDate, 59, 0x68030015, Date, Date, Date, Cleared) \
    SCALAR(RecordStartTime, 58, 0x68030016, Date, Date, Date, Cleared) \
    SCALAR(RecordStopTime, 57, 0x68030017, Date, Date, Date, Cleared) \
    SCALAR(RF_IsRFLogger, 16, 0x6803003C, Boolean, bool, bool, Cleared) \
    SCALAR(RF_Model, 13, 0x6803003F, Long, std::int32_t, std::int32_t, Kept) \
    SCALAR(RF_Desc, 15, 0x6803003D, String, QString, QString, Cleared) \
    SCALAR(RF_Chnl, 14, 0x6803003E, Long, std::int32_t, std::int32_t, Cleared) \
    SCALAR(RF_RFID, 12, 0x68030040, Long, std::int32_t, std::int32_t, Cleared) \
    SCALAR(SerialNumber, 56, 0x68030018, String, QString, QString, Zero) \
    ARRAY(SignatureRead, 54, 0x6803001A, String, Always, Cleared) \
    SCALAR(SpecificStopCount, 53, 0x6803001B, Integer, std::int16_t, std::int16_t, Cleared) \
    SCALAR(Start_Delay, 52, 0x6803001C, Long, std::int32_t, std::int32_t, Cleared) \
    SCALAR(StartDelayDate, 51, 0x6803001D, Date, Date, Date, Cleared) \
    SCALAR(StartDelayDateMode, 50, 0x6803001E, Boolean, bool, bool, Cleared) \
    SCALAR(Table, 49, 0x6803001F, Integer, std::int16_t, std::int16_t, Cleared) \
    SCALAR(TrackingNumber, 48, 0x68030020, String, QString, QString, Zero) \
    SCALAR(WinVersion, 47, 0x68030021, String, QString, QString, Cleared) \
    SCALAR(NumChannels, 46, 0x68030022, Integer, std::int16_t, std::int16_t, Cleared) \
    SCALAR(NumActiveChannels, 45, 0x68030023, Integer, std::int16_t, std::int16_t, Cleared) \
    ARRAY(ChannelNumber, 44, 0x68030024, Integer, Always, Cleared) \
    ARRAY(AlarmHighEnabled, 43, 0x68030025, Boolean, Always, Cleared) \
    ARRAY(AlarmHighValue, 41, 0x68030027, Single, Always, Cleared) \
    ARRAY(AlarmHighNumMeas, 42, 0x68030026, Long, Always, Cleared) \
    ARRAY(AlarmLowEnabled, 40, 0x68030028, Boolean, Always, Cleared) \
    ARRAY(AlarmLowValue, 38, 0x6803002A, Single, Always, Cleared) \
    ARRAY(AlarmLowNumMeas, 39, 0x68030029, Long, Always, Cleared) \
    ARRAY(AlarmMode, 6, 0x68030042, Integer, Always, Kept) \
    ARRAY(AlarmStatusPerChnl, 25, 0x68030037, Boolean, Always, Cleared) \
    ARRAY(FirstHiAlarm, 84, 0x68030052, Date, IfGiven, Kept) \
    ARRAY(FirstLowAlarm, 85, 0x68030051, Date, IfGiven, Kept) \
    ARRAY(AverageVal, 37, 0x6803002B, Single, Always, Cleared) \
    ARRAY(ChnlDescription, 36, 0x6803002C, String, Always, Cleared) \
    ARRAY(ProbeNumber, 82, 0x68030050, Long, IfProbes, Cleared) \
    ARRAY(ProbeUserDescription, 83, 0x6803004F, String, IfProbes, Cleared) \
    ARRAY(ProbeSensorDetail, 86, 0x68030053, String, IfDimensioned, Kept) \
    ARRAY(MaxVal, 35, 0x6803002D, Single, Always, Cleared) \
    ARRAY(MinVal, 30, 0x68030032, Single, Always, Cleared) \
    ARRAY(MeanVal, 34, 0x6803002E, Single, Always, Cleared) \
    ARRAY(Meas_Scale, 33, 0x6803002F, String, Always, Cleared) \
    ARRAY(Meas_Type, 32, 0x68030030, Long, Always, Cleared) \
    ARRAY(Meas_Unit, 31, 0x68030031, String, Always, Cleared) \
    ARRAY(MKT, 29, 0x68030033, Single, Always, Cleared) \
    ARRAY(TimeOverAlarmLimit, 27, 0x68030035, Double, Always, Cleared) \
    ARRAY(TimeBelowLoAlarmLimit, 28, 0x68030034, Double, Always, Cleared) \
    ARRAY(UserQuery, 26, 0x68030036, String, Always, Cleared)
