#pragma once

#include "plugins/common/CodedCellSheet.h"
#include "plugins/common/XSvyPartVSheetBase.h"

namespace mod00519 {

// A page of the control-point table dialog: drop-down lists from "KjnHyoCmb.ini", the
// coordinate system, grade and network kind chosen by name, the generated positional texts locked while automatic, fixed-length cuts, and the guard
// on a change of the survey grade.
class XSvyPartVSheet : public plugcommon::CodedCellSheet<plugcommon::GradedPartVSheet> {
    Q_OBJECT
public:
    explicit XSvyPartVSheet(QWidget* parent = nullptr);

    bool IsCellLocked(int rec, DWORD code) override;
    DWORD FillComboList(DWORD code) override;

protected:
    void OnGridSelListItem(GridDispInfo& info, const GridCellInfo& cell) override;
    bool HasChosenParts(PartData& data) override;
    void DiscardChosenParts(PartData& data) override;
};

} // namespace mod00519
