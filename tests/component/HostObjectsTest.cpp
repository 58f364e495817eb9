// SPDX-License-Identifier: MIT
#include "RecordFixture.h"

#include "CaseTable.h"
#include "ErrorOf.h"

#include "automation/ClassRegistry.h"
#include "automation/Dispatch.h"
#include "hostclasses/DefaultHostClasses.h"
#include "component/HostObjects.h"

#include <QFile>
#include <QTimeZone>

#include <random>

#include <unistd.h>

using namespace vxRecInfo;
using namespace vxRecInfo::testing;

namespace {

class HostObjects : public RecordFixture
{
protected:
    void TearDown() override
    {
        registerDefaultHostClasses(); // undo any test's own registrations
        RecordFixture::TearDown();
    }
};

Variant get(IDispatch* object, const char* name, std::vector<Variant> args = {})
{
    return lateGet(object, QString::fromLatin1(name), std::move(args));
}

// A FontSettings whose reload fails, as with an unreadable settings file.
class BrokenFontSettings final : public DispatchObject<IFontSettings>
{
public:
    const TypeInfo& GetTypeInfo() const override
    {
        static const TypeInfo info(QStringLiteral("_Broken"), HostClasses::FontSettingsIid, {});
        return info;
    }
    HResult get_GasDecimals(bool*) override { return S_OK; }
    HResult put_GasDecimals(bool) override { return S_OK; }
    HResult Reload() override
    {
        return guarded([] { throw RuntimeError(Err::PathNotFound); });
    }

protected:
    Variant invokeMember(const MemberInfo&, std::vector<Variant>&) override { return {}; }
};

} // namespace

TEST_F(HostObjects, EveryCreationRestoresTheOneHostSettingsAndReloadsFonts)
{
    auto first = RecordInfo::create();
    IDispatch* settings = ModuleState::current().HostSettings.get();
    writeSetting(QStringLiteral("HostSettings/TScale"), 0);
    EXPECT_EQ(get(settings, "TScale").toInteger(), 1) << "restored settings stay until the next restore";
    auto second = RecordInfo::create();
    EXPECT_EQ(ModuleState::current().HostSettings.get(), settings) << "one HostSettings per apartment";
    EXPECT_EQ(get(settings, "TScale").toInteger(), 0) << "the second RecordInfo restores them again";
    EXPECT_TRUE(ModuleState::current().FontSettings);
}

TEST_F(HostObjects, FontSettingsFailureFailsCreation)
{
    ClassRegistry::instance().registerClass(
        {HostClasses::FontSettingsClsid, {}, {}, [] { return ComPtr<IUnknown>(makeObject<BrokenFontSettings>()); }});
    EXPECT_EQ(errorOf([] { RecordInfo::create(); }), Err::PathNotFound)
        << "a RecordInfo without its font settings must not come into being";
}

TEST_F(HostObjects, TimeZoneServiceComesAtFirstUseWithTheSystemsZonesAndGoesWithARecordInfo)
{
    auto record = RecordInfo::create();
    EXPECT_FALSE(ModuleState::current().TimeZoneService);
    IDispatch* zones = timeZoneService();
    EXPECT_TRUE(ModuleState::current().TimeZoneService);
    const Variant names = get(zones, "TimeArray");
    EXPECT_GT(names.array().upperBound(), 100) << "without a list of its own the service offers the system's zones";
    EXPECT_EQ(names.array().at(0).toString(), QString()) << "element 0 is unused";
    const std::int16_t system = get(zones, "MySystemTZPointer").toInteger();
    EXPECT_TRUE(system >= 1 && system <= names.array().upperBound()) << system;
    record.reset();
    EXPECT_FALSE(ModuleState::current().TimeZoneService);
}

TEST_F(HostObjects, HostSettingsDefaultsAndStoredValues)
{
    IDispatch* settings = hostSettings();
    EXPECT_EQ(get(settings, "ResOffset").toLong(), 0);
    EXPECT_EQ(get(settings, "TScale").toInteger(), 1) << "Celsius when nothing is stored";
    EXPECT_EQ(get(settings, "DFormat").toString(), QStringLiteral("0.0"));
    EXPECT_TRUE(get(settings, "RFIDPath").toString().endsWith(QLatin1Char('/')));
    EXPECT_FLOAT_EQ(get(settings, "BotMargin").toSingle(), 1.0f);

    // Stored language, scale and format show in the golden reports, the folder in the error log.
    restoreSetting(QStringLiteral("HostSettings/LeftMargin"), QStringLiteral("0.5"));
    EXPECT_FLOAT_EQ(get(settings, "LeftMargin").toSingle(), 0.5f) << "the other margins are still 1";
}

