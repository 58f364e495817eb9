// SPDX-License-Identifier: MIT
#pragma once
// Pictures of the windows over a recordings file, in English and in Japanese, for the README.

#include "CommandLine.h"

namespace recinfo {

// recinfo screenshots FILE FOLDER.
Command screenshotsCommand();

} // namespace recinfo
