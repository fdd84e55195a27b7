// A distance measured on the shown view: its three lines in the view's own
// picture and its three hints on the screen, kept as measurement.png.
#include "MeasureFixture.h"

#include "viewer/commands/DisplayCommandIds.h"
#include "viewer/dialogs/ControlIds.h"
#include "viewer/dialogs/DstConfDlg.h"
#include "viewer/dialogs/HintSlots.h"
#include "viewer/dialogs/HintToolTip.h"
#include "viewer/dialogs/LegendSlots.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr int kViewWidth = 640;
constexpr int kViewHeight = 480;
const PT kLow(0, 0, 0);
const PT kHigh(3, 4, 12);

// Pixels within 24 of the colour in every channel: smoothed edges and the
// composite's rounding move a drawn colour by a few steps.
int CountPixels(const QImage& image, const QRect& area, QRgb colour)
{
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    const auto near = [](int a, int b) { return std::abs(a - b) <= 24; };
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            count += near(qRed(p), qRed(colour)) && near(qGreen(p), qGreen(colour)) && near(qBlue(p), qBlue(colour));
        }
    }
    return count;
}

class MeasureScreenshotTest : public MeasureViewTest {
protected:
    void SetUp() override
    {
        MeasureViewTest::SetUp();
        SetPopupSources([this]() -> QWidget* { return m_view.get(); }, [this]() -> QWidget* { return m_view.get(); });
        View().move(0, 0);
        View().resize(kViewWidth, kViewHeight);
        ASSERT_TRUE(ProcessEventsUntil([&] { return View().ClientWidth() == kViewWidth; }));
        LoadMeasureFixture();
        View().Settings().pointSizeIndex = 3;
        LookAt(QVector3D(0.0f, 2.0f, 6.0f), 22.0f);
        // Seen obliquely from the south-west, so that the plan and height lines stand apart.
        View().ApplyRotation(-55.0f, 1.0f, 0.0f, 0.0f);
        View().ApplyRotation(-30.0f, 0.0f, 0.0f, 1.0f);
        View().UpdateProjection();
        View().UpdateModelView();
        Frame();
    }
    //! The distance from the fixture's first point to its second, with every hint open.
    void MeasureUpwards()
    {
        Run(cmd::kToolDistance);
        Click(ClientPointOf(kLow));
        Click(ClientPointOf(kHigh));
        Frame();
        for (int kind = 1; kind <= 3; ++kind) ASSERT_NE(OpenHint(kind), nullptr) << kind;
    }
    void TearDown() override
    {
        for (int kind = 1; kind <= 7; ++kind) CloseToolTip(kind);
        SetPopupSources({}, {});
        MeasureViewTest::TearDown();
    }

};

