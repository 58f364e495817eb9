// SPDX-License-Identifier: MIT
#pragma once
// LogError: reports a trapped run-time error to the user and appends one line about it to
// RFIDPath + "ErrorLog.txt". It never raises an error.

#include <QString>

namespace vxRecInfo {

// The component's application title, as message box titles and the version text use it.
QString applicationTitle();
// "vxRecInfo v1.0.0": title, " v", major.minor.revision of the library.
QString versionText();

void LogError(bool showMessage, const QString& errorNumber, const QString& description, const QString& moduleName,
              const QString& functionName) noexcept;

// The text of the message LogError shows (exposed for its tests).
QString errorMessageText(const QString& errorNumber, const QString& description, const QString& moduleName,
                         const QString& functionName);

} // namespace vxRecInfo
