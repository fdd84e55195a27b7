// Emptying the model: the clear a model-file load runs with the content flags of
// the file (with the view mutex already held), and the delete-all worker, which
// locks by itself and keeps the 3D structures.

#include "viewer/render/CModelViewerView.h"

#include "outside/CModelDataMng.h"
#include "viewer/buffers/GroupGpuData.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/commands/ModelClearing.h"
#include "viewer/files/FileFormatConstants.h"
#include "viewer/files/ModelFile.h"
#include "viewer/files/ViewFilesState.h"

#include <array>
#include <mutex>
#include <vector>

void CModelViewerView::ClearData(std::uint16_t flags, std::uint16_t version)
{
    CModelDataMng& store = ModelStore();
    if (flags & (fileformat::kGroupPoints | fileformat::kGroupTins)) {
        for (int i = 0; i < store.GetGroupCount(); ++i)
            if (CPCloudMng* g = store.GetGroup(i))
                if (GroupGpuData* data = GroupGpuData::Find(*g))
                    data->rebuildRequested = 1;
        // The tree items go; the groups that stay keep the user's show flags
        // (an undo of points alone must not show a hidden TIN).
        std::vector<std::array<std::int32_t, 3>> shown;
        for (int i = 0; i < store.GetGroupCount(); ++i) {
            const CPCloudMng* g = store.GetGroup(i);
            shown.push_back(g ? std::array<std::int32_t, 3>{g->m_nShowGroup, g->m_nShowPCloud, g->m_nShowTin}
                              : std::array<std::int32_t, 3>{1, 1, 1});
        }
        RemoveGroupTreeItems(0);
        for (int i = 0; i < store.GetGroupCount(); ++i) {
            if (CPCloudMng* g = store.GetGroup(i)) {
                g->m_nShowGroup = shown[static_cast<std::size_t>(i)][0];
                g->m_nShowPCloud = shown[static_cast<std::size_t>(i)][1];
                g->m_nShowTin = shown[static_cast<std::size_t>(i)][2];
            }
        }
    }
    RenderBook& book = BuffersState().book;
    for (DrawableKind kind : clearing::KindsToRelease(flags, version)) {
        book.Kind(kind).releasePending = 1;
        book.Kind(kind).built = 0;
    }
    ClearPickBuckets();
    // The store's content and the coordinate frame go in one place for loads,
    // undo and the delete command alike.
    ModelFile::ClearContent(store, FilesState().scene, flags, version);
    ClearSelection();
    // Point numbers held anywhere no longer name the same points.
    ForgetPointNumbers();
    InvalidateScene();
}

void CModelViewerView::ClearAllData()
{
    CancelRefinement();
    {
        std::lock_guard lock(ViewMutex());
        CModelDataMng& store = ModelStore();
        for (int i = 0; i < store.GetGroupCount(); ++i)
            if (CPCloudMng* g = store.GetGroup(i))
                if (GroupGpuData* data = GroupGpuData::Find(*g))
                    data->rebuildRequested = 1;
        RemoveGroupTreeItems(0);
        store.ClearGroups();
        ClearData(clearing::kAllButStructures, fileformat::kModelVersion0102);
        FilesState().sceneChanged = 1;
    }
    // The legends read the store again (now empty) once the lock is released.
    RefreshValueLegends();
    m_groupTreeDirty = 1;
    InvalidateAllBuffers();
    InvalidateScene();
}
