// SPDX-License-Identifier: MIT
// Time: start, stop, elapsed time, delay and read times, each with its zone name. Logger clocks
// run in GMT: the converted form shows them in the user's zone; a classic file in the Import
// window shows them as stored.

#include "RecInfoCode.h"
#include "ReportText.h"

#include "automation/Dispatch.h"
#include "component/HostObjects.h"
#include "component/ModuleState.h"
#include "automation/BasicText.h"
#include "support/Helpers.h"
#include "support/Labels.h"

namespace vxRecInfo::RecInfoCode {

namespace {

// A first-read date before 2 February 1990 is not known.
const Date FirstReadThreshold = Date::fromDateTime(QDate(1990, 2, 2), QTime(0, 0));

class TimeTexts
{
public:
    TimeTexts(bool converted, std::int16_t zone)
        : m_converted(converted), m_zone(zone), m_zoneName(timeZoneService(), QStringLiteral("TimeZoneName")),
          m_toLocal(timeZoneService(), QStringLiteral("GMT2Time"))
    {
    }

    // A time as its form shows it, two blanks and the zone name of the stored time.
    QString at(Date stored) const
    {
        const QString text = timeText(stored);
        return text % QLatin1StringView("  ") % zoneName(stored);
    }

    // The row of a time: asks the host as at() does, in the same order, then the label; the
    // converted time is written straight into the report.
    void row(QString& report, LabelId label, Date stored) const
    {
        if (!m_converted) {
            const QString text = generalDateText(stored);
            const QString zone = zoneName(stored);
            report += TAB % Label(label) % TAB % text % QLatin1StringView("  ") % zone % CRLF;
            return;
        }
        const Date local = toLocal(stored);
        const QString zone = zoneName(stored);
        report += TAB % Label(label) % TAB;
        AppendDateTimeText(report, local);
        report += QLatin1StringView("  ") % zone % CRLF;
    }

    QString zoneName(Date stored) const { return m_zoneName.get({stored}).toString(); }

    static QString elapsed(double days, bool converted)
    {
        return basicTrim(elapsedTimeText(days, converted));
    }

    bool converted() const { return m_converted; }

private:
    Date toLocal(Date stored) const
    {
        return m_toLocal.get({stored, m_zone}).toDate();
    }

    QString timeText(Date stored) const
    {
        return m_converted ? FormatDateTimeText(toLocal(stored)) : generalDateText(stored);
    }

    bool m_converted;
    std::int16_t m_zone;
    LateProperty m_zoneName;
    LateProperty m_toLocal;
};

void delayRow(QString& report, const DataSetRecord& d)
{
    if (d.StartDelayDateMode)
        appendRow(report, LabelId::DelayedStartTime, generalDateText(d.StartDelayDate));
    else
        appendRow(report, LabelId::DelayIntervalBeforeStart, basicTrim(secondsToUnits(d.Start_Delay)));
}

void firstReadRow(QString& report, const DataSetRecord& d, const TimeTexts& times)
{
    appendRow(report, LabelId::DateLoggerFirstRead,
              d.FirstReadDate.value() >= FirstReadThreshold.value() ? times.at(d.FirstReadDate) : Label(LabelId::Unknown));
}

void delayAndReadRows(QString& report, const DataSetRecord& d, const TimeTexts& times)
{
    const QString& type = d.Logger_Type;
    const bool lOrM = type == QLatin1String("L") || type == QLatin1String("M");
    if (!times.converted()) {
        if (!lOrM) {
            delayRow(report, d);
            firstReadRow(report, d, times);
        }
        times.row(report, LabelId::DateLoggerWasRead, d.LoggerReadDate);
        if (!lOrM)
            times.row(report, LabelId::LoggerInternalTimeWhenRead, d.LoggerTime);
        return;
    }
    if (type == QLatin1String("L"))
        appendRow(report, LabelId::DelayIntervalBeforeStart, Label(LabelId::Unknown));
    else
        delayRow(report, d);
    firstReadRow(report, d, times);
    times.row(report, LabelId::DateLoggerWasRead, d.LoggerReadDate);
    if (!lOrM)
        times.row(report, LabelId::LoggerInternalTimeWhenRead, d.LoggerTime);
}

bool classicFile(std::int16_t index)
{
    return ModuleState::current().ClassicFileFlag.at(index).toBool();
}

} // namespace

void TimeSection(QString& report, std::int16_t index, const Variant& details, bool importView)
{
    const DataSetRecord& d = dataSet(index);
    appendHeading(report, Label(LabelId::Time));

    const std::int16_t zone = ModuleState::current().TimeZone;
    // Zone names are asked of the user's zone, before the first one is fetched.
    latePut(timeZoneService(), QStringLiteral("TZoneID"), zone);

    const bool stored = importView && classicFile(index);
    const TimeTexts times(!stored, zone);
    const double elapsed = d.RecordStopTime.value() - d.RecordStartTime.value();

    times.row(report, LabelId::StartTime, d.RecordStartTime);
    if (d.ContinuousMemory)
        times.row(report, LabelId::EarliestMeasurementDate, d.CMDate);
    times.row(report, LabelId::StopTime, d.RecordStopTime);
    if (stored) {
        appendRow(report, LabelId::ElapsedTime, TimeTexts::elapsed(elapsed, false));
    } else {
        appendRow(report, LabelId::ElapsedTimeFromStart, TimeTexts::elapsed(elapsed, true));
        if (d.ContinuousMemory)
            appendRow(report, LabelId::ElapsedTimeInMemory,
                      TimeTexts::elapsed(d.RecordStopTime.value() - d.CMDate.value(), true));
    }
    if (detailsOn(details))
        delayAndReadRows(report, d, times);
    report += CRLF;
}

} // namespace vxRecInfo::RecInfoCode
