// SPDX-License-Identifier: MIT
#pragma once
// The printer dialog: the user picks the printer before a report is printed from the Statistics
// and Info window. It makes the choice the current printer and the host's default printer and
// reports the outcome in PrinterDialogResult.

#include <QDialog>

#include <cstdint>

class QComboBox;
class QPushButton;

namespace vxRecInfo {

// Outcome of the last printer dialog, in the thread's module state.
namespace PrinterDialog {
inline constexpr std::int16_t Loaded = 0;
inline constexpr std::int16_t Cancelled = 32755;
inline constexpr std::int16_t NoPrinter = -1;
} // namespace PrinterDialog
std::int16_t& PrinterDialogResult();

class frmPrinterDlg : public QDialog
{
    Q_OBJECT

public:
    // Loads the dialog: captions, placement, the printer list with the host's default printer
    // chosen and made current. A failing load sets PrinterDialogResult to -1.
    explicit frmPrinterDlg(QWidget* parent = nullptr);

    QComboBox* cboPrinter;
    QPushButton* cmdOk;
    QPushButton* cmdCancel;
    QPushButton* cmdProperties;

    void cboPrinter_Change();
    void cmdProperties_Click();
    void cmdOk_Click();
    void cmdCancel_Click();

private:
    void LoadResLabels();
    void load();
    void switchPrinter();
    template <class Handler>
    void trapped(const char* handlerName, Handler handler);
};

} // namespace vxRecInfo
