#include "hostfw/CVPartDlg.h"

#include "hostfw/CPartDB.h"
#include "hostfw/CTabParamDB.h"
#include "hostfw/CVApp.h"
#include "hostfw/CVPartVSheet.h"
#include "hostfw/HostMessages.h"
#include "hostfw/PartData.h"
#include "hostfw/PartDlgCommands.h"
#include "hostfw/UiGuard.h"
#include "hostfw/VCmdData.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

constexpr const char* kDialogCaption = "パート";

} // namespace

CVPartDlg::CVPartDlg(VCmdData* cmd, std::unique_ptr<CTabParamDB> db, int resourceId, QWidget* parent,
                     int mode, DWORD, int)
    : QDialog(parent), m_cmd(cmd), m_db(std::move(db)), m_resourceId(resourceId), m_mode(mode)
{
    m_data = m_db ? m_db->NewPartData() : std::make_unique<PartData>();
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName("commandBar");
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(m_toolBar);
    m_body = new QVBoxLayout();
    layout->addLayout(m_body, 1);
    m_buttons = new QHBoxLayout();
    m_buttons->addStretch(1);
    const std::pair<int, const char*> buttons[] = {{kIdOk, "OK"}, {kIdCancel, "ｷｬﾝｾﾙ"}, {kIdHelp, "ﾍﾙﾌﾟ"}};
    for (const auto& [id, text] : buttons) {
        auto* button = new QPushButton(QString::fromUtf8(text), this);
        button->setObjectName(QString("button%1").arg(id));
        // Return belongs to the grids (it opens and commits cell edits): no button of
        // the dialog is a default button, so Return never saves or closes it.
        button->setAutoDefault(false);
        button->setDefault(false);
        connect(button, &QPushButton::clicked, this, [this, id = id] { UiGuard(false, [&] { return PressButton(id); }); });
        m_buttons->addWidget(button);
    }
    layout->addLayout(m_buttons);
}

SizeControl::~SizeControl() = default;

CVPartDlg::~CVPartDlg()
{
    CVApp::Instance().UnregisterPartDialog(this);
}

int CVPartDlg::Create()
{
    if (!m_db || !m_db->IsOpen() || !m_cmd)
        return 0;
    DoDataExchange();
    if (!OnInitDialog())
        return 0;
    CVApp::Instance().RegisterPartDialog(this);
    show();
    return 1;
}

BOOL CVPartDlg::OnInitDialog()
{
    InitToolBar();
    if (!OnLoadPart(m_cmd->GetPartAddress() == 0 ? 0 : 1)) {
        HostMessageBox("パートを読み込めません。", kDialogCaption, kMbOk | kMbIconHand);
        return 0;
    }
    return 1;
}

void CVPartDlg::DoDataExchange() {}

int CVPartDlg::OnLoadPart(DWORD flag)
{
    if (flag == 0) {
        std::unique_ptr<PartData> fresh = m_db->NewPartData();
        static_cast<PartData&>(*m_data) = *fresh;
        m_changed = true;
        return 1;
    }
    if (!m_db->Get(m_cmd->GetPartAddress(), *m_data, 0))
        return 0;
    m_changed = false;
    return 1;
}

int CVPartDlg::OnSavePart()
{
    if (m_readOnly)
        return 0;
    if (!m_db->Put(*m_data)) {
        HostMessageBox("パートを保存できません。\n" + m_db->GetPartDB()->LastError(), kDialogCaption,
                       kMbOk | kMbIconHand);
        return 0;
    }
    m_cmd->SetPartAddress(m_data->GetAddress());
    m_changed = false;
    return 1;
}

