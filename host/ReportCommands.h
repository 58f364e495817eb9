#pragma once
// The report command of the sample host: one report in the print-document notation.

#include <QStringList>
#include <QTextStream>

namespace recinfo {

// recinfo report FILE [options]; returns the exit status.
int reportCommand(const QStringList& args, QTextStream& out, QTextStream& err);

extern const char* const ReportUsage;

} // namespace recinfo
