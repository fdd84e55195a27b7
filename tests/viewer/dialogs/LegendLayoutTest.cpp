#include "viewer/dialogs/HintPlacement.h"
#include "viewer/dialogs/LegendDrawing.h"

#include "outside/CGradationSetting.h"
#include "viewer/buffers/GradationLookup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

const std::vector<ColorConf> kStops = {{255, 0x0000FF}, {128, 0x00FF00}, {0, 0xFF0000}};
const QRect kRampRect(0, 0, 100, 340);
constexpr double kUnset = 1e-16;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

std::vector<QString> Texts(const std::vector<LegendLabel>& labels)
{
    std::vector<QString> texts;
    for (const LegendLabel& l : labels) texts.push_back(l.text);
    return texts;
}

std::vector<int> Tops(const std::vector<LegendLabel>& labels)
{
    std::vector<int> tops;
    for (const LegendLabel& l : labels) tops.push_back(l.top);
    return tops;
}

}  // namespace

TEST(LegendColours, ColorRefIsRedInTheLowByte)
{
    EXPECT_EQ(ColorRefToQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(ColorRefToQColor(0xCC6600), QColor(0x00, 0x66, 0xCC));
    EXPECT_EQ(ColorRefToQColor(0xFF123456), QColor(0x56, 0x34, 0x12));
}

TEST(LegendColours, TextIsLightUpToASumOf380)
{
    struct Case { COLORREF background; COLORREF text; };
    // 0x80 + 0x7E + 0x7E = 380, 0x80 + 0x7E + 0x7F = 381.
    for (const Case c : {Case{0x000000, 0xF5F5F5}, Case{0x7E7E80, 0xF5F5F5}, Case{0x7F7E80, 0x202020},
                         Case{0xFFFFFF, 0x202020}, Case{0x201010, 0xF5F5F5}}) {
        EXPECT_EQ(LegendTextColour(c.background), c.text) << std::hex << c.background;
    }
}

TEST(LegendColours, BoundsDrawOnlyWhenSetFiniteAndApart)
{
    struct Case { double top, bottom; bool drawn; };
    for (const Case c : {Case{20.0, 10.0, true}, Case{0.0, 5.0, true}, Case{kUnset, 10.0, false},
                         Case{10.0, kUnset, false}, Case{3.0, 3.0, false}, Case{kNaN, 1.0, false},
                         Case{1.0, kInf, false}, Case{-kInf, kInf, false}, Case{1.0, 1.0 + 1e-17, false}}) {
        EXPECT_EQ(LegendBoundsDrawable(c.top, c.bottom), c.drawn) << c.top << " " << c.bottom;
    }
}

TEST(SlopeLegendLayout, RectanglesTextsAndSwatchesFromTheRightEdge)
{
    const SlopeLegendLayout layout = LayOutSlopeLegend(QRect(500, 40, 100, 140), 96, 40, 0);
    EXPECT_EQ(layout.background, QRect(QPoint(488, 40), QPoint(599, 167)));   // 600-96-16 .. 600, 40 .. 168
    ASSERT_EQ(layout.labels.size(), 6u);
    EXPECT_EQ(layout.labels[0].text, QStringLiteral("傾斜角で表示"));
    EXPECT_EQ(layout.labels[1].text, QStringLiteral("30°～　"));
    EXPECT_EQ(layout.labels[5].text, QStringLiteral("0°～　"));
    for (std::size_t i = 0; i < layout.labels.size(); ++i) {
        EXPECT_EQ(layout.labels[i].right, 592);
        EXPECT_EQ(layout.labels[i].top, 48 + 18 * static_cast<int>(i));
    }
    ASSERT_EQ(layout.swatches.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        // 600 - 8 - 40 - 22 .. 600 - 8 - 40 - 2, from the class line's top, 16 high.
        EXPECT_EQ(layout.swatches[i].rect, QRect(530, 66 + 18 * static_cast<int>(i), 20, 16));
        EXPECT_EQ(layout.swatches[i].colour, ColorRefToQColor(kSlopeLegendClasses[i].colourA));
    }
    EXPECT_EQ(layout.swatches[0].colour, QColor(255, 0, 0));
}

TEST(SlopeLegendLayout, SetBTakesTheSecondColumn)
{
    const SlopeLegendLayout layout = LayOutSlopeLegend(QRect(0, 0, 100, 140), 96, 40, 1);
    const std::vector<QColor> expected{QColor(0xBE, 0, 0), QColor(0xD2, 0, 0xD2), QColor(0xE6, 0xE6, 0),
                                       QColor(0, 0xF0, 0), QColor(0, 0x5C, 0xC2)};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(layout.swatches[i].colour, expected[i]) << i;
}

TEST(ElevationLegendLayout, LabelsEveryTenBarsShiftedUpByTheFontHeight)
{
    const RampLegendLayout layout = LayOutElevationLegend(kRampRect, 20.0, 10.0, kStops);
    EXPECT_EQ(layout.background, QRect(9, 0, 91, 326));
    EXPECT_EQ(Texts(layout.labels),
              (std::vector<QString>{"20.0m", "19.0m", "18.0m", "17.0m", "16.0m", "15.0m", "14.0m", "13.0m", "12.0m",
                                    "11.0m", "10.0m"}));
    // y = 18 + 3i, shifted up by round(16 i / 100).
    EXPECT_EQ(Tops(layout.labels), (std::vector<int>{18, 46, 75, 103, 132, 160, 188, 217, 245, 274, 302}));
    for (const LegendLabel& l : layout.labels) EXPECT_EQ(l.right, 67);
}

TEST(ElevationLegendLayout, BarsFollowTheGradationFromLevel255Down)
{
    const RampLegendLayout layout = LayOutElevationLegend(kRampRect, 20.0, 10.0, kStops);
    ASSERT_EQ(layout.bars.size(), 101u);
    EXPECT_EQ(layout.bars.front().rect, QRect(72, 15, 20, 3));
    EXPECT_EQ(layout.bars.back().rect, QRect(72, 315, 20, 3));
    for (int i : {0, 1, 37, 50, 99, 100}) {
        float r = 0, g = 0, b = 0;
        LookupGradationColor(static_cast<float>((100 - i) * 2.55), r, g, b, &kStops);
        EXPECT_EQ(layout.bars[i].colour, QColor(std::lround(r * 255), std::lround(g * 255), std::lround(b * 255)))
            << i;
    }
    EXPECT_EQ(layout.bars.front().colour, QColor(255, 0, 0));
    EXPECT_EQ(layout.bars.back().colour, QColor(0, 0, 255));
}

TEST(ElevationLegendLayout, LabelTexts)
{
    struct Case { double value; const char* text; };
    for (const Case c : {Case{0.0, "0.0m"}, Case{5, "5.0m"}, Case{-3.25, "-3.2m"}, Case{1234.56, "1234.6m"},
                         Case{0.05, "0.1m"}}) {
        EXPECT_EQ(ElevationLabelText(c.value), QString(c.text)) << c.value;
    }
}

TEST(ElevationLegendLayout, EndsAtZeroAndFive)
{
    const RampLegendLayout layout = LayOutElevationLegend(kRampRect, 5, 0.0, kStops);
    ASSERT_EQ(layout.labels.size(), 11u);
    EXPECT_EQ(layout.labels.front().text, "5.0m");
    EXPECT_EQ(layout.labels[5].text, "2.5m");
    EXPECT_EQ(layout.labels.back().text, "0.0m");
}

TEST(ElevationLegendLayout, NoRampForBoundsThatCannotBeDrawnOrNoStops)
{
    struct Case { double top, bottom; std::vector<ColorConf> stops; };
    for (const Case& c : {Case{kUnset, 10.0, kStops}, Case{10.0, kUnset, kStops}, Case{4.0, 4.0, kStops},
                          Case{kNaN, 1.0, kStops}, Case{1.0, kInf, kStops}, Case{20.0, 10.0, {}}}) {
        const RampLegendLayout layout = LayOutElevationLegend(kRampRect, c.top, c.bottom, c.stops);
        EXPECT_TRUE(layout.bars.empty());
        EXPECT_TRUE(layout.labels.empty());
        EXPECT_EQ(layout.background, QRect(9, 0, 91, 326));
    }
}

TEST(IntensityLegendLayout, FixedInnerLabelsAndEnds)
{
    const RampLegendLayout layout = LayOutIntensityLegend(QRect(0, 0, 70, 340), 255.0, 0.0, kStops);
    EXPECT_EQ(Texts(layout.labels),
              (std::vector<QString>{"255", "224", "192", "160", "128", " 96", " 64", " 32", "  0"}));
    const std::vector<int> bars{0, 12, 24, 36, 48, 60, 72, 84, 100};
    const std::vector<int> shifts{0, 2, 4, 6, 8, 10, 12, 13, 16};
    for (std::size_t k = 0; k < bars.size(); ++k) EXPECT_EQ(layout.labels[k].top, 18 + 3 * bars[k] - shifts[k]);
    ASSERT_EQ(layout.bars.size(), 101u);
    for (int i : {0, 12, 55, 100}) {
        float r = 0, g = 0, b = 0;
        LookupGradationColor(static_cast<float>(100 - i) * 255.0f / 100.0f, r, g, b, &kStops);
        EXPECT_EQ(layout.bars[i].colour, QColor(std::lround(r * 255), std::lround(g * 255), std::lround(b * 255)));
    }
}

TEST(IntensityLegendLayout, AnEndOfMinusOneHasNoLabel)
{
    const RampLegendLayout low = LayOutIntensityLegend(QRect(0, 0, 70, 340), 255.0, -1.0, kStops);
    EXPECT_EQ(low.labels.size(), 8u);
    EXPECT_EQ(low.labels.front().text, "255");
    const RampLegendLayout high = LayOutIntensityLegend(QRect(0, 0, 70, 340), -1.0, 0.0, kStops);
    EXPECT_EQ(high.labels.size(), 8u);
    EXPECT_EQ(high.labels.back().text, "  0");
}

TEST(LegendPlacement, EachSetOfOpenLegendsAtTheViewsTopRight)
{
    const QRect view(100, 50, 800, 600);   // right edge 900
    struct Case {
        const char* name;
        OpenLegendWidths widths;
        std::optional<QPoint> slope, elevation, intensity;
    };
    const std::vector<Case> cases{
        {"none", {}, {}, {}, {}},
        {"slope", {100, {}, {}}, QPoint(800, 50), {}, {}},
        {"elevation", {{}, 100, {}}, {}, QPoint(800, 50), {}},
        {"intensity", {{}, {}, 70}, {}, {}, QPoint(830, 50)},
        {"slope+elevation", {100, 100, {}}, QPoint(700, 50), QPoint(800, 50), {}},
        {"slope+intensity", {100, {}, 70}, QPoint(700, 50), {}, QPoint(830, 50)},
        {"elevation+intensity", {{}, 100, 70}, {}, QPoint(800, 50), QPoint(730, 50)},
        {"all: slope left of both ramps", {100, 100, 70}, QPoint(630, 50), QPoint(800, 50), QPoint(730, 50)},
    };
    for (const Case& c : cases) {
        const LegendPlaces places = LayOutLegends(view, c.widths);
        EXPECT_EQ(places.slope, c.slope) << c.name;
        EXPECT_EQ(places.elevation, c.elevation) << c.name;
        EXPECT_EQ(places.intensity, c.intensity) << c.name;
    }
}

TEST(ElevationLegendLayout, UnsortedOrOneSidedStopsStillGiveEveryBar)
{
    for (const std::vector<ColorConf>& stops : {std::vector<ColorConf>{{0, 0xFF0000}, {255, 0x0000FF}},
                                                std::vector<ColorConf>{{128, 0x00FF00}},
                                                std::vector<ColorConf>{{10, 0x111111}, {200, 0x222222}, {5, 0}}}) {
        const RampLegendLayout layout = LayOutElevationLegend(kRampRect, 20.0, 10.0, stops);
        EXPECT_EQ(layout.bars.size(), 101u);
        EXPECT_EQ(layout.labels.size(), 11u);
    }
}
