// The legends and hints over the real view with the example site, on a dark and
// on a white legend background, kept as one PNG (dark above, white below) and
// checked pixel by pixel on the screen's own picture.
#include "viewer/dialogs/HintSlots.h"
#include "viewer/dialogs/HintToolTip.h"
#include "viewer/dialogs/LegendDrawing.h"
#include "viewer/dialogs/LegendMessagePaint.h"
#include "viewer/dialogs/LegendSlots.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>

#include <gtest/gtest.h>

#include <filesystem>
#include <mutex>

#include "ModelText.h"
#include "PopupTestSupport.h"
#include "outside/CModelDataMng.h"
#include "outside/PT.h"
#include "platform/Files.h"
#include "tests/viewer/render/TestView.h"
#include "tests/viewer/render/ViewTestApp.h"
#include "viewer/files/SceneFrame.h"

namespace fs = std::filesystem;

namespace {

constexpr int kViewWidth = 800;
constexpr int kViewHeight = 500;

int CountPixels(const QImage& image, const QRect& area, QRgb colour)
{
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) count += (image.pixel(x, y) & 0xFFFFFF) == colour;
    return count;
}

class LegendScreenshotTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureViewTestApp();
        static std::int64_t start = 500'000'000;
        start += 1'000'000;
        m_clock = std::make_shared<ManualClock>(start);
        SetLegendClock(m_clock);
        m_owned = std::make_unique<TestView>();
        SetPopupSources([this]() -> QWidget* { return m_owned.get(); }, [this]() -> QWidget* { return m_owned.get(); });
        m_owned->move(0, 0);
        m_owned->resize(kViewWidth, kViewHeight);
        m_owned->show();
        m_owned->Create();
        ASSERT_TRUE(ProcessEventsUntil([this] { return m_owned->IsGlReady() && m_owned->sceneFrames > 0; }));
    }
    void TearDown() override
    {
        CloseSlopeLegend();
        CloseElevationLegend();
        CloseIntensityLegend();
        for (int kind = 1; kind <= 7; ++kind) CloseToolTip(kind);
        SetPopupSources({}, {});
        SetLegendClock(nullptr);
        m_owned.reset();
    }

    void LoadSite()
    {
        const auto text = tessara::ReadWholeFile(std::string(TESSARA_SOURCE_DIR_PATH) + "/examples/models/small-site.txt");
        ASSERT_TRUE(text.has_value());
        {
            std::lock_guard lock(m_owned->ViewMutex());
            ModelViewState state;
            std::string error;
            ASSERT_TRUE(ModelText::Read(*text, m_owned->ModelStore(), state, error)) << error;
        }
        m_owned->InvalidateAllBuffers();
        m_owned->m_pointColourMode = 1;
        m_owned->Settings().tinPictureMode = 4;
        PT lo, hi;
        ASSERT_EQ(m_owned->GetVisibleExtent(0x01 | 0x6A, 0, lo, hi), 1);
        PT centre((lo.x() + hi.x()) / 2, (lo.y() + hi.y()) / 2, (lo.z() + hi.z()) / 2);
        m_owned->ModelStore().UserToModel(centre);
        m_owned->LookAt() = QVector3D(float(centre.x()), float(centre.y()), float(centre.z()));
        m_owned->Zoom() = static_cast<float>(0.5 * std::min(kViewWidth / (hi.x() - lo.x()), kViewHeight / (hi.y() - lo.y())));
        m_owned->UpdateProjection();
        m_owned->UpdateModelView();
        const int before = m_owned->sceneFrames;
        m_owned->InvalidateScene();
        ASSERT_TRUE(ProcessEventsUntil([&] { return m_owned->sceneFrames > before; }));
    }

    // Every legend and hint for one legend background; the slope legend in set A
    // on dark, set B on white.
    void OpenEverything(COLORREF background, int colourSetB)
    {
        m_clock->now += 1000;   // past every slot's 100 ms window
        const std::vector<ColorConf>& stops = *m_owned->Settings().gradation.GetCurColorConf();
        ShowElevationLegend(m_owned.get(), background, 12.0, 10.0, stops);
        ShowIntensityLegend(m_owned.get(), background, stops);
        ShowSlopeLegend(m_owned.get(), background, colourSetB);
        for (int kind = 1; kind <= 3; ++kind)
            ASSERT_TRUE(ShowValueToolTip(kind * 3.25, QPoint(180, 300), 0x0000FF, kind));
        ArrangeDistanceToolTips();
        ASSERT_TRUE(ShowMeasureListToolTip(PT(12345.678, -2345.5, 11.25), QPoint(420, 360)));
    }

    QImage Screen() const
    {
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, 0, 0, kViewWidth, kViewHeight)
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    // Waits until the screen shows the slope legend's first swatch, then checks it.
    QImage CheckedScreen(COLORREF background, QColor swatch)
    {
        const QRect slope = OpenLegend(LegendSlot::Slope)->geometry();
        QImage shot;
        EXPECT_TRUE(ProcessEventsUntil([&] {
            shot = Screen();
            return CountPixels(shot, slope, swatch.rgb() & 0xFFFFFF) == 20 * 16;
        })) << "the slope legend's steepest swatch never showed";

        const QRect elevation = OpenLegend(LegendSlot::Elevation)->geometry();
        const QRect intensity = OpenLegend(LegendSlot::Intensity)->geometry();
        EXPECT_EQ(elevation.right(), kViewWidth - 1) << "flush with the view's right edge";
        EXPECT_EQ(intensity.right() + 1, elevation.left());
        EXPECT_LE(slope.right() + 1, intensity.left());
        const std::vector<ColorConf>& stops = *m_owned->Settings().gradation.GetCurColorConf();
        const RampLegendLayout bars = LayOutElevationLegend(QRect(QPoint(0, 0), elevation.size()), 12.0, 10.0, stops);
        for (int i : {0, 50, 100})
            EXPECT_EQ(shot.pixelColor(elevation.topLeft() + bars.bars[i].rect.center()), bars.bars[i].colour) << i;
        const QRgb text = LegendTextColour(background);
        for (const QRect& legend : {slope, elevation, intensity})
            EXPECT_GT(CountPixels(shot, legend, text), 20) << std::hex << text;

        std::vector<QRect> hints;
        for (int kind : {1, 2, 3, 4}) hints.push_back(OpenHint(kind)->geometry());
        for (std::size_t a = 0; a < hints.size(); ++a)
            for (std::size_t b = a + 1; b < hints.size(); ++b)
                EXPECT_FALSE(hints[a].intersects(hints[b])) << a << " and " << b;
        EXPECT_GT(CountPixels(shot, hints[0], 0xFF0000), 20) << "distance text in its colour";
        return shot;
    }

    std::shared_ptr<ManualClock> m_clock;
    std::unique_ptr<TestView> m_owned;
};

}  // namespace

TEST_F(LegendScreenshotTest, LegendsAndHintsOverTheSiteOnDarkAndWhite)
{
    LoadSite();
    OpenEverything(0x000000, 0);
    const QImage dark = CheckedScreen(0x000000, QColor(255, 0, 0));
    OpenEverything(0xFFFFFF, 1);
    const QImage white = CheckedScreen(0xFFFFFF, QColor(0xBE, 0, 0));

    QImage both(kViewWidth, 2 * kViewHeight, QImage::Format_RGB32);
    QPainter painter(&both);
    painter.drawImage(0, 0, dark);
    painter.drawImage(0, kViewHeight, white);
    painter.end();
    const fs::path binary = fs::read_symlink("/proc/self/exe").parent_path().parent_path();
    ASSERT_TRUE(both.save(QString::fromStdString((binary / "legends.png").string())));
}
