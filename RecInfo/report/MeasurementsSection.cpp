// SPDX-License-Identifier: MIT
// Measurements: sample interval, compression, number of measurements and, per channel, the
// highest, lowest, median, average and mean kinetic values in the channel's format and unit.

#include "RecInfoCode.h"
#include "ReportText.h"

#include "component/MeasFieldProcessor.h"
#include "support/BasicFormat.h"
#include "support/Helpers.h"
#include "support/Labels.h"

namespace vxRecInfo::RecInfoCode {

namespace {

// A mean kinetic temperature of -10000 or less was not computed.
constexpr float NoMkt = -10000.0f;

QString numberFormat(std::int32_t measurementType)
{
    switch (measurementType) {
    case 6:
    case 7: return gasDecimals() ? QStringLiteral("##0.000#") : QStringLiteral("######0");
    case 8: return QStringLiteral("###0.00#");
    default: return numberFormatSetting();
    }
}

void channelBlock(QString& report, std::int16_t index, std::int32_t c)
{
    const DataSetRecord& d = dataSet(index);
    LoadChannelLabels(c, index);
    ChannelHeading(report, index, c);
    const std::int32_t type = d.Meas_Type.at(c).toLong();
    const QString format = numberFormat(type);
    const QString unit = UnitSymbol(temperatureScale(), type);
    const ChannelLabelSet& l = ChannelLabels();
    // A row: tab, label, tab, the value in the channel's format and unit, line break.
    const auto row = [&](const QString& label, const SafeArray& values) {
        report += TAB % label % TAB % basicFormat(values.at(c).toSingle(), format) % unit % CRLF;
    };
    row(l.HighestLabel, d.MaxVal);
    row(l.LowestLabel, d.MinVal);
    row(l.MedianLabel, d.MeanVal);
    row(l.AverageLabel, d.AverageVal);
    if (d.MKT.at(c).toSingle() > NoMkt && type == 1)
        row(l.MktLabel, d.MKT);
    report += TAB % CRLF;
}

} // namespace

void MeasurementsSection(QString& report, std::int16_t index, const Variant& details)
{
    const DataSetRecord& d = dataSet(index);
    const QString& type = d.Logger_Type;
    appendHeading(report, Label(LabelId::Measurements));
    appendRow(report, LabelId::SampleInterval, secondsToUnits(d.MeasInterval));
    if (!isLoggerType(type, {"L", "M", "2"}) && !(d.Model_Number & RtdSensorBit) && !(d.Model_Number & ThermocoupleBit))
        appendRow(report, LabelId::CompressionEfficiency,
                  basicFormat(d.CompressEfficiency, QStringLiteral("#0.#")) + QLatin1Char('%'));
    appendRow(report, LabelId::NumberOfMeasurements, QString::number(d.NumOfMeas));
    if (detailsOn(details)) {
        if (!isLoggerType(type, {"L", "M"}))
            appendRow(report, LabelId::ContinuousMemory, boolText(d.ContinuousMemory));
        appendRow(report, LabelId::NumberOfChannels, QString::number(d.NumChannels));
        appendRow(report, LabelId::NumberOfActiveChannels, QString::number(d.NumActiveChannels));
        if (!isLoggerType(type, {"C", "L", "M", "2"}))
            appendRow(report, LabelId::Table, QString::number(d.Table));
    }
    report += CRLF;

    if (isLoggerType(type, {"A", "C"}))
        MeasFieldProcessor_C::current().setMeasField(d.MiscField);
    else if (!isLoggerType(type, {"B", "L", "M"}))
        return;
    for (std::int32_t c = 1; c <= d.NumActiveChannels; ++c)
        channelBlock(report, index, c);
}

} // namespace vxRecInfo::RecInfoCode
