// SPDX-License-Identifier: MIT
#pragma once
// A batch service of recinfo over several threads: each thread is an apartment of its own, with
// its own RecordInfo and a slice of the recordings file's datasets, and the output is the same,
// byte for byte, as one thread makes it. RTF and print documents are made whole in the slices
// and joined in order (into a file, the first slice's RTF goes out in parts as it is made); the
// joined RTF document and the print job are written on the calling thread from reports the
// slices make ahead, in order.

#include "RecordingsFile.h"

#include "printing/PdfRecord.h"
#include "report/RecInfoCode.h"

#include <QTextStream>

#include <functional>
#include <memory>
#include <optional>

namespace recinfo {

enum class BatchKind { Rtf, PrintDocuments, Prepared };

// Standard output when it is a regular file written at its own offset: there the first slice's
// text goes out in parts as it is made, while the other slices still work, and a batch that
// fails takes it back (the file is cut to where the batch began), so that a failed batch
// leaves nothing, as when the text is written at the end.
class FileOutput
{
public:
    // Null for anything else (a pipe, a terminal, a file opened to append, a text stream in
    // memory). Flushes out first.
    static std::unique_ptr<FileOutput> of(QTextStream& out);

    // Once a write failed, nothing more is written.
    void write(const QByteArray& bytes);
    bool failed() const { return m_failed; }
    void takeBack();

private:
    FileOutput(int fd, qint64 start) : m_fd(fd), m_start(start) {}
    int m_fd;
    qint64 m_start;
    bool m_failed = false;
};

struct ParallelBatch {
    BatchKind kind = BatchKind::Rtf;
    int jobs = 1;
    bool pageNumbers = true;
    bool progress = false;
    QString what; // the progress line's verb for the slices' reports ("" when the caller shows its own)
    QString service; // its name in error messages: "RTF_All"
    FileOutput* stream = nullptr; // Rtf: where the text goes as it is made, if anywhere
};

// What a run left for the caller to write.
struct ParallelResult {
    QList<QByteArray> texts; // Rtf and PrintDocuments: the text in UTF-8, in order, but what was streamed
    vxRecInfo::PdfJobInfo jobInfo; // Prepared: the print job's metadata, of every slice
};

// Hands the reports made ahead to the calling thread in entry order; null at the end. A slice's
// error is raised where its reports end.
using NextReport = std::function<std::optional<vxRecInfo::RecInfoCode::PreparedReport>()>;

// Loads the datasets of file (read, maybe quickly, its settings applied) over batch.jobs threads
// and runs the batch. For Prepared, consume(count, next) runs on the calling thread while the slices work,
// and its exit status is the run's; an error it raises is the service's.
// Returns the exit status, having said any failure on err; nullopt when the batch must run on
// one thread after all (fewer than two datasets, more than one apartment holds, reports that
// read what the one before left behind, a print document that failed, a file read quickly
// that has a fault), before anything was written; a file read quickly must then be read again
// the whole way.
std::optional<int> runParallel(const RecordingsFile& file, const ParallelBatch& batch, ParallelResult& result,
                               QTextStream& err,
                               const std::function<int(int count, const NextReport& next)>& consume = {});

} // namespace recinfo
