// SPDX-License-Identifier: MIT
// Reports per second: the interactive and the detailed report of a 16-channel dataset, the
// interactive one shown by the window's view, and the print documents of many datasets (the
// time per document must not grow with their number).

#include "automation/SafeArray.h"
#include "component/ModuleState.h"
#include "component/RecordInfo.h"
#include "component/SuiteSettings.h"
#include "report/RecInfoCode.h"
#include "richtext/BoxExcerpt.h"
#include "richtext/RichTextBox.h"
#include "windows/RichTextView.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <benchmark/benchmark.h>

#include <ctime>

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

namespace {

// CPU time of the calling thread: the view paints on it too (offscreen), and other processes on
// the machine do not count.
qint64 threadNanoseconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}


} // namespace

// The interactive report rebuilt, applied to the box and shown (painted) by a visible view, as
// a click on the window's dataset list does, against the same report built with its text and
// formats put into a reused QTextDocument (what a view built on one pays at least). Every
// iteration runs both, and the view once more with nothing to reuse (a new model: cold), so all
// see the same load; only the first is timed. Counters in thread CPU time: view_us,
// qtextdocument_us, ratio = view / QTextDocument, cold_us, cold_ratio = cold / QTextDocument.
static void BM_InteractiveReportShownByView(benchmark::State& state)
{
    auto record = commit(1);
    BenchWindow window(0, 1);
    BenchWindow documentWindow(0, 1);
    QTextDocument document;
    RichTextView view;
    view.setModel(&window.txtInfo());
    view.resize(587, 323); // txtInfo's design size at 96 dpi
    view.show();
    QCoreApplication::processEvents();
    qint64 viewNs = 0;
    qint64 documentNs = 0;
    qint64 coldNs = 0;
    const auto show = [&] {
        RecInfoCode::BuildReport(window, 0, false, QString(), 0, 0, 0, 0, true);
        QCoreApplication::processEvents(); // the view catches up and paints
    };
    for (auto _ : state) {
        qint64 start = threadNanoseconds();
        show();
        viewNs += threadNanoseconds() - start;
        state.PauseTiming();
        start = threadNanoseconds();
        RecInfoCode::BuildReport(documentWindow, 0, false, QString(), 0, 0, 0, 0, true);
        // What a view built on a QTextDocument pays at least for every report.
        fillTextDocument(documentWindow.txtInfo(), document);
        documentNs += threadNanoseconds() - start;
        start = threadNanoseconds();
        view.setModel(&window.txtInfo());
        show();
        coldNs += threadNanoseconds() - start;
        state.ResumeTiming();
    }
    const QTextLayout* title = view.paragraphLayout(0);
    if (!title || !document.toPlainText().startsWith(title->text()) || title->text().isEmpty())
        state.SkipWithError("the view does not show the report");
    const double n = double(state.iterations());
    state.counters["view_us"] = double(viewNs) / n / 1e3;
    state.counters["qtextdocument_us"] = double(documentNs) / n / 1e3;
    state.counters["ratio"] = double(viewNs) / double(documentNs);
    state.counters["cold_us"] = double(coldNs) / n / 1e3;
    state.counters["cold_ratio"] = double(coldNs) / double(documentNs);
    state.SetItemsProcessed(state.iterations()); // items are reports
}
BENCHMARK(BM_InteractiveReportShownByView)->Unit(benchmark::kMicrosecond);

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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir settings;
    setSuiteSettingsFile(settings.filePath(QStringLiteral("LoggerSuite.ini")));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
