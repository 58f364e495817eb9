// SPDX-License-Identifier: MIT
#pragma once
// Enter and Esc as the classic windows handle them. No button is a default button, so Enter in
// a box does what the box does and nothing more; Enter on a focused command button presses it,
// as Space does; Esc presses the window's cancel button when it has one and otherwise does
// nothing. Qt's dialogs would instead make the first button a default and close on Esc.

class QDialog;
class QPushButton;

namespace vxRecInfo {

// Call once the dialog's buttons exist.
void useClassicKeys(QDialog* dialog, QPushButton* cancelButton = nullptr);

} // namespace vxRecInfo
