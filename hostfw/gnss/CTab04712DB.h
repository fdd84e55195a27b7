#pragma once

#include "hostfw/gnss/GnssSiblingDB.h"

#include <map>
#include <string>

// Known-point register (program 4712): one part per point, record "F" with the fields
// work number, point name and class (short; 4 a known point of the network).
class HOSTFW_API CTab04712DB : public GnssSiblingDB {
public:
    explicit CTab04712DB(PartSystem* handle) : GnssSiblingDB(handle, 4712) {}

    // Point name to class for the work; false when the store cannot be read.
    bool Classes(long workNo, std::map<std::string, short>& out) const;
};
