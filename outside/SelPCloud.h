#pragma once

#include <cstdint>
#include <vector>

// The selected points of one point-cloud group: the group's index in the store's
// group list and one 8-byte reference per point, whose low 32 bits are the point
// index within the group.
struct SelPCloud {
    std::int64_t group = -1;
    std::vector<std::uint64_t> points;

    static std::uint32_t PointIndex(std::uint64_t ref) { return static_cast<std::uint32_t>(ref & 0xFFFFFFFFu); }
};
