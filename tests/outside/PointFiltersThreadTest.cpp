// The neighbour filters split their queries over threads; these runs meet in our
// own code, so they also run under ThreadSanitizer.
#include "outside/CModelDataMng.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>

#include "platform/Parallel.h"
#include <map>
#include <random>
#include <vector>

namespace {

std::unique_ptr<CPCloudMng> RandomGroup(std::size_t n, unsigned seed, float extent)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> u(-extent, extent);
    auto g = std::make_unique<CPCloudMng>();
    for (std::size_t i = 0; i < n; ++i)
        g->AddCloudPoint(u(rng), u(rng), u(rng) * 0.2f, static_cast<COLORREF>(i + 1), 0.0);
    g->m_nDataFlag = 1;
    return g;
}

TEST(NeighbourFilterTest, ProgressIsBoundedAndCancelKeepsTheCloud)
{
    for (const bool outlier : {false, true}) {
        CModelDataMng store;
        store.AddGroup(RandomGroup(50000, 3, 50.0f));
        std::vector<double> seen;
        const auto record = [&seen](double p) {
            seen.push_back(p);
            return true;
        };
        ASSERT_EQ(outlier ? store.FilterPointOutlierRemoval(8, 2.0f, record) : store.FilterPointRadius(1.0f, 1, record), 1);
        EXPECT_LE(seen.size(), 110u);
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        EXPECT_EQ(seen.back(), 100.0);

        CModelDataMng cancelled;
        cancelled.AddGroup(RandomGroup(50000, 3, 50.0f));
        // Helper threads may finish most of the work before the caller reports;
        // the first report already asks to stop.
        const auto stopSoon = [](double) { return false; };
        EXPECT_EQ(outlier ? cancelled.FilterPointOutlierRemoval(8, 2.0f, stopSoon)
                          : cancelled.FilterPointRadius(1.0f, 1, stopSoon),
                  0);
        EXPECT_EQ(cancelled.GetGroup(0)->GetCloudPointSize(), 50000);
    }
}

TEST(GridFilterPartsTest, LargeCloudMatchesCellByCellAnswer)
{
    // Large enough that bounds, keys and histograms are worked out in parts.
    CModelDataMng store;
    store.AddGroup(RandomGroup(700000, 5, 200.0f));
    const CPCloudMng& g = *store.GetGroup(0);
    std::map<std::array<long long, 3>, std::size_t> lowest;
    const double per = 1.0 / static_cast<double>(1.5f);
    for (std::size_t i = 0; i < g.m_points.size(); ++i) {
        const auto& p = g.m_points[i];
        const std::array<long long, 3> cell = {static_cast<long long>(std::floor(p.x * per)),
                                               static_cast<long long>(std::floor(p.y * per)),
                                               static_cast<long long>(std::floor(p.z * per))};
        const auto it = lowest.find(cell);
        if (it == lowest.end() || p.z < g.m_points[it->second].z)
            lowest[cell] = i;
    }
    std::vector<std::uint8_t> keep(g.m_points.size(), 0);
    for (const auto& [cell, index] : lowest)
        keep[index] = 1;
    std::vector<COLORREF> expected;
    for (std::size_t i = 0; i < keep.size(); ++i)
        if (keep[i])
            expected.push_back(g.m_points[i].colour);

    ASSERT_EQ(store.FilterPointGridFilter_GridMinZ(1.5f, 1.5f, 1.5f), 1);
    const CPCloudMng& after = *store.GetGroup(0);
    ASSERT_EQ(after.m_points.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(after.m_points[i].colour, expected[i]) << i;
}

TEST(GridPartsTest, LargeGridListsEveryPointOnceInOrderWithBounds)
{
    auto g = RandomGroup(700000, 9, 500.0f);
    g->CreateGrid();
    std::vector<int> seen(g->m_points.size(), 0);
    for (const GridCell& cell : g->m_grid) {
        ASSERT_TRUE(std::is_sorted(cell.indices.begin(), cell.indices.end()));
        for (std::uint32_t i : cell.indices) {
            ++seen[i];
            const auto& p = g->m_points[i];
            ASSERT_TRUE(p.x >= cell.minX && p.x <= cell.maxX && p.y >= cell.minY && p.y <= cell.maxY && p.z >= cell.minZ &&
                        p.z <= cell.maxZ);
        }
    }
    EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](int s) { return s == 1; }));
    float lo = g->m_points[0].x;
    for (const auto& p : g->m_points)
        lo = std::min(lo, p.x);
    EXPECT_EQ(g->GetPCloudMinX(), lo);
}

