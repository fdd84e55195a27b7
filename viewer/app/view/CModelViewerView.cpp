#include "viewer/render/CModelViewerView.h"
#include "platform/Log.h"

#include <QOpenGLTexture>

#include <exception>

#include "outside/CModelDataMng.h"
#include "platform/Files.h"
#include "platform/IProfile.h"
#include "platform/UiMessageTarget.h"
#include "viewer/render/PixelResources.h"
#include "viewer/render/ShellHooks.h"
#include "viewer/render/TextureFile.h"

namespace {

constexpr double kUnsetCoordinate = 1e-16;

// Commands the view takes and does nothing with (file new, save and the like).
constexpr unsigned kEmptyCommands[] = {57600, 57603, 32771, 32773, 32802, 35208, 32814, 32821, 32822, 32836};

// The undo keys (Ctrl+Z, Alt+Backspace) and the ribbon's 元に戻す.
constexpr unsigned kUndoKeyCommand = 57643;
constexpr unsigned kUndoCommand = 32800;

}  // namespace

CModelViewerView::CModelViewerView(QWidget* parent)
    : COpenGLBaseView(parent), m_modelStore(std::make_unique<CModelDataMng>())
{
    m_messageTarget = std::make_unique<tessara::UiMessageTarget>(
        [this](unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
            return HandleViewMessage(message, wParam, lParam);
        });
    for (auto& slot : m_pointSlots) slot = {kUnsetCoordinate, kUnsetCoordinate, kUnsetCoordinate};
    InitBuffers();
    InitFiles();
    InitCommands();
    m_pickedGroup = -1;
    m_pickedPoint = -1;
    m_groupTreeDirty = 1;
    m_legendDirty = 0;
    m_editCommandsEnabled = 0;
    LoadViewSettings(m_settings);
    m_backgroundColour = BackgroundColourOf(m_settings.background);
    m_perspectiveMode = &m_settings.projection;
    m_mouseDragType = &m_settings.mouseType;
    LoadPixelResources();
    m_pickTolerance = 5;
    m_vertexPointSize = 10;
    setAcceptDrops(true);
}

CModelViewerView::~CModelViewerView()
{
    // The worker holds a pointer to this view: it stops before anything goes. A send
    // it is blocked in returns once the message target is shut down.
    m_messageTarget->Shutdown();
    StopPipeWorker();
    ReleaseCommands();
    ReleaseFiles();
    SaveViewSettings(m_settings);
    // GL objects go while their context is current; the base's own release then
    // finds nothing of ours left.
    if (context() != nullptr && IsGlReady()) {
        makeCurrent();
        ReleaseViewGl();
        doneCurrent();
    }
    // The private copy of the TIN's picture lives only as long as the view.
    const std::string textureCopy = TextureFile::TempCopyPath();
    if (tessara::FileExists(textureCopy)) tessara::DeleteFile(textureCopy);
    const ShellHooks& hooks = ShellHooks::Instance();
    if (hooks.closeDistanceToolTips) hooks.closeDistanceToolTips();
    if (hooks.closeListHint) hooks.closeListHint();
    if (hooks.closeSectionToolTips) hooks.closeSectionToolTips();
    if (StrokeCollectorView() == this) SetStrokeCollectorView(nullptr);
}

void CModelViewerView::Create()
{
    BuildCommandMap();
    StartPipeWorker();
    m_editCommandsEnabled = 0;
}

void CModelViewerView::OnInitialUpdate()
{
    tessara::IProfile* profile = tessara::AppProfile();
    const int showAbout = profile == nullptr ? 1 : profile->GetProfileInt("SectionGlView", "psKeyLicenseView", 1);
    if (showAbout > 0 || profile == nullptr) {
        if (const auto& show = ShellHooks::Instance().showAboutDialog; show) show();
    }
    m_legendDirty = 1;
    OnFileOpen();
}

void CModelViewerView::BuildCommandMap()
{
    RegisterFileCommands(m_commands);
    for (unsigned id : kEmptyCommands) m_commands.On(id, [] {});
    RegisterEditCommands(m_commands);
    m_commands.On(kUndoKeyCommand, [this] {
        if (const CommandMap::Handler* undo = m_commands.FindCommand(kUndoCommand)) (*undo)();
    });
    m_commands.OnUpdate(kUndoKeyCommand, [this](CommandUi& ui) {
        if (const CommandMap::UpdateHandler* update = m_commands.FindUpdate(kUndoCommand)) (*update)(ui);
    });
}

std::intptr_t CModelViewerView::HandleViewMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    try {
        return m_commands.Dispatch(message, wParam, lParam);
    } catch (const std::exception& e) {
        tessara::Log("view: message %u failed: %s", message, e.what());
    } catch (...) {
        tessara::Log("view: message %u failed", message);
    }
    return 0;
}

void CModelViewerView::LoadPixelResources()
{
    m_markerSprite = PixelResources::CopyInto(PixelResources::Load(33000), kMarkerSpriteBytes);
    m_overlayStrip = PixelResources::CopyInto(PixelResources::Load(35205), kOverlayStripBytes);
    m_overlaySquareA = PixelResources::CopyInto(PixelResources::Load(35206), kOverlaySquareBytes);
    m_overlaySquareB = PixelResources::CopyInto(PixelResources::Load(35207), kOverlaySquareBytes);
}

void CModelViewerView::StartPipeWorker()
{
    if (m_pipeWorker.Running()) return;
    m_pipeWorker.Start([this](WorkerStopToken& stop) { PipeServerLoop(stop); });
}

void CModelViewerView::StopPipeWorker()
{
    m_pipeWorker.Stop();
}

void CModelViewerView::ReleaseViewGl()
{
    ReleaseAxisGridGl();
    ReleaseBuffersGl();
}

int CModelViewerView::ClickSelect(int, int)
{
    return 1;
}

int CModelViewerView::IsBusy()
{
    return (m_workObject1 != nullptr || m_workObject2 != nullptr) ? 1 : 0;
}

void CModelViewerView::OnDropFiles() {}

// ---------------------------------------------------------------- stroke-font collector

namespace {
CModelViewerView* g_strokeCollectorView = nullptr;   // UI thread only
}

CModelViewerView* CModelViewerView::StrokeCollectorView()
{
    return g_strokeCollectorView;
}

void CModelViewerView::SetStrokeCollectorView(CModelViewerView* view)
{
    g_strokeCollectorView = view;
}

int CModelViewerView::CollectFontStroke(const double* stroke)
{
    if (g_strokeCollectorView == nullptr || stroke == nullptr) return 1;
    std::array<double, 6> line{};
    std::copy_n(stroke, 6, line.begin());
    g_strokeCollectorView->m_fontStrokes.push_back(line);
    return 1;
}
