#include "outside/CModelDataMng.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct P {
    float x, y, z;
    COLORREF colour;
};

std::unique_ptr<CPCloudMng> Group(const std::vector<P>& pts)
{
    auto g = std::make_unique<CPCloudMng>();
    for (const P& p : pts)
        g->AddCloudPoint(p.x, p.y, p.z, p.colour, p.colour * 0.5);
    g->m_nDataFlag = 1;
    return g;
}

std::vector<COLORREF> Colours(const CPCloudMng& g)
{
    std::vector<COLORREF> out;
    for (const auto& p : g.m_points)
        out.push_back(p.colour);
    return out;
}

// Two 1 m cells in x: cell 0 holds colours 1..3, cell 1 holds 4..5.
const std::vector<P> kTwoCells = {
    {0.2f, 0.5f, 5.0f, 1}, {0.7f, 0.1f, 2.0f, 2}, {1.5f, 0.5f, 9.0f, 4}, {0.9f, 0.9f, 7.0f, 3}, {1.1f, 0.2f, 1.0f, 5},
};

TEST(GridFilterTest, FirstLowestHighestOfEachCell)
{
    struct Case {
        int (CModelDataMng::*filter)(float, float, float, const OutsideProgressFn&);
        std::vector<COLORREF> kept;
    };
    const Case cases[] = {
        {&CModelDataMng::FilterPointGridFilter, {1, 4}},
        {&CModelDataMng::FilterPointGridFilter_GridMinZ, {2, 5}},
        {&CModelDataMng::FilterPointGridFilter_GridMaxZ, {4, 3}},
    };
    for (const Case& c : cases) {
        CModelDataMng store;
        store.AddGroup(Group(kTwoCells));
        ASSERT_EQ((store.*c.filter)(1.0f, 1.0f, 100.0f, {}), 1);
        const CPCloudMng& g = *store.GetGroup(0);
        EXPECT_EQ(Colours(g), c.kept); // original records, original order
        EXPECT_EQ(g.m_points[0].intensity, c.kept[0] * 0.5);
    }
}

TEST(GridFilterTest, BoundsRecomputedAndHiddenGroupsUntouched)
{
    CModelDataMng store;
    store.AddGroup(Group(kTwoCells));
    store.AddGroup(Group(kTwoCells));
    store.GetGroup(1)->m_nShowGroup = 0;
    ASSERT_EQ(store.FilterPointGridFilter_GridMinZ(1.0f, 1.0f, 100.0f), 1);
    EXPECT_EQ(store.GetGroup(0)->GetPCloudMaxZ(), 2.0f);
    EXPECT_EQ(store.GetGroup(0)->GetPCloudMaxX(), 1.1f);
    EXPECT_EQ(store.GetGroup(1)->GetCloudPointSize(), 5);
}

TEST(GridFilterTest, TinyCellsDoNotOverflowKeys)
{
    // 1e-4 m cells over a 2 km extent: 2e7 cells an axis, more than 64 bits in all.
    CModelDataMng store;
    store.AddGroup(Group({{0, 0, 0, 1}, {2000, 2000, 2000, 2}, {0, 0, 0, 3}, {1000, 1000, 1000, 4}}));
    ASSERT_EQ(store.FilterPointGridFilter(1e-4f, 1e-4f, 1e-4f), 1);
    EXPECT_EQ(Colours(*store.GetGroup(0)), (std::vector<COLORREF>{1, 2, 4}));

    // The lowest point per cell, with keys of more than 32 bits and with keys that
    // do not fit 64 bits.
    for (const float lz : {1e4f, 1e-5f}) {
        CModelDataMng low;
        low.AddGroup(Group({{0, 0, 1e-6f, 1}, {2000, 2000, 2000, 2}, {0, 0, 0, 3}}));
        ASSERT_EQ(low.FilterPointGridFilter_GridMinZ(1e-5f, 1e-5f, lz), 1);
        EXPECT_EQ(Colours(*low.GetGroup(0)), (std::vector<COLORREF>{2, 3})) << lz;
    }
}

