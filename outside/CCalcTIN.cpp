#include "outside/CCalcTIN.h"

#include "outside/StoreMarkers.h"

#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Projection_traits_xy_3.h>
#include <CGAL/Triangulation_face_base_with_info_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <unordered_map>

namespace {

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using Traits = CGAL::Projection_traits_xy_3<Kernel>;
using Point3 = Kernel::Point_3;

constexpr std::uint32_t kNewVertex = 0xFFFFFFFFu;

// Position of a vertex's point in the accepted order; vertices the triangulation
// makes itself (constraint crossings) start as kNewVertex.
struct VertexId {
    std::uint32_t id = kNewVertex;
    VertexId() = default;
    VertexId(std::uint32_t i) : id(i) {}
};

using Vb = CGAL::Triangulation_vertex_base_with_info_2<std::uint32_t, Traits>;
using DtTds = CGAL::Triangulation_data_structure_2<Vb>;
using Delaunay = CGAL::Delaunay_triangulation_2<Traits, DtTds>;

using CVb = CGAL::Triangulation_vertex_base_with_info_2<VertexId, Traits>;
using CFb = CGAL::Constrained_triangulation_face_base_2<Traits>;
using CTds = CGAL::Triangulation_data_structure_2<CVb, CFb>;
using Constrained = CGAL::Constrained_Delaunay_triangulation_2<Traits, CTds, CGAL::Exact_predicates_tag>;

struct ReductionMode {
    const char* text;
    int level;
    double toleranceM;
};

// Thinning of break-line polylines: points closer than the tolerance to the line
// through their neighbours are dropped (Douglas-Peucker).
constexpr ReductionMode kReductionModes[] = {
    {"間引きなし", 0, 0.0},
    {"間引き 1cm", 1, 0.01},
    {"間引き 5cm", 2, 0.05},
    {"間引き 10cm", 3, 0.10},
    {"間引き 50cm", 4, 0.50},
};

void Simplify(const std::vector<PT>& in, double tol, std::size_t first, std::size_t last, std::vector<std::uint8_t>& keep)
{
    if (last <= first + 1)
        return;
    const PT& a = in[first];
    const PT& b = in[last];
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double len = std::hypot(dx, dy);
    double worst = -1.0;
    std::size_t at = first;
    for (std::size_t i = first + 1; i < last; ++i) {
        const double d = len > 0.0 ? std::fabs(dx * (in[i].y() - a.y()) - dy * (in[i].x() - a.x())) / len
                                   : in[i].Length2D(a);
        if (d > worst) {
            worst = d;
            at = i;
        }
    }
    if (worst > tol) {
        keep[at] = 1;
        Simplify(in, tol, first, at, keep);
        Simplify(in, tol, at, last, keep);
    }
}

std::vector<PT> Thin(const std::vector<PT>& line, double tol)
{
    if (tol <= 0.0 || line.size() < 3)
        return line;
    std::vector<std::uint8_t> keep(line.size(), 0);
    keep.front() = keep.back() = 1;
    Simplify(line, tol, 0, line.size() - 1, keep);
    std::vector<PT> out;
    for (std::size_t i = 0; i < line.size(); ++i)
        if (keep[i])
            out.push_back(line[i]);
    return out;
}

std::uint32_t& InfoId(std::uint32_t& id)
{
    return id;
}

std::uint32_t& InfoId(VertexId& v)
{
    return v.id;
}

bool TooLong(const PT& a, const PT& b, const PT& c, double maxEdge)
{
    return a.Length2D(b) > maxEdge || b.Length2D(c) > maxEdge || c.Length2D(a) > maxEdge;
}

} // namespace

CCalcTIN::CCalcTIN() = default;
CCalcTIN::~CCalcTIN() = default;

int CCalcTIN::GetPolyRdcsplModeCount()
{
    return static_cast<int>(std::size(kReductionModes));
}

std::string CCalcTIN::GetPolyRdcsplModeText(int index)
{
    if (index < 0 || index >= GetPolyRdcsplModeCount())
        return std::string();
    return kReductionModes[index].text;
}

int CCalcTIN::GetPolyRdcsplModeLevel(int index)
{
    if (index < 0 || index >= GetPolyRdcsplModeCount())
        return -1;
    return kReductionModes[index].level;
}

double CCalcTIN::ReductionTolerance(int level)
{
    for (const ReductionMode& m : kReductionModes)
        if (m.level == level)
            return m.toleranceM;
    return 0.0;
}

void CCalcTIN::Init()
{
    m_reductionLevel = 1;
    m_considerBreakLines = 0;
    m_removeLong = 0;
    m_maxEdge = 100.0;
    m_mtrx.Init();
    m_hasRect = false;
    m_rect = RECTX();
    m_points.clear();
    m_indices.clear();
    m_breakLines.clear();
    m_constraints.clear();
    m_triangles.clear();
}

