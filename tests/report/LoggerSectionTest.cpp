#include "ReportFixture.h"

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

class LoggerSectionTest : public ReportFixture
{
protected:
    QString logger(std::int16_t index, const Variant& details)
    {
        return build([&](QString& s) { LoggerSection(s, index, details); });
    }
    // The rows of the user's texts and the memory configuration, as the default dataset has them.
    static QStringList commonRows(bool tracked = true)
    {
        QStringList rows{row(u"Serial Number:"_s, u"4711"_s)};
        if (tracked)
            rows << row(u"Tracking Number: "_s, u"TRK-9"_s);
        return rows << row(u"Description: "_s, u"Frozen goods"_s) << row(u"Final Comment:"_s, u"Arrived cold"_s)
                    << row(u"Memory Configuration"_s, u"Record to End of Memory"_s);
    }
};

QString joined(const QStringList& rows)
{
    return rows.join(u"\r\n"_s) + u"\r\n"_s;
}

} // namespace

TEST_F(LoggerSectionTest, ConnectionRowsAndTextFollowTheConnectionMode)
{
    struct Case { int mode; int rfModel; QStringList connectionRows; QString loggerType; };
    const QString rf = row(u"RF Description"_s, u"Dock RF"_s), address = row(u"RF Address & Channel"_s, u"4711 : 3"_s);
    const QString server = row(u"Device Server"_s, u"Gate 2"_s), hostPort = row(u"Host : Port"_s, u"10.0.0.5 : 502"_s);
    const std::vector<Case> cases = {
        {0, 2, {}, u""_s}, {1, 2, {rf}, u"Local tmr"_s},
        {2, 2, {rf, server, hostPort}, u"tmrNet"_s}, {3, 2, {rf, address}, u"Local tmrRF"_s},
        {3, 0, {rf, address}, u"Local Classic"_s}, {3, 3, {rf, address}, u"Local K7"_s},
        {4, 2, {rf, address, server, hostPort}, u"tmrRF on Network"_s},
        {4, 1, {rf, address, server, hostPort}, u"tmrNet on Network"_s},
        {4, 4, {rf, address, server, hostPort}, u"QZ4 on Network"_s},
        {4, 9, {rf, address, server, hostPort}, u" on Network"_s}, {7, 2, {}, u""_s},
    };
    for (const Case& c : cases) {
        const auto i = add([&](RecordInfo& r) {
            r.put_ConnectionMode(float(c.mode));
            r.put_RF_Model(c.rfModel);
            r.put_RF_Desc(u"Dock RF"_s);
            r.put_RF_RFID(4711);
            r.put_RF_Chnl(3);
            r.put_DS_Desc(u"Gate 2"_s);
            r.put_DS_Host(u"10.0.0.5"_s);
            r.put_DS_Port(502);
        });
        EXPECT_EQ(logger(i, DetailsOff),
                  joined(QStringList{u"Logger"_s} + c.connectionRows + commonRows()
                         + QStringList{row(u"Logger Type"_s, c.loggerType), u""_s}))
            << "connection mode " << c.mode << ", RF model " << c.rfModel << ": the logger is identified wrongly";
    }
}

TEST_F(LoggerSectionTest, DetailsOffEndsAfterTheFirstLoggerTypeRow)
{
    for (const QString& type : {u"A"_s, u"B"_s, u"2"_s, u"L"_s, u"M"_s}) {
        const auto i = add([&](RecordInfo& r) {
            r.put_Logger_Type(type);
            r.put_ConnectionMode(1);
        });
        const QString expected = joined(QStringList{u"Logger"_s, row(u"RF Description"_s, QString())}
                                        + commonRows(type != u"L"_s && type != u"M"_s)
                                        + QStringList{row(u"Logger Type"_s, u"Local tmr"_s), u""_s});
        EXPECT_EQ(logger(i, DetailsOff), expected) << "type " << type << ": tracking number for all but L and M";
    }
}

