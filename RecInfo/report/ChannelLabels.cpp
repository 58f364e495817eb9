// SPDX-License-Identifier: MIT
// The pieces the Measurements and Alarm sections share: the label set of a channel and the
// channel heading.

#include "RecInfoCode.h"
#include "ReportText.h"

#include "component/MeasFieldProcessor.h"
#include "component/ModuleState.h"
#include "richtext/RTBFormat.h"
#include "support/Labels.h"

#include <array>

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

constexpr auto Keep = LabelId(-1); // the label of the channel before stays

// The labels of a kind of measurement, in the order of ChannelLabelSet's members: high and low
// limit, highest, lowest, average, median, mean kinetic.
using KindLabels = std::array<LabelId, 7>;
constexpr KindLabels Temperature{LabelId::HighTemperature,    LabelId::LowTemperature,
                                 LabelId::HighestTemperature, LabelId::LowestTemperature,
                                 LabelId::AverageTemperature, LabelId::MedianTemperature,
                                 LabelId::MeanKineticTemperature};
constexpr KindLabels Humidity{LabelId::HighHumidity,    LabelId::LowHumidity,    LabelId::HighestHumidity,
                              LabelId::LowestHumidity,  LabelId::AverageHumidity, LabelId::MedianHumidity, Keep};
constexpr KindLabels GasValue{Keep, Keep, LabelId::HighestValue, LabelId::LowestValue,
                              LabelId::AverageValue, LabelId::MedianValue, Keep};
constexpr KindLabels GasPpm{Keep, Keep, LabelId::HighestPpm, LabelId::LowestPpm,
                            LabelId::AveragePpm, LabelId::MedianPpm, Keep};
constexpr KindLabels Acceleration{Keep, Keep, LabelId::HighestAcceleration, LabelId::LowestAcceleration,
                                  LabelId::AverageAcceleration, LabelId::MedianAcceleration, Keep};

} // namespace

void LoadChannelLabels(std::int32_t channel, std::int16_t index)
{
    const KindLabels* kind = nullptr;
    switch (measurementType(dataSet(index), channel)) {
    case 1: kind = &Temperature; break;
    case 2: kind = &Humidity; break;
    case 6:
    case 7: kind = gasDecimals() ? &GasValue : &GasPpm; break;
    case 8: kind = &Acceleration; break;
    default: return; // types 3 to 5 and unknown types keep the labels of the channel before
    }
    ChannelLabelSet& l = ChannelLabels();
    QString* const slots[] = {&l.HighLimitLabel, &l.LowLimitLabel, &l.HighestLabel, &l.LowestLabel,
                              &l.AverageLabel,   &l.MedianLabel,   &l.MktLabel};
    for (std::size_t i = 0; i < kind->size(); ++i)
        if ((*kind)[i] != Keep)
            setLabel(*slots[i], (*kind)[i]);
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
