// SPDX-License-Identifier: MIT
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

    HResult put_UserSettings(const Variant& value) override;
    HResult PrintAll(double* PJob, std::int16_t* StartPageNum, std::int16_t* TotalPages,
                     QString* PrinterName) override;
    HResult RTF_All(double* PJob, std::int16_t* StartPageNum, std::int16_t* TotalPages, QString* PrinterName,
                    QString* RTF_Text, bool* EnablePageNumbering) override;
    HResult get_ImportUserSelectedTimeZone(std::int16_t* value) override;
    HResult ClearAllDataSets() override;
    HResult AddDataSet() override;
    HResult get_TimeZone(std::int16_t* value) override;
    HResult put_TimeZone(std::int16_t value) override;
    HResult ShowImport(SafeArray* ClassicFileFlag) override;
    HResult get_ImportFileSelected(bool* value) override;
    HResult ShowInfo(std::int16_t* ListIndexPointer) override;
    HResult ShowNote() override;
    HResult get_NoteArray(Variant* value) override;
    HResult put_Note(const QString& value) override;
    HResult get_NoteChangeAllowed(bool* value) override;
    HResult put_NoteChangeAllowed(bool value) override;
    HResult get_NoteChanged(Variant* value) override;
    HResult RTF_NT(QString* RTF_Text) override;
#define VX_PUT_SCALAR(name, slot, dispId, type, ...) HResult put_##name(ArgType<VarType::type> value) override;
#define VX_PUT_ARRAY(name, ...) HResult put_##name(const Variant& value) override;
    VX_DATASET_FIELDS(VX_PUT_SCALAR, VX_PUT_ARRAY)
#undef VX_PUT_SCALAR
#undef VX_PUT_ARRAY
protected:
    Variant invokeMember(const MemberInfo& member, std::vector<Variant>& args) override;

private:
    PendingDataSet m_pending;
    std::int16_t m_dataSetCount = 0;
    // The apartment's thread: released on any other, the object leaves that one's state alone.
    std::thread::id m_thread = std::this_thread::get_id();
};

} // namespace vxRecInfo
