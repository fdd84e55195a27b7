// The bytes of the 3D-structure and part-drawing buffers, read back from GL and
// held against what each triangle, segment and point makes on its own: every
// picture mode that colours faces, one worker and several, host storage and
// mapped buffers, unreadable corners and ends, a rendering centre off zero.
#include "SceneFixture.h"

#include "viewer/buffers/FaceColours.h"
#include "viewer/buffers/FigureBuffers.h"
#include "viewer/render/SceneExtents.h"
#include "viewer/render/ViewConstants.h"
#include "platform/Parallel.h"

#include <cstring>

namespace {

using namespace facecolours;

constexpr int kChimneySlot = 11;
constexpr int kSlotCount = CModelDataMng::kStructureSlotCount;

struct BuildWay {
    int workers;
    bool hostStorage;
};

class FigureBytesTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        Ctx().figures = &m_figures;
        m_store->SetRenderingCenterPt(PT(1000.0, -2000.0, 5.0));
    }
    void TearDown() override
    {
        tessara::SetWorkerCount(m_workers);
        SceneTest::TearDown();
    }
    void Use(const BuildWay& way)
    {
        m_workers = tessara::SetWorkerCount(static_cast<std::size_t>(way.workers));
        m_book.allowHostStorage = way.hostStorage;
    }
    template <class T>
    std::vector<T> Read(GLuint buffer, std::size_t count)
    {
        std::vector<T> out(count);
        G().glBindBuffer(GL_ARRAY_BUFFER, buffer);
        G().glGetBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(count * sizeof(T)), out.data());
        G().glBindBuffer(GL_ARRAY_BUFFER, 0);
        return out;
    }

    FigureBuffers m_figures;
    std::size_t m_workers = 0;
};

// ---- 3D structures ----------------------------------------------------------------------

// A grid of side x side vertices (two triangles a cell) near (x0, y0), with some
// corners out of the store: one, two or all three of a triangle's.
void GridTin(CVertexMng& tin, std::uint32_t side, float x0, float y0)
{
    for (std::uint32_t j = 0; j < side; ++j)
        for (std::uint32_t i = 0; i < side; ++i)
            tin.AddVertex(x0 + 0.37f * static_cast<float>(i), y0 + 0.29f * static_cast<float>(j),
                          static_cast<float>((i * 7 + j * 3) % 23) * 0.5f);
    for (std::uint32_t j = 0; j + 1 < side; ++j)
        for (std::uint32_t i = 0; i + 1 < side; ++i) {
            const std::uint32_t a = j * side + i;
            tin.m_triangles.emplace_back(a, a + 1, a + side + 1);
            tin.m_triangles.emplace_back(a, a + side + 1, a + side);
        }
    const std::uint32_t out = side * side;
    for (std::size_t t = 17; t < tin.m_triangles.size(); t += 4099) {
        CIndexedTriangle& tri = tin.m_triangles[t];
        const int bad = static_cast<int>(t % 4);  // corners 0..bad-1 out of the store
        for (int k = 0; k < bad; ++k) tri[k] = out + static_cast<std::uint32_t>(k);
    }
}

struct StructureCase {
    int mode;
    BuildWay way;
};

class StructureBytesTest : public FigureBytesTest, public ::testing::WithParamInterface<StructureCase> {};

