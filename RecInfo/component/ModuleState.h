#pragma once
// State shared by every RecordInfo of one thread (the apartment): the windows and the report
// builder read it, the record interface and the windows set it. Another thread has its own.

#include "automation/Variant.h"

#include <QString>

#include <cstdint>

namespace vxRecInfo {

struct ModuleState {
    Variant UserSettings;
    std::int16_t TimeZone = 0;
    bool ImportFileSelected = false;
    std::int16_t ImportUserSelectedTimeZone = 0;
    std::int16_t ListIndexPointer = 0;
    QString NoteText;
    bool NoteChangeAllowed = false;

    // The state of the calling thread, created at its first use.
    static ModuleState& current();
};

} // namespace vxRecInfo
