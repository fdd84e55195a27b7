#include "viewer/commands/ScenePick.h"

#include "outside/CModelDataMng.h"
#include "outside/StoreMarkers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

using namespace scenepick;

constexpr std::int64_t kSpan = 0xFFFFFF;

// ---- the candidate walk ----

struct WalkCase {
    const char* name;
    std::int64_t id;
    std::int64_t count;
    std::vector<std::int64_t> visited;
};

class CandidateWalkTest : public ::testing::TestWithParam<WalkCase> {};

TEST_P(CandidateWalkTest, VisitsEveryNumberOfTheIdBelowTheCount)
{
    std::vector<std::int64_t> visited;
    WalkCandidates(GetParam().id, GetParam().count, [&](std::int64_t n) {
        visited.push_back(n);
        return true;
    });
    EXPECT_EQ(visited, GetParam().visited);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CandidateWalkTest,
    ::testing::Values(WalkCase{"empty_source", 0, 0, {}}, WalkCase{"id_beyond_the_count", 5, 5, {}},
                      WalkCase{"one_below_the_span", 5, 6, {5}},
                      WalkCase{"count_exactly_at_the_repeat", 5, kSpan + 5, {5}},
                      WalkCase{"count_past_the_repeat", 5, kSpan + 6, {5, kSpan + 5}},
                      WalkCase{"id_zero_three_times", 0, 2 * kSpan + 1, {0, kSpan, 2 * kSpan}},
                      WalkCase{"largest_id", kSpan - 1, 2 * kSpan, {kSpan - 1, 2 * kSpan - 1}},
                      WalkCase{"negative_id", -1, 100, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CandidateWalk, AVisitAnsweringFalseEndsTheWalk)
{
    int visits = 0;
    WalkCandidates(1, 5 * kSpan, [&](std::int64_t) { return ++visits < 2; });
    EXPECT_EQ(visits, 2);
}

struct IdCase {
    std::uint8_t r, g, b;
    std::uint32_t id;
};

TEST(PickIds, ColourBytesReadRedLowBlueHigh)
{
    for (const IdCase c : {IdCase{0, 0, 0, 0}, IdCase{1, 0, 0, 1}, IdCase{0, 1, 0, 0x100}, IdCase{0, 0, 1, 0x10000},
                           IdCase{0x12, 0x34, 0x56, 0x563412}, IdCase{0xFE, 0xFF, 0xFF, 0xFFFFFE}})
        EXPECT_EQ(IdFromColour(c.r, c.g, c.b), c.id);
    // Numbers repeat their colour every 0xFFFFFF.
    EXPECT_EQ(IdOfNumber(0), 0u);
    EXPECT_EQ(IdOfNumber(kSpan - 1), 0xFFFFFEu);
    EXPECT_EQ(IdOfNumber(kSpan), 0u);
    EXPECT_EQ(IdOfNumber(kSpan + 7), 7u);
    EXPECT_EQ(IdOfNumber(3 * kSpan + 7), 7u);
}

// ---- picks in a known frame ----

// A 100 x 100 window looking straight down on model x, y in 0..100: window
// pixels are model units, and a higher z lies nearer the eye.
class ScenePickTest : public ::testing::Test {
protected:
    ScenePickTest()
    {
        QMatrix4x4 projection;
        projection.ortho(0.0f, 100.0f, 0.0f, 100.0f, -10.0f, 10.0f);
        m_projector = ScreenProjector(QMatrix4x4(), projection, {0, 0, 100, 100});
    }
    CPCloudMng& AddGroup(std::initializer_list<PT> points)
    {
        auto group = std::make_unique<CPCloudMng>();
        for (const PT& p : points)
            group->AddCloudPoint(float(p.x()), float(p.y()), float(p.z()), 0, 0.0);
        CPCloudMng& ref = *group;
        m_store.AddGroup(std::move(group));
        return ref;
    }
    static void AddTin(CVertexMng& tin, std::initializer_list<PT> vertices)
    {
        for (const PT& v : vertices)
            tin.AddVertex(float(v.x()), float(v.y()), float(v.z()));
        tin.m_triangles.emplace_back(0, 1, 2);
    }
    // (x, y) with y from the window's top, as the mouse gives it.
    std::optional<Hit> Pick(double x, double yUp, const Options& options = Options{})
    {
        return PickScene(m_store, m_projector, x, 100.0 - yUp, options);
    }
    static Options WithTinVertices()
    {
        Options o;
        o.tinVerticesShown = true;
        return o;
    }

    CModelDataMng m_store;
    ScreenProjector m_projector;
};

TEST_F(ScenePickTest, AnEmptyPixelIsNoHit)
{
    AddGroup({PT(10, 10, 0)});
    EXPECT_FALSE(Pick(50, 50));
}

TEST_F(ScenePickTest, APointUnderTheCursorGivesItsGroupAndIndexAndModelPoint)
{
    m_store.SetRenderingCenterPt(PT(0, 0, 0));
    AddGroup({PT(10, 10, 0), PT(50, 50, 2)});
    const auto hit = Pick(50, 50);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->kind, kCloudPoint);
    EXPECT_EQ(hit->ids, (std::vector<int>{0, 1}));
    EXPECT_DOUBLE_EQ(hit->point.x(), 50.0);
    EXPECT_DOUBLE_EQ(hit->point.z(), 2.0);
    EXPECT_EQ(hit->elevationFlag, 1);
}

TEST_F(ScenePickTest, OfTwoGroupsWithTheSameIndexTheOneNearerTheEyeInPlanIsReported)
{
    // Index 0 of both groups: the second group's point covers the pixel, the
    // first's lies 3 pixels off, inside the tolerance but farther in plan.
    AddGroup({PT(53, 50, 5)});
    AddGroup({PT(51, 50, 0)});
    const auto hit = Pick(50, 50);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->ids, (std::vector<int>{1, 0}));
    // Equal distances: the first group wins.
    m_store.GetGroup(0)->m_points[0].x = 49.0f;
    const auto tie = Pick(50, 50);
    ASSERT_TRUE(tie);
    EXPECT_EQ(tie->ids, (std::vector<int>{0, 0}));
}

