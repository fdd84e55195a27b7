#include "SceneFixture.h"

#include "viewer/buffers/GroupGpuData.h"
#include "viewer/buffers/TinPasses.h"
#include "viewer/render/Dib.h"
#include "viewer/render/skGLTexture.h"

#include <cmath>

namespace {

// Two triangles over a 40 x 40 square at heights 0 (left) and 100 (right):
// triangle 0 is the lower-right half, triangle 1 the upper-left.
const std::vector<std::array<float, 3>> kSquare = {{10, 10, 0}, {50, 10, 100}, {50, 50, 100}, {10, 50, 0}};
const std::vector<std::array<std::uint32_t, 3>> kTwo = {{0, 1, 2}, {0, 2, 3}};

}  // namespace

class TinTest : public SceneTest {
protected:
    CPCloudMng& GroupWithTin()
    {
        CPCloudMng& group = AddGroup({});
        SetTin(group, kSquare, kTwo);
        m_settings.colourMode = 0;
        return group;
    }
};

TEST_F(TinTest, PickPassWritesTriangleNumbers)
{
    GroupWithTin();
    Render(kPassPick);
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kTin, 45, 15), 0xFF000000u);  // triangle 0
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kTin, 15, 45), 0xFF000001u);  // triangle 1
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kTin, 5, 5), 0u);
}

TEST_F(TinTest, TextureModeWithoutTextureDrawsAndPicksPlainFaces)
{
    GroupWithTin();
    m_settings.tinPictureMode = 3;
    Render(kPassDisplay);
    EXPECT_NE(m_layers->Pixel(SceneLayers::kTin, 45, 15), 0u);
    Render(kPassPick);
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kTin, 15, 45), 0xFF000001u);
}

TEST_F(TinTest, TexturedPickIgnoresTheTexture)
{
    GroupWithTin();
    auto dib = std::make_unique<Dib>(2, 2, 32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x) {
            std::uint8_t* p = dib->Row(y) + x * 4;
            p[0] = 10; p[1] = 20; p[2] = 30; p[3] = 255;  // dark texels would scale pick colours
        }
    skGLTexture texture(G());
    ASSERT_TRUE(texture.Create(std::move(dib), skGLTexture::kNoColourKey, true));
    Ctx().texture = &texture;
    Ctx().placement = TexturePlacement{10, 10, 40, 40, 0};
    m_settings.tinPictureMode = 3;
    Render(kPassDisplay);
    EXPECT_NE(m_layers->Pixel(SceneLayers::kTin, 45, 15), 0u);
    Render(kPassPick);
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kTin, 15, 45), 0xFF000001u);
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kTin, 45, 15), 0xFF000000u);
    Ctx().texture = nullptr;
}

