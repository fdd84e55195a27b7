#include "outside/GridBuilder.h"

#include "outside/BulkAllocator.h"
#include "platform/Parallel.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <limits>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#include <xmmintrin.h>
#endif

namespace {

constexpr float kHuge = std::numeric_limits<float>::max();

// One worker part's view of the cells: how many of its items each holds, then
// where it writes them, and the box of its items in each.
struct PartCells {
    std::vector<std::uint32_t> counts;
    std::vector<float> boxes; // six a cell: min x, y, z, max x, y, z
    std::vector<std::uint32_t*> next;
};

// Two passes over the items in parts on worker threads. The first works out each
// item's cell once (kept in `keys`), counts and boxes the cells per part; the
// second writes every index into its cell's list, part k's items of a cell after
// those of the parts before it, so every cell lists its items in index order.
// The index lists of a grid being replaced, to be handed to the cells of the new
// one: their memory is already the process's, so filling them costs no page faults.
// Lists go largest first to the largest cells, each only to a cell it holds without
// growing and without wasting more than half of it.
class ListPool {
public:
    explicit ListPool(std::vector<GridCell>& old)
    {
        for (GridCell& cell : old)
            if (cell.indices.capacity() > 0)
                m_lists.push_back(std::move(cell.indices));
        old.clear();
        std::sort(m_lists.begin(), m_lists.end(),
                  [](const auto& a, const auto& b) { return a.capacity() > b.capacity(); });
    }
    void HandOut(std::vector<GridCell>& cells, const std::vector<std::uint32_t>& sizes)
    {
        if (m_lists.empty())
            return;
        std::vector<std::uint32_t> order(cells.size());
        for (std::uint32_t s = 0; s < order.size(); ++s)
            order[s] = s;
        std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return sizes[a] > sizes[b]; });
        const std::size_t pairs = std::min(order.size(), m_lists.size());
        for (std::size_t r = 0; r < pairs; ++r) {
            const std::size_t have = m_lists[r].capacity(), need = sizes[order[r]];
            if (have >= need && have <= 2 * need)
                cells[order[r]].indices = std::move(m_lists[r]);
        }
        m_lists.clear(); // the lists not handed out are freed before the new ones are made
        m_lists.shrink_to_fit();
    }

private:
    std::vector<std::vector<std::uint32_t>> m_lists;
};

template <class Key, class CellOf>
void FillPlanGrid(std::vector<GridCell>& cells, std::size_t count, const float* xyz, std::size_t stride,
                  std::size_t cellCount, const CellOf& cellOf)
{
    ListPool pool(cells);
    std::vector<Key, BulkAllocator<Key>> keys;
    keys.resize(count); // written by the first pass, not zeroed first
    std::array<PartCells, tessara::kMaxWorkers> partCells;
    // Workers must not throw: a failed allocation is noted and thrown afterwards.
    std::atomic<bool> outOfMemory{false};
    const std::size_t parts = tessara::ParallelParts(count, [&](std::size_t begin, std::size_t end, std::size_t part) {
        PartCells& own = partCells[part];
        try {
            own.counts.assign(cellCount, 0);
            own.boxes.resize(cellCount * 6);
        } catch (const std::bad_alloc&) {
            outOfMemory = true;
            return;
        }
        for (std::size_t c = 0; c < cellCount; ++c) {
            float* box = own.boxes.data() + c * 6;
            box[0] = box[1] = box[2] = kHuge;
            box[3] = box[4] = box[5] = -kHuge;
        }
        std::uint32_t* counts = own.counts.data();
        float* boxes = own.boxes.data();
        // Items of one cell tend to follow each other: a run of them is counted and
        // boxed in registers and added to its cell when the cell changes.
        std::size_t runCell = 0;
        std::uint32_t run = 0;
        const auto flush = [counts, boxes](std::size_t cell, std::uint32_t n, const float* lo, const float* hi) {
            if (n == 0)
                return;
            counts[cell] += n;
            float* box = boxes + cell * 6;
            for (int k = 0; k < 3; ++k) {
                box[k] = std::min(box[k], lo[k]);
                box[3 + k] = std::max(box[3 + k], hi[k]);
            }
        };
#if defined(__SSE2__)
        // x, y, z of the run's box in one register each; min(p, lo) is p < lo ? p : lo,
        // so a NaN z leaves the box as it is.
        const __m128 huge = _mm_set1_ps(kHuge), minusHuge = _mm_set1_ps(-kHuge);
        __m128 lo = huge, hi = minusHuge;
        float loOut[4], hiOut[4];
        for (std::size_t i = begin; i < end; ++i) {
            const std::size_t c = cellOf(i);
            keys[i] = static_cast<Key>(c);
            if (c != runCell) {
                _mm_storeu_ps(loOut, lo);
                _mm_storeu_ps(hiOut, hi);
                flush(runCell, run, loOut, hiOut);
                runCell = c;
                run = 0;
                lo = huge;
                hi = minusHuge;
            }
            ++run;
            const float* p = xyz + i * stride;
            const __m128 v = _mm_movelh_ps(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))),
                                           _mm_load_ss(p + 2));
            lo = _mm_min_ps(v, lo);
            hi = _mm_max_ps(v, hi);
        }
        _mm_storeu_ps(loOut, lo);
        _mm_storeu_ps(hiOut, hi);
        flush(runCell, run, loOut, hiOut);
