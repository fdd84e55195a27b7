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
constexpr unsigned kMsgReloadPartLists = kMsgUser + 2;

short StoredGrade(const PartData* data)
{
    PartRecord f1;
    return data != nullptr && data->GetRecord("F1", 0, f1) ? f1.Short(rec::kF1Grade) : 1;
}

// The network part or a check route the grade change would discard; the observation
// notes do not depend on the grade.
bool HasChosenParts(const PartData& data)
{
    PartRecord r;
    if (data.GetRecord("FR1", 0, r) && r.Dword(rec::kFR1Network) != 0)
        return true;
    return data.RowCount("R3") > 0;
}

} // namespace

XSvyPartVSheet::XSvyPartVSheet(QWidget* parent) : XSvyPartVSheetBase(parent) {}

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
    GridListBox* list = GetGrid() != nullptr ? GetGrid()->GetDropDownListBox() : nullptr;
    if (list == nullptr)
        return code;
    const std::optional<std::string> key = LevellingKeys::Lists().KeyOf(GetPageType(), code);
    if (!key)
        return code;
    FillListFromComboIni(list, *key);
    return 0;
}

void XSvyPartVSheet::RememberPartGrade()
{
    m_grade.Remember(StoredGrade(GetPartData()));
}

void XSvyPartVSheet::OnGridSelListItem(GridDispInfo& info, const GridCellInfo& cell)
{
    XSvyPartVSheetBase::OnGridSelListItem(info, cell);
    if (GetPageType() == kPageHeader)
        RunGradeCheck(cell);
    if (GetPageType() == kPagePositional && LevellingLock::IsSwitchCell(cell.code))
        RedrawGrid();
    StoreChosenListEntry(cell);
}

// A typed grade runs the same check as one chosen from the list.
void XSvyPartVSheet::OnSetText(int flag, const GridCellInfo& cell, const std::string& text)
{
    XSvyPartVSheetBase::OnSetText(flag, cell, text);
    if (!IsInMassChange())
        RunGradeCheck(cell);
}

void XSvyPartVSheet::OnSetFixText(const GridCellInfo& cell, const std::string& text)
{
    if (!StoreFixedLengthText(cell, text))
        XSvyPartVSheetBase::OnSetFixText(cell, text);
}

void XSvyPartVSheet::RunGradeCheck(const GridCellInfo& cell)
{
    if (GetPageType() != kPageHeader || cell.code != kCellGrade || GetPartData() == nullptr)
        return;
    PartData& data = *GetPartData();
    const auto confirm = [] {
        return HostMessageBox(kGradeChangeQuestion, kCaption, kMbYesNo | kMbIconQuestion) == kIdYes;
    };
    switch (m_grade.Apply(StoredGrade(&data), HasChosenParts(data), confirm)) {
    case plugcommon::GradeCheck::Outcome::Restored:
        SetPartField(RowToRec(cell.row), kCellGrade, std::to_string(m_grade.Remembered()));
        RedrawGrid();
        break;
    case plugcommon::GradeCheck::Outcome::ChangedClearing: {
        PartRecord fr1;
        data.GetRecord("FR1", 0, fr1);
        fr1.SetDword(rec::kFR1Network, 0);
        data.PutRecord("FR1", 0, fr1);
        data.ClearTypeData(rec::kTypeRoutes);
        if (CVPartDlg* dialog = OwningDialog())
            dialog->SendUserMessage(kMsgReloadPartLists);
        break;
    }
    default:
        break;
    }
}

} // namespace mod00963