TEST_F(TinTest, TrianglesAddedWithoutReleaseDrawTheBuiltCount)
{
    CPCloudMng& group = GroupWithTin();
    Render(kPassDisplay);
    group.AddVertex(60, 60, 0);
    group.m_triangles.emplace_back(2, 3, 4);
    group.m_triangles.emplace_back(0, 1, 4);
    Render(kPassDisplay);
    Render(kPassPick);
    EXPECT_EQ(GroupGpuData::Find(group)->faceTriangles, 2);
    EXPECT_EQ(G().glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TinTest, PictureModeSwitchRebuildsWithColours)
{
    CPCloudMng& group = GroupWithTin();
    Render(kPassDisplay);
    EXPECT_EQ(GroupGpuData::Find(group)->faceBuffers[3], 0u);
    m_settings.tinPictureMode = 4;
    Render(kPassDisplay);
    EXPECT_NE(GroupGpuData::Find(group)->faceBuffers[3], 0u);
    EXPECT_EQ(m_book.Kind(DrawableKind::GroupTinFaces).builtMode, 4);
    // Lit with white light the left edge (level 0) is blue, the right (255) red.
    const std::uint32_t left = m_layers->Pixel(SceneLayers::kTin, 11, 30);
    const std::uint32_t right = m_layers->Pixel(SceneLayers::kTin, 49, 30);
    EXPECT_GT((left >> 16) & 0xFF, left & 0xFF);
    EXPECT_GT(right & 0xFF, (right >> 16) & 0xFF);
}

TEST_F(TinTest, FlatTinTakesTheMiddleLevelAndNoStopsGrey)
{
    CPCloudMng& group = AddGroup({});
    SetTin(group, {{10, 10, 5}, {50, 10, 5}, {50, 50, 5}}, {{0, 1, 2}});
    m_settings.colourMode = 0;
    m_settings.tinPictureMode = 4;
    m_stops = {{255, 0x0000FF}, {127, 0x00FF00}, {0, 0xFF0000}};
    std::uint32_t colour = 0;
    Render(kPassDisplay);
    G().glBindBuffer(GL_ARRAY_BUFFER, GroupGpuData::Find(group)->faceBuffers[3]);
    G().glGetBufferSubData(GL_ARRAY_BUFFER, 0, 4, &colour);
    EXPECT_EQ(colour, 0xFF00FF00u);
    m_stops.clear();
    m_book.Kind(DrawableKind::GroupTinFaces).releasePending = 1;
    Render(kPassDisplay);
    G().glBindBuffer(GL_ARRAY_BUFFER, GroupGpuData::Find(group)->faceBuffers[3]);
    G().glGetBufferSubData(GL_ARRAY_BUFFER, 0, 4, &colour);
    G().glBindBuffer(GL_ARRAY_BUFFER, 0);
    EXPECT_EQ(colour, 0xFF808080u);
}

TEST_F(TinTest, CornerOutsideTheStoreGivesAnEmptyTriangleKeepingNumbers)
{
    CPCloudMng& group = AddGroup({});
    SetTin(group, kSquare, {{0, 1, 77}, {0, 2, 3}});
    m_settings.colourMode = 0;
    Render(kPassPick);
    EXPECT_EQ(GroupGpuData::Find(group)->faceTriangles, 2);
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kTin, 15, 45), 0xFF000001u);
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kTin, 45, 15), 0u);
}

TEST_F(TinTest, EdgesAndVerticesPick)
{
    CPCloudMng& group = GroupWithTin();
    m_settings.tinPictureMode = 0;
    m_settings.tinEdgeSwitch = 1;
    Render(kPassDisplay);
    EXPECT_EQ(GroupGpuData::Find(group)->edgeTriangles, 2);
    // Grey 0.3 on the bottom edge, which runs between pixel rows 9 and 10.
    const std::uint32_t below = m_layers->Pixel(SceneLayers::kTin, 30, 9);
    const std::uint32_t above = m_layers->Pixel(SceneLayers::kTin, 30, 10);
    EXPECT_TRUE(below == 0xFF4C4C4Cu || above == 0xFF4C4C4Cu) << std::hex << below << " " << above;
    Render(kPassPick);
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kTin, 30, 11), 0xFF000000u);  // 5 pixels wide in the pick pass
    m_settings.tinEdgeSwitch = 0;
    m_settings.tinVertexSwitch = 1;
    Render(kPassPick);
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kTin, 50, 50), 0xFF000002u);  // vertex 2
    EXPECT_EQ(GroupGpuData::Find(group)->vertexDisplayCount, 6);
}

TEST_F(TinTest, HiddenTinStaysOutOfThePickLayer)
{
    CPCloudMng& group = GroupWithTin();
    group.m_nShowTin = 0;
    Render(kPassPick);
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kTin, 45, 15), 0u);
}

TEST_F(TinTest, PickPassClearsTheFigureDepthInsteadOfCopyingTinDepth)
{
    GroupWithTin();
    Render(kPassPick);
    EXPECT_LT(m_layers->Depth(SceneLayers::kTin, 45, 15), 1.0f);
    EXPECT_FLOAT_EQ(m_layers->Depth(SceneLayers::kFigure, 45, 15), 1.0f);
    m_settings.viewDepthAlways = 0;
    Render(kPassPick);
    EXPECT_LT(m_layers->Depth(SceneLayers::kFigure, 45, 15), 1.0f);
}

TEST_F(TinTest, CadAndViewCloudTinsPickToo)
{
    SetTin(m_store->m_cadTin, kSquare, kTwo);
    m_settings.colourMode = 0;
    m_settings.tinVertexSwitch = 1;
    m_settings.tinPictureMode = 0;
    Render(kPassPick);
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kTin, 10, 50), 0xFF000003u);
    // Without triangles the view cloud's vertex kind stays unbuilt.
    EXPECT_EQ(m_book.Kind(DrawableKind::ViewCloudTinVertices).built, 0);
    EXPECT_EQ(m_book.Kind(DrawableKind::CadTinVertices).built, 1);
}

