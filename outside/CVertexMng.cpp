#include "outside/CVertexMng.h"

#include "outside/GridBuilder.h"
#include "outside/StoreMarkers.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <new>
#include <tuple>

namespace {

// Vertices a chunk holds on average: small enough that picking skips most of a
// large TIN, large enough that the chunk list stays short.
constexpr std::size_t kVerticesPerChunk = 256;
constexpr std::size_t kMaxChunks = 65536;

// Vertices without elevation (z 1e-7) or a NaN z take no part in the z bounds.
bool HasElevation(float z)
{
    return !std::isnan(z) && z != kNoElevationZ;
}

} // namespace

int CVertexMng::AddVertex(float x, float y, float z)
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return 0;
    if (std::isnan(z))
        z = kNoElevationZ;
    const bool first = m_vertices.empty();
    try {
        m_vertices.push_back({x, y, z});
    } catch (const std::bad_alloc&) {
        return 0;
    }
    if (first) {
        m_vMin[0] = m_vMax[0] = x;
        m_vMin[1] = m_vMax[1] = y;
        m_vMin[2] = m_vMax[2] = HasElevation(z) ? z : 0.0f;
        return 1;
    }
    m_vMin[0] = std::min(m_vMin[0], x);
    m_vMax[0] = std::max(m_vMax[0], x);
    m_vMin[1] = std::min(m_vMin[1], y);
    m_vMax[1] = std::max(m_vMax[1], y);
    if (HasElevation(z)) {
        m_vMin[2] = std::min(m_vMin[2], z);
        m_vMax[2] = std::max(m_vMax[2], z);
    }
    return 1;
}

int CVertexMng::GetVertexVal(std::int64_t i, float& x, float& y, float& z) const
{
    if (i < 0 || static_cast<std::uint64_t>(i) >= m_vertices.size())
        return 0;
    const Vertex& v = m_vertices[static_cast<std::size_t>(i)];
    x = v.x;
    y = v.y;
    z = v.z;
    return 1;
}

void CVertexMng::ClearVertex()
{
    m_vertices.clear();
    m_vertices.shrink_to_fit();
    m_triangles.clear();
    m_triangles.shrink_to_fit();
    m_vertexChunks.clear();
    RecomputeVertexBounds();
    TinChanged();
}

void CVertexMng::RecomputeVertexBounds()
{
    m_vMin[0] = m_vMin[1] = m_vMin[2] = 0.0f;
    m_vMax[0] = m_vMax[1] = m_vMax[2] = 0.0f;
    bool any = false;
    bool anyZ = false;
    for (const Vertex& v : m_vertices) {
        if (!any) {
            m_vMin[0] = m_vMax[0] = v.x;
            m_vMin[1] = m_vMax[1] = v.y;
            any = true;
        }
        m_vMin[0] = std::min(m_vMin[0], v.x);
        m_vMax[0] = std::max(m_vMax[0], v.x);
        m_vMin[1] = std::min(m_vMin[1], v.y);
        m_vMax[1] = std::max(m_vMax[1], v.y);
        if (HasElevation(v.z)) {
            if (!anyZ) {
                m_vMin[2] = m_vMax[2] = v.z;
                anyZ = true;
            }
            m_vMin[2] = std::min(m_vMin[2], v.z);
            m_vMax[2] = std::max(m_vMax[2], v.z);
        }
    }
}

void CVertexMng::CreateGrid()
{
    RecomputeVertexBounds();
    static_assert(sizeof(Vertex) == 3 * sizeof(float));
    try {
        m_vertexChunks = BuildPlanGrid(m_vertices.size(), m_vertices.empty() ? nullptr : &m_vertices[0].x, 3,
                                       kVerticesPerChunk, kMaxChunks);
    } catch (const std::bad_alloc&) {
        m_vertexChunks.clear();
    }
}

int CVertexMng::CompactTin()
{
    const std::size_t n = m_vertices.size();
    // Merge vertices at the same position onto the first of them.
    std::vector<std::uint32_t> target(n);
    {
        // Sorted by bit patterns, which order totally whatever the values; equal
        // patterns form runs whose first (smallest) index they all map to.
        struct Keyed {
            std::uint32_t x, y, z, index;
        };
        std::vector<Keyed> keyed(n);
        for (std::size_t i = 0; i < n; ++i) {
            const Vertex& v = m_vertices[i];
            keyed[i] = {std::bit_cast<std::uint32_t>(v.x), std::bit_cast<std::uint32_t>(v.y),
                        std::bit_cast<std::uint32_t>(v.z), static_cast<std::uint32_t>(i)};
        }
        std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
            return std::tie(a.x, a.y, a.z, a.index) < std::tie(b.x, b.y, b.z, b.index);
        });
        for (std::size_t i = 0; i < n;) {
            std::size_t j = i;
            for (; j < n && keyed[j].x == keyed[i].x && keyed[j].y == keyed[i].y && keyed[j].z == keyed[i].z; ++j)
                target[keyed[j].index] = keyed[i].index;
            i = j;
        }
    }
    // Keep triangles whose corners are valid and distinct after merging.
    std::vector<CIndexedTriangle> kept;
    kept.reserve(m_triangles.size());
    std::vector<std::uint8_t> used(n, 0);
    for (const CIndexedTriangle& t : m_triangles) {
        if (t.m_idx[0] >= n || t.m_idx[1] >= n || t.m_idx[2] >= n)
            continue;
        CIndexedTriangle m(target[t.m_idx[0]], target[t.m_idx[1]], target[t.m_idx[2]]);
        if (m.m_idx[0] == m.m_idx[1] || m.m_idx[1] == m.m_idx[2] || m.m_idx[0] == m.m_idx[2])
            continue;
        m.m_flags = t.m_flags;
        used[m.m_idx[0]] = used[m.m_idx[1]] = used[m.m_idx[2]] = 1;
        kept.push_back(m);
    }
    // Renumber the used vertices in their order.
    std::vector<std::uint32_t> newIndex(n, 0);
    std::vector<Vertex> vertices;
    vertices.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (used[i]) {
            newIndex[i] = static_cast<std::uint32_t>(vertices.size());
            vertices.push_back(m_vertices[i]);
        }
    }
    for (CIndexedTriangle& t : kept)
        for (std::uint32_t& v : t.m_idx)
            v = newIndex[v];
    const int dropped = static_cast<int>(n - vertices.size());
    m_vertices = std::move(vertices);
    m_triangles = std::move(kept);
    TinChanged();
    CreateGrid();
    return dropped;
}
