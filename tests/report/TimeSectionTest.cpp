#include "ReportFixture.h"

#include "hostclasses/DefaultHostClasses.h"

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

constexpr std::int16_t NewYork = 2;

// A unit converter of a host that pads its texts with blanks; elapsed times come in hours.
class PaddedUnitConverter final : public DispatchObject<IDispatch>
{
public:
    const TypeInfo& GetTypeInfo() const override
    {
        static const TypeInfo info(
            u"_Padded"_s, HostClasses::UnitConverterIid,
            {propertyGet(1, u"Seconds2Units"_s, 1, VarType::String, {byRef(u"seconds"_s, VarType::Double)}),
             propertyGet(2, u"ElaspedTime2Unit"_s, 2, VarType::String,
                         {byVal(u"days"_s, VarType::Double), optionalByVal(u"converted"_s, VarType::Boolean, false)})});
        return info;
    }

protected:
    Variant invokeMember(const MemberInfo& member, std::vector<Variant>& args) override
    {
        const double value = args[0].toDouble();
        return u"  "_s + (member.dispId == 1 ? durationText(value) : QString::number(value * 24) + u" h"_s) + u"  "_s;
    }
};

class TimeSectionTest : public ReportFixture
{
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        record().put_TimeZone(NewYork);
    }
    void TearDown() override
    {
        registerDefaultHostClasses(); // undo a test's own unit converter
        ReportFixture::TearDown();
    }
    QString time(std::int16_t index, const Variant& details, bool importView)
    {
        return build([&](QString& s) { TimeSection(s, index, details, importView); });
    }
    static void markClassic(const std::vector<Variant>& flags)
    {
        ModuleState::current().ClassicFileFlag = SafeArray::fromValues(VarType::Boolean, flags);
    }
    // A GMT time as the converted form shows it: in New York, five hours behind in winter.
    static QString converted(Date gmt)
    {
        const Date local = Date::fromQDateTime(gmt.toQDateTime().addSecs(-5 * 3600));
        return FormatDateTimeText(local) + u"  "_s + zoneName(NewYork, gmt);
    }
    static QString stored(Date gmt) { return generalDateText(gmt) + u"  "_s + zoneName(NewYork, gmt); }

    const Date start = at(2024, 1, 15, 10), stop = at(2024, 1, 16, 12, 30), cm = at(2024, 1, 14, 8);
    const Date firstRead = at(2023, 12, 1, 9), read = at(2024, 1, 16, 13), clock = at(2024, 1, 16, 13, 0, 5);
};

} // namespace

TEST_F(TimeSectionTest, ZoneNamesFollowTheChosenZone)
{
    const auto i = add();
    record().put_TimeZone(1);
    const QString berlin = FormatDateTimeText(at(2024, 1, 15, 11)) + u"  "_s + zoneName(1, start);
    EXPECT_TRUE(time(i, DetailsOff, false).contains(row(u"Start Time:"_s, berlin)));
    record().put_TimeZone(NewYork);
    EXPECT_TRUE(time(i, DetailsOff, false).contains(row(u"Start Time:"_s, converted(start))))
        << "the zone service must be told the chosen zone before the first zone name";
}

TEST_F(TimeSectionTest, StoredFormOnlyForAClassicFileInTheImportWindow)
{
    const auto i = add([](RecordInfo& r) { r.put_ContinuousMemory(true); });
    struct Case { bool importView; std::vector<Variant> flags; bool storedForm; };
    for (const Case& c : std::vector<Case>{{true, {true}, true}, {true, {false}, false}, {false, {true}, false}}) {
        markClassic(c.flags);
        const QString text = time(i, DetailsOff, c.importView);
        EXPECT_TRUE(text.contains(row(u"Start Time:"_s, c.storedForm ? stored(start) : converted(start))))
            << "import view " << c.importView << ", classic " << c.flags[0].toBool() << ": wrong time form\n" << text;
    }
    markClassic({true});
    EXPECT_EQ(time(i, DetailsOff, true),
              lines({u"Time"_s, row(u"Start Time:"_s, stored(start)), row(u"Earliest measurement date:"_s, stored(cm)),
                     row(u"Stop Time:"_s, stored(stop)), row(u"Elapsed Time:"_s, u"26:30:00"_s), u""_s}))
        << "a classic file shows its times unconverted and has no in-memory elapsed row";
}

