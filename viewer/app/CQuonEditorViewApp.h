#pragma once

#include <QApplication>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "viewer/app/CModelViewerDoc.h"
#include "viewer/render/CommandMap.h"

class CMainFrame;

namespace tessara {
class RecentFileList;
class SingleInstanceGuard;
}

// The application object: one running copy per user, the profile under "Bralden",
// the command line, and the frame with its document and view.
class CQuonEditorViewApp : public QApplication {
    Q_OBJECT
public:
    // A context menu registered before the frame loads its state: name, menu id, items.
    struct ContextMenuDef {
        std::string name;
        unsigned menuId = 0;
        std::vector<std::pair<std::string, unsigned>> items;
    };

    static constexpr unsigned kAboutCommandId = 57664;

    CQuonEditorViewApp(int& argc, char** argv);
    ~CQuonEditorViewApp() override;

    //! Start-up; false ends the program (silently unless a second copy is running).
    bool InitInstance();
    //! Releases the single-instance guard; runs on every way out.
    int ExitInstance();
    //! Destroys the frame and with it the view, which saves its settings.
    void DestroyMainWindow();
    //! Registers the named context menus.
    void PreLoadState();

    //! The application's commands: About, file new and file open.
    const CommandMap& Commands() const { return m_commands; }
    const std::string& WorkFolder() const { return m_workFolder; }
    CMainFrame* MainFrame() const { return m_frame.get(); }
    const std::vector<ContextMenuDef>& ContextMenus() const { return m_contextMenus; }

    //! Takes the single-instance guard; when another copy holds it, shows
    //! "SurfLook(Free) は既に起動しています。" and returns false.
    static bool AcquireSingleInstance(std::unique_ptr<tessara::SingleInstanceGuard>& guard);

private:
    std::unique_ptr<tessara::SingleInstanceGuard> m_instanceGuard;
    std::unique_ptr<tessara::RecentFileList> m_recentFiles;
    std::unique_ptr<CMainFrame> m_frame;
    CModelViewerDoc m_document;
    CommandMap m_commands;
    std::string m_workFolder;
    std::vector<ContextMenuDef> m_contextMenus;
};