TEST_F(MeasureScreenshotTest, LinesInTheViewAndHintsOnTheScreen)
{
    Run(cmd::kToolDistance);
    Click(ClientPointOf(kHigh));
    Click(ClientPointOf(kLow));
    ASSERT_EQ(View().LastStatusText(), "平面距離：5.000000 斜距離：13.000000 高低差：12.000000");
    Frame();
    for (int kind = 1; kind <= 3; ++kind) ASSERT_NE(OpenHint(kind), nullptr) << kind;

    // The lines in the view's own picture, around the middle of each.
    const QImage picture = View().grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    const auto around = [&](const PT& a, const PT& b) {
        const QPoint middle = (ClientPointOf(a) + ClientPointOf(b)) / 2;
        return QRect(middle - QPoint(12, 12), QSize(25, 25));
    };
    const PT corner(kHigh.x(), kHigh.y(), kLow.z());
    EXPECT_GT(CountPixels(picture, around(kLow, kHigh), qRgb(204, 0, 0)), 10) << "slope line";
    EXPECT_GT(CountPixels(picture, around(kLow, corner), qRgb(0, 204, 0)), 10) << "plane line";
    EXPECT_GT(CountPixels(picture, around(corner, kHigh), qRgb(0, 204, 204)), 10) << "height line";
    EXPECT_GT(CountPixels(picture, QRect(ClientPointOf(kLow) - QPoint(3, 3), QSize(7, 7)), qRgb(255, 0, 0)), 0)
        << "red marker on a picked point";

    // The hints on the screen, each in its colour, none over another.
    QImage screen;
    const QRect slopeHint = OpenHint(1)->geometry();
    const bool shown = ProcessEventsUntil([&] {
        screen = QGuiApplication::primaryScreen()->grabWindow(0, 0, 0, kViewWidth, kViewHeight).toImage().convertToFormat(
            QImage::Format_RGB32);
        return CountPixels(screen, slopeHint, qRgb(192, 0, 0)) > 10;
    });
    ASSERT_TRUE(shown) << "the slope hint's text never showed";
    EXPECT_GT(CountPixels(screen, OpenHint(2)->geometry(), qRgb(0, 128, 0)), 10);
    EXPECT_GT(CountPixels(screen, OpenHint(3)->geometry(), qRgb(0, 80, 80)), 10);
    for (int a = 1; a <= 3; ++a)
        for (int b = a + 1; b <= 3; ++b)
            EXPECT_FALSE(OpenHint(a)->geometry().intersects(OpenHint(b)->geometry())) << a << " and " << b;

    const char* dir = std::getenv("TESSARA_SCREENSHOT_DIR");
    const std::filesystem::path folder = dir != nullptr ? std::filesystem::path(dir)
                                                        : std::filesystem::path(TESSARA_BINARY_DIR_PATH);
    EXPECT_TRUE(screen.save(QString::fromStdString((folder / "measurement.png").string())));
}

TEST_F(MeasureScreenshotTest, HintsWhoseMiddleLeavesTheViewCloseWhileTheLinesStay)
{
    MeasureUpwards();
    if (HasFatalFailure()) return;

    // Close in on the lower point: every line's middle is now far outside the view.
    LookAt(QVector3D(0.0f, 0.0f, 0.0f), 400.0f);
    Frame();
    for (int kind = 1; kind <= 3; ++kind) EXPECT_EQ(OpenHint(kind), nullptr) << kind;
    const QImage picture = View().grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    EXPECT_GT(CountPixels(picture, picture.rect(), qRgb(204, 0, 0)), 50) << "slope line";
    EXPECT_GT(CountPixels(picture, picture.rect(), qRgb(0, 204, 0)), 50) << "plane line";

    // Leaving the tool closes the hints and stops the drawing.
    Run(cmd::kToolDistance);
    Frame();
    for (int kind = 1; kind <= 3; ++kind) EXPECT_EQ(OpenHint(kind), nullptr) << kind;
    const QImage after = View().grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(CountPixels(after, after.rect(), qRgb(204, 0, 0)), 0);
}

TEST_F(MeasureScreenshotTest, SwitchesOfTheDistanceWindowRedrawTheLinesAndHints)
{
    MeasureUpwards();
    if (HasFatalFailure()) return;

    // Switching the slope off draws the scene again without its line and hint.
    const int before = View().sceneFrames;
    ControlIds::Find<QCheckBox>(View().DistanceDialog(), 35354)->click();
    ASSERT_TRUE(ProcessEventsUntil([&] { return View().sceneFrames > before; }));
    EXPECT_EQ(View().Settings().showSlopeDistance, 0);
    EXPECT_EQ(OpenHint(1), nullptr);
    EXPECT_NE(OpenHint(2), nullptr);
    EXPECT_NE(OpenHint(3), nullptr);
    const QImage picture = View().grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(CountPixels(picture, picture.rect(), qRgb(204, 0, 0)), 0);
    EXPECT_GT(CountPixels(picture, picture.rect(), qRgb(0, 204, 0)), 20);

    // The coordinate tool: only its hint, at the picked point.
    Run(cmd::kShowXyz);
    Click(ClientPointOf(kHigh));
    Frame();
    for (int kind = 1; kind <= 3; ++kind) EXPECT_EQ(OpenHint(kind), nullptr) << kind;
    EXPECT_NE(OpenHint(kHintKindList), nullptr);
    Run(cmd::kShowXyz);
    Frame();
    EXPECT_EQ(OpenHint(kHintKindList), nullptr);
}

} // namespace
