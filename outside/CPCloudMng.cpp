#include "outside/CPCloudMng.h"

#include "outside/GridBuilder.h"
#include "platform/Parallel.h"
#include "outside/StoreMarkers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

namespace {

// Points a grid cell holds on average; the cross-section and selection code walks
// cells first and points only in cells the polygon cuts.
constexpr std::size_t kPointsPerCell = 2048;
constexpr std::size_t kMaxCells = 65536;

bool HasElevation(float z)
{
    return !std::isnan(z) && !IsUnsetValue(z) && z != kNoElevationZ;
}

// Moves `count` points from `from` down to `to` (to <= from). Pieces no longer than
// the distance moved do not overlap their destination, so each is copied by the
// workers together; a short move stays one memmove.
void MoveDown(CPCloudMng::CloudPoint* points, std::size_t from, std::size_t to, std::size_t count)
{
    const std::size_t distance = from - to;
    if (count == 0 || distance == 0)
        return;
    if (distance < count / 4) {
        std::memmove(static_cast<void*>(points + to), points + from, count * sizeof(CPCloudMng::CloudPoint));
        return;
    }
    for (std::size_t done = 0; done < count;) {
        const std::size_t piece = std::min(distance, count - done);
        CPCloudMng::CloudPoint* target = points + to + done;
        const CPCloudMng::CloudPoint* source = points + from + done;
        tessara::ParallelParts(
            piece,
            [&](std::size_t begin, std::size_t end, std::size_t) {
                std::memcpy(static_cast<void*>(target + begin), source + begin,
                            (end - begin) * sizeof(CPCloudMng::CloudPoint));
            },
            std::size_t{1} << 17); // 3 MiB a worker at least
        done += piece;
    }
}

} // namespace

static_assert(sizeof(CPCloudMng::CloudPoint) == 24, "a stored point is 24 bytes");

CPCloudMng::~CPCloudMng() = default;
CPCloudMng::CPCloudMng(CPCloudMng&&) noexcept = default;
CPCloudMng& CPCloudMng::operator=(CPCloudMng&&) noexcept = default;

