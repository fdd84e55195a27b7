#include "CommandViewFixture.h"
#include "SectionViewSupport.h"

#include "viewer/commands/CrossSection.h"
#include "viewer/dialogs/ControlIds.h"
#include "viewer/dialogs/DanmenConfDlg.h"

#include <QCheckBox>
#include "viewer/render/ViewConstants.h"

#include <cmath>
#include <future>
#include <thread>

namespace {

class SectionCommandTest : public CommandViewTest {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(CommandViewTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(LoadSectionFixture(View()));
        View().OnShowUp();
    }
    // The view with the section tool's lists at hand.
    std::unique_ptr<TestView> MakeView() override { return std::make_unique<SectionPickView>(); }
    SectionPickView& Section() { return static_cast<SectionPickView&>(View()); }
    bool WaitForStatus(const std::string& text)
    {
        View().InvalidateScene();
        return ProcessEventsUntil([&] { return View().LastStatusText() == text; });
    }
};

constexpr unsigned kToolDanmen = 35211;

}  // namespace

TEST_F(SectionCommandTest, TwoClicksAcrossTinAndCloudBuildTheSheet)
{
    // The cloud's points stand a metre apart along the line: a small spacing keeps
    // the TIN crossings beside them in the profile.
    View().Settings().sectionPointSpacingM = 0.05;
    Run(kToolDanmen);
    EXPECT_EQ(Section().ToolMode(), toolmode::kSection);
    EXPECT_TRUE(Ui(kToolDanmen).checked);
    EXPECT_EQ(View().LastStatusText(), "計測する点群の1点目を指示して下さい。");
    ASSERT_NE(View().SectionDialog(), nullptr);

    ASSERT_TRUE(Section().ClickAtUser(2.0, 7.05, 16.35));
    EXPECT_EQ(Section().SectionPoints().size(), 1u);
    EXPECT_TRUE(WaitForStatus("計測する点群の2点目を指示して下さい。"));

    // The second point at the first's plan position: kept one, asked again.
    ASSERT_TRUE(Section().ClickAtUser(2.0, 7.05, 16.35));
    EXPECT_EQ(Section().SectionPoints().size(), 1u);
    EXPECT_EQ(View().CurrentSectionSheet(), nullptr);
    EXPECT_EQ(View().LastStatusText(), "計測する点群の2点目を指示して下さい。");

    ASSERT_TRUE(Section().ClickAtUser(28.0, 7.05, 16.03));
    const SectionSheet* sheet = View().CurrentSectionSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_NEAR(sheet->length, 26.0, 0.5);
    EXPECT_FALSE(sheet->tinHits.empty());
    EXPECT_FALSE(sheet->pointHits.empty());
    EXPECT_NE(sheet->leftHeight, 1e-16);
    EXPECT_TRUE(sheet->stationGrid && sheet->elevationGrid);
    // Drawn: the prompt asks for the next section's first point, and the frames
    // that follow leave it so.
    EXPECT_TRUE(WaitForStatus("計測する点群の1点目を指示して下さい。"));
    const int frames = View().sceneFrames;
    View().InvalidateScene();
    ASSERT_TRUE(ProcessEventsUntil([&] { return View().sceneFrames > frames; }));
    EXPECT_EQ(View().LastStatusText(), "計測する点群の1点目を指示して下さい。");
    // The points stand above the ground they cross.
    for (const SectionRecord& r : sheet->records)
        EXPECT_GT(r.point.z(), 11.0);

    // The dialog's switches rebuild the section at once.
    auto* points = ControlIds::Find<QCheckBox>(View().SectionDialog(), 35391);
    ASSERT_NE(points, nullptr);
    points->click();
    EXPECT_EQ(View().Settings().sectionThroughPoints, 0);
    ASSERT_NE(View().CurrentSectionSheet(), nullptr);
    EXPECT_TRUE(View().CurrentSectionSheet()->pointHits.empty());
    EXPECT_FALSE(View().CurrentSectionSheet()->tinHits.empty());

    // A new click after a built sheet starts the next section.
    ASSERT_TRUE(Section().ClickAtUser(10.0, 7.05, 18.78));
    EXPECT_EQ(Section().SectionPoints().size(), 1u);

    Run(kToolDanmen);
    EXPECT_EQ(Section().ToolMode(), toolmode::kNone);
    EXPECT_EQ(View().SectionDialog(), nullptr);
    EXPECT_EQ(View().CurrentSectionSheet(), nullptr);
    EXPECT_TRUE(Section().SectionPoints().empty());
}

