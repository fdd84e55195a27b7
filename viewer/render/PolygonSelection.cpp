#include "viewer/render/PolygonSelection.h"

#include "outside/BulkAllocator.h"
#include "outside/CModelDataMng.h"

#include <algorithm>
#include <numeric>

namespace {

// The last bucket of the group (a group has at most one; the last wins).
SelPCloud* FindBucket(std::vector<SelPCloud>& buckets, std::int64_t group)
{
    SelPCloud* found = nullptr;
    for (SelPCloud& b : buckets)
        if (b.group == group) found = &b;
    return found;
}

void SortUnique(std::vector<std::uint64_t>& v)
{
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
}

// Room for `more` numbers after those in `out`; a large room is offered huge pages
// before its first write, as a selection of millions of points would otherwise
// cost a page fault every 512 numbers.
void Reserve(std::vector<std::uint64_t>& out, std::uint64_t more)
{
    out.reserve(out.size() + more);
    AdviseHugePages(out.data() + out.size(), (out.capacity() - out.size()) * sizeof(std::uint64_t));
}

}  // namespace

PolygonSelection::PolygonSelection(const CModelDataMng& store, const ScreenProjector& projector,
                                   ScreenPolygon polygon, bool testInside)
    : m_store(store), m_projector(projector), m_polygon(std::move(polygon)), m_testInside(testInside)
{
}

void PolygonSelection::MergeWholeGroup(std::vector<SelPCloud>& buckets, std::int64_t group, std::uint64_t n,
                                       Keys keys)
{
    SelPCloud* bucket = (keys.shift || keys.ctrl) ? FindBucket(buckets, group) : nullptr;
    if (keys.shift && bucket != nullptr) {
        if (bucket->points.size() != n) {
            bucket->points.resize(n);
            std::iota(bucket->points.begin(), bucket->points.end(), std::uint64_t{0});
        }
        return;
    }
    if (keys.ctrl && !keys.shift) {
        if (bucket != nullptr) buckets.erase(buckets.begin() + (bucket - buckets.data()));
        return;
    }
    if (n == 0) return;
    SelPCloud fresh;
    fresh.group = group;
    fresh.points.resize(n);
    std::iota(fresh.points.begin(), fresh.points.end(), std::uint64_t{0});
    buckets.push_back(std::move(fresh));
}

void PolygonSelection::Merge(std::vector<SelPCloud>& buckets, std::int64_t group, std::vector<std::uint64_t>& collected,
                             Keys keys)
{
    if (collected.empty()) return;
    SelPCloud* bucket = (keys.shift || keys.ctrl) ? FindBucket(buckets, group) : nullptr;
    if (keys.shift) {
        if (bucket != nullptr) {
            bucket->points.insert(bucket->points.end(), collected.begin(), collected.end());
            SortUnique(bucket->points);
            return;
        }
    } else if (keys.ctrl) {
        if (bucket == nullptr) return;
        SortUnique(collected);
        SortUnique(bucket->points);
        std::vector<std::uint64_t> kept;
        kept.reserve(bucket->points.size());
        std::set_difference(bucket->points.begin(), bucket->points.end(), collected.begin(), collected.end(),
                            std::back_inserter(kept));
        bucket->points = std::move(kept);
        return;
    }
    buckets.push_back(SelPCloud{group, std::move(collected)});
}

void PolygonSelection::Classify()
{
    const auto& groups = m_store.m_groups;
    m_groupClasses.assign(groups.size(), screenbox::kOutside);
    m_chunkClasses.assign(groups.size(), {});
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const CPCloudMng* group = groups[g].get();
        if (group == nullptr || group->m_nDataFlag == 0) continue;
        const double lo[3] = {group->GetPCloudMinX(), group->GetPCloudMinY(), group->GetPCloudMinZ()};
        const double hi[3] = {group->GetPCloudMaxX(), group->GetPCloudMaxY(), group->GetPCloudMaxZ()};
        m_groupClasses[g] = screenbox::Classify(m_projector, m_polygon, lo, hi, m_testInside);
        if (m_groupClasses[g] != screenbox::kTest) continue;
        std::vector<std::int16_t>& chunks = m_chunkClasses[g];
        chunks.assign(group->m_grid.size(), screenbox::kTest);
        for (std::size_t c = 0; c < group->m_grid.size(); ++c) {
            const GridCell& cell = group->m_grid[c];
            if (cell.indices.empty()) continue;
            const double clo[3] = {cell.minX, cell.minY, cell.minZ};
            const double chi[3] = {cell.maxX, cell.maxY, cell.maxZ};
            chunks[c] = screenbox::Classify(m_projector, m_polygon, clo, chi, m_testInside);
        }
    }
}

