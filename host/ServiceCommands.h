#pragma once
// The service commands of the sample host: they open the windows or run the batch services of
// RecordInfo through the dispatch layer, as a scripted host calls them.

#include <QStringList>
#include <QTextStream>

namespace recinfo {

int showCommand(const QString& service, const QStringList& args, QTextStream& out, QTextStream& err);
int printCommand(const QStringList& args, QTextStream& out, QTextStream& err);
int rtfCommand(const QStringList& args, QTextStream& out, QTextStream& err);
int ntCommand(const QStringList& args, QTextStream& out, QTextStream& err);

extern const char* const ServiceUsage;

} // namespace recinfo
