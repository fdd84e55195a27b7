// The group tree's plan over many groups, and copying a large group against a plain
// copy of the same points.
#include "outside/CModelDataMng.h"
#include "viewer/grouppane/GroupEdits.h"
#include "viewer/grouppane/GroupTreePlan.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

void FillGroups(CModelDataMng& store, int groups)
{
    for (int i = 0; i < groups; ++i) {
        auto g = std::make_unique<CPCloudMng>();
        g->m_name = i % 2 == 0 ? std::string() : "group" + std::to_string(i);
        for (int p = 0; p < 10; ++p)
            g->AddCloudPoint(static_cast<float>(p), 0.0f, 0.0f, 0, 0.0);
        store.AddGroup(std::move(g));
    }
}

void BM_PlanTree1000Groups(benchmark::State& state)
{
    CModelDataMng store;
    FillGroups(store, 1000);
    grouptree::PlanTree(store);
    for (auto _ : state)
        benchmark::DoNotOptimize(grouptree::PlanTree(store));
}
BENCHMARK(BM_PlanTree1000Groups)->Unit(benchmark::kMillisecond);

constexpr int kPoints = 10'000'000;

void FillBig(CModelDataMng& store)
{
    auto g = std::make_unique<CPCloudMng>();
    g->m_name = "big";
    g->ReserveCloudPoint(kPoints);
    for (int p = 0; p < kPoints; ++p)
        g->AddCloudPoint(static_cast<float>(p % 1000), static_cast<float>(p / 1000), 1.0f, 0, 0.0);
    g->CreateGrid();  // as every load leaves a group
    store.AddGroup(std::move(g));
}

void BM_CopyCloudGroup10M(benchmark::State& state)
{
    CModelDataMng store;
    FillBig(store);
    // One untimed round first, as for the plain copy: both start from the same
    // state of the process's memory.
    grouptree::CopyCloudGroup(store, 0);
    store.m_groups.erase(store.m_groups.begin() + 1);
    store.GetGroup(0)->m_nShowGroup = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(grouptree::CopyCloudGroup(store, 0));
        state.PauseTiming();
        store.m_groups.erase(store.m_groups.begin() + 1);
        store.GetGroup(0)->m_nShowGroup = 1;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CopyCloudGroup10M)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PlainCopy10M(benchmark::State& state)
{
    CModelDataMng store;
    FillBig(store);
    benchmark::DoNotOptimize(std::make_unique<CPCloudMng::PointList>(store.GetGroup(0)->m_points)->data());
    for (auto _ : state) {
        // Freed outside the timing, as the group copy's result is.
        auto copy = std::make_unique<CPCloudMng::PointList>(store.GetGroup(0)->m_points);
        benchmark::DoNotOptimize(copy->data());
        state.PauseTiming();
        copy.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PlainCopy10M)->Unit(benchmark::kMillisecond)->Iterations(3);


} // namespace
BENCHMARK_MAIN();
