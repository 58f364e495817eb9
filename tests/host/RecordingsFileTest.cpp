#include "RecordingsFile.h"
#include "StoreListing.h"

#include "automation/SafeArray.h"
#include "component/HostObjects.h"
#include "component/ModuleState.h"
#include "component/SuiteSettings.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTextStream>

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

    // A document with one dataset whose members are `members` plus the needed arrays.
    QString oneDataSet(const char* members)
    {
        return write(QStringLiteral(R"({"datasets": [{"DataSetDesc": "Cold room", %1, %2}]})")
                         .arg(QString::fromUtf8(members), QString::fromUtf8(OneChannel)));
    }

    const DataSetRecord& record(int i) { return ModuleState::current().DataSets.at(i); }

    QTemporaryDir m_dir;
};

} // namespace

TEST_F(RecordingsFileTest, ValuesTakeTheirPropertysTypes)
{
    RecordingsFile file(oneDataSet(R"("DS_Port": 502, "ConnectionMode": 2.5, "RecordStartTime": "2026-03-01T08:00:00",
        "LoggerReadDate": 46082.5, "RF_IsRFLogger": true, "Table": "7", "Note": "checked",
        "FirstHiAlarm": {"lbound": 1, "values": ["2026-03-01T09:30:00"]},
        "ProbeSensorDetail": null)"));
    file.load();
    ASSERT_EQ(file.committed(), 1);
    const DataSetRecord& r = record(0);
    EXPECT_EQ(r.DS_Port, QStringLiteral("502"));
    EXPECT_EQ(r.ConnectionMode, 2) << "a Single property takes 2.5 and stores it half to even";
    EXPECT_EQ(r.RecordStartTime.toQDateTime(), QDateTime(QDate(2026, 3, 1), QTime(8, 0), Qt::UTC));
    EXPECT_EQ(r.LoggerReadDate, Date(46082.5));
    EXPECT_TRUE(r.RF_IsRFLogger);
    EXPECT_EQ(r.Table, 7);
    EXPECT_EQ(r.FirstHiAlarm.lowerBound(), 1);
    EXPECT_EQ(r.FirstHiAlarm.at(1).toDate().toQDateTime(), QDateTime(QDate(2026, 3, 1), QTime(9, 30), Qt::UTC));
    EXPECT_FALSE(r.ProbeSensorDetail.isDimensioned());
    EXPECT_EQ(r.ChannelNumber.elementType(), VarType::Integer);
    EXPECT_EQ(ModuleState::current().NoteArray.at(0), QStringLiteral("checked"));
}

TEST_F(RecordingsFileTest, DataSetsAreReadWhereTheyLie)
{
    // A byte-order mark, text that looks like structure and a module property after the list;
    // then an escape, and numbers that underflow, in a dataset and before the list.
    const char* const variants[][3] = {{"b", "", ""},
                                       {"\\u0062", "", ""},
                                       {"b", R"(, "CompressEfficiency": 1e-400)", ""},
                                       {"b", "", R"("UserSettings": [1e-400], )"}};
    for (const auto& [desc, member, topLevel] : variants) {
        ModuleState::endApartment();
        RecordingsFile file(write("\xEF\xBB\xBF" + QStringLiteral(R"({%4"datasets": [{"DataSetDesc": "a \"}] {", %1},
            {"DataSetDesc": "%2", %1%3}], "TimeZone": 3})")
                                                         .arg(QString::fromUtf8(OneChannel), QString::fromUtf8(desc),
                                                              QString::fromUtf8(member), QString::fromUtf8(topLevel))
                                                         .toUtf8()));
        file.load();
        ASSERT_EQ(file.committed(), 2) << desc << member << topLevel;
        EXPECT_EQ(record(0).DataSetDesc, QStringLiteral("a \"}] {"));
        EXPECT_EQ(record(1).DataSetDesc, QStringLiteral("b"));
        EXPECT_EQ(lateGet(file.record(), QStringLiteral("TimeZone")).toInteger(), 3);
    }
    // The datasets are read when they are committed: a file changed in between is refused.
    RecordingsFile changed(oneDataSet(R"("Note": "first")"));
    write(QByteArray(R"({"datasets": [{"DataSetDesc": "Other", "Note": "second"}]})"));
    EXPECT_THROW(changed.load(), recinfo::LoadError);
}

TEST_F(RecordingsFileTest, TwoDimensionalArraysAreRowsOfTheFirstIndex)
{
    RecordingsFile file(write(QStringLiteral(R"({"datasets": [{%1,
        "SignatureRead": {"vt": "String[]", "values": ["a", "b"]},
        "UserQuery": {"vt": "String[,]", "lbound": [1, 0], "values": [["Pallet intact?", "Seal number?"], ["Yes", "4471"]]}}]})")
                                   .arg(QString::fromUtf8(OneChannel)
                                            .remove(QStringLiteral(R"("SignatureRead": [[""]], "UserQuery": [[""]],)")))));
    file.load();
    EXPECT_EQ(record(0).SignatureRead.dimensions(), 1) << "a forced flat list stays flat";
    const SafeArray& q = record(0).UserQuery;
    ASSERT_EQ(q.dimensions(), 2);
    EXPECT_EQ(q.lowerBound(1), 1);
    EXPECT_EQ(q.upperBound(2), 1);
    EXPECT_EQ(q.at(1, 1).toString(), QStringLiteral("Seal number?"));
    EXPECT_EQ(q.at(2, 0).toString(), QStringLiteral("Yes"));
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

// Files that fail to load are golden reports (tests/data/reports/bad.cases); these rows pin what the store
// lists of the datasets committed before the failure.
TEST_F(RecordingsFileTest, StoreListsTheDataSetsCommittedBeforeAFailure)
{
    struct Case {
        const char* json; // $1 stands for the arrays one channel needs
        const char* expected; // part of the message
        int listed; // a failing AddDataSet leaves its slot filled
    };
    const Case cases[] = {
        {R"({"datasets": [{"DataSetDesc": "Good", $1}, {"DataSetDesc": "Bad", $1, "FirstHiAlarm": {"vt": "Long[]", "values": [8]}}]})",
         R"(dataset 2 ("Bad"): AddDataSet failed with error 13: Type mismatch: FirstHiAlarm)", 2},
        {R"({"datasets": [{"DataSetDesc": "Good", $1}, {"DataSetDesc": "Bad", "FirstHiAlarm": {"lbound": 1e12, "values": [1]}}]})",
         R"(dataset 2 ("Bad"), key "FirstHiAlarm": "lbound" must be a whole number)", 1},
        {R"({"datasets": [{"DataSetDesc": "A", $1}, 5, {"DataSetDesc": "C", $1}]})", "dataset 2: must be an object", 1},
    };
    for (const Case& c : cases) {
        ModuleState::endApartment();
        const QString path = write(QByteArray(c.json).replace("$1", OneChannel));
        QString listing, message;
        QTextStream out(&listing), err(&message);
        EXPECT_EQ(recinfo::storeCommand(path, out, err), 1) << c.json;
        err.flush();
        const bool named = message.startsWith(QStringLiteral("recinfo: ") + path);
        EXPECT_TRUE(named && message.contains(QString::fromUtf8(c.expected))) << message.toStdString();
        EXPECT_EQ(listing.count(QStringLiteral("\"DataSetDesc\"")), c.listed) << message.toStdString();
    }
}