TEST_F(LoggerSectionTest, DetailRowsByLoggerType)
{
    struct Case { QString type; std::int16_t stopCount; QStringList rows; };
    const QString imported = row(u"Data Imported"_s, u"True"_s), firmware = row(u"Firmware Version"_s, u"2.5"_s),
                  model = row(u"Model Number"_s, u"1234"_s), dll = row(u"Read  by DLL Version"_s, u"6.1"_s),
                  pushbutton = row(u"Pushbutton Stop Enable"_s, u"False"_s),
                  specific = row(u"Specific Stop Enable"_s, u"True"_s);
    const auto type = [](const QString& t) { return row(u"Logger Type"_s, t); };
    const auto count = [](const QString& n) { return row(u"Specific Stop Count"_s, n); };
    const auto sensor = [](const QString& s) { return row(u"Logger Sensor"_s, s); };
    const std::vector<Case> cases = {
        {u"A"_s, -1, {imported, firmware, model, dll, type(u"A"_s), pushbutton, specific, count(u"None"_s),
                      sensor(u"Thermistor"_s)}},
        {u"C"_s, 0, {imported, firmware, model, dll, type(u"C"_s), pushbutton, specific, count(u"0"_s),
                     sensor(u"Thermistor"_s)}},
        {u"B"_s, 7, {imported, firmware, model, dll, type(u"B"_s), pushbutton, specific, count(u"7"_s),
                     sensor(u"Thermistor"_s)}},
        {u"L"_s, 5, {imported, firmware, model, dll, type(u"L"_s), pushbutton}},
        {u"M"_s, 5, {imported, firmware, dll, type(u"M"_s), pushbutton}},
        {u"2"_s, 5, {imported, firmware, dll, type(u"2"_s), pushbutton, sensor(u"RH"_s)}},
    };
    for (const Case& c : cases) {
        const auto i = add([&](RecordInfo& r) {
            r.put_Logger_Type(c.type);
            r.put_SpecificStopCount(c.stopCount);
            r.put_Imported(true);
            r.put_EnableSpecificStop(true);
            r.put_Model_Number(1234);
        });
        EXPECT_EQ(blockAfter(logger(i, DetailsOn), u"\tLogger Type\t"_s), c.rows) << "type " << c.type;
        EXPECT_TRUE(logger(i, DetailsOn).endsWith(c.rows.last() + u"\r\n\r\n"_s)) << "an empty line ends the section";
    }
}

TEST_F(LoggerSectionTest, SensorRowsFromTypeModelNumberAndTable)
{
    struct Case { QString type; std::int32_t model; std::int16_t table; QStringList sensors; };
    const std::vector<Case> cases = {
        {u"A"_s, 0, 1, {u"Thermistor"_s}}, {u"A"_s, 0x40000, 1, {u"RTD Sensor"_s}},
        {u"A"_s, 0x100000, 1, {u"Thermistor"_s, u"Thermocouple"_s}},
        {u"B"_s, 0x140000, 1, {u"RTD Sensor"_s, u"Thermocouple"_s}}, {u"2"_s, 0x140000, 1, {u"RH"_s}},
        {u"M"_s, 0, 1, {u"Thermistor"_s}}, {u"M"_s, 0, 3, {u"Thermistor, RTD Sensor"_s}},
        {u"M"_s, 0x8000000, 3, {u"RH"_s}}, {u"M"_s, 0x40000, 1, {}},
        {u"L"_s, 0, 1, {}},
    };
    for (const Case& c : cases) {
        const auto i = add([&](RecordInfo& r) {
            r.put_Logger_Type(c.type);
            r.put_Model_Number(c.model);
            r.put_Table(c.table);
        });
        QStringList sensors;
        for (const QString& line : linesStartingWith(logger(i, DetailsOn), u"\tLogger Sensor\t"_s))
            sensors << line.section(u'\t', 2);
        EXPECT_EQ(sensors, c.sensors) << "type " << c.type << ", model " << c.model << ", table " << c.table
                                      << ": the report names the wrong sensor";
    }
}

TEST_F(LoggerSectionTest, FrenchLabelsComeFromTheStringTable)
{
    writeSetting(u"HostSettings/ResOffset"_s, 8000);
    const auto i = add([](RecordInfo& r) { r.put_ContinuousMemory(true); });
    const auto fr = [](int id) { return StringTable::instance().find(id + 8000).value_or(u"<missing>"_s); };
    ASSERT_NE(fr(428), u"Logger"_s) << "the French table must differ for this test to mean anything";
    EXPECT_EQ(logger(i, DetailsOff), lines({fr(428), row(fr(444), u"4711"_s), row(fr(87), u"TRK-9"_s),
                                            row(fr(305), u"Frozen goods"_s), row(fr(311), u"Arrived cold"_s),
                                            row(fr(371), fr(399)), row(fr(989), QString()), u""_s}))
        << "with ResOffset 8000 every label must be the French entry";
}
