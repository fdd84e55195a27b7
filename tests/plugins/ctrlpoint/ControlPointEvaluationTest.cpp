#include <functional>
#include <gtest/gtest.h>

#include "plugins/ctrlpoint/ControlPointEvaluation.h"
#include "plugins/ctrlpoint/ControlPointStatus.h"
#include "FakeSiblings.h"

namespace mod00519::test {
namespace {

using Eval = ControlPointEvaluation;

// A strict grade-2 network 628 (part 100) and 631 (part 200) sharing point 2.
void StrictNetwork(ControlPointTable& t, FakeSiblings& s)
{
    t.grade = 2;
    t.networkKind = 0;
    t.strict628 = 100;
    t.strict631 = 200;
    s.AddPart(100, kProgStrict628, 2);
    s.AddPart(200, kProgStrict631, 2);
    s.strictPoints[100] = {1, 2};
    s.strictPoints[200] = {2, 9, 3};
    s.pointAccuracy[{100, 1}] = {0.005, 0.004};
    s.pointAccuracy[{100, 2}] = {0.010, 0.008};
    s.pointAccuracy[{200, 2}] = {0.050, 0.090};   // the shared point counts once, from 628
    s.pointAccuracy[{200, 3}] = {0.0123, 0.0125};  // point 9 has no accuracy and is skipped
}

// Handbook 300 at station 10 observing point 11 in sets 1r and 1l.
void Handbook(FakeSiblings& s, PartAddress part, std::int32_t station)
{
    s.AddPart(part, kProgHandbook681, 2);
    CheckHandbook book;
    book.header = {station, 1.5};
    book.sets[0] = {HandbookRow{11, 0.0, 90.0, 100.0, 1.5}};
    book.sets[1] = {HandbookRow{11, 180.0, 270.0, 100.0, 1.5}};
    s.handbooks[part] = book;
}

struct StatusCase {
    const char* name;
    std::function<void(ControlPointTable&, FakeSiblings&)> setup;
    short status;
    const char* message;
    friend void PrintTo(const StatusCase& c, std::ostream* os) { *os << c.name; }
};

class EvaluationStatusTest : public ::testing::TestWithParam<StatusCase> {};

TEST_P(EvaluationStatusTest, EndsWithStatusAndMessage)
{
    ControlPointTable table;
    FakeSiblings siblings;
    StrictNetwork(table, siblings);
    GetParam().setup(table, siblings);
    Eval e;
    e.Evaluate(table, siblings);
    EXPECT_EQ(e.status, GetParam().status);
    EXPECT_EQ(EvaluationStatusMessage(e.status, e.itemIndex, e.itemKind), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Cases, EvaluationStatusTest, ::testing::Values(
    StatusCase{"evaluated", [](auto&, auto&) {}, 0, "処理が正常に行われました。"},
    StatusCase{"strictNoParts", [](auto& t, auto&) { t.strict628 = t.strict631 = 0; }, 1,
               "等級区分が適合する厳密網が指示されていません。"},
    StatusCase{"strictNoPartsSwitchC", [](auto& t, auto&) { t.strict628 = t.strict631 = 0; t.switches[kSwitchC] = 1; },
               0, "処理が正常に行われました。"},
    StatusCase{"strictOtherGrade", [](auto& t, auto&) { t.grade = 3; }, 1,
               "等級区分が適合する厳密網が指示されていません。"},
    StatusCase{"strictDatabaseClosed", [](auto&, auto& s) { s.closed.insert(kProgStrict631); }, 9,
               "計算データの取得に失敗しました。"},
    StatusCase{"arbitraryNoPart", [](auto& t, auto&) { t.networkKind = 1; }, 2,
               "等級区分が適合する任意網が指示されていません。"},
    StatusCase{"arbitraryAllManual", [](auto& t, auto&) {
                   t.networkKind = 1; t.switches[kSwitchA] = t.switches[kSwitchB] = t.switches[kSwitchC] = 1; },
               0, "処理が正常に行われました。"},
    StatusCase{"arbitraryDatabaseClosed", [](auto& t, auto& s) {
                   t.networkKind = 1; t.arbitraryNetwork = 400; s.AddPart(400, kProgArbitrary622, 2);
                   s.closed.insert(kProgArbitrary622); },
               9, "計算データの取得に失敗しました。"},
    StatusCase{"singleRouteNoPart", [](auto& t, auto&) { t.networkKind = 2; }, 21,
               "等級区分が適合する単路線が指示されていません。"},
    StatusCase{"singleRouteOtherGrade", [](auto& t, auto& s) {
                   t.networkKind = 2; t.singleRoute = 500; s.AddPart(500, kProgSingleRoute625, 1);
                   s.networkAccuracy[500] = {}; },
               21, "等級区分が適合する単路線が指示されていません。"},
    StatusCase{"kindThree", [](auto& t, auto&) { t.networkKind = 3; }, 0, "処理が正常に行われました。"},
    StatusCase{"handbookDatabaseClosed", [](auto&, auto& s) { s.closed.insert(kProgHandbook681); }, 4,
               "基準点点検手簿のパートが開けません。"},
    StatusCase{"measurementUnreadable", [](auto& t, auto& s) {
                   Handbook(s, 300, 10); t.handbooks = {300};
                   s.averages[300] = {AveragedObservation{11, 100.0, 0.0, 0.0}};
                   s.measurements[10] = {std::nullopt}; },
               5, "基準点点検手簿のパートから取得できないデータがあります。"},
    StatusCase{"checkCalcBothOtherGrade", [](auto& t, auto& s) {
                   s.AddPart(600, kProgHorizontalRoute687, 2); s.AddPart(601, kProgHorizontalRoute687, 1);
                   s.AddPart(602, kProgHeightRoute684, 3);
                   t.checkCalcs = {{600, 0}, {601, 602}}; },
               6, "等級区分が適合しない点検計算パートが指示されています。\n項番[2][水平路線・高低路線]"},
    StatusCase{"checkCalcHeightOtherGrade", [](auto& t, auto& s) {
                   s.AddPart(602, kProgHeightRoute684, 3); t.checkCalcs = {{0, 602}}; },
               6, "等級区分が適合しない点検計算パートが指示されています。\n項番[1][高低路線]"},
    StatusCase{"checkCalcUnreadable", [](auto& t, auto&) { t.checkCalcs = {{777, 0}}; },
               6, "等級区分が適合しない点検計算パートが指示されています。\n項番[1][水平路線]"},
    StatusCase{"checkCalcDatabaseClosed", [](auto& t, auto& s) {
                   s.closed.insert(kProgHeightRoute684); t.checkCalcs = {{0, 0}}; },
               9, "計算データの取得に失敗しました。"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EvaluationTest, StrictNetworkCountsEachPointOnceAndReadsOnPastSkippedRows)
{
    ControlPointTable table;
    FakeSiblings siblings;
    StrictNetwork(table, siblings);
    Eval e;
    e.Evaluate(table, siblings);
    ASSERT_EQ(e.status, 0);
    // Point 3 comes after the shared point 2 and the point 9 without accuracy.
    EXPECT_EQ(e.texts[Eval::kAbsoluteResult], "水平位置の標準偏差1.2cm、標高の標準偏差1.3cm");
    EXPECT_EQ(e.texts[Eval::kGradeName], "（2級基準点）");
    EXPECT_EQ(e.texts[Eval::kAbsoluteShort],
              "（絶対）\r\n新点水平位置の標準偏差が10cm以内、新点標高の標準偏差が20cm以内");
    EXPECT_EQ(e.texts[Eval::kAbsoluteForm],
              "（2級基準点）\r\n新点水平位置の\r\n標準偏差が10cm以内、\r\n新点標高の\r\n標準偏差が20cm以内");
    EXPECT_EQ(e.texts[Eval::kRelativeShort],
              "（相対）\r\n結合多角及び単路線の閉合差が水平100mm+30mm√NΣS以内、高さ200mm+100mmΣS/√N以内、\r\n"
              "単位多角形の閉合差が水平15mm√NΣS以内、高さ100mmΣS/√N以内、標高差の正反較差が200mm以内");
    EXPECT_EQ(e.texts[Eval::kRelativeResult], "");
}

// Only grades 1 to 4 have tolerances and a name: any other grade fails the evaluation
// (the general failure text) instead of printing grade 1's tolerances under no name,
// even with every positional text typed by hand.
TEST(EvaluationTest, GradesOutsideOneToFourFailTheEvaluation)
{
    for (const short grade : {0, 5, 9, -1}) {
        ControlPointTable table;
        FakeSiblings siblings;
        table.grade = grade;
        table.switches[kSwitchC] = 1;
        Eval e;
        e.Evaluate(table, siblings);
        EXPECT_EQ(e.status, kStatusDataUnavailable) << grade;
        EXPECT_EQ(EvaluationStatusMessage(e.status, e.itemIndex, e.itemKind), "計算データの取得に失敗しました。");
        EXPECT_EQ(e.texts[Eval::kRelativeForm], "") << grade;
    }
}

TEST(EvaluationTest, NetworkKindThreeLeavesAbsoluteRequirementsEmpty)
{
    ControlPointTable table;
    FakeSiblings siblings;
    table.grade = 1;
    table.networkKind = 3;
    Eval e;
    e.Evaluate(table, siblings);
    EXPECT_EQ(e.status, 0);
    EXPECT_EQ(e.texts[Eval::kAbsoluteShort], "");
    EXPECT_EQ(e.texts[Eval::kAbsoluteForm], "");
}

TEST(EvaluationTest, ArbitraryNetworkTakesLargestResidualsAndStrictestLimits)
{
    ControlPointTable table;
    FakeSiblings siblings;
    table.grade = 1;
    table.networkKind = 1;
    table.arbitraryNetwork = 400;
    siblings.AddPart(400, kProgArbitrary622, 1);
    siblings.networkRows[400] = {401, 402, 403};
    siblings.networkAccuracy[401] = {-4.4, 1.24, 0.5, 20.0, 10.0, 12.0};
    siblings.networkAccuracy[402] = {3.0, -1.25, 2.05, 15.0, 12.0, 10.0};
    Eval e;
    e.Evaluate(table, siblings);
    ASSERT_EQ(e.status, 0);
    EXPECT_EQ(e.texts[Eval::kAbsoluteShort], "（絶対）\r\n簡易網平均計算の方向角の残差15秒、座標の残差10cm、標高の残差10cm以内");
    EXPECT_EQ(e.texts[Eval::kAbsoluteResult], "方向角の残差4秒、座標の残差1.3cm、標高の残差2.1cm");
}

class CheckSurveyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StrictNetwork(table, siblings);
        table.switches[kSwitchC] = 0;
        Handbook(siblings, 300, 10);
        Handbook(siblings, 301, 10);
        siblings.failingCalc.insert(300);   // the first handbook fails; the second is still read
        table.handbooks = {300, 301};
        // Averaged direction 359°59′59″ against a recorded 0°00′01″ is a 2″ difference.
        siblings.averages[301] = {AveragedObservation{11, 100.0036, 359.5959, 0.0}};
        siblings.measurements[10] = {MeasurementRecord{12, 50.0, 0.0, 0.0, true},
                                     MeasurementRecord{11, 100.0, 0.0001, 0.0, true}};
    }
    ControlPointTable table;
    FakeSiblings siblings;
};

TEST_F(CheckSurveyTest, DifferencesOnlyWithOutputSwitchExactlyOne)
{
    for (const short output : {0, 1, 2}) {
        table.checkSurveyOutput = output;
        Eval e;
        e.Evaluate(table, siblings);
        ASSERT_EQ(e.status, 0);
        const std::string strict = "水平位置の標準偏差1.2cm、標高の標準偏差1.3cm";
        if (output == 1)
            EXPECT_EQ(e.texts[Eval::kAbsoluteResult], strict + "、水平角の較差2″、鉛直角の較差0″、距離の較差4㎜");
        else
            EXPECT_EQ(e.texts[Eval::kAbsoluteResult], strict);
    }
}

TEST_F(CheckSurveyTest, ZeroRecordedDistanceLeavesDistanceOut)
{
    table.checkSurveyOutput = 1;
    siblings.measurements[10][1]->distance = 0.0;
    Eval e;
    e.Evaluate(table, siblings);
    EXPECT_EQ(e.texts[Eval::kAbsoluteResult],
              "水平位置の標準偏差1.2cm、標高の標準偏差1.3cm、水平角の較差2″、鉛直角の較差0″");
}

TEST_F(CheckSurveyTest, NoMatchedObservationPrintsNoDifferences)
{
    table.checkSurveyOutput = 1;
    siblings.measurements[10].pop_back();
    Eval e;
    e.Evaluate(table, siblings);
    EXPECT_EQ(e.texts[Eval::kAbsoluteResult], "水平位置の標準偏差1.2cm、標高の標準偏差1.3cm");
}

TEST(EvaluationTest, HandbookWithRepeatedTargetIsSkipped)
{
    FakeSiblings siblings;
    Handbook(siblings, 300, 10);
    CheckHandbook& book = siblings.handbooks[300];
    book.sets[2] = {HandbookRow{11, 1.0, 0, 0, 0}, HandbookRow{11, 2.0, 0, 0, 0}};
    ControlPointTable table;
    table.grade = 1;
    table.switches[kSwitchC] = 1;
    table.checkSurveyOutput = 1;
    table.handbooks = {300};
    siblings.averages[300] = {AveragedObservation{11, 1.0, 0.0, 0.0}};
    siblings.measurements[10] = {MeasurementRecord{11, 2.0, 0.0, 0.0, true}};
    Eval e;
    e.Evaluate(table, siblings);
    EXPECT_EQ(e.status, 0);
    EXPECT_EQ(e.texts[Eval::kAbsoluteResult], "");
}

TEST(EvaluationTest, ClosureTextJoinsTraversePolygonAndDifference)
{
    ControlPointTable table;
    FakeSiblings siblings;
    table.grade = 1;
    table.switches[kSwitchC] = 1;
    siblings.AddPart(600, kProgHorizontalRoute687, 1);
    siblings.AddPart(601, kProgHeightRoute684, 1);
    siblings.AddPart(602, kProgHorizontalRoute687, 1);
    siblings.AddPart(603, kProgHeightRoute684, 1);
    siblings.closures[600] = {1, -0.0123, 0, 0};
    siblings.closures[601] = {1, 0, -0.0076, -0.0029};
    siblings.closures[602] = {2, 0.0049, 0, 0};
    siblings.closures[603] = {2, 0, 0.0145, 0.0012};
    table.checkCalcs = {{600, 601}, {602, 603}};
    Eval e;
    e.Evaluate(table, siblings);
    ASSERT_EQ(e.status, 0);
    EXPECT_EQ(e.texts[Eval::kRelativeResult],
              "結合多角の閉合差水平12mm、標高8mm、単位多角形の閉合差水平5mm、標高15mm、標高差の正反較差が3mm");
}

TEST(EvaluationTest, OnlyHeightClosureFollowsTitleDirectly)
{
    ControlPointTable table;
    FakeSiblings siblings;
    table.grade = 1;
    table.switches[kSwitchC] = 1;
    siblings.AddPart(601, kProgHeightRoute684, 1);
    siblings.closures[601] = {1, 0, 0.0125, 0.0};
    table.checkCalcs = {{0, 601}};
    Eval e;
    e.Evaluate(table, siblings);
    EXPECT_EQ(e.texts[Eval::kRelativeResult], "結合多角の閉合差標高13mm、標高差の正反較差が0mm");
}

TEST(EvaluationTest, SwitchesStopTheirTexts)
{
    ControlPointTable table;
    FakeSiblings siblings;
    StrictNetwork(table, siblings);
    table.switches = {1, 1, 1, 1, 1};
    Eval e;
    e.Evaluate(table, siblings);
    ASSERT_EQ(e.status, 0);
    for (const auto& text : e.texts)
        EXPECT_EQ(text, "");
}

TEST(EvaluationTest, KeepLargerMillimetresIsDecimalSafe)
{
    double maximum = kUnset;
    KeepLargerMillimetres(maximum, 0.0145);
    EXPECT_EQ(maximum, 14.5);
    KeepLargerMillimetres(maximum, -0.0146);
    EXPECT_EQ(maximum, -14.6);
    KeepLargerMillimetres(maximum, 0.001);
    EXPECT_EQ(maximum, -14.6);
}

} // namespace
} // namespace mod00519::test
