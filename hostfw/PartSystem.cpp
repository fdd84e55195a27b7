#include "hostfw/PartSystem.h"

#include "hostfw/PartData.h"
#include "hostfw/SqlStatement.h"

#include <sqlite3.h>

#include <system_error>

namespace {

constexpr const char* kSchema = R"SQL(
CREATE TABLE meta(key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE programs(program INTEGER PRIMARY KEY, name TEXT NOT NULL);
CREATE TABLE parts(address INTEGER PRIMARY KEY, program INTEGER NOT NULL, part_key INTEGER NOT NULL,
                   name TEXT NOT NULL, title1 TEXT NOT NULL, title2 TEXT NOT NULL,
                   active INTEGER NOT NULL);
CREATE INDEX parts_by_program ON parts(program, address);
CREATE TABLE report_names(address INTEGER NOT NULL, kind INTEGER NOT NULL, name TEXT NOT NULL,
                          PRIMARY KEY(address, kind));
CREATE TABLE fields(address INTEGER NOT NULL, record TEXT NOT NULL, row INTEGER NOT NULL,
                    field INTEGER NOT NULL, kind INTEGER NOT NULL, ival INTEGER, dval REAL, tval TEXT,
                    PRIMARY KEY(address, record, row, field));
CREATE TABLE answers(address INTEGER NOT NULL, tbl TEXT NOT NULL, row INTEGER NOT NULL,
                     field INTEGER NOT NULL, kind INTEGER NOT NULL, ival INTEGER, dval REAL, tval TEXT,
                     PRIMARY KEY(address, tbl, row, field));
CREATE TABLE conditions(name TEXT NOT NULL, key INTEGER NOT NULL, value TEXT NOT NULL,
                        PRIMARY KEY(name, key));
)SQL";

} // namespace

PartSystem::PartSystem(std::filesystem::path file, sqlite3* db) : m_file(std::move(file)), m_db(db) {}

PartSystem::~PartSystem()
{
    sqlite3_close(m_db);
}

