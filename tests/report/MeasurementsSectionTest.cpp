#include "ReportFixture.h"

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

class MeasurementsSectionTest : public ReportFixture
{
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        writeSetting(u"HostSettings/DFormat"_s, u"0.00"_s);
        writeSetting(u"HostSettings/TScale"_s, 1);
    }
    QString measurements(std::int16_t index, const Variant& details = DetailsOff)
    {
        return build([&](QString& s) { MeasurementsSection(s, index, details); });
    }
    // Channel headings: the lines that follow an empty line or a line holding a single TAB.
    static QStringList channelHeadings(const QString& text)
    {
        const QStringList all = text.split(u"\r\n"_s);
        QStringList headings;
        for (qsizetype n = 1; n < all.size(); ++n)
            if ((all[n - 1].isEmpty() || all[n - 1] == u"\t"_s) && !all[n].isEmpty())
                headings << all[n];
        return headings;
    }
};

} // namespace

TEST_F(MeasurementsSectionTest, CompressionRowConditionsAndFormat)
{
    struct Case {
        QString type;
        std::int32_t model;
        float efficiency;
        QString shown; // empty: no row
    };
    const std::vector<Case> cases = {
        {u"A"_s, 0, 12.345f, u"12.3%"_s}, {u"B"_s, 0x8000000, 99.94f, u"99.9%"_s}, {u"C"_s, 0, 0.05f, u"0.1%"_s},
        {u"A"_s, 0x40000, 12.0f, u""_s},  {u"A"_s, 0x100000, 12.0f, u""_s},        {u"L"_s, 0, 12.0f, u""_s},
        {u"M"_s, 0, 12.0f, u""_s},        {u"2"_s, 0, 12.0f, u""_s},        {u"A"_s, 0, 12.0f, u"12.%"_s},
    };
    for (const Case& c : cases) {
        const auto i = add([&](RecordInfo& r) {
            r.put_Logger_Type(c.type);
            r.put_Model_Number(c.model);
            r.put_CompressEfficiency(c.efficiency);
        });
        EXPECT_EQ(linesStartingWith(measurements(i), u"\tCompression"_s),
                  c.shown.isEmpty() ? QStringList{} : QStringList{row(u"Compression Efficiency:"_s, c.shown)})
            << "type " << c.type << ", model " << c.model;
    }
}

TEST_F(MeasurementsSectionTest, DetailRowsByLoggerType)
{
    const QString memory = row(u"Continuous Memory"_s, u"True"_s), channels = row(u"Number of Channels"_s, u"4"_s),
                  active = row(u"Number of Active Channels"_s, u"2"_s), table = row(u"Table"_s, u"1"_s);
    const std::vector<std::pair<QString, QStringList>> cases = {
        {u"A"_s, {memory, channels, active, table}}, {u"B"_s, {memory, channels, active, table}},
        {u"C"_s, {memory, channels, active}},        {u"2"_s, {memory, channels, active}},
        {u"L"_s, {channels, active}},                {u"M"_s, {channels, active}},
    };
    for (const auto& [type, rows] : cases) {
        const auto i = add([&](RecordInfo& r) {
            r.put_Logger_Type(type);
            r.put_ContinuousMemory(true);
        });
        EXPECT_EQ(blockAfter(measurements(i, DetailsOn), u"\tNumber of Measurements:"_s), rows) << "type " << type;
    }
}

TEST_F(MeasurementsSectionTest, ChannelBlocksOnlyForLoggerTypesWithChannels)
{
    for (const QString& type : {u"A"_s, u"B"_s, u"C"_s, u"L"_s, u"M"_s, u"2"_s, u"X"_s}) {
        const auto i = add([&](RecordInfo& r) { r.put_Logger_Type(type); });
        const QString text = measurements(i);
        const bool blocks = u"ABCLM"_s.contains(type);
        EXPECT_EQ(text.contains(u"\tFront\r\n"_s), blocks) << "type " << type;
        if (!blocks) {
            EXPECT_TRUE(text.endsWith(row(u"Number of Measurements:"_s, u"1440"_s) + u"\r\n\r\n"_s))
                << "type " << type << ": the section ends with the empty line";
        }
    }
}

TEST_F(MeasurementsSectionTest, MeanKineticRowOnlyForComputedTemperature)
{
    struct Case { std::int32_t kind; float mkt; bool shown; };
    const std::vector<Case> cases = {{1, 5.5f, true}, {1, -10000.0f, false}, {1, -9999.5f, true}, {2, 5.5f, false}};
    for (const Case& c : cases) {
        const auto i = add([&](RecordInfo& r) {
            r.put_Meas_Type(perChannel(VarType::Long, {c.kind, 1}));
            r.put_MKT(perChannel(VarType::Single, {c.mkt, -10000.0f}));
        });
        EXPECT_EQ(linesStartingWith(measurements(i), u"\tMean Kinetic"_s).size(), c.shown ? 1 : 0)
            << "kind " << c.kind << ", MKT " << c.mkt;
    }
}

