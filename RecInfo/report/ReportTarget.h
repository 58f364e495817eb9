// SPDX-License-Identifier: MIT
#pragma once
// What the report builder writes into: the calling window's rich-text box, the value of its
// details check box, its name and the number of entries in its dataset list. The windows
// implement it; tests implement it directly.

#include "automation/Variant.h"

#include <QString>

namespace vxRecInfo {

class RichTextBox;

class ReportTarget
{
public:
    virtual ~ReportTarget() = default;

    virtual RichTextBox& txtInfo() = 0;
    // chkDetails.Value: 0 cleared, 1 ticked (Null or 0 counts as off).
    virtual Variant detailsValue() const = 0;
    // The window's Name: "frmStatistics" or "frmRecImport".
    virtual QString windowName() const = 0;
    // Entries in the window's dataset (trace) list.
    virtual int datasetListCount() const = 0;
};

} // namespace vxRecInfo
