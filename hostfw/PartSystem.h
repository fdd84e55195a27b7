#pragma once

#include "hostfw/HostTypes.h"
#include "hostfw/PartRecord.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class PartData;
struct sqlite3;

// One part system: a SQLite file holding the parts of every program, their records
// field by field, the stored answers of sibling calculations, condition tables and
// program names. The file carries a schema version; a corrupt file or one written
// by a newer version is refused with a clear error and left untouched.
class HOSTFW_API PartSystem {
public:
    static constexpr int kSchemaVersion = 1;

    ~PartSystem();
    PartSystem(const PartSystem&) = delete;
    PartSystem& operator=(const PartSystem&) = delete;

    // Opens an existing file, or creates it when create is true. Null and a message
    // in error when the file is missing, corrupt, newer or cannot be written.
    static std::unique_ptr<PartSystem> Open(const std::filesystem::path& file, bool create,
                                            std::string& error);

    const std::filesystem::path& File() const { return m_file; }

    // Parts. A record number is the part's address; addresses start at 1.
    bool LoadPart(DWORD address, PartData& out) const;
    bool StorePart(const PartData& part, std::string& error);     // one transaction
    bool RemovePart(DWORD address, std::string& error);
    DWORD NextFreeAddress() const;
    std::vector<DWORD> PartAddresses(WORD programNo) const;        // ascending
    // The program's parts with their active flags (a part the user switched off is
    // kept but not active), ascending by address.
    struct PartEntry {
        DWORD address = 0;
        bool active = true;
    };
    std::vector<PartEntry> PartEntries(WORD programNo) const;
    // The part's active flag; false for a part that does not exist.
    bool IsPartActive(DWORD address) const;
    std::optional<WORD> ProgramOf(DWORD address) const;

    // Program names (PartDB_GetPrgName).
    std::string ProgramName(WORD programNo) const;
    bool SetProgramName(WORD programNo, const std::string& name, std::string& error);

    // Stored answers of a sibling calculation's part: named tables of rows.
    std::vector<PartRecord> Answers(DWORD address, const std::string& name) const;
    bool PutAnswers(DWORD address, const std::string& name, const std::vector<PartRecord>& rows,
                    std::string& error);

    // Condition tables (GNSS conditions, tolerances...) as JSON texts by name and key.
    std::optional<std::string> Condition(const std::string& name, std::int64_t key) const;
    bool PutCondition(const std::string& name, std::int64_t key, const std::string& json,
                      std::string& error);

    // Several writes in one transaction (seeding). Commit answers false on failure
    // and everything since Begin is undone.
    bool Begin(std::string& error);
    bool Commit(std::string& error);
    void Rollback();

    sqlite3* Db() const { return m_db; }   // for sibling stores added by plug-in issues

private:
    PartSystem(std::filesystem::path file, sqlite3* db);
    bool CheckSchema(bool created, std::string& error);

    std::filesystem::path m_file;
    sqlite3* m_db = nullptr;
};
