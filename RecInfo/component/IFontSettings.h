// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The host suite's font settings, bound early through this interface.

#include "automation/Export.h"
#include "automation/IDispatch.h"

namespace vxRecInfo {

/// The host suite's font settings, as reports and windows read them. The class registered
/// for HostClasses::FontSettingsClsid must implement it.
class VXRECINFO_EXPORT IFontSettings : public IDispatch
{
public:
    /// The interface's GUID, HostClasses::FontSettingsIid.
    static const QUuid& iid();
    /// Whether an object of this interface answers QueryInterface for id: this interface,
    /// IDispatch or IUnknown.
    static bool implements(const QUuid& id) { return id == iid() || IDispatch::implements(id); }

    /// Whether readings of gas channels show decimals (True) or whole numbers.
    virtual HResult get_GasDecimals(bool* value) = 0;
    /// @copydoc get_GasDecimals
    virtual HResult put_GasDecimals(bool value) = 0;
    /// Loads the settings again from the suite's settings file.
    virtual HResult Reload() = 0;

protected:
    /// Protected, as IUnknown's: objects die at their last Release.
    ~IFontSettings() override = default;
};

} // namespace vxRecInfo
