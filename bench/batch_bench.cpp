// SPDX-License-Identifier: MIT
// The rich-text batch exports over many datasets, one run per process so that peak memory is
// the run's own: RTF_All (the reports as rich text), RTF_NT (print documents) and the joined
// RTF document of `recinfo rtf -o` (one document, a page per report).
// Usage: batch_bench rtf-all N | rtf-nt N | rtf-joined N
// Prints one line of key=value pairs: datasets, seconds, per_second (reports or documents),
// us_per_report, cpu_seconds (of this process: the machine may be shared), chars (of the
// result), result_mb (its size in memory: two bytes a character for a string, one for the
// joined document's bytes), store_mb (resident before the call), peak_mb (resident at most
// during the call), added_mb (peak_mb - store_mb) and added_ratio (added_mb / result_mb); MB are
// 10^6 bytes throughout. rtf-all and rtf-nt then measure, in the same run, the floor: the result
// cut into the pieces a writer appends (see piecesOf) and appended piece by piece to an empty
// QString: pieces_per_report, floor_us_per_report (CPU) and over_floor (the call's CPU time over
// the floor's).

#include "automation/ClassRegistry.h"
#include "automation/Dispatch.h"
#include "automation/SafeArray.h"
#include "component/IRecordInfo.h"
#include "component/Identity.h"
#include "component/SuiteSettings.h"
#include "report/BatchReports.h"
#include "report/RecInfoCode.h"
#include "richtext/RtfWriter.h"

#include "BenchDatasets.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <vector>

#include <malloc.h>

using namespace vxRecInfo;

namespace {

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + t.tv_nsec / 1e9;
}

// A line of /proc/self/status (kB there are 1024 bytes) in MB.
double statusMegabytes(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qsizetype(std::strlen(key))).trimmed().split(' ').front().toDouble() * 1024 / 1e6;
    return 0;
}

// Resident memory now; the peak starts over from it.
double settle()
{
    malloc_trim(0);
    QFile reset(QStringLiteral("/proc/self/clear_refs"));
    if (reset.open(QIODevice::WriteOnly))
        reset.write("5");
    return statusMegabytes("VmRSS:");
}

// The lengths of the pieces text breaks into, as a writer appends them one by one. Rich text:
// a control word with its number and delimiting blank, a control symbol (\'hh with its digits),
// a brace, a line break (CR LF), a form feed, and the text between them. Plain text: a tab, a
// line break, a form feed and the text between them.
std::vector<std::uint32_t> piecesOf(QStringView text, bool rtf)
{
    std::vector<std::uint32_t> pieces;
    const qsizetype n = text.size();
    const auto isLetter = [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
    const auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    const auto alone = [&](qsizetype i) {
        const QChar c = text[i];
        return c == u'\t' || c == u'\x0c' || c == u'\r' || (rtf && (c == u'\\' || c == u'{' || c == u'}'));
    };
    for (qsizetype i = 0; i < n;) {
        qsizetype end = i + 1;
        const QChar c = text[i];
        if (c == u'\r' && end < n && text[end] == u'\n') {
            ++end;
        } else if (rtf && c == u'\\' && end < n && isLetter(text[end])) {
            while (end < n && isLetter(text[end]))
                ++end;
            if (end < n && text[end] == u'-')
                ++end;
            while (end < n && isDigit(text[end]))
                ++end;
            if (end < n && text[end] == u' ')
                ++end;
        } else if (rtf && c == u'\\' && end < n) {
            end = std::min(n, end + (text[end] == u'\'' ? 3 : 1));
        } else if (!alone(i)) {
            while (end < n && !alone(end))
                ++end;
        }
        pieces.push_back(std::uint32_t(end - i));
        i = end;
    }
    return pieces;
}

// CPU seconds of appending the pieces of text one by one to an empty string.
double floorSeconds(const QString& text, const std::vector<std::uint32_t>& pieces)
{
    QString out;
    const double start = cpuSeconds();
    qsizetype at = 0;
    for (const std::uint32_t length : pieces) {
        out.append(QStringView(text).mid(at, length));
        at += length;
    }
    const double seconds = cpuSeconds() - start;
    if (out != text)
        std::abort();
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
    QApplication app(argc, argv);
    setSuiteSettingsFile(home.filePath(QStringLiteral("LoggerSuite.ini")));
    const QStringList args = app.arguments();
    const QStringList modes{QStringLiteral("rtf-all"), QStringLiteral("rtf-nt"), QStringLiteral("rtf-joined")};
    if (args.size() != 3 || !modes.contains(args[1]) || args[2].toInt() < 1) {
        QTextStream(stderr) << "usage: batch_bench rtf-all N | rtf-nt N | rtf-joined N\n";
        return 2;
    }
    const QString mode = args[1];
    const int count = args[2].toInt();
    QDir().mkpath(QFileInfo(RecInfoCode::infoFilePath()).absolutePath());
    auto record = bench::commitDatasets(count);

    double job = 0;
    std::int16_t page = 0;
    std::int16_t pages = std::int16_t(count);
    QString printer;
    QString text;
    qsizetype chars = 0;
    double resultMegabytes = 0;
    const double store = settle();
    const double cpuStart = cpuSeconds();
    QElapsedTimer timer;
    timer.start();
    if (mode == QLatin1String("rtf-all")) {
        if (failed(record->RTF_All(&job, &page, &pages, &printer, &text, nullptr)))
            return 1;
    } else if (mode == QLatin1String("rtf-nt")) {
        if (failed(record->RTF_NT(&text)))
            return 1;
    } else {
        JoinedRtfWriter joined(QStringLiteral("Arial"), 10);
        try {
            BatchReports batch;
            batch.load();
            Batch::JoinAllRec(batch, job, page, pages, printer, joined, true);
            joined.finish();
        } catch (const RuntimeError& e) {
            QTextStream(stderr) << e.description() << "\n";
            return 1;
        }
        chars = joined.head().size() + joined.body().size();
        resultMegabytes = chars / 1e6;
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double cpu = cpuSeconds() - cpuStart;
    const double peak = statusMegabytes("VmHWM:");
    if (mode != QLatin1String("rtf-joined")) {
        chars = text.size();
        resultMegabytes = 2.0 * chars / 1e6;
    }
    QTextStream(stdout) << "datasets=" << count << " seconds=" << seconds << " per_second=" << count / seconds
                        << " us_per_report=" << seconds * 1e6 / count << " cpu_seconds=" << cpu << " chars=" << chars
                        << " result_mb=" << resultMegabytes << " store_mb=" << store << " peak_mb=" << peak
                        << " added_mb=" << peak - store << " added_ratio=" << (peak - store) / resultMegabytes;
    if (mode != QLatin1String("rtf-joined")) {
        const std::vector<std::uint32_t> pieces = piecesOf(text, mode == QLatin1String("rtf-all"));
        const double floor = floorSeconds(text, pieces);
        QTextStream(stdout) << " pieces_per_report=" << double(pieces.size()) / count
                            << " floor_us_per_report=" << floor * 1e6 / count << " over_floor=" << cpu / floor;
    }
    QTextStream(stdout) << "\n";
    return 0;
}
