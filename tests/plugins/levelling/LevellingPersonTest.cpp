// The levelling table dialog as a person works it: the grade and coordinate system
// chosen by name, part numbers typed into the part lists, and the part-list commands
// from the command bar and the lists' context menu. Real key and mouse events on a
// shown, active dialog.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QTabBar>

#include "hostfw/CTab00963DB.h"
#include "hostfw/ctrlpoint/QueryRyoiki.h"
#include "plugins/levelling/CPartDlg.h"
#include "plugins/levelling/CVSheetPartListX.h"
#include "plugins/levelling/LevellingLock.h"
#include "plugins/levelling/LevellingRecords.h"
#include "plugins/levelling/XSvyPartVSheet.h"
#include "tests/plugins/common/PersonActions.h"

namespace mod00963 {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new plugtest::QtEnvironment);

constexpr DWORD kCellZone = 0x01C40466u;
constexpr DWORD kCellNetworkPart = 0x0236011Cu;
constexpr DWORD kCellListPart = 0x0236010Cu;
constexpr int kHeader = 9002;
const std::string kQuestion = "等級区分を変更すると水準網・水準点検路線の入力データが破棄されます。\nよろしいですか？";

class LevellingPersonTest : public plugtest::PersonDialogTest<CPartDlg, CTab00963DB> {
protected:
    void Open(const std::string& fixture = "grade1.json") { OpenShown("levelling", 963, 0x4001, fixture); }
};

TEST_F(LevellingPersonTest, GradeCellOffersOnlyTheFiveGradesByName)
{
    Open();
    EXPECT_EQ(Shown(kHeader, kCellGrade), "1級水準測量");
    QComboBox* combo = plugtest::OpenEditor<QComboBox>(Sheet(kHeader), kCellGrade);
    ASSERT_NE(combo, nullptr);
    EXPECT_FALSE(combo->isEditable()) << "a grade is chosen, never typed";
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i)
        entries << combo->itemText(i);
    EXPECT_EQ(entries, (QStringList{"1級水準測量", "2級水準測量", "3級水準測量", "4級水準測量", "簡易水準測量"}));
    EXPECT_EQ(combo->currentIndex(), 0);
    QTest::keyClick(combo, Qt::Key_Escape);
}

// A grade the list does not hold (9, from a part stored before the grade was a list)
// stays shown in the open drop-down with no entry chosen: Return without a pick keeps
// it, asks nothing and stores nothing else.
TEST_F(LevellingPersonTest, ReturnWithoutAPickKeepsAGradeOutsideTheList)
{
    Open();
    PartRecord f1 = Record("F1");
    f1.SetShort(rec::kF1Grade, 9);
    m_dialog->GetPartData().PutRecord("F1", 0, f1);
    auto& header = dynamic_cast<XSvyPartVSheet&>(Sheet(kHeader));
    header.ReloadPartData();
    header.RememberPartGrade();   // as if the part had been loaded with it
    ASSERT_EQ(Shown(kHeader, kCellGrade), "9");
    QComboBox* combo = plugtest::OpenEditor<QComboBox>(Sheet(kHeader), kCellGrade);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->currentIndex(), -1) << "the drop-down opened on an entry";
    EXPECT_EQ(combo->currentText(), QString());
    EXPECT_EQ(combo->placeholderText(), QString("9"));
    QTest::keyClick(combo, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_TRUE(m_shown.empty()) << m_shown.front();
    EXPECT_EQ(Record("F1").Short(rec::kF1Grade), 9);
    EXPECT_EQ(Shown(kHeader, kCellGrade), "9");
    EXPECT_EQ(Record("FR1").Dword(0), 100u);
    EXPECT_EQ(Rows("R3"), 3u);
    // A step with the keys shows the first grade; Return chooses it, and the choice
    // asks; declined, the grade the part had comes back.
    combo = plugtest::OpenEditor<QComboBox>(Sheet(kHeader), kCellGrade);
    ASSERT_NE(combo, nullptr);
    m_answers = {kIdNo};
    QTest::keyClick(combo, Qt::Key_Down);
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_EQ(Record("F1").Short(rec::kF1Grade), 9) << "a step is not yet a choice";
    EXPECT_TRUE(m_shown.empty());
    QTest::keyClick(combo, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_shown, std::vector<std::string>{kQuestion});
    EXPECT_EQ(Record("F1").Short(rec::kF1Grade), 9);
    EXPECT_EQ(Shown(kHeader, kCellGrade), "9");
    EXPECT_EQ(Record("FR1").Dword(0), 100u);
}

struct GradeChoice {
    int answer;
    short grade;          // stored afterwards
    DWORD network;        // FR1 afterwards
    std::size_t routes;   // R3 rows afterwards
};

class GradeChoiceTest : public LevellingPersonTest, public ::testing::WithParamInterface<GradeChoice> {};

