#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

#include "hostfw/CVApp.h"
#include "hostfw/CmdMsgBox.h"
#include "hostfw/FileChooser.h"
#include "hostfw/HostMessages.h"
#include "hostfw/PartData.h"
#include "hostfw/PartSystem.h"
#include "hostfw/PartSystemSeed.h"
#include "hostfw/PeldaIni.h"
#include "hostfw/Tab00519Data.h"
#include "hostfw/ctrlpoint/CSvyZaDB.h"
#include "hostfw/ctrlpoint/ShuboCalc.h"
#include "hostfw/CVSvyPartPrg.h"
#include "plugins/common/FigureStage.h"
#include "plugins/common/PluginExports.h"
#include "plugins/ctrlpoint/Mod00519Table.h"
#include "plugins/ctrlpoint/Cal.h"
#include "plugins/ctrlpoint/ControlPointEvaluation.h"
#include "plugins/ctrlpoint/Kjn_Send.h"
#include "tests/plugins/PluginTestFixtures.h"

namespace mod00519 {
namespace {

using plugtest::ReadBytes;
using plugtest::SourceDir;

// One seeded part system as the host's current one, messages recorded.
class ControlPointHostTest : public plugtest::SeededHostTest {
protected:
    void Seed(const std::string& fixture) { SeedWithPart("ctrlpoint", "ctrlpoint-host", fixture); }
};

TEST_F(ControlPointHostTest, StrictNetworkEvaluatesAndReportsOnce)
{
    Seed("strict-network.json");
    Cal cal(m_part, 0);
    ASSERT_EQ(cal.ResultCode(), 0) << cal.StatusMessage();
    using E = ControlPointEvaluation;
    EXPECT_EQ(cal.Texts()[E::kAbsoluteResult],
              "水平位置の標準偏差1.2cm、標高の標準偏差1.3cm、水平角の較差2″、鉛直角の較差0″、距離の較差4㎜");
    EXPECT_EQ(cal.Texts()[E::kRelativeResult],
              "結合多角の閉合差水平12mm、標高8mm、単位多角形の閉合差水平5mm、標高15mm、標高差の正反較差が3mm");
    const auto& log = PeldaGetApp().GetCmdMsgBox()->Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].text, "基準点品質評価表 報告1");
    EXPECT_EQ(log[1].text, "処理が正常に行われました。");
}

TEST_F(ControlPointHostTest, NoCalcBuildsWithoutEvaluatingOrReporting)
{
    Seed("strict-network.json");
    Cal cal(m_part, 1);
    EXPECT_EQ(cal.ResultCode(), 0);
    EXPECT_EQ(cal.Texts()[ControlPointEvaluation::kAbsoluteResult], "");
    EXPECT_TRUE(PeldaGetApp().GetCmdMsgBox()->Log().empty());
}

struct FixtureCase {
    const char* fixture;
    short status;
    const char* absoluteResult;
};

class ControlPointFixtureTest : public ControlPointHostTest, public ::testing::WithParamInterface<FixtureCase> {};

TEST_P(ControlPointFixtureTest, EvaluatesFixture)
{
    Seed(GetParam().fixture);
    Cal cal(m_part, 0);
    EXPECT_EQ(cal.ResultCode(), GetParam().status) << cal.StatusMessage();
    EXPECT_EQ(cal.Texts()[ControlPointEvaluation::kAbsoluteResult], GetParam().absoluteResult);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ControlPointFixtureTest, ::testing::Values(
    FixtureCase{"arbitrary-network.json", 0, "方向角の残差4秒、座標の残差1.3cm、標高の残差2.1cm"},
    FixtureCase{"single-route.json", 0, "方向角の残差3秒、座標の残差0.9cm、標高の残差1.2cm"},
    FixtureCase{"wrong-grade.json", 6, ""}));

