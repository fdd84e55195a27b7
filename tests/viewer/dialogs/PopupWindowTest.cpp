#include "viewer/dialogs/HintSlots.h"
#include "viewer/dialogs/HintToolTip.h"
#include "viewer/dialogs/LegendMessagePaint.h"
#include "viewer/dialogs/LegendSlots.h"

#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWindow>

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <utility>

#include "PopupTestSupport.h"
#include "outside/PT.h"
#include "tests/support/WindowFocus.h"
#include "tests/viewer/render/ViewTestApp.h"
#include "viewer/dialogs/HintPlacement.h"
#include "viewer/render/ShellHooks.h"

namespace {

const std::vector<ColorConf> kStops = {{255, 0x0000FF}, {128, 0x00FF00}, {0, 0xFF0000}};

// A main window with an edit field above a view of 600 x 400.
class PopupWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureViewTestApp();
        // Each test's clock starts far after the last one's, so no slot is still
        // inside a window left by an earlier test.
        static std::int64_t start = 0;
        start += 1'000'000;
        m_clock = std::make_shared<ManualClock>(start);
        SetLegendClock(m_clock);
        m_main = std::make_unique<QWidget>();
        m_main->move(40, 30);
        auto* layout = new QVBoxLayout(m_main.get());
        m_edit = new QLineEdit(m_main.get());
        m_view = new WheelRecordingView(m_main.get());
        m_view->setFixedSize(600, 400);
        layout->addWidget(m_edit);
        layout->addWidget(m_view);
        SetPopupSources([this]() -> QWidget* { return m_view; }, [this]() -> QWidget* { return m_main.get(); });
        InstallPopupHooks();
        m_main->show();
        ASSERT_TRUE(ProcessEventsUntil([this] { return m_view->isVisible() && m_main->windowHandle()->isExposed(); }));
    }
    void TearDown() override
    {
        CloseSlopeLegend();
        CloseElevationLegend();
        CloseIntensityLegend();
        for (int kind = 1; kind <= 7; ++kind) CloseToolTip(kind);
        RemovePopupHooks();
        SetPopupSources({}, {});
        m_main.reset();
        SetLegendClock(nullptr);
    }
    QRect ViewOnScreen() const { return QRect(m_view->mapToGlobal(QPoint(0, 0)), m_view->size()); }
    void Pass(int ms) { m_clock->now += ms; }

    std::shared_ptr<ManualClock> m_clock;
    std::unique_ptr<QWidget> m_main;
    QLineEdit* m_edit = nullptr;
    WheelRecordingView* m_view = nullptr;
};

int VisibleLegendWindows()
{
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) count += dynamic_cast<MessagePaint*>(w) && w->isVisible();
    return count;
}

}  // namespace

TEST_F(PopupWindowTest, SlopeLegendOpensBesideTheElevationLegendFlushRight)
{
    ShowElevationLegend(m_view, 0x000000, 20.0, 10.0, kStops);
    ShowSlopeLegend(m_view, 0x000000, 0);
    MessagePaint* elevation = OpenLegend(LegendSlot::Elevation);
    MessagePaint* slope = OpenLegend(LegendSlot::Slope);
    ASSERT_NE(elevation, nullptr);
    ASSERT_NE(slope, nullptr);
    const QRect view = ViewOnScreen();
    EXPECT_EQ(elevation->geometry(), QRect(view.right() + 1 - 100, view.top(), 100, 340));
    EXPECT_EQ(slope->geometry(), QRect(view.right() + 1 - 200, view.top(), 100, 140));
    EXPECT_EQ(slope->parentWidget(), m_main.get());
    EXPECT_EQ(LegendColumnWidths(), 200);
    EXPECT_EQ(ShellHooks::Instance().legendColumnWidths(), 200);

    ShowIntensityLegend(m_view, 0x000000, kStops);
    ASSERT_NE(OpenLegend(LegendSlot::Intensity), nullptr);
    EXPECT_EQ(OpenLegend(LegendSlot::Intensity)->geometry(), QRect(view.right() + 1 - 170, view.top(), 70, 340));
    EXPECT_EQ(LegendColumnWidths(), 270);

    EXPECT_TRUE(ShellHooks::Instance().closeElevationLegend());
    EXPECT_EQ(slope->geometry().topLeft(), QPoint(view.right() + 1 - 200, view.top()));
    EXPECT_EQ(OpenLegend(LegendSlot::Intensity)->geometry().topLeft(), QPoint(view.right() + 1 - 70, view.top()));
    EXPECT_TRUE(CloseIntensityLegend());
    EXPECT_EQ(slope->geometry().topLeft(), QPoint(view.right() + 1 - 100, view.top()));
    EXPECT_EQ(ShellHooks::Instance().legendColumnWidths(), 100);
}

