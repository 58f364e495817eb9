// SPDX-License-Identifier: MIT
#pragma once
// Reads printed PDF files back with poppler's tools, as a person checking a printout would.

#include <QProcess>
#include <QRegularExpression>
#include <QStringList>

namespace vxRecInfo::testing {

// Standard output of a tool, or a marker that cannot match what a test looks for.
inline QString runTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>").arg(program, QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

inline int pdfPageCount(const QString& pdf)
{
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(runTool(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The text of one page, or of the whole file when page is 0.
inline QString pdfText(const QString& pdf, int page = 0)
{
    QStringList args{QStringLiteral("-layout")};
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    return runTool(QStringLiteral("pdftotext"), args << pdf << QStringLiteral("-"));
}

// Word boxes (pdftotext -bbox) for positions on the page.
inline QString pdfWordBoxes(const QString& pdf)
{
    return runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
}

} // namespace vxRecInfo::testing
