#include "plugins/ctrlpoint/PositionalLock.h"

namespace mod00519 {

namespace {

// Text item governed by each switch A to E.
constexpr std::array<std::uint32_t, 5> kGovernedItems = {0, 1, 3, 4, 6};

} // namespace

bool PositionalLock::IsGeneratedCellLocked(short pageType, std::uint32_t cellCode, const std::array<short, 5>& switches)
{
    if (pageType != kPagePositional || (cellCode & 0x0FFFFFFFu) != kCellTextBase)
        return false;
    const std::uint32_t item = cellCode >> 28;
    for (std::size_t s = 0; s < kGovernedItems.size(); ++s) {
        if (kGovernedItems[s] == item)
            return switches[s] == 0;
    }
    return false;
}

std::uint32_t PositionalLock::SwitchCellCode(int index)
{
    return (static_cast<std::uint32_t>(index) << 28) | kCellSwitchBase;
}

} // namespace mod00519