int CVPartDlg::ChangePart(long recNo)
{
    if (recNo < 0)
        return 0;
    if (m_changed && !m_readOnly && !OnSavePart())
        return 0;
    const DWORD previous = m_cmd->GetPartAddress();
    m_cmd->SetPartAddress(static_cast<DWORD>(recNo));
    if (!OnLoadPart(1)) {
        m_cmd->SetPartAddress(previous);
        OnLoadPart(previous == 0 ? 0 : 1);
        return 0;
    }
    for (const auto& [id, sheet] : m_sheets)
        if (auto* partSheet = dynamic_cast<CVPartVSheet*>(sheet))
            partSheet->ReloadPartData();
    return 1;
}

void CVPartDlg::InitToolBar()
{
    AddCmdButton(kCmdPrevPart);
    AddCmdButton(kCmdNextPart);
    AddCmdButton(kCmdCalcReg);
}

void CVPartDlg::AddCmdButton(int id, const std::string& text)
{
    if (m_cmdButtons.count(id))
        return;
    const HostPartCommand* command = FindHostPartCommand(id);
    QString label = QString::fromStdString(text);
    QString tip;
    if (command) {
        if (label.isEmpty())
            label = QString::fromUtf8(command->text);
        tip = QString::fromUtf8(command->tip);
    } else if (label.isEmpty()) {
        // A command of the real host that the stand-in cannot carry out: shown, so the
        // bar keeps its shape, but never offered.
        label = QString::fromUtf8("（未対応）");
    }
    if (tip.isEmpty())
        tip = label + QString::fromUtf8(": ホストの代替ではこのコマンド（%1）を実行できません").arg(id);
    QAction* action = m_toolBar->addAction(label);
    action->setToolTip(tip);
    action->setStatusTip(tip);
    action->setEnabled(command != nullptr || OwnsCommand(id));
    connect(action, &QAction::triggered, this, [this, id] { UiGuard(BOOL{0}, [&] { return OnCommand(id); }); });
    m_cmdButtons[id] = action;
}

void CVPartDlg::AddCmdSeparator()
{
    m_toolBar->addSeparator();
}

bool CVPartDlg::OwnsCommand(int) const
{
    return false;
}

QString CVPartDlg::CmdButtonText(int id) const
{
    const auto it = m_cmdButtons.find(id);
    return it == m_cmdButtons.end() ? QString() : it->second->text();
}

int CVPartDlg::ReloadPart()
{
    if (!OnLoadPart(m_cmd->GetPartAddress() == 0 ? 0 : 1))
        return 0;
    m_changed = false;
    for (const auto& [id, sheet] : m_sheets)
        if (auto* partSheet = dynamic_cast<CVPartVSheet*>(sheet))
            partSheet->ReloadPartData();
    return 1;
}

void CVPartDlg::ShowPartInfo()
{
    const std::string text = "パート番号: " + std::to_string(m_data->GetAddress()) + "\nプログラム: " +
                             std::to_string(m_cmd->GetPrgNo()) + "\n" +
                             (m_changed ? "保存していない変更があります。" : "変更はありません。");
    HostMessageBox(text, kDialogCaption, kMbOk | kMbIconInformation);
}

void CVPartDlg::_RemoveCmdButton(int id)
{
    auto it = m_cmdButtons.find(id);
    if (it == m_cmdButtons.end())
        return;
    m_toolBar->removeAction(it->second);
    delete it->second;
    m_cmdButtons.erase(it);
}

QAction* CVPartDlg::CmdButtonAction(int id) const
{
    const auto it = m_cmdButtons.find(id);
    return it == m_cmdButtons.end() ? nullptr : it->second;
}

bool CVPartDlg::HasCmdButton(int id) const
{
    return m_cmdButtons.count(id) != 0;
}

