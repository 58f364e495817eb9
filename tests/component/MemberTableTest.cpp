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
    struct Row {
        int slot;
        const char* name;
        MemberKind kind;
        quint32 dispId;
        VarType type; // value of a Let or Get, first parameter of a method
        std::size_t params;
    };
    const Row rows[] = {
        {1, "CMDate", MemberKind::PropertyPut, 0x68030047, VarType::Date, 1},
        {3, "DS_Port", MemberKind::PropertyPut, 0x68030045, VarType::Long, 1},
        {7, "PrintAll", MemberKind::Method, 0x60030048, VarType::Double, 4},
        {9, "ImportUserSelectedTimeZone", MemberKind::PropertyGet, 0x68030041, VarType::Integer, 0},
        {11, "AddDataSet", MemberKind::Method, 0x6003004B, VarType::Empty, 0},
        {18, "TimeZone", MemberKind::PropertyGet, 0x6803003A, VarType::Integer, 0},
        {19, "TimeZone", MemberKind::PropertyPut, 0x6803003A, VarType::Integer, 1},
        {21, "ShowImport", MemberKind::Method, 0x6003004C, arrayOf(VarType::Boolean), 1},
        {23, "ShowInfo", MemberKind::Method, 0x6003004D, VarType::Integer, 1},
        {61, "NoteArray", MemberKind::PropertyGet, 0x68030013, VarType::Variant, 0},
        {73, "FirmWareVersion", MemberKind::PropertyPut, 0x68030008, VarType::Single, 1},
        {79, "ConnectionMode", MemberKind::PropertyPut, 0x68030002, VarType::Single, 1},
        {81, "Alarm_Status", MemberKind::PropertyPut, 0x68030000, VarType::Boolean, 1},
        {86, "ProbeSensorDetail", MemberKind::PropertyPut, 0x68030053, VarType::Variant, 1},
        {87, "RTF_NT", MemberKind::Method, 0x60030054, VarType::String, 1},
    };
    const auto& members = recordInfoTypeInfo().members();
    for (const Row& row : rows) {
        const MemberInfo& m = members[std::size_t(row.slot - 1)];
        EXPECT_EQ(m.name, QString::fromUtf8(row.name));
        EXPECT_EQ(m.kind, row.kind) << row.name;
        EXPECT_EQ(quint32(m.dispId), row.dispId) << row.name;
        ASSERT_EQ(m.params.size(), row.params) << row.name;
        const VarType type = m.kind == MemberKind::PropertyGet ? m.returnType
                             : m.params.empty()                ? VarType::Empty
                                                               : m.params[0].type;
        EXPECT_EQ(type, row.type) << row.name;
    }
    // RTF_All's by-reference arguments and its numbering by default show in tests/python, ShowInfo's
    // first dataset 0 in tests/windows.
    EXPECT_EQ(members[7].requiredParams(), 5);
}
