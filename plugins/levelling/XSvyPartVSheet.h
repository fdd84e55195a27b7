#pragma once

#include "plugins/common/CodedCellSheet.h"
#include "plugins/common/XSvyPartVSheetBase.h"

namespace mod00963 {

// A page of the levelling table dialog: drop-down lists from "SuiHyoCmb.ini", the
// coordinate system and grade chosen by name, the
// manual positional texts locked while their switch is automatic, fixed-length cuts,
// and the guard on a change of the survey grade.
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

} // namespace mod00963
