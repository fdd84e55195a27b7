#include "hostfw/levelling/Tab00938Data.h"

#include "hostfw/levelling/LevellingSiblingRecords.h"

Tab00938Data::Tab00938Data() : TabParamData(PartData(kProgramNo, 0)) {}

Tab00938Data::Tab00938Data(const PartData& data) : TabParamData(data) {}

Tab00938Data::~Tab00938Data() = default;

int Tab00938Data::GetF(SUI00938_F& out) const
{
    out = SUI00938_F{};
    PartRecord f;
    if (!GetRec(suisib::kRecF, f))
        return 0;
    out.grade = f.Short(0);
    out.gradeSub = f.Short(1);
    return 1;
}
