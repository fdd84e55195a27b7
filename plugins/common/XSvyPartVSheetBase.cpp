#include "plugins/common/XSvyPartVSheetBase.h"

#include "hostfw/CBcxGridCtrl.h"
#include "hostfw/CVPartDlg.h"
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

} // namespace plugcommon
