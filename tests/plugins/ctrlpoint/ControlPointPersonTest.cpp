// The control-point table dialog as a person works it: grade, coordinate system and
// network kind chosen by name, part numbers typed into the part lists, and the
// part-list commands from the command bar and the lists' context menu. Real key and
// mouse events on a shown, active dialog.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QTabBar>

#include "hostfw/CTab00519DB.h"
#include "hostfw/CVPartDocument.h"
#include "hostfw/ctrlpoint/QueryRyoiki.h"
#include "plugins/ctrlpoint/CPartDlg.h"
#include "plugins/ctrlpoint/ControlPointPartList.h"
#include "plugins/ctrlpoint/ControlPointRecords.h"
#include "plugins/ctrlpoint/PositionalLock.h"
#include "tests/plugins/common/PersonActions.h"

namespace mod00519 {
namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new plugtest::QtEnvironment);

constexpr DWORD kCellZone = 0x01C40361u;
constexpr DWORD kCell628 = 0x0236011Cu;
constexpr DWORD kCell631 = 0x0236012Cu;
constexpr DWORD kCellListFirst = 0x0236010Cu;
constexpr DWORD kCellHeightRoute = 0x0236020Cu;
constexpr int kHeader = 9002;
constexpr int kNetworkPage = 9003;

class ControlPointPersonTest : public plugtest::PersonDialogTest<CPartDlg, CTab00519DB> {
protected:
    void Open(const std::string& fixture = "strict-network.json") { OpenShown("ctrlpoint", 519, 33, fixture); }
};

TEST_F(ControlPointPersonTest, HeaderCodesAreShownAndChosenByName)
{
    Open();
    EXPECT_EQ(Shown(kHeader, kCellGrade), "2級基準点");
    QComboBox* combo = plugtest::OpenEditor<QComboBox>(Sheet(kHeader), kCellGrade);
    ASSERT_NE(combo, nullptr);
    EXPECT_FALSE(combo->isEditable());
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i)
        entries << combo->itemText(i);
    EXPECT_EQ(entries, (QStringList{"1級基準点", "2級基準点", "3級基準点", "4級基準点"}));
    QTest::keyClick(combo, Qt::Key_Escape);

    ASSERT_TRUE(plugtest::PickEntry(Sheet(kHeader), kCellZone, 8));
    EXPECT_EQ(Record("F1").Short(rec::kF1Zone), 9);
    EXPECT_EQ(Shown(kHeader, kCellZone), "平面直角座標系 Ⅸ系");
    EXPECT_FALSE(Edit(kHeader, kCellZone, "-3"));
    EXPECT_FALSE(Edit(kHeader, kCellGrade, "5"));   // the form knows 1級 to 4級 only
    EXPECT_EQ(m_shown.size(), 2u);
    EXPECT_EQ(Record("F1").Short(rec::kF1Grade), 2);
}

// Declining keeps grade 2 and the chosen parts; accepting drops the networks and the
// check calculations and keeps the check surveys.
TEST_F(ControlPointPersonTest, GradeChoiceAsksBeforeDroppingChosenParts)
{
    Open();
    m_answers = {kIdNo};
    ASSERT_TRUE(plugtest::PickEntry(Sheet(kHeader), kCellGrade, 0));
    ASSERT_EQ(m_shown.size(), 1u);
    EXPECT_EQ(Record("F1").Short(rec::kF1Grade), 2);
    EXPECT_EQ(Shown(kHeader, kCellGrade), "2級基準点");
    EXPECT_EQ(Record("FR1").Dword(0), 10u);
    m_answers = {kIdYes};
    ASSERT_TRUE(plugtest::PickEntry(Sheet(kHeader), kCellGrade, 2));
    ASSERT_EQ(m_shown.size(), 2u);
    EXPECT_EQ(Record("F1").Short(rec::kF1Grade), 3);
    EXPECT_EQ(Record("FR1").Dword(0), 0u);
    EXPECT_EQ(Rows("R4"), 0u);
    EXPECT_EQ(Rows("R3"), 2u);
}

