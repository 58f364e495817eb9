// SPDX-License-Identifier: MIT
#pragma once
/// @file
/// A host that shows how a batch service gets on installs an observer for its thread (the
/// module state is per thread, as the store is).

#include "automation/Export.h"

namespace vxRecInfo {

/// Told how a batch service gets on, for a host that shows progress (PrintAll, RTF_All, RTF_NT
/// and the joined document). Called on the service's thread between two pieces of work; an
/// exception thrown here ends the service as any of its errors would.
class VXRECINFO_EXPORT IProgressObserver
{
public:
    /// The host owns its observer; the component never deletes one.
    virtual ~IProgressObserver() = default;
    /// The report of dataset `done` (from 1) of `total` is printed, exported or written.
    virtual void datasetDone(int done, int total) = 0;
    /// Page `page` (from 1) of the report being printed is on the printer.
    virtual void pageDone(int page) = 0;
};

/// The observer of the calling thread's batch services, or null (no one is told anything). Not
/// owned: the host keeps it alive until it sets another one or the thread's apartment ends.
VXRECINFO_EXPORT IProgressObserver* progressObserver();
/// Installs observer for the calling thread's batch services; null removes it.
VXRECINFO_EXPORT void setProgressObserver(IProgressObserver* observer);

} // namespace vxRecInfo