TEST_F(ScenePickTest, AnotherIndexWithinTheToleranceIsNoCandidate)
{
    // The point in front under the cursor is index 0; index 1 of the other group
    // is nearer in plan but carries another id.
    AddGroup({PT(52, 50, 5)});
    AddGroup({PT(-100, -100, 0), PT(50, 50, 0)});
    const auto hit = Pick(50, 50);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->ids, (std::vector<int>{0, 0}));
}

struct HiddenCase {
    const char* name;
    int root, group, points;
};

class HiddenGroupTest : public ScenePickTest, public ::testing::WithParamInterface<HiddenCase> {};

TEST_P(HiddenGroupTest, AHiddenGroupIsNeverPickedNorHidesAShownOne)
{
    // The hidden group's point lies nearer the eye right under the cursor.
    CPCloudMng& hidden = AddGroup({PT(50, 50, 9)});
    AddGroup({PT(51, 51, 0)});
    hidden.m_nShowGroup = GetParam().group;
    hidden.m_nShowPCloud = GetParam().points;
    m_store.m_nShowRoot = GetParam().root;
    const auto hit = Pick(50, 50);
    if (GetParam().root == 0) {
        EXPECT_FALSE(hit) << "nothing is drawn";
        return;
    }
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->ids, (std::vector<int>{1, 0}));
    // Alone, the hidden group gives nothing.
    m_store.GetGroup(1)->m_nShowGroup = 0;
    EXPECT_FALSE(Pick(50, 50));
}

