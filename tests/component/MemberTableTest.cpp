// SPDX-License-Identifier: MIT
#include "component/RecordInfoMembers.h"

#include "CaseTable.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace vxRecInfo;
using namespace vxRecInfo::testing;
using namespace Qt::StringLiterals;

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

namespace {

// A Get's value type, or the parameters as a Basic declaration writes them.
QString signature(const MemberInfo& m)
{
    if (m.kind == MemberKind::PropertyGet)
        return typeName(m.returnType);
    QStringList params;
    for (const ParamInfo& p : m.params)
        params << (p.optional ? u"Optional "_s : QString()) + (p.byRef ? u"ByRef "_s : QString()) + p.name + u" As "_s
                      + typeName(p.type) + (p.optional ? u" = "_s + p.defaultValue.toString() : QString());
    return params.join(u", "_s);
}

} // namespace

TEST(MemberTable, EveryRowAsHostsBindToIt)
{
    const auto& members = recordInfoTypeInfo().members();
    const auto rows = caseTable("record-info-members.tsv", 5);
    ASSERT_EQ(members.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const MemberInfo& m = members[i];
        const CaseRow& c = rows[i];
        EXPECT_EQ(m.slot, c.integer(0)) << c.where;
        EXPECT_EQ(m.name, c[1]) << c.where;
        EXPECT_EQ(memberKindName(m.kind), c[2]) << c.where;
        EXPECT_EQ(quint32(m.dispId), quint32(c.integer(3))) << c.where;
        EXPECT_EQ(signature(m), c[4]) << c.where;
    }
    EXPECT_EQ(members[7].requiredParams(), 5);
}
