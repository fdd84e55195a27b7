#include "viewer/render/ScreenPolygon.h"

#include "outside/GeoFunc.h"
#include "outside/LN.h"

#include <algorithm>
#include <cmath>

namespace {

// A tiny z on both ends, so the crossing test treats the segments as plan segments.
constexpr double kPlanZ = 1e-16;

}  // namespace

std::int64_t ScreenPolygon::WholePixel(double v)
{
    constexpr double kLimit = 1073741824.0;  // 2^30
    return static_cast<std::int64_t>(std::clamp(v, -kLimit, kLimit));
}

ScreenPolygon ScreenPolygon::FromMouse(const std::vector<QPoint>& mouse, int windowHeight)
{
    std::vector<Vertex> v;
    v.reserve(mouse.size());
    for (const QPoint& p : mouse) v.push_back({p.x(), static_cast<std::int64_t>(windowHeight) - p.y()});
    return ScreenPolygon(std::move(v));
}

ScreenPolygon::ScreenPolygon(std::vector<Vertex> vertices) : m_vertices(std::move(vertices))
{
    if (m_vertices.empty()) return;
    m_bounds = {m_vertices[0].x, m_vertices[0].x, m_vertices[0].y, m_vertices[0].y};
    for (const Vertex& v : m_vertices) {
        m_bounds.minX = std::min(m_bounds.minX, v.x);
        m_bounds.maxX = std::max(m_bounds.maxX, v.x);
        m_bounds.minY = std::min(m_bounds.minY, v.y);
        m_bounds.maxY = std::max(m_bounds.maxY, v.y);
    }
}

bool ScreenPolygon::Contains(std::int64_t px, std::int64_t py) const
{
    const std::size_t n = m_vertices.size();
    if (n == 0) return false;
    bool inside = false;
    std::size_t prev = n - 1;
    for (std::size_t i = 0; i < n; prev = i, ++i) {
        const Vertex& cur = m_vertices[i];
        const Vertex& other = m_vertices[prev];
        // Left end: the smaller x; on equal x the current vertex.
        const Vertex& l = cur.x <= other.x ? cur : other;
        const Vertex& r = cur.x <= other.x ? other : cur;
        if (l.x < px && px <= r.x && (r.y - l.y) * (px - l.x) > (r.x - l.x) * (py - l.y)) inside = !inside;
    }
    return inside;
}

bool ScreenPolygon::ContainsWindowPoint(double x, double y) const { return Contains(WholePixel(x), WholePixel(y)); }

bool ScreenPolygon::Crosses(double x1, double y1, double x2, double y2) const
{
    const std::size_t n = m_vertices.size();
    if (n < 2) return false;
    const LN seg(PT(x1, y1, kPlanZ), PT(x2, y2, kPlanZ));
    std::size_t prev = n - 1;
    for (std::size_t i = 0; i < n; prev = i, ++i) {
        const LN edge(PT(static_cast<double>(m_vertices[prev].x), static_cast<double>(m_vertices[prev].y), kPlanZ),
                      PT(static_cast<double>(m_vertices[i].x), static_cast<double>(m_vertices[i].y), kPlanZ));
        const short code = IsCrs(seg, edge);
        if (code == 1 || code == 2) return true;
    }
    return false;
}

namespace {

// The eight corners of a box projected; false when one does not count.
bool ProjectCorners(const ScreenProjector& projector, const double lo[3], const double hi[3],
                    std::array<ScreenProjector::Window, 8>& w)
{
    for (int c = 0; c < 8; ++c) {
        const double x = (c & 1) ? hi[0] : lo[0];
        const double y = (c & 2) ? hi[1] : lo[1];
        const double z = (c & 4) ? hi[2] : lo[2];
        if (!projector.ProjectUser(x, y, z, w[c]) || !(w[c].depth > 0.0 && w[c].depth < 1.0)) return false;
    }
    return true;
}

struct WindowRect {
    double minX, maxX, minY, maxY;
};

WindowRect ScreenRect(const std::array<ScreenProjector::Window, 8>& w)
{
    WindowRect r{w[0].x, w[0].x, w[0].y, w[0].y};
    for (const auto& p : w) {
        r.minX = std::min(r.minX, p.x);
        r.maxX = std::max(r.maxX, p.x);
        r.minY = std::min(r.minY, p.y);
        r.maxY = std::max(r.maxY, p.y);
    }
    return r;
}

}  // namespace

std::int16_t screenbox::MissesSquare(const ScreenProjector& projector, const double lo[3], const double hi[3],
                                     double x, double y, double tol)
{
    std::array<ScreenProjector::Window, 8> w;
    if (!ProjectCorners(projector, lo, hi, w)) return 0;
    const auto [minX, maxX, minY, maxY] = ScreenRect(w);
    return (minX > x + tol || maxX < x - tol || minY > y + tol || maxY < y - tol) ? 1 : 0;
}

std::int16_t screenbox::Classify(const ScreenProjector& projector, const ScreenPolygon& polygon, const double lo[3],
                                 const double hi[3], bool testInside)
{
    std::array<ScreenProjector::Window, 8> w;
    if (!ProjectCorners(projector, lo, hi, w)) return kTest;
    const auto [minX, maxX, minY, maxY] = ScreenRect(w);
    const ScreenPolygon::Rect& b = polygon.Bounds();
    const auto bx0 = static_cast<double>(b.minX), bx1 = static_cast<double>(b.maxX);
    const auto by0 = static_cast<double>(b.minY), by1 = static_cast<double>(b.maxY);
    if (minX > bx1 || maxX < bx0 || minY > by1 || maxY < by0) return kOutside;
    int inside = 0;
    if (testInside) {
        for (const auto& p : w) inside += polygon.ContainsWindowPoint(p.x, p.y) ? 1 : 0;
        if (inside != 0 && inside != 8) return kTest;
    }
    // The twelve box edges: corner pairs differing in one bit.
    for (int a = 0; a < 8; ++a)
        for (int bit : {1, 2, 4})
            if ((a & bit) == 0 && polygon.Crosses(w[a].x, w[a].y, w[a | bit].x, w[a | bit].y)) return kTest;
    if (testInside && inside == 8) return kInside;
    if (!testInside) {
        // Rectangle selection: the rectangle is the polygon's bounds.
        if (minX >= bx0 && maxX <= bx1 && minY >= by0 && maxY <= by1) return kInside;
    }
    if (minX < bx0 && maxX > bx1 && minY < by0 && maxY > by1) return kTest;
    return kOutside;
}
