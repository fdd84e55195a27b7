#include "outside/GridBuilder.h"

#include "outside/ParallelParts.h"

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
    // Values outside the bounds (and NaN) clamp to the edge cells.
    const auto along = [](double offset, double scale, std::size_t cellsAlong) {
        const double c = offset * scale;
        return c > 0.0 ? static_cast<std::size_t>(std::min(c, static_cast<double>(cellsAlong - 1))) : std::size_t{0};
    };
    const auto cellOf = [&](std::size_t i) {
        const float* p = xyz + i * stride;
        return along(static_cast<double>(p[1]) - minY, sy, ny) * nx + along(static_cast<double>(p[0]) - minX, sx, nx);
    };
    const std::size_t cellCount = nx * ny;
    // Counted in parts on worker threads: part k's items of a cell follow those of
    // parts before it, so every cell lists its items in index order.
    std::vector<std::uint32_t> partCounts(cellCount * kMaxParallelParts, 0);
    const std::size_t parts = ParallelParts(count, [&](std::size_t begin, std::size_t end, std::size_t part) {
        std::uint32_t* counts = partCounts.data() + part * cellCount;
        for (std::size_t i = begin; i < end; ++i)
            ++counts[cellOf(i)];
    });
    // Dense cell number -> position in the kept (non-empty) list, and where each
    // part starts writing in that cell's list.
    std::vector<std::uint32_t> slot(cellCount, 0);
    std::vector<std::uint32_t> total(cellCount, 0);
    std::size_t kept = 0;
    for (std::size_t c = 0; c < cellCount; ++c) {
        std::uint32_t sum = 0;
        for (std::size_t part = 0; part < parts; ++part) {
            const std::uint32_t n = partCounts[part * cellCount + c];
            partCounts[part * cellCount + c] = sum; // now the part's start
            sum += n;
        }
        total[c] = sum;
        if (sum != 0)
            slot[c] = static_cast<std::uint32_t>(kept++);
    }
    cells.resize(kept);
    for (std::size_t c = 0; c < cellCount; ++c)
        if (total[c] != 0)
            cells[slot[c]].indices.resize(total[c]);
    constexpr float kHuge = std::numeric_limits<float>::max();
    std::vector<float> partBoxes(kept * parts * 6);
    for (std::size_t b = 0; b < partBoxes.size(); b += 6) {
        partBoxes[b] = partBoxes[b + 1] = partBoxes[b + 2] = kHuge;
        partBoxes[b + 3] = partBoxes[b + 4] = partBoxes[b + 5] = -kHuge;
    }
    ParallelParts(count, [&](std::size_t begin, std::size_t end, std::size_t part) {
        std::uint32_t* next = partCounts.data() + part * cellCount;
        float* boxes = partBoxes.data() + part * kept * 6;
        for (std::size_t i = begin; i < end; ++i) {
            const std::size_t c = cellOf(i);
            const std::uint32_t s = slot[c];
            cells[s].indices[next[c]++] = static_cast<std::uint32_t>(i);
            const float* p = xyz + i * stride;
            float* box = boxes + static_cast<std::size_t>(s) * 6;
            box[0] = std::min(box[0], p[0]);
            box[1] = std::min(box[1], p[1]);
            box[3] = std::max(box[3], p[0]);
            box[4] = std::max(box[4], p[1]);
            box[2] = std::min(box[2], p[2]); // a NaN z leaves the box as it is
            box[5] = std::max(box[5], p[2]);
        }
    });
    for (std::size_t s = 0; s < kept; ++s) {
        GridCell& cell = cells[s];
        float box[6] = {kHuge, kHuge, kHuge, -kHuge, -kHuge, -kHuge};
        for (std::size_t part = 0; part < parts; ++part) {
            const float* b = partBoxes.data() + (part * kept + s) * 6;
            for (int k = 0; k < 3; ++k) {
                box[k] = std::min(box[k], b[k]);
                box[3 + k] = std::max(box[3 + k], b[3 + k]);
            }
        }
        cell.minX = box[0];
        cell.minY = box[1];
        cell.minZ = box[2];
        cell.maxX = box[3];
        cell.maxY = box[4];
        cell.maxZ = box[5];
        if (cell.minZ > cell.maxZ)
            cell.minZ = cell.maxZ = 0.0f;
    }
    return cells;
}
