#pragma once

#include "hostfw/CPartDB.h"
#include "hostfw/HostTypes.h"

#include <memory>

class PartData;

// Base of a program's parameter database opened on a part-system handle. A handle
// member left 0 means the database did not open.
class HOSTFW_API CTabParamDB {
public:
    CTabParamDB(PartSystem* handle, WORD programNo);
    virtual ~CTabParamDB();

    // Non-zero when open (the host's "handle member").
    std::uintptr_t GetDBHandle() const { return m_hDB; }
    bool IsOpen() const { return m_hDB != 0; }
    CPartDB* GetPartDB() { return &m_partDB; }
    WORD GetPrgNo() const { return m_partDB.GetPrgNo(); }

    // Loads the part at address into data; non-zero on success.
    int Get(DWORD address, PartData& data, int flag) const;
    int Put(PartData& data);

    // A fresh part-data object of this program's kind (Tab04827Data...).
    virtual std::unique_ptr<PartData> NewPartData() const;

private:
    std::uintptr_t m_hDB = 0;
    CPartDB m_partDB;
};
