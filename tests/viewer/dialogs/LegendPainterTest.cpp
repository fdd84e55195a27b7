#include "viewer/dialogs/LegendDrawing.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "outside/CGradationSetting.h"
#include "tests/viewer/render/ViewTestApp.h"

namespace {

const std::vector<ColorConf> kStops = {{255, 0x0000FF}, {128, 0x00FF00}, {0, 0xFF0000}};

// What a legend routine could leave changed behind it.
struct PainterState {
    QFont font;
    QPen pen;
    QBrush brush;
    Qt::BGMode backgroundMode;
    QBrush background;
    QTransform transform;
    bool clipping;
    QRegion clip;
    QPainter::CompositionMode composition;
    Qt::LayoutDirection direction;

    explicit PainterState(const QPainter& p)
        : font(p.font()), pen(p.pen()), brush(p.brush()), backgroundMode(p.backgroundMode()),
          background(p.background()), transform(p.transform()), clipping(p.hasClipping()), clip(p.clipRegion()),
          composition(p.compositionMode()), direction(p.layoutDirection())
    {
    }
    bool operator==(const PainterState&) const = default;
};

void SetDistinctiveState(QPainter& p)
{
    QFont font("DejaVu Serif");
    font.setPixelSize(31);
    font.setItalic(true);
    p.setFont(font);
    p.setPen(QPen(QColor(1, 2, 3), 3, Qt::DashLine));
    p.setBrush(QBrush(QColor(4, 5, 6), Qt::CrossPattern));
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(QColor(7, 8, 9));
    p.translate(3, 4);
    p.setClipRect(QRect(0, 0, 150, 300));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setLayoutDirection(Qt::RightToLeft);
}

struct RoutineCase {
    const char* name;
    std::function<void(QPainter&)> draw;
};

const double kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

TEST(LegendPainter, EveryRoutineLeavesThePainterAsItFoundIt)
{
    EnsureViewTestApp();
    const QRect rect(0, 0, 100, 340);
    const std::vector<RoutineCase> cases{
        {"slope A", [&](QPainter& p) { DrawSlopeLegend(p, rect, 0x000000, 0); }},
        {"slope B", [&](QPainter& p) { DrawSlopeLegend(p, rect, 0xFFFFFF, 1); }},
        {"elevation", [&](QPainter& p) { DrawElevationLegend(p, rect, 0, 20.0, 10.0, kStops); }},
        {"elevation unset", [&](QPainter& p) { DrawElevationLegend(p, rect, 0, 1e-16, 10.0, kStops); }},
        {"elevation NaN", [&](QPainter& p) { DrawElevationLegend(p, rect, 0, kNaN, 10.0, kStops); }},
        {"elevation no stops", [&](QPainter& p) { DrawElevationLegend(p, rect, 0, 20.0, 10.0, {}); }},
        {"intensity", [&](QPainter& p) { DrawIntensityLegend(p, rect, 0xFFFFFF, 255.0, 0.0, kStops); }},
        {"intensity equal", [&](QPainter& p) { DrawIntensityLegend(p, rect, 0, 3.0, 3.0, kStops); }},
    };
    for (const RoutineCase& c : cases) {
        QImage image(100, 340, QImage::Format_ARGB32);
        QPainter painter(&image);
        SetDistinctiveState(painter);
        const PainterState before(painter);
        c.draw(painter);
        EXPECT_TRUE(PainterState(painter) == before) << c.name;
    }
    QPainter inactive;
    DrawSlopeLegend(inactive, rect, 0, 0);
    DrawElevationLegend(inactive, rect, 0, 20.0, 10.0, kStops);
}

TEST(LegendPainter, SwatchesBarsAndTextLandInTheirColours)
{
    EnsureViewTestApp();
    struct Case { COLORREF background; QRgb text; };
    for (const Case c : {Case{0x000000, 0xF5F5F5}, Case{0xFFFFFF, 0x202020}}) {
        QImage image(100, 340, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        DrawElevationLegend(painter, image.rect(), c.background, 20.0, 10.0, kStops);
        painter.end();
        const RampLegendLayout layout = LayOutElevationLegend(image.rect(), 20.0, 10.0, kStops);
        for (int i : {0, 50, 100}) {
            const QRect bar = layout.bars[i].rect;
            EXPECT_EQ(image.pixelColor(bar.center()), layout.bars[i].colour) << i;
        }
        int textPixels = 0;
        for (int y = 0; y < 340; ++y)
            for (int x = 0; x < 70; ++x) textPixels += (image.pixel(x, y) & 0xFFFFFF) == c.text;
        EXPECT_GT(textPixels, 50) << std::hex << c.background;
        EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::magenta)) << "left of the legend stays untouched";
    }
    QImage slope(100, 140, QImage::Format_RGB32);
    slope.fill(Qt::black);
    QPainter painter(&slope);
    DrawSlopeLegend(painter, slope.rect(), 0x000000, 0);
    painter.end();
    int red = 0;
    for (int y = 0; y < 140; ++y)
        for (int x = 0; x < 100; ++x) red += slope.pixelColor(x, y) == QColor(255, 0, 0);
    EXPECT_EQ(red, 20 * 16) << "one red swatch of 20 x 16 for the steepest class";
}
