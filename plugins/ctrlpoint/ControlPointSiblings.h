#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace mod00519 {

using PartAddress = std::uint32_t;

// Sibling calculations the control-point table reads.
inline constexpr int kProgStrict628 = 628;
inline constexpr int kProgStrict631 = 631;
inline constexpr int kProgArbitrary622 = 622;
inline constexpr int kProgSingleRoute625 = 625;
inline constexpr int kProgHandbook681 = 681;
inline constexpr int kProgHeightRoute684 = 684;
inline constexpr int kProgHorizontalRoute687 = 687;

// Accuracy of one point of a strict network adjustment, metres.
struct PointAccuracy {
    double horizontalSd = 0.0;
    double heightSd = 0.0;
};

// Residuals and limits of a simplified network adjustment: seconds and centimetres.
struct NetworkAccuracy {
    double directionResidual = 0.0;
    double coordinateResidual = 0.0;
    double heightResidual = 0.0;
    double directionLimit = 0.0;
    double coordinateLimit = 0.0;
    double heightLimit = 0.0;
};

// Closure record of a check-calculation route; closures in metres.
struct RouteClosure {
    int routeKind = 0;   // 1 traverse or single route, 2 unit polygon
    double horizontalClosure = 0.0;
    double heightClosure = 0.0;
    double forwardBackDifference = 0.0;
};

// Header of a check handbook (station point and instrument height).
struct HandbookHeader {
    std::int32_t pointNo = 0;
    double instrumentHeight = 0.0;
};

// One observation row of a handbook set; angles in degrees-minutes-seconds (d.mmss).
struct HandbookRow {
    std::int32_t pointNo = 0;
    double horizontalDms = 0.0;
    double verticalDms = 0.0;
    double distance = 0.0;
    double targetHeight = 0.0;
};

// Observation sets in the order 1r, 1l, 2l, 2r, 3r, 3l; an empty optional is a row
// that could not be read.
struct CheckHandbook {
    HandbookHeader header;
    std::array<std::vector<std::optional<HandbookRow>>, 6> sets;
};

// One averaged observation of a handbook calculation.
struct AveragedObservation {
    std::int32_t pointNo = 0;
    double distance = 0.0;
    double directionDms = 0.0;
    double verticalDms = 0.0;
};

// One field-book measurement record of the station.
struct MeasurementRecord {
    std::int32_t pointNo = 0;
    double distance = 0.0;
    double horizontalDms = 0.0;
    double verticalDms = 0.0;
    bool verticalIsAltitude = false;   // false: the record holds a zenith angle
};

// Field-book rounding conditions of a handbook calculation.
struct FieldBookRules {
    int distanceDecimals = 3;
    int secondDecimals = 0;
};

// The host's averaging of one check handbook (observation sets in, averages out).
class HandbookAverager {
public:
    virtual ~HandbookAverager() = default;
    virtual void SetHeadData(const HandbookHeader& header) = 0;
    // withVertical: sets 1r and 1l also hand the vertical angle and distance.
    virtual void SetData(int setIndex, const HandbookRow& row, bool withVertical) = 0;
    virtual int Calc() = 0;   // 0 on success
    virtual int GetNumHeikin() const = 0;
    virtual bool GetHeikin(int k, AveragedObservation& out) const = 0;   // k from 1
    virtual const FieldBookRules& Rules() const = 0;
};

// What the evaluation reads of sibling calculations. The plug-in serves it from the
// host's databases; tests serve it from memory.
class ControlPointSiblings {
public:
    virtual ~ControlPointSiblings() = default;

    virtual bool IsDatabaseOpen(int program) = 0;
    virtual int ProgramOf(PartAddress part) = 0;   // 0 when unknown

    // The `F` grade of a part of 628, 631, 622, 684 or 687 (625: its `F1` grade).
    virtual bool ReadPartGrade(int program, PartAddress part, short& grade) = 0;
    // The point numbers of a strict-network part's `R2` rows.
    virtual bool ReadStrictPoints(int program, PartAddress part, std::vector<std::int32_t>& points) = 0;
    // The part addresses of an arbitrary network's `R2` rows.
    virtual bool ReadNetworkRows(PartAddress part, std::vector<PartAddress>& rows) = 0;

    virtual bool GetPointAccuracy(int program, PartAddress part, std::int32_t pointNo, PointAccuracy& out) = 0;
    virtual bool GetNetworkAccuracy(PartAddress part, NetworkAccuracy& out) = 0;
    virtual bool GetRouteClosure(PartAddress part, RouteClosure& out) = 0;

    // Header and sets of a check handbook; false when the part or header cannot be read.
    virtual bool ReadHandbook(PartAddress part, CheckHandbook& out) = 0;
    virtual std::unique_ptr<HandbookAverager> CreateAverager(PartAddress part) = 0;
    // Measurement records of the station; an empty optional is a record that cannot be read.
    virtual bool SearchMeasurements(std::int32_t stationPoint, PartAddress handbook,
                                    std::vector<std::optional<MeasurementRecord>>& out) = 0;
    // The coordinate record's conversion of an averaged vertical angle (d.mmss in and out).
    virtual double ConvertAveragedVertical(double dms) = 0;
};

} // namespace mod00519
