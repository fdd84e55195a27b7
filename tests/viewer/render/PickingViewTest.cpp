// The view's side of selection and hover: the lock rules while another thread
// holds the store, the tool-mode answers of the polygon selection, and the hover
// cache filled by a frame.
#include <QApplication>

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <mutex>
#include <thread>

#include "TestView.h"
#include "ViewTestApp.h"
#include "outside/CModelDataMng.h"
#include "platform/MemoryProfile.h"
#include "platform/ScriptedMessageBoxes.h"
#include "viewer/buffers/GroupGpuData.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/buffers/ViewPickState.h"
#include "viewer/files/ViewProgress.h"
#include "viewer/render/ViewConstants.h"

namespace {

class PickView : public TestView {
public:
    void SetToolMode(std::uint8_t mode) { m_toolMode = mode; }
    void SetEditMode(std::uint8_t mode) { m_editMode = mode; }
};

// Holds the view lock on another thread until released, as a load does.
class LockHolder {
public:
    explicit LockHolder(tessara::OwnedMutex& mutex)
        : m_thread([this, &mutex] {
              std::unique_lock lock(mutex);
              m_held.set_value();
              // Bounded only against a hang: a blocked UI thread fails the test below.
              m_release.get_future().wait_for(std::chrono::seconds(60));
          })
    {
        m_held.get_future().wait();
    }
    ~LockHolder()
    {
        m_release.set_value();
        m_thread.join();
    }

private:
    std::promise<void> m_held;
    std::promise<void> m_release;
    std::thread m_thread;
};

class PickingViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureViewTestApp();
        tessara::SetAppProfile(std::make_shared<tessara::MemoryProfile>());
        ScriptedBoxes().Clear();
        m_view = std::make_unique<PickView>();
        m_view->resize(400, 300);
        m_view->show();
        ASSERT_TRUE(ProcessEventsUntil([this] { return m_view->sceneFrames > 0; }));
        // One TIN triangle around the scene's centre, and its group's points.
        auto group = std::make_unique<CPCloudMng>();
        for (const auto& v : {std::array<float, 3>{-5, -5, 0}, {5, -5, 0}, {-5, 5, 0}}) {
            group->AddVertex(v[0], v[1], v[2]);
            group->AddCloudPoint(v[0], v[1], v[2], 0xFFFFFF, 0.0);
        }
        group->m_triangles.emplace_back(0, 1, 2);
        group->m_nDataFlag = 1;
        group->CreateGrid();
        static_cast<CVertexMng&>(*group).CreateGrid();
        m_view->ModelStore().AddGroup(std::move(group));
        m_view->Settings().tinEdgeSwitch = 1;
        m_view->Settings().tinPointSwitch = 1;
    }

    void Frame()
    {
        const int before = m_view->sceneFrames;
        m_view->InvalidateScene();
        ASSERT_TRUE(ProcessEventsUntil([&] { return m_view->sceneFrames > before; }));
    }

    // Mouse point (y down) of a model point.
    QPoint MouseAt(float x, float y, float z)
    {
        QVector3D w;
        EXPECT_TRUE(m_view->ProjectToWindow(QVector3D(x, y, z), w));
        return QPoint(qRound(w.x()), m_view->ClientHeight() - qRound(w.y()));
    }

    ViewPickState& Pick() { return *m_view->BuffersState().pick; }

    std::unique_ptr<PickView> m_view;
};

TEST_F(PickingViewTest, EdgeHoverFindsTheEdgeAndGivesUpWhileTheStoreIsBusy)
{
    m_view->SetToolMode(toolmode::kTinEdgeSwap);
    m_view->RebuildPickCache();
    Frame();
    // The middle of the edge from vertex 1 to vertex 2.
    const QPoint onEdge = MouseAt(0, 0, 0);
    m_view->DragStep(onEdge);
    ASSERT_EQ(Pick().hoveredEdges.size(), 1u);
    EXPECT_EQ(Pick().hoveredEdges[0].v1, 1);
    EXPECT_EQ(Pick().hoveredEdges[0].v2, 2);
    {
        LockHolder load(m_view->ViewMutex());
        for (int i = 0; i < 3; ++i) {
            m_view->DragStep(onEdge + QPoint(i, 0));
            EXPECT_TRUE(Pick().hoveredEdges.empty());
        }
        // Frames keep coming: the cached picture is shown while the store is busy.
        m_view->update();
        QCoreApplication::processEvents();
    }
    m_view->DragStep(onEdge);
    EXPECT_EQ(Pick().hoveredEdges.size(), 1u);
}

TEST_F(PickingViewTest, VertexHoverNeedsTheVertexDisplay)
{
    m_view->SetToolMode(toolmode::kTinVertexEdit);
    m_view->RebuildPickCache();
    Frame();
    const QPoint nearVertex = MouseAt(5, -5, 0) + QPoint(2, 1);
    m_view->DragStep(nearVertex);
    ASSERT_TRUE(Pick().hoveredVertex.has_value());
    EXPECT_EQ(Pick().hoveredVertex->index, 1);
    m_view->Settings().tinPointSwitch = 0;
    m_view->DragStep(nearVertex);
    EXPECT_FALSE(Pick().hoveredVertex.has_value());
}

TEST_F(PickingViewTest, SelectionWhileTheStoreIsBusySelectsNothingAndSaysSo)
{
    const std::vector<QPoint> all{{1, 1}, {399, 1}, {399, 299}, {1, 299}};
    Pick().keys = [] { return PolygonSelection::Keys{}; };
    m_view->SetEditMode(1);
    {
        LockHolder load(m_view->ViewMutex());
        EXPECT_EQ(m_view->SelectByScreenPolygon(all, 0), 0);
    }
    EXPECT_TRUE(m_view->BuffersState().pickBuckets.empty());
    const auto shown = ScriptedBoxes().ShownBoxes();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, filetexts::kBusy);
    EXPECT_EQ(shown[0].flags & tessara::MB_ICONWARNING, tessara::MB_ICONWARNING);

    EXPECT_EQ(m_view->SelectByScreenPolygon(all, 0), 1);
    ASSERT_EQ(m_view->BuffersState().pickBuckets.size(), 1u);
    EXPECT_EQ(m_view->BuffersState().pickBuckets[0].points.size(), 3u);
}

struct ToolModeCase {
    std::uint8_t mode;
    int result;
};

class SelectionToolModeTest : public PickingViewTest, public ::testing::WithParamInterface<ToolModeCase> {};

TEST_P(SelectionToolModeTest, OnlyToolModeZeroSelects)
{
    m_view->SetToolMode(GetParam().mode);
    m_view->SetEditMode(1);
    Pick().keys = [] { return PolygonSelection::Keys{}; };
    EXPECT_EQ(m_view->SelectByScreenPolygon({{1, 1}, {399, 1}, {399, 299}, {1, 299}}, 0), GetParam().result);
    EXPECT_TRUE(m_view->BuffersState().pickBuckets.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, SelectionToolModeTest,
                         ::testing::Values(ToolModeCase{toolmode::kCadEdit, 1}, ToolModeCase{toolmode::kTinVertexEdit, 0},
                                           ToolModeCase{toolmode::kPolyline, 0}));

}  // namespace
