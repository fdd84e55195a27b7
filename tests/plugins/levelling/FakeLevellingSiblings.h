#pragma once

#include <map>

#include "hostfw/levelling/JSUIKOUSA.h"
#include "plugins/levelling/LevellingSiblings.h"

namespace mod00963 {

// Sibling results from memory: what a part system would hold.
class FakeLevellingSiblings : public LevellingSiblings {
public:
    bool open = true;
    std::map<PartAddress, int> programs;
    std::map<PartAddress, short> networkGrades;          // 938
    std::map<PartAddress, CheckRoute> routes;            // 935
    std::map<PartAddress, short> levellingNetworks;      // 917
    std::map<PartAddress, double> deviations;            // SiSdoPrc mode 1
    std::map<PartAddress, double> closures;              // SiSdoPrc mode 0
    std::map<PartAddress, double> roundTrips;            // notes that compute
    int precision = 0;
    JSUIKOUSA tolerances;

    bool IsOpen() override { return open; }
    int ProgramOf(PartAddress part) override { return Find(programs, part).value_or(0); }
    std::optional<short> NetworkAdjustmentGrade(PartAddress part) override { return Find(networkGrades, part); }
    std::optional<CheckRoute> ReadCheckRoute(PartAddress part) override { return Find(routes, part); }
    std::optional<short> LevellingNetworkGrade(PartAddress part) override { return Find(levellingNetworks, part); }
    std::optional<double> StandardDeviation(PartAddress part) override { return Find(deviations, part); }
    std::optional<double> Closure(PartAddress part) override { return Find(closures, part); }
    int CalcObservationNote(PartAddress part, short, double& maximum) override
    {
        const std::optional<double> v = Find(roundTrips, part);
        if (!v)
            return 0;
        if (maximum == 1e-16 || std::abs(*v) > std::abs(maximum))
            maximum = *v;
        return 1;
    }
    int PrecisionCode() override { return precision; }
    JSUIKOUSA Tolerances() override { return tolerances; }

private:
    template <typename T>
    static std::optional<T> Find(const std::map<PartAddress, T>& m, PartAddress part)
    {
        const auto it = m.find(part);
        return it == m.end() ? std::nullopt : std::optional<T>(it->second);
    }
};

} // namespace mod00963