#else
        float lo[3] = {kHuge, kHuge, kHuge}, hi[3] = {-kHuge, -kHuge, -kHuge};
        for (std::size_t i = begin; i < end; ++i) {
            const std::size_t c = cellOf(i);
            keys[i] = static_cast<Key>(c);
            if (c != runCell) {
                flush(runCell, run, lo, hi);
                runCell = c;
                run = 0;
                lo[0] = lo[1] = lo[2] = kHuge;
                hi[0] = hi[1] = hi[2] = -kHuge;
            }
            ++run;
            const float* p = xyz + i * stride;
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], p[k]); // a NaN z leaves the box as it is
                hi[k] = std::max(hi[k], p[k]);
            }
        }
        flush(runCell, run, lo, hi);
#endif
    });
    if (outOfMemory)
        throw std::bad_alloc();
    // Non-empty cells in cell order, each with its box and the start of every part
    // in its list (the part's count becomes its start).
    constexpr std::uint32_t kNoSlot = std::numeric_limits<std::uint32_t>::max();
    std::vector<std::uint32_t> slotOf(cellCount, kNoSlot);
    std::vector<std::uint32_t> sizes;
    for (std::size_t c = 0; c < cellCount; ++c) {
        std::uint32_t sum = 0;
        float box[6] = {kHuge, kHuge, kHuge, -kHuge, -kHuge, -kHuge};
        for (std::size_t part = 0; part < parts; ++part) {
            std::uint32_t& n = partCells[part].counts[c];
            const std::uint32_t mine = n;
            n = sum;
            sum += mine;
            const float* b = partCells[part].boxes.data() + c * 6;
            for (int k = 0; k < 3; ++k) {
                box[k] = std::min(box[k], b[k]);
                box[3 + k] = std::max(box[3 + k], b[3 + k]);
            }
        }
        if (sum == 0)
            continue;
        slotOf[c] = static_cast<std::uint32_t>(cells.size());
        GridCell& cell = cells.emplace_back();
        cell.minX = box[0];
        cell.minY = box[1];
        cell.minZ = box[2];
        cell.maxX = box[3];
        cell.maxY = box[4];
        cell.maxZ = box[5];
        if (cell.minZ > cell.maxZ)
            cell.minZ = cell.maxZ = 0.0f;
        sizes.push_back(sum);
    }
    for (std::size_t part = 0; part < parts; ++part)
        std::vector<float>().swap(partCells[part].boxes);
    pool.HandOut(cells, sizes);
    // The index lists are made on the workers too (their pages are first touched
    // there): each part makes the lists of a share of the cells.
    const std::size_t kept = cells.size();
    tessara::ParallelParts(count, [&](std::size_t begin, std::size_t end, std::size_t part) {
        const std::size_t from = kept * begin / count, to = kept * end / count;
        try {
            for (std::size_t s = from; s < to; ++s)
                cells[s].indices.resize(sizes[s]);
            partCells[part].next.assign(cellCount, nullptr);
        } catch (const std::bad_alloc&) {
            outOfMemory = true;
        }
    });
    if (outOfMemory)
        throw std::bad_alloc();
    tessara::ParallelParts(count, [&](std::size_t begin, std::size_t end, std::size_t part) {
        PartCells& own = partCells[part];
        for (std::size_t c = 0; c < cellCount; ++c)
            if (slotOf[c] != kNoSlot)
                own.next[c] = cells[slotOf[c]].indices.data() + own.counts[c];
        std::uint32_t** next = own.next.data();
        if (begin == end)
            return;
        // Runs of one cell write on through one pointer.
        Key cell = keys[begin];
        std::uint32_t* at = next[cell];
        for (std::size_t i = begin; i < end; ++i) {
            const Key k = keys[i];
            if (k != cell) {
                next[cell] = at;
                cell = k;
                at = next[k];
            }
            *at++ = static_cast<std::uint32_t>(i);
        }
        next[cell] = at;
    });
}

} // namespace

