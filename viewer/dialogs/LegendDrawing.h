#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <vector>

#include "outside/OutsideTypes.h"

class QPainter;
struct ColorConf;

// The colour legends beside the main view: their geometry worked out as plain
// data (tested without a window) and the routines that paint it.

//! A COLORREF (0x00BBGGRR) as a Qt colour: 0x0000FF is red.
QColor ColorRefToQColor(COLORREF colour);

//! One slope class of the legend: lower bound in degrees and its colours.
struct SlopeLegendClass {
    int lowerBoundDeg;
    COLORREF colourA;
    COLORREF colourB;
};
inline constexpr std::array<SlopeLegendClass, 5> kSlopeLegendClasses{{
    {30, 0x0000FF, 0x0000BE},
    {20, 0xFF00FF, 0xD200D2},
    {10, 0x00FFFF, 0x00E6E6},
    {5, 0x00FF00, 0x00F000},
    {0, 0xCC6600, 0xC25C00},
}};

inline constexpr int kLegendFontPx = 16;

//! Legend text colour on a background: light on dark (byte sum at most 380), else dark.
COLORREF LegendTextColour(COLORREF background);

//! True when a ramp can be drawn between the two values: both finite, neither the
//! "not set" value, and apart by more than it.
bool LegendBoundsDrawable(double top, double bottom);

//! A text drawn right-aligned at x with its top at y.
struct LegendLabel {
    QString text;
    int right;
    int top;
};

//! One filled rectangle (left/top inclusive, right/bottom exclusive).
struct LegendBox {
    QRect rect;
    QColor colour;
};

struct SlopeLegendLayout {
    QRect background;
    std::vector<LegendLabel> labels;   // the title, then the five classes
    std::vector<LegendBox> swatches;   // one per class
};

struct RampLegendLayout {
    QRect background;
    std::vector<LegendBox> bars;       // 101, top (highest level) to bottom
    std::vector<LegendLabel> labels;
};

//! The title and the class texts of the slope legend.
QString SlopeLegendTitle();
QString SlopeLegendClassText(int lowerBoundDeg);

//! Slope legend in rect; titleWidth and firstClassWidth are the measured widths
//! of the title and of the first class line in the legend font.
SlopeLegendLayout LayOutSlopeLegend(const QRect& rect, int titleWidth, int firstClassWidth, int colourSetB);

//! "%03.1fm" of an elevation, in the C locale.
QString ElevationLabelText(double value);
//! "%3d" of an intensity level.
QString IntensityLabelText(int value);

//! Elevation ramp in rect; no bars nor labels when the bounds cannot be drawn or
//! the stops are empty.
RampLegendLayout LayOutElevationLegend(const QRect& rect, double top, double bottom,
                                       const std::vector<ColorConf>& stops);
RampLegendLayout LayOutIntensityLegend(const QRect& rect, double top, double bottom,
                                       const std::vector<ColorConf>& stops);

// The painting routines. Each leaves the painter's font, pens, brushes, background
// mode and clipping as it found them, whatever path it takes.
void DrawSlopeLegend(QPainter& painter, const QRect& rect, COLORREF background, int colourSetB);
void DrawElevationLegend(QPainter& painter, const QRect& rect, COLORREF background, double top, double bottom,
                         const std::vector<ColorConf>& stops);
void DrawIntensityLegend(QPainter& painter, const QRect& rect, COLORREF background, double top, double bottom,
                         const std::vector<ColorConf>& stops);
