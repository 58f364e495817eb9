// SPDX-License-Identifier: MIT
#include "RecordInfoMembers.h"

#include "DataSetFields.h"
#include "Identity.h"

#include <algorithm>

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
    std::vector<MemberInfo> all = {
#define VX_LET_SCALAR(name, slot, dispId, type, ...) let(slot, u"" #name, dispId, VarType::type),
#define VX_LET_ARRAY(name, slot, dispId, ...) let(slot, u"" #name, dispId, VarType::Variant),
        VX_DATASET_FIELDS(VX_LET_SCALAR, VX_LET_ARRAY)
#undef VX_LET_SCALAR
#undef VX_LET_ARRAY
        let(2, u"UserSettings", 0x68030046, VarType::Variant),
        method(7, u"PrintAll", 0x60030048, {byRef(u"PJob", VarType::Double), byRef(u"StartPageNum", VarType::Integer),
                                                  byRef(u"TotalPages", VarType::Integer), byRef(u"PrinterName", VarType::String)}),
        method(8, u"RTF_All", 0x60030049, {byRef(u"PJob", VarType::Double), byRef(u"StartPageNum", VarType::Integer),
                                                 byRef(u"TotalPages", VarType::Integer), byRef(u"PrinterName", VarType::String),
                                                 byRef(u"RTF_Text", VarType::String),
                                                 optionalByRef(u"EnablePageNumbering", VarType::Boolean, true)}),
        get(9, u"ImportUserSelectedTimeZone", 0x68030041, VarType::Integer),
        method(10, u"ClearAllDataSets", 0x6003004A, {}),
        method(11, u"AddDataSet", 0x6003004B, {}),
        get(18, u"TimeZone", 0x6803003A, VarType::Integer),
        let(19, u"TimeZone", 0x6803003A, VarType::Integer),
        method(21, u"ShowImport", 0x6003004C, {byRef(u"ClassicFileFlag", arrayOf(VarType::Boolean))}),
        get(22, u"ImportFileSelected", 0x68030038, VarType::Boolean),
        method(23, u"ShowInfo", 0x6003004D, {optionalByRef(u"ListIndexPointer", VarType::Integer, std::int16_t(0))}),
        method(24, u"ShowNote", 0x6003004E, {}),
        get(61, u"NoteArray", 0x68030013, VarType::Variant),
        let(62, u"Note", 0x68030012, VarType::String),
        get(63, u"NoteChangeAllowed", 0x68030011, VarType::Boolean),
        let(64, u"NoteChangeAllowed", 0x68030011, VarType::Boolean),
        get(65, u"NoteChanged", 0x68030010, VarType::Variant),
        method(87, u"RTF_NT", 0x60030054, {byRef(u"RTF_Text", VarType::String)}),
    };
    std::ranges::sort(all, {}, &MemberInfo::slot);
    return all;
}

} // namespace

const TypeInfo& recordInfoTypeInfo()
{
    static const TypeInfo info(Identity::InterfaceName, Identity::RecordInfoIid, members());
    return info;
}

} // namespace vxRecInfo
