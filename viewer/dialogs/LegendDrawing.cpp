#include "viewer/dialogs/LegendDrawing.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

#include "outside/CGradationSetting.h"
#include "outside/StoreMarkers.h"
#include "viewer/buffers/GradationLookup.h"
#include "viewer/dialogs/HintText.h"
#include "viewer/dialogs/LegendFonts.h"

namespace {

constexpr int kHalfFontPx = 8;
constexpr int kSlopeLegendHeight = 128;
constexpr int kSlopeLineStep = kLegendFontPx + 2;
constexpr int kSwatchWidth = 20;
constexpr int kRampBackgroundWidth = 91;
constexpr int kRampBackgroundHeight = 326;
constexpr int kRampFirstBarBottom = 18;
constexpr int kRampBarCount = 101;
constexpr int kRampBarHeight = 3;
constexpr int kRampBarWidth = 20;
constexpr int kRampLabelGap = 25;
// Intensity labels between the ends: bar index and the level printed there.
constexpr std::array<std::pair<int, int>, 7> kIntensityInnerLabels{
    {{12, 224}, {24, 192}, {36, 160}, {48, 128}, {60, 96}, {72, 64}, {84, 32}}};

QRect Span(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QSize(right - left, bottom - top));
}

int LabelShift(int i)
{
    return static_cast<int>(std::lround(kLegendFontPx * i / 100.0));
}

QColor BarColour(float level, const std::vector<ColorConf>& stops)
{
    float r = 0.0f, g = 0.0f, b = 0.0f;
    LookupGradationColor(level, r, g, b, &stops);
    const auto byte = [](float c) { return static_cast<int>(std::clamp(std::lround(c * 255.0f), 0L, 255L)); };
    return QColor(byte(r), byte(g), byte(b));
}

// The bars of a ramp, top to bottom, each in the colour of levelOf(i).
template <typename LevelOf>
void AddBars(RampLegendLayout& layout, const QRect& rect, const std::vector<ColorConf>& stops, LevelOf levelOf)
{
    const int x = rect.right() + 1 - kHalfFontPx;
    for (int i = 0; i < kRampBarCount; ++i) {
        const int y = rect.top() + kRampFirstBarBottom + kRampBarHeight * i;
        layout.bars.push_back({Span(x - kRampBarWidth, y - kRampBarHeight, x, y), BarColour(levelOf(i), stops)});
    }
}

void AddRampLabel(RampLegendLayout& layout, const QRect& rect, int i, const QString& text)
{
    const int x = rect.right() + 1 - kHalfFontPx;
    const int y = rect.top() + kRampFirstBarBottom + kRampBarHeight * i;
    layout.labels.push_back({text, x - kRampLabelGap, y - LabelShift(i)});
}

RampLegendLayout RampBackground(const QRect& rect)
{
    RampLegendLayout layout;
    const int right = rect.right() + 1;
    layout.background = Span(right - kRampBackgroundWidth, rect.top(), right, rect.top() + kRampBackgroundHeight);
    return layout;
}

// Saves the whole painter state and puts it back on every way out.
class PainterStateScope {
public:
    explicit PainterStateScope(QPainter& painter) : m_painter(painter) { m_painter.save(); }
    ~PainterStateScope() { m_painter.restore(); }
    PainterStateScope(const PainterStateScope&) = delete;
    PainterStateScope& operator=(const PainterStateScope&) = delete;

private:
    QPainter& m_painter;
};

void PaintLabels(QPainter& painter, const std::vector<LegendLabel>& labels, COLORREF background)
{
    painter.setFont(LegendFont());
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setPen(ColorRefToQColor(LegendTextColour(background)));
    const QFontMetrics metrics(painter.font());
    for (const LegendLabel& label : labels) {
        const int width = metrics.horizontalAdvance(label.text) + 2;
        painter.drawText(QRect(label.right - width, label.top, width, metrics.height()),
                         Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, label.text);
    }
}

void PaintBoxes(QPainter& painter, const std::vector<LegendBox>& boxes)
{
    for (const LegendBox& box : boxes) painter.fillRect(box.rect, box.colour);
}

void PaintRamp(QPainter& painter, const RampLegendLayout& layout, COLORREF background)
{
    painter.fillRect(layout.background, ColorRefToQColor(background));
    PaintBoxes(painter, layout.bars);
    PaintLabels(painter, layout.labels, background);
}

}  // namespace

