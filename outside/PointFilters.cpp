#include "outside/PointFilters.h"

#include "outside/BulkAllocator.h"
#include "platform/Parallel.h"

#include <nanoflann.hpp>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <limits>
#include <system_error>
#include <thread>
#include <utility>

namespace {

// Runs body(begin, end) over [0, n) in blocks spread over the workers. The
// calling thread works on blocks too and is the only one that reports progress, at
// most once per percent. Returns false when progress asked to stop; the other
// workers then end after their current block. Every worker is joined before this
// returns, and an exception in any block reaches the caller after that.
template <class Body>
bool ParallelBlocks(std::size_t n, const OutsideProgressFn& progress, Body&& body)
{
    constexpr std::size_t kBlock = 4096;
    const std::size_t blocks = (n + kBlock - 1) / kBlock;
    const std::size_t workers = std::min<std::size_t>(tessara::WorkerCount(), std::max<std::size_t>(blocks, 1));
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    std::atomic<bool> stop{false};
    const auto runBlock = [&]() {
        const std::size_t b = next.fetch_add(1);
        if (b >= blocks)
            return false;
        const std::size_t begin = b * kBlock;
        const std::size_t end = std::min(n, begin + kBlock);
        body(begin, end);
        done.fetch_add(end - begin);
        return true;
    };
    tessara::RunParts(workers, [&](std::size_t worker) {
        try {
            int lastPercent = -1;
            while (!stop.load() && runBlock()) {
                if (worker != 0 || !progress)
                    continue;
                const int percent = static_cast<int>(100.0 * static_cast<double>(done.load()) / static_cast<double>(n));
                if (percent != lastPercent) {
                    lastPercent = percent;
                    if (!progress(percent))
                        stop.store(true);
                }
            }
        } catch (...) {
            stop.store(true);   // the others end after their current block
            throw;
        }
    });
    return !stop.load() && done.load() == n;
}

// Counts neighbours within the radius and stops the search once enough are found.
class CountWithin {
public:
    using DistanceType = float;
    using IndexType = std::uint32_t;

    CountWithin(float radiusSq, std::uint32_t self, std::size_t need) : m_radiusSq(radiusSq), m_self(self), m_need(need) {}
    void init() { m_count = 0; }
    std::size_t size() const { return m_count; }
    bool full() const { return true; }
    float worstDist() const { return m_radiusSq; }
    bool addPoint(float dist, std::uint32_t index)
    {
        if (dist <= m_radiusSq && index != m_self)
            ++m_count;
        return m_count < m_need;
    }

private:
    float m_radiusSq;
    std::uint32_t m_self;
    std::size_t m_need;
    std::size_t m_count = 0;
};

// x, y, z of one point in a spatially ordered copy of a group.
struct CopyPoint {
    float xyz[3];
};
using CopyList = std::vector<CopyPoint, BulkAllocator<CopyPoint>>;
using FloatList = std::vector<float, BulkAllocator<float>>;

// nanoflann's view of the first `n` points of a copy.
struct CopyAdaptor {
    const CopyPoint* pts;
    std::size_t n;

