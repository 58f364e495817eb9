// SPDX-License-Identifier: MIT
#pragma once
// The service commands of the sample host: they open the windows or run the batch services of
// RecordInfo through the dispatch layer, as a scripted host calls them.

#include "CommandLine.h"

namespace recinfo {

// show, import, note, print, rtf and printdoc.
QList<Command> serviceCommands();

} // namespace recinfo