void CCalcTIN::SetPolyRdcsplMode(int level)
{
    m_reductionLevel = level;
}

void CCalcTIN::SetConsiderBreakLineSw(int sw)
{
    m_considerBreakLines = sw;
}

void CCalcTIN::SetRemoveExcessiveTriangle(int sw, double maxEdgeLength)
{
    m_removeLong = sw;
    m_maxEdge = maxEdgeLength;
}

void CCalcTIN::SetPUMtrx(const MTRX& m)
{
    m_mtrx = m;
}

void CCalcTIN::SetCalcRect(const RECTX& r)
{
    m_rect = r;
    m_hasRect = true;
}

void CCalcTIN::ReservePoints(std::size_t n)
{
    m_points.reserve(n);
    m_indices.reserve(n);
}

int CCalcTIN::SetCalcPtEx(const PT& pt, std::int64_t index, double attr)
{
    PT p = pt;
    if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
        return 0;
    if (!std::isfinite(p.z()))
        p.Z() = kUnsetDouble;
    m_mtrx.XY(p);
    if (!std::isfinite(p.x()) || !std::isfinite(p.y()))
        return 0;
    if (m_hasRect && !m_rect.Contains(p.x(), p.y()))
        return 0;
    if (m_points.size() >= kNewVertex)
        return 0;
    (void)attr;
    m_points.push_back(p);
    m_indices.push_back(index);
    return 1;
}

void CCalcTIN::AddBreakLine(const std::vector<PT>& polyline)
{
    BreakLine line;
    for (PT p : polyline) {
        if (!p.IsFinite())
            continue;
        m_mtrx.XY(p);
        line.points.push_back(p);
    }
    if (line.points.size() >= 2)
        m_breakLines.push_back(std::move(line));
}

void CCalcTIN::AddConstraint(std::uint32_t a, std::uint32_t b)
{
    if (a != b)
        m_constraints.push_back({a, b});
}

