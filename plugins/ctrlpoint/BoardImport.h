#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "plugins/ctrlpoint/ControlPointSiblings.h"

namespace mod00519 {

// One document board the user picked: its code (96 part, 0x30001 figure element) and value.
struct Board {
    int code = 0;
    std::uint32_t value = 0;
};

// Imports picked document boards into a part list: every admitted address the list
// does not hold yet enters once, however many boards name it, and the list grows
// past its last row instead of dropping what does not fit.
class BoardImport {
public:
    static constexpr int kBoardPart = 96;
    static constexpr int kBoardFigure = 0x30001;
    static constexpr std::uint32_t kFigureFlag = 0x80000000u;

    // The new addresses in board order. Part boards pass admitPart; figure boards pass
    // admitFigure and are stored with the figure flag.
    static std::vector<std::uint32_t> Collect(const std::vector<Board>& boards, const std::vector<std::uint32_t>& held,
                                              const std::function<bool(std::uint32_t)>& admitPart,
                                              const std::function<bool(std::uint32_t)>& admitFigure);

    // The board code a cell takes, from its cell code: figure fields 0x30001, part
    // fields 96, points and angles 65, 66, 69, 70; 0 for a cell no board fills.
    static int CellBoardCode(std::uint32_t cellCode);

    // Places the addresses into the column from row `from` on: empty slots first, in
    // order, then new rows at the end. Held addresses are never overwritten.
    static void Place(std::vector<std::uint32_t>& column, std::size_t from, const std::vector<std::uint32_t>& added);
};

} // namespace mod00519
