#pragma once
// The host suite's settings file, where the default host objects keep the user's settings:
// an INI file of organisation "Orvale Systems", application "LoggerSuite", in the user's
// configuration folder ($XDG_CONFIG_HOME/Orvale Systems/LoggerSuite.ini). A host may point the
// objects at another file, as the sample host does for a recordings file's settings.
//
// Sections and keys:
//   [HostSettings]    ResOffset, TScale, DFormat, RFIDPath, DefaultPrinter,
//                     LeftMargin, RightMargin, TopMargin, BotMargin (inches)
//   [TimeZoneService] TimeZones (list of IANA ids), SystemTimeZone (IANA id)
//   [FontSettings]    GasDecimals

#include <QString>

namespace vxRecInfo {

QString suiteSettingsFile();
// An empty path goes back to the user's file.
void setSuiteSettingsFile(const QString& path);

} // namespace vxRecInfo
