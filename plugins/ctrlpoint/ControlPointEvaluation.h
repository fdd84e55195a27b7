#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "plugins/ctrlpoint/ControlPointSiblings.h"
#include "plugins/ctrlpoint/ControlPointTable.h"

namespace mod00519 {

// Marks a maximum or limit for which no value was found; never printed.
inline constexpr double kUnset = 1e-16;

// Relative-accuracy tolerances of a grade, millimetres.
struct GradeTolerances {
    int horizontalA;
    int horizontalB;
    int heightC;
    int unitPolygonD;
    int forwardBackE;
};
GradeTolerances TolerancesOfGrade(short grade);

// The evaluation of one control-point quality table: which sibling results belong to
// it, their maxima beside the grade's tolerances, and the seven texts of the table.
class ControlPointEvaluation {
public:
    enum Text { kGradeName = 0, kAbsoluteShort, kRelativeShort, kAbsoluteForm, kAbsoluteResult,
                kRelativeForm, kRelativeResult, kTextCount };

    void Evaluate(const ControlPointTable& table, ControlPointSiblings& siblings);

    std::array<std::string, kTextCount> texts;
    short status = 0;
    std::string itemKind;
    short itemIndex = -1;

private:
    struct Maxima {
        double horizontalSd = kUnset;
        double heightSd = kUnset;
        NetworkAccuracy network{kUnset, kUnset, kUnset, kUnset, kUnset, kUnset};
        double distanceDiff = kUnset;      // metres
        double horizontalDiff = kUnset;    // seconds
        double verticalDiff = kUnset;      // seconds
        bool checkMatched = false;
    };
    // Route closures in millimetres.
    struct Closures {
        double traverseHorizontal = kUnset;
        double traverseHeight = kUnset;
        double polygonHorizontal = kUnset;
        double polygonHeight = kUnset;
        double forwardBack = kUnset;
    };

    bool ReadNetwork(const ControlPointTable& table, ControlPointSiblings& siblings, Maxima& maxima, bool& found);
    int ReadStrictNetworkPart(short grade, int program, PartAddress part, ControlPointSiblings& siblings,
                              Maxima& maxima, std::vector<std::int32_t>& points);
    static int ReadAdjustmentAccuracy(PartAddress part, ControlPointSiblings& siblings, NetworkAccuracy& values);
    bool ReadCheckHandbooks(const ControlPointTable& table, ControlPointSiblings& siblings, Maxima& maxima);
    static bool LoadCheckHandbook(const CheckHandbook& handbook, HandbookAverager& averager);
    bool CompareWithMeasurements(PartAddress handbook, const CheckHandbook& book, HandbookAverager& averager,
                                 ControlPointSiblings& siblings, Maxima& maxima);
    bool CheckRouteGrades(const ControlPointTable& table, ControlPointSiblings& siblings);
    static int IsRouteOfGrade(int program, PartAddress part, ControlPointSiblings& siblings, short grade);
    static void CollectRouteClosures(const ControlPointTable& table, ControlPointSiblings& siblings, Closures& out);
    void BuildTexts(const ControlPointTable& table, const Maxima& maxima, bool found, ControlPointSiblings& siblings);

    void Fail(short code) { status = code; }
};

void KeepLargerMillimetres(double& maximum, double metres);
std::string JoinWithComma(const std::string& text, const std::string& piece);
std::string JoinPlain(const std::string& text, const std::string& piece);

} // namespace mod00519
