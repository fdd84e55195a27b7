// The table dialogs of the three built plug-ins, driven as a person drives them: real
// key and mouse events on the grids and their editors, on a part system seeded from
// the examples into a fresh, empty data root.
#include <gtest/gtest.h>

#include "hostfw/CBcxGridCtrl.h"
#include "hostfw/CPartDB.h"
#include "hostfw/CVApp.h"
#include "hostfw/CVPartDlg.h"
#include "hostfw/CVPartVSheet.h"
#include "hostfw/CVSvyPartPrg.h"
#include "hostfw/HostMessages.h"
#include "hostfw/IniFile.h"
#include "hostfw/PartData.h"
#include "hostfw/PartSystem.h"
#include "hostfw/PartSystemSeed.h"
#include "hostfw/PeldaIni.h"
#include "hostfw/VCmdData.h"
#include "tests/plugins/PluginTestFixtures.h"
#include "tests/support/WindowFocus.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTest>

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new plugtest::QtEnvironment);

// Processes events until ready answers true; the bound only guards against a hang.
bool WaitFor(const std::function<bool()>& ready)
{
    QElapsedTimer clock;
    clock.start();
    while (!ready()) {
        if (clock.elapsed() > 20000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(5);
    }
    return true;
}

struct Plugin {
    const char* name;      // examples/<name>, plugins/<name>
    const char* module;    // the built plug-in
};

constexpr Plugin kLevelling{"levelling", "Mod00963.so"};
constexpr Plugin kControlPoints{"ctrlpoint", "Mod00519.so"};
constexpr Plugin kGnss{"gnss", "Mod04827.so"};

// A cell of a sheet on screen.
struct SheetCell {
    CVPartVSheet* sheet = nullptr;
    int row = 0;
    int col = 0;
    CBcxGridCtrl* Grid() const { return sheet->GetGrid(); }
    QModelIndex Index() const { return Grid()->model()->index(row, col); }
    std::string Text() const { return sheet->DisplayText(row, col); }
};

class TableDialogKeysTest : public plugtest::SeededHostTest {
protected:
    void TearDown() override
    {
        // The plug-in's dialogs go before its code does.
        CVApp::Instance().CloseAllPartDialogs();
        if (m_library != nullptr)
            dlclose(m_library);
        SeededHostTest::TearDown();
    }

    // Seeds examples/<plug-in>/<example> into a fresh data root, loads the built
    // plug-in and opens its table dialog on the example's part, shown and active.
    void Open(const Plugin& plugin, const std::string& example)
    {
        const std::filesystem::path module = std::filesystem::path(TESSARA_TEST_PLUGIN_DIR) / plugin.module;
        SeedHost(plugin.name, "table-keys", example, module.parent_path());
        ASSERT_FALSE(HasFatalFailure());
        RecordMessages(false);
        const QJsonObject edit =
            QJsonDocument::fromJson(QByteArray::fromStdString(plugtest::ReadBytes(
                                        plugtest::SourceDir() / "examples" / plugin.name / example)))
                .object()
                .value("edit")
                .toObject();
        m_program = static_cast<WORD>(edit.value("program").toInt());
        m_cmd = std::make_unique<VCmdData>(m_program, static_cast<DWORD>(edit.value("part").toInteger()));
        CVApp& app = CVApp::Instance();
        m_library = dlopen(module.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_library, nullptr) << dlerror();
        auto windowEdit = reinterpret_cast<WindowEditFn>(dlsym(m_library, kExportWindowEdit));
        ASSERT_NE(windowEdit, nullptr);
        ASSERT_EQ(windowEdit(m_cmd.get()), 1);
        ASSERT_FALSE(app.PartDialogs().empty());
        m_dialog = dynamic_cast<CVPartDlg*>(app.PartDialogs().back());
        ASSERT_NE(m_dialog, nullptr);
        m_dialog->adjustSize();
        // Keys go where the focus is: the dialog must be the active window first.
        ASSERT_TRUE(TakeFocus(*m_dialog)) << "the dialog never came on screen";
        m_shown.clear();
    }

    // The cell with the label on a sheet on screen; the tabs are tried in turn until a
    // page shows it.
    SheetCell Find(const std::string& label)
    {
        for (int tab = -1; tab == -1 || m_dialog->SelectTab(tab); ++tab) {
            QCoreApplication::processEvents();
            for (CVPartVSheet* sheet : m_dialog->findChildren<CVPartVSheet*>()) {
                if (!sheet->isVisible())
                    continue;
                for (const VstTemplate::Cell& cell : sheet->Template().Cells()) {
                    SheetCell found{sheet, 0, 0};
                    if (cell.label == label && sheet->CodeToCell(cell.code, 0, found.row, found.col))
                        return found;
                }
            }
        }
        ADD_FAILURE() << "no cell " << label << " on screen";
        return {};
    }

    // Makes the cell the grid's current one, the grid holding the focus.
    void Select(const SheetCell& cell)
    {
        CBcxGridCtrl* grid = cell.Grid();
        grid->scrollTo(cell.Index());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell.Index()).center());
        ASSERT_TRUE(WaitFor([&] { return grid->currentIndex() == cell.Index(); })) << "the cell was not selected";
        ASSERT_TRUE(Focused() != nullptr && grid->hasFocus()) << "the click left the focus elsewhere";
    }

    // Opens the cell's editor with F2 (the grid's edit key) and answers it.
    QWidget* OpenEditor(const SheetCell& cell)
    {
        Select(cell);
        QTest::keyClick(cell.Grid(), Qt::Key_F2);
        QWidget* editor = nullptr;
        EXPECT_TRUE(WaitFor([&] { return EditorOpen(cell) && (editor = cell.Grid()->indexWidget(cell.Index())); }))
            << "no editor opened";
        return editor;
    }

    // The widget of the dialog that has the focus. The dialog is made the active window
    // again first, so a window another program activated in between takes nothing
    // away: the dialog's own focus widget (the grid or its open editor) gets it back.
    QWidget* Focused() const
    {
        if (m_dialog.isNull() || !TakeFocus(*m_dialog))
            return nullptr;
        return QApplication::focusWidget();
    }
    // A key as the person presses it: to the widget that has the focus.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QWidget* focus = Focused();
        ASSERT_NE(focus, nullptr) << "nothing has the focus";
        QTest::keyClick(focus, key, modifiers);
    }
    // Plain letters as key clicks; Japanese as the input method hands a confirmed text
    // over.
    void Type(const QString& text)
    {
        QWidget* focus = Focused();
        ASSERT_NE(focus, nullptr) << "nothing has the focus";
        bool ascii = true;
        for (const QChar c : text)
            ascii = ascii && c.unicode() < 0x80;
        if (ascii) {
            QTest::keyClicks(focus, text);
            return;
        }
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(focus, &commit);
    }

    // A dialog that closed took its sheets along: these ask for it first.
    bool EditorOpen(const SheetCell& cell) const
    {
        return !m_dialog.isNull() && cell.Grid()->indexWidget(cell.Index()) != nullptr;
    }
    bool EditorClosed(const SheetCell& cell) const
    {
        return !m_dialog.isNull() && cell.Grid()->indexWidget(cell.Index()) == nullptr;
    }

    // A text field of the part's F1 record as the part system holds it (what a save stored).
    std::string StoredF1Text(std::size_t field) const
    {
        PartData stored;
        PartRecord f1;
        CPartDB db(GetCurrentPartSystem(), m_program);
        if (!db.Get(m_cmd->GetPartAddress(), &stored, 0) || !stored.GetRecord("F1", 0, f1))
            return "(unreadable)";
        return f1.Text(field);
    }

    void* m_library = nullptr;
    WORD m_program = 0;
    std::unique_ptr<VCmdData> m_cmd;
    QPointer<CVPartDlg> m_dialog;
};

