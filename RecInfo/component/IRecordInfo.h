// SPDX-License-Identifier: MIT
#pragma once
// _RecordInfo: the dual interface of RecordInfo. C++ hosts call these members directly (each
// returns an HResult; error information of a failure is in lastErrorInfo()); late-bound hosts
// reach the same members through IDispatch. The services and module properties come in slot
// order, then a put_ for each dataset property in the order of DataSetFields.h.

#include "automation/Export.h"
#include "DataSetFields.h"

#include "automation/IDispatch.h"
#include "automation/SafeArray.h"

namespace vxRecInfo {

class VXRECINFO_EXPORT _RecordInfo : public IDispatch
{
public:
    static const QUuid& iid();
    static bool implements(const QUuid& id) { return id == iid() || IDispatch::implements(id); }

    // Optional by-reference arguments (RTF_All's EnablePageNumbering, ShowInfo's
    // ListIndexPointer) may be null: omitted, they take their defaults (True and 0).
    virtual HResult put_UserSettings(const Variant& value) = 0;
    virtual HResult PrintAll(double* PJob, std::int16_t* StartPageNum, std::int16_t* TotalPages,
                             QString* PrinterName) = 0;
    virtual HResult RTF_All(double* PJob, std::int16_t* StartPageNum, std::int16_t* TotalPages, QString* PrinterName,
                            QString* RTF_Text, bool* EnablePageNumbering) = 0;
    virtual HResult get_ImportUserSelectedTimeZone(std::int16_t* value) = 0;
    virtual HResult ClearAllDataSets() = 0;
    virtual HResult AddDataSet() = 0;
    virtual HResult get_TimeZone(std::int16_t* value) = 0;
    virtual HResult put_TimeZone(std::int16_t value) = 0;
    virtual HResult ShowImport(SafeArray* ClassicFileFlag) = 0;
    virtual HResult get_ImportFileSelected(bool* value) = 0;
    virtual HResult ShowInfo(std::int16_t* ListIndexPointer) = 0;
    virtual HResult ShowNote() = 0;
    virtual HResult get_NoteArray(Variant* value) = 0;
    virtual HResult put_Note(const QString& value) = 0;
    virtual HResult get_NoteChangeAllowed(bool* value) = 0;
    virtual HResult put_NoteChangeAllowed(bool value) = 0;
    virtual HResult get_NoteChanged(Variant* value) = 0;
    virtual HResult RTF_NT(QString* RTF_Text) = 0;

    // The dataset properties: put_DataSetDesc(const QString&), put_Alarm_Status(bool), ...,
    // put_ChannelNumber(const Variant&) ...: the pending value of the field of the same name.
#define VX_PUT_SCALAR(name, slot, dispId, type, ...) virtual HResult put_##name(ArgType<VarType::type> value) = 0;
#define VX_PUT_ARRAY(name, ...) virtual HResult put_##name(const Variant& value) = 0;
    VX_DATASET_FIELDS(VX_PUT_SCALAR, VX_PUT_ARRAY)
#undef VX_PUT_SCALAR
#undef VX_PUT_ARRAY

protected:
    ~_RecordInfo() override = default;
};

} // namespace vxRecInfo
