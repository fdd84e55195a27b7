#include "viewer/commands/TinEdit.h"

#include "viewer/render/HoverPickCache.h"

#include "outside/XTinOption.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <string>

namespace {

struct Xy {
    float x, y;
};

CVertexMng Tin(std::initializer_list<Xy> vertices, std::initializer_list<std::array<std::uint32_t, 3>> triangles)
{
    CVertexMng store;
    for (const Xy& v : vertices)
        store.AddVertex(v.x, v.y, 10.0f);
    for (const auto& t : triangles)
        store.m_triangles.emplace_back(t[0], t[1], t[2]);
    return store;
}

double PlanArea(const CVertexMng& store, const CIndexedTriangle& t)
{
    const auto& a = store.m_vertices[t[0]];
    const auto& b = store.m_vertices[t[1]];
    const auto& c = store.m_vertices[t[2]];
    return std::fabs((double(b.x) - a.x) * (double(c.y) - a.y) - (double(c.x) - a.x) * (double(b.y) - a.y)) / 2.0;
}

double TotalArea(const CVertexMng& store)
{
    double sum = 0.0;
    for (const auto& t : store.m_triangles)
        sum += PlanArea(store, t);
    return sum;
}

bool TouchesPoint(const CVertexMng& store, float x, float y)
{
    for (const auto& t : store.m_triangles)
        for (int k = 0; k < 3; ++k)
            if (store.m_vertices[t[k]].x == x && store.m_vertices[t[k]].y == y)
                return true;
    return false;
}

struct Snapshots {
    int count = 0;
    tinedit::BeforeChange Hook()
    {
        return [this] { ++count; };
    }
};

// 2 x 2 square around a centre vertex 4.
CVertexMng SquareFan()
{
    return Tin({{0, 0}, {2, 0}, {2, 2}, {0, 2}, {1, 1}}, {{0, 1, 4}, {1, 2, 4}, {2, 3, 4}, {3, 0, 4}});
}

} // namespace

