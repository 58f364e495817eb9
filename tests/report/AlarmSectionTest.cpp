// The Alarm section's text and runs are pinned by the golden reports of tests/data/reports/alarm.cases;
// what stays here is what a whole report does not show: message boxes, and the section alone.

#include "ReportFixture.h"

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

using AlarmSectionTest = ReportFixture;

} // namespace

TEST_F(AlarmSectionTest, UnknownLoggerTypeShowsBothMessagesPerEnabledSide)
{
    const QString contactFactory = u"Unknown logger type. Please contact factory for correct software."_s;
    const QString updateSoftware = u"Unknown logger type, please update software"_s;
    struct Case {
        QString type;
        bool enabled; // high and low side of channel 1
        std::vector<std::pair<QString, int>> messages;
    };
    const std::vector<Case> cases = {
        {u"B"_s, true,
         {{contactFactory, MsgBox::Exclamation}, {updateSoftware, 0}, {contactFactory, 0}, {updateSoftware, 0}}},
        {u"B"_s, false, {}},
        {u"X"_s, true, {}}, // no channel rows, no message
    };
    for (const Case& c : cases) {
        const auto i = add([&](RecordInfo& r) {
            r.put_Logger_Type(c.type);
            r.put_NumActiveChannels(1);
            r.put_AlarmHighEnabled(perChannel(VarType::Boolean, {c.enabled, false}));
            r.put_AlarmLowEnabled(perChannel(VarType::Boolean, {c.enabled, false}));
        });
        shown.clear();
        build([&](QString& s) { AlarmSection(s, i, false); });
        std::vector<std::pair<QString, int>> messages;
        for (const auto& m : shown)
            messages.emplace_back(m.text, m.style);
        EXPECT_EQ(messages, c.messages) << "type " << c.type << ", alarms enabled " << c.enabled
                                        << ": each enabled side asks for both messages, the high side's with the "
                                           "exclamation icon";
    }
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