TEST_F(PopupWindowTest, ASecondOpeningWithin100MsKeepsTheLegendAndShowsItsValuesAfterwards)
{
    ShowElevationLegend(m_view, 0x000000, 20.0, 10.0, kStops);
    MessagePaint* first = OpenLegend(LegendSlot::Elevation);
    ASSERT_NE(first, nullptr);
    Pass(10);
    ShowElevationLegend(m_view, 0x000000, 30.0, 5.0, kStops);
    EXPECT_EQ(OpenLegend(LegendSlot::Elevation), first) << "the open legend must not vanish";
    EXPECT_EQ(VisibleLegendWindows(), 1);

    Pass(100);
    ASSERT_TRUE(ProcessEventsUntil([] {
        const MessagePaint* p = OpenLegend(LegendSlot::Elevation);
        return p != nullptr && p->m_top == 30.0;
    }));
    EXPECT_EQ(OpenLegend(LegendSlot::Elevation)->m_bottom, 5.0);
    EXPECT_EQ(VisibleLegendWindows(), 1);
}

TEST_F(PopupWindowTest, ACloseInsideTheWindowCancelsTheWaitingOpening)
{
    ShowSlopeLegend(m_view, 0x000000, 0);
    Pass(10);
    ShowSlopeLegend(m_view, 0x000000, 1);
    EXPECT_TRUE(CloseSlopeLegend());
    EXPECT_FALSE(CloseSlopeLegend()) << "closing twice answers false the second time";
    EXPECT_EQ(OpenLegend(LegendSlot::Slope), nullptr);
    Pass(100);
    ShowSlopeLegend(m_view, 0x000000, 1);
    ASSERT_NE(OpenLegend(LegendSlot::Slope), nullptr);
    EXPECT_EQ(OpenLegend(LegendSlot::Slope)->m_colourSet, 1);
}

TEST_F(PopupWindowTest, PopUpsDestroyedWithTheirOwnerEmptyTheirSlots)
{
    auto owner = std::make_unique<QWidget>();
    auto* otherView = new WheelRecordingView(owner.get());
    otherView->setFixedSize(300, 200);
    owner->show();
    SetPopupSources([otherView]() -> QWidget* { return otherView; }, [&owner]() -> QWidget* { return owner.get(); });
    ShowSlopeLegend(otherView, 0xFFFFFF, 0);
    ASSERT_TRUE(ShowValueToolTip(1.5, QPoint(10, 10), 0x0000FF, 2));
    ASSERT_NE(OpenLegend(LegendSlot::Slope), nullptr);
    ASSERT_NE(OpenHint(2), nullptr);

    owner.reset();
    SetPopupSources([this]() -> QWidget* { return m_view; }, [this]() -> QWidget* { return m_main.get(); });
    EXPECT_EQ(OpenLegend(LegendSlot::Slope), nullptr);
    EXPECT_EQ(OpenHint(2), nullptr);
    EXPECT_EQ(LegendColumnWidths(), 0);
    EXPECT_FALSE(CloseSlopeLegend());
    EXPECT_FALSE(CloseToolTip(2));
}

