// Picking in the main view: what lies under a window pixel (ScenePick, read on
// the CPU from the frame's matrices, so a pick never draws and the picture stays
// as it is), and the hooks the mouse handling calls with it: the point pick of
// the measuring tools, the elevation pick for the delete dialog, the picked-point
// lists and the rotation centre.

#include "viewer/render/CModelViewerView.h"

#include "outside/CModelDataMng.h"
#include "outside/GeoFunc.h"
#include "outside/StoreMarkers.h"
#include "platform/MessageBox.h"
#include "viewer/buffers/ViewBuffersState.h"
#include "viewer/commands/ScenePick.h"
#include "viewer/dialogs/CDeleteDlg.h"
#include "viewer/dialogs/CNumericDoubleEdit.h"
#include "viewer/files/ViewProgress.h"

#include <cmath>
#include <mutex>

namespace {

constexpr int kLowerElevationEdit = 32934;
constexpr int kUpperElevationEdit = 32935;
constexpr int kPointTolerance = 5;
constexpr int kMarkerPointTolerance = 20;
constexpr const char* kNoElevation = "標高を取得できません";

bool IsSetPoint(const PT& p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y()) && std::isfinite(p.z()) && !IsUnsetValue(p.x()) &&
           !IsUnsetValue(p.y()) && !IsUnsetValue(p.z());
}

bool IsFinite(const QVector3D& v) { return std::isfinite(v.x()) && std::isfinite(v.y()) && std::isfinite(v.z()); }

}  // namespace

void CModelViewerView::InvalidateLayers() { m_pickLayers = PickLayerFlags{}; }

int CModelViewerView::PickAt(int x, int y, int& kind, std::vector<int>* ids, PT* point, int* elevationFlag)
{
    // Window points still pending belong to a tool in the middle of its input: a
    // pick then has no answer the tool could use.
    if (!m_inputScreenPoints.empty() || IsBusy() != 0) return 0;
    if (m_clientWidth <= 0 || m_clientHeight <= 0) return 0;

    const RenderBook& book = BuffersState().book;
    scenepick::Options options;
    options.layers.points = m_pickLayers.points && m_pointColourMode != 0 && book.Switch(DrawSwitch::GroupClouds) != 0;
    options.layers.cadFirst = m_pickLayers.cadFirst && book.Switch(DrawSwitch::CadFigures) != 0;
    options.layers.cadSecond = m_pickLayers.cadSecond && book.Switch(DrawSwitch::CadFigures) != 0;
    options.layers.part = m_pickLayers.part && book.Switch(DrawSwitch::PartLayer) != 0;
    options.layers.tin = m_pickLayers.tin;
    options.pointTolerance = m_pickTolerance;
    options.vertexTolerance = m_vertexPointSize;
    options.tinVerticesShown = m_settings.tinPointSwitch != 0 && book.Switch(DrawSwitch::TinVertices) != 0;
    options.tinFacesShown = m_settings.tinPictureMode != 0;
    options.partSecondSetShown = m_settings.hideFiguresWithoutZ == 0;

    const ScreenProjector projector = CurrentProjector();
    // Like a paint, a pick reads the store only when it is free at once.
    std::unique_lock<tessara::OwnedMutex> lock;
    if (!ViewMutex().HeldByThisThread()) {
        lock = std::unique_lock<tessara::OwnedMutex>(ViewMutex(), std::try_to_lock);
        if (!lock.owns_lock()) return 0;
    }
    const std::optional<scenepick::Hit> hit = scenepick::PickScene(ModelStore(), projector, x, y, options);
    lock = {};
    if (!hit) return 0;
    kind = hit->kind;
    if (ids != nullptr) *ids = hit->ids;
    if (point != nullptr) *point = hit->point;
    if (elevationFlag != nullptr) *elevationFlag = hit->elevationFlag;
    return 1;
}

int CModelViewerView::PickPoint(int x, int y, PT* out)
{
    ClearPickBuckets();
    m_pickLayers = PickLayerFlags{true, false, false, false, false};
    int kind = 0;
    std::vector<int> ids;
    PT point;
    if (PickAt(x, y, kind, &ids, &point, nullptr) != 0 && kind == scenepick::kCloudPoint && ids.size() == 2) {
        m_pickedGroup = ids[0];
        m_pickedPoint = ids[1];
        if (out != nullptr) *out = point;
        InvalidateLayers();
        return 1;
    }
    InvalidateLayers();
    ClearPickBuckets();
    return 0;
}

