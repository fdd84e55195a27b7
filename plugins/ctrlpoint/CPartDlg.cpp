#include "plugins/ctrlpoint/CPartDlg.h"

#include <QCheckBox>
#include <QVBoxLayout>
#include <unordered_set>

#include "hostfw/CBcxGridCtrl.h"
#include "hostfw/CVApp.h"
#include "hostfw/CTabParamDB.h"
#include "hostfw/CVPartDocument.h"
#include "hostfw/CVfxProgressBar.h"
#include "hostfw/HostMessages.h"
#include "hostfw/PeldaSysData.h"
#include "hostfw/Tab00519Data.h"
#include "hostfw/ctrlpoint/QueryRyoiki.h"
#include "hostfw/gnss/KjnXyda_Nt.h"
#include "plugins/common/EraDate.h"
#include "plugins/common/PluginTable.h"
#include "plugins/ctrlpoint/BoardImport.h"
#include "plugins/ctrlpoint/CVSheetPartListKan.h"
#include "plugins/ctrlpoint/CVSheetPartListTen.h"
#include "plugins/ctrlpoint/CVSheetPartListX.h"
#include "plugins/ctrlpoint/CVSheetPartListX2.h"
#include "plugins/ctrlpoint/CheckCalcPairing.h"
#include "plugins/ctrlpoint/ControlPointRecords.h"
#include "plugins/ctrlpoint/Kjn_Send.h"
#include "plugins/ctrlpoint/Mod00519Table.h"
#include "plugins/ctrlpoint/PositionalLock.h"
#include "plugins/ctrlpoint/TableReader.h"
#include "plugins/ctrlpoint/TableSettings.h"
#include "plugins/ctrlpoint/XSvyPartVSheet.h"

