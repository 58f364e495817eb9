// SPDX-License-Identifier: MIT
// Logger: the logger and its connection, serial and tracking numbers, the user's texts, the
// memory configuration and, in the detailed view, firmware, model, stop options and sensors.

#include "RecInfoCode.h"
#include "ReportText.h"

#include "support/Labels.h"

namespace vxRecInfo::RecInfoCode {

namespace {

void connectionRows(QString& report, const DataSetRecord& d)
{
    const QString rfAddress = QString::number(d.RF_RFID) + QStringLiteral(" : ") + QString::number(d.RF_Chnl);
    const QString hostPort = d.DS_Host + QStringLiteral(" : ") + d.DS_Port;
    switch (d.ConnectionMode) {
    case 1:
        appendRow(report, LabelId::RFDescription, d.RF_Desc);
        break;
    case 2:
        appendRow(report, LabelId::RFDescription, d.RF_Desc);
        appendRow(report, LabelId::DeviceServer, d.DS_Desc);
        appendRow(report, LabelId::HostPort, hostPort);
        break;
    case 3:
        appendRow(report, LabelId::RFDescription, d.RF_Desc);
        appendRow(report, LabelId::RFAddressAndChannel, rfAddress);
        break;
    case 4:
        appendRow(report, LabelId::RFDescription, d.RF_Desc);
        appendRow(report, LabelId::RFAddressAndChannel, rfAddress);
        appendRow(report, LabelId::DeviceServer, d.DS_Desc);
        appendRow(report, LabelId::HostPort, hostPort);
        break;
    default:
        break;
    }
}

void sensorRows(QString& report, const DataSetRecord& d)
{
    const QString& type = d.Logger_Type;
    if (type == QLatin1String("L"))
        return;
    if (type == QLatin1String("2")) {
        appendRow(report, LabelId::LoggerSensor, Label(LabelId::RH));
        return;
    }
    if (type == QLatin1String("M")) {
        if (d.Model_Number == 0) {
            const QString thermistor = Label(LabelId::Thermistor);
            appendRow(report, LabelId::LoggerSensor,
                      d.Table == 3 ? thermistor + QStringLiteral(", ") + Label(LabelId::RTDSensor) : thermistor);
        }
        if (d.Model_Number & HumiditySensorBit)
            appendRow(report, LabelId::LoggerSensor, Label(LabelId::RH));
        return;
    }
    // Tested one after the other: bit 20 without the RTD bit gives two rows.
    if (!(d.Model_Number & RtdSensorBit))
        appendRow(report, LabelId::LoggerSensor, Label(LabelId::Thermistor));
    if (d.Model_Number & RtdSensorBit)
        appendRow(report, LabelId::LoggerSensor, Label(LabelId::RTDSensor));
    if (d.Model_Number & ThermocoupleBit)
        appendRow(report, LabelId::LoggerSensor, Label(LabelId::Thermocouple));
}

void detailRows(QString& report, const DataSetRecord& d)
{
    const QString& type = d.Logger_Type;
    appendRow(report, LabelId::DataImported, boolText(d.Imported));
    appendRow(report, LabelId::FirmwareVersion, numberText(d.FirmWareVersion));
    if (!isLoggerType(type, {"M", "2"}))
        appendRow(report, LabelId::ModelNumber, QString::number(d.Model_Number));
    appendRow(report, LabelId::ReadByDLLVersion, d.WinVersion);
    appendRow(report, LabelId::LoggerType, d.Logger_Type);
    appendRow(report, LabelId::PushbuttonStopEnable, boolText(d.EnableStop));
    if (!isLoggerType(type, {"L", "M", "2"})) {
        appendRow(report, LabelId::SpecificStopEnable, boolText(d.EnableSpecificStop));
        appendRow(report, LabelId::SpecificStopCount,
                  d.SpecificStopCount >= 0 ? QString::number(d.SpecificStopCount) : Label(LabelId::None));
    }
    sensorRows(report, d);
}

} // namespace

QString RFModelName(std::int32_t model)
{
    switch (model) {
    case 0: return Label(LabelId::Classic);
    case 1: return Label(LabelId::TmrNet);
    case 2: return Label(LabelId::TmrRF);
    case 3: return Label(LabelId::K7);
    case 4: return Label(LabelId::QZ4);
    default: return QString();
    }
}

QString ConnectionText(std::int32_t connectionMode, std::int32_t rfModel)
{
    switch (connectionMode) {
    case 1: return Label(LabelId::LocalTmr);
    case 2: return Label(LabelId::TmrNet);
    case 3: return Label(LabelId::Local) + RFModelName(rfModel);
    case 4: return RFModelName(rfModel) + Label(LabelId::OnNetwork);
    default: return QString();
    }
}

void LoggerSection(QString& report, std::int16_t index, const Variant& details)
{
    const DataSetRecord& d = dataSet(index);
    appendHeading(report, Label(LabelId::Logger));
    connectionRows(report, d);
    appendRow(report, LabelId::SerialNumber, d.SerialNumber);
    if (!isLoggerType(d.Logger_Type, {"M", "L"}))
        appendRow(report, LabelId::TrackingNumber, d.TrackingNumber);
    appendRow(report, LabelId::Description, d.Description);
    appendRow(report, LabelId::FinalComment, d.CommentFinal);
    appendRow(report, LabelId::MemoryConfiguration,
              Label(d.ContinuousMemory ? LabelId::ContinuousMemory : LabelId::RecordToEndOfMemory));
    appendRow(report, LabelId::LoggerType, ConnectionText(d.ConnectionMode, d.RF_Model));
    if (detailsOn(details))
        detailRows(report, d);
    report += CRLF;
}

} // namespace vxRecInfo::RecInfoCode
