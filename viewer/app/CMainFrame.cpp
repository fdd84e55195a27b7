#include "viewer/app/CMainFrame.h"

#include <QGuiApplication>
#include <QScreen>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/IProfile.h"
#include "platform/MessageBox.h"
#include "viewer/app/AppLook.h"
#include "viewer/app/CloseRules.h"
#include "viewer/grouppane/CGroupView.h"
#include "viewer/app/RibbonBar.h"
#include "viewer/dialogs/LegendSlots.h"
#include "viewer/render/CModelViewerView.h"
#include "viewer/render/LongWorkGuard.h"
#include "viewer/render/WorkInputFilter.h"
#include "viewer/render/ShellHooks.h"

namespace {

constexpr int kIdleUpdateMs = 200;
constexpr const char* kCaption = "ORVANE SurfLook(Free)";

CMainFrame* g_mainWindow = nullptr;

struct ShortcutDef {
    const char* keys;
    unsigned id;
};

// Accelerators of the frame.
constexpr ShortcutDef kShortcuts[] = {
    {"Ctrl+N", 57600},       {"Ctrl+O", 57601},    {"Ctrl+S", 57603},         {"Ctrl+P", 57607},
    {"Ctrl+Z", 57643},       {"Alt+Backspace", 57643}, {"Ctrl+X", 57635},     {"Shift+Del", 57635},
    {"Ctrl+C", 57634},       {"Ctrl+Ins", 57634},  {"Ctrl+V", 57637},         {"Shift+Ins", 57637},
    {"F6", 57680},           {"Shift+F6", 57681},
};

}  // namespace

CMainFrame* CMainFrame::MainWindow()
{
    return g_mainWindow;
}

void CMainFrame::SetMainWindow(CMainFrame* frame)
{
    if (g_mainWindow != nullptr) FrameLink::Leave(g_mainWindow);
    g_mainWindow = frame;
    if (frame != nullptr) FrameLink::SetMain(frame);
}

void CMainFrame::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    LayoutLegendWindows();
}

void CMainFrame::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    LayoutLegendWindows();
}

CModelViewerView* GetActiveDocumentView()
{
    CMainFrame* frame = CMainFrame::MainWindow();
    return frame == nullptr ? nullptr : frame->GetActiveView();
}

CMainFrame::CMainFrame(const CommandMap* applicationCommands) : m_applicationCommands(applicationCommands)
{
    setWindowTitle(kCaption);
    if (tessara::IProfile* profile = tessara::AppProfile()) {
        const int look = profile->GetProfileInt(AppLook::kProfileSection, AppLook::kProfileKey,
                                                static_cast<int>(AppLook::kDefaultLook));
        m_lookId = static_cast<unsigned>(look);
    } else {
        m_lookId = AppLook::kDefaultLook;
    }
    BuildCommandMap();
    m_router.SetChain({&m_commands, m_applicationCommands});
}

CMainFrame::~CMainFrame()
{
    if (g_mainWindow == this) g_mainWindow = nullptr;
    FrameLink::Leave(this);
}

bool CMainFrame::OnCreate()
{
    m_ribbon = new RibbonBar(this);
    setMenuWidget(m_ribbon);
    connect(m_ribbon, &RibbonBar::CommandTriggered, this, [this](unsigned id) { RouteCommand(id); });
    BuildStatusBar();
    BuildGroupPane();
    BuildShortcuts();
    OnApplicationLook(m_lookId);
    m_idleTimer = new QTimer(this);
    connect(m_idleTimer, &QTimer::timeout, this, &CMainFrame::UpdateCommandUi);
    m_idleTimer->start(kIdleUpdateMs);
    UpdateCommandUi();
    return true;
}

