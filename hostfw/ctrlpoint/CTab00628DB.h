#pragma once

#include "hostfw/CSiblingDB.h"

// Sibling view of the strict-network adjustment (calculation 628): F grade, R2 points.
class HOSTFW_API CTab00628DB : public CSiblingDB {
public:
    static constexpr WORD kProgramNo = 628;
    explicit CTab00628DB(PartSystem* handle);
};
