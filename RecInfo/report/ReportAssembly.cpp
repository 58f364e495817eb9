// SPDX-License-Identifier: MIT
// The whole report: header, sections in their order and under their conditions, then text and
// runs into the window's box with the report's tab stops.

#include "RecInfoCode.h"
#include "ReportText.h"

#include "richtext/RTBFormat.h"
#include "richtext/RichTextBox.h"
#include "richtext/RtfWriter.h"
#include "support/Labels.h"

namespace vxRecInfo::RecInfoCode {

namespace {

const QList<std::int32_t>& tabStops()
{
    static const QList<std::int32_t> stops{144, 3000, 4500, 6000};
    return stops;
}

void appendTitle(QString& report, const DataSetRecord& d)
{
    RTBFormat::AddRTBFormatInfo(report, d.DataSetDesc % CRLF, QString(), AccentColor, 10, FontStyle::Bold,
                                Alignment::Center);
    report += CRLF;
}

void appendBatchHeader(QString& report, const DataSetRecord& d, const QString& datasetLabel, std::int16_t number,
                       double job, std::int16_t page, std::int16_t pages, bool pageNumbering)
{
    RTBFormat::AddRTBFormatInfo(report, QStringLiteral("SN: ") % d.SerialNumber % CRLF % CRLF, QString(), 0, 10, 0,
                                Alignment::Right);
    appendTitle(report, d);
    if (pageNumbering) {
        RTBFormat::AddRTBFormatInfo(report, Label(LabelId::PrintJob) % QLatin1Char(' ') % numberText(job) % CRLF,
                                    QString(), AccentColor, 9, 0, Alignment::Right);
        RTBFormat::AddRTBFormatInfo(report,
                                    Label(LabelId::Page) % QLatin1Char(' ') % QString::number(page) % Label(LabelId::Of)
                                        % QString::number(pages) % CRLF,
                                    QString(), 0, 10, 0, Alignment::Right);
    }
    RTBFormat::AddRTBFormatInfo(report, datasetLabel % QLatin1Char(' ') % QString::number(number) % QLatin1Char(':') % CRLF,
                                QString(), AccentColor, 10, FontStyle::Bold, 0);
}

void appendSections(QString& report, ReportTarget& window, std::int16_t index, bool withNote)
{
    const Variant details = window.detailsValue();
    const bool importView = window.windowName() == QLatin1String("frmRecImport");
    DataSourceSection(report, index);
    LoggerSection(report, index, details);
    TimeSection(report, index, details, importView);
    MeasurementsSection(report, index, details);
    AlarmSection(report, index, detailsOn(details));
    if (dataSet(index).DataSource.isEmpty()) {
        UserInputSection(report, index);
        SignaturesSection(report, index);
    }
    if (withNote)
        NoteSection(report, index);
}

// The text of the report BuildReport builds, into report (emptied, its room kept), with its
// runs in the run lists.
void assembleReport(QString& report, ReportTarget& window, std::int16_t index, bool printTitle,
                    const QString& datasetLabel, std::int16_t datasetNumber, double PJob, std::int16_t StartPageNum,
                    std::int16_t TotalPages, bool EnablePageNumbering)
{
    RTBFormat::ClearRTBFormat();
    const DataSetRecord& d = dataSet(index);
    report.resize(0);
    const bool batch = !printTitle && !datasetLabel.isEmpty();
    if (printTitle)
        appendTitle(report, d);
    else if (batch)
        appendBatchHeader(report, d, datasetLabel, datasetNumber, PJob, StartPageNum, TotalPages, EnablePageNumbering);
    // The note belongs to printed and exported reports, not to the one on screen.
    appendSections(report, window, index, printTitle || batch);
}

// The text of the report BuildPrintDocument builds, likewise.
void assembleDocumentReport(QString& report, ReportTarget& window, std::int16_t index)
{
    RTBFormat::ClearRTBFormat();
    const DataSetRecord& d = dataSet(index);
    report.resize(0);
    appendTitle(report, d);
    appendSections(report, window, index, true);
}

void applyToBox(RichTextBox& box, const QString& report)
{
    RTBFormat::FinishRTBFormat(box, report);
    box.setSelStart(0);
    box.setSelLength(std::int32_t(box.Text().size()));
    const QList<std::int32_t>& stops = tabStops();
    box.setSelTabCount(std::int16_t(stops.size()));
    for (qsizetype i = 0; i < stops.size(); ++i)
        box.setSelTabs(std::int16_t(i), stops[i]);
    box.setSelStart(0);
}

RunText runText(const QString& report, const RichTextBox& box)
{
    return {report, RTBFormat::runLists(), box.defaultFontName(), box.defaultFontSize(), tabStops()};
}

QString serialNumberLine(const ReportTarget& window)
{
    return window.datasetListCount() == 1 ? dataSet(0).SerialNumber : QString();
}

// Every value of the dataset's Meas_Type that the sections may ask for.
bool channelsLoadTheirLabels(const DataSetRecord& d)
{
    const SafeArray& types = d.Meas_Type;
    if (!types.isDimensioned())
        return true;
    for (std::int32_t c = types.lowerBound(); c <= types.upperBound(); ++c) {
        const std::int32_t type = types.at(c).toLong();
        if (type == 1 || type == 2)
            continue;
        // Gas and acceleration channels keep the limit labels of the channel before; only an
        // alarm that is on reads them.
        const bool gasOrAcceleration = type == 6 || type == 7 || type == 8;
        if (gasOrAcceleration && !d.AlarmHighEnabled.at(c).toBool() && !d.AlarmLowEnabled.at(c).toBool())
            continue;
        return false;
    }
    return true;
}

} // namespace

void BuildReport(ReportTarget& window, std::int16_t index, bool printTitle, const QString& datasetLabel,
                 std::int16_t datasetNumber, double PJob, std::int16_t StartPageNum, std::int16_t TotalPages,
                 bool EnablePageNumbering)
{
    window.txtInfo().setText(QString());
    QString report;
    assembleReport(report, window, index, printTitle, datasetLabel, datasetNumber, PJob, StartPageNum, TotalPages,
                   EnablePageNumbering);
    applyToBox(window.txtInfo(), report);
}

QString BuildPrintDocument(ReportTarget& window, std::int16_t index)
{
    QString report;
    assembleDocumentReport(report, window, index);
    applyToBox(window.txtInfo(), report);

    const QString document = printDocument(report, serialNumberLine(window));
    writeInfoFile(document);
    window.txtInfo().setSelStart(0);
    return document;
}

void AppendBatchReportRTF(ReportTarget& window, std::int16_t index, const QString& datasetLabel,
                          std::int16_t datasetNumber, double PJob, std::int16_t StartPageNum, std::int16_t TotalPages,
                          bool EnablePageNumbering, QString& out, QString& report)
{
    assembleReport(report, window, index, false, datasetLabel, datasetNumber, PJob, StartPageNum, TotalPages,
                   EnablePageNumbering);
    RichTextBox& box = window.txtInfo();
    if (RtfWriter::appendRunText(out, runText(report, box)))
        return;
    // Runs no box takes: the box's way, which says why.
    box.setText(QString());
    applyToBox(box, report);
    out += box.TextRTF();
}

bool AppendJoinedBatchReport(ReportTarget& window, std::int16_t index, const QString& datasetLabel,
                             std::int16_t datasetNumber, double PJob, std::int16_t StartPageNum,
                             std::int16_t TotalPages, bool EnablePageNumbering, JoinedRtfWriter& out, QString& report)
{
    assembleReport(report, window, index, false, datasetLabel, datasetNumber, PJob, StartPageNum, TotalPages,
                   EnablePageNumbering);
    RichTextBox& box = window.txtInfo();
    if (out.add(runText(report, box)))
        return true;
    box.setText(QString());
    applyToBox(box, report);
    return false;
}

void PrepareBatchReport(ReportTarget& window, std::int16_t index, const QString& datasetLabel,
                        std::int16_t datasetNumber, double PJob, std::int16_t StartPageNum, std::int16_t TotalPages,
                        bool EnablePageNumbering, PreparedReport& prepared)
{
    assembleReport(prepared.text, window, index, false, datasetLabel, datasetNumber, PJob, StartPageNum, TotalPages,
                   EnablePageNumbering);
    prepared.runs = RTBFormat::runLists();
}

void ApplyPreparedReport(RichTextBox& box, const PreparedReport& prepared)
{
    RTBFormat::RestoreRTBFormat(prepared.runs);
    box.setText(QString());
    applyToBox(box, prepared.text);
}

bool AppendJoinedPreparedReport(RichTextBox& box, const PreparedReport& prepared, JoinedRtfWriter& out)
{
    if (out.add({prepared.text, prepared.runs, box.defaultFontName(), box.defaultFontSize(), tabStops()}))
        return true;
    ApplyPreparedReport(box, prepared);
    return false;
}

void AppendPrintDocument(ReportTarget& window, std::int16_t index, QString& out, QString& report, BatchInfoFile& info)
{
    assembleDocumentReport(report, window, index);
    // The box would refuse such runs: let it say so, as BuildPrintDocument does.
    if (!RTBFormat::BoxAccepts(RTBFormat::runLists()))
        applyToBox(window.txtInfo(), report);
    const qsizetype start = out.size();
    appendPrintDocument(out, report, serialNumberLine(window));
    info.documentAppended(out, start);
}

bool RebuildRepeatsAll(std::int16_t index)
{
    try {
        const DataSetRecord& d = dataSet(index);
        // Loggers of other types have their alarm verdict shown in message boxes.
        return isLoggerType(d.Logger_Type, {"A", "C", "L", "M", "2"}) && channelsLoadTheirLabels(d);
    } catch (...) {
        return false;
    }
}

} // namespace vxRecInfo::RecInfoCode