void CMainFrame::BuildCommandMap()
{
    m_commands.OnRange(kFirstLookId, kLastLookId, [this](unsigned id) { OnApplicationLook(id); });
    m_commands.OnUpdateRange(kFirstLookId, kLastLookId,
                             [this](unsigned id, CommandUi& ui) { ui.checked = id == m_lookId; });
    // Printing happens only in print preview, which this program does not offer.
    m_commands.On(57607, [] {});
    m_commands.On(57608, [] {});
    m_commands.On(57609, [] {});
    m_commands.OnUpdate(57609, [](CommandUi& ui) { ui.checked = false; });
    m_commands.On(kAbortButtonId, [this] { OnAbortButton(); });
    // Long work that pumps events refuses every command but the one that stops it.
    m_router.AllowDuringLongWork(kAbortButtonId);
    m_commands.On(57680, [this] { focusNextChild(); });
    // The group pane: the ribbon's button shows or hides it; its commands go to it.
    m_commands.On(grouppane::kShowGroupPane, [this] {
        if (m_groupPane != nullptr)
            m_groupPane->setVisible(!m_groupPane->isVisible());
    });
    for (unsigned id : {grouppane::kGroupDelete, grouppane::kGroupDeleteAll, grouppane::kGroupRename, grouppane::kGroupShowAll,
                        grouppane::kGroupHideAll, grouppane::kGroupCopy, grouppane::kGroupProperty}) {
        m_commands.On(id, [this, id] {
            if (m_groupView != nullptr)
                m_groupView->OnCommand(id);
        });
        m_commands.OnUpdate(id, [this, id](CommandUi& ui) {
            ui.enabled = m_groupView != nullptr && m_groupView->IsCommandEnabled(id).value_or(false);
        });
    }
    m_commands.On(57681, [this] { focusPreviousChild(); });
}

void CMainFrame::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName("statusBar");
    m_messagePane = new QLabel(this);
    m_messagePane->setObjectName("messagePane");
    m_messagePane->setAccessibleName("メッセージ");
    m_messagePane->setText("準備完了");
    bar->addWidget(m_messagePane, 1);
    m_progressBar = new QProgressBar(this);
    m_progressBar->setObjectName("progressBar");
    m_progressBar->setAccessibleName("進捗バー");
    m_progressBar->setFixedSize(90, 22);
    m_progressBar->setRange(0, 1);
    m_progressBar->setValue(0);
    bar->addPermanentWidget(m_progressBar);
    m_abortButton = new QPushButton("中止", this);
    m_abortButton->setObjectName("abortButton");
    m_abortButton->setAccessibleName("中止ボタン");
    m_abortButton->setProperty("commandId", kAbortButtonId);
    m_abortButton->setProperty(WorkInputFilter::kTakesInput, true);
    bar->addPermanentWidget(m_abortButton);
    connect(m_abortButton, &QPushButton::clicked, this, [this] { RouteCommand(kAbortButtonId); });
    // Hidden until a piece of work shows its progress.
    m_progressBar->hide();
    m_abortButton->hide();
}

void CMainFrame::BuildGroupPane()
{
    m_groupPane = new QDockWidget("グループ一覧", this);
    m_groupPane->setObjectName("groupPane");
    m_groupPane->setProperty("paneId", 35000);
    m_groupPane->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    m_groupPane->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                             QDockWidget::DockWidgetFloatable);
    m_groupView = new CGroupView([this] { return GetActiveView(); }, m_groupPane);
    m_groupView->setMinimumWidth(200);
    m_groupPane->setWidget(m_groupView);
    m_groupView->InstallHooks();
    addDockWidget(Qt::LeftDockWidgetArea, m_groupPane);
}

void CMainFrame::BuildShortcuts()
{
    for (const ShortcutDef& def : kShortcuts) {
        auto* action = new QAction(this);
        action->setShortcut(QKeySequence(QString::fromLatin1(def.keys)));
        action->setShortcutContext(Qt::WindowShortcut);
        action->setProperty("commandId", def.id);
        const unsigned id = def.id;
        connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
        addAction(action);
    }
}

void CMainFrame::SetView(CModelViewerView* view)
{
    m_view = view;
    setCentralWidget(view);
    m_router.SetChain({view != nullptr ? &view->Commands() : nullptr, &m_commands, m_applicationCommands});
    UpdateCommandUi();
}

bool CMainFrame::RouteCommand(unsigned id)
{
    const bool routed = m_router.Route(id);
    UpdateCommandUi();
    return routed;
}

void CMainFrame::UpdateCommandUi()
{
    if (m_ribbon != nullptr) m_ribbon->UpdateCommandUi(m_router);
    for (QAction* action : actions()) {
        const QVariant id = action->property("commandId");
        if (id.isValid()) action->setEnabled(m_router.QueryUi(id.toUInt()).enabled);
    }
    if (m_abortButton != nullptr) m_abortButton->setEnabled(m_router.QueryUi(kAbortButtonId).enabled);
}

void CMainFrame::OnApplicationLook(unsigned id)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_lookId = id;
    setPalette(AppLook::PaletteFor(id, m_office2007Style));
    update();
    if (tessara::IProfile* profile = tessara::AppProfile()) {
        profile->WriteProfileInt(AppLook::kProfileSection, AppLook::kProfileKey, static_cast<int>(id));
    }
    QApplication::restoreOverrideCursor();
}

