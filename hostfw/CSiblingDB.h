#pragma once

#include "hostfw/CPartDB.h"
#include "hostfw/HostTypes.h"
#include "hostfw/PartRecord.h"

#include <string>
#include <vector>

class PartData;

// Another calculation's store on the same part-system handle: its parts and records,
// plus the answers that calculation stored per part. Plug-in issues derive their
// sibling views (CTab04735DB, CTab00628DB...) from it in hostfw/<plugin>/.
class HOSTFW_API CSiblingDB {
public:
    CSiblingDB(PartSystem* handle, WORD programNo);
    virtual ~CSiblingDB();

    bool IsOpen() const { return m_partDB.IsOpen(); }
    PartSystem* GetHandle() const { return m_partDB.GetHandle(); }
    CPartDB& GetPartDB() { return m_partDB; }
    const CPartDB& GetPartDB() const { return m_partDB; }

    // Loads the part at address; non-zero when it exists and belongs to this program.
    int Get(DWORD address, PartData& data, int flag) const;
    // The stored answer table of that part (empty when none).
    std::vector<PartRecord> GetAnswers(DWORD address, const std::string& table) const;

private:
    CPartDB m_partDB;
};
