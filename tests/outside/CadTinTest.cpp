// The CAD TIN of the model store: the shown figures' points with elevations as
// vertices, their lines as constraints.
#include "outside/CModelDataMng.h"
#include "outside/StoreMarkers.h"
#include "outside/XTinOption.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <utility>

namespace {

constexpr std::uint8_t kPointKind = 11;
constexpr std::uint8_t kLineKind = 12;
constexpr std::uint8_t kPolylineKind = 13;

void AddFigure(CModelDataMng& store, std::uint8_t kind, std::vector<PT> points)
{
    CElmData e;
    e.m_nKind = kind;
    e.m_ptLists.push_back(std::move(points));
    e.RebuildSegments();
    store.m_elmList.push_back(std::move(e));
}

// The CAD TIN's edges as pairs of plan positions.
using Edge = std::pair<std::pair<float, float>, std::pair<float, float>>;
std::set<Edge> Edges(const CVertexMng& tin)
{
    std::set<Edge> edges;
    for (const CIndexedTriangle& t : tin.m_triangles) {
        const std::uint32_t v[3] = {t.m_idx[0], t.m_idx[1], t.m_idx[2]};
        for (int e = 0; e < 3; ++e) {
            float ax, ay, az, bx, by, bz;
            tin.GetVertexVal(v[e], ax, ay, az);
            tin.GetVertexVal(v[(e + 1) % 3], bx, by, bz);
            edges.insert(std::minmax(std::make_pair(ax, ay), std::make_pair(bx, by)));
        }
    }
    return edges;
}

Edge EdgeOf(float ax, float ay, float bx, float by)
{
    return std::minmax(std::make_pair(ax, ay), std::make_pair(bx, by));
}

XTinOption Constrained()
{
    XTinOption o;
    o.m_nConsiderBreakLineSw = 1;
    return o;
}

} // namespace

TEST(CadTinTest, FiguresWithElevationsMakeTheTinAndThoseWithoutAreCounted)
{
    CModelDataMng store;
    // A thin rhombus: its long diagonal is a line figure, the two other corners points.
    AddFigure(store, kLineKind, {PT(0, 0, 1), PT(10, 0, 2)});
    AddFigure(store, kPointKind, {PT(5, -1, 3)});
    AddFigure(store, kPointKind, {PT(5, 1, 4)});
    AddFigure(store, kLineKind, {PT(50, 50, kUnsetDouble), PT(60, 50, kUnsetDouble)});
    store.RebuildCadLayers();

    const CModelDataMng::CadTinInput input = store.CountCadTinInput();
    EXPECT_EQ(input.figuresUsed, 3);
    EXPECT_EQ(input.figuresWithoutZ, 1);
    EXPECT_EQ(input.vertices, 4);
    EXPECT_TRUE(input.spansArea);

    const XTinOption plain;
    ASSERT_EQ(store.GenerateCadTin(&plain), 2);
    EXPECT_EQ(store.m_cadTin.GetVertexSize(), 4);
    EXPECT_TRUE(Edges(store.m_cadTin).count(EdgeOf(5, -1, 5, 1))) << "unconstrained, the short diagonal";

    const XTinOption constrained = Constrained();
    ASSERT_EQ(store.GenerateCadTin(&constrained), 2);
    const auto edges = Edges(store.m_cadTin);
    EXPECT_TRUE(edges.count(EdgeOf(0, 0, 10, 0))) << "the line figure is an edge";
    EXPECT_FALSE(edges.count(EdgeOf(5, -1, 5, 1)));
    // The elevations come with the vertices.
    float x, y, z;
    std::set<float> heights;
    for (int i = 0; i < store.m_cadTin.GetVertexSize(); ++i) {
        store.m_cadTin.GetVertexVal(i, x, y, z);
        heights.insert(z);
    }
    EXPECT_EQ(heights, (std::set<float>{1, 2, 3, 4}));
}

