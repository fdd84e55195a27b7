#include "viewer/render/HoverPickCache.h"

#include "outside/CVertexMng.h"
#include "outside/StoreMarkers.h"
#include "platform/Parallel.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

namespace {

constexpr int kCellCount = HoverPickCache::kCells * HoverPickCache::kCells;
constexpr std::uint32_t kNotMet = std::numeric_limits<std::uint32_t>::max();
// Below this many items a pass runs on the calling thread alone.
constexpr std::size_t kMinPerPart = std::size_t{1} << 15;

// The cells an item is filed in: columns c0..c1 and rows r0..r1, four bits each.
using CellBox = std::uint16_t;
constexpr CellBox kNoCells = 0xFFFF;
static_assert(HoverPickCache::kCells <= 15, "a cell number fits in four bits");

// Equal window points hash alike (-0 and +0 taken as one).
std::uint32_t Where(double x, double y)
{
    const std::uint64_t h = std::bit_cast<std::uint64_t>(x + 0.0) * 0x9E3779B97F4A7C15ull +
                            std::bit_cast<std::uint64_t>(y + 0.0) * 0xC2B2AE3D27D4EB4Full;
    return static_cast<std::uint32_t>(h >> 32);
}

CellBox Box(int c0, int c1, int r0, int r1)
{
    return static_cast<CellBox>(c0 | c1 << 4 | r0 << 8 | r1 << 12);
}

template <class Fn>
void ForEachCell(CellBox box, Fn&& fn)
{
    const int c0 = box & 15, c1 = box >> 4 & 15, r0 = box >> 8 & 15, r1 = box >> 12;
    // Mostly a single cell.
    if (c0 == c1 && r0 == r1) {
        fn(r0 * HoverPickCache::kCells + c0);
        return;
    }
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) fn(r * HoverPickCache::kCells + c);
}

using CellStarts = std::array<std::size_t, kCellCount + 1>;

// Parts of [0, n) for the workers, fixed once so that two passes split alike.
std::size_t PartsFor(std::size_t n)
{
    return std::clamp<std::size_t>(std::min(tessara::WorkerCount(), n / kMinPerPart), 1, tessara::kMaxWorkers);
}

template <class Fn>
void RunSplit(std::size_t n, std::size_t parts, Fn&& fn)
{
    tessara::RunParts(parts, [&](std::size_t part) { fn(n * part / parts, n * (part + 1) / parts, part); });
}

// Files the items [0, n) into their cells, cell by cell into items, each cell's
// items in their order (a counting sort, in parallel: every part counts its
// share, then writes it where the counts place it). fill(begin, end, boxes)
// writes the cell boxes of the items [begin, end), a block at a time so that
// they are counted while still in the cache. start gets each cell's first
// place; boxes is scratch. Returns the items filed at all.
template <class Fill>
std::size_t FileByCell(std::size_t n, Fill&& fill, std::vector<CellBox>& boxes, CellStarts& start,
                       std::vector<std::uint32_t>& items)
{
    constexpr std::size_t kBlock = 2048;
    struct alignas(64) Counts {
        std::array<std::size_t, kCellCount> cell;
        std::size_t filed;
    };
    std::array<Counts, tessara::kMaxWorkers> counts{};
    boxes.resize(n);
    const std::size_t parts = PartsFor(n);
    RunSplit(n, parts, [&](std::size_t begin, std::size_t end, std::size_t part) {
        Counts& count = counts[part];
        for (std::size_t block = begin; block < end; block += kBlock) {
            const std::size_t blockEnd = std::min(end, block + kBlock);
            fill(block, blockEnd, boxes.data());
            for (std::size_t i = block; i < blockEnd; ++i) {
                const CellBox box = boxes[i];
                if (box == kNoCells) continue;
                ++count.filed;
                ForEachCell(box, [&](int cell) { ++count.cell[static_cast<std::size_t>(cell)]; });
            }
        }
    });
    // Cell by cell, the parts in their order: each count becomes that part's
    // first place in that cell.
    std::size_t at = 0, filed = 0;
    for (std::size_t cell = 0; cell < kCellCount; ++cell) {
        start[cell] = at;
        for (std::size_t part = 0; part < parts; ++part) {
            const std::size_t here = counts[part].cell[cell];
            counts[part].cell[cell] = at;
            at += here;
        }
    }
    start[kCellCount] = at;
    for (std::size_t part = 0; part < parts; ++part) filed += counts[part].filed;
    items.resize(at);
    RunSplit(n, parts, [&](std::size_t begin, std::size_t end, std::size_t part) {
        std::array<std::size_t, kCellCount>& next = counts[part].cell;
        for (std::size_t i = begin; i < end; ++i) {
            const CellBox box = boxes[i];
            if (box == kNoCells) continue;
            ForEachCell(box, [&](int cell) { items[next[static_cast<std::size_t>(cell)]++] = static_cast<std::uint32_t>(i); });
        }
    });
    return filed;
}

}  // namespace