TEST_F(ControlPointPersonTest, NetworkKindChosenByNameSwapsTheList)
{
    Open();
    ClickTab(5);
    EXPECT_EQ(Shown(kNetworkPage, kCellNetworkKind), "厳密網");
    ASSERT_TRUE(plugtest::PickEntry(Sheet(kNetworkPage), kCellNetworkKind, 2));
    QCoreApplication::processEvents();
    EXPECT_EQ(Record("F2").Short(rec::kF2NetworkKind), 2);
    ASSERT_NE(m_dialog->CurrentList(), nullptr);
    EXPECT_EQ(m_dialog->CurrentList()->Kind(), PartListKind::SingleRoute);
    EXPECT_TRUE(m_dialog->CurrentList()->isVisible());
    EXPECT_FALSE(Command(CPartDlg::kCmdBoardUpdate)->isEnabled()) << "the single-route list imports no boards";
}

struct TypedPart {
    const char* fixture;
    int tab;
    int control;
    DWORD code;
    int rec;
    const char* typed;
    const char* says;
};

class TypedPartTest : public ControlPointPersonTest, public ::testing::WithParamInterface<TypedPart> {};

// A number typed into a part list passes the rules a searched part passes: the cell's
// program, the table's grade, no check survey twice.
TEST_P(TypedPartTest, RefusedWithTheReason)
{
    const TypedPart& c = GetParam();
    Open(c.fixture);
    ExpectTypedPartRefused(c.tab, c.control, c.code, c.rec, c.typed, c.says);
}

INSTANTIATE_TEST_SUITE_P(Lists, TypedPartTest, ::testing::Values(
    TypedPart{"strict-network.json", 5, 9008, kCell628, 0, "60", "プログラム684"},   // a height route as the 628
    TypedPart{"strict-network.json", 5, 9008, kCell628, 0, "11", "プログラム631"},   // the 631 in the 628 cell
    TypedPart{"strict-network.json", 5, 9008, kCell631, 0, "999", "パート999はありません"},
    TypedPart{"strict-network.json", 7, 9010, kCellListFirst, 2, "31", "既に一覧にあります"},
    TypedPart{"strict-network.json", 7, 9010, kCellListFirst, 2, "50", "プログラム687"},
    TypedPart{"strict-network.json", 7, 9010, kCellListFirst, 2, "999", "パート999はありません"},
    TypedPart{"strict-network.json", 6, 9013, kCellListFirst, 2, "60", "プログラム684"},   // height in the horizontal column
    TypedPart{"strict-network.json", 6, 9013, kCellHeightRoute, 2, "50", "プログラム687"},
    TypedPart{"strict-network.json", 6, 9013, kCellHeightRoute, 2, "999", "パート999はありません"},
    TypedPart{"wrong-grade.json", 6, 9013, kCellListFirst, 2, "52", "等級区分"},
    TypedPart{"arbitrary-network.json", 5, 9009, kCell628, 0, "1", "プログラム519"}));   // the table itself

TEST_F(ControlPointPersonTest, TypedPartOfTheCellsProgramIsTaken)
{
    Open();
    ClickTab(6);
    CVPartVSheet& calcs = dynamic_cast<CVPartVSheet&>(Sheet(9013));
    ASSERT_TRUE(plugtest::TypeIntoCell(calcs, kCellHeightRoute, "61", 2));
    EXPECT_TRUE(m_shown.empty()) << m_shown.front();
    EXPECT_EQ(Rows("R4"), 3u);
}

TEST_F(ControlPointPersonTest, CommandBarKeepsTheHostsOrderThenThePartListCommands)
{
    Open();
    EXPECT_EQ(CommandBarTexts(), (QStringList{"先頭のパート", "最後のパート", "前のパート", "次のパート", "|", "計算登録", "元に戻す",
                                  "パート情報", "|", "抽出検索", "一覧選択", "一覧クリア", "領域指定", "ボード取込"}));
}

struct Enabling {
    int tab;
    bool ticked;          // 点検測量結果を出力する
    bool search;          // search and clear
    bool boards;
};

class EnablingTest : public ControlPointPersonTest, public ::testing::WithParamInterface<Enabling> {};

