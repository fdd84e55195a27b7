#include "GnssSeed.h"

#include "plugins/gnss/Cal.h"
#include "plugins/gnss/GnssEvaluation.h"
#include "plugins/gnss/GnssResultMessages.h"
#include "plugins/gnss/Kjn_Send.h"
#include "plugins/gnss/Mod04827.h"

#include "hostfw/CTab04827DB.h"
#include "hostfw/CVPartDocument.h"
#include "hostfw/CmdMsgBox.h"
#include "hostfw/FileChooser.h"
#include "hostfw/HostMessages.h"
#include "hostfw/Tab04827Data.h"

#include <gtest/gtest.h>

namespace mod04827 {
namespace {

using test::GnssSeed;
using test::Row;
using test::Rows;

Tab04827Data LoadPart(PartSystem* system, DWORD address = 1)
{
    Tab04827Data data;
    CTab04827DB db(system);
    EXPECT_TRUE(db.Get(address, data, 0));
    return data;
}

// A control-point survey: rings, duplicates, a traverse, new points of kinds 2 and 3.
GnssSeed ControlSurvey()
{
    GnssSeed s;
    s.Part(4735, 10, QJsonObject{{"F", Rows({Row({1})})}});
    s.Answers(10, Rows({Row({0.0123, -0.0154, 0.004}), Row({0.002, 0.001, -0.0145}), Row({1e-16, 0.9, 0.9})}));
    s.Part(4741, 11, QJsonObject{{"F", Rows({Row({1})})}});
    s.Answers(11, Rows({Row({0.0125, 0.003, 0.0025})}));
    s.Part(4735, 14, QJsonObject{{"F", Rows({Row({2})})}});   // another work
    s.Answers(14, Rows({Row({0.5, 0.5, 0.5})}));
    s.Part(4790, 13, QJsonObject{{"F", Rows({Row({1})})}, {"R", Rows({Row({"K1", 1}), Row({"K2", 1}), Row({"P1", 2})})}});
    s.Part(4712, 20, QJsonObject{{"F", Rows({Row({1, "K1", 4})})}});
    s.Part(4712, 21, QJsonObject{{"F", Rows({Row({1, "K2", 4})})}});
    s.Part(4718, 30, QJsonObject{{"F", Rows({Row({1, "K1", 2, 40.1234})})}});
    s.Part(4718, 31, QJsonObject{{"F", Rows({Row({1, "K2", 2, 45.5})})}});
    s.Condition("GnssNetwork0", 1,
                QJsonObject{{"points", Rows({})}, {"baselines", Rows({})}});
    QJsonArray points;
    points.append(QJsonObject{{"name", "K1"}, {"kind", 1}, {"sN", 0.5}, {"sE", 0.5}, {"sU", 0.5}});
    points.append(QJsonObject{{"name", "P10"}, {"kind", 0}, {"sN", 0.006}, {"sE", 0.008}, {"sU", 0.0105}});
    points.append(QJsonObject{{"name", "P2"}, {"kind", 2}, {"sN", 0.3}, {"sE", 0.3}, {"sU", 0.0111}});
    points.append(QJsonObject{{"name", "P3"}, {"kind", 3}, {"sN", 0.0125}, {"sE", 0.0}, {"sU", 0.9}});
    s.Condition("GnssNetwork0", 1, QJsonObject{{"points", points}, {"baselines", QJsonArray{}}});
    return s;
}

TEST(GnssEvaluation, ControlSurveyWithoutTraverses)
{
    std::string error;
    PartSystem* system = ControlSurvey().Apply(error);
    ASSERT_TRUE(system) << error;
    const Tab04827Data data = LoadPart(system);
    const GnssEvaluation e(data, system);
    ASSERT_EQ(e.ResultCode(), kResultOk);
    EXPECT_EQ(e.Texts().requirements.size(), 3u);
    EXPECT_EQ(e.Texts().relativeRequirements.size(), 2u);
    EXPECT_EQ(e.Texts().absoluteResult, "水平位置の標準偏差1.3cm、\r\n標高の標準偏差1.1cm");
    ASSERT_EQ(e.Texts().relativeResults.size(), 2u);
    EXPECT_EQ(e.Texts().relativeResults[0], "基線ベクトルの環閉合差水平15mm、高さ15mm");
    EXPECT_EQ(e.Texts().relativeResults[1], "重複する基線ベクトルの較差水平13mm、高さ3mm");
}

TEST(GnssEvaluation, TraversesApplyWhenTheGivenPointsAreTraversePoints)
{
    GnssSeed s = ControlSurvey();
    s.Part(4718, 30, QJsonObject{{"F", Rows({Row({1, "K1", 1, 40.1234})})}});
    s.Part(4718, 31, QJsonObject{{"F", Rows({Row({1, "K2", 1, 45.5})})}});
    s.Part(4744, 12, QJsonObject{{"F", Rows({Row({1})})}});
    s.Answers(12, Rows({Row({0.004, 0.0035, 0.0205})}));
    std::string error;
    PartSystem* system = s.Apply(error);
    ASSERT_TRUE(system) << error;
    const GnssEvaluation e(LoadPart(system), system);
    ASSERT_EQ(e.ResultCode(), kResultOk);
    EXPECT_EQ(e.Texts().requirements.size(), 4u);
    ASSERT_EQ(e.Texts().relativeResults.size(), 3u);
    EXPECT_EQ(e.Texts().relativeResults[2], "結合多角の閉合差水平4mm、高さ21mm");
}

struct KindCase {
    const char* name;
    int surveyKind;
    const char* condition;     // condition making the work levelling/elevation, or ""
    QJsonObject value;
    bool fits;
    const char* surveyKindName;
};
class SurveyKindAgainstWork : public ::testing::TestWithParam<KindCase> {};

TEST_P(SurveyKindAgainstWork, MismatchIsCodeSevenWithBothNames)
{
    GnssSeed s = ControlSurvey();
    s.SurveyPart(GetParam().surveyKind, {0, 0, 0, 0, 0});
    if (*GetParam().condition) s.Condition(GetParam().condition, 1, GetParam().value);
    std::string error;
    PartSystem* system = s.Apply(error);
    ASSERT_TRUE(system) << error;
    const GnssEvaluation e(LoadPart(system), system);
    if (GetParam().fits) {
        EXPECT_NE(e.ResultCode(), kResultKindMismatch);
        return;
    }
    EXPECT_EQ(e.ResultCode(), kResultKindMismatch);
    EXPECT_EQ(e.WorkKindName(), "基準点測量");
    EXPECT_EQ(e.SurveyKindName(), GetParam().surveyKindName);
    EXPECT_EQ(ResultMessage(e.ResultCode(), e.WorkKindName(), e.SurveyKindName()),
              std::string("作業管理:作業区分と測量区分が一致しない為、計算できませんでした。\n作業区分[基準点測量] 測量区分[") +
                  GetParam().surveyKindName + "]");
}
INSTANTIATE_TEST_SUITE_P(Cases, SurveyKindAgainstWork, ::testing::Values(
    KindCase{"control_fits", 0, "", {}, true, ""},
    KindCase{"kind4_is_control", 4, "", {}, true, ""},
    KindCase{"levelling_part_on_control_work", 1, "", {}, false, "水準測量"},
    KindCase{"elevation3_part_on_control_work", 2, "", {}, false, "標高測量(３級)"},
    KindCase{"control_part_on_levelling_work", 0, "JGpsSuiVur", QJsonObject{{"use", 1}}, false, "基準点測量"},
    KindCase{"elevation4_part_on_elevation3_work", 3, "JGpsHyoVur", QJsonObject{{"use3", 1}}, false,
             "標高測量(４級)"},
    KindCase{"elevation4_fits", 3, "JGpsHyoVur", QJsonObject{{"use4", 1}}, true, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GnssEvaluation, WorkWithoutTableEntryIsAGeneralFailure)
{
    GnssSeed s = ControlSurvey();
    s.SurveyPart(0, {0, 0, 0, 0, 0}, 7);
    std::string error;
    PartSystem* system = s.Apply(error);
    ASSERT_TRUE(system) << error;
    const GnssEvaluation e(LoadPart(system), system);
    EXPECT_EQ(e.ResultCode(), kResultGeneralFailure);
    EXPECT_EQ(ResultMessage(e.ResultCode(), "", ""), "計算データの取得に失敗しました。");
}

TEST(GnssEvaluation, WorkKindBeyondTheListGivesAnEmptyName)
{
    GnssSeed s = ControlSurvey();
    s.SetWork(1, 250);
    s.SurveyPart(1, {0, 0, 0, 0, 0});
    std::string error;
    PartSystem* system = s.Apply(error);
    ASSERT_TRUE(system) << error;
    const GnssEvaluation e(LoadPart(system), system);
    EXPECT_EQ(e.ResultCode(), kResultKindMismatch);
    EXPECT_EQ(e.WorkKindName(), "");
}

TEST(GnssEvaluation, EverySwitchManualGivesEmptyTextsAndCodeZero)
{
    GnssSeed s = ControlSurvey();
    s.SurveyPart(0, {1, 1, 1, 1, 1});
    std::string error;
    PartSystem* system = s.Apply(error);
    ASSERT_TRUE(system) << error;
    const GnssEvaluation e(LoadPart(system), system);
    EXPECT_EQ(e.ResultCode(), kResultOk);
    EXPECT_TRUE(e.Texts().requirements.empty());
    EXPECT_TRUE(e.Texts().absoluteRequirement.empty());
    EXPECT_TRUE(e.Texts().absoluteResult.empty());
    EXPECT_TRUE(e.Texts().relativeRequirements.empty());
    EXPECT_TRUE(e.Texts().relativeResults.empty());
}

// A levelling survey: halves, a known-point check file, an assumed network.
GnssSeed LevellingSurvey()
{
    GnssSeed s = ControlSurvey();
    s.SetWork(1, 1);
    s.SurveyPart(1, {0, 0, 0, 0, 0});
    s.Condition("JGpsSuiVur", 1, QJsonObject{{"use", 1}, {"a", 20}, {"b", 30}, {"c", 15}, {"d", 10}, {"e", 25}, {"f", 20}});
    s.Part(4744, 12, QJsonObject{{"F", Rows({Row({1})})},
                                 {"R", Rows({Row({1, "K1", "P1", 2.5}), Row({1, "K2", "P1", -2.8771})})}});
    s.Part(4744, 15, QJsonObject{{"F", Rows({Row({1})})}, {"R", Rows({Row({1, "K1", "P1", 2.5})})}});
    QJsonArray baselines;
    const auto half = [&](int cls, const char* from, const char* to, double z) {
        baselines.append(QJsonObject{{"class", cls}, {"half", 0}, {"types", Row({1, 1})}, {"from", from}, {"to", to},
                                     {"vector", Row({z, 0.0, 0.0})}, {"position", Row({6378137.0, 0.0, 0.0})}});
    };
    half(5, "K1", "P1", 100.0);
    half(4, "K1", "P1", 100.0145);
    s.Condition("GnssRecords", 1, QJsonObject{{"baselines", baselines}});
    QJsonArray points1;
    points1.append(QJsonObject{{"name", "K1"}, {"kind", 1}, {"height", 40.1234}});
    points1.append(QJsonObject{{"name", "K2"}, {"kind", 0}, {"height", 45.5022}});
    QJsonArray base1;
    base1.append(QJsonObject{{"from", "K1"}, {"to", "K2"}, {"residuals", Row({0.0012, -0.0025, 0.001})}});
    s.Condition("GnssNetwork1", 1, QJsonObject{{"points", points1}, {"baselines", base1}});
    QJsonArray base0;
    base0.append(QJsonObject{{"from", "K1"}, {"to", "K2"}, {"components", Row({3.0, 4.0, 0.0})},
                             {"corrections", Row({0.0, 0.0, 0.0})}, {"distance", 4.9985}});
    s.Condition("GnssNetwork0", 1, QJsonObject{{"points", QJsonArray{}}, {"baselines", base0}});
    s.AddFile("binder-conditions", "KZDTCHK1.DAT",
              {test::KzdtLine("K1", "40.1234"), test::KzdtLine("K2", "45.5000")});
    s.AddFile("binder-conditions", "SHENCHK1.DAT", {test::ShenLine("K1", 1), test::ShenLine("K2", 1)});
    return s;
}

TEST(GnssEvaluation, LevellingSurveyTexts)
{
    std::string error;
    PartSystem* system = LevellingSurvey().Apply(error);
    ASSERT_TRUE(system) << error;
    const GnssEvaluation e(LoadPart(system), system);
    ASSERT_EQ(e.ResultCode(), kResultOk);
    const auto& r = e.Texts().relativeResults;
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(r[0], "観測データ前後半の基線ベクトルの較差：\r\n水平：0mm\r\n高さ：15mm\r\n");
    // Route K1-P1-K2: 40.1234 + 2.5 + 2.8771 - 45.5 = 0.0005 counts as 0; the one-entry route is rejected.
    EXPECT_EQ(r[1], "既知点間の楕円体高\r\nの閉合差：0mm\r\n");
    EXPECT_EQ(r[2], "仮定三次元網平均計算における楕円体高の閉合差：2mm\r\n");
    EXPECT_EQ(r[3], "仮定三次元網平均計算における基線ベクトルの各成分の残差：3mm\r\n");
    EXPECT_EQ(r[4], "三次元網平均計算における斜距離の残差：2mm");
    EXPECT_EQ(e.Texts().requirements.size(), 6u);
}

// 100.0045 - 100.0 is 0.0044999... in binary; the residual still prints 5 mm.
TEST(GnssEvaluation, SlopeResidualIsDecimalSafe)
{
    GnssSeed s = ControlSurvey();
    s.SetWork(1, 2);
    s.SurveyPart(2, {0, 0, 0, 0, 0});
    s.Condition("JGpsHyoVur", 1, QJsonObject{{"use3", 1}, {"class3", QJsonObject{{"d", 20}}}});
    QJsonArray base0;
    base0.append(QJsonObject{{"from", "K1"}, {"to", "K2"}, {"components", Row({100.0045, 0.0, 0.0})},
                             {"corrections", Row({0.0, 0.0, 0.0})}, {"distance", 100.0}});
    s.Condition("GnssNetwork0", 1, QJsonObject{{"points", QJsonArray{}}, {"baselines", base0}});
    std::string error;
    PartSystem* system = s.Apply(error);
    ASSERT_TRUE(system) << error;
    const GnssEvaluation e(LoadPart(system), system);
    ASSERT_EQ(e.ResultCode(), kResultOk);
    ASSERT_FALSE(e.Texts().relativeResults.empty());
    EXPECT_EQ(e.Texts().relativeResults.back(), "三次元網平均計算における斜距離の残差：5mm");
}

TEST(GnssEvaluation, LevellingWithoutCheckRecordsButAnAssumedNetworkIsCodeTen)
{
    GnssSeed s = LevellingSurvey();
    s.AddFile("binder-conditions", "KZDTCHK1.DAT", {});
    std::string error;
    PartSystem* system = s.Apply(error);
    ASSERT_TRUE(system) << error;
    const GnssEvaluation e(LoadPart(system), system);
    EXPECT_EQ(e.ResultCode(), kResultKnownPointCheckMissing);
    EXPECT_TRUE(e.Texts().relativeResults.empty());
}

TEST(GnssEvaluation, CheckFileCutMidRecordIsAGeneralFailure)
{
    GnssSeed s = LevellingSurvey();
    s.AddFile("binder-conditions", "SHENCHK1.DAT", {"K1    "});
    std::string error;
    PartSystem* system = s.Apply(error);
    ASSERT_TRUE(system) << error;
    const GnssEvaluation e(LoadPart(system), system);
    EXPECT_EQ(e.ResultCode(), kResultGeneralFailure);
}

TEST(GnssEvaluation, CalReportsThroughTheCommandMessageBox)
{
    GnssSeed s = ControlSurvey();
    s.SurveyPart(1, {0, 0, 0, 0, 0});
    std::string error;
    PartSystem* system = s.Apply(error);
    ASSERT_TRUE(system) << error;
    CVApp::Instance().EnableCmdMsgBox(true);
    const Tab04827Data data = LoadPart(system);
    {
        const Cal quiet(data, 1, system);
        EXPECT_EQ(quiet.ResultCode(), 0);
        EXPECT_TRUE(PeldaGetApp().GetCmdMsgBox()->Log().empty());
    }
    const Cal cal(data, 0, system);
    EXPECT_EQ(cal.ResultCode(), kResultKindMismatch);
    const auto& log = PeldaGetApp().GetCmdMsgBox()->Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].text, "報告1 品質評価表");
    EXPECT_EQ(log[1].kind, CmdMsgBox::Kind::Err);
    EXPECT_NE(log[1].text.find("作業区分[基準点測量] 測量区分[水準測量]"), std::string::npos);
}

TEST(GnssResultMessages, EveryCodeHasItsText)
{
    const std::pair<short, const char*> cases[] = {
        {0, "処理が正常に行われました。"},
        {1, "等級区分が適合する厳密網が指示されていません。"},
        {2, "等級区分が適合する任意網が指示されていません。"},
        {4, "基準点点検手簿のパートが開けません。"},
        {5, "基準点点検手簿のパートから取得できないデータがあります。"},
        {7, "作業管理:作業区分と測量区分が一致しない為、計算できませんでした。\n作業区分[A] 測量区分[B]"},
        {10, "「既知点座標確認」 が未だ実行されていません。"},
        {21, "等級区分が適合する単路線が指示されていません。"},
        {3, "計算データの取得に失敗しました。"},
        {99, "計算データの取得に失敗しました。"},
    };
    for (const auto& [code, text] : cases) EXPECT_EQ(ResultMessage(code, "A", "B"), text) << code;
}

struct CommandCase {
    const char* name;
    int variant;             // 0 control survey of a levelling part, 1 code 10, 2 missing work, 3 fine
    WORD docalc;
    const char* message;     // what both DoCalc and the CSV command report
};
class FailingCommands : public ::testing::TestWithParam<CommandCase> {};

GnssSeed CommandSeed(int variant)
{
    if (variant == 1) {
        GnssSeed s = LevellingSurvey();
        s.AddFile("binder-conditions", "KZDTCHK1.DAT", {});
        return s;
    }
    GnssSeed s = ControlSurvey();
    if (variant == 0) s.SurveyPart(1, {0, 0, 0, 0, 0});
    if (variant == 2) s.SurveyPart(0, {0, 0, 0, 0, 0}, 9);
    return s;
}

// DoCalc answers 4 after the error text; the CSV command shows the same text and
// writes nothing (codes 7 and 10 used to end it without a word).
TEST_P(FailingCommands, DoCalcAndCsvReportTheCodesText)
{
    std::string error;
    PartSystem* system = CommandSeed(GetParam().variant).Apply(error);
    ASSERT_TRUE(system) << error;
    CVApp::Instance().EnableCmdMsgBox(true);
    const Tab04827Data data = LoadPart(system);

    CVPartDocument document;
    Mod04827 program(&document);
    program.SetHostContext(&document, PeldaGetApp().GetPartSysData(PeldaGetApp().GetCurPartSysNo()));
    EXPECT_EQ(program.DoCalc(data, 0x02, nullptr), GetParam().docalc);
    const auto& log = PeldaGetApp().GetCmdMsgBox()->Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().text, GetParam().message);

