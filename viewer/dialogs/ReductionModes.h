#pragma once

#include <string>
#include <vector>

// The TIN generator's break-line reduction modes as the combos list them.
struct ReductionModes {
    std::vector<std::string> texts;
    std::vector<int> levels;

    static ReductionModes FromGenerator();
    //! The item showing a stored level; the first item for a level no mode has.
    int ItemOf(int level) const;
    //! The level an item stores; 3 with no item.
    int LevelOf(int item) const;
};
