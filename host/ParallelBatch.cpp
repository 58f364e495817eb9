// SPDX-License-Identifier: MIT
#include "ParallelBatch.h"

#include "CommandLine.h"
#include "Progress.h"

#include "automation/RuntimeError.h"
#include "component/ModuleState.h"
#include "report/BatchReports.h"

#include <QFileDevice>

#include <barrier>
#include <cerrno>
#include <condition_variable>
#include <deque>
#include <limits>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vxRecInfo;

namespace recinfo {

namespace {

// Reports of one slice on their way to the calling thread; a few ahead at most, so that memory
// stays that of a few reports however far the slice runs ahead.
class ReportQueue
{
public:
    // False once the reader gave up.
    bool push(RecInfoCode::PreparedReport&& report)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return m_reports.size() < Ahead || m_cancelled; });
        if (m_cancelled)
            return false;
        m_reports.push_back(std::move(report));
        m_changed.notify_all();
        return true;
    }

    std::optional<RecInfoCode::PreparedReport> pop()
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] { return !m_reports.empty() || m_closed; });
        if (m_reports.empty())
            return std::nullopt;
        RecInfoCode::PreparedReport report = std::move(m_reports.front());
        m_reports.pop_front();
        m_changed.notify_all();
        return report;
    }

    void close()
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        m_changed.notify_all();
    }

    void cancel()
    {
        std::lock_guard lock(m_mutex);
        m_cancelled = true;
        m_reports.clear();
        m_changed.notify_all();
    }

private:
    static constexpr std::size_t Ahead = 32;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<RecInfoCode::PreparedReport> m_reports;
    bool m_closed = false;
    bool m_cancelled = false;
};

struct Cancelled {
};

// One progress line for every slice: each slice's observer adds what its thread did.
class SharedProgress
{
public:
    SharedProgress(QTextStream& err, bool shown, int total) : m_err(err), m_shown(shown), m_total(total) {}

    // Made and ended on the calling thread, between the phases.
    void begin(const QString& what)
    {
        std::lock_guard lock(m_mutex);
        m_line.reset();
        m_done = 0;
        if (!what.isEmpty())
            m_line = std::make_unique<TerminalProgress>(m_err, what, m_total, m_shown);
    }
    void end() { begin(QString()); }

    void add(int done)
    {
        std::lock_guard lock(m_mutex);
        m_done += done;
        if (m_line)
            m_line->datasetDone(m_done, m_total);
    }

private:
    std::mutex m_mutex;
    QTextStream& m_err;
    bool m_shown;
    int m_total;
    int m_done = 0;
    std::unique_ptr<TerminalProgress> m_line;
};

class SliceObserver final : public IProgressObserver
{
public:
    explicit SliceObserver(SharedProgress& shared) : m_shared(shared) {}
    void datasetDone(int done, int) override
    {
        // Each phase counts from 1 again.
        m_shared.add(done > m_last ? done - m_last : done);
        m_last = done;
    }
    void pageDone(int) override {}

private:
    SharedProgress& m_shared;
    int m_last = 0;
};

struct Slice {
    DataSetRange range;
    std::optional<LoadError> loadError;
    bool independent = true;
    std::optional<ErrorInfo> error;
    QString text;
    QList<QByteArray> encoded; // the text as it goes out, encoded on the slice's thread
    PdfJobInfo jobInfo;
    ReportQueue queue;
};

// The store indexes of a slice's datasets, after its lead.
std::vector<std::int16_t> datasetIndexes(std::size_t count, bool lead)
{
    std::vector<std::int16_t> indexes;
    for (std::size_t i = 0; i < count; ++i)
        indexes.push_back(std::int16_t(i + (lead ? 1 : 0)));
    return indexes;
}

// Whether each report of a slice's datasets is made from its dataset alone, as it is where the
// builder repeats all an earlier report leaves behind.
bool reportsStandAlone(const std::vector<std::int16_t>& datasets)
{
    return ModuleState::current().ListIndexPointer == 0
        && std::all_of(datasets.cbegin(), datasets.cend(), [](std::int16_t i) { return RecInfoCode::RebuildRepeatsAll(i); });
}

