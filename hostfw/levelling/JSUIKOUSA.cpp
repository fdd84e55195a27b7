#include "hostfw/levelling/JSUIKOUSA.h"

#include <QJsonArray>
#include <QJsonObject>

#include "hostfw/CVApp.h"
#include "hostfw/gnss/GnssConditionJson.h"

namespace {

template <typename T, std::size_t N>
void ReadArray(const QJsonObject& object, const char* key, std::array<T, N>& out)
{
    const QJsonArray values = object.value(QLatin1String(key)).toArray();
    for (std::size_t i = 0; i < N && i < static_cast<std::size_t>(values.size()); ++i) {
        const QJsonValue value = values.at(static_cast<qsizetype>(i));
        if (value.isDouble())
            out[i] = static_cast<T>(value.toDouble());
    }
}

} // namespace

JSUIKOUSA::JSUIKOUSA()
    : loop{2, 5, 10, 20, 40}, known{15, 15, 15, 25, 50}, standardDeviation{2, 5, 10, 20, 40},
      roundTrip{2.5, 5.0, 10.0, 20.0}
{
}

bool JSUIKOUSA::Read(const PartSystem* handle)
{
    if (handle == nullptr)
        handle = GetCurrentPartSystem();
    const std::optional<QJsonObject> object = ReadGnssConditionObject(handle, "JSUIKOUSA", 0);
    if (!object)
        return false;
    ReadArray(*object, "loop", loop);
    ReadArray(*object, "known", known);
    ReadArray(*object, "sd", standardDeviation);
    ReadArray(*object, "roundTrip", roundTrip);
    return true;
}
