#include "ModuleState.h"

namespace vxRecInfo {

namespace {
ModuleState& threadState()
{
    thread_local ModuleState state;
    return state;
}
} // namespace

ModuleState& ModuleState::current()
{
    return threadState();
}

void ModuleState::endApartment()
{
    threadState() = ModuleState{};
}

} // namespace vxRecInfo
