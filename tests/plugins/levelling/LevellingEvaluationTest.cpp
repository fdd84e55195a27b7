#include <gtest/gtest.h>

#include "plugins/levelling/LevellingEvaluation.h"
#include "plugins/levelling/LevellingStatus.h"
#include "tests/plugins/levelling/FakeLevellingSiblings.h"

namespace mod00963 {
namespace {

constexpr PartAddress kNetwork = 100;
constexpr PartAddress kNoteA = 200;
constexpr PartAddress kNoteB = 201;
constexpr PartAddress kLoop = 300;
constexpr PartAddress kKnownNegative = 301;
constexpr PartAddress kKnownPositive = 302;
constexpr PartAddress kRouteNetwork = 900;

// A survey of the given grade with every kind of sibling result.
struct Survey {
    explicit Survey(short grade)
    {
        table.readable = true;
        table.grade = grade;
        table.network = kNetwork;
        table.notes = {kNoteA, kNoteB};
        table.routes = {kLoop, kKnownNegative, kKnownPositive};
        siblings.networkGrades[kNetwork] = grade;
        siblings.deviations[kNetwork] = 1.234;
        siblings.roundTrips[kNoteA] = 2.4;
        siblings.roundTrips[kNoteB] = -3.6;
        siblings.routes[kLoop] = {kRouteNetwork, 7, 7};
        siblings.routes[kKnownNegative] = {kRouteNetwork, 7, 8};
        siblings.routes[kKnownPositive] = {kRouteNetwork, 8, 9};
        siblings.levellingNetworks[kRouteNetwork] = grade;
        siblings.closures[kLoop] = 3.0;
        siblings.closures[kKnownNegative] = -15.0;
        siblings.closures[kKnownPositive] = 3.0;
    }
    LevellingEvaluation Run() { return LevellingEvaluation(table, siblings); }