TEST_F(TimeSectionTest, DelayAndReadRowsByLoggerTypeInBothForms)
{
    const QString delay = row(u"Delay Interval Before Start"_s, u"00:15:00"_s);
    const QString unknownDelay = row(u"Delay Interval Before Start"_s, u"Unknown"_s);
    const auto shown = [](bool conv, Date t) { return conv ? converted(t) : stored(t); };
    const auto first = [&](bool conv) { return row(u"Date Logger First Read"_s, shown(conv, firstRead)); };
    const auto wasRead = [&](bool conv) { return row(u"Date Logger Was Read"_s, shown(conv, read)); };
    const auto clockRow = [&](bool conv) { return row(u"Logger Internal Time When Read"_s, shown(conv, clock)); };
    struct Case { QString type; bool convertedForm; QStringList rows; };
    const std::vector<Case> cases = {
        {u"A"_s, true, {delay, first(true), wasRead(true), clockRow(true)}},
        {u"L"_s, true, {unknownDelay, first(true), wasRead(true)}}, {u"M"_s, true, {delay, first(true), wasRead(true)}},
        {u"A"_s, false, {delay, first(false), wasRead(false), clockRow(false)}}, {u"L"_s, false, {wasRead(false)}},
        {u"M"_s, false, {wasRead(false)}},
    };
    markClassic({true, true, true, true, true, true});
    for (const Case& c : cases) {
        const auto i = add([&](RecordInfo& r) { r.put_Logger_Type(c.type); });
        EXPECT_EQ(blockAfter(time(i, DetailsOn, !c.convertedForm), u"\tElapsed Time"_s), c.rows)
            << "type " << c.type << (c.convertedForm ? ", converted" : ", stored") << ": wrong delay and read rows";
    }
}

TEST_F(TimeSectionTest, DelayedStartDateAndFirstReadThreshold)
{
    struct Case { Date firstRead; QString shown; };
    const std::vector<Case> cases = {
        {at(1990, 1, 1), u"Unknown"_s}, {at(1990, 2, 1, 23, 59, 59), u"Unknown"_s},
        {at(1990, 2, 2), converted(at(1990, 2, 2))},
    };
    for (const Case& c : cases) {
        const auto i = add([&](RecordInfo& r) {
            r.put_FirstReadDate(c.firstRead);
            r.put_StartDelayDateMode(true);
        });
        const QString text = time(i, DetailsOn, false);
        EXPECT_TRUE(text.contains(row(u"Date Logger First Read"_s, c.shown) + u"\r\n"_s))
            << "first read " << generalDateText(c.firstRead) << ":\n" << text;
        EXPECT_TRUE(text.contains(row(u"Delayed StartTime"_s, generalDateText(at(2024, 1, 15, 9, 45))) + u"\r\n"_s))
            << "a delayed start date is shown as stored, without a zone";
    }
}

TEST_F(TimeSectionTest, HostDurationTextsAreTrimmedInTimeRows)
{
    ClassRegistry::instance().registerClass(
        {HostClasses::UnitConverterClsid, {}, {}, [] { return ComPtr<IUnknown>(makeObject<PaddedUnitConverter>()); }});
    const auto i = add([](RecordInfo& r) { r.put_ContinuousMemory(true); });
    const QString text = time(i, DetailsOn, false);
    for (const QString& trimmed : {row(u"Elapsed Time (from Start):"_s, u"26.5 h"_s),
                                   row(u"Elapsed Time (in Memory):"_s, u"52.5 h"_s),
                                   row(u"Delay Interval Before Start"_s, u"00:15:00"_s)})
        EXPECT_TRUE(text.contains(trimmed + u"\r\n"_s)) << trimmed << " missing from\n" << text;
    EXPECT_TRUE(build([&](QString& s) { MeasurementsSection(s, i, DetailsOff); })
                    .contains(row(u"Sample Interval:"_s, u"  00:01:00  "_s) + u"\r\n"_s))
        << "the sample interval is the host's text as it stands";
}
