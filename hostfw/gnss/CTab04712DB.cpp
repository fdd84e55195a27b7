#include "hostfw/gnss/CTab04712DB.h"

#include "hostfw/PartData.h"

bool CTab04712DB::Classes(long workNo, std::map<std::string, short>& out) const
{
    out.clear();
    std::vector<DWORD> parts;
    if (!WorkParts(workNo, parts)) return false;
    for (DWORD address : parts) {
        PartData part;
        PartRecord f;
        if (!Get(address, part, 0) || !part.GetRecord("F", 0, f)) return false;
        out.emplace(f.Text(1), f.Short(2));
    }
    return true;
}
