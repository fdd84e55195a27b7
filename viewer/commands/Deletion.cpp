#include "viewer/commands/Deletion.h"

#include "outside/CModelDataMng.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace deletion {

namespace {

constexpr double kUnset = 1e-16;

CPCloudMng* ShownGroup(const CModelDataMng& store, std::int64_t i)
{
    CPCloudMng* g = store.GetGroup(i);
    return g != nullptr && g->IsShownForPoints() ? g : nullptr;
}

// The selected figures that lie on a shown layer, ascending, each once.
std::vector<std::int64_t> ErasableFigures(const CModelDataMng& store, const std::vector<std::int64_t>& selected)
{
    std::vector<std::int64_t> out;
    const auto n = static_cast<std::int64_t>(store.m_elmList.size());
    for (std::int64_t i : selected)
        if (i >= 0 && i < n && store.IsOnShownCadLayer(store.m_elmList[static_cast<std::size_t>(i)]))
            out.push_back(i);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

} // namespace

std::optional<Range> OrderBounds(double bound1, double bound2)
{
    if (std::isnan(bound1) || std::isnan(bound2))
        return std::nullopt;
    Range r{std::min(bound1, bound2), std::max(bound1, bound2)};
    if (r.lo == kUnset)
        r.lo = 0.0;
    if (r.hi == kUnset)
        r.hi = 0.0;
    if (r.lo > r.hi)
        std::swap(r.lo, r.hi);
    return r;
}

std::int64_t CountShownSelectedPoints(const CModelDataMng& store, const std::vector<SelPCloud>& selection)
{
    if (store.IsShowRootGroup() == 0)
        return 0;
    std::int64_t count = 0;
    for (const SelPCloud& entry : selection) {
        const CPCloudMng* g = ShownGroup(store, entry.group);
        if (g == nullptr)
            continue;
        const std::int64_t size = g->GetCloudPointSize();
        for (std::uint64_t ref : entry.points)
            if (SelPCloud::PointIndex(ref) < size)
                ++count;
    }
    return count;
}

std::vector<std::int64_t> DeleteSelectedPoints(CModelDataMng& store, const std::vector<SelPCloud>& selection)
{
    // The selected points of each group as one bit a point (a group may have several
    // buckets); the points themselves are read once, by the compaction.
    std::map<std::int64_t, std::vector<std::uint64_t>> marks;
    for (const SelPCloud& entry : selection) {
        const CPCloudMng* g = ShownGroup(store, entry.group);
        if (g == nullptr || entry.points.empty())
            continue;
        const auto size = static_cast<std::uint64_t>(g->GetCloudPointSize());
        std::vector<std::uint64_t>& words = marks[entry.group];
        words.resize((size + 63) / 64);
        for (std::uint64_t ref : entry.points) {
            const std::uint64_t i = SelPCloud::PointIndex(ref);
            if (i < size)
                words[i >> 6] |= std::uint64_t{1} << (i & 63);
        }
    }
    std::vector<std::int64_t> changed;
    for (const auto& [group, words] : marks) {
        store.GetGroup(group)->DeleteMarkedCloudPoints(words);
        changed.push_back(group);
    }
    return changed;
}

std::int64_t CountSelectedCadOnShownLayers(const CModelDataMng& store, const std::vector<std::int64_t>& selected)
{
    if (store.IsShowRootGroup() == 0 || store.IsShowCADGroup() == 0)
        return 0;
    return static_cast<std::int64_t>(ErasableFigures(store, selected).size());
}

std::int64_t DeleteSelectedCadFigures(CModelDataMng& store, const std::vector<std::int64_t>& selected)
{
    const std::vector<std::int64_t> erase = ErasableFigures(store, selected);
    for (auto it = erase.rbegin(); it != erase.rend(); ++it)
        store.m_elmList.erase(store.m_elmList.begin() + *it);
    return static_cast<std::int64_t>(erase.size());
}

std::vector<std::int64_t> DeleteByElevation(CModelDataMng& store, const Range& range, bool outside)
{
    std::vector<std::int64_t> changed;
    if (store.IsShowRootGroup() == 0)
        return changed;
    const double lo = range.lo;
    const double hi = range.hi;
    for (std::int64_t i = store.GetGroupCount() - 1; i >= 0; --i) {
        CPCloudMng* g = ShownGroup(store, i);
        if (g == nullptr)
            continue;
        const double minZ = g->GetPCloudMinZ();
        const double maxZ = g->GetPCloudMaxZ();
        bool whole = false;
        if (!outside) {
            if (minZ > hi || maxZ < lo)
                continue;
            whole = minZ >= lo && maxZ <= hi;
        } else {
            if (maxZ <= hi && minZ >= lo)
                continue;
            whole = minZ > hi || maxZ < lo;
        }
        if (whole) {
            g->DeleteCloudPointAll();
        } else {
            const auto n = static_cast<std::uint64_t>(g->GetCloudPointSize());
            std::vector<std::uint64_t> marks((n + 63) / 64);
            for (std::uint64_t p = 0; p < n; ++p) {
                float x = 0, y = 0, z = 0;
                COLORREF colour = 0;
                double intensity = 0;
                if (g->GetCloudPointVal(static_cast<std::int64_t>(p), x, y, z, colour, intensity) == 0 ||
                    std::isnan(z))
                    continue;
                const bool inside = lo <= z && z <= hi;
                if (inside != outside)
                    marks[p >> 6] |= std::uint64_t{1} << (p & 63);
            }
            g->DeleteMarkedCloudPoints(marks);
        }
        changed.push_back(i);
    }
    return changed;
}

bool AnythingHidden(const CModelDataMng& store)
{
    for (int i = 0; i < store.GetGroupCount(); ++i) {
        const CPCloudMng* g = store.GetGroup(i);
        if (g != nullptr && (g->IsShowGroup() == 0 || g->IsShowPCloud() == 0 || g->IsShowTin() == 0))
            return true;
    }
    if (store.IsShowCADGroup() == 0 || store.IsShowCADTin() == 0 || store.IsShowPartGroup() == 0 ||
        store.IsShowPartLn() == 0 || store.IsShowPartPt() == 0 || store.IsShow3DStructureGroup() == 0)
        return true;
    const CPCloudMng& view = store.m_viewCloud;
    if (view.IsShowGroup() == 0 || view.IsShowPCloud() == 0 || view.IsShowTin() == 0)
        return true;
    for (const CModelDataMng::CadLayer& layer : store.m_cadLayers)
        if (layer.present && layer.show == 0)
            return true;
    return false;
}

void DeleteAllShown(CModelDataMng& store)
{
    if (store.IsShowRootGroup() == 0)
        return;
    for (std::int64_t i = store.GetGroupCount() - 1; i >= 0; --i) {
        CPCloudMng* g = store.GetGroup(i);
        if (g == nullptr || g->IsShowGroup() == 0)
            continue;
        if (g->IsShowPCloud() != 0)
            g->DeleteCloudPointAll();
        if (g->IsShowTin() != 0)
            g->DeleteMeash();
    }
    if (store.IsShowCADGroup() != 0) {
        auto& figures = store.m_elmList;
        figures.erase(std::remove_if(figures.begin(), figures.end(),
                                     [&](const CElmData& e) { return store.IsOnShownCadLayer(e); }),
                      figures.end());
        if (store.IsShowCADTin() != 0) {
            store.m_cadTin.ClearCloudPoint();
            store.m_cadTin.ClearVertex();
        }
    }
    if (store.IsShowPartGroup() != 0) {
        if (store.IsShowPartPt() != 0) {
            store.m_partPoint3D.ClearCloudPoint();
            store.m_partPoint2D.ClearCloudPoint();
        }
        if (store.IsShowPartLn() != 0) {
            store.m_partVertex.ClearVertex();
            store.m_partLineVertex3D.ClearVertex();
            store.m_partLineVertex2D.ClearVertex();
            store.m_partLine3D.clear();
            store.m_partLine2D.clear();
        }
    }
    CPCloudMng& view = store.m_viewCloud;
    if (view.IsShowGroup() != 0) {
        if (view.IsShowPCloud() != 0)
            view.DeleteCloudPointAll();
        if (view.IsShowTin() != 0)
            view.DeleteMeash();
    }
}

} // namespace deletion
