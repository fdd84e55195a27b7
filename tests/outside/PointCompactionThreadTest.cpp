// Removing points from a group compacts its array in parts on worker threads and
// rebuilds its grid over the memory of the old one; these runs also go under
// ThreadSanitizer.
#include "outside/CPCloudMng.h"
#include "platform/Parallel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

namespace {

// Enough points that the compaction and the grid work in three parts.
constexpr std::size_t kPoints = 800000;

// Two dense clusters on a sparse background, so that the grid's cells differ much
// in size; each point's colour is its number.
void FillClustered(CPCloudMng& g, std::size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> plan(0.0f, 1000.0f), near(0.0f, 40.0f), z(-5.0f, 5.0f);
    g.ReserveCloudPoint(n);
    for (std::size_t i = 0; i < n; ++i) {
        float x = plan(rng), y = plan(rng);
        if (i % 3 == 1)
            x = 100.0f + near(rng), y = 700.0f + near(rng);
        else if (i % 3 == 2)
            x = 800.0f + near(rng), y = 50.0f + near(rng);
        g.AddCloudPoint(x, y, z(rng), static_cast<COLORREF>(i), 0.001 * static_cast<double>(i % 977));
    }
    g.m_nDataFlag = 1;
}

// Each cell of a group's grid as one record: the bits of its box, then its indices.
std::vector<std::vector<std::uint32_t>> CellRecords(const CPCloudMng& g)
{
    std::vector<std::vector<std::uint32_t>> records;
    for (const GridCell& cell : g.m_grid) {
        const float box[6] = {cell.minX, cell.minY, cell.minZ, cell.maxX, cell.maxY, cell.maxZ};
        std::vector<std::uint32_t>& r = records.emplace_back(6);
        std::memcpy(r.data(), box, sizeof box);
        r.insert(r.end(), cell.indices.begin(), cell.indices.end());
    }
    return records;
}

// Runs the parallel passes with a given number of workers for one scope.
struct Workers {
    explicit Workers(std::size_t count) : previous(tessara::SetWorkerCount(count)) {}
    ~Workers() { tessara::SetWorkerCount(previous); }
    Workers(const Workers&) = delete;
    Workers& operator=(const Workers&) = delete;
    std::size_t previous;
};

// The group CreateGrid makes from exactly these points, built afresh.
void ExpectSameAsFresh(const CPCloudMng& got, const CPCloudMng::PointList& points)
{
    CPCloudMng fresh;
    fresh.m_points = points;
    fresh.CreateGrid();
    ASSERT_EQ(got.m_points.size(), points.size());
    EXPECT_TRUE(points.empty() ||
                std::memcmp(got.m_points.data(), points.data(), points.size() * sizeof(CPCloudMng::CloudPoint)) == 0);
    const float gotBounds[6] = {got.GetPCloudMinX(), got.GetPCloudMinY(), got.GetPCloudMinZ(),
                                got.GetPCloudMaxX(), got.GetPCloudMaxY(), got.GetPCloudMaxZ()};
    const float freshBounds[6] = {fresh.GetPCloudMinX(), fresh.GetPCloudMinY(), fresh.GetPCloudMinZ(),
                                  fresh.GetPCloudMaxX(), fresh.GetPCloudMaxY(), fresh.GetPCloudMaxZ()};
    EXPECT_EQ(std::memcmp(gotBounds, freshBounds, sizeof gotBounds), 0);
    EXPECT_EQ(got.GetPCloudMinIntensity(), fresh.GetPCloudMinIntensity());
    EXPECT_EQ(got.GetPCloudMaxIntensity(), fresh.GetPCloudMaxIntensity());
    ASSERT_EQ(got.m_grid.size(), fresh.m_grid.size());
    EXPECT_TRUE(CellRecords(got) == CellRecords(fresh));
}

struct MarkCase {
    const char* name;
    std::function<bool(std::size_t)> marked;  // by point number
    std::size_t markedWords;                  // words passed; fewer leave the rest unmarked
    std::function<bool(std::size_t)> nanBefore = {};  // marked by SetCloudPointNaN first
};

} // namespace

