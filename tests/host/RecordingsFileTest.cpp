// SPDX-License-Identifier: MIT
#include "RecordingsFile.h"

#include "CaseTable.h"
#include "component/HostObjects.h"
#include "component/ModuleState.h"
#include "component/SuiteSettings.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vxRecInfo;
using namespace vxRecInfo::testing;
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
    for (const CaseRow& c : caseTable("recordings-nesting.tsv", 6)) {
        const int depth = c.integer(1);
        QString message;
        try {
            RecordingsFile file(write((c[0] + c[2].repeated(depth) + c[3].repeated(depth) + c[4]).toUtf8()));
            file.load();
        } catch (const recinfo::LoadError& e) {
            message = e.message;
        }
        const QString refusal = message.section(QStringLiteral(".json: "), 1);
        if (c[5] == QLatin1String("-"))
            EXPECT_FALSE(refusal.contains(QStringLiteral("nested"))) << c.where << ": " << refusal.toStdString();
        else
            EXPECT_EQ(refusal, c[5]) << c.where;
        ModuleState::endApartment();
    }
}
