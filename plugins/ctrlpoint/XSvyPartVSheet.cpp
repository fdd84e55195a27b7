#include "plugins/ctrlpoint/XSvyPartVSheet.h"

#include "hostfw/CBcxGridCtrl.h"
#include "hostfw/CVPartDlg.h"
#include "hostfw/HostMessages.h"
#include "hostfw/Tab00519Data.h"
#include "plugins/ctrlpoint/ControlPointKeys.h"
#include "plugins/ctrlpoint/ControlPointRecords.h"
#include "plugins/ctrlpoint/PositionalLock.h"

namespace mod00519 {

namespace {

constexpr const char* kGradeChangeQuestion =
    "等級区分を変更すると観測網及び点検計算の選択データが破棄されます。\nよろしいですか？";
constexpr const char* kCaption = "基準点品質評価表";
constexpr unsigned kMsgShowNetworkList = kMsgUser + 1;
constexpr DWORD kCellZone = 0x01C40361u;

// The coded cells: the header's coordinate system and grade, the network kind.
const plugcommon::CodedCells& CodedCellTable()
{
    static const plugcommon::CodedCells cells({{{kPageHeader, kCellZone}, &plugcommon::CoordinateSystemList()},
                                               {{kPageHeader, kCellGrade}, &plugcommon::ControlPointGradeList()},
                                               {{kPageNetwork, kCellNetworkKind}, &plugcommon::NetworkKindList()}});
    return cells;
}

} // namespace

XSvyPartVSheet::XSvyPartVSheet(QWidget* parent)
    : CodedCellSheet(CodedCellTable(), kCaption, GradedPartVSheet::GradeGuard{kCellGrade, kGradeChangeQuestion, kCaption},
                     parent)
{
}

// Any network part or check-calculation row the grade change would discard.
bool XSvyPartVSheet::HasChosenParts(PartData& data)
{
    PartRecord r;
    if (data.GetRecord("FR1", 0, r) && (r.Dword(rec::kFR1Strict628) != 0 || r.Dword(rec::kFR1Strict631) != 0))
        return true;
    for (const char* name : {"FR2", "FR3"}) {
        if (data.GetRecord(name, 0, r) && r.Dword(0) != 0)
            return true;
    }
    const std::size_t rows = data.RowCount("R4");
    for (std::size_t i = 0; i < rows; ++i) {
        if (data.GetRecord("R4", i, r) && (r.Dword(rec::kR4Horizontal) != 0 || r.Dword(rec::kR4Height) != 0))
            return true;
    }
    return false;
}

// The network parts and the check calculations.
void XSvyPartVSheet::DiscardChosenParts(PartData& data)
{
    for (const int typeNo : {7, 8, 9, 11})
        data.ClearTypeData(typeNo);
}

bool XSvyPartVSheet::IsCellLocked(int, DWORD code)
{
    if (GetPageType() != kPagePositional || GetPartData() == nullptr)
        return false;
    PartRecord f03;
    GetPartData()->GetRecord("F03", 0, f03);
    std::array<short, 5> switches{};
    for (std::size_t s = 0; s < switches.size(); ++s)
        switches[s] = f03.Short(rec::kF03Switch[s]);
    return PositionalLock::IsGeneratedCellLocked(GetPageType(), code, switches);
}

DWORD XSvyPartVSheet::FillComboList(DWORD code)
{
    if (FillCodedList(code))
        return 0;
    return FillComboListFrom(ControlPointKeys::Lists(), code);
}

// The chosen value is stored before the grade check compares it with the remembered one.
void XSvyPartVSheet::OnGridSelListItem(GridDispInfo& info, const GridCellInfo& cell)
{
    CodedCellSheet::OnGridSelListItem(info, cell);
    StoreCodedChoice(cell);
    if (GetPageType() == kPageHeader)
        RunGradeCheck(cell);
    if (GetPageType() == kPagePositional && cell.code == kCellAbsoluteResultSwitch)
        RedrawGrid();
    StoreChosenListEntry(cell);
    if (GetPageType() == 5 && cell.code == kCellNetworkKind) {
        if (CVPartDlg* dialog = OwningDialog())
            dialog->PostUserMessage(kMsgShowNetworkList);
    }
}

} // namespace mod00519
