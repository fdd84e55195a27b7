// Removing data from the scene: the delete dialog's apply and close messages, the
// Delete key, deletion by elevation, of everything shown and of all data, and the
// CAD figure selection mode.
//
// Questions and the undo snapshot come first, then the store under the lock; the
// boxes and status texts after it is released.

#include "viewer/render/CModelViewerView.h"

#include "outside/CModelDataMng.h"
#include "platform/MessageBox.h"
#include "viewer/buffers/GroupGpuData.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/commands/Deletion.h"
#include "viewer/dialogs/CDeleteDlg.h"
#include "viewer/files/ViewFilesState.h"
#include "viewer/files/ViewProgress.h"

#include <mutex>

namespace {

constexpr unsigned kEditCad = 32801;
constexpr unsigned kDeleteDialog = 32803;
constexpr std::uint16_t kPointsContent = 0x01;
constexpr std::uint16_t kCadContent = 0x04;
constexpr std::uint16_t kPointsAndCadContent = 0x05;
constexpr std::uint8_t kPointMode = 0;
constexpr std::uint8_t kCadMode = 6;
constexpr const char* kEditCadPrompt = "CAD図形の編集を行います。（Ctrl＋：解除選択  Shift＋:追加選択）";

int Ask(QWidget* owner, const char* text, unsigned flags)
{
    return tessara::MessageBox(text, filetexts::kCaption, flags, owner);
}

void Release(RenderBook& book, std::initializer_list<DrawableKind> kinds)
{
    for (DrawableKind k : kinds) {
        book.Kind(k).releasePending = 1;
        book.Kind(k).built = 0;
    }
}

void MarkGroups(CModelDataMng& store, const std::vector<std::int64_t>& groups)
{
    for (std::int64_t i : groups)
        if (CPCloudMng* g = store.GetGroup(i))
            if (GroupGpuData* data = GroupGpuData::Find(*g))
                data->rebuildRequested = 1;
}

} // namespace

void CModelViewerView::RegisterDeletionCommands(CommandMap& map)
{
    map.On(kDeleteDialog, [this] { ShowDeleteDialog(); });
    map.On(kEditCad, [this] { OnEditCad(); });
    map.OnMessage(CDeleteDlg::kMsgApply, [this](std::uintptr_t w, std::intptr_t l) { return OnDeleteDlgApply(w, l); });
    map.OnMessage(CDeleteDlg::kMsgClosed, [this](std::uintptr_t w, std::intptr_t l) { return OnDeleteDlgClose(w, l); });
}

void CModelViewerView::ShowDeleteDialog()
{
    if (m_deleteDlg != nullptr) {
        m_deleteDlg->activateWindow();
        m_deleteDlg->setFocus();
        return;
    }
    m_deleteDlg = new CDeleteDlg(&m_settings, this, &MessageTarget());
    m_deleteDlg->show();
}

void CModelViewerView::OnDeleteRange() { ShowDeleteDialog(); }

std::intptr_t CModelViewerView::OnDeleteDlgClose(std::uintptr_t, std::intptr_t)
{
    if (m_deleteDlg != nullptr) {
        m_deleteDlg->hide();
        m_deleteDlg->deleteLater();
        m_deleteDlg = nullptr;
    }
    return 1;
}

std::intptr_t CModelViewerView::OnDeleteDlgApply(std::uintptr_t, std::intptr_t)
{
    switch (m_settings.deleteMode) {
    case 0:
        return OnDeleteAllShown();
    case 1:
        return DeleteSelectionWithQuestion(true, tessara::MB_ICONINFORMATION);
    case 2: {
        const bool outside = m_settings.elevationDeleteMode != 0;
        if (Ask(this, outside ? deletion::kAskOutside : deletion::kAskInside,
                tessara::MB_YESNO | tessara::MB_ICONQUESTION) != tessara::IDYES)
            return 0;
        SetMainFrameStatusText(deletion::kDeleting);
        PushUndoSnapshot(kPointsAndCadContent);
        DeleteByElevation();
        SetMainFrameStatusText(deletion::kDoneRange);
        return 1;
    }
    default:
        return 1;
    }
}

void CModelViewerView::DeleteSelection()
{
    if (m_toolMode != kPointMode && m_toolMode != kCadMode)
        return;
    DeleteSelectionWithQuestion(false, tessara::MB_ICONWARNING);
}

int CModelViewerView::DeleteSelectionWithQuestion(bool statusTexts, unsigned nothingIcon)
{
    const bool points = m_toolMode == kPointMode;
    if (!points && m_toolMode != kCadMode) {
        Ask(this, deletion::kNothingSelected, tessara::MB_ICONINFORMATION);
        return 1;
    }
    const std::int64_t count = ReadStore<std::int64_t>(
        [&](const CModelDataMng& store) {
            return points ? deletion::CountShownSelectedPoints(store, BuffersState().pickBuckets)
                          : deletion::CountSelectedCadOnShownLayers(store, BuffersState().selectedCadElements);
        },
        -1);
    if (count < 0) {
        Ask(this, filetexts::kBusy, tessara::MB_ICONWARNING);
        return 0;
    }
    if (count == 0) {
        // The points path of the dialog shows a plain box.
        const unsigned icon = statusTexts && points ? 0u : nothingIcon;
        Ask(this, deletion::kNothingSelected, tessara::MB_OK | icon);
        return 1;
    }
    if (Ask(this, points ? deletion::kAskPoints : deletion::kAskFigures, tessara::MB_YESNO | tessara::MB_ICONQUESTION) !=
        tessara::IDYES)
        return 0;
    if (statusTexts)
        SetMainFrameStatusText(deletion::kDeleting);
    PushUndoSnapshot(points ? kPointsContent : kCadContent);
    if (points)
        DeleteSelectedPoints();
    else
        DeleteSelectedCadFigures();
    if (statusTexts)
        SetMainFrameStatusText(points ? deletion::kDonePoints : deletion::kDoneFigures);
    return 1;
}

