#pragma once

#include "plugins/common/GradeCheck.h"
#include "plugins/common/XSvyPartVSheetBase.h"

namespace mod00963 {

// A page of the levelling table dialog: drop-down lists from "SuiHyoCmb.ini", the
// manual positional texts locked while their switch is automatic, fixed-length cuts,
// and the guard on a change of the survey grade.
class XSvyPartVSheet : public plugcommon::XSvyPartVSheetBase {
    Q_OBJECT
public:
    explicit XSvyPartVSheet(QWidget* parent = nullptr);

    bool IsCellLocked(int rec, DWORD code) override;
    DWORD FillComboList(DWORD code) override;
    // The grade the sheet compares a change with: the part's stored grade, taken at
    // every load and part change.
    void RememberPartGrade();
    short RememberedGrade() const { return m_grade.Remembered(); }

protected:
    void OnGridSelListItem(GridDispInfo& info, const GridCellInfo& cell) override;
    void OnSetText(int flag, const GridCellInfo& cell, const std::string& text) override;
    void OnSetFixText(const GridCellInfo& cell, const std::string& text) override;

private:
    void RunGradeCheck(const GridCellInfo& cell);

    plugcommon::GradeCheck m_grade;
};

} // namespace mod00963
