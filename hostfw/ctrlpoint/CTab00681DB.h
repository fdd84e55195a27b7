#pragma once

#include "hostfw/CSiblingDB.h"

// Sibling view of the check handbooks (calculation 681): header KS and six observation sets.
class HOSTFW_API CTab00681DB : public CSiblingDB {
public:
    static constexpr WORD kProgramNo = 681;
    explicit CTab00681DB(PartSystem* handle);
};
