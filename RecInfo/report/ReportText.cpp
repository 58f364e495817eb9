// SPDX-License-Identifier: MIT
#include "ReportText.h"

#include "component/HostObjects.h"
#include "component/ModuleState.h"
#include "richtext/RTBFormat.h"
#include "automation/BasicText.h"
#include "support/Labels.h"

namespace vxRecInfo::RecInfoCode {

void appendHeading(QString& report, const QString& text)
{
    RTBFormat::AddRTBFormatInfo(report, text % CRLF, QString(), AccentColor, 10,
                                FontStyle::Bold | FontStyle::Underline, 0);
}

void appendRow(QString& report, const QString& label, const QString& value)
{
    report.append(QLatin1Char('\t')).append(label).append(QLatin1Char('\t')).append(value).append(CRLF);
}

void appendRow(QString& report, LabelId label, const QString& value)
{
    appendRow(report, Label(label), value);
}

const DataSetRecord& dataSet(std::int16_t index)
{
    return ModuleState::current().DataSets.at(index);
}

bool isLoggerType(const QString& type, std::initializer_list<const char*> types)
{
    for (const char* t : types)
        if (type == QLatin1String(t))
            return true;
    return false;
}

bool detailsOn(const Variant& details)
{
    return !details.isNull() && !details.isEmpty() && details.toBool();
}

QString boolText(bool value)
{
    return basicBooleanText(value);
}

QString numberText(float value)
{
    return basicNumberText(value, 7);
}

QString numberText(double value)
{
    return basicNumberText(value, 15);
}

std::int16_t temperatureScale()
{
    return settingTScale();
}

QString numberFormatSetting()
{
    return settingDFormat();
}

bool gasDecimals()
{
    bool on = false;
    checkHResult(fontSettings()->get_GasDecimals(&on));
    return on;
}

QString secondsToUnits(const Variant& seconds)
{
    return secondsToUnitsText(seconds);
}

} // namespace vxRecInfo::RecInfoCode
