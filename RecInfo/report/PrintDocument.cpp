// The print document: the report text, its runs, tab stops and margins in the markup a printing
// program outside the component reads; and the info file that holds the last one.

#include "RecInfoCode.h"
#include "ReportText.h"

#include "richtext/RTBFormat.h"
#include "automation/BasicText.h"
#include "automation/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

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

// The info file is replaced whole: a reader polling it, a full disk or a killed batch sees the
// previous document or the new one, never a mix. It is written only where it belongs: a linked
// info file, of either kind, is refused with error 75 and left as it is. A batch defers the
// flush to disk to its end, so the cost per document is a rename, not an fsync.
void writeInfoFile(QStringView document, AtomicFile::Sync sync)
{
    const QString path = infoFilePath();
    if (!QFileInfo(QFileInfo(path).absolutePath()).isDir())
        throw RuntimeError(Err::PathNotFound,
                           QStringLiteral("Path not found: %1").arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath())));
    AtomicFile file(path, QStringLiteral("the info file"));
    file.open();
    QByteArray bytes = document.toUtf8();
    bytes += "\r\n{[{PrintDoc}]}\r\n";
    file.write(bytes);
    file.commit(sync);
}

} // namespace vxRecInfo::RecInfoCode
