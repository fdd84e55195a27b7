#include "plugins/gnss/XSvyPartVSheet.h"

#include "plugins/common/ComboListIni.h"
#include "plugins/gnss/GnssPluginTable.h"
#include "plugins/gnss/GnssSheetRules.h"
#include "plugins/gnss/GnssTableAccess.h"

#include "hostfw/CBcxGridCtrl.h"
#include "hostfw/Tab04827Data.h"

namespace mod04827 {


void XSvyPartVSheet::SetVariantFlags(bool levelling, bool elevation3, bool elevation4)
{
    m_levelling = levelling ? 1 : 0;
    m_elevation3 = elevation3 ? 1 : 0;
    m_elevation4 = elevation4 ? 1 : 0;
}

SurveyVariant XSvyPartVSheet::Variant() const
{
    return SheetVariant(m_levelling != 0, m_elevation3 != 0, m_elevation4 != 0);
}

bool XSvyPartVSheet::IsListCell(DWORD code) const
{
    return mod04827::IsListCell(GetPageType(), code);
}

namespace {

constexpr DWORD kCellZone = 0x0FFF0E0Cu;
constexpr DWORD kCellSurveyKind = 0x0FFF0D0Cu;

// The coded cells: the header's coordinate system and the survey kind.
const plugcommon::CodedCells& CodedCellTable()
{
    static const plugcommon::CodedCells cells({{{kPageHeader, kCellZone}, &plugcommon::CoordinateSystemList()},
                                               {{kPageSurveyKind, kCellSurveyKind}, &plugcommon::GnssSurveyKindList()}});
    return cells;
}

}  // namespace

XSvyPartVSheet::XSvyPartVSheet(QWidget* parent)
    : CodedCellSheet(CodedCellTable(), GnssPluginTable().caption, parent)
{
}


DWORD XSvyPartVSheet::FillComboList(DWORD code)
{
    if (FillCodedList(code)) return 0;
    const auto key = ListKeyOf(GetPageType(), code, Variant());
    if (!key) return code;
    GridListBox* list = GetGrid() ? GetGrid()->GetDropDownListBox() : nullptr;
    plugcommon::FillListFromComboIni(plugcommon::ComboIniPath(std::string(ListFileName(Variant()))),
                                     GnssPluginTable().listSection, list, *key);
    return 0;
}

bool XSvyPartVSheet::IsCellLocked(int /*rec*/, DWORD code)
{
    if (GetPageType() != kPagePositional) return false;
    const auto* data = dynamic_cast<const Tab04827Data*>(GetPartData());
    if (!data) return false;
    return mod04827::IsCellLocked(GetPageType(), code, ReadSwitches(*data, Variant()));
}

void XSvyPartVSheet::OnGridSelListItem(GridDispInfo& info, const GridCellInfo& cell)
{
    CVPartVSheet::OnGridSelListItem(info, cell);
    if (StoreCodedChoice(cell)) return;
    if (IsSwitchCell(GetPageType(), cell.code)) RedrawGrid();
    if (!IsListCell(cell.code) || !GetGrid()) return;
    const GridListBox* list = GetGrid()->GetDropDownListBox();
    const int selection = list->GetCurSel();
    if (selection == -1) return;
    if (SetPartField(RowToRec(cell.row), cell.code, list->GetText(selection))) CellToRange(cell);
}

std::uint32_t XSvyPartVSheet::OnGetTextColor(const GridCellInfo& cell)
{
    return CSvyPartVSheet::OnGetTextColor(cell);
}

}  // namespace mod04827