BOOL CVPartDlg::OnCommand(int id)
{
    CPartDB* db = m_db->GetPartDB();
    switch (id) {
    case kCmdPrevPart: return ChangePart(db->GetBeforeRecNo(static_cast<long>(m_data->GetAddress())));
    case kCmdNextPart: return ChangePart(db->GetNextRecNo(static_cast<long>(m_data->GetAddress())));
    case kCmdCalcReg: return OnVPartCalcReg();
    case kCmdFirstPart: return ChangePart(db->GetTopRecNo());
    case kCmdLastPart: return ChangePart(db->GetLastRecNo());
    case kCmdRevert: return ReloadPart();
    case kCmdPartInfo: ShowPartInfo(); return 1;
    default: return 0;
    }
}

BOOL CVPartDlg::OnVPartCalcReg()
{
    return OnSavePart();
}

long CVPartDlg::OnVmsgVpvsnFieldChange(CVPartVSheet*, const FieldChange& change)
{
    if (change.stored && change.changed && !m_readOnly)
        m_changed = true;
    return 0;
}

long CVPartDlg::OnUserMessage(unsigned, std::intptr_t, std::intptr_t)
{
    return 0;
}

void CVPartDlg::PostUserMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam)
{
    QTimer::singleShot(0, this, [this, message, wParam, lParam] {
        UiGuard(0L, [&] { return OnUserMessage(message, wParam, lParam); });
    });
}

long CVPartDlg::SendUserMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam)
{
    return OnUserMessage(message, wParam, lParam);
}

void CVPartDlg::DDX_VSheet(int controlId, CVSheet& sheet)
{
    m_sheets[controlId] = &sheet;
    sheet.SetControlId(controlId);
    if (!sheet.parent())
        m_body->addWidget(&sheet);
    if (auto* partSheet = dynamic_cast<CVPartVSheet*>(&sheet))
        connect(partSheet, &CVPartVSheet::FieldChanged, this,
                [this](CVPartVSheet* from, const FieldChange& change) {
                    UiGuard(0L, [&] { return OnVmsgVpvsnFieldChange(from, change); });
                });
}

CVSheet* CVPartDlg::FindSheet(int controlId) const
{
    auto it = m_sheets.find(controlId);
    return it == m_sheets.end() ? nullptr : it->second;
}

void CVPartDlg::MoveWin()
{
    if (QWidget* owner = parentWidget())
        move(owner->geometry().center() - rect().center());
}

bool CVPartDlg::PressButton(int id)
{
    switch (id) {
    case kIdOk: OnOK(); return true;
    case kIdCancel: OnCancel(); return true;
    case kIdHelp: OnHelp(); return true;
    default: return OnCommand(id) != 0;
    }
}

bool CVPartDlg::SelectTab(int)
{
    return false;
}

void CVPartDlg::OnOK()
{
    if (!m_readOnly && !OnSavePart())
        return;
    Finish();
}

void CVPartDlg::OnCancel()
{
    Finish();
}

void CVPartDlg::OnHelp()
{
    m_cmd->GetHelpManager().Show(m_helpIndex);
}

void CVPartDlg::closeEvent(QCloseEvent* event)
{
    if (!m_finished && !MayDiscardEdits()) {
        event->ignore();
        return;
    }
    Finish();
    event->accept();
}

void CVPartDlg::reject()
{
    // Esc: the edits are thrown away only when the person says so.
    if (MayDiscardEdits())
        Finish();
}

void CVPartDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CVPartDlg::showEvent(QShowEvent* event)
{
    // Buttons the plug-ins add (CSV output, conditions) follow the same rule; the
    // dialogs they open keep their own.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        if (button->window() != this)
            continue;
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    QDialog::showEvent(event);
}

bool CVPartDlg::MayDiscardEdits()
{
    if (!m_changed || m_readOnly)
        return true;
    return HostMessageBox("保存していない変更があります。\n変更を破棄して閉じてもよろしいですか？", kDialogCaption,
                          kMbYesNo | kMbIconQuestion) == kIdYes;
}

void CVPartDlg::Finish()
{
    if (m_finished)
        return;
    m_finished = true;
    hide();
    CVApp::Instance().UnregisterPartDialog(this);
    deleteLater();
}
