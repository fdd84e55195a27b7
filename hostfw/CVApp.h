#pragma once

#include "hostfw/HostTypes.h"

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CmdMsgBox;
class CVPartDocument;
class PartSystem;
class PeldaSysData;
class QDialog;
class QWidget;

// The host application object, one per process (hostfw is a shared library, so the
// host and every plug-in see the same one): open part systems, the current one, the
// command-message box, the document and the open part dialogs.
class HOSTFW_API CVApp {
public:
    static CVApp& Instance();

    // Part systems. AddPartSystem takes ownership and answers the system's number.
    int AddPartSystem(std::unique_ptr<PartSystem> system, const std::string& name);
    void RemovePartSystem(int number);
    int GetCurPartSysNo() const { return m_current; }
    void SetCurPartSysNo(int number) { m_current = number; }
    PeldaSysData* GetPartSysData(int number) const;   // null when there is none
    PeldaSysData* GetCurPartSysData() const { return GetPartSysData(m_current); }

    // The command-message box; null means the host has none (nothing is reported).
    CmdMsgBox* GetCmdMsgBox() const { return m_cmdMsgBox.get(); }
    void EnableCmdMsgBox(bool enable);

    CVPartDocument* GetDocument() const { return m_document.get(); }

    // The main window, owner of message boxes and parent of part dialogs (may be null).
    QWidget* GetMainWnd() const { return m_mainWnd; }
    void SetMainWnd(QWidget* window) { m_mainWnd = window; }

    // Folder holding the plug-ins' data files (sheet templates, form templates).
    const std::filesystem::path& PluginDataDir() const { return m_pluginDataDir; }
    void SetPluginDataDir(const std::filesystem::path& dir) { m_pluginDataDir = dir; }

    // Modeless part dialogs register here, so the host can close them before it
    // unloads the plug-in that made them.
    void RegisterPartDialog(QDialog* dialog);
    void UnregisterPartDialog(QDialog* dialog);
    std::vector<QDialog*> PartDialogs() const { return m_dialogs; }
    void CloseAllPartDialogs();          // deletes them

    // Drops part systems, dialogs and messages (host shutdown, and between tests).
    void Reset();

private:
    CVApp();
    ~CVApp();

    std::map<int, std::unique_ptr<PeldaSysData>> m_systems;
    int m_current = 0;
    int m_nextNumber = 1;
    std::unique_ptr<CmdMsgBox> m_cmdMsgBox;
    std::unique_ptr<CVPartDocument> m_document;
    QWidget* m_mainWnd = nullptr;
    std::filesystem::path m_pluginDataDir;
    std::vector<QDialog*> m_dialogs;
};

HOSTFW_API CVApp& PeldaGetApp();
HOSTFW_API QWidget* PeldaGetMainWnd();
// The handle of the current part system (current number, GetPartSysData, its handle);
// null when there is none.
HOSTFW_API PartSystem* GetCurrentPartSystem();
