#pragma once
// The report commands of the sample host: one report in the print-document notation, and the
// print documents of all datasets.

#include <QStringList>
#include <QTextStream>

namespace recinfo {

// recinfo report FILE [options]; returns the exit status.
int reportCommand(const QStringList& args, QTextStream& out, QTextStream& err);
// recinfo printdoc FILE; returns the exit status.
int printDocCommand(const QStringList& args, QTextStream& out, QTextStream& err);

extern const char* const ReportUsage;

} // namespace recinfo
