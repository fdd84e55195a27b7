#include "plugins/levelling/XSvyPartVSheet.h"

#include "hostfw/CBcxGridCtrl.h"
#include "hostfw/CVPartDlg.h"
#include "hostfw/HostMessages.h"
#include "hostfw/PartData.h"
#include "plugins/levelling/LevellingKeys.h"
#include "plugins/levelling/LevellingLock.h"
#include "plugins/levelling/LevellingRecords.h"

namespace mod00963 {

namespace {

constexpr const char* kGradeChangeQuestion =
    "等級区分を変更すると水準網・水準点検路線の入力データが破棄されます。\nよろしいですか？";
constexpr const char* kCaption = "水準測量品質評価表";
constexpr DWORD kCellZone = 0x01C40466u;

// The header's coded cells: the coordinate system and the grade.
const plugcommon::CodedCells& CodedCellTable()
{
    static const plugcommon::CodedCells cells({{{kPageHeader, kCellZone}, &plugcommon::CoordinateSystemList()},
                                               {{kPageHeader, kCellGrade}, &plugcommon::LevellingGradeList()}});
    return cells;
}

} // namespace

XSvyPartVSheet::XSvyPartVSheet(QWidget* parent)
    : CodedCellSheet(CodedCellTable(), kCaption, GradedPartVSheet::GradeGuard{kCellGrade, kGradeChangeQuestion, kCaption},
                     parent)
{
}

// The network part or a check route the grade change would discard; the observation
// notes do not depend on the grade.
bool XSvyPartVSheet::HasChosenParts(PartData& data)
{
    PartRecord r;
    if (data.GetRecord("FR1", 0, r) && r.Dword(rec::kFR1Network) != 0)
        return true;
    return data.RowCount("R3") > 0;
}

void XSvyPartVSheet::DiscardChosenParts(PartData& data)
{
    PartRecord fr1;
    data.GetRecord("FR1", 0, fr1);
    fr1.SetDword(rec::kFR1Network, 0);
    data.PutRecord("FR1", 0, fr1);
    data.ClearTypeData(rec::kTypeRoutes);
}

bool XSvyPartVSheet::IsCellLocked(int, DWORD code)
{
    if (GetPageType() != kPagePositional || GetPartData() == nullptr)
        return false;
    PartRecord f03;
    GetPartData()->GetRecord("F03", 0, f03);
    return LevellingLock::IsCellLocked(GetPageType(), code,
                                       {f03.Short(rec::kF03OverallSwitch), f03.Short(rec::kF03RelRequirementSwitch),
                                        f03.Short(rec::kF03RelResultSwitch)});
}

DWORD XSvyPartVSheet::FillComboList(DWORD code)
{
    if (FillCodedList(code))
        return 0;
    return FillComboListFrom(LevellingKeys::Lists(), code);
}

// The chosen value is stored before the grade check compares it with the remembered one.
void XSvyPartVSheet::OnGridSelListItem(GridDispInfo& info, const GridCellInfo& cell)
{
    CodedCellSheet::OnGridSelListItem(info, cell);
    StoreCodedChoice(cell);
    if (GetPageType() == kPageHeader)
        RunGradeCheck(cell);
    if (GetPageType() == kPagePositional && LevellingLock::IsSwitchCell(cell.code))
        RedrawGrid();
    StoreChosenListEntry(cell);
}

} // namespace mod00963
