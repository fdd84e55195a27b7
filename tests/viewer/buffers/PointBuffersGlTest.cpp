#include "SceneFixture.h"
#include "platform/Parallel.h"

#include "viewer/buffers/GlBufferOps.h"
#include "viewer/buffers/GroupGpuData.h"
#include "viewer/buffers/PointCloudPass.h"
#include "viewer/buffers/SceneRenderer.h"

#include <thread>

namespace {

std::vector<std::array<float, 3>> Line(int n, float y = 10.5f)
{
    std::vector<std::array<float, 3>> points;
    for (int i = 0; i < n; ++i) points.push_back({0.5f + static_cast<float>(i % 60), y, 0.0f});
    return points;
}

std::uint32_t BufferWord(GlFunctions& gl, GLuint buffer, std::size_t index)
{
    std::uint32_t word = 0;
    gl.glBindBuffer(GL_ARRAY_BUFFER, buffer);
    gl.glGetBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(index * 4), 4, &word);
    gl.glBindBuffer(GL_ARRAY_BUFFER, 0);
    return word;
}

}  // namespace

TEST_F(SceneTest, TwoHundredFiftyPointsFillChunksThreeThenTwo)
{
    CPCloudMng& group = AddGroup(Line(250));
    Render(kPassDisplay);
    GroupGpuData* data = GroupGpuData::Find(group);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->pointsBuilt, 1);
    for (int c = 0; c < 100; ++c) EXPECT_EQ(data->pointCounts[c], c < 50 ? 3 : 2) << c;
}

TEST_F(SceneTest, PickColoursCarryPointNumbers)
{
    CPCloudMng& group = AddGroup(Line(70001));
    Render(kPassDisplay);
    GroupGpuData* data = GroupGpuData::Find(group);
    ASSERT_NE(data, nullptr);
    // Point 70000 is the 701st point of chunk 0.
    EXPECT_EQ(BufferWord(G(), data->pickColourBuffers[0], 700), 0xFF011170u);  // (112, 17, 1, 255)
    EXPECT_EQ(GlBufferOps::PickColour(0xFFFFFF), GlBufferOps::PickColour(0));
    EXPECT_EQ(GlBufferOps::PickColour(0xFFFFFF + 1), GlBufferOps::PickColour(1));
}

TEST_F(SceneTest, PointPickLayerHoldsPointNumbers)
{
    AddGroup({{5.5f, 7.5f, 0.0f}, {20.5f, 30.5f, 0.0f}, {40.5f, 9.5f, 0.0f}});
    Render(kPassDisplay);
    Render(kPassPointPick);
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kPointPick, 20, 30), 0xFF000001u);
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kPointPick, 40, 9), 0xFF000002u);
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kPointPick, 30, 30), 0u);
    // The display layer got colours, and pass 4 leaves both point layers alone.
    const std::uint32_t shown = m_layers->Pixel(SceneLayers::kCloud, 20, 30);
    EXPECT_NE(shown, 0u);
    Render(kPassPick);
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kCloud, 20, 30), shown);
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kPointPick, 20, 30), 0xFF000001u);
}

TEST_F(SceneTest, FlatHeightRangeGivesDarkRed)
{
    AddGroup({{5.5f, 5.5f, 3.0f}, {9.5f, 5.5f, 3.0f}});
    m_settings.correctionHint = 1;  // no shade correction: the colour stays as looked up
    Render(kPassDisplay);
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kCloud, 5, 5), 0xFF0000B2u);  // 0.7 -> 178.5, to even
}

TEST_F(SceneTest, ColourModeChangeRebuildsWithoutARelease)
{
    CPCloudMng& group = AddGroup({{5.5f, 5.5f, 0.0f}, {9.5f, 5.5f, 10.0f}}, 0x0000FF);
    Render(kPassDisplay);
    const std::uint32_t height = m_layers->Pixel(SceneLayers::kCloud, 9, 5);
    m_settings.colourMode = 2;  // RGB: no one marked anything for release
    m_layers->ClearAll();
    Render(kPassDisplay);
    EXPECT_EQ(m_book.Kind(DrawableKind::GroupCloud).builtMode, 2);
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kCloud, 9, 5), 0xFF0000FFu);  // red 255 * 0.004 -> 1.02, clamped
    EXPECT_NE(height, m_layers->Pixel(SceneLayers::kCloud, 9, 5));
    EXPECT_EQ(GroupGpuData::Find(group)->pointsBuilt, 1);
}