TEST_F(ControlPointHostTest, WrongGradeRowNamesRowAndKinds)
{
    Seed("wrong-grade.json");
    Cal cal(m_part, 0);
    EXPECT_EQ(cal.StatusMessage(), "等級区分が適合しない点検計算パートが指示されています。\n項番[2][水平路線・高低路線]");
    const auto& log = PeldaGetApp().GetCmdMsgBox()->Log();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].kind, CmdMsgBox::Kind::Err);
    EXPECT_EQ(log[1].text, cal.StatusMessage());
}

TEST_F(ControlPointHostTest, CsvMatchesHandCheckedFileByteForByte)
{
    Seed("strict-network.json");
    SetFileChooserHook([](const std::string&) { return std::optional<std::string>("KJNHYO.CSV"); });
    ASSERT_TRUE(ExportControlPointCsv(m_part));
    ASSERT_FALSE(m_shown.empty());
    EXPECT_EQ(m_shown.back(), "基準点品質評価表|基準点品質評価表CSVファイル出力が終了しました");
    std::string temp;
    ASSERT_TRUE(PeldaIni::GetBinderTempPath(temp));
    const std::string written = ReadBytes(std::filesystem::path(temp) / "KJNHYO.CSV");
    const std::string expected = ReadBytes(SourceDir() / "examples/ctrlpoint/expected/KJNHYO.CSV");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(written, expected);
    std::size_t lines = 0;
    for (std::size_t at = written.find("\r\n"); at != std::string::npos; at = written.find("\r\n", at + 2))
        ++lines;
    EXPECT_EQ(lines, 111u);
}

TEST_F(ControlPointHostTest, CsvAfterFailedEvaluationShowsItsMessageAndWritesNothing)
{
    Seed("wrong-grade.json");
    SetFileChooserHook([](const std::string&) { return std::optional<std::string>("KJNHYO.CSV"); });
    EXPECT_FALSE(ExportControlPointCsv(m_part));
    ASSERT_FALSE(m_shown.empty());
    EXPECT_EQ(m_shown.back(),
              "基準点品質評価表|等級区分が適合しない点検計算パートが指示されています。\n項番[2][水平路線・高低路線]");
    std::string temp;
    ASSERT_TRUE(PeldaIni::GetBinderTempPath(temp));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(temp) / "KJNHYO.CSV"));
}

TEST_F(ControlPointHostTest, CsvCancelledChoiceShowsCancelMessage)
{
    Seed("strict-network.json");
    SetFileChooserHook([](const std::string&) { return std::optional<std::string>(); });
    EXPECT_FALSE(ExportControlPointCsv(m_part));
    ASSERT_FALSE(m_shown.empty());
    EXPECT_EQ(m_shown.back(), "基準点品質評価表|出力を中止しました。");
}

TEST_F(ControlPointHostTest, FailedHeaderLineAbortsTheOutput)
{
    Seed("strict-network.json");
    PartRecord f1;
    ASSERT_TRUE(m_part.GetRecord("F1", 0, f1));
    f1.SetText(0, "表題\U0001F600");   // not representable in CP932: the first header line fails
    m_part.PutRecord("F1", 0, f1);
    bool chooserOpened = false;
    SetFileChooserHook([&chooserOpened](const std::string&) {
        chooserOpened = true;
        return std::optional<std::string>("KJNHYO.CSV");
    });
    EXPECT_FALSE(ExportControlPointCsv(m_part));
    EXPECT_FALSE(chooserOpened);
    ASSERT_FALSE(m_shown.empty());
    EXPECT_EQ(m_shown.back(), "エラーメッセージ|ライトエラーが発生しました");
    std::string temp;
    ASSERT_TRUE(PeldaIni::GetBinderTempPath(temp));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(temp) / "KJNHYO.CSV"));
}

struct DoCalcCase {
    const char* fixture;
    DWORD flags;
    WORD result;
    std::size_t messages;
};

class ControlPointDoCalcTest : public ControlPointHostTest, public ::testing::WithParamInterface<DoCalcCase> {};

