#pragma once

#include "outside/GridCell.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// Builds a plan grid over `count` items whose float x, y, z start every `strideFloats`
// floats at `xyz`:
// about `perCell` items a cell, at most maxCells cells, only non-empty cells kept,
// each with its items in index order and their box (NaN z takes no part in it).
std::vector<GridCell> BuildPlanGrid(std::size_t count, const float* xyz, std::size_t strideFloats,
                                    std::size_t perCell, std::size_t maxCells);
// The same when the caller knows the plan bounds of the items already.
std::vector<GridCell> BuildPlanGrid(std::size_t count, const float* xyz, std::size_t strideFloats,
                                    std::size_t perCell, std::size_t maxCells, float minX, float minY, float maxX,
                                    float maxY);
// The same into `cells`, which may hold the grid being replaced: the memory of its
// index lists is reused for the new cells. Out of memory, `cells` is left holding
// part of a grid and must be cleared by the caller.
void RebuildPlanGrid(std::vector<GridCell>& cells, std::size_t count, const float* xyz, std::size_t strideFloats,
                     std::size_t perCell, std::size_t maxCells, float minX, float minY, float maxX, float maxY);
