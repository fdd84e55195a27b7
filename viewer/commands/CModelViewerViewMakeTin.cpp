// TIN generation from point clouds (command 32820) and from CAD figures (32791),
// and the store-wide helpers they share with other commands: re-indexing the stored TINs, regridding every
// group, and the group pane's tree items.
//
// Order of work: the dialog and every question first, then the undo snapshot,
// then the store under the lock, and the boxes once the lock is released.

#include "viewer/render/CModelViewerView.h"

#include "outside/CModelDataMng.h"
#include "platform/MessageBox.h"
#include "viewer/buffers/GroupGpuData.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/commands/TinGeneration.h"
#include "viewer/dialogs/DialogRunner.h"
#include "viewer/dialogs/MakeTinDlg.h"
#include "viewer/files/MakeUniqueGroupName.h"
#include "viewer/files/ViewProgress.h"
#include "viewer/render/ShellHooks.h"

#include <mutex>

namespace {

constexpr unsigned kMakeTin = 32820;
constexpr unsigned kMakeTinFromCad = 32791;
constexpr std::uint16_t kGroupTinContent = 0x02;
constexpr std::uint16_t kGroupCloudAndTinContent = 0x03;
// Group TINs, the view cloud and the CAD TIN.
constexpr std::uint16_t kCadTinSnapshotContent = 0x2A;

constexpr DrawableKind kGroupTinKinds[] = {DrawableKind::GroupTinFaces, DrawableKind::GroupTinTextured,
                                           DrawableKind::GroupTinEdges, DrawableKind::GroupTinVertices};
constexpr DrawableKind kCadTinKinds[] = {DrawableKind::CadTinFaces, DrawableKind::CadTinTextured,
                                         DrawableKind::CadTinEdges, DrawableKind::CadTinVertices};

int Ask(QWidget* owner, const std::string& text, unsigned flags)
{
    return tessara::MessageBox(text, filetexts::kCaption, flags, owner);
}

} // namespace

void CModelViewerView::RegisterTinGenerationCommands(CommandMap& map)
{
    map.On(kMakeTin, [this] { OnMakeTinFromPointCloud(); });
    map.On(kMakeTinFromCad, [this] { OnMakeTinFromCad(); });
}

void CModelViewerView::RemapTinData()
{
    CancelRefinement();
    std::lock_guard lock(ViewMutex());
    ModelStore().ReMapTinData();
    RenderBook& book = BuffersState().book;
    for (DrawableKind kind : {DrawableKind::GroupTinFaces, DrawableKind::GroupTinTextured, DrawableKind::GroupTinEdges,
                              DrawableKind::GroupTinVertices, DrawableKind::ViewCloudTinFaces,
                              DrawableKind::ViewCloudTinTextured, DrawableKind::ViewCloudTinEdges,
                              DrawableKind::ViewCloudTinVertices, DrawableKind::CadTinFaces,
                              DrawableKind::CadTinTextured, DrawableKind::CadTinEdges, DrawableKind::CadTinVertices,
                              DrawableKind::BuildTinFaces, DrawableKind::BuildTinEdges,
                              DrawableKind::BuildTinVertices}) {
        book.Kind(kind).releasePending = 1;
        book.Kind(kind).built = 0;
    }
}

void CModelViewerView::RemoveGroupTreeItems(int onlyShown)
{
    std::vector<std::int64_t> groups;
    CModelDataMng& store = ModelStore();
    for (int i = 0; i < store.GetGroupCount(); ++i) {
        CPCloudMng* g = store.GetGroup(i);
        if (g == nullptr || (onlyShown == 1 && !g->IsShownForPoints()))
            continue;
        groups.push_back(i);
        g->m_nShowGroup = 1;
        g->m_nShowPCloud = 1;
        g->m_nShowTin = 1;
    }
    if (const auto& remove = ShellHooks::Instance().removeGroupTreeItems)
        remove(groups);
}

void CModelViewerView::RefreshGroupTree()
{
    m_groupTreeDirty = 0;
    if (const auto& refresh = ShellHooks::Instance().refreshGroupTree)
        refresh();
}

void CModelViewerView::RegridAllGroups()
{
    CModelDataMng& store = ModelStore();
    for (int i = store.GetGroupCount() - 1; i >= 0; --i) {
        CPCloudMng* g = store.GetGroup(i);
        if (g == nullptr)
            continue;
        if (GroupGpuData* data = GroupGpuData::Find(*g))
            data->rebuildRequested = 1;
        g->CreateGrid();
        g->CVertexMng::CreateGrid();
    }
    BuffersState().book.Kind(DrawableKind::GroupCloud).releasePending = 1;
    ClearPickBuckets();
    InvalidateAllBuffers();
}

void CModelViewerView::ForgetPointNumbers()
{
    // Merging and sampling renumber points: nothing may keep the old numbers.
    BuffersState().pickBuckets.clear();
    BuffersState().book.Kind(DrawableKind::Selection).releasePending = 1;
    ClearPickBuckets();
    ClearPickedList();
    m_pickedGroup = -1;
    m_pickedPoint = -1;
    InvalidateAllBuffers();
}

