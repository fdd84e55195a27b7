#pragma once

#include "hostfw/gnss/GnssSiblingDB.h"

#include <map>
#include <string>

// Point coordinates (program 4718): one part per point, record "F" with the fields
// work number, point name, class (short; 1 a point of a connecting traverse) and
// ellipsoid height (m).
class HOSTFW_API CTab04718DB : public GnssSiblingDB {
public:
    struct Point {
        short pointClass = 0;
        double ellipsoidHeight = 0.0;
    };

    explicit CTab04718DB(PartSystem* handle) : GnssSiblingDB(handle, 4718) {}

    // Point name to point for the work; false when the store cannot be read.
    bool Points(long workNo, std::map<std::string, Point>& out) const;
};