// The slice's batch, once every slice has loaded. RTF is made in parts: each part's text is
// encoded and let go before the next, which the next reuses, where one text of the whole slice
// would take fresh pages all the way (a fifth of the system time); with a stream each part is
// written out as soon as it is made.
void runSlice(Slice& slice, BatchReports& reports, const ParallelBatch& batch, int total, FileOutput* stream)
{
    double job = 0;
    auto page = std::int16_t(slice.range.first);
    auto pages = std::int16_t(total);
    QString printer;
    switch (batch.kind) {
    case BatchKind::Rtf: {
        const int first = int(slice.range.first), end = first + int(slice.range.count);
        const int part = std::max(256, (end - first) / 16);
        for (int at = first; at < end; at += part) {
            reports.walkEntries(at, std::min(end, at + part));
            QString text;
            Batch::PrintAllRec(reports, job, page, pages, printer, true, text, batch.pageNumbers);
            slice.encoded.append(text.toUtf8());
            if (stream)
                stream->write(slice.encoded.constLast());
        }
        break;
    }
    case BatchKind::PrintDocuments:
        Batch::PrintAllRecOnly_NT(reports, slice.text);
        slice.encoded.append(std::exchange(slice.text, QString()).toUtf8());
        break;
    case BatchKind::Prepared:
        Batch::PrepareAllRec(reports, job, page, pages, batch.pageNumbers, [&](RecInfoCode::PreparedReport&& r) {
            if (!slice.queue.push(std::move(r)))
                throw Cancelled{};
        });
        break;
    }
}

} // namespace

std::optional<int> runParallel(const RecordingsFile& file, const ParallelBatch& batch, ParallelResult& result,
                               QTextStream& err, const std::function<int(int, const NextReport&)>& consume)
{
    const std::size_t total = file.size();
    // One apartment holds what a 16-bit index reaches; a larger file fails as it does on one thread.
    if (batch.jobs < 2 || total < 2 || total > std::size_t(std::numeric_limits<std::int16_t>::max())
        || !file.datasetsInFile())
        return std::nullopt;
    const std::size_t jobs = std::min(std::size_t(batch.jobs), total);
    std::vector<std::unique_ptr<Slice>> slices;
    FileOutput* const stream = batch.kind == BatchKind::Rtf ? batch.stream : nullptr;
    for (std::size_t j = 0; j < jobs; ++j) {
        auto slice = std::make_unique<Slice>();
        slice->range.first = total * j / jobs;
        slice->range.count = total * (j + 1) / jobs - slice->range.first;
        slices.push_back(std::move(slice));
    }

    SharedProgress progress(err, batch.progress, int(total));
    bool go = false;
    int phase = 0;
    std::barrier sync(std::ptrdiff_t(jobs + 1), [&]() noexcept {
        if (phase++ == 0)
            go = std::all_of(slices.cbegin(), slices.cend(),
                             [](const auto& s) { return !s->loadError && !s->error && s->independent; });
    });
    progress.begin(QStringLiteral("loading"));
    std::vector<std::thread> threads;
    for (auto& owned : slices) {
        Slice& slice = *owned;
        auto work = [&] {
            SliceObserver observer(progress);
            setProgressObserver(&observer);
            {
                std::optional<RecordingsFile> mine;
                std::optional<BatchReports> reports;
                try {
                    mine.emplace(file, slice.range);
                    mine->load(&observer);
                    const auto datasets = datasetIndexes(slice.range.count, mine->hasLead());
                    slice.independent = reportsStandAlone(datasets);
                    // What the service does before its first report, so that its errors come
                    // before any of the reports', and the print job's metadata.
                    if (slice.independent) {
                        reports.emplace(int(slice.range.first), int(total), mine->hasLead() ? 1 : 0);
                        reports->load();
                        if (batch.kind == BatchKind::Prepared)
                            slice.jobInfo = Batch::printJobInfo(datasets, slice.range.first == 0 ? int(total) : -1);
                    }
                } catch (const LoadError& e) {
                    slice.loadError = e;
                } catch (const NeedsWholeReading&) {
                    slice.independent = false;
                } catch (...) {
                    slice.error = currentExceptionInfo();
                }
                sync.arrive_and_wait(); // every slice loaded: go or not
                sync.arrive_and_wait(); // the progress line of the next phase is up
                if (go) {
                    try {
                        runSlice(slice, *reports, batch, int(total), &slice == slices.front().get() ? stream : nullptr);
                    } catch (const Cancelled&) {
                    } catch (...) {
                        slice.error = currentExceptionInfo();
                    }
                }
                slice.queue.close();
            }
            setProgressObserver(nullptr);
        };
        try {
            threads.emplace_back(work);
        } catch (const std::system_error&) {
            // No thread for this slice: the batch runs on one after all.
            slice.independent = false;
            sync.arrive_and_drop();
        }
    }
    sync.arrive_and_wait();
    progress.end();
    if (go)
        progress.begin(batch.what);
    sync.arrive_and_wait();

    auto joinAll = [&] {
        for (std::thread& t : threads)
            if (t.joinable())
                t.join();
    };
    auto failure = [&](const ErrorInfo& e) {
        if (stream)
            stream->takeBack();
        progress.end();
        err << "recinfo: " << batch.service << " failed with error " << e.number << ": " << oneLine(e.description)
            << "\n";
        return int(Failed);
    };
    if (!go) {
        joinAll();
        // In the order one thread meets them: the file's datasets all load before the batch. A
        // quick first reading did not check the datasets after an error: the whole one will.
        const bool loadFailed = std::any_of(slices.cbegin(), slices.cend(), [](const auto& s) { return s->loadError; });
        if (loadFailed && !file.checked())
            return std::nullopt;
        for (const auto& s : slices)
            if (s->loadError) {
                err << "recinfo: " << s->loadError->message << "\n";
                return int(Failed);
            }
        const bool independent = std::all_of(slices.cbegin(), slices.cend(), [](const auto& s) { return s->independent; });
        for (const auto& s : slices)
            if (independent && s->error && batch.kind != BatchKind::PrintDocuments)
                return failure(*s->error);
        return std::nullopt; // reports that depend on the ones before them
    }

    if (batch.kind == BatchKind::Prepared) {
        std::size_t current = 0;
        NextReport next = [&]() -> std::optional<RecInfoCode::PreparedReport> {
            while (current < slices.size()) {
                Slice& s = *slices[current];
                if (auto report = s.queue.pop())
                    return report;
                if (s.error)
                    throw RuntimeError(s.error->number, s.error->description, s.error->source);
                ++current;
            }
            return std::nullopt;
        };
        // Every slice's metadata is known once it has loaded, before its first report.
        for (std::size_t j = 0; j < slices.size(); ++j) {
            const PdfJobInfo& part = slices[j]->jobInfo;
            if (j == 0)
                result.jobInfo.title = part.title;
            for (const QString& serial : part.serialNumbers)
                if (!result.jobInfo.serialNumbers.contains(serial))
                    result.jobInfo.serialNumbers.append(serial);
            for (const QString& author : part.authors)
                if (!result.jobInfo.authors.contains(author))
                    result.jobInfo.authors.append(author);
        }
        std::optional<int> status;
        try {
            status = consume(int(total), next);
        } catch (...) {
            status = failure(currentExceptionInfo());
        }
        for (auto& s : slices)
            s->queue.cancel();
        joinAll();
        progress.end();
        return status ? *status : int(Done);
    }

    joinAll();
    progress.end();
    for (const auto& s : slices)
        if (s->error) {
            // A print document that failed leaves the info file as one thread leaves it only
            // when one thread makes them.
            if (batch.kind == BatchKind::PrintDocuments)
                return std::nullopt;
            return failure(*s->error);
        }
    // What went out already stays out, unless a write failed: then it all goes again, the
    // usual way, which says why.
    const bool streamed = stream && !stream->failed();
    if (stream && !streamed)
        stream->takeBack();
    for (std::size_t j = streamed ? 1 : 0; j < slices.size(); ++j)
        result.texts.append(std::move(slices[j]->encoded));
    return int(Done);
}

