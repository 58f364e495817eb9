// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// The host suite's four objects as the component reaches them: one reference each per thread,
/// held in the module state, created through the class registry by CLSID. HostSettings,
/// TimeZoneService and UnitConverter are called late bound by member name; FontSettings through
/// IFontSettings.

#include "automation/Export.h"
#include "IFontSettings.h"

#include "automation/Dispatch.h"

#include <cstdint>
#include <memory>

namespace vxRecInfo {

/// The class and interface identities of the host suite's four classes. The library registers
/// default classes under these CLSIDs; a host that registers its own under the same CLSIDs
/// replaces them.
namespace HostClasses {
inline const QUuid HostSettingsClsid{0x0af072e6, 0x0f4c, 0x30f5, 0xbf, 0x68, 0xf5, 0xc1, 0xdf, 0x7b, 0xd6, 0xdc}; //!< HostSettings: the user's language, units, formats, printer and folders
inline const QUuid HostSettingsIid{0x36398348, 0xc5ec, 0x35c4, 0xa9, 0xf7, 0xb6, 0x65, 0x41, 0xe0, 0x53, 0x69}; //!< HostSettings' dispatch interface
inline const QUuid TimeZoneServiceClsid{0xedd9db93, 0x84f6, 0x31c2, 0xa7, 0x7d, 0x00, 0xfe, 0x3f, 0xc2, 0xa6, 0xf8}; //!< TimeZoneService: the zones and the times reports show in them
inline const QUuid TimeZoneServiceIid{0xcb726734, 0xe10e, 0x3515, 0x8e, 0x07, 0xfa, 0x02, 0x2b, 0xab, 0xe0, 0x46}; //!< TimeZoneService's dispatch interface
inline const QUuid UnitConverterClsid{0x889cc210, 0x0fe2, 0x3aa1, 0xb6, 0x22, 0x38, 0x7c, 0x5a, 0xe7, 0xde, 0x58}; //!< UnitConverter: durations as text in the user's units
inline const QUuid UnitConverterIid{0x9f9c3e55, 0xc0fb, 0x3341, 0x84, 0x74, 0x06, 0xaa, 0x85, 0x27, 0x28, 0xad}; //!< UnitConverter's dispatch interface
inline const QUuid FontSettingsClsid{0x38bed9b8, 0x31a4, 0x388f, 0x98, 0x45, 0xa8, 0x37, 0x5f, 0x15, 0x2c, 0xe0}; //!< FontSettings, bound through IFontSettings
inline const QUuid FontSettingsIid{0xea0029d3, 0x319f, 0x3c1f, 0xa9, 0xea, 0x5f, 0x6f, 0xac, 0x56, 0x94, 0x15}; //!< IFontSettings' IID
} // namespace HostClasses

/// The apartment's HostSettings, created on first use (RestoreParameters is the caller's job).
/// Not owned: the apartment holds the reference.
/// @throws RuntimeError 429 when the class cannot be created, 13 when it lacks IDispatch
VXRECINFO_EXPORT IDispatch* hostSettings();
/// The apartment's TimeZoneService, created on first use.
/// @throws RuntimeError 429, 13, as hostSettings()
VXRECINFO_EXPORT IDispatch* timeZoneService();
/// The apartment's UnitConverter, created on first use.
/// @throws RuntimeError 429, 13, as hostSettings()
VXRECINFO_EXPORT IDispatch* unitConverter();
/// The apartment's FontSettings; error 91 before a RecordInfo has made one.
/// @throws RuntimeError 91
VXRECINFO_EXPORT IFontSettings* fontSettings();

/// A HostSettings object of the caller's own, outside the module state.
/// @throws RuntimeError 429, 13, as hostSettings()
VXRECINFO_EXPORT ComPtr<IDispatch> createHostSettings();
/// Replaces the apartment's FontSettings with a new object and reloads it; errors are raised.
/// @throws RuntimeError 429 when the class cannot be created, 13 when it lacks IDispatch or
///         IFontSettings, or the error of its Reload
VXRECINFO_EXPORT void renewFontSettings();
/// With keep False, releases the apartment's TimeZoneService; with keep True, nothing.
VXRECINFO_EXPORT void ReleaseTimeZoneService(bool keep);

/// Implemented by host objects whose Get members answer from their arguments and from state
/// that changes only through their own members (the default classes): answersVersion() changes
/// whenever an answer could, and 0 promises nothing (every answer is asked for).
class VXRECINFO_EXPORT IStableAnswers
{
public:
    /// The version of the object's answers; 0 when it promises nothing now.
    virtual std::uint64_t answersVersion() const = 0;

protected:
    /// Not virtual and protected: nobody deletes an object through this interface.
    ~IStableAnswers() = default;
};

struct HostValueCache;

/// Open for one batch service on the calling thread: the host values below are asked for once
/// and kept while they provably hold, that is while the apartment keeps the same HostSettings
/// (and UnitConverter), both promise stable answers and their versions stay. Anything else is
/// asked for every time, as outside a batch. The values go when the scope closes.
class VXRECINFO_EXPORT HostValueScope
{
public:
    /// Opens the scope on the calling thread; one opened inside it nests.
    HostValueScope();
    /// Closes it: the values kept go, the enclosing scope (if any) is open again.
    ~HostValueScope();
    /// Not copyable: a scope belongs to one stretch of one thread.
    HostValueScope(const HostValueScope&) = delete;
    /// Not copyable.
    HostValueScope& operator=(const HostValueScope&) = delete;

private:
    std::unique_ptr<HostValueCache> m_cache;
    HostValueCache* m_previous;
};

/// @name Host values
/// HostSettings.ResOffset, TScale and DFormat, late bound (or kept, see HostValueScope); the
/// errors are those of the call (429, 13 when the object cannot be created; 438 for a member
/// it lacks; the conversion's 13 or 6).
/// @{

/// The language offset of labels: 0 (English), 2000, 4000, 6000, 8000 or 10000.
/// @throws RuntimeError as above
VXRECINFO_EXPORT std::int32_t settingResOffset();
/// The temperature scale.
/// @throws RuntimeError as above
VXRECINFO_EXPORT std::int16_t settingTScale();
/// The date format.
/// @throws RuntimeError as above
VXRECINFO_EXPORT QString settingDFormat();
/// UnitConverter.Seconds2Units(seconds), likewise.
/// @throws RuntimeError as above
VXRECINFO_EXPORT QString secondsToUnitsText(const Variant& seconds);
/// UnitConverter.ElaspedTime2Unit(days) (converted omitted when false), likewise.
/// @throws RuntimeError as above
VXRECINFO_EXPORT QString elapsedTimeText(double days, bool converted);
/// @}

} // namespace vxRecInfo
