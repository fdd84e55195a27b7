#include "plugins/levelling/CPartDlg.h"

#include "hostfw/HostMessages.h"
#include "hostfw/Tab00963Data.h"
#include "hostfw/ctrlpoint/QueryRyoiki.h"
#include "hostfw/gnss/KjnXyda_Nt.h"
#include "plugins/common/EraDate.h"
#include "plugins/common/PluginTable.h"
#include "plugins/levelling/CVSheetPartListX.h"
#include "plugins/levelling/Kjn_Send.h"
#include "plugins/levelling/LevellingAdmission.h"
#include "plugins/levelling/LevellingLock.h"
#include "plugins/levelling/LevellingSettings.h"
#include "plugins/levelling/Mod00963Table.h"
#include "plugins/levelling/XSvyPartVSheet.h"

namespace mod00963 {

namespace {

constexpr int kIdHeader = 9001;
// Page sheets in the table's order with their page types 0 … 6.
constexpr int kPageControls[7] = {9002, 9003, 9004, 9005, 9006, 9007, 9011};
constexpr int kListControls[3] = {9008, 9009, 9010};
constexpr int kListTypeData[3] = {7, 8, 9};
constexpr unsigned kMsgUser1 = kMsgUser + 1;
constexpr unsigned kMsgReloadPartLists = kMsgUser + 2;
constexpr const char* kTabs[8] = {"完全", "論理", "位置", "時間", "主題", "水準網", "手簿", "点検"};

} // namespace

CPartDlg::CPartDlg(VCmdData* cmd, std::unique_ptr<CTabParamDB> db, QWidget* parent, int mode)
    : TableDialogFrame(LevellingPluginTable(), cmd, std::move(db), parent, mode, 0)
{
    SetHelpIndex(1);
    m_header = std::make_unique<CSvyPartVSheet>();
    for (auto& page : m_pages)
        page = std::make_unique<XSvyPartVSheet>();
    for (std::size_t k = 0; k < m_lists.size(); ++k)
        m_lists[k] = std::make_unique<CVSheetPartListX>(static_cast<LevellingListKind>(k));
}

CPartDlg::~CPartDlg() = default;

void CPartDlg::DoDataExchange()
{
    TableDialogFrame::DoDataExchange();
    PlaceSheet(kIdHeader, *m_header, Area::Top);
    PlaceSheet(kPageControls[0], *m_pages[0], Area::Header);
    for (std::size_t page = 1; page < m_pages.size(); ++page)
        PlaceSheet(kPageControls[page], *m_pages[page], Area::Page);
    for (std::size_t k = 0; k < m_lists.size(); ++k)
        PlaceSheet(kListControls[k], *m_lists[k], Area::Page);
}

BOOL CPartDlg::OnInitDialog()
{
    if (!TableDialogFrame::OnInitDialog())
        return 0;
    bool loaded = InitSheet(*m_header, "tab00963.vst", 0);
    for (std::size_t page = 0; page < m_pages.size(); ++page) {
        XSvyPartVSheet& sheet = *m_pages[page];
        sheet.SetPageType(static_cast<short>(page));
        loaded = InitSheet(sheet, "tab00963_" + std::to_string(page) + ".vst", static_cast<int>(page)) && loaded;
    }
    for (std::size_t k = 0; k < m_lists.size(); ++k) {
        const int number = static_cast<int>(k) + 7;
        loaded = InitSheet(*m_lists[k], "tab00963_" + std::to_string(number) + ".vst", number, k == 0 ? 3 : 1) && loaded;
    }
    if (!loaded)
        ReportUnreadTemplate();
    for (const auto& list : m_lists)
        m_listCommands->OfferInContextMenu(*list);
    for (const char* label : kTabs)
        AddTab(label);
    m_pages[0]->RememberPartGrade();
    SelectTab(0);
    return 1;
}

void CPartDlg::InitToolBar()
{
    plugcommon::PartListCommands::AddPartCommandButtons(*this);
    m_listCommands = std::make_unique<plugcommon::PartListCommands>(
        *this, std::vector<int>{kCmdSearchExtract, kCmdSearchSelect, kCmdClearList, kCmdQueryArea});
}

// The program filter outlives the part-list tab that set it, so the commands keep
// working on that list.
void CPartDlg::UpdateListCommands()
{
    if (m_listCommands == nullptr)
        return;
    plugcommon::PartListCommandState state;
    state.listCurrent = CurrentList() != nullptr;
    state.readOnly = IsReadOnly();
    m_listCommands->Update(state);
}

CVSheetPartListX* CPartDlg::CurrentList() const
{
    for (std::size_t k = 0; k < m_lists.size(); ++k) {
        if (m_programFilter == LevellingAdmission::Programs(static_cast<LevellingListKind>(k))[0])
            return m_lists[k].get();
    }
    return nullptr;
}

void CPartDlg::OnTabSelChange(int index)
{
    for (std::size_t page = 1; page < m_pages.size(); ++page)
        m_pages[page]->setVisible(false);
    for (const auto& list : m_lists)
        list->setVisible(false);
    if (index >= 0 && index <= 4) {
        XSvyPartVSheet& page = *m_pages[static_cast<std::size_t>(index + 2)];
        page.setVisible(true);
        page.setFocus();
    } else if (index >= 5 && index <= 7) {
        const std::size_t k = static_cast<std::size_t>(index - 5);
        m_lists[k]->setVisible(true);
        if (index == 7)
            m_lists[k]->setFocus();
        m_programFilter = LevellingAdmission::Programs(static_cast<LevellingListKind>(k))[0];
    }
    UpdateListCommands();
}

int CPartDlg::ChangePart(long recNo)
{
    const int result = TableDialogFrame::ChangePart(recNo);
    m_pages[0]->RememberPartGrade();
    return result;
}

int CPartDlg::OnLoadPart(DWORD flag)
{
    const int result = TableDialogFrame::OnLoadPart(flag);
    if (result != 0 && flag == 0) {
        Tab00963Data* data = PartDataAs<Tab00963Data>();
        const KjnXyda_Nt coordinates;
        if (data != nullptr)
            LevellingSettings::LoadDefaults(*data, coordinates.GetZno(), plugcommon::FormatTodayEraDate());
    }
    if (result != 0 && m_pages[0] != nullptr)
        m_pages[0]->RememberPartGrade();
    return result;
}

// The settings files take the part's texts only after the part itself was saved and
// every record could be read; a failed save leaves them untouched.
int CPartDlg::OnSavePart()
{
    return SavePartThenSettings([this](std::string& error) {
        const Tab00963Data* data = PartDataAs<Tab00963Data>();
        return data == nullptr || LevellingSettings::Save(*data, error);
    });
}

void CPartDlg::OnClearPartList()
{
    CVSheetPartListX* list = CurrentList();
    if (list == nullptr)
        return;
    ClearPartList(*list, kListTypeData[static_cast<int>(list->Kind())]);
}

void CPartDlg::ReloadPartLists()
{
    for (const auto& list : m_lists)
        list->ReloadPartData();
}

BOOL CPartDlg::OnCommand(int id)
{
    if (id == kCmdSearchExtract || id == kCmdSearchSelect) {
        CVSheetPartListX* list = CurrentList();
        if (list == nullptr)
            return 1;
        const short programs[] = {m_programFilter, 0};
        const std::vector<DWORD> found = SearchParts(id, programs);
        const DWORD column = list->Template().Cells().empty() ? 0 : list->Template().Cells()[0].code;
        list->AddParts(found, column);
        list->ReloadPartData();
        SetChanged(true);
        return 1;
    }
    if (id == kCmdClearList) {
        OnClearPartList();
        return 1;
    }
    if (id == kCmdQueryArea) {
        QueryRyoiki(this, 1);
        return 1;
    }
    return TableDialogFrame::OnCommand(id);
}

bool CPartDlg::PressButton(int id)
{
    if (IsPartListCommand(id))
        return OnCommand(id) != 0;
    return TableDialogFrame::PressButton(id);
}

long CPartDlg::OnVmsgVpvsnFieldChange(CVPartVSheet* sheet, const FieldChange& change)
{
    auto* page = dynamic_cast<XSvyPartVSheet*>(sheet);
    if (page != nullptr && page->GetPageType() == kPagePositional && change.stored == 1 && change.changed != 0 &&
        LevellingLock::IsSwitchCell(change.cell.code))
        page->RedrawGrid();
    return TableDialogFrame::OnVmsgVpvsnFieldChange(sheet, change);
}

long CPartDlg::OnUserMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam)
{
    if (message == kMsgUser1)
        return 0;
    if (message == kMsgReloadPartLists) {
        ReloadPartLists();
        return 0;
    }
    return TableDialogFrame::OnUserMessage(message, wParam, lParam);
}

void CPartDlg::RunCsvCommand(const PartData& copy)
{
    ExportLevellingCsv(copy);
}

} // namespace mod00963