struct DropDownCase {
    Plugin plugin;
    const char* example;
    const char* label;
};

class TypedDropDownTest : public TableDialogKeysTest, public ::testing::WithParamInterface<DropDownCase> {};

// Japanese input is confirmed with Return: what was typed into an editable drop-down is
// what the cell keeps, and Return stays in the grid.
TEST_P(TypedDropDownTest, ReturnStoresTheTypedText)
{
    Open(GetParam().plugin, GetParam().example);
    const SheetCell cell = Find(GetParam().label);
    ASSERT_NE(cell.sheet, nullptr);
    ASSERT_EQ(cell.sheet->EditorAt(cell.row, cell.col), VstTemplate::Editor::List);
    const std::string before = cell.Text();
    QWidget* editor = OpenEditor(cell);
    ASSERT_NE(qobject_cast<QComboBox*>(editor), nullptr);
    Press(Qt::Key_A, Qt::ControlModifier);
    Type("NEWAREA");
    Press(Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return m_dialog.isNull() || EditorClosed(cell); }));
    ASSERT_FALSE(m_dialog.isNull()) << "Return closed the dialog";
    EXPECT_EQ(cell.Text(), "NEWAREA") << "was " << before;
    EXPECT_TRUE(m_dialog->IsChanged());
    ASSERT_FALSE(m_dialog.isNull());
    EXPECT_TRUE(m_dialog->isVisible()) << "Return closed the dialog";
    EXPECT_TRUE(m_shown.empty()) << m_shown.front();
}