// Picking 3級 on a grade-1 table with a network and check routes asks first: No puts
// grade 1 back in the cell, Yes drops the network and the routes; the notes stay.
TEST_P(GradeChoiceTest, ChoosingAnotherGradeAsksFirst)
{
    Open();
    m_answers = {GetParam().answer};
    ASSERT_TRUE(plugtest::PickEntry(Sheet(kHeader), kCellGrade, 2));
    ASSERT_EQ(m_shown, std::vector<std::string>{kQuestion});
    EXPECT_EQ(Record("F1").Short(rec::kF1Grade), GetParam().grade);
    EXPECT_EQ(Shown(kHeader, kCellGrade), GetParam().grade == 1 ? "1級水準測量" : "3級水準測量");
    EXPECT_EQ(Record("FR1").Dword(0), GetParam().network);
    EXPECT_EQ(Rows("R3"), GetParam().routes);
    EXPECT_EQ(Rows("R2"), 2u);
    // The lists show what is stored.
    EXPECT_EQ(Sheet(9010).RowCount(), static_cast<int>(GetParam().routes) + 1);
}

INSTANTIATE_TEST_SUITE_P(Answers, GradeChoiceTest,
                         ::testing::Values(GradeChoice{kIdNo, 1, 100, 3}, GradeChoice{kIdYes, 3, 0, 0}));

TEST_F(LevellingPersonTest, CoordinateSystemIsShownAndChosenByTheFormsName)
{
    Open();
    ASSERT_TRUE(plugtest::PickEntry(Sheet(kHeader), kCellZone, 8));
    EXPECT_EQ(Record("F1").Short(rec::kF1Zone), 9);
    EXPECT_EQ(Shown(kHeader, kCellZone), "平面直角座標系 Ⅸ系");
    ASSERT_TRUE(plugtest::PickEntry(Sheet(kHeader), kCellZone, 10));
    EXPECT_EQ(Record("F1").Short(rec::kF1Zone), 11);
    EXPECT_EQ(Shown(kHeader, kCellZone), "平面直角座標系 ⅩⅠ系");
    EXPECT_TRUE(m_shown.empty());
}

// What a script or a paste may still hand the cell: only a value the form can print.
TEST_F(LevellingPersonTest, EnteredCodeOutsideTheListIsRefusedWithAMessage)
{
    Open();
    for (const char* entry : {"-3", "99999999999", "0", "20", "Ⅸ", "9.5"}) {
        m_shown.clear();
        EXPECT_FALSE(Edit(kHeader, kCellZone, entry)) << entry;
        ASSERT_EQ(m_shown.size(), 1u) << entry;
        EXPECT_NE(m_shown[0].find("座標系は一覧の中から選んでください。"), std::string::npos) << m_shown[0];
        EXPECT_EQ(Record("F1").Short(rec::kF1Zone), 9) << entry;
    }
    m_shown.clear();
    EXPECT_FALSE(Edit(kHeader, kCellGrade, "9"));
    ASSERT_EQ(m_shown.size(), 1u);
    EXPECT_EQ(Record("F1").Short(rec::kF1Grade), 1);
    m_shown.clear();
    EXPECT_TRUE(Edit(kHeader, kCellZone, "平面直角座標系 Ⅲ系"));
    EXPECT_EQ(Record("F1").Short(rec::kF1Zone), 3);
    EXPECT_TRUE(Edit(kHeader, kCellZone, " 12 "));
    EXPECT_EQ(Record("F1").Short(rec::kF1Zone), 12);
    EXPECT_TRUE(m_shown.empty());
}

struct TypedPart {
    int tab;
    int control;
    DWORD code;
    int rec;
    const char* typed;
    const char* says;   // part of the message; the cell keeps what it held
};

class TypedPartTest : public LevellingPersonTest, public ::testing::WithParamInterface<TypedPart> {};

// A number typed into a part list passes the rules a searched part passes.
TEST_P(TypedPartTest, RefusedWithTheReason)
{
    Open();
    const TypedPart& c = GetParam();
    ExpectTypedPartRefused(c.tab, c.control, c.code, c.rec, c.typed, c.says);
}

INSTANTIATE_TEST_SUITE_P(Lists, TypedPartTest, ::testing::Values(
    TypedPart{5, 9008, kCellNetworkPart, 0, "200", "プログラム921"},   // a note as the network
    TypedPart{5, 9008, kCellNetworkPart, 0, "555", "パート555はありません"},
    TypedPart{6, 9009, kCellListPart, 2, "300", "プログラム935"},      // a route among the notes
    TypedPart{6, 9009, kCellListPart, 2, "555", "パート555はありません"},
    TypedPart{6, 9009, kCellListPart, 2, "201", "既に一覧にあります"},
    TypedPart{7, 9010, kCellListPart, 3, "200", "プログラム921"},      // a note among the check routes
    TypedPart{7, 9010, kCellListPart, 3, "555", "パート555はありません"},
    TypedPart{7, 9010, kCellListPart, 3, "301", "既に一覧にあります"},
    TypedPart{7, 9010, kCellListPart, 0, "302", "既に一覧にあります"}));

