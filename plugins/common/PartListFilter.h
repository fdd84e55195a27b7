#pragma once

#include "hostfw/HostTypes.h"

namespace plugcommon {

// The part search's code test: 1 when programNo is 0 or one of the zero-terminated
// list's entries, else 0. The address is not used.
int IsCodeInList(DWORD address, WORD programNo, const short* programList);

} // namespace plugcommon
