#pragma once

// What a person does in a table dialog, with real key and mouse events: clicking a
// cell and opening its editor, picking a drop-down entry, typing into a cell, pressing
// a command button, choosing from a grid's context menu. Waits are for the event
// itself, bounded only against a hang.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDeadlineTimer>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <functional>
#include <string>

#include "hostfw/CBcxGridCtrl.h"
#include "hostfw/CVSheet.h"
#include "hostfw/HostTypes.h"
#include "tests/plugins/PluginTestFixtures.h"
#include "tests/support/WindowFocus.h"

namespace plugtest {

inline constexpr int kHangMs = 10000;

// Shows the dialog and makes it the active window; false when it never came on screen.
inline bool MakeActive(QDialog& dialog)
{
    return TakeFocus(dialog);
}

inline QModelIndex CellIndex(CVSheet& sheet, DWORD code, int rec = 0)
{
    int row = 0;
    int col = 0;
    if (!sheet.CodeToCell(code, rec, row, col) || sheet.GetGrid() == nullptr)
        return {};
    return sheet.GetGrid()->model()->index(row, col);
}

// Clicks a cell, as a person selects it; the grid holds the focus after it.
inline bool ClickCell(CVSheet& sheet, const QModelIndex& index)
{
    CBcxGridCtrl* grid = sheet.GetGrid();
    if (!index.isValid() || !sheet.isVisible())
        return false;
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
    return grid->currentIndex() == index && TakeFocus(*grid) && grid->hasFocus();
}

// Waits for the open editor of the grid (a drop-down or a line edit) to have the focus.
template <class Editor>
Editor* WaitForEditor(CVSheet& sheet)
{
    const QDeadlineTimer deadline(kHangMs);
    while (!deadline.hasExpired()) {
        for (Editor* editor : sheet.GetGrid()->viewport()->findChildren<Editor*>()) {
            if (editor->isVisible())
                return editor;
        }
        QTest::qWait(10);
    }
    return nullptr;
}

// Clicks the cell and opens its editor with F2.
template <class Editor>
Editor* OpenEditor(CVSheet& sheet, DWORD code, int rec = 0)
{
    const QModelIndex index = CellIndex(sheet, code, rec);
    if (!ClickCell(sheet, index))
        return nullptr;
    QTest::keyClick(sheet.GetGrid(), Qt::Key_F2);
    return WaitForEditor<Editor>(sheet);
}

// Picks entry of a drop-down cell with the keyboard (Home, Down…) and confirms with Return.
inline bool PickEntry(CVSheet& sheet, DWORD code, int entry, int rec = 0)
{
    QComboBox* combo = OpenEditor<QComboBox>(sheet, code, rec);
    if (combo == nullptr || entry >= combo->count())
        return false;
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < entry; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
    if (combo->currentIndex() != entry)
        return false;
    QTest::keyClick(combo, Qt::Key_Return);
    QCoreApplication::processEvents();
    return true;
}

// Types text into a text or part cell and confirms with Return.
inline bool TypeIntoCell(CVSheet& sheet, DWORD code, const QString& text, int rec = 0)
{
    QLineEdit* edit = OpenEditor<QLineEdit>(sheet, code, rec);
    if (edit == nullptr)
        return false;
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
    QCoreApplication::processEvents();
    return true;
}

inline QToolButton* CommandButton(QDialog& dialog, QAction* action)
{
    auto* bar = dialog.findChild<QToolBar*>("commandBar");
    return bar != nullptr && action != nullptr ? qobject_cast<QToolButton*>(bar->widgetForAction(action)) : nullptr;
}

// Clicks the command bar's button of the action.
inline bool ClickCommand(QDialog& dialog, QAction* action)
{
    QToolButton* button = CommandButton(dialog, action);
    if (button == nullptr || !button->isVisible() || !button->isEnabled())
        return false;
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();
    return true;
}

// Right-clicks the grid's cell and picks the menu entry with the action's text; the
// entries the menu offered are handed to seen (before the pick). False when no menu
// came or it had no such enabled entry.
inline bool ChooseFromContextMenu(CVSheet& sheet, const QModelIndex& index, const QString& text,
                                  const std::function<void(QMenu&)>& seen = {})
{
    CBcxGridCtrl* grid = sheet.GetGrid();
    if (!index.isValid())
        return false;
    grid->scrollTo(index);
    const QPoint at = grid->visualRect(index).center();
    bool picked = false;
    bool menuShown = false;
    const QDeadlineTimer deadline(kHangMs);
    auto* poll = new QTimer(grid);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, grid, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            if (deadline.hasExpired())
                poll->stop();
            return;
        }
        poll->stop();
        menuShown = true;
        if (seen)
            seen(*menu);
        for (QAction* action : menu->actions()) {
            if (action->text() == text && action->isEnabled()) {
                QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
                picked = true;
                return;
            }
        }
        menu->close();
    });
    poll->start();
    // A right press selects the cell; the window system then asks for the context menu.
    QTest::mousePress(grid->viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, grid->viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid->viewport(), &request);
    QTest::mouseRelease(grid->viewport(), Qt::RightButton, {}, at);
    const QDeadlineTimer settle(kHangMs);
    while (poll->isActive() && !settle.hasExpired())
        QTest::qWait(10);
    delete poll;
    QCoreApplication::processEvents();
    return menuShown && picked;
}

