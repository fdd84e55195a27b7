// The group tree's plan over many groups, and copying a large group against a plain
// copy of the same points.
#include "outside/CModelDataMng.h"
#include "viewer/grouppane/GroupEdits.h"
#include "viewer/grouppane/GroupTreePlan.h"

#include <benchmark/benchmark.h>

#include <chrono>
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

// Both copies in one loop, taking turns at going first, so neither gains from the
// memory the other has just given back: the figures to compare (the ratio is the
// group copy's time over the plain copy's).
void BM_CopyCloudGroupAgainstPlainCopy10M(benchmark::State& state)
{
    using Clock = std::chrono::steady_clock;
    CModelDataMng store;
    FillBig(store);
    std::chrono::duration<double, std::milli> group{}, plain{};
    const auto copyGroup = [&] {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(grouptree::CopyCloudGroup(store, 0));
        group += Clock::now() - start;
        store.m_groups.erase(store.m_groups.begin() + 1);
        store.GetGroup(0)->m_nShowGroup = 1;
    };
    const auto copyPlain = [&] {
        const auto start = Clock::now();
        auto copy = std::make_unique<CPCloudMng::PointList>(store.GetGroup(0)->m_points);
        benchmark::DoNotOptimize(copy->data());
        plain += Clock::now() - start;
    };
    // Untimed rounds first: a process's first copies of this size pay for setting
    // up its memory, several times what later ones do, whichever copy comes first.
    for (int warm = 0; warm < 2; ++warm) {
        copyGroup();
        copyPlain();
    }
    group = plain = {};
    int round = 0;
    for (auto _ : state) {
        if (round++ % 2 == 0) {
            copyGroup();
            copyPlain();
        } else {
            copyPlain();
            copyGroup();
        }
    }
    state.counters["group_ms"] = group.count() / round;
    state.counters["plain_ms"] = plain.count() / round;
    state.counters["ratio"] = plain.count() > 0 ? group.count() / plain.count() : 0.0;
}
BENCHMARK(BM_CopyCloudGroupAgainstPlainCopy10M)->Unit(benchmark::kMillisecond)->Iterations(6);

} // namespace
BENCHMARK_MAIN();
