// The print document: the report text, its runs, tab stops and margins in the markup a printing
// program outside the component reads; and the info file that holds the last one.

#include "RecInfoCode.h"
#include "ReportText.h"

#include "richtext/RTBFormat.h"
#include "automation/BasicText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vxRecInfo::RecInfoCode {

void appendPrintDocument(QString& out, QStringView report, const QString& serialNumber)
{
    const QString margin = basicNumberText(0.5); // the user's decimal separator
    out.append(QLatin1StringView(" {[{StartDoc}]}"));
    out.append(report);
    out.append(QLatin1StringView("{[{End}]}\r\n\r\n{LgrSN}\t"));
    out.append(serialNumber);
    out.append(CRLF);
    RTBFormat::AppendRTBLists(out, CRLF);
    out.append(QLatin1StringView("{Tabs}\t144\t3000\t4500\t6000\r\n{Margins}"));
    for (int i = 0; i < 4; ++i) {
        out.append(TAB);
        out.append(margin);
    }
    out.append(QLatin1StringView("\r\n{[{EndDoc}]}\r\n"));
}

QString printDocument(const QString& report, const QString& serialNumber)
{
    QString document;
    appendPrintDocument(document, report, serialNumber);
    return document;
}

QString infoFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/Orvale Systems/info.txt");
}

// The info file is written only where it belongs: a symbolic link named info.txt, whatever it
// points to, is refused with error 75 and left as it is (the open does not follow it, so the
// check cannot be raced). The file is written over and then cut to its new length rather than
// emptied first: a file emptied and written again is flushed to disk when it closes, which a
// batch writing it once per dataset cannot afford.
void writeInfoFile(QStringView document)
{
    const QString path = infoFilePath();
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int error = errno;
        const QString folder = QFileInfo(path).absolutePath();
        if (!QFileInfo(folder).isDir())
            throw RuntimeError(Err::PathNotFound,
                               QStringLiteral("Path not found: %1").arg(QDir::toNativeSeparators(folder)));
        const QString why = error == ELOOP ? QStringLiteral(" is a symbolic link; the info file is not written through links")
                                           : QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(std::strerror(error)));
        throw RuntimeError(Err::PathFileAccessError, QStringLiteral("Path/File access error: %1").arg(path) + why);
    }
    QByteArray bytes = document.toUtf8();
    bytes += "\r\n{[{PrintDoc}]}\r\n";
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::pwrite(fd, bytes.constData() + written, std::size_t(bytes.size() - written), written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        written += n;
    }
    // What was written stays, nothing of the file before it.
    struct stat file {};
    bool complete = written == bytes.size() && ::fstat(fd, &file) == 0;
    if (!complete || file.st_size > written)
        complete = ::ftruncate(fd, written) == 0 && complete;
    ::close(fd);
    if (!complete)
        throw RuntimeError(Err::PathFileAccessError, QStringLiteral("Path/File access error: %1").arg(path));
}

} // namespace vxRecInfo::RecInfoCode
