#pragma once

#include "hostfw/HostTypes.h"

// Record layouts of the sibling levelling calculations the levelling table reads,
// registered with the record sets so a seed can create their parts:
//   917 (levelling network)       "F": grade (short), second word (short)
//   921 (observation note)        "F": grade (short)
//   935 (check route)             "F": network part, start point, end point (DWORDs)
//   938 (network adjustment)      "F": grade word (two shorts)
// Stored answers: 921 "SUISYUBO" rows (grade, round-trip difference mm); 935
// "SISDO_ROUTE" row (closure mm); 938 "SISDO_NET" row (standard deviation mm).
class HOSTFW_API LevellingSiblingRecords {
public:
    static void RegisterAll();
};

namespace suisib {

inline constexpr const char* kRecF = "F";
inline constexpr const char* kAnsSyubo = "SUISYUBO";
inline constexpr const char* kAnsSdoNet = "SISDO_NET";
inline constexpr const char* kAnsSdoRoute = "SISDO_ROUTE";

} // namespace suisib
