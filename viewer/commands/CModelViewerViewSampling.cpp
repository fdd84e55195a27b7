// The point filters of the view (commands 32807-32809, 32812, 32813): the dialog,
// the two questions, then the store's filter on the groups shown for points with
// the view locked, and the groups regridded and the tree rebuilt afterwards.
//
// The filter pumps events for its progress bar and abort button while the lock is
// held; the long-work guard makes the router refuse every command meanwhile.

#include "viewer/render/CModelViewerView.h"

#include "outside/CModelDataMng.h"
#include "platform/MessageBox.h"
#include "viewer/buffers/GroupGpuData.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/commands/PointSampling.h"
#include "viewer/dialogs/DialogRunner.h"
#include "viewer/dialogs/VurGridDlg.h"
#include "viewer/dialogs/VurOutRemoveDlg.h"
#include "viewer/dialogs/VurRadiusDlg.h"
#include "viewer/files/ViewProgress.h"
#include "viewer/render/LongWorkGuard.h"
#include "viewer/render/WorkInputFilter.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

namespace {

constexpr unsigned kSampleGrid = 32807;
constexpr unsigned kSampleGridMinZ = 32808;
constexpr unsigned kSampleGridMaxZ = 32809;
constexpr unsigned kFilterRadius = 32812;
constexpr unsigned kFilterOutlier = 32813;

} // namespace

void CModelViewerView::RegisterSamplingCommands(CommandMap& map)
{
    map.On(kSampleGrid, [this] { OnSampleGrid(); });
    map.On(kSampleGridMinZ, [this] { OnSampleGridMinZ(); });
    map.On(kSampleGridMaxZ, [this] { OnSampleGridMaxZ(); });
    map.On(kFilterRadius, [this] { OnFilterRadius(); });
    map.On(kFilterOutlier, [this] { OnFilterOutlierRemoval(); });
}

void CModelViewerView::OnSampleGrid() { RunPointFilter(static_cast<int>(sampling::Filter::Grid)); }
void CModelViewerView::OnSampleGridMinZ() { RunPointFilter(static_cast<int>(sampling::Filter::GridMinZ)); }
void CModelViewerView::OnSampleGridMaxZ() { RunPointFilter(static_cast<int>(sampling::Filter::GridMaxZ)); }
void CModelViewerView::OnFilterRadius() { RunPointFilter(static_cast<int>(sampling::Filter::Radius)); }
void CModelViewerView::OnFilterOutlierRemoval() { RunPointFilter(static_cast<int>(sampling::Filter::Outlier)); }

void CModelViewerView::RunPointFilter(int which)
{
    const auto filter = static_cast<sampling::Filter>(which);
    int answer = tessara::IDCANCEL;
    switch (filter) {
    case sampling::Filter::Grid:
    case sampling::Filter::GridMinZ:
    case sampling::Filter::GridMaxZ: {
        VurGridDlg::Values values = VurGridDlg::Values::FromSettings(m_settings, which);
        answer = tessara::RunDialog<VurGridDlg>(this, values);
        if (answer == tessara::IDOK)
            values.ToSettings(m_settings);
        break;
    }
    case sampling::Filter::Radius: {
        VurRadiusDlg::Values values = VurRadiusDlg::Values::FromSettings(m_settings);
        answer = tessara::RunDialog<VurRadiusDlg>(this, values);
        if (answer == tessara::IDOK)
            values.ToSettings(m_settings);
        break;
    }
    case sampling::Filter::Outlier: {
        VurOutRemoveDlg::Values values = VurOutRemoveDlg::Values::FromSettings(m_settings);
        answer = tessara::RunDialog<VurOutRemoveDlg>(this, values);
        if (answer == tessara::IDOK)
            values.ToSettings(m_settings);
        break;
    }
    }
    if (answer != tessara::IDOK)
        return;
    if (tessara::MessageBox(sampling::kFirstQuestion, filetexts::kCaption,
                            tessara::MB_OKCANCEL | tessara::MB_ICONQUESTION, this) != tessara::IDOK)
        return;
    if (tessara::MessageBox(sampling::kSecondQuestion, filetexts::kCaption, tessara::MB_OKCANCEL | tessara::MB_ICONHAND,
                            this) != tessara::IDOK)
        return;

    ClearUndoFiles(0);
    ClearUndoFiles(1);
    SetMainFrameStatusText(sampling::kWorking);
    const sampling::Params params = sampling::Params::FromSettings(m_settings, filter);
    {
        LongWorkGuard working(LongWorkGuard::Kind::Other);
        // Only the abort button (and its question) take input while the filter pumps
        // events with the lock held: a key or click on the view would lock again.
        WorkInputFilter input;
        CancelRefinement();
        std::lock_guard lock(ViewMutex());
        CModelDataMng& store = ModelStore();
        const int before = store.GetGroupCount();
        // The groups the filter thins: those shown for their points.
        std::vector<CPCloudMng*> thinned;
        for (int i = 0; i < before; ++i)
            if (CPCloudMng* g = store.GetGroup(i); g != nullptr && g->IsShownForPoints())
                thinned.push_back(g);
        RemoveGroupTreeItems(1);
        int lastPercent = -1;
        const int ran = sampling::RunStoreFilter(store, params, [&](double percent) {
            const int now = std::clamp(static_cast<int>(std::lround(percent)), 0, 100);
            if (now == lastPercent)
                return true;
            lastPercent = now;
            const int reply = SetMainFrameProgress(100, now);
            QCoreApplication::processEvents();
            return reply != ViewProgress::kStop;
        });
        if (ran == 1) {
            // Only the thinned groups need their grids again.
            for (auto it = thinned.rbegin(); it != thinned.rend(); ++it) {
                if (GroupGpuData* data = GroupGpuData::Find(**it))
                    data->rebuildRequested = 1;
                (*it)->CreateGrid();
                (*it)->CVertexMng::CreateGrid();
            }
            BuffersState().book.Kind(DrawableKind::GroupCloud).releasePending = 1;
            sampling::NameCreatedGroups(store, before);
            ForgetPointNumbers();
        }
    }
    m_groupTreeDirty = 1;
    InvalidateLegends();
    InvalidateScene();
    SetMainFrameStatusText(sampling::kChooseNext);
    EndMainFrameProgress();
}
