#include "plugins/common/PartProgramOf.h"

#include <optional>

#include "hostfw/PartSystem.h"
#include "hostfw/PeldaSysData.h"

namespace plugcommon {

int ProgramOfPart(const PeldaSysData* systemData, PartSystem* handle, DWORD part)
{
    if (systemData != nullptr)
        return systemData->ToPrgNo(part);
    if (handle == nullptr)
        return 0;
    const std::optional<WORD> program = handle->ProgramOf(part);
    return program ? *program : 0;
}

} // namespace plugcommon