std::vector<GridCell> BuildPlanGrid(std::size_t count, const float* xyz, std::size_t stride,
                                    std::size_t perCell, std::size_t maxCells)
{
    if (count == 0 || xyz == nullptr)
        return {};
    float minX = std::numeric_limits<float>::max(), minY = minX;
    float maxX = std::numeric_limits<float>::lowest(), maxY = maxX;
    for (std::size_t i = 0; i < count; ++i) {
        const float* p = xyz + i * stride;
        minX = std::min(minX, p[0]);
        maxX = std::max(maxX, p[0]);
        minY = std::min(minY, p[1]);
        maxY = std::max(maxY, p[1]);
    }
    return BuildPlanGrid(count, xyz, stride, perCell, maxCells, minX, minY, maxX, maxY);
}

std::vector<GridCell> BuildPlanGrid(std::size_t count, const float* xyz, std::size_t stride,
                                    std::size_t perCell, std::size_t maxCells, float minX, float minY, float maxX,
                                    float maxY)
{
    std::vector<GridCell> cells;
    RebuildPlanGrid(cells, count, xyz, stride, perCell, maxCells, minX, minY, maxX, maxY);
    return cells;
}

void RebuildPlanGrid(std::vector<GridCell>& cells, std::size_t count, const float* xyz, std::size_t stride,
                     std::size_t perCell, std::size_t maxCells, float minX, float minY, float maxX, float maxY)
{
    if (count == 0 || xyz == nullptr) {
        cells.clear();
        return;
    }
    const double w = std::max(static_cast<double>(maxX) - minX, 1e-6);
    const double h = std::max(static_cast<double>(maxY) - minY, 1e-6);
    const double wanted = std::clamp(static_cast<double>(count) / static_cast<double>(std::max<std::size_t>(perCell, 1)),
                                     1.0, static_cast<double>(std::max<std::size_t>(maxCells, 1)));
    const double side = std::sqrt(w * h / wanted);
    const std::size_t nx = static_cast<std::size_t>(std::clamp(std::ceil(w / side), 1.0, wanted));
    const std::size_t ny = static_cast<std::size_t>(std::clamp(std::ceil(h / side), 1.0, wanted));
    const double sx = static_cast<double>(nx) / w;
    const double sy = static_cast<double>(ny) / h;

    // Values outside the bounds (and NaN) clamp to the edge cells: the cell along
    // an axis is the whole part of (value - min) * scale kept within 0 and
    // cells - 1, a NaN giving 0.
    const double limitX = static_cast<double>(nx - 1), limitY = static_cast<double>(ny - 1);
#if defined(__SSE2__)
    // x and y side by side in one register; max(c, 0) gives 0 for a NaN as the
    // instruction returns its second operand then.
    const __m128d low = _mm_set_pd(static_cast<double>(minY), static_cast<double>(minX));
    const __m128d scale = _mm_set_pd(sy, sx);
    const __m128d limit = _mm_set_pd(limitY, limitX);
    const __m128d zero = _mm_setzero_pd();
    const auto cellOf = [=](std::size_t i) {
        const float* p = xyz + i * stride;
        const __m128d v = _mm_cvtps_pd(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))));
        const __m128d c = _mm_min_pd(_mm_max_pd(_mm_mul_pd(_mm_sub_pd(v, low), scale), zero), limit);
        const __m128i whole = _mm_cvttpd_epi32(c);
        return static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_shuffle_epi32(whole, 1))) * nx +
               static_cast<std::size_t>(_mm_cvtsi128_si32(whole));
    };
#else
    const auto along = [](double offset, double scale, double limit) {
        const double c = offset * scale;
        return c > 0.0 ? static_cast<std::size_t>(static_cast<std::int64_t>(std::min(c, limit))) : std::size_t{0};
    };
    const auto cellOf = [=](std::size_t i) {
        const float* p = xyz + i * stride;
        return along(static_cast<double>(p[1]) - minY, sy, limitY) * nx +
               along(static_cast<double>(p[0]) - minX, sx, limitX);
    };
#endif
    const std::size_t cellCount = nx * ny;
    if (cellCount <= std::size_t{1} << 16)
        FillPlanGrid<std::uint16_t>(cells, count, xyz, stride, cellCount, cellOf);
    else
        FillPlanGrid<std::uint32_t>(cells, count, xyz, stride, cellCount, cellOf);
}
