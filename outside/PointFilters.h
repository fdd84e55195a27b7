#pragma once

#include "outside/CPCloudMng.h"
#include "outside/OutsideTypes.h"

#include <cstdint>
#include <vector>

// The point filters of the store, one group at a time. Each fills `keep` with one
// flag per point and returns false when the progress function asked to stop (or a
// parameter is invalid); the group itself is never changed here.
class PointFilters {
public:
    enum class GridPick { First, LowestZ, HighestZ };

    static bool Grid(const CPCloudMng& group, float lx, float ly, float lz, GridPick pick,
                     std::vector<std::uint8_t>& keep, const OutsideProgressFn& progress);
    static bool Radius(const CPCloudMng& group, float radius, int minPoints, std::vector<std::uint8_t>& keep,
                       const OutsideProgressFn& progress);
    static bool Outlier(const CPCloudMng& group, int k, float factor, std::vector<std::uint8_t>& keep,
                        const OutsideProgressFn& progress);
};
