#include "hostfw/levelling/VJyoken.h"

#include <QJsonObject>

#include "hostfw/CVApp.h"
#include "hostfw/gnss/GnssConditionJson.h"
#include "hostfw/levelling/JSUIJKN.h"

VJyoken::VJyoken(const PartSystem* handle) : m_handle(handle) {}

int VJyoken::GetSuiJynVur(JSUIJKN& out, int /*option*/) const
{
    out = JSUIJKN{};
    const PartSystem* handle = m_handle != nullptr ? m_handle : GetCurrentPartSystem();
    const std::optional<QJsonObject> object = ReadGnssConditionObject(handle, "JSUIJKN", 1);
    if (!object)
        return 0;
    const int code = object->value(QLatin1String("precision")).toInt(0);
    out.precisionCode = static_cast<unsigned char>(code & 0xFF);
    return 1;
}
