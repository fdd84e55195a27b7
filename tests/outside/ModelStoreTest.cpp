#include "outside/CElmData.h"
#include "outside/CModelDataMng.h"
#include "outside/StoreMarkers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <set>

namespace {

const float kNaNf = std::numeric_limits<float>::quiet_NaN();

std::unique_ptr<CPCloudMng> GroupOf(std::initializer_list<std::array<float, 3>> pts)
{
    auto g = std::make_unique<CPCloudMng>();
    COLORREF c = 1;
    for (const auto& p : pts) {
        g->AddCloudPoint(p[0], p[1], p[2], c, 0.5 * c);
        ++c;
    }
    g->m_nDataFlag = 1;
    g->CreateGrid();
    return g;
}

struct RoundTripCase {
    PT centre;
    PT user;
};

class TransformRoundTripTest : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(TransformRoundTripTest, ModelToUserUndoesUserToModel)
{
    CModelDataMng store;
    store.SetRenderingCenterPt(GetParam().centre);
    // The store's coordinates are floats.
    const PT user(static_cast<float>(GetParam().user.x()), static_cast<float>(GetParam().user.y()),
                  static_cast<float>(GetParam().user.z()));
    PT p = user;
    store.UserToModel(p);
    store.ModelToUser(p);
    EXPECT_EQ(p, user);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TransformRoundTripTest,
    ::testing::Values(RoundTripCase{PT(0, 0, 0), PT(12.345, -6.5, 101.25)},
                      RoundTripCase{PT(0.4, -0.6, 87.3), PT(0.125, 3.3, 87.31)},
                      RoundTripCase{PT(150000.2, -42000.7, 1500.5), PT(150010.3, -41990.1, 1499.9)},
                      RoundTripCase{PT(kUnsetDouble, kUnsetDouble, kUnsetDouble), PT(-3.75, 8.5, 0.01)},
                      RoundTripCase{PT(523.0, 17.0, 12.0), PT(0.0, 0.0, 0.0)}));

TEST(ModelStoreTest, CentreIsWholeMetresAndZIndependent)
{
    CModelDataMng store;
    store.SetRenderingCenterPt(PT(10.4, -3.6, 99.5));
    EXPECT_EQ(store.GetRenderingCenterPt(), PT(10, -4, 100));
    PT p(10, -4, 0);
    store.UserToModel(p);
    EXPECT_EQ(p, PT(0, 0, -100));
    store.SetRenderingCenterPt(PT(std::nan(""), kUnsetDouble, 1e300));
    EXPECT_EQ(store.GetRenderingCenterPt(), PT(0, 0, 0));
}

TEST(ModelStoreTest, DefaultGroupColoursAreStableAndNeverBlack)
{
    std::set<COLORREF> firstRound;
    for (std::uint32_t n = 0; n <= 0xFFFF; ++n) {
        const COLORREF c = CModelDataMng::GetDefPointCloudGroupCol(static_cast<std::uint16_t>(n));
        ASSERT_NE(c, 0u) << n;
        ASSERT_EQ(c & 0xFF000000u, 0u);
        EXPECT_EQ(c, CModelDataMng::GetDefPointCloudGroupCol(static_cast<std::uint16_t>(n)));
        if (n < 16)
            firstRound.insert(c);
    }
    EXPECT_EQ(firstRound.size(), 16u);
}

TEST(PointCloudTest, AddReadAndRefuseBadInput)
{
    CPCloudMng g;
    EXPECT_EQ(g.AddCloudPoint(1, 2, 3, 0x123456, 7.5), 1);
    EXPECT_EQ(g.AddCloudPoint(kNaNf, 2, 3, 0, 0), 0);
    EXPECT_EQ(g.AddCloudPoint(1, INFINITY, 3, 0, 0), 0);
    EXPECT_EQ(g.AddCloudPoint(4, 5, kNaNf, 0, 0), 1); // no elevation
    ASSERT_EQ(g.GetCloudPointSize(), 2);
    float x = -1, y = -1, z = -1;
    COLORREF c = 9;
    double in = -1;
    ASSERT_EQ(g.GetCloudPointVal(0, x, y, z, c, in), 1);
    EXPECT_EQ(c, 0x123456u);
    EXPECT_EQ(in, 7.5);
    ASSERT_EQ(g.GetCloudPointVal(1, x, y, z, c, in), 1);
    EXPECT_TRUE(IsUnsetValue(z));
    EXPECT_TRUE(IsUnsetValue(static_cast<double>(z)));
    x = -1;
    EXPECT_EQ(g.GetCloudPointVal(2, x, y, z, c, in), 0);
    EXPECT_EQ(g.GetCloudPointVal(-1, x, y, z, c, in), 0);
    EXPECT_EQ(x, -1); // outputs untouched
    // The unset z takes no part in the z bounds.
    EXPECT_EQ(g.GetPCloudMinZ(), 3.0f);
    EXPECT_EQ(g.GetPCloudMaxX(), 4.0f);
}

TEST(PointCloudTest, NaNMarksAreCompactedWithBoundsRecomputed)
{
    auto g = GroupOf({{0, 0, 1}, {10, 10, 50}, {5, 5, 2}, {-3, 1, 0}});
    EXPECT_EQ(g->SetCloudPointNaN(1), 1);
    EXPECT_EQ(g->SetCloudPointNaN(3), 1);
    EXPECT_EQ(g->SetCloudPointNaN(99), 0);
    EXPECT_EQ(g->DeleteCloudPointNaN(), 2);
    ASSERT_EQ(g->GetCloudPointSize(), 2);
    EXPECT_EQ(g->GetPCloudMaxX(), 5.0f);
    EXPECT_EQ(g->GetPCloudMinX(), 0.0f);
    EXPECT_EQ(g->GetPCloudMaxZ(), 2.0f);
    EXPECT_TRUE(g->m_grid.empty()); // to be rebuilt by the caller
    EXPECT_EQ(g->m_points[1].colour, 3u); // order and colours kept
}

TEST(PointCloudTest, GridCoversEveryPointOnceWithBoxes)
{
    CPCloudMng g;
    for (int i = 0; i < 20000; ++i)
        g.AddCloudPoint(static_cast<float>(i % 200), static_cast<float>(i / 200), static_cast<float>(i % 7), 0, 0);
    g.CreateGrid();
    ASSERT_GT(g.m_grid.size(), 1u);
    std::vector<int> seen(20000, 0);
    for (const GridCell& cell : g.m_grid) {
        ASSERT_FALSE(cell.indices.empty());
        for (std::uint32_t i : cell.indices) {
            ++seen[i];
            const auto& p = g.m_points[i];
            EXPECT_TRUE(p.x >= cell.minX && p.x <= cell.maxX && p.y >= cell.minY && p.y <= cell.maxY);
        }
    }
    for (int s : seen)
        ASSERT_EQ(s, 1);
    CPCloudMng empty;
    empty.CreateGrid();
    EXPECT_TRUE(empty.m_grid.empty());
}

// A copy of a group's points ends as CreateGrid over the same points would leave
// it, whether the source's grid is current, missing or behind its points.
TEST(PointCloudTest, CopiedPointsCarryTheGridCreateGridWouldBuild)
{
    enum class Source { GridCurrent, NoGrid, PointsAddedAfterGrid, Empty, NoElevation };
    for (Source state : {Source::GridCurrent, Source::NoGrid, Source::PointsAddedAfterGrid, Source::Empty,
                         Source::NoElevation}) {
        SCOPED_TRACE(static_cast<int>(state));
        CPCloudMng source;
        const int n = state == Source::Empty ? 0 : 30000;
        for (int i = 0; i < n; ++i) {
            const float z = state == Source::NoElevation ? std::nanf("") : static_cast<float>(i % 11) - 5.0f;
            source.AddCloudPoint(static_cast<float>(i % 300) * 0.5f, static_cast<float>(i / 300), z,
                                 static_cast<COLORREF>(i), i * 0.25);
        }
        if (state != Source::NoGrid)
            source.CreateGrid();
        if (state == Source::PointsAddedAfterGrid)
            for (int i = 0; i < 500; ++i)
                source.AddCloudPoint(1000.0f + i, -50.0f, 99.0f, 7, -3.0);

        CPCloudMng copy;
        copy.m_nShowTin = 0;
        copy.CopyPointsFrom(source);
        CPCloudMng rebuilt;
        rebuilt.m_points = source.m_points;
        rebuilt.CreateGrid();

        ASSERT_EQ(copy.m_points.size(), source.m_points.size());
        EXPECT_TRUE(source.m_points.empty() ||
                    std::memcmp(copy.m_points.data(), source.m_points.data(),
                                source.m_points.size() * sizeof(CPCloudMng::CloudPoint)) == 0);
        EXPECT_EQ(copy.GetPCloudMinX(), rebuilt.GetPCloudMinX());
        EXPECT_EQ(copy.GetPCloudMaxX(), rebuilt.GetPCloudMaxX());
        EXPECT_EQ(copy.GetPCloudMinY(), rebuilt.GetPCloudMinY());
        EXPECT_EQ(copy.GetPCloudMaxY(), rebuilt.GetPCloudMaxY());
        EXPECT_EQ(copy.GetPCloudMinZ(), rebuilt.GetPCloudMinZ());
        EXPECT_EQ(copy.GetPCloudMaxZ(), rebuilt.GetPCloudMaxZ());
        EXPECT_EQ(copy.GetPCloudMinIntensity(), rebuilt.GetPCloudMinIntensity());
        EXPECT_EQ(copy.GetPCloudMaxIntensity(), rebuilt.GetPCloudMaxIntensity());
        ASSERT_EQ(copy.m_grid.size(), rebuilt.m_grid.size());
        for (std::size_t c = 0; c < copy.m_grid.size(); ++c) {
            const GridCell& a = copy.m_grid[c];
            const GridCell& b = rebuilt.m_grid[c];
            ASSERT_EQ(a.indices, b.indices) << "cell " << c;
            const float boxA[6] = {a.minX, a.minY, a.minZ, a.maxX, a.maxY, a.maxZ};
            const float boxB[6] = {b.minX, b.minY, b.minZ, b.maxX, b.maxY, b.maxZ};
            EXPECT_EQ(std::memcmp(boxA, boxB, sizeof boxA), 0) << "cell " << c;
        }
        EXPECT_EQ(copy.m_nShowTin, 0); // only the points and their index change
    }
}

TEST(PointCloudTest, StoreCostsAtMost32BytesAPoint)
{
    CPCloudMng g;
    const std::size_t n = 100000;
    g.ReserveCloudPoint(n);
    for (std::size_t i = 0; i < n; ++i)
        g.AddCloudPoint(static_cast<float>(i % 1000), static_cast<float>(i / 1000), 1.0f, 0, 0);
    g.CreateGrid();
    std::size_t bytes = g.m_points.capacity() * sizeof(CPCloudMng::CloudPoint);
    for (const GridCell& c : g.m_grid)
        bytes += sizeof(GridCell) + c.indices.capacity() * sizeof(std::uint32_t);
    EXPECT_LE(static_cast<double>(bytes) / n, 32.0);
}

TEST(TinStoreTest, AddVertexRefusesNaNPlanPosition)
{
    CVertexMng tin;
    EXPECT_EQ(tin.AddVertex(kNaNf, 0, 0), 0);
    EXPECT_EQ(tin.AddVertex(1, 2, kNaNf), 1);
    ASSERT_EQ(tin.GetVertexSize(), 1);
    float x, y, z;
    ASSERT_EQ(tin.GetVertexVal(0, x, y, z), 1);
    EXPECT_TRUE(IsNoElevation(z));
    EXPECT_EQ(tin.GetVertexVal(1, x, y, z), 0);
    EXPECT_EQ(tin.GetVertexMinZ(), 0.0f); // no elevation takes no part in the bounds
}

TEST(TinStoreTest, ReMapTinDataAfterVertexRemoval)
{
    CModelDataMng store;
    auto g = GroupOf({{0, 0, 0}});
    CVertexMng& tin = *g;
    // A square of 4 vertices around a centre vertex 4, four triangles.
    tin.AddVertex(0, 0, 1);
    tin.AddVertex(2, 0, 1);
    tin.AddVertex(2, 2, 1);
    tin.AddVertex(0, 2, 1);
    tin.AddVertex(1, 1, 5);
    for (std::uint32_t k = 0; k < 4; ++k)
        tin.m_triangles.emplace_back(k, (k + 1) % 4, 4);
    // Vertex removal drops the triangles of vertex 4 and re-triangulates the hole
    // with appended copies of the neighbours.
    tin.m_triangles.clear();
    const int base = tin.GetVertexSize();
    tin.AddVertex(0, 0, 1);
    tin.AddVertex(2, 0, 1);
    tin.AddVertex(2, 2, 1);
    tin.AddVertex(0, 2, 1);
    tin.m_triangles.emplace_back(base, base + 1, base + 2);
    tin.m_triangles.emplace_back(base, base + 2, base + 3);
    tin.m_triangles.emplace_back(0, 1, 99); // a stale record
    store.AddGroup(std::move(g));

    EXPECT_EQ(store.ReMapTinData(), 5); // the removed vertex and the four copies
    const CVertexMng& after = *store.GetGroup(0);
    ASSERT_EQ(after.GetVertexSize(), 4);
    ASSERT_EQ(after.GetTriangleCount(), 2);
    for (const CIndexedTriangle& t : after.m_triangles)
        for (std::uint32_t v : t.m_idx)
            EXPECT_LT(v, 4u);
    EXPECT_FALSE(after.m_vertexChunks.empty());
    // Read as a vertex set, the group gives its TIN's box; as a group, its points'.
    EXPECT_EQ(after.GetPCloudMaxX(), 2.0f);
    EXPECT_EQ(store.GetGroup(0)->GetPCloudMaxX(), 0.0f);
    float x, y, z;
    ASSERT_EQ(after.GetVertexVal(after.m_triangles[0].m_idx[0], x, y, z), 1);
    EXPECT_EQ(x, 0.0f);
}

TEST(StoreTest, MergeRepointsSelection)
{
    CModelDataMng store;
    store.AddGroup(GroupOf({{0, 0, 0}, {1, 0, 0}}));
    store.AddGroup(GroupOf({{5, 5, 5}}));               // hidden, stays
    store.AddGroup(GroupOf({{2, 0, 0}, {3, 0, 0}, {4, 0, 0}}));
    store.GetGroup(1)->m_nShowPCloud = 0;
    store.GetGroup(0)->m_name = "A";
    std::vector<SelPCloud> sel = {{0, {1}}, {2, {0, 2}}, {1, {0}}, {7, {0}}};
    EXPECT_EQ(store.AllPointMerge(1, sel), 2);
    ASSERT_EQ(store.GetGroupCount(), 2);
    const CPCloudMng& merged = *store.GetGroup(1);
    EXPECT_EQ(merged.GetCloudPointSize(), 5);
    EXPECT_EQ(merged.m_name, "A");
    EXPECT_EQ(store.GetGroup(0)->GetCloudPointSize(), 1); // the hidden group
    ASSERT_EQ(sel.size(), 2u);
    EXPECT_EQ(sel[0].group, 1);
    EXPECT_EQ(sel[0].points, (std::vector<std::uint64_t>{1, 2, 4}));
    EXPECT_EQ(sel[1].group, 0);
}

TEST(StoreTest, ShowQueriesAndExistence)
{
    CModelDataMng store;
    EXPECT_EQ(store.IsExistToShowPCloud(), 0);
    store.AddGroup(GroupOf({{0, 0, 0}}));
    store.m_groups.push_back(nullptr);
    EXPECT_NE(store.IsExistToShowPCloud(), 0);
    store.m_nShowRoot = 0;
    EXPECT_EQ(store.IsExistToShowPCloud(), 0);
    store.m_nShowStructure[CModelDataMng::kChimney] = 0;
    EXPECT_EQ(store.IsShowChimneyTin(), 0);
    EXPECT_NE(store.IsShowBuildTin(), 0);
    EXPECT_EQ(store.GetGroup(1), nullptr);
    EXPECT_EQ(store.GetGroup(-1), nullptr);
}

TEST(CadTest, SegmentsSplitByElevation)
{
    CElmData e;
    e.m_nKind = 5;
    e.m_ptLists = {{PT(0, 0, 1), PT(1, 0, 2), PT(2, 0, std::nan("")), PT(3, 0, 4)}, {PT(5, 5, 1), PT(6, 5, 1)}};
    e.RebuildSegments();
    ASSERT_EQ(e.m_seg3D.size(), 2u);  // segment 0, and the second list's segment
    ASSERT_EQ(e.m_seg2D.size(), 2u);  // segments 1 and 2 touch the point without z
    EXPECT_EQ(e.m_seg3D[0][0].i2, 1);
    EXPECT_EQ(e.m_seg3D[1].size(), 1u);
    EXPECT_EQ(e.m_seg2D[1][0].lead, 2);
    EXPECT_TRUE(IsUnsetValue(e.m_ptLists[0][2].z()));

    CElmData single;
    single.m_ptLists = {{PT(1, 1, kUnsetDouble)}};
    single.RebuildSegments();
    ASSERT_EQ(single.m_seg2D.size(), 1u);
    EXPECT_EQ(single.m_seg2D[0][0].i1, 0);
}

TEST(CadTest, LayersRegisterKindsAndKeepShowFlags)
{
    CModelDataMng store;
    CElmData a, b;
    a.m_nKind = 3;
    b.m_nKind = 50;
    store.m_elmList = {a, b, a};
    store.RebuildCadLayers();
    ASSERT_EQ(store.FindCadLayer(3), 0);
    ASSERT_EQ(store.FindCadLayer(50), 1);
    EXPECT_EQ(store.FindCadLayer(7), -1);
    EXPECT_TRUE(store.IsOnShownCadLayer(b));
    store.m_cadLayers[1].show = 0;
    store.RebuildCadLayers();
    EXPECT_FALSE(store.IsOnShownCadLayer(b));
    CElmData unknown;
    unknown.m_nKind = 9;
    EXPECT_FALSE(store.IsOnShownCadLayer(unknown));
}

} // namespace