TEST(GridFilterTest, BadSizesAndCancelLeaveGroupsAsTheyWere)
{
    for (const float bad : {0.0f, -1.0f, NAN, INFINITY}) {
        CModelDataMng store;
        store.AddGroup(Group(kTwoCells));
        EXPECT_EQ(store.FilterPointGridFilter(bad, 1.0f, 1.0f), 0);
        EXPECT_EQ(store.GetGroup(0)->GetCloudPointSize(), 5);
    }
    CModelDataMng store;
    store.AddGroup(Group(kTwoCells));
    store.AddGroup(Group(kTwoCells));
    int calls = 0;
    // Stop while the second group is worked on: the first must not change either.
    EXPECT_EQ(store.FilterPointGridFilter(1, 1, 1, [&calls](double p) { return ++calls < 5 || p < 50.0; }), 0);
    EXPECT_EQ(store.GetGroup(0)->GetCloudPointSize(), 5);
    EXPECT_EQ(store.GetGroup(1)->GetCloudPointSize(), 5);
    EXPECT_EQ(store.FilterPointGridFilter(1, 1, 1), 1); // an empty store or group is fine
}

TEST(RadiusFilterTest, KeepsPointsWithEnoughNeighbours)
{
    // A cluster of 4 points 0.1 m apart, a pair 5 m away, a loner.
    CModelDataMng store;
    store.AddGroup(Group({{0, 0, 0, 1}, {0.1f, 0, 0, 2}, {0, 0.1f, 0, 3}, {0.1f, 0.1f, 0, 4},
                          {5, 5, 0, 5}, {5.1f, 5, 0, 6}, {20, 20, 0, 7}}));
    ASSERT_EQ(store.FilterPointRadius(0.5f, 2), 1);
    EXPECT_EQ(Colours(*store.GetGroup(0)), (std::vector<COLORREF>{1, 2, 3, 4}));

    CModelDataMng one;
    one.AddGroup(Group({{5, 5, 0, 5}, {5.1f, 5, 0, 6}, {20, 20, 0, 7}}));
    ASSERT_EQ(one.FilterPointRadius(0.5f, 1), 1);
    EXPECT_EQ(Colours(*one.GetGroup(0)), (std::vector<COLORREF>{5, 6}));
    EXPECT_EQ(one.FilterPointRadius(0.0f, 1), 0);
    EXPECT_EQ(one.FilterPointRadius(1.0f, -1), 0);
}

TEST(OutlierFilterTest, RemovesFarPoint)
{
    std::vector<P> pts;
    COLORREF c = 1;
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j)
            pts.push_back({static_cast<float>(i), static_cast<float>(j), 0.0f, c++});
    pts.push_back({100.0f, 100.0f, 0.0f, 999});
    CModelDataMng store;
    store.AddGroup(Group(pts));
    ASSERT_EQ(store.FilterPointOutlierRemoval(8, 1.0f), 1);
    const auto colours = Colours(*store.GetGroup(0));
    EXPECT_EQ(std::count(colours.begin(), colours.end(), 999u), 0);
    EXPECT_GE(colours.size(), 90u);
    EXPECT_EQ(store.FilterPointOutlierRemoval(0, 1.0f), 0);
}

TEST(OutlierFilterTest, FewPointsAndDuplicatesAreKept)
{
    CModelDataMng store;
    store.AddGroup(Group({{0, 0, 0, 1}, {0, 0, 0, 2}}));
    ASSERT_EQ(store.FilterPointOutlierRemoval(50, 1.0f), 1);
    EXPECT_EQ(store.GetGroup(0)->GetCloudPointSize(), 2);
    CModelDataMng same;
    same.AddGroup(Group({{1, 1, 1, 1}, {1, 1, 1, 2}, {1, 1, 1, 3}, {1, 1, 1, 4}}));
    ASSERT_EQ(same.FilterPointOutlierRemoval(2, 0.0f), 1);
    EXPECT_EQ(same.GetGroup(0)->GetCloudPointSize(), 4);
}

} // namespace