namespace mod00519 {

namespace {

constexpr int kPageControls[7] = {9002, 9003, 9004, 9005, 9006, 9007, 9011};
constexpr int kIdPartLine = 9001;
constexpr int kIdStrict = 9008;
constexpr int kIdArbitrary = 9009;
constexpr int kIdHandbooks = 9010;
constexpr int kIdSingleRoute = 9012;
constexpr int kIdCheckCalcs = 9013;
constexpr unsigned kMsgShowNetworkList = kMsgUser + 1;
constexpr unsigned kMsgReloadPartLists = kMsgUser + 2;
// First column of the check-calculation list (the horizontal routes).
constexpr DWORD kCellCheckCalcFirst = 0x0236010Cu;
constexpr const char* kTabs[8] = {"完全", "論理", "位置", "時間", "主題", "観測網", "点検計算", "点検測量"};

} // namespace

CPartDlg::CPartDlg(VCmdData* cmd, std::unique_ptr<CTabParamDB> db, QWidget* parent, int mode)
    : TableDialogFrame(ControlPointPluginTable(), cmd, std::move(db), parent, mode, 1)
{
    SetHelpIndex(1);
    m_partLine = std::make_unique<CSvyPartVSheet>();
    for (auto& page : m_pages)
        page = std::make_unique<XSvyPartVSheet>();
    m_strict = std::make_unique<CVSheetPartListX>();
    m_arbitrary = std::make_unique<CVSheetPartListKan>(PartListKind::Arbitrary);
    m_singleRoute = std::make_unique<CVSheetPartListKan>(PartListKind::SingleRoute);
    m_handbooks = std::make_unique<CVSheetPartListTen>();
    m_checkCalcs = std::make_unique<CVSheetPartListX2>();
}

CPartDlg::~CPartDlg() = default;

void CPartDlg::DoDataExchange()
{
    TableDialogFrame::DoDataExchange();
    PlaceSheet(kIdPartLine, *m_partLine, Area::Top);
    PlaceSheet(kPageControls[0], *m_pages[1], Area::Header);
    for (int page = 1; page < 7; ++page)
        PlaceSheet(kPageControls[page], *m_pages[static_cast<std::size_t>(page + 1)], Area::Page);
    PlaceSheet(kIdStrict, *m_strict, Area::Page);
    PlaceSheet(kIdArbitrary, *m_arbitrary, Area::Page);
    PlaceSheet(kIdHandbooks, *m_handbooks, Area::Page);
    PlaceSheet(kIdSingleRoute, *m_singleRoute, Area::Page);
    PlaceSheet(kIdCheckCalcs, *m_checkCalcs, Area::Page);
}

BOOL CPartDlg::OnInitDialog()
{
    if (!TableDialogFrame::OnInitDialog())
        return 0;
    bool loaded = InitSheet(*m_partLine, "tab00519.vst", 0);
    for (int page = 0; page < 7; ++page) {
        XSvyPartVSheet& sheet = *m_pages[static_cast<std::size_t>(page + 1)];
        sheet.SetPageType(static_cast<short>(page));
        loaded = InitSheet(sheet, "tab00519_" + std::to_string(page) + ".vst", page) && loaded;
    }
    const std::pair<ControlPointPartList*, int> lists[] = {{m_strict.get(), 7},
                                                           {m_arbitrary.get(), 8},
                                                           {m_singleRoute.get(), 9},
                                                           {m_handbooks.get(), 10},
                                                           {m_checkCalcs.get(), 11}};
    for (const auto& [list, number] : lists)
        loaded = InitSheet(*list, "tab00519_" + std::to_string(number) + ".vst", number, number >= 10 ? 1 : 3) && loaded;
    if (!loaded)
        ReportUnreadTemplate();
    for (ControlPointPartList* list : AllLists())
        m_listCommands->OfferInContextMenu(*list);

    m_checkSurvey = new QCheckBox(QString::fromUtf8("点検測量結果を出力する"), this);
    BodyLayout()->addWidget(m_checkSurvey);
    connect(m_checkSurvey, &QCheckBox::clicked, this, [this] { OnCheckSurveyClicked(); });

    for (const char* label : kTabs)
        AddTab(label);
    RefreshFromPart();
    SelectTab(0);
    return 1;
}

void CPartDlg::InitToolBar()
{
    plugcommon::PartListCommands::AddPartCommandButtons(*this);
    m_listCommands = std::make_unique<plugcommon::PartListCommands>(
        *this, std::vector<int>{kCmdSearchExtract, kCmdSearchSelect, kCmdClearList, kCmdQueryArea, kCmdBoardUpdate});
}

std::array<ControlPointPartList*, 5> CPartDlg::AllLists() const
{
    return {m_strict.get(), m_arbitrary.get(), m_singleRoute.get(), m_handbooks.get(), m_checkCalcs.get()};
}

void CPartDlg::UpdateListCommands()
{
    if (m_listCommands == nullptr)
        return;
    plugcommon::PartListCommandState state;
    state.listCurrent = m_current != nullptr;
    state.listEnabled = m_current != nullptr && m_current->isEnabled();
    state.boardImport = m_current == m_strict.get() || m_current == m_checkCalcs.get();
    state.readOnly = IsReadOnly();
    m_listCommands->Update(state);
}

short CPartDlg::NetworkKind()
{
    PartRecord f2;
    return GetPartData().GetRecord("F2", 0, f2) ? f2.Short(rec::kF2NetworkKind) : 0;
}

ControlPointPartList* CPartDlg::NetworkList(short kind) const
{
    switch (kind) {
    case 1: return m_arbitrary.get();
    case 2: return m_singleRoute.get();
    default: return m_strict.get();
    }
}

void CPartDlg::OnTabSelChange(int index)
{
    m_tab = index;
    m_checkSurvey->setVisible(false);
    for (std::size_t page = 2; page < m_pages.size(); ++page)
        m_pages[page]->setVisible(false);
    for (ControlPointPartList* list : AllLists())
        list->setVisible(false);
    m_current = nullptr;
    if (index >= 0 && index <= 4) {
        XSvyPartVSheet& page = *m_pages[static_cast<std::size_t>(index + 3)];
        page.setVisible(true);
        page.setFocus();
    } else if (index == 5) {
        m_pages[2]->setVisible(true);
        m_current = NetworkList(NetworkKind());
        m_current->setVisible(true);
    } else if (index == 6) {
        m_current = m_checkCalcs.get();
        m_current->setVisible(true);
    } else if (index == 7) {
        m_checkSurvey->setVisible(true);
        m_current = m_handbooks.get();
        m_current->setVisible(true);
    }
    UpdateListCommands();
}

void CPartDlg::ShowNetworkList()
{
    if (m_tab != 5)
        return;
    for (ControlPointPartList* list : {NetworkList(0), NetworkList(1), NetworkList(2)})
        list->setVisible(false);
    const short kind = NetworkKind();
    m_current = kind >= 0 && kind <= 2 ? NetworkList(kind) : nullptr;
    if (m_current != nullptr)
        m_current->setVisible(true);
    UpdateListCommands();
}

bool CPartDlg::IsCheckSurveyEnabled() const
{
    return m_handbooks->isEnabled();
}

void CPartDlg::ApplyCheckSurveyState(bool enabled)
{
    m_handbooks->setEnabled(enabled);
    if (CBcxGridCtrl* grid = m_handbooks->GetGrid()) {
        const std::uint32_t colour = enabled ? kColorDefault : 0xF0F0F0u;   // the system's button face
        grid->SetColor(0, colour);
        grid->SetColor(7, colour);
    }
    UpdateListCommands();
}

void CPartDlg::OnCheckSurveyClicked()
{
    const bool ticked = m_checkSurvey->isChecked();
    ApplyCheckSurveyState(ticked);
    PartRecord f2;
    GetPartData().GetRecord("F2", 0, f2);
    f2.SetShort(rec::kF2CheckOutput, ticked ? 1 : 0);
    GetPartData().PutRecord("F2", 0, f2);
    SetChanged(true);
}

// Everything shown that follows the part: the check box, the remembered grade, the
// network list of the part's network kind.
void CPartDlg::RefreshFromPart()
{
    for (ControlPointPartList* list : AllLists())
        list->ForgetSiblingReads();
    PartRecord f2;
    const bool ticked = GetPartData().GetRecord("F2", 0, f2) && f2.Short(rec::kF2CheckOutput) == 1;
    if (m_checkSurvey != nullptr)
        m_checkSurvey->setChecked(ticked);
    ApplyCheckSurveyState(ticked);
    m_pages[1]->RememberPartGrade();
    ShowNetworkList();
}

int CPartDlg::ChangePart(long recNo)
{
    const int result = TableDialogFrame::ChangePart(recNo);
    RefreshFromPart();
    return result;
}

int CPartDlg::OnLoadPart(DWORD flag)
{
    const int result = TableDialogFrame::OnLoadPart(flag);
    if (result != 0 && flag == 0) {
        Tab00519Data* data = PartDataAs<Tab00519Data>();
        const KjnXyda_Nt coordinates;
        if (data != nullptr)
            TableSettings::LoadDefaults(*data, coordinates.GetZno(), plugcommon::FormatTodayEraDate());
    }
    if (result != 0 && m_checkSurvey != nullptr)
        RefreshFromPart();
    return result;
}

// The settings files take the part's texts only after the part itself was saved and
// every record could be read; a failed save leaves them untouched.
int CPartDlg::OnSavePart()
{
    return SavePartThenSettings([this](std::string& error) {
        const Tab00519Data* data = PartDataAs<Tab00519Data>();
        return data == nullptr || TableSettings::Save(*data, error);
    });
}

BOOL CPartDlg::OnCommand(int id)
{
    if ((id == kCmdSearchExtract || id == kCmdSearchSelect) && m_current != nullptr) {
        m_current->ForgetSiblingReads();
        bool second = false;
        if (m_current == m_strict.get()) {
            const QModelIndex at = m_strict->GetGrid()->currentIndex();
            second = at.isValid() && m_strict->CellAt(at.row(), at.column()).code == kCellStrict631;
        }
        const short* programs = PartAdmission::Programs(m_current->Kind(), second);
        const std::vector<DWORD> found = SearchParts(id, programs);
        const auto& cells = m_current->Template().Cells();
        const PeldaSysData* system = PeldaGetApp().GetCurPartSysData();
        std::vector<std::pair<DWORD, DWORD>> partsAndCodes;
        for (const DWORD part : found) {
            // Check calculations: a height route (684) goes to the height column.
            std::size_t column = second ? 1 : 0;
            if (m_current == m_checkCalcs.get())
                column = system != nullptr && system->ToPrgNo(part) == kProgHeightRoute684 ? 1 : 0;
            if (column < cells.size())
                partsAndCodes.emplace_back(part, cells[column].code);
        }
        m_current->AddPartsInColumns(partsAndCodes);
        if (m_current == m_checkCalcs.get())
            PairCheckCalcRows();
        m_current->ReloadPartData();
        return 1;
    }
    if (id == kCmdClearList) {
        if (m_current != nullptr)
            ClearPartList(*m_current, m_current->GetSheetNo());
        return 1;
    }
    if (id == kCmdQueryArea) {
        QueryRyoiki(this, 1);
        return 1;
    }
    if (id == kCmdBoardUpdate) {
        ImportDocumentBoards();
        return 1;
    }
    return TableDialogFrame::OnCommand(id);
}

bool CPartDlg::PressButton(int id)
{
    if (id == kIdCheckSurvey && m_checkSurvey != nullptr) {
        m_checkSurvey->click();
        return true;
    }
    if (IsPartListCommand(id) || id == kCmdBoardUpdate)
        return OnCommand(id) != 0;
    return TableDialogFrame::PressButton(id);
}

long CPartDlg::OnVmsgVpvsnFieldChange(CVPartVSheet* sheet, const FieldChange& change)
{
    auto* page = dynamic_cast<XSvyPartVSheet*>(sheet);
    if (page != nullptr && page->GetPageType() == kPagePositional) {
        for (int s = 0; s < 5; ++s) {
            if (change.cell.code == PositionalLock::SwitchCellCode(s))
                page->RedrawGrid();
        }
    }
    if (page != nullptr && (page->GetPageType() == kPagePositional || page->GetPageType() == kPageNetwork) &&
        change.cell.code == kCellNetworkKind)
        PostUserMessage(kMsgShowNetworkList);
    if (sheet == m_checkCalcs.get() && change.stored != 0 && change.cell.code != kCellCheckCalcFirst)
        PairCheckCalcRows();
    return TableDialogFrame::OnVmsgVpvsnFieldChange(sheet, change);
}

long CPartDlg::OnUserMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam)
{
    if (message == kMsgShowNetworkList) {
        ShowNetworkList();
        return 0;
    }
    if (message == kMsgReloadPartLists) {
        for (ControlPointPartList* list : AllLists())
            list->ReloadPartData();
        return 0;
    }
    return TableDialogFrame::OnUserMessage(message, wParam, lParam);
}

