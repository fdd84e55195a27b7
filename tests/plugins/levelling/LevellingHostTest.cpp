#include "tests/plugins/levelling/LevellingHostFixture.h"

#include "hostfw/CPartDB.h"
#include "hostfw/CmdMsgBox.h"
#include "hostfw/PeldaIni.h"
#include "hostfw/ctrlpoint/CSvyZaDB.h"
#include "hostfw/Tab00963Data.h"
#include "plugins/levelling/Cal.h"
#include "plugins/levelling/Kjn_Send.h"
#include "plugins/levelling/LevellingEvaluation.h"
#include "plugins/levelling/Mod00963.h"

namespace mod00963 {
namespace {

struct FixtureCase {
    const char* fixture;
    short status;
    const char* message;
    const char* relativeResult;
};

class LevellingFixtureTest : public LevellingHostTest, public ::testing::WithParamInterface<FixtureCase> {
protected:
    WORD RunDoCalc(DWORD flags)
    {
        CVApp& app = PeldaGetApp();
        Mod00963 program(app.GetDocument());
        program.SetHostContext(app.GetDocument(), app.GetPartSysData(app.GetCurPartSysNo()));
        return program.DoCalc(m_part, flags, "");
    }
};

TEST_P(LevellingFixtureTest, DoCalcReportsStatus)
{
    Seed(GetParam().fixture);
    EXPECT_EQ(RunDoCalc(0x02), GetParam().status == 0 ? 0 : 4);
    const auto& log = PeldaGetApp().GetCmdMsgBox()->Log();
    ASSERT_EQ(log.size(), 2u);
    // The levelling title puts the report name first.
    EXPECT_EQ(log[0].text, "報告1 水準測量品質評価表");
    EXPECT_EQ(log[1].kind, GetParam().status == 0 ? CmdMsgBox::Kind::Std : CmdMsgBox::Kind::Err);
    EXPECT_EQ(log[1].text, GetParam().message);

    Cal cal(m_part, 1);
    EXPECT_TRUE(cal.RunEvaluation() == (GetParam().status == 0));
    EXPECT_EQ(cal.ResultCode(), GetParam().status);
    EXPECT_EQ(cal.Texts()[LevellingEvaluation::kRelativeResult], GetParam().relativeResult);
}

TEST_P(LevellingFixtureTest, CsvCommandShowsStatusMessage)
{
    Seed(GetParam().fixture);
    bool chooserOpened = false;
    SetFileChooserHook([&chooserOpened](const std::string&) {
        chooserOpened = true;
        return std::optional<std::string>("SUIHYO.CSV");
    });
    EXPECT_EQ(ExportLevellingCsv(m_part), GetParam().status == 0);
    ASSERT_FALSE(m_shown.empty());
    if (GetParam().status == 0) {
        EXPECT_EQ(m_shown.back(), "水準測量品質評価表|水準測量品質評価表CSVファイル出力が終了しました");
        return;
    }
    EXPECT_FALSE(chooserOpened);
    EXPECT_EQ(m_shown.back(), std::string("水準測量品質評価表|") + GetParam().message);
    std::string temp;
    ASSERT_TRUE(PeldaIni::GetBinderTempPath(temp));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(temp) / "SUIHYO.CSV"));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, LevellingFixtureTest, ::testing::Values(
    FixtureCase{"grade1.json", 0, "処理が正常に行われました。",
                "較差4mm\r\n環閉合差\r\n    3mm\r\n既知点間閉合差\r\n    15mm\r\n平均計算結果\r\n    1.23mm"},
    FixtureCase{"grade2-precision4.json", 0, "処理が正常に行われました。",
                "較差3.6mm\r\n環閉合差\r\n    3.0mm\r\n既知点間閉合差\r\n    15.0mm\r\n平均計算結果\r\n    1.23mm"},
    FixtureCase{"grade5.json", 0, "処理が正常に行われました。",
                "環閉合差\r\n    3mm\r\n既知点間閉合差\r\n    15mm\r\n平均計算結果\r\n    1.23mm"},
    FixtureCase{"status1-network-other-grade.json", 1, "等級区分が適合する水準網が指示されていません。", ""},
    FixtureCase{"status2-no-note.json", 2,
                "指示された水準測量観測手簿について、等級区分が適合し、かつ計算できるものがありません。", ""},
    FixtureCase{"status4-route-network-missing.json", 4,
                "指示された水準点検路線について、等級区分が適合し、かつ計算済みのものがありません。", ""}));

