#pragma once

#include "plugins/gnss/GnssQuantities.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace mod04827 {

// One half-session baseline: its end points, its XYZ vector and its position (ECEF, metres).
struct HalfBaseline {
    std::string from;
    std::string to;
    double vector[3] = {0.0, 0.0, 0.0};
    double position[3] = {0.0, 0.0, 0.0};
};

// Pairs second-half baselines with first-half ones. A second half takes the first
// unused first half with the same end points, in either direction, so a repeated
// baseline pairs first with first and second with second.
class HalfBaselinePairing {
public:
    void AddFirst(const HalfBaseline& baseline);
    void AddSecond(const HalfBaseline& baseline);

    // Local N, E, U differences first minus second of every entry (unpaired ones stay unused).
    std::vector<HalfDifference> Differences() const;

private:
    struct Entry {
        HalfBaseline first;
        HalfBaseline second;
        bool used = false;
        bool reversed = false;
    };
    using EndKey = std::pair<std::string, std::string>;

    std::vector<Entry> m_entries;
    std::map<EndKey, std::vector<std::size_t>> m_unused;   // ascending entry indices per (from, to)
};

}  // namespace mod04827
