// Screen-box classes, point in polygon, the polygon selection over a store and
// the hover search, without a window: an orthographic camera puts model (x, y)
// on window pixel (x, y) of a 100 x 100 window.
#include "viewer/render/HoverPickCache.h"
#include "viewer/render/PolygonSelection.h"
#include "viewer/render/ScreenPolygon.h"
#include "viewer/render/ScreenProjector.h"
#include "viewer/render/ToolFeedbackRules.h"

#include "outside/CModelDataMng.h"
#include "platform/Parallel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <string>
#include <memory>
#include <numeric>

namespace {

constexpr int kSize = 100;

ScreenProjector Ortho()
{
    QMatrix4x4 projection;
    projection.ortho(0.0f, kSize, 0.0f, kSize, -10.0f, 10.0f);
    return ScreenProjector(QMatrix4x4(), projection, {0, 0, kSize, kSize});
}

// Eye at z = 10 looking down the z axis; points above z = 10 are behind it.
ScreenProjector Perspective()
{
    QMatrix4x4 projection;
    projection.perspective(60.0f, 1.0f, 0.1f, 100.0f);
    QMatrix4x4 view;
    view.lookAt(QVector3D(50, 50, 10), QVector3D(50, 50, 0), QVector3D(0, 1, 0));
    return ScreenProjector(view, projection, {0, 0, kSize, kSize});
}

ScreenPolygon Poly(std::vector<ScreenPolygon::Vertex> v) { return ScreenPolygon(std::move(v)); }

ScreenPolygon Square(std::int64_t lo, std::int64_t hi) { return Poly({{lo, lo}, {hi, lo}, {hi, hi}, {lo, hi}}); }

// ---- point in polygon ---------------------------------------------------------

struct InsideCase {
    const char* name;
    std::int64_t x, y;
    bool inside;
};

class PointInPolygonTest : public ::testing::TestWithParam<InsideCase> {};

TEST_P(PointInPolygonTest, SquareFromZeroToTen)
{
    const InsideCase& c = GetParam();
    EXPECT_EQ(Square(0, 10).Contains(c.x, c.y), c.inside);
}

INSTANTIATE_TEST_SUITE_P(Cases, PointInPolygonTest,
                         ::testing::Values(InsideCase{"centre", 5, 5, true}, InsideCase{"outside", 15, 5, false},
                                           InsideCase{"left_edge", 0, 5, false}, InsideCase{"right_edge", 10, 5, true},
                                           InsideCase{"bottom_edge", 5, 0, true}, InsideCase{"top_edge", 5, 10, false},
                                           InsideCase{"vertex_lower_left", 0, 0, false},
                                           InsideCase{"vertex_lower_right", 10, 0, true},
                                           InsideCase{"vertex_upper_right", 10, 10, false},
                                           InsideCase{"vertex_upper_left", 0, 10, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PointInPolygon, LargeCoordinatesDoNotOverflow)
{
    // Products of about 2e10: beyond 32 bits.
    const ScreenPolygon triangle = Poly({{0, 0}, {200000, 0}, {0, 200000}});
    EXPECT_TRUE(triangle.Contains(100000, 99999));
    EXPECT_FALSE(triangle.Contains(100000, 100001));
}

TEST(PointInPolygon, TooFewVerticesHoldNothing)
{
    EXPECT_FALSE(ScreenPolygon().Contains(0, 0));
    EXPECT_FALSE(Poly({{0, 0}, {10, 10}}).Contains(5, 5));
}

TEST(PointInPolygon, MousePointsTurnIntoWindowCoordinates)
{
    const ScreenPolygon p = ScreenPolygon::FromMouse({QPoint(10, 90), QPoint(40, 90), QPoint(40, 60)}, kSize);
    EXPECT_EQ(p.Bounds().minY, 10);
    EXPECT_EQ(p.Bounds().maxY, 40);
    EXPECT_TRUE(p.Contains(39, 20));
}

// ---- screen-box classes -----------------------------------------------------------

struct BoxCase {
    const char* name;
    std::array<double, 3> lo, hi;
    std::int16_t expected;
};

class ScreenBoxTest : public ::testing::TestWithParam<BoxCase> {};

TEST_P(ScreenBoxTest, AgainstSquareTenToFifty)
{
    const BoxCase& c = GetParam();
    EXPECT_EQ(screenbox::Classify(Ortho(), Square(10, 50), c.lo.data(), c.hi.data(), true), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScreenBoxTest,
    ::testing::Values(BoxCase{"inside", {20, 20, 0}, {30, 30, 1}, screenbox::kInside},
                      BoxCase{"apart", {60, 60, 0}, {70, 70, 1}, screenbox::kOutside},
                      BoxCase{"around_polygon", {0, 0, 0}, {60, 60, 1}, screenbox::kTest},
                      BoxCase{"across_an_edge", {40, 20, 0}, {60, 30, 1}, screenbox::kTest},
                      BoxCase{"flat_inside", {20, 20, 0}, {30, 30, 0}, screenbox::kInside},
                      BoxCase{"beyond_depth_range", {20, 20, 0}, {30, 30, 20}, screenbox::kTest}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScreenBox, OutsideATriangleWithinItsBoundsIsOutside)
{
    const ScreenPolygon triangle = Poly({{10, 10}, {50, 10}, {10, 50}});
    const double lo[3] = {40, 40, 0}, hi[3] = {45, 45, 1};
    EXPECT_EQ(screenbox::Classify(Ortho(), triangle, lo, hi, true), screenbox::kOutside);
}

TEST(ScreenBox, ACornerBehindTheEyeIsNeverCulled)
{
    // The box reaches above the eye at z = 10.
    const double lo[3] = {200, 200, 0}, hi[3] = {210, 210, 20};
    EXPECT_EQ(screenbox::Classify(Perspective(), Square(10, 50), lo, hi, true), screenbox::kTest);
    const double below[3] = {200, 200, 5};
    EXPECT_EQ(screenbox::Classify(Perspective(), Square(10, 50), lo, below, true), screenbox::kOutside);
}

// ---- polygon selection -------------------------------------------------------------

class SelectionTest : public ::testing::Test {
protected:
    void SetUp() override { m_store = std::make_unique<CModelDataMng>(); }

    // A 10 x 10 grid of points at (x0 + i, y0 + j, 0).
    CPCloudMng& AddGrid(float x0, float y0)
    {
        auto group = std::make_unique<CPCloudMng>();
        for (int j = 0; j < 10; ++j)
            for (int i = 0; i < 10; ++i) group->AddCloudPoint(x0 + i + 0.5f, y0 + j + 0.5f, 0.0f, 0xFFFFFF, 0.0);
        group->m_nDataFlag = 1;
        group->CreateGrid();
        CPCloudMng& ref = *group;
        m_store->AddGroup(std::move(group));
        return ref;
    }

    int Select(const ScreenPolygon& polygon, PolygonSelection::Keys keys = {})
    {
        const ScreenProjector projector = Ortho();
        PolygonSelection selection(*m_store, projector, polygon, true);
        const int r = selection.Run(m_buckets, keys);
        m_projected = selection.ProjectedPoints();
        return r;
    }

    static std::vector<std::uint64_t> Range(std::uint64_t from, std::uint64_t to)
    {
        std::vector<std::uint64_t> v(to - from);
        std::iota(v.begin(), v.end(), from);
        return v;
    }

    std::unique_ptr<CModelDataMng> m_store;
    std::vector<SelPCloud> m_buckets;
    std::uint64_t m_projected = 0;
};

TEST_F(SelectionTest, APolygonAroundEveryGroupTakesAllWithoutProjectingAPoint)
{
    AddGrid(10, 10);
    AddGrid(60, 60);
    ASSERT_EQ(Select(Square(1, 99)), 1);
    ASSERT_EQ(m_buckets.size(), 2u);
    EXPECT_EQ(m_buckets[0].group, 0);
    EXPECT_EQ(m_buckets[1].group, 1);
    EXPECT_EQ(m_buckets[1].points, Range(0, 100));
    EXPECT_EQ(m_projected, 0u);
}

TEST_F(SelectionTest, APolygonInsideAGroupTestsItsPoints)
{
    AddGrid(10, 10);
    // Points project to x 12.5 .. 14.5 for columns 2..4, tested as whole pixels
    // 12 .. 14 against the left-open edges x 11 .. 14.
    ASSERT_EQ(Select(Poly({{11, 5}, {14, 5}, {14, 25}, {11, 25}})), 1);
    ASSERT_EQ(m_buckets.size(), 1u);
    std::vector<std::uint64_t> expected;
    for (std::uint64_t j = 0; j < 10; ++j)
        for (std::uint64_t i = 2; i < 5; ++i) expected.push_back(j * 10 + i);
    std::sort(m_buckets[0].points.begin(), m_buckets[0].points.end());
    EXPECT_EQ(m_buckets[0].points, expected);
    EXPECT_GT(m_projected, 0u);
}

TEST_F(SelectionTest, TwoPointPolygonSelectsNothingButClearsWithoutKeys)
{
    AddGrid(10, 10);
    ASSERT_EQ(Select(Square(1, 99)), 1);
    EXPECT_EQ(Select(Poly({{1, 1}, {99, 99}}), {true, false}), 0);
    EXPECT_EQ(m_buckets.size(), 1u);
    EXPECT_EQ(Select(Poly({{1, 1}, {99, 99}})), 0);
    EXPECT_TRUE(m_buckets.empty());
}

TEST_F(SelectionTest, ShiftAddsSortedWithoutDuplicatesAndCtrlRemoves)
{
    AddGrid(10, 10);
    // Rows 0..4, then rows 3..7 with Shift: rows 0..7 once each.
    Select(Poly({{5, 5}, {25, 5}, {25, 15}, {5, 15}}));
    Select(Poly({{5, 13}, {25, 13}, {25, 18}, {5, 18}}), {true, false});
    ASSERT_EQ(m_buckets.size(), 1u);
    EXPECT_EQ(m_buckets[0].points, Range(0, 80));
    // Ctrl takes rows 0..4 away.
    Select(Poly({{5, 5}, {25, 5}, {25, 15}, {5, 15}}), {false, true});
    ASSERT_EQ(m_buckets.size(), 1u);
    EXPECT_EQ(m_buckets[0].points, Range(50, 80));
    // Ctrl over the rest leaves the bucket, empty.
    Select(Poly({{5, 15}, {25, 15}, {25, 18}, {5, 18}}), {false, true});
    ASSERT_EQ(m_buckets.size(), 1u);
    EXPECT_TRUE(m_buckets[0].points.empty());
}

TEST_F(SelectionTest, WholeGroupRulesForShiftAndCtrl)
{
    AddGrid(10, 10);
    AddGrid(60, 60);
    Select(Square(1, 99));
    // Shift over a full bucket leaves it as it is.
    Select(Square(1, 40), {true, false});
    ASSERT_EQ(m_buckets.size(), 2u);
    EXPECT_EQ(m_buckets[0].points, Range(0, 100));
    // Ctrl over a whole group removes its bucket; the other moves down.
    Select(Square(1, 40), {false, true});
    ASSERT_EQ(m_buckets.size(), 1u);
    EXPECT_EQ(m_buckets[0].group, 1);
    // Ctrl over a group without a bucket changes nothing.
    Select(Square(1, 40), {false, true});
    EXPECT_EQ(m_buckets.size(), 1u);
    // Shift and Ctrl together act as Shift.
    Select(Square(1, 40), {true, true});
    ASSERT_EQ(m_buckets.size(), 2u);
    EXPECT_EQ(m_buckets[1].points, Range(0, 100));
}

TEST_F(SelectionTest, HiddenGroupsAreNeverSelected)
{
    AddGrid(10, 10).m_nShowGroup = 0;
    AddGrid(60, 60).m_nShowPCloud = 0;
    AddGrid(30, 30);
    Select(Square(1, 99));
    ASSERT_EQ(m_buckets.size(), 1u);
    EXPECT_EQ(m_buckets[0].group, 2);
    Select(Poly({{35, 1}, {37, 1}, {37, 99}, {35, 99}}));
    ASSERT_EQ(m_buckets.size(), 1u);
    EXPECT_EQ(m_buckets[0].group, 2);
}

TEST_F(SelectionTest, PointsBehindTheEyeAreNotTaken)
{
    // One point in front of the eye (z 0) and one behind it (z 20) that would
    // project mirrored onto the same pixels.
    auto group = std::make_unique<CPCloudMng>();
    group->AddCloudPoint(45.0f, 45.0f, 0.0f, 0xFFFFFF, 0.0);
    group->AddCloudPoint(55.0f, 55.0f, 20.0f, 0xFFFFFF, 0.0);
    group->m_nDataFlag = 1;
    group->CreateGrid();
    m_store->AddGroup(std::move(group));
    const ScreenProjector projector = Perspective();
    ScreenProjector::Window w;
    ASSERT_TRUE(projector.ProjectUser(45, 45, 0, w));
    ASSERT_FALSE(projector.ProjectUser(55, 55, 20, w));
    PolygonSelection selection(*m_store, projector, Square(0, 100), true);
    ASSERT_EQ(selection.Run(m_buckets, {}), 1);
    ASSERT_EQ(m_buckets.size(), 1u);
    EXPECT_EQ(m_buckets[0].points, std::vector<std::uint64_t>{0});
}

TEST_F(SelectionTest, AnEmptyStoreSelectsNothing)
{
    EXPECT_EQ(Select(Square(1, 99)), 1);
    EXPECT_TRUE(m_buckets.empty());
    m_store->m_groups.push_back(nullptr);
    EXPECT_EQ(Select(Square(1, 99)), 1);
    EXPECT_TRUE(m_buckets.empty());
}

// ---- hover ----------------------------------------------------------------------

// A TIN of the given vertices and triangles (model = user: the centre is 0).
CVertexMng Tin(const std::vector<std::array<float, 3>>& vertices,
               const std::vector<std::array<std::uint32_t, 3>>& triangles)
{
    CVertexMng tin;
    for (const auto& v : vertices) tin.AddVertex(v[0], v[1], v[2]);
    for (const auto& t : triangles) tin.m_triangles.emplace_back(t[0], t[1], t[2]);
    return tin;
}

struct HoverCase {
    const char* name;
    double px, py;       // mouse, y down
    int expected;        // vertex index, -1 none
};

class HoverVertexTest : public ::testing::TestWithParam<HoverCase> {};

TEST_P(HoverVertexTest, NearestUnderThePointer)
{
    // Vertex 0 at window (12, 95 down), just right of the border of cells 0 and 1;
    // vertices 1 and 2 two pixels apart at (52, 50) and (54, 50), 2 nearer (higher z).
    const CVertexMng tin = Tin({{12, 5, 0}, {52, 50, 0}, {54, 50, 5}, {90, 90, 0}}, {{0, 1, 3}, {1, 2, 3}});
    HoverPickCache cache;
    cache.Reset(kSize, kSize);
    cache.AddStore(tin, Ortho(), HoverPickCache::kKindGroup, 3);
    const HoverCase& c = GetParam();
    const HoverPickCache::Vertex* v = cache.FindVertex(c.px, c.py);
    if (c.expected < 0) {
        EXPECT_EQ(v, nullptr);
        return;
    }
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->index, c.expected);
    EXPECT_EQ(v->group, 3);
    EXPECT_EQ(v->kind, HoverPickCache::kKindGroup);
}

INSTANTIATE_TEST_SUITE_P(Cases, HoverVertexTest,
                         ::testing::Values(HoverCase{"across_cell_border", 8.0, 95.0, 0},
                                           HoverCase{"same_cell", 12.0, 94.0, 0},
                                           HoverCase{"nearer_of_two", 53.0, 50.0, 2},
                                           HoverCase{"only_the_farther_in_reach", 48.0, 50.0, 1},
                                           HoverCase{"five_pixels_off", 17.0, 95.0, -1},
                                           HoverCase{"nothing_near", 30.0, 30.0, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HoverCache, VerticesOutsideTheDepthRangeAreNotCached)
{
    // The orthographic depth range is z -10 .. 10.
    const CVertexMng tin = Tin({{10, 10, 0}, {20, 10, 50}, {10, 20, 0}}, {{0, 1, 2}});
    HoverPickCache cache;
    cache.Reset(kSize, kSize);
    cache.AddStore(tin, Ortho(), HoverPickCache::kKindViewCloud, -1);
    EXPECT_EQ(cache.VertexCount(), 2u);
    EXPECT_EQ(cache.FindVertex(20, 90), nullptr);
    // Edges to the vertex out of range are not hoverable either.
    EXPECT_EQ(cache.EdgeCount(), 1u);
}

TEST(HoverCache, BadIndicesAndAZeroSizeWindowCacheNothing)
{
    const CVertexMng tin = Tin({{10, 10, 0}}, {{0, 7, 9}});
    HoverPickCache cache;
    cache.Reset(kSize, kSize);
    cache.AddStore(tin, Ortho(), HoverPickCache::kKindGroup, 0);
    EXPECT_EQ(cache.EdgeCount(), 0u);
    cache.Reset(0, 0);
    cache.AddStore(tin, Ortho(), HoverPickCache::kKindGroup, 0);
    EXPECT_TRUE(cache.Empty());
    EXPECT_EQ(cache.FindVertex(10, 90), nullptr);
    EXPECT_FALSE(cache.FindEdge(10, 90).has_value());
}

TEST(HoverCache, EdgeUnderThePointerWithItsTriangleAndSide)
{
    // Triangle (10,10) (60,10) (10,60): its long edge runs from (60,10) to (10,60).
    const CVertexMng tin = Tin({{10, 10, 0}, {60, 10, 0}, {10, 60, 0}}, {{0, 1, 2}});
    HoverPickCache cache;
    cache.Reset(kSize, kSize);
    cache.AddStore(tin, Ortho(), HoverPickCache::kKindCadTin, -1);
    EXPECT_EQ(cache.EdgeCount(), 3u);
    // Window (36, 36) is 1.4 px off the long edge; mouse y = 100 - 36.
    const std::optional<HoverPickCache::Edge> e = cache.FindEdge(36, 64);
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->v1, 1);
    EXPECT_EQ(e->v2, 2);
    EXPECT_EQ(e->triangle, 0);
    EXPECT_EQ(e->side, 1);
    // Beyond the end of the bottom edge, and too far from every edge.
    EXPECT_FALSE(cache.FindEdge(64, 90).has_value());
    EXPECT_FALSE(cache.FindEdge(25, 75).has_value());
}

TEST(HoverCache, NearerOfTwoCrossingEdgesAndSharedEdgesOnce)
{
    // Two triangles sharing edge 1-2, and a third edge pair at another height
    // crossing the shared edge's middle.
    const CVertexMng tin = Tin({{10, 10, 0}, {60, 10, 0}, {10, 60, 0}, {60, 60, 0}, {20, 20, 5}, {50, 50, 5},
                                {80, 20, 5}},
                               {{0, 1, 2}, {1, 3, 2}, {4, 6, 5}});
    HoverPickCache cache;
    cache.Reset(kSize, kSize);
    cache.AddStore(tin, Ortho(), HoverPickCache::kKindGroup, 0);
    EXPECT_EQ(cache.EdgeCount(), 8u);
    const std::optional<HoverPickCache::Edge> e = cache.FindEdge(35, 65);
    ASSERT_TRUE(e.has_value());
    // z 5 is nearer the viewer than z 0.
    EXPECT_EQ(e->v1, 4);
    EXPECT_EQ(e->v2, 5);
}

TEST(HoverCache, EdgesCollapsedOnScreenAreSkipped)
{
    // Vertices 0 and 1 differ only in height: seen from above they coincide.
    const CVertexMng tin = Tin({{30, 30, 0}, {30, 30, 5}, {60, 30, 0}}, {{0, 1, 2}});
    HoverPickCache cache;
    cache.Reset(kSize, kSize);
    cache.AddStore(tin, Ortho(), HoverPickCache::kKindGroup, 0);
    EXPECT_EQ(cache.EdgeCount(), 2u);
    EXPECT_FALSE(cache.FindEdge(27, 70).has_value());
}

// A jittered grid of vertices, its triangles shuffled, some given twice, some with
// a corner out of range, some vertices beyond the depth range: the cache holds
// each unique edge once, with the first triangle and side that has it, and
// answers alike whatever the number of workers that project the vertices.
TEST(HoverCache, UniqueEdgesKeepTheirFirstTriangleWithAnyWorkerCount)
{
    constexpr int kSide = 40;
    std::mt19937 random(11);
    std::uniform_real_distribution<float> jitter(-0.3f, 0.3f);
    std::vector<std::array<float, 3>> vertices;
    for (int j = 0; j < kSide; ++j)
        for (int i = 0; i < kSide; ++i)
            vertices.push_back({2.5f * i + 1 + jitter(random), 2.5f * j + 1 + jitter(random),
                                (i * 7 + j) % 23 == 0 ? 50.0f : static_cast<float>((i + j) % 5)});
    std::vector<std::array<std::uint32_t, 3>> triangles;
    for (int j = 0; j + 1 < kSide; ++j)
        for (int i = 0; i + 1 < kSide; ++i) {
            const auto a = static_cast<std::uint32_t>(j * kSide + i);
            triangles.push_back({a, a + 1, a + kSide + 1});
            triangles.push_back({a, a + kSide + 1, a + kSide});
        }
    std::shuffle(triangles.begin(), triangles.end(), random);
    for (int k = 0; k < 50; ++k) triangles.push_back(triangles[static_cast<std::size_t>(k * 13)]);
    triangles.push_back({5, 99999, 6});
    triangles.push_back({7, 7, 8});
    const CVertexMng tin = Tin(vertices, triangles);

    // The first side that has each edge, and the edges the cache can hold.
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::pair<int, int>> first;
    for (std::size_t t = 0; t < triangles.size(); ++t)
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t a = triangles[t][static_cast<std::size_t>(k)];
            const std::uint32_t b = triangles[t][static_cast<std::size_t>((k + 1) % 3)];
            if (a == b || a >= vertices.size() || b >= vertices.size()) continue;
            first.emplace(std::minmax(a, b), std::make_pair(static_cast<int>(t), k));
        }
    std::size_t hoverable = 0;
    for (const auto& [edge, at] : first)
        if (vertices[edge.first][2] < 10 && vertices[edge.second][2] < 10) ++hoverable;

    std::vector<std::string> answers[2];
    const std::size_t before = tessara::SetWorkerCount(1);
    for (int run = 0; run < 2; ++run) {
        tessara::SetWorkerCount(run == 0 ? 1 : 4);
        HoverPickCache cache;
        cache.Reset(kSize, kSize);
        cache.AddStore(tin, Ortho(), HoverPickCache::kKindGroup, 2);
        EXPECT_EQ(cache.EdgeCount(), hoverable);
        for (double y = 0.5; y < kSize; y += 1.5)
            for (double x = 0.5; x < kSize; x += 1.5) {
                std::string answer;
                if (const HoverPickCache::Vertex* v = cache.FindVertex(x, y)) answer += std::to_string(v->index);
                if (const std::optional<HoverPickCache::Edge> e = cache.FindEdge(x, y)) {
                    const auto at = first.at({static_cast<std::uint32_t>(e->v1), static_cast<std::uint32_t>(e->v2)});
                    EXPECT_EQ(e->triangle, at.first);
                    EXPECT_EQ(e->side, at.second);
                    answer += "/" + std::to_string(e->v1) + "-" + std::to_string(e->v2);
                }
                answers[run].push_back(answer);
            }
    }
    tessara::SetWorkerCount(before);
    EXPECT_EQ(answers[0], answers[1]);
    EXPECT_GT(std::count_if(answers[0].begin(), answers[0].end(), [](const std::string& a) { return !a.empty(); }),
              100);
}

}  // namespace

namespace {

// ---- tool feedback kinds ------------------------------------------------------------

struct BandCase {
    const char* name;
    ToolFeedbackRules::Input in;
    ToolFeedbackRules::Kind kind;
    GLenum primitive;
    std::size_t passes;
};

class BandKindTest : public ::testing::TestWithParam<BandCase> {};

TEST_P(BandKindTest, ByModeAndPointCount)
{
    const BandCase& c = GetParam();
    const ToolFeedbackRules::Band b = ToolFeedbackRules::Choose(c.in);
    EXPECT_EQ(b.kind, c.kind);
    if (c.kind == ToolFeedbackRules::Kind::None) return;
    EXPECT_EQ(b.primitive, c.primitive);
    EXPECT_EQ(b.passes.size(), c.passes);
}

using K = ToolFeedbackRules::Kind;
ToolFeedbackRules::Input Band(std::uint8_t tool, std::uint8_t edit, std::size_t points, std::size_t section = 0,
                              bool cancelled = false, bool picked = false)
{
    ToolFeedbackRules::Input in;
    in.toolMode = tool;
    in.editMode = edit;
    in.bandPoints = points;
    in.sectionPoints = section;
    in.bandCancelled = cancelled;
    in.pickedListEmpty = !picked;
    return in;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BandKindTest,
    ::testing::Values(BandCase{"rectangle_of_four", Band(0, 0, 4), K::Rectangle, GL_LINE_LOOP, 1},
                      BandCase{"rectangle_of_three", Band(0, 0, 3), K::None, 0, 0},
                      BandCase{"rectangle_of_five", Band(0, 0, 5), K::None, 0, 0},
                      BandCase{"rectangle_cancelled", Band(0, 0, 4, 0, true), K::None, 0, 0},
                      BandCase{"polygon_of_two", Band(0, 1, 2), K::Polygon, GL_LINES, 3},
                      BandCase{"polygon_of_three", Band(0, 1, 3), K::Polygon, GL_LINE_LOOP, 3},
                      BandCase{"polygon_of_one", Band(0, 1, 1), K::None, 0, 0},
                      BandCase{"segments", Band(7, 0, 4), K::Segments, GL_LINES, 3},
                      BandCase{"polyline_of_two", Band(8, 0, 2), K::Polyline, GL_LINES, 3},
                      BandCase{"polyline_of_three", Band(8, 0, 3), K::Polyline, GL_LINE_STRIP, 3},
                      BandCase{"section_one_point", Band(18, 0, 0, 1), K::Section, GL_LINES, 1},
                      BandCase{"section_no_point", Band(18, 0, 0, 0), K::None, 0, 0},
                      BandCase{"section_two_points", Band(18, 0, 0, 2), K::None, 0, 0},
                      BandCase{"edge_swap_draws_nothing", Band(2, 1, 5), K::None, 0, 0},
                      BandCase{"picked_list_hides_outline", Band(0, 1, 5, 0, false, true), K::None, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
