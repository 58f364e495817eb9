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

    QTemporaryDir m_dir;
};

} // namespace

// What a recordings file stores, how a bad one fails and how its settings reach the reports
// (locale, zones, scale, formats, flags) are pinned by the golden files of tests/data/reports.

TEST_F(RecordingsFileTest, DataSetsAreReadWhenTheyAreCommitted)
{
    QFile sample(QStringLiteral(VX_SAMPLES_DIR "/temp-humidity.json"));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    RecordingsFile changed(write(sample.readAll()));
    write(QByteArray(R"({"datasets": [{"DataSetDesc": "Other", "Note": "second"}]})"));
    EXPECT_THROW(changed.load(), recinfo::LoadError) << "a file changed in between is refused";
}

// The system's zone reaches only the Import window's choice, which no golden report shows.
TEST_F(RecordingsFileTest, TheSystemZoneReachesTheZoneService)
{
    RecordingsFile file(write(QByteArray(R"({"settings": {"TimeZones": ["Asia/Tokyo", "Europe/Paris"],
        "SystemTimeZone": "Europe/Paris"}, "datasets": []})")));
    file.load();
    ModuleState::current().TimeZoneService.reset();
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
