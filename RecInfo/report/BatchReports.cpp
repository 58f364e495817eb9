// SPDX-License-Identifier: MIT
#include "BatchReports.h"

#include "RecInfoCode.h"

#include "component/HostObjects.h"
#include "component/ModuleState.h"
#include "printing/Printer.h"
#include "richtext/PrintEngine.h"
#include "richtext/RtfWriter.h"
#include "support/Labels.h"

#include <limits>

namespace vxRecInfo {

namespace {

std::int16_t raised(std::int16_t value)
{
    if (value == std::numeric_limits<std::int16_t>::max())
        throw RuntimeError(Err::Overflow);
    return std::int16_t(value + 1);
}

// The same error, its description saying which element of which array was asked for.
[[noreturn]] void rethrowNaming(const RuntimeError& e, const QString& element)
{
    throw RuntimeError(e.number(), e.description() + QStringLiteral(": ") + element, e.source());
}

void choosePrinter(const QString& name)
{
    for (const QString& printer : Printers()) {
        if (printer == name) {
            setCurrentPrinter(printer);
            break;
        }
    }
}

// The reports of the batch's entries in turn: StartPageNum raised, the entry selected, then its
// report made by report(entry), and the host's observer told.
template <class Report>
void eachBatchReport(DatasetList& list, std::int16_t& StartPageNum, Report report)
{
    const int first = list.firstBatchEntry();
    const int end = list.endBatchEntry();
    IProgressObserver* const progress = ModuleState::current().progressObserver();
    for (int i = first; i < end; ++i) {
        StartPageNum = raised(StartPageNum);
        list.selectForBatch(i);
        report(i);
        if (progress)
            progress->datasetDone(i + 1 - first, end - first);
    }
}

// One report's pages, from the box, into the open job.
void printReportBox(RichTextBox& box, DatasetList* list)
{
    const std::int32_t width = RTBFormat::WYSIWYG_RTF(box, 1440, 1440);
    if (list)
        list->boundToPrinter(width);
    const double top = 1440 - 2 * currentPrinter().TextHeight(QStringLiteral("Dummy8"));
    RTBFormat::PrintRTF(box, 1440, top, 1440, 1440, true, QString());
}

// Room for the reports still to come, judged by those so far: the text is reallocated a few
// times to about its final length instead of doubling past it.
class Room
{
public:
    // For the entries of list's batch, added to text that holds start units already.
    Room(qsizetype start, const DatasetList& list)
        : m_start(start), m_first(list.firstBatchEntry()), m_count(list.endBatchEntry() - m_first)
    {
    }

    // Before the report of entry is added to text.
    template <class Text>
    void before(Text& text, int entry) const
    {
        const int done = entry - m_first;
        if (done == 0)
            return;
        const qsizetype average = (text.size() - m_start) / done + 1;
        if (capacityOf(text) - text.size() >= 2 * average)
            return;
        text.reserve(text.size() + average * (m_count - done) * 33 / 32 + average);
    }

private:
    static qsizetype capacityOf(const QString& text) { return text.capacity(); }
    static qsizetype capacityOf(const JoinedRtfWriter& joined) { return joined.capacity(); }

