#include "viewer/files/ExchangeFile.h"

#include "ExchangeFileReader.h"
#include "ExportTestSupport.h"

#include <gtest/gtest.h>

using namespace exporttest;
using namespace exchangetest;

namespace {

// Survey coordinates are user coordinates moved by (-100, +50).
const MTRX kToSurvey = [] {
    MTRX m;
    m.Move(-100.0, 50.0);
    return m;
}();


class ExchangeFileTest : public ScratchFolderTest {
protected:
    void SetUp() override
    {
        ScratchFolderTest::SetUp();
        m_store.m_nShowRoot = 1;
        m_path = PathOf("~exchange.dat");
    }
    std::string Bytes() const { return ReadAll(m_path); }

    CModelDataMng m_store;
    std::string m_path;
};

struct PointPartCase {
    const char* name;
    int limit;
    bool rootShown;
    int expectedCount;
    bool records;
};

class ExchangePointPartTest : public ExchangeFileTest, public ::testing::WithParamInterface<PointPartCase> {};

TEST_P(ExchangePointPartTest, CountsShownPointsAndWritesThemWithinTheLimit)
{
    const PointPartCase& c = GetParam();
    m_store.m_nShowRoot = c.rootShown ? 1 : 0;
    m_store.AddGroup(MakeLineGroup(1500));
    m_store.AddGroup(MakeLineGroup(700, /*shown=*/false));
    m_store.AddGroup(MakeLineGroup(500));
    ExchangeFile file(m_store, kToSurvey);
    const int items = file.WriteExchangeFile(m_path, ExchangeFile::kPointPart, c.limit, 0xFF);
    EXPECT_EQ(items, c.expectedCount);
    const Exchange e = ReadExchange(Bytes(), 0xFF, c.records);
    EXPECT_EQ(e.pointCount, c.expectedCount);
    EXPECT_EQ(e.points.size(), c.records ? std::size_t(c.expectedCount) : 0u);
    if (c.records && !e.points.empty()) {
        // Point 3 of the first group: user (1.5, 3, 13) -> host (-98.5, 53, 13).
        EXPECT_DOUBLE_EQ(e.points[3].x, -98.5);
        EXPECT_DOUBLE_EQ(e.points[3].y, 53.0);
        EXPECT_DOUBLE_EQ(e.points[3].z, 13.0);
        EXPECT_EQ(e.points[3].colour, 3u);
        EXPECT_DOUBLE_EQ(e.points[3].intensity, 1.0);
        // The third group follows the first; the hidden one is not there.
        EXPECT_DOUBLE_EQ(e.points[1500].x, -100.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ExchangePointPartTest,
                         ::testing::Values(PointPartCase{"no_limit", 0, true, 2000, true},
                                           PointPartCase{"within_limit", 2000, true, 2000, true},
                                           // Over the limit: the count tells the host, no records.
                                           PointPartCase{"over_limit", 1000, true, 2000, false},
                                           PointPartCase{"root_hidden", 0, false, 0, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExchangeFileTest, SelectionCountEqualsItsRecordsAndIgnoresTheLimit)
{
    m_store.AddGroup(MakeLineGroup(10));
    m_store.AddGroup(MakeLineGroup(10, /*shown=*/false));
    const std::vector<SelPCloud> selection = {
        {0, {2, 5, 99 /* no such point */, (std::uint64_t{7} << 32) | 9}},
        {1, {1, 2}},       // hidden group
        {5, {0}},          // no such group
    };
    ExchangeFile file(m_store, kToSurvey);
    file.SetSelection(&selection);
    ASSERT_EQ(file.WriteExchangeFile(m_path, ExchangeFile::kPointPart, 1, 0xFF), 3);
    const Exchange e = ReadExchange(Bytes(), 0xFF);
    ASSERT_EQ(e.points.size(), 3u);
    EXPECT_DOUBLE_EQ(e.points[0].x, -99.0);
    EXPECT_DOUBLE_EQ(e.points[1].x, -97.5);
    EXPECT_DOUBLE_EQ(e.points[2].x, -95.5);
}

TEST_F(ExchangeFileTest, TinLinesWriteEachEdgeOncePerTin)
{
    auto a = MakeLineGroup(0);
    a->m_nShowTin = 1;
    // Two triangles sharing edge (1, 2), and one degenerate triangle.
    AddTin(*a, 4, {{0, 1, 2}, {2, 1, 3}, {3, 3, 0}});
    auto b = MakeLineGroup(0);
    b->m_nShowTin = 1;
    AddTin(*b, 3, {{0, 1, 2}});
    auto hidden = MakeLineGroup(0);
    hidden->m_nShowTin = 0;
    AddTin(*hidden, 3, {{0, 1, 2}});
    m_store.AddGroup(std::move(a));
    m_store.AddGroup(std::move(b));
    m_store.AddGroup(std::move(hidden));
    ExchangeFile file(m_store, kToSurvey);
    // First TIN: (0,1) (0,2) (0,3) (1,2) (1,3) (2,3), the shared and the repeated
    // edge once, the degenerate one not; the second TIN its own three.
    ASSERT_EQ(file.WriteExchangeFile(m_path, ExchangeFile::kTinPart, 0, ExchangeFile::kTinLines), 6 + 3);
    const Exchange e = ReadExchange(Bytes(), ExchangeFile::kTinLines);
    ASSERT_EQ(e.figures.size(), 9u);
    for (const Figure& f : e.figures) {
        EXPECT_EQ(f.type, 12);
        EXPECT_EQ(f.colour, 0x4D4D4D);
        ASSERT_EQ(f.points.size(), 2u);
    }
    EXPECT_DOUBLE_EQ(e.figures[0].points[1][0], -99.0);
}

TEST_F(ExchangeFileTest, TinPointsWriteEachUsedVertexOnce)
{
    auto a = MakeLineGroup(0);
    a->m_nShowTin = 1;
    AddTin(*a, 6, {{0, 1, 2}, {2, 1, 4}, {4, 4, 9 /* beyond the vertices */}});
    m_store.AddGroup(std::move(a));
    m_store.m_nShowCAD = 1;
    m_store.m_nShowCADTin = 1;
    AddTin(m_store.m_cadTin, 3, {{0, 1, 2}});
    ExchangeFile file(m_store, kToSurvey);
    ASSERT_EQ(file.WriteExchangeFile(m_path, ExchangeFile::kTinPart | ExchangeFile::kPointPart, 0,
                                     ExchangeFile::kTinPoints),
              4 + 3);
    const Exchange e = ReadExchange(Bytes(), ExchangeFile::kTinPoints);
    ASSERT_EQ(e.figures.size(), 7u);
    EXPECT_EQ(e.figures[3].type, 11);
    EXPECT_EQ(e.figures[3].colour, 0xCC);
    EXPECT_DOUBLE_EQ(e.figures[3].points[0][0], 4.0 - 100.0);   // vertex 4
    EXPECT_DOUBLE_EQ(e.figures[3].points[0][1], 8.0 + 50.0);
    EXPECT_EQ(e.pointCount, 0);
}

TEST_F(ExchangeFileTest, FlagOnlyTinPartCountsPointsOnly)
{
    m_store.AddGroup(MakeLineGroup(5));
    for (bool flag : {false, true}) {
        ExchangeFile file(m_store, kToSurvey);
        file.SetCadLayerFlag(flag);
        ASSERT_EQ(file.WriteExchangeFile(m_path, ExchangeFile::kTinPart | ExchangeFile::kPointPart, 0, 0xFF), 5);
        const Exchange e = ReadExchange(Bytes(), 0xFF);
        EXPECT_EQ(e.layerFlag, flag ? 1 : 0);
        EXPECT_EQ(e.points.size(), 5u);
    }
}

// An abort during the TIN writer leaves no new file and the previous one as it was;
// an open abort question is waited out.
TEST_F(ExchangeFileTest, AbortLeavesThePreviousFile)
{
    auto a = MakeLineGroup(0);
    a->m_nShowTin = 1;
    std::vector<CIndexedTriangle> triangles;
    for (std::uint32_t i = 0; i + 2 < 200; ++i) triangles.emplace_back(i, i + 1, i + 2);
    AddTin(*a, 200, triangles);
    m_store.AddGroup(std::move(a));
    { std::ofstream(m_path, std::ios::binary) << "previous"; }

    std::vector<int> answers = {0, -1, -1, -2};
    std::size_t asked = 0;
    int ended = 0;
    ExchangeFile file(m_store, kToSurvey);
    file.SetProgress([&](std::int64_t maximum, std::int64_t position) {
        EXPECT_EQ(maximum, 200);
        EXPECT_GT(position, 0);
        return asked < answers.size() ? answers[asked++] : 0;
    });
    file.SetProgressEnd([&] { ++ended; });
    EXPECT_EQ(file.WriteExchangeFile(m_path, ExchangeFile::kTinPart, 0, ExchangeFile::kTinPoints), 0);
    EXPECT_EQ(asked, 4u);
    EXPECT_EQ(ended, 0);
    EXPECT_EQ(Bytes(), "previous");
    EXPECT_EQ(Names(m_dir), std::vector<std::string>{"~exchange.dat"});

    // Not aborted: ten steps and one end.
    answers.clear();
    asked = 0;
    ASSERT_EQ(file.WriteExchangeFile(m_path, ExchangeFile::kTinPart, 0, ExchangeFile::kTinPoints), 200);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(asked, 0u);
    EXPECT_EQ(ReadExchange(Bytes(), ExchangeFile::kTinPoints).figures.size(), 200u);
}

TEST_F(ExchangeFileTest, UnwritablePathGivesZero)
{
    m_store.AddGroup(MakeLineGroup(5));
    ExchangeFile file(m_store, kToSurvey);
    EXPECT_EQ(file.WriteExchangeFile(PathOf("no/such/folder/x.dat"), ExchangeFile::kPointPart, 0, 0xFF), 0);
    EXPECT_EQ(file.WriteShownTins(PathOf("no/such/folder/x.dat")), 0);
}

// Host polygon file of command 18 (host coordinates).
std::string PolygonFile(const std::vector<std::vector<std::array<double, 3>>>& polys, int countOverride = -1)
{
    std::string out;
    const auto put = [&](auto v) { out.append(reinterpret_cast<const char*>(&v), sizeof v); };
    put(std::uint32_t(0x40474C56));
    put(std::uint16_t(0x0100));
    put(std::int32_t(countOverride >= 0 ? countOverride : int(polys.size())));
    for (const auto& p : polys) {
        put(std::uint16_t(p.size()));
        for (const auto& v : p) put(v[0]), put(v[1]), put(v[2]);
    }
    return out;
}

TEST_F(ExchangeFileTest, PointsInPolygonsPerPolygonInHostCoordinates)
{
    // A 10 x 10 block of points at user (i, j), and one group without its data flag.
    auto g = std::make_unique<CPCloudMng>();
    for (int j = 0; j < 10; ++j)
        for (int i = 0; i < 10; ++i) g->AddCloudPoint(float(i), float(j), 5.0f, 0, 0);
    g->m_nShowGroup = g->m_nShowPCloud = 1;
    g->m_nDataFlag = 1;
    g->CreateGrid();
    m_store.AddGroup(std::move(g));
    auto unflagged = MakeLineGroup(10);
    m_store.AddGroup(std::move(unflagged));

    // Host = user + (-100, 50): a square over user x 1.5..3.5, y 1.5..2.5 and one
    // around everything.
    const auto square = [](double x0, double y0, double x1, double y1) {
        return std::vector<std::array<double, 3>>{
            {x0 - 100, y0 + 50, 0}, {x1 - 100, y0 + 50, 0}, {x1 - 100, y1 + 50, 0}, {x0 - 100, y1 + 50, 0},
            {x0 - 100, y0 + 50, 0}};
    };
    { std::ofstream(m_path, std::ios::binary) << PolygonFile({square(1.5, 1.5, 3.5, 2.5), square(-1, -1, 20, 20)}); }
    ExchangeFile file(m_store, kToSurvey);
    EXPECT_EQ(file.ExportPointsInPolygons(m_path), 2 + 100);
    const auto polys = ReadPolygonPoints(Bytes());
    ASSERT_EQ(polys.size(), 2u);
    ASSERT_EQ(polys[0].size(), 2u);
    EXPECT_DOUBLE_EQ(polys[0][0][0], 2 - 100.0);
    EXPECT_DOUBLE_EQ(polys[0][0][1], 2 + 50.0);
    EXPECT_DOUBLE_EQ(polys[0][0][2], 5.0);
    EXPECT_EQ(polys[1].size(), 100u);
}

TEST_F(ExchangeFileTest, DamagedPolygonFilesGiveNoPolygonsAndForeignFilesStay)
{
    m_store.AddGroup(MakeLineGroup(10));
    ExchangeFile file(m_store, kToSurvey);
    const std::string good = PolygonFile({{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}}});
    const std::string cases[] = {
        good.substr(0, good.size() - 5),                 // ends early
        PolygonFile({}, 1000000),                        // count beyond the bytes
        PolygonFile({}, 0),                              // no polygons
        good.substr(0, 6) + std::string(4, '\xff'),      // negative count
    };
    for (const std::string& bytes : cases) {
        { std::ofstream(m_path, std::ios::binary) << bytes; }
        EXPECT_EQ(file.ExportPointsInPolygons(m_path), 0);
        EXPECT_TRUE(ReadPolygonPoints(Bytes()).empty());
    }
    // Missing: the reply file holds no polygons.
    std::filesystem::remove(m_path);
    EXPECT_EQ(file.ExportPointsInPolygons(m_path), 0);
    EXPECT_TRUE(ReadPolygonPoints(Bytes()).empty());
    // Not a host file: left as it was.
    { std::ofstream(m_path, std::ios::binary) << "user's notes"; }
    EXPECT_EQ(file.ExportPointsInPolygons(m_path), 0);
    EXPECT_EQ(Bytes(), "user's notes");
}

TEST_F(ExchangeFileTest, ShownTinsGroupsThenCadThenViewCloud)
{
    auto a = MakeLineGroup(0);
    a->m_nShowTin = 1;
    AddTin(*a, 3, {{0, 1, 2}});
    m_store.AddGroup(std::move(a));
    auto empty = MakeLineGroup(0);
    empty->m_nShowTin = 1;
    AddTin(*empty, 3, {});   // vertices, no triangles: not written
    m_store.AddGroup(std::move(empty));
    m_store.m_viewCloud.m_nShowGroup = m_store.m_viewCloud.m_nShowTin = 1;
    AddTin(m_store.m_viewCloud, 4, {{0, 1, 2}, {1, 2, 3}});
    m_store.m_nShowCAD = m_store.m_nShowCADTin = 1;
    AddTin(m_store.m_cadTin, 5, {{2, 3, 4}});
    ExchangeFile file(m_store, kToSurvey);
    EXPECT_EQ(file.WriteShownTins(m_path), 4);
    const auto tins = ReadShownTins(Bytes());
    ASSERT_EQ(tins.size(), 3u);
    EXPECT_EQ(tins[0].vertices.size(), 3u);
    EXPECT_EQ(tins[1].vertices.size(), 5u);   // CAD TIN before the view cloud
    EXPECT_EQ(tins[2].triangles.size(), 2u);
    EXPECT_EQ(tins[1].triangles[0], (std::array<std::int32_t, 3>{2, 3, 4}));
    EXPECT_DOUBLE_EQ(tins[1].vertices[4][0], 4 - 100.0);

    m_store.m_nShowRoot = 0;
    EXPECT_EQ(file.WriteShownTins(m_path), 0);
    EXPECT_TRUE(ReadShownTins(Bytes()).empty());
}

}  // namespace
