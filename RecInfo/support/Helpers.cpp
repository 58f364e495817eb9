#include "Helpers.h"

#include "automation/SafeArray.h"

namespace vxRecInfo {

bool IsArrayDimensioned(const Variant& v)
{
    if (!v.isArray())
        return false;
    try {
        (void)v.array().upperBound(1);
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

} // namespace vxRecInfo
