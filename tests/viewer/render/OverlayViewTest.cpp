// The axis triad and the orientation cube in the overlay layer of a real view.
#include <QApplication>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "TestView.h"
#include "ViewTestApp.h"
#include "platform/MemoryProfile.h"
#include "viewer/render/ShellHooks.h"

namespace {

class OverlayViewTest : public ::testing::Test {
protected:
    static constexpr int kW = 400, kH = 300;

    void SetUp() override
    {
        EnsureViewTestApp();
        tessara::SetAppProfile(std::make_shared<tessara::MemoryProfile>());
        m_view = std::make_unique<TestView>();
        m_view->resize(kW, kH);
        m_view->show();
        ASSERT_TRUE(ProcessEventsUntil([this] { return m_view->sceneFrames > 0; }));
    }
    void TearDown() override { ShellHooks::Instance().legendColumnWidths = nullptr; }

    void Frame()
    {
        const int before = m_view->sceneFrames;
        m_view->InvalidateScene();
        ASSERT_TRUE(ProcessEventsUntil([&] { return m_view->sceneFrames > before; }));
    }

    // Pixels of the overlay layer in a square around a window point (y up) that
    // pass a test.
    int Count(int cx, int cy, int half, const std::function<bool(const std::uint8_t*)>& test)
    {
        m_view->makeCurrent();
        EXPECT_TRUE(m_view->BindLayer(COpenGLBaseView::Layer::Overlay));
        const int side = 2 * half;
        std::vector<std::uint8_t> rgba(static_cast<std::size_t>(side * side * 4));
        m_view->Gl()->glPixelStorei(GL_PACK_ALIGNMENT, 1);
        m_view->Gl()->glReadPixels(cx - half, cy - half, side, side, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        m_view->BindWindowFramebuffer();
        m_view->doneCurrent();
        int n = 0;
        for (std::size_t i = 0; i < rgba.size(); i += 4) n += test(&rgba[i]) ? 1 : 0;
        return n;
    }
    int Drawn(int cx, int cy, int half)
    {
        return Count(cx, cy, half, [](const std::uint8_t* p) { return p[3] != 0; });
    }

    std::unique_ptr<TestView> m_view;
};

struct SwitchCase {
    int xyz, dir;
};

class OverlaySwitchTest : public OverlayViewTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(OverlaySwitchTest, EachSwitchShowsOnlyItsAid)
{
    m_view->Settings().xyzMark = GetParam().xyz;
    m_view->Settings().compassMark = GetParam().dir;
    Frame();
    EXPECT_EQ(Drawn(kW - 100, kH - 100, 45) > 0, GetParam().xyz != 0);
    EXPECT_EQ(Drawn(100, 100, 70) > 0, GetParam().dir != 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, OverlaySwitchTest,
                         ::testing::Values(SwitchCase{0, 0}, SwitchCase{1, 0}, SwitchCase{0, 1}, SwitchCase{1, 1}));

TEST_F(OverlayViewTest, AnOpenLegendMovesTheTriadLeftByItsWidth)
{
    m_view->Settings().xyzMark = 1;
    m_view->Settings().compassMark = 0;
    ShellHooks::Instance().legendColumnWidths = [] { return 150; };
    Frame();
    EXPECT_EQ(Drawn(kW - 100, kH - 100, 45), 0);
    EXPECT_GT(Drawn(kW - 250, kH - 100, 45), 0);
    ShellHooks::Instance().legendColumnWidths = nullptr;
    Frame();
    EXPECT_GT(Drawn(kW - 100, kH - 100, 45), 0);
}

TEST_F(OverlayViewTest, TheUndersideOfThePlateShowsItsOwnPicture)
{
    m_view->Settings().xyzMark = 0;
    m_view->Settings().compassMark = 1;
    Frame();
    // The plate from above is dark blue, from below dark red.
    const auto blue = [](const std::uint8_t* p) { return p[3] != 0 && p[2] > 60 && p[0] < 50 && p[1] < 70; };
    const auto red = [](const std::uint8_t* p) { return p[3] != 0 && p[0] > 90 && p[1] < 70 && p[2] < 60; };
    EXPECT_GT(Count(100, 100, 70, blue), 100);
    m_view->ApplyRotation(180.0f, 1.0f, 0.0f, 0.0f);
    Frame();
    EXPECT_EQ(Count(100, 100, 70, blue), 0);
    EXPECT_GT(Count(100, 100, 70, red), 100);
}

}  // namespace
