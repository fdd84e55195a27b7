#include "hostfw/VCabinetDocTable.h"

#include "hostfw/SqlStatement.h"
#include "hostfw/VCabinetDocExDLL.h"

#include <sqlite3.h>

namespace {

std::int64_t IdOf(const FieldValue& id)
{
    if (const auto* value = std::get_if<std::int64_t>(&id))
        return *value;
    return 0;
}

} // namespace

VCabinetDocTable::VCabinetDocTable(VCabinetDocExDLL& binder) : m_binder(binder) {}

bool VCabinetDocTable::SetCabInfo(const CABINFO& info)
{
    const auto* system = std::get_if<std::int64_t>(&info.systemNo);
    if (!system || *system != VCabinetDocExDLL::kBinderSystem)
        return false;
    m_cabInfo = info;
    return true;
}

FieldValue VCabinetDocTable::FindDocument(int systemNo, const std::string& name) const
{
    SqlStatement get(m_binder.Db(), "SELECT id FROM documents WHERE system = ? AND name = ?");
    get.Bind(1, std::int64_t{systemNo}).Bind(2, name);
    if (!get.Step())
        return std::monostate{};
    return get.Int(0);
}

FieldValue VCabinetDocTable::NewDocument(const std::string& name, int systemNo, const FieldValue&,
                                         const FieldValue&)
{
    if (name.empty())
        return std::monostate{};
    SqlStatement put(m_binder.Db(), "INSERT INTO documents(system, name) VALUES(?, ?)");
    put.Bind(1, std::int64_t{systemNo}).Bind(2, name);
    if (!put.Run())
        return std::monostate{};
    return static_cast<std::int64_t>(sqlite3_last_insert_rowid(m_binder.Db()));
}

bool VCabinetDocTable::RemoveDocument(const FieldValue& id)
{
    SqlStatement drop(m_binder.Db(), "DELETE FROM documents WHERE id = ?");
    drop.Bind(1, IdOf(id));
    SqlStatement attributes(m_binder.Db(), "DELETE FROM attributes WHERE id = ?");
    attributes.Bind(1, IdOf(id));
    return drop.Run() && attributes.Run();
}

bool VCabinetDocTable::GetInfo(const FieldValue& id, INFO& out) const
{
    SqlStatement get(m_binder.Db(), "SELECT text1, text2 FROM documents WHERE id = ?");
    get.Bind(1, IdOf(id));
    if (!get.Step())
        return false;
    out.text1 = get.Text(0);
    out.text2 = get.Text(1);
    return true;
}

bool VCabinetDocTable::SetInfo(const FieldValue& id, const INFO& info)
{
    SqlStatement put(m_binder.Db(), "UPDATE documents SET text1 = ?, text2 = ? WHERE id = ?");
    put.Bind(1, info.text1).Bind(2, info.text2).Bind(3, IdOf(id));
    return put.Run() && sqlite3_changes(m_binder.Db()) == 1;
}

bool VCabinetDocTable::UpdateDocument(const FieldValue& id)
{
    SqlStatement put(m_binder.Db(), "UPDATE documents SET updated = updated + 1 WHERE id = ?");
    put.Bind(1, IdOf(id));
    return put.Run() && sqlite3_changes(m_binder.Db()) == 1;
}

bool VCabinetDocTable::GetDataFilePath(const FieldValue& id, std::string& out) const
{
    SqlStatement get(m_binder.Db(), "SELECT name FROM documents WHERE id = ?");
    get.Bind(1, IdOf(id));
    if (!get.Step())
        return false;
    out = (m_binder.FileStore() / get.Text(0)).string();
    return true;
}

bool VCabinetDocTable::SetAttributes(const FieldValue& id, const std::vector<std::string>& attributes)
{
    std::string error;
    if (!SqlExec(m_binder.Db(), "BEGIN", error))
        return false;
    SqlStatement drop(m_binder.Db(), "DELETE FROM attributes WHERE id = ?");
    drop.Bind(1, IdOf(id));
    bool ok = drop.Run();
    SqlStatement put(m_binder.Db(), "INSERT INTO attributes(id, idx, value) VALUES(?, ?, ?)");
    for (std::size_t i = 0; ok && i < attributes.size(); ++i) {
        put.Reset();
        put.Bind(1, IdOf(id)).Bind(2, static_cast<std::int64_t>(i)).Bind(3, attributes[i]);
        ok = put.Run();
    }
    if (!ok) {
        SqlExec(m_binder.Db(), "ROLLBACK", error);
        return false;
    }
    return SqlExec(m_binder.Db(), "COMMIT", error);
}

std::vector<std::string> VCabinetDocTable::GetAttributes(const FieldValue& id) const
{
    std::vector<std::string> out;
    SqlStatement get(m_binder.Db(), "SELECT value FROM attributes WHERE id = ? ORDER BY idx");
    get.Bind(1, IdOf(id));
    while (get.Step())
        out.push_back(get.Text(0));
    return out;
}

bool VCabinetDocTable::SetCalsFlag(const FieldValue& id, int flag)
{
    SqlStatement put(m_binder.Db(), "UPDATE documents SET cals_flag = ? WHERE id = ?");
    put.Bind(1, std::int64_t{flag}).Bind(2, IdOf(id));
    return put.Run() && sqlite3_changes(m_binder.Db()) == 1;
}

int VCabinetDocTable::GetCalsFlag(const FieldValue& id) const
{
    SqlStatement get(m_binder.Db(), "SELECT cals_flag FROM documents WHERE id = ?");
    get.Bind(1, IdOf(id));
    return get.Step() ? static_cast<int>(get.Int(0)) : 0;
}

int VCabinetDocTable::DocumentCount() const
{
    SqlStatement get(m_binder.Db(), "SELECT COUNT(*) FROM documents");
    return get.Step() ? static_cast<int>(get.Int(0)) : 0;
}

long long VCabinetDocTable::UpdateCount() const
{
    SqlStatement get(m_binder.Db(), "SELECT COALESCE(SUM(updated), 0) FROM documents");
    return get.Step() ? get.Int(0) : 0;
}

bool VDocTable::SetSname(VCabinetDocTable& table, const FieldValue& id,
                         const std::vector<std::string>& attributes)
{
    return table.SetAttributes(id, attributes);
}

bool VDocTable::SetCalsUpDate(VCabinetDocTable& table, const FieldValue& id, int flag)
{
    return table.SetCalsFlag(id, flag);
}
