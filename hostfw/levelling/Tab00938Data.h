#pragma once

#include "hostfw/TabParamData.h"
#include "hostfw/levelling/SuiRecords.h"

// A part of calculation 938 with its header record "F".
class HOSTFW_API Tab00938Data : public TabParamData {
public:
    static constexpr WORD kProgramNo = 938;
    Tab00938Data();
    explicit Tab00938Data(const PartData& data);
    ~Tab00938Data() override;

    // Non-zero when the record was read; out keeps its preset values otherwise.
    int GetF(SUI00938_F& out) const;
};
