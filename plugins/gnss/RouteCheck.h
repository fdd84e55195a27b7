#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace mod04827 {

// One baseline entry of a route between known points.
struct RouteEntry {
    bool active = true;            // the entry names an active record
    std::string from;
    std::string to;
    double heightDifference = 0.0; // ellipsoid height of `to` minus `from`, metres
};

struct RouteCheckResult {
    bool passed = false;
    std::string message;           // why the route was rejected
    double closure = 0.0;          // metres, when passed
    std::vector<bool> reversed;    // direction each baseline is used in
};

// Checks a route (enough entries, known end points, no repeated baseline, joined end
// to end) and computes its ellipsoid-height closure from the known heights of its ends.
RouteCheckResult CheckRoute(const std::vector<RouteEntry>& entries,
                            const std::map<std::string, double>& knownHeights, bool levellingInUse);

}  // namespace mod04827
