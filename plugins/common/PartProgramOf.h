#pragma once

#include "hostfw/HostTypes.h"

class PartSystem;
class PeldaSysData;

namespace plugcommon {

// The program of a sibling part: through the host's part-system data when there is
// one, else the part system itself; 0 for an unknown part or no part system.
int ProgramOfPart(const PeldaSysData* systemData, PartSystem* handle, DWORD part);

} // namespace plugcommon
