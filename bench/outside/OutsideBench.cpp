// Speed and memory of the model store, the TIN generator and the point filters,
// each beside the bare library doing the same work on the same points.
//
// Points: uniform x, y in a 1,000 m square, z a gentle plane plus noise, fixed seed.
// Memory figures are the process's peak resident size (VmHWM, reset through
// /proc/self/clear_refs) less its resident size before the measured step, per point
// or against the cloud's own size (24 bytes a point).

#include "outside/CModelDataMng.h"
#include "outside/CPCloudMng.h"
#include "outside/XTinOption.h"
#include "platform/Parallel.h"

#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Projection_traits_xy_3.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>
#include <benchmark/benchmark.h>
#include <nanoflann.hpp>

#include <algorithm>
#include <atomic>
#include <map>
#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <malloc.h>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kCloudBytesPerPoint = 24.0;

struct RawPoint {
    float x, y, z;
};

const std::vector<RawPoint>& Points(std::size_t n)
{
    static std::vector<RawPoint> cache;
    if (cache.size() < n) {
        std::mt19937_64 rng(20261210);
        std::uniform_real_distribution<float> xy(0.0f, 1000.0f);
        std::normal_distribution<float> noise(0.0f, 0.05f);
        cache.clear();
        cache.reserve(n);
        for (std::size_t i = 0; i < n; ++i) {
            const float x = xy(rng);
            const float y = xy(rng);
            cache.push_back({x, y, 50.0f + 0.01f * x + 0.02f * y + noise(rng)});
        }
    }
    return cache;
}

std::unique_ptr<CPCloudMng> MakeGroup(std::size_t n)
{
    const auto& pts = Points(n);
    auto g = std::make_unique<CPCloudMng>();
    g->ReserveCloudPoint(n);
    for (std::size_t i = 0; i < n; ++i)
        g->AddCloudPoint(pts[i].x, pts[i].y, pts[i].z, static_cast<COLORREF>(i & 0xFFFFFF), 0.5);
    g->m_nDataFlag = 1;
    return g;
}

long ReadStatusKb(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(key.size()));
    return 0;
}

// Resets the peak (VmHWM) to the current resident size; returns that size in bytes.
double ResetPeak()
{
    malloc_trim(0); // freed blocks go back, so reuse of old heap does not hide new use
    std::ofstream("/proc/self/clear_refs") << "5";
    return ReadStatusKb("VmRSS") * 1024.0;
}

double PeakBytes()
{
    return ReadStatusKb("VmHWM") * 1024.0;
}

// --- TIN ------------------------------------------------------------------------

void BM_GenerateMesh(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    CModelDataMng store;
    auto g = MakeGroup(n);
    XTinOption option;
    option.m_nConsiderBreakLineSw = 0;
    option.m_nRemoveExcessiveTriangleSw = 0;
    int triangles = 0;
    for (auto _ : state) {
        triangles = g->GenerateMesh(&store, &option, 1);
        benchmark::DoNotOptimize(triangles);
    }
    state.counters["triangles"] = triangles;
}
BENCHMARK(BM_GenerateMesh)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_CgalDelaunay(benchmark::State& state)
{
    using K = CGAL::Exact_predicates_inexact_constructions_kernel;
    using Gt = CGAL::Projection_traits_xy_3<K>;
    using Vb = CGAL::Triangulation_vertex_base_with_info_2<std::uint32_t, Gt>;
    using Tds = CGAL::Triangulation_data_structure_2<Vb>;
    using Dt = CGAL::Delaunay_triangulation_2<Gt, Tds>;
    const auto n = static_cast<std::size_t>(state.range(0));
    const auto& pts = Points(n);
    std::size_t triangles = 0;
    for (auto _ : state) {
        std::vector<std::pair<K::Point_3, std::uint32_t>> input;
        input.reserve(n);
        for (std::size_t i = 0; i < n; ++i)
            input.emplace_back(K::Point_3(pts[i].x, pts[i].y, pts[i].z), static_cast<std::uint32_t>(i));
        Dt dt(input.begin(), input.end());
        std::vector<std::array<std::uint32_t, 3>> faces;
        faces.reserve(dt.number_of_faces());
        for (auto f = dt.finite_faces_begin(); f != dt.finite_faces_end(); ++f)
            faces.push_back({f->vertex(0)->info(), f->vertex(1)->info(), f->vertex(2)->info()});
        triangles = faces.size();
        benchmark::DoNotOptimize(faces.data());
    }
    state.counters["triangles"] = static_cast<double>(triangles);
}
BENCHMARK(BM_CgalDelaunay)->Arg(1000000)->Unit(benchmark::kMillisecond);

