// The whole report: header, sections in their order and under their conditions, then text and
// runs into the window's box with the report's tab stops.

#include "RecInfoCode.h"
#include "ReportText.h"

#include "richtext/RTBFormat.h"
#include "richtext/RichTextBox.h"
#include "support/Labels.h"

namespace vxRecInfo::RecInfoCode {

namespace {

const std::int32_t TabStops[] = {144, 3000, 4500, 6000};

void appendTitle(QString& report, const DataSetRecord& d)
{
    RTBFormat::AddRTBFormatInfo(report, d.DataSetDesc + CRLF, QString(), AccentColor, 10, FontStyle::Bold,
                                Alignment::Center);
    report += CRLF;
}

void appendBatchHeader(QString& report, const DataSetRecord& d, const QString& datasetLabel, std::int16_t number,
                       double job, std::int16_t page, std::int16_t pages, bool pageNumbering)
{
    RTBFormat::AddRTBFormatInfo(report, QStringLiteral("SN: ") + d.SerialNumber + CRLF + CRLF, QString(), 0, 10, 0,
                                Alignment::Right);
    appendTitle(report, d);
    if (pageNumbering) {
        RTBFormat::AddRTBFormatInfo(report, Label(LabelId::PrintJob) + QLatin1Char(' ') + numberText(job) + CRLF,
                                    QString(), AccentColor, 9, 0, Alignment::Right);
        RTBFormat::AddRTBFormatInfo(report,
                                    Label(LabelId::Page) + QLatin1Char(' ') + QString::number(page) + Label(LabelId::Of)
                                        + QString::number(pages) + CRLF,
                                    QString(), 0, 10, 0, Alignment::Right);
    }
    RTBFormat::AddRTBFormatInfo(report, datasetLabel + QLatin1Char(' ') + QString::number(number) + QLatin1Char(':') + CRLF,
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

void applyToBox(RichTextBox& box, const QString& report)
{
    RTBFormat::FinishRTBFormat(box, report);
    box.setSelStart(0);
    box.setSelLength(std::int32_t(box.Text().size()));
    box.setSelTabCount(std::int16_t(std::size(TabStops)));
    for (std::size_t i = 0; i < std::size(TabStops); ++i)
        box.setSelTabs(std::int16_t(i), TabStops[i]);
    box.setSelStart(0);
}

} // namespace

void BuildReport(ReportTarget& window, std::int16_t index, bool printTitle, const QString& datasetLabel,
                 std::int16_t datasetNumber, double PJob, std::int16_t StartPageNum, std::int16_t TotalPages,
                 bool EnablePageNumbering)
{
    window.txtInfo().setText(QString());
    RTBFormat::ClearRTBFormat();
    const DataSetRecord& d = dataSet(index);

    QString report;
    const bool batch = !printTitle && !datasetLabel.isEmpty();
    if (printTitle)
        appendTitle(report, d);
    else if (batch)
        appendBatchHeader(report, d, datasetLabel, datasetNumber, PJob, StartPageNum, TotalPages, EnablePageNumbering);
    // The note belongs to printed and exported reports, not to the one on screen.
    appendSections(report, window, index, printTitle || batch);
    applyToBox(window.txtInfo(), report);
}

QString BuildPrintDocument(ReportTarget& window, std::int16_t index)
{
    RTBFormat::ClearRTBFormat();
    const DataSetRecord& d = dataSet(index);
    QString report;
    appendTitle(report, d);
    appendSections(report, window, index, true);
    applyToBox(window.txtInfo(), report);

    const QString serialNumber = window.datasetListCount() == 1 ? dataSet(0).SerialNumber : QString();
    const QString document = printDocument(report, serialNumber);
    writeInfoFile(document);
    window.txtInfo().setSelStart(0);
    return document;
}

} // namespace vxRecInfo::RecInfoCode
