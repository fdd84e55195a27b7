#pragma once

#include <map>
#include <set>
#include <utility>

#include "plugins/ctrlpoint/ControlPointSiblings.h"

namespace mod00519::test {

// Averager that returns stored averages; it checks that it was handed the sets it
// expects when `expectedRows` is set.
class FakeAverager : public HandbookAverager {
public:
    void SetHeadData(const HandbookHeader& header) override { head = header; }
    void SetData(int setIndex, const HandbookRow& row, bool) override { handed.emplace_back(setIndex, row.pointNo); }
    int Calc() override { return calcResult; }
    int GetNumHeikin() const override { return static_cast<int>(averages.size()); }
    bool GetHeikin(int k, AveragedObservation& out) const override
    {
        if (k < 1 || k > GetNumHeikin())
            return false;
        out = averages[static_cast<std::size_t>(k - 1)];
        return true;
    }
    const FieldBookRules& Rules() const override { return rules; }

    HandbookHeader head;
    std::vector<std::pair<int, std::int32_t>> handed;
    std::vector<AveragedObservation> averages;
    FieldBookRules rules;
    int calcResult = 0;
};

// In-memory sibling results.
class FakeSiblings : public ControlPointSiblings {
public:
    bool IsDatabaseOpen(int program) override { return closed.count(program) == 0; }
    int ProgramOf(PartAddress part) override
    {
        const auto it = programs.find(part);
        return it == programs.end() ? 0 : it->second;
    }
    bool ReadPartGrade(int program, PartAddress part, short& grade) override
    {
        if (ProgramOf(part) != program)
            return false;
        const auto it = grades.find(part);
        if (it == grades.end())
            return false;
        grade = it->second;
        return true;
    }
    bool ReadStrictPoints(int, PartAddress part, std::vector<std::int32_t>& points) override
    {
        const auto it = strictPoints.find(part);
        if (it == strictPoints.end())
            return false;
        points = it->second;
        return true;
    }
    bool ReadNetworkRows(PartAddress part, std::vector<PartAddress>& rows) override
    {
        const auto it = networkRows.find(part);
        if (it == networkRows.end())
            return false;
        rows = it->second;
        return true;
    }
    bool GetPointAccuracy(int, PartAddress part, std::int32_t pointNo, PointAccuracy& out) override
    {
        const auto it = pointAccuracy.find({part, pointNo});
        if (it == pointAccuracy.end())
            return false;
        out = it->second;
        return true;
    }
    bool GetNetworkAccuracy(PartAddress part, NetworkAccuracy& out) override
    {
        const auto it = networkAccuracy.find(part);
        if (it == networkAccuracy.end())
            return false;
        out = it->second;
        return true;
    }
    bool GetRouteClosure(PartAddress part, RouteClosure& out) override
    {
        const auto it = closures.find(part);
        if (it == closures.end())
            return false;
        out = it->second;
        return true;
    }
    bool ReadHandbook(PartAddress part, CheckHandbook& out) override
    {
        const auto it = handbooks.find(part);
        if (it == handbooks.end())
            return false;
        out = it->second;
        return true;
    }
    std::unique_ptr<HandbookAverager> CreateAverager(PartAddress part) override
    {
        auto averager = std::make_unique<FakeAverager>();
        const auto it = averages.find(part);
        if (it != averages.end())
            averager->averages = it->second;
        if (failingCalc.count(part) != 0)
            averager->calcResult = 1;
        return averager;
    }
    bool SearchMeasurements(std::int32_t station, PartAddress, std::vector<std::optional<MeasurementRecord>>& out) override
    {
        const auto it = measurements.find(station);
        if (it == measurements.end())
            return false;
        out = it->second;
        return true;
    }
    double ConvertAveragedVertical(double dms) override { return dms; }

    std::set<int> closed;
    std::map<PartAddress, int> programs;
    std::map<PartAddress, short> grades;
    std::map<PartAddress, std::vector<std::int32_t>> strictPoints;
    std::map<PartAddress, std::vector<PartAddress>> networkRows;
    std::map<std::pair<PartAddress, std::int32_t>, PointAccuracy> pointAccuracy;
    std::map<PartAddress, NetworkAccuracy> networkAccuracy;
    std::map<PartAddress, RouteClosure> closures;
    std::map<PartAddress, CheckHandbook> handbooks;
    std::map<PartAddress, std::vector<AveragedObservation>> averages;
    std::set<PartAddress> failingCalc;
    std::map<std::int32_t, std::vector<std::optional<MeasurementRecord>>> measurements;

    void AddPart(PartAddress part, int program, short grade)
    {
        programs[part] = program;
        grades[part] = grade;
    }
};

} // namespace mod00519::test
