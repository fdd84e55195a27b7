#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "hostfw/CTab00519DB.h"
#include "hostfw/CVApp.h"
#include "hostfw/CVPartDocument.h"
#include "hostfw/HostMessages.h"
#include "hostfw/PartData.h"
#include "hostfw/PartSystem.h"
#include "hostfw/PartSystemSeed.h"
#include "hostfw/Tab00519Data.h"
#include "hostfw/VCmdData.h"
#include "hostfw/ctrlpoint/QueryRyoiki.h"
#include "plugins/ctrlpoint/CPartDlg.h"
#include "plugins/ctrlpoint/ControlPointPartList.h"
#include "plugins/ctrlpoint/ControlPointRecords.h"
#include "plugins/ctrlpoint/PositionalLock.h"
#include "plugins/ctrlpoint/TableSettings.h"
#include "plugins/ctrlpoint/XSvyPartVSheet.h"
#include "tests/plugins/DialogLook.h"
#include "tests/plugins/PluginTestFixtures.h"

namespace mod00519 {
namespace {

using plugtest::SourceDir;

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new plugtest::QtEnvironment);

class ControlPointDialogTest : public plugtest::TableDialogTest<CPartDlg, CTab00519DB> {
protected:
    void Open(const std::string& fixture, DWORD part = 1)
    {
        OpenDialog("ctrlpoint", 519, 33, fixture, part);
    }
    static void Pump() { QCoreApplication::processEvents(); }
};

TEST_F(ControlPointDialogTest, NetworkKindChangeSwapsTheListAtOnce)
{
    Open("strict-network.json");
    ASSERT_TRUE(m_dialog->SelectTab(5));
    ASSERT_NE(m_dialog->CurrentList(), nullptr);
    EXPECT_EQ(m_dialog->CurrentList()->Kind(), PartListKind::Strict);
    ASSERT_TRUE(Edit(9003, kCellNetworkKind, "1"));
    Pump();
    ASSERT_NE(m_dialog->CurrentList(), nullptr);
    EXPECT_EQ(m_dialog->CurrentList()->Kind(), PartListKind::Arbitrary);
    EXPECT_TRUE(m_dialog->CurrentList()->isVisibleTo(m_dialog));
    ASSERT_TRUE(m_dialog->SelectTab(0));
    EXPECT_EQ(m_dialog->CurrentList(), nullptr);
}

TEST_F(ControlPointDialogTest, NetworkTabScreenshot)
{
    Open("strict-network.json");
    ASSERT_TRUE(m_dialog->SelectTab(5));
    m_dialog->adjustSize();
    Pump();
    const char* binary = std::getenv("TESSARA_BINARY_DIR");
    const std::filesystem::path shot =
        std::filesystem::path(binary != nullptr ? binary : ".") / "ctrlpoint-network-tab.png";
    ASSERT_TRUE(m_dialog->grab().save(QString::fromStdString(shot.string())));
    EXPECT_GT(std::filesystem::file_size(shot), 1000u);
}

TEST_F(ControlPointDialogTest, ToolbarButtonsSayWhatTheyDoAndEveryTabIsWhole)
{
    Open("strict-network.json");
    plugtest::ExpectToolbarNamesItsCommands(*m_dialog);
    plugtest::ExpectEveryTabWhole(*m_dialog, "ctrlpoint-dialog.png");
}

// The host's own navigation commands on the control-point table's bar.
TEST_F(ControlPointDialogTest, FirstLastRevertAndInfoButtonsAct)
{
    Open("strict-network.json");
    EXPECT_EQ(m_dialog->CmdButtonText(CPartDlg::kCmdFirstPart).toStdString(), "先頭のパート");
    ASSERT_TRUE(Edit(9002, 0x0FFF0D0C, "書き換えた表題"));
    EXPECT_TRUE(m_dialog->IsChanged());
    ASSERT_TRUE(m_dialog->PressButton(CPartDlg::kCmdRevert));
    EXPECT_FALSE(m_dialog->IsChanged());
    EXPECT_NE(Record("F1").Text(0), "書き換えた表題");
    EXPECT_TRUE(m_dialog->PressButton(CPartDlg::kCmdLastPart));
    EXPECT_TRUE(m_dialog->PressButton(CPartDlg::kCmdFirstPart));
    EXPECT_EQ(m_dialog->GetPartData().GetAddress(), 1u);
    EXPECT_TRUE(m_dialog->PressButton(CPartDlg::kCmdPartInfo));
}

TEST_F(ControlPointDialogTest, UntickingCheckSurveyGreysListAndStoresZero)
{
    Open("strict-network.json");
    ASSERT_TRUE(m_dialog->SelectTab(7));
    EXPECT_TRUE(m_dialog->IsCheckSurveyEnabled());
    ASSERT_TRUE(m_dialog->PressButton(CPartDlg::kIdCheckSurvey));
    EXPECT_EQ(Record("F2").Short(rec::kF2CheckOutput), 0);
    EXPECT_FALSE(m_dialog->IsCheckSurveyEnabled());
}

TEST_F(ControlPointDialogTest, GradeChangeAsksOnlyWithChosenPartsAndRestoresThePartsGrade)
{
    Open("strict-network.json");
    ASSERT_EQ(Record("F1").Short(rec::kF1Grade), 2);
    EXPECT_TRUE(Edit(9002, kCellGrade, "2"));   // the same grade: silent
    EXPECT_TRUE(m_shown.empty());

    m_answers = {kIdNo};
    Edit(9002, kCellGrade, "3");
    ASSERT_EQ(m_shown.size(), 1u);
    EXPECT_EQ(m_shown[0], "等級区分を変更すると観測網及び点検計算の選択データが破棄されます。\nよろしいですか？");
    EXPECT_EQ(Record("F1").Short(rec::kF1Grade), 2);   // the part's grade, not 1
    EXPECT_NE(Record("FR1").Dword(rec::kFR1Strict628), 0u);

    m_answers = {kIdYes};
    Edit(9002, kCellGrade, "3");
    EXPECT_EQ(Record("F1").Short(rec::kF1Grade), 3);
    EXPECT_EQ(Record("FR1").Dword(rec::kFR1Strict628), 0u);
    EXPECT_EQ(m_dialog->GetPartData().RowCount("R4"), 0u);
    EXPECT_EQ(m_dialog->GetPartData().RowCount("R3"), 2u);   // check surveys stay

    m_shown.clear();
    Edit(9002, kCellGrade, "1");   // nothing chosen any more: silent
    EXPECT_TRUE(m_shown.empty());
    EXPECT_EQ(Record("F1").Short(rec::kF1Grade), 1);
}

TEST_F(ControlPointDialogTest, PairsCheckCalculationRowsOnceAndStably)
{
    Open("strict-network.json");
    ASSERT_TRUE(m_dialog->PairCheckCalcRows());
    EXPECT_EQ(Record("R4", 0).Dword(rec::kR4Height), 60u);
    EXPECT_EQ(Record("R4", 1).Dword(rec::kR4Height), 61u);
    ASSERT_TRUE(m_dialog->PairCheckCalcRows());
    EXPECT_EQ(Record("R4", 0).Dword(rec::kR4Height), 60u);
    EXPECT_EQ(Record("R4", 1).Dword(rec::kR4Height), 61u);
}

TEST_F(ControlPointDialogTest, ListsAdmitOnlyTheirProgramsOfTheGrade)
{
    Open("wrong-grade.json");
    auto* checks = dynamic_cast<ControlPointPartList*>(m_dialog->FindSheet(9013));
    auto* handbooks = dynamic_cast<ControlPointPartList*>(m_dialog->FindSheet(9010));
    auto* strict = dynamic_cast<ControlPointPartList*>(m_dialog->FindSheet(9008));
    ASSERT_TRUE(checks && handbooks && strict);
    EXPECT_TRUE(checks->CheckFuncPartAddr(50));
    EXPECT_FALSE(checks->CheckFuncPartAddr(52));    // grade 1
    EXPECT_FALSE(checks->CheckFuncPartAddr(10));    // a strict network
    EXPECT_FALSE(checks->CheckFuncPartAddr(999));   // no such part
    EXPECT_TRUE(strict->CheckFuncPartAddr(11));
    EXPECT_FALSE(handbooks->CheckFuncPartAddr(31));  // already listed
    EXPECT_FALSE(handbooks->CheckFuncPartAddr(40));  // a field book, not a handbook
}

TEST_F(ControlPointDialogTest, BoardImportTakesEachNewPartOnceAndGrowsTheList)
{
    Open("strict-network.json");
    ASSERT_TRUE(m_dialog->SelectTab(6));
    ASSERT_TRUE(m_dialog->PressButton(CPartDlg::kCmdClearList));
    ASSERT_EQ(m_dialog->GetPartData().RowCount("R4"), 0u);
    PeldaGetApp().GetDocument()->SetBoards(CVPartDocument::kBoardPart, {50, 61, 50, 10, 51, 60});
    ASSERT_TRUE(m_dialog->PressButton(CPartDlg::kCmdBoardUpdate));
    // 10 is a strict network and 50 is named twice: two rows, each route in its column,
    // paired by route key.
    ASSERT_EQ(m_dialog->GetPartData().RowCount("R4"), 2u);
    EXPECT_EQ(Record("R4", 0).Dword(0), 50u);
    EXPECT_EQ(Record("R4", 0).Dword(1), 60u);
    EXPECT_EQ(Record("R4", 1).Dword(0), 51u);
    EXPECT_EQ(Record("R4", 1).Dword(1), 61u);
    ASSERT_TRUE(m_dialog->PressButton(CPartDlg::kCmdBoardUpdate));   // again: nothing new
    EXPECT_EQ(m_dialog->GetPartData().RowCount("R4"), 2u);
}

TEST_F(ControlPointDialogTest, PartSearchAddsAdmittedPartsAndAreaQueryIsMade)
{
    Open("wrong-grade.json");
    ASSERT_TRUE(m_dialog->SelectTab(6));
    ASSERT_TRUE(m_dialog->PressButton(CPartDlg::kCmdClearList));
    ASSERT_TRUE(m_dialog->PressButton(CPartDlg::kCmdSearchExtract));
    // The grade-2 routes 50, 51 (687) and 60, 61 (684) enter, each in its column, paired
    // by route; 52 and 62 are of other grades.
    std::vector<std::pair<DWORD, DWORD>> listed;
    for (std::size_t r = 0; r < m_dialog->GetPartData().RowCount("R4"); ++r)
        listed.emplace_back(Record("R4", r).Dword(0), Record("R4", r).Dword(1));
    EXPECT_EQ(listed, (std::vector<std::pair<DWORD, DWORD>>{{50, 60}, {51, 61}}));
    const int before = QueryRyoikiCallCount();
    ASSERT_TRUE(m_dialog->PressButton(CPartDlg::kCmdQueryArea));
    EXPECT_EQ(QueryRyoikiCallCount(), before + 1);
    EXPECT_EQ(QueryRyoikiLastMode(), 1);
}

TEST_F(ControlPointDialogTest, OkStoresThePartAndBothSettingsFiles)
{
    Open("strict-network.json");
    ASSERT_TRUE(Edit(9002, 0x0FFF0D0Cu, "新しい製品名"));   // 総製品名
    ASSERT_TRUE(m_dialog->PressButton(1));
    PartData stored;
    ASSERT_TRUE(GetCurrentPartSystem()->LoadPart(1, stored));
    PartRecord f1;
    ASSERT_TRUE(stored.GetRecord("F1", 0, f1));
    EXPECT_EQ(f1.Text(rec::kF1Product), "新しい製品名");
    EXPECT_TRUE(std::filesystem::exists(TableSettings::CommonDataFile()));
    EXPECT_TRUE(std::filesystem::exists(TableSettings::UserRootFile()));
}

TEST_F(ControlPointDialogTest, NewPartTakesListDefaultsGradeOneAndHostZone)
{
    Open("strict-network.json", 0);
    const PartRecord f1 = Record("F1");
    EXPECT_EQ(f1.Short(rec::kF1Grade), 1);
    EXPECT_EQ(f1.Text(rec::kF1Verdict), "合格");
    EXPECT_FALSE(f1.Text(rec::kF1Created).empty());
    EXPECT_EQ(Record("F03").Text(rec::kF03Summary), "位置正確度を満たす");
}

TEST_F(ControlPointDialogTest, ListCellsOfferTheListFileEntries)
{
    Open("strict-network.json");
    auto* header = dynamic_cast<XSvyPartVSheet*>(m_dialog->FindSheet(9002));
    auto* positional = dynamic_cast<XSvyPartVSheet*>(m_dialog->FindSheet(9006));
    ASSERT_TRUE(header && positional);
    int row = 0;
    int col = 0;
    ASSERT_TRUE(header->CodeToCell(0x7FFF0D0Cu, 0, row, col));   // 総合否: list "評価結果"
    EXPECT_EQ(header->CellListEntries(row, col), (std::vector<std::string>{"合格", "不合格"}));
    ASSERT_TRUE(header->EditCellList(row, col, 1));
    EXPECT_EQ(Record("F1").Text(rec::kF1Verdict), "不合格");
    ASSERT_TRUE(positional->CodeToCell(0x2FFF0D0Cu, 0, row, col));   // 個位置絶対方法
    EXPECT_EQ(positional->CellListEntries(row, col), (std::vector<std::string>{"網平均計算の結果による"}));
}

TEST_F(ControlPointDialogTest, ManualSwitchUnlocksTheAbsoluteResult)
{
    Open("strict-network.json");
    auto* page = dynamic_cast<XSvyPartVSheet*>(m_dialog->FindSheet(9006));
    ASSERT_NE(page, nullptr);
    int row = 0;
    int col = 0;
    ASSERT_TRUE(page->CodeToCell(0x3FFF0D0Cu, 0, row, col));
    EXPECT_TRUE(page->IsCellReadOnly(row, col));
    int srow = 0;
    int scol = 0;
    ASSERT_TRUE(page->CodeToCell(kCellAbsoluteResultSwitch, 0, srow, scol));
    ASSERT_TRUE(page->EditCellList(srow, scol, 1));
    EXPECT_FALSE(page->IsCellReadOnly(row, col));
    ASSERT_TRUE(page->EditCellText(row, col, "手入力の結果"));
    EXPECT_EQ(Record("F03").Text(rec::kF03AbsResult), "手入力の結果");
}

} // namespace
} // namespace mod00519