// --- grid filters ------------------------------------------------------------------

template <int Pick>
void BM_GridFilter(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    std::size_t kept = 0;
    for (auto _ : state) {
        state.PauseTiming();
        CModelDataMng store;
        store.AddGroup(MakeGroup(n));
        state.ResumeTiming();
        if (Pick == 0)
            store.FilterPointGridFilter(1.0f, 1.0f, 1.0f);
        else if (Pick == 1)
            store.FilterPointGridFilter_GridMinZ(1.0f, 1.0f, 1.0f);
        else
            store.FilterPointGridFilter_GridMaxZ(1.0f, 1.0f, 1.0f);
        kept = store.GetGroup(0)->m_points.size();
        state.PauseTiming();
        store.ClearGroups();
        state.ResumeTiming();
    }
    state.counters["kept"] = static_cast<double>(kept);
}
BENCHMARK(BM_GridFilter<0>)->Name("BM_GridFilter")->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GridFilter<1>)->Name("BM_GridFilterMinZ")->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GridFilter<2>)->Name("BM_GridFilterMaxZ")->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond)->Iterations(3);

// One std::sort of the same points' 64-bit cell keys (1 m cells).
void BM_SortCellKeys(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    const auto& pts = Points(n);
    std::vector<std::uint64_t> keys(n);
    for (auto _ : state) {
        state.PauseTiming();
        for (std::size_t i = 0; i < n; ++i) {
            const auto cx = static_cast<std::uint64_t>(std::floor(pts[i].x));
            const auto cy = static_cast<std::uint64_t>(std::floor(pts[i].y));
            const auto cz = static_cast<std::uint64_t>(std::floor(pts[i].z));
            keys[i] = (cx * 1001 + cy) * 128 + cz;
        }
        state.ResumeTiming();
        std::sort(keys.begin(), keys.end());
        benchmark::DoNotOptimize(keys.data());
    }
}
BENCHMARK(BM_SortCellKeys)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond)->Iterations(3);

// --- neighbour filters -----------------------------------------------------------------

struct RawAdaptor {
    const std::vector<RawPoint>& pts;
    std::size_t n;
    std::size_t kdtree_get_point_count() const { return n; }
    float kdtree_get_pt(std::uint32_t i, std::size_t d) const { return d == 0 ? pts[i].x : (d == 1 ? pts[i].y : pts[i].z); }
    template <class B>
    bool kdtree_get_bbox(B&) const { return false; }
};
using RawTree = nanoflann::KDTreeSingleIndexAdaptor<nanoflann::L2_Simple_Adaptor<float, RawAdaptor, float, std::uint32_t>,
                                                    RawAdaptor, 3, std::uint32_t>;

// Times one neighbour filter on the group make() gives, with its peak memory over
// the cloud's own size and the points it kept.
template <bool Outlier, class MakeGroupFn>
void TimeNeighbourFilter(benchmark::State& state, std::size_t n, int k, float radius, int minPoints, MakeGroupFn make)
{
    std::size_t kept = 0;
    double peakOverCloud = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        CModelDataMng store;
        store.AddGroup(make());
        const double before = ResetPeak();
        state.ResumeTiming();
        if (Outlier)
            store.FilterPointOutlierRemoval(k, 1.0f);
        else
            store.FilterPointRadius(radius, minPoints);
        state.PauseTiming();
        peakOverCloud = (PeakBytes() - before) / (kCloudBytesPerPoint * static_cast<double>(n));
        kept = store.GetGroup(0)->m_points.size();
        store.ClearGroups();
        state.ResumeTiming();
    }
    state.counters["kept"] = static_cast<double>(kept);
    state.counters["peak_over_cloud"] = peakOverCloud;
    state.counters["extra_bytes_per_point"] = peakOverCloud * kCloudBytesPerPoint;
}