TEST_F(SceneTest, ReleaseRunsUnderDrawSwitchZero)
{
    CPCloudMng& group = AddGroup(Line(10));
    Render(kPassDisplay);
    GroupGpuData* data = GroupGpuData::Find(group);
    const GLuint name = data->positionBuffers[0];
    ASSERT_EQ(G().glIsBuffer(name), GL_TRUE);
    data->rebuildRequested = 1;
    m_book.InvalidateAll();
    m_book.Switch(DrawSwitch::GroupClouds) = 0;
    Render(kPassDisplay);
    EXPECT_EQ(G().glIsBuffer(name), GL_FALSE);
    EXPECT_EQ(data->pointsBuilt, 0);
    EXPECT_EQ(m_book.Kind(DrawableKind::GroupCloud).built, 0);
    EXPECT_EQ(m_book.Kind(DrawableKind::GroupCloud).releasePending, 0);
}

TEST_F(SceneTest, InvalidateBeforeAnyDrawChangesNothing)
{
    AddGroup(Line(10));
    m_book.InvalidateAll();
    for (std::size_t k = 0; k < kDrawableKindCount; ++k) {
        EXPECT_EQ(m_book.Kind(static_cast<DrawableKind>(k)).releasePending, 0);
        EXPECT_EQ(m_book.Kind(static_cast<DrawableKind>(k)).built, 0);
    }
    const RenderBook::PendingHooks hooks = m_book.TakePendingHooks();
    EXPECT_FALSE(hooks.clearPickBuckets);
    EXPECT_FALSE(hooks.clearSelection);
}

TEST_F(SceneTest, GroupWithoutRebuildRequestKeepsItsNames)
{
    CPCloudMng& kept = AddGroup(Line(10));
    CPCloudMng& redone = AddGroup(Line(10, 20.5f));
    Render(kPassDisplay);
    const GLuint keptName = GroupGpuData::Find(kept)->positionBuffers[3];
    GroupGpuData::Find(redone)->rebuildRequested = 1;
    m_book.InvalidateAll();
    EXPECT_TRUE(m_book.TakePendingHooks().clearPickBuckets);
    Render(kPassDisplay);
    EXPECT_EQ(GroupGpuData::Find(kept)->positionBuffers[3], keptName);
    EXPECT_EQ(G().glIsBuffer(keptName), GL_TRUE);
    EXPECT_EQ(GroupGpuData::Find(redone)->pointsBuilt, 1);
    EXPECT_EQ(G().glIsBuffer(GroupGpuData::Find(redone)->positionBuffers[3]), GL_TRUE);
}

TEST_F(SceneTest, NoLiveNamesAfterHundredRebuildsOrARemovedGroup)
{
    AddGroup(Line(250));
    m_selection.push_back(SelPCloud{0, {1, 5, 7, 400, 900000}});
    m_selection.push_back(SelPCloud{7, {1}});
    Render(kPassDisplay);
    const int live = LiveBuffers();
    EXPECT_GT(live, 0);
    for (int i = 0; i < 100; ++i) {
        GroupGpuData::Find(*m_store->m_groups[0])->rebuildRequested = 1;
        m_book.InvalidateAll();
        m_book.TakePendingHooks();
        Render(kPassDisplay);
    }
    EXPECT_EQ(LiveBuffers(), live);
    m_store->m_groups.clear();
    Render(kPassDisplay);
    EXPECT_EQ(LiveBuffers(), 0);
}

TEST_F(SceneTest, SelectionSkipsBadGroupsAndIndices)
{
    CPCloudMng& group = AddGroup(Line(150));
    m_selection.push_back(SelPCloud{-3, {1}});
    m_selection.push_back(SelPCloud{99, {1}});
    m_selection.push_back(SelPCloud{0, {0, 101, 149, 150, 5000}});
    Render(kPassDisplay);
    GroupGpuData* data = GroupGpuData::Find(group);
    EXPECT_EQ(data->selectionBuilt, 1);
    EXPECT_EQ(data->selectionCounts[0], 1);
    EXPECT_EQ(data->selectionCounts[1], 1);
    EXPECT_EQ(data->selectionCounts[49], 1);
    EXPECT_EQ(data->selectionCounts[50], 0);  // 150 and 5000 are not points of the group
    EXPECT_EQ(data->selectionBuffers[50], 0u);
    EXPECT_EQ(G().glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    // Selected points draw over their chunk in the selection colour.
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kCloud, 41, 10), 0xFF0ECDFFu);  // point 101 at x 41.5
}

TEST_F(SceneTest, WorkerInvalidationLeavesHooksToThePaint)
{
    AddGroup(Line(10));
    Render(kPassDisplay);
    std::thread worker([&] {
        std::lock_guard lock(m_viewMutex);
        m_book.InvalidateAll();
    });
    worker.join();
    const RenderBook::PendingHooks hooks = m_book.TakePendingHooks();
    EXPECT_TRUE(hooks.clearPickBuckets);
    EXPECT_FALSE(m_book.TakePendingHooks().clearPickBuckets);
}