TEST_F(PopupWindowTest, HintKindsOutsideOneToSevenAreRefusedAndCloseAnswersOnce)
{
    for (int kind : {0, 8, -1, 1000}) {
        EXPECT_FALSE(ShowValueToolTip(1.0, QPoint(10, 10), 0, kind)) << kind;
        EXPECT_FALSE(CloseToolTip(kind)) << kind;
        EXPECT_EQ(OpenHint(kind), nullptr) << kind;
    }
    EXPECT_FALSE(ShowTextToolTip(nullptr, "x", QPoint(10, 10), 4));
    EXPECT_FALSE(ShowSectionValueToolTip(1.0, QPoint(10, 10), 3));
    ASSERT_TRUE(ShowValueToolTip(1.0, QPoint(10, 10), 0, 1));
    EXPECT_TRUE(CloseToolTip(1));
    EXPECT_FALSE(CloseToolTip(1));
}

TEST_F(PopupWindowTest, AViewNarrowerThan100PixelsRefusesHints)
{
    m_view->setFixedSize(99, 400);
    ASSERT_TRUE(ProcessEventsUntil([this] { return m_view->width() == 99; }));
    EXPECT_FALSE(ShowValueToolTip(1.0, QPoint(10, 10), 0, 1));
    EXPECT_FALSE(ShowListToolTip(nullptr, {"X: 1"}, QPoint(10, 10)));
    EXPECT_FALSE(ShowTextToolTip(nullptr, "x", QPoint(10, 10), 7));
    for (int kind = 1; kind <= 7; ++kind) EXPECT_EQ(OpenHint(kind), nullptr);
    m_view->setFixedSize(100, 400);
    ASSERT_TRUE(ProcessEventsUntil([this] { return m_view->width() == 100; }));
    EXPECT_TRUE(ShowValueToolTip(1.0, QPoint(10, 10), 0, 1));
}

TEST_F(PopupWindowTest, CoordinateHintStandsBesideItsAnchorAndSectionHintsSeekTheEdges)
{
    ASSERT_TRUE(ShowMeasureListToolTip(PT(1.5, -20.25, 1e-16), QPoint(100, 100)));
    ToolTip* list = OpenHint(4);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->m_lines, (QStringList{"X:   1.5000", "Y: -20.2500"}));
    const QRect view = ViewOnScreen();
    const QPoint anchor = view.topLeft() + QPoint(100, 100);
    EXPECT_EQ(list->geometry().topLeft(), HintNearAnchor(anchor, list->size(), view));
    EXPECT_EQ(list->parentWidget(), m_main.get());

    ASSERT_TRUE(ShowSectionValueToolTip(1e-16, QPoint(590, 390), 6));
    ToolTip* section = OpenHint(6);
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(section->m_lines, QStringList{QStringLiteral("高低差：     m")});
    const QPoint corner = view.topLeft() + QPoint(590, 390);
    EXPECT_EQ(section->geometry().topLeft(), HintSeekingEdges(corner, section->size(), view));
    EXPECT_LE(section->geometry().right(), view.right());
}

TEST_F(PopupWindowTest, ThreeStackedDistanceHintsArePulledApart)
{
    for (int kind = 1; kind <= 3; ++kind) ASSERT_TRUE(ShowValueToolTip(kind * 1.25, QPoint(200, 150), 0, kind));
    const QRect stacked = OpenHint(1)->geometry();
    EXPECT_EQ(OpenHint(2)->geometry(), stacked);
    ArrangeDistanceToolTips();
    EXPECT_EQ(OpenHint(1)->geometry(), stacked.translated(0, -stacked.height()));
    EXPECT_EQ(OpenHint(2)->geometry(), stacked);
    EXPECT_EQ(OpenHint(3)->geometry(), stacked.translated(0, stacked.height()));
    EXPECT_FALSE(OpenHint(1)->geometry().intersects(OpenHint(2)->geometry()));

    ShellHooks::Instance().closeDistanceToolTips();
    for (int kind = 1; kind <= 3; ++kind) EXPECT_EQ(OpenHint(kind), nullptr);
    EXPECT_FALSE(CloseDistanceToolTips());
}

