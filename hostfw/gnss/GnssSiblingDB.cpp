#include "hostfw/gnss/GnssSiblingDB.h"

#include "hostfw/PartData.h"

GnssSiblingDB::GnssSiblingDB(PartSystem* handle, WORD programNo) : CSiblingDB(handle, programNo) {}

long GnssSiblingDB::WorkOf(const PartData& part)
{
    PartRecord f;
    if (!part.GetRecord("F", 0, f)) return 0;
    return static_cast<long>(f.Long(0));
}

bool GnssSiblingDB::WorkParts(long workNo, std::vector<DWORD>& out) const
{
    out.clear();
    if (!IsOpen()) return false;
    const CPartDB& db = GetPartDB();
    for (long rec = db.GetTopRecNo(); rec != -1; rec = db.GetNextRecNo(rec)) {
        if (!db.IsActive(rec)) continue;
        PartData part;
        if (!Get(static_cast<DWORD>(rec), part, 0)) return false;
        if (WorkOf(part) == workNo) out.push_back(static_cast<DWORD>(rec));
    }
    return true;
}

bool GnssSiblingDB::LatestWorkPart(long workNo, DWORD& out) const
{
    out = 0;
    if (!IsOpen()) return false;
    const CPartDB& db = GetPartDB();
    for (long rec = db.GetLastRecNo(); rec != -1; rec = db.GetBeforeRecNo(rec)) {
        if (!db.IsActive(rec)) continue;
        PartData part;
        if (!Get(static_cast<DWORD>(rec), part, 0)) return false;
        if (WorkOf(part) == workNo) {
            out = static_cast<DWORD>(rec);
            return true;
        }
    }
    return true;
}

int ReadNeuAnswers(const CSiblingDB& db, DWORD part, std::vector<NeuTriple>& out)
{
    out.clear();
    if (!db.IsOpen()) return 0;
    for (const PartRecord& row : db.GetAnswers(part, "ans")) {
        out.push_back({row.Double(0), row.Double(1), row.Double(2)});
    }
    return 1;
}
