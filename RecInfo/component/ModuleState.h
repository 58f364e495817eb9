#pragma once
// State shared by every RecordInfo of one thread (the apartment): the dataset store, the note
// state, the choices made in the windows and the host suite's objects. The windows and the
// report builder read it; the record interface and the windows set it. Another thread has its
// own.

#include "BasicArray.h"
#include "DataSetRecord.h"
#include "IFontSettings.h"

#include "automation/Variant.h"

#include <QString>

#include <cstdint>

namespace vxRecInfo {

struct ModuleState {
    // The dataset store: never dimensioned until the first AddDataSet or ClearAllDataSets.
    BasicArray<DataSetRecord> DataSets;
    BasicArray<QString> NoteArray;
    BasicArray<bool> NoteChanged;

    Variant UserSettings;
    std::int16_t TimeZone = 0;
    bool ImportFileSelected = false;
    std::int16_t ImportUserSelectedTimeZone = 0;
    SafeArray ClassicFileFlag{VarType::Boolean}; // as the host passed it, bounds and all
    std::int16_t ListIndexPointer = 0;
    QString NoteText;
    bool NoteChangeAllowed = false;
    // The note window's exchange with the windows that open it.
    std::int16_t NoteIndex = 0;
    bool NoteEdited = false;

    // The host suite's objects; see HostObjects.h for how they come into being.
    ComPtr<IDispatch> HostSettings;
    ComPtr<IDispatch> TimeZoneService;
    ComPtr<IDispatch> UnitConverter;
    ComPtr<IFontSettings> FontSettings;

    // The state of the calling thread, created at its first use.
    static ModuleState& current();
    // Ends the calling thread's apartment: its state, and the references it holds, go away
    // (as they do when the thread ends).
    static void endApartment();
};

} // namespace vxRecInfo