TEST_F(MeasurementsSectionTest, GasAndAccelerationLabelsAndFormats)
{
    struct Case { bool gasDecimals; std::int32_t kind; QStringList rows; };
    const std::vector<Case> cases = {
        {false, 6, {row(u"Highest ppm:"_s, u"413"_s), row(u"Lowest ppm:"_s, u"0"_s), row(u"Median ppm:"_s, u"100"_s),
                    row(u"Average ppm:"_s, u"200"_s)}},
        {true, 7, {row(u"Highest Value: "_s, u"412.750"_s), row(u"Lowest Value: "_s, u"0.0626"_s),
                   row(u"Median Value: "_s, u"100.000"_s), row(u"Average Value: "_s, u"200.250"_s)}},
        {true, 8, {row(u"Highest Acceleration:"_s, u"412.75"_s), row(u"Lowest Acceleration:"_s, u"0.063"_s),
                   row(u"Median Acceleration:"_s, u"100.00"_s), row(u"Average Acceleration:"_s, u"200.25"_s)}},
    };
    for (const Case& c : cases) {
        restart();
        writeSetting(u"FontSettings/GasDecimals"_s, c.gasDecimals);
        const auto i = add([&](RecordInfo& r) {
            r.put_Meas_Type(perChannel(VarType::Long, {c.kind, c.kind}));
            r.put_MaxVal(perChannel(VarType::Single, {412.75f, 1.0f}));
            r.put_MinVal(perChannel(VarType::Single, {0.0626f, 1.0f}));
            r.put_MeanVal(perChannel(VarType::Single, {100.0f, 1.0f}));
            r.put_AverageVal(perChannel(VarType::Single, {200.25f, 1.0f}));
        });
        EXPECT_EQ(blockAfter(measurements(i), u"\tFront"_s).mid(0, 5), c.rows + QStringList{u"\t"_s})
            << "kind " << c.kind << ", gas decimals " << c.gasDecimals << ": wrong labels, format or unit";
    }
}

TEST_F(MeasurementsSectionTest, ChannelHeadingsWithProbesAndTheExternalProbeMarker)
{
    struct Case { QString type; QString misc; bool probes; bool sensorDetails; QStringList headings; };
    const std::vector<Case> cases = {
        {u"A"_s, u""_s, true, true, {u"\tAccel (ADXL)\tProbe 17\tNose"_s, u"\tHumidity\tProbe 18\tTail"_s}},
        {u"B"_s, u""_s, true, false, {u"\tAccel \tProbe 17\tNose"_s, u"\tHumidity\tProbe 18\tTail"_s}},
        {u"A"_s, u""_s, false, true, {u"\tAccel"_s, u"\tHumidity"_s}},
        {u"C"_s, u"run 4 {ExtProbe=-1}"_s, true, true, {u"\tProbe Temperature"_s, u"\tProbe Temperature"_s}},
        {u"C"_s, u"{ExtProbe=0}"_s, true, false, {u"\tAccel"_s, u"\tHumidity"_s}},
        {u"A"_s, u"{ExtProbe=-1}"_s, false, false, {u"\tAccel"_s, u"\tHumidity"_s}},
    };
    for (const Case& c : cases) {
        restart();
        const auto i = add([&](RecordInfo& r) {
            r.put_Logger_Type(c.type);
            r.put_MiscField(c.misc);
            r.put_Meas_Type(perChannel(VarType::Long, {8, 2}));
            r.put_ChnlDescription(perChannel(VarType::String, {u"Accel"_s, u"Humidity"_s}));
            if (c.probes) {
                r.put_ProbeNumber(perChannel(VarType::Long, {17, 18}));
                r.put_ProbeUserDescription(perChannel(VarType::String, {u"Nose"_s, u"Tail"_s}));
            }
            if (c.sensorDetails)
                r.put_ProbeSensorDetail(perChannel(VarType::String, {u"ADXL"_s, u"PT100"_s}));
        });
        EXPECT_EQ(channelHeadings(measurements(i)), c.headings)
            << "type " << c.type << ", misc " << c.misc << ", probes " << c.probes << ", details " << c.sensorDetails;
    }
}

TEST_F(MeasurementsSectionTest, UnitLetterFollowsTheTemperatureScale)
{
    for (const auto& [scale, unit] : std::vector<std::pair<int, QString>>{{0, u"F"_s}, {1, u"C"_s}, {2, u"K"_s}}) {
        restart();
        writeSetting(u"HostSettings/TScale"_s, scale);
        const QString text = measurements(add());
        EXPECT_TRUE(text.contains(row(u"Highest Temperature:"_s, u"8.25"_s + unit) + u"\r\n"_s)) << "scale " << scale;
        EXPECT_TRUE(text.contains(row(u"Highest Humidity:"_s, u"55.50%"_s) + u"\r\n"_s)) << "humidity is always %";
    }
}

TEST_F(MeasurementsSectionTest, KindWithoutLabelsKeepsThePreviousChannelsLabels)
{
    const auto i = add([](RecordInfo& r) { r.put_Meas_Type(perChannel(VarType::Long, {2, 4})); });
    EXPECT_EQ(blockAfter(measurements(i), u"\tHumidity"_s).mid(0, 4),
              (QStringList{row(u"Highest Humidity:"_s, u"55.50"_s), row(u"Lowest Humidity:"_s, u"40.00"_s),
                           row(u"Median Humidity:"_s, u"47.25"_s), row(u"Average Humidity:"_s, u"48.00"_s)}))
        << "a kind without labels keeps the labels of the channel before and has no unit";
}
