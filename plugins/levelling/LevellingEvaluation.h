#pragma once

#include <array>
#include <string>
#include <vector>

#include "plugins/levelling/LevellingSiblings.h"
#include "plugins/levelling/LevellingTable.h"

class JSUIKOUSA;
class Tab00963Data;

namespace mod00963 {

// Marks a maximum for which no value was found; never printed.
inline constexpr double kUnset = 1e-16;

// The tolerances of a grade from the host's table; all 0 first, then entry g of each
// (grade 5 has no round-trip entry; a grade outside 1 … 5 keeps 0 for all four).
void GetLevellingTolerances(const JSUIKOUSA& table, short grade, short& knownPoint, short& loop,
                            double& roundTrip, short& standardDeviation);

// The evaluation of one levelling quality table: the sibling network adjustment,
// observation notes and check routes of the table's grade, their maxima, and the three
// texts of the positional accuracy element.
class LevellingEvaluation {
public:
    enum Text { kOverallRequirement = 0, kRelativeRequirement, kRelativeResult, kTextCount };

    // Runs the evaluation on the host's sibling databases.
    explicit LevellingEvaluation(const Tab00963Data& data);
    // Runs it on a table and sibling results already at hand.
    LevellingEvaluation(const LevellingTable& table, LevellingSiblings& siblings);

    short Status() const { return m_status; }
    const std::array<std::string, kTextCount>& Texts() const { return m_texts; }
    // The pieces of the relative result (round trip, loop, known point, network), each
    // without outer line breaks; the result text joins them with "\r\n".
    const std::vector<std::string>& ResultPieces() const { return m_resultPieces; }

    static bool IsPartOfGrade(PartAddress part, int program, short grade, LevellingSiblings& siblings);
    static bool IsCheckRouteOfGrade(PartAddress part, short grade, LevellingSiblings& siblings);
    static bool IsNetworkOfGrade(PartAddress part, short grade, LevellingSiblings& siblings);
    static void IsCheckRouteLoop(PartAddress part, bool& loop, LevellingSiblings& siblings);

    // Joins the non-empty pieces with the separator.
    static std::string JoinPieces(const std::vector<std::string>& pieces, const std::string& separator);

private:
    struct Maxima {
        double roundTrip = kUnset;
        double loop = kUnset;
        double knownPoint = kUnset;
        double standardDeviation = kUnset;
        bool hasRoundTrip = false;
        bool hasLoop = false;
        bool hasKnownPoint = false;
        bool hasStandardDeviation = false;
    };

    void Evaluate(const LevellingTable& table, LevellingSiblings& siblings);
    bool ReadNetwork(const LevellingTable& table, LevellingSiblings& siblings, Maxima& maxima);
    bool ReadNotes(const LevellingTable& table, LevellingSiblings& siblings, Maxima& maxima);
    bool ReadRoutes(const LevellingTable& table, LevellingSiblings& siblings, Maxima& maxima);
    void BuildTexts(const LevellingTable& table, const Maxima& maxima, int precisionCode,
                    const JSUIKOUSA& tolerances);

    std::array<std::string, kTextCount> m_texts;
    std::vector<std::string> m_resultPieces;
    short m_status = 0;
};

} // namespace mod00963
