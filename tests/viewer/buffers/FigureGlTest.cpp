// CAD figures, the part drawing, the host's overlay and the 3D structures on
// the test layers (model x, y on pixel x, y).
#include "SceneFixture.h"

#include "viewer/buffers/FigureBuffers.h"
#include "viewer/buffers/StructurePasses.h"
#include "viewer/files/HostPolygonFile.h"
#include "platform/Parallel.h"

namespace {

class FigureTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        Ctx().figures = &m_figures;
        Ctx().hostOverlay = &m_overlay;
    }

    CElmData& AddFigure(std::uint8_t kind, std::vector<std::vector<PT>> lists, COLORREF colour = 0x00FFFF)
    {
        CElmData elm;
        elm.m_nKind = kind;
        elm.m_nColor = colour;
        elm.m_ptLists = std::move(lists);
        elm.RebuildSegments();
        m_store->m_elmList.push_back(elm);
        m_store->RebuildCadLayers();
        return m_store->m_elmList.back();
    }

    const FigureBuffers::CadSlot& SlotOf(std::uint8_t kind)
    {
        return m_figures.cad[static_cast<std::size_t>(m_store->FindCadLayer(kind))];
    }

    std::uint32_t At(SceneLayers::Layer layer, int x, int y) { return m_layers->Pixel(layer, x, y); }

    FigureBuffers m_figures;
    HostPolygonContent m_overlay;
};

// ---- CAD figures --------------------------------------------------------------------

TEST_F(FigureTest, PointsOfLayerFiftyAreBiggerThanOthers)
{
    AddFigure(50, {{PT(20, 20, 0)}});
    AddFigure(7, {{PT(40, 40, 0)}});
    Render(kPassDisplay);
    EXPECT_EQ(SlotOf(50).pointVertices, 2);
    EXPECT_EQ(SlotOf(50).lineVertices, 0);
    EXPECT_NE(At(SceneLayers::kFigure, 20, 20), 0u);
    EXPECT_NE(At(SceneLayers::kFigure, 23, 20), 0u);  // size 8 reaches 4 pixels out
    EXPECT_NE(At(SceneLayers::kFigure, 40, 40), 0u);
    EXPECT_EQ(At(SceneLayers::kFigure, 43, 40), 0u);  // size 5 does not
}

TEST_F(FigureTest, TwoCoordinateListsGiveFourVerticesAndBadPairsAreSkipped)
{
    CElmData& elm = AddFigure(5, {{PT(10, 10.5, 0), PT(30, 10.5, 0)}, {PT(10, 30.5, 0), PT(30, 30.5, 0)}});
    elm.m_seg3D = {{CElmData::Segment{0, 0, 1}, CElmData::Segment{0, 0, 7}, CElmData::Segment{0, -1, 1}}};
    elm.m_seg2D.clear();
    Render(kPassDisplay);
    EXPECT_EQ(SlotOf(5).pointVertices, 0);
    EXPECT_EQ(SlotOf(5).lineVertices, 4);
    EXPECT_NE(At(SceneLayers::kFigure, 20, 10), 0u);
    EXPECT_NE(At(SceneLayers::kFigure, 20, 30), 0u);
    EXPECT_EQ(At(SceneLayers::kFigure, 20, 20), 0u);
}

TEST_F(FigureTest, HiddenLayerAndHiddenCadGroupDrawNothing)
{
    AddFigure(7, {{PT(10, 20.5, 0), PT(50, 20.5, 0)}});
    m_store->m_cadLayers[static_cast<std::size_t>(m_store->FindCadLayer(7))].show = 0;
    Render(kPassDisplay);
    EXPECT_EQ(At(SceneLayers::kFigure, 30, 20), 0u);
    m_store->m_cadLayers[static_cast<std::size_t>(m_store->FindCadLayer(7))].show = 1;
    m_store->m_nShowCAD = 0;
    Render(kPassDisplay);
    EXPECT_EQ(At(SceneLayers::kFigure, 30, 20), 0u);
    m_store->m_nShowCAD = 1;
    Render(kPassDisplay);
    EXPECT_NE(At(SceneLayers::kFigure, 30, 20), 0u);
}