    std::size_t kdtree_get_point_count() const { return n; }
    float kdtree_get_pt(std::uint32_t i, std::size_t dim) const { return pts[i].xyz[dim]; }
    template <class Box>
    bool kdtree_get_bbox(Box&) const { return false; }
};

using CopyTree = nanoflann::KDTreeSingleIndexAdaptor<nanoflann::L2_Simple_Adaptor<float, CopyAdaptor, float, std::uint32_t>,
                                                     CopyAdaptor, 3, std::uint32_t>;

// Points a leaf of the filters' trees holds at most. Leaves larger than nanoflann's
// usual 10 or 16 cost the queries next to nothing here and halve or quarter the
// tree's nodes (32 bytes each), which keeps the filters' memory, the copy (12 bytes
// a point) and the tree's index (4) included, within 24 bytes a point.
constexpr std::size_t kRadiusLeafSize = 32;
constexpr std::size_t kOutlierLeafSize = 64;

bool IsFinitePoint(const CPCloudMng::CloudPoint& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// A copy of a group's x, y, z laid out cell by cell. The box of the finite points
// is halved again and again across its longest side, and a cell's number lists
// these halvings from the first on, so cells with near numbers lie near each
// other (a Z order that follows the box's shape). Within a cell the points keep
// the group's order; points with a coordinate that is no number come last, after
// FiniteCount(). Where each point of the group went is not stored: ForEachPlace
// works it out again from the cell counts, in parts on worker threads.
class SpatialCopy {
public:
    explicit SpatialCopy(const CPCloudMng::PointList& pts);

    std::size_t FiniteCount() const { return m_finite; }
    const CopyPoint* Points() const { return m_points.data(); }
    void ReleasePoints() { CopyList().swap(m_points); }

    //! Calls fn(i, place) for every point i of `pts` (the list the copy was made
    //! of), place being its position in the copy; in parts on worker threads.
    //! `near` is the array fn reads (kWrites: writes) at `place`: its entries are
    //! asked for a batch ahead, so the jumps of a scattered order overlap.
    template <bool kWrites, class T, class Fn>
    void ForEachPlace(const CPCloudMng::PointList& pts, const T* near, Fn&& fn) const
    {
        constexpr std::size_t kBatch = 32;
        const std::size_t n = pts.size();
        const std::size_t buckets = m_cells + 1;
        tessara::RunParts(m_parts, [&](std::size_t part) {
            std::vector<std::uint32_t> next(m_starts.begin() + static_cast<std::ptrdiff_t>(part * buckets),
                                            m_starts.begin() + static_cast<std::ptrdiff_t>((part + 1) * buckets));
            std::uint32_t places[kBatch];
            const std::size_t end = n * (part + 1) / m_parts;
            for (std::size_t i = n * part / m_parts; i < end; i += kBatch) {
                const std::size_t count = std::min(kBatch, end - i);
                for (std::size_t b = 0; b < count; ++b) {
                    places[b] = next[CellOf(pts[i + b])]++;
                    __builtin_prefetch(near + places[b], kWrites ? 1 : 0);
                }
                for (std::size_t b = 0; b < count; ++b)
                    fn(i + b, places[b]);
            }
        });
    }

private:
    // Cells to aim for: about one for every 128 points, at most 2^20.
    static constexpr int kPointsPerCellBits = 7;
    static constexpr int kMaxCellBits = 20;
    static constexpr std::size_t kMinPerPart = std::size_t{1} << 16;
    // Halvings that make the groups the copy is first laid out in (up to 256).
    static constexpr int kGroupBits = 8;

    std::uint32_t CellOf(const CPCloudMng::CloudPoint& p) const
    {
        const float v[3] = {p.x, p.y, p.z};
        return CellOf(v);
    }
    std::uint32_t CellOf(const float (&v)[3]) const
    {
        if (!std::isfinite(v[0]) || !std::isfinite(v[1]) || !std::isfinite(v[2]))
            return static_cast<std::uint32_t>(m_cells);
        std::uint32_t along[3];
        for (int a = 0; a < 3; ++a) {
            const double c = (static_cast<double>(v[a]) - m_low[a]) * m_scale[a];
            along[a] = c <= 0.0 ? 0u : (c >= static_cast<double>(m_lastAlong[a]) ? m_lastAlong[a] : static_cast<std::uint32_t>(c));
        }
        std::uint32_t cell = 0;
        for (const Step& s : m_steps)
            cell = cell << 1 | ((along[s.axis] >> s.shift) & 1u);
        return cell;
    }

    struct Step {
        int axis;
        int shift;
    };

    double m_low[3] = {0.0, 0.0, 0.0};
    double m_scale[3] = {0.0, 0.0, 0.0};
    std::uint32_t m_lastAlong[3] = {0, 0, 0};
    std::vector<Step> m_steps;                // the halvings, first to last
    std::size_t m_cells = 1;                  // cells of finite points; cell m_cells holds the others
    std::size_t m_parts = 1;
    std::vector<std::uint32_t> m_starts;      // part * (m_cells + 1) + cell: where that part's first point of the cell goes
    std::size_t m_finite = 0;
    CopyList m_points;
};

SpatialCopy::SpatialCopy(const CPCloudMng::PointList& pts)
{
    const std::size_t n = pts.size();
    m_parts = std::clamp<std::size_t>(std::min(tessara::WorkerCount(), n / kMinPerPart), 1, tessara::kMaxWorkers);
    const auto partRange = [&](std::size_t part) {
        return std::pair<std::size_t, std::size_t>{n * part / m_parts, n * (part + 1) / m_parts};
    };

    // The box of the finite points.
    std::array<std::array<float, 6>, tessara::kMaxWorkers> partBounds;
    tessara::RunParts(m_parts, [&](std::size_t part) {
        constexpr float big = std::numeric_limits<float>::max();
        std::array<float, 6> b = {big, big, big, -big, -big, -big};
        const auto [begin, end] = partRange(part);
        for (std::size_t i = begin; i < end; ++i) {
            const auto& p = pts[i];
            if (!IsFinitePoint(p))
                continue;
            const float v[3] = {p.x, p.y, p.z};
            for (int a = 0; a < 3; ++a) {
                b[a] = std::min(b[a], v[a]);
                b[3 + a] = std::max(b[3 + a], v[a]);
            }
        }
        partBounds[part] = b;
    });
    double extent[3];
    for (int a = 0; a < 3; ++a) {
        float lo = std::numeric_limits<float>::max();
        float hi = -std::numeric_limits<float>::max();
        for (std::size_t part = 0; part < m_parts; ++part) {
            lo = std::min(lo, partBounds[part][a]);
            hi = std::max(hi, partBounds[part][3 + a]);
        }
        m_low[a] = lo <= hi ? lo : 0.0;
        extent[a] = lo <= hi ? static_cast<double>(hi) - static_cast<double>(lo) : 0.0;
    }

    // Halve the longest side of the cells until there are about enough cells.
    int cellBits = 0;
    while (cellBits < kMaxCellBits && (n >> (cellBits + kPointsPerCellBits)) > 1)
        ++cellBits;
    double side[3] = {extent[0], extent[1], extent[2]};
    int bits[3] = {0, 0, 0};
    std::vector<int> axisOfStep;
    for (int step = 0; step < cellBits; ++step) {
        int a = 0;
        for (int b = 1; b < 3; ++b)
            if (side[b] > side[a])
                a = b;
        if (!(side[a] > 0.0))
            break;
        side[a] /= 2.0;
        ++bits[a];
        axisOfStep.push_back(a);
    }
    for (int a = 0; a < 3; ++a) {
        m_lastAlong[a] = (std::uint32_t{1} << bits[a]) - 1;
        m_scale[a] = bits[a] > 0 ? static_cast<double>(std::uint32_t{1} << bits[a]) / extent[a] : 0.0;
    }
    int used[3] = {0, 0, 0};
    for (const int a : axisOfStep)
        m_steps.push_back({a, bits[a] - 1 - used[a]++});
    m_cells = std::size_t{1} << m_steps.size();

    // Count the points of each cell in each part, then lay the cells out one after
    // another, a cell's points of part 0 before those of part 1 and so on.
    const std::size_t buckets = m_cells + 1;
    m_starts.assign(buckets * m_parts, 0);
    tessara::RunParts(m_parts, [&](std::size_t part) {
        std::uint32_t* counts = m_starts.data() + part * buckets;
        const auto [begin, end] = partRange(part);
        for (std::size_t i = begin; i < end; ++i)
            ++counts[CellOf(pts[i])];
    });
    // Groups of cells sharing their first halvings, for the copy in two passes.
    const int fineBits = std::max(0, static_cast<int>(m_steps.size()) - kGroupBits);
    const std::size_t groups = (m_cells >> fineBits) + 1; // the last holds the points that are no numbers
    std::vector<std::uint32_t> groupStarts(groups * m_parts, 0);
    for (std::size_t part = 0; part < m_parts; ++part)
        for (std::size_t cell = 0; cell < buckets; ++cell)
            groupStarts[part * groups + (cell >> fineBits)] += m_starts[part * buckets + cell];
    std::uint32_t largestGroup = 0;
    std::uint32_t sum = 0;
    for (std::size_t g = 0; g < groups; ++g) {
        const std::uint32_t groupBegin = sum;
        for (std::size_t part = 0; part < m_parts; ++part) {
            const std::uint32_t c = groupStarts[part * groups + g];
            groupStarts[part * groups + g] = sum;
            sum += c;
        }
        if (g + 1 < groups)
            largestGroup = std::max(largestGroup, sum - groupBegin);
    }
    sum = 0;
    for (std::size_t cell = 0; cell < buckets; ++cell) {
        if (cell == m_cells)
            m_finite = sum;
        for (std::size_t part = 0; part < m_parts; ++part) {
            const std::uint32_t c = m_starts[part * buckets + cell];
            m_starts[part * buckets + cell] = sum;
            sum += c;
        }
    }
    m_points.resize(n);

    // Straight to their places, written all over the copy, when the groups are too
    // large to be sorted in a worker's own buffer (a few huge groups: then few
    // places are written at a time anyway).
    const std::size_t bufferLimit = std::max<std::size_t>(n / (4 * m_parts), std::size_t{1} << 16);
    if (fineBits == 0 || largestGroup > bufferLimit) {
        ForEachPlace<true>(pts, m_points.data(), [&](std::size_t i, std::uint32_t place) {
            m_points[place] = {{pts[i].x, pts[i].y, pts[i].z}};
        });
        return;
    }
    // Else first group by group, a few hundred runs written in order, then each
    // group sorted into its cells in a buffer that stays in the cache. Both passes
    // keep the group's order within a cell, so each point lands where ForEachPlace
    // finds it.
    tessara::RunParts(m_parts, [&](std::size_t part) {
        std::uint32_t* next = groupStarts.data() + part * groups;
        const auto [begin, end] = partRange(part);
        for (std::size_t i = begin; i < end; ++i)
            m_points[next[CellOf(pts[i]) >> fineBits]++] = {{pts[i].x, pts[i].y, pts[i].z}};
    });
    const std::uint32_t fineMask = (std::uint32_t{1} << fineBits) - 1;
    std::atomic<std::size_t> nextGroup{0};
    tessara::RunParts(m_parts, [&](std::size_t) {
        CopyList buffer(largestGroup);
        std::vector<std::uint32_t> at(std::size_t{1} << fineBits);
        for (std::size_t g = nextGroup++; g + 1 < groups; g = nextGroup++) {
            const std::size_t first = m_starts[g << fineBits];
            const std::size_t last = m_starts[(g + 1) << fineBits];
            std::fill(at.begin(), at.end(), 0);
            for (std::size_t i = first; i < last; ++i)
                ++at[CellOf(m_points[i].xyz) & fineMask];
            std::uint32_t offset = 0;
            for (std::uint32_t& a : at)
                offset += std::exchange(a, offset);
            for (std::size_t i = first; i < last; ++i)
                buffer[at[CellOf(m_points[i].xyz) & fineMask]++] = m_points[i];
            std::copy(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(last - first),
                      m_points.begin() + static_cast<std::ptrdiff_t>(first));
        }
    });
}

// A point's cell key with its index and z, so choosing the lowest or highest point
// of a cell reads the sorted records in order only.
struct CellKeyed {
    std::uint64_t key;
    std::uint32_t index;
    float z;
};

// Stable LSD radix sort on the low `keyBits` bits of key(record): linear in the
// number of records, so the grid filters stay linear in the number of points. Each
// pass counts and scatters in parts on worker threads; part k writes its records of
// a digit after those of parts before it, which keeps the sort stable.
template <class Rec, class KeyOf>
void RadixSort(std::vector<Rec>& recs, int keyBits, KeyOf key)
{
    // As few passes as digits of at most 13 bits allow, the digits evened out.
    constexpr int kMaxDigitBits = 13;
    const int passes = (keyBits + kMaxDigitBits - 1) / kMaxDigitBits;
    if (passes == 0 || recs.size() < 2)
        return;
    const int digitBits = (keyBits + passes - 1) / passes;
    const std::size_t buckets = std::size_t{1} << digitBits;
    std::vector<std::size_t> offsets(buckets * tessara::kMaxWorkers);
    std::vector<Rec> tmp(recs.size());
    for (int pass = 0; pass < passes; ++pass) {
        const int shift = pass * digitBits;
        const auto digit = [&](const Rec& r) { return static_cast<std::size_t>((key(r) >> shift) & (buckets - 1)); };
        std::fill(offsets.begin(), offsets.end(), 0);
        const std::size_t parts = tessara::ParallelParts(recs.size(), [&](std::size_t begin, std::size_t end, std::size_t part) {
            std::size_t* counts = offsets.data() + part * buckets;
            for (std::size_t i = begin; i < end; ++i)
                ++counts[digit(recs[i])];
        });
        std::size_t sum = 0;
        for (std::size_t b = 0; b < buckets; ++b) {
            for (std::size_t part = 0; part < parts; ++part) {
                const std::size_t c = offsets[part * buckets + b];
                offsets[part * buckets + b] = sum;
                sum += c;
            }
        }
        tessara::ParallelParts(recs.size(), [&](std::size_t begin, std::size_t end, std::size_t part) {
            std::size_t* next = offsets.data() + part * buckets;
            for (std::size_t i = begin; i < end; ++i)
                tmp[next[digit(recs[i])]++] = recs[i];
        });
        recs.swap(tmp);
    }
}

int BitsFor(std::uint64_t maxValue)
{
    int bits = 0;
    while (bits < 64 && (maxValue >> bits) != 0)
        ++bits;
    return bits;
}

#pragma pack(push, 4)
struct KeyIndexZ {
    std::uint64_t keyIndex; // cell key << 32 | point index
    float z;
};
#pragma pack(pop)
static_assert(sizeof(KeyIndexZ) == 12);

// Cell number along one axis, counted from the cell that holds the smallest value.
// Cells lie on whole multiples of their size, so results do not depend on where the
// cloud starts. Saturates far outside the integer range.
std::uint64_t CellIndex(float v, double firstCell, double perSize)
{
    const double c = std::floor(static_cast<double>(v) * perSize) - firstCell;
    if (!(c > 0.0))
        return 0; // also NaN (points marked deleted)
    if (c >= 9.0e18)
        return 9000000000000000000ull;
    return static_cast<std::uint64_t>(c);
}

} // namespace

bool PointFilters::Grid(const CPCloudMng& group, float lx, float ly, float lz, GridPick pick,
                        std::vector<std::uint8_t>& keep, const OutsideProgressFn& progress)
{
    const auto& pts = group.m_points;
    keep.assign(pts.size(), 0);
    if (!(lx > 0.0f) || !(ly > 0.0f) || !(lz > 0.0f) || !std::isfinite(lx) || !std::isfinite(ly) || !std::isfinite(lz))
        return false;
    if (pts.empty())
        return true;
    // Bounds in parts. std::min(m, v) and std::max(m, v) keep m when v is NaN.
    std::array<std::array<float, 6>, tessara::kMaxWorkers> partBounds;
    const std::size_t boundParts = tessara::ParallelParts(pts.size(), [&](std::size_t begin, std::size_t end, std::size_t part) {
        float lo[3] = {std::numeric_limits<float>::max(), std::numeric_limits<float>::max(), std::numeric_limits<float>::max()};
        float hi[3] = {std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest(),
                       std::numeric_limits<float>::lowest()};
        for (std::size_t i = begin; i < end; ++i) {
            const auto& p = pts[i];
            lo[0] = std::min(lo[0], p.x);
            hi[0] = std::max(hi[0], p.x);
            lo[1] = std::min(lo[1], p.y);
            hi[1] = std::max(hi[1], p.y);
            lo[2] = std::min(lo[2], p.z);
            hi[2] = std::max(hi[2], p.z);
        }
        partBounds[part] = {lo[0], lo[1], lo[2], hi[0], hi[1], hi[2]};
    });
    double minV[3];
    double maxV[3];
    for (int a = 0; a < 3; ++a) {
        float lo = std::numeric_limits<float>::max();
        float hi = std::numeric_limits<float>::lowest();
        for (std::size_t part = 0; part < boundParts; ++part) {
            lo = std::min(lo, partBounds[part][a]);
            hi = std::max(hi, partBounds[part][3 + a]);
        }
        minV[a] = lo <= hi ? lo : 0.0;
        maxV[a] = lo <= hi ? hi : 0.0;
    }
    // Cells per metre: a multiplication per coordinate instead of a division.
    const double size[3] = {1.0 / static_cast<double>(lx), 1.0 / static_cast<double>(ly), 1.0 / static_cast<double>(lz)};
    double firstCell[3];
    std::uint64_t count[3];
    for (int a = 0; a < 3; ++a) {
        if (!std::isfinite(size[a]))
            return false;
        firstCell[a] = std::floor(minV[a] * size[a]);
        count[a] = CellIndex(static_cast<float>(maxV[a]), firstCell[a], size[a]) + 1;
    }
    std::uint64_t xy = 0;
    std::uint64_t xyz = 0;
    const bool packed = !__builtin_mul_overflow(count[0], count[1], &xy) && !__builtin_mul_overflow(xy, count[2], &xyz);
    if (progress && !progress(0.0))
        return false;

    // Cells clamp into their ranges, so a key never runs into the next row.
    const auto cellKey = [&](const CPCloudMng::CloudPoint& p) {
        const std::uint64_t cx = std::min(CellIndex(p.x, firstCell[0], size[0]), count[0] - 1);
        const std::uint64_t cy = std::min(CellIndex(p.y, firstCell[1], size[1]), count[1] - 1);
        const std::uint64_t cz = std::min(CellIndex(p.z, firstCell[2], size[2]), count[2] - 1);
        return (cx * count[1] + cy) * count[2] + cz;
    };

    // Strictly lower (higher) only: of equal z the earlier point stays, and a NaN
    // z never wins.
    const auto betterZ = [pick](float candidate, float current) {
        if (pick == GridPick::LowestZ)
            return candidate < current || (std::isnan(current) && !std::isnan(candidate));
        if (pick == GridPick::HighestZ)
            return candidate > current || (std::isnan(current) && !std::isnan(candidate));
        return false;
    };

    if (packed && pick == GridPick::First && BitsFor(xyz - 1) <= 32) {
        // Cell key in the high half, point index in the low half: one 8-byte
        // record a point, sorted stably by the key bits only.
        std::vector<std::uint64_t> recs(pts.size());
        tessara::ParallelParts(pts.size(), [&](std::size_t begin, std::size_t end, std::size_t) {
            for (std::size_t i = begin; i < end; ++i)
                recs[i] = cellKey(pts[i]) << 32 | i;
        });
        if (progress && !progress(20.0))
            return false;
        RadixSort(recs, BitsFor(xyz - 1), [](std::uint64_t r) { return r >> 32; });
        if (progress && !progress(80.0))
            return false;
        for (std::size_t i = 0; i < recs.size(); ++i)
            if (i == 0 || (recs[i] >> 32) != (recs[i - 1] >> 32))
                keep[static_cast<std::uint32_t>(recs[i])] = 1;
    } else if (packed && BitsFor(xyz - 1) <= 32) {
        // Lowest or highest: the 8-byte key-and-index record with the point's z
        // beside it (12 bytes, packed), so the choice reads the records in order.
        std::vector<KeyIndexZ> recs(pts.size());
        tessara::ParallelParts(pts.size(), [&](std::size_t begin, std::size_t end, std::size_t) {
            for (std::size_t i = begin; i < end; ++i) {
                recs[i].keyIndex = cellKey(pts[i]) << 32 | i;
                recs[i].z = pts[i].z;
            }
        });
        if (progress && !progress(20.0))
            return false;
        RadixSort(recs, BitsFor(xyz - 1), [](const KeyIndexZ& r) { return r.keyIndex >> 32; });
        if (progress && !progress(80.0))
            return false;
        for (std::size_t i = 0; i < recs.size();) {
            std::size_t chosen = i;
            std::size_t j = i + 1;
            for (; j < recs.size() && (recs[j].keyIndex >> 32) == (recs[i].keyIndex >> 32); ++j)
                if (betterZ(recs[j].z, recs[chosen].z))
                    chosen = j;
            keep[static_cast<std::uint32_t>(recs[chosen].keyIndex)] = 1;
            i = j;
        }
    } else if (packed) {
        // One 64-bit key per point; sorted stably by key, the first of a run is
        // the first point of its cell.
        std::vector<CellKeyed> keyed(pts.size());
        tessara::ParallelParts(pts.size(), [&](std::size_t begin, std::size_t end, std::size_t) {
            for (std::size_t i = begin; i < end; ++i)
                keyed[i] = {cellKey(pts[i]), static_cast<std::uint32_t>(i), pts[i].z};
        });
        if (progress && !progress(20.0))
            return false;
        RadixSort(keyed, BitsFor(xyz - 1), [](const CellKeyed& r) { return r.key; });
        if (progress && !progress(80.0))
            return false;
        for (std::size_t i = 0; i < keyed.size();) {
            std::size_t chosen = i;
            std::size_t j = i + 1;
            for (; j < keyed.size() && keyed[j].key == keyed[i].key; ++j)
                if (betterZ(keyed[j].z, keyed[chosen].z))
                    chosen = j;
            keep[keyed[chosen].index] = 1;
            i = j;
        }
    } else {
        // Cells so small that one key cannot number them: three keys a point.
        struct Triple {
            std::uint64_t c[3];
            std::uint32_t index;
            float z;
        };
        std::vector<Triple> keyed(pts.size());
        for (std::size_t i = 0; i < pts.size(); ++i) {
            const auto& p = pts[i];
            keyed[i] = {{CellIndex(p.x, firstCell[0], size[0]), CellIndex(p.y, firstCell[1], size[1]), CellIndex(p.z, firstCell[2], size[2])},
                        static_cast<std::uint32_t>(i), p.z};
        }
        const auto sameCell = [](const Triple& a, const Triple& b) {
            return a.c[0] == b.c[0] && a.c[1] == b.c[1] && a.c[2] == b.c[2];
        };
        std::sort(keyed.begin(), keyed.end(), [](const Triple& a, const Triple& b) {
            if (a.c[0] != b.c[0])
                return a.c[0] < b.c[0];
            if (a.c[1] != b.c[1])
                return a.c[1] < b.c[1];
            if (a.c[2] != b.c[2])
                return a.c[2] < b.c[2];
            return a.index < b.index;
        });
        if (progress && !progress(80.0))
            return false;
        for (std::size_t i = 0; i < keyed.size();) {
            std::size_t chosen = i;
            std::size_t j = i + 1;
            for (; j < keyed.size() && sameCell(keyed[j], keyed[i]); ++j)
                if (betterZ(keyed[j].z, keyed[chosen].z))
                    chosen = j;
            keep[keyed[chosen].index] = 1;
            i = j;
        }
    }
    return !progress || progress(100.0);
}

bool PointFilters::Radius(const CPCloudMng& group, float radius, int minPoints, std::vector<std::uint8_t>& keep,
                          const OutsideProgressFn& progress)
{
    const auto& pts = group.m_points;
    keep.assign(pts.size(), 0);
    if (!(radius > 0.0f) || !std::isfinite(radius) || minPoints < 0)
        return false;
    if (minPoints == 0) {
        std::fill(keep.begin(), keep.end(), 1);
        return true;
    }
    if (pts.empty())
        return true;
    // The flags are made again once the tree is gone, so they never add to the peak.
    std::vector<std::uint8_t>().swap(keep);
    SpatialCopy copy(pts);
    // One flag a point in the copy's order; a point with a coordinate that is no
    // number has no neighbours and goes.
    std::vector<std::uint8_t> nearEnough(pts.size(), 0);
    bool finished = true;
    if (copy.FiniteCount() > 0) {
        const CopyAdaptor adaptor{copy.Points(), copy.FiniteCount()};
        const CopyTree tree(3, adaptor, nanoflann::KDTreeSingleIndexAdaptorParams(kRadiusLeafSize));
        const float radiusSq = radius * radius;
        const nanoflann::SearchParams params(32, 0.0f, false);
        const CopyPoint* points = copy.Points();
        // Queries run in the tree's leaf order over a copy laid out cell by cell:
        // consecutive queries walk the same nodes and nearby memory, whatever order
        // the group holds its points in.
        const auto& order = tree.vAcc;
        finished = ParallelBlocks(copy.FiniteCount(), progress, [&](std::size_t begin, std::size_t end) {
            for (std::size_t j = begin; j < end; ++j) {
                const std::uint32_t c = order[j];
                CountWithin counter(radiusSq, c, static_cast<std::size_t>(minPoints));
                tree.findNeighbors(counter, points[c].xyz, params);
                nearEnough[c] = counter.size() >= static_cast<std::size_t>(minPoints) ? 1 : 0;
            }
        });
    }
    copy.ReleasePoints();
    if (!finished)
        return false;
    keep.assign(pts.size(), 0);
    copy.ForEachPlace<false>(pts, nearEnough.data(), [&](std::size_t i, std::uint32_t c) { keep[i] = nearEnough[c]; });
    return !progress || progress(100.0);
}

bool PointFilters::Outlier(const CPCloudMng& group, int k, float factor, std::vector<std::uint8_t>& keep,
                           const OutsideProgressFn& progress)
{
    const auto& pts = group.m_points;
    keep.assign(pts.size(), 1);
    if (k < 1 || !std::isfinite(factor))
        return false;
    if (pts.size() < 3)
        return true; // too few points to judge any of them
    const std::size_t kk = std::min<std::size_t>(static_cast<std::size_t>(k), pts.size() - 1);
    // The flags are made again once the tree is gone, so they never add to the peak.
    std::vector<std::uint8_t>().swap(keep);
    SpatialCopy copy(pts);
    // Mean distance of each point to its neighbours, in the copy's order; a point
    // with a coordinate that is no number has no neighbours (0).
    FloatList meanInCopy(pts.size());
    std::fill(meanInCopy.begin() + static_cast<std::ptrdiff_t>(copy.FiniteCount()), meanInCopy.end(), 0.0f);
    bool finished = true;
    if (copy.FiniteCount() > 0) {
        const CopyAdaptor adaptor{copy.Points(), copy.FiniteCount()};
        const CopyTree tree(3, adaptor, nanoflann::KDTreeSingleIndexAdaptorParams(kOutlierLeafSize));
        const CopyPoint* points = copy.Points();
        // Queries in the tree's leaf order over the cell-ordered copy (see Radius).
        const auto& order = tree.vAcc;
        finished = ParallelBlocks(copy.FiniteCount(), progress, [&](std::size_t begin, std::size_t end) {
            std::vector<std::uint32_t> idx(kk + 1);
            std::vector<float> distSq(kk + 1);
            for (std::size_t j = begin; j < end; ++j) {
                const std::uint32_t c = order[j];
                nanoflann::KNNResultSet<float, std::uint32_t> result(kk + 1);
                result.init(idx.data(), distSq.data());
                tree.findNeighbors(result, points[c].xyz, nanoflann::SearchParams());
                // The point itself is among the results (distance 0); skip it once.
                double sum = 0.0;
                std::size_t used = 0;
                bool selfSeen = false;
                for (std::size_t r = 0; r < result.size(); ++r) {
                    if (!selfSeen && idx[r] == c) {
                        selfSeen = true;
                        continue;
                    }
                    if (used == kk)
                        break;
                    sum += std::sqrt(static_cast<double>(distSq[r]));
                    ++used;
                }
                meanInCopy[c] = used > 0 ? static_cast<float>(sum / static_cast<double>(used)) : 0.0f;
            }
        });
    }
    copy.ReleasePoints();
    if (!finished)
        return false;
    // Back in the group's order, so the sums below add in the same order whatever
    // order the queries ran in.
    FloatList meanDist(pts.size());
    copy.ForEachPlace<false>(pts, meanInCopy.data(), [&](std::size_t i, std::uint32_t c) { meanDist[i] = meanInCopy[c]; });
    FloatList().swap(meanInCopy);
    double mean = 0.0;
    for (float d : meanDist)
        mean += d;
    mean /= static_cast<double>(meanDist.size());
    double var = 0.0;
    for (float d : meanDist)
        var += (d - mean) * (d - mean);
    const double sd = std::sqrt(var / static_cast<double>(meanDist.size() - 1));
    const double limit = mean + static_cast<double>(factor) * sd;
    keep.assign(pts.size(), 0);
    for (std::size_t i = 0; i < pts.size(); ++i)
        keep[i] = static_cast<double>(meanDist[i]) <= limit ? 1 : 0;
    return !progress || progress(100.0);
}
