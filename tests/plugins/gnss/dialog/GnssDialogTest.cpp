// The table dialog on a display: shown sets by survey kind, the survey-kind sheet, the
// positional page's locks and the CSV button after part changes.
#include "../GnssSeed.h"

#include "plugins/common/EraDate.h"
#include "plugins/gnss/CPartDlg.h"
#include "plugins/gnss/GnssDialogLayout.h"
#include "plugins/gnss/GnssTableAccess.h"
#include "plugins/gnss/GnssTableSet.h"
#include "plugins/gnss/XSvyPartVSheet.h"

#include "hostfw/CTab04827DB.h"
#include "hostfw/HostMessages.h"
#include "hostfw/PeldaIni.h"
#include "hostfw/Tab04827Data.h"
#include "hostfw/VCmdData.h"
#include "hostfw/gnss/KjnXyda_Nt.h"
#include "tests/plugins/DialogLook.h"
#include "tests/plugins/common/PersonActions.h"

#include <QApplication>

#include <filesystem>

#include <gtest/gtest.h>

namespace mod04827 {
namespace {

using test::GnssSeed;
using test::Row;
using test::Rows;

QApplication& App()
{
    static int argc = 1;
    static char name[] = "gnss_dialog_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

class GnssDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        App();
        SetHostMessageHandler([](const std::string&, const std::string&, unsigned) { return kIdOk; });
    }
    void TearDown() override
    {
        CVApp::Instance().CloseAllPartDialogs();
        SetHostMessageHandler({});
    }

    CPartDlg* Open(const GnssSeed& seed, DWORD part = 1)
    {
        std::string error;
        PartSystem* system = seed.Apply(error);
        EXPECT_TRUE(system) << error;
        if (!system) return nullptr;
        CVApp::Instance().SetPluginDataDir(TESSARA_PLUGIN_DATA);
        m_cmd = VCmdData(4827, part);
        auto* dialog = new CPartDlg(&m_cmd, std::make_unique<CTab04827DB>(system), nullptr, 33);
        if (!dialog->Create()) {
            delete dialog;
            ADD_FAILURE() << "dialog not created";
            return nullptr;
        }
        return dialog;
    }

    static bool Shown(CPartDlg& d, int place) { return !d.Sheet(place)->isHidden(); }

