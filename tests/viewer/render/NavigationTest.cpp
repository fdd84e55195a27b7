#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "TestView.h"
#include "platform/MemoryProfile.h"
#include "ViewTestApp.h"

namespace {

bool AllFinite(const QMatrix4x4& m)
{
    for (int i = 0; i < 16; ++i) {
        if (!std::isfinite(m.constData()[i])) return false;
    }
    return true;
}

class NavigationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureViewTestApp();
        // Views save their settings when destroyed: every test starts from the defaults.
        tessara::SetAppProfile(std::make_shared<tessara::MemoryProfile>());
        m_view = std::make_unique<TestView>();
        m_view->resize(400, 300);
        m_view->show();
        ProcessEventsUntil([this] { return m_view->sceneFrames > 0; });
        ASSERT_EQ(m_view->ClientWidth(), 400);
    }

    void Mouse(QEvent::Type type, Qt::MouseButton button, QPoint at, Qt::MouseButtons held)
    {
        QMouseEvent event(type, QPointF(at), m_view->mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(m_view.get(), &event);
    }

    void Wheel(int delta, QPoint at = QPoint(200, 150))
    {
        QWheelEvent event(QPointF(at), m_view->mapToGlobal(QPointF(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(m_view.get(), &event);
    }

    std::unique_ptr<TestView> m_view;
};

TEST_F(NavigationTest, RotationStepWithoutMovementKeepsTheMatrixFinite)
{
    m_view->Settings().mouseType = 0;   // rotate with the right button
    const QPoint p(120, 90);
    Mouse(QEvent::MouseButtonPress, Qt::RightButton, p, Qt::RightButton);
    Mouse(QEvent::MouseMove, Qt::NoButton, p, Qt::RightButton);
    Mouse(QEvent::MouseMove, Qt::NoButton, p, Qt::RightButton);
    EXPECT_TRUE(AllFinite(m_view->ModelMatrix()));
    EXPECT_TRUE(m_view->ModelMatrix().isIdentity());
    m_view->ApplyRotation(90.0f, 0.0f, 0.0f, 0.0f);
    m_view->ApplyRotation(std::nanf(""), 0.0f, 0.0f, 1.0f);
    EXPECT_TRUE(m_view->ModelMatrix().isIdentity());
}

TEST_F(NavigationTest, RightClickOpensTheMenuAndASixPixelDragRotatesWithoutIt)
{
    m_view->Settings().mouseType = 0;
    const QPoint p(200, 150);
    Mouse(QEvent::MouseButtonPress, Qt::RightButton, p, Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, Qt::RightButton, p, Qt::NoButton);
    EXPECT_EQ(m_view->contextMenus, 1);
    EXPECT_TRUE(m_view->ModelMatrix().isIdentity());

    Mouse(QEvent::MouseButtonPress, Qt::RightButton, p, Qt::RightButton);
    Mouse(QEvent::MouseMove, Qt::NoButton, p + QPoint(6, 0), Qt::RightButton);
    Mouse(QEvent::MouseButtonRelease, Qt::RightButton, p + QPoint(6, 0), Qt::NoButton);
    EXPECT_EQ(m_view->contextMenus, 1);
    EXPECT_FALSE(m_view->ModelMatrix().isIdentity());
    EXPECT_TRUE(AllFinite(m_view->ModelMatrix()));
}

TEST_F(NavigationTest, MiddleDragOfTypeBRotatesOnlyAfterFivePixels)
{
    m_view->Settings().mouseType = 1;   // rotate with the middle button
    const QPoint p(200, 150);
    Mouse(QEvent::MouseButtonPress, Qt::MiddleButton, p, Qt::MiddleButton);
    Mouse(QEvent::MouseMove, Qt::NoButton, p + QPoint(4, 0), Qt::MiddleButton);
    EXPECT_TRUE(m_view->ModelMatrix().isIdentity());
    Mouse(QEvent::MouseMove, Qt::NoButton, p + QPoint(7, 0), Qt::MiddleButton);   // crosses: still no turn
    EXPECT_TRUE(m_view->ModelMatrix().isIdentity());
    Mouse(QEvent::MouseMove, Qt::NoButton, p + QPoint(12, 0), Qt::MiddleButton);
    EXPECT_FALSE(m_view->ModelMatrix().isIdentity());
    Mouse(QEvent::MouseButtonRelease, Qt::MiddleButton, p + QPoint(12, 0), Qt::NoButton);
}

struct ZoomDragCase {
    const char* name;
    float start;
    int upwardPixels;
    float expected;
};

class ZoomDragTest : public NavigationTest, public ::testing::WithParamInterface<ZoomDragCase> {};

TEST_P(ZoomDragTest, ZoomStaysWithinItsLimits)
{
    m_view->Zoom() = GetParam().start;
    const QPoint p(200, 150);
    m_view->BeginDrag(p, TestView::kDragZoom);
    m_view->DragStep(p - QPoint(0, GetParam().upwardPixels));
    m_view->EndDrag();
    EXPECT_NEAR(m_view->Zoom(), GetParam().expected, GetParam().expected * 1e-5);
}

INSTANTIATE_TEST_SUITE_P(Cases, ZoomDragTest,
                         ::testing::Values(ZoomDragCase{"up_500_doubles", 10.0f, 500, 20.0f},
                                           ZoomDragCase{"down_500_halves", 10.0f, -500, 5.0f},
                                           ZoomDragCase{"beyond_upper_limit_unchanged", 90000.0f, 500, 90000.0f},
                                           ZoomDragCase{"below_lower_limit_unchanged", 0.15f, -500, 0.15f}),
                         [](const auto& info) { return std::string(info.param.name); });

struct WheelCase {
    const char* name;
    short projection;
    int delta;
    double expectedFactor;
};

class WheelTest : public NavigationTest, public ::testing::WithParamInterface<WheelCase> {};

TEST_P(WheelTest, OneNotchActsAsAnUpwardZoomDrag)
{
    m_view->Settings().projection = GetParam().projection;
    m_view->Zoom() = 10.0f;
    Wheel(GetParam().delta);
    EXPECT_NEAR(m_view->Zoom(), 10.0 * GetParam().expectedFactor, 1e-3);
    EXPECT_EQ(m_view->DragMode(), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, WheelTest,
                         ::testing::Values(WheelCase{"ortho_notch_is_80_px", 0, 120, std::pow(2.0, 80 * 0.002)},
                                           WheelCase{"perspective_notch_is_40_px", 2, 120, std::pow(2.0, 40 * 0.002)},
                                           WheelCase{"ortho_notch_down", 0, -120, std::pow(2.0, -80 * 0.002)},
                                           WheelCase{"zero_delta_ignored", 0, 0, 1.0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(NavigationTest, LargestDeltaZoomsInUpToTheLimit)
{
    m_view->Zoom() = 10.0f;
    Wheel(32767);
    EXPECT_GT(m_view->Zoom(), 10.0f);
    EXPECT_LE(m_view->Zoom(), 100000.0f);
}

TEST_F(NavigationTest, SmallDeltasAddUpAndNeverMoveThePerspectiveTargetAlone)
{
    m_view->Settings().projection = 1;
    m_view->Zoom() = 10.0f;
    const float targetZ = m_view->LookAt().z();
    Wheel(1);
    Wheel(1);
    EXPECT_EQ(m_view->Zoom(), 10.0f);
    EXPECT_EQ(m_view->LookAt().z(), targetZ);
    Wheel(1);   // three units make one pixel of zoom drag
    EXPECT_GT(m_view->Zoom(), 10.0f);
    EXPECT_LT(m_view->LookAt().z(), targetZ);
}

TEST_F(NavigationTest, WheelDuringAMiddleButtonPanIsIgnored)
{
    m_view->Settings().mouseType = 0;   // middle pans
    m_view->Zoom() = 10.0f;
    Mouse(QEvent::MouseButtonPress, Qt::MiddleButton, QPoint(200, 150), Qt::MiddleButton);
    Wheel(120);
    EXPECT_EQ(m_view->Zoom(), 10.0f);
    Mouse(QEvent::MouseButtonRelease, Qt::MiddleButton, QPoint(200, 150), Qt::NoButton);
}

TEST_F(NavigationTest, ProjectAndUnprojectAreInverseOutsidePaint)
{
    m_view->ApplyRotation(30.0f, 1.0f, 0.5f, 0.0f);
    const QVector3D model(12.5f, -7.0f, 3.0f);
    QVector3D window;
    ASSERT_TRUE(m_view->ProjectToWindow(model, window));
    QVector3D back;
    ASSERT_TRUE(m_view->UnprojectFromWindow(window.x(), window.y(), window.z(), back));
    EXPECT_NEAR(back.x(), model.x(), 1e-2);
    EXPECT_NEAR(back.y(), model.y(), 1e-2);
    EXPECT_NEAR(back.z(), model.z(), 1e-2);
}

TEST_F(NavigationTest, ShortLeftClickDrawsNoBoxAndIsNotConsumed)
{
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(100, 100), Qt::LeftButton);
    Mouse(QEvent::MouseMove, Qt::NoButton, QPoint(104, 103), Qt::LeftButton);
    EXPECT_EQ(m_view->RubberBandPresent(), 0);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(104, 103), Qt::NoButton);
    EXPECT_FALSE(m_view->LeftPressPending());
}

TEST_F(NavigationTest, BoxDragDrawsTheBoxAndEscapeMarksItCancelledUntilRelease)
{
    Mouse(QEvent::MouseButtonPress, Qt::LeftButton, QPoint(100, 100), Qt::LeftButton);
    Mouse(QEvent::MouseMove, Qt::NoButton, QPoint(120, 110), Qt::LeftButton);   // starts the box
    Mouse(QEvent::MouseMove, Qt::NoButton, QPoint(150, 130), Qt::LeftButton);
    EXPECT_EQ(m_view->RubberBandPresent(), 1);
    ASSERT_EQ(m_view->RubberBand().size(), 4u);
    EXPECT_EQ(m_view->RubberBand()[2], QPoint(150, 130));
    EXPECT_NEAR(m_view->RubberBand()[0].x(), 100, 1);
    EXPECT_NEAR(m_view->RubberBand()[0].y(), 100, 1);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(m_view.get(), &escape);
    EXPECT_EQ(m_view->BoxCancelled(), 1);
    Mouse(QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(150, 130), Qt::NoButton);
    EXPECT_EQ(m_view->BoxCancelled(), 0);
    EXPECT_EQ(m_view->RubberBandPresent(), 0);
}

TEST_F(NavigationTest, BackspaceRemovingTheLastPolygonPointEndsThePolygon)
{
    m_view->SetEditPolygon(1, 1);
    m_view->InputModelPoints() = {PT(1, 1, 0)};
    m_view->RubberBand() = {QPoint(10, 10), QPoint(50, 60)};
    QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
    QCoreApplication::sendEvent(m_view.get(), &backspace);
    EXPECT_TRUE(m_view->InputModelPoints().empty());
    EXPECT_TRUE(m_view->RubberBand().empty());
    EXPECT_EQ(m_view->resetDragStates, 1);
}

}  // namespace
