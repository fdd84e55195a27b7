#include "hostfw/ctrlpoint/Yatyo_Nt.h"

#include "hostfw/PartSystem.h"
#include "hostfw/ctrlpoint/Tab00452Data.h"

int Yatyo_Nt::SearchPart(long stationPoint, PartSystem* handle, Tab00452Data& out)
{
    if (handle == nullptr || stationPoint == 0)
        return 0;
    for (const DWORD address : handle->PartAddresses(Tab00452Data::kProgramNo)) {
        Tab00452Data candidate;
        if (handle->LoadPart(address, candidate) && candidate.GetStation() == stationPoint) {
            out = candidate;
            return 1;
        }
    }
    return 0;
}
