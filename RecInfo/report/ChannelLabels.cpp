// The pieces the Measurements and Alarm sections share: the label set of a channel and the
// channel heading.

#include "RecInfoCode.h"
#include "ReportText.h"

#include "component/MeasFieldProcessor.h"
#include "richtext/RTBFormat.h"
#include "support/Labels.h"

namespace vxRecInfo::RecInfoCode {

namespace {

std::int32_t measurementType(const DataSetRecord& d, std::int32_t channel)
{
    return d.Meas_Type.at(channel).toLong();
}

} // namespace

ChannelLabelSet& ChannelLabels()
{
    thread_local ChannelLabelSet labels;
    return labels;
}

void LoadChannelLabels(std::int32_t channel, std::int16_t index)
{
    ChannelLabelSet& l = ChannelLabels();
    switch (measurementType(dataSet(index), channel)) {
    case 1:
        l.HighLimitLabel = Label(LabelId::HighTemperature);
        l.LowLimitLabel = Label(LabelId::LowTemperature);
        l.HighestLabel = Label(LabelId::HighestTemperature);
        l.LowestLabel = Label(LabelId::LowestTemperature);
        l.AverageLabel = Label(LabelId::AverageTemperature);
        l.MedianLabel = Label(LabelId::MedianTemperature);
        l.MktLabel = Label(LabelId::MeanKineticTemperature);
        break;
    case 2:
        l.HighLimitLabel = Label(LabelId::HighHumidity);
        l.LowLimitLabel = Label(LabelId::LowHumidity);
        l.HighestLabel = Label(LabelId::HighestHumidity);
        l.LowestLabel = Label(LabelId::LowestHumidity);
        l.AverageLabel = Label(LabelId::AverageHumidity);
        l.MedianLabel = Label(LabelId::MedianHumidity);
        break;
    case 6:
    case 7:
        if (gasDecimals()) {
            l.HighestLabel = Label(LabelId::HighestValue);
            l.LowestLabel = Label(LabelId::LowestValue);
            l.AverageLabel = Label(LabelId::AverageValue);
            l.MedianLabel = Label(LabelId::MedianValue);
        } else {
            l.HighestLabel = Label(LabelId::HighestPpm);
            l.LowestLabel = Label(LabelId::LowestPpm);
            l.AverageLabel = Label(LabelId::AveragePpm);
            l.MedianLabel = Label(LabelId::MedianPpm);
        }
        break;
    case 8:
        l.HighestLabel = Label(LabelId::HighestAcceleration);
        l.LowestLabel = Label(LabelId::LowestAcceleration);
        l.AverageLabel = Label(LabelId::AverageAcceleration);
        l.MedianLabel = Label(LabelId::MedianAcceleration);
        break;
    default:
        break; // types 3 to 5 and unknown types keep the labels of the channel before
    }
}

QString SensorDetailText(std::int16_t index, std::int32_t channel, bool inParentheses)
{
    const SafeArray& details = dataSet(index).ProbeSensorDetail;
    if (!details.isDimensioned())
        return QString();
    const QString text = details.at(channel).toString();
    return inParentheses ? QLatin1Char('(') + text + QLatin1Char(')') : text;
}

void ChannelHeading(QString& report, std::int16_t index, std::int32_t channel)
{
    const DataSetRecord& d = dataSet(index);
    QString line;
    if (d.Logger_Type == QLatin1String("C")) {
        line = TAB
            % (MeasFieldProcessor_C::forThread().ProbeEnabled() ? Label(LabelId::ProbeTemperature)
                                                                : d.ChnlDescription.at(channel).toString());
    } else if (d.ProbeNumber.isDimensioned()) {
        line = TAB % d.ChnlDescription.at(channel).toString();
        if (measurementType(d, channel) == 8)
            line += QLatin1Char(' ') % SensorDetailText(index, channel, true);
        line += TAB % Label(LabelId::Probe) % QLatin1Char(' ') % d.ProbeNumber.at(channel).toString() % TAB
            % d.ProbeUserDescription.at(channel).toString();
    } else {
        line = TAB % d.ChnlDescription.at(channel).toString();
    }
    RTBFormat::AddRTBFormatInfo(report, line % CRLF, QString(), -1, 0, FontStyle::Bold, 0);
}

} // namespace vxRecInfo::RecInfoCode
