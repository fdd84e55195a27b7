#pragma once

#include "hostfw/CTabParamDB.h"

// The parameter database of program 963 (its parts and their records).
class HOSTFW_API CTab00963DB : public CTabParamDB {
public:
    explicit CTab00963DB(PartSystem* handle);
    std::unique_ptr<PartData> NewPartData() const override;
};
