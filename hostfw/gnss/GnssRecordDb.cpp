#include "hostfw/gnss/GnssRecordDb.h"

#include "hostfw/CVApp.h"
#include "hostfw/PartSystem.h"
#include "hostfw/gnss/GnssConditionJson.h"

#include <QJsonArray>

int GnssRecordDb::d_open(long workNo, const PartSystem* handle)
{
    d_close();
    if (!handle) handle = GetCurrentPartSystem();
    if (!handle) return -1;
    // No stored records is an empty database, not a failure.
    if (!handle->Condition("GnssRecords", workNo)) {
        m_open = true;
        return 0;
    }
    const auto db = ReadGnssConditionObject(handle, "GnssRecords", workNo);
    if (!db) return -1;
    const QJsonArray baselines = db->value("baselines").toArray();
    m_records.reserve(static_cast<std::size_t>(baselines.size()));
    for (const QJsonValue& v : baselines) {
        const QJsonObject o = v.toObject();
        BaselineRecord r;
        r.recordClass = o.value("class").toInt(0);
        r.halfFlag = o.value("half").toInt(0);
        const QJsonArray types = o.value("types").toArray();
        r.type1 = types.at(0).toInt(0);
        r.type2 = types.at(1).toInt(0);
        r.from = o.value("from").toString().toStdString();
        r.to = o.value("to").toString().toStdString();
        const QJsonArray vec = o.value("vector").toArray();
        const QJsonArray pos = o.value("position").toArray();
        for (int i = 0; i < 3; ++i) {
            r.vector[i] = vec.at(i).toDouble(0.0);
            r.position[i] = pos.at(i).toDouble(0.0);
        }
        m_records.push_back(std::move(r));
    }
    m_open = true;
    return 0;
}

int GnssRecordDb::d_keyfrst(int key)
{
    m_current = 0;
    if (!m_open || key != kBaselineKey || m_records.empty()) return -1;
    return 0;
}

int GnssRecordDb::d_keynext(int key)
{
    if (!m_open || key != kBaselineKey || m_current + 1 >= m_records.size()) return -1;
    ++m_current;
    return 0;
}

int GnssRecordDb::d_recread(BaselineRecord& out) const
{
    if (!m_open || m_current >= m_records.size()) return -1;
    out = m_records[m_current];
    return 0;
}

void GnssRecordDb::d_close()
{
    m_records.clear();
    m_current = 0;
    m_open = false;
}