    LevellingTable table;
    FakeLevellingSiblings siblings;
};

const std::string kRequirement1 =
    "往復観測：較差2.5mm√S以内\r\n点検計算：環閉合差2mm√S以内、既知点から既知点までの閉合差15mm√S以内\r\n"
    "平均計算：標準偏差2mm以内";

TEST(LevellingEvaluationTest, GradeOneBuildsAllTexts)
{
    Survey s(1);
    const LevellingEvaluation e = s.Run();
    ASSERT_EQ(e.Status(), kStatusOk);
    EXPECT_EQ(e.Texts()[LevellingEvaluation::kOverallRequirement], kRequirement1);
    EXPECT_EQ(e.Texts()[LevellingEvaluation::kRelativeRequirement], kRequirement1);
    // -15 mm beside +3 mm keeps -15, printed as its magnitude; the pieces are joined
    // by one line break each, none empty.
    EXPECT_EQ(e.Texts()[LevellingEvaluation::kRelativeResult],
              "較差4mm\r\n環閉合差\r\n    3mm\r\n既知点間閉合差\r\n    15mm\r\n平均計算結果\r\n    1.23mm");
}

struct TextCase {
    short grade;
    int precision;
    const char* requirement;
    const char* result;
};

class LevellingTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(LevellingTextTest, TextsByGradeAndPrecision)
{
    Survey s(GetParam().grade);
    s.siblings.precision = GetParam().precision;
    const LevellingEvaluation e = s.Run();
    ASSERT_EQ(e.Status(), kStatusOk);
    EXPECT_EQ(e.Texts()[LevellingEvaluation::kOverallRequirement], GetParam().requirement);
    EXPECT_EQ(e.Texts()[LevellingEvaluation::kRelativeResult], GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Grades, LevellingTextTest, ::testing::Values(
    TextCase{1, 4, "往復観測：較差2.5mm√S以内\r\n点検計算：環閉合差2mm√S以内、既知点から既知点までの閉合差15mm√S以内\r\n"
                   "平均計算：標準偏差2mm以内",
             "較差3.6mm\r\n環閉合差\r\n    3.0mm\r\n既知点間閉合差\r\n    15.0mm\r\n平均計算結果\r\n    1.23mm"},
    TextCase{2, 0, "往復観測：較差5mm√S以内\r\n点検計算：環閉合差5mm√S以内、既知点から既知点までの閉合差15mm√S以内\r\n"
                   "平均計算：標準偏差5mm以内",
             "較差4mm\r\n環閉合差\r\n    3mm\r\n既知点間閉合差\r\n    15mm\r\n平均計算結果\r\n    1.23mm"},
    TextCase{2, 4, "往復観測：較差5mm√S以内\r\n点検計算：環閉合差5mm√S以内、既知点から既知点までの閉合差15mm√S以内\r\n"
                   "平均計算：標準偏差5mm以内",
             "較差3.6mm\r\n環閉合差\r\n    3.0mm\r\n既知点間閉合差\r\n    15.0mm\r\n平均計算結果\r\n    1.23mm"},
    // Grade 5: no round trip; the loop piece is on its own line like every other.
    TextCase{5, 0, "点検計算：環閉合差40mm√S以内、既知点から既知点までの閉合差50mm√S以内\r\n平均計算：標準偏差40mm以内",
             "環閉合差\r\n    3mm\r\n既知点間閉合差\r\n    15mm\r\n平均計算結果\r\n    1.23mm"}));

struct PieceCase {
    const char* name;
    bool loop;
    bool known;
    bool network;
    const char* result;
};

class LevellingPieceTest : public ::testing::TestWithParam<PieceCase> {};

// Whatever pieces stand, they are joined by exactly one break: no blank line, no
// leading or trailing break.
TEST_P(LevellingPieceTest, PiecesJoinWithoutBlankLines)
{
    Survey s(2);
    s.table.notes.clear();
    s.table.switches[LevellingTable::kRelativeResult] = 0;
    if (!GetParam().loop)
        s.siblings.closures.erase(kLoop);
    if (!GetParam().known) {
        s.siblings.closures.erase(kKnownNegative);
        s.siblings.closures.erase(kKnownPositive);
    }
    if (!GetParam().network)
        s.siblings.deviations.erase(kNetwork);
    const LevellingEvaluation e = s.Run();
    ASSERT_EQ(e.Status(), kStatusOk);
    EXPECT_EQ(e.Texts()[LevellingEvaluation::kRelativeResult], GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Pieces, LevellingPieceTest, ::testing::Values(
    PieceCase{"LoopBeforeNetwork", true, false, true, "環閉合差\r\n    3mm\r\n平均計算結果\r\n    1.23mm"},
    PieceCase{"LoopOnly", true, false, false, "環閉合差\r\n    3mm"},
    PieceCase{"KnownAndNetwork", false, true, true, "既知点間閉合差\r\n    15mm\r\n平均計算結果\r\n    1.23mm"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LevellingEvaluationTest, LoneNetworkPieceHasNoLeadingBreak)
{
    Survey s(3);
    s.table.notes.clear();
    s.table.routes.clear();
    const LevellingEvaluation e = s.Run();
    ASSERT_EQ(e.Status(), kStatusOk);
    EXPECT_EQ(e.Texts()[LevellingEvaluation::kRelativeResult], "平均計算結果\r\n    1.23mm");
}

TEST(LevellingEvaluationTest, StandardDeviationKeepsItsSign)
{
    Survey s(1);
    s.siblings.deviations[kNetwork] = -0.456;
    const LevellingEvaluation e = s.Run();
    ASSERT_EQ(e.Status(), kStatusOk);
    EXPECT_NE(e.Texts()[LevellingEvaluation::kRelativeResult].find("平均計算結果\r\n    -0.46mm"), std::string::npos);
}

struct StatusCase {
    const char* name;
    void (*change)(Survey&);
    short status;
};

class LevellingStatusTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(LevellingStatusTest, StopsWithStatusAndNoTexts)
{
    Survey s(2);
    GetParam().change(s);
    const LevellingEvaluation e = s.Run();
    EXPECT_EQ(e.Status(), GetParam().status);
    for (const std::string& text : e.Texts())
        EXPECT_EQ(text, "");
}

INSTANTIATE_TEST_SUITE_P(Statuses, LevellingStatusTest, ::testing::Values(
    StatusCase{"NoNetworkWithNotesAndRoutes", [](Survey& s) { s.table.network = 0; }, kStatusNoNetwork},
    StatusCase{"NetworkOfOtherGrade", [](Survey& s) { s.siblings.networkGrades[kNetwork] = 1; }, kStatusNoNetwork},
    StatusCase{"UnreadableNetwork", [](Survey& s) { s.siblings.networkGrades.clear(); }, kStatusNoNetwork},
    StatusCase{"NoNoteComputes", [](Survey& s) { s.siblings.roundTrips.clear(); }, kStatusNoNote},
    StatusCase{"NoRouteOfGrade", [](Survey& s) { s.siblings.levellingNetworks[kRouteNetwork] = 4; }, kStatusNoRoute},
    StatusCase{"RouteNetworkMissing", [](Survey& s) { s.siblings.levellingNetworks.clear(); }, kStatusNoRoute},
    StatusCase{"RoutesWithoutClosure", [](Survey& s) { s.siblings.closures.clear(); }, kStatusNoRoute},
    StatusCase{"SentinelClosures", [](Survey& s) { for (auto& c : s.siblings.closures) c.second = kUnset; },
               kStatusNoRoute},
    StatusCase{"DatabasesNotOpen", [](Survey& s) { s.siblings.open = false; }, kStatusDataFailure},
    StatusCase{"TableUnreadable", [](Survey& s) { s.table.readable = false; }, kStatusDataFailure}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LevellingEvaluationTest, EmptyListsNeverGiveTheirStatus)
{
    Survey s(2);
    s.table.notes.clear();
    s.table.routes.clear();
    s.siblings.roundTrips.clear();
    s.siblings.closures.clear();
    EXPECT_EQ(s.Run().Status(), kStatusOk);
}

TEST(LevellingEvaluationTest, GradeFiveSkipsNotes)
{
    Survey s(5);
    s.siblings.roundTrips.clear();
    EXPECT_EQ(s.Run().Status(), kStatusOk);
}

TEST(LevellingEvaluationTest, ManualResultRunsToTheEnd)
{
    Survey s(2);
    s.table.network = 0;
    s.siblings.roundTrips.clear();
    s.siblings.closures.clear();
    s.table.switches = {0, 1, 1};
    const LevellingEvaluation e = s.Run();
    EXPECT_EQ(e.Status(), kStatusOk);
    EXPECT_NE(e.Texts()[LevellingEvaluation::kOverallRequirement], "");
    EXPECT_EQ(e.Texts()[LevellingEvaluation::kRelativeRequirement], "");
    EXPECT_EQ(e.Texts()[LevellingEvaluation::kRelativeResult], "");
}

// A grade outside 1 … 5 has no tolerances: the requirement prints zeros, nothing fails.
// The tolerance table has rows for grades 1 to 5 only: another grade would print
// tolerances of 0 mm as if they were the grade's, so the evaluation fails instead.
TEST(LevellingEvaluationTest, GradeOutsideRangeFailsInsteadOfPrintingZeroTolerances)
{
    for (const short grade : {short{7}, short{0}, short{-1}, short{9}}) {
        Survey s(grade);
        const LevellingEvaluation e = s.Run();
        EXPECT_EQ(e.Status(), kStatusDataFailure) << grade;
        EXPECT_EQ(e.Texts()[LevellingEvaluation::kOverallRequirement], "") << grade;
    }
}

TEST(LevellingEvaluationTest, TolerancesByGrade)
{
    const JSUIKOUSA table;
    struct Row { short grade; short known; short loop; double roundTrip; short sd; };
    for (const Row& r : {Row{1, 15, 2, 2.5, 2}, Row{4, 25, 20, 20.0, 20}, Row{5, 50, 40, 0.0, 40},
                         Row{0, 0, 0, 0.0, 0}, Row{6, 0, 0, 0.0, 0}}) {
        short known = -1, loop = -1, sd = -1;
        double roundTrip = -1.0;
        GetLevellingTolerances(table, r.grade, known, loop, roundTrip, sd);
        EXPECT_EQ(known, r.known) << r.grade;
        EXPECT_EQ(loop, r.loop) << r.grade;
        EXPECT_EQ(roundTrip, r.roundTrip) << r.grade;
        EXPECT_EQ(sd, r.sd) << r.grade;
    }
}

TEST(LevellingEvaluationTest, StatusMessages)
{
    EXPECT_EQ(EvaluationStatusMessage(kStatusNoNetwork), "等級区分が適合する水準網が指示されていません。");
    EXPECT_EQ(EvaluationStatusMessage(kStatusDataFailure), "計算データの取得に失敗しました。");
    EXPECT_EQ(EvaluationStatusMessage(kStatusOk), "");
}

} // namespace
} // namespace mod00963