void CModelViewerView::OnMakeTinFromPointCloud()
{
    std::int64_t selected = 0;
    int groups = 0;
    if (!ReadStore<bool>(
            [&](const CModelDataMng& store) {
                selected = tingen::CountSelectedShown(store, BuffersState().pickBuckets);
                groups = store.GetGroupCount();
                return true;
            },
            false)) {
        Ask(this, filetexts::kBusy, tessara::MB_ICONWARNING);
        return;
    }
    if (groups == 0)
        return;
    MakeTinDlg::Values dialog =
        MakeTinDlg::Values::FromSettings(m_settings, selected > 0 ? tingen::kSelectionCaption : tingen::kWholeCaption);
    if (tessara::RunDialog<MakeTinDlg>(this, dialog) != tessara::IDOK)
        return;
    dialog.ToSettings(m_settings);
    if (selected > 0)
        MakeTinFromSelection(selected);
    else
        MakeTinFromWholeClouds();
}

void CModelViewerView::MakeTinFromSelection(std::int64_t selected)
{
    const std::int64_t limit = tingen::PointLimit(m_settings.tinPointLimit);
    if (selected > limit) {
        Ask(this, tingen::SelectionOverLimitText(limit), tessara::MB_ICONINFORMATION);
        return;
    }
    if (selected > tingen::kHardCap) {
        Ask(this, tingen::kOverHardCap, tessara::MB_ICONINFORMATION);
        return;
    }
    tingen::ShownGroups shown;
    if (!ReadStore<bool>(
            [&](const CModelDataMng& store) {
                shown = tingen::CountShownGroups(store);
                return true;
            },
            false)) {
        Ask(this, filetexts::kBusy, tessara::MB_ICONWARNING);
        return;
    }
    const bool merge = shown.count >= 2;
    if (merge) {
        if (Ask(this, tingen::kMergeQuestion, tessara::MB_YESNO | tessara::MB_ICONINFORMATION) != tessara::IDYES)
            return;
        if (Ask(this, tingen::kMergeWarning, tessara::MB_OKCANCEL | tessara::MB_ICONHAND) != tessara::IDOK)
            return;
        ClearUndoFiles(0);
        ClearUndoFiles(1);
    } else {
        PushUndoSnapshot(kGroupTinContent);
    }
    SetMainFrameStatusText(tingen::kRemapping);
    RemapTinData();

    std::int64_t triangles = 0;
    CancelRefinement();
    {
        std::lock_guard lock(ViewMutex());
        SetMainFrameStatusText(tingen::kComputing);
        CModelDataMng& store = ModelStore();
        // Only the points of groups shown with their points are meshed.
        std::vector<SelPCloud> entries = tingen::ShownEntries(store, BuffersState().pickBuckets);
        std::int64_t target = shown.lastWithPoints;
        if (merge) {
            RemoveGroupTreeItems(1);
            store.AllPointMerge(1, entries);
            RegridAllGroups();
            target = store.GetGroupCount() - 1;
            if (CPCloudMng* merged = store.GetGroup(target)) {
                if (store.GetGroupCount() > 1)
                    MakeUniqueGroupName(merged->m_name, store, *merged, 1);
                merged->m_memo.clear();
                merged->m_nColor = CModelDataMng::GetDefPointCloudGroupCol(static_cast<std::uint16_t>(target));
            }
        } else {
            BuffersState().book.Kind(DrawableKind::Selection).releasePending = 1;
        }
        if (CPCloudMng* g = store.GetGroup(target)) {
            g->m_nShowTin = 1;
            store.GenerateMesh(entries, target, &m_settings.tinOption);
            triangles = g->GetTriangleCount();
        }
        if (merge)
            ForgetPointNumbers();
    }
    FinishTinGeneration(triangles, true);
}

