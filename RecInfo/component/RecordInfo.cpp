#include "RecordInfo.h"

#include "ModuleState.h"
#include "RecordInfoMembers.h"

namespace vxRecInfo {

RecordInfo::RecordInfo() = default;

ComPtr<RecordInfo> RecordInfo::create()
{
    return makeObject<RecordInfo>();
}

const TypeInfo& RecordInfo::GetTypeInfo() const
{
    return recordInfoTypeInfo();
}

Variant RecordInfo::invokeMember(const MemberInfo& member, std::vector<Variant>& args)
{
    ModuleState& state = ModuleState::current();
    const QString& name = member.name;
    const bool put = member.kind == MemberKind::PropertyPut;
    if (name == QLatin1String("TimeZone")) {
        if (put)
            state.TimeZone = args[0].toInteger();
        return put ? Variant() : Variant(state.TimeZone);
    }
    if (name == QLatin1String("NoteChangeAllowed")) {
        if (put)
            state.NoteChangeAllowed = args[0].toBool();
        return put ? Variant() : Variant(state.NoteChangeAllowed);
    }
    if (name == QLatin1String("ImportFileSelected"))
        return state.ImportFileSelected;
    if (name == QLatin1String("ImportUserSelectedTimeZone"))
        return state.ImportUserSelectedTimeZone;
    if (name == QLatin1String("UserSettings")) {
        state.UserSettings = args[0];
        return {};
    }
    throw RuntimeError(Err::ObjectDoesNotSupportMember,
                       QStringLiteral("RecordInfo.%1 is not available in this build").arg(name));
}

} // namespace vxRecInfo
