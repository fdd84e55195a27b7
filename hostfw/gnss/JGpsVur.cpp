#include "hostfw/gnss/JGpsVur.h"

#include "hostfw/CVApp.h"
#include "hostfw/gnss/GnssConditionJson.h"

#include <QJsonObject>

JGpsVur::JGpsVur(std::string tableName, int workKind) : m_tableName(std::move(tableName)), m_workKind(workKind) {}

JGpsVur::~JGpsVur() = default;

void JGpsVur::Init()
{
    Reset();
}

bool JGpsVur::Read(long workNo, int /*option*/)
{
    return ReadFrom(nullptr, workNo);
}

bool JGpsVur::ReadFrom(const PartSystem* handle, long workNo)
{
    Reset();
    if (!handle) handle = GetCurrentPartSystem();
    const auto object = ReadGnssConditionObject(handle, m_tableName, workNo);
    if (!object) return false;
    Parse(*object);
    return true;
}

int JsonInt(const QJsonObject& object, const char* key)
{
    return object.value(QLatin1String(key)).toInt(0);
}