INSTANTIATE_TEST_SUITE_P(EveryTable, TypedDropDownTest,
                         ::testing::Values(DropDownCase{kLevelling, "grade1.json", "データ品質適用範囲"},
                                           DropDownCase{kControlPoints, "strict-network.json", "データ品質適用範囲"},
                                           DropDownCase{kGnss, "control_survey.json", "個位置絶対方法"}),
                         [](const auto& info) { return std::string(info.param.plugin.name); });

// The start of an entry is not completed to the entry: what was typed is kept.
TEST_F(TableDialogKeysTest, TheStartOfAnEntryStaysAsTyped)
{
    Open(kLevelling, "grade1.json");
    const SheetCell cell = Find("データ品質適用範囲");
    auto* combo = qobject_cast<QComboBox*>(OpenEditor(cell));
    ASSERT_NE(combo, nullptr);
    ASSERT_NE(combo->findText(QString::fromUtf8("全域")), -1);
    Press(Qt::Key_A, Qt::ControlModifier);
    Type(QString::fromUtf8("全"));
    Press(Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return EditorClosed(cell); }));
    EXPECT_EQ(cell.Text(), "全");
}

// Return on a selected cell opens its editor and commits it; it never presses OK, so
// nothing is saved and the dialog stays open.
TEST_F(TableDialogKeysTest, ReturnOnASelectedCellEditsItAndNeverPressesOk)
{
    Open(kLevelling, "grade1.json");
    const SheetCell cell = Find("総領域");
    ASSERT_NE(cell.sheet, nullptr);
    constexpr std::size_t kArea = 5;   // 総領域 of F1
    const std::string stored = StoredF1Text(kArea);
    Select(cell);
    Press(Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return m_dialog.isNull() || EditorOpen(cell); }));
    ASSERT_FALSE(m_dialog.isNull()) << "Return on the selected cell pressed OK";
    Press(Qt::Key_A, Qt::ControlModifier);
    Type("AREA2");
    Press(Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return m_dialog.isNull() || EditorClosed(cell); }));
    ASSERT_FALSE(m_dialog.isNull()) << "Return in the editor pressed OK";
    EXPECT_EQ(cell.Text(), "AREA2");
    // Again on the selected cell, now not being edited, and on a cell no one edits.
    Press(Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return m_dialog.isNull() || EditorOpen(cell); }));
    ASSERT_FALSE(m_dialog.isNull()) << "Return on the selected cell pressed OK";
    Press(Qt::Key_Escape);
    ASSERT_TRUE(WaitFor([&] { return EditorClosed(cell); }));
    const SheetCell label{cell.sheet, cell.row, 0};
    Select(label);
    Press(Qt::Key_Return);
    Press(Qt::Key_Enter);
    QCoreApplication::processEvents();
    ASSERT_FALSE(m_dialog.isNull());
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_EQ(StoredF1Text(kArea), stored) << "Return saved the part";
    EXPECT_EQ(cell.Text(), "AREA2");
}

// Esc with unsaved edits asks; No keeps the dialog and its edits, Yes closes it without
// saving, and the closed dialog is gone from the host's list.
TEST_F(TableDialogKeysTest, EscWithEditsAsksBeforeThrowingThemAway)
{
    Open(kLevelling, "grade1.json");
    const SheetCell cell = Find("総領域");
    ASSERT_TRUE(cell.sheet->EditCellText(cell.row, cell.col, "捨てるかもしれない値"));
    Select(cell);
    m_answers = {kIdNo};
    Press(Qt::Key_Escape);
    QCoreApplication::processEvents();
    ASSERT_EQ(m_shown.size(), 1u) << "Esc asked nothing";
    EXPECT_NE(m_shown[0].find("保存していない変更"), std::string::npos) << m_shown[0];
    ASSERT_FALSE(m_dialog.isNull());
    EXPECT_TRUE(m_dialog->isVisible());
    EXPECT_EQ(cell.Text(), "捨てるかもしれない値");

    m_answers = {kIdYes};
    Press(Qt::Key_Escape);
    ASSERT_TRUE(WaitFor([&] { return m_dialog.isNull(); })) << "the dialog stayed";
    EXPECT_EQ(m_shown.size(), 2u);
    EXPECT_TRUE(CVApp::Instance().PartDialogs().empty());
    EXPECT_EQ(StoredF1Text(5), "○○市全域") << "Esc saved the part";
}

