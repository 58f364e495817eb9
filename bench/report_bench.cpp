// Reports per second: the interactive and the detailed report of a 16-channel dataset, and the
// print documents of many datasets (the time per document must not grow with their number).

#include "automation/SafeArray.h"
#include "component/ModuleState.h"
#include "component/RecordInfo.h"
#include "component/SuiteSettings.h"
#include "report/RecInfoCode.h"
#include "richtext/RichTextBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace vxRecInfo;

namespace {

constexpr int Channels = 16;

class BenchWindow final : public ReportTarget
{
public:
    explicit BenchWindow(int details, int listCount) : m_details(details), m_listCount(listCount) {}
    RichTextBox& txtInfo() override { return m_box; }
    Variant detailsValue() const override { return m_details; }
    QString windowName() const override { return QStringLiteral("frmStatistics"); }
    int datasetListCount() const override { return m_listCount; }

private:
    RichTextBox m_box;
    int m_details;
    int m_listCount;
};

Variant perChannel(VarType type, const Variant& value)
{
    std::vector<Variant> values(Channels, value);
    return Variant(SafeArray::fromValues(type, values, 1));
}

Variant twoDimensional(std::vector<std::vector<QString>> rows, std::int32_t firstLower, std::int32_t secondLower)
{
    const auto columns = std::int32_t(rows.front().size());
    SafeArray a(VarType::String, {{firstLower, firstLower + std::int32_t(rows.size()) - 1},
                                  {secondLower, secondLower + columns - 1}});
    for (std::size_t i = 0; i < rows.size(); ++i)
        for (std::int32_t j = 0; j < columns; ++j)
            a.set(firstLower + std::int32_t(i), secondLower + j, rows[i][std::size_t(j)]);
    return Variant(std::move(a));
}

// Commits `count` copies of a 16-channel "A" logger recording with alarms and signatures.
ComPtr<RecordInfo> commit(int count)
{
    ModuleState::endApartment();
    auto r = RecordInfo::create();
    for (int n = 0; n < count; ++n) {
        r->put_DataSetDesc(QStringLiteral("Cold store %1").arg(n));
        r->put_SerialNumber(QStringLiteral("A%1").arg(100000 + n));
        r->put_Logger_Type(QStringLiteral("A"));
        r->put_ConnectionMode(4);
        r->put_RF_Model(2);
        r->put_NumChannels(Channels);
        r->put_NumActiveChannels(Channels);
        r->put_MeasInterval(300);
        r->put_NumOfMeas(8640);
        r->put_RecordStartTime(Date::fromDateTime(QDate(2026, 1, 1), QTime(8, 0)));
        r->put_RecordStopTime(Date::fromDateTime(QDate(2026, 1, 31), QTime(8, 0)));
        r->put_LoggerReadDate(Date::fromDateTime(QDate(2026, 1, 31), QTime(9, 0)));
        r->put_FirstReadDate(Date::fromDateTime(QDate(2025, 6, 1), QTime(9, 0)));
        r->put_LoggerTime(Date::fromDateTime(QDate(2026, 1, 31), QTime(9, 0)));
        r->put_Note(QStringLiteral("Routine read-out"));
        r->put_SignatureRead(twoDimensional({{QString(), QStringLiteral("QA")}, {QString(), QStringLiteral("46053.5")},
                                             {QString(), QStringLiteral("Approved")}},
                                            0, 0));
        r->put_UserQuery(twoDimensional({{QStringLiteral("Order")}, {QStringLiteral("4711")}}, 1, 0));
        r->put_ChannelNumber(perChannel(VarType::Integer, std::int16_t(1)));
        r->put_AlarmHighEnabled(perChannel(VarType::Boolean, true));
        r->put_AlarmHighValue(perChannel(VarType::Single, 8.0f));
        r->put_AlarmHighNumMeas(perChannel(VarType::Long, 3));
        r->put_AlarmLowEnabled(perChannel(VarType::Boolean, true));
        r->put_AlarmLowValue(perChannel(VarType::Single, 2.0f));
        r->put_AlarmLowNumMeas(perChannel(VarType::Long, 3));
        r->put_AlarmMode(perChannel(VarType::Integer, std::int16_t(256)));
        r->put_AlarmStatusPerChnl(perChannel(VarType::Boolean, false));
        r->put_FirstHiAlarm(perChannel(VarType::Date, Date::fromDateTime(QDate(2026, 1, 20), QTime(14, 0))));
        r->put_FirstLowAlarm(perChannel(VarType::Date, Date(32874.0)));
        r->put_AverageVal(perChannel(VarType::Single, 4.5f));
        r->put_ChnlDescription(perChannel(VarType::String, QStringLiteral("Air")));
        r->put_MaxVal(perChannel(VarType::Single, 9.1f));
        r->put_MinVal(perChannel(VarType::Single, 2.6f));
        r->put_MeanVal(perChannel(VarType::Single, 4.4f));
        r->put_Meas_Scale(perChannel(VarType::String, QStringLiteral("C")));
        r->put_Meas_Type(perChannel(VarType::Long, 1));
        r->put_Meas_Unit(perChannel(VarType::String, QStringLiteral("C")));
        r->put_MKT(perChannel(VarType::Single, 4.8f));
        r->put_TimeOverAlarmLimit(perChannel(VarType::Double, 1800.0));
        r->put_TimeBelowLoAlarmLimit(perChannel(VarType::Double, 0.0));
        if (failed(r->AddDataSet()))
            std::abort();
    }
    return r;
}

void report(benchmark::State& state, int details)
{
    auto record = commit(1);
    BenchWindow window(details, 1);
    for (auto _ : state)
        RecInfoCode::BuildReport(window, 0, false, QString(), 0, 0, 0, 0, true);
    state.SetItemsProcessed(state.iterations()); // items are reports
}

} // namespace

static void BM_InteractiveReport16Channels(benchmark::State& state)
{
    report(state, 0);
}
BENCHMARK(BM_InteractiveReport16Channels)->Unit(benchmark::kMicrosecond);

static void BM_DetailedReport16Channels(benchmark::State& state)
{
    report(state, 1);
}
BENCHMARK(BM_DetailedReport16Channels)->Unit(benchmark::kMicrosecond);

static void BM_PrintDocuments(benchmark::State& state)
{
    const auto count = int(state.range(0));
    auto record = commit(count);
    BenchWindow window(1, count);
    QDir().mkpath(QFileInfo(RecInfoCode::infoFilePath()).absolutePath());
    for (auto _ : state) {
        qint64 size = 0;
        for (int i = 0; i < count; ++i)
            size += RecInfoCode::BuildPrintDocument(window, std::int16_t(i)).size();
        benchmark::DoNotOptimize(size);
    }
    state.SetItemsProcessed(state.iterations() * count); // items are reports
}
BENCHMARK(BM_PrintDocuments)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(2);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir settings;
    setSuiteSettingsFile(settings.filePath(QStringLiteral("LoggerSuite.ini")));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
