// The print document: the report text, its runs, tab stops and margins in the markup a printing
// program outside the component reads; and the info file that holds the last one.

#include "RecInfoCode.h"
#include "ReportText.h"

#include "richtext/RTBFormat.h"
#include "support/BasicText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

#include <fcntl.h>

namespace vxRecInfo::RecInfoCode {

QString printDocument(const QString& report, const QString& serialNumber)
{
    const QString margin = basicNumberText(0.5); // the user's decimal separator
    QString document = QStringLiteral(" {[{StartDoc}]}") + report + QStringLiteral("{[{End}]}") + CRLF + CRLF;
    document += QStringLiteral("{LgrSN}") + TAB + serialNumber + CRLF;
    document += RTBFormat::GetRTBFontList() + CRLF;
    document += RTBFormat::GetRTBColorList() + CRLF;
    document += RTBFormat::GetRTBSizeList() + CRLF;
    document += RTBFormat::GetRTBFStyleList() + CRLF;
    document += RTBFormat::GetRTBFAlignList() + CRLF;
    document += QStringLiteral("{Tabs}\t144\t3000\t4500\t6000") + CRLF;
    document += QStringLiteral("{Margins}") + TAB + margin + TAB + margin + TAB + margin + TAB + margin + CRLF;
    document += QStringLiteral("{[{EndDoc}]}") + CRLF;
    return document;
}

QString infoFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/Orvale Systems/info.txt");
}

// The info file is written only where it belongs: a symbolic link named info.txt, whatever it
// points to, is refused with error 75 and left as it is (the open does not follow it, so the
// check cannot be raced).
void writeInfoFile(const QString& document)
{
    const QString path = infoFilePath();
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir())
        throw RuntimeError(Err::PathNotFound,
                           QStringLiteral("Path not found: %1").arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int error = errno;
        const QString why = error == ELOOP ? QStringLiteral(" is a symbolic link; the info file is not written through links")
                                           : QStringLiteral(" (%1)").arg(QString::fromLocal8Bit(std::strerror(error)));
        throw RuntimeError(Err::PathFileAccessError, QStringLiteral("Path/File access error: %1").arg(path) + why);
    }
    QFile file;
    file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle);
    const QByteArray bytes = (document + CRLF + QStringLiteral("{[{PrintDoc}]}") + CRLF).toUtf8();
    if (file.write(bytes) != bytes.size())
        throw RuntimeError(Err::PathFileAccessError, QStringLiteral("Path/File access error: %1").arg(path));
}

} // namespace vxRecInfo::RecInfoCode
