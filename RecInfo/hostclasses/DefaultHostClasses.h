// SPDX-License-Identifier: MIT
#pragma once
// Default implementations of the host suite's four classes, as a host could ship them. They are
// registered under their CLSIDs when the library loads; a host that registers its own classes
// under the same CLSIDs replaces them.

#include "component/IFontSettings.h"

#include "automation/Dispatch.h"

#include <QLocale>

namespace vxRecInfo {

// Registers the four default classes (again), replacing whatever is registered for them.
void registerDefaultHostClasses();

// Makers of the default objects, one reference each.
ComPtr<IUnknown> createDefaultHostSettings();
ComPtr<IUnknown> createDefaultTimeZoneService();
ComPtr<IUnknown> createDefaultUnitConverter();
ComPtr<IUnknown> createDefaultFontSettings();

// The locale of a language of the string table, by its ResOffset (2000: ja_JP); en_US for an
// offset the table does not know. The default objects write their texts in it.
QLocale languageOfOffset(std::int32_t resOffset);
// The language of the apartment's HostSettings.ResOffset, read at every call as labels are.
QLocale userLanguage();

// Durations as the default UnitConverter writes them, rounded to the second (half to even),
// negative durations with a leading "-":
//  - durationText: "00:15:00" under a day; "1 Day 00:00:05", "2 Days 03:20:00" from a day on,
//    the days in the language given ("2日 03:20:00", "2 jours 03:20:00").
//  - hoursText: total hours, minutes and seconds: "51:20:00", "00:00:30".
QString durationText(double seconds, QLocale::Language language = QLocale::English);
QString hoursText(double seconds);

} // namespace vxRecInfo
