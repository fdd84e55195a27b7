#pragma once

#include "outside/BulkAllocator.h"
#include "outside/CVertexMng.h"
#include "outside/GridCell.h"
#include "outside/GroupViewData.h"
#include "outside/OutsideTypes.h"
#include "outside/StoreMarkers.h"

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#if defined(__SSE2__)
#include <xmmintrin.h>
#endif

class CModelDataMng;
class XTinOption;

// One point-cloud group: its points (float user coordinates, colour, intensity),
// a plan grid of the points, its show flags and names, and - as a CVertexMng - its
// TIN. 24 bytes per point plus 4 in the grid.
class CPCloudMng : public CVertexMng {
public:
    struct CloudPoint {
        float x;
        float y;
        float z;
        COLORREF colour;
        double intensity;
    };
    // resize() leaves new points for the caller to write (see BulkAllocator).
    using PointList = std::vector<CloudPoint, BulkAllocator<CloudPoint>>;

    // Point bounds gathered while points are written (Add each, Merge the parts),
    // by the rules of the group's bounds: a z without elevation (NaN, 1e-16, 1e-7)
    // takes no part in the z bounds.
    struct PointBounds {
        float lo[3] = {std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
                       std::numeric_limits<float>::max()};
        float hi[3] = {std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest(),
                       std::numeric_limits<float>::lowest()};
        double loI = std::numeric_limits<double>::max();
        double hiI = std::numeric_limits<double>::lowest();

        void Add(const CloudPoint& p)
        {
            lo[0] = p.x < lo[0] ? p.x : lo[0];
            hi[0] = hi[0] < p.x ? p.x : hi[0];
            lo[1] = p.y < lo[1] ? p.y : lo[1];
            hi[1] = hi[1] < p.y ? p.y : hi[1];
            // Without branches: a z without elevation compares as the bound itself.
            const bool elevation = p.z == p.z && !IsUnsetValue(p.z) && p.z != kNoElevationZ;
            const float zLo = elevation ? p.z : lo[2];
            const float zHi = elevation ? p.z : hi[2];
            lo[2] = zLo < lo[2] ? zLo : lo[2];
            hi[2] = hi[2] < zHi ? zHi : hi[2];
            loI = p.intensity < loI ? p.intensity : loI;
            hiI = hiI < p.intensity ? p.intensity : hiI;
        }
        // Add for many points in a row: the x, y, z bounds are kept in registers
        // (four floats each, the fourth unused) and written back by Store.
        struct Gatherer {
#if defined(__SSE2__)
            __m128 lo3, hi3;
#else
            float lo3[3], hi3[3];
#endif
            double loI, hiI;

            explicit Gatherer(const PointBounds& b)
            {
#if defined(__SSE2__)
                lo3 = _mm_set_ps(0.0f, b.lo[2], b.lo[1], b.lo[0]);
                hi3 = _mm_set_ps(0.0f, b.hi[2], b.hi[1], b.hi[0]);
#else
                for (int a = 0; a < 3; ++a)
                    lo3[a] = b.lo[a], hi3[a] = b.hi[a];
#endif
                loI = b.loI;
                hiI = b.hiI;
            }
            void Add(const CloudPoint& p)
            {
                const bool elevation = p.z == p.z && !IsUnsetValue(p.z) && p.z != kNoElevationZ;
                // A z without elevation enters as the extreme that changes nothing.
                const float zLo = elevation ? p.z : std::numeric_limits<float>::max();
                const float zHi = elevation ? p.z : std::numeric_limits<float>::lowest();
#if defined(__SSE2__)
                // min(v, lo) is v < lo ? v : lo, as Add compares.
                lo3 = _mm_min_ps(_mm_set_ps(0.0f, zLo, p.y, p.x), lo3);
                hi3 = _mm_max_ps(_mm_set_ps(0.0f, zHi, p.y, p.x), hi3);
#else
                const float lo[3] = {p.x, p.y, zLo}, hi[3] = {p.x, p.y, zHi};
                for (int a = 0; a < 3; ++a) {
                    lo3[a] = lo[a] < lo3[a] ? lo[a] : lo3[a];
                    hi3[a] = hi3[a] < hi[a] ? hi[a] : hi3[a];
                }
#endif
                loI = p.intensity < loI ? p.intensity : loI;
                hiI = hiI < p.intensity ? p.intensity : hiI;
            }
            void Store(PointBounds& b) const
            {
#if defined(__SSE2__)
                float lo[4], hi[4];
                _mm_storeu_ps(lo, lo3);
                _mm_storeu_ps(hi, hi3);
#else
                const float* lo = lo3;
                const float* hi = hi3;
#endif
                for (int a = 0; a < 3; ++a)
                    b.lo[a] = lo[a], b.hi[a] = hi[a];
                b.loI = loI;
                b.hiI = hiI;
            }
        };

        void Merge(const PointBounds& o)
        {
            for (int a = 0; a < 3; ++a) {
                lo[a] = o.lo[a] < lo[a] ? o.lo[a] : lo[a];
                hi[a] = hi[a] < o.hi[a] ? o.hi[a] : hi[a];
            }
            loI = o.loI < loI ? o.loI : loI;
            hiI = hiI < o.hiI ? o.hiI : hiI;
        }
    };

    CPCloudMng() = default;
    ~CPCloudMng() override;
    CPCloudMng(const CPCloudMng&) = delete;
    CPCloudMng& operator=(const CPCloudMng&) = delete;
    CPCloudMng(CPCloudMng&&) noexcept;
    CPCloudMng& operator=(CPCloudMng&&) noexcept;

