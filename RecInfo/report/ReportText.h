// SPDX-License-Identifier: MIT
#pragma once
// Shared pieces of every section: the tab and line break, the accent colour and heading run,
// the row shape, and the dataset and host values the sections read.

#include "component/DataSetRecord.h"
#include "support/LabelIds.h"

#include <QString>
#include <QStringBuilder>

#include <cstdint>
#include <initializer_list>

namespace vxRecInfo::RecInfoCode {

inline const QString TAB = QStringLiteral("\t");
inline const QString CRLF = QStringLiteral("\r\n");
// A dark blue: red 5, green 0, blue 128.
inline constexpr std::int32_t AccentColor = 0x800005;

// text + line break with the heading run: bold and underlined, size 10, accent colour.
void appendHeading(QString& report, const QString& text);
// TAB + label + TAB + value + line break, without runs.
void appendRow(QString& report, const QString& label, const QString& value);
void appendRow(QString& report, LabelId label, const QString& value);

// The dataset of the store at index (error 9 outside it).
const DataSetRecord& dataSet(std::int16_t index);

// Whether the logger type is one of types ("A", "C", …): exact, case-sensitive.
bool isLoggerType(const QString& type, std::initializer_list<const char*> types);
// Model_Number bits the sections test.
inline constexpr std::int32_t RtdSensorBit = 0x40000;
inline constexpr std::int32_t ThermocoupleBit = 0x100000;
inline constexpr std::int32_t HumiditySensorBit = 0x8000000;

// Whether the check box value counts as ticked: Null and 0 do not.
bool detailsOn(const Variant& details);

// Booleans and numbers as the classic conversion writes them.
QString boolText(bool value);
QString numberText(float value);
QString numberText(double value);

// Host members.
std::int16_t temperatureScale();
QString numberFormatSetting();
bool gasDecimals();
QString secondsToUnits(const Variant& seconds);

} // namespace vxRecInfo::RecInfoCode