TEST_P(ControlPointDoCalcTest, RunsStagesAndReports)
{
    Seed(GetParam().fixture);
    CVApp& app = PeldaGetApp();
    std::unique_ptr<CVSvyPartPrg> program(ControlPointPluginEntry().createProgram(app.GetDocument()));
    ASSERT_TRUE(program);
    program->SetHostContext(app.GetDocument(), app.GetPartSysData(app.GetCurPartSysNo()));
    EXPECT_EQ(program->DoCalc(m_part, GetParam().flags, ""), GetParam().result);
    EXPECT_EQ(app.GetCmdMsgBox()->Log().size(), GetParam().messages);
}

INSTANTIATE_TEST_SUITE_P(Flags, ControlPointDoCalcTest, ::testing::Values(
    DoCalcCase{"strict-network.json", 0x00, 0, 0},        // no calculate bit: nothing evaluated or said
    DoCalcCase{"strict-network.json", 0x03, 0, 2},
    DoCalcCase{"strict-network.json", 0x04, 0, 0},        // figure only
    DoCalcCase{"wrong-grade.json", 0x02, 4, 2},           // the error box, then failure
    DoCalcCase{"wrong-grade.json", 0x06, 4, 2}));          // no figure after a failed evaluation

TEST_F(ControlPointHostTest, FigureStageRecordsOneFigurePartPerPart)
{
    Seed("strict-network.json");
    CVApp& app = PeldaGetApp();
    std::unique_ptr<CVSvyPartPrg> program(ControlPointPluginEntry().createProgram(app.GetDocument()));
    program->SetHostContext(app.GetDocument(), app.GetPartSysData(app.GetCurPartSysNo()));
    ASSERT_EQ(program->DoCalc(m_part, 0x04, ""), 0);
    ASSERT_EQ(program->DoCalc(m_part, 0x04, ""), 0);
    EXPECT_EQ(CSvyZaDB(GetCurrentPartSystem()).GetFigurePartCount(1), 1);
    EXPECT_EQ(plugcommon::FigureStage::Run(nullptr, nullptr, 1, false), 0);   // no host document
}

TEST_F(ControlPointHostTest, AveragesOnlyForTheHandbooksOwnSets)
{
    Seed("strict-network.json");
    const auto run = [](int secondSet) {
        ShuboCalc calc(GetCurrentPartSystem(), 31, ShboCalVur{});
        calc.SetHeadData(100, 1.5);
        calc.SetData(0, 101, 0, 0, 0, 0);
        calc.SetData(0, 102, 0, 0, 0, 0);
        calc.SetData(secondSet, 101, 0, 0, 0, 0);
        calc.SetData(secondSet, 102, 0, 0, 0, 0);
        const int result = calc.Calc();
        return std::make_pair(result, calc.GetNumHeikin());
    };
    EXPECT_EQ(run(1), std::make_pair(0, 2));   // 1r and 1l as stored
    EXPECT_NE(run(2).first, 0);                // the 1l rows handed as set 2l
}

TEST_F(ControlPointHostTest, StateMessagesOfTheCsvCommand)
{
    Seed("strict-network.json");
    Kjn_Send carrier(m_part);
    const std::pair<short, const char*> cases[] = {
        {0, ""},
        {1, "等級区分が適合する厳密網が指示されていません。"},
        {2, "等級区分が適合する任意網が指示されていません。"},
        {3, "出力を中止しました。"},
        {4, "基準点点検手簿のパートが開けません。"},
        {5, "基準点点検手簿のパートから取得できないデータがあります。"},
        {9, "計算データの取得に失敗しました。"},   // a sibling database that would not open
        {21, "等級区分が適合する単路線が指示されていません。"},
    };
    for (const auto& [state, text] : cases) {
        carrier.SetState(state);
        EXPECT_EQ(carrier.GetStateMessage(), text) << state;
    }
}

} // namespace
} // namespace mod00519
