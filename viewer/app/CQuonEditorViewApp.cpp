#include "viewer/app/CQuonEditorViewApp.h"

#include <QTimer>

#include "platform/IniProfile.h"
#include "platform/MessageBox.h"
#include "platform/QtTranslations.h"
#include "platform/RecentFileList.h"
#include "platform/SingleInstanceGuard.h"
#include "viewer/app/CAboutDlg.h"
#include "viewer/app/CMainFrame.h"
#include "viewer/app/CVCommandLineInfo.h"
#include "viewer/dialogs/DialogHooks.h"
#include "viewer/dialogs/LegendSlots.h"
#include "viewer/render/CModelViewerView.h"
#include "viewer/render/ShellHooks.h"

namespace {
constexpr int kRecentFileCount = 4;
}

CQuonEditorViewApp::CQuonEditorViewApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName("Tessara");
    setOrganizationName(tessara::IniProfile::kRegistryKey);
    setDesktopFileName("QuonEditorView.AppID.NoVersion");
    tessara::InstallQtJapaneseTranslations(*this);
    m_commands.On(kAboutCommandId, [] { ShowAboutDialog(); });
    m_commands.On(57600, [] {});
    m_commands.On(57601, [] {});
}

CQuonEditorViewApp::~CQuonEditorViewApp()
{
    DestroyMainWindow();
}

bool CQuonEditorViewApp::AcquireSingleInstance(std::unique_ptr<tessara::SingleInstanceGuard>& guard)
{
    guard = std::make_unique<tessara::SingleInstanceGuard>(tessara::SingleInstanceGuard::kViewerName);
    if (!guard->AlreadyExists()) return true;
    guard.reset();
    tessara::MessageBox("SurfLook(Free) は既に起動しています。", "ORVANE SurfLook(Free)", tessara::MB_OK);
    return false;
}

void CQuonEditorViewApp::PreLoadState()
{
    m_contextMenus = {
        {"編集", 119, {{"切り取り", 57635}, {"コピー", 57634}, {"貼り付け", 57637}}},
        {"エクスプローラー",
         174,
         {{"開く", 136},
          {"ファイルを開くアプリケーションの選択", 137},
          {"コンパイル", 138},
          {"切り取り", 57635},
          {"コピー", 57634},
          {"削除", 57632},
          {"プロパティ", 135}}},
        {"グループ一覧",
         35012,
         {{"削除", 35006},
          {"全て削除", 35007},
          {"点群を複製", 35011},
          {"名称変更", 35008},
          {"全て表示", 35009},
          {"全て非表示", 35010}}},
    };
}

bool CQuonEditorViewApp::InitInstance()
{
    if (!AcquireSingleInstance(m_instanceGuard)) return false;
    if (tessara::AppProfile() == nullptr) tessara::SetAppProfile(std::make_shared<tessara::IniProfile>());
    m_recentFiles = std::make_unique<tessara::RecentFileList>(tessara::AppProfile(), kRecentFileCount);
    ShellHooks::Instance().showAboutDialog = [] { ShowAboutDialog(); };
    InstallDialogHooks([]() -> COpenGLBaseView* { return GetActiveDocumentView(); });
    SetPopupSources([]() -> QWidget* { return GetActiveDocumentView(); },
                    []() -> QWidget* { return CMainFrame::MainWindow(); });
    InstallPopupHooks();

    LaunchArgs launch;
    CVCommandLineInfo commandLine(launch);
    std::vector<std::string> arguments;
    const QStringList all = QCoreApplication::arguments();
    for (qsizetype i = 1; i < all.size(); ++i) arguments.push_back(all[i].toStdString());
    commandLine.ParseArguments(arguments);
    if (!commandLine.Valid()) return false;
    m_workFolder = launch.folder;

    m_frame = std::make_unique<CMainFrame>(&m_commands);
    CMainFrame::SetMainWindow(m_frame.get());
    PreLoadState();
    if (!m_frame->OnCreate() || !m_document.OnNewDocument()) {
        DestroyMainWindow();
        return false;
    }
    auto* view = new CModelViewerView(m_frame.get());
    view->Create();
    m_frame->SetView(view);
    view->SetWorkFolder(m_workFolder);
    m_frame->resize(1280, 800);
    m_frame->show();
    // The first update runs from the event loop: its About box and file dialog are
    // modal and need the window on screen.
    QTimer::singleShot(0, view, [view] { view->OnInitialUpdate(); });
    return true;
}

void CQuonEditorViewApp::DestroyMainWindow()
{
    if (m_frame) {
        CMainFrame::SetMainWindow(nullptr);
        m_frame.reset();
    }
}

int CQuonEditorViewApp::ExitInstance()
{
    ShellHooks::Instance().showAboutDialog = nullptr;
    RemoveDialogHooks();
    RemovePopupHooks();
    SetPopupSources({}, {});
    m_recentFiles.reset();
    m_instanceGuard.reset();
    return 0;
}
