// SPDX-License-Identifier: MIT
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

namespace {

const char PrintDocTrailer[] = "\r\n{[{PrintDoc}]}\r\n";

// The builder leaves making the folder to the host.
void openInfoFile(std::optional<AtomicFile>& file)
{
    const QString path = infoFilePath();
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir())
        throw RuntimeError(Err::PathNotFound, QStringLiteral("Path not found: %1").arg(QDir::toNativeSeparators(folder)));
    file.emplace(path, QStringLiteral("the info file"));
    try {
        file->open();
    } catch (...) {
        file.reset();
        throw;
    }
}

} // namespace

// The info file is replaced whole: a reader polling it, a full disk or a killed process sees the
// previous document or the new one, never a mix. It is written only where it belongs: a linked
// info file, of either kind, is refused with error 75 and left as it is.
void writeInfoFile(QStringView document)
{
    std::optional<AtomicFile> file;
    openInfoFile(file);
    file->write(document.toUtf8() + PrintDocTrailer);
    file->commit();
}

void BatchInfoFile::documentAppended(QString& out, qsizetype start)
{
    if (m_written && !m_file) {
        try {
            openInfoFile(m_file);
        } catch (...) {
            out.truncate(start);
            throw;
        }
    }
    m_start = start;
}

void BatchInfoFile::finish(QString& out)
{
    if (!m_file)
        return;
    try {
        m_file->write(QStringView(out).mid(m_start).toUtf8() + PrintDocTrailer);
        m_file->commit();
    } catch (...) {
        out.truncate(m_start);
        throw;
    }
    m_file.reset();
}

} // namespace vxRecInfo::RecInfoCode
