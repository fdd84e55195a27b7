#include "viewer/dialogs/HintPlacement.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace {

// One axis of the near-anchor rule: towards the centre.
int NearAnchorAxis(int anchor, int extent, int low, int high)
{
    const int centre = (low + high) / 2;
    return anchor > centre ? anchor - extent - kHintAnchorGap : anchor + kHintAnchorGap;
}

// One axis of the edge-seeking rule.
int SeekingEdgeAxis(int anchor, int extent, int low, int high)
{
    const int centre = (low + high) / 2;
    const int after = anchor + kHintAnchorGap;
    const int before = anchor - extent - kHintAnchorGap;
    if (anchor > centre) return anchor + extent + kHintAnchorGap > high ? before : after;
    return before >= low ? before : after;
}

int OverlapHeight(const QRect& a, const QRect& b)
{
    return a.intersects(b) ? a.intersected(b).height() : 0;
}

}  // namespace

QPoint HintNearAnchor(QPoint anchor, QSize size, const QRect& view)
{
    return {NearAnchorAxis(anchor.x(), size.width(), view.left(), view.right() + 1),
            NearAnchorAxis(anchor.y(), size.height(), view.top(), view.bottom() + 1)};
}

QPoint HintSeekingEdges(QPoint anchor, QSize size, const QRect& view)
{
    return {SeekingEdgeAxis(anchor.x(), size.width(), view.left(), view.right() + 1),
            SeekingEdgeAxis(anchor.y(), size.height(), view.top(), view.bottom() + 1)};
}

std::vector<QRect> SeparateHints(const std::vector<QRect>& hints)
{
    std::vector<QRect> placed = hints;
    if (placed.size() < 2) return placed;
    std::vector<std::size_t> order(placed.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return placed[a].top() < placed[b].top(); });
    QRect& first = placed[order[0]];
    const QRect& second = placed[order[1]];
    if (const int up = OverlapHeight(first, second); up > 0) first.translate(0, -up);
    if (placed.size() >= 3) {
        QRect& third = placed[order[2]];
        if (const int down = OverlapHeight(second, third); down > 0) third.translate(0, down);
    }
    return placed;
}

std::vector<QRect> ClearHintsOfLabels(const std::vector<QRect>& hints, const std::vector<QRect>& labels)
{
    std::vector<QRect> placed = hints;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        std::vector<QRect> others = labels;
        for (std::size_t j = 0; j < placed.size(); ++j)
            if (j != i) others.push_back(placed[j]);
        const auto clear = [&](const QRect& r) {
            return std::none_of(others.begin(), others.end(), [&](const QRect& o) { return o.intersects(r); });
        };
        QRect& hint = placed[i];
        if (clear(hint)) continue;
        // Only the edges of what is in the way can be the nearest clear place.
        std::vector<int> tops;
        for (const QRect& o : others) {
            tops.push_back(o.top() - hint.height());
            tops.push_back(o.bottom() + 1);
        }
        std::optional<int> best;
        for (int top : tops) {
            if (!clear(hint.translated(0, top - hint.top()))) continue;
            if (!best || std::abs(top - hint.top()) < std::abs(*best - hint.top())) best = top;
        }
        if (best) hint.moveTop(*best);
    }
    return placed;
}

LegendPlaces LayOutLegends(const QRect& view, const OpenLegendWidths& widths)
{
    const int right = view.right() + 1;
    const int top = view.top();
    LegendPlaces places;
    if (widths.slope) {
        const bool besideAnother = widths.elevation.has_value() || widths.intensity.has_value();
        int x = right - (besideAnother ? 2 : 1) * *widths.slope;
        // With both ramps open the slope legend would cover the intensity legend:
        // it moves left of them.
        if (widths.elevation && widths.intensity)
            x = std::min(x, right - *widths.elevation - *widths.intensity - *widths.slope);
        places.slope = QPoint(x, top);
    }
    if (widths.elevation) places.elevation = QPoint(right - *widths.elevation, top);
    if (widths.intensity) places.intensity = QPoint(right - *widths.intensity - widths.elevation.value_or(0), top);
    return places;
}
