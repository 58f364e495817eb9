// The pieces the Measurements and Alarm sections share: the label set of a channel and the
// channel heading.

#include "RecInfoCode.h"
#include "ReportText.h"

#include "component/MeasFieldProcessor.h"
#include "component/ModuleState.h"
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
    return ModuleState::current().part<ChannelLabelSet>();
}

namespace {

// A label of the set made the table's text; left alone when it already is (no count to change).
void setLabel(QString& slot, LabelId id)
{
    const QString& text = Label(id);
    if (!slot.isSharedWith(text))
        slot = text;
}

} // namespace

void LoadChannelLabels(std::int32_t channel, std::int16_t index)
{
    ChannelLabelSet& l = ChannelLabels();
    switch (measurementType(dataSet(index), channel)) {
    case 1:
        setLabel(l.HighLimitLabel, LabelId::HighTemperature);
        setLabel(l.LowLimitLabel, LabelId::LowTemperature);
        setLabel(l.HighestLabel, LabelId::HighestTemperature);
        setLabel(l.LowestLabel, LabelId::LowestTemperature);
        setLabel(l.AverageLabel, LabelId::AverageTemperature);
        setLabel(l.MedianLabel, LabelId::MedianTemperature);
        setLabel(l.MktLabel, LabelId::MeanKineticTemperature);
        break;
    case 2:
        setLabel(l.HighLimitLabel, LabelId::HighHumidity);
        setLabel(l.LowLimitLabel, LabelId::LowHumidity);
        setLabel(l.HighestLabel, LabelId::HighestHumidity);
        setLabel(l.LowestLabel, LabelId::LowestHumidity);
        setLabel(l.AverageLabel, LabelId::AverageHumidity);
        setLabel(l.MedianLabel, LabelId::MedianHumidity);
        break;
    case 6:
    case 7:
        if (gasDecimals()) {
            setLabel(l.HighestLabel, LabelId::HighestValue);
            setLabel(l.LowestLabel, LabelId::LowestValue);
            setLabel(l.AverageLabel, LabelId::AverageValue);
            setLabel(l.MedianLabel, LabelId::MedianValue);
        } else {
            setLabel(l.HighestLabel, LabelId::HighestPpm);
            setLabel(l.LowestLabel, LabelId::LowestPpm);
            setLabel(l.AverageLabel, LabelId::AveragePpm);
            setLabel(l.MedianLabel, LabelId::MedianPpm);
        }
        break;
    case 8:
        setLabel(l.HighestLabel, LabelId::HighestAcceleration);
        setLabel(l.LowestLabel, LabelId::LowestAcceleration);
        setLabel(l.AverageLabel, LabelId::AverageAcceleration);
        setLabel(l.MedianLabel, LabelId::MedianAcceleration);
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
            % (MeasFieldProcessor_C::current().ProbeEnabled() ? Label(LabelId::ProbeTemperature)
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
