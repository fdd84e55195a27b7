#pragma once

#include "outside/MTRX.h"
#include "outside/OutsideTypes.h"
#include "outside/POLY.h"
#include "outside/PT.h"
#include "outside/RECTX.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The TIN generator: a Delaunay triangulation in plan of the given points (z
// carried), optionally constrained by break lines and cut of triangles with a long
// plan edge. Points at the same plan position are kept once (the first given).
// Fewer than three distinct points, or all on one line, give no mesh. Triangles
// come out counter-clockwise in plan.
class CCalcTIN {
public:
    struct BreakLine {
        std::vector<PT> points;
    };

    CCalcTIN();
    ~CCalcTIN();
    CCalcTIN(const CCalcTIN&) = delete;
    CCalcTIN& operator=(const CCalcTIN&) = delete;

    // Reduction modes the dialogs list (thinning of break-line polylines before
    // the triangulation). The level is what the settings store.
    static int GetPolyRdcsplModeCount();
    static std::string GetPolyRdcsplModeText(int index); // UTF-8; empty out of range
    static int GetPolyRdcsplModeLevel(int index);        // -1 out of range
    // Thinning tolerance in metres of a level (0 for no thinning or unknown levels).
    static double ReductionTolerance(int level);

    // Forgets points, break lines, results and options.
    void Init();
    void SetPolyRdcsplMode(int level);
    void SetConsiderBreakLineSw(int sw);
    void SetRemoveExcessiveTriangle(int sw, double maxEdgeLength);
    // Transform applied to every point's plan position before triangulation
    // (the mesh comes back in the transformed frame).
    void SetPUMtrx(const MTRX& m);
    // Only points inside this rectangle take part (not set: all).
    void SetCalcRect(const RECTX& r);
    // Adds a point with the caller's index (returned with the mesh). `attr` (1e-16
    // from every caller) is not used. Points with a non-finite x or y are ignored; a NaN z becomes
    // 1e-16. Returns 1 when taken.
    int SetCalcPtEx(const PT& pt, std::int64_t index, double attr);
    void ReservePoints(std::size_t n);
    // A break line: consecutive points are joined by constrained edges (used only
    // while the break-line switch is on).
    void AddBreakLine(const std::vector<PT>& polyline);
    // A constrained edge between two accepted points, by their positions in the
    // accepted order (SetCalcPtEx's count before each taken point). Used only
    // while the break-line switch is on; a position out of range is ignored.
    void AddConstraint(std::uint32_t a, std::uint32_t b);

    // Triangulates. Returns 1 with at least one triangle, 0 otherwise (also when
    // cancelled through `progress`). `window` is unused and may be null.
    int DoCalc(void* window, int mode, const OutsideProgressFn& progress = {});
    // True when the last DoCalc stopped because the progress function asked to.
    bool IsCancelled() const { return m_cancelled; }

    int GetMeshCount() const;
    // Triangle k as a closed polygon of 4 points (the first repeated); returns 1,
    // or 0 for k out of range.
    int GetMesh(int k, POLY& poly) const;
    // Triangle k as the caller's indices (break-line points have index -1).
    bool GetMeshIndex(int k, std::array<std::int64_t, 3>& idx) const;
    // All triangles as positions into the accepted point order (see GetPoint).
    const std::vector<std::array<std::uint32_t, 3>>& GetTriangles() const { return m_triangles; }
    int GetPointCount() const { return static_cast<int>(m_points.size()); }
    const PT& GetPoint(int i) const { return m_points[static_cast<std::size_t>(i)]; }
    std::int64_t GetPointIndex(int i) const { return m_indices[static_cast<std::size_t>(i)]; }

private:
    int m_reductionLevel = 1;
    int m_considerBreakLines = 0;
    int m_removeLong = 0;
    double m_maxEdge = 100.0;
    MTRX m_mtrx;
    bool m_hasRect = false;
    RECTX m_rect;
    std::vector<PT> m_points;            // accepted points, transformed
    std::vector<std::int64_t> m_indices; // caller's index per accepted point
    std::vector<BreakLine> m_breakLines;
    std::vector<std::array<std::uint32_t, 2>> m_constraints;
    std::vector<std::array<std::uint32_t, 3>> m_triangles;
    bool m_cancelled = false;
};
