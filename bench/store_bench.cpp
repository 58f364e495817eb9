// SPDX-License-Identifier: MIT
// The dataset store and the recordings-file loader over many four-channel datasets, one run per
// process so that resident and peak memory are the run's own. MB are 10^6 bytes, KB 10^3.
// Usage: store_bench store N | load N | load FILE   — prints one "key=value" line;
//        store_bench write N FILE                  — writes the recordings file of load N.
//   store N    commits N datasets through _RecordInfo, each with strings and arrays of its own
//              as a host builds them: resident and heap growth per dataset.
//   load N     writes a recordings file of N datasets (a temporary file) and loads it;
//   load FILE  loads the given file: datasets per second, peak memory and the store's size.
//   write N FILE  writes the file load N would load (for measuring recinfo on it).

#include "RecordingsFile.h"

#include "automation/ClassRegistry.h"
#include "automation/SafeArray.h"
#include "component/IRecordInfo.h"
#include "component/Identity.h"
#include "component/ModuleState.h"
#include "component/SuiteSettings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <ctime>

#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace vxRecInfo;

namespace {

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / 1e6 : 0;
}

// Bytes the allocator has handed out and not got back: the live heap, whatever is resident.
double heapMb()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / 1e6;
}

double peakMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) * 1024 / 1e6;
}

// One array of a dataset, built afresh as a host builds it for every recording.
Variant list(VarType type, std::initializer_list<Variant> values)
{
    return Variant(SafeArray::fromValues(type, std::vector<Variant>(values), 1));
}

Variant grid(std::vector<ArrayBound> bounds, std::initializer_list<const char*> rows)
{
    SafeArray a(VarType::String, std::move(bounds));
    auto text = rows.begin();
    for (std::int32_t i = a.lowerBound(1); i <= a.upperBound(1); ++i)
        for (std::int32_t j = a.lowerBound(2); j <= a.upperBound(2); ++j)
            a.set(i, j, QString::fromUtf8(*text++));
    return Variant(std::move(a));
}

Date at(const char* iso)
{
    return Date::fromQDateTime(QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODate));
}

