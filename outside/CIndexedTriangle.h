#pragma once

#include <cstdint>

// One TIN triangle of a vertex store: three corner indices into that store's
// vertices (counter-clockwise in plan), then the neighbour across each edge and a
// flag word. 28 bytes in memory; files keep only the three indices (12 bytes).
class CIndexedTriangle {
public:
    static constexpr std::int32_t kNoNeighbour = -1;

    CIndexedTriangle() = default;
    CIndexedTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c) : m_idx{a, b, c} {}

    std::uint32_t operator[](int k) const { return m_idx[k]; }
    std::uint32_t& operator[](int k) { return m_idx[k]; }
    bool HasCorner(std::uint32_t v) const { return m_idx[0] == v || m_idx[1] == v || m_idx[2] == v; }

    std::uint32_t m_idx[3] = {0, 0, 0};
    // Triangle across edge k (corner k to corner k + 1), or kNoNeighbour; kept by
    // the mesh generator, not by edits (they reset it).
    std::int32_t m_adj[3] = {kNoNeighbour, kNoNeighbour, kNoNeighbour};
    std::uint32_t m_flags = 0;
};

static_assert(sizeof(CIndexedTriangle) == 28, "triangle records are 28 bytes");
