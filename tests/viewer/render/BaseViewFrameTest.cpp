#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "TestView.h"
#include "viewer/render/FrameClock.h"
#include "platform/Log.h"
#include "platform/MemoryProfile.h"
#include "ViewTestApp.h"

namespace {

int CountPixels(const QImage& image, QRgb colour)
{
    int count = 0;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) count += (line[x] & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
    }
    return count;
}

class BaseViewFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureViewTestApp();
        // Views save their settings when destroyed: every test starts from the defaults.
        tessara::SetAppProfile(std::make_shared<tessara::MemoryProfile>());
        m_view = std::make_unique<TestView>();
        m_view->resize(320, 240);
    }

    void ShowAndWaitForFirstFrame()
    {
        m_view->show();
        ASSERT_TRUE(ProcessEventsUntil([this] { return m_view->sceneFrames > 0; }));
    }

    std::unique_ptr<TestView> m_view;
};

TEST_F(BaseViewFrameTest, EmptyViewDrawsTheGridInItsColourAtFullDetail)
{
    ShowAndWaitForFirstFrame();
    const QImage picture = m_view->grabFramebuffer();
    // Default background 0 with the gradient on: grid lines in (0.4, 0.4, 0.4).
    EXPECT_GT(CountPixels(picture, qRgb(102, 102, 102)), 200);
    EXPECT_EQ(m_view->DetailLevel(), 0);
    EXPECT_FALSE(m_view->RefinementActive());
    // The window picture stays opaque although the layers clear with alpha 0.
    EXPECT_EQ(qAlpha(picture.pixel(5, 5)), 255);
}

