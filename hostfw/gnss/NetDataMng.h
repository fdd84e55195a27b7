#pragma once

#include "hostfw/HostTypes.h"

#include <string>
#include <vector>

class PartSystem;

// The stored results of a work's GNSS network adjustment of one mode (0 the network,
// 1 the assumed 3D network), condition tables "GnssNetwork0" and "GnssNetwork1" keyed
// by the work number:
//   {"points": [{"name", "kind", "sN", "sE", "sU", "height", "knownHeight"}],
//    "baselines": [{"from", "to", "components": [3], "corrections": [3],
//                   "residuals": [3], "distance"}]}
// Point kind 1 is a fixed (given) point. Missing numbers read as unset (1e-16).
class HOSTFW_API NetDataMng {
public:
    struct Point {
        std::string name;
        int kind = 0;
        double sN = kUnsetValue;
        double sE = kUnsetValue;
        double sU = kUnsetValue;
        double height = kUnsetValue;        // adjusted ellipsoid height
        double knownHeight = kUnsetValue;   // known ellipsoid height
    };
    struct Baseline {
        std::string from;
        std::string to;
        double components[3] = {0.0, 0.0, 0.0};
        double corrections[3] = {0.0, 0.0, 0.0};
        double residuals[3] = {kUnsetValue, kUnsetValue, kUnsetValue};
        double distance = kUnsetValue;
    };

    explicit NetDataMng(long workNo, const PartSystem* handle = nullptr);

    // Loads the results of the mode; true when stored results were found.
    bool Calc(int mode);
    bool HasResults() const { return !m_points.empty() || !m_baselines.empty(); }

    const std::vector<Point>& Points() const { return m_points; }
    const std::vector<Baseline>& Baselines() const { return m_baselines; }

private:
    long m_workNo;
    const PartSystem* m_handle;
    std::vector<Point> m_points;
    std::vector<Baseline> m_baselines;
};
