// SPDX-License-Identifier: MIT
#include "PRINTR.h"

#include "Printer.h"

#include "component/ModuleState.h"

namespace vxRecInfo::PRINTR {

QString& SavedPrinterName()
{
    return ModuleState::current().SavedPrinterName;
}

void RestorePrinter()
{
    if (currentPrinter().DeviceName() == SavedPrinterName())
        return;
    for (const QString& name : Printers()) {
        if (name == SavedPrinterName()) {
            setCurrentPrinter(name);
            return;
        }
    }
}

} // namespace vxRecInfo::PRINTR
