// The distance and coordinate tools end to end on a shown view: the commands,
// clicks on known points of the measure fixture, the status texts and the
// distance settings window.
#include "MeasureFixture.h"

#include "viewer/commands/DisplayCommandIds.h"
#include "viewer/commands/Measurement.h"
#include "viewer/dialogs/DstConfDlg.h"
#include "viewer/files/ViewFilesState.h"
#include "viewer/render/ViewConstants.h"

#include <future>
#include <mutex>
#include <thread>

namespace {

// The fixture's points, in the order of the file.
const PT kFirst(0, 0, 0);
const PT kSecond(3, 4, 12);
const PT kThird(-3, 4, 0);

class MeasureCommandTest : public MeasureViewTest {
protected:
    void SetUp() override
    {
        MeasureViewTest::SetUp();
        LoadMeasureFixture();
        LookAt(QVector3D(0.0f, 2.0f, 6.0f), 12.0f);
        Frame();
    }

    void SetUserMatrix(const MTRX& m)
    {
        std::lock_guard lock(View().ViewMutex());
        View().FilesState().scene.frame.surveyTransform = m;
    }
};

TEST_F(MeasureCommandTest, TwoClicksGiveTheDistanceInTheStatusLine)
{
    Run(cmd::kToolDistance);
    EXPECT_EQ(View().ToolMode(), toolmode::kDistance);
    EXPECT_TRUE(Ui(cmd::kToolDistance).checked);
    ASSERT_NE(View().DistanceDialog(), nullptr);
    EXPECT_TRUE(View().DistanceDialog()->isVisible());
    EXPECT_EQ(View().LastStatusText(), measuretexts::kFirstPoint);

    ClickOn(kFirst);
    ASSERT_EQ(View().MeasurePoints().size(), 1u);
    Frame();
    EXPECT_EQ(View().LastStatusText(), measuretexts::kSecondPoint);

    ClickOn(kSecond);
    ASSERT_EQ(View().MeasurePoints().size(), 2u);
    EXPECT_EQ(View().LastStatusText(), "平面距離：5.000000 斜距離：13.000000 高低差：12.000000");
    EXPECT_DOUBLE_EQ(View().m_measureResult.plane, 5.0);
    EXPECT_DOUBLE_EQ(View().m_measureResult.height, 12.0);
    EXPECT_DOUBLE_EQ(View().m_measureResult.slope, 13.0);
    Frame();
    EXPECT_EQ(View().LastStatusText(), "平面距離：5.000000 斜距離：13.000000 高低差：12.000000")
        << "the result stays while its lines are drawn";

    // The next click starts a new measurement, here of two points at one height.
    ClickOn(kThird);
    ASSERT_EQ(View().MeasurePoints().size(), 1u);
    ClickOn(kFirst);
    EXPECT_EQ(View().LastStatusText(), "平面距離：5.000000 斜距離：5.000000 高低差：0.000000");

    // The command again leaves the tool.
    Run(cmd::kToolDistance);
    EXPECT_EQ(View().ToolMode(), toolmode::kNone);
    EXPECT_FALSE(Ui(cmd::kToolDistance).checked);
    EXPECT_EQ(View().DistanceDialog(), nullptr);
    EXPECT_TRUE(View().MeasurePoints().empty());
    EXPECT_EQ(View().LastStatusText(), "点群の編集を行います。（Ctrl＋：解除選択  Shift＋:追加選択）");
    EXPECT_EQ(Boxes().Count(), 0u);
}

TEST_F(MeasureCommandTest, ReadingsGoBackThroughTheUserMatrix)
{
    MTRX half;   // user units are half the survey's
    half.m[0] = 0.5;
    half.m[4] = 0.5;
    SetUserMatrix(half);
    Run(cmd::kToolDistance);
    ClickOn(kSecond);
    ClickOn(kFirst);
    EXPECT_EQ(View().LastStatusText(), "平面距離：10.000000 斜距離：26.000000 高低差：24.000000");

    Run(cmd::kShowXyz);
    ClickOn(kSecond);
    EXPECT_EQ(View().LastStatusText(), "X：6.000000  Y：8.000000  Z：12.000000");
}

TEST_F(MeasureCommandTest, ClicksBesideThePointsAndOutsideTheToolsMeasureNothing)
{
    ClickOn(kFirst);
    EXPECT_TRUE(View().MeasurePoints().empty()) << "no tool";
    Run(cmd::kToolDistance);
    Click(ClientPointOf(kFirst) + QPoint(12, 0));
    EXPECT_TRUE(View().MeasurePoints().empty());
    EXPECT_EQ(View().LastStatusText(), measuretexts::kFirstPoint);
    // A hidden group offers no points.
    {
        std::lock_guard lock(View().ViewMutex());
        View().ModelStore().GetGroup(0)->m_nShowPCloud = 0;
    }
    ClickOn(kFirst);
    EXPECT_TRUE(View().MeasurePoints().empty());
}

TEST_F(MeasureCommandTest, CoordinateToolKeepsOnlyTheLastPoint)
{
    Run(cmd::kToolDistance);
    ClickOn(kFirst);
    Run(cmd::kShowXyz);
    EXPECT_EQ(View().ToolMode(), toolmode::kReadout);
    EXPECT_TRUE(Ui(cmd::kShowXyz).checked);
    EXPECT_EQ(View().DistanceDialog(), nullptr) << "entering the coordinate tool closes the distance window";
    EXPECT_TRUE(View().MeasurePoints().empty()) << "entering a tool empties the lists";
    EXPECT_EQ(View().LastStatusText(), measuretexts::kCoordinatePoint);

    ClickOn(kFirst);
    EXPECT_EQ(View().LastStatusText(), "X：0.000000  Y：0.000000  Z：0.000000");
    ClickOn(kThird);
    ASSERT_EQ(View().MeasurePoints().size(), 1u);
    EXPECT_EQ(View().MeasurePoints()[0], kThird);
    // A new scene's frame exchanges the axes: survey X runs north, Y east.
    EXPECT_EQ(View().LastStatusText(), "X：4.000000  Y：-3.000000  Z：0.000000");
    Frame();

    Run(cmd::kShowXyz);
    EXPECT_EQ(View().ToolMode(), toolmode::kNone);
    EXPECT_TRUE(View().MeasurePoints().empty());
}

TEST_F(MeasureCommandTest, ARenderingCentreMovesTheModelNotTheReadings)
{
    const PT centre(1000.0, 2000.0, 50.0);
    {
        std::lock_guard lock(View().ViewMutex());
        View().ModelStore().SetRenderingCenterPt(centre);
    }
    LookAt(QVector3D(-1000.0f, -1998.0f, -44.0f), 12.0f);
    Frame();
    Run(cmd::kToolDistance);
    ClickOn(kFirst - centre);
    ClickOn(kSecond - centre);
    ASSERT_EQ(View().MeasurePoints().size(), 2u);
    EXPECT_EQ(View().MeasurePoints()[1], kSecond - centre) << "picked points are model points";
    EXPECT_EQ(View().LastStatusText(), "平面距離：5.000000 斜距離：13.000000 高低差：12.000000");
    Run(cmd::kShowXyz);
    ClickOn(kSecond - centre);
    EXPECT_EQ(View().LastStatusText(), "X：4.000000  Y：3.000000  Z：12.000000");
}

TEST_F(MeasureCommandTest, ClicksWhileAnotherThreadHoldsTheStorePickNothing)
{
    Run(cmd::kToolDistance);
    std::promise<void> locked;
    std::promise<void> release;
    std::thread holder([&] {
        std::lock_guard lock(View().ViewMutex());
        locked.set_value();
        release.get_future().wait();
    });
    locked.get_future().wait();
    ClickOn(kFirst);
    const std::size_t picked = View().MeasurePoints().size();
    release.set_value();
    holder.join();
    EXPECT_EQ(picked, 0u);
    EXPECT_EQ(Boxes().Count(), 0u) << "a pick skips quietly while the store is busy";
    ClickOn(kFirst);
    EXPECT_EQ(View().MeasurePoints().size(), 1u);
}

TEST_F(MeasureCommandTest, TheDistanceWindowSwitchesAreTheViewSettings)
{
    Run(cmd::kToolDistance);
    DstConfDlg* dialog = View().DistanceDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(View().m_measureResult.showPlane, &View().Settings().showPlaneDistance);
    EXPECT_EQ(View().m_measureResult.showSlope, &View().Settings().showSlopeDistance);
    EXPECT_EQ(View().m_measureResult.showHeight, &View().Settings().showHeightDifference);
    // Entering the tool again from another tool makes a new window, never a second one.
    Run(cmd::kShowXyz);
    Run(cmd::kToolDistance);
    EXPECT_EQ(View().findChildren<DstConfDlg*>().size(), 1);

    // Another tool ends the distance tool and its window with it.
    Run(cmd::kTinFaceDelete);
    Frame();
    EXPECT_EQ(View().DistanceDialog(), nullptr);
    EXPECT_TRUE(ProcessEventsUntil([&] { return View().findChildren<DstConfDlg*>().empty(); }));
    Run(cmd::kToolDistance);
    EXPECT_EQ(View().findChildren<DstConfDlg*>().size(), 1);
    ASSERT_NE(View().DistanceDialog(), nullptr);
    EXPECT_TRUE(View().DistanceDialog()->isVisible());
}

} // namespace
