#include "component/Identity.h"
#include "component/RecordInfoMembers.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace vxRecInfo;

TEST(MemberTable, EightySevenRowsInSlotOrder)
{
    const auto& members = recordInfoTypeInfo().members();
    ASSERT_EQ(members.size(), 87u);
    for (std::size_t i = 0; i < members.size(); ++i)
        EXPECT_EQ(members[i].slot, int(i + 1)) << members[i].name.toStdString();
    EXPECT_EQ(recordInfoTypeInfo().iid(), Identity::RecordInfoIid);
}

TEST(MemberTable, EveryNameAndDispIdResolvesBothWays)
{
    const TypeInfo& type = recordInfoTypeInfo();
    QSet<DispId> ids;
    QSet<QString> names;
    for (const MemberInfo& m : type.members()) {
        EXPECT_EQ(type.idOfName(m.name), m.dispId) << m.name.toStdString();
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
    struct Row {
        int slot;
        const char* name;
        MemberKind kind;
        quint32 dispId;
        VarType type; // value of a Let or Get
    };
    const Row rows[] = {
        {1, "CMDate", MemberKind::PropertyPut, 0x68030047, VarType::Date},
        {3, "DS_Port", MemberKind::PropertyPut, 0x68030045, VarType::Long},
        {9, "ImportUserSelectedTimeZone", MemberKind::PropertyGet, 0x68030041, VarType::Integer},
        {18, "TimeZone", MemberKind::PropertyGet, 0x6803003A, VarType::Integer},
        {19, "TimeZone", MemberKind::PropertyPut, 0x6803003A, VarType::Integer},
        {61, "NoteArray", MemberKind::PropertyGet, 0x68030013, VarType::Variant},
        {73, "FirmWareVersion", MemberKind::PropertyPut, 0x68030008, VarType::Single},
        {79, "ConnectionMode", MemberKind::PropertyPut, 0x68030002, VarType::Single},
        {81, "Alarm_Status", MemberKind::PropertyPut, 0x68030000, VarType::Boolean},
        {86, "ProbeSensorDetail", MemberKind::PropertyPut, 0x68030053, VarType::Variant},
    };
    const auto& members = recordInfoTypeInfo().members();
    for (const Row& row : rows) {
        const MemberInfo& m = members[std::size_t(row.slot - 1)];
        EXPECT_EQ(m.name, QString::fromUtf8(row.name));
        EXPECT_EQ(m.kind, row.kind) << row.name;
        EXPECT_EQ(quint32(m.dispId), row.dispId) << row.name;
        const VarType type = m.kind == MemberKind::PropertyGet ? m.returnType : m.params.at(0).type;
        EXPECT_EQ(type, row.type) << row.name;
    }
}

TEST(MemberTable, ServiceParameters)
{
    const TypeInfo& type = recordInfoTypeInfo();
    const MemberInfo* rtfAll = type.find(0x60030049, MemberKind::Method);
    ASSERT_NE(rtfAll, nullptr);
    ASSERT_EQ(rtfAll->params.size(), 6u);
    for (const ParamInfo& p : rtfAll->params)
        EXPECT_TRUE(p.byRef) << p.name.toStdString();
    EXPECT_EQ(rtfAll->params[4].name, QStringLiteral("RTF_Text"));
    EXPECT_TRUE(rtfAll->params[5].optional);
    EXPECT_EQ(rtfAll->params[5].defaultValue, Variant(true)) << "pages are numbered unless the host says otherwise";
    EXPECT_EQ(rtfAll->requiredParams(), 5);

    const MemberInfo* showInfo = type.find(0x6003004D, MemberKind::Method);
    ASSERT_NE(showInfo, nullptr);
    ASSERT_EQ(showInfo->params.size(), 1u);
    EXPECT_TRUE(showInfo->params[0].optional);
    EXPECT_EQ(showInfo->params[0].defaultValue, Variant(std::int16_t(0)));

    const MemberInfo* showImport = type.find(0x6003004C, MemberKind::Method);
    ASSERT_NE(showImport, nullptr);
    EXPECT_EQ(showImport->params.at(0).type, arrayOf(VarType::Boolean));

    const MemberInfo* printAll = type.find(0x60030048, MemberKind::Method);
    ASSERT_NE(printAll, nullptr);
    EXPECT_EQ(printAll->params.size(), 4u);
    EXPECT_EQ(printAll->params[0].type, VarType::Double);
    EXPECT_EQ(type.find(0x60030054, MemberKind::Method)->params.at(0).type, VarType::String);
    EXPECT_TRUE(type.find(0x6003004B, MemberKind::Method)->params.empty());
}
