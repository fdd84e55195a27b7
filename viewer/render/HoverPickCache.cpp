#include "viewer/render/HoverPickCache.h"

#include "outside/CVertexMng.h"
#include "outside/StoreMarkers.h"
#include "platform/Parallel.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr std::int32_t kUnprojected = -1;
constexpr std::int32_t kHidden = -2;

}  // namespace

void HoverPickCache::Reset(int width, int height)
{
    m_width = std::max(0, width);
    m_height = std::max(0, height);
    for (Cell& c : m_cells) {
        c.vertices.clear();
        c.edges.clear();
    }
    m_vertices.clear();
    m_edges.clear();
    m_vertexCount = 0;
}

int HoverPickCache::CellColumn(double x) const
{
    if (m_width <= 0) return -1;
    if (!(x >= -kReach && x < m_width + kReach)) return -1;
    // x is at least -kReach here: truncation lands where the floor clamped to 0 would.
    return std::clamp(static_cast<int>(x * kCells / m_width), 0, kCells - 1);
}

int HoverPickCache::CellRow(double y) const
{
    if (m_height <= 0) return -1;
    if (!(y >= -kReach && y < m_height + kReach)) return -1;
    return std::clamp(static_cast<int>(y * kCells / m_height), 0, kCells - 1);
}

void HoverPickCache::AddStore(const CVertexMng& tin, const ScreenProjector& projector, std::uint8_t kind,
                              std::int32_t group)
{
    if (m_width <= 0 || m_height <= 0 || tin.m_triangles.empty()) return;
    const auto vertexCount = static_cast<std::size_t>(tin.GetVertexSize());
    // Every vertex projected once, in parallel, with the cells it reaches worked
    // out here rather than per edge. Scratch arrays are members so that a rebuild
    // reuses their memory.
    std::vector<Projected>& proj = m_scratchProjected;
    proj.resize(vertexCount);
    tessara::ParallelParts(
        vertexCount,
        [&](std::size_t begin, std::size_t end, std::size_t) {
            for (std::size_t i = begin; i < end; ++i) {
                const CVertexMng::Vertex& v = tin.m_vertices[i];
                Projected& p = proj[i];
                p.slot = kUnprojected;
                ScreenProjector::Window w;
                // Behind the eye or outside the depth range: not hoverable.
                if (!projector.ProjectUser(v.x, v.y, v.z, w) || !(w.depth >= 0.0 && w.depth <= 1.0)) {
                    p.visible = 0;
                    continue;
                }
                p.visible = 1;
                p.hasHeight = static_cast<std::uint8_t>(IsUnsetValue(v.z) ? 0 : 1);
                p.x = w.x;
                p.y = m_height - w.y;
                p.depth = w.depth;
                p.col = static_cast<std::int8_t>(CellColumn(p.x));
                p.row = static_cast<std::int8_t>(CellRow(p.y));
                p.loCol = static_cast<std::int8_t>(CellColumn(std::max(p.x - kReach, -kReach)));
                p.hiCol = static_cast<std::int8_t>(CellColumn(std::min(p.x + kReach, m_width + kReach / 2)));
                p.loRow = static_cast<std::int8_t>(CellRow(std::max(p.y - kReach, -kReach)));
                p.hiRow = static_cast<std::int8_t>(CellRow(std::min(p.y + kReach, m_height + kReach / 2)));
            }
        },
        std::size_t{1} << 15);

    m_vertices.reserve(m_vertices.size() + vertexCount);
    m_edges.reserve(m_edges.size() + tin.m_triangles.size() * 3 / 2 + vertexCount);
    // Cached in the order first met in the triangles.
    const auto take = [&](std::uint32_t index) -> std::int32_t {
        if (index >= vertexCount) return kHidden;
        Projected& p = proj[index];
        if (p.slot != kUnprojected) return p.slot;
        if (p.visible == 0) return p.slot = kHidden;
        p.slot = static_cast<std::int32_t>(m_vertices.size());
        m_vertices.push_back({p.x, p.y, p.depth, kind, group, static_cast<std::int32_t>(index), p.hasHeight});
        if (p.col >= 0 && p.row >= 0) {
            m_cells[p.row * kCells + p.col].vertices.push_back(static_cast<std::uint32_t>(p.slot));
            ++m_vertexCount;
        }
        return p.slot;
    };

    // Unique edges in the order met, each with the first triangle and side it
    // came from: per smaller corner, the larger corners already taken (a short list).
    std::vector<std::uint32_t>& start = m_scratchStart;
    start.assign(vertexCount + 1, 0);
    for (const CIndexedTriangle& tri : tin.m_triangles)
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t a = tri[k], b = tri[(k + 1) % 3];
            if (a != b && a < vertexCount && b < vertexCount) ++start[std::min(a, b) + 1];
        }
    for (std::size_t i = 1; i < start.size(); ++i) start[i] += start[i - 1];
    std::vector<std::uint32_t>& taken = m_scratchTaken;
    taken.resize(start.back());
    std::vector<std::uint32_t>& fill = m_scratchFill;
    fill.assign(vertexCount, 0);
    for (std::size_t t = 0; t < tin.m_triangles.size(); ++t) {
        const CIndexedTriangle& tri = tin.m_triangles[t];
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t a = tri[k], b = tri[(k + 1) % 3];
            const std::int32_t pa = take(a);
            if (a == b || a >= vertexCount || b >= vertexCount) continue;
            const std::uint32_t lo = std::min(a, b), hi = std::max(a, b);
            std::uint32_t* first = taken.data() + start[lo];
            std::uint32_t* last = first + fill[lo];
            if (std::find(first, last, hi) != last) continue;
            *last = hi;
            ++fill[lo];
            const std::int32_t pb = take(b);
            if (pa < 0 || pb < 0) continue;
            const Projected& e1 = proj[lo];
            const Projected& e2 = proj[hi];
            // A zero-length edge on screen has no foot point.
            if (e1.x == e2.x && e1.y == e2.y) continue;
            // The cells of the edge's box grown by the reach.
            const int c0 = e1.x <= e2.x ? e1.loCol : e2.loCol;
            const int c1 = e1.x <= e2.x ? e2.hiCol : e1.hiCol;
            const int r0 = e1.y <= e2.y ? e1.loRow : e2.loRow;
            const int r1 = e1.y <= e2.y ? e2.hiRow : e1.hiRow;
            if (c0 < 0 || c1 < 0 || r0 < 0 || r1 < 0) continue;
            const auto number = static_cast<std::uint32_t>(m_edges.size());
            m_edges.push_back({static_cast<std::uint32_t>(e1.slot), static_cast<std::uint32_t>(e2.slot),
                               static_cast<std::int32_t>(t), k});
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
            for (std::uint32_t at : m_cells[r * kCells + c].vertices) {
                const Vertex& v = m_vertices[at];
                if (std::fabs(px - v.x) < kReach && std::fabs(py - v.y) < kReach &&
                    (best == nullptr || v.depth < best->depth))
                    best = &v;
            }
    return best;
}