TEST_F(TinTest, PlacementWithoutWidthOrHeightGivesCoordinateZero)
{
    CPCloudMng& group = GroupWithTin();
    auto dib = std::make_unique<Dib>(1, 1, 32);
    skGLTexture texture(G());
    ASSERT_TRUE(texture.Create(std::move(dib), skGLTexture::kNoColourKey, true));
    Ctx().texture = &texture;
    Ctx().placement = TexturePlacement{10, 10, 0, 40, 0};
    m_settings.tinPictureMode = 3;
    Render(kPassDisplay);
    std::array<float, 12> coords{};
    G().glBindBuffer(GL_ARRAY_BUFFER, GroupGpuData::Find(group)->texturedBuffers[2]);
    G().glGetBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(coords), coords.data());
    G().glBindBuffer(GL_ARRAY_BUFFER, 0);
    // Corners (10,10), (50,10), (50,50) of triangle 0: s is 0 for all, t runs 0, 0, 1.
    EXPECT_EQ(coords[0], 0.0f);
    EXPECT_EQ(coords[2], 0.0f);
    EXPECT_EQ(coords[4], 0.0f);
    EXPECT_FLOAT_EQ(coords[5], 1.0f);
    for (float c : coords) EXPECT_FALSE(std::isnan(c));
    Ctx().texture = nullptr;
}

TEST_F(TinTest, OneCallPerSourceDrawsTheSamePixelsAsOnePerTriangle)
{
    // A fan of thin triangles with shared edges, so rasterisation rules matter.
    std::vector<std::array<float, 3>> vertices = {{32, 32, 0}};
    std::vector<std::array<std::uint32_t, 3>> triangles;
    for (int i = 0; i < 24; ++i) {
        const double a = i * 2 * 3.14159265358979 / 24;
        vertices.push_back({float(32 + 27 * std::cos(a)), float(32 + 27 * std::sin(a)), float(i)});
    }
    for (std::uint32_t i = 1; i <= 24; ++i) triangles.push_back({0, i, i % 24 + 1});
    CPCloudMng& group = AddGroup({});
    SetTin(group, vertices, triangles);
    m_settings.colourMode = 0;
    m_settings.tinEdgeSwitch = 1;
    Render(kPassPick);
    GroupGpuData& d = *GroupGpuData::Find(group);

    // The same buffers drawn one triangle at a time into the figure layer.
    m_layers->Prepare(SceneLayers::kFigure);
    m_layers->Bind(SceneLayers::kFigure);
    G().glDisable(GL_DITHER);
    G().glDepthFunc(GL_LEQUAL);
    G().glEnableClientState(GL_VERTEX_ARRAY);
    G().glEnableClientState(GL_COLOR_ARRAY);
    G().glBindBuffer(GL_ARRAY_BUFFER, d.faceBuffers[0]);
    G().glVertexPointer(3, GL_FLOAT, 0, nullptr);
    G().glBindBuffer(GL_ARRAY_BUFFER, d.faceBuffers[2]);
    G().glColorPointer(4, GL_UNSIGNED_BYTE, 0, nullptr);
    for (int t = 0; t < 24; ++t) G().glDrawArrays(GL_TRIANGLES, 3 * t, 3);
    G().glLineWidth(5.0f);
    G().glBindBuffer(GL_ARRAY_BUFFER, d.edgeBuffers[0]);
    G().glVertexPointer(3, GL_FLOAT, 0, nullptr);
    G().glBindBuffer(GL_ARRAY_BUFFER, d.edgeBuffers[1]);
    G().glColorPointer(4, GL_UNSIGNED_BYTE, 0, nullptr);
    for (int t = 0; t < 24; ++t) G().glDrawArrays(GL_LINE_STRIP, 4 * t, 4);
    G().glLineWidth(1.0f);
    G().glDepthFunc(GL_LESS);
    G().glDisableClientState(GL_COLOR_ARRAY);
    G().glDisableClientState(GL_VERTEX_ARRAY);
    G().glBindBuffer(GL_ARRAY_BUFFER, 0);
    m_layers->BindDefault();

    int differing = 0;
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            if (m_layers->Pixel(SceneLayers::kTin, x, y) != m_layers->Pixel(SceneLayers::kFigure, x, y)) ++differing;
    EXPECT_EQ(differing, 0);
}
