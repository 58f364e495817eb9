// SPDX-License-Identifier: MIT
#pragma once
// State shared by every RecordInfo of one thread (the apartment): the dataset store, the note
// state, the choices made in the windows and the host suite's objects. The windows and the
// report builder read it; the record interface and the windows set it. Another thread has its
// own, so two threads never meet in here.

#include "BasicArray.h"
#include "DataSetRecord.h"
#include "IFontSettings.h"
#include "ProgressObserver.h"

#include "automation/Variant.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace vxRecInfo {

struct HostValueCache;

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
    // The printer that was current before the printer dialog opened, and the dialog's outcome.
    QString SavedPrinterName;
    std::int16_t PrinterDialogResult = 0;

    // The host suite's objects; see HostObjects.h for how they come into being.
    ComPtr<IDispatch> HostSettings;
    ComPtr<IDispatch> TimeZoneService;
    ComPtr<IDispatch> UnitConverter;
    ComPtr<IFontSettings> FontSettings;
    // What the batch service running on this thread keeps of them (HostValueScope), or null.
    HostValueCache* HostValues = nullptr;

    // The host's progress observer, or null (no one is told anything). Not owned: the host
    // keeps it alive until it sets another one or the apartment ends.
    IProgressObserver* progressObserver() const { return m_progressObserver; }
    void setProgressObserver(IProgressObserver* observer) { m_progressObserver = observer; }

    // State that a layer above this one keeps per apartment (the current printer, for one),
    // made at its first use and gone with the apartment like everything here.
    // Reports reach some parts hundreds of times each: a part is found by an index of its type.
    template <class Part>
    Part& part()
    {
        static const std::size_t index = newPartIndex();
        if (index >= m_parts.size()) [[unlikely]]
            m_parts.resize(index + 1);
        std::shared_ptr<void>& slot = m_parts[index];
        if (!slot) [[unlikely]]
            slot = std::make_shared<Part>();
        return *static_cast<Part*>(slot.get());
    }

    // The state of the calling thread, created at its first use.
    static ModuleState& current();
    // Ends the calling thread's apartment: its state, and the references it holds, go away
    // (as they do when the thread ends).
    static void endApartment();

private:
    // Run when the application object goes: the parts hold Qt objects (a printer, its fonts,
    // an open job) that must not outlive it, while the state itself lives as long as its
    // thread, which for the GUI thread is the whole process.
    static void releaseParts();
    static std::size_t newPartIndex();

    std::vector<std::shared_ptr<void>> m_parts; // by a part type's index
    IProgressObserver* m_progressObserver = nullptr;
};

} // namespace vxRecInfo