TEST_F(HostObjects, StoringTheDefaultPrinterChangesOnlyItsLine)
{
    struct Case { QByteArray before; QString printer; QByteArray after; };
    const Case cases[] = {
        // Comments, the user's order, CR LF and a line a reader cannot parse (its line end
        // escaped) all stay.
        {"; the suite's\r\n[HostSettings]\r\nTScale=0\r\n  DefaultPrinter = Old\r\nPath=C:\\x\\\r\n[FontSettings]\r\nGasDecimals=1\r\n",
         QStringLiteral("New one"),
         "; the suite's\r\n[HostSettings]\r\nTScale=0\r\n  DefaultPrinter=New one\r\nPath=C:\\x\\\r\n[FontSettings]\r\nGasDecimals=1\r\n"},
        {"[HostSettings]\nTScale=0\n\n[FontSettings]\nGasDecimals=1", QStringLiteral("P"),
         "[HostSettings]\nTScale=0\nDefaultPrinter=P\n\n[FontSettings]\nGasDecimals=1"},
        {"[FontSettings]\nGasDecimals=1", QStringLiteral("@home, \"2\"; a=b \\ \u00e9 "),
         "[FontSettings]\nGasDecimals=1\n\n[HostSettings]\nDefaultPrinter=\"@@home, \\\"2\\\"; a=b \\\\ \xc3\xa9 \"\n"},
        // A hex digit after a \x escape would extend the escape: it is escaped too.
        {"[HostSettings]\n", QStringLiteral("a\x01" "1z2"), "[HostSettings]\nDefaultPrinter=a\\x1\\x31z2\n"},
    };
    for (const Case& c : cases) {
        QFile file(settingsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(c.before) == c.before.size());
        file.close();
        latePut(createHostSettings().get(), QStringLiteral("DefaultPrinter"), c.printer);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), c.after) << c.printer.toStdString();
        EXPECT_EQ(get(createHostSettings().get(), "DefaultPrinter").toString(), c.printer) << "it must read back as stored";
    }
    // Readers tell a change by size and time: a value of the same length stored within the clock tick of
    // the last change (a time ahead of the clock here) must still move the time on.
    QFile file(settingsPath());
    const QDateTime ahead = QDateTime::currentDateTime().addSecs(60);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) && file.setFileTime(ahead, QFileDevice::FileModificationTime));
    file.close();
    latePut(createHostSettings().get(), QStringLiteral("DefaultPrinter"), QStringLiteral("a\x01" "1z3"));
    EXPECT_GT(QFileInfo(settingsPath()).lastModified().toMSecsSinceEpoch(), ahead.toMSecsSinceEpoch());
}

