#pragma once
// RecordInfo: the class a host creates. The host sets a recording's properties one at a time,
// commits datasets and asks for the services; late-bound hosts reach every member through
// IDispatch by name or DISPID.

#include "automation/Dispatch.h"

namespace vxRecInfo {

class RecordInfo final : public DispatchObject<IDispatch>
{
public:
    RecordInfo();

    const TypeInfo& GetTypeInfo() const override;

    // Creates a RecordInfo, as the class factory does.
    static ComPtr<RecordInfo> create();

protected:
    Variant invokeMember(const MemberInfo& member, std::vector<Variant>& args) override;
};

} // namespace vxRecInfo
