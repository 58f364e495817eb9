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
inline Variant perChannel(VarType type, const std::vector<Variant>& values)
{
    return arrayOfValues(type, values, 1);
}
inline Date at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return Date::fromDateTime(QDate(y, mo, d), QTime(h, mi, s));
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
        using V = VarType;
        const std::pair<const char*, Variant> values[] = {
            {"DataSetDesc", "Truck 7"}, {"SerialNumber", "4711"}, {"TrackingNumber", "TRK-9"},
            {"Description", "Frozen goods"}, {"CommentFinal", "Arrived cold"}, {"Logger_Type", "A"},
            {"ConnectionMode", 0}, {"RF_Model", 2}, {"MiscField", ""}, {"MeasInterval", 60}, {"NumOfMeas", 1440},
            {"CompressEfficiency", 12.345f}, {"NumChannels", 4}, {"NumActiveChannels", 2}, {"Table", 1},
            {"FirmWareVersion", 2.5f}, {"WinVersion", "6.1"}, {"SpecificStopCount", 3}, {"Start_Delay", 900},
            {"RecordStartTime", at(2024, 1, 15, 10)}, {"RecordStopTime", at(2024, 1, 16, 12, 30)},
            {"CMDate", at(2024, 1, 14, 8)}, {"FirstReadDate", at(2023, 12, 1, 9)},
            {"LoggerReadDate", at(2024, 1, 16, 13)}, {"LoggerTime", at(2024, 1, 16, 13, 0, 5)},
            {"StartDelayDate", at(2024, 1, 15, 9, 45)},
            {"ChannelNumber", perChannel(V::Integer, {std::int16_t(1), std::int16_t(2)})},
            {"Meas_Type", perChannel(V::Long, {1, 2})}, {"Meas_Scale", perChannel(V::String, {"C", "%"})},
            {"Meas_Unit", perChannel(V::String, {"C", "%"})},
            {"ChnlDescription", perChannel(V::String, {"Front", "Humidity"})},
            {"MaxVal", perChannel(V::Single, {8.25f, 55.5f})}, {"MinVal", perChannel(V::Single, {-2.5f, 40.0f})},
            {"MeanVal", perChannel(V::Single, {4.75f, 47.25f})}, {"AverageVal", perChannel(V::Single, {4.5f, 48.0f})},
            {"MKT", perChannel(V::Single, {5.5f, 0.0f})}, {"AlarmHighEnabled", perChannel(V::Boolean, {true, true})},
            {"AlarmHighValue", perChannel(V::Single, {25.37f, 60.0f})},
            {"AlarmHighNumMeas", perChannel(V::Long, {5, 5})},
            {"AlarmLowEnabled", perChannel(V::Boolean, {false, false})},
            {"AlarmLowValue", perChannel(V::Single, {-3.0f, 20.0f})}, {"AlarmLowNumMeas", perChannel(V::Long, {6, 6})},
            {"AlarmMode", perChannel(V::Integer, {std::int16_t(0), std::int16_t(0)})},
            {"AlarmStatusPerChnl", perChannel(V::Boolean, {true, false})},
            {"TimeOverAlarmLimit", perChannel(V::Double, {400.0, 0.0})},
            {"TimeBelowLoAlarmLimit", perChannel(V::Double, {0.0, 0.0})},
            // No first alarms, probes or sensor details unless a test gives them.
            {"FirstHiAlarm", Variant()}, {"FirstLowAlarm", Variant()}, {"ProbeSensorDetail", Variant()},
            {"ProbeNumber", Variant()}, {"SignatureRead", twoDimensional(3, 1, u"s"_s)},
            {"UserQuery", twoDimensional(3, 1, u"q"_s)}};
        for (const auto& [name, value] : values)
            latePut(&r, QString::fromLatin1(name), value);
    }

private:
    ComPtr<RecordInfo> m_record;
    QLocale m_locale;
    std::int16_t m_count = 0;
};

} // namespace vxRecInfo::testing
