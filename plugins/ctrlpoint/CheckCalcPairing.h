#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "plugins/ctrlpoint/ControlPointTable.h"

namespace mod00519 {

// Pairs the check-calculation rows so that each row holds a horizontal route (687) and
// the height route (684) of the same route key, by exchanging height parts.
//
// A part without a readable key never moves (its row neither starts an exchange nor is
// a target); a row whose two keys already match stays; a row's height part moves to the
// first row whose horizontal part has that key and whose own pair does not match. Each exchange pairs
// one more row, so the passes end, and pairing the result again changes nothing.
class CheckCalcPairing {
public:
    // Route key of a part; nullopt for address 0 or a part that cannot be read.
    using KeyOf = std::function<std::optional<std::int64_t>(PartAddress)>;

    // Answers whether any row changed.
    static bool Pair(std::vector<CheckCalcRow>& rows, const KeyOf& horizontalKey, const KeyOf& heightKey);
};

} // namespace mod00519
