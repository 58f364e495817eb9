#pragma once

#include "automation/RuntimeError.h"

#include <functional>

namespace vxRecInfo::testing {

// Runs f and returns the run-time error number it raised, 0 when it raised none.
inline int errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

} // namespace vxRecInfo::testing
