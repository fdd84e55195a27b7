#include "plugins/ctrlpoint/HostControlPointSiblings.h"

#include <variant>

#include "hostfw/CVApp.h"
#include "hostfw/PartData.h"
#include "hostfw/PartSystem.h"
#include "hostfw/PeldaSysData.h"
#include "hostfw/ctrlpoint/CTab00622DB.h"
#include "hostfw/ctrlpoint/CTab00625DB.h"
#include "hostfw/ctrlpoint/CTab00628DB.h"
#include "hostfw/ctrlpoint/CTab00631DB.h"
#include "hostfw/ctrlpoint/CTab00681DB.h"
#include "hostfw/ctrlpoint/CTab00684DB.h"
#include "hostfw/ctrlpoint/CTab00687DB.h"
#include "hostfw/ctrlpoint/ControlPointSiblingRecords.h"
#include "hostfw/ctrlpoint/DmsAngles.h"
#include "hostfw/ctrlpoint/SeidoLib.h"
#include "hostfw/ctrlpoint/ShbJ_Nt.h"
#include "hostfw/ctrlpoint/ShuboCalc.h"
#include "hostfw/ctrlpoint/Tab00452Data.h"
#include "plugins/common/PartProgramOf.h"
#include "plugins/ctrlpoint/ControlPointEvaluation.h"
#include "plugins/ctrlpoint/TableReader.h"
#include "hostfw/ctrlpoint/TenkenLib.h"