    VCmdData m_cmd;
};

class ShownSetByKind : public GnssDialogTest, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(ShownSetByKind, HeaderAndFirstPageOfTheKindsSet)
{
    GnssSeed seed;
    seed.SurveyPart(GetParam().first, {0, 0, 0, 0, 0});
    CPartDlg* d = Open(seed);
    ASSERT_TRUE(d);
    const int header = GetParam().second;
    for (int h : {1, 8, 15, 21}) EXPECT_EQ(Shown(*d, h), h == header) << h;
    int shownPages = 0;
    for (int place = 3; place <= 26; ++place) {
        const SheetPlace* p = FindSheetPlace(place);
        if (p && p->pageType != 0 && p->pageType != 7 && Shown(*d, place)) ++shownPages;
    }
    EXPECT_EQ(shownPages, 1);
}
INSTANTIATE_TEST_SUITE_P(Cases, ShownSetByKind,
                         ::testing::Values(std::pair{0, 1}, std::pair{1, 8}, std::pair{2, 15}, std::pair{3, 21},
                                           std::pair{4, 1}));

TEST_F(GnssDialogTest, ToolbarButtonsSayWhatTheyDoAndEveryTabIsWhole)
{
    GnssSeed seed;
    seed.SurveyPart(1, {0, 0, 0, 0, 0});
    CPartDlg* d = Open(seed);
    ASSERT_TRUE(d);
    plugtest::ExpectToolbarNamesItsCommands(*d);
    plugtest::ExpectEveryTabWhole(*d, "gnss-dialog.png");
}

TEST_F(GnssDialogTest, LevellingTabsShowSheetsNineToThirteen)
{
    GnssSeed seed;
    seed.SurveyPart(1, {0, 0, 0, 0, 0});
    CPartDlg* d = Open(seed);
    ASSERT_TRUE(d);
    for (int tab = 0; tab < 5; ++tab) {
        ASSERT_TRUE(d->SelectTab(tab));
        EXPECT_TRUE(Shown(*d, 9 + tab)) << tab;
        EXPECT_FALSE(Shown(*d, 3 + tab)) << tab;
    }
}

TEST_F(GnssDialogTest, KindChangeOnTheKindSheetSwitchesTheSetAtOnce)
{
    GnssSeed seed;
    seed.SurveyPart(1, {0, 0, 0, 0, 0});   // a levelling part on a control-point work: kind sheet editable
    CPartDlg* d = Open(seed);
    ASSERT_TRUE(d);
    EXPECT_FALSE(d->IsKindFixed());
    XSvyPartVSheet* kind = d->Sheet(kSurveyKindSheet);
    EXPECT_TRUE(kind->isEnabled());
    int row = 0;
    int col = 0;
    ASSERT_TRUE(kind->CodeToCell(0x0FFF0D0C, 0, row, col));
    ASSERT_TRUE(kind->EditCellText(row, col, "2"));
    EXPECT_TRUE(Shown(*d, 15));
    EXPECT_FALSE(Shown(*d, 8));
    EXPECT_TRUE(Shown(*d, 16));
}

TEST_F(GnssDialogTest, KindFittingTheConditionsDisablesTheKindSheet)
{
    GnssSeed seed;
    CPartDlg* d = Open(seed);
    ASSERT_TRUE(d);
    EXPECT_TRUE(d->IsKindFixed());
    EXPECT_FALSE(d->Sheet(kSurveyKindSheet)->isEnabled());
}

TEST_F(GnssDialogTest, PositionalLockFollowsSwitchThree)
{
    GnssSeed seed;
    CPartDlg* d = Open(seed);
    ASSERT_TRUE(d);
    Tab04827Data& data = *d->PartDataAs<Tab04827Data>();
    PartRecord f03;
    ASSERT_TRUE(data.GetRec("F03", f03));
    f03.SetText(6, "stored result");
    data.PutRec("F03", f03);
    XSvyPartVSheet* page = d->Sheet(5);
    page->ReloadPartData();
    int row = 0;
    int col = 0;
    ASSERT_TRUE(page->CodeToCell(0x3FFF0D0C, 0, row, col));
    EXPECT_TRUE(page->IsCellReadOnly(row, col));
    EXPECT_EQ(page->DisplayText(row, col), "");
    EXPECT_EQ(page->BackgroundColour(row, col), 0xF0F0F0u);
    EXPECT_TRUE(page->CellListEntries(row, col).empty());   // a locked cell opens no list
    EXPECT_FALSE(page->EditCellText(row, col, "typed"));

    int swRow = 0;
    int swCol = 0;
    ASSERT_TRUE(page->CodeToCell(0x31C4046E, 0, swRow, swCol));
    ASSERT_TRUE(page->EditCellList(swRow, swCol, 1));   // manual
    EXPECT_FALSE(page->IsCellReadOnly(row, col));
    EXPECT_EQ(page->DisplayText(row, col), "stored result");
}

TEST_F(GnssDialogTest, CsvButtonFollowsEveryPartChange)
{
    GnssSeed seed;
    QJsonObject records{{"F2", Rows({Row({9})})}, {"F3", Rows({Row({0})})}};
    seed.Part(4827, 2, records);   // work 9 has no work-table entry
    CPartDlg* d = Open(seed);
    ASSERT_TRUE(d);
    EXPECT_TRUE(d->IsCsvButtonEnabled());
    ASSERT_TRUE(d->ChangePart(2));
    EXPECT_FALSE(d->IsCsvButtonEnabled());
    ASSERT_TRUE(d->ChangePart(1));
    EXPECT_TRUE(d->IsCsvButtonEnabled());
}

TEST_F(GnssDialogTest, CalcRegisterLeavesAReadOnlyPartUnchanged)
{
    GnssSeed seed;
    CPartDlg* d = Open(seed);
    ASSERT_TRUE(d);
    std::string common;
    ASSERT_TRUE(PeldaIni::GetBinderCommonDataPath(common));
    const std::string ini = JoinHostPath(common, "GPSHYOUKA.ini");
    d->SetChanged(false);
    d->SetReadOnly(true);
    EXPECT_FALSE(d->OnCommand(CVPartDlg::kCmdCalcReg));
    EXPECT_FALSE(d->IsChanged());
    EXPECT_FALSE(std::filesystem::exists(ini));
    d->SetReadOnly(false);
    EXPECT_TRUE(d->OnCommand(CVPartDlg::kCmdCalcReg));   // registered: saved with its eight INI files
    EXPECT_FALSE(d->IsChanged());
    EXPECT_TRUE(std::filesystem::exists(ini));
}

TEST_F(GnssDialogTest, NewPartTakesWorkKindZoneAndDate)
{
    GnssSeed seed;
    seed.Condition("JGpsHyoVur", 1, QJsonObject{{"use4", 1}});
    plugcommon::SetEraClock([] {
        std::tm t{};
        t.tm_year = 2026 - 1900;
        t.tm_mon = 11;
        t.tm_mday = 10;
        return std::optional<std::tm>(t);
    });
    const int zone = KjnXyda_Nt::CurrentZone();
    KjnXyda_Nt::SetCurrentZone(12);
    CPartDlg* d = Open(seed, 0);
    KjnXyda_Nt::SetCurrentZone(zone);
    plugcommon::SetEraClock({});
    ASSERT_TRUE(d);
    const Tab04827Data& data = *d->PartDataAs<Tab04827Data>();
    EXPECT_EQ(ReadWorkNo(data), 1);
    EXPECT_EQ(ReadSurveyKind(data), 3);
    EXPECT_TRUE(d->IsKindFixed());
    EXPECT_TRUE(d->IsCsvButtonEnabled());
    EXPECT_TRUE(Shown(*d, 21));
    GnssTableSet control;
    GnssTableSet elevation;
    ASSERT_TRUE(ReadTableSet(data, SurveyVariant::Control, control));
    ASSERT_TRUE(ReadTableSet(data, SurveyVariant::Elevation4, elevation));
    EXPECT_EQ(control.Zone(), 12);
    EXPECT_EQ(elevation.Zone(), 1);
    EXPECT_EQ(control.Text(GnssRecord::F1, 2), "令和8年12月10日");
    EXPECT_EQ(elevation.Text(GnssRecord::F1, 2), "令和8年12月10日");
}

// The survey kind is chosen by name from a fixed list, and the shown set follows it at
// once; the header's coordinate system shows the name the form prints.
TEST_F(GnssDialogTest, SurveyKindAndZoneAreChosenByName)
{
    GnssSeed seed;
    seed.SurveyPart(1, {0, 0, 0, 0, 0});
    CPartDlg* d = Open(seed);
    ASSERT_TRUE(d);
    ASSERT_TRUE(plugtest::MakeActive(*d));
    XSvyPartVSheet& kind = *d->Sheet(kSurveyKindSheet);
    const auto shown = [](CVSheet& sheet, DWORD code) {
        const QModelIndex at = plugtest::CellIndex(sheet, code);
        return sheet.DisplayText(at.row(), at.column());
    };
    EXPECT_EQ(shown(kind, 0x0FFF0D0Cu), "水準測量");
    QComboBox* combo = plugtest::OpenEditor<QComboBox>(kind, 0x0FFF0D0Cu);
    ASSERT_NE(combo, nullptr);
    EXPECT_FALSE(combo->isEditable());
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i) entries << combo->itemText(i);
    EXPECT_EQ(entries, (QStringList{"基準点測量", "水準測量", "標高測量(３級)", "標高測量(４級)"}));
    QTest::keyClick(combo, Qt::Key_Escape);

