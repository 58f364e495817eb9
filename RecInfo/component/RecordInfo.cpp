// SPDX-License-Identifier: MIT
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

// A whole number given as a Single: rounded as CLng rounds, error 6 out of range.
HResult store(std::int32_t& slot, float value)
{
    return guarded([&] { slot = Variant(value).toLong(); });
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
#define VX_PUT_SCALAR(name, slot, dispId, type, ...)                                                                   \
    HResult RecordInfo::put_##name(ArgType<VarType::type> value) { return store(m_pending.name, value); }
#define VX_PUT_ARRAY(name, ...)                                                                                        \
    HResult RecordInfo::put_##name(const Variant& value) { return store(m_pending.name, value); }
VX_DATASET_FIELDS(VX_PUT_SCALAR, VX_PUT_ARRAY)
#undef VX_PUT_SCALAR
#undef VX_PUT_ARRAY
HResult RecordInfo::put_Note(const QString& value) { return store(m_pending.Note, value); }

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
