// One click's pick over 10,000,000 points seen from above: with the group's grid
// (only the cells whose box may cover the pixel are read), with an out-of-date
// grid (every point read), and a bare loop projecting every point with one matrix
// as the baseline of the second.
#include "viewer/commands/ScenePick.h"
#include "viewer/render/ScreenProjector.h"

#include "outside/CModelDataMng.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {

constexpr int kW = 1280;
constexpr int kH = 800;
constexpr int kPoints = 10'000'000;

ScreenProjector TopCamera()
{
    QMatrix4x4 projection;
    projection.perspective(60.0f, static_cast<float>(kW) / kH, 1.0f, 5000.0f);
    QMatrix4x4 view;
    view.lookAt(QVector3D(500, 500, 900), QVector3D(500, 500, 0), QVector3D(0, 1, 0));
    return ScreenProjector(view, projection, {0, 0, kW, kH});
}

CModelDataMng& Store()
{
    static std::unique_ptr<CModelDataMng> store = [] {
        auto s = std::make_unique<CModelDataMng>();
        auto group = std::make_unique<CPCloudMng>();
        group->ReserveCloudPoint(kPoints);
        std::mt19937 random(11);
        std::uniform_real_distribution<float> plan(0.0f, 1000.0f), height(0.0f, 20.0f);
        for (int i = 0; i < kPoints; ++i) group->AddCloudPoint(plan(random), plan(random), height(random), 0xFFFFFF, 0);
        group->CreateGrid();
        s->AddGroup(std::move(group));
        return s;
    }();
    return *store;
}

void PickAtCentre(benchmark::State& state, bool staleGrid)
{
    CModelDataMng& store = Store();
    CPCloudMng& group = *store.GetGroup(0);
    const GridCell kept = group.m_grid.back();
    if (staleGrid) group.m_grid.back().indices.pop_back();   // no longer covers every point
    const ScreenProjector projector = TopCamera();
    scenepick::Options options;
    int hits = 0;
    for (auto _ : state) {
        const auto hit = scenepick::PickScene(store, projector, kW / 2.0, kH / 2.0, options);
        hits += hit ? 1 : 0;
        benchmark::DoNotOptimize(hit);
    }
    group.m_grid.back() = kept;
    state.counters["hit"] = hits > 0 ? 1 : 0;
}

void BM_PickWithGrid(benchmark::State& state) { PickAtCentre(state, false); }
void BM_PickStaleGrid(benchmark::State& state) { PickAtCentre(state, true); }

void BM_ProjectAllPoints(benchmark::State& state)
{
    const CPCloudMng& group = *Store().GetGroup(0);
    const ScreenProjector projector = TopCamera();
    for (auto _ : state) {
        int inside = 0;
        for (const auto& p : group.m_points) {
            ScreenProjector::Window w;
            if (projector.ProjectUser(p.x, p.y, p.z, w) && w.x >= 638 && w.x <= 642 && w.y >= 398 && w.y <= 402)
                ++inside;
        }
        benchmark::DoNotOptimize(inside);
    }
}

}  // namespace

BENCHMARK(BM_PickWithGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickStaleGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProjectAllPoints)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