// What a store's triangles give whatever the camera: the vertices they use in
// the order first met (corner by corner), and the unique edges in the order
// first met, each with the first triangle and side that has it.
struct HoverPickCache::Topology {
    // The key: the store (compared, never followed), its TIN revision, and the
    // sizes, which also catch an edit that forgot to call TinChanged().
    const CVertexMng* store = nullptr;
    std::uint64_t revision = 0;
    std::size_t vertexCount = 0;
    std::size_t triangleCount = 0;
    const void* triangles = nullptr;
    //! Used since the last Reset; unused ones go at the next.
    bool used = false;

    std::vector<std::uint32_t> order;  // vertex numbers
    //! Places in order of an edge's ends, the smaller vertex number first.
    std::vector<std::array<std::uint32_t, 2>> ends;
    std::vector<std::int32_t> triangle;
    std::vector<std::uint8_t> side;
};

// Where a projected vertex and its hover square fall.
struct HoverPickCache::Spot {
    //! Where the vertex is, hashed: unequal for most unequal window points.
    std::uint32_t where;
    // Cells of x - kReach, x + kReach, y - kReach and y + kReach. Beyond the far
    // side the low ones hold kCells and beyond the near side the high ones hold -1,
    // so that the lowest and highest of an edge's two ends give its cells.
    std::int8_t loCol, hiCol, loRow, hiRow;
    std::uint8_t visible;
};

// One store's part of the cache for the current camera.
struct HoverPickCache::Layer {
    const Topology* topology = nullptr;
    //! The projected vertices, by place in topology->order (those not visible unset).
    std::vector<Vertex> vertices;
    std::vector<Spot> spots;
    CellStarts vertexStart{};
    std::vector<std::uint32_t> vertexItems;  // places in order
    CellStarts edgeStart{};
    std::vector<std::uint32_t> edgeItems;    // edge numbers of the topology
    std::vector<CellBox> boxes;              // scratch of the filing
};

HoverPickCache::HoverPickCache() = default;
HoverPickCache::~HoverPickCache() = default;
HoverPickCache::HoverPickCache(HoverPickCache&&) noexcept = default;
HoverPickCache& HoverPickCache::operator=(HoverPickCache&&) noexcept = default;

void HoverPickCache::Reset(int width, int height)
{
    m_width = std::max(0, width);
    m_height = std::max(0, height);
    m_columns.Lay(m_width);
    m_rows.Lay(m_height);
    // The layers of stores not added last time and the triangle work of stores
    // not added since the previous Reset go; the others keep their memory.
    m_layers.resize(m_layerCount);
    m_layerCount = 0;
    std::erase_if(m_topologies, [](const std::unique_ptr<Topology>& t) { return !t->used; });
    for (const std::unique_ptr<Topology>& t : m_topologies) t->used = false;
    m_vertexCount = 0;
    m_edgeCount = 0;
}

