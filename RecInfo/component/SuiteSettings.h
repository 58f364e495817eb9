// SPDX-License-Identifier: MIT
#pragma once
// The host suite's settings file, where the default host objects keep the user's settings:
// an INI file of organisation "Orvale Systems", application "LoggerSuite", in the user's
// configuration folder ($XDG_CONFIG_HOME/Orvale Systems/LoggerSuite.ini). A host may point the
// objects at another file, as the sample host does for a recordings file's settings.
//
// Sections and keys:
//   [HostSettings]    ResOffset, TScale, DFormat, RFIDPath, DefaultPrinter,
//                     LeftMargin, RightMargin, TopMargin, BotMargin (inches),
//                     PdfArchive (True/False), PdfSigningKey, PdfPassphraseFile (paths)
//   [TimeZoneService] TimeZones (list of IANA ids), SystemTimeZone (IANA id)
//   [FontSettings]    GasDecimals

#include <QString>

namespace vxRecInfo {

// The file the calling thread's host objects read: its apartment's own if it has one, else the
// process's, else the user's.
QString suiteSettingsFile();
// For every thread; an empty path goes back to the user's file.
void setSuiteSettingsFile(const QString& path);
// For the calling thread's apartment only (a script thread that loaded its own settings); an
// empty path goes back to the process's. It ends with the apartment.
void setApartmentSuiteSettingsFile(const QString& path);

// Sets one key of the settings file in place. The file belongs to the suite: every other line
// stays byte for byte (comments, order, lines a settings reader cannot parse); the key's first
// line in the section is rewritten, or a line is added at the end of the section, or the
// section at the end of the file. The new content is written beside the file and renamed over
// it, so a crash leaves the old file or the new one, never half of one. Error 75 when it cannot
// be read or written.
void storeSuiteSetting(const QString& section, const QString& key, const QString& value);

} // namespace vxRecInfo