TEST_F(SectionCommandTest, ASectionAcrossNoDataLeavesTheHeightsUnset)
{
    Run(kToolDanmen);
    {
        std::lock_guard lock(View().ViewMutex());
        View().ModelStore().GetGroup(0)->m_nShowTin = 0;
        View().ModelStore().GetGroup(1)->m_nShowPCloud = 0;
    }
    Section().SectionPoints() = {PT(1.0, 1.0, 0.5), PT(9.0, 1.0, 0.7)};
    View().DrawCrossSection(2);
    const SectionSheet* sheet = View().CurrentSectionSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->records.size(), 2u);
    EXPECT_EQ(sheet->leftHeight, 1e-16);
    EXPECT_EQ(sheet->rightHeight, 1e-16);
    // Drawing it is safe too.
    const int before = View().sceneFrames;
    View().InvalidateScene();
    EXPECT_TRUE(ProcessEventsUntil([&] { return View().sceneFrames > before; }));
}

TEST_F(SectionCommandTest, AnotherToolTakesTheDialogAndSheetAway)
{
    Run(kToolDanmen);
    Section().SectionPoints() = {PT(1.0, 7.0, 12.0), PT(20.0, 7.0, 14.0)};
    View().DrawCrossSection(2);
    ASSERT_NE(View().CurrentSectionSheet(), nullptr);
    View().SetToolMode(toolmode::kTinFaceDelete);
    const int before = View().sceneFrames;
    View().InvalidateScene();
    ASSERT_TRUE(ProcessEventsUntil([&] { return View().sceneFrames > before && View().SectionDialog() == nullptr; }));
    EXPECT_EQ(View().CurrentSectionSheet(), nullptr);
}

TEST_F(SectionCommandTest, ABusyStoreShowsTheBusyBoxAndKeepsThePoints)
{
    Run(kToolDanmen);
    Section().SectionPoints() = {PT(1.0, 7.0, 12.0), PT(20.0, 7.0, 14.0)};
    std::thread holder;
    std::promise<void> locked, release;
    holder = std::thread([&] {
        std::lock_guard lock(View().ViewMutex());
        locked.set_value();
        release.get_future().wait();
    });
    locked.get_future().wait();
    View().DrawCrossSection(2);
    release.set_value();
    holder.join();
    ASSERT_EQ(Boxes().Count(), 1u);
    EXPECT_EQ(View().CurrentSectionSheet(), nullptr);
    EXPECT_EQ(Section().SectionPoints().size(), 2u);
}

TEST_F(SectionCommandTest, TheRubberBandStartsAtTheFirstPointWhereverTheCentreIs)
{
    Run(kToolDanmen);
    View().ModelStore().SetRenderingCenterPt(PT(100.0, 50.0, 10.0));
    const PT first(3.0, 4.0, 2.0);   // model coordinates, as picks keep them
    Section().SectionPoints() = {first};
    QVector3D window;
    ASSERT_TRUE(View().ProjectToWindow(QVector3D(3.0f, 4.0f, 2.0f), window));
    const std::vector<float> band = ModelViewerViewTestPeer(View()).BandVertices();
    ASSERT_EQ(band.size(), 6u);
    EXPECT_EQ(band[0], std::trunc(window.x()));
    EXPECT_EQ(band[1], std::trunc(window.y()));
}