namespace {

std::vector<P> RandomCloud(std::size_t n, unsigned seed, float extent)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<float> u(-extent, extent);
    std::vector<P> pts;
    for (std::size_t i = 0; i < n; ++i)
        pts.push_back({u(rng), u(rng), u(rng) * 0.2f, static_cast<COLORREF>(i + 1)});
    return pts;
}

// The outlier filter's limit: mean + factor x (sample) standard deviation.
double OutlierLimit(const std::vector<double>& means, double factor)
{
    double mean = 0.0, var = 0.0;
    for (double m : means)
        mean += m;
    mean /= static_cast<double>(means.size());
    for (double m : means)
        var += (m - mean) * (m - mean);
    return mean + factor * std::sqrt(var / static_cast<double>(means.size() - 1));
}

// The same answers worked out the slow way, on the same clouds.
TEST(FilterAgainstBruteForceTest, GridRadiusOutlier)
{
    const std::vector<P> pts = RandomCloud(1500, 7, 10.0f);

    // Grid, lowest point: per cell (floor of coordinate x cells per metre) the
    // lowest z, the earliest of equals.
    std::map<std::array<long long, 3>, std::size_t> best;
    const double per = 1.0 / static_cast<double>(0.7f);
    for (std::size_t i = 0; i < pts.size(); ++i) {
        const std::array<long long, 3> cell = {static_cast<long long>(std::floor(pts[i].x * per)),
                                               static_cast<long long>(std::floor(pts[i].y * per)),
                                               static_cast<long long>(std::floor(pts[i].z * per))};
        const auto it = best.find(cell);
        if (it == best.end() || pts[i].z < pts[it->second].z)
            best[cell] = i;
    }
    std::vector<COLORREF> expected;
    for (std::size_t i = 0; i < pts.size(); ++i)
        for (const auto& [cell, index] : best)
            if (index == i)
                expected.push_back(pts[i].colour);
    CModelDataMng grid;
    grid.AddGroup(Group(pts));
    ASSERT_EQ(grid.FilterPointGridFilter_GridMinZ(0.7f, 0.7f, 0.7f), 1);
    EXPECT_EQ(Colours(*grid.GetGroup(0)), expected);

    // Radius: at least 4 others within 0.9 m.
    auto dist = [&](std::size_t a, std::size_t b) {
        const double dx = pts[a].x - pts[b].x, dy = pts[a].y - pts[b].y, dz = pts[a].z - pts[b].z;
        return std::sqrt(dx * dx + dy * dy + dz * dz);
    };
    expected.clear();
    for (std::size_t i = 0; i < pts.size(); ++i) {
        int near = 0;
        for (std::size_t j = 0; j < pts.size(); ++j)
            near += j != i && dist(i, j) <= 0.9 ? 1 : 0;
        if (near >= 4)
            expected.push_back(pts[i].colour);
    }
    CModelDataMng radius;
    radius.AddGroup(Group(pts));
    ASSERT_EQ(radius.FilterPointRadius(0.9f, 4), 1);
    EXPECT_EQ(Colours(*radius.GetGroup(0)), expected);

    // Outlier: mean distance to the 6 nearest others, kept within mean + 0.5 sd.
    std::vector<double> means;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        std::vector<double> d;
        for (std::size_t j = 0; j < pts.size(); ++j)
            if (j != i)
                d.push_back(dist(i, j));
        std::partial_sort(d.begin(), d.begin() + 6, d.end());
        means.push_back((d[0] + d[1] + d[2] + d[3] + d[4] + d[5]) / 6.0);
    }
    const double limit = OutlierLimit(means, 0.5);
    std::size_t expectedKept = 0, nearLimit = 0;
    for (double m : means) {
        expectedKept += m <= limit ? 1 : 0;
        nearLimit += std::fabs(m - limit) < 1e-4 ? 1 : 0; // float distances inside the filter
    }
    CModelDataMng outlier;
    outlier.AddGroup(Group(pts));
    ASSERT_EQ(outlier.FilterPointOutlierRemoval(6, 0.5f), 1);
    const auto kept = static_cast<std::size_t>(outlier.GetGroup(0)->GetCloudPointSize());
    EXPECT_LE(kept, expectedKept + nearLimit);
    EXPECT_GE(kept + nearLimit, expectedKept);
    EXPECT_LT(kept, pts.size());
}

} // namespace

