#include "plugins/common/TableDialogFrame.h"

#include "hostfw/CBcxGridCtrl.h"
#include "hostfw/CTabParamDB.h"
#include "hostfw/CVPartVSheet.h"
#include "hostfw/CVSheet.h"
#include "hostfw/HostMessages.h"
#include "hostfw/PartData.h"
#include "hostfw/SvySrch.h"
#include "hostfw/UiGuard.h"
#include "plugins/common/PartListFilter.h"
#include "plugins/common/PluginTable.h"

#include <algorithm>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QScreen>
#include <QTabBar>
#include <QVBoxLayout>

#include <exception>

namespace plugcommon {

namespace {

constexpr int kDialogResource = 26000;
constexpr DWORD kDialogStyle = 0x301;

} // namespace

TableDialogFrame::TableDialogFrame(const PluginTable& table, VCmdData* cmd, std::unique_ptr<CTabParamDB> db,
                                   QWidget* parent, int mode, int flag)
    : CSvyPartDlg(cmd, std::move(db), kDialogResource, parent, mode, kDialogStyle, flag), m_table(table)
{
    setWindowTitle(QString::fromUtf8(table.caption));
    m_top = new QVBoxLayout();
    m_header = new QVBoxLayout();
    m_tabs = new QTabBar(this);
    m_tabs->setObjectName("tab9000");
    // Every tab whole: the dialog grows to the bar's width; only a bar wider than the
    // screen falls back to scroll arrows.
    m_tabs->setElideMode(Qt::ElideNone);
    m_tabs->setExpanding(false);
    m_tabs->setUsesScrollButtons(true);
    m_page = new QVBoxLayout();
    BodyLayout()->addLayout(m_top);
    BodyLayout()->addLayout(m_header, 2);
    BodyLayout()->addWidget(m_tabs);
    BodyLayout()->addLayout(m_page, 3);
    m_csv = new QPushButton(QString::fromUtf8("CSVファイル出力"), this);
    m_csv->setObjectName("button12000");
    ButtonRow()->insertWidget(0, m_csv);
    connect(m_csv, &QPushButton::clicked, this, [this] { OnCsvOutput(); });
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        UiGuard(false, [&] {
            OnTabSelChange(index);
            GrowToShowWholePage();
            return true;
        });
    });
    resize(760, 860);
}

TableDialogFrame::~TableDialogFrame() = default;

void TableDialogFrame::GrowToShowWholePage()
{
    // A page with more rows than the last one is shown whole: the dialog grows (never
    // beyond the screen) rather than scroll its rows.
    if (!isVisible())
        return;
    int wanted = sizeHint().height();
    if (const QScreen* screen = this->screen())
        wanted = std::min(wanted, screen->availableGeometry().height() * 9 / 10);
    if (height() < wanted)
        resize(width(), wanted);
}

void TableDialogFrame::PlaceSheet(int controlId, CVSheet& sheet, Area area)
{
    QVBoxLayout* layout = area == Area::Top ? m_top : area == Area::Header ? m_header : m_page;
    layout->addWidget(&sheet);
    DDX_VSheet(controlId, sheet);
}

void TableDialogFrame::AddTab(const std::string& label)
{
    const QSignalBlocker blocker(m_tabs);
    m_tabs->addTab(QString::fromStdString(label));
    int room = m_tabs->sizeHint().width();
    if (const QScreen* screen = this->screen())
        room = std::min(room, screen->availableGeometry().width() * 9 / 10);
    m_tabs->setMinimumWidth(room);
}

int TableDialogFrame::CurrentTab() const
{
    return m_tabs->currentIndex();
}

int TableDialogFrame::TabCount() const
{
    return m_tabs->count();
}

bool TableDialogFrame::SelectTab(int index)
{
    if (index < 0 || index >= m_tabs->count())
        return false;
    if (m_tabs->currentIndex() == index)
        OnTabSelChange(index);
    else
        m_tabs->setCurrentIndex(index);
    return true;
}

bool TableDialogFrame::PressButton(int id)
{
    if (id == kIdCsv) {
        if (!m_csv->isEnabled())
            return false;
        OnCsvOutput();
        return true;
    }
    return CSvyPartDlg::PressButton(id);
}

void TableDialogFrame::EnableCsvButton(bool enable)
{
    m_csv->setEnabled(enable);
}

bool TableDialogFrame::IsCsvButtonEnabled() const
{
    return m_csv->isEnabled();
}

void TableDialogFrame::OnCsvOutput()
{
    try {
        const PartData copy = GetPartData();
        RunCsvCommand(copy);
    } catch (const std::exception& e) {
        HostMessageBox(std::string("CSVファイルを出力できません。\n") + e.what(), m_table.caption,
                       kMbOk | kMbIconHand);
    }
}

bool TableDialogFrame::InitSheet(CVPartVSheet& sheet, const std::string& templateName, int sheetNo, int sizeMode)
{
    const bool loaded = sheet.LoadTemplate(templateName);
    sheet.Init(GetCmdData(), &GetPartData(), sheetNo);
    sheet.AdjustWindowSize(sizeMode);
    return loaded;
}

void TableDialogFrame::ReportUnreadTemplate()
{
    HostMessageBox("シートのテンプレートを読めません。", m_table.caption, kMbOk | kMbIconHand);
}

bool TableDialogFrame::IsPartListCommand(int id)
{
    return id == kCmdQueryArea || id == kCmdClearList || id == kCmdSearchExtract || id == kCmdSearchSelect;
}

std::vector<DWORD> TableDialogFrame::SearchParts(int id, const short* programs)
{
    return id == kCmdSearchExtract ? SvySrchExtract(this, &IsCodeInList, programs, 4096, nullptr, nullptr)
                                   : SvySrchSelectList(this, &IsCodeInList, programs, 4096, nullptr, nullptr);
}

void TableDialogFrame::ClearPartList(CVPartVSheet& list, int typeNo)
{
    GetPartData().ClearTypeData(typeNo);
    list.ReloadPartData();
    if (CBcxGridCtrl* grid = list.GetGrid()) {
        grid->setCurrentIndex(grid->model()->index(0, 0));
        grid->EnsureRowVisible(1, 0);
    }
    SetChanged(true);
}

int TableDialogFrame::SavePartThenSettings(const std::function<bool(std::string& error)>& saveSettings)
{
    const int result = CSvyPartDlg::OnSavePart();
    if (result == 0)
        return result;
    std::string error;
    if (!saveSettings(error))
        HostMessageBox("設定ファイルを保存できません。\n" + error, m_table.caption, kMbOk | kMbIconHand);
    return result;
}

} // namespace plugcommon
