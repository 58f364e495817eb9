#include "ReportFixture.h"

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

class AlarmSectionTest : public ReportFixture
{
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        writeSetting(u"HostSettings/TScale"_s, 1);
        record().put_TimeZone(1);
    }
    QString alarm(std::int16_t index, bool details = false)
    {
        return build([&](QString& s) { AlarmSection(s, index, details); });
    }
    // One temperature channel in use (the arrays keep two, as a "2" logger reads both).
    std::int16_t addOne(const QString& type, const std::function<void(RecordInfo&)>& tweak = {})
    {
        return add([&](RecordInfo& r) {
            r.put_Logger_Type(type);
            r.put_NumActiveChannels(1);
            if (tweak)
                tweak(r);
        });
    }
    static void highAlarm(RecordInfo& r, std::int32_t measurements, double beyond)
    {
        r.put_AlarmHighNumMeas(perChannel(VarType::Long, {measurements, 5}));
        r.put_TimeOverAlarmLimit(perChannel(VarType::Double, {beyond, 0.0}));
    }
    static void notification(RecordInfo& r, int connection, std::int16_t bits)
    {
        r.put_ConnectionMode(float(connection));
        r.put_AlarmMode(perChannel(VarType::Integer, {bits, std::int16_t(0)}));
    }
    static void highDisabled(RecordInfo& r) { r.put_AlarmHighEnabled(perChannel(VarType::Boolean, {false, false})); }
};

} // namespace

TEST_F(AlarmSectionTest, VerdictByLoggerType)
{
    struct Case {
        QString type;
        int connection;
        std::int16_t bits;
        std::int32_t measurements; // × 60 s
        double beyond;
        bool alarm;
    };
    const std::vector<Case> cases = {
        {u"A"_s, 0, 0, 5, 300, true},  {u"A"_s, 0, 0, 5, 299, false}, {u"A"_s, 0, 0, 0, 0, false},
        {u"A"_s, 0, 0, 0, 1, true},    {u"A"_s, 2, 8, 5, 1, true},    {u"A"_s, 4, 8, 5, 0, false},
        {u"A"_s, 0, 8, 5, 1, false},   {u"A"_s, 3, 16, 5, 1, false},  {u"C"_s, 0, 0, 5, 300, true},
        {u"C"_s, 0, 0, 5, 299, false}, {u"C"_s, 2, 8, 5, 1, false},   {u"L"_s, 0, 0, 5, 300, true},
        {u"L"_s, 0, 0, 5, 299, false}, {u"M"_s, 0, 0, 5, 300, true},  {u"M"_s, 0, 0, 0, 0, true},
        {u"M"_s, 0, 0, 5, 299, false}, {u"2"_s, 0, 0, 5, 300, true},  {u"2"_s, 0, 0, 5, 299, false},
        {u"2"_s, 0, 0, 0, 0, true},
    };
    for (const Case& c : cases) {
        const auto i = addOne(c.type, [&](RecordInfo& r) {
            notification(r, c.connection, c.bits);
            highAlarm(r, c.measurements, c.beyond);
        });
        EXPECT_EQ(linesStartingWith(alarm(i), u"\tHigh Temperature :"_s).value(0),
                  row(u"High Temperature :"_s, c.alarm ? u"25.4C\t\tAlarm"_s : u"25.4C"_s))
            << "type " << c.type << ", connection " << c.connection << ", bits " << c.bits << ", " << c.measurements
            << " measurements, " << c.beyond << " s beyond: wrong verdict";
    }
    EXPECT_TRUE(shown.empty()) << "known logger types show no message";
}

