#pragma once

#include <QJsonObject>

#include <cstdint>
#include <optional>
#include <string>

class PartSystem;

// A GNSS condition table stored in the part system as a JSON object, by table name and
// key (the work number). Nullopt when missing or not a JSON object.
std::optional<QJsonObject> ReadGnssConditionObject(const PartSystem* handle, const std::string& name,
                                                   std::int64_t key);
