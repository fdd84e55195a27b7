// The polygon selection over 10,000,000 points whose chunks all need a test,
// against a bare loop projecting the same points with one matrix; the hover
// search of one mouse move over a TIN of about 1,000,000 triangles, and the
// cache rebuild against a bare projection of its unique vertices and edges.
#include "viewer/render/HoverPickCache.h"
#include "viewer/render/PolygonSelection.h"
#include "viewer/render/ScreenPolygon.h"
#include "viewer/render/ScreenProjector.h"

#include "outside/CModelDataMng.h"
#include "platform/Parallel.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kW = 1280;
constexpr int kH = 800;
constexpr int kPoints = 10'000'000;
constexpr int kGridSide = 708;  // 2 x 707^2 = 999,698 triangles

// Eye at z = 10 over points with z 0 .. 20: every chunk box reaches behind the
// eye, so no group or chunk can be taken or skipped whole.
ScreenProjector SelectionCamera()
{
    QMatrix4x4 projection;
    projection.perspective(60.0f, static_cast<float>(kW) / kH, 0.1f, 1000.0f);
    QMatrix4x4 view;
    view.lookAt(QVector3D(500, 500, 10), QVector3D(500, 500, 0), QVector3D(0, 1, 0));
    return ScreenProjector(view, projection, {0, 0, kW, kH});
}

CModelDataMng& SelectionStore()
{
    static std::unique_ptr<CModelDataMng> store = [] {
        auto s = std::make_unique<CModelDataMng>();
        auto group = std::make_unique<CPCloudMng>();
        group->ReserveCloudPoint(kPoints);
        std::mt19937 random(7);
        std::uniform_real_distribution<float> plan(0.0f, 1000.0f), height(0.0f, 20.0f);
        for (int i = 0; i < kPoints; ++i) group->AddCloudPoint(plan(random), plan(random), height(random), 0xFFFFFF, 0);
        group->m_nDataFlag = 1;
        group->CreateGrid();
        s->AddGroup(std::move(group));
        return s;
    }();
    return *store;
}

// An octagon around the middle of the window.
ScreenPolygon Octagon()
{
    std::vector<ScreenPolygon::Vertex> v;
    for (int k = 0; k < 8; ++k) {
        const double a = k * 3.14159265358979 / 4.0;
        v.push_back({static_cast<std::int64_t>(kW / 2 + 300 * std::cos(a)), static_cast<std::int64_t>(kH / 2 + 300 * std::sin(a))});
    }
    return ScreenPolygon(std::move(v));
}

void BM_PolygonSelection(benchmark::State& state)
{
    const CModelDataMng& store = SelectionStore();
    const ScreenProjector camera = SelectionCamera();
    std::vector<SelPCloud> buckets;
    std::uint64_t projected = 0;
    for (auto _ : state) {
        PolygonSelection selection(store, camera, Octagon(), true);
        selection.Run(buckets, {});
        projected = selection.ProjectedPoints();
        benchmark::DoNotOptimize(buckets.data());
    }
    state.counters["projected"] = static_cast<double>(projected);
    state.counters["selected"] = buckets.empty() ? 0.0 : static_cast<double>(buckets[0].points.size());
}

// The bare loop: every point projected with one matrix and counted in the window.
void BM_BareProjectionLoop(benchmark::State& state)
{
    const CModelDataMng& store = SelectionStore();
    const ScreenProjector camera = SelectionCamera();
    const CPCloudMng& group = *store.m_groups[0];
    for (auto _ : state) {
        std::uint64_t inside = 0;
        for (const CPCloudMng::CloudPoint& p : group.m_points) {
            ScreenProjector::Window w;
            if (camera.ProjectUser(p.x, p.y, p.z, w) && w.x >= 0 && w.x < kW && w.y >= 0 && w.y < kH) ++inside;
        }
        benchmark::DoNotOptimize(inside);
    }
}

// ---- hover ----------------------------------------------------------------------------

// Looking straight down on the TIN; shift pans the view by that many units.
ScreenProjector HoverCamera(float shift = 0.0f)
{
    QMatrix4x4 projection;
    projection.ortho(shift, kGridSide + shift, shift, kGridSide * static_cast<float>(kH) / kW + shift, -100.0f, 100.0f);
    return ScreenProjector(QMatrix4x4(), projection, {0, 0, kW, kH});
}