bool CPartDlg::PairCheckCalcRows()
{
    Tab00519Data* data = PartDataAs<Tab00519Data>();
    if (data == nullptr)
        return false;
    const std::vector<CheckCalcRow> before = TableReader::ReadCheckCalcs(*data);
    if (static_cast<int>(before.size()) != data->Get_R4Cnt())
        return false;   // a row could not be read: nothing is moved
    std::vector<CheckCalcRow> rows = before;
    ControlPointPartList& list = *m_checkCalcs;
    const bool changed = CheckCalcPairing::Pair(
        rows, [&list](PartAddress a) { return list.RouteKey(kProgHorizontalRoute687, a); },
        [&list](PartAddress a) { return list.RouteKey(kProgHeightRoute684, a); });
    if (!changed)
        return true;
    const auto store = [data](const std::vector<CheckCalcRow>& values) {
        for (std::size_t i = 0; i < values.size(); ++i) {
            PartRecord row;
            row.SetDword(rec::kR4Horizontal, values[i].horizontal);
            row.SetDword(rec::kR4Height, values[i].height);
            if (!data->Put_R4(static_cast<int>(i), row))
                return false;
        }
        return true;
    };
    if (!store(rows)) {
        store(before);
        return false;
    }
    m_checkCalcs->ReloadPartData();
    SetChanged(true);
    return true;
}

