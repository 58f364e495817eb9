// SPDX-License-Identifier: MIT
#pragma once
// A file that appears whole or not at all. It is written to an unnamed (or hidden) temporary
// file in the target's folder and put in place only when everything was written: a full disk,
// a failed write or a killed process leaves the previous file as it was, and a reader never
// sees half of the new one. A target that is a symbolic link, has other hard links or is not a
// regular file is refused, so nothing is ever written through to another file.

#include "RuntimeError.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <memory>

class QIODevice;

namespace vxRecInfo {

class DescriptorDevice;

class AtomicFile
{
public:
    // what names the file in error messages ("The info file", "The PDF job").
    explicit AtomicFile(QString target, QString what = {});
    ~AtomicFile(); // an uncommitted file is discarded; the target stays untouched
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    // Opens the temporary file. Error 76 when the folder is missing, 75 when the target is a
    // link or cannot be replaced, 61 when the disk is full.
    void open();
    void write(QByteArrayView bytes);
    // The temporary file as a device, for writers that want one (QPdfWriter); its errors are
    // checked by commit.
    QIODevice& device();
    // The errno of the first failed write through device(), 0 while none failed.
    int deviceFailure() const noexcept;

    // Everything written so far, read back (a writer that completes what another wrote).
    QByteArray readBack();
    // Puts the written file, flushed to the disk, in place of the target.
    void commit();
    // Puts the written file under the first name nameFor(n), n = 1 … last, that is free;
    // a name taken by any file or link is skipped, never replaced. Returns the name.
    QString commitAsNew(const std::function<QString(int)>& nameFor, int last);
    // Drops what was written; the target stays as it was.
    void discard() noexcept;

private:
    void flushDevice();
    void syncData();
    [[noreturn]] void fail(int error, const QString& path);

    QString m_target;
    QString m_what;
    int m_fd = -1;
    QString m_tempName; // empty for an unnamed temporary file
    std::unique_ptr<DescriptorDevice> m_device;
};

// The classic run-time error for a failed file operation with errno error: 61 for a full disk
// or quota, 76 for a missing folder, 57 for an I/O error, 75 otherwise.
RuntimeError fileError(int error, const QString& path, const QString& what = {});

// Writes all of bytes to the descriptor fd; returns 0 or the errno of the failure.
int writeAll(int fd, QByteArrayView bytes) noexcept;

} // namespace vxRecInfo
