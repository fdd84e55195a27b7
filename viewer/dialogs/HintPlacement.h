#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>
#include <vector>

// Where hints and legends go over the main view, as plain geometry. Every
// rectangle and point is in screen coordinates of the windows (logical pixels);
// view is the view's client area there.

inline constexpr int kHintAnchorGap = 10;

//! Top left of a hint beside its anchor, on the side towards the view's centre.
QPoint HintNearAnchor(QPoint anchor, QSize size, const QRect& view);
//! Top left of a cross-section hint: away from the centre unless that leaves the
//! view, towards it unless that leaves the view.
QPoint HintSeekingEdges(QPoint anchor, QSize size, const QRect& view);
//! Separates up to three hints (given in kind order, answered in the same order):
//! the topmost moves up off the second, the third down off the second.
std::vector<QRect> SeparateHints(const std::vector<QRect>& hints);
//! Moves each hint that covers a label or another hint straight up or down, the
//! least distance that leaves it clear of both (in order; a hint with no clear
//! place keeps its own).
std::vector<QRect> ClearHintsOfLabels(const std::vector<QRect>& hints, const std::vector<QRect>& labels);

//! Widths of the open legends; an empty one is closed.
struct OpenLegendWidths {
    std::optional<int> slope;
    std::optional<int> elevation;
    std::optional<int> intensity;
};
//! Top left of each open legend: flush with the view's top right, the elevation
//! legend rightmost, the intensity legend left of it, the slope legend twice its
//! width from the right beside another legend, and left of both ramps when both
//! are open.
struct LegendPlaces {
    std::optional<QPoint> slope;
    std::optional<QPoint> elevation;
    std::optional<QPoint> intensity;
};
LegendPlaces LayOutLegends(const QRect& view, const OpenLegendWidths& widths);
