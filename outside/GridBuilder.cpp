#include "outside/GridBuilder.h"

#include <algorithm>
#include <cmath>
#include <limits>

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
    if (count == 0 || xyz == nullptr)
        return cells;
    const double w = std::max(static_cast<double>(maxX) - minX, 1e-6);
    const double h = std::max(static_cast<double>(maxY) - minY, 1e-6);
    const double wanted = std::clamp(static_cast<double>(count) / static_cast<double>(std::max<std::size_t>(perCell, 1)),
                                     1.0, static_cast<double>(std::max<std::size_t>(maxCells, 1)));
    const double side = std::sqrt(w * h / wanted);
    const std::size_t nx = static_cast<std::size_t>(std::clamp(std::ceil(w / side), 1.0, wanted));
    const std::size_t ny = static_cast<std::size_t>(std::clamp(std::ceil(h / side), 1.0, wanted));
    const double sx = static_cast<double>(nx) / w;
    const double sy = static_cast<double>(ny) / h;

    // The cell of a point is worked out twice (count, then fill) rather than kept,
    // so a grid costs no memory beyond its index lists.
    const auto cellOf = [&](std::size_t i) {
        const float* p = xyz + i * stride;
        const std::size_t cx = std::min(nx - 1, static_cast<std::size_t>((p[0] - minX) * sx));
        const std::size_t cy = std::min(ny - 1, static_cast<std::size_t>((p[1] - minY) * sy));
        return cy * nx + cx;
    };
    std::vector<std::uint32_t> counts(nx * ny, 0);
    for (std::size_t i = 0; i < count; ++i)
        ++counts[cellOf(i)];
    // Dense cell number -> position in the kept (non-empty) list.
    std::vector<std::uint32_t> slot(nx * ny, 0);
    std::size_t kept = 0;
    for (std::size_t c = 0; c < counts.size(); ++c)
        if (counts[c] != 0)
            slot[c] = static_cast<std::uint32_t>(kept++);
    cells.resize(kept);
    // Each cell's list is sized once and filled through a cursor.
    std::vector<std::uint32_t*> cursor(kept);
    for (std::size_t c = 0; c < counts.size(); ++c) {
        if (counts[c] == 0)
            continue;
        GridCell& cell = cells[slot[c]];
        cell.indices.resize(counts[c]);
        cursor[slot[c]] = cell.indices.data();
        cell.minX = cell.minY = cell.minZ = std::numeric_limits<float>::max();
        cell.maxX = cell.maxY = cell.maxZ = std::numeric_limits<float>::lowest();
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t s = slot[cellOf(i)];
        GridCell& cell = cells[s];
        const float* p = xyz + i * stride;
        *cursor[s]++ = static_cast<std::uint32_t>(i);
        cell.minX = std::min(cell.minX, p[0]);
        cell.maxX = std::max(cell.maxX, p[0]);
        cell.minY = std::min(cell.minY, p[1]);
        cell.maxY = std::max(cell.maxY, p[1]);
        if (!std::isnan(p[2])) {
            cell.minZ = std::min(cell.minZ, p[2]);
            cell.maxZ = std::max(cell.maxZ, p[2]);
        }
    }
    for (GridCell& cell : cells)
        if (cell.minZ > cell.maxZ)
            cell.minZ = cell.maxZ = 0.0f;
    return cells;
}
