// SPDX-License-Identifier: MIT
#include "RecordServices.h"

#include <atomic>

namespace vxRecInfo {

namespace {
std::atomic<RecordServices*> g_services{nullptr};
}

RecordServices* recordServices()
{
    return g_services.load();
}

void setRecordServices(RecordServices* services)
{
    g_services.store(services);
}

} // namespace vxRecInfo