TEST_F(AlarmSectionTest, TimeRowSettingAndResultByLoggerType)
{
    struct Case {
        QString type;
        std::int16_t table;
        std::int32_t measurements;
        double beyond;
        QString setting;
        QString result;
    };
    const std::vector<Case> cases = {
        {u"A"_s, 1, 5, 400, u"00:05:00"_s, u"00:06:40"_s}, {u"A"_s, 1, 0, 0, u"00:01:00"_s, u""_s},
        {u"C"_s, 1, 5, 0, u"00:05:00"_s, u"Single Measurement"_s}, {u"C"_s, 1, 5, -1, u"00:05:00"_s, u""_s},
        {u"C"_s, 1, 5, 90, u"00:05:00"_s, u"00:01:30"_s}, {u"L"_s, 1, 5, 0, u"00:05:00"_s, u"Single Measurement"_s},
        {u"M"_s, 3, 5, 90, u"Single Measurement"_s, u"00:01:30"_s}, {u"M"_s, 1, 5, 0, u"00:05:00"_s, u""_s},
        {u"2"_s, 1, 5, 90, u""_s, u"00:01:30"_s},
    };
    for (const Case& c : cases) {
        const auto i = addOne(c.type, [&](RecordInfo& r) {
            r.put_Table(c.table);
            highAlarm(r, c.measurements, c.beyond);
        });
        const QString text = alarm(i);
        EXPECT_EQ(linesStartingWith(text, u"\tHigh Time :"_s).value(0),
                  row(u"High Time :"_s, c.setting + u"\t\t"_s + c.result))
            << "type " << c.type << ", table " << c.table << ", " << c.beyond << " s beyond";
        EXPECT_FALSE(text.contains(u"First Alarm Time"_s)) << "no first-alarm dates given, no first-alarm rows";
    }
}

TEST_F(AlarmSectionTest, RFNotificationRowComesFromTheFirstChannelsBits)
{
    struct Case {
        int connection;
        std::int16_t bits;
        QString text; // empty: no row
    };
    const std::vector<Case> cases = {
        {2, 0, u"Single Alarm Notification"_s}, {3, 16, u"Manual Alarm Reset"_s},
        {4, 8, u"Exceed Limit Notification"_s}, {2, 24, u"Exceed Limit Notification"_s},
        {1, 8, u""_s},                          {0, 16, u""_s},
    };
    for (const Case& c : cases) {
        const auto i = add([&](RecordInfo& r) {
            r.put_ConnectionMode(float(c.connection));
            r.put_AlarmMode(perChannel(VarType::Integer, {c.bits, std::int16_t(16)}));
        });
        const QString text = alarm(i);
        const QString notice = row(u"tmrRF Advanced Alarm Mode"_s, c.text) + u"\r\n"_s;
        EXPECT_EQ(linesStartingWith(text, u"\tHigh Time :"_s).size(), c.connection >= 2 && (c.bits & 8) ? 0 : 2)
            << "connection " << c.connection << ", bits " << c.bits << ": only exceed-limit on RF drops the time rows";
        if (c.text.isEmpty()) {
            EXPECT_TRUE(linesStartingWith(text, u"\ttmrRF"_s).isEmpty()) << "connection " << c.connection;
        } else {
            EXPECT_TRUE(text.contains(u"\tFront\r\n"_s + notice) && text.contains(u"\tHumidity\r\n"_s + notice))
                << "connection " << c.connection << ", bits " << c.bits
                << ": every channel shows channel 1's notification under its heading\n" << text;
        }
    }
}

TEST_F(AlarmSectionTest, DisabledRowsByMeasurementKind)
{
    const QStringList temperature{row(u"High Temperature :"_s, u"Disabled"_s), u"\tHigh Time :"_s,
                                  row(u"Low Temperature :"_s, u"Disabled"_s), u"\tLow Time :"_s};
    const QStringList humidity{row(u"High Humidity :"_s, u"Disabled"_s), u"\tHigh Time :"_s,
                               row(u"Low Humidity :"_s, u"Disabled"_s), u"\tLow Time :"_s};
    const QStringList none{u"\tNo Alarm Function"_s};
    const std::vector<std::pair<std::int32_t, QStringList>> cases = {
        {1, temperature}, {2, humidity}, {6, none}, {7, none}, {8, none}};
    for (const auto& [kind, rows] : cases) {
        const auto i = addOne(u"A"_s, [&](RecordInfo& r) {
            highDisabled(r);
            r.put_Meas_Type(perChannel(VarType::Long, {kind, 1}));
        });
        EXPECT_EQ(blockAfter(alarm(i), u"\tFront"_s), rows) << "kind " << kind;
    }
}

