#include "outside/CModelDataMng.h"
#include "outside/PointFilters.h"

#include <exception>

template <class KeepFn>
int CModelDataMng::FilterShownGroups(KeepFn&& computeKeep, const OutsideProgressFn& progress)
{
    // Every flag list is worked out before any group changes, so a cancel or a bad
    // parameter leaves all groups as they were.
    std::vector<std::vector<std::uint8_t>> keeps;
    std::vector<CPCloudMng*> groups;
    try {
        if (!ComputeKeeps(computeKeep, progress, groups, keeps))
            return 0;
    } catch (const std::exception&) {
        return 0; // out of memory on the way: no group was changed
    }
    for (std::size_t i = 0; i < groups.size(); ++i)
        groups[i]->CompactCloudPoints(keeps[i]);
    return 1;
}

template <class KeepFn>
bool CModelDataMng::ComputeKeeps(KeepFn& computeKeep, const OutsideProgressFn& progress, std::vector<CPCloudMng*>& groups,
                                 std::vector<std::vector<std::uint8_t>>& keeps)
{
    std::size_t total = 0;
    for (auto& g : m_groups) {
        if (g && g->IsShownForPoints() && g->GetCloudPointSize() > 0) {
            groups.push_back(g.get());
            total += g->m_points.size();
        }
    }
    keeps.resize(groups.size());
    std::size_t done = 0;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const double start = total == 0 ? 0.0 : 100.0 * static_cast<double>(done) / static_cast<double>(total);
        const double share = total == 0 ? 0.0 : static_cast<double>(groups[i]->m_points.size()) / static_cast<double>(total);
        OutsideProgressFn slice;
        if (progress)
            slice = [&progress, start, share](double percent) { return progress(start + share * percent); };
        if (!computeKeep(*groups[i], keeps[i], slice))
            return false;
        done += groups[i]->m_points.size();
    }
    return true;
}

int CModelDataMng::FilterPointGridFilter(float lx, float ly, float lz, const OutsideProgressFn& progress)
{
    return FilterShownGroups(
        [=](const CPCloudMng& g, std::vector<std::uint8_t>& keep, const OutsideProgressFn& p) {
            return PointFilters::Grid(g, lx, ly, lz, PointFilters::GridPick::First, keep, p);
        },
        progress);
}

int CModelDataMng::FilterPointGridFilter_GridMinZ(float lx, float ly, float lz, const OutsideProgressFn& progress)
{
    return FilterShownGroups(
        [=](const CPCloudMng& g, std::vector<std::uint8_t>& keep, const OutsideProgressFn& p) {
            return PointFilters::Grid(g, lx, ly, lz, PointFilters::GridPick::LowestZ, keep, p);
        },
        progress);
}

int CModelDataMng::FilterPointGridFilter_GridMaxZ(float lx, float ly, float lz, const OutsideProgressFn& progress)
{
    return FilterShownGroups(
        [=](const CPCloudMng& g, std::vector<std::uint8_t>& keep, const OutsideProgressFn& p) {
            return PointFilters::Grid(g, lx, ly, lz, PointFilters::GridPick::HighestZ, keep, p);
        },
        progress);
}

int CModelDataMng::FilterPointRadius(float radius, int minPoints, const OutsideProgressFn& progress)
{
    return FilterShownGroups(
        [=](const CPCloudMng& g, std::vector<std::uint8_t>& keep, const OutsideProgressFn& p) {
            return PointFilters::Radius(g, radius, minPoints, keep, p);
        },
        progress);
}

int CModelDataMng::FilterPointOutlierRemoval(int k, float deviationFactor, const OutsideProgressFn& progress)
{
    return FilterShownGroups(
        [=](const CPCloudMng& g, std::vector<std::uint8_t>& keep, const OutsideProgressFn& p) {
            return PointFilters::Outlier(g, k, deviationFactor, keep, p);
        },
        progress);
}
