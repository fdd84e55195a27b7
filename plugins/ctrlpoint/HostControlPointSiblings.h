#pragma once

#include <map>
#include <optional>
#include <memory>

#include "plugins/ctrlpoint/ControlPointSiblings.h"

class CSiblingDB;
class KjnXyda_Nt;
class PartSystem;
class PeldaSysData;
class Tab00519Data;

namespace mod00519 {

class ControlPointEvaluation;

// The sibling results of the host's part system: the sibling views 622 … 687, the
// stored accuracies, closures and averages, and the field-book measurements. Each
// database is opened once, on first use, and released with this object.
class HostControlPointSiblings : public ControlPointSiblings {
public:
    HostControlPointSiblings(PartSystem* handle, const PeldaSysData* systemData, const KjnXyda_Nt& coordinates);
    ~HostControlPointSiblings() override;

    bool IsDatabaseOpen(int program) override;
    int ProgramOf(PartAddress part) override;
    bool ReadPartGrade(int program, PartAddress part, short& grade) override;
    bool ReadStrictPoints(int program, PartAddress part, std::vector<std::int32_t>& points) override;
    bool ReadNetworkRows(PartAddress part, std::vector<PartAddress>& rows) override;
    bool GetPointAccuracy(int program, PartAddress part, std::int32_t pointNo, PointAccuracy& out) override;
    bool GetNetworkAccuracy(PartAddress part, NetworkAccuracy& out) override;
    bool GetRouteClosure(PartAddress part, RouteClosure& out) override;
    bool ReadHandbook(PartAddress part, CheckHandbook& out) override;
    std::unique_ptr<HandbookAverager> CreateAverager(PartAddress part) override;
    bool SearchMeasurements(std::int32_t stationPoint, PartAddress handbook,
                            std::vector<std::optional<MeasurementRecord>>& out) override;
    double ConvertAveragedVertical(double dms) override;

    // The route key (field 1 of `F`) of a 684 or 687 part; false when unreadable.
    bool ReadRouteKey(int program, PartAddress part, std::int64_t& key);

private:
    struct PartFacts {
        bool readable = false;
        std::optional<short> grade;
        std::optional<std::int64_t> routeKey;
    };
    CSiblingDB* Database(int program);
    const PartFacts& Facts(int program, PartAddress part);
    const std::map<std::int32_t, PointAccuracy>& Accuracies(int program, PartAddress part);

    // Reads are cached for the life of this object (one evaluation or one dialog
    // list): a large network asks for thousands of points of the same part.
    std::map<std::pair<int, PartAddress>, PartFacts> m_facts;
    std::map<std::pair<int, PartAddress>, std::map<std::int32_t, PointAccuracy>> m_accuracies;
    std::optional<std::multimap<std::int32_t, PartAddress>> m_stations;

    PartSystem* m_handle;
    const PeldaSysData* m_systemData;
    const KjnXyda_Nt& m_coordinates;
    std::map<int, std::unique_ptr<CSiblingDB>> m_databases;
};

// The evaluation of a table on the sibling results of the host's current part system.
ControlPointEvaluation EvaluateOnCurrentSystem(const Tab00519Data& data, const KjnXyda_Nt& coordinates);

} // namespace mod00519
