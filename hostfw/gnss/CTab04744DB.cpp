#include "hostfw/gnss/CTab04744DB.h"

#include "hostfw/PartData.h"

int CTab04744DB::GetRCnt(const PartData& part)
{
    return static_cast<int>(part.RowCount("R"));
}

int CTab04744DB::GetR(const PartData& part, int index, RouteRow& out)
{
    out = {};
    PartRecord row;
    if (index < 0 || !part.GetRecord("R", static_cast<std::size_t>(index), row)) return 0;
    out.active = row.Short(0) != 0;
    out.from = row.Text(1);
    out.to = row.Text(2);
    out.heightDifference = row.Double(3);
    return 1;
}

int GetMod04744Ans(const CTab04744DB& db, DWORD part, std::vector<NeuTriple>& out)
{
    return ReadNeuAnswers(db, part, out);
}