int CModelViewerView::PickPointIndex(int x, int y) { return PickPoint(x, y, nullptr); }

int CModelViewerView::PickElevationToDialog(int x, int y)
{
    if (m_deleteDlg == nullptr) return 0;
    m_deleteDlg->activateWindow();
    auto* edit = qobject_cast<CNumericDoubleEdit*>(m_deleteDlg->focusWidget());
    const int control = edit != nullptr ? edit->objectName().toInt() : 0;
    if (control != kLowerElevationEdit && control != kUpperElevationEdit) return 0;

    InvalidateLayers();
    int kind = 0;
    int elevationFlag = 0;
    PT point;
    if (PickAt(x, y, kind, nullptr, &point, &elevationFlag) != 0 && elevationFlag == 1 && IsSetPoint(point)) {
        const PT user = ReadStore(
            [&](CModelDataMng& store) {
                PT p = point;
                store.ModelToUser(p);
                return p;
            },
            PT(kUnsetDouble, kUnsetDouble, kUnsetDouble));
        if (!IsUnsetValue(user.z()) && std::isfinite(user.z())) {
            // A value outside the edit's range leaves the old one.
            if (std::abs(user.z()) <= CDeleteDlg::kElevationLimit) edit->SetValue(user.z());
            edit->UpdateText();
            InvalidateLayers();
            return 1;
        }
    }
    InvalidateLayers();
    tessara::MessageBox(kNoElevation, filetexts::kCaption, tessara::MB_OK | tessara::MB_ICONWARNING, this);
    return 1;
}

int CModelViewerView::AppendPickedPoint(int x, int y)
{
    InvalidateLayers();
    m_pickLayers.cadSecond = false;
    int kind = 0;
    PT point;
    int result = 0;
    // A figure hit has no point: there is nothing to measure to.
    if (PickAt(x, y, kind, nullptr, &point, nullptr) != 0 && IsSetPoint(point)) {
        m_pickedPoints.points.push_back(point);
        m_pickedPoints.windowPoints.emplace_back(x, y);
        m_pickedPoints.windowCopy = m_pickedPoints.windowPoints;
        result = 1;
    }
    InvalidateLayers();
    return result;
}

int CModelViewerView::AddInputPointByPick(int x, int y)
{
    m_pickLayers = PickLayerFlags{true, true, false, true, false};
    int kind = 0;
    int elevationFlag = 0;
    PT point;
    int result = 0;
    if (PickAt(x, y, kind, nullptr, &point, &elevationFlag) != 0 && IsSetPoint(point)) {
        PickedPointLists& lists = m_pickedPoints;
        if (lists.points.empty()) lists.elevationFlags.clear();
        // A second point on the very first one would give a zero-length input.
        const bool repeatsFirst = lists.points.size() == 1 && IsZeroDst(lists.points.front(), point) &&
                                  std::abs(lists.points.front().z() - point.z()) <= kGeoTolerance;
        if (!repeatsFirst) {
            lists.points.push_back(point);
            lists.elevationFlags.push_back(elevationFlag);
            lists.windowPoints.emplace_back(x, y);
            lists.windowCopy = lists.windowPoints;
            result = 1;
        }
    }
    InvalidateLayers();
    return result;
}

int CModelViewerView::PickMarkerPoint(int x, int y)
{
    if (m_cameraMoved == 0) return 0;
    m_cameraMoved = 0;
    InvalidateLayers();
    m_pickLayers.cadSecond = false;
    m_pickTolerance = kMarkerPointTolerance;
    int kind = 0;
    PT point;
    if (PickAt(x, y, kind, nullptr, &point, nullptr) != 0 && IsSetPoint(point)) {
        m_rotationCentre = QVector3D(static_cast<float>(point.x()), static_cast<float>(point.y()),
                                     static_cast<float>(point.z()));
    } else {
        // Nothing under the cursor: the centre follows it at its own depth.
        QVector3D window, moved;
        if (ProjectToWindow(m_rotationCentre, window) &&
            UnprojectFromWindow(x, m_clientHeight - y, window.z(), moved) && IsFinite(moved))
            m_rotationCentre = moved;
    }
    m_pickTolerance = kPointTolerance;
    InvalidateLayers();
    InvalidateScene();
    return 1;
}
