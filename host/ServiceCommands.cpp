#include "ServiceCommands.h"

#include "RecordingsFile.h"

#include "automation/SafeArray.h"
#include "printing/Printer.h"
#include "report/BatchReports.h"
#include "report/RecInfoCode.h"
#include "richtext/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

using namespace vxRecInfo;

namespace recinfo {

const char* const ServiceUsage = R"(  show FILE [--index N]
              Open the Statistics and Info window on the file's datasets (ShowInfo N,
              default 0), then print the getters (NoteArray, NoteChanged, ...).
  import FILE Open the Import window (ShowImport with the file's ClassicFileFlag), then
              print ImportFileSelected, ImportUserSelectedTimeZone and TimeZone.
  note FILE   Open the Recording Note window on the pending note of the file's last
              dataset (ShowNote), then print NoteArray(0).
  print FILE [--printer NAME]
              Print the reports of all datasets as one job (PrintAll) on the printer
              NAME (default: the current printer, the first installed one); with the
              built-in PDF printer ("vxRecInfo PDF") it says which file it wrote.
  rtf FILE [-o OUT.rtf] [--no-page-numbers]
              The reports of all datasets as rich text (RTF_All): on standard output as
              the service returns them, each followed by a form feed; with -o joined
              into one RTF document, a page per report.
  printdoc FILE
              The print documents of all datasets back to back (RTF_NT); the last one is
              also written to the info file.
)";

namespace {

// Loads the file; on failure prints the reason and returns null.
std::unique_ptr<RecordingsFile> loadFile(const QString& path, QTextStream& err)
{
    try {
        auto file = std::make_unique<RecordingsFile>(path);
        file->load();
        return file;
    } catch (const LoadError& e) {
        err << "recinfo: " << e.message << "\n";
        return nullptr;
    }
}

bool call(IDispatch* record, const char* name, std::vector<Variant>& args, QTextStream& err)
{
    const InvokeResult r = invokeByName(record, QString::fromLatin1(name), InvokeKind::Method, args);
    if (!r.ok()) {
        err << "recinfo: " << name << " failed with error " << r.error.number << ": " << r.error.description << "\n";
        return false;
    }
    return true;
}

void printGetters(IDispatch* record, const QStringList& names, QTextStream& out)
{
    for (const QString& name : names) {
        const Variant value = lateGet(record, name);
        out << name << ": ";
        if (value.isArray()) {
            QStringList items;
            const SafeArray& a = value.array();
            if (a.isDimensioned())
                for (std::int32_t i = a.lowerBound(); i <= a.upperBound(); ++i)
                    items << a.at(i).toString();
            out << "[" << items.join(QStringLiteral(", ")) << "]\n";
        } else {
            out << value.toString() << "\n";
        }
    }
}

bool needsDisplay(QTextStream& err)
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
        err << "recinfo: the windows need a display (DISPLAY or WAYLAND_DISPLAY)\n";
        return false;
    }
    return true;
}

// Large texts go out a piece at a time, so the stream never holds a whole copy.
void writeInPieces(const QString& text, QTextStream& out)
{
    constexpr qsizetype Piece = 1 << 20;
    for (qsizetype at = 0; at < text.size(); at += Piece)
        out << QStringView(text).mid(at, Piece);
}

// One file for a word processor: RTF_All's reports joined into one document, a page each.
// The component hands each report over as its text and runs, so no report's RTF is written
// and read back; the file is what mergeRtfDocuments makes of RTF_All's text.
int joinedRtf(std::int16_t datasets, bool pageNumbers, const QString& output, QTextStream& err)
{
    JoinedRtfWriter joined(QStringLiteral("Arial"), 10);
    try {
        // What RTF_All does, with the joined document in place of its text.
        BatchReports batch;
        batch.load();
        double job = 0;
        std::int16_t page = 0;
        std::int16_t pages = datasets;
        QString printer;
        Batch::JoinAllRec(batch, job, page, pages, printer, joined, pageNumbers);
        joined.finish();
    } catch (...) {
        const ErrorInfo e = currentExceptionInfo();
        err << "recinfo: RTF_All failed with error " << e.number << ": " << e.description << "\n";
        return 1;
    }
    QFile target(output);
    if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        err << "recinfo: " << output << ": " << target.errorString() << "\n";
        return 1;
    }
    target.write(joined.head());
    target.write(joined.body());
    return 0;
}

bool prepareInfoFolder()
{
    return QDir().mkpath(QFileInfo(RecInfoCode::infoFilePath()).absolutePath());
}

} // namespace

