#include "plugins/levelling/LevellingLock.h"

namespace mod00963 {

bool LevellingLock::IsCellLocked(short pageType, std::uint32_t cellCode, const std::array<short, 3>& switches)
{
    if (pageType != kPagePositional)
        return false;
    const std::array<std::uint32_t, 3> governed = {kCellOverallManual, kCellRelRequirementManual,
                                                   kCellRelResultManual};
    for (std::size_t s = 0; s < governed.size(); ++s) {
        if (cellCode == governed[s])
            return switches[s] == 0;
    }
    return false;
}

bool LevellingLock::IsSwitchCell(std::uint32_t cellCode)
{
    return cellCode == kCellOverallSwitch || cellCode == kCellRelRequirementSwitch || cellCode == kCellRelResultSwitch;
}

} // namespace mod00963
