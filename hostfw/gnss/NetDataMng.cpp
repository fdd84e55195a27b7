#include "hostfw/gnss/NetDataMng.h"

#include "hostfw/CVApp.h"
#include "hostfw/gnss/GnssConditionJson.h"

#include <QJsonArray>

namespace {

double Number(const QJsonValue& v)
{
    return v.isDouble() ? v.toDouble() : kUnsetValue;
}

void Triple(const QJsonValue& v, double out[3], double missing)
{
    const QJsonArray a = v.toArray();
    for (int i = 0; i < 3; ++i) out[i] = a.size() > i && a.at(i).isDouble() ? a.at(i).toDouble() : missing;
}

}  // namespace

NetDataMng::NetDataMng(long workNo, const PartSystem* handle) : m_workNo(workNo), m_handle(handle) {}

bool NetDataMng::Calc(int mode)
{
    m_points.clear();
    m_baselines.clear();
    const PartSystem* handle = m_handle ? m_handle : GetCurrentPartSystem();
    const auto net = ReadGnssConditionObject(handle, mode == 1 ? "GnssNetwork1" : "GnssNetwork0", m_workNo);
    if (!net) return false;
    for (const QJsonValue& v : net->value("points").toArray()) {
        const QJsonObject o = v.toObject();
        Point p;
        p.name = o.value("name").toString().toStdString();
        p.kind = o.value("kind").toInt(0);
        p.sN = Number(o.value("sN"));
        p.sE = Number(o.value("sE"));
        p.sU = Number(o.value("sU"));
        p.height = Number(o.value("height"));
        p.knownHeight = Number(o.value("knownHeight"));
        m_points.push_back(std::move(p));
    }
    for (const QJsonValue& v : net->value("baselines").toArray()) {
        const QJsonObject o = v.toObject();
        Baseline b;
        b.from = o.value("from").toString().toStdString();
        b.to = o.value("to").toString().toStdString();
        Triple(o.value("components"), b.components, 0.0);
        Triple(o.value("corrections"), b.corrections, 0.0);
        Triple(o.value("residuals"), b.residuals, kUnsetValue);
        b.distance = Number(o.value("distance"));
        m_baselines.push_back(std::move(b));
    }
    return true;
}
