#pragma once

#include "hostfw/gnss/GnssSiblingDB.h"

#include <string>

// Closures of connecting traverses and single routes (program 4744): per part, answer
// rows (N, E, U) and the route's baseline entries, list record "R" with the fields
// active (short), from point, to point, ellipsoid-height difference (to minus from, m).
class HOSTFW_API CTab04744DB : public GnssSiblingDB {
public:
    struct RouteRow {
        bool active = false;
        std::string from;
        std::string to;
        double heightDifference = 0.0;
    };

    explicit CTab04744DB(PartSystem* handle) : GnssSiblingDB(handle, 4744) {}

    static int GetRCnt(const PartData& part);
    static int GetR(const PartData& part, int index, RouteRow& out);
};

HOSTFW_API int GetMod04744Ans(const CTab04744DB& db, DWORD part, std::vector<NeuTriple>& out);