TEST_F(PopupWindowTest, TheWheelOverAHintZoomsTheViewAboutThatPoint)
{
    ASSERT_TRUE(ShowValueToolTip(2.0, QPoint(300, 200), 0, 1));
    ToolTip* hint = OpenHint(1);
    ASSERT_TRUE(ProcessEventsUntil([hint] { return hint->isVisible(); }));
    const QPointF overHint(7, 5);
    const QPointF global = hint->mapToGlobal(overHint);
    QWheelEvent wheel(overHint, global, QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(hint, &wheel);
    ASSERT_TRUE(ProcessEventsUntil([this] { return !m_view->wheels.empty(); }));
    ASSERT_EQ(m_view->wheels.size(), 1u);
    EXPECT_EQ(m_view->wheels[0].position, m_view->mapFromGlobal(global));
    EXPECT_EQ(m_view->wheels[0].angleDelta, QPoint(0, 120));
}

TEST_F(PopupWindowTest, NoPopUpTakesTheFocus)
{
    ASSERT_TRUE(TakeFocus(*m_main, m_edit));
    ShowSlopeLegend(m_view, 0x000000, 0);
    ShowElevationLegend(m_view, 0x000000, 20.0, 10.0, kStops);
    ASSERT_TRUE(ShowValueToolTip(1.0, QPoint(100, 100), 0, 1));
    ASSERT_TRUE(ShowMeasureListToolTip(PT(1, 2, 3), QPoint(200, 200)));
    ASSERT_TRUE(ShowTextToolTip(nullptr, "距離：1.000m", QPoint(300, 300), 7));
    const std::vector<QWidget*> popups{OpenLegend(LegendSlot::Slope), OpenLegend(LegendSlot::Elevation), OpenHint(1),
                                       OpenHint(4), OpenHint(7)};
    ASSERT_TRUE(ProcessEventsUntil([&] {
        for (QWidget* p : popups)
            if (p->windowHandle() == nullptr || !p->windowHandle()->isExposed()) return false;
        return true;
    }));
    for (QWidget* p : popups) {
        EXPECT_TRUE(p->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
        EXPECT_TRUE(p->windowFlags().testFlag(Qt::FramelessWindowHint));
        EXPECT_EQ(p->windowType(), Qt::Tool);
        EXPECT_TRUE(p->testAttribute(Qt::WA_ShowWithoutActivating));
    }
    EXPECT_EQ(QApplication::activeWindow(), m_main.get());
    EXPECT_TRUE(m_edit->hasFocus());
}

TEST_F(PopupWindowTest, LegendsWithBoundsThatCannotBeDrawnShowOnlyTheirBackground)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const auto& [top, bottom] : {std::pair{nan, 10.0}, std::pair{1e-16, 10.0}, std::pair{5.0, 5.0},
                                      std::pair{std::numeric_limits<double>::infinity(), 0.0}}) {
        Pass(1000);
        ShowElevationLegend(m_view, 0x102030, top, bottom, kStops);
        MessagePaint* legend = OpenLegend(LegendSlot::Elevation);
        ASSERT_NE(legend, nullptr);
        const QImage picture = legend->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int other = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) other += picture.pixelColor(x, y) != QColor(0x30, 0x20, 0x10);
        EXPECT_EQ(other, 0) << top << " " << bottom;
    }
}

TEST_F(PopupWindowTest, AHintOfAnyLengthOpens)
{
    const QString longText(5000, QChar(u'距'));
    ASSERT_TRUE(ShowTextToolTip(nullptr, longText, QPoint(300, 200), 7));
    EXPECT_GT(OpenHint(7)->width(), 5000);
    ASSERT_TRUE(ShowTextToolTip(nullptr, QString(), QPoint(300, 200), 7));
    EXPECT_EQ(OpenHint(7)->width(), 20);
}