    qsizetype m_start;
    int m_first;
    int m_count;
};

} // namespace

namespace Batch {

std::int32_t lastDatasetIndex()
{
    try {
        return ModuleState::current().DataSets.upperBound();
    } catch (const RuntimeError& e) {
        rethrowNaming(e, QStringLiteral("DataSets(0)"));
    }
}

std::int16_t clampedListIndexPointer(int count)
{
    std::int16_t& pointer = ModuleState::current().ListIndexPointer;
    if (pointer > count - 1 || pointer < 0)
        pointer = 0;
    return pointer;
}

bool printAllowed()
{
    try {
        const Variant& settings = ModuleState::current().UserSettings;
        return settings.array().at(6).toBool();
    } catch (const RuntimeError& e) {
        rethrowNaming(e, QStringLiteral("UserSettings(6)"));
    }
}

PdfJobInfo printJobInfo(const std::vector<std::int16_t>& datasets, int batchSize)
{
    PdfJobInfo info;
    const auto& store = ModuleState::current().DataSets;
    QString first;
    if (!datasets.empty()) {
        // A recording without a description is known by its logger.
        const DataSetRecord& lead = store.at(datasets.front());
        first = lead.Description.trimmed().isEmpty() && !lead.SerialNumber.isEmpty()
            ? Label(LabelId::RecordReport) + QLatin1Char(' ') + lead.SerialNumber
            : lead.Description;
    }
    for (const std::int16_t index : datasets) {
        const DataSetRecord& dataset = store.at(index);
        if (!dataset.SerialNumber.isEmpty() && !info.serialNumbers.contains(dataset.SerialNumber))
            info.serialNumbers.append(dataset.SerialNumber);
        if (!dataset.Author.isEmpty() && !info.authors.contains(dataset.Author))
            info.authors.append(dataset.Author);
    }
    info.title = pdfJobTitle(first, batchSize < 0 ? int(datasets.size()) : batchSize);
    return info;
}

void PrintAllRec(DatasetList& list, double& PJob, std::int16_t& StartPageNum, std::int16_t& TotalPages,
                 QString& PrinterName, bool RTFOnly, QString& RTF_Text, bool EnablePageNumbering)
{
    const HostValueScope hostValues;
    choosePrinter(PrinterName);
    list.tickDetails();
    const int count = list.datasetListCount();
    if (RTFOnly && !list.showsBox()) {
        Room room(RTF_Text.size(), list);
        QString report;
        eachBatchReport(list, StartPageNum, [&](int i) {
            room.before(RTF_Text, i);
            RecInfoCode::AppendBatchReportRTF(list, list.datasetOf(i), Label(LabelId::DataSet), std::int16_t(i + 1),
                                              PJob, StartPageNum, TotalPages, EnablePageNumbering, RTF_Text, report);
            RTF_Text += QChar(12);
        });
        return;
    }
    if (!RTFOnly) {
        std::vector<std::int16_t> datasets;
        for (int i = 0; i < count; ++i)
            datasets.push_back(list.datasetOf(i));
        currentPrinter().setJobInfo(printJobInfo(datasets));
    }
    try {
        eachBatchReport(list, StartPageNum, [&](int i) {
            RecInfoCode::BuildReport(list, list.datasetOf(i), false, Label(LabelId::DataSet), std::int16_t(i + 1), PJob,
                                     StartPageNum, TotalPages, EnablePageNumbering);
            RichTextBox& box = list.txtInfo();
            if (RTFOnly) {
                RTF_Text += box.TextRTF();
                RTF_Text += QChar(12);
            } else {
                printReportBox(box, &list);
            }
        });
        if (!RTFOnly)
            currentPrinter().EndDoc();
    } catch (...) {
        // Half a job helps nobody: the pages so far go, and nothing is left open for later.
        if (!RTFOnly)
            abortCurrentJob();
        throw;
    }
}

void JoinAllRec(DatasetList& list, double& PJob, std::int16_t& StartPageNum, std::int16_t& TotalPages,
                QString& PrinterName, JoinedRtfWriter& joined, bool EnablePageNumbering)
{
    const HostValueScope hostValues;
    choosePrinter(PrinterName);
    list.tickDetails();
    Room room(joined.size(), list);
    QString report;
    eachBatchReport(list, StartPageNum, [&](int i) {
        room.before(joined, i);
        if (!RecInfoCode::AppendJoinedBatchReport(list, list.datasetOf(i), Label(LabelId::DataSet), std::int16_t(i + 1),
                                                  PJob, StartPageNum, TotalPages, EnablePageNumbering, joined, report))
            throw RuntimeError(Err::InternalError,
                               QStringLiteral("Internal error: a report the joined document cannot take"));
    });
}

void PrintAllRecOnly_NT(DatasetList& list, QString& RTF_Text)
{
    const HostValueScope hostValues;
    RTF_Text.clear();
    list.load();
    list.tickDetails();
    const bool direct = !list.showsBox();
    const int first = list.firstBatchEntry();
    const int end = list.endBatchEntry();
    IProgressObserver* const progress = ModuleState::current().progressObserver();
    Room room(0, list);
    QString report;
    // The file holds the batch's last document: one slice's alone.
    RecInfoCode::BatchInfoFile info(end == list.datasetListCount());
    try {
        for (int i = first; i < end; ++i) {
            list.selectForBatch(i);
            if (direct) {
                room.before(RTF_Text, i);
                RecInfoCode::AppendPrintDocument(list, list.datasetOf(i), RTF_Text, report, info);
            } else {
                RTF_Text += RecInfoCode::BuildPrintDocument(list, list.datasetOf(i));
            }
            if (progress)
                progress->datasetDone(i + 1 - first, end - first);
        }
    } catch (...) {
        // The file holds the last document made, as when every document was written; the
        // batch's own error is the one to tell.
        try {
            info.finish(RTF_Text);
        } catch (...) {
        }
        throw;
    }
    info.finish(RTF_Text);
}

void PrepareAllRec(DatasetList& list, double& PJob, std::int16_t& StartPageNum, std::int16_t& TotalPages,
                   bool EnablePageNumbering, const std::function<void(RecInfoCode::PreparedReport&&)>& take)
{
    list.tickDetails();
    RecInfoCode::PreparedReport prepared;
    eachBatchReport(list, StartPageNum, [&](int i) {
        RecInfoCode::PrepareBatchReport(list, list.datasetOf(i), Label(LabelId::DataSet), std::int16_t(i + 1), PJob,
                                        StartPageNum, TotalPages, EnablePageNumbering, prepared);
        take(std::move(prepared));
    });
}

void PrintPreparedReports(int count, const PdfJobInfo& job, const QString& PrinterName,
                          const std::function<RecInfoCode::PreparedReport()>& next)
{
    choosePrinter(PrinterName);
    currentPrinter().setJobInfo(job);
    IProgressObserver* const progress = ModuleState::current().progressObserver();
    RichTextBox box;
    box.setDefaultFont(QStringLiteral("Arial"), 10); // as BatchReports' box
    try {
        for (int i = 0; i < count; ++i) {
            RecInfoCode::ApplyPreparedReport(box, next());
            printReportBox(box, nullptr);
            if (progress)
                progress->datasetDone(i + 1, count);
        }
        currentPrinter().EndDoc();
    } catch (...) {
        abortCurrentJob();
        throw;
    }
}

} // namespace Batch

void BatchReports::load()
{
    ModuleState::current().TimeZoneService.reset(); // a new instance, made at its first use
    m_box.setDefaultFont(QStringLiteral("Arial"), 10);
    const int stored = int(Batch::lastDatasetIndex()) + 1 - m_skipped;
    m_count = m_total < 0 ? stored : m_total;
    m_end = m_first + stored;
    const int selected = Batch::clampedListIndexPointer(m_count);
    if (selected >= m_first && selected < m_end)
        selectEntry(selected);
    // The window enables its Print button by it: a UserSettings without a Boolean element 6
    // fails this load as it fails the window's.
    Batch::printAllowed();
}

void BatchReports::selectForBatch(int entry)
{
    if (entry < m_first || entry >= m_end)
        throw RuntimeError(Err::InvalidPropertyValue);
    if (!RecInfoCode::RebuildRepeatsAll(datasetOf(entry)))
        selectEntry(entry);
}

void BatchReports::walkEntries(int first, int end)
{
    if (first < m_first || end > m_end || first > end)
        throw RuntimeError(Err::SubscriptOutOfRange);
    m_walkFirst = first;
    m_walkEnd = end;
}

std::int16_t BatchReports::datasetOf(int entry) const
{
    return Variant(std::int32_t(entry - m_first + m_skipped)).toInteger();
}

void BatchReports::selectEntry(int entry)
{
    if (entry < m_first || entry >= m_end)
        throw RuntimeError(Err::InvalidPropertyValue);
    RecInfoCode::BuildReport(*this, datasetOf(entry), false, QString(), 0, 0, 0, 0, true);
}

} // namespace vxRecInfo
