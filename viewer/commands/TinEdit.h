#pragma once

// The three TIN edits of the main view, on one vertex store and its triangles:
// removing a vertex (the hole meshed again), swapping the diagonal of two
// triangles, and erasing a triangle. They match vertices by position, because a
// re-mesh appends new vertices at the positions of old ones. Each calls
// `beforeChange` once, just before its first change (the caller writes its undo
// snapshot there), and not at all when nothing changes. No locking here.

#include "outside/CVertexMng.h"

#include <cstdint>
#include <functional>

class XTinOption;

namespace tinedit {

using BeforeChange = std::function<void()>;

// Two vertices are one point when x, y and z each differ by less than 1e-6.
bool SamePosition(const CVertexMng::Vertex& a, const CVertexMng::Vertex& b);

// 1 when some triangle has corners at the positions of both vertices a and b;
// 0 otherwise or for an index out of range.
int TinEdgeExists(const CVertexMng& store, std::int64_t a, std::int64_t b);

// Flips edge `edge` (0..2, corner edge to corner edge + 1) of triangle t with
// the triangle across it. Only a strictly convex quadrilateral is flipped: the
// opposite corners lie strictly on either side of the edge and the edge's ends
// strictly on either side of the new diagonal, in plan; a new diagonal that
// exists already is refused too. The two new triangles list their corners in
// ascending index order and come last. Returns 1 when flipped.
int SwapTinEdge(CVertexMng& store, std::int64_t t, int edge, const BeforeChange& beforeChange = {});

struct VertexRemoval {
    int removed = 0;  // triangles that touched the vertex's position
    int added = 0;    // triangles of the new mesh of the hole
};

// Removes every triangle touching the position of vertex v and meshes the hole
// from their other corners with the TIN generator under the given options. The
// new triangles stay inside the area the removed ones covered: with a hole that
// is not convex no triangle is laid over its surroundings. Fewer than three
// neighbours, or a mesh that fails, leave the hole open. New vertices are
// appended; the chunks are not rebuilt (the caller does when it redraws).
VertexRemoval RemoveTinVertex(CVertexMng& store, std::int64_t v, const XTinOption& option,
                              const BeforeChange& beforeChange = {});

// Erases triangle t, keeping the order of the others. Returns 1 when erased.
int EraseTinTriangle(CVertexMng& store, std::int64_t t, const BeforeChange& beforeChange = {});

} // namespace tinedit
