#pragma once
// Report tests: a fresh apartment with two known time zones and US English texts, a recording
// message service, and a dataset that commits with sensible values for a two-channel "A" logger
// (channel arrays with lower bound 1), which each test adjusts before committing.

#include "ErrorOf.h"
#include "component/RecordFixture.h"

#include "automation/ClassRegistry.h"
#include "automation/Dispatch.h"
#include "component/HostObjects.h"
#include "report/RecInfoCode.h"
#include "richtext/RTBFormat.h"
#include "richtext/RichTextBox.h"
#include "automation/BasicText.h"
#include "support/Helpers.h"
#include "support/Labels.h"
#include "support/MessageService.h"

#include <QLocale>

#include <functional>
#include <ostream>

// Readable report text in failure messages.
inline std::ostream& operator<<(std::ostream& os, const QString& text)
{
    return os << text.toStdString();
}

namespace vxRecInfo::testing {

using namespace vxRecInfo::RecInfoCode;
using namespace Qt::Literals::StringLiterals;

// Each line followed by CR LF.
inline QString lines(std::initializer_list<QString> all)
{
    QString text;
    for (const QString& line : all)
        text += line + u"\r\n"_s;
    return text;
}
// TAB + label + TAB + value: the shape of almost every report row.
inline QString row(const QString& label, const QString& value)
{
    return u"\t"_s + label + u"\t"_s + value;
}
inline QStringList linesStartingWith(const QString& report, const QString& prefix)
{
    QStringList found;
    for (const QString& line : report.split(u"\r\n"_s))
        if (line.startsWith(prefix))
            found << line;
    return found;
}
// The lines after the first one that starts with prefix, up to the next empty line.
inline QStringList blockAfter(const QString& report, const QString& prefix)
{
    const QStringList all = report.split(u"\r\n"_s);
    qsizetype n = 0;
    while (n < all.size() && !all[n].startsWith(prefix))
        ++n;
    QStringList block;
    while (++n < all.size() && !all[n].isEmpty())
        block << all[n];
    return block;
}
inline Variant perChannel(VarType type, const std::vector<Variant>& values)
{
    return arrayOfValues(type, values, 1);
}
inline Date at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return Date::fromDateTime(QDate(y, mo, d), QTime(h, mi, s));
}
inline const RunLists& runs() { return RTBFormat::runLists(); }

// A zone's name from a service of its own, so the report's service keeps the zone the report
// gave it.
inline QString zoneName(std::int16_t zone, Date when)
{
    const auto zones = ClassRegistry::instance().createObject(HostClasses::TimeZoneServiceClsid.toString());
    latePut(zones.get(), u"TZoneID"_s, zone);
    return lateGet(zones.get(), u"TimeZoneName"_s, {when}).toString();
}

// Runs one section on cleared run lists and returns its text.
template <class Section>
QString build(Section section)
{
    RTBFormat::ClearRTBFormat();
    QString report;
    section(report);
    return report;
}

inline const Variant DetailsOn{std::int16_t(1)};
inline const Variant DetailsOff{std::int16_t(0)};

class ReportFixture : public RecordFixture
{
protected:
    void SetUp() override
    {
        RecordFixture::SetUp();
        m_locale = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        writeSetting(u"TimeZoneService/TimeZones"_s, QStringList{u"Europe/Berlin"_s, u"America/New_York"_s});
        writeSetting(u"TimeZoneService/SystemTimeZone"_s, u"Europe/Berlin"_s);
    }
    void TearDown() override
    {
        m_record.reset();
        QLocale::setDefault(m_locale);
        RecordFixture::TearDown();
    }

    // Settings are read when the first record of an apartment is made: write them before.
    RecordInfo& record()
    {
        if (!m_record)
            m_record = RecordInfo::create();
        return *m_record;
    }
    // A new apartment, so that settings written from now on take effect.
    void restart()
    {
        m_record.reset();
        ModuleState::endApartment();
        m_count = 0;
    }

    // Commits the default dataset as tweak changes it; returns its index.
    std::int16_t add(const std::function<void(RecordInfo&)>& tweak = {})
    {
        RecordInfo& r = record();
        defaults(r);
        if (tweak)
            tweak(r);
        EXPECT_EQ(r.AddDataSet(), S_OK) << "the dataset must commit: " << lastErrorInfo().description;
        return m_count++;
    }