TEST_P(StructureBytesTest, EveryTriangleGivesItsCornersNormalsAndColours)
{
    const StructureCase& c = GetParam();
    Use(c.way);
    CVertexMng* tins[2] = {&m_store->m_structure[kChimneySlot], &m_store->m_structure[kSlotCount + kChimneySlot]};
    GridTin(*tins[0], 210, 3.0f, 4.0f);
    GridTin(*tins[1], 60, -9.0f, 2.0f);
    m_settings.tinPictureMode = c.mode;
    m_settings.tinEdgeSwitch = 1;
    m_settings.tinVertexSwitch = 1;
    m_settings.paleSlopeColours = 1;
    Render(kPassDisplay);
    ASSERT_EQ(G().glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    const HeightScale scale = TinHeightScale(Ctx(), SceneExtents::kAllTinKinds);
    const std::size_t n = tins[0]->m_triangles.size() + tins[1]->m_triangles.size();
    const FigureBuffers::StructureFaces& faces = m_figures.structureFaces[kChimneySlot];
    ASSERT_EQ(faces.triangles, static_cast<std::int64_t>(n));
    const std::vector<float> positions = Read<float>(faces.positions, 9 * n);
    const std::vector<float> normals = Read<float>(faces.normals, 9 * n);
    const bool coloured = c.mode == 2 || c.mode == 4;
    ASSERT_EQ(faces.colours != 0, coloured);
    const std::vector<std::uint32_t> colours = coloured ? Read<std::uint32_t>(faces.colours, 3 * n) : std::vector<std::uint32_t>{};

    std::size_t wrongFaces = 0, wrongCorners = 0;
    std::size_t f = 0;
    for (int s = 0; s < 2; ++s) {
        const CVertexMng& tin = *tins[s];
        const GLuint store = static_cast<GLuint>(s == 0 ? kChimneySlot : kSlotCount + kChimneySlot);
        ASSERT_EQ(m_figures.structureEdgeTriangles[store], static_cast<std::int64_t>(tin.m_triangles.size()));
        ASSERT_EQ(m_figures.structureVertexTriangles[store], static_cast<std::int64_t>(tin.m_triangles.size()));
        const std::vector<float> edges = Read<float>(m_figures.structureEdges[store], 12 * tin.m_triangles.size());
        const std::vector<float> vertices = Read<float>(m_figures.structureVertices[store], 9 * tin.m_triangles.size());
        for (std::size_t t = 0; t < tin.m_triangles.size(); ++t, ++f) {
            const Corners corners = ReadCorners(*m_store, tin, tin.m_triangles[t]);
            float normal[9];
            WriteNormal(normal, corners.model);
            std::uint32_t colour[3] = {};
            if (c.mode == 2) colour[0] = colour[1] = colour[2] = SlopeColour(corners, 1);
            if (c.mode == 4)
                for (int k = 0; k < 3; ++k) colour[k] = HeightColour(scale, &m_stops, corners.user[k].z());
            if (std::memcmp(&positions[9 * f], corners.model, sizeof(corners.model)) != 0 ||
                std::memcmp(&normals[9 * f], normal, sizeof(normal)) != 0 ||
                (coloured && std::memcmp(&colours[3 * f], colour, sizeof(colour)) != 0))
                ++wrongFaces;
            if (std::memcmp(&vertices[9 * t], corners.model, sizeof(corners.model)) != 0 ||
                std::memcmp(&edges[12 * t], corners.model, sizeof(corners.model)) != 0 ||
                std::memcmp(&edges[12 * t + 9], corners.model[0], sizeof(corners.model[0])) != 0)
                ++wrongCorners;
        }
    }
    EXPECT_EQ(wrongFaces, 0u);
    EXPECT_EQ(wrongCorners, 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, StructureBytesTest,
                         ::testing::Values(StructureCase{1, {4, true}}, StructureCase{2, {1, true}},
                                           StructureCase{4, {4, false}}, StructureCase{2, {3, false}}));

// ---- part drawing ------------------------------------------------------------------------

class PartBytesTest : public FigureBytesTest, public ::testing::WithParamInterface<BuildWay> {};

// Colour floats of a line or point colour, 0 standing for white.
void ExpectedColour(COLORREF c, float* out)
{
    if (c == 0) c = 0xFFFFFF;
    for (int k = 0; k < 3; ++k) out[k] = static_cast<float>((c >> (8 * k)) & 0xFF) * kColourByteScale;
    out[3] = 1.0f;
}

TEST_P(PartBytesTest, EverySegmentAndPointGivesItsPositionsColoursAndPickCodes)
{
    Use(GetParam());
    constexpr int kEnds = 90'000;
    constexpr std::int32_t kSegments = 80'000;
    constexpr int kPoints = 70'000;
    for (int v = 0; v < kEnds; ++v)
        m_store->m_partLineVertex3D.AddVertex(0.5f * static_cast<float>(v % 300), 0.25f * static_cast<float>(v / 300),
                                              static_cast<float>(v % 11));
    for (std::int32_t k = 0; k < kSegments; ++k) {
        std::int32_t a = (k * 7) % kEnds, b = (k * 13 + 1) % kEnds;
        if (k % 5003 == 1) a = -1;                        // first end out of the store
        if (k % 5003 == 2) b = kEnds + k;                 // second end out of the store
        if (k % 5003 == 3) a = b = -7;                    // neither end
        m_store->m_partLine3D.push_back({a, b, static_cast<std::uint32_t>(k % 3 == 0 ? 0 : 0x102030 + k)});
    }
    for (int p = 0; p < kPoints; ++p)
        m_store->m_partPoint3D.AddCloudPoint(static_cast<float>(p % 400), static_cast<float>(p / 400), 2.0f,
                                             p % 4 == 0 ? 0 : static_cast<COLORREF>(0x405060 + p), 0);
    Render(kPassDisplay);
    ASSERT_EQ(G().glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    const FigureBuffers::PartSet& set = m_figures.part[0];
    ASSERT_EQ(set.segments, kSegments);
    ASSERT_EQ(set.points, kPoints);
    const std::size_t vertices = 2 * kSegments + kPoints;
    const std::vector<float> positions = Read<float>(set.positions, 3 * vertices);
    const std::vector<float> colours = Read<float>(set.colours, 4 * vertices);
    const std::vector<std::uint32_t> picks = Read<std::uint32_t>(set.picks, vertices);

    const auto model = [&](PT p, float* out) {
        m_store->UserToModel(p);
        out[0] = static_cast<float>(p.x());
        out[1] = static_cast<float>(p.y());
        out[2] = static_cast<float>(p.z());
    };
    const auto check = [&](std::size_t v, PT at, COLORREF colour, std::uint32_t pick) {
        float position[3], rgba[4];
        model(at, position);
        ExpectedColour(colour, rgba);
        return std::memcmp(&positions[3 * v], position, sizeof(position)) == 0 &&
               std::memcmp(&colours[4 * v], rgba, sizeof(rgba)) == 0 && picks[v] == pick;
    };
    std::size_t wrong = 0;
    for (std::size_t k = 0; k < static_cast<std::size_t>(kSegments); ++k) {
        const CModelDataMng::PartLine& line = m_store->m_partLine3D[k];
        PT at[2];
        bool ok[2];
        const std::int32_t index[2] = {line.v1, line.v2};
        for (int e = 0; e < 2; ++e) {
            float x = 0, y = 0, z = 0;
            ok[e] = m_store->m_partLineVertex3D.GetVertexVal(index[e], x, y, z) != 0;
            at[e] = PT(x, y, z);
        }
        if (!ok[0]) at[0] = at[1];
        if (!ok[1]) at[1] = at[0];
        for (int e = 0; e < 2; ++e)
            if (!check(2 * k + static_cast<std::size_t>(e), at[e], line.value,
                       (static_cast<std::uint32_t>(index[e]) % 0xFFFFFFu) | 0xFF000000u))
                ++wrong;
    }
    for (std::size_t p = 0; p < static_cast<std::size_t>(kPoints); ++p) {
        const CPCloudMng::CloudPoint& pt = m_store->m_partPoint3D.m_points[p];
        if (!check(2 * kSegments + p, PT(pt.x, pt.y, pt.z), pt.colour,
                   static_cast<std::uint32_t>(p % 0xFFFFFFu) | 0xFF000000u))
            ++wrong;
    }
    EXPECT_EQ(wrong, 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, PartBytesTest,
                         ::testing::Values(BuildWay{4, true}, BuildWay{1, true}, BuildWay{3, false}));

}  // namespace