void CModelViewerView::MakeTinFromWholeClouds()
{
    const std::int64_t limit = tingen::PointLimit(m_settings.tinPointLimit);
    std::vector<tingen::Candidate> candidates;
    if (!ReadStore<bool>(
            [&](const CModelDataMng& store) {
                candidates = tingen::WholeCloudCandidates(store);
                return true;
            },
            false)) {
        Ask(this, filetexts::kBusy, tessara::MB_ICONWARNING);
        return;
    }
    // Every question before the store is locked; the run ends where an answer or
    // a cloud too large for sampling ends it, and that box comes after the work.
    const std::size_t asked = candidates.size();
    std::size_t runTo = candidates.size();
    const char* stopText = nullptr;
    bool sampling = false;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        tingen::Candidate& c = candidates[i];
        if (c.points <= limit)
            continue;
        if (c.points > tingen::kHardCap) {
            runTo = i;
            stopText = tingen::kOverHardCap;
            break;
        }
        if (Ask(this, tingen::SamplingQuestionText(limit), tessara::MB_YESNO | tessara::MB_ICONINFORMATION) !=
            tessara::IDYES) {
            runTo = i;
            break;
        }
        c.sample = true;
        sampling = true;
    }
    candidates.resize(runTo);
    if (!candidates.empty())
        PushUndoSnapshot(sampling ? kGroupCloudAndTinContent : kGroupTinContent);

    std::int64_t triangles = 0;
    bool changed = false;
    CancelRefinement();
    {
        std::lock_guard lock(ViewMutex());
        SetMainFrameStatusText(tingen::kComputing);
        CModelDataMng& store = ModelStore();
        for (const tingen::Candidate& c : candidates) {
            if (!tingen::StillCandidate(store, c))
                continue;
            CPCloudMng& group = *store.GetGroup(c.group);
            std::int64_t n = group.GetCloudPointSize();
            if (n > limit) {
                if (!c.sample || n > tingen::kHardCap) {
                    stopText = n > tingen::kHardCap ? tingen::kOverHardCap : nullptr;
                    break;
                }
                const std::int64_t before = n;
                n = tingen::SampleGroupDownTo(group, limit);
                if (n != before) {
                    changed = true;
                    ForgetPointNumbers();
                    if (GroupGpuData* data = GroupGpuData::Find(group))
                        data->rebuildRequested = 1;
                }
                if (n > limit) {
                    stopText = tingen::kSamplingFailed;
                    break;
                }
            }
            group.ClearVertex();
            group.GenerateMesh(&store, &m_settings.tinOption, 1);
            triangles += group.GetTriangleCount();
            changed = true;
        }
    }
    if (stopText != nullptr)
        Ask(this, stopText, stopText == tingen::kSamplingFailed ? tessara::MB_ICONHAND : tessara::MB_ICONINFORMATION);
    // Only a run that changed the store finishes; one that ran to its end also
    // reports the triangles, one that stopped early shows what it built and thinned.
    if (!changed)
        return;
    FinishTinGeneration(triangles, stopText == nullptr && runTo == asked);
}

void CModelViewerView::OnMakeTinFromCad()
{
    MakeTinDlg::Values dialog = MakeTinDlg::Values::FromSettings(m_settings, tingen::kCadCaption);
    if (tessara::RunDialog<MakeTinDlg>(this, dialog) != tessara::IDOK)
        return;
    dialog.ToSettings(m_settings);
    CModelDataMng::CadTinInput input;
    if (!ReadStore<bool>(
            [&](const CModelDataMng& store) {
                input = store.CountCadTinInput();
                return true;
            },
            false)) {
        Ask(this, filetexts::kBusy, tessara::MB_ICONWARNING);
        return;
    }
    SetMainFrameStatusText(tingen::kCadRunning);
    // Fewer than three points with elevations, or all on one line, make no TIN:
    // nothing is changed.
    if (input.vertices < 3 || !input.spansArea) {
        SetMainFrameStatusText(tingen::CadTinDoneText(0, input.figuresWithoutZ));
        Ask(this, tingen::kCadNothing, tessara::MB_ICONWARNING);
        return;
    }
    PushUndoSnapshot(kCadTinSnapshotContent);
    const double splitPitch =
        m_settings.tinOption.m_nConsiderBreakLineSw != 0 && m_settings.splitBreakLines != 0 ? m_settings.splitPitchM : 0.0;
    std::int64_t triangles = 0;
    CancelRefinement();
    {
        std::lock_guard lock(ViewMutex());
        CModelDataMng& store = ModelStore();
        triangles = store.GenerateCadTin(&m_settings.tinOption, splitPitch);
        if (triangles > 0) {
            // The new TIN is shown, as the one made from points is.
            store.m_nShowCADTin = 1;
            RenderBook& book = BuffersState().book;
            for (DrawableKind kind : kCadTinKinds) {
                book.Kind(kind).releasePending = 1;
                book.Kind(kind).built = 0;
            }
            RebuildPickCache();
        }
    }
    if (triangles == 0) {
        // The generator made nothing of them after all: the old TIN stays, and the
        // snapshot goes unused.
        SetMainFrameStatusText(tingen::CadTinDoneText(0, input.figuresWithoutZ));
        Ask(this, tingen::kCadNothing, tessara::MB_ICONWARNING);
        return;
    }
    if (m_settings.tinPictureMode == 0)
        m_settings.tinPictureMode = 1;
    m_groupTreeDirty = 1;
    InvalidateLegends();
    InvalidateScene();
    SendStatusText(tingen::CadTinDoneText(triangles, input.figuresWithoutZ));
}

void CModelViewerView::FinishTinGeneration(std::int64_t triangles, bool report)
{
    if (m_settings.tinPictureMode == 0)
        m_settings.tinPictureMode = 1;
    RenderBook& book = BuffersState().book;
    for (DrawableKind kind : kGroupTinKinds) {
        if (book.Kind(kind).built != 0) {
            book.Kind(kind).releasePending = 1;
            book.Kind(kind).built = 0;
        }
    }
    m_groupTreeDirty = 1;
    InvalidateLegends();
    if (report)
        Ask(this, tingen::TriangleCountText(triangles), tessara::MB_ICONINFORMATION);
    SetMainFrameStatusText(tingen::kDone);
    EndMainFrameProgress();
    InvalidateScene();
}
