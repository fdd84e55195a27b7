// The axis triad and the orientation cube in the overlay layer of a real view.
#include <QApplication>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "TestView.h"
#include "ViewTestApp.h"
#include "platform/MemoryProfile.h"
#include "viewer/render/ShellHooks.h"
#include "viewer/render/GlFunctions.h"

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

// ---- tool feedback -----------------------------------------------------------------

class FeedbackTest : public OverlayViewTest {
protected:
    // The window framebuffer's pixels after running draw with XOR active, as
    // the base view runs the feedback.
    std::vector<std::uint8_t> DrawXor(const std::function<void()>& draw)
    {
        m_view->makeCurrent();
        GlFunctions& gl = *m_view->Gl();
        m_view->BindWindowFramebuffer();
        gl.glViewport(0, 0, kW, kH);
        gl.glDisable(GL_DEPTH_TEST);
        gl.glEnable(GL_COLOR_LOGIC_OP);
        gl.glLogicOp(GL_XOR);
        draw();
        gl.glDisable(GL_COLOR_LOGIC_OP);
        std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kW * kH * 3));
        gl.glPixelStorei(GL_PACK_ALIGNMENT, 1);
        gl.glReadPixels(0, 0, kW, kH, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        m_view->doneCurrent();
        return rgb;
    }
};

TEST_F(FeedbackTest, AnOutlineDrawnTwiceInXorLeavesThePictureAndARedrawUploadsNothing)
{
    m_view->SetEditPolygon(0, 0);
    m_view->RubberBand() = {QPoint(50, 50), QPoint(150, 50), QPoint(150, 120), QPoint(50, 120)};
    const std::vector<std::uint8_t> clean = DrawXor([] {});
    const std::vector<std::uint8_t> once = DrawXor([this] { m_view->DrawToolFeedback(0); });
    EXPECT_NE(once, clean);
    // The rectangle's top edge runs along row 50 from the top (stippled), and
    // nothing lies inside it.
    int onEdge = 0;
    for (int y = kH - 52; y <= kH - 48; ++y)
        for (int x = 60; x < 140; ++x) {
            const std::size_t at = (static_cast<std::size_t>(y) * kW + x) * 3;
            onEdge += once[at] != clean[at] ? 1 : 0;
        }
    EXPECT_GT(onEdge, 20);
    const std::size_t inside = (static_cast<std::size_t>(kH - 85) * kW + 100) * 3;
    EXPECT_EQ(once[inside], clean[inside]);
    const std::vector<std::uint8_t> twice = DrawXor([this] { m_view->DrawToolFeedback(1); });
    EXPECT_EQ(twice, clean);
}

TEST_F(FeedbackTest, TooFewPointsDrawNoRectangle)
{
    m_view->SetEditPolygon(0, 0);
    m_view->RubberBand() = {QPoint(50, 50), QPoint(150, 50), QPoint(150, 120)};
    const std::vector<std::uint8_t> clean = DrawXor([] {});
    EXPECT_EQ(DrawXor([this] { m_view->DrawToolFeedback(0); }), clean);
}

// A polygon being entered: while the band's last point follows the pointer the
// outline is stippled; with the pointer on the last entered point it is solid.
TEST_F(FeedbackTest, ThePolygonBandIsStippledWhileItsLastPointFollowsThePointer)
{
    const std::vector<QPoint> entered{QPoint(40, 50), QPoint(260, 50), QPoint(150, 150)};
    const std::vector<std::uint8_t> clean = DrawXor([] {});
    // Pixels changed along the first edge, row 50 from the top.
    const auto onFirstEdge = [&](const std::vector<std::uint8_t>& picture) {
        int n = 0;
        for (int y = kH - 52; y <= kH - 48; ++y)
            for (int x = 60; x < 240; ++x) {
                const std::size_t at = (static_cast<std::size_t>(y) * kW + x) * 3;
                n += picture[at] != clean[at] ? 1 : 0;
            }
        return n;
    };
    m_view->SetEditPolygon(1, 1);
    m_view->InputScreenPoints() = entered;
    m_view->RubberBand() = entered;
    const int solid = onFirstEdge(DrawXor([this] { m_view->DrawToolFeedback(0); }));
    DrawXor([this] { m_view->DrawToolFeedback(1); });  // the outline taken away again
    m_view->RubberBand().push_back(QPoint(100, 140));
    const int offered = onFirstEdge(DrawXor([this] { m_view->DrawToolFeedback(0); }));
    DrawXor([this] { m_view->DrawToolFeedback(1); });
    EXPECT_GT(solid, 150);
    EXPECT_GT(offered, 0);
    EXPECT_LT(offered, solid * 3 / 4);
}

TEST_F(OverlayViewTest, TheOverlaysLeaveTheBoundTextureAlone)
{
    m_view->Settings().compassMark = 1;
    m_view->makeCurrent();
    GlFunctions& gl = *m_view->Gl();
    GLuint tin = 0;
    gl.glGenTextures(1, &tin);
    gl.glBindTexture(GL_TEXTURE_2D, tin);
    const std::uint32_t texels[4] = {0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u, 0xFFFFFFFFu};
    gl.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    m_view->BindLayer(COpenGLBaseView::Layer::Overlay);
    gl.glMatrixMode(GL_PROJECTION);
    gl.glLoadIdentity();
    gl.glOrtho(-kW / 2.0, kW / 2.0, -kH / 2.0, kH / 2.0, 0.1, 10000.0);
    gl.glMatrixMode(GL_MODELVIEW);
    gl.glLoadIdentity();
    gl.glTranslatef(0, 0, -500);
    for (int i = 0; i < 2; ++i) m_view->DrawOrientationCube();
    GLint bound = 0;
    gl.glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), tin);
    std::uint32_t back[4] = {};
    gl.glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, back);
    EXPECT_EQ(std::vector<std::uint32_t>(back, back + 4), std::vector<std::uint32_t>(texels, texels + 4));
    gl.glDeleteTextures(1, &tin);
    m_view->BindWindowFramebuffer();
    m_view->doneCurrent();
}

}  // namespace