// A table dialog opened on a seeded part system, shown and active, worked as a person.
template <class Dialog, class Database>
class PersonDialogTest : public TableDialogTest<Dialog, Database> {
protected:
    void OpenShown(const std::string& plugin, WORD program, int mode, const std::string& fixture)
    {
        this->OpenDialog(plugin, program, mode, fixture, 1);
        if (this->HasFatalFailure())
            return;
        ASSERT_TRUE(MakeActive(*this->m_dialog));
        this->m_shown.clear();
    }
    CVSheet& Sheet(int control) { return *this->m_dialog->FindSheet(control); }
    // What the cell shows.
    std::string Shown(int control, DWORD code)
    {
        const QModelIndex index = CellIndex(Sheet(control), code);
        return Sheet(control).DisplayText(index.row(), index.column());
    }
    void ClickTab(int index)
    {
        auto* tabs = this->m_dialog->template findChild<QTabBar*>("tab9000");
        ASSERT_NE(tabs, nullptr);
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
        ASSERT_EQ(this->m_dialog->CurrentTab(), index);
    }
    QAction* Command(int id) { return this->m_dialog->CmdButtonAction(id); }
    std::size_t Rows(const char* record) { return this->m_dialog->GetPartData().RowCount(record); }
    QStringList CommandBarTexts()
    {
        QStringList texts;
        if (const auto* bar = this->m_dialog->template findChild<QToolBar*>("commandBar")) {
            for (QAction* action : bar->actions())
                texts << (action->isSeparator() ? QString("|") : action->text());
        }
        return texts;
    }
    // Types a part number into a part list's cell on its tab: refused with a message
    // that holds says, the cell and the list as they were.
    void ExpectTypedPartRefused(int tab, int control, DWORD code, int rec, const char* typed, const char* says)
    {
        ClickTab(tab);
        auto& list = dynamic_cast<CVPartVSheet&>(Sheet(control));
        std::string before;
        list.GetPartField(rec, code, before);
        const int rows = list.RowCount();
        ASSERT_TRUE(TypeIntoCell(list, code, QString::fromUtf8(typed), rec));
        ASSERT_EQ(this->m_shown.size(), 1u);
        EXPECT_NE(this->m_shown[0].find(says), std::string::npos) << this->m_shown[0];
        std::string after;
        list.GetPartField(rec, code, after);
        EXPECT_EQ(after, before);
        EXPECT_EQ(list.RowCount(), rows);
    }
};

} // namespace plugtest
