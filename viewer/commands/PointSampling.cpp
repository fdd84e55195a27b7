#include "viewer/commands/PointSampling.h"

#include "outside/CModelDataMng.h"
#include "viewer/files/MakeUniqueGroupName.h"
#include "viewer/render/ViewSettings.h"

namespace sampling {

namespace {

std::array<float, 3> ToFloats(const std::array<double, 3>& cells)
{
    return {static_cast<float>(cells[0]), static_cast<float>(cells[1]), static_cast<float>(cells[2])};
}

} // namespace

Params Params::FromSettings(const ViewSettings& settings, Filter filter)
{
    Params p;
    p.filter = filter;
    switch (filter) {
    case Filter::Grid: p.cell = ToFloats(settings.gridCellM); break;
    case Filter::GridMinZ: p.cell = ToFloats(settings.lowestCellM); break;
    case Filter::GridMaxZ: p.cell = ToFloats(settings.highestCellM); break;
    default: break;
    }
    p.radius = static_cast<float>(settings.radiusM);
    p.minimumPoints = settings.minimumPoints;
    p.neighbourCount = settings.neighbourCount;
    p.deviation = static_cast<float>(settings.standardDeviation);
    return p;
}

int RunStoreFilter(CModelDataMng& store, const Params& p, const OutsideProgressFn& progress)
{
    switch (p.filter) {
    case Filter::Grid: return store.FilterPointGridFilter(p.cell[0], p.cell[1], p.cell[2], progress);
    case Filter::GridMinZ: return store.FilterPointGridFilter_GridMinZ(p.cell[0], p.cell[1], p.cell[2], progress);
    case Filter::GridMaxZ: return store.FilterPointGridFilter_GridMaxZ(p.cell[0], p.cell[1], p.cell[2], progress);
    case Filter::Radius: return store.FilterPointRadius(p.radius, p.minimumPoints, progress);
    case Filter::Outlier: return store.FilterPointOutlierRemoval(p.neighbourCount, p.deviation, progress);
    }
    return 0;
}

void NameCreatedGroups(CModelDataMng& store, int before)
{
    if (store.GetGroupCount() <= 1)
        return;
    for (int i = before < 0 ? 0 : before; i < store.GetGroupCount(); ++i) {
        CPCloudMng* g = store.GetGroup(i);
        if (g == nullptr)
            continue;
        MakeUniqueGroupName(g->m_name, store, *g, 1);
        g->m_memo.clear();
        g->m_nColor = CModelDataMng::GetDefPointCloudGroupCol(static_cast<std::uint16_t>(i));
    }
}

} // namespace sampling