void HoverPickCache::Axis::Lay(int cells)
{
    size = std::max(0, cells);
    scale = size > 0 ? static_cast<double>(kCells) / size : 0.0;
    first.fill(-std::numeric_limits<double>::infinity());
    first[kCells] = std::numeric_limits<double>::infinity();
    if (size <= 0) return;
    // The quotient grows with v: each cell starts at the smallest v whose quotient
    // reaches its number, a few units in the last place from k * size / kCells.
    const auto quotient = [this](double v) { return v * kCells / size; };
    for (int k = 1; k < kCells; ++k) {
        double v = static_cast<double>(k) * size / kCells;
        while (quotient(v) >= k) v = std::nextafter(v, -std::numeric_limits<double>::infinity());
        while (quotient(v) < k) v = std::nextafter(v, std::numeric_limits<double>::infinity());
        first[static_cast<std::size_t>(k)] = v;
    }
}

void HoverPickCache::Axis::Span(double v, int& low, int& own, int& high) const
{
    own = Of(v);
    // Mostly the whole square lies in the cell of v.
    if (own >= 0 && v - kReach >= first[static_cast<std::size_t>(own)]) {
        low = own;
    } else {
        low = Of(std::max(v - kReach, -kReach));
        if (low < 0) low = kCells;
    }
    if (own >= 0 && v + kReach < first[static_cast<std::size_t>(own) + 1])
        high = own;
    else
        high = Of(std::min(v + kReach, size + kReach / 2));
}

HoverPickCache::Topology& HoverPickCache::TopologyOf(const CVertexMng& tin)
{
    const auto found = std::find_if(m_topologies.begin(), m_topologies.end(),
                                    [&](const std::unique_ptr<Topology>& t) { return t->store == &tin; });
    Topology* topology = found != m_topologies.end() ? found->get() : nullptr;
    if (topology == nullptr) topology = m_topologies.emplace_back(std::make_unique<Topology>()).get();
    if (topology->store != &tin || topology->revision != tin.TinRevision() ||
        topology->vertexCount != tin.m_vertices.size() || topology->triangleCount != tin.m_triangles.size() ||
        topology->triangles != tin.m_triangles.data())
        BuildTopology(tin, *topology);
    topology->used = true;
    return *topology;
}

void HoverPickCache::BuildTopology(const CVertexMng& tin, Topology& topology)
{
    ++m_topologyBuilds;
    const std::size_t vertexCount = tin.m_vertices.size();
    topology.store = &tin;
    topology.revision = tin.TinRevision();
    topology.vertexCount = vertexCount;
    topology.triangleCount = tin.m_triangles.size();
    topology.triangles = tin.m_triangles.data();
    topology.order.clear();
    topology.ends.clear();
    topology.triangle.clear();
    topology.side.clear();

    // Per smaller corner, the larger corners already met (a short list).
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
    std::vector<std::uint32_t>& place = m_scratchPosition;
    place.assign(vertexCount, kNotMet);
    topology.order.reserve(vertexCount);
    topology.ends.reserve(start.back());
    topology.triangle.reserve(start.back());
    topology.side.reserve(start.back());

    for (std::size_t t = 0; t < tin.m_triangles.size(); ++t) {
        const CIndexedTriangle& tri = tin.m_triangles[t];
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t v = tri[k];
            if (v < vertexCount && place[v] == kNotMet) {
                place[v] = static_cast<std::uint32_t>(topology.order.size());
                topology.order.push_back(v);
            }
        }
        for (int k = 0; k < 3; ++k) {
            const std::uint32_t a = tri[k], b = tri[(k + 1) % 3];
            if (a == b || a >= vertexCount || b >= vertexCount) continue;
            const std::uint32_t lo = std::min(a, b), hi = std::max(a, b);
            std::uint32_t* first = taken.data() + start[lo];
            std::uint32_t* last = first + fill[lo];
            if (std::find(first, last, hi) != last) continue;
            *last = hi;
            ++fill[lo];
            topology.ends.push_back({place[lo], place[hi]});
            topology.triangle.push_back(static_cast<std::int32_t>(t));
            topology.side.push_back(static_cast<std::uint8_t>(k));
        }
    }
}

