#include "hostfw/gnss/GnssConditionJson.h"

#include "hostfw/PartSystem.h"

#include <QJsonDocument>

std::optional<QJsonObject> ReadGnssConditionObject(const PartSystem* handle, const std::string& name,
                                                   std::int64_t key)
{
    if (!handle) return std::nullopt;
    const std::optional<std::string> json = handle->Condition(name, key);
    if (!json) return std::nullopt;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(*json), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject()) return std::nullopt;
    return doc.object();
}