void CModelViewerView::RemovePoints(const std::function<std::vector<std::int64_t>(CModelDataMng&)>& remove)
{
    CancelRefinement();
    {
        std::lock_guard lock(ViewMutex());
        CModelDataMng& store = ModelStore();
        const std::vector<std::int64_t> changed = remove(store);
        MarkGroups(store, changed);
        Release(BuffersState().book, {DrawableKind::GroupCloud, DrawableKind::Selection});
        ForgetPointNumbers();
    }
    m_groupTreeDirty = 1;
    InvalidateLegends();
    InvalidateScene();
}

void CModelViewerView::DeleteSelectedPoints()
{
    RemovePoints([this](CModelDataMng& store) {
        return deletion::DeleteSelectedPoints(store, BuffersState().pickBuckets);
    });
}

void CModelViewerView::DeleteSelectedCadFigures()
{
    CancelRefinement();
    {
        std::lock_guard lock(ViewMutex());
        Release(BuffersState().book, {DrawableKind::CadFigure, DrawableKind::CadHighlight});
        deletion::DeleteSelectedCadFigures(ModelStore(), BuffersState().selectedCadElements);
        ClearSelection();
        ClearPickedList();
        FilesState().sceneChanged = 1;
    }
    m_groupTreeDirty = 1;
    InvalidateScene();
}

void CModelViewerView::DeleteByElevation()
{
    const auto range = deletion::OrderBounds(m_settings.elevationBound1, m_settings.elevationBound2);
    if (!range)
        return;
    const bool outside = m_settings.elevationDeleteMode != 0;
    RemovePoints([&](CModelDataMng& store) { return deletion::DeleteByElevation(store, *range, outside); });
}

int CModelViewerView::OnDeleteAllShown()
{
    const int hidden = ReadStore<int>(
        [](const CModelDataMng& store) {
            return store.IsShowRootGroup() != 0 && !deletion::AnythingHidden(store) ? 0 : 1;
        },
        -1);
    if (hidden < 0) {
        Ask(this, filetexts::kBusy, tessara::MB_ICONWARNING);
        return 0;
    }
    return ConfirmAndDeleteAll(hidden == 1);
}

int CModelViewerView::DeleteAllData() { return ConfirmAndDeleteAll(false); }

int CModelViewerView::ConfirmAndDeleteAll(bool onlyShown)
{
    if (Ask(this, onlyShown ? deletion::kAllShownFirst : deletion::kAllDataFirst,
            tessara::MB_OKCANCEL | tessara::MB_ICONQUESTION) != tessara::IDOK)
        return 0;
    if (Ask(this, deletion::kAllSecond, tessara::MB_OKCANCEL | tessara::MB_ICONHAND) != tessara::IDOK)
        return 0;
    SetMainFrameStatusText(deletion::kWait);
    ClearUndoFiles(0);
    ClearUndoFiles(1);
    if (onlyShown)
        DeleteAllShown();
    else
        ClearAllData();
    SetMainFrameStatusText(deletion::kDoneAll);
    return 1;
}

void CModelViewerView::DeleteAllShown()
{
    CancelRefinement();
    {
        std::lock_guard lock(ViewMutex());
        CModelDataMng& store = ModelStore();
        if (store.IsShowRootGroup() == 0)
            return;
        std::vector<std::int64_t> all;
        for (int i = 0; i < store.GetGroupCount(); ++i)
            all.push_back(i);
        MarkGroups(store, all);
        RenderBook& book = BuffersState().book;
        Release(book, {DrawableKind::GroupCloud, DrawableKind::Selection, DrawableKind::GroupTinFaces,
                       DrawableKind::GroupTinTextured, DrawableKind::GroupTinEdges, DrawableKind::GroupTinVertices,
                       DrawableKind::CadFigure, DrawableKind::CadHighlight, DrawableKind::CadTinFaces,
                       DrawableKind::CadTinTextured, DrawableKind::CadTinEdges, DrawableKind::CadTinVertices,
                       DrawableKind::PartLayer, DrawableKind::ViewCloud, DrawableKind::ViewCloudTinFaces,
                       DrawableKind::ViewCloudTinTextured, DrawableKind::ViewCloudTinEdges,
                       DrawableKind::ViewCloudTinVertices});
        deletion::DeleteAllShown(store);
        ClearSelection();
        ForgetPointNumbers();
        FilesState().sceneChanged = 1;
    }
    RefreshValueLegends();
    m_groupTreeDirty = 1;
    InvalidateLegends();
    InvalidateAllBuffers();
    InvalidateScene();
}

void CModelViewerView::OnEditCad()
{
    if (m_toolMode == kCadMode) {
        m_toolMode = kPointMode;
        ShowEditPrompt();
        ResetDragState();
        ClearSelection();
    } else {
        m_toolMode = kCadMode;
        SetMainFrameStatusText(kEditCadPrompt);
        ResetDragState();
        ClearPickBuckets();
        SetEditMode(0);
    }
    InvalidateScene();
}