void HoverPickCache::Project(const CVertexMng& tin, const ScreenProjector& projector, std::uint8_t kind,
                             std::int32_t group, Layer& layer, std::size_t begin, std::size_t end,
                             std::uint16_t* boxes) const
{
    const std::uint32_t* order = layer.topology->order.data();
    const CVertexMng::Vertex* source = tin.m_vertices.data();
    Vertex* vertices = layer.vertices.data();
    Spot* spots = layer.spots.data();
    const double height = m_height;
    // The projection alone first, a tight loop; then the cells.
    for (std::size_t i = begin; i < end; ++i) {
        const CVertexMng::Vertex& v = source[order[i]];
        ScreenProjector::Window w;
        // Behind the eye or outside the depth range: not hoverable.
        const bool shown = projector.ProjectUser(v.x, v.y, v.z, w) && w.depth >= 0.0 && w.depth <= 1.0;
        Vertex& out = vertices[i];
        out.x = w.x;
        out.y = height - w.y;
        out.depth = w.depth;
        out.kind = kind;
        out.group = group;
        out.index = static_cast<std::int32_t>(order[i]);
        out.hasHeight = static_cast<std::uint8_t>(IsUnsetValue(v.z) ? 0 : 1);
        spots[i].visible = static_cast<std::uint8_t>(shown ? 1 : 0);
    }
    for (std::size_t i = begin; i < end; ++i) {
        Spot& s = spots[i];
        boxes[i] = kNoCells;
        if (s.visible == 0) continue;
        const Vertex& out = vertices[i];
        s.where = Where(out.x, out.y);
        int low = 0, col = 0, high = 0;
        m_columns.Span(out.x, low, col, high);
        s.loCol = static_cast<std::int8_t>(low);
        s.hiCol = static_cast<std::int8_t>(high);
        int row = 0;
        m_rows.Span(out.y, low, row, high);
        s.loRow = static_cast<std::int8_t>(low);
        s.hiRow = static_cast<std::int8_t>(high);
        if (col >= 0 && row >= 0) boxes[i] = Box(col, col, row, row);
    }
}

void HoverPickCache::AddStore(const CVertexMng& tin, const ScreenProjector& projector, std::uint8_t kind,
                              std::int32_t group)
{
    if (m_width <= 0 || m_height <= 0 || tin.m_triangles.empty()) return;
    const Topology& topology = TopologyOf(tin);
    if (m_layers.size() <= m_layerCount) m_layers.emplace_back();
    Layer& layer = m_layers[m_layerCount++];
    layer.topology = &topology;
    // Every vertex projected once and filed in its cell, in parallel, with the
    // cells its hover square reaches worked out here rather than per edge.
    layer.vertices.resize(topology.order.size());
    layer.spots.resize(topology.order.size());
    m_vertexCount += FileByCell(
        topology.order.size(),
        [&](std::size_t begin, std::size_t end, CellBox* boxes) {
            Project(tin, projector, kind, group, layer, begin, end, boxes);
        },
        layer.boxes, layer.vertexStart, layer.vertexItems);

    // Each edge in the cells of its box grown by the reach.
    const std::vector<Spot>& spots = layer.spots;
    const std::vector<Vertex>& vertices = layer.vertices;
    const std::vector<std::array<std::uint32_t, 2>>& ends = topology.ends;
    m_edgeCount += FileByCell(
        ends.size(),
        [&](std::size_t begin, std::size_t end, CellBox* boxes) {
            for (std::size_t e = begin; e < end; ++e) {
                const std::uint32_t p1 = ends[e][0], p2 = ends[e][1];
                const Spot& s1 = spots[p1];
                const Spot& s2 = spots[p2];
                boxes[e] = kNoCells;
                if (s1.visible == 0 || s2.visible == 0) continue;
                const int c0 = std::min(s1.loCol, s2.loCol), c1 = std::max(s1.hiCol, s2.hiCol);
                const int r0 = std::min(s1.loRow, s2.loRow), r1 = std::max(s1.hiRow, s2.hiRow);
                if (c0 >= kCells || c1 < 0 || r0 >= kCells || r1 < 0) continue;
                // A zero-length edge on screen has no foot point.
                if (s1.where == s2.where && vertices[p1].x == vertices[p2].x && vertices[p1].y == vertices[p2].y)
                    continue;
                boxes[e] = Box(c0, c1, r0, r1);
            }
        },
        layer.boxes, layer.edgeStart, layer.edgeItems);
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
    // Row by row from the top-left cell, each cell store by store: the order
    // that settles ties.
    for (int r = r0; r <= r1; ++r)
        for (int c = c0; c <= c1; ++c) {
            const auto cell = static_cast<std::size_t>(r * kCells + c);
            for (std::size_t l = 0; l < m_layerCount; ++l) {
                const Layer& layer = m_layers[l];
                for (std::size_t k = layer.vertexStart[cell]; k < layer.vertexStart[cell + 1]; ++k) {
                    const Vertex& v = layer.vertices[layer.vertexItems[k]];
                    if (std::fabs(px - v.x) < kReach && std::fabs(py - v.y) < kReach &&
                        (best == nullptr || v.depth < best->depth))
                        best = &v;
                }
            }
        }
    return best;
}

