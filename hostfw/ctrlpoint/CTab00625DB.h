#pragma once

#include "hostfw/CSiblingDB.h"

// Sibling view of the single-route adjustment (calculation 625): F1 grade.
class HOSTFW_API CTab00625DB : public CSiblingDB {
public:
    static constexpr WORD kProgramNo = 625;
    explicit CTab00625DB(PartSystem* handle);
};
