// The shell's side of the pop-ups: the frame closes the legends when it closes and
// moves them with itself; the view's destructor closes the hints.
#include "viewer/dialogs/HintSlots.h"
#include "viewer/dialogs/HintToolTip.h"
#include "viewer/dialogs/LegendMessagePaint.h"
#include "viewer/dialogs/LegendSlots.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>
#include <mutex>

#include "PopupTestSupport.h"
#include "outside/CModelDataMng.h"
#include "outside/CPCloudMng.h"
#include "outside/PT.h"
#include "platform/MemoryProfile.h"
#include "platform/MessageBox.h"
#include "platform/ScriptedMessageBoxes.h"
#include "tests/viewer/render/TestView.h"
#include "tests/viewer/render/ViewTestApp.h"
#include "viewer/app/CMainFrame.h"
#include "viewer/render/CModelViewerView.h"

namespace {

const std::vector<ColorConf> kStops = {{255, 0x0000FF}, {0, 0xFF0000}};

class PopupShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureViewTestApp();
        tessara::SetAppProfile(std::make_shared<tessara::MemoryProfile>());
        ScriptedBoxes().Clear();
        static std::int64_t start = 900'000'000;
        start += 1'000'000;
        SetLegendClock(std::make_shared<ManualClock>(start));
        m_frame = std::make_unique<CMainFrame>();
        ASSERT_TRUE(m_frame->OnCreate());
        m_view = new CModelViewerView(m_frame.get());
        m_frame->SetView(m_view);
        SetPopupSources([this]() -> QWidget* { return m_view; }, [this]() -> QWidget* { return m_frame.get(); });
        InstallPopupHooks();
        m_frame->move(20, 20);
        m_frame->resize(900, 600);
        m_frame->show();
        ASSERT_TRUE(ProcessEventsUntil([this] { return m_view->isVisible() && m_view->width() > 100; }));
    }
    void TearDown() override
    {
        CloseSlopeLegend();
        CloseElevationLegend();
        for (int kind = 1; kind <= 7; ++kind) CloseToolTip(kind);
        RemovePopupHooks();
        SetPopupSources({}, {});
        m_frame.reset();
        SetLegendClock(nullptr);
    }
    int ViewRight() const { return m_view->mapToGlobal(QPoint(m_view->width(), 0)).x(); }

    std::unique_ptr<CMainFrame> m_frame;
    CModelViewerView* m_view = nullptr;
};

}  // namespace

TEST_F(PopupShellTest, LegendsFollowTheFrameAndCloseWithIt)
{
    ShowElevationLegend(m_view, 0x000000, 20.0, 10.0, kStops);
    ShowSlopeLegend(m_view, 0x000000, 0);
    ASSERT_NE(OpenLegend(LegendSlot::Elevation), nullptr);
    EXPECT_EQ(OpenLegend(LegendSlot::Elevation)->geometry().right() + 1, ViewRight());

    m_frame->move(m_frame->pos() + QPoint(60, 30));
    EXPECT_TRUE(ProcessEventsUntil([this] {
        const MessagePaint* legend = OpenLegend(LegendSlot::Elevation);
        return legend->geometry().right() + 1 == ViewRight() &&
               legend->geometry().top() == m_view->mapToGlobal(QPoint(0, 0)).y();
    }));
    m_frame->resize(1000, 640);
    EXPECT_TRUE(ProcessEventsUntil(
        [this] { return OpenLegend(LegendSlot::Slope)->geometry().right() + 1 == ViewRight() - 100; }));

    ScriptedBoxes().QueueAnswer(tessara::IDYES);
    EXPECT_TRUE(m_frame->close());
    EXPECT_EQ(OpenLegend(LegendSlot::Elevation), nullptr);
    EXPECT_EQ(OpenLegend(LegendSlot::Slope), nullptr);
}

TEST_F(PopupShellTest, TheViewsDestructorClosesItsHints)
{
    for (int kind = 1; kind <= 3; ++kind) ASSERT_TRUE(ShowValueToolTip(kind, QPoint(100, 100), 0, kind));
    ASSERT_TRUE(ShowMeasureListToolTip(PT(1, 2, 3), QPoint(200, 200)));
    for (int kind = 5; kind <= 7; ++kind) ASSERT_TRUE(ShowSectionValueToolTip(kind, QPoint(300, 300), kind));
    for (int kind = 1; kind <= 7; ++kind) ASSERT_NE(OpenHint(kind), nullptr) << kind;
    ASSERT_EQ(OpenHint(1)->parentWidget(), m_frame.get()) << "hints belong to the main window";

    CModelViewerView* view = m_view;
    m_view = nullptr;
    delete view;
    for (int kind = 1; kind <= 7; ++kind) EXPECT_EQ(OpenHint(kind), nullptr) << kind;
}

TEST(PopupDisplayCommands, TinPictureCommandsOpenTheirLegendsWithTheViewsValues)
{
    EnsureViewTestApp();
    tessara::SetAppProfile(std::make_shared<tessara::MemoryProfile>());
    auto clock = std::make_shared<ManualClock>(2'000'000'000);
    SetLegendClock(clock);
    auto view = std::make_unique<TestView>();
    view->Create();
    view->resize(400, 300);
    view->show();
    ASSERT_TRUE(ProcessEventsUntil([&] { return view->sceneFrames > 0; }));
    SetPopupSources([&view]() -> QWidget* { return view.get(); }, [&view]() -> QWidget* { return view.get(); });
    {
        auto group = std::make_unique<CPCloudMng>();
        group->AddVertex(0.0f, 0.0f, 3.0f);
        group->AddVertex(5.0f, 0.0f, 8.0f);
        group->AddVertex(0.0f, 5.0f, 4.0f);
        group->m_triangles.emplace_back(0, 1, 2);
        group->CVertexMng::CreateGrid();
        std::lock_guard lock(view->ViewMutex());
        view->ModelStore().AddGroup(std::move(group));
    }
    const auto run = [&view](unsigned id) {
        const auto* handler = view->Commands().FindCommand(id);
        ASSERT_NE(handler, nullptr) << id;
        (*handler)();
    };

    view->Settings().paleSlopeFill = 1;
    run(32788);   // TIN faces by slope
    const MessagePaint* slope = OpenLegend(LegendSlot::Slope);
    ASSERT_NE(slope, nullptr);
    EXPECT_EQ(slope->m_colourSet, 1);
    EXPECT_EQ(slope->m_background, 0x140F0Au) << "the view's dark background (10, 15, 20)";

    clock->now += 1000;
    run(32787);   // TIN faces by height
    const MessagePaint* elevation = OpenLegend(LegendSlot::Elevation);
    ASSERT_NE(elevation, nullptr);
    EXPECT_EQ(elevation->m_top, 8.0);
    EXPECT_EQ(elevation->m_bottom, 3.0);
    EXPECT_FALSE(elevation->m_stops.empty());
    EXPECT_EQ(elevation->geometry().right() + 1, view->mapToGlobal(QPoint(view->width(), 0)).x());

    CloseElevationLegend();
    CloseSlopeLegend();
    SetPopupSources({}, {});
    view.reset();
    SetLegendClock(nullptr);
}