void CPartDlg::ImportDocumentBoards()
{
    ControlPointPartList* list = m_current;
    if (list != m_strict.get() && list != m_checkCalcs.get())
        return;
    CVPartDocument* document = PeldaGetApp().GetDocument();
    if (document == nullptr)
        return;
    std::vector<Board> boards;
    for (const int code : {BoardImport::kBoardPart, BoardImport::kBoardFigure}) {
        const int count = document->GetBoardCnt(code);
        for (int i = 0; i < count; ++i)
            boards.push_back({code, document->GetBoard(code, i)});
    }
    if (boards.empty())
        return;
    list->ForgetSiblingReads();

    const QModelIndex at = list->GetGrid()->currentIndex();
    // The strict list has one row per slot (628, 631); the check calculations one
    // column per route kind.
    const int column = list == m_strict.get() ? (at.isValid() && list->CellAt(at.row(), at.column()).code == kCellStrict631 ? 1 : 0)
                                              : (at.isValid() && at.column() > 0 ? 1 : 0);
    const int startRow = at.isValid() ? std::max(0, list->RowToRec(at.row())) : 0;
    if (at.isValid() && list->EditorAt(at.row(), at.column()) != VstTemplate::Editor::Part) {
        ImportBoardValues(*list, list->CellAt(at.row(), at.column()), *document);
        return;
    }
    const char* record = list == m_strict.get() ? "FR1" : "R4";
    PartData& data = GetPartData();

    // What the list holds now, by column (FR1 is one record of two addresses).
    std::vector<std::uint32_t> held;
    std::vector<std::uint32_t> columnValues;   // the strict list's current slot
    const std::size_t rows = list == m_strict.get() ? 1 : data.RowCount(record);
    for (std::size_t r = 0; r < rows; ++r) {
        PartRecord row;
        data.GetRecord(record, r, row);
        held.push_back(row.Dword(0));
        held.push_back(row.Dword(1));
        columnValues.push_back(row.Dword(static_cast<std::size_t>(column)));
    }

    const short* programs = PartAdmission::Programs(list->Kind(), column == 1);
    const std::unordered_set<int> allowed = list == m_strict.get()
                                                ? std::unordered_set<int>{programs[0]}
                                                : std::unordered_set<int>{kProgHorizontalRoute687, kProgHeightRoute684};
    const PeldaSysData* system = PeldaGetApp().GetCurPartSysData();
    CVfxProgressBar progress;
    progress.Create("ﾃﾞｰﾀﾁｪｯｸ中...", static_cast<int>(boards.size()));
    list->BeginMassChange();
    const std::vector<std::uint32_t> added = BoardImport::Collect(
        boards, held,
        [&](std::uint32_t part) {
            progress.StepIt();
            const int program = system != nullptr ? system->ToPrgNo(part) : 0;
            return allowed.count(program) != 0 && list->CheckFuncPart(part) != 0;
        },
        [&](std::uint32_t element) {
            progress.StepIt();
            return list->CheckFuncZa(element) != 0;
        });
    progress.SetText("ﾃﾞｰﾀ取り込み中...", static_cast<int>(added.size()));
    if (list == m_strict.get()) {
        // One slot per column: an empty slot takes the first new address.
        if (!added.empty() && columnValues.front() == 0) {
            PartRecord row;
            data.GetRecord(record, 0, row);
            row.SetDword(static_cast<std::size_t>(column), added.front());
            data.PutRecord(record, 0, row);
        }
    } else {
        // Each route goes to its own column (687 horizontal, 684 height); figure
        // elements to the current one.
        std::vector<std::uint32_t> columns[2];
        std::vector<std::uint32_t> addedTo[2];
        for (std::size_t r = 0; r < rows; ++r) {
            PartRecord row;
            data.GetRecord(record, r, row);
            columns[0].push_back(row.Dword(0));
            columns[1].push_back(row.Dword(1));
        }
        for (const std::uint32_t address : added) {
            const bool figure = (address & BoardImport::kFigureFlag) != 0;
            const int program = !figure && system != nullptr ? system->ToPrgNo(address) : 0;
            const int target = figure ? column : program == kProgHeightRoute684 ? 1 : 0;
            addedTo[target].push_back(address);
        }
        for (int c = 0; c < 2; ++c)
            BoardImport::Place(columns[c], static_cast<std::size_t>(startRow), addedTo[c]);
        const std::size_t total = std::max(columns[0].size(), columns[1].size());
        for (std::size_t r = 0; r < total; ++r) {
            PartRecord row;
            data.GetRecord(record, r, row);
            row.SetDword(0, r < columns[0].size() ? columns[0][r] : 0);
            row.SetDword(1, r < columns[1].size() ? columns[1][r] : 0);
            data.PutRecord(record, r, row);
            progress.StepIt();
        }
    }
    progress.Close();
    list->ReloadPartData();
    list->RedrawGrid();
    if (list == m_checkCalcs.get())
        PairCheckCalcRows();
    list->EndMassChange();
    SetChanged(true);
}

// A cell that is not a part address takes the boards of its own kind (points, angles,
// figure elements), one value per row from the current one down.
void CPartDlg::ImportBoardValues(ControlPointPartList& list, const GridCellInfo& cell, const CVPartDocument& document)
{
    const int code = BoardImport::CellBoardCode(cell.code);
    const int count = code != 0 ? document.GetBoardCnt(code) : 0;
    if (count == 0)
        return;
    CVfxProgressBar progress;
    progress.Create("ﾃﾞｰﾀ取り込み中...", count);
    list.BeginMassChange();
    int rec = std::max(0, list.RowToRec(cell.row));
    for (int i = 0; i < count; ++i, ++rec) {
        list.SetPartField(rec, cell.code, std::to_string(document.GetBoard(code, i)));
        progress.StepIt();
    }
    progress.Close();
    list.ReloadPartData();
    if (&list == m_checkCalcs.get())
        PairCheckCalcRows();
    list.EndMassChange();
    SetChanged(true);
}

void CPartDlg::RunCsvCommand(const PartData& copy)
{
    ExportControlPointCsv(copy);
}

} // namespace mod00519
