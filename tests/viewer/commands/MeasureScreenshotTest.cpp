// A distance measured on the shown view: its three lines in the view's own
// picture and its three hints on the screen, kept as measurement.png.
#include "MeasureFixture.h"

#include "viewer/commands/DisplayCommandIds.h"
#include "viewer/dialogs/HintSlots.h"
#include "viewer/dialogs/HintToolTip.h"
#include "viewer/dialogs/LegendSlots.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace {

constexpr int kViewWidth = 640;
constexpr int kViewHeight = 480;

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
    void TearDown() override
    {
        for (int kind = 1; kind <= 7; ++kind) CloseToolTip(kind);
        SetPopupSources({}, {});
        MeasureViewTest::TearDown();
    }

};

TEST_F(MeasureScreenshotTest, LinesInTheViewAndHintsOnTheScreen)
{
    const PT low(0, 0, 0);
    const PT high(3, 4, 12);
    Run(cmd::kToolDistance);
    Click(ClientPointOf(high));
    Click(ClientPointOf(low));
    ASSERT_EQ(View().LastStatusText(), "平面距離：5.000000 斜距離：13.000000 高低差：12.000000");
    Frame();
    for (int kind = 1; kind <= 3; ++kind) ASSERT_NE(OpenHint(kind), nullptr) << kind;

    // The lines in the view's own picture, around the middle of each.
    const QImage picture = View().grabFramebuffer().convertToFormat(QImage::Format_RGB32);
    const auto around = [&](const PT& a, const PT& b) {
        const QPoint middle = (ClientPointOf(a) + ClientPointOf(b)) / 2;
        return QRect(middle - QPoint(12, 12), QSize(25, 25));
    };
    const PT corner(high.x(), high.y(), low.z());
    EXPECT_GT(CountPixels(picture, around(low, high), qRgb(204, 0, 0)), 10) << "slope line";
    EXPECT_GT(CountPixels(picture, around(low, corner), qRgb(0, 204, 0)), 10) << "plane line";
    EXPECT_GT(CountPixels(picture, around(corner, high), qRgb(0, 204, 204)), 10) << "height line";
    EXPECT_GT(CountPixels(picture, QRect(ClientPointOf(low) - QPoint(3, 3), QSize(7, 7)), qRgb(255, 0, 0)), 0)
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
    const PT low(0, 0, 0);
    const PT high(3, 4, 12);
    Run(cmd::kToolDistance);
    Click(ClientPointOf(low));
    Click(ClientPointOf(high));
    Frame();
    for (int kind = 1; kind <= 3; ++kind) ASSERT_NE(OpenHint(kind), nullptr) << kind;

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

} // namespace
