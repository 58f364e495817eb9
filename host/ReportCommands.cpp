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

const char* const ReportUsage = R"(  report FILE [--dataset N] [--details] [--form interactive|print|batch]
              [--import-view] [--number K] [--job X] [--page N] [--pages N]
              [--no-page-numbers]
              Build the report of dataset N (from 1, default 1) as the window that asks
              for it would, and print it in the notation of the print document: the
              text between {[{StartDoc}]} and {[{End}]}, then every format run, tab
              stops and margins. --form interactive (default) is the report on screen,
              print the report printed from the window (centred title, note), batch the
              report of PrintAll and RTF_All with the header "DataSet K:" (K default N),
              print job X (default 0), page N of N (default 1 of 1) unless
              --no-page-numbers. --import-view builds it as the Import window does (the
              file's ClassicFileFlag chooses stored times). Message boxes go to
              standard error.
)";

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

struct ReportOptions {
    QString file;
    int dataset = 1;
    bool details = false;
    QString form = QStringLiteral("interactive");
    bool importView = false;
    int number = -1;
    double job = 0;
    int page = 1;
    int pages = 1;
    bool pageNumbers = true;
};

bool parseOptions(const QStringList& args, ReportOptions* o, QString* error)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](auto* target) {
            if (i + 1 >= args.size()) {
                *error = a + QStringLiteral(" needs a value");
                return false;
            }
            bool ok = false;
            const QString v = args[++i];
            if constexpr (std::is_same_v<std::remove_pointer_t<decltype(target)>, double>)
                *target = v.toDouble(&ok);
            else
                *target = v.toInt(&ok);
            if (!ok)
                *error = a + QStringLiteral(" needs a number, not \"") + v + QLatin1Char('"');
            return ok;
        };
        if (a == QLatin1String("--dataset")) {
            if (!value(&o->dataset))
                return false;
        } else if (a == QLatin1String("--details")) {
            o->details = true;
        } else if (a == QLatin1String("--form")) {
            if (i + 1 >= args.size()) {
                *error = QStringLiteral("--form needs interactive, print or batch");
                return false;
            }
            o->form = args[++i];
            if (o->form != QLatin1String("interactive") && o->form != QLatin1String("print")
                && o->form != QLatin1String("batch")) {
                *error = QStringLiteral("--form needs interactive, print or batch, not \"%1\"").arg(o->form);
                return false;
            }
        } else if (a == QLatin1String("--import-view")) {
            o->importView = true;
        } else if (a == QLatin1String("--number")) {
            if (!value(&o->number))
                return false;
        } else if (a == QLatin1String("--job")) {
            if (!value(&o->job))
                return false;
        } else if (a == QLatin1String("--page")) {
            if (!value(&o->page))
                return false;
        } else if (a == QLatin1String("--pages")) {
            if (!value(&o->pages))
                return false;
        } else if (a == QLatin1String("--no-page-numbers")) {
            o->pageNumbers = false;
        } else if (a.startsWith(QLatin1String("--")) || !o->file.isEmpty()) {
            *error = QStringLiteral("unknown argument \"%1\"").arg(a);
            return false;
        } else {
            o->file = a;
        }
    }
    if (o->file.isEmpty()) {
        *error = QStringLiteral("a recordings file is needed");
        return false;
    }
    return true;
}

int datasetCount()
{
    const auto& sets = ModuleState::current().DataSets;
    return sets.isDimensioned() ? sets.upperBound() + 1 : 0;
}

} // namespace

int reportCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    ReportOptions o;
    QString error;
    if (!parseOptions(args, &o, &error)) {
        err << "recinfo: " << error << "\n";
        return 2;
    }
    try {
        RecordingsFile file(o.file);
        file.load();
        if (o.dataset < 1 || o.dataset > datasetCount()) {
            err << "recinfo: " << o.file << ": there is no dataset " << o.dataset << " (the file holds "
                << datasetCount() << ")\n";
            return 1;
        }
        if (o.importView && file.classicFileFlag().isArray())
            ModuleState::current().ClassicFileFlag = file.classicFileFlag().array();
        HostWindow window(o.importView ? QStringLiteral("frmRecImport") : QStringLiteral("frmStatistics"),
                          o.details ? 1 : 0, datasetCount());
        const auto index = std::int16_t(o.dataset - 1);
        if (o.form == QLatin1String("batch"))
            RecInfoCode::BuildReport(window, index, false, Label(LabelId::DataSet),
                                     std::int16_t(o.number < 0 ? o.dataset : o.number), o.job, std::int16_t(o.page),
                                     std::int16_t(o.pages), o.pageNumbers);
        else
            RecInfoCode::BuildReport(window, index, o.form == QLatin1String("print"), QString(), 0, 0, 0, 0, true);
        out << RecInfoCode::printDocument(window.txtInfo().Text(), QString());
        return 0;
    } catch (const LoadError& e) {
        err << "recinfo: " << e.message << "\n";
    } catch (const RuntimeError& e) {
        err << "recinfo: " << o.file << ": the report failed with error " << e.number() << ": " << e.description()
            << "\n";
    }
    return 1;
}

} // namespace recinfo