// A four-channel reefer recording; the texts that tell recordings apart carry the number n.
void putDataSet(_RecordInfo* r, int n)
{
    const auto text = [n](const char* pattern) { return QString::fromUtf8(pattern).arg(n); };
    r->put_DataSetDesc(text("Reefer %1 - Chicago to Atlanta, PO 88213"));
    r->put_SerialNumber(text("A4T1%1"));
    r->put_TrackingNumber(text("CX-4471-0302-%1"));
    r->put_Author(QStringLiteral("M. Kowalski"));
    r->put_Description(text("Vaccine shipment %1, 2-8 C, 18 pallets, trailer 4471"));
    r->put_CommentFinal(QStringLiteral("Delivered Atlanta DC 2026-03-04; door-area probe above 8 C during unloading"));
    r->put_Logger_Type(QStringLiteral("A"));
    r->put_Model_Number(4104);
    r->put_FirmWareVersion(3.14f);
    r->put_WinVersion(QStringLiteral("7.4.2.118"));
    r->put_ConnectionMode(0);
    r->put_RF_Desc(QString());
    r->put_MiscField(QStringLiteral("{ExtProbe=-1}"));
    r->put_EnableStop(true);
    r->put_CompressEfficiency(63.8f);
    r->put_MeasInterval(300);
    r->put_NumOfMeas(600);
    r->put_CMDate(at("2026-03-02T14:00:00"));
    r->put_Start_Delay(1800);
    r->put_StartDelayDate(at("2026-03-02T13:30:00"));
    r->put_RecordStartTime(at("2026-03-02T14:00:00"));
    r->put_RecordStopTime(at("2026-03-04T16:00:00"));
    r->put_LoggerReadDate(at("2026-03-04T16:12:40"));
    r->put_LoggerTime(at("2026-03-04T16:12:43"));
    r->put_FirstReadDate(at("2025-09-18T15:02:11"));
    r->put_NumChannels(4);
    r->put_NumActiveChannels(4);
    const auto i16 = [](int v) { return Variant(std::int16_t(v)); };
    const auto i32 = [](int v) { return Variant(std::int32_t(v)); };
    r->put_ChannelNumber(list(VarType::Integer, {i16(1), i16(2), i16(3), i16(4)}));
    r->put_ChnlDescription(list(VarType::String, {"Pallet front", "Pallet middle", "Pallet rear", "Door area"}));
    r->put_Meas_Type(list(VarType::Long, {i32(1), i32(1), i32(1), i32(1)}));
    r->put_Meas_Scale(list(VarType::String, {"C", "C", "C", "C"}));
    r->put_Meas_Unit(list(VarType::String, {"°C", "°C", "°C", "°C"}));
    r->put_ProbeNumber(list(VarType::Long, {i32(40117 + n), i32(40118 + n), i32(40121 + n), i32(40125 + n)}));
    r->put_ProbeUserDescription(list(VarType::String, {"Front probe, row 2", "Middle probe, row 9", "Rear probe, row 17",
                                                       "Door probe, rear doors"}));
    r->put_ProbeSensorDetail(list(VarType::String, {"Thermistor 10k, 2 m lead", "Thermistor 10k, 2 m lead",
                                                    "Thermistor 10k, 2 m lead", "Thermistor 10k, 5 m lead"}));
    r->put_MaxVal(list(VarType::Single, {6.4f, 5.9f, 7.2f, 11.6f}));
    r->put_MinVal(list(VarType::Single, {1.8f, 3.1f, 3.4f, 2.9f}));
    r->put_MeanVal(list(VarType::Single, {4.6f, 4.9f, 5.2f, 5.8f}));
    r->put_AverageVal(list(VarType::Single, {4.5f, 4.8f, 5.3f, 6.2f}));
    r->put_MKT(list(VarType::Single, {4.7f, 4.9f, 5.5f, 6.9f}));
    r->put_AlarmHighEnabled(list(VarType::Boolean, {true, true, true, true}));
    r->put_AlarmHighValue(list(VarType::Single, {8.0f, 8.0f, 8.0f, 8.0f}));
    r->put_AlarmHighNumMeas(list(VarType::Long, {i32(3), i32(3), i32(3), i32(3)}));
    r->put_AlarmLowEnabled(list(VarType::Boolean, {true, true, true, true}));
    r->put_AlarmLowValue(list(VarType::Single, {2.0f, 2.0f, 2.0f, 2.0f}));
    r->put_AlarmLowNumMeas(list(VarType::Long, {i32(6), i32(6), i32(6), i32(6)}));
    r->put_AlarmMode(list(VarType::Integer, {i16(0), i16(0), i16(0), i16(256)}));
    r->put_TimeOverAlarmLimit(list(VarType::Double, {0.0, 0.0, 0.0, 2700.0}));
    r->put_TimeBelowLoAlarmLimit(list(VarType::Double, {600.0, 0.0, 0.0, 0.0}));
    r->put_AlarmStatusPerChnl(list(VarType::Boolean, {false, false, false, true}));
    r->put_Alarm_Status(true);
    const Variant never(at("1990-01-01T00:00:00"));
    r->put_FirstHiAlarm(list(VarType::Date, {never, never, never, Variant(at("2026-03-04T14:50:00"))}));
    r->put_FirstLowAlarm(list(VarType::Date, {never, never, never, never}));
    r->put_UserQuery(grid({{1, 2}, {0, 1}}, {"Purchase order", "Carrier", "88213", "Midwest Reefer Lines, driver J. Ortiz"}));
    r->put_SignatureRead(grid({{0, 2}, {0, 0}}, {"", "", ""}));
    r->put_Note(text("Rear doors of trailer %1 opened at 09:35 local for unloading; dock seal was not in place. "
                     "Door probe exceeded 8 C for 45 min."));
}

int storeRun(int count, QTextStream& out)
{
    auto record = ClassRegistry::instance().createInstance(Identity::RecordInfoClsid).as<_RecordInfo>();
    if (!record)
        return 1;
    putDataSet(record.get(), 0); // the first commit's one-time costs stay out of the measure
    if (failed(record->AddDataSet()) || failed(record->ClearAllDataSets()))
        return 1;
    const double resident = residentMb();
    const double heap = heapMb();
    QElapsedTimer timer;
    timer.start();
    for (int n = 0; n < count; ++n) {
        putDataSet(record.get(), n);
        if (failed(record->AddDataSet()))
            return 1;
    }
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    const auto perDataSet = [count](double mb) { return mb * 1000.0 / count; };
    out << "datasets=" << count << " seconds=" << seconds << " datasets_per_second=" << count / seconds
        << " kb_per_dataset=" << perDataSet(residentMb() - resident) << " heap_kb_per_dataset="
        << perDataSet(heapMb() - heap) << " peak_mb=" << peakMb() << "\n";
    return 0;
}