HoverPickCache::Edge HoverPickCache::MakeEdge(const EdgeRef& r) const
{
    const Vertex& a = m_vertices[r.end1];
    const Vertex& b = m_vertices[r.end2];
    return Edge{a.index, b.index, a.kind, a.group, r.triangle, r.side, a.x, a.y, a.depth, b.x, b.y, b.depth};
}

std::optional<HoverPickCache::Edge> HoverPickCache::FindEdge(double px, double py) const
{
    const int c = CellColumn(px), r = CellRow(py);
    if (c < 0 || r < 0) return std::nullopt;
    const EdgeRef* best = nullptr;
    double bestDepth = std::numeric_limits<double>::infinity();
    for (std::uint32_t number : m_cells[r * kCells + c].edges) {
        const EdgeRef& ref = m_edges[number];
        const Vertex& a = m_vertices[ref.end1];
        const Vertex& b = m_vertices[ref.end2];
        if (std::min(a.x, b.x) - px > kReach || px - std::max(a.x, b.x) > kReach ||
            std::min(a.y, b.y) - py > kReach || py - std::max(a.y, b.y) > kReach)
            continue;
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double t = ((px - a.x) * dx + (py - a.y) * dy) / (dx * dx + dy * dy);
        if (!(t >= 0.0 && t <= 1.0)) continue;
        const double fx = a.x + t * dx - px, fy = a.y + t * dy - py;
        if (fx * fx + fy * fy > kReach * kReach) continue;
        const double depth = a.depth + (b.depth - a.depth) * t;
        if (best == nullptr || depth < bestDepth) {
            best = &ref;
            bestDepth = depth;
        }
    }
    if (best == nullptr) return std::nullopt;
    return MakeEdge(*best);
}