void CMainFrame::SetStatusText(const QString& text)
{
    if (m_messagePane != nullptr) m_messagePane->setText(text);
}

// ---------------------------------------------------------------- progress and abort

void CMainFrame::UpdateProgress(unsigned max, unsigned pos, int showAbort)
{
    if (QThread::currentThread() != thread()) {
        // Never block the worker: a UI thread waiting for the view lock would deadlock.
        QMetaObject::invokeMethod(
            this, [this, max, pos, showAbort] { UpdateProgressOnUiThread(max, pos, showAbort); },
            Qt::QueuedConnection);
        return;
    }
    UpdateProgressOnUiThread(max, pos, showAbort);
}

void CMainFrame::UpdateProgressOnUiThread(unsigned max, unsigned pos, int showAbort)
{
    if (!m_abort.WorkRunning()) m_abort.OnProgressShown();
    // A range of 0..0 would put the bar into busy mode.
    const int top = static_cast<int>(std::clamp<unsigned>(max, 1u, 0x7FFFFFFFu));
    m_progressBar->setRange(0, top);
    m_progressBar->setValue(static_cast<int>(std::min<unsigned>(pos, static_cast<unsigned>(top))));
    m_progressBar->show();
    m_abortButton->setVisible(showAbort != 0);
    RelayoutStatusBar();
}

void CMainFrame::EndProgress()
{
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(this, [this] { EndProgressOnUiThread(); }, Qt::QueuedConnection);
        return;
    }
    EndProgressOnUiThread();
}

void CMainFrame::EndProgressOnUiThread()
{
    m_abort.OnProgressEnded();
    m_progressBar->hide();
    m_abortButton->hide();
    RelayoutStatusBar();
}

void CMainFrame::RelayoutStatusBar()
{
    statusBar()->update();
}

void CMainFrame::OnAbortButton()
{
    m_abort.AskAbort([this] {
        return tessara::MessageBox("処理を中止します。よろしいですか？", kCaption, tessara::MB_YESNO, this);
    });
}

// ---------------------------------------------------------------- closing

void CMainFrame::closeEvent(QCloseEvent* event)
{
    switch (CloseRules::Decide(m_view != nullptr, LongWorkGuard::SavingInProgress(),
                               LongWorkGuard::OtherWorkInProgress())) {
    case CloseRules::Decision::CloseNow:
        m_closing = true;
        event->accept();
        return;
    case CloseRules::Decision::RefuseSaving:
        tessara::MessageBox("ファイル保存中のため終了できません。", kCaption, tessara::MB_ICONHAND, this);
        event->ignore();
        return;
    case CloseRules::Decision::RefuseBusy:
        tessara::MessageBox("データの適正処理を行っています\nしばらく待って処理を実行してください。", kCaption,
                            tessara::MB_ICONWARNING, this);
        event->ignore();
        return;
    case CloseRules::Decision::Ask:
        break;
    }
    const int answer = tessara::MessageBox("アプリケーションを終了してよろしいですか？", kCaption,
                                           tessara::MB_YESNO | tessara::MB_ICONQUESTION, this);
    if (answer != tessara::IDYES) {
        event->ignore();
        return;
    }
    const ShellHooks& hooks = ShellHooks::Instance();
    if (hooks.closeElevationLegend) hooks.closeElevationLegend();
    if (hooks.closeSlopeLegend) hooks.closeSlopeLegend();
    if (hooks.closeIntensityLegend) hooks.closeIntensityLegend();
    if (m_idleTimer != nullptr) m_idleTimer->stop();
    m_closing = true;
    event->accept();
}

bool CMainFrame::GroupPaneVisible() const
{
    return m_groupPane != nullptr && m_groupPane->isVisible();
}

void CMainFrame::SetGroupPaneVisible(bool visible)
{
    if (m_groupPane != nullptr)
        m_groupPane->setVisible(visible);
}

bool CMainFrame::MoveMainWindow(int left, int top, int right, int bottom)
{
    // The host may send any rectangle: only what lies on the screen's free area is used.
    const QRect wanted(QPoint(left, top), QPoint(right - 1, bottom - 1));
    QScreen* screen = QGuiApplication::screenAt(wanted.center());
    if (screen == nullptr)
        screen = this->screen();
    if (screen == nullptr || right <= left || bottom <= top)
        return false;
    const QRect placed = wanted.intersected(screen->availableGeometry());
    if (placed.isEmpty())
        return false;
    if (isMaximized() || isMinimized())
        showNormal();
    setGeometry(placed);
    update();
    return true;
}
