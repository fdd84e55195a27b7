#include "plugins/common/PartListCommands.h"

#include "hostfw/CBcxGridCtrl.h"
#include "hostfw/CVPartDlg.h"
#include "hostfw/CVSheet.h"
#include "plugins/common/TableDialogFrame.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

namespace plugcommon {

namespace {

struct CommandText {
    int id;
    const char* text;
    const char* tip;
};

constexpr CommandText kTexts[] = {
    {TableDialogFrame::kCmdSearchExtract, "抽出検索",
     "抽出検索: この一覧に指定できるパートを検索し、条件に合うものを一覧に加えます"},
    {TableDialogFrame::kCmdSearchSelect, "一覧選択",
     "一覧選択: この一覧に指定できるパートの一覧から選び、一覧に加えます"},
    {TableDialogFrame::kCmdClearList, "一覧クリア", "一覧クリア: 表示中のパート一覧を空にします"},
    {TableDialogFrame::kCmdQueryArea, "領域指定", "領域指定: ホストに作業領域を問い合わせます"},
    {PartListCommands::kCmdBoardImport, "ボード取込",
     "ボード取込: ドキュメントボードのパートや図形要素を、現在のセルから一覧に取り込みます"},
};

const CommandText* TextOf(int id)
{
    for (const CommandText& text : kTexts) {
        if (text.id == id)
            return &text;
    }
    return nullptr;
}

} // namespace

void PartListCommands::AddPartCommandButtons(CVPartDlg& dialog)
{
    for (const int id : {CVPartDlg::kCmdFirstPart, CVPartDlg::kCmdLastPart, CVPartDlg::kCmdPrevPart,
                         CVPartDlg::kCmdNextPart})
        dialog.AddCmdButton(id);
    dialog.AddCmdSeparator();
    for (const int id : {CVPartDlg::kCmdCalcReg, CVPartDlg::kCmdRevert, CVPartDlg::kCmdPartInfo})
        dialog.AddCmdButton(id);
}

bool PartListCommands::IsEnabled(int id, const PartListCommandState& state)
{
    const bool listTakesInput = state.listCurrent && state.listEnabled && !state.readOnly;
    switch (id) {
    case TableDialogFrame::kCmdSearchExtract:
    case TableDialogFrame::kCmdSearchSelect:
    case TableDialogFrame::kCmdClearList: return listTakesInput;
    case kCmdBoardImport: return listTakesInput && state.boardImport;
    case TableDialogFrame::kCmdQueryArea: return true;
    default: return false;
    }
}

PartListCommands::PartListCommands(CVPartDlg& dialog, std::vector<int> ids) : m_dialog(dialog), m_ids(std::move(ids))
{
    m_dialog.AddCmdSeparator();
    for (const int id : m_ids) {
        const CommandText* text = TextOf(id);
        m_dialog.AddCmdButton(id, text != nullptr ? text->text : std::string());
        if (QAction* action = m_dialog.CmdButtonAction(id); action != nullptr && text != nullptr) {
            action->setToolTip(QString::fromUtf8(text->tip));
            action->setStatusTip(QString::fromUtf8(text->tip));
        }
    }
    Update({});
    KeepCommandBarWhole(m_dialog);
}

void PartListCommands::KeepCommandBarWhole(CVPartDlg& dialog)
{
    // Every command stays on the bar itself, never folded into its overflow menu.
    if (auto* bar = dialog.findChild<QToolBar*>("commandBar"))
        bar->setMinimumWidth(bar->sizeHint().width());
}

void PartListCommands::OfferInContextMenu(CVSheet& list)
{
    CBcxGridCtrl* grid = list.GetGrid();
    if (grid == nullptr)
        return;
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(grid, &QWidget::customContextMenuRequested, grid, [this, grid](const QPoint& at) {
        QMenu menu(grid);
        menu.setObjectName("partListMenu");
        for (const int id : m_ids) {
            if (QAction* action = m_dialog.CmdButtonAction(id))
                menu.addAction(action);
        }
        menu.exec(grid->viewport()->mapToGlobal(at));
    });
}

void PartListCommands::Update(const PartListCommandState& state)
{
    for (const int id : m_ids) {
        if (QAction* action = m_dialog.CmdButtonAction(id))
            action->setEnabled(IsEnabled(id, state));
    }
}

} // namespace plugcommon
