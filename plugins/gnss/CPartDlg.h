#pragma once

#include "plugins/common/TableDialogFrame.h"
#include "plugins/gnss/SurveyVariant.h"

#include "hostfw/gnss/GpsWorkSelection.h"

#include <array>
#include <memory>

class CSvyPartVSheet;
class Tab04827Data;

namespace mod04827 {

class XSvyPartVSheet;

// The GNSS quality table dialog: four complete table sets per part (control-point
// survey, levelling, elevation survey 3rd and 4th class); the set of the part's survey
// kind is shown, and the survey-kind sheet at the top chooses it.
class CPartDlg : public plugcommon::TableDialogFrame {
    Q_OBJECT
public:
    static constexpr int kSheetCount = 27;
    // The command bar's button that shows the work's GNSS conditions (VPartJKNset).
    static constexpr int kCmdConditions = 33799;

    CPartDlg(VCmdData* cmd, std::unique_ptr<CTabParamDB> db, QWidget* parent, int mode);
    ~CPartDlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    void InitToolBar() override;
    BOOL OnCommand(int id) override;
    int ChangePart(long recNo) override;
    int OnLoadPart(DWORD flag) override;
    int OnSavePart() override;
    long OnVmsgVpvsnFieldChange(CVPartVSheet* sheet, const FieldChange& change) override;
    bool VPartJKNset();

    // Work of the part.
    bool SetWorkNo(long workNo);
    int GetWorkTbl(WorkTbl& out);

    // The survey kind of the part, and what the current conditions call for.
    bool IsLevellingKind();
    bool IsElevation3Kind();
    bool IsElevation4Kind();
    bool IsLevellingInUse() const;
    bool IsElevation3InUse() const;
    bool IsElevation4InUse() const;

    void UpdateKindSheetEnable();
    void ShowVariantSheets(bool levelling, bool elevation3, bool elevation4);
    void ShowTabPage(int tab);

    // State for tests and the host stand-in.
    XSvyPartVSheet* Sheet(int place) const;
    bool IsKindFixed() const { return m_kindFixed != 0; }
    bool IsWorkTablePresent() const { return m_workTablePresent == 1; }

protected:
    void OnTabSelChange(int index) override;
    void RunCsvCommand(const PartData& copy) override;

private:
    Tab04827Data* Data();
    int KindFromCurrentConditions() const;
    void RefreshAfterLoad();

    std::unique_ptr<CSvyPartVSheet> m_partLine;
    int m_kindFixed = 0;
    std::array<std::unique_ptr<XSvyPartVSheet>, kSheetCount> m_sheets;
    WorkTbl m_work;
    int m_workTablePresent = 0;
    std::unique_ptr<GpsWorkSelection> m_workSelection;
};

}  // namespace mod04827