// ---- part drawing -------------------------------------------------------------------------

class PartTest : public FigureTest {
protected:
    void SetUp() override
    {
        FigureTest::SetUp();
        // Main set: one line and a point at (10, 50); second set: two lines and a
        // point at (50, 50), which follows four line vertices in its buffer.
        for (const auto& v : {std::array<float, 3>{5, 5.5f, 0}, {60, 5.5f, 0}}) m_store->m_partLineVertex3D.AddVertex(v[0], v[1], v[2]);
        m_store->m_partLine3D.push_back({0, 1, 0x0000FF});
        for (const auto& v : {std::array<float, 3>{5, 20.5f, 0}, {60, 20.5f, 0}, {5, 30.5f, 0}, {60, 30.5f, 0}})
            m_store->m_partLineVertex2D.AddVertex(v[0], v[1], v[2]);
        m_store->m_partLine2D.push_back({0, 1, 0x00FF00});
        m_store->m_partLine2D.push_back({2, 3, 0x00FF00});
        m_store->m_partPoint3D.AddCloudPoint(10, 50, 0, 0xFF0000, 0);
        m_store->m_partPoint2D.AddCloudPoint(50, 50, 0, 0xFF0000, 0);
        m_settings.unsetExclusion = 0;
    }
};

TEST_F(PartTest, LinesHiddenLeaveEachSetsPointsWhereTheyBelong)
{
    m_store->m_nShowPartLn = 0;
    Render(kPassDisplay);
    EXPECT_NE(At(SceneLayers::kPart, 10, 50), 0u);
    EXPECT_NE(At(SceneLayers::kPart, 50, 50), 0u);
    EXPECT_EQ(At(SceneLayers::kPart, 30, 5), 0u);
    EXPECT_EQ(At(SceneLayers::kPart, 30, 30), 0u);
    m_store->m_nShowPartLn = 1;
    Render(kPassDisplay);
    EXPECT_NE(At(SceneLayers::kPart, 30, 5), 0u);
    EXPECT_NE(At(SceneLayers::kPart, 30, 30), 0u);
}

TEST_F(PartTest, UnsetExclusionHidesTheSecondSetInBothPasses)
{
    m_settings.unsetExclusion = 1;
    Render(kPassDisplay);
    EXPECT_NE(At(SceneLayers::kPart, 10, 50), 0u);
    EXPECT_EQ(At(SceneLayers::kPart, 50, 50), 0u);
    EXPECT_EQ(At(SceneLayers::kPart, 30, 20), 0u);
    Render(kPassPick);
    EXPECT_EQ(At(SceneLayers::kPart, 10, 50), 0xFF000000u);  // point 0 of cloud 1
    EXPECT_EQ(At(SceneLayers::kPart, 50, 50), 0u);
    m_settings.unsetExclusion = 0;
    Render(kPassPick);
    EXPECT_EQ(At(SceneLayers::kPart, 50, 50), 0xFF000000u);
    EXPECT_EQ(At(SceneLayers::kPart, 60, 30), 0xFF000003u);  // vertex 3 of the second set
}

TEST_F(PartTest, AnUnreadableLineEndDrawsNoLine)
{
    m_store->m_partLine3D[0].v2 = 99;
    m_settings.unsetExclusion = 1;
    Render(kPassDisplay);
    EXPECT_EQ(At(SceneLayers::kPart, 30, 5), 0u);
    EXPECT_NE(At(SceneLayers::kPart, 10, 50), 0u);
}

// ---- host overlay ---------------------------------------------------------------------------

POLY Ring(const std::vector<PT>& pts)
{
    POLY p;
    for (const PT& pt : pts) p.Add(pt);
    return p;
}

struct RingCase {
    const char* name;
    bool repeatFirst;
    std::int32_t lineVertices;
    bool leftSide;
};

class HostRingTest : public FigureTest, public ::testing::WithParamInterface<RingCase> {};

