// SPDX-License-Identifier: MIT
#pragma once
// The report command of the sample host: one report in the print-document notation.

#include "CommandLine.h"

namespace recinfo {

// recinfo report FILE [options].
Command reportCommand();

} // namespace recinfo
