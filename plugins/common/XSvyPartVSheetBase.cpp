#include "plugins/common/XSvyPartVSheetBase.h"

#include "hostfw/CBcxGridCtrl.h"
#include "hostfw/CVPartDlg.h"
#include "hostfw/HostMessages.h"
#include "hostfw/PartData.h"
#include "plugins/common/FixedLengthCut.h"

namespace plugcommon {

XSvyPartVSheetBase::XSvyPartVSheetBase(QWidget* parent) : CSvyPartVSheet(parent) {}

void XSvyPartVSheetBase::OnGridGetDispInfo(GridDispInfo& info, int flag)
{
    CSvyPartVSheet::OnGridGetDispInfo(info, flag);
    if (flag == 0 && (info.mask & GridDispInfo::kMaskState) && (info.style & GridDispInfo::kStyleLockable) &&
        !(info.state & GridDispInfo::kStateReadOnly) && IsCellLocked(RowToRec(info.cell.row), info.cell.code))
        info.state |= GridDispInfo::kStateReadOnly;
}

void XSvyPartVSheetBase::OnGetFixText(const GridCellInfo& cell, std::string& text)
{
    CSvyPartVSheet::OnGetFixText(cell, text);
    if (IsCellLocked(RowToRec(cell.row), cell.code))
        text.clear();
}

std::uint32_t XSvyPartVSheetBase::OnGetTextBkColor(const GridCellInfo& cell)
{
    if (IsCellLocked(RowToRec(cell.row), cell.code))
        return kColorLocked;
    return CSvyPartVSheet::OnGetTextBkColor(cell);
}

int XSvyPartVSheetBase::OnGridInitList(const GridCellInfo& cell)
{
    // A locked cell offers no list either.
    if (IsCellLocked(RowToRec(cell.row), cell.code))
        return 0;
    FillComboList(cell.code);
    return CSvyPartVSheet::OnGridInitList(cell);
}

bool XSvyPartVSheetBase::StoreChosenListEntry(const GridCellInfo& cell)
{
    if (EditorAt(cell.row, cell.col) != VstTemplate::Editor::List || GetGrid() == nullptr)
        return false;
    GridListBox* list = GetGrid()->GetDropDownListBox();
    const int selected = list->GetCurSel();
    if (selected < 0 || !SetPartField(RowToRec(cell.row), cell.code, list->GetText(selected)))
        return false;
    CellToRange(cell);
    return true;
}

bool XSvyPartVSheetBase::StoreFixedLengthText(const GridCellInfo& cell, const std::string& text)
{
    const std::optional<std::size_t> limit = FixedLengthCut::LimitOfCode(cell.code);
    if (!limit)
        return false;
    SetPartField(RowToRec(cell.row), cell.code, FixedLengthCut::Cut(text, *limit));
    if (GetGrid() != nullptr)
        GetGrid()->setFocus();
    return true;
}

CVPartDlg* XSvyPartVSheetBase::OwningDialog() const
{
    for (QWidget* w = parentWidget(); w != nullptr; w = w->parentWidget()) {
        if (auto* dialog = dynamic_cast<CVPartDlg*>(w))
            return dialog;
    }
    return nullptr;
}

DWORD XSvyPartVSheetBase::FillComboListFrom(const PartListFiller& lists, DWORD code)
{
    GridListBox* list = GetGrid() != nullptr ? GetGrid()->GetDropDownListBox() : nullptr;
    if (list == nullptr || !lists.KeyOf(GetPageType(), code))
        return code;
    lists.Fill(list, GetPageType(), code);
    return 0;
}

namespace {

constexpr short kPageHeader = 0;
constexpr std::size_t kF1Grade = 8;
// The table dialog reloads its part lists.
constexpr unsigned kMsgReloadPartLists = kMsgUser + 2;

short StoredGrade(const PartData* data)
{
    PartRecord f1;
    return data != nullptr && data->GetRecord("F1", 0, f1) ? f1.Short(kF1Grade) : 1;
}

} // namespace

GradedPartVSheet::GradedPartVSheet(const GradeGuard& guard, QWidget* parent)
    : XSvyPartVSheetBase(parent), m_guard(guard)
{
}

void GradedPartVSheet::RememberPartGrade()
{
    m_grade.Remember(StoredGrade(GetPartData()));
}

void GradedPartVSheet::OnSetText(int flag, const GridCellInfo& cell, const std::string& text)
{
    XSvyPartVSheetBase::OnSetText(flag, cell, text);
    if (!IsInMassChange())
        RunGradeCheck(cell);
}

void GradedPartVSheet::OnSetFixText(const GridCellInfo& cell, const std::string& text)
{
    if (!StoreFixedLengthText(cell, text))
        XSvyPartVSheetBase::OnSetFixText(cell, text);
}

void GradedPartVSheet::RunGradeCheck(const GridCellInfo& cell)
{
    if (GetPageType() != kPageHeader || cell.code != m_guard.gradeCell || GetPartData() == nullptr)
        return;
    PartData& data = *GetPartData();
    const GradeGuard guard = m_guard;
    const auto confirm = [&guard] {
        return HostMessageBox(guard.question, guard.caption, kMbYesNo | kMbIconQuestion) == kIdYes;
    };
    const short grade = StoredGrade(&data);
    switch (m_grade.Apply(grade, HasChosenParts(data), confirm)) {
    case GradeCheck::Outcome::Restored:
        SetPartField(RowToRec(cell.row), m_guard.gradeCell, std::to_string(m_grade.Remembered()));
        RedrawGrid();
        break;
    case GradeCheck::Outcome::ChangedClearing:
        DiscardChosenParts(data);
        if (CVPartDlg* dialog = OwningDialog())
            dialog->SendUserMessage(kMsgReloadPartLists);
        break;
    default:
        break;
    }
}

} // namespace plugcommon
