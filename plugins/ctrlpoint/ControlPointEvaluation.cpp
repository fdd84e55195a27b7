#include "plugins/ctrlpoint/ControlPointEvaluation.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "hostfw/ctrlpoint/DmsAngles.h"
#include "hostfw/ctrlpoint/TXYDA_Nt.h"
#include "plugins/common/PrintedValue.h"
#include "plugins/ctrlpoint/ControlPointStatus.h"

namespace mod00519 {

namespace {

constexpr double kHorizontalSdLimitCm = 10.0;
constexpr double kHeightSdLimitCm = 20.0;
constexpr int kHeightClosureConstantMm = 200;

bool IsSet(double v)
{
    return v != kUnset;
}

// Keeps the value of largest magnitude; an unset maximum takes any value.
void KeepLargestMagnitude(double& maximum, double value)
{
    if (!IsSet(maximum) || std::fabs(value) > std::fabs(maximum))
        maximum = value;
}

// Keeps the strictest (smallest magnitude) limit.
void KeepSmallestMagnitude(double& limit, double value)
{
    if (!IsSet(limit) || std::fabs(value) < std::fabs(limit))
        limit = value;
}

std::string GradeName(short grade)
{
    switch (grade) {
    case 1: return "（1級基準点）";
    case 2: return "（2級基準点）";
    case 3: return "（3級基準点）";
    case 4: return "（4級基準点）";
    default: return {};
    }
}

std::string Fixed(double v, int decimals)
{
    return plugcommon::FormatRoundedValue(v, decimals);
}

std::string Measured(double v, int decimals)
{
    return plugcommon::FormatMeasured(v, decimals);
}

std::string Int(int v)
{
    return std::to_string(v);
}

} // namespace

GradeTolerances TolerancesOfGrade(short grade)
{
    switch (grade) {
    case 2: return {100, 30, 100, 15, 200};
    case 3: return {150, 50, 150, 25, 150};
    case 4: return {150, 100, 300, 50, 100};
    default: return {100, 20, 50, 10, 300};
    }
}

void KeepLargerMillimetres(double& maximum, double metres)
{
    const double mm = plugcommon::ScaleByPowerOfTen(metres, 3);
    if (!IsSet(maximum) || std::fabs(mm) > std::fabs(maximum))
        maximum = mm;
}

std::string JoinWithComma(const std::string& text, const std::string& piece)
{
    return text.empty() ? piece : text + "、" + piece;
}

std::string JoinPlain(const std::string& text, const std::string& piece)
{
    return text + piece;
}

void ControlPointEvaluation::Evaluate(const ControlPointTable& table, ControlPointSiblings& siblings)
{
    for (auto& t : texts)
        t.clear();
    itemKind.clear();
    status = kStatusOk;
    itemIndex = -1;
    // Grades 1 to 4 have tolerances and a name; another grade would print grade 1's
    // tolerances under no name.
    if (table.grade < 1 || table.grade > 4) {
        Fail(kStatusDataUnavailable);
        return;
    }

    Maxima maxima;
    bool found = false;
    if (!ReadNetwork(table, siblings, maxima, found))
        return;
    if (!ReadCheckHandbooks(table, siblings, maxima))
        return;
    if (!CheckRouteGrades(table, siblings))
        return;
    BuildTexts(table, maxima, found, siblings);
}

bool ControlPointEvaluation::ReadNetwork(const ControlPointTable& table, ControlPointSiblings& siblings,
                                         Maxima& maxima, bool& found)
{
    const bool switchC = table.SwitchSet(kSwitchC);
    if (table.networkKind == 0) {
        if (table.strict628 == 0 && table.strict631 == 0 && !switchC) {
            Fail(kStatusNoStrictNetwork);
            return false;
        }
        const bool used = table.strict628 != 0 || table.strict631 != 0;
        if (used && !(siblings.IsDatabaseOpen(kProgStrict628) && siblings.IsDatabaseOpen(kProgStrict631))) {
            Fail(kStatusDataUnavailable);
            return false;
        }
        std::vector<std::int32_t> points;
        const int first = ReadStrictNetworkPart(table.grade, kProgStrict628, table.strict628, siblings, maxima, points);
        const int second = ReadStrictNetworkPart(table.grade, kProgStrict631, table.strict631, siblings, maxima, points);
        found = first != 0 || second != 0;
        if (!found && !switchC) {
            Fail(kStatusNoStrictNetwork);
            return false;
        }
        return true;
    }
    if (table.networkKind != 1 && table.networkKind != 2)
        return true;

    const PartAddress part = table.networkKind == 1 ? table.arbitraryNetwork : table.singleRoute;
    const bool allManual = table.SwitchSet(kSwitchA) && table.SwitchSet(kSwitchB) && switchC;
    const short notFound = table.networkKind == 1 ? kStatusNoArbitraryNetwork : kStatusNoSingleRoute;
    if (part == 0 && !allManual) {
        Fail(notFound);
        return false;
    }
    if (part != 0) {
        if (!(siblings.IsDatabaseOpen(kProgArbitrary622) && siblings.IsDatabaseOpen(kProgSingleRoute625))) {
            Fail(kStatusDataUnavailable);
            return false;
        }
        short grade = 0;
        const int program = siblings.ProgramOf(part);
        if (program == kProgArbitrary622) {
            std::vector<PartAddress> rows;
            if (siblings.ReadPartGrade(kProgArbitrary622, part, grade) && grade == table.grade &&
                siblings.ReadNetworkRows(part, rows)) {
                for (const PartAddress row : rows) {
                    if (ReadAdjustmentAccuracy(row, siblings, maxima.network) != 0)
                        found = true;
                }
            }
        } else if (program == kProgSingleRoute625) {
            if (siblings.ReadPartGrade(kProgSingleRoute625, part, grade) && grade == table.grade)
                found = ReadAdjustmentAccuracy(part, siblings, maxima.network) != 0;
        }
    }
    if (!found && !allManual) {
        Fail(notFound);
        return false;
    }
    return true;
}

// Reads the points of one strict-network part into the shared list. A point already
// listed (one both networks hold, or repeated in the list) or without accuracy data is
// skipped and the rest of the part still read, so each point counts exactly once.
int ControlPointEvaluation::ReadStrictNetworkPart(short grade, int program, PartAddress part,
                                                  ControlPointSiblings& siblings, Maxima& maxima,
                                                  std::vector<std::int32_t>& points)
{
    if (part == 0)
        return 0;
    short partGrade = 0;
    if (!siblings.ReadPartGrade(program, part, partGrade) || partGrade != grade)
        return 0;
    std::vector<std::int32_t> rows;
    if (!siblings.ReadStrictPoints(program, part, rows))
        return 1;
    std::unordered_set<std::int32_t> listed(points.begin(), points.end());
    for (const std::int32_t point : rows) {
        PointAccuracy accuracy;
        if (!siblings.GetPointAccuracy(program, part, point, accuracy))
            continue;
        if (!listed.insert(point).second)
            continue;
        points.push_back(point);
        if (!IsSet(maxima.horizontalSd) || accuracy.horizontalSd > maxima.horizontalSd)
            maxima.horizontalSd = accuracy.horizontalSd;
        if (!IsSet(maxima.heightSd) || accuracy.heightSd > maxima.heightSd)
            maxima.heightSd = accuracy.heightSd;
    }
    return 1;
}

int ControlPointEvaluation::ReadAdjustmentAccuracy(PartAddress part, ControlPointSiblings& siblings,
                                                   NetworkAccuracy& values)
{
    NetworkAccuracy record;
    if (!siblings.GetNetworkAccuracy(part, record))
        return 0;
    KeepLargestMagnitude(values.directionResidual, record.directionResidual);
    KeepLargestMagnitude(values.coordinateResidual, record.coordinateResidual);
    KeepLargestMagnitude(values.heightResidual, record.heightResidual);
    KeepSmallestMagnitude(values.directionLimit, record.directionLimit);
    KeepSmallestMagnitude(values.coordinateLimit, record.coordinateLimit);
    KeepSmallestMagnitude(values.heightLimit, record.heightLimit);
    return 1;
}

// A handbook that cannot be read, loaded or calculated is skipped; the later handbooks
// are still read, so the maxima cover every readable handbook.
bool ControlPointEvaluation::ReadCheckHandbooks(const ControlPointTable& table, ControlPointSiblings& siblings,
                                                Maxima& maxima)
{
    if (!siblings.IsDatabaseOpen(kProgHandbook681)) {
        Fail(kStatusHandbookDbClosed);
        return false;
    }
    for (const PartAddress part : table.handbooks) {
        CheckHandbook book;
        if (!siblings.ReadHandbook(part, book))
            continue;
        const std::unique_ptr<HandbookAverager> averager = siblings.CreateAverager(part);
        if (!averager || !LoadCheckHandbook(book, *averager) || averager->Calc() != 0)
            continue;
        if (!CompareWithMeasurements(part, book, *averager, siblings, maxima))
            return false;
    }
    return true;
}

bool ControlPointEvaluation::LoadCheckHandbook(const CheckHandbook& handbook, HandbookAverager& averager)
{
    if (handbook.header.pointNo == 0)
        return false;
    averager.SetHeadData(handbook.header);
    const auto& first = handbook.sets[0];
    if (first.empty())
        return false;
    for (const auto& row : first) {
        if (!row || row->pointNo == 0)
            return false;
    }
    const std::int32_t target = first.front()->pointNo;
    if (target == handbook.header.pointNo)
        return false;
    for (std::size_t set = 1; set < handbook.sets.size(); ++set) {
        int matches = 0;
        for (const auto& row : handbook.sets[set]) {
            if (!row || row->pointNo == 0)
                return false;
            if (row->pointNo == target)
                ++matches;
        }
        if (!handbook.sets[set].empty() && matches != 1)
            return false;
    }
    for (std::size_t set = 0; set < handbook.sets.size(); ++set) {
        for (const auto& row : handbook.sets[set])
            averager.SetData(static_cast<int>(set), *row, set <= 1);
    }
    return true;
}

bool ControlPointEvaluation::CompareWithMeasurements(PartAddress handbook, const CheckHandbook& book,
                                                     HandbookAverager& averager, ControlPointSiblings& siblings,
                                                     Maxima& maxima)
{
    const FieldBookRules& rules = averager.Rules();
    const TXYDA_Nt rounding(rules.distanceDecimals, rules.secondDecimals);
    std::vector<std::optional<MeasurementRecord>> records;
    const int count = averager.GetNumHeikin();
    for (int k = 1; k <= count; ++k) {
        AveragedObservation average;
        if (!averager.GetHeikin(k, average))
            continue;
        records.clear();
        if (!siblings.SearchMeasurements(book.header.pointNo, handbook, records))
            continue;
        for (const auto& record : records) {
            if (!record) {
                Fail(kStatusMeasurementUnreadable);
                return false;
            }
            if (record->pointNo != average.pointNo)
                continue;
            maxima.checkMatched = true;

            double distance = 0.0;
            if (!TXYDA_Nt::IsZeroDst(average.distance))
                distance = rounding.RndDst(rounding.RndDst(average.distance) - rounding.RndDst(record->distance));
            const double horizontal =
                DMS_ToSec(rounding.RndDms(SubDms(rounding.RndAz(average.directionDms), record->horizontalDms)));
            const double averagedVertical = DmstoRad(siblings.ConvertAveragedVertical(average.verticalDms));
            const double inRecordConvention = GetVerchi(record->verticalIsAltitude ? 0 : 1, averagedVertical);
            const double vertical =
                DMS_ToSec(rounding.RndDms(SubDms(rounding.RndAz(inRecordConvention), record->verticalDms)));

            if (!TXYDA_Nt::IsZeroDst(record->distance))
                KeepLargestMagnitude(maxima.distanceDiff, distance);
            KeepLargestMagnitude(maxima.horizontalDiff, horizontal);
            KeepLargestMagnitude(maxima.verticalDiff, vertical);
        }
    }
    return true;
}

bool ControlPointEvaluation::CheckRouteGrades(const ControlPointTable& table, ControlPointSiblings& siblings)
{
    if (table.checkCalcs.empty())
        return true;
    if (!(siblings.IsDatabaseOpen(kProgHorizontalRoute687) && siblings.IsDatabaseOpen(kProgHeightRoute684))) {
        Fail(kStatusDataUnavailable);
        return false;
    }
    for (std::size_t i = 0; i < table.checkCalcs.size(); ++i) {
        const CheckCalcRow& row = table.checkCalcs[i];
        const bool horizontalOk =
            row.horizontal == 0 || IsRouteOfGrade(kProgHorizontalRoute687, row.horizontal, siblings, table.grade) != 0;
        const bool heightOk =
            row.height == 0 || IsRouteOfGrade(kProgHeightRoute684, row.height, siblings, table.grade) != 0;
        if (horizontalOk && heightOk)
            continue;
        if (!horizontalOk)
            itemKind = heightOk ? "水平路線" : "水平路線・高低路線";
        else
            itemKind = "高低路線";
        itemIndex = static_cast<short>(i);
        Fail(kStatusCheckCalcWrongGrade);
        return false;
    }
    return true;
}

int ControlPointEvaluation::IsRouteOfGrade(int program, PartAddress part, ControlPointSiblings& siblings, short grade)
{
    if (part == 0)
        return 0;
    short partGrade = 0;
    return siblings.ReadPartGrade(program, part, partGrade) && partGrade == grade ? 1 : 0;
}

void ControlPointEvaluation::CollectRouteClosures(const ControlPointTable& table, ControlPointSiblings& siblings,
                                                  Closures& out)
{
    out = Closures{};
    for (const CheckCalcRow& row : table.checkCalcs) {
        RouteClosure closure;
        if (row.horizontal != 0 && IsRouteOfGrade(kProgHorizontalRoute687, row.horizontal, siblings, table.grade) &&
            siblings.GetRouteClosure(row.horizontal, closure)) {
            if (closure.routeKind == 1)
                KeepLargerMillimetres(out.traverseHorizontal, closure.horizontalClosure);
            else if (closure.routeKind == 2)
                KeepLargerMillimetres(out.polygonHorizontal, closure.horizontalClosure);
        }
        if (row.height != 0 && IsRouteOfGrade(kProgHeightRoute684, row.height, siblings, table.grade) &&
            siblings.GetRouteClosure(row.height, closure)) {
            KeepLargerMillimetres(out.forwardBack, closure.forwardBackDifference);
            if (closure.routeKind == 1)
                KeepLargerMillimetres(out.traverseHeight, closure.heightClosure);
            else if (closure.routeKind == 2)
                KeepLargerMillimetres(out.polygonHeight, closure.heightClosure);
        }
    }
}

void ControlPointEvaluation::BuildTexts(const ControlPointTable& table, const Maxima& maxima, bool found,
                                        ControlPointSiblings& siblings)
{
    const std::string gradeName = GradeName(table.grade);
    const bool strict = table.networkKind == 0;
    const bool adjusted = (table.networkKind == 1 || table.networkKind == 2) && found;

    std::string absoluteShort;
    std::string absoluteForm;
    if (strict) {
        const std::string h = Fixed(kHorizontalSdLimitCm, 0);
        const std::string v = Fixed(kHeightSdLimitCm, 0);
        absoluteShort = "（絶対）\r\n新点水平位置の標準偏差が" + h + "cm以内、新点標高の標準偏差が" + v + "cm以内";
        absoluteForm = gradeName + "\r\n新点水平位置の\r\n標準偏差が" + h + "cm以内、\r\n新点標高の\r\n標準偏差が" + v + "cm以内";
    } else if (adjusted) {
        const NetworkAccuracy& n = maxima.network;
        const std::string body = "簡易網平均計算の方向角の残差" + Fixed(n.directionLimit, 0) + "秒、座標の残差" +
                                 Fixed(n.coordinateLimit, 0) + "cm、標高の残差" + Fixed(n.heightLimit, 0) + "cm以内";
        absoluteShort = "（絶対）\r\n" + body;
        absoluteForm = gradeName + "\r\n" + body;
    }

    const GradeTolerances t = TolerancesOfGrade(table.grade);
    const std::string relativeBody = "の閉合差が水平" + Int(t.horizontalA) + "mm+" + Int(t.horizontalB) +
                                     "mm√NΣS以内、高さ" + Int(kHeightClosureConstantMm) + "mm+" + Int(t.heightC) +
                                     "mmΣS/√N以内、\r\n単位多角形の閉合差が水平" + Int(t.unitPolygonD) +
                                     "mm√NΣS以内、高さ" + Int(t.heightC) + "mmΣS/√N以内、標高差の正反較差が" +
                                     Int(t.forwardBackE) + "mm以内";
    const std::string relativeShort = "（相対）\r\n結合多角及び単路線" + relativeBody;
    const std::string relativeForm = gradeName + "\r\n結合多角・単路線" + relativeBody;

    if (!table.SwitchSet(kSwitchA)) {
        texts[kGradeName] = gradeName;
        texts[kAbsoluteShort] = absoluteShort;
        texts[kRelativeShort] = relativeShort;
    }
    if (!table.SwitchSet(kSwitchB))
        texts[kAbsoluteForm] = absoluteForm;

    if (!table.SwitchSet(kSwitchC)) {
        std::string result;
        if (strict && found) {
            if (IsSet(maxima.horizontalSd))
                result = JoinWithComma(result, "水平位置の標準偏差" +
                                                   Measured(plugcommon::ScaleByPowerOfTen(maxima.horizontalSd, 2), 1) + "cm");
            if (IsSet(maxima.heightSd))
                result = JoinWithComma(result, "標高の標準偏差" +
                                                   Measured(plugcommon::ScaleByPowerOfTen(maxima.heightSd, 2), 1) + "cm");
        } else if (adjusted) {
            const NetworkAccuracy& n = maxima.network;
            result = JoinWithComma(result, "方向角の残差" + Measured(n.directionResidual, 0) + "秒、座標の残差" +
                                               Measured(n.coordinateResidual, 1) + "cm、標高の残差" +
                                               Measured(n.heightResidual, 1) + "cm");
        }
        if (maxima.checkMatched && table.checkSurveyOutput == 1) {
            if (IsSet(maxima.horizontalDiff))
                result = JoinWithComma(result, "水平角の較差" + Measured(maxima.horizontalDiff, 0) + "″");
            if (IsSet(maxima.verticalDiff))
                result = JoinWithComma(result, "鉛直角の較差" + Measured(maxima.verticalDiff, 0) + "″");
            if (IsSet(maxima.distanceDiff))
                result = JoinWithComma(result, "距離の較差" +
                                                   Measured(plugcommon::ScaleByPowerOfTen(maxima.distanceDiff, 3), 0) + "㎜");
        }
        texts[kAbsoluteResult] = result;
    }

    if (!table.SwitchSet(kSwitchD))
        texts[kRelativeForm] = relativeForm;

    if (!table.SwitchSet(kSwitchE)) {
        Closures c;
        CollectRouteClosures(table, siblings, c);
        std::string result;
        const auto addPair = [&result](const char* title, double horizontal, double height) {
            if (!IsSet(horizontal) && !IsSet(height))
                return;
            result = JoinWithComma(result, title);
            if (IsSet(horizontal))
                result = JoinPlain(result, "水平" + Measured(horizontal, 0) + "mm");
            if (IsSet(height)) {
                const std::string piece = "標高" + Measured(height, 0) + "mm";
                result = IsSet(horizontal) ? JoinWithComma(result, piece) : JoinPlain(result, piece);
            }
        };
        addPair("結合多角の閉合差", c.traverseHorizontal, c.traverseHeight);
        addPair("単位多角形の閉合差", c.polygonHorizontal, c.polygonHeight);
        if (IsSet(c.forwardBack))
            result = JoinWithComma(result, "標高差の正反較差が" + Measured(c.forwardBack, 0) + "mm");
        texts[kRelativeResult] = result;
    }
}

} // namespace mod00519
