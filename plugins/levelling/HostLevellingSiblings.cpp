#include "plugins/levelling/HostLevellingSiblings.h"

#include "hostfw/CVApp.h"
#include "hostfw/PartData.h"
#include "hostfw/PartSystem.h"
#include "hostfw/PeldaSysData.h"
#include "hostfw/levelling/CTab00917DB.h"
#include "hostfw/levelling/CTab00935DB.h"
#include "hostfw/levelling/CTab00938DB.h"
#include "hostfw/levelling/JSUIJKN.h"
#include "hostfw/levelling/JSUIKOUSA.h"
#include "hostfw/levelling/SiSdoPrc.h"
#include "hostfw/levelling/SuiSyuboCalc.h"
#include "hostfw/levelling/Tab00917Data.h"
#include "hostfw/levelling/Tab00935Data.h"
#include "hostfw/levelling/Tab00938Data.h"
#include "hostfw/levelling/VJyoken.h"
#include "plugins/common/PartProgramOf.h"

namespace mod00963 {

HostLevellingSiblings::HostLevellingSiblings() : HostLevellingSiblings(PeldaGetApp().GetCurPartSysData()) {}

HostLevellingSiblings::HostLevellingSiblings(const PeldaSysData* systemData)
    : HostLevellingSiblings(systemData != nullptr ? systemData->GetHandle() : nullptr, systemData)
{
}

HostLevellingSiblings::HostLevellingSiblings(PartSystem* handle, const PeldaSysData* systemData)
    : m_handle(handle), m_systemData(systemData), m_networks(std::make_unique<CTab00938DB>(handle)),
      m_routes(std::make_unique<CTab00935DB>(handle)), m_levellingNetworks(std::make_unique<CTab00917DB>(handle))
{
}

HostLevellingSiblings::~HostLevellingSiblings() = default;

bool HostLevellingSiblings::IsOpen()
{
    return m_networks->IsOpen() && m_routes->IsOpen();
}

int HostLevellingSiblings::ProgramOf(PartAddress part)
{
    return plugcommon::ProgramOfPart(m_systemData, m_handle, part);
}

std::optional<short> HostLevellingSiblings::NetworkAdjustmentGrade(PartAddress part)
{
    Tab00938Data data;
    SUI00938_F f;
    if (part == 0 || !m_networks->Get(part, data, 0) || !data.GetF(f))
        return std::nullopt;
    return f.grade;
}

std::optional<CheckRoute> HostLevellingSiblings::ReadCheckRoute(PartAddress part)
{
    Tab00935Data data;
    SUI00935_F f;
    if (part == 0 || !m_routes->Get(part, data, 0) || !data.GetF(f))
        return std::nullopt;
    return CheckRoute{f.networkPart, f.startPoint, f.endPoint};
}

std::optional<short> HostLevellingSiblings::LevellingNetworkGrade(PartAddress part)
{
    Tab00917Data data;
    SUI00917_F f;
    if (part == 0 || !m_levellingNetworks->GetPartDB().Get(part, &data, 0) || !data.GetF(f))
        return std::nullopt;
    return f.grade;
}

std::optional<double> HostLevellingSiblings::StandardDeviation(PartAddress part)
{
    DbSiSdo record;
    if (!SiSdoPrc(m_handle, SiSdoPrc::kModeNetwork).Get(part, record))
        return std::nullopt;
    return record.standardDeviation;
}

std::optional<double> HostLevellingSiblings::Closure(PartAddress part)
{
    DbSiSdo record;
    if (!SiSdoPrc(m_handle, SiSdoPrc::kModeRoute).Get(part, record))
        return std::nullopt;
    return record.closure;
}

int HostLevellingSiblings::CalcObservationNote(PartAddress part, short grade, double& maximum)
{
    if (m_handle == nullptr)
        return 0;
    return SuiSyuboCalc(part, grade, maximum, m_handle);
}

int HostLevellingSiblings::PrecisionCode()
{
    JSUIJKN conditions;
    VJyoken(m_handle).GetSuiJynVur(conditions, 1);
    return conditions.precisionCode;
}

JSUIKOUSA HostLevellingSiblings::Tolerances()
{
    JSUIKOUSA table;
    if (m_handle != nullptr)
        table.Read(m_handle);
    return table;
}

} // namespace mod00963