int CPCloudMng::AddCloudPoint(float x, float y, float z, COLORREF colour, double intensity)
{
    if (!std::isfinite(x) || !std::isfinite(y))
        return 0;
    if (std::isnan(z))
        z = static_cast<float>(kUnsetDouble);
    if (!std::isfinite(intensity))
        intensity = 0.0;
    const CloudPoint p{x, y, z, colour, intensity};
    try {
        m_points.push_back(p);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    if (m_points.size() == 1) {
        m_min[0] = m_max[0] = x;
        m_min[1] = m_max[1] = y;
        m_min[2] = m_max[2] = 0.0f;
        m_minIntensity = m_maxIntensity = intensity;
        m_hasZ = false;
    }
    ExtendPointBounds(p);
    return 1;
}

void CPCloudMng::ExtendPointBounds(const CloudPoint& p)
{
    m_min[0] = std::min(m_min[0], p.x);
    m_max[0] = std::max(m_max[0], p.x);
    m_min[1] = std::min(m_min[1], p.y);
    m_max[1] = std::max(m_max[1], p.y);
    if (HasElevation(p.z)) {
        if (!m_hasZ) {
            m_min[2] = m_max[2] = p.z;
            m_hasZ = true;
        }
        m_min[2] = std::min(m_min[2], p.z);
        m_max[2] = std::max(m_max[2], p.z);
    }
    m_minIntensity = std::min(m_minIntensity, p.intensity);
    m_maxIntensity = std::max(m_maxIntensity, p.intensity);
}

void CPCloudMng::RecomputePointBounds()
{
    // No points: SetPointBounds clears the bounds.
    PointBounds all;
    if (!m_points.empty()) {
        // Worked out in parts on worker threads, each into its own record.
        std::array<PointBounds, tessara::kMaxWorkers> partBounds{};
        const std::size_t parts =
            tessara::ParallelParts(m_points.size(), [&](std::size_t begin, std::size_t end, std::size_t part) {
                PointBounds b;
                for (std::size_t i = begin; i < end; ++i)
                    b.Add(m_points[i]);
                partBounds[part] = b;
            });
        for (std::size_t part = 0; part < parts; ++part)
            all.Merge(partBounds[part]);
    }
    SetPointBounds(all);
}

void CPCloudMng::SetPointBounds(const PointBounds& all)
{
    m_min[0] = m_min[1] = m_min[2] = 0.0f;
    m_max[0] = m_max[1] = m_max[2] = 0.0f;
    m_minIntensity = m_maxIntensity = 0.0;
    m_hasZ = false;
    if (m_points.empty())
        return;
    m_min[0] = all.lo[0];
    m_max[0] = all.hi[0];
    m_min[1] = all.lo[1];
    m_max[1] = all.hi[1];
    m_hasZ = all.lo[2] <= all.hi[2];
    if (m_hasZ) {
        m_min[2] = all.lo[2];
        m_max[2] = all.hi[2];
    }
    m_minIntensity = all.loI;
    m_maxIntensity = all.hiI;
}

int CPCloudMng::GetCloudPointVal(std::int64_t i, float& x, float& y, float& z, COLORREF& colour,
                                 double& intensity) const
{
    if (i < 0 || static_cast<std::uint64_t>(i) >= m_points.size())
        return 0;
    const CloudPoint& p = m_points[static_cast<std::size_t>(i)];
    x = p.x;
    y = p.y;
    z = p.z;
    colour = p.colour;
    intensity = p.intensity;
    return 1;
}

int CPCloudMng::SetCloudPointNaN(std::int64_t i)
{
    if (i < 0 || static_cast<std::uint64_t>(i) >= m_points.size())
        return 0;
    m_points[static_cast<std::size_t>(i)].z = std::nanf("");
    return 1;
}

template <class Keep>
CPCloudMng::PointBounds CPCloudMng::CompactPoints(const Keep& keep)
{
    // Each part moves the points it keeps to the front of its own range, gathering
    // their bounds on the way; the parts' runs are then moved down after each other
    // in order, within the array's own memory.
    const std::size_t n = m_points.size();
    std::array<std::size_t, tessara::kMaxWorkers> partBegin{};
    std::array<std::size_t, tessara::kMaxWorkers> partKept{};
    std::array<PointBounds, tessara::kMaxWorkers> partBounds{};
    CloudPoint* points = m_points.data();
    const std::size_t parts = tessara::ParallelParts(n, [&](std::size_t begin, std::size_t end, std::size_t part) {
        PointBounds::Gatherer bounds(partBounds[part]);
        std::size_t out = begin;
        for (std::size_t i = begin; i < end; ++i) {
            const CloudPoint& p = points[i];
            if (!keep(i, p))
                continue;
            bounds.Add(p);
            if (out != i)
                points[out] = p;
            ++out;
        }
        bounds.Store(partBounds[part]);
        partBegin[part] = begin;
        partKept[part] = out - begin;
    });
    PointBounds all;
    std::size_t out = 0;
    for (std::size_t part = 0; part < parts; ++part) {
        MoveDown(points, partBegin[part], out, partKept[part]);
        out += partKept[part];
        all.Merge(partBounds[part]);
    }
    m_points.resize(out);
    return all;
}

int CPCloudMng::DeleteCloudPointNaN()
{
    const std::size_t before = m_points.size();
    const PointBounds bounds = CompactPoints([](std::size_t, const CloudPoint& p) { return !std::isnan(p.z); });
    const int removed = static_cast<int>(before - m_points.size());
    if (removed > 0) {
        m_grid.clear();
        SetPointBounds(bounds);
    }
    return removed;
}

void CPCloudMng::CompactCloudPoints(const std::vector<std::uint8_t>& keep)
{
    if (keep.size() != m_points.size())
        return;
    const std::uint8_t* flags = keep.data();
    const PointBounds bounds = CompactPoints([flags](std::size_t i, const CloudPoint&) { return flags[i] != 0; });
    m_grid.clear();
    SetPointBounds(bounds);
}

int CPCloudMng::DeleteMarkedCloudPoints(const std::vector<std::uint64_t>& marks)
{
    const std::size_t before = m_points.size();
    const std::size_t markedPoints = std::min(before, marks.size() * 64);
    const std::uint64_t* words = marks.data();
    const PointBounds bounds = CompactPoints([words, markedPoints](std::size_t i, const CloudPoint& p) {
        const bool marked = i < markedPoints && ((words[i >> 6] >> (i & 63)) & 1u) != 0;
        return !marked && !std::isnan(p.z);
    });
    CreateGrid(bounds);
    return static_cast<int>(before - m_points.size());
}

void CPCloudMng::DeleteCloudPointAll()
{
    m_points.clear();
    m_grid.clear();
    RecomputePointBounds();
}

void CPCloudMng::ClearCloudPoint()
{
    m_points.clear();
    m_points.shrink_to_fit();
    m_grid.clear();
    m_grid.shrink_to_fit();
    m_nDataFlag = 0;
    RecomputePointBounds();
}

void CPCloudMng::CreateGrid()
{
    RecomputePointBounds();
    BuildPointGrid();
}

void CPCloudMng::CreateGrid(const PointBounds& bounds)
{
    SetPointBounds(bounds);
    BuildPointGrid();
}

void CPCloudMng::CopyPointsFrom(const CPCloudMng& source)
{
    if (&source == this)
        return;
    const std::size_t n = source.m_points.size();
    std::size_t indexed = 0;
    for (const GridCell& cell : source.m_grid)
        indexed += cell.indices.size();
    const bool gridCurrent = n > 0 && indexed == n;

    // resize leaves the points unwritten; they are written once, as one block. On
    // one thread: the work is a plain copy's plus the grid's indices, however busy
    // the machine's other cores are.
    PointList points;
    points.resize(n);
    if (n > 0)
        std::memcpy(static_cast<void*>(points.data()), source.m_points.data(), n * sizeof(CloudPoint));
    m_points.swap(points);
    if (!gridCurrent) {
        CreateGrid();
        return;
    }
    std::copy(std::begin(source.m_min), std::end(source.m_min), std::begin(m_min));
    std::copy(std::begin(source.m_max), std::end(source.m_max), std::begin(m_max));
    m_minIntensity = source.m_minIntensity;
    m_maxIntensity = source.m_maxIntensity;
    m_hasZ = source.m_hasZ;
    try {
        std::vector<GridCell> grid = source.m_grid;
        m_grid.swap(grid);
    } catch (const std::bad_alloc&) {
        m_grid.clear(); // no grid rather than half a grid; the points are intact
    }
}

void CPCloudMng::BuildPointGrid()
{
    try {
        RebuildPlanGrid(m_grid, m_points.size(), m_points.empty() ? nullptr : &m_points[0].x,
                        sizeof(CloudPoint) / sizeof(float), kPointsPerCell, kMaxCells, m_min[0], m_min[1], m_max[0],
                        m_max[1]);
    } catch (const std::bad_alloc&) {
        m_grid.clear(); // no grid rather than half a grid; the points are intact
    }
}
