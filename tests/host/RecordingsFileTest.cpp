#include "RecordingsFile.h"

#include "component/HostObjects.h"
#include "component/ModuleState.h"
#include "component/SuiteSettings.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vxRecInfo;
using recinfo::RecordingsFile;

namespace {

// The arrays every commit needs, for one channel, as JSON members.
const char* const OneChannel = R"(
    "SignatureRead": [[""]], "UserQuery": [[""]], "ChannelNumber": [1], "AlarmHighEnabled": [true],
    "AlarmHighValue": [8], "AlarmHighNumMeas": [1], "AlarmLowEnabled": [false], "AlarmLowValue": [2],
    "AlarmLowNumMeas": [0], "AlarmMode": [0], "AlarmStatusPerChnl": [false], "AverageVal": [5.1],
    "ChnlDescription": ["Air"], "MaxVal": [7.4], "MinVal": [3.2], "MeanVal": [5.1], "Meas_Scale": ["C"],
    "Meas_Type": [1], "Meas_Unit": ["C"], "MKT": [5.3], "TimeOverAlarmLimit": [0], "TimeBelowLoAlarmLimit": [0])";

class RecordingsFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ModuleState::endApartment();
    }
    void TearDown() override
    {
        ModuleState::endApartment();
        setSuiteSettingsFile({});
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    QString write(const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("recordings.json"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }
    QString write(const QString& json) { return write(json.toUtf8()); }

    QTemporaryDir m_dir;
};

} // namespace

// What a recordings file stores, and how a bad one fails, is pinned by the golden listings of
// tests/data/reports/store.cases and bad.cases.

TEST_F(RecordingsFileTest, DataSetsAreReadWhenTheyAreCommitted)
{
    RecordingsFile changed(write(R"({"datasets": [{"DataSetDesc": "Cold room", )" + QByteArray(OneChannel) + "}]}"));
    write(QByteArray(R"({"datasets": [{"DataSetDesc": "Other", "Note": "second"}]})"));
    EXPECT_THROW(changed.load(), recinfo::LoadError) << "a file changed in between is refused";
}

TEST_F(RecordingsFileTest, SettingsReachTheHostObjects)
{
    RecordingsFile file(write(QStringLiteral(R"({"locale": "fr_CA",
        "settings": {"TScale": 0, "DFormat": "0.00", "TimeZones": ["Asia/Tokyo", "Europe/Paris"],
                     "SystemTimeZone": "Europe/Paris", "GasDecimals": true},
        "UserSettings": [0, 0, 0, 0, 0, 0, true], "TimeZone": 2, "NoteChangeAllowed": true,
        "ClassicFileFlag": [true], "datasets": []})")));
    file.load();
    EXPECT_EQ(QLocale().name(), QStringLiteral("fr_CA"));
    EXPECT_EQ(lateGet(file.record(), QStringLiteral("TimeZone")).toInteger(), 2);
    EXPECT_TRUE(lateGet(file.record(), QStringLiteral("NoteChangeAllowed")).toBool());
    EXPECT_TRUE(ModuleState::current().UserSettings.array().at(6).toBool());
    EXPECT_TRUE(file.classicFileFlag().array().at(0).toBool());
    bool gas = false;
    ASSERT_EQ(ModuleState::current().FontSettings->get_GasDecimals(&gas), S_OK);
    EXPECT_TRUE(gas);
    ModuleState::current().TimeZoneService.reset();
    const Variant names = lateGet(timeZoneService(), QStringLiteral("TimeArray"));
    ASSERT_EQ(names.array().upperBound(), 2) << "the file's zone list, numbered from 1";
    EXPECT_EQ(names.array().at(1).toString(), QStringLiteral("(UTC+09:00) Asia/Tokyo"));
    EXPECT_EQ(lateGet(timeZoneService(), QStringLiteral("MySystemTZPointer")).toInteger(), 2);
}

TEST_F(RecordingsFileTest, NestingDeeperThanTheLimitIsRefusedWithItsPlace)
{
    // Lists and objects opened depth times (the place of the last one in the message), closed again.
    const auto nested = [](const char* before, int depth, const char* open, const char* close, const char* after) {
        QByteArray json(before);
        for (int i = 0; i < depth; ++i)
            json += open;
        for (int i = 0; i < depth; ++i)
            json += close;
        return json + after;
    };
    struct Case {
        QByteArray json;
        QString message; // empty: the reader takes it (the loader may refuse it for what it holds)
    };
    const Case cases[] = {
        {nested(R"({"datasets": [{"MaxVal": )", 50000, "[", "]", "}]}"),
         QStringLiteral("line 1, column 1023: lists and objects are nested deeper than 1000 levels")},
        {nested(R"({"settings": {"TimeZones": )", 100000, "[", "]", "}}"),
         QStringLiteral("line 1, column 1026: lists and objects are nested deeper than 1000 levels")},
        {nested("{\"datasets\": [\n", 5000, R"({"a": )", "}", "]}"),
         QStringLiteral("line 2, column 5989: lists and objects are nested deeper than 1000 levels")},
        {nested(R"({"UserSettings": )", 100000, "[", "]", "}"),
         QStringLiteral("line 1, column 1017: lists and objects are nested deeper than 1000 levels")},
        {nested("", 1001, "[", "]", ""), QStringLiteral("line 1, column 1001: lists and objects are nested deeper than 1000 levels")},
        {nested(R"({"datasets": [)", 998, "[", "]", "]}"), {}},
        {nested(R"({"UserSettings": )", 999, "[", "]", "}"), {}},
        {nested(R"({"settings": {"TimeZones": )", 998, "[", "]", "}}"), {}},
        {nested(R"({"datasets": [{"MaxVal": )", 997, "[", "]", "}]}"), {}},
    };
    for (const Case& c : cases) {
        QString message;
        try {
            RecordingsFile file(write(c.json));
            file.load();
        } catch (const recinfo::LoadError& e) {
            message = e.message;
        }
        const QString refusal = message.section(QStringLiteral(".json: "), 1);
        if (c.message.isEmpty())
            EXPECT_FALSE(refusal.contains(QStringLiteral("nested"))) << refusal.toStdString();
        else
            EXPECT_EQ(refusal, c.message) << c.json.left(40).toStdString();
        ModuleState::endApartment();
    }
}
