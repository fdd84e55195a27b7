#include "hostfw/levelling/SuiSyuboCalc.h"

#include <cmath>

#include "hostfw/CVApp.h"
#include "hostfw/PartSystem.h"
#include "hostfw/levelling/LevellingSiblingRecords.h"

namespace {
constexpr double kUnset = 1e-16;
constexpr WORD kProgramNote = 921;
} // namespace

int SuiSyuboCalc(DWORD part, short grade, double& maximum, PartSystem* handle)
{
    if (handle == nullptr)
        handle = GetCurrentPartSystem();
    if (handle == nullptr || part == 0 || handle->ProgramOf(part) != kProgramNote)
        return 0;
    for (const PartRecord& row : handle->Answers(part, suisib::kAnsSyubo)) {
        if (row.FieldCount() < 2 || row.Short(0) != grade)
            continue;
        const double difference = row.Double(1);
        if (difference == kUnset)
            return 0;
        if (maximum == kUnset || std::fabs(difference) > std::fabs(maximum))
            maximum = difference;
        return 1;
    }
    return 0;
}
