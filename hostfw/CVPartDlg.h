#pragma once

#include "hostfw/GridTypes.h"
#include "hostfw/HostTypes.h"

#include <QDialog>

#include <map>
#include <memory>
#include <string>

class CTabParamDB;
class CVPartVSheet;
class CVSheet;
class PartData;
class QAction;
class QCloseEvent;
class QKeyEvent;
class QShowEvent;
class QHBoxLayout;
class QToolBar;
class QVBoxLayout;
class SizeControl;
class VCmdData;

// Base of the modeless part dialogs: part navigation (previous / next part of the
// program), OK / Cancel / Help, the changed and read-only flags and the command bar.
// The dialog owns its parameter database. Plug-in dialogs override the virtual steps.
class HOSTFW_API CVPartDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kIdOk = 1;
    static constexpr int kIdCancel = 2;
    static constexpr int kIdHelp = 9;
    static constexpr int kCmdPrevPart = 33794;
    static constexpr int kCmdNextPart = 33795;
    static constexpr int kCmdCalcReg = 33797;
    static constexpr int kCmdFirstPart = 0x8400;
    static constexpr int kCmdRevert = 33798;
    static constexpr int kCmdLastPart = 33800;
    static constexpr int kCmdPartInfo = 33801;

    CVPartDlg(VCmdData* cmd, std::unique_ptr<CTabParamDB> db, int resourceId, QWidget* parent,
              int mode, DWORD style, int flag);
    ~CVPartDlg() override;

    // Builds the dialog (OnInitDialog, DoDataExchange), loads the command's part and
    // shows it modeless; non-zero on success. A dialog that failed to create is not
    // shown and the caller deletes it.
    virtual int Create();

    VCmdData* GetCmdData() const { return m_cmd; }
    CTabParamDB* GetParamDB() const { return m_db.get(); }
    PartData& GetPartData() { return *m_data; }
    template <class T> T* PartDataAs() { return dynamic_cast<T*>(m_data.get()); }
    int GetMode() const { return m_mode; }
    int GetResourceId() const { return m_resourceId; }

    bool IsReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    bool IsChanged() const { return m_changed; }
    void SetChanged(bool changed) { m_changed = changed; }
    void SetHelpIndex(int index) { m_helpIndex = index; }
    int GetHelpIndex() const { return m_helpIndex; }

    // The host's size controller; null (the stand-in has none).
    SizeControl* iSizControl = nullptr;

    // Part steps the host drives.
    virtual int OnLoadPart(DWORD flag);   // flag 0: a new part; non-zero on success
    virtual int OnSavePart();             // non-zero to go on
    virtual int ChangePart(long recNo);   // saves the current part, loads another
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange();
    virtual void InitToolBar();
    virtual BOOL OnCommand(int id);
    virtual long OnVmsgVpvsnFieldChange(CVPartVSheet* sheet, const FieldChange& change);
    // Window messages the plug-in dialogs post to themselves (WM_USER+n).
    virtual long OnUserMessage(unsigned message, std::intptr_t wParam, std::intptr_t lParam);
    void PostUserMessage(unsigned message, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
    long SendUserMessage(unsigned message, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
    virtual BOOL OnVPartCalcReg();

    // Binds a sheet to a control id (DDX_VSheet) and places it in the dialog.
    void DDX_VSheet(int controlId, CVSheet& sheet);
    CVSheet* FindSheet(int controlId) const;
    // A tool button for a command: the given text, else the host's own text and tooltip
    // for the command (hostfw/PartDlgCommands.h). A command neither the host stand-in nor
    // the dialog carries out (OwnsCommand) is shown disabled.
    void AddCmdButton(int id, const std::string& text = {});
    // A separator after the buttons added so far (the bar's groups).
    void AddCmdSeparator();
    void _RemoveCmdButton(int id);
    // The action of a command button (shared with menus that offer the same command);
    // null when the bar has none.
    QAction* CmdButtonAction(int id) const;
    bool HasCmdButton(int id) const;
    QString CmdButtonText(int id) const;
    // Discards unsaved edits: reads the shown part again (a new part: starts afresh).
    int ReloadPart();
    void MoveWin();

    // What scripts and the host stand-in drive: a button by id, a tab by index.
    virtual bool PressButton(int id);
    virtual bool SelectTab(int index);

protected:
    // Commands a subclass carries out in its own OnCommand.
    virtual bool OwnsCommand(int id) const;
    void ShowPartInfo();
    void OnOK();
    void OnCancel();
    void OnHelp();
    // Closing the window and Esc ask before unsaved edits are thrown away; ｷｬﾝｾﾙ
    // throws them away. Every way out ends in Finish.
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    // Return never reaches a button: it is the grids' key.
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // True when there is nothing unsaved, or the person agrees to throw it away.
    bool MayDiscardEdits();
    // The area the subclass lays its controls into, and the row of buttons.
    QVBoxLayout* BodyLayout() const { return m_body; }
    QHBoxLayout* ButtonRow() const { return m_buttons; }
    // Closes and schedules the deletion (the host deletes closed part dialogs).
    void Finish();

private:
    VCmdData* m_cmd;
    std::unique_ptr<CTabParamDB> m_db;
    std::unique_ptr<PartData> m_data;
    int m_resourceId;
    int m_mode;
    bool m_readOnly = false;
    bool m_changed = false;
    int m_helpIndex = 0;
    QToolBar* m_toolBar = nullptr;
    QVBoxLayout* m_body = nullptr;
    QHBoxLayout* m_buttons = nullptr;
    bool m_finished = false;
    std::map<int, CVSheet*> m_sheets;
    std::map<int, QAction*> m_cmdButtons;
};

// The survey part dialog the quality-table dialogs derive from.
class HOSTFW_API CSvyPartDlg : public CVPartDlg {
    Q_OBJECT
public:
    using CVPartDlg::CVPartDlg;
};

// The host's size controller of a dialog (anchors of its controls). The stand-in has
// none, so plug-ins take the path without one.
class HOSTFW_API SizeControl {
public:
    virtual ~SizeControl();
};
