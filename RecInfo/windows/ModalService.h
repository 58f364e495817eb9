// SPDX-License-Identifier: MIT
#pragma once
// Everything modal the windows open goes through this seam: child windows and the system's
// printer properties dialog. Tests install a service that drives the window and closes it,
// so no test ever blocks.

#include <memory>

class QDialog;
class QWidget;

namespace vxRecInfo {

class Printer;

class ModalService
{
public:
    virtual ~ModalService() = default;
    // Shows dialog modally; returns its result when it closes.
    virtual int showModal(QDialog& dialog) = 0;
    // The system's properties dialog of printer, owned by owner; nothing where the back end
    // has none (the PDF printer).
    virtual void showPrinterProperties(QWidget* owner, Printer& printer) = 0;
};

ModalService& modalService();
// False when nobody could ever close a window: the built-in service without a display (the
// offscreen platform).
bool modalWindowsCanClose();
// Installs a service and returns the one it replaces (null for the built-in one).
std::unique_ptr<ModalService> setModalService(std::unique_ptr<ModalService> service);

} // namespace vxRecInfo
