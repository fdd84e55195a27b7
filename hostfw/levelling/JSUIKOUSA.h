#pragma once

#include "hostfw/HostTypes.h"

#include <array>

class PartSystem;

// The host's levelling tolerances by grade (1 to 5, in grade order): loop closure and
// known-point closure (mm√S), standard deviation of the network adjustment (mm) and
// the round-trip difference (mm√S; grades 1 to 4 only).
//
// Our defaults (a part system may replace them with its condition "JSUIKOUSA", key 0,
// a JSON object with the arrays "loop", "known", "sd" and "roundTrip"):
//   grade               1     2     3     4     5
//   round trip (mm√S)   2.5   5     10    20    -
//   loop (mm√S)         2     5     10    20    40
//   known point (mm√S)  15    15    15    25    50
//   standard dev. (mm)  2     5     10    20    40
class HOSTFW_API JSUIKOUSA {
public:
    JSUIKOUSA();   // the defaults above

    // Replaces the numbers with the part system's stored table when it has one (the
    // current part system when handle is null); true when one was read. An entry
    // missing from the stored arrays keeps its default.
    bool Read(const PartSystem* handle = nullptr);

    std::array<short, 5> loop;
    std::array<short, 5> known;
    std::array<short, 5> standardDeviation;
    std::array<double, 4> roundTrip;
};