// Caches of what a TIN's triangles give key on its revision: every way the
// triangles can change gives a number no store had before; reading does not.
TEST(TinStoreTest, TinRevisionIsNewAfterEveryChangeOfTheTriangles)
{
    const auto square = [] {
        CVertexMng tin;
        tin.AddVertex(0, 0, 1);
        tin.AddVertex(2, 0, 1);
        tin.AddVertex(2, 2, 1);
        tin.AddVertex(0, 2, 1);
        tin.m_triangles.emplace_back(0u, 1u, 2u);
        tin.m_triangles.emplace_back(0u, 2u, 3u);
        return tin;
    };
    struct Case {
        const char* name;
        bool changes;
        std::function<void(CVertexMng&, CVertexMng&)> act;  // (the store, another store)
    };
    const Case cases[] = {
        {"clear", true, [](CVertexMng& t, CVertexMng&) { t.ClearVertex(); }},
        {"delete_mesh", true, [](CVertexMng& t, CVertexMng&) { t.DeleteMeash(); }},
        {"compact", true, [](CVertexMng& t, CVertexMng&) { t.CompactTin(); }},
        {"edited_in_place", true, [](CVertexMng& t, CVertexMng&) { t.TinChanged(); }},
        {"copied_over", true, [](CVertexMng& t, CVertexMng& o) { t = o; }},
        {"moved_over", true, [](CVertexMng& t, CVertexMng& o) { t = std::move(o); }},
        {"moved_away", true, [](CVertexMng& t, CVertexMng& o) { o = std::move(t); }},
        {"read", false,
         [](CVertexMng& t, CVertexMng&) {
             float x, y, z;
             t.GetVertexVal(1, x, y, z);
             const CVertexMng copy(t);
             EXPECT_NE(copy.TinRevision(), t.TinRevision());
         }},
        {"grid", false, [](CVertexMng& t, CVertexMng&) { t.CreateGrid(); }},
    };
    for (const Case& c : cases) {
        CVertexMng tin = square();
        CVertexMng other = square();
        const std::uint64_t before = tin.TinRevision(), otherBefore = other.TinRevision();
        EXPECT_NE(before, otherBefore) << c.name;
        c.act(tin, other);
        EXPECT_EQ(tin.TinRevision() != before, c.changes) << c.name;
        EXPECT_NE(tin.TinRevision(), otherBefore) << c.name;
    }
}