TEST_P(EnablingTest, CommandsFollowTheCurrentList)
{
    Open();
    if (!GetParam().ticked) {
        ClickTab(7);
        auto* box = m_dialog->findChild<QCheckBox*>();
        ASSERT_NE(box, nullptr);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        ASSERT_FALSE(box->isChecked());
    }
    ClickTab(GetParam().tab);
    for (const int id : {CPartDlg::kCmdSearchExtract, CPartDlg::kCmdSearchSelect, CPartDlg::kCmdClearList})
        EXPECT_EQ(Command(id)->isEnabled(), GetParam().search) << id;
    EXPECT_EQ(Command(CPartDlg::kCmdBoardUpdate)->isEnabled(), GetParam().boards);
    EXPECT_TRUE(Command(CPartDlg::kCmdQueryArea)->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Tabs, EnablingTest, ::testing::Values(
    Enabling{0, true, false, false},    // a quality-element tab: no list
    Enabling{5, true, true, true},      // the strict network
    Enabling{6, true, true, true},      // the check calculations
    Enabling{7, true, true, false},     // the check surveys
    Enabling{7, false, false, false},   // unticked: the greyed list takes nothing
    Enabling{4, false, false, false}));

TEST_F(ControlPointPersonTest, PartListCommandsFromTheCommandBar)
{
    Open();
    ClickTab(6);
    ASSERT_TRUE(plugtest::ClickCommand(*m_dialog, Command(CPartDlg::kCmdClearList)));
    ASSERT_EQ(Rows("R4"), 0u);
    ASSERT_TRUE(plugtest::ClickCommand(*m_dialog, Command(CPartDlg::kCmdSearchExtract)));
    EXPECT_EQ(Rows("R4"), 2u);
    ASSERT_TRUE(plugtest::ClickCommand(*m_dialog, Command(CPartDlg::kCmdClearList)));
    ASSERT_TRUE(plugtest::ClickCommand(*m_dialog, Command(CPartDlg::kCmdSearchSelect)));
    EXPECT_EQ(Rows("R4"), 2u);
    ASSERT_TRUE(plugtest::ClickCommand(*m_dialog, Command(CPartDlg::kCmdClearList)));
    PeldaGetApp().GetDocument()->SetBoards(CVPartDocument::kBoardPart, {50, 61, 10, 51, 60});
    ASSERT_TRUE(plugtest::ClickCommand(*m_dialog, Command(CPartDlg::kCmdBoardUpdate)));
    EXPECT_EQ(Rows("R4"), 2u);
    const int queries = QueryRyoikiCallCount();
    ASSERT_TRUE(plugtest::ClickCommand(*m_dialog, Command(CPartDlg::kCmdQueryArea)));
    EXPECT_EQ(QueryRyoikiCallCount(), queries + 1);
}

TEST_F(ControlPointPersonTest, PartListCommandsFromTheListsContextMenu)
{
    Open();
    ClickTab(7);
    CVSheet& handbooks = Sheet(9010);
    const auto cell = [&] { return plugtest::CellIndex(handbooks, kCellListFirst, 0); };
    QStringList enabled;
    ASSERT_TRUE(plugtest::ChooseFromContextMenu(handbooks, cell(), "一覧クリア", [&](QMenu& menu) {
        for (QAction* action : menu.actions())
            if (action->isEnabled())
                enabled << action->text();
    }));
    EXPECT_EQ(enabled, (QStringList{"抽出検索", "一覧選択", "一覧クリア", "領域指定"}));
    EXPECT_EQ(Rows("R3"), 0u);
    ASSERT_TRUE(plugtest::ChooseFromContextMenu(handbooks, cell(), "抽出検索"));
    EXPECT_EQ(Rows("R3"), 2u);
    ASSERT_TRUE(plugtest::ChooseFromContextMenu(handbooks, cell(), "一覧選択"));
    EXPECT_EQ(Rows("R3"), 2u);   // each handbook once
    const int queries = QueryRyoikiCallCount();
    ASSERT_TRUE(plugtest::ChooseFromContextMenu(handbooks, cell(), "領域指定"));
    EXPECT_EQ(QueryRyoikiCallCount(), queries + 1);

    ClickTab(5);
    CVSheet& strict = Sheet(9008);
    ASSERT_TRUE(plugtest::ChooseFromContextMenu(strict, plugtest::CellIndex(strict, kCell628), "一覧クリア"));
    EXPECT_EQ(Record("FR1").Dword(0), 0u);
    PeldaGetApp().GetDocument()->SetBoards(CVPartDocument::kBoardPart, {60, 10});
    ASSERT_TRUE(plugtest::ChooseFromContextMenu(strict, plugtest::CellIndex(strict, kCell628), "ボード取込"));
    EXPECT_EQ(Record("FR1").Dword(0), 10u);
}

} // namespace
} // namespace mod00519
