// SPDX-License-Identifier: MIT
#include "ServiceCommands.h"

#include "ParallelBatch.h"
#include "Progress.h"
#include "RecordingsFile.h"

#include "automation/AtomicFile.h"
#include "automation/SafeArray.h"
#include "printing/PdfRecord.h"
#include "printing/Printer.h"
#include "report/BatchReports.h"
#include "report/RecInfoCode.h"
#include "richtext/RtfWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QThread>

#include <cstdio>
#include <limits>
#include <optional>

using namespace vxRecInfo;

namespace recinfo {

namespace {

constexpr int MaxJobs = 256;

// Reads the file named by the first argument and applies its settings; on failure prints the
// reason and returns null. The first reading is a quick one: each dataset is checked as it is
// committed (on one thread or in slices), and any problem has the file read the whole way.
std::unique_ptr<RecordingsFile> openFile(const QCommandLineParser& parsed, QTextStream& err,
                                         Reading reading = Reading::Quick)
{
    try {
        auto file = std::make_unique<RecordingsFile>(inputFile(parsed.positionalArguments().front()), reading);
        file->applySettings();
        return file;
    } catch (const LoadError& e) {
        if (reading == Reading::Quick) // the whole reading says what is wrong first
            return openFile(parsed, err, Reading::Whole);
        err << "recinfo: " << e.message << "\n";
        return nullptr;
    }
}

// Commits the datasets of an open file on this thread; on failure prints the reason.
bool loadOpened(RecordingsFile& file, QTextStream& err, bool progress)
{
    try {
        TerminalProgress shown(err, QStringLiteral("loading"), 0, progress);
        file.load(&shown);
        return true;
    } catch (const LoadError& e) {
        err << "recinfo: " << e.message << "\n";
        return false;
    }
}

// Loads the file named by the first argument; on failure prints the reason and returns null.
std::unique_ptr<RecordingsFile> loadFile(const QCommandLineParser& parsed, QTextStream& err, bool progress = false)
{
    auto file = openFile(parsed, err);
    return file && loadOpened(*file, err, progress) ? std::move(file) : nullptr;
}

int jobsWanted(const QCommandLineParser& parsed)
{
    const int jobs = intOption(parsed, QStringLiteral("jobs"), QThread::idealThreadCount());
    if (jobs < 1 || jobs > MaxJobs)
        throw UsageProblem{QStringLiteral("--jobs needs a number from 1 to %1").arg(MaxJobs)};
    return jobs;
}

// How a batch service's progress shows on the terminal, if it does.
struct Shown {
    QString what;
    int total = 0;
    bool shown = false;
};

bool call(IDispatch* record, const char* name, std::vector<Variant>& args, QTextStream& err, const Shown& progress = {})
{
    InvokeResult r;
    {
        // Gone from the terminal before any message.
        TerminalProgress shown(err, progress.what, progress.total, progress.shown);
        r = invokeByName(record, QString::fromLatin1(name), InvokeKind::Method, args);
    }
    if (!r.ok()) {
        err << "recinfo: " << name << " failed with error " << r.error.number << ": " << oneLine(r.error.description) << "\n";
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

// Text the threads encoded already goes to standard output as it is.
void writeEncoded(const QList<QByteArray>& pieces, QTextStream& out)
{
    QIODevice* device = out.device();
    if (device)
        out.flush();
    for (const QByteArray& piece : pieces) {
        if (!device)
            out << QString::fromUtf8(piece);
        else if (device->write(piece) != piece.size())
            out.setStatus(QTextStream::WriteFailed);
    }
    // Written through the device's buffer: a full disk shows when it is flushed.
    if (auto* file = qobject_cast<QFileDevice*>(device); file && !file->flush())
        out.setStatus(QTextStream::WriteFailed);
}

// One file for a word processor: RTF_All's reports joined into one document, a page each.
// The component hands each report over as its text and runs, so no report's RTF is written
// and read back; the file is what mergeRtfDocuments makes of RTF_All's text.
// The document replaces OUT whole, once it is complete: until then OUT keeps what it held, and
// a target that is a link is refused before any report is made. "-" is standard output.
int joinedRtf(std::int16_t datasets, const QString& output, bool progress, QTextStream& out, QTextStream& err,
              const std::function<void(JoinedRtfWriter&)>& fill)
{
    std::optional<AtomicFile> target;
    if (output != QLatin1String("-")) {
        try {
            target.emplace(output, QStringLiteral("the RTF document"));
            target->open();
        } catch (const RuntimeError& e) {
            err << "recinfo: error " << e.number() << ": " << e.description() << "\n";
            return Failed;
        }
    }
    JoinedRtfWriter joined(QStringLiteral("Arial"), 10);
    try {
        TerminalProgress shown(err, QStringLiteral("exporting"), datasets, progress);
        fill(joined);
        joined.finish();
    } catch (...) {
        const ErrorInfo e = currentExceptionInfo();
        err << "recinfo: RTF_All failed with error " << e.number << ": " << oneLine(e.description) << "\n";
        return 1;
    }
    if (output == QLatin1String("-")) {
        // main checks that standard output took it all.
        out.flush();
        std::fwrite(joined.head().constData(), 1, std::size_t(joined.head().size()), stdout);
        std::fwrite(joined.body().constData(), 1, std::size_t(joined.body().size()), stdout);
        return Done;
    }
    try {
        target->write(joined.head());
        target->write(joined.body());
        target->commit();
    } catch (const RuntimeError& e) {
        err << "recinfo: error " << e.number() << ": " << e.description() << "\n";
        return Failed;
    }
    return Done;
}

bool prepareInfoFolder()
{
    return QDir().mkpath(QFileInfo(RecInfoCode::infoFilePath()).absolutePath());
}

int runShow(const QString& service, const QCommandLineParser& parsed, QTextStream& out, QTextStream& err)
{
    // Only show takes --index; asking the parser of another command for it makes Qt complain.
    const int index = service == QLatin1String("show") ? intOption(parsed, QStringLiteral("index"), 0) : 0;
    if (index < std::numeric_limits<std::int16_t>::min() || index > std::numeric_limits<std::int16_t>::max())
        throw UsageProblem{QStringLiteral("--index needs a number from -32768 to 32767")};
    if (!needsDisplay(err))
        return Failed;
    auto file = loadFile(parsed, err);
    if (!file)
        return Failed;
    prepareInfoFolder();
    IDispatch* record = file->record();
    if (service == QLatin1String("show")) {
        std::vector<Variant> a{Variant(std::int16_t(index))};
        if (!call(record, "ShowInfo", a, err))
            return Failed;
        printGetters(record, {QStringLiteral("NoteArray"), QStringLiteral("NoteChanged"), QStringLiteral("TimeZone")}, out);
    } else if (service == QLatin1String("import")) {
        Variant flags = file->classicFileFlag();
        if (!flags.isArray())
            flags = Variant(SafeArray::fromValues(VarType::Boolean, std::vector<Variant>(std::size_t(file->committed()), false)));
        std::vector<Variant> a{flags};
        if (!call(record, "ShowImport", a, err))
            return Failed;
        printGetters(record, {QStringLiteral("ImportFileSelected"), QStringLiteral("ImportUserSelectedTimeZone"),
                              QStringLiteral("TimeZone"), QStringLiteral("NoteChanged")},
                     out);
    } else {
        std::vector<Variant> none;
        if (!call(record, "ShowNote", none, err))
            return Failed;
        printGetters(record, {QStringLiteral("NoteArray")}, out);
    }
    return Done;
}

int runPrint(const QCommandLineParser& parsed, QTextStream& out, QTextStream& err)
{
    QString printer = parsed.value(QStringLiteral("printer"));
    if (parsed.isSet(QStringLiteral("printer")) && !Printers().contains(printer)) {
        err << "recinfo: no printer \"" << printer << "\"; installed: " << Printers().join(QStringLiteral(", ")) << "\n";
        return Failed;
    }
    const bool progress = progressWanted(parsed);
    const int jobs = jobsWanted(parsed);
    auto file = openFile(parsed, err);
    if (!file)
        return Failed;
    if (printer.isEmpty())
        printer = currentPrinter().DeviceName();
    // The PDF printer's record options, for this apartment; what is not given comes from the
    // host settings.
    PdfRecordOptions& options = pdfRecordOptions();
    if (parsed.isSet(QStringLiteral("pdfa")))
        options.archival = true;
    if (parsed.isSet(QStringLiteral("sign")))
        options.signingKey = parsed.value(QStringLiteral("sign"));
    if (parsed.isSet(QStringLiteral("sign-passphrase-file")))
        options.passphraseFile = parsed.value(QStringLiteral("sign-passphrase-file"));
    // The reports are made over the threads; the job is printed here, in their order.
    ParallelResult result;
    const auto parallel = runParallel(
        *file, {BatchKind::Prepared, jobs, true, progress, QString(), QStringLiteral("PrintAll")}, result, err,
        [&](int count, const NextReport& next) {
            TerminalProgress shown(err, QStringLiteral("printing"), count, progress);
            Batch::PrintPreparedReports(count, result.jobInfo, printer, [&] {
                auto report = next();
                if (!report)
                    throw RuntimeError(Err::InternalError, QStringLiteral("Internal error: a report went missing"));
                return std::move(*report);
            });
            return int(Done);
        });
    if (parallel && *parallel != Done)
        return *parallel;
    if (!parallel) {
        if (!loadOpened(*file, err, progress))
            return Failed;
        std::vector<Variant> a{0.0, std::int16_t(0), std::int16_t(file->committed()), printer};
        if (!call(file->record(), "PrintAll", a, err, {QStringLiteral("printing"), file->committed(), progress}))
            return Failed;
    }
    const std::size_t printed = parallel ? file->size() : std::size_t(file->committed());
    out << "printed " << printed << " report(s) on \"" << printer << "\"";
    if (currentPrinter().isPdfPrinter())
        out << " into " << currentPrinter().lastOutputFile();
    out << "\n";
    return Done;
}

QString verificationLine(const PdfVerification& v)
{
    if (!v.readable)
        return QStringLiteral("%1: unreadable: %2").arg(v.file, v.problem);
    if (!v.isSigned)
        return QStringLiteral("%1: unsigned: %2").arg(v.file, v.problem);
    const QString when = v.signingTime.isValid() ? v.signingTime.toString(Qt::ISODate) : QStringLiteral("an unknown time");
    const QString coverage = v.coversWholeFile ? QStringLiteral("covers the whole file")
                                               : QStringLiteral("does not cover the whole file");
    const QString digest = v.digestMatches ? QStringLiteral("the digest matches") : QStringLiteral("the digest does not match");
    return QStringLiteral("%1: %2: signed by %3 at %4; the signature %5; %6")
        .arg(v.file, v.intact() ? QStringLiteral("intact") : QStringLiteral("altered"),
             v.signer.isEmpty() ? QStringLiteral("an unnamed signer") : v.signer, when, coverage, digest);
}

int runVerify(const QCommandLineParser& parsed, QTextStream& out, QTextStream&)
{
    bool allIntact = true;
    for (const QString& name : parsed.positionalArguments()) {
        const PdfVerification v = verifyPdf(name);
        allIntact = allIntact && v.intact();
        out << verificationLine(v) << "\n";
    }
    return allIntact ? Done : Failed;
}

int runRtf(const QCommandLineParser& parsed, QTextStream& out, QTextStream& err)
{
    const bool pageNumbers = !parsed.isSet(QStringLiteral("no-page-numbers"));
    const bool progress = progressWanted(parsed);
    const int jobs = jobsWanted(parsed);
    auto file = openFile(parsed, err);
    if (!file)
        return Failed;
    const bool joined = parsed.isSet(QStringLiteral("output"));
    const QString output = parsed.value(QStringLiteral("output"));
    ParallelResult result;
    const std::unique_ptr<FileOutput> stream = joined || jobs < 2 ? nullptr : FileOutput::of(out);
    const auto parallel = runParallel(
        *file,
        {joined ? BatchKind::Prepared : BatchKind::Rtf, jobs, pageNumbers, progress,
         joined ? QString() : QStringLiteral("exporting"), QStringLiteral("RTF_All"), stream.get()},
        result, err, [&](int count, const NextReport& next) {
            return joinedRtf(std::int16_t(count), output, progress, out, err, [&](JoinedRtfWriter& document) {
                RichTextBox box;
                box.setDefaultFont(QStringLiteral("Arial"), 10);
                IProgressObserver* const shown = progressObserver();
                int done = 0;
                while (auto report = next()) {
                    if (!RecInfoCode::AppendJoinedPreparedReport(box, *report, document))
                        throw RuntimeError(Err::InternalError,
                                           QStringLiteral("Internal error: a report the joined document cannot take"));
                    if (shown)
                        shown->datasetDone(++done, count);
                }
            });
        });
    if (parallel) {
        writeEncoded(result.texts, out);
        return *parallel;
    }
    if (!loadOpened(*file, err, progress))
        return Failed;
    if (joined)
        return joinedRtf(std::int16_t(file->committed()), output, progress, out, err, [&](JoinedRtfWriter& document) {
            // What RTF_All does, with the joined document in place of its text.
            BatchReports batch;
            batch.load();
            double job = 0;
            std::int16_t page = 0;
            auto pages = std::int16_t(file->committed());
            QString printer;
            Batch::JoinAllRec(batch, job, page, pages, printer, document, pageNumbers);
        });
    std::vector<Variant> a{0.0, std::int16_t(0), std::int16_t(file->committed()), QString(), QString(), pageNumbers};
    if (!call(file->record(), "RTF_All", a, err, {QStringLiteral("exporting"), file->committed(), progress}))
        return Failed;
    writeInPieces(a[4].toString(), out);
    return Done;
}

int runPrintDoc(const QCommandLineParser& parsed, QTextStream& out, QTextStream& err)
{
    const bool progress = progressWanted(parsed);
    const int jobs = jobsWanted(parsed);
    auto file = openFile(parsed, err);
    if (!file)
        return Failed;
    // The builder writes the info file but leaves making its folder to the host.
    prepareInfoFolder();
    ParallelResult result;
    if (const auto parallel = runParallel(
            *file, {BatchKind::PrintDocuments, jobs, true, progress, QStringLiteral("writing"), QStringLiteral("RTF_NT")},
            result, err)) {
        writeEncoded(result.texts, out);
        return *parallel;
    }
    if (!loadOpened(*file, err, progress))
        return Failed;
    std::vector<Variant> a{QString()};
    if (!call(file->record(), "RTF_NT", a, err, {QStringLiteral("writing"), file->committed(), progress}))
        return Failed;
    writeInPieces(a[0].toString(), out);
    return Done;
}

} // namespace

QList<Command> serviceCommands()
{
    const QStringList file{QStringLiteral("FILE")};
    auto window = [](const char* service) {
        return [service](const QCommandLineParser& parsed, QTextStream& out, QTextStream& err) {
            return runShow(QString::fromLatin1(service), parsed, out, err);
        };
    };
    const QCommandLineOption noPageNumbers(QStringLiteral("no-page-numbers"),
                                           QStringLiteral("Without the print job and page numbers."));
    const QCommandLineOption jobs(
        QStringLiteral("jobs"),
        QStringLiteral("Make the reports on N threads (default: one per core); the output is the same."),
        QStringLiteral("N"));
    return {
        {QStringLiteral("show"), file, QStringLiteral("Open the Statistics and Info window (ShowInfo)."),
         QStringLiteral("Open the Statistics and Info window on the file's datasets (ShowInfo), then print the "
                        "getters NoteArray, NoteChanged and TimeZone."),
         {QCommandLineOption(QStringLiteral("index"),
                             QStringLiteral("ShowInfo's argument: the list entry selected first (default 0)."),
                             QStringLiteral("N"))},
         window("show")},
        {QStringLiteral("import"), file, QStringLiteral("Open the Import window (ShowImport)."),
         QStringLiteral("Open the Import window (ShowImport with the file's ClassicFileFlag), then print "
                        "ImportFileSelected, ImportUserSelectedTimeZone, TimeZone and NoteChanged."),
         {},
         window("import")},
        {QStringLiteral("note"), file, QStringLiteral("Open the Recording Note window (ShowNote)."),
         QStringLiteral("Open the Recording Note window on the pending note of the file's last dataset (ShowNote), "
                        "then print NoteArray(0)."),
         {},
         window("note")},
        {QStringLiteral("print"), file, QStringLiteral("Print all reports as one job (PrintAll)."),
         QStringLiteral("Print the reports of all datasets as one job (PrintAll); with the built-in PDF printer "
                        "(\"vxRecInfo PDF\") say which file it wrote."),
         {QCommandLineOption(QStringLiteral("printer"),
                             QStringLiteral("The printer (default: the current printer, the first installed one)."),
                             QStringLiteral("NAME")),
          QCommandLineOption(QStringLiteral("pdfa"),
                             QStringLiteral("The PDF printer writes PDF/A-1b, for archiving.")),
          QCommandLineOption(QStringLiteral("sign"),
                             QStringLiteral("The PDF printer signs the job's file with this PKCS#12 key; the "
                                            "passphrase comes from --sign-passphrase-file or "
                                            "$VXRECINFO_SIGN_PASSPHRASE, never from the command line."),
                             QStringLiteral("KEY.p12")),
          QCommandLineOption(QStringLiteral("sign-passphrase-file"),
                             QStringLiteral("The signing key's passphrase is the first line of PATH."),
                             QStringLiteral("PATH")),
          jobs, quietOption()},
         runPrint},
        {QStringLiteral("verify"), {QStringLiteral("FILE.pdf...")},
         QStringLiteral("Check signed PDF files: signer, time, coverage, digest."),
         QStringLiteral("For each PDF file, one line: who signed it and when, whether the signature covers the "
                        "whole file and whether the digest matches. Exit status 0 when every file is intact, 1 "
                        "when any is altered, unsigned or unreadable. The certificate is not checked against a "
                        "trust store."),
         {},
         runVerify},
        {QStringLiteral("rtf"), file, QStringLiteral("All reports as rich text (RTF_All)."),
         QStringLiteral("The reports of all datasets as rich text (RTF_All), on standard output as the service "
                        "returns them, each followed by a form feed."),
         {QCommandLineOption({QStringLiteral("o"), QStringLiteral("output")},
                             QStringLiteral("Join the reports into one RTF document, a page each, written to OUT "
                                            "(- for standard output) once it is complete."),
                             QStringLiteral("OUT")),
          noPageNumbers, jobs, quietOption()},
         runRtf},
        {QStringLiteral("printdoc"), file, QStringLiteral("All print documents (RTF_NT)."),
         QStringLiteral("The print documents of all datasets back to back (RTF_NT); the last one is also written "
                        "to the info file."),
         {jobs, quietOption()},
         runPrintDoc},
    };
}

} // namespace recinfo
