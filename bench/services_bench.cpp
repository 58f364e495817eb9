// The batch services over many datasets, one run per process so that peak memory is the run's
// own: RTF_All (rich text of every dataset) and PrintAll on the PDF printer.
// Usage: services_bench rtf-all N | print N   — prints one "key=value" line per measure.

#include "automation/ClassRegistry.h"
#include "automation/Dispatch.h"
#include "automation/SafeArray.h"
#include "component/IRecordInfo.h"
#include "component/Identity.h"
#include "component/SuiteSettings.h"
#include "printing/Printer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

using namespace vxRecInfo;

namespace {

Variant perChannel(VarType type, const Variant& value, int channels)
{
    return Variant(SafeArray::fromValues(type, std::vector<Variant>(std::size_t(channels), value), 1));
}

ComPtr<_RecordInfo> commit(int count)
{
    auto record = ClassRegistry::instance().createInstance(Identity::RecordInfoClsid).as<_RecordInfo>();
    record->put_UserSettings(Variant(SafeArray::fromValues(VarType::Variant, {0, 0, 0, 0, 0, 0, true})));
    const int channels = 4;
    const std::pair<VarType, std::vector<const char*>> arrays[] = {
        {VarType::Single, {"AlarmHighValue", "AlarmLowValue", "AverageVal", "MaxVal", "MinVal", "MeanVal", "MKT"}},
        {VarType::Boolean, {"AlarmHighEnabled", "AlarmLowEnabled", "AlarmStatusPerChnl"}},
        {VarType::Long, {"AlarmHighNumMeas", "AlarmLowNumMeas", "Meas_Type"}},
        {VarType::Integer, {"ChannelNumber", "AlarmMode"}},
        {VarType::String, {"ChnlDescription", "Meas_Scale", "Meas_Unit"}},
        {VarType::Double, {"TimeOverAlarmLimit", "TimeBelowLoAlarmLimit"}},
    };
    const Variant noRows(SafeArray(VarType::String, {{0, 2}, {0, 0}}));
    for (int n = 0; n < count; ++n) {
        record->put_DataSetDesc(QStringLiteral("Cold room %1").arg(n));
        record->put_SerialNumber(QStringLiteral("A%1").arg(n));
        record->put_Logger_Type(QStringLiteral("A"));
        record->put_NumActiveChannels(channels);
        record->put_MeasInterval(300);
        for (const auto& [type, names] : arrays)
            for (const char* name : names)
                latePut(record.get(), QString::fromLatin1(name), perChannel(type, Variant(1).convertTo(type), channels));
        record->put_SignatureRead(noRows);
        record->put_UserQuery(noRows);
        if (failed(record->AddDataSet()))
            std::abort();
    }
    return record;
}

long peakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("VXRECINFO_PDF_DIR", home.filePath(QStringLiteral("pdf")).toLocal8Bit());
    QApplication app(argc, argv);
    setSuiteSettingsFile(home.filePath(QStringLiteral("LoggerSuite.ini")));
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        QTextStream(stderr) << "usage: services_bench rtf-all N | print N\n";
        return 2;
    }
    const int count = args[2].toInt();
    auto record = commit(count);
    QTextStream out(stdout);
    double job = 0;
    std::int16_t page = 0;
    std::int16_t pages = std::int16_t(count);
    QElapsedTimer timer;
    if (args[1] == QLatin1String("rtf-all")) {
        QString printer;
        QString rtf;
        timer.start();
        if (failed(record->RTF_All(&job, &page, &pages, &printer, &rtf, nullptr)))
            return 1;
        const double seconds = timer.nsecsElapsed() / 1e9;
        const double megabytes = rtf.toLatin1().size() / 1e6;
        out << "datasets=" << count << " seconds=" << seconds << " megabytes=" << megabytes
            << " mb_per_second=" << megabytes / seconds << " peak_mb=" << peakKilobytes() / 1024.0 << "\n";
        return 0;
    }
    QString printer = Printer::PdfPrinterName;
    timer.start();
    if (failed(record->PrintAll(&job, &page, &pages, &printer)))
        return 1;
    const double seconds = timer.nsecsElapsed() / 1e9;
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {currentPrinter().lastOutputFile()});
    info.waitForFinished();
    const int printed =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromUtf8(info.readAllStandardOutput())).captured(1).toInt();
    out << "datasets=" << count << " seconds=" << seconds << " pages=" << printed << " pages_per_second=" << printed / seconds
        << "\n";
    return 0;
}