TEST_F(AlarmSectionTest, AlarmModeRowsOnlyWhereTheyApply)
{
    struct Case { QString type; bool rfFlag; int connection; std::int16_t mode1, mode2; QStringList rows; };
    const auto high = [](const QString& mode) { return row(u"High Alarm Mode "_s, mode); };
    const auto low = [](const QString& mode) { return row(u"Low Alarm Mode "_s, mode); };
    const QString cumulative = u"Cumulative"_s, continuous = u"Continuous"_s;
    const std::vector<Case> cases = {
        {u"A"_s, false, 0, 255, 256, {high(continuous), low(continuous), high(continuous), low(cumulative)}},
        {u"C"_s, false, 0, 1, 510, {high(cumulative), low(continuous), high(cumulative), low(cumulative)}},
        {u"A"_s, false, 2, 8, 0, {high(cumulative), low(cumulative), high(cumulative), low(cumulative)}},
        {u"A"_s, true, 0, 8, 0, {}}, {u"L"_s, false, 0, 0, 0, {}},
        {u"M"_s, false, 0, 0, 0, {}}, {u"2"_s, false, 0, 0, 0, {}},
    };
    for (const Case& c : cases) {
        const auto i = add([&](RecordInfo& r) {
            r.put_Logger_Type(c.type);
            r.put_RF_IsRFLogger(c.rfFlag);
            r.put_ConnectionMode(float(c.connection));
            r.put_AlarmMode(perChannel(VarType::Integer, {c.mode1, c.mode2}));
            r.put_AlarmLowEnabled(perChannel(VarType::Boolean, {true, true}));
        });
        const QString text = alarm(i, true);
        ASSERT_TRUE(text.contains(row(u"Alarm Occured"_s, u"False"_s))) << "type " << c.type;
        EXPECT_EQ(blockAfter(text, u"\tAlarm Occured"_s), c.rows)
            << "type " << c.type << ", modes " << c.mode1 << "/" << c.mode2 << ", RF flag " << c.rfFlag;
    }
}

TEST_F(AlarmSectionTest, ChannelsShownByLoggerTypeCountAndTable)
{
    struct Case { QString type; std::int16_t active; std::int16_t table; QStringList headings; QString misc = {}; };
    const std::vector<Case> cases = {
        {u"A"_s, 3, 1, {u"c1"_s, u"c2"_s, u"c3"_s}}, {u"B"_s, 3, 1, {u"c1"_s, u"c2"_s, u"c3"_s}},
        {u"C"_s, 2, 1, {u"c1"_s, u"c2"_s}},
        {u"C"_s, 2, 1, {u"Probe Temperature"_s, u"Probe Temperature"_s}, u"{ExtProbe=-1}"_s}, {u"L"_s, 0, 1, {u"c1"_s}},
        {u"L"_s, 1, 1, {u"c1"_s}}, {u"L"_s, 4, 1, {u"c1"_s, u"c2"_s, u"c3"_s}},
        {u"M"_s, 1, 3, {u"Ambient Temperature"_s}}, {u"M"_s, 3, 3, {u"Ambient Temperature"_s, u"Probe Temperature"_s}},
        {u"M"_s, 4, 7, {u"c1"_s, u"c2"_s}}, {u"M"_s, 4, 5, {u"c1"_s, u"c2"_s, u"c3"_s, u"c4"_s}},
        {u"M"_s, 4, 1, {u"c1"_s}}, {u"2"_s, 1, 1, {u"c1"_s, u"c2"_s}},
        {u"2"_s, 4, 1, {u"c1"_s, u"c2"_s}}, {u"X"_s, 4, 1, {}},
    };
    for (const Case& c : cases) {
        const auto i = add([&](RecordInfo& r) {
            r.put_Logger_Type(c.type);
            r.put_NumActiveChannels(c.active);
            r.put_Table(c.table);
            r.put_MiscField(c.misc);
            const Variant no = perChannel(VarType::Boolean, {false, false, false, false, false});
            r.put_AlarmHighEnabled(no);
            r.put_AlarmLowEnabled(no);
            r.put_Meas_Type(perChannel(VarType::Long, {1, 1, 1, 1, 1}));
            r.put_ChnlDescription(perChannel(VarType::String, {u"c1"_s, u"c2"_s, u"c3"_s, u"c4"_s, u"c5"_s}));
        });
        const QString text = alarm(i);
        QStringList headings; // every bold-only run of a section without verdicts is a channel heading
        for (std::size_t n = 1; n < runs().RTBFStyleRuns.size(); ++n) {
            const RTBFStyleRun& run = runs().RTBFStyleRuns[n];
            if (run.Style == FontStyle::Bold)
                headings << text.mid(run.Start, run.Length).remove(u'\t').remove(u"\r\n"_s);
        }
        EXPECT_EQ(headings, c.headings) << "type " << c.type << ", " << c.active << " active, table " << c.table;
    }
}