    ASSERT_TRUE(plugtest::PickEntry(kind, 0x0FFF0D0Cu, 2));
    EXPECT_EQ(ReadSurveyKind(*d->PartDataAs<Tab04827Data>()), 2);
    EXPECT_EQ(shown(kind, 0x0FFF0D0Cu), "標高測量(３級)");
    EXPECT_TRUE(Shown(*d, 15));
    EXPECT_FALSE(Shown(*d, 8));

    XSvyPartVSheet& header = *d->Sheet(15);
    ASSERT_TRUE(plugtest::PickEntry(header, 0x0FFF0E0Cu, 8));
    GnssTableSet elevation;
    ASSERT_TRUE(ReadTableSet(*d->PartDataAs<Tab04827Data>(), SurveyVariant::Elevation3, elevation));
    EXPECT_EQ(elevation.Zone(), 9);
    EXPECT_EQ(shown(header, 0x0FFF0E0Cu), "平面直角座標系 Ⅸ系");
}

TEST_F(GnssDialogTest, TypedSurveyKindOrZoneOutsideTheListIsRefused)
{
    GnssSeed seed;
    seed.SurveyPart(1, {0, 0, 0, 0, 0});
    CPartDlg* d = Open(seed);
    ASSERT_TRUE(d);
    std::vector<std::string> shown;
    SetHostMessageHandler([&](const std::string& text, const std::string&, unsigned) {
        shown.push_back(text);
        return kIdOk;
    });
    const auto edit = [](CVSheet& sheet, DWORD code, const std::string& text) {
        const QModelIndex at = plugtest::CellIndex(sheet, code);
        return dynamic_cast<CVPartVSheet&>(sheet).EditCellText(at.row(), at.column(), text);
    };
    EXPECT_FALSE(edit(*d->Sheet(kSurveyKindSheet), 0x0FFF0D0Cu, "4"));
    EXPECT_FALSE(edit(*d->Sheet(8), 0x0FFF0E0Cu, "-3"));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_NE(shown[0].find("測量区分は一覧の中から選んでください。"), std::string::npos) << shown[0];
    EXPECT_EQ(ReadSurveyKind(*d->PartDataAs<Tab04827Data>()), 1);
    EXPECT_TRUE(edit(*d->Sheet(kSurveyKindSheet), 0x0FFF0D0Cu, "標高測量(４級)"));
    EXPECT_EQ(ReadSurveyKind(*d->PartDataAs<Tab04827Data>()), 3);
}