TEST(PointCompactionTest, MarkedPointsGoAndTheRestKeepTheirOrderBoundsAndGrid)
{
    const std::size_t allWords = (kPoints + 63) / 64;
    std::mt19937 rng(11);
    std::vector<std::uint8_t> coin(kPoints);
    for (auto& c : coin)
        c = static_cast<std::uint8_t>(rng() % 100);
    const MarkCase cases[] = {
        {"every other", [](std::size_t i) { return i % 2 == 0; }, allWords},
        {"first half", [](std::size_t i) { return i < kPoints / 2; }, allWords},
        {"half at random", [&](std::size_t i) { return coin[i] < 50; }, allWords},
        {"nearly all", [&](std::size_t i) { return coin[i] != 7; }, allWords},
        {"a cluster", [](std::size_t i) { return i % 3 == 1; }, allWords},
        {"all", [](std::size_t) { return true; }, allWords},
        {"none, some NaN before", [](std::size_t) { return false; }, allWords,
         [](std::size_t i) { return i % 1000 == 3; }},
        {"marks and NaN", [&](std::size_t i) { return coin[i] < 30; }, allWords,
         [&](std::size_t i) { return coin[i] > 95; }},
        {"short marks", [](std::size_t) { return true; }, 100},
        {"no marks", [](std::size_t) { return true; }, 0},
    };
    const Workers scope(3);
    for (const MarkCase& c : cases) {
        SCOPED_TRACE(c.name);
        CPCloudMng g;
        FillClustered(g, kPoints, 5);
        g.CreateGrid();
        std::vector<std::uint64_t> marks(c.markedWords, 0);
        CPCloudMng::PointList expected;
        for (std::size_t i = 0; i < kPoints; ++i) {
            const bool nan = c.nanBefore && c.nanBefore(i);
            if (nan)
                g.SetCloudPointNaN(static_cast<std::int64_t>(i));
            const bool mark = i / 64 < marks.size() && c.marked(i);
            if (mark)
                marks[i / 64] |= std::uint64_t{1} << (i % 64);
            if (!mark && !nan)
                expected.push_back(g.m_points[i]);
        }
        EXPECT_EQ(g.DeleteMarkedCloudPoints(marks), static_cast<int>(kPoints - expected.size()));
        ExpectSameAsFresh(g, expected);
    }
}

TEST(PointCompactionTest, KeepFlagsAndNaNMarksCompactInParts)
{
    const Workers scope(3);
    CPCloudMng flagged;
    FillClustered(flagged, kPoints, 9);
    std::vector<std::uint8_t> keep(kPoints);
    CPCloudMng::PointList expected;
    for (std::size_t i = 0; i < kPoints; ++i) {
        keep[i] = static_cast<std::uint8_t>(i % 5 != 0 && i % 7 != 0);
        if (keep[i])
            expected.push_back(flagged.m_points[i]);
    }
    flagged.CompactCloudPoints(keep);
    EXPECT_TRUE(flagged.m_grid.empty());
    flagged.CreateGrid();
    ExpectSameAsFresh(flagged, expected);

    CPCloudMng marked;
    FillClustered(marked, kPoints, 9);
    for (std::size_t i = 0; i < kPoints; ++i)
        if (!keep[i])
            marked.SetCloudPointNaN(static_cast<std::int64_t>(i));
    EXPECT_EQ(marked.DeleteCloudPointNaN(), static_cast<int>(kPoints - expected.size()));
    EXPECT_TRUE(marked.m_grid.empty());
    marked.CreateGrid();
    ExpectSameAsFresh(marked, expected);
}

// A grid built again over changed points (fewer, more, elsewhere) is the grid a
// group holding only those points gets.
TEST(PointCompactionTest, RebuiltGridMatchesAFreshOne)
{
    const Workers scope(3);
    CPCloudMng g;
    FillClustered(g, kPoints, 21);
    g.CreateGrid();
    // Grows: points far off widen the bounds and change every cell.
    for (int i = 0; i < 300000; ++i)
        g.AddCloudPoint(2000.0f + static_cast<float>(i % 500), -300.0f + static_cast<float>(i / 500), 1.0f, 0, 0.0);
    g.CreateGrid();
    ExpectSameAsFresh(g, g.m_points);
    // Shrinks to a few points, then to none.
    g.m_points.resize(5000);
    g.CreateGrid();
    ExpectSameAsFresh(g, g.m_points);
    g.m_points.clear();
    g.CreateGrid();
    EXPECT_TRUE(g.m_grid.empty());
}