int showCommand(const QString& service, const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.isEmpty()) {
        err << "recinfo: " << service << " needs a recordings file\n";
        return 2;
    }
    std::int16_t index = 0;
    if (args.size() == 3 && args[1] == QLatin1String("--index") && service == QLatin1String("show")) {
        bool ok = false;
        index = std::int16_t(args[2].toShort(&ok));
        if (!ok) {
            err << "recinfo: --index needs a number\n";
            return 2;
        }
    } else if (args.size() != 1) {
        err << "recinfo: unexpected arguments for " << service << "\n";
        return 2;
    }
    if (!needsDisplay(err))
        return 1;
    auto file = loadFile(args.front(), err);
    if (!file)
        return 1;
    prepareInfoFolder();
    IDispatch* record = file->record();
    if (service == QLatin1String("show")) {
        std::vector<Variant> a{Variant(index)};
        if (!call(record, "ShowInfo", a, err))
            return 1;
        printGetters(record, {QStringLiteral("NoteArray"), QStringLiteral("NoteChanged"), QStringLiteral("TimeZone")}, out);
    } else if (service == QLatin1String("import")) {
        Variant flags = file->classicFileFlag();
        if (!flags.isArray())
            flags = Variant(SafeArray::fromValues(VarType::Boolean, std::vector<Variant>(std::size_t(file->committed()), false)));
        std::vector<Variant> a{flags};
        if (!call(record, "ShowImport", a, err))
            return 1;
        printGetters(record, {QStringLiteral("ImportFileSelected"), QStringLiteral("ImportUserSelectedTimeZone"),
                              QStringLiteral("TimeZone"), QStringLiteral("NoteChanged")},
                     out);
    } else {
        std::vector<Variant> none;
        if (!call(record, "ShowNote", none, err))
            return 1;
        printGetters(record, {QStringLiteral("NoteArray")}, out);
    }
    return 0;
}

int printCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QString printer;
    if (args.size() == 3 && args[1] == QLatin1String("--printer")) {
        printer = args[2];
        if (!Printers().contains(printer)) {
            err << "recinfo: no printer \"" << printer << "\"; installed: " << Printers().join(QStringLiteral(", ")) << "\n";
            return 1;
        }
    } else if (args.size() != 1) {
        err << "recinfo: print FILE [--printer NAME]\n";
        return 2;
    }
    auto file = loadFile(args.front(), err);
    if (!file)
        return 1;
    if (printer.isEmpty())
        printer = currentPrinter().DeviceName();
    std::vector<Variant> a{0.0, std::int16_t(0), std::int16_t(file->committed()), printer};
    if (!call(file->record(), "PrintAll", a, err))
        return 1;
    out << "printed " << file->committed() << " report(s) on \"" << printer << "\"";
    if (currentPrinter().isPdfPrinter())
        out << " into " << currentPrinter().lastOutputFile();
    out << "\n";
    return 0;
}

int rtfCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    QString path;
    QString output;
    bool pageNumbers = true;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("-o") && i + 1 < args.size())
            output = args[++i];
        else if (args[i] == QLatin1String("--no-page-numbers"))
            pageNumbers = false;
        else if (path.isEmpty() && !args[i].startsWith(QLatin1Char('-')))
            path = args[i];
        else {
            err << "recinfo: unexpected argument \"" << args[i] << "\"\n";
            return 2;
        }
    }
    if (path.isEmpty()) {
        err << "recinfo: rtf needs a recordings file\n";
        return 2;
    }
    auto file = loadFile(path, err);
    if (!file)
        return 1;
    if (!output.isEmpty())
        return joinedRtf(std::int16_t(file->committed()), pageNumbers, output, err);
    std::vector<Variant> a{0.0, std::int16_t(0), std::int16_t(file->committed()), QString(), QString(), pageNumbers};
    if (!call(file->record(), "RTF_All", a, err))
        return 1;
    writeInPieces(a[4].toString(), out);
    return 0;
}

int ntCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 1) {
        err << "recinfo: printdoc needs exactly one recordings file\n";
        return 2;
    }
    auto file = loadFile(args.front(), err);
    if (!file)
        return 1;
    // The builder writes the info file but leaves making its folder to the host.
    prepareInfoFolder();
    std::vector<Variant> a{QString()};
    if (!call(file->record(), "RTF_NT", a, err))
        return 1;
    writeInPieces(a[0].toString(), out);
    return 0;
}

} // namespace recinfo
