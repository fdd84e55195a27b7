#include "hostfw/ctrlpoint/Yatyo_Nt.h"

#include "hostfw/PartSystem.h"
#include "hostfw/ctrlpoint/Tab00452Data.h"

int Yatyo_Nt::SearchPart(long stationPoint, PartSystem* handle, Tab00452Data& out)
{
    if (handle == nullptr || stationPoint == 0)
        return 0;
    // Field books the user switched off are not searched.
    for (const PartSystem::PartEntry& entry : handle->PartEntries(Tab00452Data::kProgramNo)) {
        if (!entry.active)
            continue;
        const DWORD address = entry.address;
        Tab00452Data candidate;
        if (handle->LoadPart(address, candidate) && candidate.GetStation() == stationPoint) {
            out = candidate;
            return 1;
        }
    }
    return 0;
}
