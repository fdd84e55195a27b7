#pragma once

#include <QMainWindow>
#include <QString>

#include "viewer/app/CommandRouter.h"
#include "viewer/app/ProgressAbortState.h"
#include "viewer/render/CommandMap.h"
#include "viewer/render/FrameLink.h"

class CModelViewerView;
class QDockWidget;
class CGroupView;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class RibbonBar;

// The single top-level window: ribbon, status bar with message pane, progress bar
// and abort button, the docked group pane, and the view in the middle. Commands of
// the ribbon and the shortcuts go through the router: view, frame, application.
class CMainFrame : public QMainWindow, public FrameLink {
    Q_OBJECT
public:
    static constexpr unsigned kAbortButtonId = 32913;
    static constexpr unsigned kFirstLookId = 205;
    static constexpr unsigned kLastLookId = 219;

    //! Reads the look id from the profile; the window is built by OnCreate.
    explicit CMainFrame(const CommandMap* applicationCommands = nullptr);
    ~CMainFrame() override;

    //! Ribbon, status bar, group pane and look; false when a part cannot be made.
    bool OnCreate();
    //! Makes the view the frame's active view (the frame owns it from now on).
    void SetView(CModelViewerView* view);
    CModelViewerView* GetActiveView() const { return m_view; }

    // ---- Progress and abort (UpdateProgress and EndProgress from any thread) ----
    //! Shows the progress bar (range 0..max) and the abort button when asked.
    void UpdateProgress(unsigned max, unsigned pos, int showAbort) override;
    //! Ends a progress display: clears the abort flags, hides bar and button.
    void EndProgress() override;
    //! -2 abort confirmed, -1 the question is open, 0 go on.
    int PollAbort() const override { return m_abort.Poll(); }
    int AbortPromptOpen() const override { return m_abort.PromptOpen(); }
    int AbortRequested() const override { return m_abort.AbortRequested(); }
    bool Closing() const override { return m_closing; }
    bool GroupPaneVisible() const override;
    void SetGroupPaneVisible(bool visible) override;
    bool MoveMainWindow(int left, int top, int right, int bottom) override;
    ProgressAbortState& AbortState() { return m_abort; }
    //! The abort button's command: asks and, on Yes, requests the abort.
    void OnAbortButton();

    //! Sets the message pane's text (UI thread).
    void SetStatusText(const QString& text);
    void SetStatusText(const std::string& utf8) override { SetStatusText(QString::fromStdString(utf8)); }

    // ---- Commands ----
    const CommandMap& Commands() const { return m_commands; }
    const CommandRouter& Router() const { return m_router; }
    //! Routes a command id; false when disabled or unhandled.
    bool RouteCommand(unsigned id);
    //! Runs the update-UI handlers of every button (also at idle).
    void UpdateCommandUi();

    unsigned LookId() const { return m_lookId; }
    void OnApplicationLook(unsigned id);

    RibbonBar* Ribbon() const { return m_ribbon; }
    QLabel* MessagePane() const { return m_messagePane; }
    QProgressBar* ProgressBar() const { return m_progressBar; }
    QPushButton* AbortButton() const { return m_abortButton; }
    QDockWidget* GroupPane() const { return m_groupPane; }
    //! The pane's contents: the group tree (null before OnCreate).
    CGroupView* GroupView() const { return m_groupView; }

    //! The frame of the process, or null (for GetActiveDocumentView).
    static CMainFrame* MainWindow();
    static void SetMainWindow(CMainFrame* frame);

protected:
    void closeEvent(QCloseEvent* event) override;
    // The legends follow the view's top right when the window moves or resizes.
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildCommandMap();
    void BuildStatusBar();
    void BuildGroupPane();
    void BuildShortcuts();
    void UpdateProgressOnUiThread(unsigned max, unsigned pos, int showAbort);
    void EndProgressOnUiThread();
    void RelayoutStatusBar();

    const CommandMap* m_applicationCommands = nullptr;
    CommandMap m_commands;
    CommandRouter m_router;
    ProgressAbortState m_abort;
    unsigned m_lookId = 210;
    bool m_closing = false;   // the user closed the window (FrameLink::Closing)
    int m_office2007Style = 0;
    CModelViewerView* m_view = nullptr;
    RibbonBar* m_ribbon = nullptr;
    QLabel* m_messagePane = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QPushButton* m_abortButton = nullptr;
    QDockWidget* m_groupPane = nullptr;
    CGroupView* m_groupView = nullptr;
    QTimer* m_idleTimer = nullptr;
};

//! The active document's view of the main window, or null before it exists.
CModelViewerView* GetActiveDocumentView();
