#include "plugins/common/XSvyPartVSheetBase.h"

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

} // namespace plugcommon
