#include "plugins/levelling/LevellingEvaluation.h"

#include <cmath>

#include "hostfw/levelling/JSUIKOUSA.h"
#include "platform/Numbers.h"
#include "plugins/common/PrintedValue.h"
#include "plugins/levelling/HostLevellingSiblings.h"
#include "plugins/levelling/LevellingStatus.h"

namespace mod00963 {

namespace {

constexpr short kGradeSimple = 5;
constexpr int kPrecisionOneDecimal = 4;

// Keeps the value of larger magnitude; the kept value keeps its sign.
void KeepLarger(double& maximum, double value)
{
    if (maximum == kUnset || std::fabs(value) > std::fabs(maximum))
        maximum = value;
}

double RoundHalfUp(double v, int decimals)
{
    return tessara::RoundDecimal(v, decimals, tessara::RoundMode::HalfUp);
}

} // namespace

void GetLevellingTolerances(const JSUIKOUSA& table, short grade, short& knownPoint, short& loop, double& roundTrip,
                            short& standardDeviation)
{
    knownPoint = 0;
    loop = 0;
    roundTrip = 0.0;
    standardDeviation = 0;
    if (grade < 1 || grade > 5)
        return;
    const std::size_t g = static_cast<std::size_t>(grade - 1);
    knownPoint = table.known[g];
    loop = table.loop[g];
    standardDeviation = table.standardDeviation[g];
    if (g < table.roundTrip.size())
        roundTrip = table.roundTrip[g];
}

LevellingEvaluation::LevellingEvaluation(const Tab00963Data& data)
{
    HostLevellingSiblings siblings;
    Evaluate(LevellingTable::Read(data), siblings);
}

LevellingEvaluation::LevellingEvaluation(const LevellingTable& table, LevellingSiblings& siblings)
{
    Evaluate(table, siblings);
}

bool LevellingEvaluation::IsPartOfGrade(PartAddress part, int program, short grade, LevellingSiblings& siblings)
{
    switch (program) {
    case kProgCheckRoute935: return IsCheckRouteOfGrade(part, grade, siblings);
    case kProgNetworkAdjustment938: return IsNetworkOfGrade(part, grade, siblings);
    default: return true;
    }
}

bool LevellingEvaluation::IsCheckRouteOfGrade(PartAddress part, short grade, LevellingSiblings& siblings)
{
    const std::optional<CheckRoute> route = siblings.ReadCheckRoute(part);
    if (!route)
        return false;
    const std::optional<short> networkGrade = siblings.LevellingNetworkGrade(route->networkPart);
    return networkGrade && *networkGrade == grade;
}

bool LevellingEvaluation::IsNetworkOfGrade(PartAddress part, short grade, LevellingSiblings& siblings)
{
    const std::optional<short> networkGrade = siblings.NetworkAdjustmentGrade(part);
    return networkGrade && *networkGrade == grade;
}

void LevellingEvaluation::IsCheckRouteLoop(PartAddress part, bool& loop, LevellingSiblings& siblings)
{
    loop = false;
    if (const std::optional<CheckRoute> route = siblings.ReadCheckRoute(part))
        loop = route->startPoint == route->endPoint;
}

std::string LevellingEvaluation::JoinPieces(const std::vector<std::string>& pieces, const std::string& separator)
{
    std::string text;
    for (const std::string& piece : pieces) {
        if (piece.empty())
            continue;
        if (!text.empty())
            text += separator;
        text += piece;
    }
    return text;
}

void LevellingEvaluation::Evaluate(const LevellingTable& table, LevellingSiblings& siblings)
{
    m_texts = {};
    m_resultPieces.clear();
    m_status = kStatusOk;
    // A table or sibling store that cannot be read says nothing about the grade: it
    // is a failure of its own, not "no part of the grade".
    if (!table.readable || !siblings.IsOpen()) {
        m_status = kStatusDataFailure;
        return;
    }
    // The tolerance table knows grades 1 to 5 only: any other grade would print
    // tolerances of 0 mm as if they were the grade's.
    if (table.grade < 1 || table.grade > kGradeSimple) {
        m_status = kStatusDataFailure;
        return;
    }
    Maxima maxima;
    if (!ReadNetwork(table, siblings, maxima) || !ReadNotes(table, siblings, maxima) ||
        !ReadRoutes(table, siblings, maxima))
        return;
    BuildTexts(table, maxima, siblings.PrecisionCode(), siblings.Tolerances());
}

bool LevellingEvaluation::ReadNetwork(const LevellingTable& table, LevellingSiblings& siblings, Maxima& maxima)
{
    const bool manualResult = table.IsManual(LevellingTable::kRelativeResult);
    if (table.network == 0 && !manualResult) {
        m_status = kStatusNoNetwork;
        return false;
    }
    bool present = false;
    if (table.network != 0 && IsPartOfGrade(table.network, kProgNetworkAdjustment938, table.grade, siblings)) {
        present = true;
        const std::optional<double> sd = siblings.StandardDeviation(table.network);
        if (sd && *sd != kUnset) {
            const double rounded = RoundHalfUp(*sd, 2);
            maxima.hasStandardDeviation = true;
            if (maxima.standardDeviation == kUnset || rounded > maxima.standardDeviation)
                maxima.standardDeviation = rounded;
        }
    }
    if (!present && !manualResult) {
        m_status = kStatusNoNetwork;
        return false;
    }
    return true;
}

bool LevellingEvaluation::ReadNotes(const LevellingTable& table, LevellingSiblings& siblings, Maxima& maxima)
{
    if (table.notes.empty() || table.grade == kGradeSimple)
        return true;
    for (const PartAddress note : table.notes) {
        if (siblings.CalcObservationNote(note, table.grade, maxima.roundTrip) != 0)
            maxima.hasRoundTrip = true;
    }
    if (!maxima.hasRoundTrip && !table.IsManual(LevellingTable::kRelativeResult)) {
        m_status = kStatusNoNote;
        return false;
    }
    return true;
}

bool LevellingEvaluation::ReadRoutes(const LevellingTable& table, LevellingSiblings& siblings, Maxima& maxima)
{
    if (table.routes.empty())
        return true;
    for (const PartAddress route : table.routes) {
        if (!IsPartOfGrade(route, kProgCheckRoute935, table.grade, siblings))
            continue;
        bool loop = false;
        IsCheckRouteLoop(route, loop, siblings);
        const std::optional<double> closure = siblings.Closure(route);
        if (!closure || *closure == kUnset)
            continue;
        if (loop) {
            maxima.hasLoop = true;
            KeepLarger(maxima.loop, *closure);
        } else {
            maxima.hasKnownPoint = true;
            KeepLarger(maxima.knownPoint, *closure);
        }
    }
    if (!maxima.hasLoop && !maxima.hasKnownPoint && !table.IsManual(LevellingTable::kRelativeResult)) {
        m_status = kStatusNoRoute;
        return false;
    }
    return true;
}

void LevellingEvaluation::BuildTexts(const LevellingTable& table, const Maxima& maxima, int precisionCode,
                                     const JSUIKOUSA& tolerances)
{
    using plugcommon::FormatMeasured;
    using plugcommon::FormatRoundedValue;
    const bool simple = table.grade == kGradeSimple;
    const int d = precisionCode == kPrecisionOneDecimal ? 1 : 0;

    short knownPoint = 0, loop = 0, standardDeviation = 0;
    double roundTrip = 0.0;
    GetLevellingTolerances(tolerances, table.grade, knownPoint, loop, roundTrip, standardDeviation);

    std::vector<std::string> requirement;
    if (!simple)
        requirement.push_back("往復観測：較差" + FormatRoundedValue(roundTrip, table.grade == 1 ? 1 : 0) + "mm√S以内");
    requirement.push_back("点検計算：環閉合差" + FormatRoundedValue(loop, 0) + "mm√S以内、既知点から既知点までの閉合差" +
                          FormatRoundedValue(knownPoint, 0) + "mm√S以内");
    requirement.push_back("平均計算：標準偏差" + FormatRoundedValue(standardDeviation, 0) + "mm以内");
    const std::string requirementText = JoinPieces(requirement, "\r\n");
    if (!table.IsManual(LevellingTable::kOverallRequirement))
        m_texts[kOverallRequirement] = requirementText;
    if (!table.IsManual(LevellingTable::kRelativeRequirement))
        m_texts[kRelativeRequirement] = requirementText;
    if (table.IsManual(LevellingTable::kRelativeResult))
        return;

    if (!simple && maxima.hasRoundTrip)
        m_resultPieces.push_back("較差" + FormatMeasured(maxima.roundTrip, d) + "mm");
    if (maxima.hasLoop)
        m_resultPieces.push_back("環閉合差\r\n    " + FormatMeasured(maxima.loop, d) + "mm");
    if (maxima.hasKnownPoint)
        m_resultPieces.push_back("既知点間閉合差\r\n    " + FormatMeasured(maxima.knownPoint, d) + "mm");
    if (maxima.hasStandardDeviation)
        m_resultPieces.push_back("平均計算結果\r\n    " + FormatRoundedValue(maxima.standardDeviation, 2) + "mm");
    m_texts[kRelativeResult] = JoinPieces(m_resultPieces, "\r\n");
}

} // namespace mod00963
