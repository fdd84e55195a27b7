#include "plugins/ctrlpoint/XSvyPartVSheet.h"

#include "hostfw/CBcxGridCtrl.h"
#include "hostfw/CVPartDlg.h"
#include "hostfw/HostMessages.h"
#include "hostfw/Tab00519Data.h"
#include "plugins/common/FixedLengthCut.h"
#include "plugins/ctrlpoint/ControlPointKeys.h"
#include "plugins/ctrlpoint/ControlPointRecords.h"
#include "plugins/ctrlpoint/PositionalLock.h"

namespace mod00519 {

namespace {

constexpr const char* kGradeChangeQuestion =
    "等級区分を変更すると観測網及び点検計算の選択データが破棄されます。\nよろしいですか？";
constexpr const char* kCaption = "基準点品質評価表";
constexpr unsigned kMsgShowNetworkList = kMsgUser + 1;
constexpr unsigned kMsgReloadPartLists = kMsgUser + 2;

short StoredGrade(const PartData* data)
{
    PartRecord f1;
    return data != nullptr && data->GetRecord("F1", 0, f1) ? f1.Short(rec::kF1Grade) : 1;
}

// Any network part or check-calculation row the grade change would discard.
bool HasChosenParts(PartData& data)
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

} // namespace

XSvyPartVSheet::XSvyPartVSheet(QWidget* parent) : XSvyPartVSheetBase(parent) {}

CVPartDlg* XSvyPartVSheet::Dialog() const
{
    for (QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (auto* dialog = dynamic_cast<CVPartDlg*>(w))
            return dialog;
    }
    return nullptr;
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
    GridListBox* list = GetGrid() != nullptr ? GetGrid()->GetDropDownListBox() : nullptr;
    if (list == nullptr)
        return code;
    const std::optional<std::string> key = ControlPointKeys::Lists().KeyOf(GetPageType(), code);
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
    if (GetPageType() == kPagePositional && cell.code == kCellAbsoluteResultSwitch)
        RedrawGrid();
    // A drop-down list cell stores the chosen entry's text.
    if (EditorAt(cell.row, cell.col) == VstTemplate::Editor::List && GetGrid() != nullptr) {
        GridListBox* list = GetGrid()->GetDropDownListBox();
        const int selected = list->GetCurSel();
        if (selected >= 0 && SetPartField(RowToRec(cell.row), cell.code, list->GetText(selected)))
            CellToRange(cell);
    }
    if (GetPageType() == 5 && cell.code == kCellNetworkKind) {
        if (CVPartDlg* dialog = Dialog())
            dialog->PostUserMessage(kMsgShowNetworkList);
    }
}

void XSvyPartVSheet::OnSetText(int flag, const GridCellInfo& cell, const std::string& text)
{
    XSvyPartVSheetBase::OnSetText(flag, cell, text);
    if (!IsInMassChange())
        RunGradeCheck(cell);
}

void XSvyPartVSheet::OnSetFixText(const GridCellInfo& cell, const std::string& text)
{
    const std::optional<std::size_t> limit = plugcommon::FixedLengthCut::LimitOfCode(cell.code);
    if (!limit) {
        XSvyPartVSheetBase::OnSetFixText(cell, text);
        return;
    }
    SetPartField(RowToRec(cell.row), cell.code, plugcommon::FixedLengthCut::Cut(text, *limit));
    if (GetGrid() != nullptr)
        GetGrid()->setFocus();
}

void XSvyPartVSheet::RunGradeCheck(const GridCellInfo& cell)
{
    if (GetPageType() != kPageHeader || cell.code != kCellGrade || GetPartData() == nullptr)
        return;
    PartData& data = *GetPartData();
    const short grade = StoredGrade(&data);
    const auto confirm = [] {
        return HostMessageBox(kGradeChangeQuestion, kCaption, kMbYesNo | kMbIconQuestion) == kIdYes;
    };
    switch (m_grade.Apply(grade, HasChosenParts(data), confirm)) {
    case plugcommon::GradeCheck::Outcome::Restored:
        SetPartField(RowToRec(cell.row), kCellGrade, std::to_string(m_grade.Remembered()));
        RedrawGrid();
        break;
    case plugcommon::GradeCheck::Outcome::ChangedClearing:
        for (const int typeNo : {7, 8, 9, 11})
            data.ClearTypeData(typeNo);
        if (CVPartDlg* dialog = Dialog())
            dialog->SendUserMessage(kMsgReloadPartLists);
        break;
    default:
        break;
    }
}

} // namespace mod00519