namespace {

// Numbers from a fixed integer sequence, the same on every compiler and library.
class Sequence {
public:
    explicit Sequence(std::uint64_t seed) : m_state(seed) {}
    std::uint64_t Next()
    {
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A whole number of centimetres in [0, metres).
    float Metres(int metres) { return static_cast<float>(Next() % static_cast<std::uint64_t>(metres * 100)) / 100.0f; }

private:
    std::uint64_t m_state;
};

// 6,000 ground points over 40 m x 40 m on a gentle slope, and 60 points lifted 3 to 8
// m above it; colour = position + 1.
std::vector<P> FixtureCloud()
{
    Sequence seq(20261211);
    std::vector<P> pts;
    for (int i = 0; i < 6060; ++i) {
        const float x = seq.Metres(40);
        const float y = seq.Metres(40);
        float z = 0.02f * x + 0.01f * y + seq.Metres(1) * 0.3f;
        if (i % 101 == 100)
            z += 3.0f + seq.Metres(5);
        pts.push_back({x, y, z, static_cast<COLORREF>(pts.size() + 1)});
    }
    return pts;
}

// The colours a fixture line lists after its label.
std::vector<COLORREF> FixtureColours(const std::string& label)
{
    std::ifstream in(std::string(TESSARA_SOURCE_DIR_PATH) + "/tests/outside/data/neighbour-filters-removed.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(label + ":", 0) != 0)
            continue;
        std::istringstream words(line.substr(label.size() + 1));
        std::vector<COLORREF> out;
        for (COLORREF c = 0; words >> c;)
            out.push_back(c);
        return out;
    }
    ADD_FAILURE() << "no line " << label << " in the fixture";
    return {};
}

// The neighbour filters remove the recorded points of a fixed cloud, whether the
// cloud comes in its own order or shuffled, and keep the others in their order.
TEST(NeighbourFilterFixtureTest, RemovesTheRecordedPointsInAnyOrder)
{
    const std::vector<P> cloud = FixtureCloud();
    std::vector<P> shuffled = cloud;
    Sequence seq(7);
    for (std::size_t i = shuffled.size() - 1; i > 0; --i)
        std::swap(shuffled[i], shuffled[seq.Next() % (i + 1)]);

    struct Case {
        const char* label;
        std::function<int(CModelDataMng&)> filter;
    };
    const std::vector<Case> cases = {
        {"radius 1.0 6", [](CModelDataMng& s) { return s.FilterPointRadius(1.0f, 6); }},
        {"radius 0.5 1", [](CModelDataMng& s) { return s.FilterPointRadius(0.5f, 1); }},
        {"outlier 12 1.0", [](CModelDataMng& s) { return s.FilterPointOutlierRemoval(12, 1.0f); }},
        {"outlier 4 0.2", [](CModelDataMng& s) { return s.FilterPointOutlierRemoval(4, 0.2f); }},
    };
    for (const Case& c : cases) {
        const std::vector<COLORREF> removed = FixtureColours(c.label);
        ASSERT_FALSE(removed.empty()) << c.label;
        for (const std::vector<P>* order : {&cloud, static_cast<const std::vector<P>*>(&shuffled)}) {
            std::vector<COLORREF> expected;
            for (const P& p : *order)
                if (!std::binary_search(removed.begin(), removed.end(), p.colour))
                    expected.push_back(p.colour);
            CModelDataMng store;
            store.AddGroup(Group(*order));
            ASSERT_EQ(c.filter(store), 1) << c.label;
            EXPECT_EQ(Colours(*store.GetGroup(0)), expected) << c.label << (order == &cloud ? ", own order" : ", shuffled");
        }
    }
}

// A point marked deleted (z no number) or with an endless z is no one's neighbour
// and has none itself: the radius filter removes it and the outlier filter counts
// it as 0 m from its neighbours. The other points get the answers worked out the
// slow way, wherever the marked points stand.
TEST(NeighbourFilterTest, PointsWithoutNumbersAreNoOnesNeighbours)
{
    const float inf = std::numeric_limits<float>::infinity();
    std::vector<P> pts = RandomCloud(1200, 9, 8.0f);
    pts.insert(pts.begin(), P{0.5f, 0.5f, 0.0f, 5001});
    pts.insert(pts.begin() + 500, P{1.0f, 1.0f, 0.0f, 5002});
    pts.insert(pts.begin() + 900, P{2.0f, 2.0f, inf, 5003});
    pts.push_back(P{0.0f, 0.0f, -inf, 5004});
    const auto marked = [&pts] {
        auto g = Group(pts);
        g->SetCloudPointNaN(0);
        g->SetCloudPointNaN(500);
        return g;
    };
    pts[0].z = pts[500].z = std::numeric_limits<float>::quiet_NaN();
    const auto finite = [&](std::size_t i) { return std::isfinite(pts[i].x) && std::isfinite(pts[i].y) && std::isfinite(pts[i].z); };
    const auto dist = [&](std::size_t a, std::size_t b) {
        const double dx = pts[a].x - pts[b].x, dy = pts[a].y - pts[b].y, dz = pts[a].z - pts[b].z;
        return std::sqrt(dx * dx + dy * dy + dz * dz);
    };

    std::vector<COLORREF> expected;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        int near = 0;
        for (std::size_t j = 0; finite(i) && j < pts.size(); ++j)
            near += j != i && finite(j) && dist(i, j) <= 0.8 ? 1 : 0;
        if (near >= 3)
            expected.push_back(pts[i].colour);
    }
    CModelDataMng radius;
    radius.AddGroup(marked());
    ASSERT_EQ(radius.FilterPointRadius(0.8f, 3), 1);
    EXPECT_EQ(Colours(*radius.GetGroup(0)), expected);
    EXPECT_LT(expected.size(), pts.size() - 4);

