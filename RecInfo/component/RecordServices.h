// SPDX-License-Identifier: MIT
#pragma once
// The six services: three open windows, three run the batch operations of the Statistics window
// on plain data. The windows layer implements them and installs itself when the library loads,
// so the record interface needs no widget of its own. Each runs on the calling thread's module
// state; the window services only on the GUI thread.

#include "automation/SafeArray.h"

#include <QString>

#include <cstdint>

namespace vxRecInfo {

class RecordServices
{
public:
    virtual ~RecordServices() = default;
    virtual void ShowInfo(std::int16_t listIndexPointer) = 0;
    virtual void ShowImport(const SafeArray& classicFileFlag) = 0;
    virtual void ShowNote(const QString& pendingNote) = 0;
    virtual void PrintAll(double& PJob, std::int16_t& StartPageNum, std::int16_t& TotalPages, QString& PrinterName) = 0;
    virtual void RTF_All(double& PJob, std::int16_t& StartPageNum, std::int16_t& TotalPages, QString& PrinterName,
                         QString& RTF_Text, bool EnablePageNumbering) = 0;
    virtual void RTF_NT(QString& RTF_Text) = 0;
};

// The installed services; null when the windows are not part of the build.
RecordServices* recordServices();
void setRecordServices(RecordServices* services);

} // namespace vxRecInfo
