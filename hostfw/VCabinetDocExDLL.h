#pragma once

#include "hostfw/HostTypes.h"

#include <filesystem>
#include <memory>
#include <string>

class VCabinetDocTable;
struct sqlite3;

// The document binder: a SQLite table of documents (<root>/binder/binder.db) and a
// file store beside it (<root>/binder/files). System number 998 is the binder's.
class HOSTFW_API VCabinetDocExDLL {
public:
    static constexpr int kBinderSystem = 998;

    explicit VCabinetDocExDLL(int systemNo);
    ~VCabinetDocExDLL();
    VCabinetDocExDLL(const VCabinetDocExDLL&) = delete;
    VCabinetDocExDLL& operator=(const VCabinetDocExDLL&) = delete;

    // Opens (creating when needed) the binder store; false with LastError on failure.
    bool Create(int systemNo);
    VCabinetDocTable* GetDocTable();
    const std::string& LastError() const { return m_error; }

    sqlite3* Db() const { return m_db; }
    std::filesystem::path FileStore() const;
    static std::filesystem::path Folder();   // <root>/binder

private:
    int m_systemNo;
    sqlite3* m_db = nullptr;
    std::unique_ptr<VCabinetDocTable> m_table;
    std::string m_error;
};

// The binder library's name part of a path (the file name, without folders).
HOSTFW_API std::string V_GetFileName(const std::string& path);
