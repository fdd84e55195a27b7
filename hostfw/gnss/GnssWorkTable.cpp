#include "hostfw/gnss/GnssWorkTable.h"

#include "hostfw/gnss/GnssConditionJson.h"

#include <QJsonArray>

int GetDefWork(const PartSystem* handle, std::vector<WorkTbl>& out)
{
    out.clear();
    const auto table = ReadGnssConditionObject(handle, "GnssWorkTable", 0);
    if (!table) return -1;
    const QJsonArray works = table->value("works").toArray();
    for (const QJsonValue& v : works) {
        if (static_cast<int>(out.size()) >= kMaxWorkEntries) break;
        const QJsonObject o = v.toObject();
        WorkTbl w;
        w.workKey = static_cast<long>(o.value("no").toDouble(0));
        w.workKind = static_cast<short>(o.value("kind").toInt(0));
        w.conditionNo = static_cast<WORD>(o.value("condition").toInt(0));
        out.push_back(w);
    }
    return static_cast<int>(out.size());
}

bool FindWork(const PartSystem* handle, long workNo, WorkTbl& out)
{
    std::vector<WorkTbl> works;
    if (GetDefWork(handle, works) <= 0) return false;
    for (const WorkTbl& w : works) {
        if (w.workKey == workNo) {
            out = w;
            return true;
        }
    }
    return false;
}

long GetCurrentWorkNo(const PartSystem* handle)
{
    const auto table = ReadGnssConditionObject(handle, "GnssWorkTable", 0);
    if (!table) return 0;
    return static_cast<long>(table->value("current").toDouble(0));
}