TEST(NeighbourFilterTest, SameAnswerAsOneThreadWould)
{
    // Two runs on the same cloud keep the same points: the split does not matter.
    CModelDataMng a, b;
    a.AddGroup(RandomGroup(30000, 11, 30.0f));
    b.AddGroup(RandomGroup(30000, 11, 30.0f));
    ASSERT_EQ(a.FilterPointOutlierRemoval(10, 1.0f), 1);
    ASSERT_EQ(b.FilterPointOutlierRemoval(10, 1.0f), 1);
    ASSERT_EQ(a.GetGroup(0)->GetCloudPointSize(), b.GetGroup(0)->GetCloudPointSize());
    for (int i = 0; i < a.GetGroup(0)->GetCloudPointSize(); ++i)
        ASSERT_EQ(a.GetGroup(0)->m_points[i].colour, b.GetGroup(0)->m_points[i].colour);
}

} // namespace

namespace {

// Every filter keeps exactly the same points whatever the number of workers.
TEST(FilterWorkerCountTest, OneTwoAndAllWorkersKeepTheSamePoints)
{
    using Filter = std::function<int(CModelDataMng&)>;
    const std::vector<std::pair<const char*, Filter>> filters = {
        {"grid", [](CModelDataMng& s) { return s.FilterPointGridFilter(2.0f, 2.0f, 2.0f); }},
        {"grid_min_z", [](CModelDataMng& s) { return s.FilterPointGridFilter_GridMinZ(2.0f, 2.0f, 2.0f); }},
        {"radius", [](CModelDataMng& s) { return s.FilterPointRadius(0.8f, 3); }},
        {"outlier", [](CModelDataMng& s) { return s.FilterPointOutlierRemoval(8, 1.0f); }},
    };
    for (const auto& [name, filter] : filters) {
        std::vector<std::vector<COLORREF>> kept;
        for (const std::size_t workers : {1u, 2u, 0u}) {
            const std::size_t previous = tessara::SetWorkerCount(workers);
            CModelDataMng store;
            store.AddGroup(RandomGroup(600000, 11, 150.0f));
            EXPECT_EQ(filter(store), 1) << name;
            tessara::SetWorkerCount(previous);
            std::vector<COLORREF> ids;
            for (const auto& p : store.GetGroup(0)->m_points) ids.push_back(p.colour);
            kept.push_back(std::move(ids));
        }
        EXPECT_LT(kept[0].size(), 600000u) << name << " removed nothing: the case proves little";
        EXPECT_EQ(kept[0], kept[1]) << name;
        EXPECT_EQ(kept[0], kept[2]) << name;
    }
}

}  // namespace

