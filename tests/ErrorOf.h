// SPDX-License-Identifier: MIT
#pragma once

#include "automation/RuntimeError.h"

#include <functional>

namespace vxRecInfo::testing {

// Runs f and returns the run-time error it raised: number 0 when it raised none.
inline ErrorInfo raisedBy(const std::function<void()>& f)
{
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.info();
    }
    return {};
}

// The number of the run-time error f raised, 0 when it raised none.
inline int errorOf(const std::function<void()>& f)
{
    return raisedBy(f).number;
}

} // namespace vxRecInfo::testing
