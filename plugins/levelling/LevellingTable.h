#pragma once

#include <array>
#include <vector>

#include "plugins/levelling/LevellingSiblings.h"

class Tab00963Data;

namespace mod00963 {

// What the evaluation reads of the table's records.
struct LevellingTable {
    enum Switch { kOverallRequirement = 0, kRelativeRequirement, kRelativeResult };

    bool readable = false;              // F1 and F03 were read
    short grade = 0;
    std::array<short, 3> switches{};    // 0 automatic, any other value manual
    PartAddress network = 0;            // FR1, 0 = none
    std::vector<PartAddress> notes;     // R2
    std::vector<PartAddress> routes;    // R3

    bool IsManual(Switch s) const { return switches[s] != 0; }

    static LevellingTable Read(const Tab00963Data& data);
};

} // namespace mod00963
