// SPDX-License-Identifier: MIT
#pragma once
// The batch operations behind PrintAll, RTF_All and RTF_NT: every entry of the dataset list in
// turn becomes its report, printed into one common job, appended as rich text, or appended as a
// print document. They need no window: the dataset list, the details value and the rich-text box
// are plain data here, so the services run them on any thread. The Statistics window runs the
// same operations, and the same pieces of its load, on its own list, check box and box.

#include "ReportTarget.h"

#include "RecInfoCode.h"

#include "printing/PdfRecord.h"
#include "richtext/RichTextBox.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace vxRecInfo {

class JoinedRtfWriter;

// A report target with a dataset list to walk: the Statistics window or BatchReports.
class DatasetList : public ReportTarget
{
public:
    // Form_Load: fills the list from DataSets and selects entry ListIndexPointer.
    virtual void load() = 0;
    // The dataset of an entry (its item data as an Integer).
    virtual std::int16_t datasetOf(int entry) const = 0;
    // Selects an entry, which builds its interactive report as a click on the list does.
    virtual void selectEntry(int entry) = 0;
    virtual void tickDetails() = 0;
    // The box is now laid out for the printer at this line width (twips).
    virtual void boundToPrinter(std::int32_t lineWidth) { (void)lineWidth; }
    // Selects an entry on the way through a batch, which builds the entry's report next.
    virtual void selectForBatch(int entry) { selectEntry(entry); }
    // Whether anybody sees the box between the reports of a batch (a window's box, yes). If
    // not, the batch writes each report's rich text or print document straight from its text
    // and runs, and leaves the box alone.
    virtual bool showsBox() const { return true; }
    // The entries a batch walks: all of them, or a slice where threads share one batch.
    virtual int firstBatchEntry() const { return 0; }
    virtual int endBatchEntry() const { return datasetListCount(); }
};

namespace Batch {

// What a print job of these datasets holds, for the PDF printer's metadata: the first one's
// description as the title, every serial number and author once.
// batchSize: the datasets of the whole batch, when these are only a part of it.
PdfJobInfo printJobInfo(const std::vector<std::int16_t>& datasets, int batchSize = -1);

// PrintAllRec: the reports of all entries with the batch header, printed as one job on the
// printer named (if one is) or appended to RTF_Text as rich text, each followed by a form feed.
// StartPageNum grows by one per entry. A job that fails is abandoned at once (see
// Printer::AbortDoc) and the error goes on to the caller.
void PrintAllRec(DatasetList& list, double& PJob, std::int16_t& StartPageNum, std::int16_t& TotalPages,
                 QString& PrinterName, bool RTFOnly, QString& RTF_Text, bool EnablePageNumbering);
// PrintAllRecOnly_NT: loads the list, then replaces RTF_Text with the print documents of all
// entries, back to back.
void PrintAllRecOnly_NT(DatasetList& list, QString& RTF_Text);
// PrintAllRec's rich text (RTFOnly) as one document, each report on a page of its own: the
// document mergeRtfDocuments joins from the reports RTF_Text would get, added to joined as the
// reports come (call joined.finish() afterwards).
void JoinAllRec(DatasetList& list, double& PJob, std::int16_t& StartPageNum, std::int16_t& TotalPages,
                QString& PrinterName, JoinedRtfWriter& joined, bool EnablePageNumbering);

// JoinAllRec's reports made ahead for another thread to write or print, handed to take in
// entry order.
void PrepareAllRec(DatasetList& list, double& PJob, std::int16_t& StartPageNum, std::int16_t& TotalPages,
                   bool EnablePageNumbering, const std::function<void(RecInfoCode::PreparedReport&&)>& take);
// PrintAllRec's print job of reports made ahead: next() hands over each of `count` in turn.
// The printer named (if one is) becomes the current one, and job the job's metadata.
void PrintPreparedReports(int count, const PdfJobInfo& job, const QString& PrinterName,
                          const std::function<RecInfoCode::PreparedReport()>& next);

// Pieces of the load sequence. UBound(DataSets); error 9 naming DataSets(0) when the store was
// never filled.
std::int32_t lastDatasetIndex();
// ListIndexPointer put back to 0 when it is no entry of a list of `count` (the module value
// changes); returns it.
std::int16_t clampedListIndexPointer(int count);
// Element 6 of UserSettings as a Boolean: whether the window may print. Errors name the element.
bool printAllowed();

} // namespace Batch

// The Statistics window's list, details box and report box without the window.
class BatchReports final : public DatasetList
{
public:
    BatchReports() = default;
    // One slice of a batch of `total` entries that several threads share: this apartment's
    // store holds `skipped` datasets of no entry, then entries first onwards. Only the slice that
    // holds the entry the load selects builds its report.
    BatchReports(int first, int total, int skipped = 0) : m_first(first), m_total(total), m_skipped(skipped) {}

    // The load sequence without what only a window has (size, captions, placement, fonts).
    void load() override;
    std::int16_t datasetOf(int entry) const override;
    void selectEntry(int entry) override;
    // Nobody sees the interactive report here: it is built only where the batch report that
    // follows would not repeat all it leaves behind.
    void selectForBatch(int entry) override;
    bool showsBox() const override { return false; }
    void tickDetails() override { m_details = true; }

    RichTextBox& txtInfo() override { return m_box; }
    Variant detailsValue() const override { return std::int16_t(m_details ? 1 : 0); }
    QString windowName() const override { return QStringLiteral("frmStatistics"); }
    int datasetListCount() const override { return m_count; }
    int firstBatchEntry() const override { return m_walkFirst < 0 ? m_first : m_walkFirst; }
    int endBatchEntry() const override { return m_walkFirst < 0 ? m_end : m_walkEnd; }
    // After load: a batch walks only the entries [first, end) of the slice, so that the slice's
    // text can go out in parts as it is made.
    void walkEntries(int first, int end);

private:
    RichTextBox m_box;
    int m_first = 0;
    int m_total = -1; // -1: the store's
    int m_skipped = 0;
    int m_end = 0;
    int m_count = 0;
    int m_walkFirst = -1; // -1: every entry of the slice
    int m_walkEnd = -1;
    bool m_details = false;
};

} // namespace vxRecInfo
