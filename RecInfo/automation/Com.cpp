// SPDX-License-Identifier: MIT
#include "Com.h"
#include "IDispatch.h"

namespace vxRecInfo {

namespace {
std::atomic<long> g_liveObjects{0};
std::atomic<long> g_locks{0};
} // namespace

const QUuid& IUnknown::iid()
{
    static const QUuid id(QStringLiteral("{00000000-0000-0000-C000-000000000046}"));
    return id;
}

const QUuid& IDispatch::iid()
{
    static const QUuid id(QStringLiteral("{00020400-0000-0000-C000-000000000046}"));
    return id;
}

namespace ServerLifetime {
void objectCreated() { ++g_liveObjects; }
void objectDestroyed() { --g_liveObjects; }
void lock() { ++g_locks; }
void unlock() { --g_locks; }
long liveObjects() { return g_liveObjects; }
long locks() { return g_locks; }
} // namespace ServerLifetime

} // namespace vxRecInfo
