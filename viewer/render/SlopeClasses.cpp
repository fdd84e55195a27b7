#include "viewer/render/SlopeClasses.h"

#include "outside/LN.h"
#include "outside/PT.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kPale[kSlopeClassCount][4] = {
    {0.9f, 0.5f, 0.5f, 1.0f}, {0.9f, 0.5f, 0.9f, 1.0f}, {0.9f, 0.9f, 0.5f, 1.0f},
    {0.5f, 0.9f, 0.5f, 1.0f}, {0.5f, 0.5f, 0.9f, 1.0f}};
constexpr float kStrong[kSlopeClassCount][4] = {
    {0.9f, 0.1f, 0.1f, 1.0f}, {0.9f, 0.1f, 0.9f, 1.0f}, {0.9f, 0.9f, 0.1f, 1.0f},
    {0.1f, 0.9f, 0.1f, 1.0f}, {0.1f, 0.1f, 0.9f, 1.0f}};

bool Between(double v, double a, double b) { return v >= std::min(a, b) && v <= std::max(a, b); }

}  // namespace

bool FootOnSegmentXY(const LN& segment, const PT& p, PT& foot)
{
    const PT& a = segment.Pt1;
    const PT& b = segment.Pt2;
    if (a.x() == b.x()) {
        foot.Set(a.x(), p.y(), foot.z());
    } else if (a.y() == b.y()) {
        foot.Set(p.x(), a.y(), foot.z());
    } else {
        const double m = (b.y() - a.y()) / (b.x() - a.x());
        const double n = -1.0 / m;
        const double b1 = a.y() - m * a.x();
        const double b2 = p.y() - n * p.x();
        foot.Set((b2 - b1) / (m - n), (m * b2 - n * b1) / (m - n), foot.z());
    }
    return Between(foot.x(), a.x(), b.x()) && Between(foot.y(), a.y(), b.y());
}

int EdgeSlopeClass(const PT& q, const LN& edge)
{
    const PT& p1 = edge.Pt1;
    const PT& p2 = edge.Pt2;
    const double span = std::hypot(p2.x() - p1.x(), p2.y() - p1.y());
    if (!(span > 0.0)) return kSlopeClassVertical;
    PT foot(0.0, 0.0, 0.0);
    FootOnSegmentXY(edge, q, foot);
    const double along = std::hypot(foot.x() - p1.x(), foot.y() - p1.y());
    const double zFoot = p1.z() + (p2.z() - p1.z()) * along / span;
    const double run = std::hypot(q.x() - foot.x(), q.y() - foot.y());
    const double rise = q.z() - zFoot;
    const double angle = std::abs(std::atan2(rise, run) * 180.0 / 3.14159265358979323846);
    if (!std::isfinite(angle)) return kSlopeClassVertical;
    if (angle > 30.0) return 0;
    if (angle > 20.0) return 1;
    if (angle > 10.0) return 2;
    if (angle > 5.0) return 3;
    return 4;
}

const float* ClassifyTriangleSlope(const PT& a, const PT& b, const PT& c, int pale)
{
    const int steepest = std::min({EdgeSlopeClass(a, LN(b, c)), EdgeSlopeClass(b, LN(a, c)),
                                   EdgeSlopeClass(c, LN(a, b)), kSlopeClassCount - 1});
    return pale != 0 ? kPale[steepest] : kStrong[steepest];
}