namespace mod00519 {

namespace {

// The host's handbook calculator behind the evaluation's averager.
class HostAverager : public HandbookAverager {
public:
    HostAverager(PartSystem* handle, PartAddress part, const ShboCalVur& conditions)
        : m_calc(handle, part, conditions), m_rules{conditions.distanceDecimals, conditions.secondDecimals}
    {
    }
    void SetHeadData(const HandbookHeader& header) override
    {
        m_calc.SetHeadData(header.pointNo, header.instrumentHeight);
    }
    void SetData(int setIndex, const HandbookRow& row, bool withVertical) override
    {
        m_calc.SetData(setIndex, row.pointNo, DmstoRad(row.horizontalDms), withVertical ? DmstoRad(row.verticalDms) : 0.0,
                       withVertical ? row.distance : 0.0, row.targetHeight);
    }
    int Calc() override { return m_calc.Calc(); }
    int GetNumHeikin() const override { return m_calc.GetNumHeikin(); }
    bool GetHeikin(int k, AveragedObservation& out) const override
    {
        HeikinData d;
        if (!m_calc.GetHeikin(k, d))
            return false;
        out = {static_cast<std::int32_t>(d.pointNo), d.distance, d.direction, d.vertical};
        return true;
    }
    const FieldBookRules& Rules() const override { return m_rules; }

private:
    ShuboCalc m_calc;
    FieldBookRules m_rules;
};

bool IsStored(const PartRecord& row, std::size_t field)
{
    return row.FieldCount() > field && !std::holds_alternative<std::monostate>(row.Fields()[field]);
}

} // namespace

HostControlPointSiblings::HostControlPointSiblings(PartSystem* handle, const PeldaSysData* systemData,
                                                   const KjnXyda_Nt& coordinates)
    : m_handle(handle), m_systemData(systemData), m_coordinates(coordinates)
{
}

HostControlPointSiblings::~HostControlPointSiblings() = default;

CSiblingDB* HostControlPointSiblings::Database(int program)
{
    auto it = m_databases.find(program);
    if (it == m_databases.end()) {
        std::unique_ptr<CSiblingDB> db;
        switch (program) {
        case kProgStrict628: db = std::make_unique<CTab00628DB>(m_handle); break;
        case kProgStrict631: db = std::make_unique<CTab00631DB>(m_handle); break;
        case kProgArbitrary622: db = std::make_unique<CTab00622DB>(m_handle); break;
        case kProgSingleRoute625: db = std::make_unique<CTab00625DB>(m_handle); break;
        case kProgHandbook681: db = std::make_unique<CTab00681DB>(m_handle); break;
        case kProgHeightRoute684: db = std::make_unique<CTab00684DB>(m_handle); break;
        case kProgHorizontalRoute687: db = std::make_unique<CTab00687DB>(m_handle); break;
        default: break;
        }
        it = m_databases.emplace(program, std::move(db)).first;
    }
    return it->second && it->second->IsOpen() ? it->second.get() : nullptr;
}

bool HostControlPointSiblings::IsDatabaseOpen(int program)
{
    return Database(program) != nullptr;
}

int HostControlPointSiblings::ProgramOf(PartAddress part)
{
    return plugcommon::ProgramOfPart(m_systemData, m_handle, part);
}

const HostControlPointSiblings::PartFacts& HostControlPointSiblings::Facts(int program, PartAddress part)
{
    const auto key = std::make_pair(program, part);
    const auto found = m_facts.find(key);
    if (found != m_facts.end())
        return found->second;
    PartFacts facts;
    CSiblingDB* db = Database(program);
    PartData data;
    PartRecord f;
    if (db != nullptr && part != 0 && db->Get(part, data, 0)) {
        facts.readable = true;
        const char* record = program == kProgSingleRoute625 ? ctrlsib::kRecF1 : ctrlsib::kRecF;
        if (data.GetRecord(record, 0, f)) {
            if (IsStored(f, ctrlsib::kFieldGrade))
                facts.grade = f.Short(ctrlsib::kFieldGrade);
            if (IsStored(f, ctrlsib::kFieldRouteKey))
                facts.routeKey = f.Long(ctrlsib::kFieldRouteKey);
        }
    }
    return m_facts.emplace(key, facts).first->second;
}

bool HostControlPointSiblings::ReadPartGrade(int program, PartAddress part, short& grade)
{
    const PartFacts& facts = Facts(program, part);
    if (!facts.grade)
        return false;
    grade = *facts.grade;
    return true;
}

bool HostControlPointSiblings::ReadRouteKey(int program, PartAddress part, std::int64_t& key)
{
    if (program != kProgHeightRoute684 && program != kProgHorizontalRoute687)
        return false;
    const PartFacts& facts = Facts(program, part);
    if (!facts.routeKey)
        return false;
    key = *facts.routeKey;
    return true;
}

bool HostControlPointSiblings::ReadStrictPoints(int program, PartAddress part, std::vector<std::int32_t>& points)
{
    CSiblingDB* db = Database(program);
    PartData data;
    if (db == nullptr || !db->Get(part, data, 0))
        return false;
    points.clear();
    const std::size_t rows = data.RowCount(ctrlsib::kRecR2);
    PartRecord row;
    for (std::size_t i = 0; i < rows; ++i) {
        if (data.GetRecord(ctrlsib::kRecR2, i, row))
            points.push_back(static_cast<std::int32_t>(row.Long(0)));
    }
    return true;
}

bool HostControlPointSiblings::ReadNetworkRows(PartAddress part, std::vector<PartAddress>& rows)
{
    CSiblingDB* db = Database(kProgArbitrary622);
    PartData data;
    if (db == nullptr || !db->Get(part, data, 0))
        return false;
    rows.clear();
    const std::size_t count = data.RowCount(ctrlsib::kRecR2);
    PartRecord row;
    for (std::size_t i = 0; i < count; ++i) {
        if (data.GetRecord(ctrlsib::kRecR2, i, row))
            rows.push_back(row.Dword(0));
    }
    return true;
}

const std::map<std::int32_t, PointAccuracy>& HostControlPointSiblings::Accuracies(int program, PartAddress part)
{
    const auto key = std::make_pair(program, part);
    auto found = m_accuracies.find(key);
    if (found != m_accuracies.end())
        return found->second;
    std::map<std::int32_t, PointAccuracy> points;
    if (CSiblingDB* db = Database(program)) {
        std::vector<TENKEN_REC> records;
        TenkenLib::GetAll(*db, part, records);
        for (const TENKEN_REC& r : records)
            points.emplace(static_cast<std::int32_t>(r.pointNo), PointAccuracy{r.horizontalSd, r.heightSd});
    }
    return m_accuracies.emplace(key, std::move(points)).first->second;
}

bool HostControlPointSiblings::GetPointAccuracy(int program, PartAddress part, std::int32_t pointNo,
                                                PointAccuracy& out)
{
    const std::map<std::int32_t, PointAccuracy>& points = Accuracies(program, part);
    const auto it = points.find(pointNo);
    if (it == points.end())
        return false;
    out = it->second;
    return true;
}

bool HostControlPointSiblings::GetNetworkAccuracy(PartAddress part, NetworkAccuracy& out)
{
    SEIDO_NET record;
    if (!SeidoLib::Get(m_handle, part, record))
        return false;
    out = {record.directionResidual, record.coordinateResidual, record.heightResidual,
           record.directionLimit,    record.coordinateLimit,    record.heightLimit};
    return true;
}

bool HostControlPointSiblings::GetRouteClosure(PartAddress part, RouteClosure& out)
{
    SEIDO_ROUTE record;
    if (!SeidoLib::Get(m_handle, part, record))
        return false;
    out = {static_cast<int>(record.routeKind), record.horizontalClosure, record.heightClosure,
           record.forwardBackDifference};
    return true;
}

bool HostControlPointSiblings::ReadHandbook(PartAddress part, CheckHandbook& out)
{
    CSiblingDB* db = Database(kProgHandbook681);
    PartData data;
    PartRecord header;
    if (db == nullptr || part == 0 || !db->Get(part, data, 0) || !data.GetRecord(ctrlsib::kRecKs, 0, header))
        return false;
    out.header = {static_cast<std::int32_t>(header.Long(0)), header.Double(1)};
    for (std::size_t set = 0; set < out.sets.size(); ++set) {
        out.sets[set].clear();
        const std::size_t rows = data.RowCount(ctrlsib::kHandbookSets[set]);
        for (std::size_t i = 0; i < rows; ++i) {
            PartRecord row;
            if (!data.GetRecord(ctrlsib::kHandbookSets[set], i, row) || !IsStored(row, ctrlsib::kRowPoint)) {
                out.sets[set].emplace_back(std::nullopt);
                continue;
            }
            out.sets[set].emplace_back(HandbookRow{static_cast<std::int32_t>(row.Long(ctrlsib::kRowPoint)),
                                                   row.Double(ctrlsib::kRowHorizontal),
                                                   row.Double(ctrlsib::kRowVertical),
                                                   row.Double(ctrlsib::kRowDistance),
                                                   row.Double(ctrlsib::kRowTargetHeight)});
        }
    }
    return true;
}

std::unique_ptr<HandbookAverager> HostControlPointSiblings::CreateAverager(PartAddress part)
{
    ShboCalVur conditions;
    ShbJ_Nt::GetCalVur(m_coordinates, conditions);
    return std::make_unique<HostAverager>(m_handle, part, conditions);
}

bool HostControlPointSiblings::SearchMeasurements(std::int32_t stationPoint, PartAddress,
                                                  std::vector<std::optional<MeasurementRecord>>& out)
{
    if (m_handle == nullptr || stationPoint == 0)
        return false;
    if (!m_stations) {
        // The stations of all active field books, read once: the first part of a station
        // wins, as the host's search takes it; books switched off are not searched.
        m_stations.emplace();
        for (const PartSystem::PartEntry& entry : m_handle->PartEntries(Tab00452Data::kProgramNo)) {
            if (!entry.active)
                continue;
            const DWORD address = entry.address;
            Tab00452Data book;
            if (m_handle->LoadPart(address, book) && m_stations->count(static_cast<std::int32_t>(book.GetStation())) == 0)
                m_stations->emplace(static_cast<std::int32_t>(book.GetStation()), address);
        }
    }
    const auto found = m_stations->find(stationPoint);
    Tab00452Data measurements;
    if (found == m_stations->end() || !m_handle->LoadPart(found->second, measurements))
        return false;
    out.clear();
    const int count = measurements.GetCnt();
    for (int j = 0; j < count; ++j) {
        SVY00452_KEISOKU_REP rep;
        if (!measurements.GetRep(j, rep)) {
            out.emplace_back(std::nullopt);
            continue;
        }
        out.emplace_back(MeasurementRecord{static_cast<std::int32_t>(rep.pointNo), rep.distance, rep.horizontal,
                                           rep.vertical, rep.verticalIsAltitude != 0});
    }
    return true;
}

double HostControlPointSiblings::ConvertAveragedVertical(double dms)
{
    return dms;
}

ControlPointEvaluation EvaluateOnCurrentSystem(const Tab00519Data& data, const KjnXyda_Nt& coordinates)
{
    const PeldaSysData* system = PeldaGetApp().GetCurPartSysData();
    HostControlPointSiblings siblings(system != nullptr ? system->GetHandle() : nullptr, system, coordinates);
    ControlPointEvaluation evaluation;
    evaluation.Evaluate(TableReader::Read(data), siblings);
    return evaluation;
}

} // namespace mod00519
