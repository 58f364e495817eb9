// SPDX-License-Identifier: MIT
#include "AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vxRecInfo {

namespace {

QByteArray encoded(const QString& path)
{
    return QFile::encodeName(path);
}

QString systemText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Why a target may not be replaced: a link of either kind would be written through (or, by a
// rename, cut loose from the file it shares), a device or folder is not ours to replace.
QString refusal(const QString& path, const QString& what)
{
    struct stat st {};
    if (::lstat(encoded(path).constData(), &st) != 0)
        return {};
    if (S_ISLNK(st.st_mode))
        return QStringLiteral(" is a symbolic link; %1 is not written through links").arg(what);
    if (!S_ISREG(st.st_mode))
        return QStringLiteral(" is not a regular file; %1 is not written there").arg(what);
    if (st.st_nlink > 1)
        return QStringLiteral(" has other hard links; %1 is not written through links").arg(what);
    return {};
}

// Refuses a target that is not ours to replace, with error 75 saying why.
void refuseUnsafe(const QString& target, const QString& what)
{
    if (const QString why = refusal(target, what); !why.isEmpty())
        throw RuntimeError(Err::PathFileAccessError, standardErrorDescription(Err::PathFileAccessError)
                                                         + QStringLiteral(": ") + QDir::toNativeSeparators(target) + why);
}

QString hiddenTempName(const QString& target)
{
    const QFileInfo info(target);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName() + QLatin1Char('.')
        + QString::number(QRandomGenerator::global()->generate64() & 0xFFFFFFFFFFFFull, 36);
}

// Gives the written file the name name; EEXIST when the name is taken.
int linkTo(int fd, const QString& tempName, const QString& name)
{
    int result;
    if (tempName.isEmpty()) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd);
        result = ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, encoded(name).constData(), AT_SYMLINK_FOLLOW);
        if (result != 0 && errno == ENOENT && ::access("/proc/self/fd", F_OK) != 0)
            result = ::linkat(fd, "", AT_FDCWD, encoded(name).constData(), AT_EMPTY_PATH);
    } else {
        result = ::link(encoded(tempName).constData(), encoded(name).constData());
    }
    return result == 0 ? 0 : errno;
}

void syncFolder(const QString& folder)
{
    const int fd = ::open(encoded(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    // Folders of some file systems cannot be synced (EINVAL); the rename is then as durable
    // as they make it.
    const int result = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (result != 0 && error != EINVAL && error != EROFS)
        throw fileError(error, folder);
}

} // namespace

// A writer on the temporary file that keeps the errno of the first failed write, so that a
// full disk under QPdfWriter (which ignores write results) is still error 61 at the commit.
class DescriptorDevice : public QIODevice
{
public:
    explicit DescriptorDevice(int fd) : m_fd(fd) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    int failure() const { return m_failure; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        if (m_failure != 0)
            return -1;
        m_failure = writeAll(m_fd, QByteArrayView(data, size));
        return m_failure == 0 ? size : -1;
    }

private:
    int m_fd;
    int m_failure = 0;
};

int writeAll(int fd, QByteArrayView bytes) noexcept
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, std::size_t(bytes.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return ENOSPC;
        written += n;
    }
    return 0;
}

RuntimeError fileError(int error, const QString& path, const QString& what)
{
    int number = Err::PathFileAccessError;
    if (error == ENOSPC || error == EDQUOT || error == EFBIG)
        number = Err::DiskFull;
    else if (error == ENOENT || error == ENOTDIR)
        number = Err::PathNotFound;
    else if (error == EIO)
        number = Err::DeviceIOError;
    const QString subject = what.isEmpty() ? QDir::toNativeSeparators(path)
                                           : what + QLatin1Char(' ') + QDir::toNativeSeparators(path);
    return RuntimeError(number, QStringLiteral("%1: %2 (%3)").arg(standardErrorDescription(number), subject, systemText(error)));
}

AtomicFile::AtomicFile(QString target, QString what)
    : m_target(QFileInfo(target).absoluteFilePath()), m_what(what.isEmpty() ? QStringLiteral("the file") : std::move(what))
{
}

AtomicFile::~AtomicFile()
{
    discard();
}

void AtomicFile::fail(int error, const QString& path)
{
    discard();
    throw fileError(error, path, path == m_target ? m_what : QString());
}

