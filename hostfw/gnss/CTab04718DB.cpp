#include "hostfw/gnss/CTab04718DB.h"

#include "hostfw/PartData.h"

bool CTab04718DB::Points(long workNo, std::map<std::string, Point>& out) const
{
    out.clear();
    std::vector<DWORD> parts;
    if (!WorkParts(workNo, parts)) return false;
    for (DWORD address : parts) {
        PartData part;
        PartRecord f;
        if (!Get(address, part, 0) || !part.GetRecord("F", 0, f)) return false;
        out.emplace(f.Text(1), Point{f.Short(2), f.Double(3)});
    }
    return true;
}