// The service keeps the periods of a zone it has met; its times and zone names must still be
// Qt's own around every transition, in either hemisphere, through changes of standard offset,
// in any order.
TEST_F(HostObjects, TimeZoneConversionsAreQtsAtEveryTransition)
{
    const QStringList ids{QStringLiteral("America/New_York"), QStringLiteral("Australia/Sydney"),
                          QStringLiteral("Asia/Kolkata"),     QStringLiteral("Pacific/Apia"),
                          QStringLiteral("Europe/Moscow"),    QStringLiteral("America/Sao_Paulo")};
    writeSetting(QStringLiteral("TimeZoneService/TimeZones"), ids);
    IDispatch* zones = timeZoneService();
    std::vector<QDateTime> instants;
    for (int year = 1900; year <= 2100; year += 7)
        instants.push_back(QDateTime(QDate(year, 1 + year % 12, 1 + year % 28), QTime(year % 24, 17, 5), Qt::UTC));
    for (const QString& id : ids)
        for (const QTimeZone::OffsetData& t : QTimeZone(id.toUtf8()).transitions(
                 QDateTime(QDate(1990, 1, 1), QTime(0, 0), Qt::UTC), QDateTime(QDate(2040, 1, 1), QTime(0, 0), Qt::UTC)))
            for (const int seconds : {-3600, -1, 0, 1, 3599})
                instants.push_back(t.atUtc.addSecs(seconds));
    std::mt19937 random(26);
    std::vector<QDateTime> shuffled = instants;
    std::shuffle(shuffled.begin(), shuffled.end(), random);
    instants.insert(instants.end(), shuffled.begin(), shuffled.end());
    for (std::int16_t number = 1; number <= std::int16_t(ids.size()); ++number) {
        const QTimeZone zone(ids[number - 1].toUtf8());
        latePut(zones, QStringLiteral("TZoneID"), number);
        for (const QDateTime& utc : instants) {
            const QDateTime local = utc.toTimeZone(zone);
            const Date gmt = Date::fromDateTime(utc.date(), utc.time());
            ASSERT_EQ(get(zones, "GMT2Time", {gmt, number}).toDate(), Date::fromDateTime(local.date(), local.time()))
                << ids[number - 1].toStdString() << " " << utc.toString(Qt::ISODate).toStdString();
            // The name of a wall time, read in the zone: the hour after a transition is also
            // the hour before it in wall terms, and one that never happened.
            const QDateTime wall(utc.date(), utc.time(), zone);
            QString name = zone.displayName(wall, QTimeZone::LongName, QLocale());
            if (name.isEmpty())
                name = zone.abbreviation(wall);
            ASSERT_EQ(get(zones, "TimeZoneName", {gmt}).toString(), name.isEmpty() ? ids[number - 1] : name)
                << ids[number - 1].toStdString() << " " << utc.toString(Qt::ISODate).toStdString();
        }
    }
    // Zone 0 is GMT itself, and no zone lies past the list (the entries and the system zone's number
    // show in tests/host/RecordingsFileTest.cpp).
    const Date instant = Date::fromDateTime(QDate(2026, 3, 29), QTime(1, 30));
    EXPECT_EQ(get(zones, "GMT2Time", {instant, std::int16_t(0)}).toDate(), instant);
    std::vector<Variant> past{Variant(std::int16_t(ids.size() + 1))};
    EXPECT_EQ(invokeByName(zones, QStringLiteral("TZoneID"), InvokeKind::PropertyPut, past).error.number,
              Err::SubscriptOutOfRange);
}

TEST_F(HostObjects, DurationTexts)
{
    for (const CaseRow& c : caseTable("duration-texts.tsv", 3)) {
        EXPECT_EQ(durationText(c.number(0)), c[1]) << c.where;
        EXPECT_EQ(hoursText(c.number(0)), c[2]) << c.where;
    }
    // Unconverted, an elapsed time is hours; the converted forms are in the language table below.
    EXPECT_EQ(get(unitConverter(), "ElaspedTime2Unit", {2.0 + 3.0 / 24 + 20.0 / 1440}).toString(),
              QStringLiteral("51:20:00"));
}

TEST_F(HostObjects, ZoneNamesAndDaysFollowTheUsersLanguage)
{
    writeSetting(QStringLiteral("TimeZoneService/TimeZones"), QStringList{QStringLiteral("Europe/Berlin")});
    IDispatch* zones = timeZoneService();
    latePut(zones, QStringLiteral("TZoneID"), std::int16_t(1));
    const Date winter = Date::fromDateTime(QDate(2026, 1, 15), QTime(12, 0));
    for (const CaseRow& c : caseTable("zone-names-by-language.tsv", 5)) {
        writeSetting(QStringLiteral("HostSettings/ResOffset"), c.integer(0));
        const auto text = [](const Variant& v) { return v.toString().toStdString(); };
        EXPECT_EQ(text(get(zones, "TimeZoneName", {winter})), c.text(1)) << c.where;
        EXPECT_EQ(text(get(zones, "TimeArray").array().at(1)), c.text(2)) << c.where;
        EXPECT_EQ(text(get(unitConverter(), "ElaspedTime2Unit", {1.0, true})), c.text(3)) << c.where;
        EXPECT_EQ(text(get(unitConverter(), "Seconds2Units", {184800.0})), c.text(4)) << c.where;
    }
}

TEST_F(HostObjects, TheSettingsFileIsNotWrittenThroughALink)
{
    const QString outside = settingsPath() + QStringLiteral(".outside");
    for (const bool symbolic : {true, false}) {
        QFile::remove(settingsPath());
        QFile file(outside);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write("[HostSettings]\n") > 0);
        file.close();
        ASSERT_TRUE(symbolic ? QFile::link(outside, settingsPath())
                             : ::link(QFile::encodeName(outside).constData(), QFile::encodeName(settingsPath()).constData()) == 0);
        ComPtr<IDispatch> settings = createHostSettings();
        EXPECT_EQ(errorOf([&] { latePut(settings.get(), QStringLiteral("DefaultPrinter"), QStringLiteral("P")); }),
                  Err::PathFileAccessError);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), "[HostSettings]\n") << "a file outside the suite's folder was changed";
        QFile::remove(settingsPath());
        QFile::remove(outside);
    }
}