bool PolygonSelection::TestPoint(const CPCloudMng::CloudPoint& p) const
{
    ScreenProjector::Window w;
    // Points behind the eye would project mirrored into the polygon.
    if (!m_projector.ProjectUser(p.x, p.y, p.z, w)) return false;
    const std::int64_t x = ScreenPolygon::WholePixel(w.x), y = ScreenPolygon::WholePixel(w.y);
    return m_polygon.InBounds(x, y) && (!m_testInside || m_polygon.Contains(x, y));
}

void PolygonSelection::Collect(const CPCloudMng& group, std::size_t g, std::vector<std::uint64_t>& out)
{
    const std::vector<std::int16_t>& classes = m_chunkClasses[g];
    const auto n = static_cast<std::uint64_t>(group.m_points.size());
    // When every chunk needs its points tested and the chunks hold every point,
    // walk the points in memory order: the chunks' lists jump about the array.
    std::uint64_t chunked = 0;
    bool allTested = classes.size() == group.m_grid.size();
    for (std::size_t c = 0; c < group.m_grid.size() && allTested; ++c) {
        chunked += group.m_grid[c].indices.size();
        allTested = group.m_grid[c].indices.empty() || classes[c] == screenbox::kTest;
    }
    // Room for every point the walk may take, so that a large selection is not
    // copied over each time its list outgrows itself (pages are only committed
    // as they are written).
    if (allTested && chunked == n) {
        m_projected += n;
        Reserve(out, n);
        for (std::uint64_t i = 0; i < n; ++i)
            if (TestPoint(group.m_points[i])) out.push_back(i);
        return;
    }
    std::uint64_t room = 0;
    for (std::size_t c = 0; c < group.m_grid.size(); ++c)
        if (c >= classes.size() || classes[c] != screenbox::kOutside) room += group.m_grid[c].indices.size();
    Reserve(out, room);
    for (std::size_t c = 0; c < group.m_grid.size(); ++c) {
        const std::int16_t cls = c < classes.size() ? classes[c] : screenbox::kTest;
        if (cls == screenbox::kOutside) continue;
        const GridCell& cell = group.m_grid[c];
        if (cls == screenbox::kInside) {
            for (std::uint32_t i : cell.indices)
                if (i < n) out.push_back(i);
            continue;
        }
        m_projected += cell.indices.size();
        for (std::uint32_t i : cell.indices)
            if (i < n && TestPoint(group.m_points[i])) out.push_back(i);
    }
}

int PolygonSelection::Run(std::vector<SelPCloud>& buckets, Keys keys)
{
    m_projected = 0;
    if (!keys.shift && !keys.ctrl) buckets.clear();
    if (m_polygon.Size() < 3) return 0;
    Classify();
    const auto& groups = m_store.m_groups;
    std::vector<std::uint64_t> collected;
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const CPCloudMng* group = groups[g].get();
        if (group == nullptr || !group->IsShownForPoints() || m_groupClasses[g] == screenbox::kOutside) continue;
        const auto number = static_cast<std::int64_t>(g);
        if (m_groupClasses[g] == screenbox::kInside) {
            MergeWholeGroup(buckets, number, group->m_points.size(), keys);
            continue;
        }
        collected.clear();
        Collect(*group, g, collected);
        Merge(buckets, number, collected, keys);
        collected = {};
    }
    return 1;
}
