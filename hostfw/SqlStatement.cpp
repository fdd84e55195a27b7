#include "hostfw/SqlStatement.h"

#include <sqlite3.h>

SqlStatement::SqlStatement(sqlite3* db, const char* sql)
{
    if (!db || sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
        m_stmt = nullptr;
}

SqlStatement::~SqlStatement()
{
    sqlite3_finalize(m_stmt);
}

SqlStatement& SqlStatement::Bind(int index, std::int64_t value)
{
    if (m_stmt)
        sqlite3_bind_int64(m_stmt, index, value);
    return *this;
}

SqlStatement& SqlStatement::Bind(int index, double value)
{
    if (m_stmt)
        sqlite3_bind_double(m_stmt, index, value);
    return *this;
}

SqlStatement& SqlStatement::Bind(int index, const std::string& value)
{
    if (m_stmt)
        sqlite3_bind_text(m_stmt, index, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
    return *this;
}

SqlStatement& SqlStatement::BindNull(int index)
{
    if (m_stmt)
        sqlite3_bind_null(m_stmt, index);
    return *this;
}

SqlStatement& SqlStatement::BindField(int index, const FieldValue& value)
{
    BindNull(index + 1).BindNull(index + 2).BindNull(index + 3);
    if (const auto* i = std::get_if<std::int64_t>(&value)) {
        Bind(index, std::int64_t{1});
        Bind(index + 1, *i);
    } else if (const auto* d = std::get_if<double>(&value)) {
        Bind(index, std::int64_t{2});
        Bind(index + 2, *d);
    } else if (const auto* t = std::get_if<std::string>(&value)) {
        Bind(index, std::int64_t{3});
        Bind(index + 3, *t);
    } else {
        Bind(index, std::int64_t{0});
    }
    return *this;
}

bool SqlStatement::Step()
{
    if (!m_stmt)
        return false;
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        m_failed = true;
    return false;
}

bool SqlStatement::Run()
{
    if (!m_stmt)
        return false;
    int rc;
    while ((rc = sqlite3_step(m_stmt)) == SQLITE_ROW) {
    }
    return rc == SQLITE_DONE;
}

void SqlStatement::Reset()
{
    if (m_stmt) {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
}

std::int64_t SqlStatement::Int(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

double SqlStatement::Real(int column) const
{
    return sqlite3_column_double(m_stmt, column);
}

std::string SqlStatement::Text(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(m_stmt, column)))
                : std::string();
}

bool SqlStatement::IsNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

FieldValue SqlStatement::Field(int column) const
{
    switch (Int(column)) {
    case 1: return Int(column + 1);
    case 2: return Real(column + 2);
    case 3: return Text(column + 3);
    default: return std::monostate{};
    }
}

bool SqlExec(sqlite3* db, const char* sql, std::string& error)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    error = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    return false;
}
