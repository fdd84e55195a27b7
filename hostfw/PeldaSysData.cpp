#include "hostfw/PeldaSysData.h"

#include "hostfw/PartSystem.h"

PeldaSysData::PeldaSysData(int number, std::string name, std::unique_ptr<PartSystem> system)
    : m_number(number), m_name(std::move(name)), m_system(std::move(system))
{
}

PeldaSysData::~PeldaSysData() = default;

WORD PeldaSysData::ToPrgNo(DWORD address) const
{
    if (!m_system)
        return 0;
    return m_system->ProgramOf(address).value_or(0);
}
