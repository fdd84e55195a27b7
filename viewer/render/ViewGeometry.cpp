#include "viewer/render/ViewGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "outside/GeoFunc.h"
#include "outside/LINE.h"
#include "outside/LN.h"
#include "outside/PT.h"

namespace {

constexpr double kNearDistance = 5.0;
constexpr double kMaxSlopeDegrees = 80.0;
constexpr double kUnset = 1e-16;

}  // namespace

bool IsPointNearSegment(const PT& point, const LN& segment)
{
    PT foot;
    GetSuiOfPtLine(point, LINE(segment), &foot);
    const double distance = _f_length(point.x(), point.y(), foot.x(), foot.y());
    if (!(distance <= kNearDistance)) return false;
    const double minX = std::min(segment.Pt1.x(), segment.Pt2.x()) - kNearDistance;
    const double maxX = std::max(segment.Pt1.x(), segment.Pt2.x()) + kNearDistance;
    const double minY = std::min(segment.Pt1.y(), segment.Pt2.y()) - kNearDistance;
    const double maxY = std::max(segment.Pt1.y(), segment.Pt2.y()) + kNearDistance;
    return point.x() >= minX && point.x() <= maxX && point.y() >= minY && point.y() <= maxY;
}

bool IsPointInPolygon(int x, int y, const std::vector<QPoint>* polygon)
{
    if (polygon == nullptr || polygon->empty()) return false;
    bool inside = false;
    QPoint previous = polygon->back();
    for (const QPoint& current : *polygon) {
        // A: the end with the larger x (the earlier vertex on equal x); B: the other.
        const bool previousIsA = previous.x() >= current.x();
        const QPoint& a = previousIsA ? previous : current;
        const QPoint& b = previousIsA ? current : previous;
        if (b.x() < x && x <= a.x()) {
            const std::int64_t lhs = static_cast<std::int64_t>(a.y() - static_cast<std::int64_t>(b.y())) *
                                     (static_cast<std::int64_t>(x) - b.x());
            const std::int64_t rhs = static_cast<std::int64_t>(a.x() - static_cast<std::int64_t>(b.x())) *
                                     (static_cast<std::int64_t>(y) - b.y());
            if (lhs > rhs) inside = !inside;
        }
        previous = current;
    }
    return inside;
}

bool IsSegmentCrossingPolygon(const LN& segment, const std::vector<QPoint>* polygon)
{
    if (polygon == nullptr || polygon->empty()) return false;
    QPoint previous = polygon->back();
    for (const QPoint& current : *polygon) {
        const LN edge(PT(previous.x(), previous.y(), kUnset), PT(current.x(), current.y(), kUnset));
        const short code = IsCrs(edge, segment);
        if (code == kCrsProper || code == kCrsTouch) return true;
        previous = current;
    }
    return false;
}

bool CheckSegmentPointAngle(const PT& point, const LN& segment)
{
    PT foot;
    GetSuiOfPtLine(point, LINE(segment), &foot);
    const double planLength = segment.Length();
    const double alongFromStart = _f_length(segment.Pt1.x(), segment.Pt1.y(), foot.x(), foot.y());
    // A segment without plan length has one height: its start's.
    const double height = planLength > 0.0
                              ? GetProportion(0.0, planLength, segment.Pt1.z(), segment.Pt2.z(), alongFromStart)
                              : segment.Pt1.z();
    const double dz = point.z() - height;
    const double d = _f_length(point.x(), point.y(), foot.x(), foot.y());
    const double angle = RadToDeg(_f_atan(&dz, &d));
    return std::fabs(angle) <= kMaxSlopeDegrees;
}
