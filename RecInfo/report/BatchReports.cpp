#include "BatchReports.h"

#include "RecInfoCode.h"

#include "component/ModuleState.h"
#include "printing/Printer.h"
#include "richtext/PrintEngine.h"
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

void PrintAllRec(DatasetList& list, double& PJob, std::int16_t& StartPageNum, std::int16_t& TotalPages,
                 QString& PrinterName, bool RTFOnly, QString& RTF_Text, bool EnablePageNumbering)
{
    for (const QString& name : Printers()) {
        if (name == PrinterName) {
            setCurrentPrinter(name);
            break;
        }
    }
    list.tickDetails();
    const int count = list.datasetListCount();
    try {
        for (int i = 0; i < count; ++i) {
            StartPageNum = raised(StartPageNum);
            list.selectEntry(i);
            RecInfoCode::BuildReport(list, list.datasetOf(i), false, Label(LabelId::DataSet), std::int16_t(i + 1), PJob,
                                     StartPageNum, TotalPages, EnablePageNumbering);
            RichTextBox& box = list.txtInfo();
            if (RTFOnly) {
                RTF_Text += box.TextRTF() + QChar(12);
            } else {
                list.boundToPrinter(RTBFormat::WYSIWYG_RTF(box, 1440, 1440));
                const double top = 1440 - 2 * currentPrinter().TextHeight(QStringLiteral("Dummy8"));
                RTBFormat::PrintRTF(box, 1440, top, 1440, 1440, true, QString());
            }
        }
        if (!RTFOnly)
            currentPrinter().EndDoc();
    } catch (...) {
        // Half a job helps nobody: the pages so far go, and nothing is left open for later.
        if (!RTFOnly)
            abortCurrentJob();
        throw;
    }
}

void PrintAllRecOnly_NT(DatasetList& list, QString& RTF_Text)
{
    RTF_Text.clear();
    list.load();
    list.tickDetails();
    for (int i = 0; i < list.datasetListCount(); ++i) {
        list.selectEntry(i);
        RTF_Text += RecInfoCode::BuildPrintDocument(list, list.datasetOf(i));
    }
}

} // namespace Batch

void BatchReports::load()
{
    ModuleState::current().TimeZoneService.reset(); // a new instance, made at its first use
    m_box.setDefaultFont(QStringLiteral("Arial"), 10);
    m_count = int(Batch::lastDatasetIndex()) + 1;
    selectEntry(Batch::clampedListIndexPointer(m_count));
    // The window enables its Print button by it: a UserSettings without a Boolean element 6
    // fails this load as it fails the window's.
    Batch::printAllowed();
}

std::int16_t BatchReports::datasetOf(int entry) const
{
    return Variant(std::int32_t(entry)).toInteger();
}

void BatchReports::selectEntry(int entry)
{
    if (entry < 0 || entry >= m_count)
        throw RuntimeError(Err::InvalidPropertyValue);
    RecInfoCode::BuildReport(*this, datasetOf(entry), false, QString(), 0, 0, 0, 0, true);
}

} // namespace vxRecInfo
