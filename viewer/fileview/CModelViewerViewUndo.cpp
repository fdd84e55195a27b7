// Undo snapshots: whole sections written before a change and read back over it.
#include "viewer/render/CModelViewerView.h"

#include "outside/CModelDataMng.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "viewer/files/ModelFile.h"
#include "viewer/files/ViewFilesState.h"
#include "viewer/files/ViewProgress.h"

#include <cmath>
#include <mutex>

bool CModelViewerView::PushUndoSnapshotLocked(std::uint16_t contentFlags, std::string& failure)
{
    const auto name = m_files->undo0.ReserveSlot();
    if (!name) return true;
    // A snapshot is complete under its name but not synced: the next start
    // deletes it, so a crash loses nothing the disk would have kept.
    CollectSceneState();
    const ModelFile::SaveResult saved =
        ModelFile::Save(*name, *m_modelStore, m_files->scene, contentFlags, ModelFile::Durability::Scratch);
    if (saved == ModelFile::SaveResult::Ok) return true;
    // A failed save frees its slot again, so the next push does not reuse a
    // name whose file was never written.
    m_files->undo0.Forget(*name);
    if (saved == ModelFile::SaveResult::NoSpace) failure = filetexts::kNoDiskSpace;
    if (!failure.empty()) failure += "\n";
    failure += filetexts::kSaveFailed;
    return false;
}

void CModelViewerView::PushUndoSnapshot(std::uint16_t contentFlags)
{
    std::string failure;
    {
        std::lock_guard lock(ViewMutex());
        PushUndoSnapshotLocked(contentFlags, failure);
    }
    if (!failure.empty()) ShowFilesMessage(failure, tessara::MB_OK | tessara::MB_ICONHAND);
}

void CModelViewerView::ClearUndoFiles(int list)
{
    (list == 0 ? m_files->undo0 : m_files->undo1).Clear();
}

bool CModelViewerView::CanUndo() const
{
    return m_files && !m_files->undo0.Empty();
}

void CModelViewerView::Undo()
{
    SetMainFrameStatusText(filetexts::kUndoRunning);
    if (const auto name = m_files->undo0.TakeNewest()) {
        // The user's display settings survive the undo; the snapshot's switches do not.
        const ViewSettings keptSettings = m_settings;
        const short keptRenderMode = m_pointColourMode;
        double keptBase = 0;
        {
            std::lock_guard lock(ViewMutex());
            keptBase = m_files->scene.frame.baseElevation;
        }
        if (LoadModelArchive(*name) == 1) {
            double base = 0;
            {
                std::lock_guard lock(ViewMutex());
                m_settings = keptSettings;
                m_pointColourMode = keptRenderMode;
                base = m_files->scene.frame.baseElevation;
            }
            if (base != keptBase || std::isnan(base) || std::isnan(keptBase)) InvalidateAllBuffers();
            InvalidateLegends();
        } else {
            // Nothing was restored: say so instead of reporting success, and free
            // the slot the unreadable file holds.
            tessara::DeleteFile(*name);
            SetMainFrameStatusText("");
            tessara::MessageBox(filetexts::kOpenFailed, filetexts::kCaption, tessara::MB_OK | tessara::MB_ICONHAND);
            return;
        }
        tessara::DeleteFile(*name);
    }
    SetMainFrameStatusText(filetexts::kUndoDone);
}