TEST_F(SceneTest, RenderSceneWithoutTheLockDrawsNothing)
{
#ifdef NDEBUG
    AddGroup(Line(10));
    SceneRenderer::RenderScene(Ctx(), *m_layers, kPassDisplay, m_viewMutex);
    EXPECT_EQ(m_book.Kind(DrawableKind::GroupCloud).built, 0);
#else
    GTEST_SKIP() << "asserts in debug builds";
#endif
}

TEST_F(SceneTest, PointSizeIndexFoldsBack)
{
    EXPECT_EQ(PointCloudPass::FoldPointSizeIndex(7), 2);
    EXPECT_EQ(PointCloudPass::FoldPointSizeIndex(12), 0);
    EXPECT_EQ(PointCloudPass::FoldPointSizeIndex(4), 4);
    EXPECT_FLOAT_EQ(PointCloudPass::PointSizePixels(2, 0), 3.0f);
    EXPECT_FLOAT_EQ(PointCloudPass::PointSizePixels(2, 5), 5.0f);
    AddGroup(Line(3));
    m_selection.push_back(SelPCloud{0, {1}});
    m_settings.pointSizeIndex = 7;
    Render(kPassDisplay);
    EXPECT_EQ(m_settings.pointSizeIndex, 2);
}

TEST_F(SceneTest, ViewCloudInGroupColourModeTakesItsOwnColour)
{
    CPCloudMng& cloud = m_store->m_viewCloud;
    cloud.AddCloudPoint(12.5f, 12.5f, 0.0f, 0x0000FF, 0.0);
    cloud.m_nDataFlag = 1;
    cloud.m_nColor = 0x00C800;  // green 200 -> 0.8
    m_settings.colourMode = 5;
    Render(kPassDisplay);
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kCloud, 12, 12), 0xFF00CC00u);
    // Mono takes the settings' colour.
    m_settings.colourMode = 3;
    m_settings.pointColour = 0x640000;  // blue 100 -> 0.4
    m_layers->ClearAll();
    Render(kPassDisplay);
    EXPECT_EQ(m_layers->Pixel(SceneLayers::kCloud, 12, 12), 0xFF660000u);
}

TEST_F(SceneTest, LargeCloudsFilledSideBySideLandInTheirChunks)
{
    // One, two and all fill workers: every build holds exactly the same bytes.
    for (const std::size_t workers : {1u, 2u, 0u}) {
        const std::size_t previousWorkers = tessara::SetWorkerCount(workers);
        m_store->ClearGroups();   // each count builds a cloud of its own from scratch
        m_book.InvalidateAll();
        const int n = 1'000'050;
        auto group = std::make_unique<CPCloudMng>();
        group->ReserveCloudPoint(n);
        for (int i = 0; i < n; ++i)
            group->AddCloudPoint(static_cast<float>(i % 4096), static_cast<float>(i / 4096), 1.0f,
                                 static_cast<COLORREF>(i & 0xFFFFFF), 0.0);
        group->m_nDataFlag = 1;
        CPCloudMng& ref = *group;
        m_store->AddGroup(std::move(group));
        m_settings.colourMode = 2;
        Render(kPassDisplay);
        tessara::SetWorkerCount(previousWorkers);
        GroupGpuData& data = *GroupGpuData::Find(ref);
        int wrong = 0;
        for (int c = 0; c < GroupGpuData::kChunkCount; ++c) {
            const auto count = static_cast<std::size_t>(data.pointCounts[c]);
            ASSERT_EQ(count, static_cast<std::size_t>((n - 1 - c) / 100 + 1));
            const ChunkBuffers chunk = ReadChunk(data, c, count);
            const auto& positions = chunk.positions;
            const auto& picks = chunk.picks;
            const auto& colours = chunk.colours;
            for (std::size_t k = 0; k < count; ++k) {
                const std::size_t p = k * 100 + static_cast<std::size_t>(c);
                const COLORREF colour = p == 0 ? 0xFFFFFFu : static_cast<COLORREF>(p & 0xFFFFFF);
                const std::uint32_t expected = GlBufferOps::PackRgba((colour & 0xFF) * 0.004f, ((colour >> 8) & 0xFF) * 0.004f,
                                                                     ((colour >> 16) & 0xFF) * 0.004f);
                if (picks[k] != GlBufferOps::PickColour(p) || positions[k * 3] != float(p % 4096) ||
                    positions[k * 3 + 1] != float(p / 4096) || colours[k] != expected)
                    ++wrong;
            }
        }
        G().glBindBuffer(GL_ARRAY_BUFFER, 0);
        EXPECT_EQ(wrong, 0) << workers << " workers";
    }
}
