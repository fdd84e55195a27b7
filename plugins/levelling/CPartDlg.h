#pragma once

#include <array>
#include <memory>

#include "hostfw/CTabParamDB.h"
#include "plugins/common/PartListCommands.h"
#include "plugins/common/TableDialogFrame.h"

class CSvyPartVSheet;

namespace mod00963 {

class CVSheetPartListX;
class XSvyPartVSheet;

// The levelling table dialog: five quality-element tabs and the three part lists
// (network adjustment, observation notes, check routes) the evaluation reads.
class CPartDlg : public plugcommon::TableDialogFrame {
    Q_OBJECT
public:

    CPartDlg(VCmdData* cmd, std::unique_ptr<CTabParamDB> db, QWidget* parent, int mode);
    ~CPartDlg() override;

    BOOL OnInitDialog() override;
    void InitToolBar() override;
    void DoDataExchange() override;
    int ChangePart(long recNo) override;
    int OnLoadPart(DWORD flag) override;
    int OnSavePart() override;
    BOOL OnCommand(int id) override;
    long OnVmsgVpvsnFieldChange(CVPartVSheet* sheet, const FieldChange& change) override;
    long OnUserMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam) override;
    bool PressButton(int id) override;

    // The program the part-search commands offer: set by the part-list tabs, 0 before.
    short ProgramFilter() const { return m_programFilter; }
    CVSheetPartListX* CurrentList() const;
    XSvyPartVSheet& HeaderPage() const { return *m_pages[0]; }

protected:
    void OnTabSelChange(int index) override;
    void RunCsvCommand(const PartData& copy) override;

private:
    void OnClearPartList();
    void ReloadPartLists();
    // The part-list commands follow the program filter (the list they work on).
    void UpdateListCommands();

    std::unique_ptr<CSvyPartVSheet> m_header;                 // 9001
    std::array<std::unique_ptr<XSvyPartVSheet>, 7> m_pages;   // 9002 … 9007, 9011
    std::array<std::unique_ptr<CVSheetPartListX>, 3> m_lists; // 9008, 9009, 9010
    short m_programFilter = 0;
    std::unique_ptr<plugcommon::PartListCommands> m_listCommands;
};

} // namespace mod00963