INSTANTIATE_TEST_SUITE_P(Cases, HiddenGroupTest,
                         ::testing::Values(HiddenCase{"group_hidden", 1, 0, 1}, HiddenCase{"points_hidden", 1, 1, 0},
                                           HiddenCase{"root_hidden", 0, 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScenePickTest, AGroupsGridOnlySparesWorkAndAStaleGridIsNotTrusted)
{
    // A lattice with heights rising with the index: the pick under a pixel is the
    // highest index drawn over it, whichever order the points are read in.
    const auto lattice = [](CPCloudMng& g) {
        for (int j = 0; j < 100; ++j)
            for (int i = 0; i < 100; ++i)
                g.AddCloudPoint(i + 0.25f, j + 0.25f, (j * 100 + i) * 1e-4f, 0, 0.0);
    };
    CPCloudMng& plain = AddGroup({});
    lattice(plain);
    std::vector<std::vector<int>> expected;
    const std::vector<std::pair<double, double>> pixels{{0, 0}, {50, 50}, {10, 90}, {99, 3}, {73.5, 21}};
    for (auto [x, y] : pixels) {
        const auto hit = Pick(x, y);
        ASSERT_TRUE(hit);
        expected.push_back(hit->ids);
    }
    plain.m_nShowGroup = 0;
    CPCloudMng& gridded = AddGroup({});
    lattice(gridded);
    gridded.CreateGrid();
    ASSERT_GT(gridded.m_grid.size(), 1u);
    for (std::size_t k = 0; k < pixels.size(); ++k) {
        const auto hit = Pick(pixels[k].first, pixels[k].second);
        ASSERT_TRUE(hit);
        EXPECT_EQ(hit->ids, (std::vector<int>{1, expected[k][1]})) << k;
    }
    // A point added since the grid was built is still found.
    gridded.AddCloudPoint(120.0f, 50.0f, 5.0f, 0, 0.0);
    m_store.GetGroup(1)->m_points.back().x = 50.0f;
    m_store.GetGroup(1)->m_points.back().y = 60.5f;
    const auto added = Pick(50, 60);
    ASSERT_TRUE(added);
    EXPECT_EQ(added->ids, (std::vector<int>{1, 10000}));
}

TEST_F(ScenePickTest, TheNumbersAfterTheSpanAreCandidatesToo)
{
    // A source of 2 x 0xFFFFFF + 10 points that only exist when read: 5 lies far
    // off, 5 + 0xFFFFFF two pixels from the cursor, 5 + 2 x 0xFFFFFF one pixel.
    const Source source{2 * kSpan + 10, [](std::int64_t i, PT& user) {
                            if (i == 5) user = PT(90, 90, 0);
                            else if (i == kSpan + 5) user = PT(52, 50, 0);
                            else if (i == 2 * kSpan + 5) user = PT(50, 51, 0);
                            else ADD_FAILURE() << "visited " << i;
                            return true;
                        }};
    PT eye;
    ASSERT_TRUE(m_projector.UnprojectModel(50, 50, 0.0, eye));
    const Frame frame{m_store, m_projector, 50, 50, eye};
    const auto best = BestCandidate(source, 5, frame, 5);
    ASSERT_TRUE(best);
    EXPECT_EQ(best->index, 2 * kSpan + 5);
    EXPECT_DOUBLE_EQ(best->distance, 1.0);
    // Beyond the tolerance nothing is accepted.
    EXPECT_FALSE(BestCandidate(source, 5, frame, 0));
}

TEST_F(ScenePickTest, TinVerticesArePickedOnlyWhileShownWithTheirKindAndIds)
{
    CPCloudMng& group = AddGroup({});
    AddTin(group, {PT(10, 10, 0), PT(50, 50, 0), PT(90, 10, 0)});
    EXPECT_FALSE(Pick(50, 50)) << "vertices switched off";
    auto hit = Pick(51, 49, WithTinVertices());
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->kind, kGroupTinVertex);
    EXPECT_EQ(hit->ids, (std::vector<int>{0, 1}));
    EXPECT_DOUBLE_EQ(hit->point.x(), 50.0);
    group.m_nShowTin = 0;
    EXPECT_FALSE(Pick(50, 50, WithTinVertices())) << "a hidden TIN";

    AddTin(m_store.m_viewCloud, {PT(20, 20, 0), PT(30, 20, 0), PT(30, 30, 0)});
    hit = Pick(30, 30, WithTinVertices());
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->kind, kViewCloudTinVertex);
    EXPECT_EQ(hit->ids, (std::vector<int>{2}));

    AddTin(m_store.m_cadTin, {PT(70, 70, 0), PT(80, 70, 0), PT(80, 80, 0)});
    hit = Pick(80, 70, WithTinVertices());
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->kind, kCadTinVertex);
    EXPECT_EQ(hit->ids, (std::vector<int>{1}));
    m_store.m_nShowCADTin = 0;
    EXPECT_FALSE(Pick(80, 70, WithTinVertices()));
}

