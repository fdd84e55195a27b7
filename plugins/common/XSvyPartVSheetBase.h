#pragma once

#include "hostfw/CVPartVSheet.h"
#include "hostfw/HostTypes.h"

#include <string>

class CVPartDlg;

namespace plugcommon {

// Shared part of the plug-ins' XSvyPartVSheet: the page type, locked cells (grey,
// empty, read-only, no editor or list) and the list hook order. A plug-in derives its
// XSvyPartVSheet and answers IsCellLocked and FillComboList.
class XSvyPartVSheetBase : public CSvyPartVSheet {
    Q_OBJECT
public:
    explicit XSvyPartVSheetBase(QWidget* parent = nullptr);

    short GetPageType() const { return m_pageType; }
    void SetPageType(short pageType) { m_pageType = pageType; }

    // The plug-in's lock test for a cell of a record row.
    virtual bool IsCellLocked(int rec, DWORD code) = 0;
    // Fills the grid's drop-down list for the cell; 0 when it filled one, else the
    // code unchanged.
    virtual DWORD FillComboList(DWORD code) = 0;

protected:
    void OnGridGetDispInfo(GridDispInfo& info, int flag) override;
    void OnGetFixText(const GridCellInfo& cell, std::string& text) override;
    std::uint32_t OnGetTextBkColor(const GridCellInfo& cell) override;
    int OnGridInitList(const GridCellInfo& cell) override;

    // A drop-down list cell stores the chosen entry's text in its field and is redrawn;
    // false when the cell takes no list or no entry is chosen.
    bool StoreChosenListEntry(const GridCellInfo& cell);
    // A fixed-length cell stores the text cut to its size and the grid takes the focus;
    // false, nothing stored, for other cells.
    bool StoreFixedLengthText(const GridCellInfo& cell, const std::string& text);
    // The table dialog that holds the sheet; null when none.
    CVPartDlg* OwningDialog() const;

private:
    short m_pageType = 0;
};

} // namespace plugcommon
