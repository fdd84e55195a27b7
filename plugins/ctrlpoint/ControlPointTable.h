#pragma once

#include <array>
#include <vector>

#include "plugins/ctrlpoint/ControlPointSiblings.h"

namespace mod00519 {

// Indices of the five automatic/manual switches of the positional record.
enum PositionalSwitch { kSwitchA = 0, kSwitchB, kSwitchC, kSwitchD, kSwitchE };

// One check-calculation row: a horizontal route (687) and a height route (684).
struct CheckCalcRow {
    PartAddress horizontal = 0;
    PartAddress height = 0;
    bool operator==(const CheckCalcRow&) const = default;
};

// What the evaluation reads of the part's own records: the grade of `F1`, `F2`, the
// switches of `F03`, the network parts and the two row lists (each up to its first
// unreadable row).
struct ControlPointTable {
    short grade = 0;
    short networkKind = 0;          // 0 strict, 1 arbitrary, 2 single route
    short checkSurveyOutput = 0;    // 1: check-survey differences are printed
    std::array<short, 5> switches{};
    PartAddress strict628 = 0;
    PartAddress strict631 = 0;
    PartAddress arbitraryNetwork = 0;
    PartAddress singleRoute = 0;
    std::vector<PartAddress> handbooks;
    std::vector<CheckCalcRow> checkCalcs;

    bool SwitchSet(PositionalSwitch s) const { return switches[s] != 0; }
};

} // namespace mod00519
