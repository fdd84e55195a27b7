#include "hostfw/VCabinetDocExDLL.h"

#include "hostfw/PeldaIni.h"
#include "hostfw/SqlStatement.h"
#include "hostfw/VCabinetDocTable.h"

#include <sqlite3.h>

#include <system_error>

namespace {

constexpr const char* kSchema = R"SQL(
CREATE TABLE IF NOT EXISTS documents(id INTEGER PRIMARY KEY, system INTEGER NOT NULL,
                                     name TEXT NOT NULL, text1 TEXT NOT NULL DEFAULT '',
                                     text2 TEXT NOT NULL DEFAULT '', cals_flag INTEGER NOT NULL DEFAULT 0,
                                     updated INTEGER NOT NULL DEFAULT 0, UNIQUE(system, name));
CREATE TABLE IF NOT EXISTS attributes(id INTEGER NOT NULL, idx INTEGER NOT NULL, value TEXT NOT NULL,
                                      PRIMARY KEY(id, idx));
)SQL";

} // namespace

VCabinetDocExDLL::VCabinetDocExDLL(int systemNo) : m_systemNo(systemNo) {}

VCabinetDocExDLL::~VCabinetDocExDLL()
{
    m_table.reset();
    sqlite3_close(m_db);
}

std::filesystem::path VCabinetDocExDLL::Folder()
{
    return PeldaIni::DataRoot() / "binder";
}

std::filesystem::path VCabinetDocExDLL::FileStore() const
{
    return Folder() / "files";
}

bool VCabinetDocExDLL::Create(int systemNo)
{
    if (systemNo != kBinderSystem || m_systemNo != kBinderSystem) {
        m_error = "バインダのシステム番号が不正です";
        return false;
    }
    if (m_db)
        return true;
    std::error_code ec;
    std::filesystem::create_directories(FileStore(), ec);
    const std::filesystem::path file = Folder() / "binder.db";
    if (sqlite3_open_v2(file.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        m_error = "バインダを開けません: " + file.string();
        sqlite3_close(m_db);
        m_db = nullptr;
        return false;
    }
    sqlite3_busy_timeout(m_db, 2000);
    if (!SqlExec(m_db, kSchema, m_error)) {
        m_error = "バインダを開けません: " + file.string() + " (" + m_error + ")";
        sqlite3_close(m_db);
        m_db = nullptr;
        return false;
    }
    m_table = std::make_unique<VCabinetDocTable>(*this);
    return true;
}

VCabinetDocTable* VCabinetDocExDLL::GetDocTable()
{
    return m_table.get();
}

std::string V_GetFileName(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
