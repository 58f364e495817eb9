// SPDX-License-Identifier: MIT
#pragma once
// The report builder: one dataset of the store becomes the record report of that recording,
// written section by section into one string with format runs beside it, then put into the
// calling window's rich-text box.

#include "ReportTarget.h"

#include "automation/AtomicFile.h"
#include "automation/Variant.h"
#include "richtext/RTBFormat.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace vxRecInfo {
class JoinedRtfWriter;
}

namespace vxRecInfo::RecInfoCode {

// The labels of one channel, filled by LoadChannelLabels and read by the Measurements and
// Alarm sections; per thread, kept from one channel to the next.
struct ChannelLabelSet {
    QString HighLimitLabel;
    QString LowLimitLabel;
    QString HighestLabel;
    QString LowestLabel;
    QString AverageLabel;
    QString MedianLabel;
    QString MktLabel;
};
ChannelLabelSet& ChannelLabels();
void LoadChannelLabels(std::int32_t channel, std::int16_t index);

// The sensor detail of a channel, "(" + text + ")" when inParentheses; "" without details.
QString SensorDetailText(std::int16_t index, std::int32_t channel, bool inParentheses);
// The heading line of one channel, with its bold run.
void ChannelHeading(QString& report, std::int16_t index, std::int32_t channel);

// The RF model name and the connection text of the Logger section.
QString RFModelName(std::int32_t model);
QString ConnectionText(std::int32_t connectionMode, std::int32_t rfModel);
// "Cumulative", "Continuous" or "Unknown".
QString AlarmModeText(std::int32_t mode);

// The sections, each appending to the report text. details: the check box value (Null or 0 is
// off); the Alarm section takes it as a Boolean.
void DataSourceSection(QString& report, std::int16_t index);
void LoggerSection(QString& report, std::int16_t index, const Variant& details);
void TimeSection(QString& report, std::int16_t index, const Variant& details, bool importView);
void MeasurementsSection(QString& report, std::int16_t index, const Variant& details);
void AlarmSection(QString& report, std::int16_t index, bool details);
void UserInputSection(QString& report, std::int16_t index);
void SignaturesSection(QString& report, std::int16_t index);
void NoteSection(QString& report, std::int16_t index);

// The whole report into window.txtInfo(): interactive (no header), with the centred title for
// printing from the window, or with the batch header when datasetLabel is not empty.
void BuildReport(ReportTarget& window, std::int16_t index, bool printTitle, const QString& datasetLabel,
                 std::int16_t datasetNumber, double PJob, std::int16_t StartPageNum, std::int16_t TotalPages,
                 bool EnablePageNumbering);

// The print document of one dataset; also written to the info file, which it replaces.
QString BuildPrintDocument(ReportTarget& window, std::int16_t index);

// For a batch whose box nobody sees between reports, the report or print document of one
// dataset appended to out straight from its text and runs; the window's box is left alone.
// report is where the text is built, its room kept from one report to the next. Errors are
// those of the box's way (BuildReport then TextRTF, BuildPrintDocument); out is then unchanged.
//
// The batch report's rich text, as BuildReport and TextRTF give it.
void AppendBatchReportRTF(ReportTarget& window, std::int16_t index, const QString& datasetLabel,
                          std::int16_t datasetNumber, double PJob, std::int16_t StartPageNum, std::int16_t TotalPages,
                          bool EnablePageNumbering, QString& out, QString& report);
// The batch report added to a joined document; false for runs the joined document cannot take
// (none the sections record).
bool AppendJoinedBatchReport(ReportTarget& window, std::int16_t index, const QString& datasetLabel,
                             std::int16_t datasetNumber, double PJob, std::int16_t StartPageNum,
                             std::int16_t TotalPages, bool EnablePageNumbering, JoinedRtfWriter& out, QString& report);
// The info file of a batch of print documents. Each document replaces the one before, so only
// the last is written, once the batch is done: one rename and one flush to disk per batch, and a
// reader or a killed batch sees the file as it was before or with the last document. The first
// document already finds out whether the file can be written at all, as BuildPrintDocument does.
class BatchInfoFile
{
public:
    // Not written: the batch is one part of a larger one, whose last document is another's.
    explicit BatchInfoFile(bool written = true) : m_written(written) {}

    // The document that starts at start in out was appended: it is the one to write so far.
    void documentAppended(QString& out, qsizetype start);
    // Writes the last document; on failure it is taken off out again and the error raised.
    void finish(QString& out);

private:
    std::optional<AtomicFile> m_file;
    qsizetype m_start = -1;
    bool m_written = true;
};

// The print document, as BuildPrintDocument returns it; info stands for the info file.
void AppendPrintDocument(ReportTarget& window, std::int16_t index, QString& out, QString& report, BatchInfoFile& info);

// A batch report made on one thread to be written or printed on another: its text and runs.
struct PreparedReport {
    QString text;
    RunLists runs;
};
// The report AppendBatchReportRTF would add, into prepared.
void PrepareBatchReport(ReportTarget& window, std::int16_t index, const QString& datasetLabel,
                        std::int16_t datasetNumber, double PJob, std::int16_t StartPageNum, std::int16_t TotalPages,
                        bool EnablePageNumbering, PreparedReport& prepared);
// Puts a prepared report into box as BuildReport leaves it.
void ApplyPreparedReport(RichTextBox& box, const PreparedReport& prepared);
// Adds a prepared report to joined as AppendJoinedBatchReport does; false, with the report in
// box, where the joined document cannot take it.
bool AppendJoinedPreparedReport(RichTextBox& box, const PreparedReport& prepared, JoinedRtfWriter& out);

// Whether a report of dataset index built right after another one of it repeats all the first
// leaves behind, so that the first need not be built: not for loggers whose alarm verdict shows
// a message box, nor for channels that read labels an earlier channel loaded (types that keep
// the labels of the channel before).
bool RebuildRepeatsAll(std::int16_t index);

// Where BuildPrintDocument writes: the shared application data folder + "/Orvale Systems/info.txt".
QString infoFilePath();

// The print document of a report text and the current run lists (rows 1 to 12).
QString printDocument(const QString& report, const QString& serialNumber);
void appendPrintDocument(QString& out, QStringView report, const QString& serialNumber);
// Replaces the info file with document, one more line break and "{[{PrintDoc}]}", whole or not
// at all. A missing folder is error 76, a linked file or one that cannot be written error 75, a
// full disk error 61.
void writeInfoFile(QStringView document);

} // namespace vxRecInfo::RecInfoCode
