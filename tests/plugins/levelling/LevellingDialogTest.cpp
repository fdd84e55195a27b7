#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "hostfw/CTab00963DB.h"
#include "hostfw/CVApp.h"
#include "hostfw/HostMessages.h"
#include "hostfw/PartData.h"
#include "hostfw/PartSystem.h"
#include "hostfw/PartSystemSeed.h"
#include "hostfw/VCmdData.h"
#include "hostfw/gnss/KjnXyda_Nt.h"
#include "plugins/common/EraDate.h"
#include "plugins/levelling/CPartDlg.h"
#include "plugins/levelling/CVSheetPartListX.h"
#include "plugins/levelling/LevellingLock.h"
#include "plugins/levelling/LevellingRecords.h"
#include "plugins/levelling/LevellingSettings.h"
#include "plugins/levelling/XSvyPartVSheet.h"
#include "tests/plugins/DialogLook.h"
#include "tests/plugins/PluginTestFixtures.h"

namespace mod00963 {
namespace {

using plugtest::SourceDir;

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new plugtest::QtEnvironment);

constexpr unsigned kNo = kIdNo;
constexpr unsigned kYes = kIdYes;

class LevellingDialogTest : public plugtest::TableDialogTest<CPartDlg, CTab00963DB> {
protected:
    void Open(const std::string& fixture, DWORD part = 1)
    {
        OpenDialog("levelling", 963, 0x4001, fixture, part);
        m_shown.clear();
    }
    CVSheetPartListX& List(int control) { return dynamic_cast<CVSheetPartListX&>(*m_dialog->FindSheet(control)); }
    short Grade() { return Record("F1").Short(rec::kF1Grade); }
};

const std::string kQuestion = "等級区分を変更すると水準網・水準点検路線の入力データが破棄されます。\nよろしいですか？";

TEST_F(LevellingDialogTest, ToolbarButtonsSayWhatTheyDoAndEveryTabIsWhole)
{
    Open("grade1.json");
    plugtest::ExpectToolbarNamesItsCommands(*m_dialog);
    plugtest::ExpectEveryTabWhole(*m_dialog, "levelling-dialog.png");
}

TEST_F(LevellingDialogTest, SameGradeAsksNothing)
{
    Open("grade1.json");
    ASSERT_TRUE(Edit(9002, kCellGrade, "1"));
    EXPECT_TRUE(m_shown.empty());
    EXPECT_EQ(Record("FR1").Dword(0), 100u);
}

// The sheet compares with the part's own grade: on a grade-3 part, choosing 1 asks.
TEST_F(LevellingDialogTest, NoRestoresThePartsGrade)
{
    Open("status2-no-note.json");
    ASSERT_EQ(Grade(), 3);
    m_answers = {kNo};
    EXPECT_FALSE(Edit(9002, kCellGrade, "1"));   // the cell keeps the part's grade
    ASSERT_EQ(m_shown.size(), 1u);
    EXPECT_EQ(m_shown[0], kQuestion);
    EXPECT_EQ(Grade(), 3);
    EXPECT_EQ(Record("FR1").Dword(0), 100u);
    EXPECT_EQ(m_dialog->GetPartData().RowCount("R3"), 3u);
}

TEST_F(LevellingDialogTest, YesDropsNetworkAndRoutesKeepsNotes)
{
    Open("grade1.json");
    m_answers = {kYes};
    ASSERT_TRUE(Edit(9002, kCellGrade, "2"));
    ASSERT_EQ(m_shown.size(), 1u);
    EXPECT_EQ(Grade(), 2);
    EXPECT_EQ(Record("FR1").Dword(0), 0u);
    EXPECT_EQ(m_dialog->GetPartData().RowCount("R3"), 0u);
    EXPECT_EQ(m_dialog->GetPartData().RowCount("R2"), 2u);
    // The new grade is the one remembered: choosing it again asks nothing.
    ASSERT_TRUE(Edit(9002, kCellGrade, "2"));
    EXPECT_EQ(m_shown.size(), 1u);
}

TEST_F(LevellingDialogTest, OnlyNotesListedChangesSilently)
{
    Open("grade1.json");
    PartRecord fr1 = Record("FR1");
    fr1.SetDword(0, 0);
    m_dialog->GetPartData().PutRecord("FR1", 0, fr1);
    m_dialog->GetPartData().ClearTypeData(rec::kTypeRoutes);
    ASSERT_TRUE(Edit(9002, kCellGrade, "4"));
    EXPECT_TRUE(m_shown.empty());
    EXPECT_EQ(Grade(), 4);
    EXPECT_EQ(m_dialog->GetPartData().RowCount("R2"), 2u);
}

struct AdmissionCase {
    const char* fixture;
    int control;
    DWORD part;
    bool admitted;
};

class LevellingAdmissionTest : public LevellingDialogTest, public ::testing::WithParamInterface<AdmissionCase> {};

TEST_P(LevellingAdmissionTest, ListsAdmitOnlyReadablePartsOfTheGrade)
{
    Open(GetParam().fixture);
    EXPECT_EQ(List(GetParam().control).CheckFuncPartAddr(GetParam().part) != 0, GetParam().admitted);
}

INSTANTIATE_TEST_SUITE_P(Parts, LevellingAdmissionTest, ::testing::Values(
    AdmissionCase{"grade1.json", 9008, 100, true},
    AdmissionCase{"status1-network-other-grade.json", 9008, 100, false},   // 938 of grade 1, table grade 2
    AdmissionCase{"grade1.json", 9008, 555, false},                         // no such part
    AdmissionCase{"grade1.json", 9008, 200, false},                         // a note in the network list
    AdmissionCase{"grade1.json", 9009, 200, false},                         // already listed
    AdmissionCase{"status2-no-note.json", 9009, 201, true},
    AdmissionCase{"grade1.json", 9010, 301, false},                         // already listed
    AdmissionCase{"status2-no-note.json", 9009, 300, false},                // a route in the notes list
    AdmissionCase{"status4-route-network-missing.json", 9010, 999, false}));

TEST_F(LevellingDialogTest, RouteWithoutReadableNetworkIsRefused)
{
    Open("status4-route-network-missing.json");
    m_dialog->GetPartData().ClearTypeData(rec::kTypeRoutes);
    EXPECT_EQ(List(9010).CheckFuncPartAddr(300), 0);
}

TEST_F(LevellingDialogTest, RouteOfTheGradeIsAdmitted)
{
    Open("grade1.json");
    m_dialog->GetPartData().ClearTypeData(rec::kTypeRoutes);
    EXPECT_EQ(List(9010).CheckFuncPartAddr(300), 1);
}

// A search's parts fill the list in order: held parts, repeats and parts of another
// program or grade stay out.
TEST_F(LevellingDialogTest, SearchAddsAdmittedPartsOnce)
{
    Open("grade1.json");
    m_dialog->GetPartData().ClearTypeData(rec::kTypeRoutes);
    PartRecord held;
    held.SetDword(0, 301);
    m_dialog->GetPartData().PutRecord("R3", 0, held);
    EXPECT_EQ(List(9010).AddParts({300, 301, 300, 200, 555, 302}, 0x0236010Cu), 2);
    ASSERT_EQ(m_dialog->GetPartData().RowCount("R3"), 3u);
    EXPECT_EQ(Record("R3", 1).Dword(0), 300u);
    EXPECT_EQ(Record("R3", 2).Dword(0), 302u);
}

TEST_F(LevellingDialogTest, ManualSwitchUnlocksItsText)
{
    Open("grade1.json");
    auto& page = dynamic_cast<XSvyPartVSheet&>(*m_dialog->FindSheet(9006));
    EXPECT_TRUE(page.IsCellLocked(0, kCellRelResultManual));
    EXPECT_TRUE(page.IsCellLocked(0, kCellOverallManual));
    EXPECT_FALSE(page.IsCellLocked(0, 0x1FFF0D0Cu));
    ASSERT_TRUE(Choose(9006, kCellRelResultSwitch, 1));
    EXPECT_EQ(Record("F03").Short(rec::kF03RelResultSwitch), 1);
    EXPECT_FALSE(page.IsCellLocked(0, kCellRelResultManual));
    EXPECT_TRUE(page.IsCellLocked(0, kCellRelRequirementManual));
    ASSERT_TRUE(Edit(9006, kCellRelResultManual, "手入力の相対結果"));
    EXPECT_EQ(Record("F03").Text(rec::kF03RelResultManual), "手入力の相対結果");
}

// A new part: list defaults (no settings file yet), grade 1, the host's zone and today.
TEST_F(LevellingDialogTest, NewPartTakesDefaultsZoneAndToday)
{
    KjnXyda_Nt::SetCurrentZone(0x20B);
    Open("grade1.json", 0);
    KjnXyda_Nt::SetCurrentZone(9);
    const PartRecord f1 = Record("F1");
    EXPECT_EQ(f1.Short(rec::kF1Grade), 1);
    EXPECT_EQ(f1.Short(rec::kF1Zone), 11);
    EXPECT_EQ(f1.Text(rec::kF1Created), plugcommon::FormatTodayEraDate());
    EXPECT_EQ(f1.Text(rec::kF1Scope), "○○地区の水準点");
    EXPECT_EQ(Record("F03").Text(rec::kF03OverallManual), "位置正確度を満たす");
    EXPECT_EQ(Record("F03").Short(rec::kF03RelResultSwitch), 0);
}

TEST_F(LevellingDialogTest, ListCellsOfferTheListFileEntries)
{
    Open("grade1.json");
    auto* header = dynamic_cast<XSvyPartVSheet*>(m_dialog->FindSheet(9002));
    ASSERT_NE(header, nullptr);
    int row = 0;
    int col = 0;
    ASSERT_TRUE(header->CodeToCell(0x7FFF0D0Cu, 0, row, col));   // 総合否: list "評価結果"
    EXPECT_EQ(header->CellListEntries(row, col), (std::vector<std::string>{"合格", "不合格"}));
    ASSERT_TRUE(header->EditCellList(row, col, 1));
    EXPECT_EQ(Record("F1").Text(rec::kF1Verdict), "不合格");
}

TEST_F(LevellingDialogTest, PartListTabsSetTheProgramFilter)
{
    Open("grade1.json");
    EXPECT_EQ(m_dialog->ProgramFilter(), 0);
    EXPECT_EQ(m_dialog->CurrentList(), nullptr);
    ASSERT_TRUE(m_dialog->PressButton(CPartDlg::kCmdClearList));   // nothing to clear yet
    EXPECT_EQ(m_dialog->GetPartData().RowCount("R3"), 3u);
    for (const auto& [tab, program] : std::vector<std::pair<int, short>>{{5, 938}, {6, 921}, {7, 935}}) {
        ASSERT_TRUE(m_dialog->SelectTab(tab));
        EXPECT_EQ(m_dialog->ProgramFilter(), program);
    }
    ASSERT_TRUE(m_dialog->PressButton(CPartDlg::kCmdClearList));
    EXPECT_EQ(m_dialog->GetPartData().RowCount("R3"), 0u);
    EXPECT_EQ(m_dialog->GetPartData().RowCount("R2"), 2u);
}

TEST_F(LevellingDialogTest, OkStoresRecordsAndBothSettingsFiles)
{
    Open("grade1.json");
    ASSERT_TRUE(Edit(9002, 0x0FFF0D0Cu, "新しい製品名"));
    ASSERT_TRUE(m_dialog->PressButton(1));
    QCoreApplication::processEvents();
    PartData stored;
    ASSERT_TRUE(GetCurrentPartSystem()->LoadPart(1, stored));
    PartRecord f1;
    ASSERT_TRUE(stored.GetRecord("F1", 0, f1));
    EXPECT_EQ(f1.Text(rec::kF1Product), "新しい製品名");
    EXPECT_TRUE(std::filesystem::exists(LevellingSettings::CommonDataFile()));
    EXPECT_TRUE(std::filesystem::exists(LevellingSettings::UserRootFile()));
}

} // namespace
} // namespace mod00963
