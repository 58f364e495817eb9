// SPDX-License-Identifier: MIT
#include "WindowLayouts.h"

namespace vxRecInfo {

void StatisticsLayout::resize(double clientWidth, double clientHeight)
{
    if (clientHeight > MinimumLayoutHeight) {
        chkDetails.top = clientHeight - detailsOffset;
        txtInfo.width = clientWidth - widthMargin;
        txtInfo.height = clientHeight - heightMargin;
    }
    cmdOk.left = txtInfo.left + txtInfo.width - cmdOk.width;
    if (cmdOk.left < 3800)
        cmdOk.left = 3800;
    cmdPrint.left = cmdOk.left - cmdPrint.width - 30;
    cmdNote.left = cmdPrint.left - cmdNote.width - 30;
    cboTrace.left = txtInfo.left;
    cboTrace.width = cmdNote.left - cboTrace.left - 120;
}

void ImportLayout::resize(double clientWidth, double clientHeight, double windowWidth)
{
    if (clientHeight > MinimumLayoutHeight) {
        cmdImport.top = cmdNote.top = cmdCancel.top = clientHeight - buttonOffset;
        chkDetails.top = clientHeight - detailsOffset;
        txtInfo.width = clientWidth - widthMargin;
        txtInfo.height = clientHeight - heightMargin;
    }
    cmdImport.left = txtInfo.left + txtInfo.width - cmdImport.width;
    if (cmdImport.left < 4800)
        cmdImport.left = 4800;
    cmdCancel.left = cmdImport.left - cmdCancel.width - 30;
    cmdNote.left = cmdCancel.left - cmdNote.width - 120;
    cboTrace.left = cboTimeZone.left = txtInfo.left;
    if (windowWidth <= 9500) {
        cboTrace.width = cboTimeZone.width = clientWidth * 0.62;
        lblFile.left = cboTrace.left + cboTrace.width + 150;
        lblTimeZone.left = cboTimeZone.left + cboTimeZone.width + 150;
    } else {
        lblFile.left = txtInfo.left + txtInfo.width - lblFile.width;
        lblTimeZone.left = txtInfo.left + txtInfo.width - lblTimeZone.width;
        cboTrace.width = lblFile.left - cboTrace.left - 150;
        cboTimeZone.width = lblTimeZone.left - cboTimeZone.left - 150;
    }
}

void NoteLayout::resize(double clientWidth, double clientHeight)
{
    if (clientHeight > MinimumLayoutHeight) {
        txtNote.width = clientWidth - widthMargin;
        txtNote.height = clientHeight - heightMargin;
    }
    cmdOk.left = txtNote.left + txtNote.width - cmdOk.width;
    if (cmdOk.left < 2200)
        cmdOk.left = 2200;
    cmdCancel.left = cmdOk.left - buttonSpacing;
    cmdOk.top = clientHeight - buttonOffset;
    cmdCancel.top = cmdOk.top;
}

} // namespace vxRecInfo