    std::vector<double> means;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        std::vector<double> d;
        for (std::size_t j = 0; finite(i) && j < pts.size(); ++j)
            if (j != i && finite(j))
                d.push_back(dist(i, j));
        std::partial_sort(d.begin(), d.begin() + std::min<std::size_t>(5, d.size()), d.end());
        means.push_back(d.empty() ? 0.0 : (d[0] + d[1] + d[2] + d[3] + d[4]) / 5.0);
    }
    const double limit = OutlierLimit(means, 0.5);
    std::vector<COLORREF> sure, unsure;
    for (std::size_t i = 0; i < pts.size(); ++i) {
        if (std::fabs(means[i] - limit) < 1e-4)
            unsure.push_back(pts[i].colour); // float distances inside the filter
        else if (means[i] <= limit)
            sure.push_back(pts[i].colour);
    }
    CModelDataMng outlier;
    outlier.AddGroup(marked());
    ASSERT_EQ(outlier.FilterPointOutlierRemoval(5, 0.5f), 1);
    std::vector<COLORREF> kept = Colours(*outlier.GetGroup(0));
    std::vector<COLORREF> keptSure;
    for (COLORREF c : kept)
        if (std::find(unsure.begin(), unsure.end(), c) == unsure.end())
            keptSure.push_back(c);
    EXPECT_EQ(keptSure, sure);
    for (COLORREF c : {5001u, 5002u, 5003u, 5004u})
        EXPECT_NE(std::find(kept.begin(), kept.end(), c), kept.end()) << c;
    EXPECT_LT(kept.size(), pts.size());
}

} // namespace
