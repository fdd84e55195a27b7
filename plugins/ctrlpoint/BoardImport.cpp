#include "plugins/ctrlpoint/BoardImport.h"

#include <unordered_set>

namespace mod00519 {

std::vector<std::uint32_t> BoardImport::Collect(const std::vector<Board>& boards, const std::vector<std::uint32_t>& held,
                                                const std::function<bool(std::uint32_t)>& admitPart,
                                                const std::function<bool(std::uint32_t)>& admitFigure)
{
    std::unordered_set<std::uint32_t> seen(held.begin(), held.end());
    std::vector<std::uint32_t> added;
    for (const Board& board : boards) {
        std::uint32_t address = 0;
        if (board.code == kBoardPart && board.value != 0 && admitPart && admitPart(board.value))
            address = board.value;
        else if (board.code == kBoardFigure && board.value != 0 && admitFigure && admitFigure(board.value))
            address = board.value | kFigureFlag;
        if (address != 0 && seen.insert(address).second)
            added.push_back(address);
    }
    return added;
}

int BoardImport::CellBoardCode(std::uint32_t cellCode)
{
    if (cellCode == 0x0460301u || cellCode == 0x2460300u || cellCode == 0x2460309u)
        return kBoardFigure;
    if (cellCode == 0x41F0003u)
        return kBoardPart;
    const std::uint32_t format = (cellCode >> 16) & 0xFu;
    if (format == 0xDu || format == 0xFu)
        return 0;
    switch ((cellCode >> 20) & 0xFu) {
    case 0x3: return kBoardPart;
    case 0x5:
    case 0x6: return 66;
    case 0x9: return 65;
    case 0xA: return 70;
    case 0xB: return 69;
    default: return 0;
    }
}

void BoardImport::Place(std::vector<std::uint32_t>& column, std::size_t from, const std::vector<std::uint32_t>& added)
{
    std::size_t row = from;
    for (const std::uint32_t address : added) {
        while (row < column.size() && column[row] != 0)
            ++row;
        if (row < column.size())
            column[row] = address;
        else
            column.push_back(address);
        ++row;
    }
}

} // namespace mod00519