    std::vector<std::string> messages;
    SetHostMessageHandler([&](const std::string& text, const std::string&, unsigned) {
        messages.push_back(text);
        return kIdOk;
    });
    SetFileChooserHook([](const std::string&) { return std::optional<std::string>("GPSHYO.CSV"); });
    const int sent = ExportEvaluationCsv(data);
    SetFileChooserHook({});
    SetHostMessageHandler({});
    EXPECT_EQ(sent != 0, GetParam().docalc == 0);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), GetParam().docalc == 0 ? "品質評価表CSVファイル出力が終了しました" : GetParam().message);
}
INSTANTIATE_TEST_SUITE_P(Cases, FailingCommands, ::testing::Values(
    CommandCase{"code7", 0, 4,
                "作業管理:作業区分と測量区分が一致しない為、計算できませんでした。\n作業区分[基準点測量] 測量区分[水準測量]"},
    CommandCase{"code10", 1, 4, "「既知点座標確認」 が未だ実行されていません。"},
    CommandCase{"general", 2, 4, "計算データの取得に失敗しました。"},
    CommandCase{"fine", 3, 0, "処理が正常に行われました。"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GnssCsvCommand, CancelledChooserShowsTheStopText)
{
    std::string error;
    PartSystem* system = ControlSurvey().Apply(error);
    ASSERT_TRUE(system) << error;
    std::vector<std::string> messages;
    SetHostMessageHandler([&](const std::string& text, const std::string&, unsigned) {
        messages.push_back(text);
        return kIdOk;
    });
    SetFileChooserHook([](const std::string&) { return std::optional<std::string>(); });
    EXPECT_EQ(ExportEvaluationCsv(LoadPart(system)), 0);
    SetFileChooserHook({});
    SetHostMessageHandler({});
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "出力を中止しました。");
}

}  // namespace
}  // namespace mod04827