TEST_F(TableDialogKeysTest, EscWithoutEditsClosesAtOnce)
{
    Open(kControlPoints, "strict-network.json");
    ASSERT_FALSE(m_dialog->IsChanged());
    QTest::keyClick(m_dialog, Qt::Key_Escape);
    ASSERT_TRUE(WaitFor([&] { return m_dialog.isNull(); })) << "the dialog stayed";
    EXPECT_TRUE(m_shown.empty());
    EXPECT_TRUE(CVApp::Instance().PartDialogs().empty());
}

// Choosing 手入力 in the switch's drop-down unlocks the cell it governs at once: no
// other key or click is needed before the cell can be typed into.
TEST_F(TableDialogKeysTest, ASwitchPickAppliesAtOnce)
{
    Open(kLevelling, "grade1.json");
    const SheetCell toggle = Find("個位置相対要求(自動/手入力)");
    const SheetCell governed = Find("個位置相対要求 手入力値");
    ASSERT_NE(toggle.sheet, nullptr);
    ASSERT_EQ(toggle.Text(), "自動");
    ASSERT_TRUE(governed.sheet->IsCellReadOnly(governed.row, governed.col));
    auto* combo = qobject_cast<QComboBox*>(OpenEditor(toggle));
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->itemText(1), QString::fromUtf8("手入力"));
    Press(Qt::Key_Down);   // the next entry, 手入力
    // Checked before any further event runs: the pick itself applied it.
    EXPECT_EQ(toggle.Text(), "手入力");
    EXPECT_FALSE(governed.sheet->IsCellReadOnly(governed.row, governed.col));
    EXPECT_TRUE(governed.Grid()->model()->flags(governed.Index()) & Qt::ItemIsEditable);
    EXPECT_EQ(governed.Index().data(Qt::DisplayRole).toString(), QString::fromUtf8("手入力の相対要求"));
    EXPECT_TRUE(WaitFor([&] { return EditorClosed(toggle); })) << "the pick left the drop-down open";
}

// A pick in the open list (Alt+Down opens it, Down and Return choose) applies the
// same way, and its Return stays in the list.
TEST_F(TableDialogKeysTest, APickInTheOpenListAppliesAtOnce)
{
    Open(kLevelling, "grade1.json");
    const SheetCell toggle = Find("個位置相対要求(自動/手入力)");
    const SheetCell governed = Find("個位置相対要求 手入力値");
    auto* combo = qobject_cast<QComboBox*>(OpenEditor(toggle));
    ASSERT_NE(combo, nullptr);
    Press(Qt::Key_Down, Qt::AltModifier);
    QAbstractItemView* list = combo->view();
    ASSERT_TRUE(WaitFor([&] { return list->isVisible(); }));
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(toggle.Text(), "手入力");
    EXPECT_FALSE(governed.sheet->IsCellReadOnly(governed.row, governed.col));
    EXPECT_TRUE(WaitFor([&] { return EditorClosed(toggle); }));
    EXPECT_TRUE(m_dialog->isVisible());
}

// The drop-down shows each entry whole, however narrow the cell.
TEST_F(TableDialogKeysTest, TheDropDownIsAsWideAsItsLongestEntry)
{
    Open(kLevelling, "grade1.json");
    // The person's list file holds an entry far wider than the cell.
    std::string folder;
    ASSERT_TRUE(PeldaIni::GetPeldaPath(PeldaIni::kSettingsFolder, folder));
    const std::string lists = JoinHostPath(folder, "SuiHyoCmb.ini");
    ASSERT_TRUE(V_WriteProfileInt("SUIHYOCMB", "適用範囲_max", 3, lists));
    ASSERT_TRUE(V_WriteProfileString("SUIHYOCMB", "適用範囲_2", "作業規程の準則に定める精度を満たしていることを確認した地域", lists));
    const SheetCell cell = Find("データ品質適用範囲");
    cell.Grid()->horizontalHeader()->resizeSection(cell.col, 80);
    auto* combo = qobject_cast<QComboBox*>(OpenEditor(cell));
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->count(), 3);
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    ASSERT_TRUE(WaitFor([&] { return list->isVisible(); }));
    for (int i = 0; i < combo->count(); ++i) {
        const QString entry = combo->itemText(i);
        EXPECT_GE(list->viewport()->width(), list->fontMetrics().horizontalAdvance(entry))
            << "cut: " << entry.toStdString();
    }
    combo->hidePopup();
}

} // namespace