TEST_F(BaseViewFrameTest, FrameWhileTheLockIsHeldShowsTheLastPictureAndKeepsTheRequest)
{
    ShowAndWaitForFirstFrame();
    const QImage before = m_view->grabFramebuffer();
    const int frames = m_view->sceneFrames;
    {
        // Another thread holds the store, as the pipe worker does during a load.
        std::atomic<bool> locked{false};
        std::atomic<bool> release{false};
        std::thread worker([&] {
            std::lock_guard lock(m_view->ViewMutex());
            locked = true;
            while (!release) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
        while (!locked) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        m_view->InvalidateScene();
        const QImage during = m_view->grabFramebuffer();
        release = true;
        worker.join();
        EXPECT_EQ(m_view->sceneFrames, frames);
        EXPECT_EQ(during.pixel(160, 120), before.pixel(160, 120));
        EXPECT_EQ(CountPixels(during, qRgb(102, 102, 102)), CountPixels(before, qRgb(102, 102, 102)));
    }
    // The kept request draws the scene once the lock is free.
    EXPECT_TRUE(ProcessEventsUntil([&] { return m_view->sceneFrames > frames; }));
}

TEST_F(BaseViewFrameTest, FrameWhileTheUiThreadItselfHoldsTheLockShowsTheLastPicture)
{
    ShowAndWaitForFirstFrame();
    const QImage before = m_view->grabFramebuffer();
    const std::uint64_t frames = m_view->SceneFrameCount();
    {
        // A command on the UI thread holds the store and pumps events: the paint
        // sees the lock busy and keeps the request.
        std::lock_guard lock(m_view->ViewMutex());
        m_view->InvalidateScene();
        const QImage during = m_view->grabFramebuffer();
        EXPECT_EQ(m_view->SceneFrameCount(), frames);
        EXPECT_EQ(during.pixel(160, 120), before.pixel(160, 120));
        EXPECT_TRUE(m_view->ViewMutex().HeldByThisThread());
    }
    EXPECT_TRUE(ProcessEventsUntil([&] { return m_view->SceneFrameCount() > frames; }));
}

TEST_F(BaseViewFrameTest, OverlayUpdateRedrawsFromTheCacheWithoutASceneFrame)
{
    ShowAndWaitForFirstFrame();
    ProcessEventsUntil([] { return false; }, 100);
    const int frames = m_view->sceneFrames;
    m_view->DrawXorOverlay(0);
    const QImage picture = m_view->grabFramebuffer();
    EXPECT_EQ(m_view->sceneFrames, frames);
    EXPECT_GT(CountPixels(picture, qRgb(102, 102, 102)), 200);
}

TEST_F(BaseViewFrameTest, AxisAndGridBuffersAreBuiltOnceAndNoPaperWithoutData)
{
    ShowAndWaitForFirstFrame();
    m_view->makeCurrent();
    ModelViewerViewTestPeer peer(*m_view);
    EXPECT_TRUE(peer.AxisBuilt());
    EXPECT_TRUE(peer.GridBuilt());
    EXPECT_FALSE(peer.PaperBuilt());
    EXPECT_EQ(peer.AxisVertexBytes(), 144);
    EXPECT_EQ(peer.AxisColourBytes(), 192);
    EXPECT_EQ(peer.GridBytes(), 400 * 3 * 4);
    const GLuint axisBuffer = peer.AxisBufferId();
    m_view->doneCurrent();

    // Switching the axis off and on draws from the same buffers.
    m_view->Settings().axis = 0;
    m_view->InvalidateScene();
    m_view->grabFramebuffer();
    m_view->Settings().axis = 1;
    m_view->InvalidateScene();
    m_view->grabFramebuffer();
    EXPECT_EQ(peer.AxisBufferId(), axisBuffer);
}

TEST_F(BaseViewFrameTest, MissingEntryPointsLeaveABlankViewLoggedOnce)
{
    m_view->failExtensions = true;
    std::atomic<int> blankWarnings{0};
    const tessara::LogSink previous = tessara::SetLogSink([&](std::string_view line) {
        if (line.find("stays blank") != std::string_view::npos) ++blankWarnings;
    });
    m_view->show();
    ProcessEventsUntil([] { return false; }, 200);
    QImage picture;
    for (int i = 0; i < 3; ++i) {
        m_view->InvalidateScene();
        picture = m_view->grabFramebuffer();
    }
    tessara::SetLogSink(previous);
    EXPECT_FALSE(m_view->IsGlReady());
    EXPECT_EQ(m_view->axisGridDraws, 0);
    EXPECT_EQ(m_view->sceneFrames, 0);
    EXPECT_EQ(m_view->extensionLoads, 1);
    EXPECT_EQ(blankWarnings.load(), 1);
    EXPECT_EQ(CountPixels(picture, qRgb(0, 0, 0)), picture.width() * picture.height());
}

TEST_F(BaseViewFrameTest, ViewDestroyedWhileItsWorkerWaitsStopsTheWorker)
{
    m_view->Create();
    const auto start = std::chrono::steady_clock::now();
    m_view.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

struct ProjectionCase {
    const char* name;
    short projection;
    double eyeDistanceAtZoom9;
    bool perspective;
};

class ProjectionTest : public ::testing::TestWithParam<ProjectionCase> {};

TEST_P(ProjectionTest, ProjectionAndEyeDistanceFollowTheSetting)
{
    EnsureViewTestApp();
    TestView view;
    view.SetClientSize(400, 200);
    view.Zoom() = 9.0f;
    view.Settings().projection = GetParam().projection;
    view.UpdateProjection();
    view.UpdateModelView();
    EXPECT_NEAR(CModelViewerView::EyeDistance(GetParam().projection, 9.0f), GetParam().eyeDistanceAtZoom9, 1e-9);

    QMatrix4x4 expected;
    if (GetParam().perspective) {
        const float k = 2.5e-5f * GetParam().projection;
        expected.frustum(-400 * k, 400 * k, -200 * k, 200 * k, 0.1f, 10000.0f);
    } else {
        expected.ortho(-400 * 0.5f / 9.0f, 400 * 0.5f / 9.0f, -200 * 0.5f / 9.0f, 200 * 0.5f / 9.0f, 0.1f, 10000.0f);
    }
    EXPECT_TRUE(qFuzzyCompare(view.ProjectionMatrix(), expected));
    // The camera looks down the z axis from the eye distance.
    QVector3D window;
    ASSERT_TRUE(view.ProjectToWindow(QVector3D(0, 0, 0), window));
    EXPECT_NEAR(window.x(), 200.0, 1e-3);
    EXPECT_NEAR(window.y(), 100.0, 1e-3);
}

INSTANTIATE_TEST_SUITE_P(Settings, ProjectionTest,
                         ::testing::Values(ProjectionCase{"ortho_fixed_eye", 0, 500.0, false},
                                           ProjectionCase{"perspective_1", 1, 230.0, true},
                                           ProjectionCase{"perspective_2", 2, 120.0, true},
                                           ProjectionCase{"perspective_3", 3, 85.0, true},
                                           ProjectionCase{"other_is_ortho_scaled_eye", 4, 50.0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ProjectionEdgeTest, NoProjectionForAnEmptyWindow)
{
    EnsureViewTestApp();
    TestView view;
    view.SetClientSize(0, 240);
    view.UpdateProjection();
    EXPECT_TRUE(view.ProjectionMatrix().isIdentity());
}

TEST(ProjectionEdgeTest, OrthographicZoomChangesTheBoxNotTheEyeDistance)
{
    EXPECT_EQ(CModelViewerView::EyeDistance(0, 1.0f), CModelViewerView::EyeDistance(0, 1000.0f));
    EXPECT_NE(CModelViewerView::EyeDistance(4, 1.0f), CModelViewerView::EyeDistance(4, 1000.0f));
}

}  // namespace

namespace {

TEST_F(BaseViewFrameTest, FrameAfterASlowOneRefinesStepByStepThenStops)
{
    auto clock = std::make_shared<SteppingFrameClock>(0);
    m_view->SetFrameClock(clock);
    ShowAndWaitForFirstFrame();
    ASSERT_EQ(m_view->DetailLevel(), 0);
    // A frame of 150 ms (over 100, not over 300) coarsens the detail level halfway: 0 -> 49.
    clock->SetStepMs(150);
    m_view->InvalidateScene();
    m_view->grabFramebuffer();
    ASSERT_EQ(m_view->DetailLevel(), 49);
    EXPECT_FALSE(m_view->RefinementActive());   // that frame was drawn at full detail
    // The next frame is drawn at that level: as many refinement steps follow, and the
    // fast frame lowers the level by 15.
    clock->SetStepMs(5);
    const std::uint64_t framesBefore = m_view->SceneFrameCount();
    const std::uint64_t stepsBefore = m_view->RefinementStepCount();
    m_view->InvalidateScene();
    m_view->grabFramebuffer();
    EXPECT_EQ(m_view->SceneFrameCount(), framesBefore + 1);
    EXPECT_EQ(m_view->DetailLevel(), 34);
    EXPECT_TRUE(m_view->RefinementActive());
    EXPECT_TRUE(ProcessEventsUntil([this] { return !m_view->RefinementActive(); }, 60000))
        << "refinement still running after a minute";
    EXPECT_EQ(m_view->RefinementStepCount() - stepsBefore, 49u);
    EXPECT_EQ(m_view->RefinementCounter(), 0);
    EXPECT_EQ(m_view->SceneFrameCount(), framesBefore + 1);   // steps are no scene frames
    // Fast frames bring the level back to full detail: 34 -> 19 -> 4 -> 0.
    for (int frame = 0; frame < 3; ++frame) {
        m_view->InvalidateScene();
        m_view->grabFramebuffer();
        EXPECT_TRUE(ProcessEventsUntil([this] { return !m_view->RefinementActive(); }, 60000));
    }
    EXPECT_EQ(m_view->DetailLevel(), 0);
}

TEST_F(BaseViewFrameTest, AFrameOverThreeHundredMillisecondsDropsToTheCoarsestLevel)
{
    auto clock = std::make_shared<SteppingFrameClock>(0);
    m_view->SetFrameClock(clock);
    ShowAndWaitForFirstFrame();
    clock->SetStepMs(301);
    m_view->InvalidateScene();
    m_view->grabFramebuffer();
    EXPECT_EQ(m_view->DetailLevel(), 99);
}

TEST_F(BaseViewFrameTest, ASceneFrameCancelsARunningRefinement)
{
    auto clock = std::make_shared<SteppingFrameClock>(0);
    m_view->SetFrameClock(clock);
    ShowAndWaitForFirstFrame();
    clock->SetStepMs(150);
    m_view->InvalidateScene();
    m_view->grabFramebuffer();
    clock->SetStepMs(60);   // 50..100 ms keeps the level
    m_view->InvalidateScene();
    m_view->grabFramebuffer();
    ASSERT_TRUE(m_view->RefinementActive());
    ASSERT_EQ(m_view->DetailLevel(), 49);
    m_view->InvalidateScene();
    m_view->grabFramebuffer();   // cancels the running refinement and starts its own
    const std::uint64_t stepsBefore = m_view->RefinementStepCount();
    ASSERT_TRUE(m_view->RefinementActive());
    EXPECT_EQ(m_view->RefinementCounter(), 49);
    EXPECT_TRUE(ProcessEventsUntil([this] { return !m_view->RefinementActive(); }, 60000))
        << "refinement still running after a minute";
    EXPECT_EQ(m_view->RefinementStepCount() - stepsBefore, 49u);
}

}  // namespace