namespace {

// A scanner's order (shuffled) and a sorted one keep the same points: the queries'
// order is the filter's own business.
TEST(NeighbourFilterOrderTest, ShuffledAndSortedInputKeepTheSamePoints)
{
    auto sorted = RandomGroup(200000, 17, 100.0f);
    std::sort(sorted->m_points.begin(), sorted->m_points.end(), [](const auto& a, const auto& b) {
        const long ax = std::lround(a.x / 8), bx = std::lround(b.x / 8);
        return ax != bx ? ax < bx : (a.y != b.y ? a.y < b.y : a.colour < b.colour);
    });
    auto shuffled = std::make_unique<CPCloudMng>();
    std::vector<CPCloudMng::CloudPoint> points(sorted->m_points.begin(), sorted->m_points.end());
    std::shuffle(points.begin(), points.end(), std::mt19937(5));
    for (const auto& p : points) shuffled->AddCloudPoint(p.x, p.y, p.z, p.colour, p.intensity);
    shuffled->m_nDataFlag = 1;

    for (const bool outlier : {false, true}) {
        std::vector<std::vector<COLORREF>> kept;
        for (CPCloudMng* source : {sorted.get(), shuffled.get()}) {
            CModelDataMng store;
            auto copy = std::make_unique<CPCloudMng>();
            for (const auto& p : source->m_points) copy->AddCloudPoint(p.x, p.y, p.z, p.colour, p.intensity);
            copy->m_nDataFlag = 1;
            store.AddGroup(std::move(copy));
            ASSERT_EQ(outlier ? store.FilterPointOutlierRemoval(20, 1.0f) : store.FilterPointRadius(0.9f, 4), 1);
            std::vector<COLORREF> ids;
            for (const auto& p : store.GetGroup(0)->m_points) ids.push_back(p.colour);
            std::sort(ids.begin(), ids.end());
            kept.push_back(ids);
        }
        EXPECT_LT(kept[0].size(), 200000u) << "outlier " << outlier;
        EXPECT_GT(kept[0].size(), 0u) << "outlier " << outlier;
        EXPECT_EQ(kept[0], kept[1]) << "outlier " << outlier;
    }
}

}  // namespace

namespace {

// Large clouds take the filters' two-pass copy (grouped, then sorted group by group
// in worker buffers); every answer still lands at its own point. The count is worked
// out over a hash of 1 m cells with nanoflann's own float arithmetic, so it is exact.
TEST(NeighbourFilterOrderTest, LargeCloudsAnswerEveryPointAtItsOwnPlace)
{
    constexpr float kRadius = 0.6f;
    constexpr int kMinPoints = 4;
    const auto cloud = RandomGroup(160000, 23, 30.0f);
    const auto& pts = cloud->m_points;
    std::map<std::array<long, 3>, std::vector<std::size_t>> cells;
    const auto cellOf = [](const CPCloudMng::CloudPoint& p) {
        return std::array<long, 3>{std::lround(std::floor(p.x)), std::lround(std::floor(p.y)), std::lround(std::floor(p.z))};
    };
    for (std::size_t i = 0; i < pts.size(); ++i)
        cells[cellOf(pts[i])].push_back(i);
    std::vector<COLORREF> expected;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const auto c = cellOf(pts[i]);
        int near = 0;
        for (long dx = -1; dx <= 1; ++dx)
            for (long dy = -1; dy <= 1; ++dy)
                for (long dz = -1; dz <= 1; ++dz) {
                    const auto it = cells.find({c[0] + dx, c[1] + dy, c[2] + dz});
                    if (it == cells.end())
                        continue;
                    for (const std::size_t j : it->second) {
                        const float ex = pts[i].x - pts[j].x, ey = pts[i].y - pts[j].y, ez = pts[i].z - pts[j].z;
                        float d = 0.0f;
                        d += ex * ex;
                        d += ey * ey;
                        d += ez * ez;
                        near += j != i && d <= kRadius * kRadius ? 1 : 0;
                    }
                }
        if (near >= kMinPoints)
            expected.push_back(pts[i].colour);
    }
    EXPECT_LT(expected.size(), 160000u);
    EXPECT_GT(expected.size(), 1000u);
    for (const std::size_t workers : {1u, 3u, 8u}) {
        const std::size_t previous = tessara::SetWorkerCount(workers);
        auto group = RandomGroup(160000, 23, 30.0f);
        CModelDataMng store;
        store.AddGroup(std::move(group));
        EXPECT_EQ(store.FilterPointRadius(kRadius, kMinPoints), 1);
        tessara::SetWorkerCount(previous);
        std::vector<COLORREF> kept;
        for (const auto& p : store.GetGroup(0)->m_points) kept.push_back(p.colour);
        EXPECT_EQ(kept, expected) << workers << " workers";
    }
}

}  // namespace