namespace {

// On every tab of the control-point and levelling dialogs, each sheet of fixed rows
// shows all its rows with no white below them and no scroll bar.
class GridSizeTest : public TableDialogKeysTest, public ::testing::WithParamInterface<DropDownCase> {};

TEST_P(GridSizeTest, SheetsOfFixedRowsAreAsTallAsTheirRows)
{
    Open(GetParam().plugin, GetParam().example);
    int tabs = 0;
    for (int tab = 0; m_dialog->SelectTab(tab); ++tab, ++tabs) {
        QCoreApplication::processEvents();
        int checked = 0;
        for (CVPartVSheet* sheet : m_dialog->findChildren<CVPartVSheet*>()) {
            if (!sheet->isVisible() || sheet->Template().IsList())
                continue;
            ++checked;
            CBcxGridCtrl* grid = sheet->GetGrid();
            const int rows = grid->verticalHeader()->length();
            EXPECT_FALSE(grid->verticalScrollBar()->isVisible())
                << "tab " << tab << ": rows behind a scroll bar, " << sheet->Template().Cells().front().label;
            EXPECT_GE(grid->viewport()->height(), rows) << "tab " << tab;
            EXPECT_LE(grid->viewport()->height(), rows + 2)
                << "tab " << tab << ": white below the rows of " << sheet->Template().Cells().front().label;
        }
        EXPECT_GE(checked, 2) << "tab " << tab << ": the part line and the header at least";
    }
    EXPECT_GT(tabs, 5);
}

INSTANTIATE_TEST_SUITE_P(PartListTables, GridSizeTest,
                         ::testing::Values(DropDownCase{kLevelling, "grade1.json", ""},
                                           DropDownCase{kControlPoints, "strict-network.json", ""}),
                         [](const auto& info) { return std::string(info.param.plugin.name); });

} // namespace

namespace {

struct RefusedCase {
    const char* name;
    Plugin plugin;
    const char* example;
    const char* label;
    const char* refused;   // typed first, refused with a message (a too long text is cut
                           // to its field by these tables, not refused)
    const char* message;
    const char* mended;    // typed instead, and stored
};

class RefusedInputTest : public TableDialogKeysTest, public ::testing::WithParamInterface<RefusedCase> {};

// A text the cell cannot take is refused with the reason, and the editor stays open with
// what was typed, so the person mends it instead of typing it all again.
TEST_P(RefusedInputTest, TheEditorKeepsARefusedText)
{
    Open(GetParam().plugin, GetParam().example);
    const SheetCell cell = Find(GetParam().label);
    ASSERT_NE(cell.sheet, nullptr);
    const std::string before = cell.Text();
    ASSERT_NE(before, GetParam().mended);
    QWidget* editor = OpenEditor(cell);
    ASSERT_NE(editor, nullptr);
    Press(Qt::Key_A, Qt::ControlModifier);
    const QString refused = QString::fromUtf8(GetParam().refused);
    Type(refused);
    Press(Qt::Key_Return);
    QCoreApplication::processEvents();
    ASSERT_EQ(m_shown.size(), 1u);
    EXPECT_EQ(m_shown[0], GetParam().message);
    ASSERT_TRUE(EditorOpen(cell)) << "the refused text was thrown away";
    QWidget* focus = Focused();
    auto* combo = qobject_cast<QComboBox*>(focus);
    auto* line = combo != nullptr ? combo->lineEdit() : qobject_cast<QLineEdit*>(focus);
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->text(), refused);
    EXPECT_EQ(cell.Text(), before);
    // Mended, it is stored.
    Press(Qt::Key_A, Qt::ControlModifier);
    Type(QString::fromUtf8(GetParam().mended));
    Press(Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return EditorClosed(cell); }));
    EXPECT_EQ(cell.Text(), GetParam().mended);
    EXPECT_EQ(m_shown.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedInputTest,
    // The coordinate systems and grades are chosen from lists now; a part number is
    // still typed.
    ::testing::Values(RefusedCase{"NotANumber", kControlPoints, "strict-network.json", "高低路線", "九",
                                  "数値を正しく入力してください。", "60"},
                      RefusedCase{"NotInCp932", kLevelling, "grade1.json", "データ品質適用範囲", "地域한",
                                  "入力された文字列に使用できない文字が含まれています。", "4"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
