#include "viewer/commands/TinEdit.h"

#include "outside/CCalcTIN.h"
#include "outside/GeoFunc.h"
#include "outside/MTRX.h"
#include "outside/OutsideTypes.h"
#include "outside/POLY.h"
#include "outside/RECTX.h"
#include "outside/StoreMarkers.h"
#include "outside/XTinOption.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace tinedit {

namespace {

constexpr float kSameTolerance = 1e-6f;

bool VertexAt(const CVertexMng& store, std::int64_t i, CVertexMng::Vertex& out)
{
    return store.GetVertexVal(i, out.x, out.y, out.z) != 0;
}

// Inline here: the edits compare every corner of a large TIN with it.
inline bool Coincide(const CVertexMng::Vertex& a, const CVertexMng::Vertex& b)
{
    return std::fabs(a.x - b.x) < kSameTolerance && std::fabs(a.y - b.y) < kSameTolerance &&
           std::fabs(a.z - b.z) < kSameTolerance;
}

PT Plan(const CVertexMng::Vertex& v)
{
    return PT(v.x, v.y, v.z);
}

bool TriangleValid(const CVertexMng& store, const CIndexedTriangle& tri)
{
    const auto n = static_cast<std::uint32_t>(store.GetVertexSize());
    return tri[0] < n && tri[1] < n && tri[2] < n;
}

bool CornerAt(const CVertexMng& store, const CIndexedTriangle& tri, int k, const CVertexMng::Vertex& p)
{
    return Coincide(store.m_vertices[tri[k]], p);
}

bool TouchesPosition(const CVertexMng& store, const CIndexedTriangle& tri, const CVertexMng::Vertex& p)
{
    return CornerAt(store, tri, 0, p) || CornerAt(store, tri, 1, p) || CornerAt(store, tri, 2, p);
}

void Notify(const BeforeChange& beforeChange)
{
    if (beforeChange)
        beforeChange();
}

// The plan triangles the hole may be filled within.
struct Hole {
    std::vector<std::array<PT, 3>> pieces;

    bool Covers(const PT& p) const
    {
        for (const auto& t : pieces) {
            const int s0 = PlanOrientation(t[0], t[1], p);
            const int s1 = PlanOrientation(t[1], t[2], p);
            const int s2 = PlanOrientation(t[2], t[0], p);
            const bool hasLeft = s0 > 0 || s1 > 0 || s2 > 0;
            const bool hasRight = s0 < 0 || s1 < 0 || s2 < 0;
            if (!(hasLeft && hasRight))
                return true;
        }
        return false;
    }
};

} // namespace

bool SamePosition(const CVertexMng::Vertex& a, const CVertexMng::Vertex& b)
{
    return Coincide(a, b);
}

int TinEdgeExists(const CVertexMng& store, std::int64_t a, std::int64_t b)
{
    CVertexMng::Vertex pa{}, pb{};
    if (!VertexAt(store, a, pa) || !VertexAt(store, b, pb))
        return 0;
    for (const CIndexedTriangle& tri : store.m_triangles) {
        if (!TriangleValid(store, tri))
            continue;
        int matches = 0;
        for (int k = 0; k < 3; ++k) {
            matches += CornerAt(store, tri, k, pa) ? 1 : 0;
            matches += CornerAt(store, tri, k, pb) ? 1 : 0;
        }
        if (matches > 1)
            return 1;
    }
    return 0;
}

int SwapTinEdge(CVertexMng& store, std::int64_t t, int edge, const BeforeChange& beforeChange)
{
    auto& tris = store.m_triangles;
    if (t < 0 || static_cast<std::uint64_t>(t) >= tris.size() || edge < 0 || edge > 2)
        return 0;
    const CIndexedTriangle held = tris[static_cast<std::size_t>(t)];
    if (!TriangleValid(store, held))
        return 0;
    const std::uint32_t a = held[edge];
    const std::uint32_t b = held[(edge + 1) % 3];
    const std::uint32_t c = held[(edge + 2) % 3];
    const CVertexMng::Vertex pa = store.m_vertices[a];
    const CVertexMng::Vertex pb = store.m_vertices[b];
    const PT planA = Plan(pa), planB = Plan(pb), planC = Plan(store.m_vertices[c]);

    for (std::size_t i = 0; i < tris.size(); ++i) {
        const CIndexedTriangle& other = tris[i];
        if (i == static_cast<std::size_t>(t) || !TriangleValid(store, other))
            continue;
        int atA = -1, atB = -1;
        for (int k = 0; k < 3; ++k) {
            if (atA < 0 && CornerAt(store, other, k, pa))
                atA = k;
            else if (atB < 0 && CornerAt(store, other, k, pb))
                atB = k;
        }
        if (atA < 0 || atB < 0)
            continue;
        const std::uint32_t far = other[3 - atA - atB];
        if (far == c)
            continue;
        const PT planFar = Plan(store.m_vertices[far]);
        // Opposite corners strictly apart across a-b, and a, b strictly apart
        // across the new diagonal: anything else would overlap or flatten.
        const bool convex = PlanOrientation(planA, planB, planC) * PlanOrientation(planA, planB, planFar) < 0 &&
                            PlanOrientation(planC, planFar, planA) * PlanOrientation(planC, planFar, planB) < 0;
        if (!convex || TinEdgeExists(store, c, far))
            continue;

        Notify(beforeChange);
        const std::size_t hi = std::max<std::size_t>(i, static_cast<std::size_t>(t));
        const std::size_t lo = std::min<std::size_t>(i, static_cast<std::size_t>(t));
        tris.erase(tris.begin() + static_cast<std::ptrdiff_t>(hi));
        tris.erase(tris.begin() + static_cast<std::ptrdiff_t>(lo));
        for (std::array<std::uint32_t, 3> corners : {std::array<std::uint32_t, 3>{a, c, far},
                                                      std::array<std::uint32_t, 3>{b, c, far}}) {
            std::sort(corners.begin(), corners.end());
            tris.emplace_back(corners[0], corners[1], corners[2]);
        }
        store.TinChanged();
        return 1;
    }
    return 0;
}