TEST_F(ScenePickTest, AVertexBehindAnotherTinsFacesIsHiddenWhileFacesAreShown)
{
    CPCloudMng& lower = AddGroup({});
    AddTin(lower, {PT(50, 50, 0), PT(60, 50, 0), PT(60, 60, 0)});
    CPCloudMng& upper = AddGroup({});
    AddTin(upper, {PT(0, 0, 5), PT(100, 0, 5), PT(51, 100, 5)});
    Options faces = WithTinVertices();
    faces.tinFacesShown = true;
    EXPECT_FALSE(Pick(50, 50, faces)) << "under the upper TIN's face";
    auto hit = Pick(50, 50, WithTinVertices());
    ASSERT_TRUE(hit) << "without faces the vertex shows";
    EXPECT_EQ(hit->ids, (std::vector<int>{0, 0}));
    // The upper TIN's own corner is not hidden by its own face.
    hit = Pick(1, 1, faces);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->ids, (std::vector<int>{1, 0}));
    upper.m_nShowTin = 0;
    hit = Pick(50, 50, faces);
    ASSERT_TRUE(hit) << "a hidden TIN hides nothing";
    EXPECT_EQ(hit->ids, (std::vector<int>{0, 0}));
}

TEST_F(ScenePickTest, OfTheLayersTheHitNearerTheEyeInPlanWins)
{
    AddGroup({PT(52, 50, 0)});
    CPCloudMng& tinGroup = AddGroup({});
    AddTin(tinGroup, {PT(50, 51, 0), PT(10, 10, 0), PT(90, 10, 0)});
    tinGroup.m_nShowPCloud = 0;
    auto hit = Pick(50, 50, WithTinVertices());
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->kind, kGroupTinVertex) << "one pixel against two";
    EXPECT_EQ(hit->ids, (std::vector<int>{1, 0}));
    Options pointsOnly = WithTinVertices();
    pointsOnly.layers = Layers::None();
    pointsOnly.layers.points = true;
    hit = Pick(50, 50, pointsOnly);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->kind, kCloudPoint);
}

TEST_F(ScenePickTest, PartFigurePointsReportWhetherTheyHaveAnElevation)
{
    m_store.m_partPoint3D.AddCloudPoint(50, 50, 4.0f, 0, 0.0);
    m_store.m_partPoint2D.AddCloudPoint(20, 20, kNoElevationZ, 0, 0.0);
    auto hit = Pick(50, 50);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->kind, kPartFigure);
    EXPECT_EQ(hit->ids, (std::vector<int>{0}));
    EXPECT_EQ(hit->elevationFlag, 1);
    hit = Pick(21, 21);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->elevationFlag, 0);
    Options withoutSecondSet;
    withoutSecondSet.partSecondSetShown = false;
    EXPECT_FALSE(Pick(20, 20, withoutSecondSet)) << "figures without elevation hidden";
    m_store.m_nShowPartPt = 0;
    EXPECT_FALSE(Pick(50, 50));
}

TEST_F(ScenePickTest, ACadFigureHitHasNoPointAndNoElevation)
{
    CElmData line;
    line.m_nKind = 10;
    line.m_ptLists = {{PT(20, 50, 0), PT(80, 50, 0)}};
    line.RebuildSegments();
    m_store.m_elmList.push_back(line);
    m_store.RebuildCadLayers();
    Options cadOnly;
    cadOnly.layers = Layers::None();
    cadOnly.layers.cadFirst = true;
    cadOnly.layers.cadSecond = true;
    auto hit = Pick(40, 50, cadOnly);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->kind, kCadFigure);
    EXPECT_TRUE(hit->ids.empty());
    EXPECT_TRUE(IsUnsetValue(hit->point.x()));
    EXPECT_EQ(hit->elevationFlag, 0);
    cadOnly.layers.cadFirst = false;
    hit = Pick(40, 50, cadOnly);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->kind, kCadFigureSecond);
    EXPECT_FALSE(Pick(40, 60, cadOnly)) << "ten pixels beside the line";
    m_store.m_cadLayers[static_cast<std::size_t>(m_store.m_cadLayerIndex.at(10))].show = 0;
    EXPECT_FALSE(Pick(40, 50, cadOnly)) << "its layer hidden";
}

TEST_F(ScenePickTest, BadInputAndDeletedPointsGiveNoHit)
{
    CPCloudMng& group = AddGroup({PT(50, 50, 0)});
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(PickScene(m_store, m_projector, nan, 50, Options{}));
    EXPECT_FALSE(PickScene(m_store, m_projector, 50, std::numeric_limits<double>::infinity(), Options{}));
    EXPECT_FALSE(PickScene(m_store, ScreenProjector(QMatrix4x4(), QMatrix4x4(), {0, 0, 0, 0}), 0, 0, Options{}))
        << "a window of no size";
    group.m_points[0].z = std::numeric_limits<float>::quiet_NaN();  // deleted, not yet compacted
    EXPECT_FALSE(Pick(50, 50));
}

}  // namespace
