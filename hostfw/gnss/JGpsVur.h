#pragma once

#include "hostfw/HostTypes.h"

#include <cstdint>
#include <string>

class PartSystem;
class QJsonObject;

// Base of the GNSS condition objects. Each is built with the work kind, initialised,
// then read from the current part system's stored conditions of a work number (the
// condition table of the object's name, JSON, keyed by the work number).
class HOSTFW_API JGpsVur {
public:
    JGpsVur(std::string tableName, int workKind);
    virtual ~JGpsVur();

    // Back to the defaults: every limit 0, not in use.
    void Init();
    // True when the work's conditions were found and read.
    bool Read(long workNo, int option);
    // Reads from a given part system (the current one when null).
    bool ReadFrom(const PartSystem* handle, long workNo);

    int WorkKind() const { return m_workKind; }

protected:
    virtual void Reset() = 0;
    virtual void Parse(const QJsonObject& object) = 0;

private:
    std::string m_tableName;
    int m_workKind;
};

// Integer member of a condition object, 0 when missing.
int JsonInt(const QJsonObject& object, const char* key);