    static void defaults(RecordInfo& r)
    {
        r.put_DataSetDesc(u"Truck 7"_s);
        r.put_SerialNumber(u"4711"_s);
        r.put_TrackingNumber(u"TRK-9"_s);
        r.put_Description(u"Frozen goods"_s);
        r.put_CommentFinal(u"Arrived cold"_s);
        r.put_Logger_Type(u"A"_s);
        r.put_ConnectionMode(0);
        r.put_RF_Model(2);
        r.put_MiscField(QString());
        r.put_MeasInterval(60);
        r.put_NumOfMeas(1440);
        r.put_CompressEfficiency(12.345f);
        r.put_NumChannels(4);
        r.put_NumActiveChannels(2);
        r.put_Table(1);
        r.put_FirmWareVersion(2.5f);
        r.put_WinVersion(u"6.1"_s);
        r.put_SpecificStopCount(3);
        r.put_RecordStartTime(at(2024, 1, 15, 10));
        r.put_RecordStopTime(at(2024, 1, 16, 12, 30));
        r.put_CMDate(at(2024, 1, 14, 8));
        r.put_FirstReadDate(at(2023, 12, 1, 9));
        r.put_LoggerReadDate(at(2024, 1, 16, 13));
        r.put_LoggerTime(at(2024, 1, 16, 13, 0, 5));
        r.put_StartDelayDate(at(2024, 1, 15, 9, 45));
        r.put_Start_Delay(900);
        r.put_ChannelNumber(perChannel(VarType::Integer, {std::int16_t(1), std::int16_t(2)}));
        r.put_Meas_Type(perChannel(VarType::Long, {1, 2}));
        r.put_Meas_Scale(perChannel(VarType::String, {u"C"_s, u"%"_s}));
        r.put_Meas_Unit(perChannel(VarType::String, {u"C"_s, u"%"_s}));
        r.put_ChnlDescription(perChannel(VarType::String, {u"Front"_s, u"Humidity"_s}));
        r.put_MaxVal(perChannel(VarType::Single, {8.25f, 55.5f}));
        r.put_MinVal(perChannel(VarType::Single, {-2.5f, 40.0f}));
        r.put_MeanVal(perChannel(VarType::Single, {4.75f, 47.25f}));
        r.put_AverageVal(perChannel(VarType::Single, {4.5f, 48.0f}));
        r.put_MKT(perChannel(VarType::Single, {5.5f, 0.0f}));
        r.put_AlarmHighEnabled(perChannel(VarType::Boolean, {true, true}));
        r.put_AlarmHighValue(perChannel(VarType::Single, {25.37f, 60.0f}));
        r.put_AlarmHighNumMeas(perChannel(VarType::Long, {5, 5}));
        r.put_AlarmLowEnabled(perChannel(VarType::Boolean, {false, false}));
        r.put_AlarmLowValue(perChannel(VarType::Single, {-3.0f, 20.0f}));
        r.put_AlarmLowNumMeas(perChannel(VarType::Long, {6, 6}));
        r.put_AlarmMode(perChannel(VarType::Integer, {std::int16_t(0), std::int16_t(0)}));
        r.put_AlarmStatusPerChnl(perChannel(VarType::Boolean, {true, false}));
        r.put_TimeOverAlarmLimit(perChannel(VarType::Double, {400.0, 0.0}));
        r.put_TimeBelowLoAlarmLimit(perChannel(VarType::Double, {0.0, 0.0}));
        r.put_FirstHiAlarm(Variant());
        r.put_FirstLowAlarm(Variant());
        r.put_ProbeSensorDetail(Variant());
        r.put_ProbeNumber(Variant());
        r.put_SignatureRead(twoDimensional(3, 1, u"s"_s));
        r.put_UserQuery(twoDimensional(3, 1, u"q"_s));
    }

private:
    ComPtr<RecordInfo> m_record;
    QLocale m_locale;
    std::int16_t m_count = 0;
};

} // namespace vxRecInfo::testing
