// SPDX-License-Identifier: MIT
#include "ModalService.h"

#include "printing/Printer.h"

#include <QDialog>
#include <QGuiApplication>
#include <QPageSetupDialog>

namespace vxRecInfo {

namespace {

class QtModalService final : public ModalService
{
public:
    int showModal(QDialog& dialog) override { return dialog.exec(); }

    void showPrinterProperties(QWidget* owner, Printer& printer) override
    {
        if (printer.isPdfPrinter())
            return;
        QPageSetupDialog properties(printer.qtPrinter(), owner);
        properties.exec();
    }
};

std::unique_ptr<ModalService>& installed()
{
    static std::unique_ptr<ModalService> service;
    return service;
}

} // namespace

ModalService& modalService()
{
    static QtModalService builtIn;
    return installed() ? *installed() : builtIn;
}

bool modalWindowsCanClose()
{
    return installed() || QGuiApplication::platformName() != QLatin1String("offscreen");
}

std::unique_ptr<ModalService> setModalService(std::unique_ptr<ModalService> service)
{
    std::swap(installed(), service);
    return service;
}

} // namespace vxRecInfo