// The work's GNSS conditions are one click away on the command bar, for a part with a
// work; a part without one has nothing to show.
TEST_F(GnssDialogTest, ConditionsButtonShowsTheWorksConditions)
{
    GnssSeed seed;
    QJsonObject records{{"F2", Rows({Row({9})})}, {"F3", Rows({Row({0})})}};
    seed.Part(4827, 2, records);   // work 9 has no work-table entry
    CPartDlg* d = Open(seed);
    ASSERT_TRUE(d);
    ASSERT_TRUE(plugtest::MakeActive(*d));
    std::vector<std::string> captions;
    SetHostMessageHandler([&](const std::string&, const std::string& caption, unsigned) {
        captions.push_back(caption);
        return kIdOk;
    });
    QAction* conditions = d->CmdButtonAction(CPartDlg::kCmdConditions);
    ASSERT_NE(conditions, nullptr);
    EXPECT_EQ(conditions->text().toStdString(), "作業条件");
    ASSERT_TRUE(plugtest::ClickCommand(*d, conditions));
    EXPECT_EQ(captions, std::vector<std::string>{"GNSS条件"});
    ASSERT_TRUE(d->ChangePart(2));
    EXPECT_FALSE(conditions->isEnabled());
}

}  // namespace
}  // namespace mod04827
