#include "outside/CCalcTIN.h"
#include "outside/CModelDataMng.h"
#include "outside/XTinOption.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

namespace {

double SignedArea(const PT& a, const PT& b, const PT& c)
{
    return (b.x() - a.x()) * (c.y() - a.y()) - (b.y() - a.y()) * (c.x() - a.x());
}

int Triangulate(CCalcTIN& calc, const std::vector<PT>& pts)
{
    std::int64_t i = 0;
    for (const PT& p : pts)
        calc.SetCalcPtEx(p, i++, 1e-16);
    return calc.DoCalc(nullptr, 1);
}

void ExpectCounterClockwise(const CCalcTIN& calc)
{
    POLY poly(4);
    for (int k = 0; k < calc.GetMeshCount(); ++k) {
        ASSERT_EQ(calc.GetMesh(k, poly), 1);
        ASSERT_EQ(poly.GetCount(), 4);
        EXPECT_EQ(poly[0], poly[3]);
        EXPECT_GT(SignedArea(poly[0], poly[1], poly[2]), 0.0);
    }
}

bool HasEdge(const CCalcTIN& calc, std::int64_t a, std::int64_t b)
{
    std::array<std::int64_t, 3> idx{};
    for (int k = 0; k < calc.GetMeshCount(); ++k) {
        calc.GetMeshIndex(k, idx);
        for (int e = 0; e < 3; ++e) {
            const auto p = idx[e], q = idx[(e + 1) % 3];
            if ((p == a && q == b) || (p == b && q == a))
                return true;
        }
    }
    return false;
}

TEST(CalcTinTest, SquareWithCentreGivesFourTriangles)
{
    CCalcTIN calc;
    calc.Init();
    ASSERT_EQ(Triangulate(calc, {PT(0, 0, 1), PT(10, 0, 2), PT(10, 10, 3), PT(0, 10, 4), PT(5, 5, 9)}), 1);
    EXPECT_EQ(calc.GetMeshCount(), 4);
    ExpectCounterClockwise(calc);
    std::array<std::int64_t, 3> idx{};
    for (int k = 0; k < 4; ++k) {
        ASSERT_TRUE(calc.GetMeshIndex(k, idx));
        EXPECT_TRUE(idx[0] == 4 || idx[1] == 4 || idx[2] == 4);
    }
    POLY poly(4);
    EXPECT_EQ(calc.GetMesh(4, poly), 0);
    EXPECT_EQ(calc.GetMesh(-1, poly), 0);
}

TEST(CalcTinTest, DuplicatePlanPositionsKeptOnceFirstWins)
{
    CCalcTIN calc;
    calc.Init();
    ASSERT_EQ(Triangulate(calc, {PT(0, 0, 1), PT(10, 0, 1), PT(0, 10, 1), PT(0, 0, 50), PT(10, 0, 60)}), 1);
    ASSERT_EQ(calc.GetMeshCount(), 1);
    std::array<std::int64_t, 3> idx{};
    calc.GetMeshIndex(0, idx);
    EXPECT_EQ(std::set<std::int64_t>(idx.begin(), idx.end()), (std::set<std::int64_t>{0, 1, 2}));
}

TEST(CalcTinTest, DegenerateInputGivesNoMesh)
{
    const std::vector<std::vector<PT>> cases = {
        {},
        {PT(0, 0)},
        {PT(0, 0), PT(1, 1)},
        {PT(0, 0), PT(1, 1), PT(2, 2), PT(3, 3)},      // collinear
        {PT(1, 1), PT(1, 1, 5), PT(1, 1, 7)},          // one position
        {PT(std::nan(""), 0), PT(1, 0), PT(0, 1)},     // a NaN point is ignored
    };
    for (const auto& pts : cases) {
        CCalcTIN calc;
        calc.Init();
        EXPECT_EQ(Triangulate(calc, pts), 0);
        EXPECT_EQ(calc.GetMeshCount(), 0);
    }
}

TEST(CalcTinTest, BreakLineAppearsAsEdge)
{
    // A thin rhombus: unconstrained, the short diagonal (1-3) is the Delaunay edge.
    const std::vector<PT> pts = {PT(0, 0, 0), PT(5, -1, 0), PT(10, 0, 0), PT(5, 1, 0)};
    CCalcTIN plain;
    plain.Init();
    ASSERT_EQ(Triangulate(plain, pts), 1);
    EXPECT_TRUE(HasEdge(plain, 1, 3));
    EXPECT_FALSE(HasEdge(plain, 0, 2));

    CCalcTIN constrained;
    constrained.Init();
    constrained.SetConsiderBreakLineSw(1);
    constrained.AddBreakLine({PT(0, 0, 0), PT(10, 0, 0)});
    ASSERT_EQ(Triangulate(constrained, pts), 1);
    EXPECT_TRUE(HasEdge(constrained, 0, 2));
    EXPECT_EQ(constrained.GetMeshCount(), 2);
    ExpectCounterClockwise(constrained);

    // The switch off: break lines are not used.
    CCalcTIN off;
    off.Init();
    off.AddBreakLine({PT(0, 0, 0), PT(10, 0, 0)});
    ASSERT_EQ(Triangulate(off, pts), 1);
    EXPECT_FALSE(HasEdge(off, 0, 2));
}

TEST(CalcTinTest, CrossingBreakLinesAddVerticesWithoutIndex)
{
    CCalcTIN calc;
    calc.Init();
    calc.SetConsiderBreakLineSw(1);
    calc.SetPolyRdcsplMode(0);
    calc.AddBreakLine({PT(1, 1, 5), PT(9, 9, 5)});
    calc.AddBreakLine({PT(1, 9, 5), PT(9, 1, 5)}); // crosses the first at (5, 5)
    calc.AddBreakLine({PT(std::nan(""), 0, 0), PT(2, 2, 0)}); // too short once cleaned
    ASSERT_EQ(Triangulate(calc, {PT(0, 0, 0), PT(10, 0, 0), PT(10, 10, 0), PT(0, 10, 0)}), 1);
    EXPECT_EQ(calc.GetPointCount(), 9); // 4 points, 4 break-line ends, 1 crossing
    int withoutIndex = 0;
    for (int i = 0; i < calc.GetPointCount(); ++i)
        withoutIndex += calc.GetPointIndex(i) == -1 ? 1 : 0;
    EXPECT_EQ(withoutIndex, 5);
    ExpectCounterClockwise(calc);
}

TEST(CalcTinTest, LongEdgeCut)
{
    const std::vector<PT> pts = {PT(0, 0), PT(1, 0), PT(0, 1), PT(100, 0)};
    CCalcTIN calc;
    calc.Init();
    calc.SetRemoveExcessiveTriangle(1, 5.0);
    ASSERT_EQ(Triangulate(calc, pts), 1);
    EXPECT_EQ(calc.GetMeshCount(), 1);

    CCalcTIN all;
    all.Init();
    all.SetRemoveExcessiveTriangle(0, 5.0);
    ASSERT_EQ(Triangulate(all, pts), 1);
    EXPECT_EQ(all.GetMeshCount(), 2);

    CCalcTIN none;
    none.Init();
    none.SetRemoveExcessiveTriangle(1, 0.5);
    EXPECT_EQ(Triangulate(none, pts), 0);
}

TEST(CalcTinTest, RectAndTransformSelectPoints)
{
    CCalcTIN calc;
    calc.Init();
    MTRX m;
    m.Move(100, 0);
    calc.SetPUMtrx(m);
    calc.SetCalcRect(RECTX(99, -1, 111, 11));
    ASSERT_EQ(Triangulate(calc, {PT(0, 0), PT(10, 0), PT(0, 10), PT(50, 50)}), 1);
    EXPECT_EQ(calc.GetPointCount(), 3);
    EXPECT_EQ(calc.GetPoint(0).x(), 100.0);
}

TEST(CalcTinTest, CancelGivesNoMesh)
{
    CCalcTIN calc;
    calc.Init();
    calc.SetCalcPtEx(PT(0, 0), 0, 0);
    calc.SetCalcPtEx(PT(1, 0), 1, 0);
    calc.SetCalcPtEx(PT(0, 1), 2, 0);
    EXPECT_EQ(calc.DoCalc(nullptr, 1, [](double) { return false; }), 0);
    EXPECT_EQ(calc.GetMeshCount(), 0);
}

TEST(CalcTinTest, ReductionModes)
{
    ASSERT_GT(CCalcTIN::GetPolyRdcsplModeCount(), 1);
    std::set<int> levels;
    for (int i = 0; i < CCalcTIN::GetPolyRdcsplModeCount(); ++i) {
        EXPECT_FALSE(CCalcTIN::GetPolyRdcsplModeText(i).empty());
        levels.insert(CCalcTIN::GetPolyRdcsplModeLevel(i));
    }
    EXPECT_EQ(levels.size(), static_cast<std::size_t>(CCalcTIN::GetPolyRdcsplModeCount()));
    EXPECT_EQ(levels.count(1), 1u); // the settings' default level is listed
    EXPECT_EQ(CCalcTIN::GetPolyRdcsplModeLevel(-1), -1);
    EXPECT_TRUE(CCalcTIN::GetPolyRdcsplModeText(99).empty());
}

TEST(GenerateMeshTest, GroupTinFromPointsAndSelection)
{
    CModelDataMng store;
    auto g = std::make_unique<CPCloudMng>();
    for (const auto& [x, y] : std::vector<std::pair<float, float>>{{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}, {0, 0}})
        g->AddCloudPoint(x, y, x + y, 0, 0);
    store.AddGroup(std::move(g));
    CPCloudMng& group = *store.GetGroup(0);
    XTinOption opt;
    EXPECT_EQ(group.GenerateMesh(&store, &opt, 1), 4);
    EXPECT_EQ(group.GetVertexSize(), 5); // the duplicate kept once
    for (const CIndexedTriangle& t : group.m_triangles) {
        float x[3], y[3], z[3];
        for (int k = 0; k < 3; ++k)
            ASSERT_EQ(group.GetVertexVal(t.m_idx[k], x[k], y[k], z[k]), 1);
        EXPECT_GT((x[1] - x[0]) * (y[2] - y[0]) - (y[1] - y[0]) * (x[2] - x[0]), 0.0f);
    }
    EXPECT_FALSE(group.m_vertexChunks.empty());

    // From a selection: only the selected points of the target group; bad indices skipped.
    const std::vector<SelPCloud> sel = {{0, {0, 1, 2, 77}}, {3, {1}}};
    EXPECT_EQ(store.GenerateMesh(sel, 0, &opt), 1);
    EXPECT_EQ(group.GetVertexSize(), 3);
    EXPECT_EQ(store.GenerateMesh(sel, 5, &opt), 0);

    CPCloudMng empty;
    EXPECT_EQ(empty.GenerateMesh(&store, &opt, 1), 0);
    EXPECT_EQ(empty.GetTriangleCount(), 0);
}

TEST(GenerateMeshTest, StoppedKeepsTheOldTinNoMeshRemovesIt)
{
    CPCloudMng group;
    for (const auto& [x, y] : std::vector<std::pair<float, float>>{{0, 0}, {10, 0}, {10, 10}, {0, 10}})
        group.AddCloudPoint(x, y, 1, 0, 0);
    group.m_tinValue1 = 42;
    XTinOption opt;
    ASSERT_EQ(group.GenerateMesh(nullptr, &opt, 1), 2);
    group.AddCloudPoint(5, 5, 3, 0, 0);
    EXPECT_EQ(group.GenerateMesh(nullptr, &opt, 1, [](double) { return false; }), 2);
    EXPECT_EQ(group.GetVertexSize(), 4);
    EXPECT_EQ(group.GetCloudPointSize(), 5); // points untouched either way
    EXPECT_EQ(group.GenerateMesh(nullptr, &opt, 1), 4);
    group.DeleteCloudPointAll();
    group.AddCloudPoint(0, 0, 0, 0, 0);
    EXPECT_EQ(group.GenerateMesh(nullptr, &opt, 1), 0); // one point: no TIN any more
    EXPECT_EQ(group.GetVertexSize(), 0);
    EXPECT_EQ(group.m_tinValue1, 42);
}

TEST(GenerateMeshTest, CadBreakLinesWhenAsked)
{
    CModelDataMng store;
    auto g = std::make_unique<CPCloudMng>();
    for (const auto& [x, y] : std::vector<std::pair<float, float>>{{0, 0}, {5, -1}, {10, 0}, {5, 1}})
        g->AddCloudPoint(x, y, 0, 0, 0);
    store.AddGroup(std::move(g));
    CElmData line;
    line.m_ptLists = {{PT(0, 0, 0), PT(10, 0, 0)}};
    store.m_elmList.push_back(line);
    XTinOption opt;
    opt.m_nConsiderBreakLineSw = 1;
    CPCloudMng& group = *store.GetGroup(0);
    ASSERT_EQ(group.GenerateMesh(&store, &opt, 1), 2);
    // Edge 0-2 (vertices at x 0 and x 10) is in both triangles.
    int withLongEdge = 0;
    for (const CIndexedTriangle& t : group.m_triangles) {
        std::set<float> xs;
        for (std::uint32_t v : t.m_idx)
            xs.insert(group.m_vertices[v].x);
        withLongEdge += xs.count(0.0f) && xs.count(10.0f) ? 1 : 0;
    }
    EXPECT_EQ(withLongEdge, 2);
}

} // namespace