int CCalcTIN::DoCalc(void* /*window*/, int /*mode*/, const OutsideProgressFn& progress)
{
    m_triangles.clear();
    m_cancelled = false;
    const auto carryOn = [this, &progress](double percent) {
        if (progress && !progress(percent))
            m_cancelled = true;
        return !m_cancelled;
    };
    if (!carryOn(0.0))
        return 0;
    try {
        const bool constrained = m_considerBreakLines != 0 && (!m_breakLines.empty() || !m_constraints.empty());
        const double maxEdge = m_removeLong != 0 && m_maxEdge > 0.0 ? m_maxEdge : -1.0;
        const auto pointAt = [this](std::size_t i) { return Point3(m_points[i].x(), m_points[i].y(), m_points[i].z()); };
        // The points with their positions, as the triangulation's vertex info.
        const auto input = [&](auto info) {
            std::vector<std::pair<Point3, decltype(info)>> pairs;
            pairs.reserve(m_points.size());
            for (std::size_t i = 0; i < m_points.size(); ++i)
                pairs.emplace_back(pointAt(i), decltype(info)(static_cast<std::uint32_t>(i)));
            return pairs;
        };

        // Of several points at one plan position the first given is kept: when the
        // triangulation holds fewer vertices than points, each vertex takes the
        // smallest position among the points at its place.
        auto firstAtPosition = [this](auto& tri) {
            if (tri.number_of_vertices() == m_points.size())
                return;
            struct Key {
                double x, y;
                bool operator==(const Key& o) const { return x == o.x && y == o.y; }
            };
            struct Hash {
                std::size_t operator()(const Key& k) const
                {
                    std::uint64_t a, b;
                    std::memcpy(&a, &k.x, 8);
                    std::memcpy(&b, &k.y, 8);
                    return std::hash<std::uint64_t>()(a * 0x9E3779B97F4A7C15ull ^ b);
                }
            };
            std::unordered_map<Key, std::uint32_t, Hash> first;
            first.reserve(m_points.size());
            for (std::size_t i = 0; i < m_points.size(); ++i)
                first.emplace(Key{m_points[i].x(), m_points[i].y()}, static_cast<std::uint32_t>(i));
            for (auto v = tri.finite_vertices_begin(); v != tri.finite_vertices_end(); ++v) {
                std::uint32_t& id = InfoId(v->info());
                if (id == kNewVertex)
                    continue;
                const auto it = first.find(Key{v->point().x(), v->point().y()});
                if (it != first.end())
                    id = it->second;
            }
        };

        if (!constrained) {
            const auto pairs = input(std::uint32_t{});
            Delaunay dt(pairs.begin(), pairs.end());
            if (!carryOn(80.0))
                return 0;
            if (dt.dimension() < 2)
                return 0;
            firstAtPosition(dt);
            m_triangles.reserve(dt.number_of_faces());
            for (auto f = dt.finite_faces_begin(); f != dt.finite_faces_end(); ++f) {
                const std::uint32_t a = f->vertex(0)->info();
                const std::uint32_t b = f->vertex(1)->info();
                const std::uint32_t c = f->vertex(2)->info();
                if (maxEdge > 0.0 && TooLong(m_points[a], m_points[b], m_points[c], maxEdge))
                    continue;
                m_triangles.push_back({a, b, c});
            }
        } else {
            Constrained cdt;
            {
                const auto pairs = input(VertexId{});
                cdt.insert(pairs.begin(), pairs.end());
            }
            if (!m_constraints.empty()) {
                // Each point's vertex, found once; a point that shares its plan
                // position with another has no vertex of its own and is looked up.
                std::vector<Constrained::Vertex_handle> vertexOf(m_points.size());
                for (auto v = cdt.finite_vertices_begin(); v != cdt.finite_vertices_end(); ++v)
                    if (v->info().id < vertexOf.size())
                        vertexOf[v->info().id] = v;
                const auto vertex = [&](std::uint32_t i) {
                    if (vertexOf[i] == Constrained::Vertex_handle())
                        vertexOf[i] = cdt.insert(pointAt(i));
                    return vertexOf[i];
                };
                for (const auto& [a, b] : m_constraints) {
                    if (a >= m_points.size() || b >= m_points.size())
                        continue;
                    const auto va = vertex(a);
                    const auto vb = vertex(b);
                    if (va != vb)
                        cdt.insert_constraint(va, vb);
                }
            }
            const double tol = ReductionTolerance(m_reductionLevel);
            for (const BreakLine& line : m_breakLines) {
                const std::vector<PT> thin = Thin(line.points, tol);
                for (std::size_t i = 0; i + 1 < thin.size(); ++i) {
                    const Point3 a(thin[i].x(), thin[i].y(), thin[i].z());
                    const Point3 b(thin[i + 1].x(), thin[i + 1].y(), thin[i + 1].z());
                    if (a.x() == b.x() && a.y() == b.y())
                        continue;
                    const auto va = cdt.insert(a);
                    const auto vb = cdt.insert(b);
                    if (va != vb)
                        cdt.insert_constraint(va, vb);
                }
            }
            if (!carryOn(80.0))
                return 0;
            if (cdt.dimension() < 2)
                return 0;
            // Vertices the break lines added (their ends and crossings) join the
            // point list with index -1.
            for (auto v = cdt.finite_vertices_begin(); v != cdt.finite_vertices_end(); ++v) {
                if (v->info().id != kNewVertex)
                    continue;
                v->info().id = static_cast<std::uint32_t>(m_points.size());
                m_points.emplace_back(v->point().x(), v->point().y(), v->point().z());
                m_indices.push_back(-1);
            }
            firstAtPosition(cdt);
            m_triangles.reserve(cdt.number_of_faces());
            for (auto f = cdt.finite_faces_begin(); f != cdt.finite_faces_end(); ++f) {
                const std::uint32_t a = f->vertex(0)->info().id;
                const std::uint32_t b = f->vertex(1)->info().id;
                const std::uint32_t c = f->vertex(2)->info().id;
                if (maxEdge > 0.0 && TooLong(m_points[a], m_points[b], m_points[c], maxEdge))
                    continue;
                m_triangles.push_back({a, b, c});
            }
        }
    } catch (const std::exception&) {
        m_triangles.clear();
        return 0;
    }
    if (!carryOn(100.0)) {
        m_triangles.clear();
        return 0;
    }
    return m_triangles.empty() ? 0 : 1;
}

int CCalcTIN::GetMeshCount() const
{
    return static_cast<int>(m_triangles.size());
}

int CCalcTIN::GetMesh(int k, POLY& poly) const
{
    if (k < 0 || k >= GetMeshCount())
        return 0;
    poly.Clear();
    const auto& t = m_triangles[static_cast<std::size_t>(k)];
    for (int i = 0; i < 3; ++i)
        poly.Add(m_points[t[i]]);
    poly.Add(m_points[t[0]]);
    return poly.GetCount() == 4 ? 1 : 0;
}

bool CCalcTIN::GetMeshIndex(int k, std::array<std::int64_t, 3>& idx) const
{
    if (k < 0 || k >= GetMeshCount())
        return false;
    const auto& t = m_triangles[static_cast<std::size_t>(k)];
    for (int i = 0; i < 3; ++i)
        idx[i] = m_indices[t[i]];
    return true;
}
