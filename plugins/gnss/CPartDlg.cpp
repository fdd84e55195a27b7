#include "plugins/gnss/CPartDlg.h"

#include "plugins/common/EraDate.h"
#include "plugins/common/PartListCommands.h"
#include "plugins/gnss/GnssDialogLayout.h"
#include "plugins/gnss/GnssPluginTable.h"
#include "plugins/gnss/GnssSheetRules.h"
#include "plugins/gnss/GnssTableAccess.h"
#include "plugins/gnss/GnssTablePersistence.h"
#include "plugins/gnss/Kjn_Send.h"
#include "plugins/gnss/XSvyPartVSheet.h"

#include "hostfw/CBcxGridCtrl.h"
#include "hostfw/CTabParamDB.h"
#include "hostfw/CVPartVSheet.h"
#include "hostfw/Tab04827Data.h"
#include "hostfw/gnss/GpsVurDlg.h"
#include "hostfw/gnss/JGpsHyoVur.h"
#include "hostfw/gnss/JGpsSuiVur.h"
#include "hostfw/gnss/KjnXyda_Nt.h"

#include <QAction>
#include <QHeaderView>

namespace mod04827 {

namespace {

constexpr int kPartLineControl = 9001;
constexpr int kRemovedCommand = 33796;
constexpr const char* kTabLabels[] = {"完全", "論理", "位置", "時間", "主題"};

// The one-row sheets at the top take only the height of their row.
void FitToOneRow(CVSheet& sheet)
{
    CBcxGridCtrl* grid = sheet.GetGrid();
    if (!grid) return;
    const int height = grid->verticalHeader()->defaultSectionSize() + 2 * grid->frameWidth() + 4;
    sheet.setMaximumHeight(height);
}

}  // namespace

CPartDlg::CPartDlg(VCmdData* cmd, std::unique_ptr<CTabParamDB> db, QWidget* parent, int mode)
    : plugcommon::TableDialogFrame(GnssPluginTable(), cmd, std::move(db), parent, mode, 0),
      m_partLine(std::make_unique<CSvyPartVSheet>())
{
    for (const SheetPlace& place : SheetPlacesInInitOrder()) {
        m_sheets[static_cast<std::size_t>(place.place)] = std::make_unique<XSvyPartVSheet>();
    }
    m_workSelection = std::make_unique<GpsWorkSelection>(GetParamDB() ? GetParamDB()->GetPartDB()->GetHandle() : nullptr);
    SetHelpIndex(1);
    m_kindFixed = 0;
}

CPartDlg::~CPartDlg() = default;

Tab04827Data* CPartDlg::Data()
{
    return PartDataAs<Tab04827Data>();
}

XSvyPartVSheet* CPartDlg::Sheet(int place) const
{
    if (place < 0 || place >= kSheetCount) return nullptr;
    return m_sheets[static_cast<std::size_t>(place)].get();
}

void CPartDlg::DoDataExchange()
{
    TableDialogFrame::DoDataExchange();
    PlaceSheet(kPartLineControl, *m_partLine, Area::Top);
    for (const SheetPlace& place : SheetPlacesInInitOrder()) {
        const Area area = place.place == kSurveyKindSheet         ? Area::Top
                          : place.pageType == kPageHeader         ? Area::Header
                                                                  : Area::Page;
        PlaceSheet(place.controlId, *Sheet(place.place), area);
    }
}

BOOL CPartDlg::OnInitDialog()
{
    TableDialogFrame::OnInitDialog();
    InitSheet(*m_partLine, "tab04827.vst", 0);
    FitToOneRow(*m_partLine);
    for (const SheetPlace& place : SheetPlacesInInitOrder()) {
        XSvyPartVSheet* sheet = Sheet(place.place);
        sheet->SetPageType(place.pageType);
        sheet->SetVariantFlags(place.variant == SurveyVariant::Levelling, place.variant == SurveyVariant::Elevation3,
                               place.variant == SurveyVariant::Elevation4);
        InitSheet(*sheet, std::string(place.templateName), place.sheetNumber);
        if (place.place == kSurveyKindSheet) FitToOneRow(*sheet);
    }
    for (const char* label : kTabLabels) AddTab(label);
    ShowTabPage(0);
    RefreshAfterLoad();
    return 1;
}

void CPartDlg::InitToolBar()
{
    plugcommon::PartListCommands::AddPartCommandButtons(*this);
    _RemoveCmdButton(kRemovedCommand);
    AddCmdSeparator();
    AddCmdButton(kCmdConditions, "作業条件");
    if (QAction* action = CmdButtonAction(kCmdConditions)) {
        const QString tip = QString::fromUtf8("作業条件: このパートの作業のGNSS測量の条件を表示します");
        action->setToolTip(tip);
        action->setStatusTip(tip);
    }
    plugcommon::PartListCommands::KeepCommandBarWhole(*this);
}

BOOL CPartDlg::OnCommand(int id)
{
    if (id == kCmdConditions) return VPartJKNset() ? 1 : 0;
    if (id == kCmdCalcReg) {
        if (!IsReadOnly()) SetChanged(true);
        return OnVPartCalcReg();
    }
    return TableDialogFrame::OnCommand(id);
}

bool CPartDlg::SetWorkNo(long workNo)
{
    return m_workSelection->SetWorkNo(workNo);
}

int CPartDlg::GetWorkTbl(WorkTbl& out)
{
    return m_workSelection->GetWorkTbl(out);
}

bool CPartDlg::IsLevellingKind()
{
    return Data() && ReadSurveyKind(*Data()) == 1;
}

bool CPartDlg::IsElevation3Kind()
{
    return Data() && ReadSurveyKind(*Data()) == 2;
}

bool CPartDlg::IsElevation4Kind()
{
    return Data() && ReadSurveyKind(*Data()) == 3;
}

bool CPartDlg::IsLevellingInUse() const
{
    JGpsSuiVur sui(m_work.conditionNo);
    sui.Init();
    sui.Read(m_work.workKey, 0);
    return sui.IsUse();
}

bool CPartDlg::IsElevation3InUse() const
{
    JGpsHyoVur hyo(m_work.conditionNo);
    hyo.Read(m_work.workKey, 0);
    return hyo.IsUse3();
}

bool CPartDlg::IsElevation4InUse() const
{
    JGpsHyoVur hyo(m_work.conditionNo);
    hyo.Read(m_work.workKey, 0);
    return hyo.IsUse4();
}

int CPartDlg::KindFromCurrentConditions() const
{
    if (m_workTablePresent != 1) return 0;
    return KindFromConditions(IsLevellingInUse(), IsElevation3InUse(), IsElevation4InUse());
}

void CPartDlg::UpdateKindSheetEnable()
{
    if (XSvyPartVSheet* kind = Sheet(kSurveyKindSheet)) kind->setEnabled(m_kindFixed == 0);
}

void CPartDlg::ShowVariantSheets(bool levelling, bool elevation3, bool elevation4)
{
    const SurveyVariant shown = ShownVariant(levelling, elevation3, elevation4);
    const int tab = CurrentTab();
    for (SurveyVariant v : {SurveyVariant::Control, SurveyVariant::Levelling, SurveyVariant::Elevation3,
                            SurveyVariant::Elevation4}) {
        if (XSvyPartVSheet* header = Sheet(HeaderSheetOf(v))) header->setVisible(v == shown);
        if (XSvyPartVSheet* page = Sheet(PageSheetOf(v, tab))) page->setVisible(v == shown);
    }
}

void CPartDlg::ShowTabPage(int tab)
{
    for (SurveyVariant v : {SurveyVariant::Control, SurveyVariant::Levelling, SurveyVariant::Elevation3,
                            SurveyVariant::Elevation4}) {
        for (int t = 0; t < kTabCount; ++t) {
            if (XSvyPartVSheet* page = Sheet(PageSheetOf(v, t))) page->setVisible(false);
        }
    }
    const SurveyVariant variant = VariantOfKind(Data() ? ReadSurveyKind(*Data()) : 0);
    if (XSvyPartVSheet* page = Sheet(PageSheetOf(variant, tab))) {
        page->setVisible(true);
        page->setFocus();
    }
}

void CPartDlg::OnTabSelChange(int index)
{
    ShowTabPage(index);
}

void CPartDlg::RunCsvCommand(const PartData& copy)
{
    ExportEvaluationCsv(copy);
}

// The CSV button, the survey-kind sheet and the shown set follow the part after every
// load and part change, not only when the dialog opens.
void CPartDlg::RefreshAfterLoad()
{
    EnableCsvButton(m_workTablePresent == 1);
    // The conditions belong to the part's work.
    if (QAction* conditions = CmdButtonAction(kCmdConditions)) conditions->setEnabled(m_workTablePresent == 1);
    UpdateKindSheetEnable();
    ShowVariantSheets(IsLevellingKind(), IsElevation3Kind(), IsElevation4Kind());
    ShowTabPage(CurrentTab() < 0 ? 0 : CurrentTab());
}

int CPartDlg::ChangePart(long recNo)
{
    if (!TableDialogFrame::ChangePart(recNo)) return 0;
    RefreshAfterLoad();
    return 1;
}

int CPartDlg::OnLoadPart(DWORD flag)
{
    const int r = TableDialogFrame::OnLoadPart(flag);
    Tab04827Data* data = Data();
    if (!data) return r;
    const GnssTablePersistence persistence(GnssIniFolders::FromHost());
    if (r != 0 && flag == 0) {
        const KjnXyda_Nt coordinates;
        persistence.PrepareNewPart(*data, static_cast<short>(coordinates.GetZno() & 0xFF),
                                   plugcommon::FormatTodayEraDate());
        m_work = {};
        m_workTablePresent = GetWorkTbl(m_work);
        WriteWorkNo(*data, m_work.workKey);
        WriteSurveyKind(*data, KindFromCurrentConditions());
        m_kindFixed = 1;
        SetChanged(false);
    } else {
        m_work = {};
        m_workTablePresent = SetWorkNo(ReadWorkNo(*data)) ? GetWorkTbl(m_work) : 0;
        if (persistence.ServeReloadFlags(*data)) SetChanged(false);
        m_kindFixed = ReadSurveyKind(*data) == KindFromCurrentConditions() ? 1 : 0;
    }
    if (m_partLine) m_partLine->ReloadPartData();
    for (auto& sheet : m_sheets) {
        if (sheet) sheet->ReloadPartData();
    }
    RefreshAfterLoad();
    return r;
}

int CPartDlg::OnSavePart()
{
    const int r = TableDialogFrame::OnSavePart();
    if (r == 0) return 0;
    if (const Tab04827Data* data = Data()) GnssTablePersistence(GnssIniFolders::FromHost()).SaveAllSets(*data);
    return r;
}

long CPartDlg::OnVmsgVpvsnFieldChange(CVPartVSheet* sheet, const FieldChange& change)
{
    if (sheet && sheet->GetSheetNo() == 7 && change.stored == 1 && change.changed != 0) {
        ShowVariantSheets(IsLevellingKind(), IsElevation3Kind(), IsElevation4Kind());
        ShowTabPage(CurrentTab());
    }
    return TableDialogFrame::OnVmsgVpvsnFieldChange(sheet, change);
}

bool CPartDlg::VPartJKNset()
{
    return GpsVurDlg(m_work.workKey, 0x3803C08E0ull, m_work.conditionNo, this, 0) > 0;
}

}  // namespace mod04827