    // Appends a point. A non-finite x or y is refused (returns 0); a NaN z is
    // stored as 1e-16. Returns 1.
    int AddCloudPoint(float x, float y, float z, COLORREF colour, double intensity);
    int GetCloudPointSize() const { return static_cast<int>(m_points.size()); }
    // 1 and the point, or 0 (outputs untouched) when there is no such point.
    int GetCloudPointVal(std::int64_t i, float& x, float& y, float& z, COLORREF& colour,
                         double& intensity) const;
    void ReserveCloudPoint(std::size_t n) { m_points.reserve(n); }
    // Marks a point deleted (its z becomes NaN until DeleteCloudPointNaN). Returns
    // 1, or 0 for an index out of range.
    int SetCloudPointNaN(std::int64_t i);
    // Removes the marked points, keeping the order of the others; bounds are
    // recomputed and the grid must be rebuilt (CreateGrid). Returns the number
    // removed.
    int DeleteCloudPointNaN();
    // Keeps the points whose flag is non-zero, in order; recomputes the bounds and
    // empties the grid. `keep` must hold one flag per point.
    void CompactCloudPoints(const std::vector<std::uint8_t>& keep);
    // Removes the points whose bit is set in `marks` (point i is bit i % 64 of word
    // i / 64; points past the words are unmarked) together with those marked by
    // SetCloudPointNaN, keeping the order of the others, and leaves the bounds and
    // the grid as CreateGrid would. Returns the number removed.
    int DeleteMarkedCloudPoints(const std::vector<std::uint64_t>& marks);
    // Removes every point and the grid; the TIN stays.
    void DeleteCloudPointAll();
    // Removes every point and the grid, frees their memory and clears the data flag.
    void ClearCloudPoint();

    // Rebuilds the point grid and the point bounds. Hides CVertexMng::CreateGrid,
    // which rebuilds the TIN's vertex chunks.
    void CreateGrid();
    // The same, with bounds the caller gathered over every point of m_points as it
    // wrote them (PointBounds::Add), which saves a pass over the points.
    void CreateGrid(const PointBounds& bounds);
    // Takes the points of `source` with their bounds and grid, as CreateGrid over
    // those points would leave them: the grid is copied when it indexes every point
    // of the source and built again otherwise. The TIN, names and flags stay.
    void CopyPointsFrom(const CPCloudMng& source);

    // Builds this group's TIN from all its points, replacing the one it had (also
    // by no TIN when no mesh results). Break lines come from the store's CAD
    // figures when the options ask for them. Stopped through `progress`, or out of
    // memory, the old TIN stays. Returns the triangle count.
    int GenerateMesh(CModelDataMng* store, const XTinOption* option, int mode,
                     const OutsideProgressFn& progress = {});

    int IsShowGroup() const { return m_nShowGroup; }
    int IsShowPCloud() const { return m_nShowPCloud; }
    int IsShowTin() const { return m_nShowTin; }
    // Shown with its points (group and point flags).
    bool IsShownForPoints() const { return m_nShowGroup != 0 && m_nShowPCloud != 0; }

    // Point bounds, kept by AddCloudPoint and every compaction; 0 when empty. A z
    // of 1e-16 (no elevation) takes no part in the z bounds.
    float GetPCloudMinX() const { return m_min[0]; }
    float GetPCloudMinY() const { return m_min[1]; }
    float GetPCloudMinZ() const { return m_min[2]; }
    float GetPCloudMaxX() const { return m_max[0]; }
    float GetPCloudMaxY() const { return m_max[1]; }
    float GetPCloudMaxZ() const { return m_max[2]; }
    double GetPCloudMinIntensity() const { return m_minIntensity; }
    double GetPCloudMaxIntensity() const { return m_maxIntensity; }

    PointList m_points;
    std::vector<GridCell> m_grid;

    std::string m_name;                 // UTF-8
    std::int32_t m_nNameNumber = 0;     // shown as "%s %d" with number + 1 when > 0
    std::string m_memo;                 // UTF-8, at most 255 bytes in CP932
    COLORREF m_nColor = 0x0000FF;
    std::int32_t m_nShowGroup = 1;
    std::int32_t m_nShowPCloud = 1;
    std::int32_t m_nShowTin = 1;
    // Set by every path that fills the group; the viewer builds point buffers only
    // while it is 1.
    std::int32_t m_nDataFlag = 0;
    // Carried unchanged by model files.
    std::int32_t m_nValue1 = 0;
    std::int32_t m_nValue3 = 0;
    std::int16_t m_nValue4 = 0;
    // The group pane's tree items (group, points, TIN); not owned, not read here.
    std::array<void*, 3> m_treeItems{};
    // The viewer's data of this group; owned and destroyed with the group.
    std::unique_ptr<GroupViewData> m_viewData;

private:
    int GenerateMeshFromPoints(CModelDataMng* store, const XTinOption* option, const OutsideProgressFn& progress);
    void RecomputePointBounds();
    template <class Keep>
    PointBounds CompactPoints(const Keep& keep);
    void SetPointBounds(const PointBounds& bounds);
    void BuildPointGrid();
    void ExtendPointBounds(const CloudPoint& p);

    float m_min[3] = {0.0f, 0.0f, 0.0f};
    float m_max[3] = {0.0f, 0.0f, 0.0f};
    double m_minIntensity = 0.0;
    double m_maxIntensity = 0.0;
    bool m_hasZ = false;
};
