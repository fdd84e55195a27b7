// Host data files: read off the store, installed under the view mutex in one step.
#include "viewer/render/CModelViewerView.h"
#include "platform/Log.h"

#include "outside/CModelDataMng.h"
#include "outside/StoreMarkers.h"
#include "outside/XTinOption.h"
#include "platform/Files.h"
#include "platform/MessageBox.h"
#include "platform/UiMessages.h"
#include "viewer/files/DeferredFileClose.h"
#include "viewer/files/FileFormatConstants.h"
#include "viewer/files/HostDataContent.h"
#include "viewer/files/HostDataFileReader.h"
#include "viewer/files/MakeUniqueGroupName.h"
#include "viewer/files/ViewFilesState.h"
#include "viewer/render/LongWorkGuard.h"

#include <QThread>

#include <cstdio>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace {

using namespace fileformat;

constexpr short kPointColourRgb = 2;
constexpr int kTinPictureSingle = 1;
constexpr int kTinPictureTexture = 3;
constexpr std::intptr_t kLoadFailed = -1;

// Undo content of a later host file: the group alone, or what the file replaces.
std::uint16_t SnapshotFlags(std::int32_t hostFlags)
{
    if (hostFlags == kHostAddGroupOnly) return kGroupPoints;
    return (hostFlags & kHostGroup) ? 0x3D : 0x3C;
}

int TotalGroupPoints(const CModelDataMng& store)
{
    int total = 0;
    for (int i = 0; i < store.GetGroupCount(); ++i)
        if (const CPCloudMng* g = store.GetGroup(i)) total += g->GetCloudPointSize();
    return total;
}

// Deletes a consumed host file at once; the name goes now (an open descriptor keeps
// the data alive) and the descriptor is closed after the load has answered.
void DeleteConsumedFile(const std::string& path, DeferredFileClose& closer)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    tessara::DeleteFile(path);
    closer.Close(fd);
}

void LowerZMin(double& zMin, double z)
{
    if (IsUnsetValue(z)) return;
    if (IsUnsetValue(zMin) || zMin > z) zMin = z;
}

}  // namespace

int CModelViewerView::LoadHostDataFile(const std::string& path, int colourPicture, int texturePicture)
{
    LongWorkGuard loading(LongWorkGuard::Kind::Other);
    MTRX transform;
    bool transformSet = false;
    {
        // The paint reads these under the mutex too.
        std::lock_guard lock(ViewMutex());
        if (m_pointColourMode == 0) m_pointColourMode = kPointColourRgb;
        m_settings.cadSwitch = 1;
        m_settings.partSwitch = 1;
        transform = m_files->scene.frame.surveyTransform;
        transformSet = m_files->scene.frame.transformSet != 0;
    }
    HostDataContent content;
    HostDataFileReader reader(transform, transformSet);
    const HostDataFileReader::Result read = reader.Read(path, content);
    int result = 0;
    std::string failure;
    if (read == HostDataFileReader::Result::Ok) {
        // The view cloud's TIN is built before the store is locked: the mesh needs
        // only the new points (break lines are off for it).
        if (content.hasViewCloud && content.viewCloud.GetCloudPointSize() > 0) {
            content.viewCloud.m_nDataFlag = 1;
            content.viewCloud.CreateGrid();
            XTinOption option;
            option.m_nConsiderBreakLineSw = 0;
            option.m_nRemoveExcessiveTriangleSw = 0;
            content.viewCloud.GenerateMesh(nullptr, &option, 1);
        }
        result = content.AddsData() ? 1 : 0;
        std::lock_guard lock(ViewMutex());
        if (transformSet) PushUndoSnapshotLocked(SnapshotFlags(content.flags), failure);
        InstallHostData(content, colourPicture, texturePicture);
        tessara::Log("host data file %s loaded: %d groups, %d points, %d view-cloud triangles, %zu figures",
                     path.c_str(), m_modelStore->GetGroupCount(), TotalGroupPoints(*m_modelStore),
                     m_modelStore->m_viewCloud.GetTriangleCount(), m_modelStore->m_elmList.size());
    } else {
        tessara::Log("host data file %s not loaded: %s", path.c_str(), reader.Error().c_str());
    }
    // Only a file read whole is the host's consumed temporary file; anything else
    // may be a user's file named by mistake, or needed to see what went wrong.
    if (read == HostDataFileReader::Result::Ok) DeleteConsumedFile(path, m_files->consumedFiles);
    m_files->sceneChanged.store(1, std::memory_order_release);
    if (!failure.empty()) ShowFilesMessage(failure, tessara::MB_OK | tessara::MB_ICONHAND);
    // Sent after the mutex is released: a UI command waiting for the mutex would
    // otherwise never handle it. On the UI thread this is a direct call.
    const std::intptr_t code = read == HostDataFileReader::Result::Ok ? 0 : kLoadFailed;
    tessara::SendUiMessage(MessageTarget(), kMsgLoadFinished, static_cast<std::uintptr_t>(code), 0);
    return result;
}