const CVertexMng& HoverTin()
{
    static const CVertexMng tin = [] {
        CVertexMng t;
        std::mt19937 random(3);
        std::uniform_real_distribution<float> height(0.0f, 5.0f);
        for (int j = 0; j < kGridSide; ++j)
            for (int i = 0; i < kGridSide; ++i) t.AddVertex(static_cast<float>(i), static_cast<float>(j), height(random));
        for (int j = 0; j + 1 < kGridSide; ++j)
            for (int i = 0; i + 1 < kGridSide; ++i) {
                const auto a = static_cast<std::uint32_t>(j * kGridSide + i);
                t.m_triangles.emplace_back(a, a + 1, a + kGridSide + 1);
                t.m_triangles.emplace_back(a, a + kGridSide + 1, a + kGridSide);
            }
        return t;
    }();
    return tin;
}

HoverPickCache& HoverCache()
{
    static HoverPickCache cache = [] {
        HoverPickCache c;
        c.Reset(kW, kH);
        c.AddStore(HoverTin(), HoverCamera(), HoverPickCache::kKindGroup, 0);
        return c;
    }();
    return cache;
}

void BM_HoverSearch(benchmark::State& state)
{
    const HoverPickCache& cache = HoverCache();
    std::mt19937 random(5);
    std::uniform_real_distribution<double> x(0, kW), y(0, kH);
    for (auto _ : state) {
        const double px = x(random), py = y(random);
        benchmark::DoNotOptimize(cache.FindVertex(px, py));
        benchmark::DoNotOptimize(cache.FindEdge(px, py));
    }
    state.counters["triangles"] = static_cast<double>(HoverTin().m_triangles.size());
    state.counters["edges"] = static_cast<double>(cache.EdgeCount());
}

// A camera change rebuilds the view's cache, which keeps its memory and what the
// TIN's triangles give: one rebuild before the timing, so the first touch of
// fresh memory is not counted, then every rebuild with a camera panned from the
// one before. Arguments: the workers the rebuild may take (0: as many as the
// machine gives); 1 when the TIN changes before every rebuild, so that its
// vertex order and unique edges are worked out again too.
void BM_HoverCacheRebuild(benchmark::State& state)
{
    static CVertexMng tin = HoverTin();
    const bool tinChanges = state.range(1) != 0;
    HoverPickCache cache;
    const std::size_t before = tessara::SetWorkerCount(static_cast<std::size_t>(state.range(0)));
    cache.Reset(kW, kH);
    cache.AddStore(tin, HoverCamera(), HoverPickCache::kKindGroup, 0);
    const std::size_t builds = cache.TopologyBuilds();
    std::size_t rebuilds = 0;
    for (auto _ : state) {
        if (tinChanges) tin.TinChanged();
        cache.Reset(kW, kH);
        cache.AddStore(tin, HoverCamera(++rebuilds % 2 == 0 ? 0.0f : 0.37f), HoverPickCache::kKindGroup, 0);
        benchmark::DoNotOptimize(cache.EdgeCount());
    }
    tessara::SetWorkerCount(before);
    state.counters["edges"] = static_cast<double>(cache.EdgeCount());
    state.counters["tin_work"] = static_cast<double>(cache.TopologyBuilds() - builds) / static_cast<double>(rebuilds);
}

// Bare: every vertex projected once, and every triangle side looked at once.
void BM_BareVertexAndEdgeProjection(benchmark::State& state)
{
    const CVertexMng& tin = HoverTin();
    const ScreenProjector camera = HoverCamera();
    std::vector<ScreenProjector::Window> w(tin.m_vertices.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < tin.m_vertices.size(); ++i) {
            const CVertexMng::Vertex& v = tin.m_vertices[i];
            camera.ProjectUser(v.x, v.y, v.z, w[i]);
        }
        double length = 0;
        for (const CIndexedTriangle& t : tin.m_triangles)
            for (int k = 0; k < 3; ++k) {
                const ScreenProjector::Window& a = w[t[k]];
                const ScreenProjector::Window& b = w[t[(k + 1) % 3]];
                length += std::fabs(a.x - b.x) + std::fabs(a.y - b.y);
            }
        benchmark::DoNotOptimize(length);
    }
}

}  // namespace

BENCHMARK(BM_PolygonSelection)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_BareProjectionLoop)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_HoverSearch)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_HoverCacheRebuild)->Args({1, 0})->Args({0, 0})->Args({1, 1})->Args({0, 1})->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();
BENCHMARK(BM_BareVertexAndEdgeProjection)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

BENCHMARK_MAIN();
