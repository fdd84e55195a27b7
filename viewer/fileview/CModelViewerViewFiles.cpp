// The files concern's life cycle, its command and message bindings, and the
// render-side marks the loaders leave for the render passes.
#include "viewer/render/CModelViewerView.h"

#include "viewer/files/PipeCommandTarget.h"
#include "viewer/files/ViewFilesState.h"
#include "platform/Files.h"

namespace {

constexpr unsigned kUndoCommand = 32800;
constexpr unsigned kFileOpenCommand = 57601;
constexpr unsigned kRibbonFileOpenCommand = 32772;
constexpr unsigned kGetHostCadCommand = 32829;
constexpr unsigned kRegisterTinCommand = 32798;
constexpr unsigned kFetchHostCadCommand = 32790;
constexpr unsigned kFetchTextureCommand = 32792;
constexpr unsigned kGetPointCloudsCommand = 32830;
constexpr unsigned kFileExportCommand = 32837;

void DeleteFilesState(ViewFilesState* state) { delete state; }

}  // namespace

ViewFilesState::ViewFilesState() : undo0(0, tessara::TempFolder()), undo1(1, tessara::TempFolder()) {}

ViewFilesState::~ViewFilesState() = default;

void CModelViewerView::InitFiles()
{
    m_files = std::unique_ptr<ViewFilesState, void (*)(ViewFilesState*)>(new ViewFilesState, &DeleteFilesState);
    // Snapshots of an earlier run are gone before anything can be undone.
    m_files->undo0.Clear();
    m_files->undo1.Clear();
}

void CModelViewerView::ReleaseFiles()
{
    // The worker has stopped: nothing uses the state any more. Snapshot files stay
    // until the next start clears them.
    m_files.reset();
}

void CModelViewerView::RegisterFileCommands(CommandMap& map)
{
    map.On(kUndoCommand, [this] { Undo(); });
    map.On(kFileOpenCommand, [this] { OnFileOpen(); });
    map.On(kRibbonFileOpenCommand, [this] { OnFileOpen(); });
    map.On(kFileExportCommand, [this] { OnFileExport(); });
    map.OnUpdate(kUndoCommand, [this](CommandUi& ui) { ui.enabled = CanUndo(); });
    map.On(kGetHostCadCommand, [this] { OnGetHostCad(); });
    map.On(kRegisterTinCommand, [this] { OnRegisterTinToHost(); });
    map.On(kFetchHostCadCommand, [this] { OnFetchHostCad(); });
    map.On(kFetchTextureCommand, [this] { OnFetchHostTexture(); });
    map.On(kGetPointCloudsCommand, [this] { OnGetHostPointClouds(); });
    map.OnMessage(kMsgSetStatusText, [this](std::uintptr_t w, std::intptr_t l) { return OnSetStatusText(w, l); });
    map.OnMessage(kMsgProgress, [this](std::uintptr_t w, std::intptr_t l) { return OnProgress(w, l); });
    map.OnMessage(kMsgProgressEnd, [this](std::uintptr_t w, std::intptr_t l) { return OnProgressEnd(w, l); });
    map.OnMessage(kMsgLoadProgress, [this](std::uintptr_t w, std::intptr_t l) { return OnLoadProgress(w, l); });
    map.OnMessage(kMsgLoadFinished, [this](std::uintptr_t w, std::intptr_t l) { return OnLoadFinished(w, l); });
    map.OnMessage(kMsgLandXmlLoadFinished,
                  [this](std::uintptr_t w, std::intptr_t l) { return OnLandXmlLoadFinished(w, l); });
}

