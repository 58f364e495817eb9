#include "ModuleState.h"

#include <QCoreApplication>

#include <atomic>

namespace vxRecInfo {

namespace {

ModuleState& threadState()
{
    thread_local ModuleState state;
    return state;
}

std::atomic<bool> g_releaseScheduled{false};

} // namespace

ModuleState& ModuleState::current()
{
    if (!g_releaseScheduled.load(std::memory_order_relaxed) && !g_releaseScheduled.exchange(true))
        qAddPostRoutine(&ModuleState::releaseParts);
    return threadState();
}

void ModuleState::endApartment()
{
    threadState() = ModuleState{};
}

void ModuleState::releaseParts()
{
    // The application's destructor runs this on its own thread: the threads that printed
    // elsewhere have ended before it, and their state with them.
    g_releaseScheduled = false;
    threadState().m_parts.clear();
}

IProgressObserver* progressObserver()
{
    return ModuleState::current().progressObserver();
}

void setProgressObserver(IProgressObserver* observer)
{
    ModuleState::current().setProgressObserver(observer);
}

} // namespace vxRecInfo
