#include "component/RecordInfoMembers.h"

#include "CaseTable.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

TEST(MemberTable, EightySevenRowsInSlotOrder)
{
    const auto& members = recordInfoTypeInfo().members();
    ASSERT_EQ(members.size(), 87u);
    for (std::size_t i = 0; i < members.size(); ++i)
        EXPECT_EQ(members[i].slot, int(i + 1)) << members[i].name.toStdString();
}

TEST(MemberTable, EveryNameAndDispIdResolvesBothWays)
{
    const TypeInfo& type = recordInfoTypeInfo();
    QSet<DispId> ids;
    QSet<QString> names;
    for (const MemberInfo& m : type.members()) {
        EXPECT_EQ(type.idOfName(m.name.toUpper()), m.dispId) << "names match case-insensitively";
        EXPECT_EQ(type.idOfName(m.name.toLower()), m.dispId);
        const MemberInfo* found = type.find(m.dispId, m.kind);
        ASSERT_NE(found, nullptr) << m.name.toStdString();
        EXPECT_EQ(found->slot, m.slot);
        ids.insert(m.dispId);
        names.insert(m.name);
    }
    // TimeZone and NoteChangeAllowed each have a Get and a Let under one DISPID.
    EXPECT_EQ(names.size(), 85);
    EXPECT_EQ(ids.size(), 85) << "two members may not share a DISPID";
}

TEST(MemberTable, SampleRowsMatchTheInterface)
{
    const auto& members = recordInfoTypeInfo().members();
    for (const CaseRow& c : caseTable("record-info-members.tsv", 6)) {
        const MemberInfo& m = members[std::size_t(c.integer(0) - 1)];
        EXPECT_EQ(m.name, c[1]) << c.where;
        EXPECT_EQ(memberKindName(m.kind).toStdString(), c.text(2)) << c.where;
        EXPECT_EQ(quint32(m.dispId), quint32(c.integer(3))) << c.where;
        ASSERT_EQ(m.params.size(), std::size_t(c.integer(5))) << c.where;
        const VarType type = m.kind == MemberKind::PropertyGet ? m.returnType
                             : m.params.empty()                ? VarType::Empty
                                                               : m.params[0].type;
        EXPECT_EQ(typeName(type).toStdString(), c.text(4)) << c.where;
    }
    // RTF_All's by-reference arguments and its numbering by default show in tests/python, ShowInfo's
    // first dataset 0 in tests/windows.
    EXPECT_EQ(members[7].requiredParams(), 5);
}
