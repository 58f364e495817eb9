#include "ModuleState.h"

namespace vxRecInfo {

ModuleState& ModuleState::current()
{
    thread_local ModuleState state;
    return state;
}

} // namespace vxRecInfo
