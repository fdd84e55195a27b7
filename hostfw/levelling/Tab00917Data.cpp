#include "hostfw/levelling/Tab00917Data.h"

#include "hostfw/levelling/LevellingSiblingRecords.h"

Tab00917Data::Tab00917Data() : TabParamData(PartData(kProgramNo, 0)) {}

Tab00917Data::Tab00917Data(const PartData& data) : TabParamData(data) {}

Tab00917Data::~Tab00917Data() = default;

int Tab00917Data::GetF(SUI00917_F& out) const
{
    out = SUI00917_F{};
    PartRecord f;
    if (!GetRec(suisib::kRecF, f))
        return 0;
    out.grade = f.Short(0);
    out.second = f.Short(1);
    return 1;
}
