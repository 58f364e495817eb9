#pragma once
// Pictures of the windows over a recordings file, in English and in Japanese, for the README.

#include <QStringList>
#include <QTextStream>

namespace recinfo {

int screenshotsCommand(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace recinfo