TEST_F(AlarmSectionTest, UnknownLoggerTypeShowsBothMessagesPerEnabledSide)
{
    const auto i = addOne(u"B"_s, [](RecordInfo& r) {
        r.put_AlarmLowEnabled(perChannel(VarType::Boolean, {true, false}));
    });
    const QString text = alarm(i);
    const QString contactFactory = u"Unknown logger type. Please contact factory for correct software."_s;
    const QString updateSoftware = u"Unknown logger type, please update software"_s;
    const std::vector<std::pair<QString, int>> expected = {
        {contactFactory, MsgBox::Exclamation}, {updateSoftware, 0}, {contactFactory, 0}, {updateSoftware, 0}};
    ASSERT_EQ(shown.size(), expected.size()) << "each enabled side of a B logger must show both messages";
    for (std::size_t n = 0; n < expected.size(); ++n) {
        EXPECT_EQ(shown[n].text, expected[n].first) << "message " << n;
        EXPECT_EQ(shown[n].style, expected[n].second) << "message " << n << ": wrong icon";
    }
    EXPECT_TRUE(text.contains(lines({row(u"High Temperature :"_s, u"25.4C"_s), row(u"High Time :"_s, u"\t\t"_s),
                                     row(u"Low Temperature :"_s, u"-3C"_s), row(u"Low Time :"_s, u"\t\t"_s)})))
        << "an unknown type is never in alarm and has empty time values\n" << text;

    shown.clear();
    alarm(addOne(u"B"_s, highDisabled));
    alarm(addOne(u"X"_s));
    EXPECT_TRUE(shown.empty()) << "without an enabled alarm, or without channel rows, no message appears";
}

TEST_F(AlarmSectionTest, RequiredDurationMustFitALong)
{
    const auto tooLong = [](RecordInfo& r) {
        r.put_MeasInterval(86400);
        highAlarm(r, 100000, 0);
    };
    EXPECT_EQ(errorOf([&] { alarm(addOne(u"A"_s, tooLong)); }), Err::Overflow) << "100000 × 86400 s exceeds a Long";
    EXPECT_EQ(errorOf([&] { alarm(addOne(u"A"_s, [&](RecordInfo& r) { tooLong(r), highDisabled(r); })); }), 0)
        << "a disabled alarm needs no required duration";
    const auto largest = addOne(u"C"_s, [](RecordInfo& r) {
        r.put_MeasInterval(2147483647);
        highAlarm(r, 1, 0);
    });
    EXPECT_EQ(errorOf([&] { alarm(largest); }), 0) << "the largest Long still fits";
}
