#pragma once

#include <memory>

#include "plugins/levelling/LevellingSiblings.h"

class CPartDB;
class CTab00917DB;
class CTab00935DB;
class CTab00938DB;
class PartSystem;
class PeldaSysData;

namespace mod00963 {

// The sibling results of the host's part system: the views 938, 935 and 917, the
// stored standard deviations and closures, the observation-note calculation, the
// tolerance table and the observation conditions. Opened on the current part system
// unless a handle is given.
class HostLevellingSiblings : public LevellingSiblings {
public:
    HostLevellingSiblings();
    // On the sibling databases of a part system (null: none).
    explicit HostLevellingSiblings(const PeldaSysData* systemData);
    HostLevellingSiblings(PartSystem* handle, const PeldaSysData* systemData);
    ~HostLevellingSiblings() override;

    bool IsOpen() override;
    int ProgramOf(PartAddress part) override;
    std::optional<short> NetworkAdjustmentGrade(PartAddress part) override;
    std::optional<CheckRoute> ReadCheckRoute(PartAddress part) override;
    std::optional<short> LevellingNetworkGrade(PartAddress part) override;
    std::optional<double> StandardDeviation(PartAddress part) override;
    std::optional<double> Closure(PartAddress part) override;
    int CalcObservationNote(PartAddress part, short grade, double& maximum) override;
    int PrecisionCode() override;
    JSUIKOUSA Tolerances() override;

private:
    PartSystem* m_handle;
    const PeldaSysData* m_systemData;
    std::unique_ptr<CTab00938DB> m_networks;
    std::unique_ptr<CTab00935DB> m_routes;
    std::unique_ptr<CTab00917DB> m_levellingNetworks;
};

} // namespace mod00963
