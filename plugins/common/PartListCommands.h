#pragma once

#include <vector>

class CVPartDlg;
class CVSheet;

namespace plugcommon {

// What decides whether a part-list command can be used now.
struct PartListCommandState {
    bool listCurrent = false;   // a part list is the one the commands work on
    bool listEnabled = true;    // that list takes input (the check-survey list follows its box)
    bool boardImport = false;   // that list imports the document's boards
    bool readOnly = false;      // the part cannot be changed
};

// The part commands of the table dialogs' command bar, and the part-list commands that
// follow them: the search (extract and select list), clearing the current list, the
// area query and the document-board import. The part lists' grids offer the same
// commands in their context menu; both follow one enabled state.
class PartListCommands {
public:
    // The host's document-board update (the stand-in's command that plays it); the
    // other commands are TableDialogFrame's.
    static constexpr int kCmdBoardImport = 33808;

    // 先頭, 最後, 前, 次, a separator, 計算登録, 元に戻す, パート情報.
    static void AddPartCommandButtons(CVPartDlg& dialog);
    static bool IsEnabled(int id, const PartListCommandState& state);
    // The dialog is at least as wide as its command bar's buttons.
    static void KeepCommandBarWhole(CVPartDlg& dialog);

    // Adds a separator and the buttons of the commands ids (in that order).
    PartListCommands(CVPartDlg& dialog, std::vector<int> ids);

    // The list's grid offers the commands in its context menu.
    void OfferInContextMenu(CVSheet& list);
    void Update(const PartListCommandState& state);
    const std::vector<int>& Ids() const { return m_ids; }

private:
    CVPartDlg& m_dialog;
    std::vector<int> m_ids;
};

} // namespace plugcommon
