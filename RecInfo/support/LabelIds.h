// SPDX-License-Identifier: MIT
#pragma once
// The ids of the string-table labels the component shows, named after their English text.
// Code asks for labels by these names only, so a test can check every one of them exists in
// every language.

#include <array>

namespace vxRecInfo {

#define VX_LABEL_IDS(X) \
    X(File, 16) /* "&File" */ \
    X(Disabled, 62) /* "Disabled" */ \
    X(DataSet, 65) /* "DataSet " */ \
    X(AlarmOccured, 75) /* "Alarm Occured" */ \
    X(TrackingNumber, 87) /* "Tracking Number: " */ \
    X(PrintingError, 88) /* "Printing Error" */ \
    X(Time, 96) /* "Time" */ \
    X(HighestValue, 222) /* "Highest Value: " */ \
    X(LowestValue, 223) /* "Lowest Value: " */ \
    X(AverageValue, 224) /* "Average Value: " */ \
    X(Page, 239) /* "Page " */ \
    X(Of, 240) /* " of " */ \
    X(Ok, 245) /* "Ok" */ \
    X(Cancel, 250) /* "Cancel" */ \
    X(Note, 299) /* "Note" */ \
    X(ElapsedTime, 303) /* "Elapsed Time:" */ \
    X(Description, 305) /* "Description: " */ \
    X(FinalComment, 311) /* "Final Comment:" */ \
    X(PrintJob, 321) /* "Print Job:" */ \
    X(RFDescription, 327) /* "RF Description" */ \
    X(RFAddressAndChannel, 328) /* "RF Address & Channel" */ \
    X(RecordingNote, 337) /* "Recording Note" */ \
    X(Properties, 353) /* "Properties" */ \
    X(MemoryConfiguration, 371) /* "Memory Configuration" */ \
    X(EarliestMeasurementDate, 391) /* "Earliest measurement date:" */ \
    X(ElapsedTimeInMemory, 393) /* "Elapsed Time (in Memory):" */ \
    X(ElapsedTimeFromStart, 394) /* "Elapsed Time (from Start):" */ \
    X(RecordToEndOfMemory, 398) /* "Record to End of Memory" */ \
    X(ContinuousMemory, 399) /* "Continuous Memory" */ \
    X(RH, 412) /* "RH" */ \
    X(Alarm, 426) /* "Alarm" */ \
    X(Measurements, 427) /* "Measurements" */ \
    X(Logger, 428) /* "Logger" */ \
    X(Statistics, 429) /* "Statistics" */ \
    X(SampleInterval, 430) /* "Sample Interval:" */ \
    X(HighTemperature, 431) /* "High Temperature :" */ \
    X(HighTime, 432) /* "High Time :" */ \
    X(LowTemperature, 433) /* "Low Temperature :" */ \
    X(LowTime, 434) /* "Low Time :" */ \
    X(CompressionEfficiency, 435) /* "Compression Efficiency:" */ \
    X(StopTime, 436) /* "Stop Time:" */ \
    X(NumberOfMeasurements, 438) /* "Number of Measurements:" */ \
    X(StartTime, 439) /* "Start Time:" */ \
    X(AverageTemperature, 440) /* "Average Temperature:" */ \
    X(MedianTemperature, 441) /* "Median Temperature:" */ \
    X(LowestTemperature, 442) /* "Lowest Temperature:" */ \
    X(HighestTemperature, 443) /* "Highest Temperature:" */ \
    X(SerialNumber, 444) /* "Serial Number:" */ \
    X(MeanKineticTemperature, 445) /* "Mean Kinetic Temperature:" */ \
    X(ManualAlarmReset, 446) /* "Manual Alarm Reset" */ \
    X(ExceedLimitNotification, 447) /* "Exceed Limit Notification" */ \
    X(SingleMeasurement, 448) /* "Single Measurement" */ \
    X(MedianValue, 475) /* "Median Value: " */ \
    X(Settings, 501) /* "Settings" */ \
    X(Results, 502) /* "Results" */ \
    X(Print, 504) /* "Print" */ \
    X(FirmwareVersion, 516) /* "Firmware Version" */ \
    X(None, 523) /* "None" */ \
    X(AmbientTemperature, 621) /* "Ambient Temperature" */ \
    X(Cumulative, 627) /* "Cumulative" */ \
    X(HighAlarmMode, 629) /* "High Alarm Mode :" */ \
    X(LowAlarmMode, 630) /* "Low Alarm Mode :" */ \
    X(Probe, 647) /* "Probe" */ \
    X(FileToImport, 666) /* "File to Import" */ \
    X(LoggerTimeZone, 667) /* "Logger Time Zone" */ \
    X(Details, 668) /* "Details" */ \
    X(Import, 669) /* "Import" */ \
    X(DataSource, 670) /* "Data source" */ \
    X(DelayedStartTime, 671) /* "Delayed StartTime" */ \
    X(DataImported, 672) /* "Data Imported" */ \
    X(ModelNumber, 673) /* "Model Number" */ \
    X(ReadByDLLVersion, 674) /* "Read  by DLL Version" */ \
    X(PushbuttonStopEnable, 675) /* "Pushbutton Stop Enable" */ \
    X(SpecificStopEnable, 676) /* "Specific Stop Enable" */ \
    X(SpecificStopCount, 677) /* "Specific Stop Count" */ \
    X(NumberOfChannels, 678) /* "Number of Channels" */ \
    X(NumberOfActiveChannels, 679) /* "Number of Active Channels" */ \
    X(Table, 680) /* "Table" */ \
    X(Signatures, 681) /* "Signatures" */ \
    X(UserInput, 682) /* "User Input" */ \
    X(Classic, 683) /* "Classic" */ \
    X(TmrRF, 684) /* "tmrRF" */ \
    X(K7, 685) /* "K7" */ \
    X(QZ4, 686) /* "QZ4" */ \
    X(Continuous, 687) /* "Continuous" */ \
    X(Unknown, 688) /* "Unknown" */ \
    X(SingleAlarmNotification, 689) /* "Single Alarm Notification" */ \
    X(TmrRFAdvancedAlarmMode, 690) /* "tmrRF Advanced Alarm Mode" */ \
    X(ProbeTemperature, 691) /* "Probe Temperature" */ \
    X(HighestAcceleration, 796) /* "Highest Acceleration:" */ \
    X(LowestAcceleration, 797) /* "Lowest Acceleration:" */ \
    X(MedianAcceleration, 798) /* "Median Acceleration:" */ \
    X(AverageAcceleration, 799) /* "Average Acceleration:" */ \
    X(NoAlarmFunction, 805) /* "No Alarm Function" */ \
    X(HighestPpm, 878) /* "Highest ppm:" */ \
    X(LowestPpm, 901) /* "Lowest ppm:" */ \
    X(MedianPpm, 902) /* "Median ppm:" */ \
    X(AveragePpm, 903) /* "Average ppm:" */ \
    X(AverageHumidity, 910) /* "Average Humidity:" */ \
    X(MedianHumidity, 911) /* "Median Humidity:" */ \
    X(LowestHumidity, 912) /* "Lowest Humidity:" */ \
    X(HighestHumidity, 913) /* "Highest Humidity:" */ \
    X(HighHumidity, 914) /* "High Humidity :" */ \
    X(LowHumidity, 915) /* "Low Humidity :" */ \
    X(HostPort, 920) /* "Host : Port" */ \
    X(DeviceServer, 935) /* "Device Server" */ \
    X(UnknownLoggerTypeUpdateSoftware, 987) /* "Unknown logger type, please update software" */ \
    X(UnknownLoggerTypeContactFactory, 988) /* "Unknown logger type. Please contact factory for correct software." */ \
    X(LoggerType, 989) /* "Logger Type" */ \
    X(LocalTmr, 990) /* "Local tmr" */ \
    X(TmrNet, 991) /* "tmrNet" */ \
    X(Local, 992) /* "Local " */ \
    X(OnNetwork, 993) /* " on Network" */ \
    X(DelayIntervalBeforeStart, 996) /* "Delay Interval Before Start" */ \
    X(DateLoggerFirstRead, 997) /* "Date Logger First Read" */ \
    X(DateLoggerWasRead, 998) /* "Date Logger Was Read" */ \
    X(LoggerInternalTimeWhenRead, 999) /* "Logger Internal Time When Read" */ \
    X(HighFirstAlarmTime, 1105) /* "High, First Alarm Time :" */ \
    X(LowFirstAlarmTime, 1110) /* "Low, First Alarm Time :" */ \
    X(RTDSensor, 1114) /* "RTD Sensor" */ \
    X(LoggerSensor, 1529) /* "Logger Sensor" */ \
    X(Thermocouple, 1530) /* "Thermocouple" */ \
    X(Thermistor, 1531) /* "Thermistor" */ \
    X(RecordReport, 1600) /* "Record report" */ \

enum class LabelId : int {
#define VX_LABEL_ENUMERATOR(name, id) name = id,
    VX_LABEL_IDS(VX_LABEL_ENUMERATOR)
#undef VX_LABEL_ENUMERATOR
};

inline constexpr std::array AllLabelIds{
#define VX_LABEL_ELEMENT(name, id) LabelId::name,
    VX_LABEL_IDS(VX_LABEL_ELEMENT)
#undef VX_LABEL_ELEMENT
};

} // namespace vxRecInfo
