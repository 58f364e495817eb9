#include "PRINTR.h"

#include "Printer.h"

namespace vxRecInfo::PRINTR {

QString& SavedPrinterName()
{
    thread_local QString name;
    return name;
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
