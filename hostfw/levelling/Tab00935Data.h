#pragma once

#include "hostfw/TabParamData.h"
#include "hostfw/levelling/SuiRecords.h"

// A part of calculation 935 with its header record "F".
class HOSTFW_API Tab00935Data : public TabParamData {
public:
    static constexpr WORD kProgramNo = 935;
    Tab00935Data();
    explicit Tab00935Data(const PartData& data);
    ~Tab00935Data() override;

    // Non-zero when the record was read; out keeps its preset values otherwise.
    int GetF(SUI00935_F& out) const;
};
