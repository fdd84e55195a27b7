#pragma once

#include "hostfw/CVPartDlg.h"
#include "hostfw/HostTypes.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CVPartVSheet;
class CVSheet;
class PartData;
class QHBoxLayout;
class QPushButton;
class QTabBar;
class QVBoxLayout;

namespace plugcommon {

struct PluginTable;

// Dialog 26000 of the table plug-ins: the top sheets (part line, survey kind, header),
// a tab bar over stacked page sheets, and the buttons "CSVファイル出力" (12000), OK,
// ｷｬﾝｾﾙ and ﾍﾙﾌﾟ. The plug-in's CPartDlg places its sheets, adds its tabs and shows the
// page of a tab in OnTabSelChange; the CSV button runs its CSV command on a copy of
// the part data.
class TableDialogFrame : public CSvyPartDlg {
    Q_OBJECT
public:
    static constexpr int kIdTab = 9000;
    static constexpr int kIdCsv = 12000;
    // The part-list commands of the tables with part lists.
    static constexpr int kCmdQueryArea = 33769;
    static constexpr int kCmdClearList = 33770;
    static constexpr int kCmdSearchExtract = 33771;
    static constexpr int kCmdSearchSelect = 33772;
    enum class Area { Top, Header, Page };

    TableDialogFrame(const PluginTable& table, VCmdData* cmd, std::unique_ptr<CTabParamDB> db,
                     QWidget* parent, int mode, int flag);
    ~TableDialogFrame() override;

    // Places a sheet bound to controlId in an area (DDX_VSheet with the frame's layout).
    void PlaceSheet(int controlId, CVSheet& sheet, Area area);
    void AddTab(const std::string& label);        // TCM_INSERTITEM
    int CurrentTab() const;
    int TabCount() const;
    bool SelectTab(int index) override;
    bool PressButton(int id) override;
    void EnableCsvButton(bool enable);
    bool IsCsvButtonEnabled() const;

    const PluginTable& Table() const { return m_table; }

protected:
    // Shows the page of tab index (the plug-in's mapping).
    virtual void OnTabSelChange(int index) = 0;
    // The plug-in's CSV command on the copy of the part data.
    virtual void RunCsvCommand(const PartData& copy) = 0;
    void OnCsvOutput();

    // Loads a sheet's template from the plug-in data folder, binds the sheet to the
    // part data as sheetNo and sizes it (AdjustWindowSize mode). False when the
    // template could not be read.
    bool InitSheet(CVPartVSheet& sheet, const std::string& templateName, int sheetNo, int sizeMode = 3);
    // Tells the user, once, that a sheet template could not be read.
    void ReportUnreadTemplate();

    static bool IsPartListCommand(int id);
    // The parts the user picks through the search command id (extract or select list)
    // among the programs (a 0-terminated list).
    std::vector<DWORD> SearchParts(int id, const short* programs);
    // Empties a part list: its type data goes, the list is reloaded with its grid back
    // at the first cell, and the part counts as changed.
    void ClearPartList(CVPartVSheet& list, int typeNo);
    // Saves the part; only when that succeeded, the plug-in's settings files through
    // saveSettings, whose failure is shown (the part stays saved).
    int SavePartThenSettings(const std::function<bool(std::string& error)>& saveSettings);

private:
    void GrowToShowWholePage();

    const PluginTable& m_table;
    QVBoxLayout* m_top = nullptr;
    QVBoxLayout* m_header = nullptr;
    QVBoxLayout* m_page = nullptr;
    QTabBar* m_tabs = nullptr;
    QPushButton* m_csv = nullptr;
};

} // namespace plugcommon
