#include "plugins/ctrlpoint/CheckCalcPairing.h"

#include <unordered_map>
#include <utility>

namespace mod00519 {

bool CheckCalcPairing::Pair(std::vector<CheckCalcRow>& rows, const KeyOf& horizontalKey, const KeyOf& heightKey)
{
    const std::size_t n = rows.size();
    std::vector<std::optional<std::int64_t>> hKey(n);
    std::vector<std::optional<std::int64_t>> vKey(n);
    // Rows by the key of their horizontal part, in row order.
    std::unordered_map<std::int64_t, std::vector<std::size_t>> byHorizontal;
    for (std::size_t i = 0; i < n; ++i) {
        hKey[i] = horizontalKey(rows[i].horizontal);
        vKey[i] = heightKey(rows[i].height);
        if (hKey[i])
            byHorizontal[*hKey[i]].push_back(i);
    }
    const auto paired = [&](std::size_t i) { return hKey[i] && vKey[i] && *hKey[i] == *vKey[i]; };

    bool changed = false;
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (std::size_t i = 0; i < n; ++i) {
            if (!vKey[i] || paired(i))
                continue;
            const auto it = byHorizontal.find(*vKey[i]);
            if (it == byHorizontal.end())
                continue;
            for (const std::size_t j : it->second) {
                // A height part without a readable key stays where it is.
                if (j == i || paired(j) || (rows[j].height != 0 && !vKey[j]))
                    continue;
                std::swap(rows[i].height, rows[j].height);
                std::swap(vKey[i], vKey[j]);
                swapped = changed = true;
                break;
            }
        }
    }
    return changed;
}

} // namespace mod00519
