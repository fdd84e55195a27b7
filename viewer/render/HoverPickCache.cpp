#include "viewer/render/HoverPickCache.h"

#include "outside/CVertexMng.h"
#include "outside/StoreMarkers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::int32_t kUnprojected = -1;

}  // namespace

void HoverPickCache::Reset(int width, int height)
{
    m_width = std::max(0, width);
    m_height = std::max(0, height);
    for (Cell& c : m_cells) {
        c.vertices.clear();
        c.edges.clear();
    }
    m_edges.clear();
    m_vertexCount = 0;
}

int HoverPickCache::CellColumn(double x) const
{
    if (m_width <= 0) return -1;
    if (!(x >= -kReach && x < m_width + kReach)) return -1;
    return std::clamp(static_cast<int>(std::floor(x * kCells / m_width)), 0, kCells - 1);
}

int HoverPickCache::CellRow(double y) const
{
    if (m_height <= 0) return -1;
    if (!(y >= -kReach && y < m_height + kReach)) return -1;
    return std::clamp(static_cast<int>(std::floor(y * kCells / m_height)), 0, kCells - 1);
}

void HoverPickCache::AddStore(const CVertexMng& tin, const ScreenProjector& projector,
                              std::uint8_t kind, std::int32_t group)
{
    if (m_width <= 0 || m_height <= 0 || tin.m_triangles.empty()) return;
    const auto vertexCount = static_cast<std::size_t>(tin.GetVertexSize());
    // Slot of each used vertex in `projected`; each vertex is projected once.
    std::vector<std::int32_t> slot(vertexCount, kUnprojected);
    std::vector<Vertex> projected;
    const auto project = [&](std::uint32_t index) -> const Vertex* {
        if (index >= vertexCount) return nullptr;
        std::int32_t& s = slot[index];
        if (s == kUnprojected) {
            const CVertexMng::Vertex& v = tin.m_vertices[index];
            ScreenProjector::Window w;
            Vertex e;
            e.kind = kind;
            e.group = group;
            e.index = static_cast<std::int32_t>(index);
            e.hasHeight = IsUnsetValue(v.z) ? 0 : 1;
            // Behind the eye or outside the depth range: not hoverable.
            if (!projector.ProjectUser(v.x, v.y, v.z, w) || !(w.depth >= 0.0 && w.depth <= 1.0)) {
                s = -2;
                return nullptr;
            }
            e.x = w.x;
            e.y = m_height - w.y;
            e.depth = w.depth;
            s = static_cast<std::int32_t>(projected.size());
            projected.push_back(e);
            const int col = CellColumn(e.x), row = CellRow(e.y);
            if (col >= 0 && row >= 0) {
                m_cells[row * kCells + col].vertices.push_back(e);
                ++m_vertexCount;
            }
        }
        return s >= 0 ? &projected[static_cast<std::size_t>(s)] : nullptr;
    };

    // Every vertex a triangle uses is projected (once), then the unique edges,
    // each with the first triangle and side it was met in.
    std::vector<std::uint64_t> order;
    order.reserve(tin.m_triangles.size() * 3);
    for (const CIndexedTriangle& tri : tin.m_triangles)
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t a = tri[k], b = tri[(k + 1) % 3];
            project(a);
            if (a != b) order.push_back(std::uint64_t{std::min(a, b)} << 32 | std::max(a, b));
        }
    std::sort(order.begin(), order.end());
    order.erase(std::unique(order.begin(), order.end()), order.end());
    std::vector<std::uint8_t> taken(order.size(), 0);
    for (std::size_t t = 0; t < tin.m_triangles.size(); ++t) {
        const CIndexedTriangle& tri = tin.m_triangles[t];
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t a = tri[k], b = tri[(k + 1) % 3];
            if (a == b) continue;
            const std::uint32_t lo = std::min(a, b), hi = std::max(a, b);
            const std::uint64_t key = std::uint64_t{lo} << 32 | hi;
            const auto at = static_cast<std::size_t>(std::lower_bound(order.begin(), order.end(), key) - order.begin());
            if (taken[at] != 0) continue;
            taken[at] = 1;
            const Vertex* p1 = project(lo);
            const Vertex* p2 = project(hi);
            if (p1 == nullptr || p2 == nullptr) continue;
            // A zero-length edge on screen has no foot point.
            if (p1->x == p2->x && p1->y == p2->y) continue;
            Edge e{static_cast<std::int32_t>(lo), static_cast<std::int32_t>(hi), kind, group,
                   static_cast<std::int32_t>(t), k, p1->x, p1->y, p1->depth, p2->x, p2->y, p2->depth};
            const int c0 = CellColumn(std::max(std::min(e.x1, e.x2) - kReach, -kReach));
            const int c1 = CellColumn(std::min(std::max(e.x1, e.x2) + kReach, m_width + kReach / 2));
            const int r0 = CellRow(std::max(std::min(e.y1, e.y2) - kReach, -kReach));
            const int r1 = CellRow(std::min(std::max(e.y1, e.y2) + kReach, m_height + kReach / 2));
            if (c0 < 0 || c1 < 0 || r0 < 0 || r1 < 0) continue;
            const auto number = static_cast<std::uint32_t>(m_edges.size());
            m_edges.push_back(e);
            for (int r = r0; r <= r1; ++r)
                for (int c = c0; c <= c1; ++c) m_cells[r * kCells + c].edges.push_back(number);
        }
    }
}

const HoverPickCache::Vertex* HoverPickCache::FindVertex(double px, double py) const
{
    if (m_width <= 0 || m_height <= 0) return nullptr;
    const int c0 = std::max(0, CellColumn(std::max(px - kReach, -kReach)));
    const int c1 = CellColumn(std::min(px + kReach, m_width + kReach / 2));
    const int r0 = std::max(0, CellRow(std::max(py - kReach, -kReach)));
    const int r1 = CellRow(std::min(py + kReach, m_height + kReach / 2));
    if (c1 < 0 || r1 < 0) return nullptr;
    const Vertex* best = nullptr;
    // Row by row from the top-left cell: the cell order that settles ties.
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c)
            for (const Vertex& v : m_cells[r * kCells + c].vertices)
                if (std::fabs(px - v.x) < kReach && std::fabs(py - v.y) < kReach &&
                    (best == nullptr || v.depth < best->depth))
                    best = &v;
    return best;
}

const HoverPickCache::Edge* HoverPickCache::FindEdge(double px, double py) const
{
    const int c = CellColumn(px), r = CellRow(py);
    if (c < 0 || r < 0) return nullptr;
    const Edge* best = nullptr;
    double bestDepth = std::numeric_limits<double>::infinity();
    for (std::uint32_t number : m_cells[r * kCells + c].edges) {
        const Edge& e = m_edges[number];
        if (std::min(e.x1, e.x2) - px > kReach || px - std::max(e.x1, e.x2) > kReach ||
            std::min(e.y1, e.y2) - py > kReach || py - std::max(e.y1, e.y2) > kReach)
            continue;
        const double dx = e.x2 - e.x1, dy = e.y2 - e.y1;
        const double len2 = dx * dx + dy * dy;
        const double t = ((px - e.x1) * dx + (py - e.y1) * dy) / len2;
        if (!(t >= 0.0 && t <= 1.0)) continue;
        const double fx = e.x1 + t * dx, fy = e.y1 + t * dy;
        if (std::hypot(px - fx, py - fy) > kReach) continue;
        const double depth = e.z1 + (e.z2 - e.z1) * t;
        if (best == nullptr || depth < bestDepth) {
            best = &e;
            bestDepth = depth;
        }
    }
    return best;
}
