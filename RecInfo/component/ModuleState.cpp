// SPDX-License-Identifier: MIT
#include "ModuleState.h"

#include <QCoreApplication>

#include <atomic>

namespace vxRecInfo {

namespace {

// Set once the thread's state is gone: an application object destroyed after it, at the
// process's exit, must not release parts of a state that no longer exists.
[[gnu::tls_model("initial-exec")]] thread_local bool t_stateGone = false;

struct ThreadState {
    ModuleState state;
    ~ThreadState() { t_stateGone = true; }
};

ModuleState& threadState()
{
    thread_local ThreadState owner;
    return owner.state;
}

// The thread's state once it has been made. Reports ask for it hundreds of times each: a plain
// pointer in the static TLS block is one load, where the state itself takes a call into the
// dynamic linker and an initialisation check.
[[gnu::tls_model("initial-exec")]] thread_local ModuleState* t_state = nullptr;

std::atomic<bool> g_releaseScheduled{false};

} // namespace

ModuleState& ModuleState::current()
{
    if (t_state) [[likely]]
        return *t_state;
    if (!g_releaseScheduled.load(std::memory_order_relaxed) && !g_releaseScheduled.exchange(true))
        qAddPostRoutine(&ModuleState::releaseParts);
    t_state = &threadState();
    return *t_state;
}

void ModuleState::endApartment()
{
    threadState() = ModuleState{};
}

std::size_t ModuleState::newPartIndex()
{
    static std::atomic<std::size_t> next{0};
    return next++;
}

void ModuleState::releaseParts()
{
    // The application's destructor runs this on its own thread: the threads that printed
    // elsewhere have ended before it, and their state with them.
    g_releaseScheduled = false;
    if (!t_stateGone)
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