std::unique_ptr<PartSystem> PartSystem::Open(const std::filesystem::path& file, bool create,
                                             std::string& error)
{
    std::error_code ec;
    const bool existed = std::filesystem::exists(file, ec);
    if (!existed && !create) {
        error = "パートシステムがありません: " + file.string();
        return nullptr;
    }
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (existed ? 0 : SQLITE_OPEN_CREATE);
    if (sqlite3_open_v2(file.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        error = "パートシステムを開けません: " + file.string() + " (" +
                (db ? sqlite3_errmsg(db) : "no memory") + ")";
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 2000);
    std::unique_ptr<PartSystem> system(new PartSystem(file, db));
    if (!system->CheckSchema(!existed, error))
        return nullptr;
    // A write-ahead log keeps every commit whole through a crash and costs one sync
    // per checkpoint instead of two per commit.
    std::string ignored;
    SqlExec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", ignored);
    return system;
}

bool PartSystem::CheckSchema(bool created, std::string& error)
{
    if (created) {
        std::string why;
        if (!SqlExec(m_db, "BEGIN", why) || !SqlExec(m_db, kSchema, why)) {
            SqlExec(m_db, "ROLLBACK", why);
            error = "パートシステムを作成できません: " + m_file.string() + " (" + why + ")";
            return false;
        }
        SqlStatement put(m_db, "INSERT INTO meta(key, value) VALUES('schema', ?)");
        put.Bind(1, std::string(std::to_string(kSchemaVersion)));
        if (!put.Run() || !SqlExec(m_db, "COMMIT", why)) {
            SqlExec(m_db, "ROLLBACK", why);
            error = "パートシステムを作成できません: " + m_file.string();
            return false;
        }
        return true;
    }
    SqlStatement get(m_db, "SELECT value FROM meta WHERE key = 'schema'");
    if (!get.Ok() || !get.Step()) {
        error = "パートシステムのファイルではないか、壊れています: " + m_file.string();
        return false;
    }
    const std::string version = get.Text(0);
    int number = 0;
    try {
        number = std::stoi(version);
    } catch (const std::exception&) {
        number = -1;
    }
    if (number > kSchemaVersion) {
        error = "新しい版のパートシステムは開けません (版 " + version + "): " + m_file.string();
        return false;
    }
    if (number != kSchemaVersion) {
        error = "パートシステムの版が不正です (" + version + "): " + m_file.string();
        return false;
    }
    return true;
}

bool PartSystem::LoadPart(DWORD address, PartData& out) const
{
    SqlStatement part(m_db, "SELECT program, part_key, name, title1, title2, active FROM parts "
                            "WHERE address = ?");
    part.Bind(1, static_cast<std::int64_t>(address));
    if (!part.Step())
        return false;
    PartData data(static_cast<WORD>(part.Int(0)), address);
    data.SetPartKey(static_cast<DWORD>(part.Int(1)));
    data.SetName(part.Text(2));
    data.SetTitles(part.Text(3), part.Text(4));
    data.SetActive(part.Int(5) != 0);

    SqlStatement names(m_db, "SELECT kind, name FROM report_names WHERE address = ?");
    names.Bind(1, static_cast<std::int64_t>(address));
    while (names.Step())
        data.SetReportNoName(static_cast<int>(names.Int(0)), names.Text(1));

    SqlStatement fields(m_db, "SELECT record, row, field, kind, ival, dval, tval FROM fields "
                              "WHERE address = ? ORDER BY record, row, field");
    fields.Bind(1, static_cast<std::int64_t>(address));
    std::string record;
    std::int64_t row = -1;
    PartRecord current;
    auto flush = [&] {
        if (row >= 0)
            data.PutRecord(record, static_cast<std::size_t>(row), current);
    };
    while (fields.Step()) {
        const std::string name = fields.Text(0);
        const std::int64_t r = fields.Int(1);
        if (name != record || r != row) {
            flush();
            record = name;
            row = r;
            current = PartRecord();
        }
        const auto field = static_cast<std::size_t>(fields.Int(2));
        if (field >= current.Fields().size())
            current.Fields().resize(field + 1);
        current.Fields()[field] = fields.Field(3);
    }
    flush();
    out = std::move(data);
    return true;
}

bool PartSystem::StorePart(const PartData& part, std::string& error)
{
    if (part.GetAddress() == 0) {
        error = "パートのアドレスがありません";
        return false;
    }
    const bool ownTransaction = sqlite3_get_autocommit(m_db) != 0;
    if (ownTransaction && !Begin(error))
        return false;
    const auto address = static_cast<std::int64_t>(part.GetAddress());
    bool ok = true;
    {
        SqlStatement put(m_db, "INSERT OR REPLACE INTO parts(address, program, part_key, name, "
                               "title1, title2, active) VALUES(?, ?, ?, ?, ?, ?, ?)");
        put.Bind(1, address).Bind(2, std::int64_t{part.GetPrgNo()})
            .Bind(3, static_cast<std::int64_t>(part.GetPartKey())).Bind(4, part.GetName())
            .Bind(5, part.GetTitle1()).Bind(6, part.GetTitle2())
            .Bind(7, std::int64_t{part.IsActive() ? 1 : 0});
        ok = put.Run();
    }
    for (const char* sql : {"DELETE FROM fields WHERE address = ?",
                            "DELETE FROM report_names WHERE address = ?"}) {
        SqlStatement drop(m_db, sql);
        drop.Bind(1, address);
        ok = ok && drop.Run();
    }
    for (int kind : {0, 1, 2, 3, 4, 5}) {
        const std::string name = part.GetReportNoName(kind);
        if (name.empty())
            continue;
        SqlStatement put(m_db, "INSERT INTO report_names(address, kind, name) VALUES(?, ?, ?)");
        put.Bind(1, address).Bind(2, std::int64_t{kind}).Bind(3, name);
        ok = ok && put.Run();
    }
    SqlStatement put(m_db, "INSERT INTO fields(address, record, row, field, kind, ival, dval, tval) "
                           "VALUES(?, ?, ?, ?, ?, ?, ?, ?)");
    for (const auto& [name, rows] : part.Records()) {
        for (std::size_t r = 0; ok && r < rows.size(); ++r) {
            const auto& values = rows[r].Fields();
            for (std::size_t f = 0; ok && f < values.size(); ++f) {
                put.Reset();
                put.Bind(1, address).Bind(2, name).Bind(3, static_cast<std::int64_t>(r))
                    .Bind(4, static_cast<std::int64_t>(f)).BindField(5, values[f]);
                ok = put.Run();
            }
        }
    }
    if (!ok) {
        error = std::string("パートを保存できません: ") + sqlite3_errmsg(m_db);
        if (ownTransaction)
            Rollback();
        return false;
    }
    return ownTransaction ? Commit(error) : true;
}

bool PartSystem::RemovePart(DWORD address, std::string& error)
{
    const bool ownTransaction = sqlite3_get_autocommit(m_db) != 0;
    if (ownTransaction && !Begin(error))
        return false;
    bool ok = true;
    for (const char* sql : {"DELETE FROM parts WHERE address = ?", "DELETE FROM fields WHERE address = ?",
                            "DELETE FROM report_names WHERE address = ?",
                            "DELETE FROM answers WHERE address = ?"}) {
        SqlStatement drop(m_db, sql);
        drop.Bind(1, static_cast<std::int64_t>(address));
        ok = ok && drop.Run();
    }
    if (!ok) {
        error = std::string("パートを削除できません: ") + sqlite3_errmsg(m_db);
        if (ownTransaction)
            Rollback();
        return false;
    }
    return ownTransaction ? Commit(error) : true;
}

DWORD PartSystem::NextFreeAddress() const
{
    SqlStatement get(m_db, "SELECT COALESCE(MAX(address), 0) + 1 FROM parts");
    return get.Step() ? static_cast<DWORD>(get.Int(0)) : 0;
}

std::vector<DWORD> PartSystem::PartAddresses(WORD programNo) const
{
    std::vector<DWORD> out;
    SqlStatement get(m_db, "SELECT address FROM parts WHERE program = ? ORDER BY address");
    get.Bind(1, std::int64_t{programNo});
    while (get.Step())
        out.push_back(static_cast<DWORD>(get.Int(0)));
    return out;
}

std::vector<PartSystem::PartEntry> PartSystem::PartEntries(WORD programNo) const
{
    std::vector<PartEntry> out;
    SqlStatement get(m_db, "SELECT address, active FROM parts WHERE program = ? ORDER BY address");
    get.Bind(1, std::int64_t{programNo});
    while (get.Step())
        out.push_back({static_cast<DWORD>(get.Int(0)), get.Int(1) != 0});
    return out;
}

bool PartSystem::IsPartActive(DWORD address) const
{
    SqlStatement get(m_db, "SELECT active FROM parts WHERE address = ?");
    get.Bind(1, static_cast<std::int64_t>(address));
    return get.Step() && get.Int(0) != 0;
}

std::optional<WORD> PartSystem::ProgramOf(DWORD address) const
{
    SqlStatement get(m_db, "SELECT program FROM parts WHERE address = ?");
    get.Bind(1, static_cast<std::int64_t>(address));
    if (!get.Step())
        return std::nullopt;
    return static_cast<WORD>(get.Int(0));
}

std::string PartSystem::ProgramName(WORD programNo) const
{
    SqlStatement get(m_db, "SELECT name FROM programs WHERE program = ?");
    get.Bind(1, std::int64_t{programNo});
    return get.Step() ? get.Text(0) : std::string();
}

bool PartSystem::SetProgramName(WORD programNo, const std::string& name, std::string& error)
{
    SqlStatement put(m_db, "INSERT OR REPLACE INTO programs(program, name) VALUES(?, ?)");
    put.Bind(1, std::int64_t{programNo}).Bind(2, name);
    if (put.Run())
        return true;
    error = sqlite3_errmsg(m_db);
    return false;
}

std::vector<PartRecord> PartSystem::Answers(DWORD address, const std::string& name) const
{
    std::vector<PartRecord> rows;
    SqlStatement get(m_db, "SELECT row, field, kind, ival, dval, tval FROM answers "
                           "WHERE address = ? AND tbl = ? ORDER BY row, field");
    get.Bind(1, static_cast<std::int64_t>(address)).Bind(2, name);
    while (get.Step()) {
        const auto row = static_cast<std::size_t>(get.Int(0));
        const auto field = static_cast<std::size_t>(get.Int(1));
        if (row >= rows.size())
            rows.resize(row + 1);
        auto& values = rows[row].Fields();
        if (field >= values.size())
            values.resize(field + 1);
        values[field] = get.Field(2);
    }
    return rows;
}

bool PartSystem::PutAnswers(DWORD address, const std::string& name,
                            const std::vector<PartRecord>& rows, std::string& error)
{
    const bool ownTransaction = sqlite3_get_autocommit(m_db) != 0;
    if (ownTransaction && !Begin(error))
        return false;
    SqlStatement drop(m_db, "DELETE FROM answers WHERE address = ? AND tbl = ?");
    drop.Bind(1, static_cast<std::int64_t>(address)).Bind(2, name);
    bool ok = drop.Run();
    SqlStatement put(m_db, "INSERT INTO answers(address, tbl, row, field, kind, ival, dval, tval) "
                           "VALUES(?, ?, ?, ?, ?, ?, ?, ?)");
    for (std::size_t r = 0; ok && r < rows.size(); ++r) {
        for (std::size_t f = 0; ok && f < rows[r].FieldCount(); ++f) {
            put.Reset();
            put.Bind(1, static_cast<std::int64_t>(address)).Bind(2, name)
                .Bind(3, static_cast<std::int64_t>(r)).Bind(4, static_cast<std::int64_t>(f))
                .BindField(5, rows[r].Fields()[f]);
            ok = put.Run();
        }
    }
    if (!ok) {
        error = std::string("回答を保存できません: ") + sqlite3_errmsg(m_db);
        if (ownTransaction)
            Rollback();
        return false;
    }
    return ownTransaction ? Commit(error) : true;
}

std::optional<std::string> PartSystem::Condition(const std::string& name, std::int64_t key) const
{
    SqlStatement get(m_db, "SELECT value FROM conditions WHERE name = ? AND key = ?");
    get.Bind(1, name).Bind(2, key);
    if (!get.Step())
        return std::nullopt;
    return get.Text(0);
}

bool PartSystem::PutCondition(const std::string& name, std::int64_t key, const std::string& json,
                              std::string& error)
{
    SqlStatement put(m_db, "INSERT OR REPLACE INTO conditions(name, key, value) VALUES(?, ?, ?)");
    put.Bind(1, name).Bind(2, key).Bind(3, json);
    if (put.Run())
        return true;
    error = sqlite3_errmsg(m_db);
    return false;
}

bool PartSystem::Begin(std::string& error)
{
    return SqlExec(m_db, "BEGIN IMMEDIATE", error);
}

bool PartSystem::Commit(std::string& error)
{
    if (SqlExec(m_db, "COMMIT", error))
        return true;
    Rollback();
    return false;
}

void PartSystem::Rollback()
{
    std::string ignored;
    SqlExec(m_db, "ROLLBACK", ignored);
}
