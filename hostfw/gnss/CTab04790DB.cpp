#include "hostfw/gnss/CTab04790DB.h"

#include "hostfw/PartData.h"

bool CTab04790DB::Points(DWORD address, std::vector<PointRow>& out) const
{
    out.clear();
    PartData part;
    if (!Get(address, part, 0)) return false;
    const std::size_t n = part.RowCount("R");
    for (std::size_t i = 0; i < n; ++i) {
        PartRecord row;
        if (!part.GetRecord("R", i, row)) return false;
        out.push_back({row.Text(0), row.Short(1)});
    }
    return true;
}