// The four-channel sample's first dataset as a recordings file holds it; %1 tells them apart.
const char* const DataSetJson = R"({
      "DataSetDesc": "Reefer %1 - Chicago to Atlanta, PO 88213", "SerialNumber": "A4T1%1",
      "TrackingNumber": "CX-4471-0302-%1", "Author": "M. Kowalski",
      "Description": "Vaccine shipment %1, 2-8 C, 18 pallets, trailer 4471",
      "CommentFinal": "Delivered Atlanta DC 2026-03-04; door-area probe above 8 C during unloading",
      "Logger_Type": "A", "Model_Number": 4104, "FirmWareVersion": 3.14, "WinVersion": "7.4.2.118",
      "ConnectionMode": 0, "RF_IsRFLogger": false, "RF_Model": 0, "RF_Desc": "", "RF_Chnl": 0, "RF_RFID": 0,
      "DataSource": "", "DS_Desc": "", "DS_Host": "", "DS_Port": 0, "Imported": false, "MiscField": "{ExtProbe=-1}",
      "EnableStop": true, "EnableSpecificStop": false, "SpecificStopCount": 0, "Table": 0,
      "CompressEfficiency": 63.8, "MeasInterval": 300, "NumOfMeas": 600, "ContinuousMemory": false,
      "CMDate": "2026-03-02T14:00:00", "StartDelayDateMode": false, "Start_Delay": 1800,
      "StartDelayDate": "2026-03-02T13:30:00", "RecordStartTime": "2026-03-02T14:00:00",
      "RecordStopTime": "2026-03-04T16:00:00", "LoggerReadDate": "2026-03-04T16:12:40",
      "LoggerTime": "2026-03-04T16:12:43", "FirstReadDate": "2025-09-18T15:02:11",
      "NumChannels": 4, "NumActiveChannels": 4,
      "ChannelNumber": {"lbound": 1, "values": [1, 2, 3, 4]},
      "ChnlDescription": {"lbound": 1, "values": ["Pallet front", "Pallet middle", "Pallet rear", "Door area"]},
      "Meas_Type": {"lbound": 1, "values": [1, 1, 1, 1]},
      "Meas_Scale": {"lbound": 1, "values": ["C", "C", "C", "C"]},
      "Meas_Unit": {"lbound": 1, "values": ["°C", "°C", "°C", "°C"]},
      "ProbeNumber": {"lbound": 1, "values": [40117, 40118, 40121, 40125]},
      "ProbeUserDescription": {"lbound": 1, "values": ["Front probe, row 2", "Middle probe, row 9", "Rear probe, row 17", "Door probe, rear doors"]},
      "ProbeSensorDetail": {"lbound": 1, "values": ["Thermistor 10k, 2 m lead", "Thermistor 10k, 2 m lead", "Thermistor 10k, 2 m lead", "Thermistor 10k, 5 m lead"]},
      "MaxVal": {"lbound": 1, "values": [6.4, 5.9, 7.2, 11.6]},
      "MinVal": {"lbound": 1, "values": [1.8, 3.1, 3.4, 2.9]},
      "MeanVal": {"lbound": 1, "values": [4.6, 4.9, 5.2, 5.8]},
      "AverageVal": {"lbound": 1, "values": [4.5, 4.8, 5.3, 6.2]},
      "MKT": {"lbound": 1, "values": [4.7, 4.9, 5.5, 6.9]},
      "AlarmHighEnabled": {"lbound": 1, "values": [true, true, true, true]},
      "AlarmHighValue": {"lbound": 1, "values": [8.0, 8.0, 8.0, 8.0]},
      "AlarmHighNumMeas": {"lbound": 1, "values": [3, 3, 3, 3]},
      "AlarmLowEnabled": {"lbound": 1, "values": [true, true, true, true]},
      "AlarmLowValue": {"lbound": 1, "values": [2.0, 2.0, 2.0, 2.0]},
      "AlarmLowNumMeas": {"lbound": 1, "values": [6, 6, 6, 6]},
      "AlarmMode": {"lbound": 1, "values": [0, 0, 0, 256]},
      "TimeOverAlarmLimit": {"lbound": 1, "values": [0, 0, 0, 2700]},
      "TimeBelowLoAlarmLimit": {"lbound": 1, "values": [600, 0, 0, 0]},
      "AlarmStatusPerChnl": {"lbound": 1, "values": [false, false, false, true]},
      "Alarm_Status": true,
      "FirstHiAlarm": {"lbound": 1, "values": ["1990-01-01T00:00:00", "1990-01-01T00:00:00", "1990-01-01T00:00:00", "2026-03-04T14:50:00"]},
      "FirstLowAlarm": {"lbound": 1, "values": ["1990-01-01T00:00:00", "1990-01-01T00:00:00", "1990-01-01T00:00:00", "1990-01-01T00:00:00"]},
      "UserQuery": {"lbound": [1, 0], "values": [["Purchase order", "Carrier"], ["88213", "Midwest Reefer Lines, driver J. Ortiz"]]},
      "SignatureRead": {"lbound": [0, 0], "values": [[""], [""], [""]]},
      "Note": "Rear doors of trailer %1 opened at 09:35 local for unloading; dock seal was not in place."
    })";

