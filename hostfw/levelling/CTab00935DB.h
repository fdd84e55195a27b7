#pragma once

#include "hostfw/CSiblingDB.h"

// Sibling view of calculation 935 (levelling): its parts and stored answers.
class HOSTFW_API CTab00935DB : public CSiblingDB {
public:
    static constexpr WORD kProgramNo = 935;
    explicit CTab00935DB(PartSystem* handle);
    ~CTab00935DB() override;
};
