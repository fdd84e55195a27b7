#pragma once

#include "hostfw/HostTypes.h"

#include <memory>
#include <string>

class PartSystem;

// The application's record of one open part system; its handle opens every database.
class HOSTFW_API PeldaSysData {
public:
    PeldaSysData(int number, std::string name, std::unique_ptr<PartSystem> system);
    ~PeldaSysData();

    int GetNo() const { return m_number; }
    const std::string& GetName() const { return m_name; }
    PartSystem* GetHandle() const { return m_system.get(); }
    // Program number of the part at address, 0 when there is no such part.
    WORD ToPrgNo(DWORD address) const;

private:
    int m_number;
    std::string m_name;
    std::unique_ptr<PartSystem> m_system;
};
