// SPDX-License-Identifier: MIT
#pragma once
// The printer that was current before the printer dialog opened, and making it current again.

#include <QString>

namespace vxRecInfo::PRINTR {

// DeviceName of the printer that was current before the dialog; in the thread's module state.
QString& SavedPrinterName();

// Makes the saved printer current again; an unknown name leaves the current printer.
void RestorePrinter();

} // namespace vxRecInfo::PRINTR