void AtomicFile::open()
{
    discard();
    const QString folder = QFileInfo(m_target).absolutePath();
    refuseUnsafe(m_target, m_what);
    m_fd = ::open(encoded(folder).constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    int error = m_fd < 0 ? errno : 0;
    if (error == EOPNOTSUPP || error == EISDIR || error == EINVAL) {
        // No unnamed files here (older or network file systems): a hidden named one.
        error = EEXIST;
        for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
            m_tempName = hiddenTempName(m_target);
            m_fd = ::open(encoded(m_tempName).constData(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0666);
            error = m_fd < 0 ? errno : 0;
        }
        if (m_fd < 0)
            m_tempName.clear();
    }
    if (m_fd < 0)
        fail(error, error == ENOENT || error == ENOTDIR ? folder : m_target);
    // A replaced file keeps its permissions.
    struct stat old {};
    if (::stat(encoded(m_target).constData(), &old) == 0)
        ::fchmod(m_fd, old.st_mode & 07777);
}

void AtomicFile::write(QByteArrayView bytes)
{
    if (m_fd < 0)
        open();
    if (const int error = writeAll(m_fd, bytes))
        fail(error, m_target);
}

QIODevice& AtomicFile::device()
{
    if (m_fd < 0)
        open();
    if (!m_device)
        m_device = std::make_unique<DescriptorDevice>(m_fd);
    return *m_device;
}

int AtomicFile::deviceFailure() const noexcept
{
    return m_device ? m_device->failure() : 0;
}

QByteArray AtomicFile::readBack()
{
    flushDevice();
    struct stat info {};
    if (::fstat(m_fd, &info) != 0)
        fail(errno, m_target);
    QByteArray bytes(qsizetype(info.st_size), Qt::Uninitialized);
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n = ::pread(m_fd, bytes.data() + done, std::size_t(bytes.size() - done), off_t(done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail(n < 0 ? errno : EIO, m_target);
        done += n;
    }
    return bytes;
}

void AtomicFile::flushDevice()
{
    if (m_device && m_device->failure() != 0)
        fail(m_device->failure(), m_target);
}

void AtomicFile::syncData()
{
    if (::fsync(m_fd) != 0)
        fail(errno, m_target);
}

void AtomicFile::commit()
{
    if (m_fd < 0)
        open();
    flushDevice();
    syncData();
    try {
        refuseUnsafe(m_target, m_what); // again: the rename must not cut a link made meanwhile
    } catch (...) {
        discard();
        throw;
    }
    QString named = m_tempName;
    if (named.isEmpty()) {
        // An unnamed file cannot be renamed over another: it gets a hidden name first, for as
        // long as the rename takes.
        int error = EEXIST;
        for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
            named = hiddenTempName(m_target);
            error = linkTo(m_fd, {}, named);
        }
        if (error != 0)
            fail(error, m_target);
    }
    if (::rename(encoded(named).constData(), encoded(m_target).constData()) != 0) {
        const int error = errno;
        ::unlink(encoded(named).constData());
        m_tempName.clear();
        fail(error, m_target);
    }
    m_tempName.clear();
    discard();
    syncFolder(QFileInfo(m_target).absolutePath());
}

QString AtomicFile::commitAsNew(const std::function<QString(int)>& nameFor, int last)
{
    if (m_fd < 0)
        open();
    flushDevice();
    syncData();
    for (int n = 1; n <= last; ++n) {
        const QString name = QFileInfo(nameFor(n)).absoluteFilePath();
        const int error = linkTo(m_fd, m_tempName, name);
        if (error == EEXIST)
            continue;
        if (error != 0)
            fail(error, name);
        discard();
        syncFolder(QFileInfo(name).absolutePath());
        return name;
    }
    discard();
    throw RuntimeError(Err::PathFileAccessError,
                       QStringLiteral("%1: every name for %2 in %3 is taken")
                           .arg(standardErrorDescription(Err::PathFileAccessError), m_what,
                                QDir::toNativeSeparators(QFileInfo(m_target).absolutePath())));
}

void AtomicFile::discard() noexcept
{
    m_device.reset();
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_tempName.isEmpty()) {
        ::unlink(encoded(m_tempName).constData());
        m_tempName.clear();
    }
}

} // namespace vxRecInfo