VertexRemoval RemoveTinVertex(CVertexMng& store, std::int64_t v, const XTinOption& option,
                              const BeforeChange& beforeChange)
{
    VertexRemoval result;
    CVertexMng::Vertex p{};
    if (!VertexAt(store, v, p))
        return result;

    auto& tris = store.m_triangles;
    std::vector<std::uint32_t> neighbours;
    Hole hole;
    std::vector<std::vector<PT>> outline;
    auto kept = tris.begin();
    for (auto it = tris.begin(); it != tris.end(); ++it) {
        if (!TriangleValid(store, *it) || !TouchesPosition(store, *it, p)) {
            if (kept != it)
                *kept = *it;
            ++kept;
            continue;
        }
        if (result.removed++ == 0)
            Notify(beforeChange);
        std::array<PT, 3> piece;
        std::vector<PT> rim;
        for (int k = 0; k < 3; ++k) {
            piece[k] = Plan(store.m_vertices[(*it)[k]]);
            if (!CornerAt(store, *it, k, p)) {
                neighbours.push_back((*it)[k]);
                rim.push_back(piece[k]);
            }
        }
        hole.pieces.push_back(piece);
        if (rim.size() == 2)
            outline.push_back(std::move(rim));
    }
    tris.erase(kept, tris.end());
    if (result.removed != 0)
        store.TinChanged();

    std::sort(neighbours.begin(), neighbours.end());
    neighbours.erase(std::unique(neighbours.begin(), neighbours.end()), neighbours.end());
    if (neighbours.size() < 3)
        return result;

    double minX = std::numeric_limits<double>::max(), minY = minX;
    double maxX = std::numeric_limits<double>::lowest(), maxY = maxX;
    for (std::uint32_t n : neighbours) {
        const auto& q = store.m_vertices[n];
        minX = std::min<double>(minX, q.x);
        minY = std::min<double>(minY, q.y);
        maxX = std::max<double>(maxX, q.x);
        maxY = std::max<double>(maxY, q.y);
    }

    CCalcTIN tin;
    tin.Init();
    tin.SetPolyRdcsplMode(option.m_nPolyRdcsplMode);
    // The rim of the hole is kept as edges, so no new triangle crosses it.
    tin.SetConsiderBreakLineSw(1);
    tin.SetRemoveExcessiveTriangle(option.m_nRemoveExcessiveTriangleSw, option.m_dExcessiveTriangleLength);
    tin.SetPUMtrx(MTRX());
    tin.SetCalcRect(RECTX(minX, minY, maxX, maxY));
    for (std::uint32_t n : neighbours) {
        const auto& q = store.m_vertices[n];
        tin.SetCalcPtEx(PT(q.x, q.y, q.z), n, kUnsetDouble);
    }
    for (const auto& rim : outline)
        tin.AddBreakLine(rim);
    if (tin.DoCalc(nullptr, 1) == 0)
        return result;

    POLY mesh;
    for (int k = 0; k < tin.GetMeshCount(); ++k) {
        if (tin.GetMesh(k, mesh) == 0 || mesh.GetCount() != 4)
            continue;
        const PT centre((mesh[0].x() + mesh[1].x() + mesh[2].x()) / 3.0,
                        (mesh[0].y() + mesh[1].y() + mesh[2].y()) / 3.0);
        if (!hole.Covers(centre))
            continue;
        std::array<std::uint32_t, 3> corners{};
        bool added = true;
        for (int j = 0; j < 3 && added; ++j) {
            added = store.AddVertex(static_cast<float>(mesh[j].x()), static_cast<float>(mesh[j].y()),
                                    static_cast<float>(mesh[j].z())) != 0;
            corners[j] = static_cast<std::uint32_t>(store.GetVertexSize() - 1);
        }
        if (!added)
            continue;
        tris.emplace_back(corners[0], corners[1], corners[2]);
        store.TinChanged();
        ++result.added;
    }
    return result;
}

int EraseTinTriangle(CVertexMng& store, std::int64_t t, const BeforeChange& beforeChange)
{
    auto& tris = store.m_triangles;
    if (t < 0 || static_cast<std::uint64_t>(t) >= tris.size())
        return 0;
    Notify(beforeChange);
    tris.erase(tris.begin() + static_cast<std::ptrdiff_t>(t));
    store.TinChanged();
    return 1;
}

} // namespace tinedit