TEST_F(LevellingPersonTest, TypedPartOfTheGradeIsTakenAndRetypingTheSameIsQuiet)
{
    Open();
    ClickTab(7);
    CVPartVSheet& routes = dynamic_cast<CVPartVSheet&>(Sheet(9010));
    ASSERT_TRUE(plugtest::TypeIntoCell(routes, kCellListPart, "301", 1));   // the part it holds
    ASSERT_TRUE(plugtest::ClickCommand(*m_dialog, Command(CPartDlg::kCmdClearList)));
    ASSERT_EQ(Rows("R3"), 0u);
    ASSERT_TRUE(plugtest::TypeIntoCell(routes, kCellListPart, "301", 0));
    EXPECT_TRUE(m_shown.empty()) << m_shown.front();
    ASSERT_EQ(Rows("R3"), 1u);
    EXPECT_EQ(Record("R3").Dword(0), 301u);
}

TEST_F(LevellingPersonTest, CommandBarKeepsTheHostsOrderThenThePartListCommands)
{
    Open();
    EXPECT_EQ(CommandBarTexts(), (QStringList{"先頭のパート", "最後のパート", "前のパート", "次のパート", "|", "計算登録", "元に戻す",
                                  "パート情報", "|", "抽出検索", "一覧選択", "一覧クリア", "領域指定"}));
}

// Before a part-list tab is chosen there is no list to search or clear; the area query
// is always there. The commands then work on the list of the last part-list tab.
TEST_F(LevellingPersonTest, PartListCommandsFromTheCommandBar)
{
    Open();
    EXPECT_FALSE(Command(CPartDlg::kCmdSearchExtract)->isEnabled());
    EXPECT_FALSE(Command(CPartDlg::kCmdSearchSelect)->isEnabled());
    EXPECT_FALSE(Command(CPartDlg::kCmdClearList)->isEnabled());
    EXPECT_TRUE(Command(CPartDlg::kCmdQueryArea)->isEnabled());
    ClickTab(7);
    ASSERT_TRUE(plugtest::ClickCommand(*m_dialog, Command(CPartDlg::kCmdClearList)));
    EXPECT_EQ(Rows("R3"), 0u);
    EXPECT_EQ(Rows("R2"), 2u);
    ASSERT_TRUE(plugtest::ClickCommand(*m_dialog, Command(CPartDlg::kCmdSearchExtract)));
    EXPECT_EQ(Rows("R3"), 3u);
    ASSERT_TRUE(plugtest::ClickCommand(*m_dialog, Command(CPartDlg::kCmdClearList)));
    ASSERT_TRUE(plugtest::ClickCommand(*m_dialog, Command(CPartDlg::kCmdSearchSelect)));
    EXPECT_EQ(Rows("R3"), 3u);
    ASSERT_TRUE(plugtest::ClickCommand(*m_dialog, Command(CPartDlg::kCmdSearchSelect)));   // all held: none twice
    EXPECT_EQ(Rows("R3"), 3u);
    const int queries = QueryRyoikiCallCount();
    ASSERT_TRUE(plugtest::ClickCommand(*m_dialog, Command(CPartDlg::kCmdQueryArea)));
    EXPECT_EQ(QueryRyoikiCallCount(), queries + 1);
    EXPECT_TRUE(m_dialog->IsChanged());
}

TEST_F(LevellingPersonTest, PartListCommandsFromTheListsContextMenu)
{
    Open();
    ClickTab(6);
    CVSheet& notes = Sheet(9009);
    const QModelIndex cell = plugtest::CellIndex(notes, kCellListPart, 0);
    QStringList offered;
    ASSERT_TRUE(plugtest::ChooseFromContextMenu(notes, cell, "一覧クリア", [&](QMenu& menu) {
        for (QAction* action : menu.actions())
            offered << action->text();
    }));
    EXPECT_EQ(offered, (QStringList{"抽出検索", "一覧選択", "一覧クリア", "領域指定"}));
    EXPECT_EQ(Rows("R2"), 0u);
    EXPECT_EQ(Rows("R3"), 3u);
    ASSERT_TRUE(plugtest::ChooseFromContextMenu(notes, plugtest::CellIndex(notes, kCellListPart, 0), "抽出検索"));
    EXPECT_EQ(Rows("R2"), 2u);
    ASSERT_TRUE(plugtest::ChooseFromContextMenu(notes, plugtest::CellIndex(notes, kCellListPart, 0), "一覧クリア"));
    ASSERT_TRUE(plugtest::ChooseFromContextMenu(notes, plugtest::CellIndex(notes, kCellListPart, 0), "一覧選択"));
    EXPECT_EQ(Rows("R2"), 2u);
    const int queries = QueryRyoikiCallCount();
    ASSERT_TRUE(plugtest::ChooseFromContextMenu(notes, plugtest::CellIndex(notes, kCellListPart, 0), "領域指定"));
    EXPECT_EQ(QueryRyoikiCallCount(), queries + 1);
}

} // namespace
} // namespace mod00963
