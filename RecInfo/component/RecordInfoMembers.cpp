#include "RecordInfoMembers.h"

#include "Identity.h"

namespace vxRecInfo {

namespace {

MemberInfo let(int slot, const char16_t* name, quint32 dispId, VarType type)
{
    return propertyLet(slot, QString::fromUtf16(name), DispId(dispId), type);
}

MemberInfo get(int slot, const char16_t* name, quint32 dispId, VarType type)
{
    return propertyGet(slot, QString::fromUtf16(name), DispId(dispId), type);
}

MemberInfo method(int slot, const char16_t* name, quint32 dispId, std::vector<ParamInfo> params)
{
    return vxRecInfo::method(slot, QString::fromUtf16(name), DispId(dispId), std::move(params));
}

ParamInfo byRef(const char16_t* name, VarType type)
{
    return vxRecInfo::byRef(QString::fromUtf16(name), type);
}

ParamInfo optionalByRef(const char16_t* name, VarType type, Variant defaultValue)
{
    return vxRecInfo::optionalByRef(QString::fromUtf16(name), type, std::move(defaultValue));
}

std::vector<MemberInfo> members()
{
    return {
        let(1, u"CMDate", 0x68030047, VarType::Date),
        let(2, u"UserSettings", 0x68030046, VarType::Variant),
        let(3, u"DS_Port", 0x68030045, VarType::Long),
        let(4, u"DS_Host", 0x68030044, VarType::String),
        let(5, u"DS_Desc", 0x68030043, VarType::String),
        let(6, u"AlarmMode", 0x68030042, VarType::Variant),
        method(7, u"PrintAll", 0x60030048, {byRef(u"PJob", VarType::Double), byRef(u"StartPageNum", VarType::Integer),
                                                  byRef(u"TotalPages", VarType::Integer), byRef(u"PrinterName", VarType::String)}),
        method(8, u"RTF_All", 0x60030049, {byRef(u"PJob", VarType::Double), byRef(u"StartPageNum", VarType::Integer),
                                                 byRef(u"TotalPages", VarType::Integer), byRef(u"PrinterName", VarType::String),
                                                 byRef(u"RTF_Text", VarType::String),
                                                 optionalByRef(u"EnablePageNumbering", VarType::Boolean, true)}),
        get(9, u"ImportUserSelectedTimeZone", 0x68030041, VarType::Integer),
        method(10, u"ClearAllDataSets", 0x6003004A, {}),
        method(11, u"AddDataSet", 0x6003004B, {}),
        let(12, u"RF_RFID", 0x68030040, VarType::Long),
        let(13, u"RF_Model", 0x6803003F, VarType::Long),
        let(14, u"RF_Chnl", 0x6803003E, VarType::Long),
        let(15, u"RF_Desc", 0x6803003D, VarType::String),
        let(16, u"RF_IsRFLogger", 0x6803003C, VarType::Boolean),
        let(17, u"DataSource", 0x6803003B, VarType::String),
        get(18, u"TimeZone", 0x6803003A, VarType::Integer),
        let(19, u"TimeZone", 0x6803003A, VarType::Integer),
        let(20, u"DataSetDesc", 0x68030039, VarType::String),
        method(21, u"ShowImport", 0x6003004C, {byRef(u"ClassicFileFlag", arrayOf(VarType::Boolean))}),
        get(22, u"ImportFileSelected", 0x68030038, VarType::Boolean),
        method(23, u"ShowInfo", 0x6003004D, {optionalByRef(u"ListIndexPointer", VarType::Integer, std::int16_t(0))}),
        method(24, u"ShowNote", 0x6003004E, {}),
        let(25, u"AlarmStatusPerChnl", 0x68030037, VarType::Variant),
        let(26, u"UserQuery", 0x68030036, VarType::Variant),
        let(27, u"TimeOverAlarmLimit", 0x68030035, VarType::Variant),
        let(28, u"TimeBelowLoAlarmLimit", 0x68030034, VarType::Variant),
        let(29, u"MKT", 0x68030033, VarType::Variant),
        let(30, u"MinVal", 0x68030032, VarType::Variant),
        let(31, u"Meas_Unit", 0x68030031, VarType::Variant),
        let(32, u"Meas_Type", 0x68030030, VarType::Variant),
        let(33, u"Meas_Scale", 0x6803002F, VarType::Variant),
        let(34, u"MeanVal", 0x6803002E, VarType::Variant),
        let(35, u"MaxVal", 0x6803002D, VarType::Variant),
        let(36, u"ChnlDescription", 0x6803002C, VarType::Variant),
        let(37, u"AverageVal", 0x6803002B, VarType::Variant),
        let(38, u"AlarmLowValue", 0x6803002A, VarType::Variant),
        let(39, u"AlarmLowNumMeas", 0x68030029, VarType::Variant),
        let(40, u"AlarmLowEnabled", 0x68030028, VarType::Variant),
        let(41, u"AlarmHighValue", 0x68030027, VarType::Variant),
        let(42, u"AlarmHighNumMeas", 0x68030026, VarType::Variant),
        let(43, u"AlarmHighEnabled", 0x68030025, VarType::Variant),
        let(44, u"ChannelNumber", 0x68030024, VarType::Variant),
        let(45, u"NumActiveChannels", 0x68030023, VarType::Integer),
        let(46, u"NumChannels", 0x68030022, VarType::Integer),
        let(47, u"WinVersion", 0x68030021, VarType::String),
        let(48, u"TrackingNumber", 0x68030020, VarType::String),
        let(49, u"Table", 0x6803001F, VarType::Integer),
        let(50, u"StartDelayDateMode", 0x6803001E, VarType::Boolean),
        let(51, u"StartDelayDate", 0x6803001D, VarType::Date),
        let(52, u"Start_Delay", 0x6803001C, VarType::Long),
        let(53, u"SpecificStopCount", 0x6803001B, VarType::Integer),
        let(54, u"SignatureRead", 0x6803001A, VarType::Variant),
        let(55, u"Author", 0x68030019, VarType::String),
        let(56, u"SerialNumber", 0x68030018, VarType::String),
        let(57, u"RecordStopTime", 0x68030017, VarType::Date),
        let(58, u"RecordStartTime", 0x68030016, VarType::Date),
        let(59, u"LoggerReadDate", 0x68030015, VarType::Date),
        let(60, u"NumOfMeas", 0x68030014, VarType::Long),
        get(61, u"NoteArray", 0x68030013, VarType::Variant),
        let(62, u"Note", 0x68030012, VarType::String),
        get(63, u"NoteChangeAllowed", 0x68030011, VarType::Boolean),
        let(64, u"NoteChangeAllowed", 0x68030011, VarType::Boolean),
        get(65, u"NoteChanged", 0x68030010, VarType::Variant),
        let(66, u"Model_Number", 0x6803000F, VarType::Long),
        let(67, u"MeasInterval", 0x6803000E, VarType::Long),
        let(68, u"LoggerTime", 0x6803000D, VarType::Date),
        let(69, u"Logger_Type", 0x6803000C, VarType::String),
        let(70, u"MiscField", 0x6803000B, VarType::String),
        let(71, u"Imported", 0x6803000A, VarType::Boolean),
        let(72, u"FirstReadDate", 0x68030009, VarType::Date),
        let(73, u"FirmWareVersion", 0x68030008, VarType::Single),
        let(74, u"EnableStop", 0x68030007, VarType::Boolean),
        let(75, u"EnableSpecificStop", 0x68030006, VarType::Boolean),
        let(76, u"Description", 0x68030005, VarType::String),
        let(77, u"ContinuousMemory", 0x68030004, VarType::Boolean),
        let(78, u"CompressEfficiency", 0x68030003, VarType::Single),
        let(79, u"ConnectionMode", 0x68030002, VarType::Single),
        let(80, u"CommentFinal", 0x68030001, VarType::String),
        let(81, u"Alarm_Status", 0x68030000, VarType::Boolean),
        let(82, u"ProbeNumber", 0x68030050, VarType::Variant),
        let(83, u"ProbeUserDescription", 0x6803004F, VarType::Variant),
        let(84, u"FirstHiAlarm", 0x68030052, VarType::Variant),
        let(85, u"FirstLowAlarm", 0x68030051, VarType::Variant),
        let(86, u"ProbeSensorDetail", 0x68030053, VarType::Variant),
        method(87, u"RTF_NT", 0x60030054, {byRef(u"RTF_Text", VarType::String)}),
    };
}

} // namespace

const TypeInfo& recordInfoTypeInfo()
{
    static const TypeInfo info(Identity::InterfaceName, Identity::RecordInfoIid, members());
    return info;
}

} // namespace vxRecInfo