TEST_F(LevellingHostTest, DoCalcWithoutCalculateBitIsSilent)
{
    Seed("status1-network-other-grade.json");
    CVApp& app = PeldaGetApp();
    Mod00963 program(app.GetDocument());
    program.SetHostContext(app.GetDocument(), app.GetPartSysData(app.GetCurPartSysNo()));
    EXPECT_EQ(program.DoCalc(m_part, 0x01, ""), 0);
    EXPECT_TRUE(app.GetCmdMsgBox()->Log().empty());
    EXPECT_TRUE(m_shown.empty());
}

struct FigureCase {
    const char* fixture;
    DWORD flags;
    WORD result;
    int figureParts;
};

class LevellingFigureTest : public LevellingHostTest, public ::testing::WithParamInterface<FigureCase> {};

// The figure stage records one figure part per part, and none after a failed evaluation.
TEST_P(LevellingFigureTest, FigureStage)
{
    Seed(GetParam().fixture);
    CVApp& app = PeldaGetApp();
    Mod00963 program(app.GetDocument());
    program.SetHostContext(app.GetDocument(), app.GetPartSysData(app.GetCurPartSysNo()));
    EXPECT_EQ(program.DoCalc(m_part, GetParam().flags, ""), GetParam().result);
    EXPECT_EQ(program.DoCalc(m_part, GetParam().flags, ""), GetParam().result);
    EXPECT_EQ(CSvyZaDB(GetCurrentPartSystem()).GetFigurePartCount(1), GetParam().figureParts);
}

INSTANTIATE_TEST_SUITE_P(Stages, LevellingFigureTest, ::testing::Values(
    FigureCase{"grade1.json", 0x04, 0, 1},
    FigureCase{"grade1.json", 0x06, 0, 1},
    FigureCase{"status1-network-other-grade.json", 0x06, 4, 0}));

TEST_F(LevellingHostTest, UnopenedPartSystemIsAGeneralFailure)
{
    Seed("grade1.json");
    CVApp::Instance().SetCurPartSysNo(-1);
    Kjn_Send carrier(m_part);
    EXPECT_FALSE(carrier.RunEvaluation());
    EXPECT_EQ(carrier.GetStateMessage(), "計算データの取得に失敗しました。");
    carrier.SetState(77);
    EXPECT_EQ(carrier.GetStateMessage(), "");
}

TEST_F(LevellingHostTest, CsvMatchesHandCheckedFileByteForByte)
{
    Seed("grade1.json");
    SetFileChooserHook([](const std::string&) { return std::optional<std::string>("SUIHYO.CSV"); });
    ASSERT_TRUE(ExportLevellingCsv(m_part));
    std::string temp;
    ASSERT_TRUE(PeldaIni::GetBinderTempPath(temp));
    const std::string written = ReadBytes(std::filesystem::path(temp) / "SUIHYO.CSV");
    const std::string expected = ReadBytes(SourceDir() / "examples/levelling/expected/SUIHYO.CSV");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(written, expected);
    std::size_t lines = 0;
    std::size_t bareLf = 0;
    for (std::size_t at = 0; at < written.size(); ++at) {
        if (written[at] == '\n')
            (at > 0 && written[at - 1] == '\r') ? ++lines : ++bareLf;
    }
    EXPECT_EQ(lines, 111u);
    EXPECT_EQ(bareLf, 0u);
    EXPECT_EQ(written.substr(written.size() - 2), "\r\n");
}

TEST_F(LevellingHostTest, CsvCancelledChoiceShowsCancelMessage)
{
    Seed("grade1.json");
    SetFileChooserHook([](const std::string&) { return std::optional<std::string>(); });
    EXPECT_FALSE(ExportLevellingCsv(m_part));
    ASSERT_FALSE(m_shown.empty());
    EXPECT_EQ(m_shown.back(), "水準測量品質評価表|出力を中止しました。");
}

// A write that cannot complete is reported, the file is not left behind and the
// binder file is never chosen.
TEST_F(LevellingHostTest, CsvWriteFailureShowsMessageWithoutChooser)
{
    Seed("grade1.json");
    std::string temp;
    ASSERT_TRUE(PeldaIni::GetBinderTempPath(temp));
    std::filesystem::create_directories(std::filesystem::path(temp) / "SUIHYO.CSV" / "blocker");
    bool chooserOpened = false;
    SetFileChooserHook([&chooserOpened](const std::string&) {
        chooserOpened = true;
        return std::optional<std::string>("SUIHYO.CSV");
    });
    EXPECT_FALSE(ExportLevellingCsv(m_part));
    EXPECT_FALSE(chooserOpened);
    ASSERT_FALSE(m_shown.empty());
    EXPECT_EQ(m_shown.front(), "エラーメッセージ|ライトエラーが発生しました");
    EXPECT_EQ(m_shown.size(), 1u);
}

} // namespace
} // namespace mod00963
