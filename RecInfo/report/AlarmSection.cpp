// SPDX-License-Identifier: MIT
// Alarm: per channel the alarm settings (limits, required duration, notification) and what
// happened: the verdict in red, the time beyond each limit, the first alarm.

#include "RecInfoCode.h"
#include "ReportText.h"

#include "automation/Dispatch.h"
#include "component/HostObjects.h"
#include "component/MeasFieldProcessor.h"
#include "component/ModuleState.h"
#include "richtext/RTBFormat.h"
#include "support/ErrorLog.h"
#include "support/Helpers.h"
#include "support/Labels.h"
#include "support/MessageService.h"

#include <limits>

namespace vxRecInfo::RecInfoCode {

namespace {

constexpr std::int32_t ExceedLimitBit = 8;
constexpr std::int32_t ManualResetBit = 16;
constexpr std::int32_t Red = 255;
// 1 January 1990, 00:00: the logger's mark for "no alarm occurred".
constexpr double NoAlarmSentinel = 32874.0;

// One side of a channel's alarm: high or low.
struct AlarmSide {
    const QString& limitLabel;
    const SafeArray& enabled;
    const SafeArray& limit;
    const SafeArray& requiredMeasurements;
    const SafeArray& timeBeyond;
    const SafeArray& firstAlarm;
    LabelId timeLabel;
    LabelId firstAlarmLabel;
    int verdictIcon; // the unknown-logger box of the high side has an icon, the low side none
    bool high;
};

bool isRfLogger(const DataSetRecord& d)
{
    return d.ConnectionMode == 2 || d.ConnectionMode == 3 || d.ConnectionMode == 4;
}

std::int32_t notificationBits(const DataSetRecord& d)
{
    return d.AlarmMode.at(1).toLong();
}

// Exceed-limit notification on an RF logger: every moment beyond the limit is an alarm and
// no time row is written.
bool exceedLimitMode(const DataSetRecord& d)
{
    return isRfLogger(d) && (notificationBits(d) & ExceedLimitBit);
}

// Required duration: measurements × interval, which must fit a Long.
std::int32_t requiredSeconds(const DataSetRecord& d, const AlarmSide& side, std::int32_t c)
{
    const std::int64_t product = std::int64_t(side.requiredMeasurements.at(c).toLong()) * d.MeasInterval;
    if (product < std::numeric_limits<std::int32_t>::min() || product > std::numeric_limits<std::int32_t>::max())
        throw RuntimeError(Err::Overflow);
    return std::int32_t(product);
}

bool verdict(const DataSetRecord& d, const AlarmSide& side, std::int32_t c, std::int32_t required, double beyond)
{
    const QString& type = d.Logger_Type;
    if (type == QLatin1String("A")) {
        if (exceedLimitMode(d))
            return beyond > 0;
        return side.requiredMeasurements.at(c).toLong() != 0 ? beyond >= required : beyond > 0;
    }
    if (type == QLatin1String("C") || type == QLatin1String("L") || type == QLatin1String("M")
        || type == QLatin1String("2"))
        return beyond >= required;
    showMessage(Label(LabelId::UnknownLoggerTypeContactFactory), side.verdictIcon, applicationTitle());
    return false;
}

// The setting and result columns of the time row: seconds (converted by the host) or text.
QString timeText(const Variant& value)
{
    if (value.varType() == VarType::String)
        return value.toString();
    return secondsToUnits(value);
}

std::pair<Variant, Variant> timeValues(const DataSetRecord& d, const AlarmSide& side, std::int32_t c,
                                       std::int32_t required, double beyond)
{
    const QString& type = d.Logger_Type;
    const Variant none{QString()};
    const Variant result = beyond > 0 ? Variant(beyond) : none;
    if (type == QLatin1String("A"))
        return {side.requiredMeasurements.at(c).toLong() >= 1 ? required : d.MeasInterval, result};
    if (type == QLatin1String("C") || type == QLatin1String("L")) {
        if (beyond < 0)
            return {required, none};
        return {required, beyond == 0 ? Variant(Label(LabelId::SingleMeasurement)) : Variant(beyond)};
    }
    if (type == QLatin1String("M"))
        return {d.Table == 3 ? Variant(Label(LabelId::SingleMeasurement)) : Variant(required), result};
    if (type == QLatin1String("2"))
        return {none, result};
    showMessage(Label(LabelId::UnknownLoggerTypeUpdateSoftware), MsgBox::OKOnly, applicationTitle());
    return {none, none};
}

void enabledRows(QString& report, const DataSetRecord& d, const AlarmSide& side, std::int32_t c)
{
    const std::int32_t type = d.Meas_Type.at(c).toLong();
    const float limit = RoundToResolution(side.limit.at(c).toSingle(), Variant(), type);
    report += TAB % side.limitLabel % TAB % numberText(limit) % UnitSymbol(temperatureScale(), type);

    const std::int32_t required = requiredSeconds(d, side, c);
    const double beyond = side.timeBeyond.at(c).toDouble();
    if (verdict(d, side, c, required, beyond))
        RTBFormat::AddRTBFormatInfo(report, TAB % TAB % Label(LabelId::Alarm) % CRLF, QString(), Red, 0,
                                    FontStyle::Bold, 0);
    else
        report += CRLF;

    const auto [setting, result] = timeValues(d, side, c, required, beyond);
    const QString settingText = timeText(setting);
    const QString resultText = timeText(result);
    if (!exceedLimitMode(d))
        report += TAB % Label(side.timeLabel) % TAB % settingText % TAB % TAB % resultText % CRLF;

    if (side.firstAlarm.isDimensioned()) {
        const Date first = side.firstAlarm.at(c).toDate();
        if (first.value() != NoAlarmSentinel) {
            const Date local = lateGet(timeZoneService(), QStringLiteral("GMT2Time"),
                                       {first, ModuleState::current().TimeZone})
                                   .toDate();
            report += TAB % Label(side.firstAlarmLabel) % TAB % FormatDateTimeText(local) % CRLF;
        }
    }
}

void disabledRows(QString& report, const DataSetRecord& d, const AlarmSide& side, std::int32_t c)
{
    const std::int32_t type = d.Meas_Type.at(c).toLong();
    const bool noAlarmFunction = type == 6 || type == 7 || type == 8;
    if (!noAlarmFunction) {
        report += TAB % side.limitLabel % TAB % Label(LabelId::Disabled) % CRLF;
        report += TAB % Label(side.timeLabel) % CRLF;
    } else if (side.high) {
        report += TAB % Label(LabelId::NoAlarmFunction) % CRLF;
    }
}

void alarmRows(QString& report, const DataSetRecord& d, const AlarmSide& side, std::int32_t c)
{
    if (side.enabled.at(c).toBool())
        enabledRows(report, d, side, c);
    else
        disabledRows(report, d, side, c);
}

QList<std::int32_t> channelsOf(const DataSetRecord& d)
{
    const QString& type = d.Logger_Type;
    const std::int32_t active = d.NumActiveChannels;
    auto range = [](std::int32_t last) {
        QList<std::int32_t> all;
        for (std::int32_t c = 1; c <= last; ++c)
            all.append(c);
        return all;
    };
    if (type == QLatin1String("A") || type == QLatin1String("C") || type == QLatin1String("B"))
        return range(active);
    if (type == QLatin1String("L"))
        return active < 2 ? QList<std::int32_t>{1} : range(active - 1);
    if (type == QLatin1String("M")) {
        if (active < 2)
            return {1};
        if (d.Table == 3 || d.Table == 7)
            return {1, 2};
        return d.Table == 5 ? range(active) : QList<std::int32_t>{1};
    }
    if (type == QLatin1String("2"))
        return {1, 2};
    return {};
}

void channelHeading(QString& report, std::int16_t index, const DataSetRecord& d, std::int32_t c)
{
    if (d.Logger_Type == QLatin1String("M") && d.Table == 3 && (c == 1 || c == 2)) {
        const LabelId heading = c == 1 ? LabelId::AmbientTemperature : LabelId::ProbeTemperature;
        RTBFormat::AddRTBFormatInfo(report, TAB % Label(heading) % CRLF, QString(), -1, 0, FontStyle::Bold, 0);
        return;
    }
    ChannelHeading(report, index, c);
}

void notificationRow(QString& report, const DataSetRecord& d)
{
    if (!isRfLogger(d) || !d.AlarmMode.isDimensioned())
        return;
    const std::int32_t bits = notificationBits(d);
    QString text;
    if (bits & (ExceedLimitBit | ManualResetBit)) {
        if (bits & ManualResetBit)
            text = Label(LabelId::ManualAlarmReset);
        if (bits & ExceedLimitBit)
            text = Label(LabelId::ExceedLimitNotification);
    } else {
        text = Label(LabelId::SingleAlarmNotification);
    }
    report += TAB % Label(LabelId::TmrRFAdvancedAlarmMode) % TAB % text % CRLF;
}

// The text of a label up to its first colon ("High Alarm Mode :" gives "High Alarm Mode ").
QStringView beforeColon(const QString& text)
{
    const qsizetype colon = text.indexOf(QLatin1Char(':'));
    return colon < 0 ? QStringView(text) : QStringView(text).left(colon);
}

void alarmModeRows(QString& report, const DataSetRecord& d)
{
    const QString& type = d.Logger_Type;
    if (type == QLatin1String("L") || type == QLatin1String("M") || type == QLatin1String("2")
        || !d.AlarmMode.isDimensioned())
        return;
    if ((notificationBits(d) & ExceedLimitBit) && d.RF_IsRFLogger)
        return;
    for (std::int32_t c = 1; c <= d.NumActiveChannels; ++c) {
        const std::int32_t mode = d.AlarmMode.at(c).toLong();
        if (d.AlarmHighEnabled.at(c).toBool())
            report += TAB % beforeColon(Label(LabelId::HighAlarmMode)) % TAB % AlarmModeText((mode / 255) & 1) % CRLF;
        if (d.AlarmLowEnabled.at(c).toBool())
            report += TAB % beforeColon(Label(LabelId::LowAlarmMode)) % TAB % AlarmModeText(mode & 1) % CRLF;
    }
}

} // namespace

QString AlarmModeText(std::int32_t mode)
{
    switch (mode) {
    case 0: return Label(LabelId::Cumulative);
    case 1: return Label(LabelId::Continuous);
    default: return Label(LabelId::Unknown);
    }
}

void AlarmSection(QString& report, std::int16_t index, bool details)
{
    const DataSetRecord& d = dataSet(index);
    appendHeading(report, Label(LabelId::Alarm) + TAB + Label(LabelId::Settings) + TAB + TAB + Label(LabelId::Results));
    if (d.Logger_Type == QLatin1String("A") || d.Logger_Type == QLatin1String("C"))
        MeasFieldProcessor_C::current().setMeasField(d.MiscField);

    for (const std::int32_t c : channelsOf(d)) {
        channelHeading(report, index, d, c);
        notificationRow(report, d);
        LoadChannelLabels(c, index);
        const ChannelLabelSet& l = ChannelLabels();
        alarmRows(report, d,
                  AlarmSide{l.HighLimitLabel, d.AlarmHighEnabled, d.AlarmHighValue, d.AlarmHighNumMeas,
                            d.TimeOverAlarmLimit, d.FirstHiAlarm, LabelId::HighTime, LabelId::HighFirstAlarmTime,
                            MsgBox::Exclamation, true},
                  c);
        alarmRows(report, d,
                  AlarmSide{l.LowLimitLabel, d.AlarmLowEnabled, d.AlarmLowValue, d.AlarmLowNumMeas,
                            d.TimeBelowLoAlarmLimit, d.FirstLowAlarm, LabelId::LowTime, LabelId::LowFirstAlarmTime,
                            MsgBox::OKOnly, false},
                  c);
        report += CRLF;
    }

    if (details) {
        appendRow(report, LabelId::AlarmOccured, boolText(d.Alarm_Status));
        alarmModeRows(report, d);
    }
}

} // namespace vxRecInfo::RecInfoCode