TEST_P(HostRingTest, PolygonEdgesAreOpenUnlessTheHostClosesThem)
{
    std::vector<PT> square{PT(10.5, 10.5, 0), PT(50.5, 10.5, 0), PT(50.5, 50.5, 0), PT(10.5, 50.5, 0)};
    if (GetParam().repeatFirst) square.push_back(square[0]);
    m_overlay.polygons.push_back({Ring(square), 0x00FFFF});
    Render(kPassDisplay);
    EXPECT_EQ(m_figures.host.lineVertices, GetParam().lineVertices);
    EXPECT_NE(At(SceneLayers::kHostPolygon, 30, 10), 0u);
    EXPECT_EQ(At(SceneLayers::kHostPolygon, 10, 30) != 0u, GetParam().leftSide);
}

INSTANTIATE_TEST_SUITE_P(Cases, HostRingTest,
                         ::testing::Values(RingCase{"four_vertices", false, 6, false},
                                           RingCase{"five_vertices", true, 8, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FigureTest, OnlySingleVertexPolygonsMakeNoBuffers)
{
    m_overlay.polygons.push_back({Ring({PT(10, 10, 0)}), 0xFFFFFF});
    m_overlay.polygons.push_back({Ring({PT(20, 20, 0)}), 0xFFFFFF});
    Render(kPassDisplay);
    EXPECT_EQ(m_figures.host.positions, 0u);
    EXPECT_EQ(m_book.Kind(DrawableKind::HostPolygons).built, 1);
}

TEST_F(FigureTest, HostPointsAndSegmentsDrawAndAnEmptiedStoreKeepsItsBuffersUntilTheNext)
{
    m_overlay.points.push_back({PT(10, 50, 0), 0x0000FF});
    m_overlay.segments.push_back({PT(10, 10.5, 0), PT(50, 10.5, 0), 0x00FF00});
    m_settings.cadLineWidth = 0;
    Render(kPassDisplay);
    EXPECT_EQ(m_figures.host.pointVertices, 1);
    EXPECT_EQ(m_figures.host.lineVertices, 2);
    EXPECT_NE(At(SceneLayers::kHostPolygon, 10, 50), 0u);
    EXPECT_NE(At(SceneLayers::kHostPolygon, 30, 10), 0u);
    // Width 0 draws lines one pixel wide.
    EXPECT_EQ(At(SceneLayers::kHostPolygon, 30, 12), 0u);
    const GLuint kept = m_figures.host.positions;
    m_overlay = {};
    m_book.Kind(DrawableKind::HostPolygons).releasePending = 1;
    Render(kPassDisplay);
    EXPECT_EQ(m_figures.host.positions, kept);
    m_overlay.points.push_back({PT(30, 30, 0), 0x0000FF});
    Render(kPassDisplay);
    EXPECT_EQ(m_figures.host.pointVertices, 1);
    EXPECT_EQ(m_figures.host.lineVertices, 0);
    EXPECT_NE(At(SceneLayers::kHostPolygon, 30, 30), 0u);
}

// ---- 3D structures ----------------------------------------------------------------------------

constexpr int kChimney = 6;
constexpr int kChimneySlot = 11;

class StructureTest : public FigureTest {
protected:
    void SetUp() override
    {
        FigureTest::SetUp();
        m_settings.tinPictureMode = 1;
    }
    // A triangle over the lower-left of the layer in a structure store.
    void Triangle(int store, float z = 0)
    {
        SetTin(m_store->m_structure[static_cast<std::size_t>(store)], {{5.5f, 5.5f, z}, {40.5f, 5.5f, z}, {5.5f, 40.5f, z}}, {{0, 1, 2}});
    }
};

TEST_F(StructureTest, EmptyKindsBuildNothingAndStayBuilt)
{
    Render(kPassDisplay);
    for (int k = 0; k < StructurePasses::kKinds; ++k)
        EXPECT_EQ(m_book.Kind(StructurePasses::FaceKind(k)).built, 1) << k;
    EXPECT_EQ(LiveBuffers(), 0);
    EXPECT_EQ(At(SceneLayers::kFigure, 10, 10), 0u);
}

TEST_F(StructureTest, FirstStoreEmptyFacesStartAtTheSecondStore)
{
    Triangle(12 + kChimneySlot);
    Render(kPassDisplay);
    const FigureBuffers::StructureFaces& f = m_figures.structureFaces[kChimneySlot];
    ASSERT_NE(f.positions, 0u);
    EXPECT_EQ(f.triangles, 1);
    std::array<float, 3> first{};
    G().glBindBuffer(GL_ARRAY_BUFFER, f.positions);
    G().glGetBufferSubData(GL_ARRAY_BUFFER, 0, 12, first.data());
    G().glBindBuffer(GL_ARRAY_BUFFER, 0);
    EXPECT_EQ(first, (std::array<float, 3>{5.5f, 5.5f, 0}));
    EXPECT_NE(At(SceneLayers::kFigure, 10, 10), 0u);
}

struct ModeCase {
    int mode;
    bool colours;
};

class StructureModeTest : public StructureTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(StructureModeTest, FacesDrawInEveryPictureModeWithColoursOnlyWhereTheModeHasThem)
{
    Triangle(kChimneySlot);
    m_settings.tinPictureMode = GetParam().mode;
    Render(kPassDisplay);
    EXPECT_NE(At(SceneLayers::kFigure, 10, 10), 0u);
    EXPECT_EQ(m_figures.structureFaces[kChimneySlot].colours != 0, GetParam().colours);
}

INSTANTIATE_TEST_SUITE_P(Cases, StructureModeTest,
                         ::testing::Values(ModeCase{1, false}, ModeCase{2, true}, ModeCase{3, false},
                                           ModeCase{4, true}));

TEST_F(StructureTest, AChangeOfPictureModeRebuildsTheFaces)
{
    Triangle(kChimneySlot);
    Render(kPassDisplay);
    EXPECT_EQ(m_figures.structureFaces[kChimneySlot].colours, 0u);
    m_settings.tinPictureMode = 4;
    m_stops.clear();  // no stops: a fixed grey
    Render(kPassDisplay);
    EXPECT_NE(m_figures.structureFaces[kChimneySlot].colours, 0u);
    EXPECT_EQ(m_book.Kind(StructurePasses::FaceKind(kChimney)).builtMode, 4);
}

TEST_F(StructureTest, HiddenKindIsBuiltButNotDrawn)
{
    Triangle(kChimneySlot);
    m_store->m_nShowStructure[kChimney] = 0;
    Render(kPassDisplay);
    EXPECT_NE(m_figures.structureFaces[kChimneySlot].positions, 0u);
    EXPECT_EQ(At(SceneLayers::kFigure, 10, 10), 0u);
}

TEST_F(StructureTest, EdgeAndVertexSwitchesOffBuildNothing)
{
    Triangle(kChimneySlot);
    m_settings.tinPictureMode = 0;
    Render(kPassDisplay);
    EXPECT_EQ(m_book.Kind(StructurePasses::EdgeKind(kChimney)).built, 0);
    EXPECT_EQ(m_book.Kind(StructurePasses::VertexKind(kChimney)).built, 0);
    EXPECT_EQ(At(SceneLayers::kFigure, 10, 10), 0u);
    m_settings.tinEdgeSwitch = 1;
    m_settings.tinVertexSwitch = 1;
    Render(kPassDisplay);
    EXPECT_EQ(m_figures.structureEdgeTriangles[kChimneySlot], 1);
    EXPECT_EQ(m_figures.structureVertexTriangles[kChimneySlot], 1);
    EXPECT_NE(At(SceneLayers::kFigure, 20, 5), 0u);   // an edge
    EXPECT_NE(At(SceneLayers::kFigure, 40, 5), 0u);   // a corner
    EXPECT_EQ(At(SceneLayers::kFigure, 15, 15), 0u);  // no faces in mode 0
}

TEST_F(StructureTest, AStoreGrownWithoutReleaseDrawsWhatWasBuilt)
{
    Triangle(kChimneySlot);
    m_settings.tinEdgeSwitch = 1;
    m_settings.tinVertexSwitch = 1;
    Render(kPassDisplay);
    // A thousand more triangles the buffers do not hold.
    CVertexMng& tin = m_store->m_structure[kChimneySlot];
    for (int i = 0; i < 1000; ++i) tin.m_triangles.emplace_back(0, 1, 2);
    Render(kPassDisplay);
    EXPECT_EQ(m_figures.structureFaces[kChimneySlot].triangles, 1);
    EXPECT_EQ(m_figures.structureEdgeTriangles[kChimneySlot], 1);
    EXPECT_EQ(G().glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(StructureTest, BadCornerIndicesCollapseTheTriangle)
{
    SetTin(m_store->m_structure[kChimneySlot], {{5, 5, 0}, {40, 5, 0}, {5, 40, 0}}, {{0, 1, 9}});
    Render(kPassDisplay);
    EXPECT_EQ(m_figures.structureFaces[kChimneySlot].triangles, 1);
    EXPECT_EQ(At(SceneLayers::kFigure, 10, 10), 0u);
}


// Enough triangles that several workers write the buffers: every triangle's
// corners where one walk in order would put them, a bad corner collapsed; and
// rebuilds after releases keep no more host memory than the buffers they have.
TEST_F(StructureTest, ManyTrianglesWrittenInParallelLandInOrderAndRebuildsKeepNoStaleMemory)
{
    constexpr std::uint32_t kSide = 200;
    std::vector<std::array<float, 3>> vertices;
    for (std::uint32_t j = 0; j < kSide; ++j)
        for (std::uint32_t i = 0; i < kSide; ++i)
            vertices.push_back({0.25f * i + 0.5f, 0.25f * j + 0.5f, static_cast<float>((i * 3 + j) % 7)});
    std::vector<std::array<std::uint32_t, 3>> triangles;
    for (std::uint32_t j = 0; j + 1 < kSide; ++j)
        for (std::uint32_t i = 0; i + 1 < kSide; ++i) {
            const std::uint32_t a = j * kSide + i;
            triangles.push_back({a, a + 1, a + kSide + 1});
            triangles.push_back({a, a + kSide + 1, a + kSide});
        }
    triangles[50000][2] = 999999;
    SetTin(m_store->m_structure[kChimneySlot], vertices, triangles);
    m_settings.tinEdgeSwitch = 1;
    const std::size_t workers = tessara::SetWorkerCount(4);
    for (int cycle = 0; cycle < 3; ++cycle) {
        for (int k = 0; k < StructurePasses::kKinds; ++k) {
            m_book.Kind(StructurePasses::FaceKind(k)).releasePending = 1;
            m_book.Kind(StructurePasses::EdgeKind(k)).releasePending = 1;
        }
        Render(kPassDisplay);
        // Faces (positions, normals) and edges: no more kept blocks than buffers.
        EXPECT_LE(m_figures.storage.Size(), 3u);
    }
    tessara::SetWorkerCount(workers);
    ASSERT_EQ(m_figures.structureEdgeTriangles[kChimneySlot], static_cast<std::int64_t>(triangles.size()));
    std::vector<float> edges(triangles.size() * 12);
    G().glBindBuffer(GL_ARRAY_BUFFER, m_figures.structureEdges[kChimneySlot]);
    G().glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(edges.size() * sizeof(float)), edges.data());
    G().glBindBuffer(GL_ARRAY_BUFFER, 0);
    std::size_t wrong = 0;
    for (std::size_t t = 0; t < triangles.size(); ++t)
        for (int k = 0; k < 4; ++k) {
            // The bad corner collapses the triangle onto its first corner.
            const std::uint32_t v = t == 50000 ? triangles[t][0] : triangles[t][static_cast<std::size_t>(k % 3)];
            PT p(vertices[v][0], vertices[v][1], vertices[v][2]);
            m_store->UserToModel(p);
            const float* at = &edges[12 * t + 3 * static_cast<std::size_t>(k)];
            if (at[0] != static_cast<float>(p.x()) || at[1] != static_cast<float>(p.y()) ||
                at[2] != static_cast<float>(p.z()))
                ++wrong;
        }
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ(G().glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
