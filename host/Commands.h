// SPDX-License-Identifier: MIT
#pragma once
// recinfo's commands, in the order its help lists them, with what the help says around them.

#include "CommandLine.h"

namespace recinfo {

Program recinfoProgram();

} // namespace recinfo
