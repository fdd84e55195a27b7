#pragma once

#include "hostfw/CSiblingDB.h"

// Sibling view of calculation 917 (levelling): its parts and stored answers.
class HOSTFW_API CTab00917DB : public CSiblingDB {
public:
    static constexpr WORD kProgramNo = 917;
    explicit CTab00917DB(PartSystem* handle);
    ~CTab00917DB() override;
};
