#pragma once

#include "hostfw/CVPartVSheet.h"
#include "hostfw/HostTypes.h"
#include "plugins/common/GradeCheck.h"

#include <string>

#include "plugins/common/PartListFiller.h"

class CVPartDlg;
class PartData;

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
    // Fills the grid's drop-down list from the plug-in's list file; 0 when the cell of
    // this page has a list key, else the code unchanged.
    DWORD FillComboListFrom(const PartListFiller& lists, DWORD code);

private:
    short m_pageType = 0;
};

// A page of the control-point and levelling tables: besides the shared cells, the
// guard on a change of the survey grade (header page, grade field of F1) and the
// fixed-length cuts. The plug-in says which chosen parts a grade change discards.
class GradedPartVSheet : public XSvyPartVSheetBase {
    Q_OBJECT
public:
    struct GradeGuard {
        DWORD gradeCell;       // the header page's grade cell
        const char* question;  // asked before chosen parts are discarded
        const char* caption;
    };
    GradedPartVSheet(const GradeGuard& guard, QWidget* parent);

    // The grade the sheet compares a change with: the part's stored grade, taken at
    // every load and part change.
    void RememberPartGrade();
    short RememberedGrade() const { return m_grade.Remembered(); }

protected:
    // A typed grade runs the same check as one chosen from the list.
    void OnSetText(int flag, const GridCellInfo& cell, const std::string& text) override;
    void OnSetFixText(const GridCellInfo& cell, const std::string& text) override;
    // Asks before a grade change discards chosen parts: restores the grade when the
    // user declines, else discards them and has the dialog reload its part lists.
    void RunGradeCheck(const GridCellInfo& cell);

    // Any chosen part the grade change would discard.
    virtual bool HasChosenParts(PartData& data) = 0;
    virtual void DiscardChosenParts(PartData& data) = 0;

private:
    GradeGuard m_guard;
    GradeCheck m_grade;
};

} // namespace plugcommon
