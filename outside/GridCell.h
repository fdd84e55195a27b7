#pragma once

#include <cstdint>
#include <vector>

// One cell of a store's spatial grid: the indices of the points (or vertices) whose
// plan position falls in the cell, and their bounding box (floats, user
// coordinates). Grids keep only cells that hold at least one index.
struct GridCell {
    std::vector<std::uint32_t> indices;
    float minX = 0.0f;
    float minY = 0.0f;
    float minZ = 0.0f;
    float maxX = 0.0f;
    float maxY = 0.0f;
    float maxZ = 0.0f;
};
