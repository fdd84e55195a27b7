#pragma once

#include <array>
#include <memory>
#include <optional>

#include "hostfw/CTabParamDB.h"
#include "plugins/common/PartListCommands.h"
#include "plugins/common/TableDialogFrame.h"
#include "plugins/ctrlpoint/PartAdmission.h"

class CSvyPartVSheet;
class CVPartDocument;
class QCheckBox;

namespace mod00519 {

class ControlPointPartList;
class CVSheetPartListKan;
class CVSheetPartListTen;
class CVSheetPartListX;
class CVSheetPartListX2;
class XSvyPartVSheet;

// The control-point table dialog: five quality-element tabs, the observation network,
// the check calculations and the check surveys.
class CPartDlg : public plugcommon::TableDialogFrame {
    Q_OBJECT
public:
    static constexpr int kIdCheckSurvey = 12001;
    // The host's document-board update (the stand-in's command that plays it).
    static constexpr int kCmdBoardUpdate = plugcommon::PartListCommands::kCmdBoardImport;

    CPartDlg(VCmdData* cmd, std::unique_ptr<CTabParamDB> db, QWidget* parent, int mode);
    ~CPartDlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange() override;
    void InitToolBar() override;
    int ChangePart(long recNo) override;
    int OnLoadPart(DWORD flag) override;
    int OnSavePart() override;
    BOOL OnCommand(int id) override;
    long OnVmsgVpvsnFieldChange(CVPartVSheet* sheet, const FieldChange& change) override;
    long OnUserMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam) override;
    bool PressButton(int id) override;

    // The list the part-search commands use; none on a quality-element tab.
    ControlPointPartList* CurrentList() const { return m_current; }
    bool IsCheckSurveyEnabled() const;
    // Pairs the check-calculation rows on a copy and stores them all; the rows are
    // restored when a store fails. False when nothing could be stored.
    bool PairCheckCalcRows();
    // Imports the picked document boards into the current list.
    void ImportDocumentBoards();

protected:
    void OnTabSelChange(int index) override;
    void RunCsvCommand(const PartData& copy) override;

private:
    void ImportBoardValues(ControlPointPartList& list, const GridCellInfo& cell, const CVPartDocument& document);
    void ShowNetworkList();
    // The part-list commands follow the current list, its state and the part's.
    void UpdateListCommands();
    std::array<ControlPointPartList*, 5> AllLists() const;
    void ApplyCheckSurveyState(bool enabled);
    void OnCheckSurveyClicked();
    void RefreshFromPart();
    short NetworkKind();
    ControlPointPartList* NetworkList(short kind) const;

    std::unique_ptr<CSvyPartVSheet> m_partLine;
    std::array<std::unique_ptr<XSvyPartVSheet>, 8> m_pages;   // [0] bound to nothing
    std::unique_ptr<CVSheetPartListX> m_strict;
    std::unique_ptr<CVSheetPartListKan> m_arbitrary;
    std::unique_ptr<CVSheetPartListKan> m_singleRoute;
    std::unique_ptr<CVSheetPartListTen> m_handbooks;
    std::unique_ptr<CVSheetPartListX2> m_checkCalcs;
    QCheckBox* m_checkSurvey = nullptr;
    std::unique_ptr<plugcommon::PartListCommands> m_listCommands;
    ControlPointPartList* m_current = nullptr;
    int m_tab = 0;
};

} // namespace mod00519