// Written a dataset at a time, so that making the file leaves no mark on the peak.
bool writeRecordings(const QString& path, int count)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write(R"({"locale": "en_US", "settings": {"TScale": 1, "DFormat": "0.0", "TimeZones": ["America/Chicago"],
  "SystemTimeZone": "America/Chicago"}, "UserSettings": [1, 0, 0, 1, 0, 0, true], "TimeZone": 1,
  "NoteChangeAllowed": false, "datasets": [
)");
    const QString dataset = QString::fromUtf8(DataSetJson);
    for (int n = 0; n < count; ++n) {
        file.write(dataset.arg(n).toUtf8());
        file.write(n + 1 < count ? ",\n" : "\n");
    }
    file.write("]}\n");
    return file.error() == QFileDevice::NoError;
}

int loadRun(const QString& path, QTextStream& out, QTextStream& err)
{
    const double base = residentMb();
    const double heap = heapMb();
    const double fileMb = double(QFileInfo(path).size()) / 1e6;
    QElapsedTimer timer;
    int committed = 0;
    double seconds = 0;
    double cpu = 0;
    try {
        const double cpuStart = cpuSeconds();
        timer.start();
        recinfo::RecordingsFile file(path, recinfo::Reading::Quick); // as recinfo reads
        file.load();
        seconds = double(timer.nsecsElapsed()) / 1e9;
        cpu = cpuSeconds() - cpuStart;
        committed = file.committed();
    } catch (const recinfo::LoadError& e) {
        err << "store_bench: " << e.message << "\n";
        return 1;
    }
    // What stays once the file and its RecordInfo are gone is the store.
    const double store = heapMb() - heap;
    const double peak = peakMb();
    out << "datasets=" << committed << " file_mb=" << fileMb << " seconds=" << seconds
        << " datasets_per_second=" << committed / seconds << " cpu_seconds=" << cpu
        << " datasets_per_cpu_second=" << committed / cpu << " peak_mb=" << peak << " base_mb=" << base
        << " store_mb=" << store << " peak_over_store=" << (peak - base) / store << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    setSuiteSettingsFile(home.filePath(QStringLiteral("LoggerSuite.ini")));
    const QStringList args = app.arguments();
    QTextStream out(stdout);
    QTextStream err(stderr);
    bool isCount = false;
    const int count = args.value(2).toInt(&isCount);
    // A recordings file for benchmarks of whole commands.
    if (args.size() == 4 && args[1] == QLatin1String("write") && isCount && count >= 1 && count <= 32767)
        return writeRecordings(args[3], count) ? 0 : 1;
    if (args.size() != 3 || (args[1] != QLatin1String("store") && args[1] != QLatin1String("load"))
        || (args[1] == QLatin1String("store") && (!isCount || count < 1 || count > 32767))) {
        err << "usage: store_bench store N | load N | load FILE | write N FILE\n";
        return 2;
    }
    if (args[1] == QLatin1String("store"))
        return storeRun(count, out);
    QString path = args[2];
    if (isCount) {
        path = home.filePath(QStringLiteral("recordings.json"));
        if (count < 1 || count > 32767 || !writeRecordings(path, count)) {
            err << "store_bench: cannot write " << count << " datasets to " << path << "\n";
            return 1;
        }
    }
    return loadRun(path, out, err);
}