QColor ColorRefToQColor(COLORREF colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

COLORREF LegendTextColour(COLORREF background)
{
    const unsigned sum = (background & 0xFF) + ((background >> 8) & 0xFF) + ((background >> 16) & 0xFF);
    return sum <= 380 ? 0xF5F5F5 : 0x202020;
}

bool LegendBoundsDrawable(double top, double bottom)
{
    if (!std::isfinite(top) || !std::isfinite(bottom)) return false;
    if (IsUnsetValue(top) || IsUnsetValue(bottom)) return false;
    return std::abs(top - bottom) > kUnsetDouble;
}

QString SlopeLegendTitle()
{
    return QStringLiteral("傾斜角で表示");
}

QString SlopeLegendClassText(int lowerBoundDeg)
{
    return QString::number(lowerBoundDeg) + QStringLiteral("°～　");
}

SlopeLegendLayout LayOutSlopeLegend(const QRect& rect, int titleWidth, int firstClassWidth, int colourSetB)
{
    SlopeLegendLayout layout;
    const int right = rect.right() + 1;
    const int top = rect.top();
    layout.background = Span(right - titleWidth - 16, top, right, top + kSlopeLegendHeight);
    const int x = right - kHalfFontPx;
    int y = top + kHalfFontPx;
    layout.labels.push_back({SlopeLegendTitle(), x, y});
    for (const SlopeLegendClass& c : kSlopeLegendClasses) {
        y += kSlopeLineStep;
        layout.labels.push_back({SlopeLegendClassText(c.lowerBoundDeg), x, y});
        const int swatchRight = x - firstClassWidth - 2;
        layout.swatches.push_back({Span(swatchRight - kSwatchWidth, y, swatchRight, y + kLegendFontPx),
                                   ColorRefToQColor(colourSetB != 0 ? c.colourB : c.colourA)});
    }
    return layout;
}

QString ElevationLabelText(double value)
{
    return QString::fromStdString(CFixedText(value, 1) + "m");
}

QString IntensityLabelText(int value)
{
    return QStringLiteral("%1").arg(value, 3);
}

RampLegendLayout LayOutElevationLegend(const QRect& rect, double top, double bottom,
                                       const std::vector<ColorConf>& stops)
{
    RampLegendLayout layout = RampBackground(rect);
    if (!LegendBoundsDrawable(top, bottom) || stops.empty()) return layout;
    AddBars(layout, rect, stops, [](int i) { return static_cast<float>((100 - i) * 2.55); });
    for (int i = 0; i < kRampBarCount; i += 10) {
        const double value = i == 0 ? top : (i == 100 ? bottom : bottom + (top - bottom) * (1.0 - i / 100.0));
        if (IsUnsetValue(value)) continue;
        AddRampLabel(layout, rect, i, ElevationLabelText(value));
    }
    return layout;
}

RampLegendLayout LayOutIntensityLegend(const QRect& rect, double top, double bottom,
                                       const std::vector<ColorConf>& stops)
{
    RampLegendLayout layout = RampBackground(rect);
    if (!LegendBoundsDrawable(top, bottom) || stops.empty()) return layout;
    // Levels beyond int range would not print; the legend's own ends are 0 and 255.
    if (std::abs(top) > 1e9 || std::abs(bottom) > 1e9) return layout;
    const float topLevel = static_cast<float>(top);
    AddBars(layout, rect, stops, [topLevel](int i) { return static_cast<float>(100 - i) * topLevel / 100.0f; });
    const int topLabel = static_cast<int>(top);
    const int bottomLabel = static_cast<int>(bottom);
    if (topLabel != -1) AddRampLabel(layout, rect, 0, IntensityLabelText(topLabel));
    for (const auto& [i, level] : kIntensityInnerLabels) AddRampLabel(layout, rect, i, IntensityLabelText(level));
    if (bottomLabel != -1) AddRampLabel(layout, rect, 100, IntensityLabelText(bottomLabel));
    return layout;
}

void DrawSlopeLegend(QPainter& painter, const QRect& rect, COLORREF background, int colourSetB)
{
    if (!painter.isActive()) return;
    const PainterStateScope scope(painter);
    const QFontMetrics metrics(LegendFont());
    const SlopeLegendLayout layout =
        LayOutSlopeLegend(rect, metrics.horizontalAdvance(SlopeLegendTitle()),
                          metrics.horizontalAdvance(SlopeLegendClassText(kSlopeLegendClasses[0].lowerBoundDeg)),
                          colourSetB);
    painter.fillRect(layout.background, ColorRefToQColor(background));
    PaintLabels(painter, layout.labels, background);
    PaintBoxes(painter, layout.swatches);
}

void DrawElevationLegend(QPainter& painter, const QRect& rect, COLORREF background, double top, double bottom,
                         const std::vector<ColorConf>& stops)
{
    if (!painter.isActive()) return;
    const PainterStateScope scope(painter);
    PaintRamp(painter, LayOutElevationLegend(rect, top, bottom, stops), background);
}

void DrawIntensityLegend(QPainter& painter, const QRect& rect, COLORREF background, double top, double bottom,
                         const std::vector<ColorConf>& stops)
{
    if (!painter.isActive()) return;
    const PainterStateScope scope(painter);
    PaintRamp(painter, LayOutIntensityLegend(rect, top, bottom, stops), background);
}
