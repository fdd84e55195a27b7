#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

#include "TestView.h"
#include "ViewTestApp.h"
#include "outside/CModelDataMng.h"
#include "platform/MemoryProfile.h"
#include "viewer/render/PixelResources.h"
#include "viewer/render/ShellHooks.h"

namespace {

class ModelViewerViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureViewTestApp();
        m_profile = std::make_shared<tessara::MemoryProfile>();
        tessara::SetAppProfile(m_profile);
        ShellHooks::Instance().showAboutDialog = [this] { ++m_aboutShown; };
    }
    void TearDown() override { ShellHooks::Instance().showAboutDialog = nullptr; }

    std::shared_ptr<tessara::MemoryProfile> m_profile;
    int m_aboutShown = 0;
};

TEST_F(ModelViewerViewTest, AboutBoxOpensAtFirstUpdateUnlessSwitchedOff)
{
    {
        TestView view;
        view.OnInitialUpdate();
    }
    EXPECT_EQ(m_aboutShown, 1);
    m_profile->WriteProfileInt("SectionGlView", "psKeyLicenseView", 0);
    {
        TestView view;
        view.OnInitialUpdate();
    }
    EXPECT_EQ(m_aboutShown, 1);
}

TEST_F(ModelViewerViewTest, MessageWithoutHandlerAnswersZero)
{
    TestView view;
    view.Create();
    EXPECT_EQ(view.HandleViewMessage(CModelViewerView::kWmUser + 107, 1, 2), 0);
    EXPECT_EQ(view.HandleViewMessage(CModelViewerView::kWmUser + 300, 1, 2), 0);
}

TEST_F(ModelViewerViewTest, EmptyCommandsAreTakenByTheView)
{
    TestView view;
    view.Create();
    for (unsigned id : {57600u, 57603u, 32771u, 32773u, 32802u, 35208u, 32814u, 32821u, 32822u, 32836u}) {
        EXPECT_NE(view.Commands().FindCommand(id), nullptr) << id;
    }
}

TEST_F(ModelViewerViewTest, SettingsAreReadAtConstructionAndWrittenAtDestruction)
{
    m_profile->WriteProfileInt("SectionGlView", "psKeyBackColor", 1);
    {
        TestView view;
        EXPECT_EQ(view.Settings().background, 1);
        view.Settings().grid = 0;
    }
    EXPECT_EQ(m_profile->GetProfileInt("SectionGlView", "ViewGrid", -1), 0);
    EXPECT_EQ(m_profile->GetProfileInt("SectionGlView", "psKeyBackColor", -1), 1);
}

TEST_F(ModelViewerViewTest, StrokeCollectorForgetsADestroyedView)
{
    const double stroke[6] = {1, 2, 3, 4, 5, 6};
    EXPECT_EQ(CModelViewerView::CollectFontStroke(stroke), 1);   // no view: nothing, 1
    {
        TestView view;
        CModelViewerView::SetStrokeCollectorView(&view);
        EXPECT_EQ(CModelViewerView::CollectFontStroke(stroke), 1);
        ASSERT_EQ(view.FontStrokes().size(), 1u);
        EXPECT_EQ(view.FontStrokes()[0][5], 6.0);
    }
    EXPECT_EQ(CModelViewerView::StrokeCollectorView(), nullptr);
    EXPECT_EQ(CModelViewerView::CollectFontStroke(stroke), 1);
}

TEST_F(ModelViewerViewTest, PaperFollowsThePlanExtentOfTheData)
{
    TestView view;
    auto group = std::make_unique<CPCloudMng>();
    group->AddCloudPoint(0.0f, 0.0f, 1.0f, 0, 0.0);
    group->AddCloudPoint(30.0f, 20.0f, 2.0f, 0, 0.0);
    group->CreateGrid();
    view.ModelStore().AddGroup(std::move(group));
    view.resize(200, 150);
    view.show();
    ASSERT_TRUE(ProcessEventsUntil([&] { return view.sceneFrames > 0; }));
    view.InvalidatePaper();
    view.InvalidateScene();
    view.grabFramebuffer();
    ModelViewerViewTestPeer peer(view);
    EXPECT_TRUE(peer.PaperBuilt());
}

TEST(PixelResourcesTest, CopiesNeverExceedTheBuffer)
{
    const std::vector<std::uint8_t> big(100, 7);
    const std::vector<std::uint8_t> copy = PixelResources::CopyInto(big, 64);
    EXPECT_EQ(copy.size(), 64u);
    const std::vector<std::uint8_t> small = PixelResources::CopyInto({1, 2, 3}, 8);
    EXPECT_EQ(small, (std::vector<std::uint8_t>{1, 2, 3, 0, 0, 0, 0, 0}));
}

TEST(PixelResourcesTest, DrawnResourcesHaveTheirSizes)
{
    EnsureViewTestApp();
    EXPECT_EQ(PixelResources::Load(33000).size(), CModelViewerView::kMarkerSpriteBytes);
    EXPECT_EQ(PixelResources::Load(35205).size(), CModelViewerView::kOverlayStripBytes);
    EXPECT_EQ(PixelResources::Load(35206).size(), CModelViewerView::kOverlaySquareBytes);
    EXPECT_EQ(PixelResources::Load(35207).size(), CModelViewerView::kOverlaySquareBytes);
    EXPECT_TRUE(PixelResources::Load(1).empty());
}

}  // namespace

namespace {

struct BackgroundCase {
    const char* name;
    short background;
    int gradient;
    QRgb clearColour;
    QRgb gridColour;
};

class BackgroundTest : public ::testing::TestWithParam<BackgroundCase> {};

TEST_P(BackgroundTest, ClearAndGridColoursFollowTheBackgroundStyle)
{
    EnsureViewTestApp();
    tessara::SetAppProfile(std::make_shared<tessara::MemoryProfile>());
    EXPECT_EQ(CModelViewerView::BackgroundColourOf(GetParam().background).rgb(), GetParam().clearColour | 0xFF000000);
    TestView view;
    view.Settings().background = GetParam().background;
    view.Settings().backgroundGradient = GetParam().gradient;
    view.resize(240, 180);
    view.show();
    ASSERT_TRUE(ProcessEventsUntil([&] { return view.sceneFrames > 0; }));
    view.InvalidateScene();
    const QImage picture = view.grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    int grid = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) grid += (picture.pixel(x, y) & 0xFFFFFF) == GetParam().gridColour;
    }
    EXPECT_GT(grid, 100);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, BackgroundTest,
    ::testing::Values(BackgroundCase{"black_gradient", 0, 1, 0x0A0F14, 0x666666},
                      BackgroundCase{"black_plain", 0, 0, 0x0A0F14, 0x333333},
                      BackgroundCase{"blue", 1, 1, 0x0A3678, 0x334C66},
                      BackgroundCase{"white_gradient", 7, 1, 0xFFFFFF, 0x737373},
                      BackgroundCase{"white_plain", 2, 0, 0xFFFFFF, 0xCCCCCC}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
