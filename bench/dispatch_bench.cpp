// SPDX-License-Identifier: MIT
// Cost of the automation boundary: late-bound property puts and gets, and argument conversion.

#include "automation/ClassRegistry.h"
#include "automation/Dispatch.h"
#include "component/Identity.h"

#include <benchmark/benchmark.h>

using namespace vxRecInfo;

static void BM_InvokeByNamePutGet(benchmark::State& state)
{
    ComPtr<IDispatch> object = ClassRegistry::instance().createObject(Identity::ProgId);
    std::int16_t zone = 0;
    for (auto _ : state) {
        std::vector<Variant> put{Variant(std::int16_t(++zone % 100))};
        benchmark::DoNotOptimize(invokeByName(object.get(), QStringLiteral("TimeZone"), InvokeKind::PropertyPut, put));
        std::vector<Variant> none;
        benchmark::DoNotOptimize(invokeByName(object.get(), QStringLiteral("timezone"), InvokeKind::PropertyGet, none));
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_InvokeByNamePutGet);

static void BM_CoerceStringToLong(benchmark::State& state)
{
    const Variant text(QStringLiteral(" 12345 "));
    for (auto _ : state)
        benchmark::DoNotOptimize(text.toLong());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CoerceStringToLong);

BENCHMARK_MAIN();