TEST(TinEdit, EdgeExistsMatchesByPosition)
{
    // Vertex 5 sits where vertex 2 is: an edge 0-5 exists through triangle 0-1-2.
    CVertexMng store = Tin({{0, 0}, {1, 0}, {0, 1}, {5, 5}, {6, 6}, {0, 1}}, {{0, 1, 2}});
    struct Case {
        std::int64_t a, b;
        int exists;
    } cases[] = {{0, 1, 1}, {1, 2, 1}, {0, 5, 1}, {0, 3, 0}, {3, 4, 0}, {0, 99, 0}, {-1, 0, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(tinedit::TinEdgeExists(store, c.a, c.b), c.exists) << c.a << "-" << c.b;
}

TEST(TinEdit, SwapFlipsAConvexQuadIntoSortedTrianglesWithOneSnapshot)
{
    // Square 0-1-2-3 split by 0-2; the held edge is edge 2 (2 -> 0) of triangle 0.
    CVertexMng store = Tin({{0, 0}, {2, 0}, {2, 2}, {0, 2}}, {{0, 1, 2}, {2, 3, 0}});
    Snapshots snapshots;
    ASSERT_EQ(tinedit::SwapTinEdge(store, 0, 2, snapshots.Hook()), 1);
    EXPECT_EQ(snapshots.count, 1);
    ASSERT_EQ(store.m_triangles.size(), 2u);
    // New diagonal 1-3; corners ascending.
    for (const auto& t : store.m_triangles) {
        EXPECT_LT(t[0], t[1]);
        EXPECT_LT(t[1], t[2]);
        EXPECT_TRUE(t.HasCorner(1) && t.HasCorner(3));
    }
    EXPECT_DOUBLE_EQ(TotalArea(store), 4.0);
    EXPECT_EQ(tinedit::TinEdgeExists(store, 0, 2), 0);
}

TEST(TinEdit, SwapRefusesWhatWouldOverlapOrRepeatAnEdge)
{
    struct Case {
        const char* name;
        CVertexMng store;
        std::int64_t t;
        int edge;
    } cases[] = {
        // Dart: vertex 3 lies inside the other triangle's reach, the quad 0-1-2-3 is not convex.
        {"non-convex quadrilateral", Tin({{0, 0}, {4, 0}, {0, 4}, {1, 1}}, {{0, 1, 3}, {1, 2, 3}, {0, 3, 2}}), 0, 1},
        // b lies on the new diagonal: the quad flattens into a triangle.
        {"flat quadrilateral", Tin({{0, 0}, {2, 0}, {2, 2}, {2, -2}}, {{0, 1, 2}, {0, 3, 1}}), 0, 0},
        // Square whose other diagonal 1-3 already exists in a third triangle.
        {"new diagonal exists", Tin({{0, 0}, {2, 0}, {2, 2}, {0, 2}}, {{0, 1, 2}, {2, 3, 0}, {1, 3, 2}}), 0, 2},
        {"no neighbour", Tin({{0, 0}, {2, 0}, {2, 2}}, {{0, 1, 2}}), 0, 0},
        {"stale triangle", Tin({{0, 0}, {2, 0}, {2, 2}, {0, 2}}, {{0, 1, 2}, {2, 3, 0}}), 7, 0},
        {"edge out of range", Tin({{0, 0}, {2, 0}, {2, 2}, {0, 2}}, {{0, 1, 2}, {2, 3, 0}}), 0, 3},
    };
    for (Case& c : cases) {
        const auto before = c.store.m_triangles.size();
        Snapshots snapshots;
        EXPECT_EQ(tinedit::SwapTinEdge(c.store, c.t, c.edge, snapshots.Hook()), 0) << c.name;
        EXPECT_EQ(snapshots.count, 0) << c.name;
        EXPECT_EQ(c.store.m_triangles.size(), before) << c.name;
    }
}

TEST(TinEdit, RemovingAnInnerVertexMeshesAConvexHoleAgain)
{
    CVertexMng store = SquareFan();
    Snapshots snapshots;
    const auto removal = tinedit::RemoveTinVertex(store, 4, XTinOption(), snapshots.Hook());
    EXPECT_EQ(removal.removed, 4);
    EXPECT_EQ(removal.added, 2);
    EXPECT_EQ(snapshots.count, 1);
    EXPECT_DOUBLE_EQ(TotalArea(store), 4.0);
    EXPECT_FALSE(TouchesPoint(store, 1, 1));
}

TEST(TinEdit, AConcaveHoleIsFilledWithoutCoveringItsSurroundings)
{
    // The vertex at the origin is surrounded by a ring with a dent at (0.4, 0.4);
    // the dent's outside is covered by two triangles up to (2, 2). A mesh of the
    // ring's hull would lay a triangle over them.
    CVertexMng store = Tin({{0, 0}, {2, 0}, {0.4f, 0.4f}, {0, 2}, {-2, 0}, {0, -2}, {2, 2}},
                           {{0, 1, 2}, {0, 2, 3}, {0, 3, 4}, {0, 4, 5}, {0, 5, 1}, {1, 6, 2}, {2, 6, 3}});
    const double area = TotalArea(store);
    const auto removal = tinedit::RemoveTinVertex(store, 0, XTinOption());
    EXPECT_EQ(removal.removed, 5);
    EXPECT_GT(removal.added, 0);
    // Same covered area: the hole is filled and nothing overlaps.
    EXPECT_NEAR(TotalArea(store), area, 1e-5);
    EXPECT_FALSE(TouchesPoint(store, 0, 0));
}

TEST(TinEdit, RemovalEdgeCases)
{
    {
        // A border vertex with two neighbours: its triangle goes, nothing comes.
        CVertexMng store = Tin({{0, 0}, {2, 0}, {2, 2}, {0, 2}}, {{0, 1, 2}, {0, 2, 3}});
        const auto removal = tinedit::RemoveTinVertex(store, 1, XTinOption());
        EXPECT_EQ(removal.removed, 1);
        EXPECT_EQ(removal.added, 0);
        ASSERT_EQ(store.m_triangles.size(), 1u);
        EXPECT_DOUBLE_EQ(TotalArea(store), 2.0);
    }
    {
        // Vertex 5 duplicates the centre (left by an earlier re-mesh): every
        // triangle at that position goes.
        CVertexMng store = Tin({{0, 0}, {2, 0}, {2, 2}, {0, 2}, {1, 1}, {1, 1}}, {{0, 1, 4}, {1, 2, 5}, {2, 3, 4}, {3, 0, 5}});
        const auto removal = tinedit::RemoveTinVertex(store, 4, XTinOption());
        EXPECT_EQ(removal.removed, 4);
        EXPECT_FALSE(TouchesPoint(store, 1, 1));
        EXPECT_DOUBLE_EQ(TotalArea(store), 4.0);
    }
    {
        // A vertex no triangle uses, or one out of range: nothing changes, no snapshot.
        CVertexMng store = SquareFan();
        store.AddVertex(9, 9, 0);
        Snapshots snapshots;
        EXPECT_EQ(tinedit::RemoveTinVertex(store, 5, XTinOption(), snapshots.Hook()).removed, 0);
        EXPECT_EQ(tinedit::RemoveTinVertex(store, 99, XTinOption(), snapshots.Hook()).removed, 0);
        EXPECT_EQ(tinedit::RemoveTinVertex(store, -1, XTinOption(), snapshots.Hook()).removed, 0);
        EXPECT_EQ(snapshots.count, 0);
        EXPECT_EQ(store.m_triangles.size(), 4u);
    }
}

TEST(TinEdit, EraseKeepsTheOrderOfTheOthers)
{
    CVertexMng store = SquareFan();
    Snapshots snapshots;
    EXPECT_EQ(tinedit::EraseTinTriangle(store, 1, snapshots.Hook()), 1);
    EXPECT_EQ(tinedit::EraseTinTriangle(store, 3, snapshots.Hook()), 0);
    EXPECT_EQ(snapshots.count, 1);
    ASSERT_EQ(store.m_triangles.size(), 3u);
    EXPECT_EQ(store.m_triangles[0][1], 1u);
    EXPECT_EQ(store.m_triangles[1][0], 2u);
    EXPECT_EQ(store.m_triangles[2][0], 3u);
}

namespace {

// 5 x 5 vertices 20 apart, each square split by its rising diagonal; vertex
// heights differ so that nearer items win.
CVertexMng HoverGrid()
{
    CVertexMng store;
    for (int j = 0; j < 5; ++j)
        for (int i = 0; i < 5; ++i)
            store.AddVertex(10.0f + 20.0f * i, 10.0f + 20.0f * j, static_cast<float>((i * 3 + j) % 4));
    for (std::uint32_t j = 0; j < 4; ++j)
        for (std::uint32_t i = 0; i < 4; ++i) {
            const std::uint32_t a = j * 5 + i;
            store.m_triangles.emplace_back(a, a + 1, a + 6);
            store.m_triangles.emplace_back(a, a + 6, a + 5);
        }
    return store;
}

// Looking down on the 100 x 100 window, panned by shift.
ScreenProjector HoverCamera(float shift)
{
    QMatrix4x4 projection;
    projection.ortho(shift, 100.0f + shift, shift, 100.0f + shift, -10.0f, 10.0f);
    return ScreenProjector(QMatrix4x4(), projection, {0, 0, 100, 100});
}

// Every hover answer over the window, vertex and edge.
std::string HoverAnswers(const HoverPickCache& cache)
{
    std::string answers = std::to_string(cache.VertexCount()) + "v " + std::to_string(cache.EdgeCount()) + "e:";
    for (double y = 0.5; y < 100; y += 1.5)
        for (double x = 0.5; x < 100; x += 1.5) {
            if (const HoverPickCache::Vertex* v = cache.FindVertex(x, y)) answers += std::to_string(v->index);
            if (const auto e = cache.FindEdge(x, y))
                answers += "/" + std::to_string(e->v1) + "-" + std::to_string(e->v2) + "@" +
                           std::to_string(e->triangle) + "." + std::to_string(e->side);
            answers += ",";
        }
    return answers;
}

} // namespace

// The hover cache keeps a TIN's vertex order and unique edges between camera
// changes; after any edit of the TIN, its next rebuild answers as a cache made
// afresh does, and a camera change alone works nothing out again.
TEST(TinEdit, HoverCacheAfterAnEditAnswersAsAFreshOne)
{
    struct Case {
        const char* name;
        std::function<void(CVertexMng&)> edit;
        bool tinWork;  // the kept cache works the triangles out again
    };
    const Case cases[] = {
        {"camera_only", [](CVertexMng&) {}, false},
        {"edge_swap", [](CVertexMng& t) { ASSERT_EQ(tinedit::SwapTinEdge(t, 10, 1), 1); }, true},
        {"refused_swap", [](CVertexMng& t) { ASSERT_EQ(tinedit::SwapTinEdge(t, 0, 0), 0); }, false},
        {"vertex_removal",
         [](CVertexMng& t) { ASSERT_GT(tinedit::RemoveTinVertex(t, 12, XTinOption()).removed, 0); }, true},
        {"face_erase", [](CVertexMng& t) { ASSERT_EQ(tinedit::EraseTinTriangle(t, 5), 1); }, true},
        {"compaction", [](CVertexMng& t) { t.CompactTin(); }, true},
        {"reload", [](CVertexMng& t) { t = SquareFan(); }, true},
        {"deletion", [](CVertexMng& t) { t.DeleteMeash(); }, false},
    };
    for (const Case& c : cases) {
        CVertexMng tin = HoverGrid();
        HoverPickCache kept;
        kept.Reset(100, 100);
        kept.AddStore(tin, HoverCamera(0.0f), HoverPickCache::kKindGroup, 1);
        const std::string before = HoverAnswers(kept);
        const std::size_t builds = kept.TopologyBuilds();
        c.edit(tin);
        kept.Reset(100, 100);
        kept.AddStore(tin, HoverCamera(1.3f), HoverPickCache::kKindGroup, 1);
        HoverPickCache fresh;
        fresh.Reset(100, 100);
        fresh.AddStore(tin, HoverCamera(1.3f), HoverPickCache::kKindGroup, 1);
        EXPECT_EQ(HoverAnswers(kept), HoverAnswers(fresh)) << c.name;
        EXPECT_NE(HoverAnswers(kept), before) << c.name;
        EXPECT_EQ(kept.TopologyBuilds() != builds, c.tinWork) << c.name;
    }
}