template <bool Outlier>
void BM_NeighbourFilter(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    TimeNeighbourFilter<Outlier>(state, n, 50, 2.0f, 5, [n] { return MakeGroup(n); });
}
BENCHMARK(BM_NeighbourFilter<true>)->Name("BM_OutlierFilter")->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_NeighbourFilter<false>)->Name("BM_RadiusFilter")->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(2);

// --- neighbour filters and the order of the points --------------------------------------
//
// Points as they arrive after merging several scans (random order), and the same points
// sorted into 8 m tiles: x, y uniform over 1000 m x 1000 m, z a gentle slope with 0.2 m
// noise. The floor is bare nanoflann at each filter's leaf size and thread count: the
// tree built and every point queried in sorted order, both timed.

constexpr std::size_t kOutlierLeafSize = 64;
constexpr std::size_t kRadiusLeafSize = 32;
constexpr int kOutlierK = 50;
constexpr float kRadius = 2.0f;
constexpr int kRadiusMinPoints = 5;

const std::vector<RawPoint>& OrderPoints(std::size_t n, bool sorted)
{
    static std::map<std::pair<std::size_t, bool>, std::vector<RawPoint>> cache;
    auto& pts = cache[{n, sorted}];
    if (pts.empty()) {
        std::mt19937_64 rng(20261211);
        std::uniform_real_distribution<float> xy(0.0f, 1000.0f);
        std::normal_distribution<float> noise(0.0f, 0.2f);
        pts.reserve(n);
        for (std::size_t i = 0; i < n; ++i) {
            const float x = xy(rng);
            const float y = xy(rng);
            pts.push_back({x, y, 50.0f + 0.01f * x + 0.02f * y + noise(rng)});
        }
        if (sorted) {
            std::sort(pts.begin(), pts.end(), [](const RawPoint& a, const RawPoint& b) {
                const int ta = static_cast<int>(a.x / 8.0f) * 1000 + static_cast<int>(a.y / 8.0f);
                const int tb = static_cast<int>(b.x / 8.0f) * 1000 + static_cast<int>(b.y / 8.0f);
                return ta != tb ? ta < tb : (a.x != b.x ? a.x < b.x : a.y < b.y);
            });
        }
    }
    return pts;
}

template <bool Outlier, bool Sorted>
void BM_NeighbourOrder(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    const auto& pts = OrderPoints(n, Sorted);
    TimeNeighbourFilter<Outlier>(state, n, kOutlierK, kRadius, kRadiusMinPoints, [&] {
        auto g = std::make_unique<CPCloudMng>();
        g->ReserveCloudPoint(n);
        for (std::size_t i = 0; i < n; ++i) g->AddCloudPoint(pts[i].x, pts[i].y, pts[i].z, 0, 0.5);
        g->m_nDataFlag = 1;
        return g;
    });
}
BENCHMARK(BM_NeighbourOrder<true, false>)->Name("BM_OutlierShuffled")->Arg(1000000)->Arg(10000000)
    ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_NeighbourOrder<true, true>)->Name("BM_OutlierSorted")->Arg(10000000)
    ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_NeighbourOrder<false, false>)->Name("BM_RadiusShuffled")->Arg(1000000)->Arg(10000000)
    ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_NeighbourOrder<false, true>)->Name("BM_RadiusSorted")->Arg(10000000)
    ->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

