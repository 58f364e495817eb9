// SPDX-License-Identifier: MIT
#include "ReportCommands.h"

#include "RecordingsFile.h"

#include "component/ModuleState.h"
#include "report/RecInfoCode.h"
#include "richtext/RTBFormat.h"
#include "richtext/RichTextBox.h"
#include "support/Labels.h"

#include <QDir>
#include <QFileInfo>

using namespace vxRecInfo;

namespace recinfo {

namespace {

// A window as the report builder sees it, without a screen.
class HostWindow final : public ReportTarget
{
public:
    HostWindow(QString name, Variant details, int listCount)
        : m_name(std::move(name)), m_details(std::move(details)), m_listCount(listCount)
    {
    }
    RichTextBox& txtInfo() override { return m_box; }
    Variant detailsValue() const override { return m_details; }
    QString windowName() const override { return m_name; }
    int datasetListCount() const override { return m_listCount; }

private:
    RichTextBox m_box;
    QString m_name;
    Variant m_details;
    int m_listCount;
};

int datasetCount()
{
    const auto& sets = ModuleState::current().DataSets;
    return sets.isDimensioned() ? sets.upperBound() + 1 : 0;
}

int runReport(const QCommandLineParser& parsed, QTextStream& out, QTextStream& err)
{
    const QString path = inputFile(parsed.positionalArguments().front());
    const int dataset = intOption(parsed, QStringLiteral("dataset"), 1);
    const QString form = parsed.isSet(QStringLiteral("form")) ? parsed.value(QStringLiteral("form"))
                                                              : QStringLiteral("interactive");
    if (form != QLatin1String("interactive") && form != QLatin1String("print") && form != QLatin1String("batch"))
        throw UsageProblem{QStringLiteral("--form needs interactive, print or batch, not '%1'").arg(form)};
    const bool importView = parsed.isSet(QStringLiteral("import-view"));
    const int number = intOption(parsed, QStringLiteral("number"), dataset);
    const double job = doubleOption(parsed, QStringLiteral("job"), 0);
    const int page = intOption(parsed, QStringLiteral("page"), 1);
    const int pages = intOption(parsed, QStringLiteral("pages"), 1);
    try {
        RecordingsFile file(path);
        file.load();
        if (dataset < 1 || dataset > datasetCount()) {
            err << "recinfo: " << recordingsName(path) << ": there is no dataset " << dataset << " (the file holds "
                << datasetCount() << ")\n";
            return Failed;
        }
        if (importView && file.classicFileFlag().isArray())
            ModuleState::current().ClassicFileFlag = file.classicFileFlag().array();
        HostWindow window(importView ? QStringLiteral("frmRecImport") : QStringLiteral("frmStatistics"),
                          parsed.isSet(QStringLiteral("details")) ? 1 : 0, datasetCount());
        const auto index = std::int16_t(dataset - 1);
        if (form == QLatin1String("batch"))
            RecInfoCode::BuildReport(window, index, false, Label(LabelId::DataSet), std::int16_t(number), job,
                                     std::int16_t(page), std::int16_t(pages),
                                     !parsed.isSet(QStringLiteral("no-page-numbers")));
        else
            RecInfoCode::BuildReport(window, index, form == QLatin1String("print"), QString(), 0, 0, 0, 0, true);
        out << RecInfoCode::printDocument(window.txtInfo().Text(), QString());
        return Done;
    } catch (const LoadError& e) {
        err << "recinfo: " << e.message << "\n";
    } catch (const RuntimeError& e) {
        err << "recinfo: " << recordingsName(path) << ": the report failed with error " << e.number() << ": "
            << oneLine(e.description())
            << "\n";
    }
    return Failed;
}

} // namespace

Command reportCommand()
{
    auto option = [](const char* name, const char* description, const char* value = nullptr) {
        return QCommandLineOption(QString::fromLatin1(name), QString::fromUtf8(description),
                                  value ? QString::fromLatin1(value) : QString());
    };
    return {QStringLiteral("report"),
            {QStringLiteral("FILE")},
            QStringLiteral("Print one dataset's report as a print document."),
            QStringLiteral("Build the report of one dataset as the window that asks for it would and print it in the "
                           "notation of the print document: the text between {[{StartDoc}]} and {[{End}]}, then every "
                           "format run, the tab stops and the margins. Message boxes go to standard error."),
            {option("dataset", "The dataset, from 1 (default 1).", "N"),
             option("details", "The detailed report, as with Details ticked."),
             option("form",
                    "interactive (default): the report on screen; print: printed from the window (centred title, "
                    "note); batch: the report of PrintAll and RTF_All, with the header \"DataSet K:\".",
                    "FORM"),
             option("import-view", "Built as the Import window does: the file's ClassicFileFlag chooses stored times."),
             option("number", "Batch form: K in the header (default N).", "K"),
             option("job", "Batch form: print job X (default 0).", "X"),
             option("page", "Batch form: page N (default 1).", "N"),
             option("pages", "Batch form: of N pages (default 1).", "N"),
             option("no-page-numbers", "Batch form: without the print job and page numbers.")},
            runReport};
}

} // namespace recinfo
