#pragma once

#include "outside/ChangeStamp.h"
#include "outside/CIndexedTriangle.h"
#include "outside/GridCell.h"

#include <cstdint>
#include <vector>

// A TIN store: vertices as float user coordinates, the triangles over them, and a
// plan grid of vertex chunks (index lists with boxes) for picking. Also the base of
// a point-cloud group, whose TIN it holds.
class CVertexMng {
public:
    struct Vertex {
        float x;
        float y;
        float z;
    };

    CVertexMng() = default;
    virtual ~CVertexMng() = default;
    CVertexMng(const CVertexMng&) = default;
    CVertexMng& operator=(const CVertexMng&) = default;
    CVertexMng(CVertexMng&&) noexcept = default;
    CVertexMng& operator=(CVertexMng&&) noexcept = default;

    // Appends a vertex; its index is GetVertexSize() - 1. Returns 1, or 0 (nothing
    // added) for a non-finite x or y; a NaN z is stored as no elevation (1e-7).
    int AddVertex(float x, float y, float z);
    int GetVertexSize() const { return static_cast<int>(m_vertices.size()); }
    // 1 and the vertex, or 0 (outputs untouched) for an index out of range.
    int GetVertexVal(std::int64_t i, float& x, float& y, float& z) const;
    // Removes the vertices, the triangles and the chunks.
    void ClearVertex();
    // Removes the TIN: triangles and vertices (the chunks go with them).
    void DeleteMeash() { ClearVertex(); }
    void ReserveVertex(std::size_t n) { m_vertices.reserve(n); }

    // Rebuilds the vertex chunks and the vertex bounds from the current vertices.
    void CreateGrid();

    int GetTriangleCount() const { return static_cast<int>(m_triangles.size()); }
    // Drops triangles with a corner out of range, then vertices no triangle uses,
    // renumbering the rest in their order; rebuilds the chunks. Returns the number
    // of vertices dropped.
    int CompactTin();

    // A number that changes whenever the triangles may have changed (never the
    // same for two objects): caches of what only the triangles give compare it,
    // together with the vertex count, which AddVertex changes without a new number.
    // ClearVertex, CompactTin, copies and moves change it; code that edits
    // m_triangles directly calls TinChanged() after the edit.
    std::uint64_t TinRevision() const { return m_tinStamp.Value(); }
    void TinChanged() { m_tinStamp.Renew(); }

    // Vertex bounds, kept by AddVertex and CreateGrid; 0 when there are no vertices.
    float GetVertexMinX() const { return m_vMin[0]; }
    float GetVertexMinY() const { return m_vMin[1]; }
    float GetVertexMinZ() const { return m_vMin[2]; }
    float GetVertexMaxX() const { return m_vMax[0]; }
    float GetVertexMaxY() const { return m_vMax[1]; }
    float GetVertexMaxZ() const { return m_vMax[2]; }
    // The same vertex bounds under the names a vertex set is read by. CPCloudMng
    // hides these with its point bounds: through a CVertexMng reference (or
    // group->CVertexMng::GetPCloudMinX()) a group gives its TIN's box.
    float GetPCloudMinX() const { return m_vMin[0]; }
    float GetPCloudMinY() const { return m_vMin[1]; }
    float GetPCloudMinZ() const { return m_vMin[2]; }
    float GetPCloudMaxX() const { return m_vMax[0]; }
    float GetPCloudMaxY() const { return m_vMax[1]; }
    float GetPCloudMaxZ() const { return m_vMax[2]; }

    std::vector<Vertex> m_vertices;
    std::vector<CIndexedTriangle> m_triangles;
    // Grid of the vertices; rebuilt by CreateGrid, emptied by ClearVertex.
    std::vector<GridCell> m_vertexChunks;
    // Stored unchanged with the TIN in model files.
    std::int32_t m_tinValue1 = 0;
    std::int32_t m_tinValue2 = 0;

protected:
    void RecomputeVertexBounds();

private:
    float m_vMin[3] = {0.0f, 0.0f, 0.0f};
    float m_vMax[3] = {0.0f, 0.0f, 0.0f};
    ChangeStamp m_tinStamp;
};
