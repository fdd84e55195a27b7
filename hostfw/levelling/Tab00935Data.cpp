#include "hostfw/levelling/Tab00935Data.h"

#include "hostfw/levelling/LevellingSiblingRecords.h"

Tab00935Data::Tab00935Data() : TabParamData(PartData(kProgramNo, 0)) {}

Tab00935Data::Tab00935Data(const PartData& data) : TabParamData(data) {}

Tab00935Data::~Tab00935Data() = default;

int Tab00935Data::GetF(SUI00935_F& out) const
{
    out = SUI00935_F{};
    PartRecord f;
    if (!GetRec(suisib::kRecF, f))
        return 0;
    out = {f.Dword(0), f.Dword(1), f.Dword(2)};
    return 1;
}
