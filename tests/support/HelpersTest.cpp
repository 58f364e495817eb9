// SPDX-License-Identifier: MIT
#include "component/RecordFixture.h"

#include "CaseTable.h"
#include "ErrorOf.h"
#include "component/MeasFieldProcessor.h"
#include "support/Helpers.h"

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

using Helpers = RecordFixture;

TEST_F(Helpers, RoundToResolutionBySteps)
{
    for (const CaseRow& c : caseTable("round-to-resolution.tsv", 4)) {
        restoreSetting(QStringLiteral("HostSettings/TScale"), c.integer(0));
        EXPECT_FLOAT_EQ(RoundToResolution(c[1].toFloat(), Variant(), c.integer(2)), c[3].toFloat()) << c.where;
    }
    restoreSetting(QStringLiteral("HostSettings/TScale"), 1);
    EXPECT_EQ(errorOf([] { RoundToResolution(3e9f, Variant(), 2); }), Err::Overflow);
}

TEST(UnitSymbolTable, ScalesAndKinds)
{
    const std::tuple<std::int16_t, std::int32_t, const char*> cases[] = {{0, 1, "F"}, {1, 1, "C"}, {2, 1, "K"},
                                                                         {7, 1, ""},  {0, 2, "%"}, {1, 3, ""}};
    for (const auto& [scale, kind, symbol] : cases)
        EXPECT_EQ(UnitSymbol(scale, kind).toStdString(), symbol) << "scale " << scale << ", kind " << kind;
}

TEST(IsArrayDimensionedTest, OnlyArraysWithBounds)
{
    EXPECT_FALSE(IsArrayDimensioned(Variant(5)));
    EXPECT_FALSE(IsArrayDimensioned(Variant(SafeArray(VarType::Long))));
    EXPECT_TRUE(IsArrayDimensioned(Variant(SafeArray(VarType::Long, {{0, 0}}))));
    EXPECT_TRUE(IsArrayDimensioned(Variant(SafeArray(VarType::Long, {{0, -1}})))) << "no elements, but bounds";
}

TEST(MeasFieldProcessor, FindsTheProbeMarker)
{
    MeasFieldProcessor_C p;
    EXPECT_FALSE(p.ProbeEnabled());
    EXPECT_EQ(p.MeasField(), QString());
    const std::pair<const char*, bool> cases[] = {{"{ExtProbe=-1}", true}, {"Lot 7 {ExtProbe=-1} checked", true},
                                                  {"{extprobe=-1}", false}, {"{ExtProbe=0}", false},
                                                  {"{ExtProbe=-1", false},  {"", false}};
    for (const auto& [field, enabled] : cases) {
        p.setMeasField(QString::fromLatin1(field));
        EXPECT_EQ(p.ProbeEnabled(), enabled) << field;
        EXPECT_EQ(p.MeasField(), enabled ? QStringLiteral("{ExtProbe=-1}") : QString())
            << "the getter gives the marker or nothing, never the text set";
    }
    p.setProbeEnabled(true);
    EXPECT_EQ(p.MeasField(), QStringLiteral("{ExtProbe=-1}"));
}