template <bool Outlier>
void BM_NeighbourFloor(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    const auto& pts = OrderPoints(n, true);
    for (auto _ : state) {
        const RawAdaptor adaptor{pts, n};
        RawTree tree(3, adaptor, nanoflann::KDTreeSingleIndexAdaptorParams(Outlier ? kOutlierLeafSize : kRadiusLeafSize));
        std::atomic<std::size_t> total{0};
        tessara::RunParts(tessara::WorkerCount(), [&](std::size_t part) {
            const std::size_t parts = tessara::WorkerCount();
            std::vector<std::uint32_t> idx(kOutlierK + 1);
            std::vector<float> dist(kOutlierK + 1);
            std::vector<std::pair<std::uint32_t, float>> matches;
            std::size_t local = 0;
            for (std::size_t i = n * part / parts; i < n * (part + 1) / parts; ++i) {
                const float q[3] = {pts[i].x, pts[i].y, pts[i].z};
                if (Outlier) {
                    tree.knnSearch(q, kOutlierK + 1, idx.data(), dist.data());
                    local += dist[kOutlierK] > 1.0f ? 1 : 0;
                } else {
                    local += tree.radiusSearch(q, kRadius * kRadius, matches, nanoflann::SearchParams(32, 0.0f, false)) >
                                     static_cast<std::size_t>(kRadiusMinPoints)
                                 ? 1
                                 : 0;
                }
            }
            total += local;
        });
        benchmark::DoNotOptimize(total.load());
    }
}
BENCHMARK(BM_NeighbourFloor<true>)->Name("BM_OutlierFloor")->Arg(10000000)->Unit(benchmark::kMillisecond)
    ->Iterations(1)->UseRealTime();
BENCHMARK(BM_NeighbourFloor<false>)->Name("BM_RadiusFloor")->Arg(10000000)->Unit(benchmark::kMillisecond)
    ->Iterations(1)->UseRealTime();

void BM_NanoflannKnn(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    const auto& pts = Points(n);
    for (auto _ : state) {
        const RawAdaptor adaptor{pts, n};
        RawTree tree(3, adaptor, nanoflann::KDTreeSingleIndexAdaptorParams(10));
        std::vector<std::uint32_t> idx(51);
        std::vector<float> dist(51);
        double total = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            const float q[3] = {pts[i].x, pts[i].y, pts[i].z};
            tree.knnSearch(q, 51, idx.data(), dist.data());
            total += dist[50];
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_NanoflannKnn)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_NanoflannRadius(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    const auto& pts = Points(n);
    for (auto _ : state) {
        const RawAdaptor adaptor{pts, n};
        RawTree tree(3, adaptor, nanoflann::KDTreeSingleIndexAdaptorParams(10));
        std::vector<std::pair<std::uint32_t, float>> matches;
        std::size_t total = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const float q[3] = {pts[i].x, pts[i].y, pts[i].z};
            total += tree.radiusSearch(q, 4.0f, matches, nanoflann::SearchParams(32, 0.0f, false)) > 5 ? 1 : 0;
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_NanoflannRadius)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(2);

// --- store memory -------------------------------------------------------------------

void BM_StoreFill(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    Points(n);
    double perPoint = 0.0;
    double heldPerPoint = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        const double before = ResetPeak();
        state.ResumeTiming();
        CModelDataMng store;
        store.AddGroup(MakeGroup(n));
        store.GetGroup(0)->CreateGrid();
        state.PauseTiming();
        perPoint = (PeakBytes() - before) / static_cast<double>(n);
        const CPCloudMng& g = *store.GetGroup(0);
        double held = static_cast<double>(g.m_points.capacity() * sizeof(CPCloudMng::CloudPoint));
        for (const GridCell& c : g.m_grid)
            held += sizeof(GridCell) + c.indices.capacity() * sizeof(std::uint32_t);
        heldPerPoint = held / static_cast<double>(n);
        store.ClearGroups();
        state.ResumeTiming();
    }
    state.counters["peak_bytes_per_point"] = perPoint;
    state.counters["held_bytes_per_point"] = heldPerPoint;
}
BENCHMARK(BM_StoreFill)->Arg(10000000)->Unit(benchmark::kMillisecond)->Iterations(2);

// The two halves of a load: appending the points, then building the grid.
void BM_AddCloudPoints(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    Points(n);
    for (auto _ : state) {
        auto g = MakeGroup(n);
        benchmark::DoNotOptimize(g->m_points.data());
        state.PauseTiming();
        g.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddCloudPoints)->Arg(10000000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CreateGrid(benchmark::State& state)
{
    const auto n = static_cast<std::size_t>(state.range(0));
    auto g = MakeGroup(n);
    for (auto _ : state) {
        g->CreateGrid();
        benchmark::DoNotOptimize(g->m_grid.data());
    }
    state.counters["cells"] = static_cast<double>(g->m_grid.size());
}
BENCHMARK(BM_CreateGrid)->Arg(10000000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
