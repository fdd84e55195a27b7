#pragma once

#include "hostfw/PartRecord.h"

#include <cstdint>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

// A prepared SQLite statement, finalised when it goes out of scope. Internal to hostfw.
class SqlStatement {
public:
    SqlStatement(sqlite3* db, const char* sql);
    ~SqlStatement();
    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;

    bool Ok() const { return m_stmt != nullptr; }
    SqlStatement& Bind(int index, std::int64_t value);
    SqlStatement& Bind(int index, double value);
    SqlStatement& Bind(int index, const std::string& value);
    SqlStatement& BindNull(int index);
    // Binds a field value to (kind, ival, dval, tval) at index .. index + 3.
    SqlStatement& BindField(int index, const FieldValue& value);

    bool Step();            // true while a row is available
    bool Run();             // runs to the end; true on success
    void Reset();

    std::int64_t Int(int column) const;
    double Real(int column) const;
    std::string Text(int column) const;
    bool IsNull(int column) const;
    // Reads (kind, ival, dval, tval) from column .. column + 3.
    FieldValue Field(int column) const;

private:
    sqlite3_stmt* m_stmt = nullptr;
    bool m_failed = false;
};

// Runs a statement without results; false on failure with error set.
bool SqlExec(sqlite3* db, const char* sql, std::string& error);