std::unique_ptr<FileOutput> FileOutput::of(QTextStream& out)
{
    auto* file = qobject_cast<QFileDevice*>(out.device());
    if (!file)
        return nullptr;
    out.flush();
    if (!file->flush())
        return nullptr;
    const int fd = file->handle();
    struct stat about {};
    if (fd < 0 || ::fstat(fd, &about) != 0 || !S_ISREG(about.st_mode) || (::fcntl(fd, F_GETFL) & O_APPEND))
        return nullptr;
    const off_t start = ::lseek(fd, 0, SEEK_CUR);
    if (start < 0)
        return nullptr;
    return std::unique_ptr<FileOutput>(new FileOutput(fd, start));
}

void FileOutput::write(const QByteArray& bytes)
{
    for (qsizetype at = 0; !m_failed && at < bytes.size();) {
        const ssize_t n = ::write(m_fd, bytes.constData() + at, std::size_t(bytes.size() - at));
        if (n > 0)
            at += n;
        else if (n < 0 && errno != EINTR)
            m_failed = true;
    }
}

void FileOutput::takeBack()
{
    // Nothing the batch wrote stays; the stream goes on from where it began.
    if (::ftruncate(m_fd, m_start) != 0 || ::lseek(m_fd, m_start, SEEK_SET) != m_start)
        m_failed = true;
}

} // namespace recinfo
