#pragma once

#include "plugins/common/CodedCellSheet.h"
#include "plugins/common/XSvyPartVSheetBase.h"
#include "plugins/gnss/SurveyVariant.h"

namespace mod04827 {

// A sheet of the GNSS table dialog: its drop-down lists come from the list file of its
// variant, the coordinate system and the survey kind are chosen by name, and on the positional page the generated texts are locked while their
// switch says automatic.
class XSvyPartVSheet : public plugcommon::CodedCellSheet<plugcommon::XSvyPartVSheetBase> {
    Q_OBJECT
public:
    explicit XSvyPartVSheet(QWidget* parent = nullptr);

    void SetVariantFlags(bool levelling, bool elevation3, bool elevation4);
    SurveyVariant Variant() const;

    bool IsListCell(DWORD code) const;
    DWORD FillComboList(DWORD code) override;
    bool IsCellLocked(int rec, DWORD code) override;
    bool IsCellDisabled(int rec, DWORD code) { return IsCellLocked(rec, code); }

protected:
    void OnGridSelListItem(GridDispInfo& info, const GridCellInfo& cell) override;
    std::uint32_t OnGetTextColor(const GridCellInfo& cell) override;

private:
    int m_levelling = 0;
    int m_elevation3 = 0;
    int m_elevation4 = 0;
};

}  // namespace mod04827