void CModelViewerView::InstallHostData(HostDataContent& c, int colourPicture, int texturePicture)
{
    CModelDataMng& store = *m_modelStore;
    SceneFrame& frame = m_files->scene.frame;
    const bool addGroupOnly = c.flags == kHostAddGroupOnly;
    frame.surveyTransform = c.surveyTransform;
    frame.transformSet = c.transformSet ? 1 : 0;
    if (c.cornersValid) {
        frame.corners = c.corners;
        frame.cornersSet = 1;
    }
    if (!addGroupOnly) {
        if (c.flags & (kHostCad | kHostPart)) {
            store.ClearCadFigures();
            store.m_cadTin.ClearCloudPoint();
            store.m_cadTin.ClearVertex();
            store.ClearPartDrawing();
        }
        InvalidateAllBuffers();
        if (c.hasCad) {
            store.m_cadName = std::move(c.cadText);
            store.m_elmList = std::move(c.figures);
            store.RebuildCadLayers();
            if (!store.m_elmList.empty()) {
                m_settings.cadSwitch = 1;
                if (colourPicture != 0) m_settings.tinPictureMode = kTinPictureSingle;
                if (texturePicture != 0) m_settings.tinPictureMode = kTinPictureTexture;
            }
        }
        if (c.hasPart) {
            store.m_partPoint3D = std::move(c.partPoint3D);
            store.m_partPoint2D = std::move(c.partPoint2D);
            store.m_partVertex = std::move(c.partVertex);
            store.m_partLineVertex3D = std::move(c.partLineVertex3D);
            store.m_partLineVertex2D = std::move(c.partLineVertex2D);
            store.m_partLine3D = std::move(c.partLine3D);
            store.m_partLine2D = std::move(c.partLine2D);
            if (c.partPointCount > 0 || c.partLineCount > 0) m_settings.partSwitch = 1;
        }
        if (c.hasViewCloud) {
            CPCloudMng& cloud = store.m_viewCloud;
            auto viewData = std::move(cloud.m_viewData);
            const auto treeItems = cloud.m_treeItems;
            cloud = std::move(c.viewCloud);
            cloud.m_viewData = std::move(viewData);
            cloud.m_treeItems = treeItems;
            cloud.m_nShowGroup = 1;
            cloud.m_nShowPCloud = 0;
            cloud.m_nShowTin = 1;
            if (cloud.GetTriangleCount() > 0)
                m_settings.tinPictureMode = texturePicture != 0 ? kTinPictureTexture : kTinPictureSingle;
            RebuildPickCache();
        }
    }
    if (c.hasGroup && c.group) {
        c.group->m_nColor = CModelDataMng::GetDefPointCloudGroupCol(std::uint16_t(store.GetGroupCount()));
        MakeUniqueGroupName(c.groupName, store, *c.group, 0);
        store.AddGroup(std::move(c.group));
        store.SetRenderingCenterPt(c.groupCentre);
        m_pickedPoint = -1;
        InvalidateAllBuffers();
        ClearPickBuckets();
        m_files->pickBucketsCleared.fetch_add(1, std::memory_order_relaxed);
    }
    if (!(c.flags & kHostGroup)) store.SetRenderingCenterPt(PT(c.reference.x(), c.reference.y(), c.zMin));
    m_files->hostReference = c.surveyReference;
    m_files->hostReferenceTransform = frame.surveyTransform;
    m_files->hostReferenceSet = true;

    // Axis and grid origin: the first extent corner, else the lowest group corner.
    PT origin(0.0, 0.0, 0.0);
    if (frame.cornersSet) {
        origin = frame.corners[0];
    } else if (store.GetGroupCount() > 0) {
        bool first = true;
        for (int i = 0; i < store.GetGroupCount(); ++i) {
            const CPCloudMng* g = store.GetGroup(i);
            if (!g) continue;
            if (first || g->GetPCloudMinX() < origin.x()) origin.X(g->GetPCloudMinX());
            if (first || g->GetPCloudMinY() < origin.y()) origin.Y(g->GetPCloudMinY());
            first = false;
        }
    }
    store.UserToModel(origin);
    m_axisOrigin = QVector3D(float(origin.x() - 2.0), float(origin.y() - 2.0), 0.0f);
    m_axisDirty = true;
    m_files->axisOriginSet = true;

    if (frame.baseElevationMode != 0 && !IsUnsetValue(c.zMin)) {
        double lowest = frame.baseElevation;
        LowerZMin(lowest, c.zMin);
        if (lowest != frame.baseElevation) {
            frame.baseElevation = lowest;
            InvalidateAllBuffers();
        }
    }
    m_groupTreeDirty = 1;
}
