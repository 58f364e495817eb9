// SPDX-License-Identifier: MIT
// The Alarm section's text and runs are pinned by the golden reports of tests/data/reports/alarm.cases;
// what stays here is what a whole report does not show: message box icons, and the section alone.

#include "ReportFixture.h"

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

using AlarmSectionTest = ReportFixture;

// The messages of an unknown logger type show in alarm-B.txt, alarm-B-off.txt and alarm-X.txt; their icons do not.
TEST_F(AlarmSectionTest, UnknownLoggerTypeGivesOnlyTheHighSidesVerdictMessageAnIcon)
{
    const auto i = add([](RecordInfo& r) {
        r.put_Logger_Type(u"B"_s);
        r.put_NumActiveChannels(1);
        r.put_AlarmHighEnabled(perChannel(VarType::Boolean, {true, false}));
        r.put_AlarmLowEnabled(perChannel(VarType::Boolean, {true, false}));
    });
    shown.clear();
    build([&](QString& s) { AlarmSection(s, i, false); });
    std::vector<int> styles;
    for (const auto& m : shown)
        styles.push_back(m.style);
    EXPECT_EQ(styles, (std::vector<int>{MsgBox::Exclamation, 0, 0, 0}))
        << "messages of the high verdict, high time, low verdict, low time";
}

// In a whole report the Measurements section has just handed over the same marker; alone, the section must.
TEST_F(AlarmSectionTest, CLoggerHeadingFollowsItsOwnExternalProbeMarker)
{
    const std::vector<std::pair<QString, QString>> cases = {{u"{ExtProbe=-1}"_s, u"\tProbe Temperature"_s},
                                                            {u""_s, u"\tFront"_s}};
    for (const auto& [misc, heading] : cases) {
        const auto i = add([&](RecordInfo& r) {
            r.put_Logger_Type(u"C"_s);
            r.put_MiscField(misc);
        });
        EXPECT_TRUE(build([&](QString& s) { AlarmSection(s, i, false); }).contains(heading + u"\r\n"_s))
            << "MiscField \"" << misc << "\": the heading follows another dataset's marker";
    }
}
