// SPDX-License-Identifier: MIT
#pragma once
// The host suite's font settings, bound early through this interface.

#include "automation/Export.h"
#include "automation/IDispatch.h"

namespace vxRecInfo {

class VXRECINFO_EXPORT IFontSettings : public IDispatch
{
public:
    static const QUuid& iid();
    static bool implements(const QUuid& id) { return id == iid() || IDispatch::implements(id); }

    // Whether readings of gas channels show decimals (True) or whole numbers.
    virtual HResult get_GasDecimals(bool* value) = 0;
    virtual HResult put_GasDecimals(bool value) = 0;
    // Loads the settings again from the suite's settings file.
    virtual HResult Reload() = 0;

protected:
    ~IFontSettings() override = default;
};

} // namespace vxRecInfo