TEST(CadTinTest, VerticesAreInModelCoordinates)
{
    CModelDataMng store;
    store.SetRenderingCenterPt(PT(1000, 2000, 100));
    AddFigure(store, kPolylineKind, {PT(1000, 2000, 101), PT(1010, 2000, 102), PT(1010, 2010, 103)});
    store.RebuildCadLayers();
    ASSERT_EQ(store.GenerateCadTin(nullptr), 1);
    float x, y, z;
    std::set<std::pair<float, float>> plan;
    for (int i = 0; i < 3; ++i) {
        store.m_cadTin.GetVertexVal(i, x, y, z);
        PT p(x, y, z);
        store.ModelToUser(p);
        plan.insert({float(p.x()), float(p.y())});
    }
    EXPECT_EQ(plan, (std::set<std::pair<float, float>>{{1000, 2000}, {1010, 2000}, {1010, 2010}}));
}

// Hidden figures take no part; with too little left the old TIN stays.
TEST(CadTinTest, HiddenFiguresAndTooFewPointsLeaveTheOldTin)
{
    struct Case {
        const char* name;
        std::function<void(CModelDataMng&)> change;
        int triangles;  // made by the second run; 0 keeps the first TIN
    };
    const std::vector<Case> cases = {
        {"nothing changed", [](CModelDataMng&) {}, 2},
        {"CAD section hidden", [](CModelDataMng& s) { s.m_nShowCAD = 0; }, 0},
        {"root hidden", [](CModelDataMng& s) { s.m_nShowRoot = 0; }, 0},
        {"point layer hidden",
         [](CModelDataMng& s) { s.m_cadLayers[std::size_t(s.FindCadLayer(kPointKind))].show = 0; }, 0},
        {"elevations gone",
         [](CModelDataMng& s) {
             for (CElmData& e : s.m_elmList)
                 for (auto& list : e.m_ptLists)
                     for (PT& p : list) p.Z() = kUnsetDouble;
         },
         0},
        {"all on one line",
         [](CModelDataMng& s) {
             for (CElmData& e : s.m_elmList)
                 for (auto& list : e.m_ptLists)
                     for (PT& p : list) p.Y() = 0;
         },
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CModelDataMng store;
        AddFigure(store, kLineKind, {PT(0, 0, 1), PT(10, 0, 2)});
        AddFigure(store, kPointKind, {PT(5, -1, 3)});
        AddFigure(store, kPointKind, {PT(5, 1, 4)});
        store.RebuildCadLayers();
        ASSERT_EQ(store.GenerateCadTin(nullptr), 2);
        c.change(store);
        EXPECT_EQ(store.CountCadTinInput().spansArea, c.triangles > 0);
        EXPECT_EQ(store.GenerateCadTin(nullptr), c.triangles);
        EXPECT_EQ(store.m_cadTin.GetTriangleCount(), 2);
    }
}

TEST(CadTinTest, SplitLinesGetPointsAlongThemWithElevationsBetween)
{
    CModelDataMng store;
    AddFigure(store, kLineKind, {PT(0, 0, 0), PT(10, 0, 10)});
    AddFigure(store, kPointKind, {PT(5, 3, 0)});
    store.RebuildCadLayers();
    const XTinOption constrained = Constrained();
    ASSERT_GT(store.GenerateCadTin(&constrained, 2.5), 0);
    // Three points between the ends, at 2.5 m steps, rising with the line.
    EXPECT_EQ(store.m_cadTin.GetVertexSize(), 6);
    float x, y, z;
    for (int i = 0; i < store.m_cadTin.GetVertexSize(); ++i) {
        store.m_cadTin.GetVertexVal(i, x, y, z);
        if (y == 0.0f) {
            EXPECT_FLOAT_EQ(z, x);
        }
    }
    const auto edges = Edges(store.m_cadTin);
    for (float from : {0.0f, 2.5f, 5.0f, 7.5f})
        EXPECT_TRUE(edges.count(EdgeOf(from, 0, from + 2.5f, 0))) << from;
}