HoverPickCache::Edge HoverPickCache::MakeEdge(const Layer& layer, std::uint32_t edge) const
{
    const Topology& topology = *layer.topology;
    const Vertex& a = layer.vertices[topology.ends[edge][0]];
    const Vertex& b = layer.vertices[topology.ends[edge][1]];
    return Edge{a.index,         b.index, a.kind, a.group, topology.triangle[edge], topology.side[edge],
                a.x,             a.y,     a.depth, b.x,    b.y,                    b.depth};
}

std::optional<HoverPickCache::Edge> HoverPickCache::FindEdge(double px, double py) const
{
    const int c = CellColumn(px), r = CellRow(py);
    if (c < 0 || r < 0) return std::nullopt;
    const auto cell = static_cast<std::size_t>(r * kCells + c);
    const Layer* bestLayer = nullptr;
    std::uint32_t best = 0;
    double bestDepth = std::numeric_limits<double>::infinity();
    for (std::size_t l = 0; l < m_layerCount; ++l) {
        const Layer& layer = m_layers[l];
        const std::vector<std::array<std::uint32_t, 2>>& ends = layer.topology->ends;
        for (std::size_t k = layer.edgeStart[cell]; k < layer.edgeStart[cell + 1]; ++k) {
            const std::uint32_t number = layer.edgeItems[k];
            const Vertex& a = layer.vertices[ends[number][0]];
            const Vertex& b = layer.vertices[ends[number][1]];
            if (std::min(a.x, b.x) - px > kReach || px - std::max(a.x, b.x) > kReach ||
                std::min(a.y, b.y) - py > kReach || py - std::max(a.y, b.y) > kReach)
                continue;
            const double dx = b.x - a.x, dy = b.y - a.y;
            const double t = ((px - a.x) * dx + (py - a.y) * dy) / (dx * dx + dy * dy);
            if (!(t >= 0.0 && t <= 1.0)) continue;
            const double fx = a.x + t * dx - px, fy = a.y + t * dy - py;
            if (fx * fx + fy * fy > kReach * kReach) continue;
            const double depth = a.depth + (b.depth - a.depth) * t;
            if (bestLayer == nullptr || depth < bestDepth) {
                bestLayer = &layer;
                best = number;
                bestDepth = depth;
            }
        }
    }
    if (bestLayer == nullptr) return std::nullopt;
    return MakeEdge(*bestLayer, best);
}
