#pragma once

#include "hostfw/gnss/GnssSiblingDB.h"

#include <string>

// GNSS network definitions (program 4790): per part, the network's points, list record
// "R" with the fields point name and point kind (short; 1 a given point).
class HOSTFW_API CTab04790DB : public GnssSiblingDB {
public:
    struct PointRow {
        std::string name;
        short kind = 0;
    };

    explicit CTab04790DB(PartSystem* handle) : GnssSiblingDB(handle, 4790) {}

    // The points of a part in stored order; false when the part cannot be read.
    bool Points(DWORD part, std::vector<PointRow>& out) const;
};
