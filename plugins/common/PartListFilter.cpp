#include "plugins/common/PartListFilter.h"

namespace plugcommon {

int IsCodeInList(DWORD, WORD programNo, const short* programList)
{
    if (programNo == 0)
        return 1;
    if (!programList)
        return 0;
    for (const short* p = programList; *p != 0; ++p)
        if (static_cast<WORD>(*p) == programNo)
            return 1;
    return 0;
}

} // namespace plugcommon
